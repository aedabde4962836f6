#include "FileStorageView.h"
#include "ProjectFile.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

using TreeBuilder = std::function<void(FileStorageView*)>;
using Prepare = std::function<void(const QString& file)>;
Q_DECLARE_METATYPE(TreeBuilder)
Q_DECLARE_METATYPE(Prepare)

namespace {

// One line per item and sub-storage: its path, and an item's bytes in hex.
QStringList flatten(const FileStorageView& view, const QString& where = QString())
{
    const QChar separator(0x1f);
    QStringList lines;
    for (const QString& item : view.itemNames())
        lines << where + separator + item + QLatin1Char('=') + QString::fromLatin1(view.readItem(item).toHex());
    for (const QString& name : view.storageNames())
        lines << where + separator + name + separator << flatten(*view.subStorage(name), where + separator + name);
    return lines;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
}

void buildSample(FileStorageView* root)
{
    root->writeItem(QStringLiteral("Projekt"), "Kx-Demo");
    FileStorageView* lists = root->storage(QStringLiteral("CustomParameterLists"));
    lists->writeItem(QStringLiteral("List0"), "[List]\nName=Antrieb 1\n");
    lists->writeItem(QStringLiteral("List1"), QByteArray("\0\x01\xff binary", 10));
    root->storage(QStringLiteral("Geräte/Achse 1"))->storage(QString())->writeItem(QString(), QByteArray());
}

void writeProject(const QString& file, const FileStorageView& tree)
{
    QString message;
    QVERIFY2(ProjectFile::write(file, tree, &message), qPrintable(message));
}

FileStorageView* readProject(const QString& file, FileStorageView* into)
{
    QString message;
    if (!ProjectFile::read(file, into, &message))
        QTest::qFail(qPrintable(message), __FILE__, __LINE__);
    return into;
}

// Runs SQL on the file through a connection of its own, removed again at once.
Prepare runSql(bool projectFirst, const QStringList& statements)
{
    return [=](const QString& file) {
        FileStorageView tree;
        buildSample(&tree);
        if (projectFirst)
            writeProject(file, tree);
        const QString name = QStringLiteral("test-foreign");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(file);
            QVERIFY(db.open());
            QSqlQuery query(db);
            for (const QString& statement : statements)
                QVERIFY2(query.exec(statement), qPrintable(statement));
        }
        QSqlDatabase::removeDatabase(name);
    };
}

Prepare withBytes(const QByteArray& bytes)
{
    return [=](const QString& file) { writeFile(file, bytes); };
}

QStringList directoryEntries(const QString& path)
{
    return QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// A connection of the test's own to a file, gone again when this goes.
class RawDatabase
{
public:
    explicit RawDatabase(const QString& file)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(file);
        db.open();
    }
    ~RawDatabase()
    {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }
    QVariant value(const QString& statement) const
    {
        QSqlQuery query(db());
        return query.exec(statement) && query.next() ? query.value(0) : QVariant();
    }

private:
    const QString m_name = QStringLiteral("test-raw");
};

int pageSize(const QByteArray& file)
{
    const int size = (uchar(file.at(16)) << 8) | uchar(file.at(17));
    return size == 1 ? 65536 : size;
}

// Pages counted from 1, as SQLite counts them.
QByteArray page(const QByteArray& file, int number)
{
    return file.mid((number - 1) * pageSize(file), pageSize(file));
}

void overwrite(QByteArray* file, int pageNumber, int offset, const QByteArray& bytes)
{
    file->replace((pageNumber - 1) * pageSize(*file) + offset, bytes.size(), bytes);
}

// The tree of these tests: items that each name themselves in their bytes.
void buildMarked(FileStorageView* root, int lists, int listSize)
{
    root->writeItem(QStringLiteral("Projekt"), "Kx-Demo");
    FileStorageView* storage = root->storage(QStringLiteral("CustomParameterLists"));
    for (int i = 0; i < lists; ++i) {
        const QByteArray mark = QStringLiteral("<List%1>").arg(i).toLatin1();
        storage->writeItem(QStringLiteral("List%1").arg(i), mark + QByteArray(listSize - 2 * mark.size(), 'a' + i % 26) + mark);
    }
}

} // namespace

class ProjectFileTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString path(const QString& name) const { return m_dir->filePath(name); }

private slots:
    void initTestCase()
    {
        KxTest::initTestEnvironment();
        QVERIFY(QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")));
    }
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }
    void cleanup()
    {
        ProjectFile::setFailAfterItemsForTesting(-1);
        m_dir.reset();
        // Every call, successful or failing, closes its database connection.
        QCOMPARE(QSqlDatabase::connectionNames(), QStringList());
    }

    void storageViewKeepsOrderAndSubStorages()
    {
        // A rewritten item keeps its place; "/" is part of a storage's name, not a path.
        FileStorageView view;
        for (const char* name : {"List0", "List1", "List2"})
            view.writeItem(QLatin1String(name), "a");
        view.writeItem(QStringLiteral("List1"), "neu");
        view.removeItem(QStringLiteral("List0"));
        QCOMPARE(view.itemNames(), (QStringList{QStringLiteral("List1"), QStringLiteral("List2")}));
        QCOMPARE(view.readItem(QStringLiteral("List1")), QByteArray("neu"));
        FileStorageView* nested = view.storage(QStringLiteral("a/b"));
        QCOMPARE(view.storage(QStringLiteral("a/b")), nested);
        QVERIFY(!view.hasStorage(QStringLiteral("a")));
        view.clear();
        QVERIFY(view.isEmpty() && view.storageNames().isEmpty());
    }

    void roundTrip_data()
    {
        QTest::addColumn<TreeBuilder>("build");
        QTest::newRow("empty project") << TreeBuilder([](FileStorageView*) {});
        QTest::newRow("sample with odd names and binary items") << TreeBuilder(buildSample);
        QTest::newRow("names that look like paths, SQL or control characters") << TreeBuilder([](FileStorageView* root) {
            root->storage(QStringLiteral("a/b"))->writeItem(QStringLiteral("../c"), "1");
            root->storage(QStringLiteral("a"))->storage(QStringLiteral("b"))->writeItem(QStringLiteral("c"), "2");
            root->writeItem(QStringLiteral("'; DROP TABLE items; --"), "3");
            root->writeItem(QString(QChar(0)) + QStringLiteral("nul"), "4");
            QByteArray everyByte(256, Qt::Uninitialized);
            for (int i = 0; i < 256; ++i)
                everyByte[i] = char(i);
            root->storage(QStringLiteral(" :*?\"<>|%[]=\n\täöü€ "))->writeItem(QStringLiteral("\\x\r"), everyByte);
        });
        QTest::newRow("300 levels deep") << TreeBuilder([](FileStorageView* root) {
            FileStorageView* view = root;
            for (int level = 0; level < 300; ++level, view = view->storage(QStringLiteral("tiefer")))
                view->writeItem(QStringLiteral("Ebene"), QByteArray::number(level));
        });
    }

    void roundTrip()
    {
        QFETCH(TreeBuilder, build);
        // GIVEN a longer project already saved WHEN a tree is saved over it and read into a non-empty view
        const QString file = path(QStringLiteral("Projekt.kxproj"));
        FileStorageView longer;
        buildSample(&longer);
        longer.storage(QStringLiteral("Zusatz"))->writeItem(QStringLiteral("x"), "y");
        writeProject(file, longer);
        FileStorageView original;
        build(&original);
        writeProject(file, original);
        const QByteArray bytes = KxTest::readFile(file);
        const QDateTime modified = QFileInfo(file).fileTime(QFileDevice::FileModificationTime);
        FileStorageView loaded;
        loaded.writeItem(QStringLiteral("vorher"), "wird verworfen");

        // THEN exactly that tree comes back; reading changed neither bytes nor time stamp, left nothing beside
        QCOMPARE(flatten(*readProject(file, &loaded)), flatten(original));
        QVERIFY(ProjectFile::isProjectFile(file));
        QCOMPARE(KxTest::readFile(file), bytes);
        QCOMPARE(QFileInfo(file).fileTime(QFileDevice::FileModificationTime), modified);
        QCOMPARE(directoryEntries(m_dir->path()), QStringList{QStringLiteral("Projekt.kxproj")});
    }

    void injectedFailureKeepsThePreviousState_data()
    {
        QTest::addColumn<bool>("existing");
        QTest::addColumn<int>("failAfter");
        QTest::newRow("before the first item") << true << 0;
        QTest::newRow("after the last item") << true << 5;
        QTest::newRow("first save of a new file") << false << 2;
    }

    void injectedFailureKeepsThePreviousState()
    {
        QFETCH(bool, existing);
        QFETCH(int, failAfter);
        const QString file = path(QStringLiteral("Projekt.kxproj"));
        FileStorageView previous, next;
        buildSample(&previous);
        if (existing)
            writeProject(file, previous);
        const QStringList entries = directoryEntries(m_dir->path());
        const QByteArray bytesBefore = existing ? KxTest::readFile(file) : QByteArray();

        // WHEN the next save breaks off after some items
        for (int i = 0; i < 5; ++i)
            next.storage(QStringLiteral("Neu"))->writeItem(QStringLiteral("Eintrag %1").arg(i), "neu");
        ProjectFile::setFailAfterItemsForTesting(failAfter);
        QString message;
        QVERIFY(!ProjectFile::write(file, next, &message));

        // THEN the message names the file, which is as before (or absent), with no journal or temporary left
        QVERIFY2(message.contains(QDir::toNativeSeparators(file)), qPrintable(message));
        QCOMPARE(directoryEntries(m_dir->path()), entries);
        if (existing) {
            QCOMPARE(KxTest::readFile(file), bytesBefore);
            FileStorageView loaded;
            QCOMPARE(flatten(*readProject(file, &loaded)), flatten(previous));
        }

        // AND the failure was used up: the following save goes through
        writeProject(file, next);
        FileStorageView loaded;
        QCOMPARE(flatten(*readProject(file, &loaded)), flatten(next));
    }

    void interruptedSaveIsRolledBack_data()
    {
        QTest::addColumn<bool>("readFirst");
        QTest::newRow("read, then saved over") << true;
        QTest::newRow("saved over without reading") << false;
    }

    void interruptedSaveIsRolledBack()
    {
        QFETCH(bool, readFirst);
        // GIVEN a project, and a copy of it taken while a save was half written: the file with some new
        // pages, the journal "hot", as a kill leaves them
        const QString file = path(QStringLiteral("Projekt.kxproj"));
        const QString killed = path(QStringLiteral("Abgebrochen.kxproj"));
        FileStorageView previous;
        buildMarked(&previous, 6, 3000);
        writeProject(file, previous);
        const QByteArray complete = KxTest::readFile(file);
        {
            RawDatabase raw(file);
            QSqlQuery query(raw.db());
            QVERIFY(query.exec(QStringLiteral("PRAGMA cache_size = 2")));
            QVERIFY(raw.db().transaction());
            QVERIFY(query.exec(QStringLiteral("UPDATE items SET data = randomblob(60000)")));
            QVERIFY(QFile::copy(file, killed) && QFile::copy(file + QStringLiteral("-journal"), killed + QStringLiteral("-journal")));
            QVERIFY(raw.db().rollback());
        }
        QVERIFY2(KxTest::readFile(killed) != complete, "the half-written save did not reach the file");

        // WHEN it is read THEN the last complete save comes back
        FileStorageView loaded;
        if (readFirst)
            QCOMPARE(flatten(*readProject(killed, &loaded)), flatten(previous));
        // AND saving over it works and leaves no journal behind
        QVERIFY(ProjectFile::isProjectFile(killed));
        FileStorageView next;
        buildMarked(&next, 2, 100);
        writeProject(killed, next);
        QCOMPARE(flatten(*readProject(killed, &loaded)), flatten(next));
        QCOMPARE(directoryEntries(m_dir->path()), (QStringList{QStringLiteral("Abgebrochen.kxproj"), QStringLiteral("Projekt.kxproj")}));
    }

    void damagedPagesCostOnlyTheirItems_data()
    {
        QTest::addColumn<int>("listSize");
        QTest::addColumn<bool>("leaf");
        // Large items go on chains of overflow pages; a broken link costs that one item.
        QTest::newRow("overflow chain of one item broken") << 20000 << false;
        // Small items share the table's leaf pages; a damaged leaf costs the items on it,
        // which the table's index still names.
        QTest::newRow("leaf page of the items table damaged") << 900 << true;
    }

    void damagedPagesCostOnlyTheirItems()
    {
        QFETCH(int, listSize);
        QFETCH(bool, leaf);
        // GIVEN a saved project with twelve lists
        const QString file = path(QStringLiteral("Projekt.kxproj"));
        FileStorageView original;
        buildMarked(&original, 12, listSize);
        writeProject(file, original);
        QByteArray bytes = KxTest::readFile(file);

        // WHEN one page is damaged: a leaf of the items table (page type 13), or a page in the middle of
        // a chain of one list's bytes, whose link is broken
        QStringList hit;
        for (int number = 2; number <= bytes.size() / pageSize(bytes) && hit.isEmpty(); ++number) {
            const QByteArray content = page(bytes, number);
            const QStringList lists = original.subStorage(QStringLiteral("CustomParameterLists"))->itemNames();
            if (leaf) {
                if (content.at(0) != 13 || content.contains("Kx-Demo"))
                    continue;
                for (const QString& list : lists) {
                    if (content.contains('<' + list.toLatin1() + '>'))
                        hit << list;
                }
                if (hit.size() > 1 && hit.size() < lists.size())
                    overwrite(&bytes, number, 0, QByteArray(8, '\xff'));
                else
                    hit.clear();
            } else if (content.mid(4).count('a' + 5) == content.size() - 4) {
                hit << QStringLiteral("List5");
                overwrite(&bytes, number, 0, QByteArray(4, '\xff'));
            }
        }
        QVERIFY(!hit.isEmpty());
        writeFile(file, bytes);

        // THEN the project opens with every other item, and one warning per lost item names project,
        // storage and item
        FileStorageView loaded;
        QStringList warnings;
        QString message;
        QVERIFY2(ProjectFile::read(file, &loaded, &message, &warnings), qPrintable(message));
        FileStorageView expected;
        buildMarked(&expected, 12, listSize);
        for (const QString& list : hit)
            expected.storage(QStringLiteral("CustomParameterLists"))->removeItem(list);
        QCOMPARE(flatten(loaded), flatten(expected));
        QCOMPARE(warnings.size(), hit.size());
        for (int i = 0; i < hit.size(); ++i) {
            const QString& warning = warnings.at(i);
            QVERIFY2(warning.contains(QStringLiteral("„Projekt.kxproj“")) && warning.contains(QStringLiteral("„CustomParameterLists“"))
                     && warning.contains(QStringLiteral("„%1“").arg(hit.at(i))) && warning.contains(QStringLiteral("beschädigt")),
                     qPrintable(warning));
        }
        // AND what was read can be saved elsewhere, complete
        const QString copy = path(QStringLiteral("Kopie.kxproj"));
        writeProject(copy, loaded);
        FileStorageView again;
        QCOMPARE(flatten(*readProject(copy, &again)), flatten(expected));
    }

    void changedBytesAreSetAsideAndKept()
    {
        // GIVEN a saved project in which bytes inside one list changed
        const QString file = path(QStringLiteral("Projekt.kxproj"));
        FileStorageView original;
        buildMarked(&original, 4, 200);
        writeProject(file, original);
        QByteArray bytes = KxTest::readFile(file);
        const int at = bytes.indexOf("<List2>") + 20;
        QVERIFY(at > 20);
        bytes[at] = 'X';
        writeFile(file, bytes);

        // WHEN it is read THEN one warning names project, storage and list, the list is not in its place
        // but kept aside with the bytes as found, and the rest is as saved
        FileStorageView loaded;
        QStringList warnings;
        QString message;
        QVERIFY2(ProjectFile::read(file, &loaded, &message, &warnings), qPrintable(message));
        QCOMPARE(warnings.size(), 1);
        QVERIFY2(warnings.first().contains(QStringLiteral("„Projekt.kxproj“")) && warnings.first().contains(QStringLiteral("„CustomParameterLists“"))
                 && warnings.first().contains(QStringLiteral("„List2“")) && warnings.first().contains(QStringLiteral("Prüfsumme")),
                 qPrintable(warnings.first()));
        QByteArray changed = original.subStorage(QStringLiteral("CustomParameterLists"))->readItem(QStringLiteral("List2"));
        changed[at - bytes.indexOf("<List2>")] = 'X';
        original.storage(QStringLiteral("CustomParameterLists"))->removeItem(QStringLiteral("List2"));
        original.storage(ProjectFile::damagedItemsStorageName())->writeItem(QStringLiteral("CustomParameterLists/List2"), changed);
        QCOMPARE(flatten(loaded), flatten(original));

        // AND the next save keeps it there, so that reading again is quiet and loses nothing
        writeProject(file, loaded);
        FileStorageView again;
        QVERIFY(ProjectFile::read(file, &again, &message, &warnings));
        QCOMPARE(warnings, QStringList());
        QCOMPARE(flatten(again), flatten(original));
    }

    void fileWithoutChecksumsOpensAndGetsThem()
    {
        // GIVEN a project as written before items had checksums
        const QString file = path(QStringLiteral("Alt.kxproj"));
        runSql(false, {QStringLiteral("CREATE TABLE meta (key TEXT PRIMARY KEY NOT NULL, value TEXT NOT NULL)"),
                       QStringLiteral("CREATE TABLE storages (id INTEGER PRIMARY KEY, parent INTEGER REFERENCES storages(id), "
                                      "name TEXT NOT NULL, position INTEGER NOT NULL, UNIQUE (parent, name))"),
                       QStringLiteral("CREATE TABLE items (storage INTEGER NOT NULL REFERENCES storages(id), name TEXT NOT NULL, "
                                      "position INTEGER NOT NULL, data BLOB NOT NULL, PRIMARY KEY (storage, name))"),
                       QStringLiteral("INSERT INTO meta VALUES ('format', 'KxSuiteProject'), ('version', '1')"),
                       QStringLiteral("INSERT INTO storages VALUES (1, NULL, '', 0), (2, 1, 'Listen', 0)"),
                       QStringLiteral("INSERT INTO items VALUES (2, 'B', 1, x'42'), (2, 'A', 0, x'41'), (1, 'Wurzel', 0, x'')")})(file);
        FileStorageView expected;
        expected.writeItem(QStringLiteral("Wurzel"), "");
        expected.storage(QStringLiteral("Listen"))->writeItem(QStringLiteral("A"), "A");
        expected.storage(QStringLiteral("Listen"))->writeItem(QStringLiteral("B"), "B");

        // WHEN it is read and saved again THEN it opens without a word, and afterwards its items carry checksums
        FileStorageView loaded;
        QStringList warnings;
        QString message;
        QVERIFY2(ProjectFile::read(file, &loaded, &message, &warnings), qPrintable(message));
        QCOMPARE(warnings, QStringList());
        QCOMPARE(flatten(loaded), flatten(expected));
        writeProject(file, loaded);
        RawDatabase raw(file);
        QCOMPARE(raw.value(QStringLiteral("SELECT count(*) FROM items WHERE length(checksum) = 32")).toInt(), 3);
    }

    void damagedMetaIsReportedAsDamaged()
    {
        // GIVEN a project whose page holding the format and version is damaged
        const QString file = path(QStringLiteral("Projekt.kxproj"));
        FileStorageView tree;
        buildSample(&tree);
        writeProject(file, tree);
        int metaPage = 0;
        {
            RawDatabase raw(file);
            metaPage = raw.value(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = 'meta'")).toInt();
        }
        QVERIFY(metaPage > 1);
        QByteArray bytes = KxTest::readFile(file);
        overwrite(&bytes, metaPage, 0, QByteArray(pageSize(bytes), '\x07'));
        writeFile(file, bytes);

        // WHEN it is read or saved over THEN it is called damaged, not foreign, and left as it is
        QString message;
        FileStorageView loaded;
        QVERIFY(!ProjectFile::read(file, &loaded, &message));
        QVERIFY2(message.contains(QStringLiteral("beschädigt")) && !message.contains(QStringLiteral("keine Projektdatei")), qPrintable(message));
        QVERIFY(!ProjectFile::write(file, tree, &message));
        QVERIFY2(message.contains(QStringLiteral("beschädigt")) && message.contains(QStringLiteral("nicht überschrieben")), qPrintable(message));
        QCOMPARE(KxTest::readFile(file), bytes);
    }

    void leftoversOfAnInterruptedFirstSaveGo()
    {
        // GIVEN what a kill during the first save leaves (the temporary file and its journal), a journal
        // without its file, and the temporary file of a save that is running right now
        const QString file = path(QStringLiteral("Neu.kxproj"));
        writeFile(path(QStringLiteral(".Neu.kxproj.aB3xYz")), QByteArray("SQLite format 3", 16) + QByteArray(500, '\0'));
        writeFile(path(QStringLiteral(".Neu.kxproj.aB3xYz-journal")), QByteArray(512, '\x01'));
        writeFile(path(QStringLiteral(".Neu.kxproj.Qq9Pp0-journal")), QByteArray(512, '\x01'));
        writeFile(path(QStringLiteral(".Anders.kxproj.aB3xYz")), "bleibt");
        const QString running = path(QStringLiteral(".Neu.kxproj.RuNnIn"));
        FileStorageView tree;
        buildSample(&tree);
        RawDatabase raw(running);
        QSqlQuery query(raw.db());
        QVERIFY(query.exec(QStringLiteral("CREATE TABLE t (x)")));
        QVERIFY(query.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        QVERIFY(query.exec(QStringLiteral("INSERT INTO t VALUES (1)")));

        // WHEN the project is saved THEN the leftovers are gone, the running save's file and other names stay
        writeProject(file, tree);
        QVERIFY(query.exec(QStringLiteral("COMMIT")));
        QCOMPARE(directoryEntries(m_dir->path()), (QStringList{QStringLiteral(".Anders.kxproj.aB3xYz"),
                 QStringLiteral(".Neu.kxproj.RuNnIn"), QStringLiteral("Neu.kxproj")}));
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Prepare>("prepare");
        QTest::addColumn<QString>("readText");
        QTest::addColumn<QString>("writeText");
        const QString foreign = QStringLiteral("keine Projektdatei dieses Programms");
        const QString kept = QStringLiteral("nicht überschrieben");
        const QString noPlace = QStringLiteral("kann keine Datei angelegt werden");
        const QString fremd = QStringLiteral("Fremd.db");
        QTest::newRow("text file") << fremd << withBytes("Parameterliste\nA12[3]\n") << "keine SQLite-Datenbank" << kept;
        QTest::newRow("empty file") << fremd << withBytes("") << "leer" << kept;
        QTest::newRow("foreign SQLite database") << fremd << runSql(false, {"CREATE TABLE kunden (id INTEGER, name TEXT)",
            "INSERT INTO kunden VALUES (1, 'Muster')"}) << foreign << kept;
        QTest::newRow("SQLite database with another meta format") << fremd << runSql(false, {"CREATE TABLE meta (key TEXT, value TEXT)",
            "INSERT INTO meta VALUES ('format', 'Tabellenkalkulation')", "INSERT INTO meta VALUES ('version', '1')"}) << foreign << kept;
        QTest::newRow("damaged database behind a valid header")
            << fremd << withBytes(QByteArray("SQLite format 3", 16) + QByteArray(2000, '\x5a')) << "beschädigt" << kept;
        QTest::newRow("project of a newer format") << fremd << runSql(true, {QStringLiteral("UPDATE meta SET value = '%1' WHERE key = 'version'")
            .arg(ProjectFile::formatVersion() + 1)}) << "neueren Programmversion" << kept;
        QTest::newRow("directory") << fremd << Prepare([](const QString& file) { QVERIFY(QDir().mkdir(file)); }) << "keine Datei" << kept;
        QTest::newRow("directory does not exist") << "gibt/es/nicht/Projekt.kxproj" << Prepare() << "existiert nicht" << noPlace;
    }

    void refusals()
    {
        QFETCH(QString, name);
        QFETCH(Prepare, prepare);
        QFETCH(QString, readText);
        QFETCH(QString, writeText);

        // GIVEN something at the name that this program cannot use as a project, or no place for a file
        const QString file = path(name);
        if (prepare)
            prepare(file);
        if (QTest::currentTestFailed())
            return;
        const bool isFile = QFileInfo(file).isFile();
        const QByteArray bytesBefore = isFile ? KxTest::readFile(file) : QByteArray();
        const QStringList entries = directoryEntries(m_dir->path());

        // WHEN it is read THEN the message names file and problem, and nothing is loaded
        FileStorageView into;
        into.writeItem(QStringLiteral("alt"), "x");
        QString message;
        QVERIFY(!ProjectFile::read(file, &into, &message));
        QVERIFY2(message.contains(QDir::toNativeSeparators(file)) && message.contains(readText), qPrintable(message));
        // SQLite's own English texts at most as a detail behind the German words
        static const QRegularExpression english(QStringLiteral("\\b(database|file|is|not|unable|malformed|attempt)\\b"));
        QVERIFY2(!message.section(QStringLiteral("Einzelheiten:"), 0, 0).contains(english), qPrintable(message));
        QVERIFY(into.isEmpty());
        QCOMPARE(ProjectFile::isProjectFile(file), readText.contains(QStringLiteral("neueren")));

        // WHEN a project is saved there THEN that is refused and nothing changes
        FileStorageView tree;
        buildSample(&tree);
        QVERIFY(!ProjectFile::write(file, tree, &message));
        QVERIFY2(message.contains(QDir::toNativeSeparators(file)) && message.contains(writeText), qPrintable(message));
        QCOMPARE(directoryEntries(m_dir->path()), entries);
        QCOMPARE(QFileInfo(file).isFile(), isFile);
        if (isFile)
            QCOMPARE(KxTest::readFile(file), bytesBefore);
    }
};

QTEST_GUILESS_MAIN(ProjectFileTest)
#include "tst_projectfile.moc"
