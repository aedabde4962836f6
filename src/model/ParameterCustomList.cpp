#include "ParameterCustomList.h"
#include "ParameterCustomList_p.h"
#include "CoordinateNumberSet_p.h"

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

void ParameterCustomListPrivate::onAxisDestroyed()
{
    axesLeft = true;
    announceAxesChanged();
}

void ParameterCustomListPrivate::watchAxis(DriveControllerAxis* axis)
{
    connect(axis, &QObject::destroyed, this, &ParameterCustomListPrivate::onAxisDestroyed, Qt::UniqueConnection);
}

void ParameterCustomListPrivate::buildStoredEntries()
{
    if (!storedEntries.empty()) {
        const std::vector<ParameterCustomListStorage::StoredEntry> stored = std::move(storedEntries);
        storedEntries.clear();
        for (const ParameterCustomListStorage::StoredEntry& s : stored) {
            auto* entry = new ParameterCustomListEntry(s.coordinate);
            entry->restoreLoaded(&axes, s.allElements, s.elements, s.multiLine);
            entries.insert(s.coordinate, entry);
        }
    }
    if (axesLeft) {
        // As setAxes() does for the axes that remain.
        axesLeft = false;
        axes.removeAll(QPointer<DriveControllerAxis>());
        for (ParameterCustomListEntry* entry : qAsConst(entries)) {
            if (entry)
                entry->refresh();
        }
    }
}

ParameterCustomListEntry* ParameterCustomListPrivate::entryFor(const ParameterCoordinate& coordinate)
{
    buildStoredEntries();
    ParameterCustomListEntry*& entry = entries[coordinate];
    if (!entry) {
        entry = new ParameterCustomListEntry(coordinate);
        entry->setAxesList(&axes);
    }
    return entry;
}

ParameterCustomListEntry* ParameterCustomListPrivate::takeEntry(const ParameterCoordinate& coordinate)
{
    buildStoredEntries();
    return entries.take(coordinate);
}

void ParameterCustomListPrivate::removeEntries(const QList<ParameterCoordinate>& coordinates)
{
    buildStoredEntries();
    for (const ParameterCoordinate& coordinate : coordinates) {
        if (entries.contains(coordinate))
            delete entries.take(coordinate);
    }
}

void ParameterCustomListPrivate::deleteEntries()
{
    // Entries never built have nobody following their axes.
    storedEntries.clear();
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

void ParameterCustomListPrivate::takeContent(ParameterCustomListPrivate* loaded)
{
    // An open tree knows its rows by entry object, and learns of the new
    // entries only when the notice below arrives. The new ones are made while
    // the old ones still exist, so none of them can reuse the address of an
    // old one that a row still names.
    const QMap<ParameterCoordinate, ParameterCustomListEntry*> previous = entries;
    entries = QMap<ParameterCoordinate, ParameterCustomListEntry*>();
    storedEntries.clear();
    name = loaded->name;
    axes.clear();
    for (const QPointer<DriveControllerAxis>& axis : qAsConst(loaded->axes)) {
        if (!axis)
            continue;
        axes.append(axis);
        watchAxis(axis.data());
    }
    // A list just loaded holds its entries in the stored form only, reduced
    // to what these same axes define; entry objects would point at the
    // other list's axes.
    Q_ASSERT(loaded->entries.isEmpty());
    storedEntries = std::move(loaded->storedEntries);
    loaded->storedEntries.clear();
    axesLeft = false;
    buildStoredEntries();
    qDeleteAll(previous);
    postSignal("listNameChanged");
    postSignal("listAxesChanged");
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
    d->buildStoredEntries();
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
    d->buildStoredEntries();
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
    static const QChar byteOrderMark(0xFEFF);
    d->buildStoredEntries();
    const QList<QByteArray> pieces = text.split('\n');
    for (const QByteArray& piece : pieces) {
        // A key keeps no blanks and no byte-order mark at its ends: the export
        // writes the key as it is, and must import as the same entry again.
        QString line = QString::fromUtf8(piece);
        int start = 0;
        while (start < line.size() && (line.at(start) == byteOrderMark || line.at(start).isSpace()))
            ++start;
        line = line.mid(start).trimmed();
        const QRegularExpressionMatch match = linePattern.match(line);
        if (!match.hasMatch())
            continue;
        const QString key = match.captured(2).trimmed();
        if (key.isEmpty())
            continue;
        ParameterCustomListEntry* entry = d->entryFor(ParameterCoordinate(key));
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
    d->buildStoredEntries();
    d->axes.clear();
    for (const QPointer<DriveControllerAxis>& axis : axes) {
        d->axes.append(axis);
        if (axis)
            d->watchAxis(axis.data());
    }
    for (ParameterCustomListEntry* entry : qAsConst(d->entries)) {
        if (entry)
            entry->refresh();
    }
    d->postSignal("listAxesChanged");
}

QMap<ParameterCoordinate, ParameterCustomListEntry*>& ParameterCustomList::entries()
{
    d->buildStoredEntries();
    return d->entries;
}

void ParameterCustomList::clearEntries()
{
    d->deleteEntries();
    d->postSignal("listEntriesChanged");
}

void ParameterCustomList::setCoordinates(const QList<ParameterCoordinate>& coordinates)
{
    d->buildStoredEntries();
    CoordinateNumberSet given;
    for (const ParameterCoordinate& coordinate : coordinates)
        given.insert(coordinate.toNumber());
    CoordinateNumberSet current;
    for (auto it = d->entries.cbegin(); it != d->entries.cend(); ++it)
        current.insert(it.key().toNumber());

    QList<ParameterCoordinate> obsolete;
    for (auto it = d->entries.cbegin(); it != d->entries.cend(); ++it) {
        if (!given.contains(it.key().toNumber()))
            obsolete.append(it.key());
    }
    d->removeEntries(obsolete);

    for (const ParameterCoordinate& coordinate : coordinates) {
        if (!current.insert(coordinate.toNumber()))
            continue;
        ParameterCustomListEntry*& entry = d->entries[coordinate];
        if (entry) {
            entry->setAllElements(true);
            continue;
        }
        // All elements before the axes: without axes that costs nothing, and
        // the entry looks its definitions up once instead of twice.
        entry = new ParameterCustomListEntry(coordinate);
        entry->setAllElements(true);
        entry->setAxesList(&d->axes);
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
    if (d->axesLeft)
        d->buildStoredEntries();

    // Written here rather than through the INI parser, byte for byte as its
    // getIniText() would write the four sections; appendIniLine() leaves
    // every field that needs escaping to the parser itself.
    using namespace ParameterCustomListStorage;
    const int entryCount = int(d->storedEntries.empty() ? d->entries.size() : d->storedEntries.size());
    QByteArray text;
    text.reserve(256 + 40 * entryCount);
    text += '[' + SectionList + "]\n";
    appendIniLine(text, KeyValue, d->identifier);
    appendIniLine(text, KeyName, d->name.toUtf8());

    text += "\n[" + SectionAxes + "]\n";
    const QList<QPointer<DriveControllerAxis>> livingAxes = axes();
    ParameterCustomListRepository& repository = ParameterCustomListRepository::instance();
    for (int n = 0; n < livingAxes.size(); ++n)
        appendIniLine(text, AxisKeyPrefix + QByteArray::number(n),
                      repository.driveControllerAxisSaveIdentifier(livingAxes.at(n).data()));

    text += "\n[" + SectionParameter + "]\n";
    if (!d->storedEntries.empty()) {
        for (const StoredEntry& stored : d->storedEntries)
            appendParameterLine(text, stored.coordinate, stored.allElements, stored.elements);
    } else {
        for (auto it = d->entries.cbegin(); it != d->entries.cend(); ++it) {
            if (ParameterCustomListEntry* entry = it.value())
                appendParameterLine(text, it.key(), entry->allElements(), entry->selectedElements());
        }
    }

    text += "\n[" + SectionStates + "]\n";
    // By key: the table's own order differs from one session to the next,
    // and an unchanged list must store the same bytes in each.
    QList<QByteArray> stateKeys = d->states.keys();
    std::sort(stateKeys.begin(), stateKeys.end());
    for (const QByteArray& key : qAsConst(stateKeys))
        appendIniLine(text, key, d->states.value(key).toHex());
    return text;
}

bool ParameterCustomList::loadData(const QByteArray& data)
{
    ParameterCustomListStorage::DefinitionSnapshot definitions;
    return d->loadData(data, &definitions);
}

// Loading keeps the entries as StoredEntry values and makes the entry objects
// only when something asks for them (buildStoredEntries()). A stored entry is
// not the raw text but what the eager reading made of it at this moment:
// the selection reduced to the elements that the restored axes define now and
// the layout refresh() chose now. The definitions, the axes and their
// controllers may all change or go before the list is first used, and an
// entry built afterwards must look exactly like one built here; the providers
// only announce such changes after the old definitions are destroyed, so the
// reduction cannot wait. It costs a few lookups per provider and coordinate,
// shared by all lists of a project load (DefinitionSnapshot), against two
// QObjects, a strategy and two refreshes per entry.
bool ParameterCustomListPrivate::loadData(const QByteArray& data,
                                          ParameterCustomListStorage::DefinitionSnapshot* definitions,
                                          const ParameterCustomListRepository::AxisNumbering* numbering)
{
    std::vector<ParameterCustomListStorage::ParameterLine>& lines = definitions->parameterLines;
    QByteArray otherSections;
    bool hasParameterSection = false;
    const bool split = ParameterCustomListStorage::splitStoredList(data, &otherSections, &hasParameterSection, &lines);
    RnIniParser::IniParser parser;
    parser.setIniText(split ? otherSections : data);
    RnIniParser::IniSection* list = parser.section(SectionList);
    RnIniParser::IniSection* axesSection = parser.section(SectionAxes);
    RnIniParser::IniSection* parameters = parser.section(SectionParameter);
    RnIniParser::IniSection* states = parser.section(SectionStates);
    if (!split)
        hasParameterSection = parameters != nullptr;
    if (!list || !axesSection || !hasParameterSection)
        return false;

    name = QString::fromUtf8(list->value(KeyName));
    identifier = list->value(KeyValue);
    if (name.isEmpty() || identifier.isEmpty())
        return false;

    clearAll();

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
        const QByteArray saveIdentifier = axesSection->value(key.second);
        if (DriveControllerAxis* axis = numbering ? numbering->value(saveIdentifier).data()
                                                  : repository.driveControllerAxis(saveIdentifier)) {
            axes.append(QPointer<DriveControllerAxis>(axis));
            watchAxis(axis);
        }
    }

    readParameters(data, split ? &lines : nullptr, parameters, definitions);

    if (states) {
        const QList<QByteArray> stateKeys = states->keys();
        for (const QByteArray& key : stateKeys)
            this->states.insert(key, QByteArray::fromHex(states->value(key)));
    }

    postSignal("listNameChanged");
    postSignal("listAxesChanged");
    postSignal("listEntriesChanged");
    return true;
}

void ParameterCustomListPrivate::readParameters(const QByteArray& data,
                                                const std::vector<ParameterCustomListStorage::ParameterLine>* lines,
                                                const RnIniParser::IniSection* parameters,
                                                ParameterCustomListStorage::DefinitionSnapshot* definitions)
{
    using namespace ParameterCustomListStorage;
    const QVector<int> providers = definitions->providersOf(axes);
    if (lines) {
        // Keys in strictly ascending coordinate order: the map order already,
        // and no coordinate twice.
        storedEntries.reserve(lines->size());
        for (const ParameterLine& line : *lines) {
            storedEntries.emplace_back(ParameterCoordinate(line.number));
            definitions->reduce(&storedEntries.back(), readEntryText(data.constData() + line.valueBegin, line.valueLength),
                                providers);
        }
        return;
    }

    // Anything else a hand-edited or foreign text may hold, read the way the
    // entries were always read: a later key of the same coordinate replaces
    // the text of an earlier one.
    static const QRegularExpression keyPattern(QStringLiteral("^%1(.+)").arg(CoordinateKeyPrefix));
    QMap<ParameterCoordinate, QByteArray> texts;
    const QList<QByteArray> parameterKeys = parameters->keys();
    for (const QByteArray& key : parameterKeys) {
        const QRegularExpressionMatch match = keyPattern.match(QString::fromUtf8(key));
        if (match.hasMatch())
            texts.insert(ParameterCoordinate(match.captured(1)), parameters->value(key));
    }
    storedEntries.reserve(size_t(texts.size()));
    for (auto it = texts.cbegin(); it != texts.cend(); ++it) {
        storedEntries.emplace_back(it.key());
        definitions->reduce(&storedEntries.back(), readEntryText(it.value()), providers);
    }
}
