#include "AppTestSupport.h"
#include "TestSupport.h"

#include "AddControllerDialog.h"
#include "CompareAxesDialog.h"
#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "LanguageManager.h"
#include "MainWindow.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"
#include "ParameterView.h"
#include "Project.h"
#include "ProjectFile.h"
#include "ProjectHost.h"
#include "ProjectTreeWidget.h"
#include "System.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QJsonArray>
#include <QGroupBox>
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

namespace {

using AppTest::whenModalOpens;

QAction* action(MainWindow& window, const char* name)
{
    auto* found = window.findChild<QAction*>(QLatin1String(name));
    if (!found)
        QTest::qFail(qPrintable(QStringLiteral("no action ") + QLatin1String(name)), __FILE__, __LINE__);
    return found;
}

QStringList treeRows(const ProjectTreeWidget* tree)
{
    QStringList rows;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = tree->topLevelItem(i);
        rows << item->text(0);
        for (int c = 0; c < item->childCount(); ++c) {
            const QColor color = item->child(c)->data(0, ProjectTreeWidget::MarkingColorRole).value<QColor>();
            rows << QStringLiteral("  %1 [%2]").arg(item->child(c)->text(0),
                                                   color.isValid() ? color.name(QColor::HexArgb) : QStringLiteral("-"));
        }
    }
    return rows;
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

class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void saveAndReopenShowTheSameProject();
    void saveOfANewProjectAsksForAFileName();
    void fileThatCannotBeReadIsReportedAndTheProjectStays_data();
    void fileThatCannotBeReadIsReportedAndTheProjectStays();
    void addingAndRemovingControllersAndAxesUpdatesTheTree();
    void languageSwitchChangesParameterNames();
    void windowsAndDialogsRetranslate();
    void recentProjectsListTheLatestFilesFirst();
    void closeQuestionSavesDiscardsOrStays_data();
    void closeQuestionSavesDiscardsOrStays();

private:
    QTemporaryDir m_types;
    QTemporaryDir m_work;
    QString m_description;
};

void MainWindowTest::initTestCase()
{
    KxTest::initTestEnvironment();
    QVERIFY(m_types.isValid() && m_work.isValid());
    m_description = AppTest::writeTypesAndDescription(QDir(m_types.path()), QDir(m_work.path()));
}

void MainWindowTest::cleanup()
{
    LanguageManager::instance()->setActiveLanguage(LanguageManager::German);
}

void MainWindowTest::saveAndReopenShowTheSameProject()
{
    const QString source = MainWindow::defaultProjectPath();
    const QString types = MainWindow::defaultTypesDirectory();

    // GIVEN a window with the sample opened and an axis renamed
    MainWindow window(types);
    window.setInteractive(false);
    QVERIFY(window.openFile(source));
    QVERIFY(window.windowTitle().contains(QFileInfo(source).fileName()));
    DriveController* first = window.project()->host()->driveControllers().first();
    first->axis(first->axisNumbers().first())->setName(QStringLiteral("Geändert"));
    QVERIFY(window.isWindowModified());
    const QStringList rows = treeRows(window.projectTree());
    const QStringList values = AppTest::snapshot(window.project()->host()->driveControllers());

    // WHEN it is saved and a second window opens the file
    const QString file = QDir(m_work.path()).filePath(QStringLiteral("sample.kxproj"));
    QVERIFY(window.saveFile(file));
    QVERIFY(!window.isWindowModified());
    QVERIFY(window.windowTitle().startsWith(QFileInfo(file).fileName()));
    QVERIFY(window.statusBar()->currentMessage().contains(QFileInfo(file).fileName()));
    MainWindow second(types);
    second.setInteractive(false);
    QSignalSpy problems(&second, &MainWindow::problemReported);
    QVERIFY(second.openFile(file));

    // THEN it shows the same tree and holds the same values, without complaint
    QCOMPARE(problems.count(), 0);
    QCOMPARE(treeRows(second.projectTree()), rows);
    QCOMPARE(AppTest::snapshot(second.project()->host()->driveControllers()), values);
    QVERIFY(second.windowTitle().startsWith(QFileInfo(file).fileName()));
    QVERIFY(!second.isWindowModified());
    // and the first axis is shown right away
    QVERIFY(second.parameterView()->axis());
    QCOMPARE(second.parameterView()->axis()->driveController(), second.project()->host()->driveControllers().first());
}

void MainWindowTest::saveOfANewProjectAsksForAFileName()
{
    // GIVEN a project made from a description (it has no file yet)
    MainWindow window(m_types.path());
    QVERIFY(window.openFile(m_description));
    QVERIFY(window.project()->filePath().isEmpty());
    QVERIFY(window.windowTitle().contains(QStringLiteral("Unbenannt")));

    // WHEN "Speichern" is chosen and a name without suffix is given
    const QString chosen = QDir(m_work.path()).filePath(QStringLiteral("chosen"));
    QString proposed;
    const auto asked = whenModalOpens<QFileDialog>([&](QFileDialog* dialog) {
        proposed = dialog->selectedFiles().value(0);
        dialog->selectFile(chosen);
        static_cast<QDialog*>(dialog)->accept();
    });
    action(window, "actionSave")->trigger();

    // THEN the dialog proposed a project file named after the description, and the project was saved with the suffix
    QVERIFY(asked->handled);
    QVERIFY2(proposed.endsWith(QStringLiteral("pruefstand.kxproj")), qPrintable(proposed));
    QCOMPARE(window.project()->filePath(), chosen + QStringLiteral(".kxproj"));
    QVERIFY(ProjectFile::isProjectFile(chosen + QStringLiteral(".kxproj")));

    // AND a second "Speichern" writes to that file without asking
    DriveController* controller = window.project()->host()->driveControllers().first();
    controller->axis(1)->setName(QStringLiteral("Anders"));
    QVERIFY(window.project()->isModified());
    const auto askedAgain = whenModalOpens<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    action(window, "actionSave")->trigger();
    QVERIFY(!askedAgain->handled);
    QVERIFY(!window.project()->isModified());
}

void MainWindowTest::fileThatCannotBeReadIsReportedAndTheProjectStays_data()
{
    QTest::addColumn<bool>("interactive");
    QTest::newRow("message box while interactive") << true;
    QTest::newRow("signal only while not interactive") << false;
}

void MainWindowTest::fileThatCannotBeReadIsReportedAndTheProjectStays()
{
    QFETCH(bool, interactive);

    // GIVEN a window with a project and a text file posing as a project
    MainWindow window(m_types.path());
    window.setInteractive(interactive);
    QVERIFY(window.openFile(m_description));
    const QString title = window.windowTitle();
    const QStringList rows = treeRows(window.projectTree());
    DriveControllerAxis* shown = window.parameterView()->axis();
    QVERIFY(shown);
    const QString bogus = AppTest::writeFile(QDir(m_work.path()), QStringLiteral("bogus.kxproj"), "no project\n");
    QSignalSpy problems(&window, &MainWindow::problemReported);

    // WHEN it is opened
    QString boxText;
    const auto boxShown = whenModalOpens<QMessageBox>([&](QMessageBox* box) {
        boxText = box->text();
        box->accept();
    });
    QVERIFY(!window.openFile(bogus));

    // THEN the reason names the file, and the project is still there as it was
    QCOMPARE(boxShown->handled, interactive);
    QCOMPARE(problems.count(), 1);
    const QString message = problems.first().first().toString();
    QVERIFY2(message.contains(QStringLiteral("bogus.kxproj")), qPrintable(message));
    if (interactive)
        QCOMPARE(boxText, message);
    QVERIFY(window.statusBar()->currentMessage().contains(QStringLiteral("bogus.kxproj")));
    QCOMPARE(window.windowTitle(), title);
    QCOMPARE(treeRows(window.projectTree()), rows);
    QCOMPARE(window.parameterView()->axis(), shown);
}

void MainWindowTest::addingAndRemovingControllersAndAxesUpdatesTheTree()
{
    MainWindow window(m_types.path());
    QVERIFY(window.openFile(m_description));
    ProjectTreeWidget* tree = window.projectTree();
    QSignalSpy changed(window.project()->host(), &ProjectHost::hostContentChanged);
    QCOMPARE(tree->topLevelItemCount(), 1);

    // WHEN a controller with two axes is added through the dialog
    const auto dialogShown = whenModalOpens<AddControllerDialog>([](AddControllerDialog* dialog) {
        auto* type = dialog->findChild<QComboBox*>(QStringLiteral("typeComboBox"));
        type->setCurrentIndex(type->findData(AppTest::testTypeName()));
        dialog->findChild<QLineEdit*>(QStringLiteral("nameLineEdit"))->setText(QStringLiteral("Förderband"));
        dialog->findChild<QSpinBox*>(QStringLiteral("axisCountSpinBox"))->setValue(2);
        dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"))->button(QDialogButtonBox::Ok)->click();
    });
    action(window, "actionAddController")->trigger();

    // THEN the host told once, and the tree shows it with its axes, the first axis shown
    QVERIFY(dialogShown->handled);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(tree->topLevelItemCount(), 2);
    QTreeWidgetItem* row = tree->topLevelItem(1);
    QCOMPARE(row->text(0), QStringLiteral("Förderband (RX-3 / 8 A)"));
    QCOMPARE(row->childCount(), 2);
    QCOMPARE(row->child(0)->text(0), QStringLiteral("Achse 1: Achse 1"));
    QCOMPARE(row->child(1)->text(0), QStringLiteral("Achse 2: Achse 2"));
    DriveController* added = window.project()->host()->driveControllers().at(1);
    QCOMPARE(window.parameterView()->axis(), added->axis(1));

    // WHEN an axis is added to it
    const auto nameAsked = whenModalOpens<QInputDialog>([](QInputDialog* dialog) {
        dialog->setTextValue(QStringLiteral("Spindel"));
        dialog->accept();
    });
    action(window, "actionAddAxis")->trigger();
    QVERIFY(nameAsked->handled);
    QCOMPARE(changed.count(), 2);
    row = tree->topLevelItem(1);
    QCOMPARE(row->childCount(), 3);
    QCOMPARE(row->child(2)->text(0), QStringLiteral("Achse 3: Spindel"));
    QCOMPARE(tree->currentAxis(), added->axis(3));
    // the type has three axes: no more can be added
    QVERIFY(!action(window, "actionAddAxis")->isEnabled());

    // WHEN the selected axis is removed (confirmed)
    const auto axisConfirmed = whenModalOpens<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
    action(window, "actionRemoveAxis")->trigger();
    QVERIFY(axisConfirmed->handled);
    QCOMPARE(changed.count(), 3);
    QCOMPARE(added->axisNumbers(), QList<int>({1, 2}));
    QVERIFY(action(window, "actionAddAxis")->isEnabled() || !tree->currentController());

    // WHEN the controller is removed (confirmed)
    QVERIFY(tree->selectAxis(added, 2));
    QCOMPARE(window.parameterView()->axis(), added->axis(2));
    const QPointer<DriveController> guard(added);
    const auto controllerConfirmed = whenModalOpens<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
    action(window, "actionRemoveController")->trigger();
    QVERIFY(controllerConfirmed->handled);

    // THEN it is gone everywhere
    QCOMPARE(changed.count(), 4);
    QVERIFY(guard.isNull());
    QCOMPARE(tree->topLevelItemCount(), 1);
    QCOMPARE(window.parameterView()->axis(), nullptr);
    QVERIFY(window.isWindowModified());
}

void MainWindowTest::languageSwitchChangesParameterNames()
{
    MainWindow window(m_types.path());
    window.setInteractive(false);
    QVERIFY(window.openFile(m_description));
    DriveController* controller = window.project()->host()->driveControllers().first();
    QVERIFY(window.projectTree()->selectAxis(controller, 1));
    ParameterView* view = window.parameterView();
    QCOMPARE(view->axis(), controller->axis(1));
    const ParameterCoordinate speed(QStringLiteral("A10"));
    const ParameterCoordinate plate(QStringLiteral("C30"));
    QVERIFY(view->item(speed));
    QVERIFY(view->item(plate, 1));
    QCOMPARE(view->item(speed)->text(ParameterView::ColumnName), QStringLiteral("Solldrehzahl"));

    // WHEN English is chosen from the menu
    action(window, "actionLanguage1")->trigger();

    // THEN names of parameters and elements are English, and the menu shows the choice
    QCOMPARE(LanguageManager::instance()->activeLanguage(), int(LanguageManager::English));
    QTRY_COMPARE(view->item(speed)->text(ParameterView::ColumnName), QStringLiteral("Speed setpoint"));
    QCOMPARE(view->item(plate, 1)->text(ParameterView::ColumnName), QStringLiteral("Rated current"));
    QVERIFY(action(window, "actionLanguage1")->isChecked());
    QVERIFY(!action(window, "actionLanguage0")->isChecked());

    QVERIFY(window.statusBar()->currentMessage().contains(QStringLiteral("English")));
}

void MainWindowTest::windowsAndDialogsRetranslate()
{
    // GIVEN the main window with its dialogs open
    MainWindow window(m_types.path());
    window.setInteractive(false);
    QVERIFY(window.openFile(m_description));
    DriveController* controller = window.project()->host()->driveControllers().first();
    AddControllerDialog addDialog(window.project()->typeLibrary(), QStringLiteral("Regler 2"), &window);
    CompareAxesDialog compareDialog(window.project()->host(), &window);
    const auto texts = [&] {
        return QStringList{window.findChild<QMenu*>(QStringLiteral("menuFile"))->title(),
                           window.findChild<QMenu*>(QStringLiteral("menuRecentProjects"))->title(),
                           window.projectTree()->axisItem(controller, 1)->text(0),
                           addDialog.windowTitle(),
                           addDialog.findChildren<QLabel*>().first()->text(),
                           compareDialog.findChildren<QGroupBox*>().first()->title(),
                           compareDialog.findChild<QComboBox*>(QStringLiteral("controllerComboBoxB"))->itemText(
                               compareDialog.findChild<QComboBox*>(QStringLiteral("controllerComboBoxB"))->count() - 1)};
    };
    const QStringList german = texts();
    QCOMPARE(german.at(2), QStringLiteral("Achse 1: Hubwerk"));

    // WHEN a catalogue is installed THEN every text follows; WHEN it goes THEN the German ones are back
    MarkingTranslator translator;
    QCoreApplication::installTranslator(&translator);
    QTRY_VERIFY(texts().filter(QStringLiteral("EN:")).size() == german.size());
    QCoreApplication::removeTranslator(&translator);
    QTRY_COMPARE(texts(), german);
}

void MainWindowTest::recentProjectsListTheLatestFilesFirst()
{
    // GIVEN nine project files saved one after the other, the fourth opened again afterwards
    MainWindow window(m_types.path());
    window.setInteractive(false);
    QVERIFY(window.openFile(m_description));
    QStringList saved;
    for (int i = 1; i <= 9; ++i) {
        saved.prepend(QDir(m_work.path()).filePath(QStringLiteral("zuletzt-%1.kxproj").arg(i)));
        QVERIFY(window.saveFile(saved.first()));
    }
    QVERIFY(window.openFile(saved.at(5)));
    QStringList expected = saved.mid(0, 9);
    expected.move(5, 0);
    expected = expected.mid(0, 8);

    // WHEN a new window shows the menu
    MainWindow second(m_types.path());
    second.setInteractive(false);
    auto* menu = second.findChild<QMenu*>(QStringLiteral("menuRecentProjects"));
    QVERIFY(second.findChild<QMenu*>(QStringLiteral("menuFile"))->actions().contains(menu->menuAction()));
    const auto entries = [menu] {
        QCoreApplication::processEvents();
        QList<QAction*> listed;
        for (QAction* each : menu->actions()) {
            if (each->data().isValid())
                listed << each;
        }
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

    // WHEN the list is emptied THEN only the disabled "Liste leeren" is left to choose
    second.findChild<QAction*>(QStringLiteral("actionClearRecentProjects"))->trigger();
    QVERIFY(entries().isEmpty());
    QVERIFY(!second.findChild<QAction*>(QStringLiteral("actionClearRecentProjects"))->isEnabled());
}

void MainWindowTest::closeQuestionSavesDiscardsOrStays_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("saveFails");
    QTest::addColumn<bool>("closes");
    QTest::newRow("Speichern") << int(QMessageBox::Save) << false << true;
    QTest::newRow("Verwerfen") << int(QMessageBox::Discard) << false << true;
    QTest::newRow("Abbrechen") << int(QMessageBox::Cancel) << false << false;
    QTest::newRow("Speichern misslingt") << int(QMessageBox::Save) << true << false;
}

void MainWindowTest::closeQuestionSavesDiscardsOrStays()
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
    DriveController* controller = window.project()->host()->driveControllers().first();
    QVERIFY(window.projectTree()->selectAxis(controller, 1));
    QVERIFY(window.parameterView()->item(ParameterCoordinate(QStringLiteral("A10"))));
    QVERIFY(controller->parameterProvider()->parameterSetup(ParameterCoordinate(QStringLiteral("A10")))
                ->setValueText(1, 0, QStringLiteral("777")));
    QVERIFY(window.isWindowModified());
    if (saveFails) {
        // a file where the folder was: nobody, root included, can write into it
        QVERIFY(QDir(QDir(dir.path()).filePath(QStringLiteral("ordner"))).removeRecursively());
        AppTest::writeFile(QDir(dir.path()), QStringLiteral("ordner"), "kein Ordner");
    }

    // WHEN the window is closed and the question answered
    QString question;
    std::unique_ptr<AppTest::ModalHandler> failure;
    const auto asked = whenModalOpens<QMessageBox>([&](QMessageBox* box) {
        question = box->text();
        if (saveFails)
            failure = whenModalOpens<QMessageBox>([](QMessageBox* problem) { problem->accept(); });
        box->button(QMessageBox::StandardButton(answer))->click();
    });
    const bool closed = window.close();

    // THEN the window closes only when the changes are saved or discarded
    QVERIFY(asked->handled);
    QVERIFY(question.contains(QStringLiteral("frage.kxproj")));
    QCOMPARE(closed, closes);
    QCOMPARE(window.isVisible(), !closes);
    QCOMPARE(window.isWindowModified(), answer != QMessageBox::Save || saveFails);
    if (saveFails)
        QVERIFY(failure && failure->handled);
    else
        QCOMPARE(KxTest::readFile(file) != stored, answer == QMessageBox::Save);
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
