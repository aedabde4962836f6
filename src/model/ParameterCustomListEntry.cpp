#include "ParameterCustomListEntry.h"
#include "ParameterCustomListEntry_p.h"

#include "EntryStrategyMultiLine.h"
#include "EntryStrategySingleLine.h"
#include "ParameterCustomListStorage_p.h"

#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "ParameterAddress.h"
#include "ParameterDefinition.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"
#include "ParameterText.h"
#include "System.h"

#include <QMetaMethod>
#include <QStringBuilder>

#include <algorithm>
#include <typeinfo>

ParameterCustomListEntryPrivate::ParameterCustomListEntryPrivate(ParameterCustomListEntry* q,
                                                                 const ParameterCoordinate& coordinate)
    : QObject(q)
    , q(q)
    , coordinate(coordinate)
    , coordinateText(coordinate.toText())
{
}

ParameterCustomListEntryPrivate::~ParameterCustomListEntryPrivate()
{
    delete strategy;
}

int ParameterCustomListEntryPrivate::axisCount() const
{
    return axes ? axes->size() : 0;
}

DriveControllerAxis* ParameterCustomListEntryPrivate::axisAt(int i) const
{
    if (i < 0 || i >= axisCount())
        return nullptr;
    return axes->at(i).data();
}

ParameterProvider* ParameterCustomListEntryPrivate::providerOf(DriveControllerAxis* axis) const
{
    if (!axis)
        return nullptr;
    DriveController* controller = axis->driveController();
    return controller ? controller->parameterProvider() : nullptr;
}

namespace {

// A provider deletes the objects of a parameter it drops or replaces, so a
// living one of this provider is the current one of our coordinate.
template<typename T>
T* knownOf(const QVarLengthArray<QPointer<T>, 2>& known, const ParameterProvider* provider)
{
    for (const QPointer<T>& object : known) {
        if (object && object->provider() == provider)
            return object.data();
    }
    return nullptr;
}

template<typename T>
T* remember(QVarLengthArray<QPointer<T>, 2>& known, T* object)
{
    if (object) {
        known.erase(std::remove_if(known.begin(), known.end(), [](const QPointer<T>& p) { return p.isNull(); }),
                    known.end());
        known.append(object);
    }
    return object;
}

} // namespace

ParameterDefinition* ParameterCustomListEntryPrivate::definitionOf(DriveControllerAxis* axis) const
{
    ParameterProvider* provider = providerOf(axis);
    if (!provider)
        return nullptr;
    if (ParameterDefinition* definition = knownOf(knownDefinitions, provider))
        return definition;
    return remember(knownDefinitions, provider->parameterDefinition(coordinate).data());
}

ParameterSetup* ParameterCustomListEntryPrivate::setupOf(DriveControllerAxis* axis) const
{
    ParameterProvider* provider = providerOf(axis);
    if (!provider)
        return nullptr;
    if (ParameterSetup* setup = knownOf(knownSetups, provider))
        return setup;
    return remember(knownSetups, provider->parameterSetup(coordinate).data());
}

ParameterDefinition* ParameterCustomListEntryPrivate::definitionAt(int i) const
{
    return definitionOf(axisAt(i));
}

ParameterSetup* ParameterCustomListEntryPrivate::setupAt(int i) const
{
    return setupOf(axisAt(i));
}

void ParameterCustomListEntryPrivate::chooseStrategy()
{
    bool multiLine = elements.size() > 1;
    if (!multiLine) {
        bool singleValued = false;
        bool multiValued = false;
        for (int i = 0; i < axisCount(); ++i) {
            if (!setupAt(i))
                continue;
            if (isSingleValued(i))
                singleValued = true;
            else
                multiValued = true;
        }
        multiLine = singleValued && multiValued;
    }
    // Strategies keep nothing but the entry: one of the right kind stays.
    if (strategy && multiLine == (typeid(*strategy) == typeid(EntryStrategyMultiLine)))
        return;
    delete strategy;
    strategy = nullptr;
    if (multiLine)
        strategy = new EntryStrategyMultiLine(this);
    else
        strategy = new EntryStrategySingleLine(this);
}

void ParameterCustomListEntryPrivate::startFollowing(DriveControllerAxis* axis)
{
    // Every refresh of a list tree asks again; most axes are followed already.
    const bool followed = std::any_of(followedAxes.cbegin(), followedAxes.cend(),
                                      [axis](const QPointer<DriveControllerAxis>& p) { return p.data() == axis; });
    if (followed)
        return;
    ParameterSetup* setup = setupOf(axis);
    if (!setup)
        return;
    const int space = setup->isGlobal() ? 0 : axis->axisNumber();
    const QSet<quint16>& valueElements = setup->valueElementIndices();
    for (quint16 e : valueElements)
        setup->setObserved(space, e, true);
    followedAxes.append(QPointer<DriveControllerAxis>(axis));
}

void ParameterCustomListEntryPrivate::stopFollowing(DriveControllerAxis* axis)
{
    ParameterSetup* setup = setupOf(axis);
    if (!setup)
        return;
    const auto it = std::find_if(followedAxes.begin(), followedAxes.end(),
                                 [axis](const QPointer<DriveControllerAxis>& p) { return p.data() == axis; });
    if (it == followedAxes.end())
        return;
    const int space = setup->isGlobal() ? 0 : axis->axisNumber();
    const QSet<quint16>& valueElements = setup->valueElementIndices();
    for (quint16 e : valueElements)
        setup->setObserved(space, e, false);
    followedAxes.erase(it);
}

bool ParameterCustomListEntryPrivate::isTargetWritable(int i, quint16 element) const
{
    ParameterSetup* setup = setupAt(i);
    if (!setup)
        return false;
    return setup->isWritable(livingSpace(i), element);
}

QString ParameterCustomListEntryPrivate::commonText(quint16 element) const
{
    QString collected;
    // Axes of one controller share their definition, and controllers of one
    // device type its description: the same description has the same text.
    const ParameterDescription* previous = nullptr;
    for (int i = 0; i < axisCount(); ++i) {
        ParameterDefinition* definition = definitionAt(i);
        if (!definition || &definition->description() == previous)
            continue;
        previous = &definition->description();
        const QString text = element == WholeParameter ? definition->parameterText().longText()
                                                       : definition->elementText(element).longText();
        if (collected.isEmpty())
            collected = text;
        else if (text != collected)
            return tr("<nicht eindeutig>");
    }
    return collected;
}

bool ParameterCustomListEntryPrivate::isDefinedOnAxis(int i) const
{
    DriveControllerAxis* axis = axisAt(i);
    ParameterDefinition* definition = definitionOf(axis);
    return definition && (definition->isGlobal() || definition->isDefinedIn(axis->axisNumber()));
}

ParameterCustomListEntryPrivate::AxisShape ParameterCustomListEntryPrivate::shapeOnAxis(int i) const
{
    DriveControllerAxis* axis = axisAt(i);
    ParameterDefinition* definition = definitionOf(axis);
    AxisShape shape;
    if (!definition)
        return shape;
    shape.defined = definition->isGlobal() || definition->isDefinedIn(axis->axisNumber());
    shape.singleValued = !definition->isRecord() && definition->elementCount() == 1;
    return shape;
}

bool ParameterCustomListEntryPrivate::isSingleValued(int i) const
{
    ParameterDefinition* definition = definitionAt(i);
    return definition && !definition->isRecord() && definition->elementCount() == 1;
}

bool ParameterCustomListEntryPrivate::isSingleValuedAnywhere() const
{
    for (int i = 0; i < axisCount(); ++i) {
        if (isSingleValued(i))
            return true;
    }
    return false;
}

QList<quint16> ParameterCustomListEntryPrivate::elementsOnAxis(int i) const
{
    QList<quint16> result;
    if (ParameterSetup* setup = setupAt(i)) {
        const QList<quint16> indices = setup->elementIndexList();
        for (quint16 e : indices) {
            if (elements.contains(e))
                result.append(e);
        }
    }
    return result;
}

bool ParameterCustomListEntryPrivate::firstElementOnAxis(int i, quint16* e) const
{
    ParameterSetup* setup = setupAt(i);
    if (!setup)
        return false;
    for (const ParameterElementDescription& element : setup->description().elements) {
        if (elements.contains(element.index)) {
            *e = element.index;
            return true;
        }
    }
    return false;
}

bool ParameterCustomListEntryPrivate::isValueElementOnAxis(ParameterSetup* setup, quint16 e) const
{
    return elements.contains(e) && setup->valueElementIndices().contains(e);
}

bool ParameterCustomListEntryPrivate::isElementAvailable(int i, quint16 e) const
{
    DriveControllerAxis* axis = axisAt(i);
    ParameterSetup* setup = setupOf(axis);
    if (!setup)
        return false;
    if (!setup->isDefinedIn(axis->axisNumber()) && !setup->isDefinedIn(0))
        return false;
    return setup->hasElement(e);
}

bool ParameterCustomListEntryPrivate::isElementActive(int i, quint16 e) const
{
    ParameterSetup* setup = setupAt(i);
    return setup && setup->isActive(livingSpace(i), e);
}

bool ParameterCustomListEntryPrivate::isElementWritable(int i, quint16 e) const
{
    ParameterSetup* setup = setupAt(i);
    return setup && setup->isWritable(livingSpace(i), e);
}

bool ParameterCustomListEntryPrivate::hasElementSelectionList(int i, quint16 e) const
{
    ParameterSetup* setup = setupAt(i);
    if (!setup)
        return false;
    const int kind = setup->valueKind(e);
    return kind == 1 || kind == 2;
}

QString ParameterCustomListEntryPrivate::elementValueText(int i, quint16 e) const
{
    DriveControllerAxis* axis = axisAt(i);
    ParameterSetup* setup = setupOf(axis);
    if (!setup || !isValueElementOnAxis(setup, e))
        return QString();
    return setup->valueText(axis->axisNumber(), e, true);
}

QString ParameterCustomListEntryPrivate::elementReferenceText(int i, quint16 e) const
{
    DriveControllerAxis* axis = axisAt(i);
    ParameterSetup* setup = setupOf(axis);
    if (!setup || !isValueElementOnAxis(setup, e))
        return QString();
    return setup->referenceValueText(axis->axisNumber(), e, true);
}

QIcon ParameterCustomListEntryPrivate::elementStateIcon(int i, quint16 e, const QString& valueText) const
{
    DriveControllerAxis* axis = axisAt(i);
    ParameterSetup* setup = setupOf(axis);
    if (!setup || !isElementAvailable(i, e))
        return QIcon();
    const bool locked = !setup->isWritable(axis->axisNumber(), e);
    // The texts are the expensive part; most elements are out of the comparison anyway.
    const bool compared = setup->elementLevel(e) < System::instance().currentLevel() && setup->elementCategory(e) == 0;
    if (!compared)
        return stateIconFor(locked, false);
    const QString text = valueText.isEmpty() ? elementValueText(i, e) : valueText;
    return stateIconFor(locked, text != elementReferenceText(i, e));
}

EntryCell ParameterCustomListEntryPrivate::elementCell(int i, quint16 e) const
{
    EntryCell cell;
    DriveControllerAxis* axis = axisAt(i);
    ParameterSetup* setup = setupOf(axis);
    if (!setup)
        return cell;
    const int number = axis->axisNumber();
    if ((!setup->isDefinedIn(number) && !setup->isDefinedIn(0)) || !setup->hasElement(e))
        return cell;
    cell.available = true;
    const bool hasValue = isValueElementOnAxis(setup, e);
    if (hasValue)
        cell.valueText = setup->valueText(number, e, true);
    const bool locked = !setup->isWritable(number, e);
    bool changed = false;
    if (hasValue && setup->elementLevel(e) < System::instance().currentLevel() && setup->elementCategory(e) == 0) {
        // Equal raw texts always display alike; only different ones need the
        // reference formatted to tell.
        changed = setup->valueText(number, e, false) != setup->referenceValueText(number, e, false)
            && cell.valueText != setup->referenceValueText(number, e, true);
    }
    cell.stateIcon = stateIconFor(locked, changed);
    cell.active = setup->isActive(setup->isGlobal() ? 0 : number, e);
    return cell;
}

QString ParameterCustomListEntryPrivate::parameterNameOnAxis(int i) const
{
    ParameterSetup* setup = setupAt(i);
    return setup ? setup->parameterText().longText() : QString();
}

QString ParameterCustomListEntryPrivate::elementNameOnAxis(int i, quint16 e) const
{
    ParameterSetup* setup = setupAt(i);
    const ParameterElementDescription* element = setup ? setup->element(e) : nullptr;
    return element ? element->text.longText() : QString();
}

int ParameterCustomListEntryPrivate::livingSpace(int i) const
{
    DriveControllerAxis* axis = axisAt(i);
    ParameterSetup* setup = setupOf(axis);
    if (!setup)
        return NoLivingSpace;
    return setup->isGlobal() ? 0 : axis->axisNumber();
}

QString ParameterCustomListEntryPrivate::elementSuffix(quint16 element)
{
    // Part of every element row's label: the suffixes of the usual array
    // sizes are made once and shared.
    constexpr int Kept = 256;
    static QString kept[Kept];
    if (element < Kept && !kept[element].isNull())
        return kept[element];
    // QString::number() goes through the locale machinery, which costs more
    // than the rest of the label.
    QChar digits[8];
    int at = 8;
    digits[--at] = QLatin1Char(']');
    quint16 rest = element;
    do {
        digits[--at] = QLatin1Char(char('0' + rest % 10));
        rest /= 10;
    } while (rest > 0);
    digits[--at] = QLatin1Char('[');
    const QString suffix(digits + at, 8 - at);
    if (element < Kept)
        kept[element] = suffix;
    return suffix;
}

QString ParameterCustomListEntryPrivate::label(const QString& coordinate, const QString& suffix, const QString& name)
{
    return coordinate % suffix % QLatin1Char(' ') % name;
}

QString ParameterCustomListEntryPrivate::livingSpacePrefix(int livingSpace)
{
    return livingSpace == 0 ? QString() : QString::number(livingSpace) + QLatin1Char('.');
}

QIcon ParameterCustomListEntryPrivate::stateIconFor(bool locked, bool changed)
{
    static const QIcon standard(QStringLiteral(":/Resources/standard.png"));
    static const QIcon lockedIcon(QStringLiteral(":/Resources/locked.png"));
    static const QIcon changedIcon(QStringLiteral(":/Resources/changed.png"));
    static const QIcon changedLocked(QStringLiteral(":/Resources/changed locked.png"));
    if (locked)
        return changed ? changedLocked : lockedIcon;
    return changed ? changedIcon : standard;
}

ParameterCustomListEntry::ParameterCustomListEntry(const ParameterCoordinate& coordinate)
    : d(new ParameterCustomListEntryPrivate(this, coordinate))
{
}

ParameterCustomListEntry::~ParameterCustomListEntry() = default;

void ParameterCustomListEntry::setAxesList(QList<QPointer<DriveControllerAxis>>* axes)
{
    d->axes = axes;
    refresh();
}

ParameterCoordinate ParameterCustomListEntry::coordinate() const
{
    return d->coordinate;
}

bool ParameterCustomListEntry::allElements() const
{
    return d->allElements;
}

void ParameterCustomListEntry::setAllElements(bool allElements)
{
    d->allElements = allElements;
    refresh();
}

void ParameterCustomListEntry::addElement(quint16 element)
{
    d->elements.insert(element);
    refresh();
}

void ParameterCustomListEntry::removeElement(quint16 element)
{
    if (d->elements.remove(element))
        d->allElements = false;
    refresh();
}

quint64 ParameterCustomListEntry::revision() const
{
    return d->revision;
}

void ParameterCustomListEntry::refresh()
{
    ++d->revision;
    EntryElements available;
    const ParameterDescription* previous = nullptr;
    for (int i = 0; i < d->axisCount(); ++i) {
        ParameterDefinition* definition = d->definitionAt(i);
        // Axes of one controller share their definition, controllers of one
        // device type its description and so its elements.
        if (!definition || &definition->description() == previous)
            continue;
        previous = &definition->description();
        for (const ParameterElementDescription& element : definition->description().elements)
            available.insert(element.index);
    }

    const auto followed = d->followedAxes;
    for (const QPointer<DriveControllerAxis>& axis : followed) {
        if (!axis)
            continue;
        const bool stillInList = d->axes && std::any_of(d->axes->cbegin(), d->axes->cend(),
            [&axis](const QPointer<DriveControllerAxis>& p) { return p.data() == axis.data(); });
        if (!stillInList)
            d->stopFollowing(axis.data());
    }

    if (d->allElements)
        d->elements = available;
    else
        d->elements.intersect(available);

    d->chooseStrategy();
}

QByteArray ParameterCustomListEntry::entryText() const
{
    // Ascending, so that the same list always gives the same bytes: a list
    // saved without ever being opened writes its selections that way too.
    QByteArray text;
    ParameterCustomListStorage::appendEntryText(text, d->coordinate, d->allElements, selectedElements());
    return text;
}

void ParameterCustomListEntry::loadEntryText(const QByteArray& text)
{
    const ParameterCustomListStorage::EntrySelection selection = ParameterCustomListStorage::readEntryText(text);
    d->allElements = selection.allElements;
    d->elements = EntryElements(selection.elements.cbegin(), selection.elements.cend());
}

void ParameterCustomListEntry::restoreLoaded(QList<QPointer<DriveControllerAxis>>* axes, bool allElements,
                                             const QVector<quint16>& elements, bool multiLine)
{
    d->axes = axes;
    d->allElements = allElements;
    d->elements = EntryElements(elements.cbegin(), elements.cend());
    delete d->strategy;
    if (multiLine)
        d->strategy = new EntryStrategyMultiLine(d);
    else
        d->strategy = new EntryStrategySingleLine(d);
}

QVector<quint16> ParameterCustomListEntry::selectedElements() const
{
    if (d->allElements || d->elements.isEmpty())
        return QVector<quint16>();
    QVector<quint16> elements(d->elements.cbegin(), d->elements.cend());
    std::sort(elements.begin(), elements.end());
    return elements;
}

QList<quint16> ParameterCustomListEntry::elementIndices() const
{
    QList<quint16> indices = d->elements.values();
    std::sort(indices.begin(), indices.end());
    return indices;
}

ParameterSetup* ParameterCustomListEntry::parameterSetup(int axisIndex) const
{
    return d->setupAt(axisIndex);
}

QList<quint16> ParameterCustomListEntry::childElementIndices() const
{
    return d->strategy ? d->strategy->childElementIndices() : QList<quint16>();
}

bool ParameterCustomListEntry::isAvailable(int axisIndex, quint16 element) const
{
    return d->strategy && d->strategy->isAvailable(axisIndex, element);
}

bool ParameterCustomListEntry::isAvailable(int axisIndex) const
{
    return d->strategy && d->strategy->isAvailable(axisIndex);
}

bool ParameterCustomListEntry::isValueActive(int axisIndex, quint16 element) const
{
    return d->strategy && d->strategy->isValueActive(axisIndex, element);
}

bool ParameterCustomListEntry::isValueActive(int axisIndex) const
{
    return d->strategy && d->strategy->isValueActive(axisIndex);
}

bool ParameterCustomListEntry::isWritable(int axisIndex, quint16 element) const
{
    return d->strategy && d->strategy->isWritable(axisIndex, element);
}

bool ParameterCustomListEntry::isWritable(int axisIndex) const
{
    return d->strategy && d->strategy->isWritable(axisIndex);
}

bool ParameterCustomListEntry::hasSelectionList(int axisIndex, quint16 element) const
{
    return d->strategy && d->strategy->hasSelectionList(axisIndex, element);
}

bool ParameterCustomListEntry::hasSelectionList(int axisIndex) const
{
    return d->strategy && d->strategy->hasSelectionList(axisIndex);
}

QString ParameterCustomListEntry::valueText(int axisIndex, quint16 element) const
{
    return d->strategy ? d->strategy->valueText(axisIndex, element) : QString();
}

QString ParameterCustomListEntry::valueText(int axisIndex) const
{
    return d->strategy ? d->strategy->valueText(axisIndex) : QString();
}

QString ParameterCustomListEntry::elementText(quint16 element) const
{
    return d->strategy ? d->strategy->elementText(element) : QString();
}

QString ParameterCustomListEntry::text() const
{
    return d->strategy ? d->strategy->text() : QString();
}

QString ParameterCustomListEntry::toolTip(int axisIndex, quint16 element) const
{
    return d->strategy ? d->strategy->toolTip(axisIndex, element) : QString();
}

QString ParameterCustomListEntry::toolTip(int axisIndex) const
{
    return d->strategy ? d->strategy->toolTip(axisIndex) : QString();
}

QIcon ParameterCustomListEntry::stateIcon(int axisIndex, quint16 element, const QString& valueText) const
{
    return d->strategy ? d->strategy->stateIcon(axisIndex, element, valueText) : QIcon();
}

QIcon ParameterCustomListEntry::stateIcon(int axisIndex, const QString& valueText) const
{
    return d->strategy ? d->strategy->stateIcon(axisIndex, valueText) : QIcon();
}

EntryCell ParameterCustomListEntry::cell(int axisIndex, quint16 element) const
{
    return d->strategy ? d->strategy->cell(axisIndex, element) : EntryCell();
}

EntryCell ParameterCustomListEntry::cell(int axisIndex) const
{
    return d->strategy ? d->strategy->cell(axisIndex) : EntryCell();
}

void ParameterCustomListEntry::attachAxes()
{
    for (int i = 0; i < d->axisCount(); ++i)
        d->startFollowing(d->axisAt(i));
}

void ParameterCustomListEntry::detachAxes()
{
    // Deleting a list detaches every entry, most of which follow nothing.
    if (d->followedAxes.isEmpty())
        return;
    for (int i = 0; i < d->axisCount(); ++i)
        d->stopFollowing(d->axisAt(i));
}

void ParameterCustomListEntry::transferValue(int sourceAxis, quint16 sourceElement, int targetAxis, quint16 targetElement)
{
    if (sourceAxis == targetAxis)
        return;
    if (sourceAxis < 0 || sourceAxis >= d->axisCount() || targetAxis < 0 || targetAxis >= d->axisCount())
        return;
    if (!d->isTargetWritable(targetAxis, targetElement))
        return;
    DriveControllerAxis* source = d->axisAt(sourceAxis);
    ParameterSetup* sourceSetup = d->setupOf(source);
    if (!sourceSetup)
        return;
    DriveControllerAxis* target = d->axisAt(targetAxis);
    ParameterSetup* targetSetup = d->setupOf(target);
    const QString text = sourceSetup->valueText(source->axisNumber(), sourceElement, false);
    targetSetup->setValueText(target->axisNumber(), targetElement, text);
}

void ParameterCustomListEntry::transferValueToAll(int sourceAxis, quint16 element)
{
    for (int target = 0; target < d->axisCount(); ++target)
        transferValue(sourceAxis, element, target, element);
}

void ParameterCustomListEntry::requestOnlineConsistenceOnce(int axisIndex, quint16 element)
{
    DriveControllerAxis* axis = d->axisAt(axisIndex);
    ParameterSetup* setup = d->setupOf(axis);
    if (!setup)
        return;
    const ParameterAddress address = setup->address(axis->axisNumber(), element);
    qRegisterMetaType<ParameterAddress>("ParameterAddress");
    ParameterProvider* provider = d->providerOf(axis);
    const QMetaObject* meta = provider->metaObject();
    const int index = meta->indexOfMethod("parameterNeedsOnlineConsistenceOnce(ParameterAddress)");
    if (index < 0)
        return;
    meta->method(index).invoke(provider, Qt::QueuedConnection, Q_ARG(ParameterAddress, address));
}
