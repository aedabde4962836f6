#include "ParameterCustomListRepositoryView.h"

#include "ParameterCustomList.h"
#include "ParameterCustomListRepository.h"
#include "ParameterCustomListWidget.h"
#include "WindowsTestSupport.h"

#include "DefaultPathSetting.h"
#include "DriveControllerAxis.h"
#include "TestSupport.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <memory>

using namespace WindowsTest;

using AxisList = QList<QPointer<DriveControllerAxis>>;

class TestRepositoryView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void instanceIsOneDialogOverTheMainWindow();
    void rowsFollowTheRepository();
    void updateRebuildsTheRows();
    void placeholderNeedsAxes_data();
    void placeholderNeedsAxes();
    void contextMenuDependsOnTheRow_data();
    void contextMenuDependsOnTheRow();
    void typingIntoThePlaceholderCreatesAList_data();
    void typingIntoThePlaceholderCreatesAList();
    void renamingARowRenamesItsList_data();
    void renamingARowRenamesItsList();
    void deleteAsksFirst_data();
    void deleteAsksFirst();
    void activationOpensOrEdits_data();
    void activationOpensOrEdits();
    void keysDoNothingMoreWhileEditing();
    void openingTwiceRaisesOneWindow();
    void deletingAListClosesItsWindow();
    void importCreatesAListNamedAfterTheFile_data();
    void importCreatesAListNamedAfterTheFile();

private:
    ParameterCustomList* createList(const QString& name);
    QTreeWidgetItem* rowOf(const QString& identifier) const;
    QTreeWidgetItem* placeholder() const { return rowOf(QString()); }
    QStringList rowTexts() const;
    QLineEdit* rowEditor() const;
    QList<ParameterCustomListWidget*> listWindows() const;
    QPoint emptySpace() const;
    QPoint centreOf(QTreeWidgetItem* row) const { return m_tree->visualItemRect(row).center(); }
    // Cancels the device selection that a new list without axes asks for.
    void cancelDeviceSelection(bool* seen = nullptr);

    std::unique_ptr<MainWindow> m_mainWindow;
    std::unique_ptr<Host> m_host;
    std::unique_ptr<QTemporaryDir> m_dir;
    ParameterCustomListRepositoryView* m_view = nullptr;
    QTreeWidget* m_tree = nullptr;
};

void TestRepositoryView::initTestCase()
{
    KxTest::initTestEnvironment();
}

void TestRepositoryView::init()
{
    m_mainWindow = std::make_unique<MainWindow>();
    m_host = std::make_unique<Host>();
    ParameterCustomListRepository::instance().initialize(m_host.get());
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    std::unique_ptr<DefaultPathSetting> setting(DefaultPathSetting::create(DefaultPathSetting::ParameterSelectionFiles));
    setting->rememberPath(m_dir->filePath(QStringLiteral("zuletzt.txt")));

    m_view = &ParameterCustomListRepositoryView::instance();
    m_tree = m_view->findChild<QTreeWidget*>();
    QVERIFY(m_tree);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view));
}

void TestRepositoryView::cleanup()
{
    cancelModalHandlers();
    ParameterCustomListRepository::instance().clear();
    QTRY_VERIFY(listWindows().isEmpty());
    m_host.reset();
    // The view goes with its parent; the next instance() makes a new one.
    m_mainWindow.reset();
    m_view = nullptr;
    m_tree = nullptr;
    m_dir.reset();
}

ParameterCustomList* TestRepositoryView::createList(const QString& name)
{
    auto* list = qobject_cast<ParameterCustomList*>(ParameterCustomListRepository::instance().createList());
    list->setName(name);
    list->setAxes({m_host->axis(0, 1)});
    QCoreApplication::processEvents();
    return list;
}

QTreeWidgetItem* TestRepositoryView::rowOf(const QString& identifier) const
{
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        if (m_tree->topLevelItem(i)->data(0, Qt::UserRole).toString() == identifier)
            return m_tree->topLevelItem(i);
    }
    return nullptr;
}

QStringList TestRepositoryView::rowTexts() const
{
    QStringList texts;
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i)
        texts << m_tree->topLevelItem(i)->text(0);
    return texts;
}

QLineEdit* TestRepositoryView::rowEditor() const
{
    // A closed editor may linger until its deferred deletion; only a shown one counts.
    const QList<QLineEdit*> editors = m_tree->viewport()->findChildren<QLineEdit*>();
    for (QLineEdit* editor : editors) {
        if (editor->isVisible())
            return editor;
    }
    return nullptr;
}

QList<ParameterCustomListWidget*> TestRepositoryView::listWindows() const
{
    return m_mainWindow->widget()->findChildren<ParameterCustomListWidget*>();
}

QPoint TestRepositoryView::emptySpace() const
{
    return QPoint(5, m_tree->viewport()->height() - 3);
}

void TestRepositoryView::cancelDeviceSelection(bool* seen)
{
    whenModal<QDialog>([](QDialog* dialog) {
        if (auto* buttons = dialog->findChild<QDialogButtonBox*>())
            buttons->button(QDialogButtonBox::Cancel)->click();
    }, seen);
}

void TestRepositoryView::instanceIsOneDialogOverTheMainWindow()
{
    // THEN there is one view, a dialog over the main window, found by the help under its id
    QCOMPARE(&ParameterCustomListRepositoryView::instance(), m_view);
    QCOMPARE(m_view->parentWidget(), m_mainWindow->widget());
    QCOMPARE(m_view->windowType(), Qt::Dialog);
    QVERIFY(!(m_view->windowFlags() & Qt::WindowContextHelpButtonHint));
    QCOMPARE(m_view->windowTitle(), QStringLiteral("Variable Parameterlisten"));
    QCOMPARE(m_view->property("HelpId").toString(), QStringLiteral("ParameterCustomListRepository"));

    // AND it holds only the tree, which edits by key only and does not sort by itself
    auto* layout = qobject_cast<QVBoxLayout*>(m_view->layout());
    QVERIFY(layout);
    QCOMPARE(layout->count(), 1);
    QCOMPARE(layout->itemAt(0)->widget(), m_tree);
    QCOMPARE(layout->contentsMargins(), QMargins());
    QCOMPARE(layout->spacing(), 4);
    QCOMPARE(m_tree->columnCount(), 1);
    QCOMPARE(m_tree->headerItem()->text(0), QStringLiteral("Name"));
    QVERIFY(m_tree->isHeaderHidden());
    QVERIFY(!m_tree->rootIsDecorated());
    QCOMPARE(m_tree->frameStyle(), 0);
    QCOMPARE(m_tree->contextMenuPolicy(), Qt::CustomContextMenu);
    QCOMPARE(m_tree->editTriggers(), QAbstractItemView::EditTriggers(QAbstractItemView::EditKeyPressed));
    QVERIFY(!m_tree->isSortingEnabled());

    // WHEN the main window goes, the view goes with it, and the next call builds a new one
    QPointer<ParameterCustomListRepositoryView> gone = m_view;
    m_mainWindow = std::make_unique<MainWindow>();
    QVERIFY(!gone);
    m_view = &ParameterCustomListRepositoryView::instance();
    QCOMPARE(m_view->parentWidget(), m_mainWindow->widget());
    QVERIFY(!m_view->isVisible());
    m_tree = m_view->findChild<QTreeWidget*>();
}

void TestRepositoryView::rowsFollowTheRepository()
{
    // GIVEN an empty repository: only the placeholder, italic and enabled
    QCOMPARE(rowTexts(), QStringList{QStringLiteral("<neue Liste>")});
    QTreeWidgetItem* newListRow = placeholder();
    QVERIFY(newListRow);
    QVERIFY(newListRow->font(0).italic());
    QVERIFY(!newListRow->isDisabled());
    QVERIFY(newListRow->flags() & Qt::ItemIsEditable);

    // WHEN lists are created
    ParameterCustomList* beta = createList(QStringLiteral("Beta"));
    ParameterCustomList* alpha = createList(QStringLiteral("Alpha"));
    ParameterCustomList* gamma = createList(QStringLiteral("Gamma"));

    // THEN each has an editable row with its identifier, sorted by name, beside the one placeholder
    QTRY_COMPARE(m_tree->topLevelItemCount(), 4);
    QStringList listRows = rowTexts();
    listRows.removeAll(QStringLiteral("<neue Liste>"));
    QCOMPARE(listRows, (QStringList{QStringLiteral("Alpha"), QStringLiteral("Beta"), QStringLiteral("Gamma")}));
    for (ParameterCustomList* list : {alpha, beta, gamma}) {
        QTreeWidgetItem* row = rowOf(list->identifier());
        QVERIFY(row);
        QCOMPARE(row->text(0), list->name());
        QVERIFY(row->flags() & Qt::ItemIsEditable);
        QVERIFY(!row->font(0).italic());
    }
    QCOMPARE(placeholder(), newListRow);

    // WHEN a list is deleted and another renamed elsewhere
    QTreeWidgetItem* gammaRow = rowOf(gamma->identifier());
    ParameterCustomListRepository::instance().deleteList(beta);
    gamma->setName(QStringLiteral("Aaron"));

    // THEN exactly the deleted list's row goes, and the renamed row keeps its identifier
    QTRY_COMPARE(gammaRow->text(0), QStringLiteral("Aaron"));
    QCOMPARE(m_tree->topLevelItemCount(), 3);
    QCOMPARE(rowOf(gamma->identifier()), gammaRow);
    QVERIFY(rowOf(alpha->identifier()));
    listRows = rowTexts();
    listRows.removeAll(QStringLiteral("<neue Liste>"));
    QCOMPARE(listRows, (QStringList{QStringLiteral("Aaron"), QStringLiteral("Alpha")}));
}

void TestRepositoryView::updateRebuildsTheRows()
{
    // GIVEN a list renamed while the repository's notices were off
    ParameterCustomList* list = createList(QStringLiteral("Vorher"));
    QTRY_VERIFY(rowOf(list->identifier()));
    ParameterCustomListRepository::instance().blockSignals(true);
    list->setName(QStringLiteral("Nachher"));
    ParameterCustomListRepository::instance().blockSignals(false);
    QCoreApplication::processEvents();
    QCOMPARE(rowOf(list->identifier())->text(0), QStringLiteral("Vorher"));

    // WHEN the application asks the view to update
    m_view->update();

    // THEN the row shows the current name
    QCOMPARE(rowOf(list->identifier())->text(0), QStringLiteral("Nachher"));
}

void TestRepositoryView::placeholderNeedsAxes_data()
{
    QTest::addColumn<bool>("withAxes");

    QTest::newRow("project with axes") << true;
    QTest::newRow("project without axes") << false;
}

void TestRepositoryView::placeholderNeedsAxes()
{
    QFETCH(bool, withAxes);

    // GIVEN a project with or without axes
    if (!withAxes)
        m_host->removeAllControllers();

    // THEN the placeholder and the commands that create lists are enabled only with axes
    QCOMPARE(placeholder()->isDisabled(), !withAxes);
    expectPopupWarnings();
    emit m_tree->customContextMenuRequested(emptySpace());
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    const QList<QAction*> actions = menu->actions();
    QCOMPARE(actions.size(), 2);
    QCOMPARE(actions.at(0)->isEnabled(), withAxes);
    QCOMPARE(actions.at(1)->isEnabled(), withAxes);
    menu->close();

    // AND without axes the placeholder cannot be edited
    m_tree->setCurrentItem(placeholder());
    QTest::keyClick(m_tree, Qt::Key_Return);
    QCOMPARE((rowEditor() != nullptr), withAxes);
    if (withAxes)
        QTest::keyClick(rowEditor(), Qt::Key_Escape);
    QVERIFY(ParameterCustomListRepository::instance().content().isEmpty());
}

void TestRepositoryView::contextMenuDependsOnTheRow_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<QStringList>("texts");

    const QStringList create = {QStringLiteral("Neue Liste"), QStringLiteral("Liste importieren")};
    QTest::newRow("list row")
        << QStringLiteral("list")
        << QStringList{QStringLiteral("Öffnen"), QStringLiteral("Umbenennen"), QStringLiteral("Löschen"), QStringLiteral("--")} + create;
    QTest::newRow("placeholder") << QStringLiteral("placeholder") << create;
    QTest::newRow("empty space") << QStringLiteral("empty") << create;
}

void TestRepositoryView::contextMenuDependsOnTheRow()
{
    QFETCH(QString, where);
    QFETCH(QStringList, texts);

    // GIVEN a repository with one list
    ParameterCustomList* list = createList(QStringLiteral("Kontext"));
    QTRY_VERIFY(rowOf(list->identifier()));
    const QPoint position = where == QLatin1String("list") ? centreOf(rowOf(list->identifier()))
        : where == QLatin1String("placeholder") ? centreOf(placeholder()) : emptySpace();

    // WHEN the user asks for the context menu there
    expectPopupWarnings();
    emit m_tree->customContextMenuRequested(position);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);

    // THEN it offers the commands that apply there
    const QList<QAction*> actions = menu->actions();
    QStringList shown;
    for (QAction* action : actions)
        shown << (action->isSeparator() ? QStringLiteral("--") : action->text());
    QCOMPARE(shown, texts);
    if (where == QLatin1String("list")) {
        const QList<QKeySequence> shortcuts = {QKeySequence(Qt::Key_Enter), QKeySequence(Qt::Key_F2), QKeySequence(QKeySequence::Delete)};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(actions.at(i)->shortcut(), shortcuts.at(i));
            QCOMPARE(actions.at(i)->shortcutContext(), Qt::WidgetShortcut);
            QVERIFY(actions.at(i)->isShortcutVisibleInContextMenu());
            QCOMPARE(actions.at(i)->data().toString(), list->identifier());
        }
    }
    for (QAction* action : actions)
        QVERIFY(action->isSeparator() || action->isEnabled());
    QCOMPARE(actions.at(actions.size() - 2)->shortcut(), QKeySequence());
    QCOMPARE(actions.last()->shortcut(), QKeySequence());
    menu->close();
}

void TestRepositoryView::typingIntoThePlaceholderCreatesAList_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("fromMenu");

    QTest::newRow("name, by key") << QStringLiteral("Spindelachse") << false;
    QTest::newRow("blanks kept, from the menu") << QStringLiteral("  Achse 2 ") << true;
    QTest::newRow("empty name") << QString() << false;
}

void TestRepositoryView::typingIntoThePlaceholderCreatesAList()
{
    QFETCH(QString, name);
    QFETCH(bool, fromMenu);

    // GIVEN an empty repository
    // WHEN the user starts editing the placeholder, by Return or by "Neue Liste"
    if (fromMenu) {
        expectPopupWarnings();
        emit m_tree->customContextMenuRequested(emptySpace());
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        menu->actions().first()->trigger();
        menu->close();
    } else {
        m_tree->setCurrentItem(placeholder());
        QTest::keyClick(m_tree, Qt::Key_Return);
    }
    QLineEdit* editor = rowEditor();
    QVERIFY(editor);

    // AND types a name and commits it
    bool selectionSeen = false;
    cancelDeviceSelection(&selectionSeen);
    expectRaiseWarnings(1);
    editor->clear();
    QTest::keyClicks(editor, name);
    QTest::keyClick(editor, Qt::Key_Return);
    // The delegate commits through a queued call.
    QCoreApplication::processEvents();

    // THEN a list of exactly that name exists, its window opens and asks for its devices
    const QList<ParameterCustomListInformation*> lists = ParameterCustomListRepository::instance().content();
    QCOMPARE(lists.size(), 1);
    QCOMPARE(lists.first()->name(), name);
    QTRY_VERIFY(selectionSeen);
    ParameterCustomListWidget* window = ParameterCustomListWidget::find(lists.first()->identifier());
    QVERIFY(window);
    QVERIFY(window->isVisible());

    // AND the placeholder reads "<neue Liste>" again beside the new list's row
    QTRY_COMPARE(m_tree->topLevelItemCount(), 2);
    QCOMPARE(placeholder()->text(0), QStringLiteral("<neue Liste>"));
    QTRY_COMPARE(rowOf(lists.first()->identifier())->text(0), name);
}

void TestRepositoryView::renamingARowRenamesItsList_data()
{
    QTest::addColumn<bool>("fromMenu");

    QTest::newRow("edit key") << false;
    QTest::newRow("context menu") << true;
}

void TestRepositoryView::renamingARowRenamesItsList()
{
    QFETCH(bool, fromMenu);

    // GIVEN a list
    ParameterCustomList* list = createList(QStringLiteral("Alt"));
    QTRY_VERIFY(rowOf(list->identifier()));
    QTreeWidgetItem* row = rowOf(list->identifier());

    // WHEN the user starts renaming its row and types a new name
    if (fromMenu) {
        expectPopupWarnings();
        emit m_tree->customContextMenuRequested(centreOf(row));
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        menu->actions().at(1)->trigger();
        menu->close();
    } else {
        m_tree->setCurrentItem(row);
        QTest::keyClick(m_tree, Qt::Key_F2);
    }
    QLineEdit* editor = rowEditor();
    QVERIFY(editor);
    editor->clear();
    QTest::keyClicks(editor, QStringLiteral("Neu"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();

    // THEN the list has the new name, keeps its identifier, and nothing else is created or opened
    QCOMPARE(list->name(), QStringLiteral("Neu"));
    QTRY_COMPARE(rowOf(list->identifier())->text(0), QStringLiteral("Neu"));
    QCOMPARE(ParameterCustomListRepository::instance().content().size(), 1);
    QCoreApplication::processEvents();
    QVERIFY(listWindows().isEmpty());
}

void TestRepositoryView::deleteAsksFirst_data()
{
    QTest::addColumn<bool>("fromMenu");
    QTest::addColumn<bool>("yes");

    QTest::newRow("Delete key, Yes") << false << true;
    QTest::newRow("Delete key, No") << false << false;
    QTest::newRow("context menu, Yes") << true << true;
    QTest::newRow("context menu, No") << true << false;
}

void TestRepositoryView::deleteAsksFirst()
{
    QFETCH(bool, fromMenu);
    QFETCH(bool, yes);

    // GIVEN two lists
    ParameterCustomList* doomed = createList(QStringLiteral("Eins"));
    ParameterCustomList* other = createList(QStringLiteral("Zwei"));
    QPointer<ParameterCustomList> guard(doomed);
    QTRY_COMPARE(m_tree->topLevelItemCount(), 3);

    // WHEN the user deletes the first and answers the question
    bool asked = false;
    whenModal<QMessageBox>([&](QMessageBox* box) {
        QCOMPARE(box->parentWidget(), m_view);
        QCOMPARE(box->windowTitle(), QStringLiteral("Löschen"));
        QCOMPARE(box->text(), QStringLiteral("Wollen Sie die variable Parameterliste unwiderruflich löschen?"));
        QCOMPARE(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
        QVERIFY(box->defaultButton() == nullptr);
        box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
    }, &asked);
    QTreeWidgetItem* row = rowOf(doomed->identifier());
    if (fromMenu) {
        expectPopupWarnings();
        emit m_tree->customContextMenuRequested(centreOf(row));
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QAction* remove = menu->actions().at(2);
        menu->close();
        remove->trigger();
    } else {
        m_tree->setCurrentItem(row);
        QTest::keyClick(m_tree, Qt::Key_Delete);
    }

    // THEN the list is gone with its row on Yes only; the other list stays
    QVERIFY(asked);
    QCOMPARE(guard.isNull(), yes);
    QCOMPARE(ParameterCustomListRepository::instance().content().size(), yes ? 1 : 2);
    QCOMPARE(m_tree->topLevelItemCount(), yes ? 2 : 3);
    QVERIFY(rowOf(other->identifier()));
}

void TestRepositoryView::activationOpensOrEdits_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("where");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<bool>("edits");

    QTest::newRow("Return on a list row") << QStringLiteral("return") << QStringLiteral("list") << true << false;
    QTest::newRow("Enter on a list row") << QStringLiteral("enter") << QStringLiteral("list") << true << false;
    QTest::newRow("double click on a list row") << QStringLiteral("double") << QStringLiteral("list") << true << false;
    QTest::newRow("context Öffnen") << QStringLiteral("menu") << QStringLiteral("list") << true << false;
    QTest::newRow("Return on the placeholder") << QStringLiteral("return") << QStringLiteral("placeholder") << false << true;
    QTest::newRow("double click on the placeholder") << QStringLiteral("double") << QStringLiteral("placeholder") << false << true;
    QTest::newRow("double click on empty space") << QStringLiteral("double") << QStringLiteral("empty") << false << false;
    QTest::newRow("right double click on a list row") << QStringLiteral("rightdouble") << QStringLiteral("list") << false << false;
}

void TestRepositoryView::activationOpensOrEdits()
{
    QFETCH(QString, how);
    QFETCH(QString, where);
    QFETCH(bool, opens);
    QFETCH(bool, edits);

    // GIVEN a list with axes
    ParameterCustomList* list = createList(QStringLiteral("Aktiv"));
    QTRY_VERIFY(rowOf(list->identifier()));
    QTreeWidgetItem* row = where == QLatin1String("list") ? rowOf(list->identifier())
        : where == QLatin1String("placeholder") ? placeholder() : nullptr;
    const QPoint position = row ? centreOf(row) : emptySpace();

    // WHEN the user activates the row
    if (opens)
        expectRaiseWarnings(1);
    if (how == QLatin1String("return") || how == QLatin1String("enter")) {
        m_tree->setCurrentItem(row);
        QTest::keyClick(m_tree, how == QLatin1String("return") ? Qt::Key_Return : Qt::Key_Enter);
    } else if (how == QLatin1String("menu")) {
        expectPopupWarnings();
        emit m_tree->customContextMenuRequested(position);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QAction* open = menu->actions().first();
        menu->close();
        open->trigger();
    } else {
        QTest::mouseDClick(m_tree->viewport(), how == QLatin1String("double") ? Qt::LeftButton : Qt::RightButton,
                           Qt::NoModifier, position);
    }

    // THEN a list row opens its window after the event, the placeholder starts editing, and nothing else happens
    QCOMPARE((rowEditor() != nullptr), edits);
    QCOMPARE(listWindows().size(), opens ? 1 : 0);
    if (opens) {
        QVERIFY(!listWindows().first()->isVisible());
        QTRY_VERIFY(ParameterCustomListWidget::find(list->identifier()));
        QTRY_VERIFY(ParameterCustomListWidget::find(list->identifier())->isVisible());
        QVERIFY(ParameterCustomListWidget::find(list->identifier())->testAttribute(Qt::WA_DeleteOnClose));
    } else {
        QTest::qWait(20);
        QVERIFY(listWindows().isEmpty());
    }
    if (edits)
        QTest::keyClick(rowEditor(), Qt::Key_Escape);
    QCOMPARE(ParameterCustomListRepository::instance().content().size(), 1);
}

void TestRepositoryView::keysDoNothingMoreWhileEditing()
{
    // GIVEN a list row being renamed
    ParameterCustomList* list = createList(QStringLiteral("Bearbeiten"));
    QTRY_VERIFY(rowOf(list->identifier()));
    m_tree->setCurrentItem(rowOf(list->identifier()));
    QTest::keyClick(m_tree, Qt::Key_F2);
    QVERIFY(rowEditor());

    // WHEN Return and Enter reach the tree itself
    QTest::keyClick(m_tree, Qt::Key_Return);
    QTest::keyClick(m_tree, Qt::Key_Enter);
    QTest::qWait(20);

    // THEN no window opens and the edit goes on
    QVERIFY(listWindows().isEmpty());
    QVERIFY(rowEditor());
    QTest::keyClick(rowEditor(), Qt::Key_Escape);
}

void TestRepositoryView::openingTwiceRaisesOneWindow()
{
    // GIVEN a list whose window the user opened
    ParameterCustomList* list = createList(QStringLiteral("Einmal"));
    QTRY_VERIFY(rowOf(list->identifier()));
    m_tree->setCurrentItem(rowOf(list->identifier()));
    expectRaiseWarnings(1);
    QTest::keyClick(m_tree, Qt::Key_Return);
    QTRY_VERIFY(ParameterCustomListWidget::find(list->identifier()));
    QPointer<ParameterCustomListWidget> first = ParameterCustomListWidget::find(list->identifier());
    QTRY_VERIFY(first->isVisible());

    // WHEN the user hides it and opens the list again
    first->hide();
    expectRaiseWarnings(1);
    QTest::keyClick(m_tree, Qt::Key_Return);

    // THEN the same window shows again; there is no second one
    QTRY_VERIFY(first->isVisible());
    QCOMPARE(listWindows().size(), 1);

    // WHEN the window is closed and the list opened again
    first->close();
    QTRY_VERIFY(!first);
    expectRaiseWarnings(1);
    QTest::keyClick(m_tree, Qt::Key_Return);

    // THEN a new window opens
    QTRY_COMPARE(listWindows().size(), 1);
    QTRY_VERIFY(listWindows().first()->isVisible());
    QCOMPARE(listWindows().first()->listIdentifier(), list->identifier());
}

void TestRepositoryView::deletingAListClosesItsWindow()
{
    // GIVEN a list whose window is open
    ParameterCustomList* list = createList(QStringLiteral("Schließen"));
    QTRY_VERIFY(rowOf(list->identifier()));
    m_tree->setCurrentItem(rowOf(list->identifier()));
    expectRaiseWarnings(1);
    QTest::keyClick(m_tree, Qt::Key_Return);
    QTRY_VERIFY(ParameterCustomListWidget::find(list->identifier()));
    QPointer<ParameterCustomListWidget> window = ParameterCustomListWidget::find(list->identifier());

    // WHEN the user deletes the list from the view
    whenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
    QTest::keyClick(m_tree, Qt::Key_Delete);

    // THEN its window closes and is deleted
    QTRY_VERIFY(!window);
    QVERIFY(listWindows().isEmpty());
    QCOMPARE(rowTexts(), QStringList{QStringLiteral("<neue Liste>")});
}

void TestRepositoryView::importCreatesAListNamedAfterTheFile_data()
{
    QTest::addColumn<QString>("source");   // empty = cancel
    QTest::addColumn<bool>("readable");
    QTest::addColumn<QString>("listName");

    QTest::newRow("base name stops at the first dot") << QStringLiteral("drive.set.txt") << true << QStringLiteral("drive");
    QTest::newRow("unreadable file") << QStringLiteral("gesperrt.txt") << false << QString();
    QTest::newRow("cancelled") << QString() << false << QString();
}

void TestRepositoryView::importCreatesAListNamedAfterTheFile()
{
    QFETCH(QString, source);
    QFETCH(bool, readable);
    QFETCH(QString, listName);

    // GIVEN a file naming two parameters, or one that cannot be read
    const QString fileName = source.isEmpty() ? QString() : m_dir->filePath(source);
    if (readable) {
        QFile file(fileName);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("C05\r\nA10\r\n");
    } else if (!fileName.isEmpty()) {
        QVERIFY(makeUnreadableFile(fileName));
    }

    // WHEN the user imports a list and picks the file, or cancels
    QString caption;
    QString directory;
    QStringList filters;
    QString messageText;
    QString messageTitle;
    bool dialogSeen = false;
    bool messageSeen = false;
    whenModal<QFileDialog>([&](QFileDialog* dialog) {
        QCOMPARE(dialog->parentWidget(), m_mainWindow->widget());
        caption = dialog->windowTitle();
        directory = dialog->directory().absolutePath();
        filters = dialog->nameFilters();
        if (fileName.isEmpty()) {
            dialog->reject();
            return;
        }
        whenModal<QMessageBox>([&](QMessageBox* box) {
            QCOMPARE(box->parentWidget(), m_view);
            QCOMPARE(box->icon(), QMessageBox::Critical);
            messageTitle = box->windowTitle();
            messageText = box->text();
            box->button(QMessageBox::Ok)->click();
        }, &messageSeen, 1000);
        acceptFileDialog(dialog, fileName);
    }, &dialogSeen);
    if (readable) {
        // The new list has no axes, so its window asks for them.
        cancelDeviceSelection();
        expectRaiseWarnings(1);
    }
    expectPopupWarnings();
    emit m_tree->customContextMenuRequested(emptySpace());
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QAction* import = menu->actions().last();
    menu->close();
    import->trigger();

    // THEN the dialog opened in the remembered directory for text files
    QVERIFY(dialogSeen);
    QCOMPARE(caption, QStringLiteral("Parameterzusammenstellung importieren"));
    QCOMPARE(directory, m_dir->path());
    QCOMPARE(filters, QStringList{QStringLiteral("Textdateien (*.txt)")});
    const QList<ParameterCustomListInformation*> lists = ParameterCustomListRepository::instance().content();
    if (readable) {
        // AND a list named after the file holds its parameters, and its window opens
        QVERIFY(!messageSeen);
        QCOMPARE(lists.size(), 1);
        QCOMPARE(lists.first()->name(), listName);
        QCOMPARE(lists.first()->exportText(), QByteArray("A10\r\nC05\r\n"));
        QTRY_VERIFY(ParameterCustomListWidget::find(lists.first()->identifier()));
        QTRY_VERIFY(rowOf(lists.first()->identifier()));
        QTRY_COMPARE(rowOf(lists.first()->identifier())->text(0), listName);
        std::unique_ptr<DefaultPathSetting> setting(DefaultPathSetting::create(DefaultPathSetting::ParameterSelectionFiles));
        QCOMPARE(setting->suggestedPath(), fileName);
    } else {
        // AND otherwise nothing is created; an unreadable file is reported
        QCOMPARE(messageSeen, !fileName.isEmpty());
        if (messageSeen) {
            QCOMPARE(messageTitle, QStringLiteral("Parameterzusammenstellung importieren"));
            QCOMPARE(messageText, QStringLiteral("Die Datei %1 kann nicht geöffnet werden").arg(fileName));
        }
        QVERIFY(lists.isEmpty());
        QCOMPARE(m_tree->topLevelItemCount(), 1);
    }
}

QTEST_MAIN(TestRepositoryView)
#include "tst_repositoryview.moc"
