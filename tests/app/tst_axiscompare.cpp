// "Achsen vergleichen ..." in the running application: the choice of the two
// sides, the comparison window, its life beside the project, and the offer to
// open a written report in the browser.
#include "AppTestSupport.h"
#include "TestSupport.h"

#include "AxisCompareView.h"
#include "CompareAxesDialog.h"
#include "DriveController.h"
#include "MainWindow.h"
#include "ParameterProvider.h"
#include "Project.h"
#include "ProjectHost.h"
#include "ProjectTreeWidget.h"

#include <QAction>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QUrl>

using KxTest::whenModal;

namespace {

const QString leftName = QStringLiteral("Prüfstand links");
const QString rightName = QStringLiteral("Prüfstand rechts");
const QString middleName = QStringLiteral("Prüfstand Mitte");

// Picks a side given as "controller\naxis name", as a user reads it in the dialog.
void chooseInDialog(CompareAxesDialog* dialog, const QString& suffix, const QString& side)
{
    auto* controllers = dialog->findChild<QComboBox*>(QStringLiteral("controllerComboBox") + suffix);
    controllers->setCurrentIndex(controllers->findText(side.section(QLatin1Char('\n'), 0, 0) + QStringLiteral(" ("),
                                                       Qt::MatchStartsWith));
    auto* axes = dialog->findChild<QComboBox*>(QStringLiteral("axisComboBox") + suffix);
    axes->setCurrentIndex(axes->findText(QStringLiteral(": ") + side.section(QLatin1Char('\n'), 1), Qt::MatchEndsWith));
}

} // namespace

// Stands in for the desktop's browser.
class BrowserStandIn : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened.append(url); }
};

class AxisCompareTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        KxTest::initTestEnvironment();
        AppTest::ignoreOffscreenPlatformLimits();
        QVERIFY(m_types.isValid() && m_work.isValid());
        m_description = AppTest::writeTypesAndDescription(QDir(m_types.path()), QDir(m_work.path()));
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &m_browser, "open");
    }
    void cleanupTestCase() { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    void cleanup() { KxTest::cancelModalHandlers(); }

    void dialogComparesTheChosenAxes_data();
    void dialogComparesTheChosenAxes();
    void comparisonClosesWhenASideLeavesTheProject_data();
    void comparisonClosesWhenASideLeavesTheProject();
    void axisOfAnotherProjectFileIsComparedReadOnly_data();
    void axisOfAnotherProjectFileIsComparedReadOnly();
    void writtenReportCanBeOpenedInTheBrowser_data();
    void writtenReportCanBeOpenedInTheBrowser();

private:
    // The test description (left: Hubwerk and Drehtisch, values changed on
    // Drehtisch) plus two controllers of the same type with defaults only.
    std::unique_ptr<MainWindow> openThreeControllers()
    {
        auto window = AppTest::openWindow(m_types.path(), m_description, {rightName, middleName});
        if (window)
            m_controllers = window->project()->host()->driveControllers();
        return window;
    }
    QString workFile(const char* name) const { return QDir(m_work.path()).filePath(QLatin1String(name)); }

    QTemporaryDir m_types;
    QTemporaryDir m_work;
    QString m_description;
    BrowserStandIn m_browser;
    QList<DriveController*> m_controllers; // left, right, middle
};

void AxisCompareTest::dialogComparesTheChosenAxes_data()
{
    QTest::addColumn<QString>("sideA");
    QTest::addColumn<QString>("sideB");
    QTest::addColumn<int>("verdict"); // 1 equal, 0 different, -1 cancelled
    QTest::newRow("two axes of one controller, values differ") << leftName + "\nHubwerk" << leftName + "\nDrehtisch" << 0;
    QTest::newRow("axes of two controllers, defaults only") << rightName + "\nAchse 2" << middleName + "\nAchse 2" << 1;
    QTest::newRow("one axis on both sides") << leftName + "\nDrehtisch" << leftName + "\nDrehtisch" << 1;
    QTest::newRow("cancelled") << leftName + "\nHubwerk" << rightName + "\nAchse 1" << -1;
}

void AxisCompareTest::dialogComparesTheChosenAxes()
{
    QFETCH(QString, sideA);
    QFETCH(QString, sideB);
    QFETCH(int, verdict);

    // GIVEN the application with three controllers, the last axis of the first one shown
    auto window = openThreeControllers();
    QVERIFY(window);
    window->projectTree()->selectAxis(m_controllers.at(0), 3);

    // WHEN the user opens the dialog, picks the two sides and compares (or cancels)
    QStringList offered;
    bool picked = false;
    whenModal<CompareAxesDialog>([&](CompareAxesDialog* dialog) {
        for (auto side : {CompareAxesDialog::SideA, CompareAxesDialog::SideB})
            offered << dialog->controller(side)->name() + QLatin1Char('\n') + dialog->controller(side)->axisName(dialog->axisNumber(side));
        chooseInDialog(dialog, QStringLiteral("A"), sideA);
        chooseInDialog(dialog, QStringLiteral("B"), sideB);
        dialog->findChild<QDialogButtonBox*>()->button(verdict < 0 ? QDialogButtonBox::Cancel : QDialogButtonBox::Ok)->click();
    }, &picked);
    window->findChild<QAction*>(QStringLiteral("actionCompareAxes"))->trigger();

    // THEN the dialog offered the shown axis and the next one of the project
    QVERIFY(picked);
    QCOMPARE(offered, (QStringList{leftName + "\nDrehtisch", rightName + "\nAchse 1"}));
    // AND one comparison window over the main window compares exactly the chosen axes
    const QList<AxisCompareView*> views = window->findChildren<AxisCompareView*>();
    QCOMPARE(views.size(), verdict < 0 ? 0 : 1);
    if (verdict < 0)
        return;
    AxisCompareView* view = views.first();
    QVERIFY(view->isWindow() && view->isVisible() && view->testAttribute(Qt::WA_DeleteOnClose));
    QCOMPARE(view->axesAreEqual(), verdict == 1);
    QCOMPARE(view->findChild<QLabel*>(QStringLiteral("axisAreEqual"))->isVisible(), sideA == sideB);
    if (sideA != sideB)
        QCOMPARE(AppTest::axisCaptions(view), (QStringList{sideA, sideB}));
}

void AxisCompareTest::comparisonClosesWhenASideLeavesTheProject_data()
{
    QTest::addColumn<QString>("leaving");
    QTest::newRow("controller of side B removed") << QStringLiteral("controller B");
    QTest::newRow("axis of side A removed") << QStringLiteral("axis A");
    QTest::newRow("other project opened") << QStringLiteral("project");
}

void AxisCompareTest::comparisonClosesWhenASideLeavesTheProject()
{
    QFETCH(QString, leaving);

    // GIVEN an open comparison of an axis of the first and one of the second controller, and one within the third
    auto window = openThreeControllers();
    QVERIFY(window);
    QPointer<AxisCompareView> view = window->compareAxes(m_controllers.at(0), 3, m_controllers.at(1), 1);
    QPointer<AxisCompareView> unrelated = window->compareAxes(m_controllers.at(2), 1, m_controllers.at(2), 2);
    QVERIFY(view && view->isVisible() && unrelated);

    // WHEN one of its sides leaves the project
    if (leaving == QLatin1String("controller B"))
        QVERIFY(window->project()->removeController(m_controllers.at(1)));
    else if (leaving == QLatin1String("axis A"))
        QVERIFY(window->project()->removeAxis(m_controllers.at(0), 3));
    else
        window->project()->newProject();

    // THEN that comparison window goes, and comparisons of other axes stay unless their project went
    QTRY_VERIFY(view.isNull());
    if (leaving == QLatin1String("project"))
        QTRY_VERIFY(unrelated.isNull());
    else
        QVERIFY(unrelated && unrelated->isVisible());
}

void AxisCompareTest::axisOfAnotherProjectFileIsComparedReadOnly_data()
{
    QTest::addColumn<bool>("readable");
    QTest::newRow("project file with the axis changed") << true;
    QTest::newRow("file that is no project") << false;
}

void AxisCompareTest::axisOfAnotherProjectFileIsComparedReadOnly()
{
    QFETCH(bool, readable);

    // GIVEN another project file in which the Drehtisch axis has speed 2222 (1234.5 here), or a file that is none
    const QString otherFile = workFile("anderer.kxproj");
    if (readable) {
        Project other(m_types.path());
        QVERIFY(other.open(m_description).opened);
        KxTest::writeValue(other.host()->driveControllers().first(), 3, QStringLiteral("A10=2222"));
        QVERIFY(other.save(otherFile));
    } else {
        AppTest::writeFile(QDir(m_work.path()), QStringLiteral("anderer.kxproj"), "keine Projektdatei\n");
    }
    // AND a saved, interactive main project
    auto window = openThreeControllers();
    QVERIFY(window && window->saveFile(workFile("haupt.kxproj")));
    window->setInteractive(true);
    window->projectTree()->selectAxis(m_controllers.at(0), 3);
    const QStringList before = AppTest::snapshot(m_controllers);
    QSignalSpy problems(window.get(), &MainWindow::problemReported);

    // WHEN side B asks for another project file, gets it, and the comparison starts with its axis 3
    KxTest::FileDialogRun run;
    QStringList offeredB;
    std::weak_ptr<Project> other;
    QPointer<DriveController> otherController;
    bool compared = false;
    whenModal<CompareAxesDialog>([&](CompareAxesDialog* dialog) {
        auto* controllers = dialog->findChild<QComboBox*>(QStringLiteral("controllerComboBoxB"));
        KxTest::answerFileDialog(&run, otherFile);
        controllers->setCurrentIndex(controllers->count() - 1);
        QVERIFY(QTest::qWaitFor([&] { return run.dialogSeen; }));
        for (int i = 0; i < controllers->count(); ++i)
            offeredB << controllers->itemText(i);
        other = dialog->otherProject(CompareAxesDialog::SideB);
        otherController = dialog->controller(CompareAxesDialog::SideB);
        dialog->select(CompareAxesDialog::SideB, otherController, 3);
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    }, &compared);
    window->findChild<QAction*>(QStringLiteral("actionCompareAxes"))->trigger();

    // THEN a file that cannot be read is reported, and the dialog still compares within the project
    QVERIFY(compared);
    const QString otherEntry = leftName + QStringLiteral(" (anderer.kxproj)");
    QCOMPARE(offeredB.contains(otherEntry), readable);
    QVERIFY(offeredB.last().startsWith(QStringLiteral("Andere Projektdatei")));
    QCOMPARE(run.messageSeen, !readable);
    QCOMPARE(problems.count(), readable ? 0 : 1);
    QPointer<AxisCompareView> view = window->findChild<AxisCompareView*>();
    QVERIFY(view);
    if (!readable) {
        QVERIFY(run.messageText.contains(QStringLiteral("anderer.kxproj")));
        QCOMPARE(otherController.data(), m_controllers.at(1));
        return;
    }
    // AND otherwise the window compares with the other file's read-only axis, naming both sides
    QVERIFY(!other.expired() && otherController && otherController->parameterProvider()->isReadOnly());
    QVERIFY(!m_controllers.contains(otherController) && window->project()->host()->indexOf(otherController) < 0);
    QVERIFY(window->statusBar()->currentMessage().contains(view->windowTitle()));
    QVERIFY2(view->windowTitle().contains(QStringLiteral("A: ") + leftName) && view->windowTitle().contains(QStringLiteral("B: ") + otherEntry),
             qPrintable(view->windowTitle()));
    QVERIFY(!view->axesAreEqual());
    const QList<QTreeWidgetItem*> rows = KxTest::treeRows(view->findChild<QTreeWidget*>(QStringLiteral("parameterTreeWidget")));
    QVERIFY(std::any_of(rows.begin(), rows.end(), [](QTreeWidgetItem* row) {
        return row->text(1).contains(QStringLiteral("1234")) && row->text(2).contains(QStringLiteral("2222"));
    }));
    // AND the open project is neither changed nor modified
    QCOMPARE(AppTest::snapshot(window->project()->host()->driveControllers()), before);
    QVERIFY(!window->isWindowModified());

    // WHEN the comparison window closes THEN the other project goes with it
    view->close();
    QTRY_VERIFY(view.isNull() && other.expired() && otherController.isNull());
}

void AxisCompareTest::writtenReportCanBeOpenedInTheBrowser_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("report written") << workFile("vergleich.html");
    QTest::newRow("file dialog cancelled") << QString();
}

void AxisCompareTest::writtenReportCanBeOpenedInTheBrowser()
{
    QFETCH(QString, path);
    m_browser.opened.clear();
    if (!path.isEmpty())
        QFile::remove(path);

    // GIVEN a comparison window of an interactive application
    auto window = openThreeControllers();
    QVERIFY(window);
    window->setInteractive(true);
    AxisCompareView* view = window->compareAxes(m_controllers.at(0), 1, m_controllers.at(0), 3);
    QVERIFY(view);

    // WHEN the report is exported and the offer to open it is taken
    bool asked = false, offered = false;
    whenModal<QFileDialog>([&](QFileDialog* dialog) {
        if (path.isEmpty())
            return;
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
        QMetaObject::invokeMethod(dialog, "accept");
    }, &asked);
    whenModal<QMessageBox>([](QMessageBox* box) {
        for (QAbstractButton* button : box->buttons()) {
            if (button->text().remove(QLatin1Char('&')) == QStringLiteral("Im Browser öffnen"))
                button->click();
        }
    }, &offered);
    view->findChild<QPushButton*>(QStringLiteral("exportToHtml"))->click();

    // THEN only a report that was written is offered, and the browser gets that file
    QVERIFY(asked);
    QCOMPARE(offered, !path.isEmpty());
    QCOMPARE(QFile::exists(path), !path.isEmpty());
    QCOMPARE(m_browser.opened, path.isEmpty() ? QList<QUrl>() : QList<QUrl>{QUrl::fromLocalFile(path)});
    if (!path.isEmpty())
        QVERIFY(window->statusBar()->currentMessage().contains(QStringLiteral("vergleich.html")));
}

QTEST_MAIN(AxisCompareTest)
#include "tst_axiscompare.moc"
