#include "AppTestSupport.h"
#include "TestSupport.h"

#include "DeviceType.h"
#include "DeviceTypeLibrary.h"
#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "FileStorageView.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"
#include "Project.h"
#include "ProjectFile.h"
#include "ProjectHost.h"

#include <QJsonArray>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <tuple>

namespace {

ParameterSetup* setupOf(DriveController* controller, const char* coordinate)
{
    return controller->parameterProvider()->parameterSetup(ParameterCoordinate(QLatin1String(coordinate))).data();
}

} // namespace

class ProjectTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void saveAndReopenRestoresEverything_data();
    void saveAndReopenRestoresEverything();
    void reopenLeavesOutWhatDoesNotFitAndSaysSo_data();
    void reopenLeavesOutWhatDoesNotFitAndSaysSo();
    void typeFromAnOpenedDescriptionIsFoundAgainInANewSession();
    void unreadableFileKeepsTheCurrentProject_data();
    void unreadableFileKeepsTheCurrentProject();
    void otherPartsOfTheProjectFileSurviveAndGetTheirHooks();
    void controllerAndAxisChangesNotifyTheHost();
    void modifiedFollowsChangesAndSaving();

private:
    QString typesDirectory() const { return m_typesDir.path(); }
    QString descriptionPath() const { return m_description; }
    QString workFile(const char* name) const { return QDir(m_work.path()).filePath(QLatin1String(name)); }

    QTemporaryDir m_typesDir;
    QTemporaryDir m_work;
    QString m_description;
};

void ProjectTest::initTestCase()
{
    KxTest::initTestEnvironment();
    QVERIFY(m_typesDir.isValid());
    QVERIFY(m_work.isValid());
    m_description = AppTest::writeFile(QDir(m_work.path()), QStringLiteral("pruefstand.json"), AppTest::testDescription());
}

void ProjectTest::saveAndReopenRestoresEverything_data()
{
    QTest::addColumn<bool>("edit");
    QTest::newRow("description as loaded") << false;
    QTest::newRow("values, names and colours changed after loading") << true;
}

void ProjectTest::saveAndReopenRestoresEverything()
{
    QFETCH(bool, edit);

    // GIVEN a project made from a description, possibly edited afterwards
    Project project(typesDirectory());
    const ProjectOpenResult opened = project.open(descriptionPath());
    QVERIFY2(opened.opened, qPrintable(opened.error));
    QVERIFY(opened.fromDescription && project.filePath().isEmpty());
    QVERIFY(project.addController(AppTest::testTypeName(), QStringLiteral("Zweiter"), 1));
    const QList<DriveController*> controllers = project.host()->driveControllers();
    if (edit) {
        DriveController* first = controllers.first();
        // one value of every kind: number, choice, array and record elements, device-wide switch and text
        for (const auto& [coordinate, space, element, text] :
             {std::make_tuple("A10", 3, 0, "4321.5"), std::make_tuple("A11", 1, 0, "7"), std::make_tuple("A12", 3, 3, "-2999"),
              std::make_tuple("C30", 1, 5, "2"), std::make_tuple("C30", 3, 2, "Zeile „ä“ = 1;#[x]"),
              std::make_tuple("B21", 0, 2, "1"), std::make_tuple("C31", 0, 0, "Halle 3")})
            QVERIFY2(setupOf(first, coordinate)->setValueText(space, quint16(element), QString::fromUtf8(text)), coordinate);
        first->setName(first->name() + QStringLiteral(" (umgebaut)"));
        first->axis(1)->setName(QStringLiteral("Achse mit „Anführung“ & Umlaut ü"));
        first->setMarkingColor(1, QColor(0x12, 0x34, 0x56, 0x78));
        first->setDescriptorText(QStringLiteral("neuer Text"));
        // its values must come back although the controller refuses writes afterwards
        controllers.last()->parameterProvider()->setReadOnly(true);
    }
    const QStringList before = AppTest::snapshot(controllers);
    QVERIFY(before.filter(QStringLiteral("axis|")).size() >= 1);

    // WHEN it is saved and opened by another project object
    const QString file = workFile("round-trip.kxproj");
    QString error;
    QVERIFY2(project.save(file, &error), qPrintable(error));
    QCOMPARE(project.filePath(), QFileInfo(file).absoluteFilePath());
    Project reopened(typesDirectory());
    const ProjectOpenResult result = reopened.open(file);

    // THEN everything comes back exactly, nothing was left out and it counts as unchanged
    QVERIFY2(result.opened, qPrintable(result.error));
    QCOMPARE(result.skipped, QStringList());
    QVERIFY(!result.fromDescription);
    QCOMPARE(AppTest::snapshot(reopened.host()->driveControllers()), before);
    QVERIFY(!reopened.isModified());
    for (DriveController* controller : reopened.host()->driveControllers())
        QVERIFY(!controller->needSave());
}

void ProjectTest::reopenLeavesOutWhatDoesNotFitAndSaysSo_data()
{
    QTest::addColumn<int>("mutation");
    QTest::addColumn<QString>("expectedFragment");
    QTest::addColumn<int>("expectedControllers");

    QTest::newRow("unknown type drops the controller") << 0 << QStringLiteral("„RX-9 Unbekannt“") << 1;
    QTest::newRow("axis beyond the type's axes") << 1 << QStringLiteral("Achse 9") << 2;
    QTest::newRow("value outside the limits") << 2 << QStringLiteral("A10 = „99999“") << 2;
    QTest::newRow("element the parameter does not have") << 4 << QStringLiteral("A12[77]") << 2;
}

void ProjectTest::reopenLeavesOutWhatDoesNotFitAndSaysSo()
{
    QFETCH(int, mutation);
    QFETCH(QString, expectedFragment);
    QFETCH(int, expectedControllers);

    // GIVEN a saved project of two controllers whose first controller's stored data was tampered with
    Project project(typesDirectory());
    QVERIFY(project.open(descriptionPath()).opened);
    QVERIFY(project.addController(AppTest::testTypeName(), QStringLiteral("Zweiter"), 2));
    DriveController* first = project.host()->driveControllers().first();
    QVERIFY(setupOf(first, "A12")->setValueText(1, 2, QStringLiteral("-17")));
    const QString file = workFile("tampered.kxproj");
    QVERIFY(project.save(file));
    const QStringList secondBefore = AppTest::snapshot({project.host()->driveControllers().at(1)});

    AppTest::editFirstStoredController(file, [mutation](QJsonObject& controller) {
        QJsonArray values = controller.value(QStringLiteral("values")).toArray();
        const auto value = [](const char* coordinate, int space, int element, const QString& text) {
            return QJsonObject{{QStringLiteral("coordinate"), QLatin1String(coordinate)},
                               {QStringLiteral("livingSpace"), space},
                               {QStringLiteral("element"), element},
                               {QStringLiteral("value"), text}};
        };
        switch (mutation) {
        case 0: controller.insert(QStringLiteral("type"), QStringLiteral("RX-9 Unbekannt")); break;
        case 1: {
            QJsonArray axes = controller.value(QStringLiteral("axes")).toArray();
            axes.append(QJsonObject{{QStringLiteral("number"), 9}, {QStringLiteral("name"), QStringLiteral("Zuviel")}});
            controller.insert(QStringLiteral("axes"), axes);
            break;
        }
        case 2: values.append(value("A10", 1, 0, QStringLiteral("99999"))); break;
        case 4: values.append(value("A12", 1, 77, QStringLiteral("1"))); break;
        }
        controller.insert(QStringLiteral("values"), values);
    });

    // WHEN it is opened again
    Project reopened(typesDirectory());
    const ProjectOpenResult result = reopened.open(file);

    // THEN it opens, says exactly once what was left out, and keeps everything else
    QVERIFY2(result.opened, qPrintable(result.error));
    QCOMPARE(result.skipped.size(), 1);
    QVERIFY2(result.skipped.first().contains(expectedFragment), qPrintable(result.skipped.first()));
    const QList<DriveController*> controllers = reopened.host()->driveControllers();
    QCOMPARE(controllers.size(), expectedControllers);
    QCOMPARE(AppTest::snapshot({controllers.last()}), secondBefore);
    if (expectedControllers == 2)
        QCOMPARE(setupOf(controllers.first(), "A12")->valueText(1, 2, false), QStringLiteral("-17"));
}

void ProjectTest::typeFromAnOpenedDescriptionIsFoundAgainInANewSession()
{
    // GIVEN a project saved from a description whose type is not in the types directory
    Project project(typesDirectory());
    QVERIFY(project.open(descriptionPath()).opened);
    const QString file = workFile("foreign-type.kxproj");
    QVERIFY(project.save(file));
    const QStringList before = AppTest::snapshot(project.host()->driveControllers());

    // WHEN a fresh project object (empty library) opens it
    Project fresh(typesDirectory());
    QVERIFY(!fresh.typeLibrary()->contains(AppTest::testTypeName()));
    const ProjectOpenResult result = fresh.open(file);

    // THEN the type is read again from the description it came from
    QVERIFY2(result.opened, qPrintable(result.error));
    QCOMPARE(result.skipped, QStringList());
    QCOMPARE(AppTest::snapshot(fresh.host()->driveControllers()), before);
}

void ProjectTest::unreadableFileKeepsTheCurrentProject_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("content"); // "-": no file; "damaged"/"newer": project with such a controller list

    QTest::newRow("text file with project suffix") << QStringLiteral("notes.kxproj") << QByteArray("just some notes\n");
    QTest::newRow("missing file") << QStringLiteral("missing.kxproj") << QByteArray("-");
    QTest::newRow("broken description") << QStringLiteral("broken.json") << QByteArray("{\"format\": \"KxDeviceDescription\",");
    QTest::newRow("damaged controller list") << QStringLiteral("damaged.kxproj") << QByteArray("damaged");
    QTest::newRow("controller list of a newer version") << QStringLiteral("newer.kxproj") << QByteArray("newer");
}

void ProjectTest::unreadableFileKeepsTheCurrentProject()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, content);
    const QString expectedFragment = content == "newer" ? QStringLiteral("Version 99") : fileName;

    // GIVEN an open, saved project
    Project project(typesDirectory());
    QVERIFY(project.open(descriptionPath()).opened);
    const QString saved = workFile("current.kxproj");
    QVERIFY(project.save(saved));
    const QList<DriveController*> controllersBefore = project.host()->driveControllers();
    const QStringList before = AppTest::snapshot(controllersBefore);
    project.storage()->storage(QStringLiteral("Other"))->writeItem(QStringLiteral("Item"), "kept");

    QTemporaryDir dir;
    QString path = QDir(dir.path()).filePath(fileName);
    if (content == "damaged" || content == "newer") {
        FileStorageView root;
        const QByteArray item = content == "damaged"
            ? QByteArray("{ not json")
            : QByteArray(R"({"format": "KxSuiteProject", "version": 99, "controllers": []})");
        root.storage(Project::storageName())->writeItem(QStringLiteral("Controllers"), item);
        QVERIFY(ProjectFile::write(path, root, nullptr));
    } else if (content != "-") {
        path = AppTest::writeFile(QDir(dir.path()), fileName, content);
    }
    const QByteArray fileBefore = QFileInfo::exists(path) ? KxTest::readFile(path) : QByteArray();
    QSignalSpy replaced(&project, &Project::projectReplaced);

    // WHEN the file is opened
    const ProjectOpenResult result = project.open(path);

    // THEN it is refused with a message, and project and file stay as they were
    QVERIFY(!result.opened);
    QVERIFY2(result.error.contains(expectedFragment), qPrintable(result.error));
    QCOMPARE(replaced.count(), 0);
    QCOMPARE(project.host()->driveControllers(), controllersBefore);
    QCOMPARE(AppTest::snapshot(project.host()->driveControllers()), before);
    QCOMPARE(project.filePath(), QFileInfo(saved).absoluteFilePath());
    QCOMPARE(project.storage()->storage(QStringLiteral("Other"))->readItem(QStringLiteral("Item")), QByteArray("kept"));
    if (QFileInfo::exists(path))
        QCOMPARE(KxTest::readFile(path), fileBefore);
}

void ProjectTest::otherPartsOfTheProjectFileSurviveAndGetTheirHooks()
{
    // GIVEN a project file that also holds the storage of another part
    Project project(typesDirectory());
    QVERIFY(project.open(descriptionPath()).opened);
    const QString file = workFile("with-lists.kxproj");
    QVERIFY(project.save(file));
    {
        FileStorageView root;
        QVERIFY(ProjectFile::read(file, &root, nullptr));
        FileStorageView* lists = root.storage(QStringLiteral("CustomParameterLists"));
        lists->writeItem(QStringLiteral("List0"), QByteArray("[List]\nName=Antrieb\n"));
        lists->writeItem(QStringLiteral("List1"), QByteArray("\x00\x01\xff", 3));
        QVERIFY(ProjectFile::write(file, root, nullptr));
    }

    // WHEN it is opened, saved again with a hook that adds its own storage, and read back
    Project reopened(typesDirectory());
    QStringList seenOnLoad;
    connect(&reopened, &Project::projectLoaded, this, [&seenOnLoad](FileStorageView* storage) {
        const FileStorageView* lists = storage->subStorage(QStringLiteral("CustomParameterLists"));
        seenOnLoad = lists ? lists->itemNames() : QStringList();
    });
    bool controllersWereStoredBeforeHook = false;
    connect(&reopened, &Project::projectAboutToBeSaved, this, [&](FileStorageView* storage) {
        const FileStorageView* own = storage->subStorage(Project::storageName());
        controllersWereStoredBeforeHook = own && own->hasItem(QStringLiteral("Controllers"));
        storage->storage(QStringLiteral("Comparisons"))->writeItem(QStringLiteral("Last"), "0:1|0:3");
    });
    QVERIFY(reopened.open(file).opened);
    QVERIFY(reopened.save(file));
    FileStorageView stored;
    QVERIFY(ProjectFile::read(file, &stored, nullptr));

    // THEN the other part saw its items on load, they are still in the file, and the hook's storage too
    QCOMPARE(seenOnLoad, QStringList({QStringLiteral("List0"), QStringLiteral("List1")}));
    QVERIFY(controllersWereStoredBeforeHook);
    const FileStorageView* lists = stored.subStorage(QStringLiteral("CustomParameterLists"));
    QVERIFY(lists);
    QCOMPARE(lists->readItem(QStringLiteral("List1")), QByteArray("\x00\x01\xff", 3));
    QVERIFY(stored.subStorage(QStringLiteral("Comparisons")));
    QCOMPARE(stored.subStorage(QStringLiteral("Comparisons"))->readItem(QStringLiteral("Last")), QByteArray("0:1|0:3"));
}

void ProjectTest::controllerAndAxisChangesNotifyTheHost()
{
    Project project(typesDirectory());
    QVERIFY(project.open(descriptionPath()).opened);
    ProjectHost* host = project.host();
    QSignalSpy changed(host, &ProjectHost::hostContentChanged);

    DriveController* added = project.addController(AppTest::testTypeName(), QStringLiteral("Neu"), 2);
    QVERIFY(added && project.removeAxis(added, 1));
    QCOMPARE(changed.count(), 2);

    // WHEN a controller is removed, THEN its axes are already gone for the receivers
    const QPointer<DriveControllerAxis> axis = added->axis(2);
    bool axisGoneWhenNotified = false;
    connect(host, &ProjectHost::hostContentChanged, this, [&] { axisGoneWhenNotified = axis.isNull(); });
    QVERIFY(project.removeController(added));
    QCOMPARE(changed.count(), 3);
    QVERIFY(axisGoneWhenNotified);
    QCOMPARE(host->driveControllers().size(), 1);

    // AND refused operations say nothing
    QString error;
    QVERIFY(!project.addController(QStringLiteral("RX-0 gibt es nicht"), QStringLiteral("X"), 1, &error));
    QVERIFY(error.contains(QStringLiteral("RX-0")));
    QVERIFY(!project.addController(AppTest::testTypeName(), QStringLiteral("X"), 4, &error));
    QVERIFY(!project.addController(AppTest::testTypeName(), QStringLiteral("  "), 1, &error));
    QVERIFY(!project.removeAxis(host->driveControllers().first(), 2));
    QCOMPARE(changed.count(), 3);

    // AND a new axis fills the gap, named after its number, up to the type's limit
    DriveController* first = host->driveControllers().first();
    QCOMPARE(Project::nextFreeAxisNumber(first), 2);
    DriveControllerAxis* gap = project.addAxis(first, QString());
    QVERIFY(gap && gap->axisNumber() == 2);
    QCOMPARE(gap->name(), QStringLiteral("Achse 2"));
    QCOMPARE(Project::nextFreeAxisNumber(first), 0);
    QVERIFY(!project.addAxis(first, QStringLiteral("Vierte"), &error));
    QVERIFY2(error.contains(QStringLiteral("3")), qPrintable(error));
    QCOMPARE(first->axisNumbers(), QList<int>({1, 2, 3}));
}

void ProjectTest::modifiedFollowsChangesAndSaving()
{
    Project project(typesDirectory());
    QSignalSpy modified(&project, &Project::modifiedChanged);
    QVERIFY(project.open(descriptionPath()).opened);
    QVERIFY(!project.isModified());
    DriveController* controller = project.host()->driveControllers().first();

    QVERIFY(setupOf(controller, "A10")->setValueText(1, 0, QStringLiteral("42")));
    QVERIFY(project.isModified());
    QVERIFY(project.save(workFile("modified.kxproj")));
    QVERIFY(!project.isModified());
    QVERIFY(!controller->needSave());

    controller->axis(1)->setName(QStringLiteral("Anders"));
    QVERIFY(project.isModified());
    QVERIFY(project.save(project.filePath()));
    controller->setMarkingColor(3, Qt::blue);
    QVERIFY(project.isModified());
    QCOMPARE(modified.count(), 5);
    QCOMPARE(modified.last().first().toBool(), true);
}

QTEST_GUILESS_MAIN(ProjectTest)
#include "tst_project.moc"
