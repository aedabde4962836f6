#include "ProjectFile.h"

#include "FileStorageView.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>
#include <QVariant>

#include <vector>

namespace {

const QString formatName = QStringLiteral("KxSuiteProject");
constexpr int currentFormatVersion = 1;
const QString driverName = QStringLiteral("QSQLITE");

QAtomicInt connectionCounter;
int failAfterItems = -1;

QString nativePath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString errorText(const QSqlError& error)
{
    QString text = error.text().trimmed();
    return text.isEmpty() ? ProjectFile::tr("unbekannter Datenbankfehler") : text;
}

// One named connection per call. Every QSqlDatabase handle and QSqlQuery of
// the call must be gone before the destructor removes the connection; declare
// the Connection first so that it is destroyed last.
class Connection
{
public:
    Connection(const QString& path, bool readOnly)
        : m_name(QStringLiteral("KxProjectFile-%1").arg(connectionCounter.fetchAndAddRelaxed(1)))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(driverName, m_name);
        db.setDatabaseName(path);
        db.setConnectOptions(readOnly ? QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=3000")
                                      : QStringLiteral("QSQLITE_BUSY_TIMEOUT=3000"));
        if (!db.open())
            m_error = errorText(db.lastError());
    }

    ~Connection()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            if (db.isOpen())
                db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }

    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    bool isOpen() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }
    QSqlDatabase database() const { return QSqlDatabase::database(m_name, false); }

private:
    const QString m_name;
    QString m_error;
};

enum class Verdict { Project, Missing, NotAFile, Unreadable, Empty, NotSqlite, Damaged, Foreign, Newer };

struct Inspection
{
    Verdict verdict = Verdict::Damaged;
    QString detail;
    int version = 0;
};

Inspection inspectHeader(const QString& path)
{
    Inspection result;
    const QFileInfo info(path);
    if (!info.exists()) {
        result.verdict = Verdict::Missing;
        return result;
    }
    if (!info.isFile()) {
        result.verdict = Verdict::NotAFile;
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.verdict = Verdict::Unreadable;
        result.detail = file.errorString();
        return result;
    }
    const QByteArray header = file.read(16);
    if (header.isEmpty() && file.atEnd()) {
        result.verdict = Verdict::Empty;
        return result;
    }
    if (header != QByteArray("SQLite format 3\0", 16)) {
        result.verdict = Verdict::NotSqlite;
        return result;
    }
    result.verdict = Verdict::Project;
    return result;
}

Inspection inspectMeta(const QSqlDatabase& db)
{
    Inspection result;
    QSqlQuery tables(db);
    tables.setForwardOnly(true);
    if (!tables.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"))) {
        result.detail = errorText(tables.lastError());
        return result;
    }
    QStringList names;
    while (tables.next())
        names.append(tables.value(0).toString());
    if (!names.contains(QStringLiteral("meta"))) {
        result.verdict = Verdict::Foreign;
        return result;
    }

    QSqlQuery meta(db);
    meta.setForwardOnly(true);
    if (!meta.exec(QStringLiteral("SELECT key, value FROM meta"))) {
        // A meta table of some other layout: not ours.
        result.verdict = Verdict::Foreign;
        return result;
    }
    QHash<QString, QString> values;
    while (meta.next())
        values.insert(meta.value(0).toString(), meta.value(1).toString());
    if (values.value(QStringLiteral("format")) != formatName) {
        result.verdict = Verdict::Foreign;
        return result;
    }
    bool ok = false;
    result.version = values.value(QStringLiteral("version")).toInt(&ok);
    if (!ok || result.version < 1) {
        result.detail = ProjectFile::tr("ungültige Formatversion „%1“").arg(values.value(QStringLiteral("version")));
        return result;
    }
    if (result.version > currentFormatVersion) {
        result.verdict = Verdict::Newer;
        return result;
    }
    if (!names.contains(QStringLiteral("storages")) || !names.contains(QStringLiteral("items"))) {
        result.detail = ProjectFile::tr("Tabellen fehlen");
        return result;
    }
    result.verdict = Verdict::Project;
    return result;
}

QString messageFor(const Inspection& inspection, const QString& path)
{
    const QString file = nativePath(path);
    switch (inspection.verdict) {
    case Verdict::Project:
        return {};
    case Verdict::Missing:
        return ProjectFile::tr("Die Projektdatei „%1“ existiert nicht.").arg(file);
    case Verdict::NotAFile:
        return ProjectFile::tr("„%1“ ist keine Datei und daher keine Projektdatei.").arg(file);
    case Verdict::Unreadable:
        return ProjectFile::tr("Die Projektdatei „%1“ kann nicht gelesen werden: %2").arg(file, inspection.detail);
    case Verdict::Empty:
        return ProjectFile::tr("Die Datei „%1“ ist leer und daher keine Projektdatei.").arg(file);
    case Verdict::NotSqlite:
        return ProjectFile::tr("Die Datei „%1“ ist keine Projektdatei (sie ist keine SQLite-Datenbank).").arg(file);
    case Verdict::Damaged:
        return ProjectFile::tr("Die Projektdatei „%1“ ist beschädigt: %2").arg(file, inspection.detail);
    case Verdict::Foreign:
        return ProjectFile::tr("Die Datei „%1“ ist eine SQLite-Datenbank, aber keine Projektdatei dieses Programms.")
            .arg(file);
    case Verdict::Newer:
        return ProjectFile::tr("Die Projektdatei „%1“ wurde mit einer neueren Programmversion gespeichert "
                               "(Format %2); dieses Programm kennt nur Projekte bis Format %3.")
            .arg(file)
            .arg(inspection.version)
            .arg(currentFormatVersion);
    }
    return {};
}

Inspection inspect(const QString& path)
{
    Inspection inspection = inspectHeader(path);
    if (inspection.verdict != Verdict::Project)
        return inspection;
    Connection connection(path, true);
    if (!connection.isOpen()) {
        inspection.verdict = Verdict::Damaged;
        inspection.detail = connection.error();
        return inspection;
    }
    return inspectMeta(connection.database());
}

void setMessage(QString* target, const QString& message)
{
    if (target)
        *target = message;
}

bool loadTree(const QSqlDatabase& db, FileStorageView* root, QString* detail)
{
    struct StorageRow
    {
        qint64 id;
        QString name;
    };
    QHash<qint64, std::vector<StorageRow>> children;
    std::vector<qint64> roots;

    QSqlQuery storages(db);
    storages.setForwardOnly(true);
    if (!storages.exec(QStringLiteral("SELECT id, parent, name FROM storages ORDER BY position, id"))) {
        *detail = errorText(storages.lastError());
        return false;
    }
    while (storages.next()) {
        const qint64 id = storages.value(0).toLongLong();
        if (storages.value(1).isNull())
            roots.push_back(id);
        else
            children[storages.value(1).toLongLong()].push_back({id, storages.value(2).toString()});
    }
    if (roots.size() != 1) {
        *detail = ProjectFile::tr("die Wurzel des Speicherbaums fehlt oder ist mehrfach vorhanden");
        return false;
    }

    // Breadth first without recursion: a project may nest deeper than the
    // stack would like. Rows that no path from the root reaches are ignored.
    QHash<qint64, FileStorageView*> views;
    views.insert(roots.front(), root);
    std::vector<qint64> pending{roots.front()};
    for (size_t next = 0; next < pending.size(); ++next) {
        const qint64 parentId = pending[next];
        FileStorageView* parent = views.value(parentId);
        const auto found = children.constFind(parentId);
        if (found == children.constEnd())
            continue;
        for (const StorageRow& row : *found) {
            if (views.contains(row.id))
                continue;
            views.insert(row.id, parent->storage(row.name));
            pending.push_back(row.id);
        }
    }

    QSqlQuery items(db);
    items.setForwardOnly(true);
    if (!items.exec(QStringLiteral("SELECT storage, name, data FROM items ORDER BY storage, position"))) {
        *detail = errorText(items.lastError());
        return false;
    }
    while (items.next()) {
        FileStorageView* view = views.value(items.value(0).toLongLong());
        if (!view) {
            *detail = ProjectFile::tr("ein Eintrag gehört zu keinem Speicher");
            return false;
        }
        view->writeItem(items.value(1).toString(), items.value(2).toByteArray());
    }
    return true;
}

bool exec(QSqlQuery& query, const QString& statement, QString* detail)
{
    if (query.exec(statement))
        return true;
    *detail = errorText(query.lastError());
    return false;
}

bool createSchema(const QSqlDatabase& db, QString* detail)
{
    QSqlQuery query(db);
    return exec(query, QStringLiteral("CREATE TABLE meta (key TEXT PRIMARY KEY NOT NULL, value TEXT NOT NULL)"), detail)
        && exec(query,
                QStringLiteral("CREATE TABLE storages (id INTEGER PRIMARY KEY, parent INTEGER REFERENCES storages(id), "
                               "name TEXT NOT NULL, position INTEGER NOT NULL, UNIQUE (parent, name))"),
                detail)
        && exec(query,
                QStringLiteral("CREATE TABLE items (storage INTEGER NOT NULL REFERENCES storages(id), "
                               "name TEXT NOT NULL, position INTEGER NOT NULL, data BLOB NOT NULL, "
                               "PRIMARY KEY (storage, name))"),
                detail);
}

// Runs inside the caller's transaction.
bool storeTree(const QSqlDatabase& db, const FileStorageView& root, int failAfter, QString* detail)
{
    QSqlQuery query(db);
    if (!exec(query, QStringLiteral("DELETE FROM items"), detail)
        || !exec(query, QStringLiteral("DELETE FROM storages"), detail))
        return false;

    QSqlQuery meta(db);
    if (!meta.prepare(QStringLiteral("INSERT OR REPLACE INTO meta (key, value) VALUES (?, ?)"))) {
        *detail = errorText(meta.lastError());
        return false;
    }
    const std::pair<QString, QString> metaValues[] = {
        {QStringLiteral("format"), formatName},
        {QStringLiteral("version"), QString::number(currentFormatVersion)},
    };
    for (const auto& entry : metaValues) {
        meta.addBindValue(entry.first);
        meta.addBindValue(entry.second);
        if (!meta.exec()) {
            *detail = errorText(meta.lastError());
            return false;
        }
    }

    QSqlQuery insertStorage(db);
    QSqlQuery insertItem(db);
    if (!insertStorage.prepare(
            QStringLiteral("INSERT INTO storages (id, parent, name, position) VALUES (?, ?, ?, ?)"))) {
        *detail = errorText(insertStorage.lastError());
        return false;
    }
    if (!insertItem.prepare(QStringLiteral("INSERT INTO items (storage, name, position, data) VALUES (?, ?, ?, ?)"))) {
        *detail = errorText(insertItem.lastError());
        return false;
    }

    struct Pending
    {
        const FileStorageView* view;
        qint64 id;
        QVariant parent;
        QString name;
        int position;
    };
    qint64 nextId = 1;
    int itemsStored = 0;
    auto simulatedFailure = [&] {
        *detail = ProjectFile::tr("Schreibvorgang nach %1 Einträgen abgebrochen (Fehlersimulation)").arg(itemsStored);
        return false;
    };
    std::vector<Pending> pending{{&root, nextId++, QVariant(), QString(), 0}};
    for (size_t next = 0; next < pending.size(); ++next) {
        // Copy: pending grows below and may move its elements.
        const Pending current = pending[next];
        insertStorage.addBindValue(current.id);
        insertStorage.addBindValue(current.parent);
        insertStorage.addBindValue(current.name.isNull() ? QStringLiteral("") : current.name);
        insertStorage.addBindValue(current.position);
        if (!insertStorage.exec()) {
            *detail = errorText(insertStorage.lastError());
            return false;
        }

        const QStringList itemNames = current.view->itemNames();
        for (int position = 0; position < itemNames.size(); ++position) {
            if (failAfter >= 0 && itemsStored == failAfter)
                return simulatedFailure();
            const QString& name = itemNames.at(position);
            QByteArray bytes = current.view->readItem(name);
            if (bytes.isNull())
                bytes = QByteArray("");
            insertItem.addBindValue(current.id);
            insertItem.addBindValue(name.isNull() ? QStringLiteral("") : name);
            insertItem.addBindValue(position);
            insertItem.addBindValue(bytes);
            if (!insertItem.exec()) {
                *detail = errorText(insertItem.lastError());
                return false;
            }
            ++itemsStored;
        }

        const QStringList storageNames = current.view->storageNames();
        for (int position = 0; position < storageNames.size(); ++position)
            pending.push_back({current.view->subStorage(storageNames.at(position)), nextId++, QVariant(current.id),
                               storageNames.at(position), position});
    }
    if (failAfter >= 0 && itemsStored == failAfter)
        return simulatedFailure();
    return true;
}

bool writeInTransaction(const QSqlDatabase& constDb, const FileStorageView& root, bool newFile, int failAfter,
                        QString* detail)
{
    QSqlDatabase db = constDb;
    if (!db.transaction()) {
        *detail = errorText(db.lastError());
        return false;
    }
    bool ok = (!newFile || createSchema(db, detail)) && storeTree(db, root, failAfter, detail);
    if (ok && !db.commit()) {
        *detail = errorText(db.lastError());
        ok = false;
    }
    if (!ok)
        db.rollback();
    return ok;
}

} // namespace

int ProjectFile::formatVersion()
{
    return currentFormatVersion;
}

bool ProjectFile::read(const QString& path, FileStorageView* into, QString* errorMessage)
{
    if (into)
        into->clear();
    if (!QSqlDatabase::isDriverAvailable(driverName)) {
        setMessage(errorMessage,
                   tr("Die Projektdatei „%1“ kann nicht gelesen werden: Der SQLite-Treiber fehlt.").arg(nativePath(path)));
        return false;
    }
    Inspection inspection = inspectHeader(path);
    if (inspection.verdict != Verdict::Project) {
        setMessage(errorMessage, messageFor(inspection, path));
        return false;
    }

    Connection connection(path, true);
    if (!connection.isOpen()) {
        inspection.verdict = Verdict::Damaged;
        inspection.detail = connection.error();
        setMessage(errorMessage, messageFor(inspection, path));
        return false;
    }
    const QSqlDatabase db = connection.database();
    inspection = inspectMeta(db);
    if (inspection.verdict != Verdict::Project) {
        setMessage(errorMessage, messageFor(inspection, path));
        return false;
    }
    FileStorageView scratch;
    FileStorageView* target = into ? into : &scratch;
    QString detail;
    if (!loadTree(db, target, &detail)) {
        target->clear();
        inspection.verdict = Verdict::Damaged;
        inspection.detail = detail;
        setMessage(errorMessage, messageFor(inspection, path));
        return false;
    }
    return true;
}

bool ProjectFile::write(const QString& path, const FileStorageView& root, QString* errorMessage)
{
    const int failAfter = failAfterItems;
    failAfterItems = -1;

    const QString file = nativePath(path);
    auto fail = [&](const QString& detail) {
        setMessage(errorMessage, tr("Die Projektdatei „%1“ konnte nicht gespeichert werden: %2").arg(file, detail));
        return false;
    };
    if (!QSqlDatabase::isDriverAvailable(driverName))
        return fail(tr("Der SQLite-Treiber fehlt."));

    const QFileInfo info(path);
    if (info.exists() || info.isSymLink()) {
        const Inspection inspection = inspect(path);
        if (inspection.verdict != Verdict::Project) {
            setMessage(errorMessage, messageFor(inspection, path) + QLatin1Char(' ')
                                         + tr("Sie wird nicht überschrieben."));
            return false;
        }
        Connection connection(path, false);
        if (!connection.isOpen())
            return fail(connection.error());
        QString detail;
        if (!writeInTransaction(connection.database(), root, false, failAfter, &detail))
            return fail(detail);
        return true;
    }

    const QString directory = info.absolutePath();
    QTemporaryFile temporary(QDir(directory).filePath(QStringLiteral(".%1.XXXXXX").arg(info.fileName())));
    if (!temporary.open()) {
        return fail(tr("Im Verzeichnis „%1“ kann keine Datei angelegt werden (%2).")
                        .arg(nativePath(directory), temporary.errorString()));
    }
    temporary.close();
    {
        Connection connection(temporary.fileName(), false);
        if (!connection.isOpen())
            return fail(connection.error());
        QString detail;
        if (!writeInTransaction(connection.database(), root, true, failAfter, &detail))
            return fail(detail);
    }
    temporary.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser
                             | QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    // QTemporaryFile::rename() never replaces a file that appeared meanwhile.
    temporary.setAutoRemove(false);
    if (!temporary.rename(path)) {
        const QString reason = temporary.errorString();
        temporary.remove();
        return fail(tr("Die fertige Datei kann nicht umbenannt werden (%1).").arg(reason));
    }
    return true;
}

bool ProjectFile::isProjectFile(const QString& path)
{
    if (!QSqlDatabase::isDriverAvailable(driverName))
        return false;
    const Verdict verdict = inspect(path).verdict;
    return verdict == Verdict::Project || verdict == Verdict::Newer;
}

void ProjectFile::setFailAfterItemsForTesting(int n)
{
    failAfterItems = n < 0 ? -1 : n;
}
