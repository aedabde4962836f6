#include "FileStorageView.h"
#include "ProjectFile.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

using TreeBuilder = std::function<void(FileStorageView*)>;
Q_DECLARE_METATYPE(TreeBuilder)

namespace {

QByteArray randomBlob(QRandomGenerator& random, int maxLength)
{
    QByteArray blob(random.bounded(maxLength + 1), Qt::Uninitialized);
    for (char& byte : blob)
        byte = char(random.bounded(256));
    return blob;
}

void fillRandomly(FileStorageView* view, QRandomGenerator& random, int depth)
{
    static const QString alphabet = QStringLiteral("abcXYZ019 /\\:*?\"<>|äöüß€_-.%[]=\n\t");
    const auto name = [&random] {
        QString name;
        for (int i = random.bounded(10); i > 0; --i)
            name += alphabet.at(random.bounded(alphabet.size()));
        return name;
    };
    for (int i = random.bounded(6); i > 0; --i)
        view->writeItem(name(), randomBlob(random, 300));
    for (int s = depth > 0 ? random.bounded(4) : 0; s > 0; --s)
        fillRandomly(view->storage(name()), random, depth - 1);
}

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

// A foreign database made through its own connection, removed again at once.
void createSqlite(const QString& path, const QStringList& statements)
{
    const QString name = QStringLiteral("test-foreign");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery query(db);
        for (const QString& statement : statements)
            QVERIFY2(query.exec(statement), qPrintable(statement));
    }
    QSqlDatabase::removeDatabase(name);
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

QStringList directoryEntries(const QString& path)
{
    return QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class ProjectFileTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void roundTrip_data();
    void roundTrip();
    void injectedFailureKeepsThePreviousState_data();
    void injectedFailureKeepsThePreviousState();
    void refusesFilesThatAreNoProject_data();
    void refusesFilesThatAreNoProject();
    void missingFileOrDirectory();
    void unwritableLocation_data();
    void unwritableLocation();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString path(const QString& name) const { return m_dir->filePath(name); }
};

void ProjectFileTest::initTestCase()
{
    KxTest::initTestEnvironment();
    QVERIFY(QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")));
}

void ProjectFileTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void ProjectFileTest::cleanup()
{
    ProjectFile::setFailAfterItemsForTesting(-1);
    m_dir.reset();
    // Every call, successful or failing, closes its database connection.
    QCOMPARE(QSqlDatabase::connectionNames(), QStringList());
}

void ProjectFileTest::roundTrip_data()
{
    QTest::addColumn<TreeBuilder>("build");
    QTest::newRow("empty project") << TreeBuilder([](FileStorageView*) {});
    QTest::newRow("sample with odd names and binary items") << TreeBuilder(buildSample);
    QTest::newRow("names that look like paths or SQL") << TreeBuilder([](FileStorageView* root) {
        root->storage(QStringLiteral("a/b"))->writeItem(QStringLiteral("../c"), "1");
        root->storage(QStringLiteral("a"))->storage(QStringLiteral("b"))->writeItem(QStringLiteral("c"), "2");
        root->writeItem(QStringLiteral("'; DROP TABLE items; --"), "3");
        root->writeItem(QString(QChar(0)) + QStringLiteral("nul"), "4");
    });
    QTest::newRow("random tree") << TreeBuilder([](FileStorageView* root) {
        QRandomGenerator random(77);
        fillRandomly(root, random, 4);
    });
    QTest::newRow("300 levels deep") << TreeBuilder([](FileStorageView* root) {
        FileStorageView* view = root;
        for (int level = 0; level < 300; ++level, view = view->storage(QStringLiteral("tiefer")))
            view->writeItem(QStringLiteral("Ebene"), QByteArray::number(level));
    });
    QTest::newRow("large item") << TreeBuilder([](FileStorageView* root) {
        QRandomGenerator random(99);
        root->writeItem(QStringLiteral("groß"), randomBlob(random, 4 << 20));
    });
}

void ProjectFileTest::roundTrip()
{
    QFETCH(TreeBuilder, build);
    const QString file = path(QStringLiteral("Projekt.kxproj"));
    QString message;

    // GIVEN a longer project already saved
    FileStorageView longer;
    buildSample(&longer);
    longer.storage(QStringLiteral("Zusatz"))->writeItem(QStringLiteral("x"), "y");
    QVERIFY2(ProjectFile::write(file, longer, &message), qPrintable(message));

    // WHEN a tree is saved over it and read back into a non-empty view
    FileStorageView original;
    build(&original);
    QVERIFY2(ProjectFile::write(file, original, &message), qPrintable(message));
    const QByteArray bytes = KxTest::readFile(file);
    const QDateTime modified = QFileInfo(file).fileTime(QFileDevice::FileModificationTime);
    FileStorageView loaded;
    loaded.writeItem(QStringLiteral("vorher"), "wird verworfen");
    QVERIFY2(ProjectFile::read(file, &loaded, &message), qPrintable(message));

    // THEN exactly the same tree comes back, nothing of the earlier save
    QCOMPARE(flatten(loaded), flatten(original));
    QVERIFY(ProjectFile::isProjectFile(file));

    // AND reading changed neither bytes nor time stamp, and left nothing beside
    QCOMPARE(KxTest::readFile(file), bytes);
    QCOMPARE(QFileInfo(file).fileTime(QFileDevice::FileModificationTime), modified);
    QCOMPARE(directoryEntries(m_dir->path()), QStringList{QStringLiteral("Projekt.kxproj")});
}

void ProjectFileTest::injectedFailureKeepsThePreviousState_data()
{
    QTest::addColumn<bool>("existing");
    QTest::addColumn<int>("failAfter");
    QTest::newRow("before the first item") << true << 0;
    QTest::newRow("after one item") << true << 1;
    QTest::newRow("after the last item") << true << 5;
    QTest::newRow("first save of a new file") << false << 2;
}

void ProjectFileTest::injectedFailureKeepsThePreviousState()
{
    QFETCH(bool, existing);
    QFETCH(int, failAfter);

    // GIVEN a saved project, or none
    const QString file = path(QStringLiteral("Projekt.kxproj"));
    FileStorageView previous;
    buildSample(&previous);
    QString message;
    if (existing)
        QVERIFY2(ProjectFile::write(file, previous, &message), qPrintable(message));
    const QByteArray bytesBefore = existing ? KxTest::readFile(file) : QByteArray();

    // WHEN the next save breaks off after some items
    FileStorageView next;
    for (int i = 0; i < 5; ++i)
        next.storage(QStringLiteral("Neu"))->writeItem(QStringLiteral("Eintrag %1").arg(i), "neu");
    ProjectFile::setFailAfterItemsForTesting(failAfter);
    QVERIFY(!ProjectFile::write(file, next, &message));

    // THEN the message names the file, which is byte for byte as before (or
    // absent), and no journal or temporary file is left
    QVERIFY2(message.contains(QDir::toNativeSeparators(file)), qPrintable(message));
    if (existing) {
        QCOMPARE(KxTest::readFile(file), bytesBefore);
        QCOMPARE(directoryEntries(m_dir->path()), QStringList{QStringLiteral("Projekt.kxproj")});
        FileStorageView loaded;
        QVERIFY2(ProjectFile::read(file, &loaded, &message), qPrintable(message));
        QCOMPARE(flatten(loaded), flatten(previous));
    } else {
        QVERIFY(directoryEntries(m_dir->path()).isEmpty());
    }

    // AND the failure was used up: the following save goes through
    QVERIFY2(ProjectFile::write(file, next, &message), qPrintable(message));
    FileStorageView loaded;
    QVERIFY2(ProjectFile::read(file, &loaded, &message), qPrintable(message));
    QCOMPARE(flatten(loaded), flatten(next));
}

void ProjectFileTest::refusesFilesThatAreNoProject_data()
{
    // A project is written first when "bytes" is null; "sql" then runs on the file.
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("sql");
    QTest::addColumn<QString>("expectedText");
    const QString foreign = QStringLiteral("keine Projektdatei dieses Programms");
    QTest::newRow("text file") << QByteArray("Parameterliste\nA12[3]\n") << QStringList() << QStringLiteral("keine SQLite-Datenbank");
    QTest::newRow("empty file") << QByteArray("") << QStringList() << QStringLiteral("leer");
    QTest::newRow("foreign SQLite database")
        << QByteArray("") << QStringList{QStringLiteral("CREATE TABLE kunden (id INTEGER, name TEXT)"),
                                         QStringLiteral("INSERT INTO kunden VALUES (1, 'Muster')")} << foreign;
    QTest::newRow("SQLite database with another meta format")
        << QByteArray("") << QStringList{QStringLiteral("CREATE TABLE meta (key TEXT, value TEXT)"),
                                         QStringLiteral("INSERT INTO meta VALUES ('format', 'Tabellenkalkulation')"),
                                         QStringLiteral("INSERT INTO meta VALUES ('version', '1')")} << foreign;
    QTest::newRow("damaged database behind a valid header")
        << QByteArray("SQLite format 3", 16) + QByteArray(2000, '\x5a') << QStringList() << QStringLiteral("beschädigt");
    QTest::newRow("project of a newer format")
        << QByteArray() << QStringList{QStringLiteral("UPDATE meta SET value = '%1' WHERE key = 'version'").arg(ProjectFile::formatVersion() + 1)}
        << QStringLiteral("neueren Programmversion");
}

void ProjectFileTest::refusesFilesThatAreNoProject()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, sql);
    QFETCH(QString, expectedText);

    // GIVEN a file that this program cannot use as a project
    const QString file = path(QStringLiteral("Fremd.db"));
    FileStorageView tree;
    buildSample(&tree);
    QString message;
    if (bytes.isNull())
        QVERIFY2(ProjectFile::write(file, tree, &message), qPrintable(message));
    else
        writeFile(file, bytes);
    if (!sql.isEmpty())
        createSqlite(file, sql);
    if (QTest::currentTestFailed())
        return;
    const QByteArray bytesBefore = KxTest::readFile(file);
    const QString shownName = QDir::toNativeSeparators(file);

    // WHEN it is read THEN the message names file and problem, nothing is loaded
    FileStorageView into;
    into.writeItem(QStringLiteral("alt"), "x");
    QVERIFY(!ProjectFile::read(file, &into, &message));
    QVERIFY2(message.contains(shownName) && message.contains(expectedText), qPrintable(message));
    QVERIFY(into.isEmpty());
    QCOMPARE(ProjectFile::isProjectFile(file), bytes.isNull());

    // WHEN a project is saved over it THEN that is refused, the file untouched
    message.clear();
    QVERIFY(!ProjectFile::write(file, tree, &message));
    QVERIFY2(message.contains(shownName) && message.contains(QStringLiteral("nicht überschrieben")), qPrintable(message));
    QCOMPARE(KxTest::readFile(file), bytesBefore);
    QCOMPARE(directoryEntries(m_dir->path()), QStringList{QStringLiteral("Fremd.db")});
}

void ProjectFileTest::missingFileOrDirectory()
{
    // GIVEN a name that does not exist and one that is a directory
    const QString missing = path(QStringLiteral("fehlt.kxproj"));
    const QString directory = path(QStringLiteral("Ordner"));
    QVERIFY(QDir().mkdir(directory));

    // WHEN read THEN each gives its own message naming the path
    FileStorageView into;
    QString message;
    QVERIFY(!ProjectFile::read(missing, &into, &message));
    QVERIFY2(message.contains(QDir::toNativeSeparators(missing)) && message.contains(QStringLiteral("existiert nicht")),
             qPrintable(message));
    QVERIFY(!ProjectFile::read(directory, &into, &message));
    QVERIFY2(message.contains(QDir::toNativeSeparators(directory)) && message.contains(QStringLiteral("keine Datei")),
             qPrintable(message));
    QVERIFY(!ProjectFile::isProjectFile(missing));
    QVERIFY(!ProjectFile::isProjectFile(directory));

    // AND a directory is not replaced by a save
    QVERIFY(!ProjectFile::write(directory, into, &message));
    QVERIFY(QFileInfo(directory).isDir());
}

void ProjectFileTest::unwritableLocation_data()
{
    QTest::addColumn<QString>("relative");
    QTest::newRow("directory does not exist") << QStringLiteral("gibt/es/nicht/Projekt.kxproj");
    QTest::newRow("parent is a regular file") << QStringLiteral("datei/Projekt.kxproj");
    QTest::newRow("read-only file system") << QStringLiteral("/proc/Projekt.kxproj");
}

void ProjectFileTest::unwritableLocation()
{
    QFETCH(QString, relative);

    // GIVEN a place where no file can be created
    if (relative.startsWith(QLatin1Char('/')) && !QFileInfo(QStringLiteral("/proc/self")).isDir())
        QSKIP("no /proc file system here");
    writeFile(path(QStringLiteral("datei")), "x");
    const QString file = relative.startsWith(QLatin1Char('/')) ? relative : path(relative);

    // WHEN a project is saved there THEN it fails with a message naming the
    // file, and no file appears
    FileStorageView tree;
    buildSample(&tree);
    QString message;
    QVERIFY(!ProjectFile::write(file, tree, &message));
    QVERIFY2(message.contains(QDir::toNativeSeparators(file)), qPrintable(message));
    QVERIFY2(message.contains(QStringLiteral("kann keine Datei angelegt werden")), qPrintable(message));
    QVERIFY(!QFileInfo::exists(file));
}

QTEST_GUILESS_MAIN(ProjectFileTest)
#include "tst_projectfile.moc"
