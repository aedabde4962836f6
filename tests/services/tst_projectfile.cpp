#include "FileStorageView.h"
#include "ProjectFile.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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
