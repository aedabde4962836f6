#include "ChangeJournal.h"

#include "FileStorageView.h"
#include "Project.h"

#include <QIODevice>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QString entriesItem = QStringLiteral("Entries");
const QString formatName = QStringLiteral("KxChangeJournal");

const char* const outcomeKeys[] = {"written", "refused", "notReached"};

QString csvField(const QString& text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n'))
        && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString csvLine(const QStringList& fields)
{
    QStringList quoted;
    quoted.reserve(fields.size());
    for (const QString& field : fields)
        quoted.append(csvField(field));
    return quoted.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}

} // namespace

bool ChangeJournalEntry::operator==(const ChangeJournalEntry& other) const
{
    return time == other.time && controller == other.controller && axisNumber == other.axisNumber
        && axisName == other.axisName && address == other.address && parameter == other.parameter
        && oldValue == other.oldValue && newValue == other.newValue && source == other.source
        && outcome == other.outcome && reason == other.reason;
}

ChangeJournal::ChangeJournal(Project* project, QObject* parent)
    : QObject(parent)
    , m_project(project)
{
    connect(project, &Project::projectLoaded, this, &ChangeJournal::onProjectLoaded);
    connect(project, &Project::projectAboutToBeSaved, this, &ChangeJournal::onProjectAboutToBeSaved);
    onProjectLoaded(project->storage());
}

ChangeJournal::~ChangeJournal() = default;

QString ChangeJournal::storageName()
{
    return QStringLiteral("ChangeJournal");
}

const QList<ChangeJournalEntry>& ChangeJournal::entries() const
{
    return m_entries;
}

void ChangeJournal::add(ChangeJournalEntry entry)
{
    if (!entry.time.isValid())
        entry.time = QDateTime::currentDateTimeUtc();
    m_entries.append(entry);
    if (m_project)
        m_project->markModified();
    emit entryAdded(m_entries.size() - 1);
}

void ChangeJournal::setOutcome(int index, ChangeJournalEntry::Outcome outcome, const QString& reason)
{
    if (index < 0 || index >= m_entries.size())
        return;
    ChangeJournalEntry& entry = m_entries[index];
    if (entry.outcome == outcome && entry.reason == reason)
        return;
    entry.outcome = outcome;
    entry.reason = reason;
    if (m_project)
        m_project->markModified();
    emit entryChanged(index);
}

void ChangeJournal::replace(int index, const ChangeJournalEntry& entry)
{
    if (index < 0 || index >= m_entries.size() || m_entries.at(index) == entry)
        return;
    m_entries[index] = entry;
    if (m_project)
        m_project->markModified();
    emit entryChanged(index);
}

QString ChangeJournal::timeText(const QDateTime& time)
{
    return time.toLocalTime().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
}

QString ChangeJournal::outcomeText(ChangeJournalEntry::Outcome outcome)
{
    switch (outcome) {
    case ChangeJournalEntry::Written:
        return tr("geschrieben");
    case ChangeJournalEntry::Refused:
        return tr("abgelehnt");
    case ChangeJournalEntry::NotReached:
        return tr("nicht beim Gerät angekommen");
    }
    return QString();
}

bool ChangeJournal::writeCsv(QIODevice* device, const QList<ChangeJournalEntry>& entries)
{
    QString text = QString(QChar(0xFEFF));
    text += csvLine({tr("Zeit"), tr("Antriebsregler"), tr("Achse"), tr("Adresse"), tr("Parameter"), tr("Alter Wert"),
                     tr("Neuer Wert"), tr("Quelle"), tr("Ergebnis"), tr("Grund")});
    for (const ChangeJournalEntry& entry : entries) {
        const QString axis = entry.axisNumber == 0 ? tr("Gerät")
                                                   : QStringLiteral("%1 %2").arg(entry.axisNumber).arg(entry.axisName).trimmed();
        text += csvLine({entry.time.toLocalTime().toString(Qt::ISODate), entry.controller, axis, entry.address,
                         entry.parameter, entry.oldValue, entry.newValue, entry.source, outcomeText(entry.outcome),
                         entry.reason});
    }
    const QByteArray bytes = text.toUtf8();
    return device->write(bytes) == bytes.size();
}

QByteArray ChangeJournal::encode(const QList<ChangeJournalEntry>& entries)
{
    QJsonArray list;
    for (const ChangeJournalEntry& entry : entries) {
        QJsonObject object{{QStringLiteral("time"), entry.time.toUTC().toString(Qt::ISODateWithMs)},
                           {QStringLiteral("controller"), entry.controller},
                           {QStringLiteral("axis"), entry.axisNumber},
                           {QStringLiteral("axisName"), entry.axisName},
                           {QStringLiteral("address"), entry.address},
                           {QStringLiteral("parameter"), entry.parameter},
                           {QStringLiteral("old"), entry.oldValue},
                           {QStringLiteral("new"), entry.newValue},
                           {QStringLiteral("source"), entry.source},
                           {QStringLiteral("outcome"), QLatin1String(outcomeKeys[entry.outcome])}};
        if (!entry.reason.isEmpty())
            object.insert(QStringLiteral("reason"), entry.reason);
        list.append(object);
    }
    const QJsonObject root{{QStringLiteral("format"), formatName}, {QStringLiteral("version"), 1},
                           {QStringLiteral("entries"), list}};
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

bool ChangeJournal::decode(const QByteArray& bytes, QList<ChangeJournalEntry>* entries)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    const QJsonObject root = document.object();
    if (error.error != QJsonParseError::NoError || root.value(QStringLiteral("format")).toString() != formatName
        || root.value(QStringLiteral("version")).toInt() != 1)
        return false;
    QList<ChangeJournalEntry> read;
    for (const QJsonValue& value : root.value(QStringLiteral("entries")).toArray()) {
        const QJsonObject object = value.toObject();
        ChangeJournalEntry entry;
        entry.time = QDateTime::fromString(object.value(QStringLiteral("time")).toString(), Qt::ISODateWithMs);
        if (!entry.time.isValid())
            return false;
        entry.controller = object.value(QStringLiteral("controller")).toString();
        entry.axisNumber = object.value(QStringLiteral("axis")).toInt();
        entry.axisName = object.value(QStringLiteral("axisName")).toString();
        entry.address = object.value(QStringLiteral("address")).toString();
        entry.parameter = object.value(QStringLiteral("parameter")).toString();
        entry.oldValue = object.value(QStringLiteral("old")).toString();
        entry.newValue = object.value(QStringLiteral("new")).toString();
        entry.source = object.value(QStringLiteral("source")).toString();
        const QString outcome = object.value(QStringLiteral("outcome")).toString();
        const auto known = std::find_if(std::begin(outcomeKeys), std::end(outcomeKeys),
                                        [&](const char* key) { return outcome == QLatin1String(key); });
        if (known == std::end(outcomeKeys))
            return false;
        entry.outcome = ChangeJournalEntry::Outcome(known - std::begin(outcomeKeys));
        entry.reason = object.value(QStringLiteral("reason")).toString();
        read.append(entry);
    }
    *entries = read;
    return true;
}

void ChangeJournal::onProjectLoaded(FileStorageView* storage)
{
    m_entries.clear();
    m_unreadable.clear();
    const FileStorageView* journal = storage ? storage->subStorage(storageName()) : nullptr;
    if (journal && journal->hasItem(entriesItem)) {
        const QByteArray bytes = journal->readItem(entriesItem);
        if (!decode(bytes, &m_entries)) {
            m_entries.clear();
            m_unreadable = bytes;
        }
    }
    emit entriesReset();
}

void ChangeJournal::onProjectAboutToBeSaved(FileStorageView* storage)
{
    if (!storage || (m_entries.isEmpty() && m_unreadable.isEmpty()))
        return;
    FileStorageView* journal = storage->storage(storageName());
    // What could not be read is kept; new entries then go beside it.
    if (!m_unreadable.isEmpty())
        journal->writeItem(QStringLiteral("Unreadable"), m_unreadable);
    journal->writeItem(entriesItem, encode(m_entries));
}
