#include "EntryStrategyMultiLine.h"

#include "ParameterCustomListEntry.h"
#include "ParameterCustomListEntry_p.h"

EntryStrategyMultiLine::EntryStrategyMultiLine(ParameterCustomListEntryPrivate* entry)
    : EntryStrategy(entry)
    , singleLine(entry)
{
}

EntryStrategyMultiLine::~EntryStrategyMultiLine() = default;

QList<quint16> EntryStrategyMultiLine::childElementIndices()
{
    return d->q->elementIndices();
}

bool EntryStrategyMultiLine::isAvailable(int axis, quint16 element)
{
    if (!d->isDefinedOnAxis(axis))
        return false;
    if (d->isSingleValued(axis))
        return singleLine.isAvailable(axis, element);
    return d->isElementAvailable(axis, element);
}

bool EntryStrategyMultiLine::isAvailable(int axis)
{
    if (!d->isDefinedOnAxis(axis))
        return false;
    if (d->isSingleValued(axis))
        return singleLine.isAvailable(axis);
    return true;
}

bool EntryStrategyMultiLine::isValueActive(int axis, quint16 element)
{
    if (d->isSingleValued(axis))
        return singleLine.isValueActive(axis, element);
    return d->isElementActive(axis, element);
}

bool EntryStrategyMultiLine::isValueActive(int axis)
{
    if (d->isSingleValued(axis))
        return singleLine.isValueActive(axis);
    return false;
}

bool EntryStrategyMultiLine::isWritable(int axis, quint16 element)
{
    if (d->isSingleValued(axis))
        return singleLine.isWritable(axis, element);
    return d->isElementWritable(axis, element);
}

bool EntryStrategyMultiLine::isWritable(int axis)
{
    if (d->isSingleValued(axis))
        return singleLine.isWritable(axis);
    return false;
}

bool EntryStrategyMultiLine::hasSelectionList(int axis, quint16 element)
{
    if (d->isSingleValued(axis))
        return singleLine.hasSelectionList(axis, element);
    return d->hasElementSelectionList(axis, element);
}

bool EntryStrategyMultiLine::hasSelectionList(int axis)
{
    if (d->isSingleValued(axis))
        return singleLine.hasSelectionList(axis);
    return false;
}

QString EntryStrategyMultiLine::valueText(int axis, quint16 element)
{
    if (d->isSingleValued(axis))
        return singleLine.valueText(axis, element);
    return d->elementValueText(axis, element);
}

QString EntryStrategyMultiLine::valueText(int axis)
{
    if (d->isSingleValued(axis))
        return singleLine.valueText(axis);
    return QString();
}

QString EntryStrategyMultiLine::elementText(quint16 element)
{
    return ParameterCustomListEntryPrivate::label(d->coordinateText, ParameterCustomListEntryPrivate::elementSuffix(element),
                                                  d->commonText(element));
}

QString EntryStrategyMultiLine::text()
{
    return ParameterCustomListEntryPrivate::label(d->coordinateText, QString(),
                                                  d->commonText(ParameterCustomListEntryPrivate::WholeParameter));
}

QString EntryStrategyMultiLine::toolTip(int axis, quint16 element)
{
    if (d->isSingleValued(axis))
        return singleLine.toolTip(axis, element);
    return ParameterCustomListEntryPrivate::livingSpacePrefix(d->livingSpace(axis)) + d->coordinateText
        + ParameterCustomListEntryPrivate::elementSuffix(element) + QLatin1Char(' ')
        + d->elementNameOnAxis(axis, element);
}

QString EntryStrategyMultiLine::toolTip(int axis)
{
    if (d->isSingleValued(axis))
        return singleLine.toolTip(axis);
    return ParameterCustomListEntryPrivate::livingSpacePrefix(d->livingSpace(axis)) + d->coordinateText
        + QLatin1Char(' ') + d->parameterNameOnAxis(axis);
}

QIcon EntryStrategyMultiLine::stateIcon(int axis, quint16 element, QString valueText)
{
    if (d->isSingleValued(axis))
        return singleLine.stateIcon(axis, element, valueText);
    return d->elementStateIcon(axis, element, valueText);
}

QIcon EntryStrategyMultiLine::stateIcon(int axis, QString valueText)
{
    if (d->isSingleValued(axis))
        return singleLine.stateIcon(axis, valueText);
    return QIcon();
}

EntryCell EntryStrategyMultiLine::cell(int axis, quint16 element)
{
    const ParameterCustomListEntryPrivate::AxisShape shape = d->shapeOnAxis(axis);
    if (!shape.defined || shape.singleValued)
        return EntryCell();
    return d->elementCell(axis, element);
}

EntryCell EntryStrategyMultiLine::cell(int axis)
{
    const ParameterCustomListEntryPrivate::AxisShape shape = d->shapeOnAxis(axis);
    if (!shape.defined)
        return EntryCell();
    if (shape.singleValued)
        return singleLine.cell(axis);
    EntryCell cell;
    cell.available = true;
    return cell;
}
