#include "ParameterCustomListWidget.h"

#include "ParameterCustomList.h"
#include "ParameterCustomListRepository.h"
#include "ParameterCustomListTreeWidget.h"
#include "SelectDeviceWidget.h"
#include "WindowsTestSupport.h"

#include "DefaultPathSetting.h"
#include "DriveControllerAxis.h"
#include "HelpWidget.h"
#include "LineEdit.h"
#include "ParameterPropertyList.h"
#include "TestSupport.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

using namespace WindowsTest;

using AxisList = QList<QPointer<DriveControllerAxis>>;

namespace {

// Remembers the texts the window hands to addEntry(), since the list itself
// would take a lower-case coordinate as well.
class RecordingList : public ParameterCustomList
{
public:
    void addEntry(QString parameter) override
    {
        added << parameter;
        ParameterCustomList::addEntry(parameter);
    }
    QStringList added;
};

} // namespace

class TestParameterCustomListWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void formHasTheLaidOutWidgets();
    void windowFloatsOverTheMainWindow();
    void titleFollowsTheListName();
    void addFieldRefusesKeystrokesThatCannotMatch_data();
    void addFieldRefusesKeystrokesThatCannotMatch();
    void committedCoordinateReachesTheListUpperCased_data();
    void committedCoordinateReachesTheListUpperCased();
    void menuButtonShowsTheMenu();
    void clearEmptiesTheListAtOnce();
    void deviceSelectionSetsTheAxesOnlyWhenAccepted_data();
    void deviceSelectionSetsTheAxesOnlyWhenAccepted();
    void listWithoutAxesAsksForDevicesWhenShown_data();
    void listWithoutAxesAsksForDevicesWhenShown();
    void statesSurviveCloseAndReopen();
    void absentBottomStateHidesTheBottomArea();
    void prepareSaveDataStoresTheGeometry();
    void exportWritesTheFileChosen_data();
    void exportWritesTheFileChosen();
    void importMergesTheFileChosen_data();
    void importMergesTheFileChosen();
    void findReturnsTheOpenWindowOfAList();
    void deletedListClosesItsWindow();

private:
    ParameterCustomList* createList(const QString& name, const AxisList& axes);
    // Shown like the repository view shows it: deleted when closed.
    ParameterCustomListWidget* openWindow(ParameterCustomList* list);
    QAction* menuAction(ParameterCustomListWidget* window, const QString& text) const;
    template<typename T>
    static T* child(QWidget* window, const char* name) { return window->findChild<T*>(QLatin1String(name)); }
    QString rememberedDirectory() const;

    std::unique_ptr<MainWindow> m_mainWindow;
    std::unique_ptr<Host> m_host;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestParameterCustomListWidget::initTestCase()
{
    KxTest::initTestEnvironment();
}

void TestParameterCustomListWidget::init()
{
    m_mainWindow = std::make_unique<MainWindow>();
    m_host = std::make_unique<Host>();
    ParameterCustomListRepository::instance().initialize(m_host.get());
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    // The file dialogs open where the last parameter selection file was.
    std::unique_ptr<DefaultPathSetting> setting(DefaultPathSetting::create(DefaultPathSetting::ParameterSelectionFiles));
    setting->rememberPath(m_dir->filePath(QStringLiteral("zuletzt.txt")));
}

void TestParameterCustomListWidget::cleanup()
{
    cancelModalHandlers();
    ParameterCustomListRepository::instance().clear();
    QTRY_VERIFY(m_mainWindow->widget()->findChildren<ParameterCustomListWidget*>().isEmpty());
    m_host.reset();
    m_mainWindow.reset();
    m_dir.reset();
}

ParameterCustomList* TestParameterCustomListWidget::createList(const QString& name, const AxisList& axes)
{
    auto* list = qobject_cast<ParameterCustomList*>(ParameterCustomListRepository::instance().createList());
    list->setName(name);
    list->setAxes(axes);
    QCoreApplication::processEvents();
    return list;
}

ParameterCustomListWidget* TestParameterCustomListWidget::openWindow(ParameterCustomList* list)
{
    auto* window = new ParameterCustomListWidget;
    window->setParameterCustomList(list);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    if (!QTest::qWaitForWindowExposed(window))
        QTest::qFail("the list window was not exposed", __FILE__, __LINE__);
    return window;
}

QAction* TestParameterCustomListWidget::menuAction(ParameterCustomListWidget* window, const QString& text) const
{
    auto* menu = window->findChild<QMenu*>();
    if (!menu)
        return nullptr;
    const QList<QAction*> actions = menu->actions();
    for (QAction* action : actions) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

QString TestParameterCustomListWidget::rememberedDirectory() const
{
    std::unique_ptr<DefaultPathSetting> setting(DefaultPathSetting::create(DefaultPathSetting::ParameterSelectionFiles));
    return setting->currentPath();
}

void TestParameterCustomListWidget::formHasTheLaidOutWidgets()
{
    // GIVEN a new window
    ParameterCustomListWidget window;

    // THEN the form holds the widgets by name, with their settings
    QCOMPARE(window.size(), QSize(726, 450));
    auto* outer = child<QVBoxLayout>(&window, "verticalLayout_2");
    QVERIFY(outer);
    QCOMPARE(window.layout(), outer);
    QCOMPARE(outer->spacing(), 2);
    QCOMPARE(outer->contentsMargins(), QMargins(2, 2, 2, 2));
    auto* inner = child<QVBoxLayout>(&window, "verticalLayout");
    QVERIFY(inner);
    QCOMPARE(inner->spacing(), 4);

    auto* splitterMain = child<QSplitter>(&window, "splitterMain");
    auto* tree = child<ParameterCustomListTreeWidget>(&window, "parameterTreeWidget");
    auto* bottomWidget = child<QWidget>(&window, "bottomWidget");
    QVERIFY(splitterMain && tree && bottomWidget);
    QCOMPARE(splitterMain->orientation(), Qt::Vertical);
    QVERIFY(!splitterMain->childrenCollapsible());
    QCOMPARE(splitterMain->widget(0), tree);
    QCOMPARE(splitterMain->widget(1), bottomWidget);
    QVERIFY(tree->alternatingRowColors());
    QCOMPARE(bottomWidget->minimumHeight(), 50);

    auto* bottomLayout = child<QVBoxLayout>(&window, "verticalLayout_3");
    auto* colorWidget = child<QWidget>(&window, "colorWidget");
    auto* splitterBottom = child<QSplitter>(&window, "splitterBottom");
    QVERIFY(bottomLayout && colorWidget && splitterBottom);
    QCOMPARE(bottomWidget->layout(), bottomLayout);
    QCOMPARE(bottomLayout->spacing(), 2);
    QCOMPARE(bottomLayout->contentsMargins(), QMargins());
    QCOMPARE(bottomLayout->stretch(bottomLayout->indexOf(splitterBottom)), 1);
    QCOMPARE(colorWidget->minimumSize(), QSize(0, 2));
    QCOMPARE(colorWidget->maximumSize(), QSize(16777215, 2));
    QCOMPARE(splitterBottom->orientation(), Qt::Horizontal);
    QVERIFY(!splitterBottom->childrenCollapsible());
    QCOMPARE(splitterBottom->widget(0), child<HelpWidget>(&window, "helpWidget"));
    QCOMPARE(splitterBottom->widget(1), child<ParameterPropertyList>(&window, "propertyWidget"));
    QVERIFY(splitterBottom->widget(0) && splitterBottom->widget(1));

    auto* frame = child<QFrame>(&window, "frame");
    QVERIFY(frame);
    QCOMPARE(frame->frameShape(), QFrame::HLine);
    QCOMPARE(frame->frameShadow(), QFrame::Sunken);

    auto* grid = child<QGridLayout>(&window, "gridLayout");
    QVERIFY(grid);
    QCOMPARE(grid->horizontalSpacing(), 3);
    QCOMPARE(grid->verticalSpacing(), 3);
    QCOMPARE(grid->contentsMargins().top(), 0);
    QCOMPARE(grid->contentsMargins().bottom(), 0);
    auto* label = child<QLabel>(&window, "parameterAddLabel");
    auto* edit = child<LineEdit>(&window, "parameterAddLineEdit");
    auto* buttons = child<QHBoxLayout>(&window, "horizontalLayout");
    QVERIFY(label && edit && buttons);
    QCOMPARE(grid->itemAtPosition(0, 0)->widget(), label);
    QCOMPARE(grid->itemAtPosition(0, 1)->widget(), edit);
    QCOMPARE(grid->itemAtPosition(0, 2)->layout(), buttons);
    QCOMPARE(label->text(), QStringLiteral("Parameter hinzufügen"));
    QVERIFY(edit->text().isEmpty());
    QCOMPARE(edit->placeholderText(), QStringLiteral("Koordinate eingeben"));

    auto* bottomButton = child<QPushButton>(&window, "bottomButton");
    auto* menuButton = child<QPushButton>(&window, "menuButton");
    QVERIFY(bottomButton && menuButton);
    QVERIFY(buttons->itemAt(0)->spacerItem());
    QCOMPARE(buttons->itemAt(0)->spacerItem()->sizeHint(), QSize(40, 20));
    QVERIFY(buttons->itemAt(0)->expandingDirections() & Qt::Horizontal);
    QCOMPARE(buttons->itemAt(1)->widget(), bottomButton);
    QCOMPARE(buttons->itemAt(2)->widget(), menuButton);
    QVERIFY(bottomButton->text().isEmpty());
    QCOMPARE(bottomButton->iconSize(), QSize(24, 24));
    QVERIFY(bottomButton->isCheckable());
    QVERIFY(bottomButton->isChecked());
    QCOMPARE(menuButton->text(), QStringLiteral("..."));
    QCOMPARE(menuButton->minimumHeight(), 32);
}

void TestParameterCustomListWidget::windowFloatsOverTheMainWindow()
{
    // GIVEN a new window
    ParameterCustomListWidget window;

    // THEN it is a dialog over the main window without context help, found by the help under its id
    QCOMPARE(window.parentWidget(), m_mainWindow->widget());
    QCOMPARE(window.windowType(), Qt::Dialog);
    QVERIFY(!(window.windowFlags() & Qt::WindowContextHelpButtonHint));
    QCOMPARE(window.property("HelpId").toString(), QStringLiteral("ParameterCustomList"));
    QVERIFY(window.listIdentifier().isEmpty());
}

void TestParameterCustomListWidget::titleFollowsTheListName()
{
    // GIVEN a window on a list
    ParameterCustomList* list = createList(QStringLiteral("Hubwerk"), {m_host->axis(0, 1)});
    ParameterCustomListWidget window;
    window.setParameterCustomList(list);
    QCOMPARE(window.windowTitle(), QStringLiteral("Variable Pararameterliste - Hubwerk"));
    QCOMPARE(window.listIdentifier(), list->identifier());

    // WHEN the list is renamed
    list->setName(QStringLiteral("Fahrwerk"));

    // THEN the title follows as soon as the list's notice arrives
    QTRY_COMPARE(window.windowTitle(), QStringLiteral("Variable Pararameterliste - Fahrwerk"));
}

void TestParameterCustomListWidget::addFieldRefusesKeystrokesThatCannotMatch_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");

    QTest::newRow("lower-case letter is taken") << QStringLiteral("a12") << QStringLiteral("a12");
    QTest::newRow("three digits are taken") << QStringLiteral("P105") << QStringLiteral("P105");
    QTest::newRow("fourth digit is refused") << QStringLiteral("A1234") << QStringLiteral("A123");
    QTest::newRow("leading digit is refused") << QStringLiteral("1A12") << QStringLiteral("A12");
    QTest::newRow("second letter is refused") << QStringLiteral("AB12") << QStringLiteral("A12");
    QTest::newRow("five-digit element is taken") << QStringLiteral("A12[65535]") << QStringLiteral("A12[65535]");
    QTest::newRow("sixth element digit is refused") << QStringLiteral("A12[123456]") << QStringLiteral("A12[12345]");
    QTest::newRow("letter in the element is refused") << QStringLiteral("A12[x3]") << QStringLiteral("A12[3]");
    QTest::newRow("nothing after the bracket") << QStringLiteral("A12[3]4") << QStringLiteral("A12[3]");
}

void TestParameterCustomListWidget::addFieldRefusesKeystrokesThatCannotMatch()
{
    QFETCH(QString, typed);
    QFETCH(QString, expected);

    // GIVEN a window on a list
    ParameterCustomListWidget window;
    window.setParameterCustomList(createList(QStringLiteral("Eingabe"), {m_host->axis(0, 1)}));
    auto* edit = child<LineEdit>(&window, "parameterAddLineEdit");

    // WHEN the user types
    QTest::keyClicks(edit, typed);

    // THEN keystrokes that cannot lead to a coordinate are refused as they are typed
    QCOMPARE(edit->text(), expected);
}

void TestParameterCustomListWidget::committedCoordinateReachesTheListUpperCased_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("added");
    QTest::addColumn<QByteArray>("exported");
    QTest::addColumn<int>("rows");

    QTest::newRow("whole parameter") << QStringLiteral("c05") << QStringLiteral("C05") << QByteArray("C05\r\n") << 1;
    QTest::newRow("one element") << QStringLiteral("a12[3]") << QStringLiteral("A12[3]") << QByteArray("A12[3]\r\n") << 1;
    QTest::newRow("incomplete text adds nothing") << QStringLiteral("a1") << QStringLiteral("A1") << QByteArray() << 0;
}

void TestParameterCustomListWidget::committedCoordinateReachesTheListUpperCased()
{
    QFETCH(QString, typed);
    QFETCH(QString, added);
    QFETCH(QByteArray, exported);
    QFETCH(int, rows);

    // GIVEN a window on an empty list of the first controller's axes
    RecordingList list;
    list.setAxes({m_host->axis(0, 1), m_host->axis(0, 2)});
    ParameterCustomListWidget window;
    window.setParameterCustomList(&list);
    auto* edit = child<LineEdit>(&window, "parameterAddLineEdit");
    auto* tree = child<ParameterCustomListTreeWidget>(&window, "parameterTreeWidget");

    // WHEN the user types in lower case and presses Enter
    QTest::keyClicks(edit, typed);
    QTest::keyClick(edit, Qt::Key_Return);
    QCoreApplication::processEvents();

    // THEN the list is handed the text in upper case, holds what it made of it, and the tree shows it
    QCOMPARE(list.added, QStringList{added});
    QCOMPARE(list.exportText(), exported);
    QTRY_COMPARE(tree->topLevelItemCount(), rows);
}

void TestParameterCustomListWidget::menuButtonShowsTheMenu()
{
    // GIVEN a shown window
    ParameterCustomListWidget* window = openWindow(createList(QStringLiteral("Menü"), {m_host->axis(0, 1)}));
    auto* menu = window->findChild<QMenu*>();
    QVERIFY(menu);

    // THEN its menu offers the commands in order, without shortcuts
    const QList<QAction*> actions = menu->actions();
    QStringList texts;
    for (QAction* action : actions) {
        texts << (action->isSeparator() ? QStringLiteral("--") : action->text());
        QVERIFY(action->shortcut().isEmpty());
    }
    QCOMPARE(texts, (QStringList{QStringLiteral("Antriebsregler auswählen ..."), QStringLiteral("--"),
                                 QStringLiteral("Liste leeren"), QStringLiteral("--"),
                                 QStringLiteral("Exportieren ..."), QStringLiteral("Importieren ...")}));

    // WHEN the user clicks the menu button
    expectPopupWarnings();
    QTest::mouseClick(child<QPushButton>(window, "menuButton"), Qt::LeftButton);

    // THEN the menu pops up
    QTRY_COMPARE(QApplication::activePopupWidget(), menu);
    menu->close();
}

void TestParameterCustomListWidget::clearEmptiesTheListAtOnce()
{
    // GIVEN a window on a list with two parameters
    ParameterCustomList* list = createList(QStringLiteral("Voll"), {m_host->axis(0, 1)});
    list->addEntry(QStringLiteral("A10"));
    list->addEntry(QStringLiteral("C05"));
    ParameterCustomListWidget* window = openWindow(list);
    auto* tree = child<ParameterCustomListTreeWidget>(window, "parameterTreeWidget");
    QTRY_COMPARE(tree->topLevelItemCount(), 2);

    // WHEN the user chooses "Liste leeren"
    menuAction(window, QStringLiteral("Liste leeren"))->trigger();

    // THEN the entries are gone without a question, and the axes stay
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QVERIFY(list->entries().isEmpty());
    QCOMPARE(list->axes(), AxisList{m_host->axis(0, 1)});
    QTRY_COMPARE(tree->topLevelItemCount(), 0);
}

void TestParameterCustomListWidget::deviceSelectionSetsTheAxesOnlyWhenAccepted_data()
{
    QTest::addColumn<bool>("accept");

    QTest::newRow("OK takes the checked axes") << true;
    QTest::newRow("Cancel keeps the axes") << false;
}

void TestParameterCustomListWidget::deviceSelectionSetsTheAxesOnlyWhenAccepted()
{
    QFETCH(bool, accept);

    // GIVEN a window on a list of the second axis of the first controller
    ParameterCustomList* list = createList(QStringLiteral("Achsen"), {m_host->axis(0, 2)});
    ParameterCustomListWidget* window = openWindow(list);
    auto* tree = child<ParameterCustomListTreeWidget>(window, "parameterTreeWidget");
    QCOMPARE(tree->columnCount(), 2);

    // WHEN the user chooses the devices, finds the list's axis checked,
    // checks the pump's axis and leaves the dialog
    QStringList checkedAtStart;
    whenModal<QDialog>([&](QDialog* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Antriebsregler auswählen"));
        auto* deviceTree = dialog->findChild<QTreeWidget*>();
        QVERIFY(deviceTree);
        const QList<QTreeWidgetItem*> rows = deviceTree->findItems(QStringLiteral("*"), Qt::MatchWildcard | Qt::MatchRecursive);
        for (QTreeWidgetItem* row : rows) {
            if (row->checkState(0) == Qt::Checked)
                checkedAtStart << row->text(0);
            if (row->text(0) == QLatin1String("Pumpenantrieb"))
                row->setCheckState(0, Qt::Checked);
        }
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        buttons->button(accept ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
    });
    menuAction(window, QStringLiteral("Antriebsregler auswählen ..."))->trigger();
    QCoreApplication::processEvents();

    // THEN the axes change only when accepted, in tree order, and the dialog is gone
    QCOMPARE(checkedAtStart, QStringList{QStringLiteral("Fahrachse")});
    const AxisList expected = accept ? AxisList{m_host->axis(0, 2), m_host->axis(1, 1)} : AxisList{m_host->axis(0, 2)};
    QCOMPARE(list->axes(), expected);
    QTRY_COMPARE(tree->columnCount(), expected.size() + 1);
    QVERIFY(window->findChildren<SelectDeviceWidget*>().isEmpty());
    QVERIFY(m_mainWindow->widget()->findChildren<QDialog*>().isEmpty());
}

void TestParameterCustomListWidget::listWithoutAxesAsksForDevicesWhenShown_data()
{
    QTest::addColumn<bool>("accept");
    QTest::addColumn<int>("columns");

    QTest::newRow("cancelled: only the parameter column") << false << 1;
    QTest::newRow("accepted: one column per axis") << true << 3;
}

void TestParameterCustomListWidget::listWithoutAxesAsksForDevicesWhenShown()
{
    QFETCH(bool, accept);
    QFETCH(int, columns);

    // GIVEN a new list without axes
    ParameterCustomList* list = createList(QStringLiteral("Neu"), {});
    auto* window = new ParameterCustomListWidget;
    window->setParameterCustomList(list);
    window->setAttribute(Qt::WA_DeleteOnClose);

    // WHEN its window is shown, and the user answers the device selection
    bool windowWasVisible = false;
    bool seen = false;
    whenModal<QDialog>([&](QDialog* dialog) {
        windowWasVisible = window->isVisible();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Antriebsregler auswählen"));
        if (accept) {
            auto* deviceTree = dialog->findChild<QTreeWidget*>();
            deviceTree->findItems(QStringLiteral("Hubachse"), Qt::MatchExactly | Qt::MatchRecursive).first()->setCheckState(0, Qt::Checked);
            deviceTree->findItems(QStringLiteral("Pumpenantrieb"), Qt::MatchExactly | Qt::MatchRecursive).first()->setCheckState(0, Qt::Checked);
        }
        dialog->findChild<QDialogButtonBox*>()->button(accept ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
    }, &seen);
    window->show();

    // THEN the selection opens right after the window became visible, and the columns follow the answer
    QTRY_VERIFY(seen);
    QVERIFY(windowWasVisible);
    auto* tree = child<ParameterCustomListTreeWidget>(window, "parameterTreeWidget");
    QTRY_COMPARE(tree->columnCount(), columns);
    QCOMPARE(list->axes().size(), columns - 1);
}

void TestParameterCustomListWidget::statesSurviveCloseAndReopen()
{
    // GIVEN a shown window on a list that never stored its bottom area
    ParameterCustomList* list = createList(QStringLiteral("Zustand"), {m_host->axis(0, 1), m_host->axis(0, 2)});
    QPointer<ParameterCustomListWidget> window = openWindow(list);
    auto* bottomButton = child<QPushButton>(window, "bottomButton");
    auto* bottomWidget = child<QWidget>(window, "bottomWidget");
    QVERIFY(!bottomButton->isChecked());
    QVERIFY(!bottomWidget->isVisible());

    // WHEN the user shows the bottom area, sizes the window and the splitters, and closes it
    QTest::mouseClick(bottomButton, Qt::LeftButton);
    QVERIFY(bottomButton->isChecked());
    QVERIFY(bottomWidget->isVisible());
    window->resize(640, 380);
    auto* splitterMain = child<QSplitter>(window, "splitterMain");
    auto* splitterBottom = child<QSplitter>(window, "splitterBottom");
    splitterMain->setSizes({200, 120});
    splitterBottom->setSizes({400, 200});
    QCoreApplication::processEvents();
    const QList<int> mainSizes = splitterMain->sizes();
    const QList<int> bottomSizes = splitterBottom->sizes();
    window->close();
    QTRY_VERIFY(!window);

    // THEN the list holds the states
    QCOMPARE(list->state("BottomVisible"), QByteArray("1"));
    QVERIFY(!list->state("Window").isEmpty());
    QVERIFY(!list->state("SplitterMain").isEmpty());
    QVERIFY(!list->state("SplitterBottom").isEmpty());
    QVERIFY(ParameterCustomListWidget::find(list->identifier()) == nullptr);

    // AND a new window restores them
    window = openWindow(list);
    QVERIFY(child<QPushButton>(window, "bottomButton")->isChecked());
    QVERIFY(child<QWidget>(window, "bottomWidget")->isVisible());
    QCOMPARE(window->size(), QSize(640, 380));
    QCOMPARE(child<QSplitter>(window, "splitterMain")->sizes(), mainSizes);
    QCOMPARE(child<QSplitter>(window, "splitterBottom")->sizes(), bottomSizes);

    // WHEN the user hides the bottom area again and closes the window
    QTest::mouseClick(child<QPushButton>(window, "bottomButton"), Qt::LeftButton);
    window->close();
    QTRY_VERIFY(!window);

    // THEN the next window opens with it hidden
    QCOMPARE(list->state("BottomVisible"), QByteArray("0"));
    window = openWindow(list);
    QVERIFY(!child<QPushButton>(window, "bottomButton")->isChecked());
    QVERIFY(!child<QWidget>(window, "bottomWidget")->isVisible());
}

void TestParameterCustomListWidget::absentBottomStateHidesTheBottomArea()
{
    // GIVEN lists whose stored bottom state is absent, "1", or something else
    const QList<QByteArray> states = {QByteArray(), QByteArray("1"), QByteArray("true")};
    for (const QByteArray& state : states) {
        ParameterCustomList* list = createList(QString::fromLatin1(state), {m_host->axis(0, 1)});
        if (!state.isNull())
            list->setState("BottomVisible", state);

        // WHEN its window is shown
        ParameterCustomListWidget* window = openWindow(list);

        // THEN only exactly "1" shows the bottom area
        const bool shown = state == "1";
        QCOMPARE(child<QPushButton>(window, "bottomButton")->isChecked(), shown);
        QCOMPARE(child<QWidget>(window, "bottomWidget")->isVisible(), shown);
        window->close();
    }
}

void TestParameterCustomListWidget::prepareSaveDataStoresTheGeometry()
{
    // GIVEN an open window that the user resized
    ParameterCustomList* list = createList(QStringLiteral("Speichern"), {m_host->axis(0, 1)});
    ParameterCustomListWidget* window = openWindow(list);
    window->resize(500, 300);
    QVERIFY(list->state("Window").isEmpty());

    // WHEN the project is saved while it is open
    list->saveData();

    // THEN the list carries the window's current geometry
    QCOMPARE(list->state("Window"), window->saveGeometry());
}

void TestParameterCustomListWidget::exportWritesTheFileChosen_data()
{
    QTest::addColumn<QString>("target");   // relative to the temporary directory; empty = cancel
    QTest::addColumn<bool>("writable");

    QTest::newRow("written") << QStringLiteral("ausgabe/Antrieb.txt") << true;
    QTest::newRow("unwritable") << QStringLiteral("keinOrdner/Antrieb.txt") << false;
    QTest::newRow("cancelled") << QString() << false;
}

void TestParameterCustomListWidget::exportWritesTheFileChosen()
{
    QFETCH(QString, target);
    QFETCH(bool, writable);

    // GIVEN a window on a list with a whole parameter and one element of another
    ParameterCustomList* list = createList(QStringLiteral("Export"), {m_host->axis(0, 1)});
    list->addEntry(QStringLiteral("C05"));
    list->addEntry(QStringLiteral("A12[4]"));
    ParameterCustomListWidget* window = openWindow(list);
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("ausgabe")));
    // A regular file where a directory is expected: not writable, not even for root.
    QFile blocker(m_dir->filePath(QStringLiteral("keinOrdner")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString fileName = target.isEmpty() ? QString() : m_dir->filePath(target);

    // WHEN the user exports, is offered the list's name in the remembered
    // directory, and chooses a file or cancels
    QString caption;
    QString proposal;
    QStringList filters;
    QString messageTitle;
    QString messageText;
    QMessageBox::StandardButtons messageButtons;
    bool dialogSeen = false;
    bool messageSeen = false;
    whenModal<QFileDialog>([&](QFileDialog* dialog) {
        caption = dialog->windowTitle();
        proposal = proposedFile(dialog);
        filters = dialog->nameFilters();
        if (fileName.isEmpty()) {
            dialog->reject();
            return;
        }
        whenModal<QMessageBox>([&](QMessageBox* box) {
            QCOMPARE(box->parentWidget(), window);
            QCOMPARE(box->icon(), QMessageBox::Critical);
            messageTitle = box->windowTitle();
            messageText = box->text();
            messageButtons = box->standardButtons();
            box->button(QMessageBox::Ok)->click();
        }, &messageSeen, 1000);
        acceptFileDialog(dialog, fileName);
    }, &dialogSeen);
    menuAction(window, QStringLiteral("Exportieren ..."))->trigger();
    QVERIFY(dialogSeen);

    // THEN the file holds the list's text, or the user is told, and the remembered directory follows only a success
    QCOMPARE(caption, QStringLiteral("Parameterzusammenstellung exportieren"));
    QCOMPARE(proposal, m_dir->filePath(QStringLiteral("Export.txt")));
    QCOMPARE(filters, QStringList{QStringLiteral("Textdateien (*.txt)")});
    if (writable) {
        QVERIFY(!messageSeen);
        QCOMPARE(KxTest::readFile(fileName), QByteArray("A12[4]\r\nC05\r\n"));
        QCOMPARE(rememberedDirectory(), QFileInfo(fileName).absolutePath());
    } else {
        QCOMPARE(messageSeen, !fileName.isEmpty());
        if (messageSeen) {
            QCOMPARE(messageTitle, QStringLiteral("Parameterzusammenstellung exportieren"));
            QCOMPARE(messageText, QStringLiteral("Die Datei %1 kann nicht geschrieben werden").arg(fileName));
            QCOMPARE(messageButtons, QMessageBox::StandardButtons(QMessageBox::Ok));
        }
        QCOMPARE(rememberedDirectory(), m_dir->path());
    }
    QCOMPARE(list->exportText(), QByteArray("A12[4]\r\nC05\r\n"));
}

void TestParameterCustomListWidget::importMergesTheFileChosen_data()
{
    QTest::addColumn<QString>("source");   // empty = cancel
    QTest::addColumn<bool>("readable");

    QTest::newRow("read") << QStringLiteral("auswahl.txt") << true;
    QTest::newRow("unreadable") << QStringLiteral("gesperrt.txt") << false;
    QTest::newRow("cancelled") << QString() << false;
}

void TestParameterCustomListWidget::importMergesTheFileChosen()
{
    QFETCH(QString, source);
    QFETCH(bool, readable);

    // GIVEN a window on a list holding one parameter, and a file naming two others
    ParameterCustomList* list = createList(QStringLiteral("Import"), {m_host->axis(0, 1)});
    list->addEntry(QStringLiteral("A10"));
    ParameterCustomListWidget* window = openWindow(list);
    const QString fileName = source.isEmpty() ? QString() : m_dir->filePath(source);
    if (readable) {
        QFile file(fileName);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("C05\r\nA12[1/3]\r\n");
    } else if (!fileName.isEmpty()) {
        QVERIFY(makeUnreadableFile(fileName));
    }

    // WHEN the user imports and chooses the file, or cancels
    QString caption;
    QString directory;
    QStringList filters;
    QString messageTitle;
    QString messageText;
    bool dialogSeen = false;
    bool messageSeen = false;
    whenModal<QFileDialog>([&](QFileDialog* dialog) {
        caption = dialog->windowTitle();
        directory = dialog->directory().absolutePath();
        filters = dialog->nameFilters();
        if (fileName.isEmpty()) {
            dialog->reject();
            return;
        }
        whenModal<QMessageBox>([&](QMessageBox* box) {
            QCOMPARE(box->parentWidget(), window);
            QCOMPARE(box->icon(), QMessageBox::Critical);
            messageTitle = box->windowTitle();
            messageText = box->text();
            box->button(QMessageBox::Ok)->click();
        }, &messageSeen, 1000);
        acceptFileDialog(dialog, fileName);
    }, &dialogSeen);
    menuAction(window, QStringLiteral("Importieren ..."))->trigger();
    QVERIFY(dialogSeen);
    QCoreApplication::processEvents();

    // THEN the list gains the file's parameters, or the user is told and the list stays as it was
    QCOMPARE(caption, QStringLiteral("Parameterzusammenstellung importieren"));
    QCOMPARE(directory, m_dir->path());
    QCOMPARE(filters, QStringList{QStringLiteral("Textdateien (*.txt)")});
    if (readable) {
        QVERIFY(!messageSeen);
        QCOMPARE(sortedElements(list->exportText()), QByteArray("A10\r\nA12[1/3]\r\nC05\r\n"));
        auto* tree = child<ParameterCustomListTreeWidget>(window, "parameterTreeWidget");
        QTRY_COMPARE(tree->topLevelItemCount(), 3);
        QCOMPARE(rememberedDirectory(), m_dir->path());
    } else {
        QCOMPARE(messageSeen, !fileName.isEmpty());
        if (messageSeen) {
            QCOMPARE(messageTitle, QStringLiteral("Parameterzusammenstellung importieren"));
            QCOMPARE(messageText, QStringLiteral("Die Datei %1 kann nicht geöffnet werden").arg(fileName));
        }
        QCOMPARE(list->exportText(), QByteArray("A10\r\n"));
    }
}

void TestParameterCustomListWidget::findReturnsTheOpenWindowOfAList()
{
    // GIVEN two lists, each in its window
    ParameterCustomList* first = createList(QStringLiteral("Erste"), {m_host->axis(0, 1)});
    ParameterCustomList* second = createList(QStringLiteral("Zweite"), {m_host->axis(1, 1)});
    QPointer<ParameterCustomListWidget> firstWindow = openWindow(first);
    ParameterCustomListWidget* secondWindow = openWindow(second);

    // THEN each is found by its list's identifier, an unknown identifier finds none
    QCOMPARE(ParameterCustomListWidget::find(first->identifier()), firstWindow.data());
    QCOMPARE(ParameterCustomListWidget::find(second->identifier()), secondWindow);
    QVERIFY(ParameterCustomListWidget::find(QStringLiteral("{00000000-0000-0000-0000-000000000000}")) == nullptr);

    // WHEN the first window is closed
    firstWindow->close();
    QTRY_VERIFY(!firstWindow);

    // THEN it is no longer found, the other still is
    QVERIFY(ParameterCustomListWidget::find(first->identifier()) == nullptr);
    QCOMPARE(ParameterCustomListWidget::find(second->identifier()), secondWindow);
}

void TestParameterCustomListWidget::deletedListClosesItsWindow()
{
    // GIVEN a window on a list
    ParameterCustomList* list = createList(QStringLiteral("Weg"), {m_host->axis(0, 1)});
    const QString identifier = list->identifier();
    QPointer<ParameterCustomListWidget> window = openWindow(list);

    // WHEN the repository deletes the list
    ParameterCustomListRepository::instance().deleteList(list);

    // THEN the window closes and goes away
    QVERIFY(!window->isVisible());
    QTRY_VERIFY(!window);
    QVERIFY(ParameterCustomListWidget::find(identifier) == nullptr);
}

QTEST_MAIN(TestParameterCustomListWidget)
#include "tst_parametercustomlistwidget.moc"
