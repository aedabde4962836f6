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
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

ParameterSetup* setupOf(DriveController* controller, const char* coordinate)
{
    return controller->parameterProvider()->parameterSetup(ParameterCoordinate(QLatin1String(coordinate))).data();
}

// Rewrites the stored controller list of a project file in place.
void editStoredControllers(const QString& path, const std::function<void(QJsonObject&)>& edit)
{
    FileStorageView root;
    QString error;
    QVERIFY2(ProjectFile::read(path, &root, &error), qPrintable(error));
    FileStorageView* own = root.storage(Project::storageName());
    QJsonObject document = QJsonDocument::fromJson(own->readItem(QStringLiteral("Controllers"))).object();
    QVERIFY(!document.isEmpty());
    edit(document);
    own->writeItem(QStringLiteral("Controllers"), QJsonDocument(document).toJson());
    QVERIFY2(ProjectFile::write(path, root, &error), qPrintable(error));
}

QJsonObject firstController(const QJsonObject& document)
{
    return document.value(QStringLiteral("controllers")).toArray().first().toObject();
}

void replaceFirstController(QJsonObject& document, const QJsonObject& controller)
{
    QJsonArray controllers = document.value(QStringLiteral("controllers")).toArray();
    controllers.replace(0, controller);
    document.insert(QStringLiteral("controllers"), controllers);
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
    void axisNumbersFillGapsAndStopAtTheTypeLimit();
    void modifiedFollowsChangesAndSaving();

private:
    QString typesDirectory() const { return m_typesDir.path(); }
    QString descriptionPath() const { return m_description; }

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
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("edit");

    QTest::newRow("description as loaded") << QStringLiteral("test") << false;
    QTest::newRow("values, names and colours changed after loading") << QStringLiteral("test") << true;
    QTest::newRow("sample project as loaded") << QStringLiteral("sample") << false;
    QTest::newRow("sample project changed") << QStringLiteral("sample") << true;
}

void ProjectTest::saveAndReopenRestoresEverything()
{
    QFETCH(QString, source);
    QFETCH(bool, edit);

    // GIVEN a project made from a description, possibly edited afterwards
    const bool sample = source == QLatin1String("sample");
    const QString path = sample ? KxTest::dataPath(QStringLiteral("sample-project.json")) : descriptionPath();
    if (sample && !QFileInfo::exists(path))
        QSKIP("data/sample-project.json is not there yet");
    Project project(sample ? KxTest::dataPath(QStringLiteral("types")) : typesDirectory());
    const ProjectOpenResult opened = project.open(path);
    QVERIFY2(opened.opened, qPrintable(opened.error));
    QVERIFY(opened.fromDescription);
    QVERIFY(project.filePath().isEmpty());
    const QList<DriveController*> controllers = project.host()->driveControllers();
    QVERIFY(!controllers.isEmpty());

    if (edit) {
        DriveController* first = controllers.first();
        int changed = 0;
        // one element of every array, every device-wide parameter and every text
        for (const ParameterCoordinate& coordinate : first->parameterProvider()->allCoordinates()) {
            ParameterSetup* setup = first->parameterProvider()->parameterSetup(coordinate).data();
            const QList<eLivingSpace> spaces = setup->livingSpaces();
            if (spaces.isEmpty())
                continue;
            const eLivingSpace space = spaces.last();
            QList<quint16> elements = setup->valueElementIndices().values();
            std::sort(elements.begin(), elements.end());
            if (elements.isEmpty())
                continue;
            const quint16 element = elements.last();
            if (!setup->isWritable(space, element))
                continue;
            QString text;
            switch (setup->valueKind(element)) {
            case ValueKindText: text = QStringLiteral("Zeile „ä“ = 1;#[x]"); break;
            case ValueKindSwitch: text = setup->valueText(space, element, false) == QLatin1String("1") ? QStringLiteral("0") : QStringLiteral("1"); break;
            case ValueKindChoice: {
                const QList<ParameterChoice> choices = setup->choices(element);
                text = QString::number(choices.last().value);
                if (text == setup->valueText(space, element, false))
                    text = QString::number(choices.first().value);
                break;
            }
            default: {
                const double value = setup->maximum(element) > setup->minimum(element)
                    ? setup->minimum(element) + (setup->maximum(element) - setup->minimum(element)) * 0.37
                    : setup->minimum(element);
                text = QString::number(value, 'f', setup->element(element)->decimals);
            }
            }
            if (text.size() > setup->element(element)->maximum && setup->valueKind(element) == ValueKindText)
                text.truncate(int(setup->element(element)->maximum));
            if (setup->setValueText(space, element, text))
                ++changed;
        }
        QVERIFY2(changed >= 3, "the edit must change several values for the test to mean anything");
        first->setName(first->name() + QStringLiteral(" (umgebaut)"));
        const QList<int> numbers = first->axisNumbers();
        first->axis(numbers.first())->setName(QStringLiteral("Achse mit „Anführung“ & Umlaut ü"));
        first->setMarkingColor(numbers.first(), QColor(0x12, 0x34, 0x56, 0x78));
        first->setDescriptorText(QStringLiteral("neuer Text"));
        // its values must come back although the controller refuses writes afterwards
        controllers.last()->parameterProvider()->setReadOnly(true);
    }
    const QStringList before = AppTest::snapshot(controllers);
    QVERIFY(before.filter(QStringLiteral("axis|")).size() >= 1);

    // WHEN it is saved and opened by another project object
    const QString file = QDir(m_work.path()).filePath(QStringLiteral("round-trip.kxproj"));
    QString error;
    QVERIFY2(project.save(file, &error), qPrintable(error));
    QCOMPARE(project.filePath(), QFileInfo(file).absoluteFilePath());
    Project reopened(sample ? KxTest::dataPath(QStringLiteral("types")) : typesDirectory());
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
    QTest::newRow("coordinate the type does not have") << 3 << QStringLiteral("Z99") << 2;
    QTest::newRow("element the parameter does not have") << 4 << QStringLiteral("A12[77]") << 2;
    QTest::newRow("value for an axis the controller lacks") << 5 << QStringLiteral("Achse 2, A10") << 2;
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
    const QString file = QDir(m_work.path()).filePath(QStringLiteral("tampered.kxproj"));
    QVERIFY(project.save(file));
    const QStringList secondBefore = AppTest::snapshot({project.host()->driveControllers().at(1)});

    editStoredControllers(file, [mutation](QJsonObject& document) {
        QJsonObject controller = firstController(document);
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
        case 3: values.append(value("Z99", 1, 0, QStringLiteral("1"))); break;
        case 4: values.append(value("A12", 1, 77, QStringLiteral("1"))); break;
        case 5: values.append(value("A10", 2, 0, QStringLiteral("12"))); break;
        }
        controller.insert(QStringLiteral("values"), values);
        replaceFirstController(document, controller);
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
    const QString file = QDir(m_work.path()).filePath(QStringLiteral("foreign-type.kxproj"));
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

    // AND without that description the controller is reported, not silently lost
    QTemporaryDir elsewhere;
    const QString moved = AppTest::writeFile(QDir(elsewhere.path()), QStringLiteral("p.kxproj"), KxTest::readFile(file));
    editStoredControllers(moved, [](QJsonObject& document) {
        QJsonObject controller = firstController(document);
        controller.insert(QStringLiteral("typeFile"), QStringLiteral("/nonexistent/pruefstand.json"));
        replaceFirstController(document, controller);
    });
    Project lost(typesDirectory());
    const ProjectOpenResult partial = lost.open(moved);
    QVERIFY(partial.opened);
    QVERIFY(lost.host()->driveControllers().isEmpty());
    QCOMPARE(partial.skipped.size(), 1);
    QVERIFY(partial.skipped.first().contains(AppTest::testTypeName()));
}

void ProjectTest::unreadableFileKeepsTheCurrentProject_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("expectedFragment");

    QTest::newRow("text file with project suffix") << QStringLiteral("notes.kxproj") << QByteArray("just some notes\n")
                                                   << QStringLiteral("notes.kxproj");
    QTest::newRow("empty file") << QStringLiteral("empty.kxproj") << QByteArray() << QStringLiteral("empty.kxproj");
    QTest::newRow("missing file") << QStringLiteral("missing.kxproj") << QByteArray("-") << QStringLiteral("missing.kxproj");
    QTest::newRow("broken description") << QStringLiteral("broken.json") << QByteArray("{\"format\": \"KxDeviceDescription\",")
                                        << QStringLiteral("broken.json");
    QTest::newRow("description of a newer version")
        << QStringLiteral("future.json") << QByteArray(R"({"format": "KxDeviceDescription", "version": 2})")
        << QStringLiteral("future.json");
    QTest::newRow("project with a damaged controller list") << QStringLiteral("damaged.kxproj") << QByteArray("damaged")
                                                            << QStringLiteral("damaged.kxproj");
    QTest::newRow("project with a controller list of a newer version") << QStringLiteral("newer.kxproj")
                                                                       << QByteArray("newer") << QStringLiteral("Version 99");
}

void ProjectTest::unreadableFileKeepsTheCurrentProject()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, content);
    QFETCH(QString, expectedFragment);

    // GIVEN an open, saved project
    Project project(typesDirectory());
    QVERIFY(project.open(descriptionPath()).opened);
    const QString saved = QDir(m_work.path()).filePath(QStringLiteral("current.kxproj"));
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
    const QString file = QDir(m_work.path()).filePath(QStringLiteral("with-lists.kxproj"));
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

    // AND a new project starts with an empty tree, which the other parts are given as well
    reopened.newProject();
    QVERIFY(seenOnLoad.isEmpty());
    QVERIFY(reopened.storage()->storageNames().isEmpty());
    QVERIFY(reopened.host()->driveControllers().isEmpty());
}

void ProjectTest::controllerAndAxisChangesNotifyTheHost()
{
    Project project(typesDirectory());
    QVERIFY(project.open(descriptionPath()).opened);
    ProjectHost* host = project.host();
    QSignalSpy changed(host, &ProjectHost::hostContentChanged);

    // WHEN a controller is added, THEN the host says so once and lists it last
    DriveController* added = project.addController(AppTest::testTypeName(), QStringLiteral("Neu"), 2);
    QVERIFY(added);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(host->driveControllers().last(), added);
    QCOMPARE(added->axisNumbers(), QList<int>({1, 2}));

    // WHEN an axis is added and one removed, THEN once each
    QVERIFY(project.addAxis(added, QStringLiteral("Dritte")));
    QCOMPARE(changed.count(), 2);
    QVERIFY(project.removeAxis(added, 1));
    QCOMPARE(changed.count(), 3);
    QCOMPARE(added->axisNumbers(), QList<int>({2, 3}));

    // WHEN a controller is removed, THEN its axes are already gone for the receivers
    const QPointer<DriveControllerAxis> axis = added->axis(2);
    bool axisGoneWhenNotified = false;
    connect(host, &ProjectHost::hostContentChanged, this, [&] { axisGoneWhenNotified = axis.isNull(); });
    QVERIFY(project.removeController(added));
    QCOMPARE(changed.count(), 4);
    QVERIFY(axisGoneWhenNotified);
    QCOMPARE(host->driveControllers().size(), 1);

    // AND refused operations say nothing
    QString error;
    QVERIFY(!project.addController(QStringLiteral("RX-0 gibt es nicht"), QStringLiteral("X"), 1, &error));
    QVERIFY(error.contains(QStringLiteral("RX-0")));
    QVERIFY(!project.addController(AppTest::testTypeName(), QStringLiteral("X"), 4, &error));
    QVERIFY(!project.addController(AppTest::testTypeName(), QStringLiteral("  "), 1, &error));
    QVERIFY(!project.removeAxis(host->driveControllers().first(), 2));
    QCOMPARE(changed.count(), 4);
}

void ProjectTest::axisNumbersFillGapsAndStopAtTheTypeLimit()
{
    Project project(typesDirectory());
    QVERIFY(project.open(descriptionPath()).opened);
    DriveController* controller = project.host()->driveControllers().first();
    QCOMPARE(controller->axisNumbers(), QList<int>({1, 3}));

    QCOMPARE(Project::nextFreeAxisNumber(controller), 2);
    DriveControllerAxis* axis = project.addAxis(controller, QString());
    QVERIFY(axis);
    QCOMPARE(axis->axisNumber(), 2);
    QCOMPARE(axis->name(), QStringLiteral("Achse 2"));

    QCOMPARE(Project::nextFreeAxisNumber(controller), 0);
    QString error;
    QVERIFY(!project.addAxis(controller, QStringLiteral("Vierte"), &error));
    QVERIFY2(error.contains(QStringLiteral("3")), qPrintable(error));
    QCOMPARE(controller->axisNumbers(), QList<int>({1, 2, 3}));
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
    QVERIFY(project.save(QDir(m_work.path()).filePath(QStringLiteral("modified.kxproj"))));
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
