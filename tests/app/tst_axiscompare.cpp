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
#include "ParameterSetup.h"
#include "Project.h"
#include "ProjectHost.h"
#include "ProjectTreeWidget.h"

#include <QAction>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QUrl>

using AppTest::whenModalOpens;

namespace {

const QString leftName = QStringLiteral("Prüfstand links");
const QString rightName = QStringLiteral("Prüfstand rechts");
const QString middleName = QStringLiteral("Prüfstand Mitte");

// Picks a side given as "controller/axis name", as a user reads it in the dialog.
void chooseInDialog(CompareAxesDialog* dialog, const QString& suffix, const QString& sideText)
{
    const struct { QString controller, axis; } side{sideText.section(QLatin1Char('/'), 0, 0), sideText.section(QLatin1Char('/'), 1)};
    auto* controllers = dialog->findChild<QComboBox*>(QStringLiteral("controllerComboBox") + suffix);
    auto* axes = dialog->findChild<QComboBox*>(QStringLiteral("axisComboBox") + suffix);
    for (int i = 0; i < controllers->count(); ++i) {
        if (controllers->itemText(i).startsWith(side.controller + QStringLiteral(" (")))
            controllers->setCurrentIndex(i);
    }
    for (int i = 0; i < axes->count(); ++i) {
        if (axes->itemText(i).endsWith(QStringLiteral(": ") + side.axis))
            axes->setCurrentIndex(i);
    }
}

QStringList axisCaptions(AxisCompareView* view)
{
    auto* tree = view->findChild<QTreeWidget*>(QStringLiteral("parameterTreeWidget"));
    QStringList captions;
    for (int column = 1; tree && column < tree->columnCount(); ++column)
        captions << tree->headerItem()->text(column);
    return captions;
}

DriveController* controllerNamed(MainWindow& window, const QString& name)
{
    for (DriveController* controller : window.project()->host()->driveControllers()) {
        if (controller->name() == name)
            return controller;
    }
    return nullptr;
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
    void initTestCase();
    void cleanupTestCase();

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
    std::unique_ptr<MainWindow> openThreeControllers();

    QTemporaryDir m_types;
    QTemporaryDir m_work;
    QString m_description;
    BrowserStandIn m_browser;
};

void AxisCompareTest::initTestCase()
{
    KxTest::initTestEnvironment();
    AppTest::ignoreOffscreenPlatformLimits();
    QVERIFY(m_types.isValid() && m_work.isValid());
    m_description = AppTest::writeTypesAndDescription(QDir(m_types.path()), QDir(m_work.path()));
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &m_browser, "open");
}

void AxisCompareTest::cleanupTestCase()
{
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
}

std::unique_ptr<MainWindow> AxisCompareTest::openThreeControllers()
{
    auto window = std::make_unique<MainWindow>(m_types.path());
    window->setInteractive(false);
    if (!window->openFile(m_description)
        || !window->project()->addController(AppTest::testTypeName(), rightName, 2)
        || !window->project()->addController(AppTest::testTypeName(), middleName, 2)) {
        QTest::qFail("cannot open the test project", __FILE__, __LINE__);
        return nullptr;
    }
    return window;
}

void AxisCompareTest::dialogComparesTheChosenAxes_data()
{
    QTest::addColumn<QString>("sideA");
    QTest::addColumn<QString>("sideB");
    QTest::addColumn<int>("verdict"); // 1 equal, 0 different, -1 cancelled
    QTest::newRow("two axes of one controller, values differ")
        << leftName + QStringLiteral("/Hubwerk") << leftName + QStringLiteral("/Drehtisch") << 0;
    QTest::newRow("axes of two controllers, defaults only")
        << rightName + QStringLiteral("/Achse 2") << middleName + QStringLiteral("/Achse 2") << 1;
    QTest::newRow("one axis on both sides")
        << leftName + QStringLiteral("/Drehtisch") << leftName + QStringLiteral("/Drehtisch") << 1;
    QTest::newRow("cancelled") << leftName + QStringLiteral("/Hubwerk") << rightName + QStringLiteral("/Achse 1") << -1;
}

void AxisCompareTest::dialogComparesTheChosenAxes()
{
    QFETCH(QString, sideA);
    QFETCH(QString, sideB);
    QFETCH(int, verdict);

    // GIVEN the application with three controllers, the last axis of the first one shown
    auto window = openThreeControllers();
    QVERIFY(window);
    window->projectTree()->selectAxis(controllerNamed(*window, leftName), 3);
    auto* action = window->findChild<QAction*>(QStringLiteral("actionCompareAxes"));
    QVERIFY(action && action->isEnabled());

    // WHEN the user opens the dialog, picks the two sides and compares (or cancels)
    QStringList offered;
    const auto picked = whenModalOpens<CompareAxesDialog>([&](CompareAxesDialog* dialog) {
        for (auto side : {CompareAxesDialog::SideA, CompareAxesDialog::SideB})
            offered << dialog->controller(side)->name() + QLatin1Char('/') + dialog->controller(side)->axisName(dialog->axisNumber(side));
        chooseInDialog(dialog, QStringLiteral("A"), sideA);
        chooseInDialog(dialog, QStringLiteral("B"), sideB);
        dialog->findChild<QDialogButtonBox*>()->button(verdict < 0 ? QDialogButtonBox::Cancel : QDialogButtonBox::Ok)->click();
    });
    action->trigger();

    // THEN the dialog offered the shown axis and the next one of the project
    QVERIFY(picked->handled);
    QCOMPARE(offered, (QStringList{leftName + QStringLiteral("/Drehtisch"), rightName + QStringLiteral("/Achse 1")}));
    // AND one comparison window over the main window compares exactly the chosen axes
    const QList<AxisCompareView*> views = window->findChildren<AxisCompareView*>();
    QCOMPARE(views.size(), verdict < 0 ? 0 : 1);
    if (verdict < 0)
        return;
    AxisCompareView* view = views.first();
    QVERIFY(view->isWindow() && view->isVisible() && view->testAttribute(Qt::WA_DeleteOnClose));
    QCOMPARE(view->axesAreEqual(), verdict == 1);
    const bool same = sideA == sideB;
    QCOMPARE(view->findChild<QLabel*>(QStringLiteral("axisAreEqual"))->isVisible(), same);
    const auto caption = [](QString side) { return side.replace(QLatin1Char('/'), QLatin1Char('\n')); };
    if (!same)
        QCOMPARE(axisCaptions(view), (QStringList{caption(sideA), caption(sideB)}));
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

    // GIVEN an open comparison of an axis of the first and one of the second controller
    auto window = openThreeControllers();
    QVERIFY(window);
    DriveController* left = controllerNamed(*window, leftName);
    DriveController* right = controllerNamed(*window, rightName);
    QPointer<AxisCompareView> view = window->compareAxes(left, 3, right, 1);
    QVERIFY(view && view->isVisible());
    QPointer<AxisCompareView> unrelated = window->compareAxes(controllerNamed(*window, middleName), 1,
                                                              controllerNamed(*window, middleName), 2);
    QVERIFY(unrelated);

    // WHEN one of its sides leaves the project
    if (leaving == QLatin1String("controller B"))
        QVERIFY(window->project()->removeController(right));
    else if (leaving == QLatin1String("axis A"))
        QVERIFY(window->project()->removeAxis(left, 3));
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

    // GIVEN another project file in which the Drehtisch axis has speed 2222 (1234.5 here)
    const QString otherFile = QDir(m_work.path()).filePath(QStringLiteral("anderer.kxproj"));
    {
        Project other(m_types.path());
        QVERIFY(other.open(m_description).opened);
        const QPointer<ParameterSetup> speed = other.host()->driveControllers().first()->parameterProvider()->parameterSetup(
            ParameterCoordinate(QStringLiteral("A10")));
        QVERIFY(speed && speed->setValueText(3, 0, QStringLiteral("2222")));
        QVERIFY(other.save(otherFile));
    }
    if (!readable)
        AppTest::writeFile(QDir(m_work.path()), QStringLiteral("anderer.kxproj"), "keine Projektdatei\n");
    // AND a saved, interactive main project
    auto window = openThreeControllers();
    QVERIFY(window && window->saveFile(QDir(m_work.path()).filePath(QStringLiteral("haupt.kxproj"))));
    window->setInteractive(true);
    DriveController* left = controllerNamed(*window, leftName);
    window->projectTree()->selectAxis(left, 3);
    const QStringList before = AppTest::snapshot(window->project()->host()->driveControllers());
    QSignalSpy problems(window.get(), &MainWindow::problemReported);

    // WHEN side B asks for another project file, gets it, and the comparison starts
    std::unique_ptr<AppTest::ModalHandler> fileChosen, problemShown, compared;
    QStringList offeredB;
    std::weak_ptr<Project> other;
    QPointer<DriveController> otherController;
    const auto chooseFile = whenModalOpens<CompareAxesDialog>([&](CompareAxesDialog* dialog) {
        fileChosen = whenModalOpens<QFileDialog>([&](QFileDialog* files) {
            files->selectFile(otherFile);
            static_cast<QDialog*>(files)->accept();
            if (!readable)
                problemShown = whenModalOpens<QMessageBox>([](QMessageBox* box) { box->accept(); });
            compared = whenModalOpens<CompareAxesDialog>([&](CompareAxesDialog* again) {
                auto* controllers = again->findChild<QComboBox*>(QStringLiteral("controllerComboBoxB"));
                for (int i = 0; i < controllers->count(); ++i)
                    offeredB << controllers->itemText(i);
                other = again->otherProject(CompareAxesDialog::SideB);
                otherController = again->controller(CompareAxesDialog::SideB);
                again->select(CompareAxesDialog::SideB, again->controller(CompareAxesDialog::SideB), 3);
                again->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
            }, [&] { return window->statusBar()->currentMessage().contains(QStringLiteral("anderer.kxproj")); });
        });
        auto* controllers = dialog->findChild<QComboBox*>(QStringLiteral("controllerComboBoxB"));
        controllers->setCurrentIndex(controllers->count() - 1);
    });
    window->findChild<QAction*>(QStringLiteral("actionCompareAxes"))->trigger();
    QVERIFY(chooseFile->handled && fileChosen && fileChosen->handled && compared && compared->handled);

    // THEN a file that cannot be read is reported, and the dialog still compares within the project
    const QString otherEntry = leftName + QStringLiteral(" (anderer.kxproj)");
    QCOMPARE(offeredB.contains(otherEntry), readable);
    QVERIFY(offeredB.last().startsWith(QStringLiteral("Andere Projektdatei")));
    QCOMPARE(problems.count(), readable ? 0 : 1);
    QPointer<AxisCompareView> view = window->findChild<AxisCompareView*>();
    QVERIFY(view);
    if (!readable) {
        QVERIFY(problemShown && problemShown->handled);
        QVERIFY(problems.first().first().toString().contains(QStringLiteral("anderer.kxproj")));
        QVERIFY(other.expired());
        QCOMPARE(otherController.data(), controllerNamed(*window, rightName));
        return;
    }
    // AND otherwise the window compares with the other file's read-only axis, naming both sides
    QVERIFY(!other.expired() && otherController && otherController->parameterProvider()->isReadOnly());
    QVERIFY(window->project()->host()->indexOf(otherController) < 0);
    QVERIFY(window->statusBar()->currentMessage().contains(view->windowTitle()));
    QVERIFY2(view->windowTitle().contains(QStringLiteral("A: ") + leftName)
                 && view->windowTitle().contains(QStringLiteral("B: ") + otherEntry),
             qPrintable(view->windowTitle()));
    QVERIFY(!view->axesAreEqual());
    bool speedRow = false;
    for (QTreeWidgetItemIterator it(view->findChild<QTreeWidget*>(QStringLiteral("parameterTreeWidget"))); *it; ++it)
        speedRow = speedRow || ((*it)->text(1).contains(QStringLiteral("1234")) && (*it)->text(2).contains(QStringLiteral("2222")));
    QVERIFY(speedRow);
    // AND the open project is neither changed nor modified
    QCOMPARE(AppTest::snapshot(window->project()->host()->driveControllers()), before);
    QVERIFY(!window->isWindowModified());

    // WHEN the comparison window closes THEN the other project goes with it
    view->close();
    QTRY_VERIFY(view.isNull() && other.expired() && otherController.isNull());
}

void AxisCompareTest::writtenReportCanBeOpenedInTheBrowser_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("written");
    QTest::newRow("report written") << QStringLiteral("vergleich.html") << true;
    QTest::newRow("file dialog cancelled") << QString() << false;
}

void AxisCompareTest::writtenReportCanBeOpenedInTheBrowser()
{
    QFETCH(QString, fileName);
    QFETCH(bool, written);
    m_browser.opened.clear();

    // GIVEN a comparison window of an interactive application
    auto window = openThreeControllers();
    QVERIFY(window);
    window->setInteractive(true);
    AxisCompareView* view = window->compareAxes(controllerNamed(*window, leftName), 1,
                                                controllerNamed(*window, leftName), 3);
    QVERIFY(view);
    const QString path = fileName.isEmpty() ? QString() : QDir(m_work.path()).filePath(fileName);
    if (!path.isEmpty())
        QFile::remove(path);

    // WHEN the report is exported and the offer to open it is taken
    const auto asked = whenModalOpens<QFileDialog>([&](QFileDialog* dialog) {
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    const auto offered = whenModalOpens<QMessageBox>([](QMessageBox* box) {
        for (QAbstractButton* button : box->buttons()) {
            if (button->text().remove(QLatin1Char('&')) == QStringLiteral("Im Browser öffnen"))
                button->click();
        }
    });
    view->findChild<QPushButton*>(QStringLiteral("exportToHtml"))->click();

    // THEN only a report that was written is offered, and the browser gets that file
    QVERIFY(asked->handled);
    QCOMPARE(offered->handled, written);
    QCOMPARE(QFile::exists(path), written);
    if (written) {
        QCOMPARE(m_browser.opened, QList<QUrl>{QUrl::fromLocalFile(path)});
        QVERIFY(window->statusBar()->currentMessage().contains(QStringLiteral("vergleich.html")));
    } else {
        QVERIFY(m_browser.opened.isEmpty());
    }
}

QTEST_MAIN(AxisCompareTest)
#include "tst_axiscompare.moc"
