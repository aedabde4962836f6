#include "ParameterCustomList.h"
#include "ParameterCustomList_p.h"

#include "ParameterCustomListEntry.h"
#include "ParameterCustomListRepository.h"
#include "ParameterCustomListRepository_p.h"

#include "DriveControllerAxis.h"
#include "IniParser.h"
#include "ParameterAddress.h"

#include <QRegularExpression>
#include <QSet>
#include <QUuid>

#include <algorithm>
#include <memory>

namespace {

const QByteArray SectionList = QByteArrayLiteral("List");
const QByteArray SectionAxes = QByteArrayLiteral("Axes");
const QByteArray SectionParameter = QByteArrayLiteral("Parameter");
const QByteArray SectionStates = QByteArrayLiteral("States");
const QByteArray KeyValue = QByteArrayLiteral("Value");
const QByteArray KeyName = QByteArrayLiteral("Name");
const QByteArray AxisKeyPrefix = QByteArrayLiteral("Axis_");
const QString CoordinateKeyPrefix = QStringLiteral("Coordinate_");

} // namespace

ParameterCustomListPrivate::ParameterCustomListPrivate(ParameterCustomList* q)
    : QObject(q)
    , q(q)
    , identifier(QUuid::createUuid().toByteArray())
{
}

ParameterCustomListPrivate::~ParameterCustomListPrivate()
{
    clearAll();
}

void ParameterCustomListPrivate::postSignal(const char* signalName)
{
    ++revision;
    if (!ParameterCustomListRepositoryPrivate::repositoryAlive())
        return;
    if (ParameterCustomListRepository::instance().signalsBlocked())
        return;
    QMetaObject::invokeMethod(q, signalName, Qt::QueuedConnection);
}

void ParameterCustomListPrivate::announceAxesChanged()
{
    ++revision;
    emit q->listAxesChanged();
}

ParameterCustomListEntry* ParameterCustomListPrivate::entryFor(const ParameterCoordinate& coordinate)
{
    ParameterCustomListEntry*& entry = entries[coordinate];
    if (!entry) {
        entry = new ParameterCustomListEntry(coordinate);
        entry->setAxesList(&axes);
    }
    return entry;
}

ParameterCustomListEntry* ParameterCustomListPrivate::takeEntry(const ParameterCoordinate& coordinate)
{
    return entries.take(coordinate);
}

void ParameterCustomListPrivate::removeEntries(const QList<ParameterCoordinate>& coordinates)
{
    for (const ParameterCoordinate& coordinate : coordinates) {
        if (entries.contains(coordinate))
            delete entries.take(coordinate);
    }
}

void ParameterCustomListPrivate::deleteEntries()
{
    const QMap<ParameterCoordinate, ParameterCustomListEntry*> doomed = entries;
    entries = QMap<ParameterCoordinate, ParameterCustomListEntry*>();
    qDeleteAll(doomed);
}

void ParameterCustomListPrivate::clearAll()
{
    deleteEntries();
    axes.clear();
    postSignal("listEntriesChanged");
}

ParameterCustomList::ParameterCustomList(QObject* parent)
    : ParameterCustomListInformation(parent)
    , d(new ParameterCustomListPrivate(this))
{
}

ParameterCustomList::~ParameterCustomList()
{
    for (ParameterCustomListEntry* entry : qAsConst(d->entries)) {
        if (entry)
            entry->detachAxes();
    }
    // Deleted here rather than as a child, while this object can still take
    // the posting of its own signals.
    delete d;
}

QString ParameterCustomList::identifier() const
{
    return QString::fromUtf8(d->identifier);
}

QString ParameterCustomList::name() const
{
    return d->name;
}

void ParameterCustomList::addEntry(QString parameter)
{
    const ParameterAddress address(parameter, true);
    if (!address.isValid())
        return;
    const bool hasBracket = parameter.contains(QLatin1Char('['));
    ParameterCustomListEntry* entry = d->entryFor(address.coordinate());
    if (!hasBracket)
        entry->setAllElements(true);
    else
        entry->setAllElements(entry->allElements());
    entry->addElement(address.element());
    d->postSignal("listEntriesChanged");
}

void ParameterCustomList::removeEntry(QString parameter)
{
    const ParameterAddress address(parameter, true);
    if (!address.isValid())
        return;
    const ParameterCoordinate coordinate = address.coordinate();
    if (ParameterCustomListEntry* entry = d->entries.value(coordinate)) {
        if (parameter.contains(QLatin1Char('[')))
            entry->removeElement(address.element());
        else
            delete d->takeEntry(coordinate);
    }
    d->postSignal("listEntriesChanged");
}

QByteArray ParameterCustomList::exportText() const
{
    QByteArray text;
    for (ParameterCustomListEntry* entry : qAsConst(d->entries)) {
        if (!entry)
            continue;
        text += entry->entryText();
        text += "\r\n";
    }
    return text;
}

void ParameterCustomList::importText(QByteArray text)
{
    static const QRegularExpression linePattern(QStringLiteral("^(([^\\[\\]]+)([\\[\\/\\d]+\\])?)"));
    const QList<QByteArray> pieces = text.split('\n');
    for (const QByteArray& piece : pieces) {
        const QString line = QString::fromUtf8(piece.trimmed());
        const QRegularExpressionMatch match = linePattern.match(line);
        if (!match.hasMatch())
            continue;
        ParameterCustomListEntry* entry = d->entryFor(ParameterCoordinate(match.captured(2)));
        entry->loadEntryText(match.captured(1).toUtf8());
        entry->refresh();
    }
    d->postSignal("listEntriesChanged");
}

void ParameterCustomList::setName(const QString& name)
{
    d->name = name;
    d->postSignal("listNameChanged");
}

QList<QPointer<DriveControllerAxis>> ParameterCustomList::axes()
{
    d->axes.removeAll(QPointer<DriveControllerAxis>());
    return d->axes;
}

void ParameterCustomList::setAxes(const QList<QPointer<DriveControllerAxis>>& axes)
{
    d->axes.clear();
    for (const QPointer<DriveControllerAxis>& axis : axes) {
        d->axes.append(axis);
        if (axis)
            connect(axis.data(), &QObject::destroyed,
                    d, &ParameterCustomListPrivate::announceAxesChanged, Qt::UniqueConnection);
    }
    for (ParameterCustomListEntry* entry : qAsConst(d->entries)) {
        if (entry)
            entry->refresh();
    }
    d->postSignal("listAxesChanged");
}

QMap<ParameterCoordinate, ParameterCustomListEntry*>& ParameterCustomList::entries()
{
    return d->entries;
}

void ParameterCustomList::clearEntries()
{
    d->deleteEntries();
    d->postSignal("listEntriesChanged");
}

void ParameterCustomList::setCoordinates(const QList<ParameterCoordinate>& coordinates)
{
    QSet<quint16> given;
    for (const ParameterCoordinate& coordinate : coordinates)
        given.insert(coordinate.toNumber());
    QSet<quint16> current;
    for (auto it = d->entries.cbegin(); it != d->entries.cend(); ++it)
        current.insert(it.key().toNumber());

    QList<ParameterCoordinate> obsolete;
    for (auto it = d->entries.cbegin(); it != d->entries.cend(); ++it) {
        if (!given.contains(it.key().toNumber()))
            obsolete.append(it.key());
    }
    d->removeEntries(obsolete);

    for (const ParameterCoordinate& coordinate : coordinates) {
        if (current.contains(coordinate.toNumber()))
            continue;
        current.insert(coordinate.toNumber());
        d->entryFor(coordinate)->setAllElements(true);
    }
}

void ParameterCustomList::announceAxesChanged()
{
    d->announceAxesChanged();
}

quint64 ParameterCustomList::revision() const
{
    return d->revision;
}

QByteArray ParameterCustomList::state(const QByteArray& key) const
{
    return d->states.value(key);
}

void ParameterCustomList::setState(const QByteArray& key, const QByteArray& value)
{
    d->states.insert(key, value);
}

QByteArray ParameterCustomList::saveData()
{
    QMetaObject::invokeMethod(this, "prepareSaveData", Qt::DirectConnection);

    RnIniParser::IniParser parser;
    RnIniParser::IniSection* list = parser.createSection(SectionList);
    list->setValue(KeyValue, d->identifier);
    list->setValue(KeyName, d->name.toUtf8());

    RnIniParser::IniSection* axesSection = parser.createSection(SectionAxes);
    const QList<QPointer<DriveControllerAxis>> livingAxes = axes();
    ParameterCustomListRepository& repository = ParameterCustomListRepository::instance();
    for (int n = 0; n < livingAxes.size(); ++n)
        axesSection->setValue(AxisKeyPrefix + QByteArray::number(n),
                              repository.driveControllerAxisSaveIdentifier(livingAxes.at(n).data()));

    RnIniParser::IniSection* parameters = parser.createSection(SectionParameter);
    for (auto it = d->entries.cbegin(); it != d->entries.cend(); ++it) {
        if (it.value())
            parameters->setValue((CoordinateKeyPrefix + it.key().toText()).toUtf8(), it.value()->entryText());
    }

    RnIniParser::IniSection* states = parser.createSection(SectionStates);
    for (auto it = d->states.cbegin(); it != d->states.cend(); ++it)
        states->setValue(it.key(), it.value().toHex());

    return parser.getIniText();
}

bool ParameterCustomList::loadData(const QByteArray& data)
{
    RnIniParser::IniParser parser;
    parser.setIniText(data);
    RnIniParser::IniSection* list = parser.section(SectionList);
    RnIniParser::IniSection* axesSection = parser.section(SectionAxes);
    RnIniParser::IniSection* parameters = parser.section(SectionParameter);
    RnIniParser::IniSection* states = parser.section(SectionStates);
    if (!list || !axesSection || !parameters)
        return false;

    d->name = QString::fromUtf8(list->value(KeyName));
    d->identifier = list->value(KeyValue);
    if (d->name.isEmpty() || d->identifier.isEmpty())
        return false;

    d->clearAll();

    // Numeric order, so that Axis_10 follows Axis_9 rather than Axis_1.
    QList<QPair<qulonglong, QByteArray>> axisKeys;
    const QList<QByteArray> storedAxisKeys = axesSection->keys();
    for (const QByteArray& key : storedAxisKeys) {
        if (!key.startsWith(AxisKeyPrefix))
            continue;
        const QByteArray digits = key.mid(AxisKeyPrefix.size());
        bool ok = !digits.isEmpty()
            && std::all_of(digits.cbegin(), digits.cend(), [](char c) { return c >= '0' && c <= '9'; });
        const qulonglong n = ok ? digits.toULongLong(&ok, 10) : 0;
        if (ok)
            axisKeys.append(qMakePair(n, key));
    }
    std::stable_sort(axisKeys.begin(), axisKeys.end(),
                     [](const QPair<qulonglong, QByteArray>& a, const QPair<qulonglong, QByteArray>& b) {
                         return a.first < b.first;
                     });
    ParameterCustomListRepository& repository = ParameterCustomListRepository::instance();
    for (const auto& key : qAsConst(axisKeys)) {
        if (DriveControllerAxis* axis = repository.driveControllerAxis(axesSection->value(key.second)))
            d->axes.append(QPointer<DriveControllerAxis>(axis));
    }

    static const QRegularExpression keyPattern(QStringLiteral("^%1(.+)").arg(CoordinateKeyPrefix));
    const QList<QByteArray> parameterKeys = parameters->keys();
    for (const QByteArray& key : parameterKeys) {
        const QRegularExpressionMatch match = keyPattern.match(QString::fromUtf8(key));
        if (!match.hasMatch())
            continue;
        ParameterCustomListEntry* entry = d->entryFor(ParameterCoordinate(match.captured(1)));
        entry->loadEntryText(parameters->value(key));
        entry->refresh();
    }

    if (states) {
        const QList<QByteArray> stateKeys = states->keys();
        for (const QByteArray& key : stateKeys)
            d->states.insert(key, QByteArray::fromHex(states->value(key)));
    }

    d->postSignal("listNameChanged");
    d->postSignal("listAxesChanged");
    d->postSignal("listEntriesChanged");
    return true;
}
