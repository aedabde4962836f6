#include "ParameterCustomListWidget.h"

#include "ParameterCustomList.h"
#include "ParameterCustomListRepository.h"
#include "ParameterCustomListTreeWidget.h"
#include "ListTestSupport.h"

#include "DefaultPathSetting.h"
#include "DriveControllerAxis.h"
#include "LineEdit.h"
#include "TestSupport.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace KxTest;
using AxisList = QList<QPointer<DriveControllerAxis>>;

namespace {

// Remembers what the window hands to addEntry(): the list itself would take
// a lower-case coordinate as well.
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
    void initTestCase() { KxTest::initTestEnvironment(); }
    void init();
    void cleanup();

    void addField_data();
    void addField();
    void menuOffersItsCommandsAndClears();
    void deviceSelection_data();
    void deviceSelection();
    void statesSurviveCloseAndReopen();
    void exportToFile_data();
    void exportToFile();
    void importFromFile_data();
    void importFromFile();
    void windowFollowsItsList();

private:
    ParameterCustomList* createList(const QString& name, const AxisList& axes);
    // Opened as the repository view opens it: deleted when closed.
    ParameterCustomListWidget* open(ParameterCustomList* list, bool show = true);
    QAction* menuAction(ParameterCustomListWidget* window, const QString& text) const;
    template<typename T>
    static T* child(QWidget* window, const char* name) { return window->findChild<T*>(QLatin1String(name)); }

    std::unique_ptr<MainWindow> m_mainWindow;
    std::unique_ptr<Host> m_host;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestParameterCustomListWidget::init()
{
    m_mainWindow = std::make_unique<MainWindow>();
    m_host = std::make_unique<Host>(project("lift"));
    ParameterCustomListRepository::instance().initialize(m_host.get());
    m_dir = std::make_unique<QTemporaryDir>();
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

ParameterCustomListWidget* TestParameterCustomListWidget::open(ParameterCustomList* list, bool show)
{
    auto* window = new ParameterCustomListWidget;
    window->setParameterCustomList(list);
    window->setAttribute(Qt::WA_DeleteOnClose);
    if (show) {
        window->show();
        if (!QTest::qWaitForWindowExposed(window))
            QTest::qFail("list window not exposed", __FILE__, __LINE__);
    }
    return window;
}

QAction* TestParameterCustomListWidget::menuAction(ParameterCustomListWidget* window, const QString& text) const
{
    const QList<QAction*> actions = window->findChild<QMenu*>()->actions();
    for (QAction* action : actions) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

static QString suggestedPath()
{
    return std::unique_ptr<DefaultPathSetting>(DefaultPathSetting::create(DefaultPathSetting::ParameterSelectionFiles))->suggestedPath();
}

void TestParameterCustomListWidget::addField_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QByteArray>("listText");   // null: the list's own business

    QTest::newRow("lower case reaches the list upper-cased") << QStringLiteral("c05") << QStringLiteral("c05") << QByteArray("C05\r\n");
    QTest::newRow("incomplete text adds nothing") << QStringLiteral("a1") << QStringLiteral("a1") << QByteArray("");
    QTest::newRow("fourth digit refused") << QStringLiteral("A1234") << QStringLiteral("A123") << QByteArray();
    QTest::newRow("leading digit refused") << QStringLiteral("1A10") << QStringLiteral("A10") << QByteArray("A10\r\n");
    QTest::newRow("sixth element digit refused") << QStringLiteral("A12[123456]") << QStringLiteral("A12[12345]") << QByteArray();
}

void TestParameterCustomListWidget::addField()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QByteArray, listText);

    // GIVEN a window on an empty list of the first controller's axes
    RecordingList list;
    list.setAxes({m_host->axis(0, 1), m_host->axis(0, 2)});
    ParameterCustomListWidget window;
    window.setParameterCustomList(&list);
    auto* edit = child<LineEdit>(&window, "parameterAddLineEdit");

    // WHEN the user types and presses Enter
    QTest::keyClicks(edit, typed);
    QTest::keyClick(edit, Qt::Key_Return);

    // THEN keystrokes that cannot lead to a coordinate were refused, the text
    // reaches the list in upper case, and the tree shows what the list made of it
    QCOMPARE(edit->text(), shown);
    QCOMPARE(list.added, QStringList{shown.toUpper()});
    if (!listText.isNull()) {
        QCOMPARE(list.exportText(), listText);
        QTRY_COMPARE(child<QTreeWidget>(&window, "parameterTreeWidget")->topLevelItemCount(), listText.isEmpty() ? 0 : 1);
    }
}

void TestParameterCustomListWidget::menuOffersItsCommandsAndClears()
{
    // GIVEN a shown window on a list with two parameters
    ParameterCustomList* list = createList(QStringLiteral("Voll"), {m_host->axis(0, 1)});
    list->addEntry(QStringLiteral("A10"));
    list->addEntry(QStringLiteral("C05"));
    ParameterCustomListWidget* window = open(list);

    // WHEN the user clicks the menu button
    QTest::mouseClick(child<QPushButton>(window, "menuButton"), Qt::LeftButton);

    // THEN the menu offers the commands in order
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QStringList texts;
    for (QAction* action : menu->actions())
        texts << (action->isSeparator() ? QStringLiteral("--") : action->text());
    QCOMPARE(texts, (QStringList{QStringLiteral("Antriebsregler auswählen ..."), QStringLiteral("--"), QStringLiteral("Liste leeren"),
                                 QStringLiteral("--"), QStringLiteral("Exportieren ..."), QStringLiteral("Importieren ...")}));

    // WHEN the user chooses "Liste leeren"
    menuAction(window, QStringLiteral("Liste leeren"))->trigger();
    menu->close();

    // THEN the list is empty at once, without a question, and keeps its axes
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(list->entries().isEmpty());
    QCOMPARE(list->axes(), AxisList{m_host->axis(0, 1)});
}

void TestParameterCustomListWidget::deviceSelection_data()
{
    QTest::addColumn<bool>("withAxes");   // without axes, showing the window asks by itself
    QTest::addColumn<bool>("accept");
    QTest::addColumn<int>("columns");

    QTest::newRow("menu, OK takes the checked axes") << true << true << 3;
    QTest::newRow("new list, OK") << false << true << 2;
    QTest::newRow("new list, Cancel leaves the parameter column") << false << false << 1;
}

void TestParameterCustomListWidget::deviceSelection()
{
    QFETCH(bool, withAxes);
    QFETCH(bool, accept);
    QFETCH(int, columns);

    // GIVEN a list of the first controller's second axis, or a new list without axes
    ParameterCustomList* list = createList(QStringLiteral("Achsen"), withAxes ? AxisList{m_host->axis(0, 2)} : AxisList());
    ParameterCustomListWidget* window = open(list, withAxes);

    // WHEN the device selection runs, from the menu or right after showing the
    // window, and the user finds the list's axes checked, checks the pump's axis
    // and answers
    QStringList checkedAtStart;
    bool windowWasVisible = false;
    bool seen = false;
    whenModal<QDialog>([&](QDialog* dialog) {
        windowWasVisible = window->isVisible();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Antriebsregler auswählen"));
        auto* tree = dialog->findChild<QTreeWidget*>();
        for (QTreeWidgetItem* row : tree->findItems(QStringLiteral("*"), Qt::MatchWildcard | Qt::MatchRecursive)) {
            if (row->checkState(0) == Qt::Checked)
                checkedAtStart << row->text(0);
        }
        tree->findItems(QStringLiteral("Pumpenantrieb"), Qt::MatchExactly | Qt::MatchRecursive).value(0)->setCheckState(0, Qt::Checked);
        dialog->findChild<QDialogButtonBox*>()->button(accept ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
    }, &seen);
    if (withAxes)
        menuAction(window, QStringLiteral("Antriebsregler auswählen ..."))->trigger();
    else
        window->show();

    // THEN the axes change only when accepted, and the tree has a column per axis
    QTRY_VERIFY(seen);
    QVERIFY(windowWasVisible);
    QCOMPARE(checkedAtStart, withAxes ? QStringList{QStringLiteral("Fahrachse")} : QStringList());
    AxisList expected = withAxes ? AxisList{m_host->axis(0, 2)} : AxisList();
    if (accept)
        expected << m_host->axis(1, 1);
    QCOMPARE(list->axes(), expected);
    QTRY_COMPARE(child<QTreeWidget>(window, "parameterTreeWidget")->columnCount(), columns);
    QVERIFY(m_mainWindow->widget()->findChildren<QDialog*>().isEmpty());
}

void TestParameterCustomListWidget::statesSurviveCloseAndReopen()
{
    // GIVEN a shown window on a list that never stored its bottom area
    ParameterCustomList* list = createList(QStringLiteral("Zustand"), {m_host->axis(0, 1), m_host->axis(0, 2)});
    QPointer<ParameterCustomListWidget> window = open(list);
    QCOMPARE(window->windowTitle(), QStringLiteral("Variable Pararameterliste - Zustand"));
    QVERIFY(!child<QPushButton>(window, "bottomButton")->isChecked());
    QVERIFY(!child<QWidget>(window, "bottomWidget")->isVisible());

    // WHEN the user shows the bottom area, sizes the window and splitters, and the project is saved
    QTest::mouseClick(child<QPushButton>(window, "bottomButton"), Qt::LeftButton);
    QVERIFY(child<QWidget>(window, "bottomWidget")->isVisible());
    window->resize(640, 380);
    child<QSplitter>(window, "splitterMain")->setSizes({200, 120});
    child<QSplitter>(window, "splitterBottom")->setSizes({400, 200});
    QCoreApplication::processEvents();   // let the layouts settle before the sizes are read
    const QList<int> mainSizes = child<QSplitter>(window, "splitterMain")->sizes();
    const QList<int> bottomSizes = child<QSplitter>(window, "splitterBottom")->sizes();
    list->saveData();

    // THEN the saved list holds the open window's geometry
    QCOMPARE(list->state("Window"), window->saveGeometry());

    // WHEN the window is closed and the list opened again
    window->close();
    QTRY_VERIFY(!window);
    QCOMPARE(list->state("BottomVisible"), QByteArray("1"));
    window = open(list);

    // THEN the new window looks as the old one was left
    QVERIFY(child<QWidget>(window, "bottomWidget")->isVisible());
    QCOMPARE(window->size(), QSize(640, 380));
    QCOMPARE(child<QSplitter>(window, "splitterMain")->sizes(), mainSizes);
    QCOMPARE(child<QSplitter>(window, "splitterBottom")->sizes(), bottomSizes);

    // WHEN the user hides the bottom area and reopens once more
    QTest::mouseClick(child<QPushButton>(window, "bottomButton"), Qt::LeftButton);
    window->close();
    QTRY_VERIFY(!window);
    QCOMPARE(list->state("BottomVisible"), QByteArray("0"));
    window = open(list);

    // THEN it stays hidden
    QVERIFY(!child<QPushButton>(window, "bottomButton")->isChecked());
    QVERIFY(!child<QWidget>(window, "bottomWidget")->isVisible());
}

void TestParameterCustomListWidget::exportToFile_data()
{
    QTest::addColumn<QString>("target");   // below the temporary directory; empty = cancel
    QTest::addColumn<bool>("written");

    QTest::newRow("written") << QStringLiteral("Antrieb.txt") << true;
    // A regular file where a directory should be: not writable, not even for root.
    QTest::newRow("unwritable") << QStringLiteral("zuletzt.txt/Antrieb.txt") << false;
    QTest::newRow("cancelled") << QString() << false;
}

void TestParameterCustomListWidget::exportToFile()
{
    QFETCH(QString, target);
    QFETCH(bool, written);

    // GIVEN a window on a list with a whole parameter and one element of another
    QFile blocker(m_dir->filePath(QStringLiteral("zuletzt.txt")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ParameterCustomList* list = createList(QStringLiteral("Export"), {m_host->axis(0, 1)});
    list->addEntry(QStringLiteral("C05"));
    list->addEntry(QStringLiteral("A12[4]"));
    ParameterCustomListWidget* window = open(list);
    const QString fileName = target.isEmpty() ? QString() : m_dir->filePath(target);

    // WHEN the user exports and picks a file, or cancels
    FileDialogRun run;
    answerFileDialog(&run, fileName);
    menuAction(window, QStringLiteral("Exportieren ..."))->trigger();

    // THEN the dialog proposed the list's name in the remembered directory
    QVERIFY(run.dialogSeen);
    QCOMPARE(run.dialogParent, m_mainWindow->widget());
    QCOMPARE(run.caption, QStringLiteral("Parameterzusammenstellung exportieren"));
    QCOMPARE(run.proposal, m_dir->filePath(QStringLiteral("Export.txt")));
    QCOMPARE(run.filters, QStringList{QStringLiteral("Textdateien (*.txt)")});
    // AND the file holds the list's text and is remembered, or a failure is reported
    QCOMPARE(run.messageSeen, !written && !fileName.isEmpty());
    if (written) {
        QCOMPARE(KxTest::readFile(fileName), QByteArray("A12[4]\r\nC05\r\n"));
        QCOMPARE(suggestedPath(), fileName);
    } else if (run.messageSeen) {
        QCOMPARE(run.messageParent, window);
        QVERIFY(run.messageIsCriticalWithOk);
        QCOMPARE(run.messageTitle, run.caption);
        QCOMPARE(run.messageText, QStringLiteral("Die Datei %1 kann nicht geschrieben werden").arg(fileName));
        QCOMPARE(suggestedPath(), blocker.fileName());
    }
}

void TestParameterCustomListWidget::importFromFile_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("readable");

    QTest::newRow("read") << QStringLiteral("auswahl.txt") << true;
    QTest::newRow("unreadable") << QStringLiteral("gesperrt.txt") << false;
}

void TestParameterCustomListWidget::importFromFile()
{
    QFETCH(QString, source);
    QFETCH(bool, readable);

    // GIVEN a window on a list holding one parameter, and a file naming another
    ParameterCustomList* list = createList(QStringLiteral("Import"), {m_host->axis(0, 1)});
    list->addEntry(QStringLiteral("A10"));
    ParameterCustomListWidget* window = open(list);
    const QString fileName = source.isEmpty() ? QString() : m_dir->filePath(source);
    if (readable) {
        QFile file(fileName);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("A12[3]\r\n");
    } else if (!fileName.isEmpty()) {
        QVERIFY(makeUnreadableFile(fileName));
    }

    // WHEN the user imports and picks the file, or cancels
    FileDialogRun run;
    answerFileDialog(&run, fileName);
    menuAction(window, QStringLiteral("Importieren ..."))->trigger();

    // THEN the dialog opened in the remembered directory
    QVERIFY(run.dialogSeen);
    QCOMPARE(run.caption, QStringLiteral("Parameterzusammenstellung importieren"));
    QCOMPARE(run.directory, m_dir->path());
    QCOMPARE(run.filters, QStringList{QStringLiteral("Textdateien (*.txt)")});
    // AND the list gains the file's parameter, or the failure is reported and the list stays
    QCOMPARE(run.messageSeen, !readable && !fileName.isEmpty());
    QCOMPARE(list->exportText(), readable ? QByteArray("A10\r\nA12[3]\r\n") : QByteArray("A10\r\n"));
    if (readable) {
        QTRY_COMPARE(child<QTreeWidget>(window, "parameterTreeWidget")->topLevelItemCount(), 2);
        QCOMPARE(suggestedPath(), fileName);
    } else if (run.messageSeen) {
        QCOMPARE(run.messageParent, window);
        QVERIFY(run.messageIsCriticalWithOk);
        QCOMPARE(run.messageTitle, run.caption);
        QCOMPARE(run.messageText, QStringLiteral("Die Datei %1 kann nicht geöffnet werden").arg(fileName));
    }
}

void TestParameterCustomListWidget::windowFollowsItsList()
{
    // GIVEN two lists in their windows
    ParameterCustomList* list = createList(QStringLiteral("Hubwerk"), {m_host->axis(0, 1)});
    ParameterCustomList* other = createList(QStringLiteral("Fahrwerk"), {m_host->axis(0, 2)});
    QPointer<ParameterCustomListWidget> window = open(list);
    ParameterCustomListWidget* otherWindow = open(other);
    QCOMPARE(window->parentWidget(), m_mainWindow->widget());
    QCOMPARE(window->windowType(), Qt::Dialog);
    QCOMPARE(window->property("HelpId").toString(), QStringLiteral("ParameterCustomList"));
    QCOMPARE(ParameterCustomListWidget::find(list->identifier()), window.data());
    QCOMPARE(ParameterCustomListWidget::find(other->identifier()), otherWindow);

    // WHEN the list is renamed
    list->setName(QStringLiteral("Hubwerk 2"));
    // THEN the title follows
    QTRY_COMPARE(window->windowTitle(), QStringLiteral("Variable Pararameterliste - Hubwerk 2"));

    // WHEN the repository deletes the list
    const QString identifier = list->identifier();
    ParameterCustomListRepository::instance().deleteList(list);

    // THEN its window closes, goes away and is no longer found; the other stays
    QVERIFY(!window->isVisible());
    QTRY_VERIFY(!window);
    QVERIFY(!ParameterCustomListWidget::find(identifier));
    QCOMPARE(ParameterCustomListWidget::find(other->identifier()), otherWindow);
}

QTEST_MAIN(TestParameterCustomListWidget)
#include "tst_parametercustomlistwidget.moc"
