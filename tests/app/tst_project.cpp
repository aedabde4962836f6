// Projects in the host application: what a project file brings back, what a
// damaged or foreign file does to the open project, and the controllers and
// axes the user adds and removes through the main window.
#include "AppTestSupport.h"
#include "TestSupport.h"

#include "AddControllerDialog.h"
#include "CompareAxesDialog.h"
#include "DeviceTypeLibrary.h"
#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "FileStorageView.h"
#include "LanguageManager.h"
#include "MainWindow.h"
#include "ModbusConnection.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"
#include "ParameterView.h"
#include "Project.h"
#include "ProjectFile.h"
#include "ProjectHost.h"
#include "ProjectTreeWidget.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QInputDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

#include <tuple>

using KxTest::whenModal;

namespace {

QAction* action(MainWindow& window, const char* name)
{
    return window.findChild<QAction*>(QLatin1String(name));
}

QStringList treeRows(const ProjectTreeWidget* tree)
{
    QStringList rows;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = tree->topLevelItem(i);
        rows << item->text(0);
        for (int c = 0; c < item->childCount(); ++c)
            rows << item->child(c)->text(0) + QLatin1Char(' ')
                    + item->child(c)->data(0, ProjectTreeWidget::MarkingColorRole).value<QColor>().name(QColor::HexArgb);
    }
    return rows;
}

void clickYes(QMessageBox* box)
{
    box->button(QMessageBox::Yes)->click();
}

// Stands in for a catalogue: every text of the application gets a mark.
class MarkingTranslator : public QTranslator
{
public:
    bool isEmpty() const override { return false; }
    QString translate(const char*, const char* source, const char*, int) const override
    {
        return QStringLiteral("EN:") + QString::fromUtf8(source);
    }
};

} // namespace

class ProjectTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        KxTest::initTestEnvironment();
        QVERIFY(m_types.isValid() && m_noTypes.isValid() && m_work.isValid());
        m_description = AppTest::writeTypesAndDescription(QDir(m_types.path()), QDir(m_work.path()));
    }

    void cleanup()
    {
        KxTest::cancelModalHandlers();
        LanguageManager::instance()->setActiveLanguage(LanguageManager::German);
    }

    void saveAndReopenRestoresEverything_data()
    {
        QTest::addColumn<QString>("types");
        QTest::addColumn<bool>("edit");
        QTest::newRow("sample description on the suite's types") << MainWindow::defaultTypesDirectory() << false;
        QTest::newRow("values of every kind, names and colours changed") << m_types.path() << true;
        QTest::newRow("type known only from the description it came from") << m_noTypes.path() << false;
    }
    void saveAndReopenRestoresEverything()
    {
        QFETCH(QString, types);
        QFETCH(bool, edit);
        const bool sample = types == MainWindow::defaultTypesDirectory();

        // GIVEN a new project made from a description, possibly edited
        MainWindow window(types);
        window.setInteractive(false);
        QVERIFY(window.openFile(sample ? MainWindow::defaultProjectPath() : m_description));
        QVERIFY(window.windowTitle().contains(QStringLiteral("Unbenannt")) && window.project()->filePath().isEmpty());
        if (edit) {
            QVERIFY(window.project()->addController(AppTest::testTypeName(), QStringLiteral("Zweiter"), 1));
            DriveController* first = window.project()->host()->driveControllers().first();
            for (const auto& [coordinate, space, element, text] :
                 {std::make_tuple("A10", 3, 0, "4321.5"), std::make_tuple("A11", 1, 0, "7"), std::make_tuple("A12", 3, 3, "-2999"),
                  std::make_tuple("C30", 1, 5, "2"), std::make_tuple("C30", 3, 2, "Zeile „ä“ = 1;#[x]"),
                  std::make_tuple("B21", 0, 2, "1"), std::make_tuple("C31", 0, 0, "Halle 3")})
                QVERIFY2(KxTest::setupOf(first, QLatin1String(coordinate))->setValueText(space, quint16(element), QString::fromUtf8(text)),
                         coordinate);
            first->setName(first->name() + QStringLiteral(" (umgebaut)"));
            first->axis(1)->setName(QStringLiteral("Achse mit „Anführung“ & Umlaut ü"));
            first->setMarkingColor(1, QColor(0x12, 0x34, 0x56, 0x78));
            first->setDescriptorText(QStringLiteral("neuer Text"));
            first->setConnectionSettings(ModbusConnectionSettings{QStringLiteral("192.0.2.7"), 1502, 3});
            // its values must come back although the controller refuses writes afterwards
            window.project()->host()->driveControllers().last()->parameterProvider()->setReadOnly(true);
            QVERIFY(window.isWindowModified());
        }
        const QStringList rows = treeRows(window.projectTree());
        const QStringList before = AppTest::snapshot(window.project()->host()->driveControllers());

        // WHEN it is saved and a second window opens the file
        const QString file = workFile("round-trip.kxproj");
        QVERIFY(window.saveFile(file));
        QVERIFY(!window.isWindowModified() && window.windowTitle().startsWith(QStringLiteral("round-trip.kxproj")));
        QVERIFY(window.statusBar()->currentMessage().contains(QStringLiteral("round-trip.kxproj")));
        MainWindow second(types);
        second.setInteractive(false);
        QCOMPARE(second.project()->typeLibrary()->contains(AppTest::testTypeName()), types == m_types.path());
        QSignalSpy problems(&second, &MainWindow::problemReported);
        QVERIFY(second.openFile(file));

        // THEN it shows the same tree, holds the same values, left nothing out and counts as unchanged
        QCOMPARE(problems.count(), 0);
        QCOMPARE(treeRows(second.projectTree()), rows);
        QCOMPARE(AppTest::snapshot(second.project()->host()->driveControllers()), before);
        QVERIFY(second.windowTitle().startsWith(QStringLiteral("round-trip.kxproj")) && !second.isWindowModified());
        for (DriveController* controller : second.project()->host()->driveControllers())
            QVERIFY(!controller->needSave());
        if (edit)
            QVERIFY(second.project()->host()->driveControllers().first()->connectionSettings()
                    == (ModbusConnectionSettings{QStringLiteral("192.0.2.7"), 1502, 3}));
        // AND the first axis is shown right away
        QVERIFY(second.parameterView()->axis());
        QCOMPARE(second.parameterView()->axis()->driveController(), second.project()->host()->driveControllers().first());
    }

    void saveOfANewProjectAsksForAFileName()
    {
        MainWindow window(m_types.path());
        QVERIFY(window.openFile(m_description));

        // WHEN "Speichern" is chosen for a project without a file, and a name without suffix given
        const QString chosen = workFile("chosen");
        KxTest::FileDialogRun run;
        KxTest::answerFileDialog(&run, chosen);
        action(window, "actionSave")->trigger();

        // THEN a project file named after the description was proposed, and the project saved with the suffix
        QVERIFY(run.dialogSeen && !run.messageSeen);
        QVERIFY2(run.proposal.endsWith(QStringLiteral("pruefstand.kxproj")), qPrintable(run.proposal));
        QCOMPARE(window.project()->filePath(), chosen + QStringLiteral(".kxproj"));
        QVERIFY(ProjectFile::isProjectFile(chosen + QStringLiteral(".kxproj")));

        // AND a later change, even of a colour only, makes "Speichern" write to that file without asking
        window.project()->host()->driveControllers().first()->setMarkingColor(3, Qt::blue);
        QVERIFY(window.project()->isModified() && window.isWindowModified());
        bool askedAgain = true;
        whenModal<QFileDialog>([](QFileDialog*) {}, &askedAgain, 1000);
        action(window, "actionSave")->trigger();
        QVERIFY(!askedAgain && !window.project()->isModified());
    }

    void unreadableFileKeepsTheCurrentProject_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("content"); // "-": no file; "damaged"/"newer": project with such a controller list
        QTest::addColumn<bool>("interactive");

        QTest::newRow("text file with project suffix, in a message box")
            << QStringLiteral("notes.kxproj") << QByteArray("just some notes\n") << true;
        QTest::newRow("missing file") << QStringLiteral("missing.kxproj") << QByteArray("-") << false;
        QTest::newRow("broken description") << QStringLiteral("broken.json") << QByteArray("{\"format\": \"KxDeviceDescription\",")
                                            << false;
        QTest::newRow("damaged controller list") << QStringLiteral("damaged.kxproj") << QByteArray("damaged") << false;
        QTest::newRow("controller list of a newer version") << QStringLiteral("newer.kxproj") << QByteArray("newer") << false;
    }
    void unreadableFileKeepsTheCurrentProject()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, content);
        QFETCH(bool, interactive);

        // GIVEN a saved project with the storage of another part, and the file to open
        MainWindow window(m_types.path());
        window.setInteractive(false);
        QVERIFY(window.openFile(m_description) && window.saveFile(workFile("current.kxproj")));
        window.setInteractive(interactive);
        Project* project = window.project();
        project->storage()->storage(QStringLiteral("Other"))->writeItem(QStringLiteral("Item"), "kept");
        const QList<DriveController*> controllers = project->host()->driveControllers();
        const QStringList before = AppTest::snapshot(controllers), rows = treeRows(window.projectTree());
        const QString title = window.windowTitle();
        DriveControllerAxis* shown = window.parameterView()->axis();
        QVERIFY(shown);

        QTemporaryDir dir;
        QString path = QDir(dir.path()).filePath(fileName);
        if (content == "damaged" || content == "newer") {
            FileStorageView root;
            root.storage(Project::storageName())->writeItem(QStringLiteral("Controllers"), content == "damaged"
                ? QByteArray("{ not json") : QByteArray(R"({"format": "KxSuiteProject", "version": 99, "controllers": []})"));
            QVERIFY(ProjectFile::write(path, root, nullptr));
        } else if (content != "-") {
            path = AppTest::writeFile(QDir(dir.path()), fileName, content);
        }
        const QByteArray fileBefore = QFileInfo::exists(path) ? KxTest::readFile(path) : QByteArray();
        QSignalSpy replaced(project, &Project::projectReplaced);
        QSignalSpy problems(&window, &MainWindow::problemReported);

        // WHEN it is opened
        QString boxText;
        bool boxShown = false;
        whenModal<QMessageBox>([&](QMessageBox* box) { boxText = box->text(); }, &boxShown, interactive ? 5000 : 200);
        QVERIFY(!window.openFile(path));

        // THEN it is refused with one message naming the file and the reason
        QCOMPARE(problems.count(), 1);
        const QString message = problems.first().first().toString();
        QVERIFY2(message.contains(fileName) && message.contains(content == "newer" ? QStringLiteral("Version 99") : fileName),
                 qPrintable(message));
        QCOMPARE(boxShown, interactive);
        if (interactive)
            QCOMPARE(boxText, message);
        QVERIFY(window.statusBar()->currentMessage().contains(fileName));
        // AND project, window and file stay as they were
        QCOMPARE(replaced.count(), 0);
        QCOMPARE(project->host()->driveControllers(), controllers);
        QCOMPARE(AppTest::snapshot(controllers), before);
        QCOMPARE(project->filePath(), workFile("current.kxproj"));
        QCOMPARE(project->storage()->storage(QStringLiteral("Other"))->readItem(QStringLiteral("Item")), QByteArray("kept"));
        QCOMPARE(window.windowTitle(), title);
        QCOMPARE(treeRows(window.projectTree()), rows);
        QCOMPARE(window.parameterView()->axis(), shown);
        if (QFileInfo::exists(path))
            QCOMPARE(KxTest::readFile(path), fileBefore);
    }

    void reopenLeavesOutWhatDoesNotFitAndSaysSo_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QJsonValue>("stored");
        QTest::addColumn<QString>("expectedFragment");
        QTest::addColumn<int>("expectedControllers");

        const auto value = [](const char* coordinate, int element, const char* text) {
            return QJsonArray{QJsonObject{{QStringLiteral("coordinate"), QLatin1String(coordinate)},
                                          {QStringLiteral("livingSpace"), 1}, {QStringLiteral("element"), element},
                                          {QStringLiteral("value"), QLatin1String(text)}}};
        };
        QTest::newRow("unknown type drops the controller") << "type" << QJsonValue(QStringLiteral("RX-9 Unbekannt"))
                                                           << QStringLiteral("„RX-9 Unbekannt“") << 1;
        QTest::newRow("axis beyond the type's axes")
            << "axes" << QJsonValue(QJsonArray{QJsonObject{{QStringLiteral("number"), 9}, {QStringLiteral("name"), QStringLiteral("Zu viel")}}})
            << QStringLiteral("Achse 9") << 2;
        QTest::newRow("value outside the limits") << "values" << QJsonValue(value("A10", 0, "99999")) << QStringLiteral("A10 = „99999“") << 2;
        QTest::newRow("element the parameter does not have") << "values" << QJsonValue(value("A12", 77, "1")) << QStringLiteral("A12[77]") << 2;
    }
    void reopenLeavesOutWhatDoesNotFitAndSaysSo()
    {
        QFETCH(QString, key);
        QFETCH(QJsonValue, stored);
        QFETCH(QString, expectedFragment);
        QFETCH(int, expectedControllers);

        // GIVEN a saved project of two controllers whose first one's stored data got one more entry that does not fit
        Project project(m_types.path());
        QVERIFY(project.open(m_description).opened);
        QVERIFY(project.addController(AppTest::testTypeName(), QStringLiteral("Zweiter"), 2));
        QVERIFY(KxTest::setupOf(project.host()->driveControllers().first(), QStringLiteral("A12"))->setValueText(1, 2, QStringLiteral("-17")));
        const QString file = workFile("tampered.kxproj");
        QVERIFY(project.save(file));
        const QStringList secondBefore = AppTest::snapshot({project.host()->driveControllers().at(1)});
        {
            FileStorageView root;
            QVERIFY(ProjectFile::read(file, &root, nullptr));
            FileStorageView* own = root.storage(Project::storageName());
            QJsonObject document = QJsonDocument::fromJson(own->readItem(QStringLiteral("Controllers"))).object();
            QJsonArray controllers = document.value(QStringLiteral("controllers")).toArray();
            QJsonObject first = controllers.first().toObject();
            if (stored.isArray()) {
                QJsonArray entries = first.value(key).toArray();
                entries.append(stored.toArray().first());
                stored = entries;
            }
            first.insert(key, stored);
            controllers.replace(0, first);
            document.insert(QStringLiteral("controllers"), controllers);
            own->writeItem(QStringLiteral("Controllers"), QJsonDocument(document).toJson());
            QVERIFY(ProjectFile::write(file, root, nullptr));
        }

        // WHEN it is opened again
        Project reopened(m_types.path());
        const ProjectOpenResult result = reopened.open(file);

        // THEN it opens, says exactly once what was left out, and keeps everything else
        QVERIFY2(result.opened, qPrintable(result.error));
        QCOMPARE(result.skipped.size(), 1);
        QVERIFY2(result.skipped.first().contains(expectedFragment), qPrintable(result.skipped.first()));
        const QList<DriveController*> controllers = reopened.host()->driveControllers();
        QCOMPARE(controllers.size(), expectedControllers);
        QCOMPARE(AppTest::snapshot({controllers.last()}), secondBefore);
        if (expectedControllers == 2)
            QCOMPARE(KxTest::setupOf(controllers.first(), QStringLiteral("A12"))->valueText(1, 2, false), QStringLiteral("-17"));
    }

    void controllersAndAxesAreAddedAndRemoved()
    {
        MainWindow window(m_types.path());
        QVERIFY(window.openFile(m_description));
        Project* project = window.project();
        ProjectHost* host = project->host();
        ProjectTreeWidget* tree = window.projectTree();
        DriveController* first = host->driveControllers().first();
        QSignalSpy changed(host, &ProjectHost::hostContentChanged);

        // WHEN a controller with two axes is added through the dialog
        bool seen = false;
        whenModal<AddControllerDialog>([](AddControllerDialog* dialog) {
            auto* type = dialog->findChild<QComboBox*>(QStringLiteral("typeComboBox"));
            type->setCurrentIndex(type->findData(AppTest::testTypeName()));
            dialog->findChild<QLineEdit*>(QStringLiteral("nameLineEdit"))->setText(QStringLiteral("Förderband"));
            dialog->findChild<QSpinBox*>(QStringLiteral("axisCountSpinBox"))->setValue(2);
            dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"))->button(QDialogButtonBox::Ok)->click();
        }, &seen);
        action(window, "actionAddController")->trigger();

        // THEN the host tells once, and the tree shows it with its axes, the first axis shown
        QVERIFY(seen);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(tree->topLevelItem(1)->text(0), QStringLiteral("Förderband (RX-3 / 8 A)"));
        QCOMPARE(tree->topLevelItem(1)->child(1)->text(0), QStringLiteral("Achse 2: Achse 2"));
        DriveController* added = host->driveControllers().at(1);
        QCOMPARE(window.parameterView()->axis(), added->axis(1));

        // WHEN an axis is added to the first controller (axes 1 and 3) with a typed name, another by the project without one
        QVERIFY(tree->selectAxis(first, 1));
        whenModal<QInputDialog>([](QInputDialog* dialog) {
            dialog->setTextValue(QStringLiteral("Spindel"));
            dialog->accept();
        }, &seen);
        action(window, "actionAddAxis")->trigger();
        QVERIFY(seen);
        QVERIFY(project->addAxis(added, QString()));

        // THEN the first fills the gap and is shown, the second is named after its number
        QCOMPARE(changed.count(), 3);
        QCOMPARE(first->axisNumbers(), QList<int>({1, 2, 3}));
        QCOMPARE(tree->topLevelItem(0)->child(1)->text(0), QStringLiteral("Achse 2: Spindel"));
        QCOMPARE(tree->currentAxis(), first->axis(2));
        QCOMPARE(added->axisName(3), QStringLiteral("Achse 3"));
        // AND the type's three axes being used, no more can be added; refused changes say why and tell nobody
        QVERIFY(!action(window, "actionAddAxis")->isEnabled());
        QString error;
        QVERIFY(!project->addAxis(first, QStringLiteral("Vierte"), &error) && error.contains(QStringLiteral("3")));
        QVERIFY(!project->addController(QStringLiteral("RX-0 gibt es nicht"), QStringLiteral("X"), 1, &error)
                && error.contains(QStringLiteral("RX-0")));
        QVERIFY(!project->addController(AppTest::testTypeName(), QStringLiteral("X"), 4, &error)
                && !project->addController(AppTest::testTypeName(), QStringLiteral("  "), 1, &error) && !project->removeAxis(added, 7));
        QCOMPARE(changed.count(), 3);

        // WHEN the selected axis is removed (confirmed)
        QVERIFY(tree->selectAxis(added, 3));
        whenModal<QMessageBox>(clickYes, &seen);
        action(window, "actionRemoveAxis")->trigger();
        QVERIFY(seen);
        QCOMPARE(changed.count(), 4);
        QCOMPARE(added->axisNumbers(), QList<int>({1, 2}));

        // WHEN the controller is removed (confirmed) THEN its axes are gone before anybody is told, and it is gone everywhere
        QVERIFY(tree->selectAxis(added, 2));
        QCOMPARE(window.parameterView()->axis(), added->axis(2));
        const QPointer<DriveController> guard(added);
        const QPointer<DriveControllerAxis> axis = added->axis(2);
        bool axisGoneWhenNotified = false;
        connect(host, &ProjectHost::hostContentChanged, this, [&] { axisGoneWhenNotified = axis.isNull(); });
        whenModal<QMessageBox>(clickYes, &seen);
        action(window, "actionRemoveController")->trigger();
        QVERIFY(seen);
        QCOMPARE(changed.count(), 5);
        QVERIFY(axisGoneWhenNotified && guard.isNull());
        QCOMPARE(tree->topLevelItemCount(), 1);
        QCOMPARE(window.parameterView()->axis(), nullptr);
        QVERIFY(window.isWindowModified());
    }

    void languageFollowsTheMenuAndTheCatalogues()
    {
        // GIVEN the main window with its dialogs open
        MainWindow window(m_types.path());
        window.setInteractive(false);
        QVERIFY(window.openFile(m_description));
        DriveController* controller = window.project()->host()->driveControllers().first();
        AddControllerDialog addDialog(window.project()->typeLibrary(), QStringLiteral("Regler 2"), &window);
        CompareAxesDialog compareDialog(window.project()->host(), &window);
        auto* otherSide = compareDialog.findChild<QComboBox*>(QStringLiteral("controllerComboBoxB"));
        const auto texts = [&] {
            return QStringList{window.findChild<QMenu*>(QStringLiteral("menuFile"))->title(),
                               window.findChild<QMenu*>(QStringLiteral("menuRecentProjects"))->title(),
                               window.projectTree()->axisItem(controller, 1)->text(0), addDialog.windowTitle(),
                               addDialog.findChildren<QLabel*>().first()->text(),
                               compareDialog.findChildren<QGroupBox*>().first()->title(), otherSide->itemText(otherSide->count() - 1)};
        };
        const QStringList german = texts();
        QCOMPARE(german.at(2), QStringLiteral("Achse 1: Hubwerk"));

        // WHEN a catalogue is installed THEN every text follows; WHEN it goes THEN the German ones are back
        MarkingTranslator translator;
        QCoreApplication::installTranslator(&translator);
        QTRY_VERIFY(texts().filter(QStringLiteral("EN:")).size() == german.size());
        QCoreApplication::removeTranslator(&translator);
        QTRY_COMPARE(texts(), german);

        // WHEN English is chosen from the menu THEN names of parameters and elements follow, and the menu shows the choice
        QVERIFY(window.projectTree()->selectAxis(controller, 1));
        ParameterView* view = window.parameterView();
        const ParameterCoordinate speed(QStringLiteral("A10")), plate(QStringLiteral("C30"));
        QVERIFY(view->item(speed) && view->item(plate, 1));
        QCOMPARE(view->item(speed)->text(ParameterView::ColumnName), QStringLiteral("Solldrehzahl"));
        action(window, "actionLanguage1")->trigger();
        QCOMPARE(LanguageManager::instance()->activeLanguage(), int(LanguageManager::English));
        QTRY_COMPARE(view->item(speed)->text(ParameterView::ColumnName), QStringLiteral("Speed setpoint"));
        QCOMPARE(view->item(plate, 1)->text(ParameterView::ColumnName), QStringLiteral("Rated current"));
        QVERIFY(action(window, "actionLanguage1")->isChecked() && !action(window, "actionLanguage0")->isChecked());
        QVERIFY(window.statusBar()->currentMessage().contains(QStringLiteral("English")));
    }

    void recentProjectsListTheLatestFilesFirst()
    {
        // GIVEN nine project files saved one after the other, one of them opened again afterwards
        MainWindow window(m_types.path());
        window.setInteractive(false);
        QVERIFY(window.openFile(m_description));
        QStringList expected;
        for (int i = 1; i <= 9; ++i) {
            expected.prepend(workFile("zuletzt-%1.kxproj").arg(i));
            QVERIFY(window.saveFile(expected.first()));
        }
        QVERIFY(window.openFile(expected.at(5)));
        expected.move(5, 0);
        expected.removeLast();

        // WHEN a new window shows the menu
        MainWindow second(m_types.path());
        second.setInteractive(false);
        auto* menu = second.findChild<QMenu*>(QStringLiteral("menuRecentProjects"));
        QVERIFY(second.findChild<QMenu*>(QStringLiteral("menuFile"))->actions().contains(menu->menuAction()));
        const auto entries = [menu] {
            QCoreApplication::processEvents();
            QList<QAction*> listed = menu->actions();
            listed.erase(std::remove_if(listed.begin(), listed.end(), [](QAction* a) { return !a->data().isValid(); }), listed.end());
            return listed;
        };

        // THEN it lists the eight latest, most recent first, numbered, the directory in the tool tip
        QCOMPARE(entries().size(), 8);
        for (int i = 0; i < 8; ++i) {
            QCOMPARE(entries().at(i)->data().toString(), expected.at(i));
            QCOMPARE(entries().at(i)->text(), QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(expected.at(i)).fileName()));
            QVERIFY(entries().at(i)->toolTip().contains(QDir::toNativeSeparators(m_work.path())));
        }

        // WHEN an entry whose file is gone is chosen THEN it leaves the list, and the status bar says why
        QVERIFY(QFile::remove(expected.at(1)));
        entries().at(1)->trigger();
        QVERIFY(second.statusBar()->currentMessage().contains(QFileInfo(expected.at(1)).fileName()));
        QCOMPARE(entries().size(), 7);
        QVERIFY(second.project()->filePath().isEmpty());
        // WHEN an existing one is chosen THEN it is opened
        entries().at(2)->trigger();
        QCOMPARE(second.project()->filePath(), expected.at(3));
        // WHEN the list is emptied THEN only the disabled "Liste leeren" is left
        action(second, "actionClearRecentProjects")->trigger();
        QVERIFY(entries().isEmpty() && !action(second, "actionClearRecentProjects")->isEnabled());
    }

    void closeQuestionSavesDiscardsOrStays_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("saveFails");
        QTest::addColumn<bool>("closes");
        QTest::newRow("Speichern") << int(QMessageBox::Save) << false << true;
        QTest::newRow("Verwerfen") << int(QMessageBox::Discard) << false << true;
        QTest::newRow("Abbrechen") << int(QMessageBox::Cancel) << false << false;
        QTest::newRow("Speichern misslingt") << int(QMessageBox::Save) << true << false;
    }
    void closeQuestionSavesDiscardsOrStays()
    {
        QFETCH(int, answer);
        QFETCH(bool, saveFails);
        QFETCH(bool, closes);

        // GIVEN a saved project with a value changed since, shown in an interactive window
        QTemporaryDir dir;
        const QString file = QDir(dir.path()).filePath(QStringLiteral("ordner/frage.kxproj"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("ordner")));
        MainWindow window(m_types.path());
        window.setInteractive(false);
        QVERIFY(window.openFile(m_description) && window.saveFile(file));
        window.setInteractive(true);
        window.show();
        const QByteArray stored = KxTest::readFile(file);
        QVERIFY(KxTest::setupOf(window.project()->host()->driveControllers().first(), QStringLiteral("A10"))
                    ->setValueText(1, 0, QStringLiteral("777")));
        QVERIFY(window.isWindowModified());
        if (saveFails) {
            // a file where the folder was: nobody, root included, can write into it
            QVERIFY(QDir(QDir(dir.path()).filePath(QStringLiteral("ordner"))).removeRecursively());
            AppTest::writeFile(QDir(dir.path()), QStringLiteral("ordner"), "kein Ordner");
        }

        // WHEN the window is closed and the question answered
        QString question;
        bool asked = false, failureShown = false;
        whenModal<QMessageBox>([&](QMessageBox* box) {
            question = box->text();
            if (saveFails)
                whenModal<QMessageBox>([](QMessageBox* problem) { problem->accept(); }, &failureShown);
            box->button(QMessageBox::StandardButton(answer))->click();
        }, &asked);
        const bool closed = window.close();

        // THEN the window closes only when the changes are saved or discarded
        QVERIFY(asked && question.contains(QStringLiteral("frage.kxproj")));
        QCOMPARE(closed, closes);
        QCOMPARE(window.isVisible(), !closes);
        QCOMPARE(window.isWindowModified(), answer != QMessageBox::Save || saveFails);
        QCOMPARE(failureShown, saveFails);
        if (!saveFails)
            QCOMPARE(KxTest::readFile(file) != stored, answer == QMessageBox::Save);
    }

private:
    QString workFile(const char* name) const { return QDir(m_work.path()).filePath(QLatin1String(name)); }

    QTemporaryDir m_types;
    QTemporaryDir m_noTypes;
    QTemporaryDir m_work;
    QString m_description;
};

QTEST_MAIN(ProjectTest)
#include "tst_project.moc"
