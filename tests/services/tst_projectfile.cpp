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

#include <unistd.h>

using TreeBuilder = std::function<void(FileStorageView*)>;
Q_DECLARE_METATYPE(TreeBuilder)

namespace {

QString randomName(QRandomGenerator& random)
{
    static const QString alphabet = QStringLiteral("abcXYZ019 /\\:*?\"<>|äöüß€_-.%[]=\n\t");
    QString name;
    const int length = random.bounded(10);
    for (int i = 0; i < length; ++i)
        name += alphabet.at(random.bounded(alphabet.size()));
    return name;
}

QByteArray randomBlob(QRandomGenerator& random, int maxLength)
{
    QByteArray blob(random.bounded(maxLength + 1), Qt::Uninitialized);
    for (char& byte : blob)
        byte = char(random.bounded(256));
    return blob;
}

void fillRandomly(FileStorageView* view, QRandomGenerator& random, int depth)
{
    const int items = random.bounded(6);
    for (int i = 0; i < items; ++i)
        view->writeItem(randomName(random), randomBlob(random, 300));
    if (depth == 0)
        return;
    const int storages = random.bounded(4);
    for (int s = 0; s < storages; ++s)
        fillRandomly(view->storage(randomName(random)), random, depth - 1);
}

// Describes the first difference between two trees; empty when they are equal.
QString difference(const FileStorageView& actual, const FileStorageView& expected, const QString& where = QStringLiteral("/"))
{
    if (actual.itemNames() != expected.itemNames())
        return QStringLiteral("%1: items [%2] instead of [%3]")
            .arg(where, actual.itemNames().join(QLatin1Char('|')), expected.itemNames().join(QLatin1Char('|')));
    for (const QString& item : expected.itemNames()) {
        if (actual.readItem(item) != expected.readItem(item))
            return QStringLiteral("%1: bytes of item '%2' differ").arg(where, item);
    }
    if (actual.storageNames() != expected.storageNames())
        return QStringLiteral("%1: sub-storages [%2] instead of [%3]")
            .arg(where, actual.storageNames().join(QLatin1Char('|')), expected.storageNames().join(QLatin1Char('|')));
    for (const QString& name : expected.storageNames()) {
        const QString problem = difference(*actual.subStorage(name), *expected.subStorage(name), where + name + QLatin1Char('/'));
        if (!problem.isEmpty())
            return problem;
    }
    return {};
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
        query.clear();
        db.close();
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
    void shorterSaveLeavesNothingOfTheLongerOne();
    void injectedFailureKeepsThePreviousProject_data();
    void injectedFailureKeepsThePreviousProject();
    void injectedFailureOnANewFileLeavesNoFile();
    void refusesFilesThatAreNoProject_data();
    void refusesFilesThatAreNoProject();
    void missingFileOrDirectory();
    void unwritableLocation_data();
    void unwritableLocation();
    void readingNeverModifiesTheFile();
    void leavesNoConnectionsBehind();

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
}

void ProjectFileTest::roundTrip_data()
{
    QTest::addColumn<TreeBuilder>("build");
    QTest::newRow("empty project") << TreeBuilder([](FileStorageView*) {});
    QTest::newRow("sample with odd names and binary items") << TreeBuilder(buildSample);
    QTest::newRow("names that look like paths or SQL")
        << TreeBuilder([](FileStorageView* root) {
               root->storage(QStringLiteral("a/b"))->writeItem(QStringLiteral("../c"), "1");
               root->storage(QStringLiteral("a"))->storage(QStringLiteral("b"))->writeItem(QStringLiteral("c"), "2");
               root->writeItem(QStringLiteral("'; DROP TABLE items; --"), "3");
               root->writeItem(QString(QChar(0)) + QStringLiteral("nul"), "4");
           });
    for (quint32 seed : {5u, 77u, 1234u}) {
        QTest::addRow("random tree, seed %u", seed) << TreeBuilder([seed](FileStorageView* root) {
            QRandomGenerator random(seed);
            fillRandomly(root, random, 4);
        });
    }
    QTest::newRow("300 levels deep") << TreeBuilder([](FileStorageView* root) {
        FileStorageView* view = root;
        for (int level = 0; level < 300; ++level) {
            view->writeItem(QStringLiteral("Ebene"), QByteArray::number(level));
            view = view->storage(QStringLiteral("tiefer"));
        }
    });
    QTest::newRow("large item") << TreeBuilder([](FileStorageView* root) {
        QRandomGenerator random(99);
        root->writeItem(QStringLiteral("groß"), randomBlob(random, 4 << 20));
    });
}

void ProjectFileTest::roundTrip()
{
    QFETCH(TreeBuilder, build);

    // GIVEN a tree
    FileStorageView original;
    build(&original);

    // WHEN written to a new file and read back
    const QString file = path(QStringLiteral("Projekt.kxproj"));
    QString message;
    QVERIFY2(ProjectFile::write(file, original, &message), qPrintable(message));
    FileStorageView loaded;
    loaded.writeItem(QStringLiteral("vorher"), "wird verworfen");
    QVERIFY2(ProjectFile::read(file, &loaded, &message), qPrintable(message));

    // THEN the same tree comes back, and the file is recognised as a project
    QString problem = difference(loaded, original);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QVERIFY(ProjectFile::isProjectFile(file));
    QCOMPARE(directoryEntries(m_dir->path()), QStringList{QStringLiteral("Projekt.kxproj")});

    // AND writing over the existing file gives the same result again
    QVERIFY2(ProjectFile::write(file, loaded, &message), qPrintable(message));
    FileStorageView again;
    QVERIFY2(ProjectFile::read(file, &again, &message), qPrintable(message));
    problem = difference(again, original);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

void ProjectFileTest::shorterSaveLeavesNothingOfTheLongerOne()
{
    // GIVEN a project saved with many items and sub-storages
    const QString file = path(QStringLiteral("Projekt.kxproj"));
    FileStorageView longer;
    buildSample(&longer);
    longer.writeItem(QStringLiteral("Zusatz"), "x");
    QString message;
    QVERIFY2(ProjectFile::write(file, longer, &message), qPrintable(message));

    // WHEN it is saved again with less content
    FileStorageView shorter;
    shorter.writeItem(QStringLiteral("Projekt"), "kürzer");
    shorter.storage(QStringLiteral("CustomParameterLists"))->writeItem(QStringLiteral("List0"), "nur eine");
    QVERIFY2(ProjectFile::write(file, shorter, &message), qPrintable(message));

    // THEN nothing of the earlier save comes back
    FileStorageView loaded;
    QVERIFY2(ProjectFile::read(file, &loaded, &message), qPrintable(message));
    const QString problem = difference(loaded, shorter);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

void ProjectFileTest::injectedFailureKeepsThePreviousProject_data()
{
    QTest::addColumn<int>("failAfter");
    QTest::newRow("before the first item") << 0;
    QTest::newRow("after one item") << 1;
    QTest::newRow("after most items") << 3;
    QTest::newRow("after the last item") << 5;
}

void ProjectFileTest::injectedFailureKeepsThePreviousProject()
{
    QFETCH(int, failAfter);

    // GIVEN a saved project
    const QString file = path(QStringLiteral("Projekt.kxproj"));
    FileStorageView previous;
    buildSample(&previous);
    QString message;
    QVERIFY2(ProjectFile::write(file, previous, &message), qPrintable(message));
    const QByteArray bytesBefore = KxTest::readFile(file);

    // WHEN the next save breaks off after some items
    FileStorageView next;
    for (int i = 0; i < 5; ++i)
        next.storage(QStringLiteral("Neu"))->writeItem(QStringLiteral("Eintrag %1").arg(i), "neu");
    ProjectFile::setFailAfterItemsForTesting(failAfter);
    QVERIFY(!ProjectFile::write(file, next, &message));

    // THEN the file is byte for byte the previous project, with a message
    // naming it, and no journal is left behind
    QVERIFY2(message.contains(QDir::toNativeSeparators(file)), qPrintable(message));
    QCOMPARE(KxTest::readFile(file), bytesBefore);
    QCOMPARE(directoryEntries(m_dir->path()), QStringList{QStringLiteral("Projekt.kxproj")});
    FileStorageView loaded;
    QVERIFY2(ProjectFile::read(file, &loaded, &message), qPrintable(message));
    QVERIFY2(difference(loaded, previous).isEmpty(), qPrintable(difference(loaded, previous)));

    // AND the failure was used up: the following save goes through
    QVERIFY2(ProjectFile::write(file, next, &message), qPrintable(message));
    QVERIFY2(ProjectFile::read(file, &loaded, &message), qPrintable(message));
    QVERIFY2(difference(loaded, next).isEmpty(), qPrintable(difference(loaded, next)));
}

void ProjectFileTest::injectedFailureOnANewFileLeavesNoFile()
{
    // GIVEN no file yet
    const QString file = path(QStringLiteral("Neu.kxproj"));
    FileStorageView tree;
    buildSample(&tree);

    // WHEN the first save breaks off
    ProjectFile::setFailAfterItemsForTesting(2);
    QString message;
    QVERIFY(!ProjectFile::write(file, tree, &message));

    // THEN neither the project nor a temporary file exists
    QVERIFY(!message.isEmpty());
    QVERIFY(!QFileInfo::exists(file));
    QVERIFY2(directoryEntries(m_dir->path()).isEmpty(), qPrintable(directoryEntries(m_dir->path()).join(QLatin1Char(' '))));
}

void ProjectFileTest::refusesFilesThatAreNoProject_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("expectedText");
    QTest::addColumn<bool>("isProject");
    QTest::newRow("text file") << 0 << QStringLiteral("keine SQLite-Datenbank") << false;
    QTest::newRow("empty file") << 1 << QStringLiteral("leer") << false;
    QTest::newRow("foreign SQLite database") << 2 << QStringLiteral("keine Projektdatei dieses Programms") << false;
    QTest::newRow("SQLite database with another meta format")
        << 3 << QStringLiteral("keine Projektdatei dieses Programms") << false;
    QTest::newRow("damaged database behind a valid header") << 4 << QStringLiteral("beschädigt") << false;
    QTest::newRow("project of a newer format") << 5 << QStringLiteral("neueren Programmversion") << true;
}

void ProjectFileTest::refusesFilesThatAreNoProject()
{
    QFETCH(int, kind);
    QFETCH(QString, expectedText);
    QFETCH(bool, isProject);

    // GIVEN a file that this program cannot use as a project
    const QString file = path(QStringLiteral("Fremd.db"));
    switch (kind) {
    case 0:
        writeFile(file, "Parameterliste\nA12[3]\n");
        break;
    case 1:
        writeFile(file, QByteArray());
        break;
    case 2:
        createSqlite(file, {QStringLiteral("CREATE TABLE kunden (id INTEGER, name TEXT)"),
                            QStringLiteral("INSERT INTO kunden VALUES (1, 'Muster')")});
        break;
    case 3:
        createSqlite(file, {QStringLiteral("CREATE TABLE meta (key TEXT, value TEXT)"),
                            QStringLiteral("INSERT INTO meta VALUES ('format', 'Tabellenkalkulation')"),
                            QStringLiteral("INSERT INTO meta VALUES ('version', '1')")});
        break;
    case 4: {
        QByteArray bytes("SQLite format 3", 16);
        bytes += QByteArray(2000, '\x5a');
        writeFile(file, bytes);
        break;
    }
    case 5: {
        FileStorageView tree;
        buildSample(&tree);
        QString message;
        QVERIFY2(ProjectFile::write(file, tree, &message), qPrintable(message));
        createSqlite(file, {QStringLiteral("UPDATE meta SET value = '%1' WHERE key = 'version'")
                                .arg(ProjectFile::formatVersion() + 1)});
        break;
    }
    }
    if (QTest::currentTestFailed())
        return;
    const QByteArray bytesBefore = KxTest::readFile(file);
    const QString shownName = QDir::toNativeSeparators(file);

    // WHEN it is read
    FileStorageView into;
    into.writeItem(QStringLiteral("alt"), "x");
    QString message;
    QVERIFY(!ProjectFile::read(file, &into, &message));

    // THEN the message names the file and the problem, and nothing was loaded
    QVERIFY2(message.contains(shownName) && message.contains(expectedText), qPrintable(message));
    QVERIFY(into.isEmpty());
    QCOMPARE(ProjectFile::isProjectFile(file), isProject);

    // WHEN a project is saved over it THEN that is refused as well
    FileStorageView tree;
    tree.writeItem(QStringLiteral("neu"), "y");
    message.clear();
    QVERIFY(!ProjectFile::write(file, tree, &message));
    QVERIFY2(message.contains(shownName) && message.contains(QStringLiteral("nicht überschrieben")), qPrintable(message));

    // AND the file is untouched, with nothing left beside it
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
    QTest::addColumn<int>("kind");
    QTest::newRow("directory does not exist") << 0;
    QTest::newRow("parent is a regular file") << 1;
    QTest::newRow("read-only directory") << 2;
    QTest::newRow("read-only file system") << 3;
}

void ProjectFileTest::unwritableLocation()
{
    QFETCH(int, kind);

    // GIVEN a place where no file can be created
    QString file;
    switch (kind) {
    case 0:
        file = path(QStringLiteral("gibt/es/nicht/Projekt.kxproj"));
        break;
    case 1:
        writeFile(path(QStringLiteral("datei")), "x");
        file = path(QStringLiteral("datei/Projekt.kxproj"));
        break;
    case 2: {
        if (::geteuid() == 0)
            QSKIP("root may write into read-only directories");
        const QString directory = path(QStringLiteral("schreibgeschützt"));
        QVERIFY(QDir().mkdir(directory));
        QVERIFY(QFile::setPermissions(directory, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        file = QDir(directory).filePath(QStringLiteral("Projekt.kxproj"));
        break;
    }
    case 3:
        if (!QFileInfo(QStringLiteral("/proc/self")).isDir())
            QSKIP("no /proc file system here");
        file = QStringLiteral("/proc/Projekt.kxproj");
        break;
    }

    // WHEN a project is saved there
    FileStorageView tree;
    buildSample(&tree);
    QString message;
    const bool written = ProjectFile::write(file, tree, &message);
    if (kind == 2)
        QFile::setPermissions(QFileInfo(file).absolutePath(),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    // THEN it fails with a message naming the file, and no file appears
    QVERIFY(!written);
    QVERIFY2(message.contains(QDir::toNativeSeparators(file)), qPrintable(message));
    QVERIFY2(message.contains(QStringLiteral("kann keine Datei angelegt werden")), qPrintable(message));
    QVERIFY(!QFileInfo::exists(file));
}

void ProjectFileTest::readingNeverModifiesTheFile()
{
    // GIVEN a saved project, its bytes and time stamp
    const QString file = path(QStringLiteral("Projekt.kxproj"));
    FileStorageView tree;
    buildSample(&tree);
    QString message;
    QVERIFY2(ProjectFile::write(file, tree, &message), qPrintable(message));
    const QByteArray bytesBefore = KxTest::readFile(file);
    const QDateTime modifiedBefore = QFileInfo(file).fileTime(QFileDevice::FileModificationTime);

    // WHEN it is read and checked several times
    for (int i = 0; i < 3; ++i) {
        FileStorageView into;
        QVERIFY2(ProjectFile::read(file, &into, &message), qPrintable(message));
        QVERIFY(ProjectFile::isProjectFile(file));
    }

    // THEN bytes and time stamp are unchanged and nothing was created beside it
    QCOMPARE(KxTest::readFile(file), bytesBefore);
    QCOMPARE(QFileInfo(file).fileTime(QFileDevice::FileModificationTime), modifiedBefore);
    QCOMPARE(directoryEntries(m_dir->path()), QStringList{QStringLiteral("Projekt.kxproj")});
}

void ProjectFileTest::leavesNoConnectionsBehind()
{
    // GIVEN successful and failing calls of every kind
    const QString file = path(QStringLiteral("Projekt.kxproj"));
    const QString foreign = path(QStringLiteral("fremd.db"));
    createSqlite(foreign, {QStringLiteral("CREATE TABLE t (x)")});
    FileStorageView tree;
    buildSample(&tree);
    QString message;
    QVERIFY(ProjectFile::write(file, tree, &message));
    QVERIFY(ProjectFile::write(file, tree, &message));
    QVERIFY(ProjectFile::read(file, &tree, &message));
    QVERIFY(!ProjectFile::read(foreign, &tree, &message));
    QVERIFY(!ProjectFile::write(foreign, tree, &message));
    buildSample(&tree);
    ProjectFile::setFailAfterItemsForTesting(1);
    QVERIFY(!ProjectFile::write(file, tree, &message));
    QVERIFY(ProjectFile::isProjectFile(file));

    // THEN no database connection is left open
    QCOMPARE(QSqlDatabase::connectionNames(), QStringList());
}

QTEST_GUILESS_MAIN(ProjectFileTest)
#include "tst_projectfile.moc"
