#include "ProjectFile.h"

#include "FileStorageView.h"

#include <QAtomicInt>
#include <QCryptographicHash>
#include <QtEndian>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>
#include <QVariant>

#include <algorithm>
#include <limits>
#include <map>
#include <set>
#include <vector>

namespace {

const QString formatName = QStringLiteral("KxSuiteProject");
constexpr int currentFormatVersion = 1;
const QString driverName = QStringLiteral("QSQLITE");
const QString damagedStorage = QStringLiteral("DamagedItems");

// Row by row reading probes every rowid up to the largest; beyond this a
// file was not written by us and only the rows its index names are probed.
constexpr qint64 probeLimit = 100000;
// Rows of a damaged table reached one by one by their place in a scan: each
// costs a scan up to it.
constexpr int placeLimit = 4000;

QAtomicInt connectionCounter;
int failAfterItems = -1;

// SQLite's primary result codes that the messages tell apart.
enum SqliteCode {
    SqlitePerm = 3,
    SqliteBusy = 5,
    SqliteLocked = 6,
    SqliteNoMem = 7,
    SqliteReadOnly = 8,
    SqliteIoErr = 10,
    SqliteCorrupt = 11,
    SqliteFull = 13,
    SqliteCantOpen = 14,
    SqliteNotADb = 26,
};

QString nativePath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

int primaryCode(const QSqlError& error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? code & 0xff : -1;
}

bool isDamage(const QSqlError& error)
{
    const int code = primaryCode(error);
    return code == SqliteCorrupt || code == SqliteNotADb;
}

QString sqliteDetail(const QSqlError& error)
{
    const QString text = error.text().trimmed();
    return text.isEmpty() ? QString() : ProjectFile::tr("Einzelheiten: %1").arg(text);
}

// Our own words for what went wrong; SQLite's English text only as detail.
QString errorText(const QSqlError& error)
{
    QString words;
    switch (primaryCode(error)) {
    case SqliteCorrupt:
    case SqliteNotADb:
        words = ProjectFile::tr("der Inhalt der Datei ist beschädigt");
        break;
    case SqliteFull:
        words = ProjectFile::tr("der Datenträger ist voll");
        break;
    case SqliteReadOnly:
        words = ProjectFile::tr("die Datei oder ihr Verzeichnis ist schreibgeschützt");
        break;
    case SqlitePerm:
    case SqliteCantOpen:
        words = ProjectFile::tr("die Datei kann nicht geöffnet werden (fehlen Zugriffsrechte?)");
        break;
    case SqliteBusy:
    case SqliteLocked:
        words = ProjectFile::tr("die Datei wird gerade von einem anderen Programm benutzt");
        break;
    case SqliteIoErr:
        words = ProjectFile::tr("der Datenträger meldet einen Lese- oder Schreibfehler");
        break;
    case SqliteNoMem:
        words = ProjectFile::tr("der Arbeitsspeicher reicht nicht aus");
        break;
    default:
        words = ProjectFile::tr("die Datenbank meldet einen Fehler");
        break;
    }
    const QString detail = sqliteDetail(error);
    return detail.isEmpty() ? words : QStringLiteral("%1 (%2)").arg(words, detail);
}

enum class Access { ReadOnly, ReadWrite, ReadWriteNoWait };

// One named connection per call. Every QSqlDatabase handle and QSqlQuery of
// the call must be gone before the destructor removes the connection; declare
// the Connection first so that it is destroyed last.
class Connection
{
public:
    Connection(const QString& path, Access access)
        : m_name(QStringLiteral("KxProjectFile-%1").arg(connectionCounter.fetchAndAddRelaxed(1)))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(driverName, m_name);
        db.setDatabaseName(path);
        switch (access) {
        case Access::ReadOnly:
            db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=3000"));
            break;
        case Access::ReadWrite:
            db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=3000"));
            break;
        case Access::ReadWriteNoWait:
            db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
            break;
        }
        if (!db.open())
            m_error = db.lastError();
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

    bool isOpen() const { return !m_error.isValid(); }
    QSqlError error() const { return m_error; }
    QSqlDatabase database() const { return QSqlDatabase::database(m_name, false); }

private:
    const QString m_name;
    QSqlError m_error;
};

enum class Verdict { Project, Missing, NotAFile, Unreadable, Empty, NotSqlite, Damaged, Foreign, Newer };

struct Inspection
{
    Verdict verdict = Verdict::Damaged;
    QString detail;
    int version = 0;
};

// A damaged file is damaged; anything else that SQLite refuses keeps the
// file from being read.
Inspection failure(const QSqlError& error)
{
    Inspection result;
    result.verdict = isDamage(error) ? Verdict::Damaged : Verdict::Unreadable;
    result.detail = isDamage(error) ? sqliteDetail(error) : errorText(error);
    return result;
}

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
    if (!tables.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'")))
        return failure(tables.lastError());
    QStringList names;
    while (tables.next())
        names.append(tables.value(0).toString());
    if (tables.lastError().isValid())
        return failure(tables.lastError());
    if (!names.contains(QStringLiteral("meta"))) {
        result.verdict = Verdict::Foreign;
        return result;
    }
    // With the tables of a project beside it, a meta table that says
    // nothing useful was damaged rather than written by someone else.
    const bool projectLayout = names.contains(QStringLiteral("storages")) && names.contains(QStringLiteral("items"));
    const auto foreignOrDamaged = [&] {
        result.verdict = projectLayout ? Verdict::Damaged : Verdict::Foreign;
        if (projectLayout)
            result.detail = ProjectFile::tr("die Formatangaben sind unlesbar");
        return result;
    };

    QSqlQuery meta(db);
    meta.setForwardOnly(true);
    if (!meta.exec(QStringLiteral("SELECT key, value FROM meta"))) {
        if (isDamage(meta.lastError()))
            return failure(meta.lastError());
        // A meta table of some other layout: not ours.
        return foreignOrDamaged();
    }
    QHash<QString, QString> values;
    while (meta.next())
        values.insert(meta.value(0).toString(), meta.value(1).toString());
    if (meta.lastError().isValid())
        return failure(meta.lastError());
    if (values.value(QStringLiteral("format")) != formatName)
        return foreignOrDamaged();
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
    if (!projectLayout) {
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
        return inspection.detail.isEmpty()
            ? ProjectFile::tr("Die Projektdatei „%1“ ist beschädigt.").arg(file)
            : ProjectFile::tr("Die Projektdatei „%1“ ist beschädigt (%2).").arg(file, inspection.detail);
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

// A save that was killed leaves SQLite's journal "hot": the file then holds
// half-written pages, and a read-only connection refuses it. The first
// connection that may write rolls the journal back, which restores the last
// complete save.
void rollBackInterruptedSave(const QString& path)
{
    if (!QFileInfo::exists(path + QStringLiteral("-journal")))
        return;
    Connection connection(path, Access::ReadWrite);
    if (!connection.isOpen())
        return;
    QSqlQuery query(connection.database());
    query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"));
}

Inspection inspect(const QString& path)
{
    Inspection inspection = inspectHeader(path);
    if (inspection.verdict != Verdict::Project)
        return inspection;
    rollBackInterruptedSave(path);
    Connection connection(path, Access::ReadOnly);
    if (!connection.isOpen())
        return failure(connection.error());
    return inspectMeta(connection.database());
}

void setMessage(QString* target, const QString& message)
{
    if (target)
        *target = message;
}

// XXH64 (xxHash, 64 bits, seed 0): a damaged item is found as surely as by
// a cryptographic hash, at a tenth of the cost of SHA-256, which every save
// and every load pays for every byte of the project. Stored big-endian, as
// xxhsum prints it.
namespace xxh64 {

constexpr quint64 P1 = 11400714785074694791ULL;
constexpr quint64 P2 = 14029467366897019727ULL;
constexpr quint64 P3 = 1609587929392839161ULL;
constexpr quint64 P4 = 9650029242287828579ULL;
constexpr quint64 P5 = 2870177450012600261ULL;

inline quint64 rotl(quint64 x, int r) { return (x << r) | (x >> (64 - r)); }
inline quint64 read64(const uchar* p) { return qFromLittleEndian<quint64>(p); }
inline quint64 read32(const uchar* p) { return qFromLittleEndian<quint32>(p); }
inline quint64 round(quint64 acc, quint64 input) { return rotl(acc + input * P2, 31) * P1; }
inline quint64 merge(quint64 acc, quint64 value) { return (acc ^ round(0, value)) * P1 + P4; }

quint64 hash(const uchar* p, qsizetype length)
{
    const uchar* const end = p + length;
    quint64 h;
    if (length >= 32) {
        quint64 v1 = P1 + P2, v2 = P2, v3 = 0, v4 = 0 - P1;
        for (; end - p >= 32; p += 32) {
            v1 = round(v1, read64(p));
            v2 = round(v2, read64(p + 8));
            v3 = round(v3, read64(p + 16));
            v4 = round(v4, read64(p + 24));
        }
        h = rotl(v1, 1) + rotl(v2, 7) + rotl(v3, 12) + rotl(v4, 18);
        h = merge(merge(merge(merge(h, v1), v2), v3), v4);
    } else {
        h = P5;
    }
    h += quint64(length);
    for (; end - p >= 8; p += 8)
        h = rotl(h ^ round(0, read64(p)), 27) * P1 + P4;
    if (end - p >= 4) {
        h = rotl(h ^ (read32(p) * P1), 23) * P2 + P3;
        p += 4;
    }
    for (; p < end; ++p)
        h = rotl(h ^ (*p * P5), 11) * P1;
    h ^= h >> 33;
    h *= P2;
    h ^= h >> 29;
    h *= P3;
    h ^= h >> 32;
    return h;
}

} // namespace xxh64

// A checksum of 32 bytes is a SHA-256, as the first files with checksums have them.
QByteArray checksumOf(const QByteArray& bytes, int size = 8)
{
    if (size == 32)
        return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
    QByteArray checksum(8, Qt::Uninitialized);
    qToBigEndian(xxh64::hash(reinterpret_cast<const uchar*>(bytes.constData()), bytes.size()), checksum.data());
    return checksum;
}

bool matchesChecksum(const QByteArray& bytes, const QByteArray& checksum)
{
    return checksum == checksumOf(bytes, checksum.size());
}

bool hasColumn(const QSqlDatabase& db, const QString& table, const QString& column)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("PRAGMA table_info(%1)").arg(table)))
        return false;
    while (query.next()) {
        if (query.value(1).toString() == column)
            return true;
    }
    return false;
}

// The rows of one table, as far as they can be read. A plain scan does for
// an intact file. When it breaks off, every row is looked up on its own, so
// that a damaged page costs only the rows on it, and the table's index, a
// b-tree of its own, still names the rows that are lost.
struct TableContent
{
    std::vector<QVariantList> rows;        // rowid, then the columns asked for
    std::vector<QVariantList> lost;        // rowid, then the index's columns
    int unnamedLosses = 0;                 // rows that failed and no index names
    bool damaged = false;
};

TableContent readTable(const QSqlDatabase& db, const QString& table, const QStringList& columns, const QString& index,
                       const QStringList& indexColumns)
{
    TableContent content;
    const QString select = QStringLiteral("SELECT rowid, %1 FROM %2").arg(columns.join(QStringLiteral(", ")), table);
    const auto row = [](const QSqlQuery& query, int count) {
        QVariantList values;
        values.reserve(count);
        for (int i = 0; i < count; ++i)
            values.append(query.value(i));
        return values;
    };
    {
        QSqlQuery scan(db);
        scan.setForwardOnly(true);
        if (scan.exec(select)) {
            while (scan.next())
                content.rows.push_back(row(scan, columns.size() + 1));
            if (!scan.lastError().isValid())
                return content;
        }
    }
    content.damaged = true;
    // What the plain scan read before it stopped is good: a broken tree can
    // hand out in order what it no longer finds by rowid.
    std::map<qint64, QVariantList> scanned;
    for (QVariantList& values : content.rows) {
        const qint64 rowid = values.value(0).toLongLong();
        if (rowid > 0 && !values.value(2).isNull())
            scanned.emplace(rowid, std::move(values));
    }
    content.rows.clear();
    // A row whose own pages are broken stops a scan of everything behind it,
    // and a broken tree no longer finds rows by rowid; a row is still
    // reached by its place in a scan that reads nothing of the rows before it.
    {
        QSqlQuery places(db);
        places.setForwardOnly(true);
        std::vector<qint64> order;
        // The table itself: its index may be what is broken.
        if (places.exec(QStringLiteral("SELECT rowid FROM %1 NOT INDEXED").arg(table))) {
            while (places.next() && int(order.size()) < placeLimit)
                order.push_back(places.value(0).toLongLong());
        }
        for (size_t place = 0; place < order.size(); ++place) {
            if (order[place] <= 0 || scanned.count(order[place]))
                continue;
            QSqlQuery one(db);
            one.setForwardOnly(true);
            if (one.exec(select + QStringLiteral(" NOT INDEXED LIMIT 1 OFFSET %1").arg(place)) && one.next()) {
                QVariantList values = row(one, columns.size() + 1);
                const qint64 rowid = values.value(0).toLongLong();
                if (rowid > 0 && !values.value(2).isNull())
                    scanned.emplace(rowid, std::move(values));
            }
        }
    }

    std::map<qint64, QVariantList> named;
    qint64 last = scanned.empty() ? 0 : scanned.rbegin()->first;
    {
        QSqlQuery scan(db);
        scan.setForwardOnly(true);
        if (scan.exec(QStringLiteral("SELECT rowid, %1 FROM %2 INDEXED BY %3")
                          .arg(indexColumns.join(QStringLiteral(", ")), table, index))) {
            while (scan.next()) {
                const qint64 rowid = scan.value(0).toLongLong();
                named[rowid] = row(scan, indexColumns.size() + 1);
                last = std::max(last, rowid);
            }
        }
        if (scan.exec(QStringLiteral("SELECT max(rowid) FROM %1").arg(table)) && scan.next())
            last = std::max(last, scan.value(0).toLongLong());
    }
    std::vector<qint64> candidates;
    if (last <= probeLimit) {
        for (qint64 rowid = 1; rowid <= last; ++rowid)
            candidates.push_back(rowid);
    } else {
        std::set<qint64> known;
        for (const auto& entry : named)
            known.insert(entry.first);
        for (const auto& entry : scanned)
            known.insert(entry.first);
        candidates.assign(known.begin(), known.end());
    }

    QSqlQuery lookUp(db);
    lookUp.setForwardOnly(true);
    if (!lookUp.prepare(select + QStringLiteral(" WHERE rowid = ?"))) {
        for (auto& entry : scanned)
            content.rows.push_back(std::move(entry.second));
        for (const auto& entry : named) {
            if (!scanned.count(entry.first))
                content.lost.push_back(entry.second);
        }
        return content;
    }
    for (qint64 rowid : candidates) {
        lookUp.addBindValue(rowid);
        bool found = lookUp.exec() && lookUp.next();
        const bool failed = !found && lookUp.lastError().isValid();
        if (found) {
            content.rows.push_back(row(lookUp, columns.size() + 1));
        } else if (const auto read = scanned.find(rowid); read != scanned.end()) {
            content.rows.push_back(read->second);
            found = true;
        }
        lookUp.finish();
        const auto name = named.find(rowid);
        if (found || (!failed && name == named.end()))
            continue;
        if (name != named.end())
            content.lost.push_back(name->second);
        else
            ++content.unnamedLosses;
    }
    return content;
}

// Gathers what a damaged file costs, one line per item, in the user's terms.
class DamageReport
{
public:
    explicit DamageReport(const QString& path) : m_project(QFileInfo(path).fileName()) {}

    QString place(const QString& storagePath, const QString& item) const
    {
        return ProjectFile::tr("Projekt „%1“, Speicher „%2“, Eintrag „%3“")
            .arg(m_project, storagePath.isEmpty() ? ProjectFile::tr("(oberste Ebene)") : storagePath, item);
    }
    void unreadable(const QString& storagePath, const QString& item)
    {
        lines << ProjectFile::tr("%1: kann nicht gelesen werden, weil die Datei an dieser Stelle beschädigt ist; "
                                 "der Eintrag fehlt im geöffneten Projekt.")
                     .arg(place(storagePath, item));
    }
    void changed(const QString& storagePath, const QString& item)
    {
        lines << ProjectFile::tr("%1: der Inhalt wurde verändert (die Prüfsumme stimmt nicht); er wird nicht "
                                 "verwendet, beim Speichern aber unverändert aufbewahrt.")
                     .arg(place(storagePath, item));
    }
    void homeless(const QString& storagePath, const QString& item)
    {
        lines << ProjectFile::tr("%1: der Speicher dieses Eintrags kann nicht gelesen werden; der Eintrag wird "
                                 "nicht verwendet, beim Speichern aber unverändert aufbewahrt.")
                     .arg(place(storagePath, item));
    }
    void unnamed(int items, int storages)
    {
        if (storages > 0)
            lines << ProjectFile::tr("Projekt „%1“: %n Speicher kann/können nicht gelesen werden.", nullptr, storages)
                         .arg(m_project);
        if (items > 0)
            lines << ProjectFile::tr("Projekt „%1“: %n weitere(r) Eintrag/Einträge kann/können nicht gelesen werden.",
                                     nullptr, items)
                         .arg(m_project);
    }
    void damagedWithoutKnownLosses()
    {
        lines << ProjectFile::tr("Projekt „%1“: die Datei ist beschädigt; alles Lesbare wurde geladen, es können "
                                 "aber Einträge fehlen.")
                     .arg(m_project);
    }

    QStringList lines;

private:
    QString m_project;
};

// Items set aside keep their bytes under a name that says where they were.
void setAside(FileStorageView* root, const QString& storagePath, const QString& item, const QByteArray& bytes)
{
    FileStorageView* aside = root->storage(damagedStorage);
    const QString base = storagePath.isEmpty() ? item : storagePath + QLatin1Char('/') + item;
    QString name = base;
    for (int n = 2; aside->hasItem(name); ++n)
        name = QStringLiteral("%1 (%2)").arg(base).arg(n);
    aside->writeItem(name, bytes);
}

bool loadTree(const QSqlDatabase& db, FileStorageView* root, DamageReport* report, QString* detail)
{
    struct StorageRow
    {
        qint64 id;
        QVariant parent;
        QString name;
        qint64 position;
    };
    const TableContent storageTable =
        readTable(db, QStringLiteral("storages"), {QStringLiteral("parent"), QStringLiteral("name"), QStringLiteral("position")},
                  QStringLiteral("sqlite_autoindex_storages_1"), {QStringLiteral("parent"), QStringLiteral("name")});
    std::vector<StorageRow> storageRows;
    for (const QVariantList& row : storageTable.rows)
        storageRows.push_back({row.at(0).toLongLong(), row.at(1), row.at(2).toString(), row.at(3).toLongLong()});
    // Storages known from the index alone lose only their place among their siblings.
    for (const QVariantList& row : storageTable.lost)
        storageRows.push_back({row.at(0).toLongLong(), row.at(1), row.at(2).toString(), std::numeric_limits<qint64>::max()});
    std::stable_sort(storageRows.begin(), storageRows.end(), [](const StorageRow& a, const StorageRow& b) {
        return a.position != b.position ? a.position < b.position : a.id < b.id;
    });

    QHash<qint64, std::vector<const StorageRow*>> children;
    std::vector<qint64> roots;
    for (const StorageRow& row : storageRows) {
        if (row.parent.isNull())
            roots.push_back(row.id);
        else
            children[row.parent.toLongLong()].push_back(&row);
    }
    if (roots.size() != 1) {
        *detail = ProjectFile::tr("die Wurzel des Speicherbaums fehlt oder ist mehrfach vorhanden");
        return false;
    }

    // Breadth first without recursion: a project may nest deeper than the
    // stack would like. Rows that no path from the root reaches are ignored.
    QHash<qint64, FileStorageView*> views;
    QHash<qint64, QString> paths;
    views.insert(roots.front(), root);
    paths.insert(roots.front(), QString());
    std::vector<qint64> pending{roots.front()};
    for (size_t next = 0; next < pending.size(); ++next) {
        const qint64 parentId = pending[next];
        FileStorageView* parent = views.value(parentId);
        const QString parentPath = paths.value(parentId);
        const auto found = children.constFind(parentId);
        if (found == children.constEnd())
            continue;
        for (const StorageRow* row : *found) {
            if (views.contains(row->id))
                continue;
            views.insert(row->id, parent->storage(row->name));
            paths.insert(row->id, parentPath.isEmpty() ? row->name : parentPath + QLatin1Char('/') + row->name);
            pending.push_back(row->id);
        }
    }
    const auto storagePath = [&](qint64 id) {
        return paths.contains(id) ? paths.value(id) : ProjectFile::tr("Speicher %1").arg(id);
    };

    QStringList itemColumns{QStringLiteral("storage"), QStringLiteral("name"), QStringLiteral("position"),
                            QStringLiteral("data")};
    const bool checksums = hasColumn(db, QStringLiteral("items"), QStringLiteral("checksum"));
    if (checksums)
        itemColumns << QStringLiteral("checksum");
    TableContent itemTable = readTable(db, QStringLiteral("items"), itemColumns, QStringLiteral("sqlite_autoindex_items_1"),
                                       {QStringLiteral("storage"), QStringLiteral("name")});
    std::stable_sort(itemTable.rows.begin(), itemTable.rows.end(), [](const QVariantList& a, const QVariantList& b) {
        const qint64 storageA = a.at(1).toLongLong(), storageB = b.at(1).toLongLong();
        if (storageA != storageB)
            return storageA < storageB;
        return a.at(3).toLongLong() < b.at(3).toLongLong();
    });
    // Items set aside are placed after all others, so that one named like
    // the storage for them cannot take the place of the one read first.
    std::vector<std::pair<QString, const QVariantList*>> asides;
    for (const QVariantList& row : itemTable.rows) {
        const qint64 storage = row.at(1).toLongLong();
        const QString name = row.at(2).toString();
        const QByteArray bytes = row.at(4).toByteArray();
        FileStorageView* view = views.value(storage);
        const bool intact = !checksums || row.at(5).isNull() || matchesChecksum(bytes, row.at(5).toByteArray());
        if (view && intact) {
            view->writeItem(name, bytes);
            continue;
        }
        if (!view)
            report->homeless(storagePath(storage), name);
        else
            report->changed(storagePath(storage), name);
        asides.emplace_back(storagePath(storage), &row);
    }
    for (const auto& aside : asides)
        setAside(root, aside.first, aside.second->at(2).toString(), aside.second->at(4).toByteArray());
    for (const QVariantList& row : itemTable.lost)
        report->unreadable(storagePath(row.at(1).toLongLong()), row.at(2).toString());
    report->unnamed(itemTable.unnamedLosses, storageTable.unnamedLosses);
    if ((storageTable.damaged || itemTable.damaged) && itemTable.lost.empty() && itemTable.unnamedLosses == 0
        && storageTable.unnamedLosses == 0)
        report->damagedWithoutKnownLosses();
    return true;
}

// Why a write failed, and whether the reason is a damaged file.
struct WriteError
{
    QString detail;
    bool damaged = false;

    bool set(const QSqlError& error)
    {
        detail = errorText(error);
        damaged = isDamage(error);
        return false;
    }
};

bool exec(QSqlQuery& query, const QString& statement, WriteError* error)
{
    return query.exec(statement) || error->set(query.lastError());
}

bool createSchema(const QSqlDatabase& db, WriteError* error)
{
    QSqlQuery query(db);
    return exec(query, QStringLiteral("CREATE TABLE meta (key TEXT PRIMARY KEY NOT NULL, value TEXT NOT NULL)"), error)
        && exec(query,
                QStringLiteral("CREATE TABLE storages (id INTEGER PRIMARY KEY, parent INTEGER REFERENCES storages(id), "
                               "name TEXT NOT NULL, position INTEGER NOT NULL, UNIQUE (parent, name))"),
                error)
        && exec(query,
                QStringLiteral("CREATE TABLE items (storage INTEGER NOT NULL REFERENCES storages(id), "
                               "name TEXT NOT NULL, position INTEGER NOT NULL, data BLOB NOT NULL, checksum BLOB, "
                               "PRIMARY KEY (storage, name))"),
                error);
}

// Files written before items had checksums get the column on their next save.
bool upgradeSchema(const QSqlDatabase& db, WriteError* error)
{
    if (hasColumn(db, QStringLiteral("items"), QStringLiteral("checksum")))
        return true;
    QSqlQuery query(db);
    return exec(query, QStringLiteral("ALTER TABLE items ADD COLUMN checksum BLOB"), error);
}

// Runs inside the caller's transaction.
bool storeTree(const QSqlDatabase& db, const FileStorageView& root, int failAfter, WriteError* error)
{
    QSqlQuery query(db);
    if (!exec(query, QStringLiteral("DELETE FROM items"), error)
        || !exec(query, QStringLiteral("DELETE FROM storages"), error))
        return false;

    QSqlQuery meta(db);
    if (!meta.prepare(QStringLiteral("INSERT OR REPLACE INTO meta (key, value) VALUES (?, ?)")))
        return error->set(meta.lastError());
    const std::pair<QString, QString> metaValues[] = {
        {QStringLiteral("format"), formatName},
        {QStringLiteral("version"), QString::number(currentFormatVersion)},
    };
    for (const auto& entry : metaValues) {
        meta.addBindValue(entry.first);
        meta.addBindValue(entry.second);
        if (!meta.exec())
            return error->set(meta.lastError());
    }

    QSqlQuery insertStorage(db);
    QSqlQuery insertItem(db);
    if (!insertStorage.prepare(
            QStringLiteral("INSERT INTO storages (id, parent, name, position) VALUES (?, ?, ?, ?)")))
        return error->set(insertStorage.lastError());
    if (!insertItem.prepare(
            QStringLiteral("INSERT INTO items (storage, name, position, data, checksum) VALUES (?, ?, ?, ?, ?)")))
        return error->set(insertItem.lastError());
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
        error->detail = ProjectFile::tr("Schreibvorgang nach %1 Einträgen abgebrochen (Fehlersimulation)").arg(itemsStored);
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
        if (!insertStorage.exec())
            return error->set(insertStorage.lastError());
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
            insertItem.addBindValue(checksumOf(bytes));
            if (!insertItem.exec())
                return error->set(insertItem.lastError());
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
                        WriteError* error)
{
    QSqlDatabase db = constDb;
    if (!db.transaction())
        return error->set(db.lastError());
    bool ok = (newFile ? createSchema(db, error) : upgradeSchema(db, error)) && storeTree(db, root, failAfter, error);
    if (ok && !db.commit())
        ok = error->set(db.lastError());
    if (!ok)
        db.rollback();
    return ok;
}

// An interrupted first save leaves its temporary file (and maybe the
// journal) behind under the name pattern of the temporary files below. One
// that some other process is writing right now holds a SQLite lock.
bool isBeingWritten(const QString& file)
{
    Connection connection(file, Access::ReadWriteNoWait);
    if (!connection.isOpen())
        return false;
    QSqlQuery query(connection.database());
    if (query.exec(QStringLiteral("BEGIN EXCLUSIVE"))) {
        query.exec(QStringLiteral("ROLLBACK"));
        return false;
    }
    const int code = primaryCode(query.lastError());
    return code == SqliteBusy || code == SqliteLocked;
}

QString temporaryTemplate(const QFileInfo& target)
{
    return QDir(target.absolutePath()).filePath(QStringLiteral(".%1.XXXXXX").arg(target.fileName()));
}

void removeStaleTemporaries(const QFileInfo& target)
{
    const QDir directory(target.absolutePath());
    const QRegularExpression pattern(
        QStringLiteral("^\\.%1\\.[A-Za-z0-9]{6}(-journal)?$").arg(QRegularExpression::escape(target.fileName())));
    const QStringList names = directory.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& name : names) {
        const QRegularExpressionMatch match = pattern.match(name);
        if (!match.hasMatch())
            continue;
        const QString file = directory.filePath(name);
        if (match.capturedLength(1) > 0) {
            // A journal whose database is gone.
            if (!QFileInfo::exists(file.chopped(match.capturedLength(1))))
                QFile::remove(file);
            continue;
        }
        if (isBeingWritten(file))
            continue;
        QFile::remove(file);
        QFile::remove(file + QStringLiteral("-journal"));
    }
}

} // namespace

int ProjectFile::formatVersion()
{
    return currentFormatVersion;
}

QString ProjectFile::damagedItemsStorageName()
{
    return damagedStorage;
}

bool ProjectFile::read(const QString& path, FileStorageView* into, QString* errorMessage, QStringList* warnings)
{
    if (into)
        into->clear();
    if (warnings)
        warnings->clear();
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

    rollBackInterruptedSave(path);
    Connection connection(path, Access::ReadOnly);
    if (!connection.isOpen()) {
        setMessage(errorMessage, messageFor(failure(connection.error()), path));
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
    DamageReport report(path);
    if (!loadTree(db, target, &report, &detail)) {
        target->clear();
        inspection.verdict = Verdict::Damaged;
        inspection.detail = detail;
        setMessage(errorMessage, messageFor(inspection, path));
        return false;
    }
    if (warnings)
        *warnings = report.lines;
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
    if (info.absoluteDir().exists())
        removeStaleTemporaries(info);
    if (info.exists() || info.isSymLink()) {
        const Inspection inspection = inspect(path);
        if (inspection.verdict != Verdict::Project) {
            setMessage(errorMessage, messageFor(inspection, path) + QLatin1Char(' ')
                                         + tr("Sie wird nicht überschrieben."));
            return false;
        }
        Connection connection(path, Access::ReadWrite);
        if (!connection.isOpen())
            return fail(errorText(connection.error()));
        WriteError error;
        if (!writeInTransaction(connection.database(), root, false, failAfter, &error)) {
            if (error.damaged)
                error.detail += QLatin1Char(' ')
                    + tr("Die Datei bleibt, wie sie ist; speichern Sie das Projekt bitte unter einem anderen Namen.");
            return fail(error.detail);
        }
        return true;
    }

    const QString directory = info.absolutePath();
    QTemporaryFile temporary(temporaryTemplate(info));
    if (!temporary.open()) {
        return fail(tr("Im Verzeichnis „%1“ kann keine Datei angelegt werden (%2).")
                        .arg(nativePath(directory), temporary.errorString()));
    }
    temporary.close();
    {
        Connection connection(temporary.fileName(), Access::ReadWrite);
        if (!connection.isOpen())
            return fail(errorText(connection.error()));
        WriteError error;
        if (!writeInTransaction(connection.database(), root, true, failAfter, &error))
            return fail(error.detail);
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
