#include "ParameterCustomListRepositoryView.h"
#include "ParameterCustomListWidget.h"
#include "SelectDeviceWidget.h"

#include "ParameterCustomList.h"
#include "ParameterCustomListImport.h"
#include "ParameterCustomListRepository.h"
#include "ListTestSupport.h"

#include "DefaultPathSetting.h"
#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "LineEdit.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
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

QTreeWidgetItem* axisRow(QWidget* selection, const QString& text)
{
    return selection->findChild<QTreeWidget*>()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive).value(0);
}

} // namespace

// The list window with the device selection it opens, and the repository view, on the
// "lift" project: "Achsmodul" with "Hubachse" and "Fahrachse", "Pumpe" with "Pumpenantrieb".
class TestWindows : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindow> m_mainWindow;
    std::unique_ptr<Host> m_host;
    std::unique_ptr<QTemporaryDir> m_dir;
    ParameterCustomListRepositoryView* m_view = nullptr;
    QTreeWidget* m_tree = nullptr;

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

    // Picks @p fileName in the next file dialog and answers the question that may follow it; with
    // @p thenReject, the dialog after the question (a new list asking for its axes) is closed.
    void pickAndAnswer(const QString& fileName, QMessageBox::StandardButton answer, QString* question, bool* asked,
                       bool thenReject)
    {
        whenModal<QFileDialog>([=](QFileDialog* dialog) {
            whenModal<QMessageBox>([=](QMessageBox* box) {
                *question = box->text();
                box->button(answer)->click();
                if (thenReject)
                    whenModal<QDialog>([](QDialog* next) { next->reject(); });
            }, asked, 2000);
            auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY2(edit, "no file name field: a native dialog?");
            edit->setText(fileName);
            QMetaObject::invokeMethod(dialog, "accept");
        });
    }

    // The view of the last test went with its main window; this is a new one.
    void openView()
    {
        m_view = &ParameterCustomListRepositoryView::instance();
        m_tree = m_view->findChild<QTreeWidget*>();
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view));
    }

    ParameterCustomListRepository& repository() const { return ParameterCustomListRepository::instance(); }

    // The placeholder row for an empty identifier.
    QTreeWidgetItem* rowOf(const QString& identifier) const
    {
        for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
            if (m_tree->topLevelItem(i)->data(0, Qt::UserRole).toString() == identifier)
                return m_tree->topLevelItem(i);
        }
        return nullptr;
    }

    QStringList listRowTexts() const
    {
        QStringList texts;
        for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
            if (m_tree->topLevelItem(i) != rowOf(QString()))
                texts << m_tree->topLevelItem(i)->text(0);
        }
        return texts;
    }

    QLineEdit* rowEditor() const
    {
        // A closed editor lingers until its deferred deletion; only a shown one counts.
        for (QLineEdit* editor : m_tree->viewport()->findChildren<QLineEdit*>()) {
            if (editor->isVisible())
                return editor;
        }
        return nullptr;
    }

    QList<ParameterCustomListWidget*> listWindows() const { return m_mainWindow->widget()->findChildren<ParameterCustomListWidget*>(); }

    // "list", "placeholder" or empty space below the rows.
    QPoint position(const QString& where, ParameterCustomList* list) const
    {
        if (where == QLatin1String("list"))
            return m_tree->visualItemRect(rowOf(list->identifier())).center();
        if (where == QLatin1String("placeholder"))
            return m_tree->visualItemRect(rowOf(QString())).center();
        return QPoint(5, m_tree->viewport()->height() - 3);
    }

    // Chooses the menu's command at `index` (negative: from the end) after the menu closed.
    void chooseFromMenu(const QPoint& position, int index)
    {
        emit m_tree->customContextMenuRequested(position);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QAction* action = menu->actions().at(index < 0 ? menu->actions().size() + index : index);
        menu->close();
        action->trigger();
    }

private slots:
    void initTestCase() { KxTest::initTestEnvironment(); }

    void init()
    {
        m_mainWindow = std::make_unique<MainWindow>();
        m_host = std::make_unique<Host>(project("lift"));
        repository().initialize(m_host.get());
        m_dir = std::make_unique<QTemporaryDir>();
        std::unique_ptr<DefaultPathSetting>(DefaultPathSetting::create(DefaultPathSetting::ParameterSelectionFiles))
            ->rememberPath(m_dir->filePath(QStringLiteral("zuletzt.txt")));
    }

    void cleanup()
    {
        cancelModalHandlers();
        ParameterCustomListRepository::instance().clear();
        QTRY_VERIFY(listWindows().isEmpty());
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
        // AND the next coordinate typed replaces it
        QTest::keyClicks(edit, QStringLiteral("B02"));
        QCOMPARE(edit->text(), QStringLiteral("B02"));
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
            for (QTreeWidgetItem* row : dialog->findChild<QTreeWidget*>()->findItems(QStringLiteral("*"), Qt::MatchWildcard | Qt::MatchRecursive)) {
                if (row->checkState(0) == Qt::Checked)
                    checkedAtStart << row->text(0);
            }
            axisRow(dialog, QStringLiteral("Pumpenantrieb"))->setCheckState(0, Qt::Checked);
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
        m_host->controller(0)->setName(QStringLiteral("Achsmodul 1/2"));
        selection->fillDevices();
        // THEN each controller is an expanded row without check box over its unchecked axis rows, whatever its name
        auto* tree = selection->findChild<QTreeWidget*>();
        QCOMPARE(tree->topLevelItemCount(), 2);
        QTreeWidgetItem* controllerRow = tree->topLevelItem(0);
        QCOMPARE(controllerRow->text(0), QStringLiteral("Achsmodul 1/2 (Regler 3 kW)"));
        QCOMPARE(tree->topLevelItem(1)->text(0), QStringLiteral("Pumpe (Umrichter Pumpe)"));
        QVERIFY(controllerRow->isExpanded());
        QVERIFY(!controllerRow->data(0, Qt::CheckStateRole).isValid());
        QCOMPARE(controllerRow->child(1)->text(0), QStringLiteral("Fahrachse"));
        QCOMPARE(controllerRow->child(1)->checkState(0), Qt::Unchecked);
        // WHEN axes are pre-checked, among them one of another project and a destroyed one
        axisRow(selection, QStringLiteral("Hubachse"))->setCheckState(0, Qt::Checked);
        Host otherProject(project("lift"));
        QPointer<DriveControllerAxis> destroyed = otherProject.axis(0, 2);
        otherProject.controller(0)->removeAxis(2);
        selection->setSelectedAxes({destroyed, m_host->axis(1, 1), otherProject.axis(0, 1), m_host->axis(0, 2)});
        // THEN exactly the project's given axes are checked, reported in tree order
        QCOMPARE(axisRow(selection, QStringLiteral("Hubachse"))->checkState(0), Qt::Unchecked);
        QCOMPARE(selection->selectedAxes(), (AxisList{m_host->axis(0, 2), m_host->axis(1, 1)}));
        // WHEN one of them goes away THEN its row goes with it
        m_host->controller(0)->removeAxis(2);
        QVERIFY(!axisRow(selection, QStringLiteral("Fahrachse")));
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
        menu->actions().at(1)->trigger();
        QVERIFY(selection->selectedAxes().isEmpty());
    }

    void layoutSurvivesCloseAndReopen()
    {
        ParameterCustomList* list = createList(QStringLiteral("Zustand"), {m_host->axis(0, 1), m_host->axis(0, 2)});
        QPointer<ParameterCustomListWidget> window = open(list);
        QVERIFY(!child<QWidget>(window, "bottomWidget")->isVisible());
        // WHEN the user shows the bottom area, sizes the window and splitters, and closes the window
        QTest::mouseClick(child<QPushButton>(window, "bottomButton"), Qt::LeftButton);
        window->resize(640, 380);
        child<QSplitter>(window, "splitterMain")->setSizes({200, 120});
        child<QSplitter>(window, "splitterBottom")->setSizes({400, 200});
        QCoreApplication::processEvents();   // let the layouts settle before the sizes are read
        const QList<int> mainSizes = child<QSplitter>(window, "splitterMain")->sizes();
        const QList<int> bottomSizes = child<QSplitter>(window, "splitterBottom")->sizes();
        window->close();
        QTRY_VERIFY(!window);
        // THEN a new window on the list looks as the old one was left
        window = open(list);
        QVERIFY(child<QWidget>(window, "bottomWidget")->isVisible());
        QCOMPARE(window->size(), QSize(640, 380));
        QCOMPARE(child<QSplitter>(window, "splitterMain")->sizes(), mainSizes);
        QCOMPARE(child<QSplitter>(window, "splitterBottom")->sizes(), bottomSizes);
    }

    void exchangeThroughFiles_data()
    {
        QTest::addColumn<bool>("exporting");
        QTest::addColumn<QString>("target");   // below the temporary directory; empty = cancel
        QTest::addColumn<bool>("succeeds");
        QTest::newRow("export written") << true << QStringLiteral("Antrieb.txt") << true;
        // A regular file where a directory should be: not writable, not even for root.
        QTest::newRow("export unwritable") << true << QStringLiteral("zuletzt.txt/Antrieb.txt") << false;
        QTest::newRow("export cancelled") << true << QString() << false;
        QTest::newRow("import read") << false << QStringLiteral("auswahl.txt") << true;
        QTest::newRow("import unreadable") << false << QStringLiteral("auswahl.txt") << false;
    }

    void exchangeThroughFiles()
    {
        QFETCH(bool, exporting);
        QFETCH(QString, target);
        QFETCH(bool, succeeds);
        const QString remembered = m_dir->filePath(QStringLiteral("zuletzt.txt"));
        QVERIFY(QFile(remembered).open(QIODevice::WriteOnly));
        const QString fileName = target.isEmpty() ? QString() : m_dir->filePath(target);
        if (!exporting) {
            QFile file(fileName);
            QVERIFY(succeeds ? file.open(QIODevice::WriteOnly) && file.write("A12[3]\r\n") > 0 : makeUnreadableFile(fileName));
        }
        ParameterCustomList* list = createList(QStringLiteral("Liste"), {m_host->axis(0, 1)});
        list->addEntry(QStringLiteral("C05"));
        list->addEntry(QStringLiteral("A12[4]"));
        ParameterCustomListWidget* window = open(list);
        FileDialogRun run;
        answerFileDialog(&run, fileName);
        menuAction(window, exporting ? QStringLiteral("Exportieren ...") : QStringLiteral("Importieren ..."))->trigger();
        // THEN a dialog for text files opened in the remembered directory, an export proposing the list's name
        QVERIFY(run.dialogSeen);
        QCOMPARE(run.dialogParent, m_mainWindow->widget());
        QCOMPARE(run.caption, exporting ? QStringLiteral("Parameterzusammenstellung exportieren") : QStringLiteral("Parameterzusammenstellung importieren"));
        QCOMPARE(exporting ? run.proposal : run.directory, exporting ? m_dir->filePath(QStringLiteral("Liste.txt")) : m_dir->path());
        QCOMPARE(run.filters, QStringList{QStringLiteral("Textdateien (*.txt)")});
        // AND a file written or read is remembered and holds the list's text or replaces its entry;
        // a failure is reported and changes nothing
        QCOMPARE(run.messageSeen, !succeeds && !fileName.isEmpty());
        QCOMPARE(suggestedPath(), succeeds ? fileName : remembered);
        const QByteArray listText("A12[4]\r\nC05\r\n");
        if (exporting && succeeds)
            QCOMPARE(KxTest::readFile(fileName), listText);
        QCOMPARE(list->exportText(), succeeds && !exporting ? QByteArray("A12[3]\r\nC05\r\n") : listText);
        const QString failure = exporting ? QStringLiteral("Die Datei %1 kann nicht geschrieben werden") : QStringLiteral("Die Datei %1 kann nicht geöffnet werden");
        if (run.messageSeen)
            checkFailureMessage(run, window, failure.arg(fileName));
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

    void rowsFollowTheRepository()
    {
        openView();
        // GIVEN an empty repository: only the placeholder, italic and editable
        QCOMPARE(m_tree->topLevelItemCount(), 1);
        QTreeWidgetItem* placeholder = rowOf(QString());
        QCOMPARE(placeholder->text(0), QStringLiteral("<neue Liste>"));
        QVERIFY(placeholder->font(0).italic());
        QVERIFY(placeholder->flags() & Qt::ItemIsEditable);
        // WHEN lists are created THEN each has an editable row, sorted by name, beside the same placeholder
        ParameterCustomList* beta = createList(QStringLiteral("Beta"), {m_host->axis(0, 1)});
        ParameterCustomList* alpha = createList(QStringLiteral("Alpha"), {m_host->axis(0, 1)});
        ParameterCustomList* gamma = createList(QStringLiteral("Gamma"), {m_host->axis(0, 1)});
        QCOMPARE(listRowTexts(), (QStringList{"Alpha", "Beta", "Gamma"}));
        QCOMPARE(rowOf(QString()), placeholder);
        QVERIFY(rowOf(alpha->identifier())->flags() & Qt::ItemIsEditable);
        // WHEN a list is deleted and another renamed elsewhere THEN exactly its row goes, the renamed row stays
        QTreeWidgetItem* gammaRow = rowOf(gamma->identifier());
        repository().deleteList(beta);
        gamma->setName(QStringLiteral("Aaron 1/2"));
        QTRY_COMPARE(listRowTexts(), (QStringList{"Aaron 1/2", "Alpha"}));
        QCOMPARE(rowOf(gamma->identifier()), gammaRow);
        // WHEN a list is renamed unnoticed and the application asks for an update THEN the row shows the current name
        repository().blockSignals(true);
        alpha->setName(QStringLiteral("Zeta"));
        repository().blockSignals(false);
        QCoreApplication::processEvents();
        QCOMPARE(rowOf(alpha->identifier())->text(0), QStringLiteral("Alpha"));
        m_view->update();
        QCOMPARE(rowOf(alpha->identifier())->text(0), QStringLiteral("Zeta"));
        QCOMPARE(listRowTexts(), (QStringList{"Aaron 1/2", "Zeta"}));
    }

    void contextMenuDependsOnTheRow_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<bool>("withAxes");
        const QStringList create = {QStringLiteral("Neue Liste"), QStringLiteral("Liste importieren")};
        QTest::newRow("list row") << "list" << QStringList{"Öffnen", "Umbenennen", "Löschen", "--"} + create << true;
        QTest::newRow("placeholder") << "placeholder" << create << true;
        QTest::newRow("placeholder of a project without axes") << "placeholder" << create << false;
    }

    void contextMenuDependsOnTheRow()
    {
        openView();
        QFETCH(QString, where);
        QFETCH(QStringList, texts);
        QFETCH(bool, withAxes);
        ParameterCustomList* list = createList(QStringLiteral("Kontext"), {m_host->axis(0, 1)});
        if (!withAxes)
            m_host->removeAllControllers();
        emit m_tree->customContextMenuRequested(position(where, list));
        QMenu* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        // THEN it offers what applies there; the list commands name the list and show their keys
        QStringList shown;
        for (QAction* action : menu->actions())
            shown << (action->isSeparator() ? QStringLiteral("--") : action->text());
        QCOMPARE(shown, texts);
        const QList<QKeySequence> keys = {QKeySequence(Qt::Key_Enter), QKeySequence(Qt::Key_F2), QKeySequence(QKeySequence::Delete)};
        for (int i = 0; i < menu->actions().size() - 3; ++i) {
            QAction* action = menu->actions().at(i);
            QCOMPARE(action->shortcut(), keys.at(i));
            QCOMPARE(action->shortcutContext(), Qt::WidgetShortcut);
            QVERIFY(action->isShortcutVisibleInContextMenu());
            QCOMPARE(action->data().toString(), list->identifier());
        }
        QVERIFY(menu->actions().last()->shortcut().isEmpty());
        // AND creating is possible only with axes, by the menu or by Return on the placeholder
        QCOMPARE(menu->actions().at(menu->actions().size() - 2)->isEnabled(), withAxes);
        QCOMPARE(menu->actions().last()->isEnabled(), withAxes);
        QCOMPARE(rowOf(QString())->isDisabled(), !withAxes);
        menu->close();
        m_tree->setCurrentItem(rowOf(QString()));
        QTest::keyClick(m_tree, Qt::Key_Return);
        QCOMPARE(rowEditor() != nullptr, withAxes);
    }

    void editingARowNamesItsList_data()
    {
        QTest::addColumn<bool>("placeholder");   // else the row of an existing list
        QTest::addColumn<bool>("fromMenu");
        QTest::addColumn<QString>("name");
        QTest::newRow("new list by Return") << true << false << QStringLiteral("Spindelachse");
        QTest::newRow("new list by \"Neue Liste\", blanks kept") << true << true << QStringLiteral("  Achse 2 ");
        QTest::newRow("new list with empty name") << true << false << QString();
        QTest::newRow("rename by the edit key") << false << false << QStringLiteral("Neu");
        QTest::newRow("rename by \"Umbenennen\"") << false << true << QStringLiteral("Neu");
    }

    void editingARowNamesItsList()
    {
        openView();
        QFETCH(bool, placeholder);
        QFETCH(bool, fromMenu);
        QFETCH(QString, name);
        ParameterCustomList* existing = placeholder ? nullptr : createList(QStringLiteral("Alt"), {m_host->axis(0, 1)});
        const QString row = placeholder ? QString() : existing->identifier();
        // WHEN the user starts editing the row, types a name and commits it
        if (fromMenu) {
            chooseFromMenu(position(placeholder ? QString() : QStringLiteral("list"), existing), placeholder ? 0 : 1);
        } else {
            m_tree->setCurrentItem(rowOf(row));
            QTest::keyClick(m_tree, placeholder ? Qt::Key_Return : Qt::Key_F2);
        }
        QLineEdit* editor = rowEditor();
        QVERIFY(editor);
        QTest::keyClick(m_tree, Qt::Key_Return);   // reaching the tree itself meanwhile changes nothing
        QCOMPARE(rowEditor(), editor);
        bool selectionSeen = false;
        whenModal<QDialog>([](QDialog* dialog) { dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click(); }, &selectionSeen);
        editor->clear();
        QTest::keyClicks(editor, name);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();   // the delegate commits through a queued call
        // THEN one list of exactly that name exists, beside the placeholder reading "<neue Liste>" again
        const QList<ParameterCustomListInformation*> lists = repository().content();
        QCOMPARE(lists.size(), 1);
        QCOMPARE(lists.first()->name(), name);
        QTRY_COMPARE(listRowTexts(), QStringList{name});
        QCOMPARE(rowOf(QString())->text(0), QStringLiteral("<neue Liste>"));
        // AND a new list's window opens and asks for its devices; a renamed list keeps its row and opens nothing
        if (placeholder) {
            QTRY_VERIFY(selectionSeen);
            QVERIFY(ParameterCustomListWidget::find(lists.first()->identifier())->isVisible());
        } else {
            QCOMPARE(lists.first(), existing);
            QTest::qWait(20);
            QVERIFY(listWindows().isEmpty());
        }
    }

    void deleteAsksFirst_data()
    {
        QTest::addColumn<bool>("fromMenu");
        QTest::addColumn<bool>("yes");
        QTest::newRow("Delete key, Yes") << false << true;
        QTest::newRow("Delete key, No") << false << false;
        QTest::newRow("\"Löschen\", Yes") << true << true;
    }

    void deleteAsksFirst()
    {
        openView();
        QFETCH(bool, fromMenu);
        QFETCH(bool, yes);
        // GIVEN two lists, the first one open in its window
        ParameterCustomList* doomed = createList(QStringLiteral("Eins"), {m_host->axis(0, 1)});
        createList(QStringLiteral("Zwei"), {m_host->axis(0, 1)});
        const QString identifier = doomed->identifier();
        QPointer<ParameterCustomListWidget> window = open(doomed);
        m_tree->setCurrentItem(rowOf(identifier));
        // WHEN the user deletes it and answers the question
        bool asked = false;
        whenModal<QMessageBox>([&](QMessageBox* box) {
            QCOMPARE(box->parentWidget(), m_view);
            QCOMPARE(box->windowTitle(), QStringLiteral("Löschen"));
            QCOMPARE(box->text(), QStringLiteral("Wollen Sie die variable Parameterliste unwiderruflich löschen?"));
            QCOMPARE(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
            QVERIFY(!box->defaultButton());
            box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
        }, &asked);
        if (fromMenu)
            chooseFromMenu(position(QStringLiteral("list"), doomed), 2);
        else
            QTest::keyClick(m_tree, Qt::Key_Delete);
        // THEN only Yes deletes the list, its row and its window; the other list stays
        QVERIFY(asked);
        QCOMPARE(repository().list(identifier) == nullptr, yes);
        QCOMPARE(listRowTexts(), (yes ? QStringList{"Zwei"} : QStringList{"Eins", "Zwei"}));
        if (yes)
            QTRY_VERIFY(!window);
        else
            QVERIFY(window && window->isVisible());
    }

    void activation_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("where");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<bool>("edits");
        QTest::newRow("Return on a list row") << "return" << "list" << true << false;
        QTest::newRow("double click on a list row") << "double" << "list" << true << false;
        QTest::newRow("\"Öffnen\"") << "menu" << "list" << true << false;
        QTest::newRow("double click on the placeholder") << "double" << "placeholder" << false << true;
        QTest::newRow("double click on empty space") << "double" << "empty" << false << false;
    }

    void activation()
    {
        openView();
        QFETCH(QString, how);
        QFETCH(QString, where);
        QFETCH(bool, opens);
        QFETCH(bool, edits);
        ParameterCustomList* list = createList(QStringLiteral("Aktiv"), {m_host->axis(0, 1)});
        const QPoint point = position(where, list);
        auto activate = [&] {
            if (how == QLatin1String("return")) {
                m_tree->setCurrentItem(rowOf(list->identifier()));
                QTest::keyClick(m_tree, Qt::Key_Return);
            } else if (how == QLatin1String("menu")) {
                chooseFromMenu(point, 0);
            } else {
                QTest::mouseDClick(m_tree->viewport(), Qt::LeftButton, {}, point);
            }
        };
        activate();
        // THEN a list row's window is made at once and shown after the event, the
        // placeholder starts editing, and nothing else happens
        QCOMPARE(rowEditor() != nullptr, edits);
        QCOMPARE(listWindows().size(), opens ? 1 : 0);
        QCOMPARE(repository().content().size(), 1);
        if (!opens)
            return;
        QPointer<ParameterCustomListWidget> window = listWindows().first();
        QVERIFY(!window->isVisible());
        QTRY_VERIFY(window->isVisible());
        QVERIFY(window->testAttribute(Qt::WA_DeleteOnClose));
        // WHEN the user hides the window and activates the row again THEN the same window shows again
        window->hide();
        activate();
        QTRY_VERIFY(window->isVisible());
        QCOMPARE(listWindows().size(), 1);
    }

    void unlikelyFilesAreImportedOnlyWhenTheUserSaysSo_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("intoWindow");   // else through the repository view, as a new list
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("reason");    // empty: no question expected
        // Bytes as a binary file has them, reproducible: NUL bytes and line feeds among them.
        QByteArray binary;
        quint32 state = 12345;
        for (int i = 0; i < 40000; ++i) {
            state = state * 1103515245u + 12345u;
            binary += char(state >> 24);
        }
        QByteArray invalid;
        for (int i = 0; i < 30; ++i)
            invalid += QByteArray("A1") + char('0' + i % 10) + "\xff\xfe\x80 Daten\r\n";
        invalid += "B20\r\n";
        QByteArray atLimit, overLimit;
        for (int i = 0; i < ParameterCustomListImport::lineLimit(); ++i)
            atLimit += QByteArray("C0") + char('1' + i % 9) + "\r\n";
        overLimit = atLimit + "A10";
        const int limit = ParameterCustomListImport::lineLimit();
        QTest::newRow("list text, no question") << QByteArray("A12[3]\r\n") << true << false << QString();
        QTest::newRow("binary file declined") << binary << true << false << QStringLiteral("Null-Bytes");
        QTest::newRow("binary file accepted") << binary << true << true << QStringLiteral("Null-Bytes");
        QTest::newRow("most lines no UTF-8, declined") << invalid << true << false << QStringLiteral("30 ihrer 31 Zeilen");
        QTest::newRow("lines up to the limit, no question") << atLimit << false << false << QString();
        QTest::newRow("more lines than the limit, declined") << overLimit << false << false << QString::number(limit + 1);
        QTest::newRow("more lines than the limit, accepted") << overLimit << false << true << QString::number(limit + 1);
    }

    void unlikelyFilesAreImportedOnlyWhenTheUserSaysSo()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, intoWindow);
        QFETCH(bool, yes);
        QFETCH(QString, reason);
        // GIVEN a file, and a list with one entry in its window, or the repository view
        const QString fileName = m_dir->filePath(QStringLiteral("auswahl.txt"));
        QFile file(fileName);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        file.close();
        ParameterCustomList* list = nullptr;
        ParameterCustomListWidget* window = nullptr;
        if (intoWindow) {
            list = createList(QStringLiteral("Liste"), {m_host->axis(0, 1)});
            list->addEntry(QStringLiteral("C05"));
            window = open(list);
        } else {
            openView();
        }
        const QByteArray before = list ? list->exportText() : QByteArray();

        // WHEN the file is imported
        QString question;
        bool asked = false;
        pickAndAnswer(fileName, yes ? QMessageBox::Yes : QMessageBox::No, &question, &asked, !intoWindow && yes);
        if (intoWindow)
            menuAction(window, QStringLiteral("Importieren ..."))->trigger();
        else
            chooseFromMenu(position(QString(), nullptr), -1);

        // THEN an unlikely file brings a question naming the file, the reason and what the import would make
        QCOMPARE(asked, !reason.isEmpty());
        if (asked) {
            QVERIFY2(question.contains(fileName) && question.contains(reason) && question.contains(QStringLiteral("Einträge")),
                     qPrintable(question));
        }
        // AND only a file the user let in changed anything: the same as importing its text directly
        const bool imported = !asked || yes;
        if (!intoWindow) {
            QCOMPARE(repository().content().size(), imported ? 1 : 0);
            if (!imported)
                return;
            list = qobject_cast<ParameterCustomList*>(repository().content().first());
            QVERIFY(list);
        }
        ParameterCustomList direct;
        direct.setAxes(list->axes());
        if (intoWindow)
            direct.importText(before);
        if (imported)
            direct.importText(content);
        QCOMPARE(list->exportText(), direct.exportText());
    }

    void importCreatesAListNamedAfterTheFile_data()
    {
        QTest::addColumn<QString>("source");   // empty = cancel
        QTest::addColumn<bool>("readable");
        QTest::newRow("base name stops at the first dot") << QStringLiteral("drive.set.txt") << true;
        QTest::newRow("unreadable") << QStringLiteral("gesperrt.txt") << false;
        QTest::newRow("cancelled") << QString() << false;
    }

    void importCreatesAListNamedAfterTheFile()
    {
        openView();
        QFETCH(QString, source);
        QFETCH(bool, readable);
        // GIVEN a file naming two parameters, or one that cannot be read
        const QString fileName = source.isEmpty() ? QString() : m_dir->filePath(source);
        if (readable) {
            QFile file(fileName);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("C05\r\nA10\r\n");
        } else if (!fileName.isEmpty()) {
            QVERIFY(makeUnreadableFile(fileName));
        }
        // WHEN the user chooses "Liste importieren" and picks the file, or cancels
        FileDialogRun run;
        answerFileDialog(&run, fileName);
        if (readable)   // the new list has no axes, so its window asks for them
            whenModal<QDialog>([](QDialog* dialog) { dialog->reject(); });
        chooseFromMenu(position(QString(), nullptr), -1);
        // THEN the dialog opened in the remembered directory for text files
        QVERIFY(run.dialogSeen);
        QCOMPARE(run.dialogParent, m_mainWindow->widget());
        QCOMPARE(run.caption, QStringLiteral("Parameterzusammenstellung importieren"));
        QCOMPARE(run.directory, m_dir->path());
        QCOMPARE(run.filters, QStringList{QStringLiteral("Textdateien (*.txt)")});
        // AND a list named after the file holds its parameters and opens, or nothing is created
        const QList<ParameterCustomListInformation*> lists = repository().content();
        QCOMPARE(lists.size(), readable ? 1 : 0);
        QCOMPARE(run.messageSeen, !readable && !fileName.isEmpty());
        if (readable) {
            QCOMPARE(lists.first()->name(), QStringLiteral("drive"));
            QCOMPARE(lists.first()->exportText(), QByteArray("A10\r\nC05\r\n"));
            QTRY_COMPARE(listRowTexts(), QStringList{QStringLiteral("drive")});
            QTRY_VERIFY(ParameterCustomListWidget::find(lists.first()->identifier())->isVisible());
            QCOMPARE(suggestedPath(), fileName);
        } else if (run.messageSeen) {
            checkFailureMessage(run, m_view, QStringLiteral("Die Datei %1 kann nicht geöffnet werden").arg(fileName));
        }
    }
};

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
