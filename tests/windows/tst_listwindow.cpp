#include "ParameterCustomListWidget.h"
#include "SelectDeviceWidget.h"

#include "ParameterCustomList.h"
#include "ParameterCustomListRepository.h"
#include "ListTestSupport.h"

#include "DefaultPathSetting.h"
#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "LineEdit.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <memory>

using namespace KxTest;
using AxisList = QList<QPointer<DriveControllerAxis>>;

namespace {

// Remembers what the window hands to addEntry(): the list itself would take a lower-case coordinate as well.
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

QString suggestedPath()
{
    return std::unique_ptr<DefaultPathSetting>(DefaultPathSetting::create(DefaultPathSetting::ParameterSelectionFiles))->suggestedPath();
}

template<typename T>
T* child(QWidget* window, const char* name) { return window->findChild<T*>(QLatin1String(name)); }

QTreeWidgetItem* rowOf(QWidget* selection, const QString& text)
{
    return selection->findChild<QTreeWidget*>()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive).value(0);
}

} // namespace

// The list window and the device selection it opens, on the "lift" project:
// "Achsmodul" with "Hubachse" and "Fahrachse", "Pumpe" with "Pumpenantrieb".
class TestListWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindow> m_mainWindow;
    std::unique_ptr<Host> m_host;
    std::unique_ptr<QTemporaryDir> m_dir;

    ParameterCustomList* createList(const QString& name, const AxisList& axes)
    {
        auto* list = qobject_cast<ParameterCustomList*>(ParameterCustomListRepository::instance().createList());
        list->setName(name);
        list->setAxes(axes);
        QCoreApplication::processEvents();
        return list;
    }

    // Opened as the repository view opens it: deleted when closed.
    ParameterCustomListWidget* open(ParameterCustomList* list, bool show = true)
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

    QAction* menuAction(ParameterCustomListWidget* window, const QString& text) const
    {
        for (QAction* action : window->findChild<QMenu*>()->actions()) {
            if (action->text() == text)
                return action;
        }
        return nullptr;
    }

    void checkFailureMessage(const FileDialogRun& run, QWidget* parent, const QString& text)
    {
        QCOMPARE(run.messageParent, parent);
        QVERIFY(run.messageIsCriticalWithOk);
        QCOMPARE(run.messageTitle, run.caption);
        QCOMPARE(run.messageText, text);
    }

private slots:
    void initTestCase() { KxTest::initTestEnvironment(); }

    void init()
    {
        m_mainWindow = std::make_unique<MainWindow>();
        m_host = std::make_unique<Host>(project("lift"));
        ParameterCustomListRepository::instance().initialize(m_host.get());
        m_dir = std::make_unique<QTemporaryDir>();
        std::unique_ptr<DefaultPathSetting>(DefaultPathSetting::create(DefaultPathSetting::ParameterSelectionFiles))
            ->rememberPath(m_dir->filePath(QStringLiteral("zuletzt.txt")));
    }

    void cleanup()
    {
        cancelModalHandlers();
        ParameterCustomListRepository::instance().clear();
        QTRY_VERIFY(m_mainWindow->widget()->findChildren<ParameterCustomListWidget*>().isEmpty());
        m_host.reset();
        m_mainWindow.reset();
        m_dir.reset();
    }

    void addField_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QByteArray>("listText");   // null: the list's own business
        QTest::newRow("lower case reaches the list upper-cased") << "c05" << "c05" << QByteArray("C05\r\n");
        QTest::newRow("incomplete text adds nothing") << "a1" << "a1" << QByteArray("");
        QTest::newRow("fourth digit refused") << "A1234" << "A123" << QByteArray();
        QTest::newRow("leading digit refused") << "1A10" << "A10" << QByteArray("A10\r\n");
        QTest::newRow("sixth element digit refused") << "A12[123456]" << "A12[12345]" << QByteArray();
    }

    void addField()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QByteArray, listText);
        RecordingList list;
        list.setAxes({m_host->axis(0, 1), m_host->axis(0, 2)});
        ParameterCustomListWidget window;
        window.setParameterCustomList(&list);
        auto* edit = child<LineEdit>(&window, "parameterAddLineEdit");
        QTest::keyClicks(edit, typed);
        QTest::keyClick(edit, Qt::Key_Return);
        // THEN keystrokes that cannot lead to a coordinate were refused, the text reaches
        // the list in upper case, and the tree shows what the list made of it
        QCOMPARE(edit->text(), shown);
        QCOMPARE(list.added, QStringList{shown.toUpper()});
        if (!listText.isNull()) {
            QCOMPARE(list.exportText(), listText);
            QTRY_COMPARE(child<QTreeWidget>(&window, "parameterTreeWidget")->topLevelItemCount(), listText.isEmpty() ? 0 : 1);
        }
    }

    void menuOffersItsCommandsAndClears()
    {
        ParameterCustomList* list = createList(QStringLiteral("Voll"), {m_host->axis(0, 1)});
        list->addEntry(QStringLiteral("A10"));
        list->addEntry(QStringLiteral("C05"));
        ParameterCustomListWidget* window = open(list);
        QTest::mouseClick(child<QPushButton>(window, "menuButton"), Qt::LeftButton);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QStringList texts;
        for (QAction* action : menu->actions())
            texts << (action->isSeparator() ? QStringLiteral("--") : action->text());
        QCOMPARE(texts, (QStringList{"Antriebsregler auswählen ...", "--", "Liste leeren", "--", "Exportieren ...", "Importieren ..."}));
        // WHEN the user chooses "Liste leeren" THEN the list is empty at once, without a question, and keeps its axes
        menuAction(window, QStringLiteral("Liste leeren"))->trigger();
        menu->close();
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(list->entries().isEmpty());
        QCOMPARE(list->axes(), AxisList{m_host->axis(0, 1)});
    }

    void deviceSelection_data()
    {
        QTest::addColumn<bool>("withAxes");   // without axes, showing the window asks by itself
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("columns");
        QTest::newRow("menu, OK takes the checked axes") << true << "ok" << 3;
        QTest::newRow("menu, closing changes nothing") << true << "close" << 2;
        QTest::newRow("new list, OK") << false << "ok" << 2;
        QTest::newRow("new list, Cancel leaves the parameter column") << false << "cancel" << 1;
    }

    void deviceSelection()
    {
        QFETCH(bool, withAxes);
        QFETCH(QString, answer);
        QFETCH(int, columns);
        ParameterCustomList* list = createList(QStringLiteral("Achsen"), withAxes ? AxisList{m_host->axis(0, 2)} : AxisList());
        ParameterCustomListWidget* window = open(list, withAxes);
        // WHEN the selection runs, from the menu or right after showing the window, and the
        // user finds the list's axes checked, checks the pump's axis and answers
        QStringList checkedAtStart;
        bool windowWasVisible = false;
        bool seen = false;
        whenModal<QDialog>([&](QDialog* dialog) {
            windowWasVisible = window->isVisible();
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Antriebsregler auswählen"));
            QCOMPARE(dialog->parentWidget(), m_mainWindow->widget());
            QCOMPARE(dialog->size(), QSize(300, 400));
            for (QTreeWidgetItem* row : dialog->findChild<QTreeWidget*>()->findItems(QStringLiteral("*"), Qt::MatchWildcard | Qt::MatchRecursive)) {
                if (row->checkState(0) == Qt::Checked)
                    checkedAtStart << row->text(0);
            }
            rowOf(dialog, QStringLiteral("Pumpenantrieb"))->setCheckState(0, Qt::Checked);
            if (answer == QLatin1String("close"))
                dialog->close();
            else
                dialog->findChild<QDialogButtonBox*>()->button(answer == QLatin1String("ok") ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
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
        if (answer == QLatin1String("ok"))
            expected << m_host->axis(1, 1);
        QCOMPARE(list->axes(), expected);
        QTRY_COMPARE(child<QTreeWidget>(window, "parameterTreeWidget")->columnCount(), columns);
        QVERIFY(m_mainWindow->widget()->findChildren<QDialog*>().isEmpty());
    }

    void selectionShowsTheProjectsAxes()
    {
        QWidget owner;
        auto* selection = new SelectDeviceWidget(&owner);
        selection->fillDevices();
        // THEN each controller is an expanded row without check box over its unchecked axis rows
        auto* tree = selection->findChild<QTreeWidget*>();
        QCOMPARE(tree->topLevelItemCount(), 2);
        QTreeWidgetItem* controllerRow = tree->topLevelItem(0);
        QCOMPARE(controllerRow->text(0), QStringLiteral("Achsmodul (Regler 3 kW)"));
        QCOMPARE(tree->topLevelItem(1)->text(0), QStringLiteral("Pumpe (Umrichter Pumpe)"));
        QVERIFY(controllerRow->isExpanded());
        QVERIFY(!controllerRow->data(0, Qt::CheckStateRole).isValid());
        QCOMPARE(controllerRow->child(1)->text(0), QStringLiteral("Fahrachse"));
        QCOMPARE(controllerRow->child(1)->checkState(0), Qt::Unchecked);
        // WHEN axes are pre-checked, among them one of another project and a destroyed one
        rowOf(selection, QStringLiteral("Hubachse"))->setCheckState(0, Qt::Checked);
        Host otherProject(project("lift"));
        QPointer<DriveControllerAxis> destroyed = otherProject.axis(0, 2);
        otherProject.controller(0)->removeAxis(2);
        selection->setSelectedAxes({destroyed, m_host->axis(1, 1), otherProject.axis(0, 1), m_host->axis(0, 2)});
        // THEN exactly the project's given axes are checked, reported in tree order
        QCOMPARE(rowOf(selection, QStringLiteral("Hubachse"))->checkState(0), Qt::Unchecked);
        QCOMPARE(selection->selectedAxes(), (AxisList{m_host->axis(0, 2), m_host->axis(1, 1)}));
        // WHEN one of them goes away THEN its row goes with it
        m_host->controller(0)->removeAxis(2);
        QVERIFY(!rowOf(selection, QStringLiteral("Fahrachse")));
        QCOMPARE(selection->selectedAxes(), AxisList{m_host->axis(1, 1)});
        // WHEN the context menu's commands are chosen THEN every axis, or none, is selected
        selection->show();
        emit tree->customContextMenuRequested(QPoint(5, 5));
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QCOMPARE(menu->actions().size(), 2);
        QCOMPARE(menu->actions().at(0)->text(), QStringLiteral("Alle auswählen"));
        QCOMPARE(menu->actions().at(1)->text(), QStringLiteral("Alle abwählen"));
        menu->actions().at(0)->trigger();
        menu->close();
        QCOMPARE(selection->selectedAxes(), (AxisList{m_host->axis(0, 1), m_host->axis(1, 1)}));
        QVERIFY(!tree->topLevelItem(0)->data(0, Qt::CheckStateRole).isValid());
        emit tree->customContextMenuRequested(QPoint(5, 5));
        QCOMPARE(QApplication::activePopupWidget(), menu);
        menu->actions().at(1)->trigger();
        menu->close();
        QVERIFY(selection->selectedAxes().isEmpty());
        // AND a project without controllers leaves nothing to choose
        m_host->removeAllControllers();
        SelectDeviceWidget empty;
        empty.fillDevices();
        QCOMPARE(empty.findChild<QTreeWidget*>()->topLevelItemCount(), 0);
    }

    void statesSurviveCloseAndReopen()
    {
        // GIVEN a shown window on a list that never stored its bottom area
        ParameterCustomList* list = createList(QStringLiteral("Zustand"), {m_host->axis(0, 1), m_host->axis(0, 2)});
        QPointer<ParameterCustomListWidget> window = open(list);
        QCOMPARE(window->windowTitle(), QStringLiteral("Variable Pararameterliste - Zustand"));
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
        QCOMPARE(list->state("Window"), window->saveGeometry());
        // WHEN the window is closed and the list opened again THEN the new window looks as the old one was left
        window->close();
        QTRY_VERIFY(!window);
        QCOMPARE(list->state("BottomVisible"), QByteArray("1"));
        window = open(list);
        QVERIFY(child<QWidget>(window, "bottomWidget")->isVisible());
        QCOMPARE(window->size(), QSize(640, 380));
        QCOMPARE(child<QSplitter>(window, "splitterMain")->sizes(), mainSizes);
        QCOMPARE(child<QSplitter>(window, "splitterBottom")->sizes(), bottomSizes);
        // WHEN the user hides the bottom area and reopens once more THEN it stays hidden
        QTest::mouseClick(child<QPushButton>(window, "bottomButton"), Qt::LeftButton);
        window->close();
        QTRY_VERIFY(!window);
        QCOMPARE(list->state("BottomVisible"), QByteArray("0"));
        window = open(list);
        QVERIFY(!child<QPushButton>(window, "bottomButton")->isChecked());
        QVERIFY(!child<QWidget>(window, "bottomWidget")->isVisible());
    }

    void exportToFile_data()
    {
        QTest::addColumn<QString>("target");   // below the temporary directory; empty = cancel
        QTest::addColumn<bool>("written");
        QTest::newRow("written") << QStringLiteral("Antrieb.txt") << true;
        // A regular file where a directory should be: not writable, not even for root.
        QTest::newRow("unwritable") << QStringLiteral("zuletzt.txt/Antrieb.txt") << false;
        QTest::newRow("cancelled") << QString() << false;
    }

    void exportToFile()
    {
        QFETCH(QString, target);
        QFETCH(bool, written);
        QFile blocker(m_dir->filePath(QStringLiteral("zuletzt.txt")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        ParameterCustomList* list = createList(QStringLiteral("Export"), {m_host->axis(0, 1)});
        list->addEntry(QStringLiteral("C05"));
        list->addEntry(QStringLiteral("A12[4]"));
        ParameterCustomListWidget* window = open(list);
        const QString fileName = target.isEmpty() ? QString() : m_dir->filePath(target);
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
        QCOMPARE(suggestedPath(), written ? fileName : blocker.fileName());
        if (written)
            QCOMPARE(KxTest::readFile(fileName), QByteArray("A12[4]\r\nC05\r\n"));
        else if (run.messageSeen)
            checkFailureMessage(run, window, QStringLiteral("Die Datei %1 kann nicht geschrieben werden").arg(fileName));
    }

    void importFromFile_data()
    {
        QTest::addColumn<bool>("readable");
        QTest::newRow("read") << true;
        QTest::newRow("unreadable") << false;
    }

    void importFromFile()
    {
        QFETCH(bool, readable);
        ParameterCustomList* list = createList(QStringLiteral("Import"), {m_host->axis(0, 1)});
        list->addEntry(QStringLiteral("A10"));
        ParameterCustomListWidget* window = open(list);
        const QString fileName = m_dir->filePath(QStringLiteral("auswahl.txt"));
        QFile file(fileName);
        QVERIFY(readable ? file.open(QIODevice::WriteOnly) && file.write("A12[3]\r\n") > 0 : makeUnreadableFile(fileName));
        file.close();
        FileDialogRun run;
        answerFileDialog(&run, fileName);
        menuAction(window, QStringLiteral("Importieren ..."))->trigger();
        // THEN the dialog opened in the remembered directory
        QVERIFY(run.dialogSeen);
        QCOMPARE(run.caption, QStringLiteral("Parameterzusammenstellung importieren"));
        QCOMPARE(run.directory, m_dir->path());
        QCOMPARE(run.filters, QStringList{QStringLiteral("Textdateien (*.txt)")});
        // AND the list gains the file's parameter, or the failure is reported and the list stays
        QCOMPARE(run.messageSeen, !readable);
        QCOMPARE(list->exportText(), readable ? QByteArray("A10\r\nA12[3]\r\n") : QByteArray("A10\r\n"));
        if (readable) {
            QTRY_COMPARE(child<QTreeWidget>(window, "parameterTreeWidget")->topLevelItemCount(), 2);
            QCOMPARE(suggestedPath(), fileName);
        } else {
            checkFailureMessage(run, window, QStringLiteral("Die Datei %1 kann nicht geöffnet werden").arg(fileName));
        }
    }

    void windowFollowsItsList()
    {
        ParameterCustomList* list = createList(QStringLiteral("Hubwerk"), {m_host->axis(0, 1)});
        ParameterCustomList* other = createList(QStringLiteral("Fahrwerk"), {m_host->axis(0, 2)});
        QPointer<ParameterCustomListWidget> window = open(list);
        ParameterCustomListWidget* otherWindow = open(other);
        QCOMPARE(window->parentWidget(), m_mainWindow->widget());
        QCOMPARE(window->windowType(), Qt::Dialog);
        QCOMPARE(window->property("HelpId").toString(), QStringLiteral("ParameterCustomList"));
        QCOMPARE(ParameterCustomListWidget::find(list->identifier()), window.data());
        // WHEN the list is renamed THEN the title follows
        list->setName(QStringLiteral("Hubwerk 2"));
        QTRY_COMPARE(window->windowTitle(), QStringLiteral("Variable Pararameterliste - Hubwerk 2"));
        // WHEN the repository deletes the list THEN its window closes, goes away and is no longer found; the other stays
        const QString identifier = list->identifier();
        ParameterCustomListRepository::instance().deleteList(list);
        QVERIFY(!window->isVisible());
        QTRY_VERIFY(!window);
        QVERIFY(!ParameterCustomListWidget::find(identifier));
        QCOMPARE(ParameterCustomListWidget::find(other->identifier()), otherWindow);
    }
};

QTEST_MAIN(TestListWindow)
#include "tst_listwindow.moc"
