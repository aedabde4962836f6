#include "ParameterCustomListRepositoryView.h"

#include "ParameterCustomList.h"
#include "ParameterCustomListRepository.h"
#include "ParameterCustomListWidget.h"
#include "ListTestSupport.h"

#include "DefaultPathSetting.h"
#include "DriveControllerAxis.h"
#include "TestSupport.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <memory>

using namespace KxTest;

class TestRepositoryView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KxTest::initTestEnvironment(); }
    void init();
    void cleanup();

    void rowsFollowTheRepository();
    void creationNeedsAxes_data();
    void creationNeedsAxes();
    void contextMenuDependsOnTheRow_data();
    void contextMenuDependsOnTheRow();
    void typingIntoThePlaceholderCreatesAList_data();
    void typingIntoThePlaceholderCreatesAList();
    void editingARowRenamesItsList_data();
    void editingARowRenamesItsList();
    void deleteAsksFirst_data();
    void deleteAsksFirst();
    void activation_data();
    void activation();
    void openingTwiceRaisesOneWindow();
    void importCreatesAListNamedAfterTheFile_data();
    void importCreatesAListNamedAfterTheFile();

private:
    ParameterCustomList* createList(const QString& name);
    QTreeWidgetItem* rowOf(const QString& identifier) const;
    QStringList listRowTexts() const;
    QLineEdit* rowEditor() const;
    QList<ParameterCustomListWidget*> listWindows() const { return m_mainWindow->widget()->findChildren<ParameterCustomListWidget*>(); }
    QPoint position(const QString& where, ParameterCustomList* list) const;
    QMenu* contextMenu(const QPoint& position);

    std::unique_ptr<MainWindow> m_mainWindow;
    std::unique_ptr<Host> m_host;
    std::unique_ptr<QTemporaryDir> m_dir;
    ParameterCustomListRepositoryView* m_view = nullptr;
    QTreeWidget* m_tree = nullptr;
};

void TestRepositoryView::init()
{
    m_mainWindow = std::make_unique<MainWindow>();
    m_host = std::make_unique<Host>(project("lift"));
    ParameterCustomListRepository::instance().initialize(m_host.get());
    m_dir = std::make_unique<QTemporaryDir>();
    std::unique_ptr<DefaultPathSetting> setting(DefaultPathSetting::create(DefaultPathSetting::ParameterSelectionFiles));
    setting->rememberPath(m_dir->filePath(QStringLiteral("zuletzt.txt")));
    // The view of the last test went with its main window; this is a new one.
    m_view = &ParameterCustomListRepositoryView::instance();
    m_tree = m_view->findChild<QTreeWidget*>();
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view));
}

void TestRepositoryView::cleanup()
{
    cancelModalHandlers();
    ParameterCustomListRepository::instance().clear();
    QTRY_VERIFY(listWindows().isEmpty());
    m_host.reset();
    m_mainWindow.reset();
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

QStringList TestRepositoryView::listRowTexts() const
{
    QStringList texts;
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        if (m_tree->topLevelItem(i) != rowOf(QString()))
            texts << m_tree->topLevelItem(i)->text(0);
    }
    return texts;
}

QLineEdit* TestRepositoryView::rowEditor() const
{
    // A closed editor lingers until its deferred deletion; only a shown one counts.
    for (QLineEdit* editor : m_tree->viewport()->findChildren<QLineEdit*>()) {
        if (editor->isVisible())
            return editor;
    }
    return nullptr;
}

QPoint TestRepositoryView::position(const QString& where, ParameterCustomList* list) const
{
    if (where == QLatin1String("list"))
        return m_tree->visualItemRect(rowOf(list->identifier())).center();
    if (where == QLatin1String("placeholder"))
        return m_tree->visualItemRect(rowOf(QString())).center();
    return QPoint(5, m_tree->viewport()->height() - 3);
}

QMenu* TestRepositoryView::contextMenu(const QPoint& position)
{
    emit m_tree->customContextMenuRequested(position);
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

void TestRepositoryView::rowsFollowTheRepository()
{
    // GIVEN an empty repository: only the placeholder, italic and editable
    QCOMPARE(m_tree->topLevelItemCount(), 1);
    QTreeWidgetItem* placeholder = rowOf(QString());
    QCOMPARE(placeholder->text(0), QStringLiteral("<neue Liste>"));
    QVERIFY(placeholder->font(0).italic());
    QVERIFY(placeholder->flags() & Qt::ItemIsEditable);

    // WHEN lists are created
    ParameterCustomList* beta = createList(QStringLiteral("Beta"));
    ParameterCustomList* alpha = createList(QStringLiteral("Alpha"));
    ParameterCustomList* gamma = createList(QStringLiteral("Gamma"));

    // THEN each has an editable row with its identifier, sorted by name, beside the same placeholder
    QCOMPARE(listRowTexts(), (QStringList{QStringLiteral("Alpha"), QStringLiteral("Beta"), QStringLiteral("Gamma")}));
    QCOMPARE(m_tree->topLevelItemCount(), 4);
    QCOMPARE(rowOf(QString()), placeholder);
    QVERIFY(rowOf(alpha->identifier())->flags() & Qt::ItemIsEditable);

    // WHEN a list is deleted and another renamed elsewhere
    QTreeWidgetItem* gammaRow = rowOf(gamma->identifier());
    ParameterCustomListRepository::instance().deleteList(beta);
    gamma->setName(QStringLiteral("Aaron"));

    // THEN exactly its row goes, and the renamed row keeps its identifier
    QTRY_COMPARE(listRowTexts(), (QStringList{QStringLiteral("Aaron"), QStringLiteral("Alpha")}));
    QCOMPARE(rowOf(gamma->identifier()), gammaRow);

    // WHEN a list is renamed unnoticed, and the application asks for an update
    ParameterCustomListRepository::instance().blockSignals(true);
    alpha->setName(QStringLiteral("Zeta"));
    ParameterCustomListRepository::instance().blockSignals(false);
    QCoreApplication::processEvents();
    QCOMPARE(rowOf(alpha->identifier())->text(0), QStringLiteral("Alpha"));
    m_view->update();

    // THEN the row shows the current name
    QCOMPARE(rowOf(alpha->identifier())->text(0), QStringLiteral("Zeta"));
}

void TestRepositoryView::creationNeedsAxes_data()
{
    QTest::addColumn<bool>("withAxes");

    QTest::newRow("project with axes") << true;
    QTest::newRow("project without axes") << false;
}

void TestRepositoryView::creationNeedsAxes()
{
    QFETCH(bool, withAxes);

    // GIVEN a project with or without axes
    if (!withAxes)
        m_host->removeAllControllers();

    // THEN the placeholder and the menu's creating commands are enabled only with axes
    QCOMPARE(rowOf(QString())->isDisabled(), !withAxes);
    QMenu* menu = contextMenu(position(QStringLiteral("empty"), nullptr));
    QVERIFY(menu);
    QCOMPARE(menu->actions().size(), 2);
    QCOMPARE(menu->actions().at(0)->isEnabled(), withAxes);
    QCOMPARE(menu->actions().at(1)->isEnabled(), withAxes);
    menu->close();

    // AND only with axes does Return start editing the placeholder
    m_tree->setCurrentItem(rowOf(QString()));
    QTest::keyClick(m_tree, Qt::Key_Return);
    QCOMPARE(rowEditor() != nullptr, withAxes);
}

void TestRepositoryView::contextMenuDependsOnTheRow_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<QStringList>("texts");

    const QStringList create = {QStringLiteral("Neue Liste"), QStringLiteral("Liste importieren")};
    QTest::newRow("list row") << QStringLiteral("list")
        << QStringList{QStringLiteral("Öffnen"), QStringLiteral("Umbenennen"), QStringLiteral("Löschen"), QStringLiteral("--")} + create;
    QTest::newRow("placeholder") << QStringLiteral("placeholder") << create;
}

void TestRepositoryView::contextMenuDependsOnTheRow()
{
    QFETCH(QString, where);
    QFETCH(QStringList, texts);

    // GIVEN a repository with one list
    ParameterCustomList* list = createList(QStringLiteral("Kontext"));

    // WHEN the user asks for the context menu there
    QMenu* menu = contextMenu(position(where, list));
    QVERIFY(menu);

    // THEN it offers what applies there; the list commands name the list and show their keys
    QStringList shown;
    for (QAction* action : menu->actions())
        shown << (action->isSeparator() ? QStringLiteral("--") : action->text());
    QCOMPARE(shown, texts);
    const QList<QKeySequence> keys = {QKeySequence(Qt::Key_Enter), QKeySequence(Qt::Key_F2), QKeySequence(QKeySequence::Delete)};
    for (int i = 0; i < menu->actions().size() - 2; ++i) {
        QAction* action = menu->actions().at(i);
        if (action->isSeparator())
            continue;
        QCOMPARE(action->shortcut(), keys.at(i));
        QCOMPARE(action->shortcutContext(), Qt::WidgetShortcut);
        QVERIFY(action->isShortcutVisibleInContextMenu());
        QCOMPARE(action->data().toString(), list->identifier());
    }
    QVERIFY(menu->actions().last()->shortcut().isEmpty());
    menu->close();
}

void TestRepositoryView::typingIntoThePlaceholderCreatesAList_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("fromMenu");

    QTest::newRow("by Return") << QStringLiteral("Spindelachse") << false;
    QTest::newRow("by \"Neue Liste\", blanks kept") << QStringLiteral("  Achse 2 ") << true;
    QTest::newRow("empty name") << QString() << false;
}

void TestRepositoryView::typingIntoThePlaceholderCreatesAList()
{
    QFETCH(QString, name);
    QFETCH(bool, fromMenu);

    // GIVEN an empty repository
    // WHEN the user starts editing the placeholder, types a name and commits it
    if (fromMenu) {
        QMenu* menu = contextMenu(position(QStringLiteral("empty"), nullptr));
        menu->actions().first()->trigger();
        menu->close();
    } else {
        m_tree->setCurrentItem(rowOf(QString()));
        QTest::keyClick(m_tree, Qt::Key_Return);
    }
    QLineEdit* editor = rowEditor();
    QVERIFY(editor);
    bool selectionSeen = false;
    whenModal<QDialog>([](QDialog* dialog) {
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
    }, &selectionSeen);
    editor->clear();
    QTest::keyClicks(editor, name);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();   // the delegate commits through a queued call

    // THEN a list of exactly that name exists; its window opens and asks for its devices
    const QList<ParameterCustomListInformation*> lists = ParameterCustomListRepository::instance().content();
    QCOMPARE(lists.size(), 1);
    QCOMPARE(lists.first()->name(), name);
    QTRY_VERIFY(selectionSeen);
    QVERIFY(ParameterCustomListWidget::find(lists.first()->identifier())->isVisible());

    // AND the placeholder reads "<neue Liste>" again beside the new list's row
    QTRY_COMPARE(listRowTexts(), QStringList{name});
    QCOMPARE(rowOf(QString())->text(0), QStringLiteral("<neue Liste>"));
}

void TestRepositoryView::editingARowRenamesItsList_data()
{
    QTest::addColumn<bool>("fromMenu");

    QTest::newRow("edit key") << false;
    QTest::newRow("\"Umbenennen\"") << true;
}

void TestRepositoryView::editingARowRenamesItsList()
{
    QFETCH(bool, fromMenu);

    // GIVEN a list
    ParameterCustomList* list = createList(QStringLiteral("Alt"));

    // WHEN the user starts renaming its row, types a new name and commits it
    if (fromMenu) {
        QMenu* menu = contextMenu(position(QStringLiteral("list"), list));
        menu->actions().at(1)->trigger();
        menu->close();
    } else {
        m_tree->setCurrentItem(rowOf(list->identifier()));
        QTest::keyClick(m_tree, Qt::Key_F2);
    }
    QLineEdit* editor = rowEditor();
    QVERIFY(editor);

    // AND meanwhile Return reaches the tree itself
    QTest::keyClick(m_tree, Qt::Key_Return);
    QVERIFY(rowEditor());

    editor->clear();
    QTest::keyClicks(editor, QStringLiteral("Neu"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();

    // THEN the list has the new name and keeps its row; nothing was created or opened
    QCOMPARE(list->name(), QStringLiteral("Neu"));
    QTRY_COMPARE(listRowTexts(), QStringList{QStringLiteral("Neu")});
    QCOMPARE(ParameterCustomListRepository::instance().content().size(), 1);
    QTest::qWait(20);
    QVERIFY(listWindows().isEmpty());
}

void TestRepositoryView::deleteAsksFirst_data()
{
    QTest::addColumn<bool>("fromMenu");
    QTest::addColumn<bool>("yes");

    QTest::newRow("Delete key, Yes") << false << true;
    QTest::newRow("Delete key, No") << false << false;
    QTest::newRow("\"Löschen\", Yes") << true << true;
}

void TestRepositoryView::deleteAsksFirst()
{
    QFETCH(bool, fromMenu);
    QFETCH(bool, yes);

    // GIVEN two lists, the first one open in its window
    ParameterCustomList* doomed = createList(QStringLiteral("Eins"));
    ParameterCustomList* other = createList(QStringLiteral("Zwei"));
    const QString identifier = doomed->identifier();
    m_tree->setCurrentItem(rowOf(identifier));
    QTest::keyClick(m_tree, Qt::Key_Return);
    QTRY_VERIFY(ParameterCustomListWidget::find(identifier) && ParameterCustomListWidget::find(identifier)->isVisible());
    QPointer<ParameterCustomListWidget> window = ParameterCustomListWidget::find(identifier);

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
    if (fromMenu) {
        QMenu* menu = contextMenu(position(QStringLiteral("list"), doomed));
        QAction* remove = menu->actions().at(2);
        menu->close();
        remove->trigger();
    } else {
        QTest::keyClick(m_tree, Qt::Key_Delete);
    }

    // THEN only Yes deletes the list, its row and its window; the other list stays
    QVERIFY(asked);
    QCOMPARE(ParameterCustomListRepository::instance().list(identifier) == nullptr, yes);
    QCOMPARE(listRowTexts(), (yes ? QStringList{QStringLiteral("Zwei")} : QStringList{QStringLiteral("Eins"), QStringLiteral("Zwei")}));
    QVERIFY(rowOf(other->identifier()));
    if (yes)
        QTRY_VERIFY(!window);
    else
        QVERIFY(window && window->isVisible());
}

void TestRepositoryView::activation_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("where");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<bool>("edits");

    QTest::newRow("Return on a list row") << QStringLiteral("return") << QStringLiteral("list") << true << false;
    QTest::newRow("double click on a list row") << QStringLiteral("double") << QStringLiteral("list") << true << false;
    QTest::newRow("\"Öffnen\"") << QStringLiteral("menu") << QStringLiteral("list") << true << false;
    QTest::newRow("double click on the placeholder") << QStringLiteral("double") << QStringLiteral("placeholder") << false << true;
    QTest::newRow("double click on empty space") << QStringLiteral("double") << QStringLiteral("empty") << false << false;
    QTest::newRow("right double click on a list row") << QStringLiteral("right") << QStringLiteral("list") << false << false;
}

void TestRepositoryView::activation()
{
    QFETCH(QString, how);
    QFETCH(QString, where);
    QFETCH(bool, opens);
    QFETCH(bool, edits);

    // GIVEN a list with axes
    ParameterCustomList* list = createList(QStringLiteral("Aktiv"));
    const QPoint point = position(where, list);

    // WHEN the user activates a row
    if (how == QLatin1String("return")) {
        m_tree->setCurrentItem(rowOf(list->identifier()));
        QTest::keyClick(m_tree, Qt::Key_Return);
    } else if (how == QLatin1String("menu")) {
        QMenu* menu = contextMenu(point);
        QAction* open = menu->actions().first();
        menu->close();
        open->trigger();
    } else {
        QTest::mouseDClick(m_tree->viewport(), how == QLatin1String("double") ? Qt::LeftButton : Qt::RightButton, {}, point);
    }

    // THEN a list row's window is made at once and shown after the event, the
    // placeholder starts editing, and nothing else happens
    QCOMPARE(rowEditor() != nullptr, edits);
    QCOMPARE(listWindows().size(), opens ? 1 : 0);
    if (opens) {
        QVERIFY(!listWindows().first()->isVisible());
        QTRY_VERIFY(listWindows().first()->isVisible());
        QVERIFY(listWindows().first()->testAttribute(Qt::WA_DeleteOnClose));
    }
    QCOMPARE(ParameterCustomListRepository::instance().content().size(), 1);
}

void TestRepositoryView::openingTwiceRaisesOneWindow()
{
    // GIVEN a list whose window the user opened and then hid
    ParameterCustomList* list = createList(QStringLiteral("Einmal"));
    m_tree->setCurrentItem(rowOf(list->identifier()));
    QTest::keyClick(m_tree, Qt::Key_Return);
    QTRY_VERIFY(ParameterCustomListWidget::find(list->identifier()) && ParameterCustomListWidget::find(list->identifier())->isVisible());
    QPointer<ParameterCustomListWidget> first = ParameterCustomListWidget::find(list->identifier());
    first->hide();

    // WHEN the user opens the list again
    QTest::keyClick(m_tree, Qt::Key_Return);

    // THEN the same window shows again, and there is no second one
    QTRY_VERIFY(first->isVisible());
    QCOMPARE(listWindows().size(), 1);
}

void TestRepositoryView::importCreatesAListNamedAfterTheFile_data()
{
    QTest::addColumn<QString>("source");   // empty = cancel
    QTest::addColumn<bool>("readable");
    QTest::addColumn<QString>("listName");

    QTest::newRow("base name stops at the first dot") << QStringLiteral("drive.set.txt") << true << QStringLiteral("drive");
    QTest::newRow("unreadable") << QStringLiteral("gesperrt.txt") << false << QString();
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

    // WHEN the user chooses "Liste importieren" and picks the file, or cancels
    FileDialogRun run;
    answerFileDialog(&run, fileName);
    if (readable)   // the new list has no axes, so its window asks for them
        whenModal<QDialog>([](QDialog* dialog) { dialog->reject(); });
    QMenu* menu = contextMenu(position(QStringLiteral("empty"), nullptr));
    QAction* import = menu->actions().last();
    menu->close();
    import->trigger();

    // THEN the dialog opened in the remembered directory for text files
    QVERIFY(run.dialogSeen);
    QCOMPARE(run.dialogParent, m_mainWindow->widget());
    QCOMPARE(run.caption, QStringLiteral("Parameterzusammenstellung importieren"));
    QCOMPARE(run.directory, m_dir->path());
    QCOMPARE(run.filters, QStringList{QStringLiteral("Textdateien (*.txt)")});
    // AND a list named after the file holds its parameters and opens, or nothing is created
    const QList<ParameterCustomListInformation*> lists = ParameterCustomListRepository::instance().content();
    QCOMPARE(lists.size(), readable ? 1 : 0);
    QCOMPARE(run.messageSeen, !readable && !fileName.isEmpty());
    if (readable) {
        QCOMPARE(lists.first()->name(), listName);
        QCOMPARE(lists.first()->exportText(), QByteArray("A10\r\nC05\r\n"));
        QTRY_COMPARE(listRowTexts(), QStringList{listName});
        QTRY_VERIFY(ParameterCustomListWidget::find(lists.first()->identifier())->isVisible());
        QCOMPARE(std::unique_ptr<DefaultPathSetting>(DefaultPathSetting::create(DefaultPathSetting::ParameterSelectionFiles))->suggestedPath(), fileName);
    } else if (run.messageSeen) {
        QCOMPARE(run.messageParent, m_view);
        QVERIFY(run.messageIsCriticalWithOk);
        QCOMPARE(run.messageTitle, run.caption);
        QCOMPARE(run.messageText, QStringLiteral("Die Datei %1 kann nicht geöffnet werden").arg(fileName));
    }
}

QTEST_MAIN(TestRepositoryView)
#include "tst_repositoryview.moc"
