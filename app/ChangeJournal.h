#pragma once

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class FileStorageView;
class Project;
class QIODevice;

/// One value write as the journal keeps it: what was written where, from
/// what to what, on whose behalf, and whether it arrived.
struct ChangeJournalEntry
{
    enum Outcome { Written, Refused, NotReached };

    QDateTime time;            ///< UTC
    QString controller;        ///< the controller's name
    int axisNumber = 0;        ///< the living space; 0 for a device-wide value
    QString axisName;
    QString address;           ///< "A10", "A12[3]"
    QString parameter;         ///< the parameter's (or element's) name when it was written
    QString oldValue;
    QString newValue;
    QString source;            ///< the list, the comparison, the parameter view, an undo ...
    Outcome outcome = Written;
    QString reason;            ///< why it was refused or did not arrive

    bool operator==(const ChangeJournalEntry& other) const;
};

/**
 * The change journal of the open project: every value write, kept in the
 * project file (sub-storage "ChangeJournal") so that it survives reopening,
 * and handed over as a record of the commissioning.
 *
 * The journal follows the project: a project opened or made new brings its
 * own journal (empty for one that has none), and every save writes it.
 */
class ChangeJournal : public QObject
{
    Q_OBJECT

public:
    explicit ChangeJournal(Project* project, QObject* parent = nullptr);
    ~ChangeJournal() override;

    static QString storageName();   ///< "ChangeJournal"

    /// Oldest first.
    const QList<ChangeJournalEntry>& entries() const;
    /// Appends an entry (its time is set when empty) and marks the project modified.
    void add(ChangeJournalEntry entry);
    /// A write that was waiting for its device came to an end.
    void setOutcome(int index, ChangeJournalEntry::Outcome outcome, const QString& reason = QString());
    /// The entry at @p index, completed (its outcome, the value it ended with).
    void replace(int index, const ChangeJournalEntry& entry);

    /// The German word the journal shows for an outcome.
    static QString outcomeText(ChangeJournalEntry::Outcome outcome);
    /// An entry's time as the window and the record show it, in local time
    /// and the German way whatever the system's locale ("06.12.2026 09:10:57").
    static QString timeText(const QDateTime& time);
    /// Writes entries as CSV (RFC 4180: comma separated, CRLF line ends, fields
    /// quoted where needed, UTF-8 with a byte-order mark), a header line first.
    static bool writeCsv(QIODevice* device, const QList<ChangeJournalEntry>& entries);

    /// The stored form, and back; false when the bytes are not a journal.
    static QByteArray encode(const QList<ChangeJournalEntry>& entries);
    static bool decode(const QByteArray& bytes, QList<ChangeJournalEntry>* entries);

signals:
    void entryAdded(int index);
    void entryChanged(int index);
    /// The journal of another project replaced this one.
    void entriesReset();

private slots:
    void onProjectLoaded(FileStorageView* storage);
    void onProjectAboutToBeSaved(FileStorageView* storage);

private:
    QPointer<Project> m_project;
    QList<ChangeJournalEntry> m_entries;
    // A journal the program could not read is written back as it was.
    QByteArray m_unreadable;
};
