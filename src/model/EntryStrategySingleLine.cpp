#include "EntryStrategySingleLine.h"

#include "ParameterCustomListEntry_p.h"

#include <algorithm>

EntryStrategySingleLine::EntryStrategySingleLine(ParameterCustomListEntryPrivate* entry)
    : EntryStrategy(entry)
{
}

EntryStrategySingleLine::~EntryStrategySingleLine() = default;

bool EntryStrategySingleLine::firstElementOnAxis(int axis, quint16* element) const
{
    return d->firstElementOnAxis(axis, element);
}

// An array shown on one row needs to say which of its elements it shows.
QString EntryStrategySingleLine::labelSuffix() const
{
    if (d->isSingleValuedAnywhere() || d->elements.isEmpty())
        return QString();
    return ParameterCustomListEntryPrivate::elementSuffix(*std::min_element(d->elements.cbegin(), d->elements.cend()));
}

QList<quint16> EntryStrategySingleLine::childElementIndices()
{
    return {};
}

bool EntryStrategySingleLine::isAvailable(int, quint16)
{
    return false;
}

bool EntryStrategySingleLine::isAvailable(int axis)
{
    quint16 e = 0;
    return firstElementOnAxis(axis, &e) && d->isElementAvailable(axis, e);
}

bool EntryStrategySingleLine::isValueActive(int, quint16)
{
    return false;
}

bool EntryStrategySingleLine::isValueActive(int axis)
{
    quint16 e = 0;
    return firstElementOnAxis(axis, &e) && d->isElementActive(axis, e);
}

bool EntryStrategySingleLine::isWritable(int, quint16)
{
    return false;
}

bool EntryStrategySingleLine::isWritable(int axis)
{
    quint16 e = 0;
    return firstElementOnAxis(axis, &e) && d->isElementWritable(axis, e);
}

bool EntryStrategySingleLine::hasSelectionList(int, quint16)
{
    return false;
}

bool EntryStrategySingleLine::hasSelectionList(int axis)
{
    quint16 e = 0;
    return firstElementOnAxis(axis, &e) && d->hasElementSelectionList(axis, e);
}

QString EntryStrategySingleLine::valueText(int, quint16)
{
    return QString();
}

QString EntryStrategySingleLine::valueText(int axis)
{
    quint16 e = 0;
    return firstElementOnAxis(axis, &e) ? d->elementValueText(axis, e) : QString();
}

QString EntryStrategySingleLine::elementText(quint16)
{
    return QString();
}

QString EntryStrategySingleLine::text()
{
    return ParameterCustomListEntryPrivate::label(d->coordinateText, labelSuffix(),
                                                  d->commonText(ParameterCustomListEntryPrivate::WholeParameter));
}

QString EntryStrategySingleLine::toolTip(int, quint16)
{
    return QString();
}

QString EntryStrategySingleLine::toolTip(int axis)
{
    return ParameterCustomListEntryPrivate::livingSpacePrefix(d->livingSpace(axis)) + d->coordinateText
        + labelSuffix() + QLatin1Char(' ') + d->parameterNameOnAxis(axis);
}

QIcon EntryStrategySingleLine::stateIcon(int, quint16, QString)
{
    return QIcon();
}

QIcon EntryStrategySingleLine::stateIcon(int axis, QString valueText)
{
    quint16 e = 0;
    return firstElementOnAxis(axis, &e) ? d->elementStateIcon(axis, e, valueText) : QIcon();
}

EntryCell EntryStrategySingleLine::cell(int, quint16)
{
    return EntryCell();
}

EntryCell EntryStrategySingleLine::cell(int axis)
{
    quint16 e = 0;
    return firstElementOnAxis(axis, &e) ? d->elementCell(axis, e) : EntryCell();
}
