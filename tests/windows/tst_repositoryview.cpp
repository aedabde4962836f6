#include "ParameterCustomListRepositoryView.h"

#include "ParameterCustomList.h"
#include "ParameterCustomListRepository.h"
#include "ParameterCustomListWidget.h"
#include "ListTestSupport.h"

#include "DefaultPathSetting.h"
#include "DriveControllerAxis.h"

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

    std::unique_ptr<MainWindow> m_mainWindow;
    std::unique_ptr<Host> m_host;
    std::unique_ptr<QTemporaryDir> m_dir;
    ParameterCustomListRepositoryView* m_view = nullptr;
    QTreeWidget* m_tree = nullptr;

    ParameterCustomListRepository& repository() const { return ParameterCustomListRepository::instance(); }

    ParameterCustomList* createList(const QString& name)
    {
        auto* list = qobject_cast<ParameterCustomList*>(repository().createList());
        list->setName(name);
        list->setAxes({m_host->axis(0, 1)});
        QCoreApplication::processEvents();
        return list;
    }

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

    void openWithReturn(const QString& identifier)
    {
        m_tree->setCurrentItem(rowOf(identifier));
        QTest::keyClick(m_tree, Qt::Key_Return);
        QTRY_VERIFY(ParameterCustomListWidget::find(identifier) && ParameterCustomListWidget::find(identifier)->isVisible());
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
        // The view of the last test went with its main window; this is a new one.
        m_view = &ParameterCustomListRepositoryView::instance();
        m_tree = m_view->findChild<QTreeWidget*>();
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view));
    }

    void cleanup()
    {
        cancelModalHandlers();
        repository().clear();
        QTRY_VERIFY(listWindows().isEmpty());
        m_host.reset();
        m_mainWindow.reset();
        m_dir.reset();
    }

    void rowsFollowTheRepository()
    {
        // GIVEN an empty repository: only the placeholder, italic and editable
        QCOMPARE(m_tree->topLevelItemCount(), 1);
        QTreeWidgetItem* placeholder = rowOf(QString());
        QCOMPARE(placeholder->text(0), QStringLiteral("<neue Liste>"));
        QVERIFY(placeholder->font(0).italic());
        QVERIFY(placeholder->flags() & Qt::ItemIsEditable);
        // WHEN lists are created THEN each has an editable row, sorted by name, beside the same placeholder
        ParameterCustomList* beta = createList(QStringLiteral("Beta"));
        ParameterCustomList* alpha = createList(QStringLiteral("Alpha"));
        ParameterCustomList* gamma = createList(QStringLiteral("Gamma"));
        QCOMPARE(listRowTexts(), (QStringList{"Alpha", "Beta", "Gamma"}));
        QCOMPARE(rowOf(QString()), placeholder);
        QVERIFY(rowOf(alpha->identifier())->flags() & Qt::ItemIsEditable);
        // WHEN a list is deleted and another renamed elsewhere THEN exactly its row goes, the renamed row stays
        QTreeWidgetItem* gammaRow = rowOf(gamma->identifier());
        repository().deleteList(beta);
        gamma->setName(QStringLiteral("Aaron"));
        QTRY_COMPARE(listRowTexts(), (QStringList{"Aaron", "Alpha"}));
        QCOMPARE(rowOf(gamma->identifier()), gammaRow);
        // WHEN a list is renamed unnoticed and the application asks for an update THEN the row shows the current name
        repository().blockSignals(true);
        alpha->setName(QStringLiteral("Zeta"));
        repository().blockSignals(false);
        QCoreApplication::processEvents();
        QCOMPARE(rowOf(alpha->identifier())->text(0), QStringLiteral("Alpha"));
        m_view->update();
        QCOMPARE(rowOf(alpha->identifier())->text(0), QStringLiteral("Zeta"));
    }

    void creationNeedsAxes_data()
    {
        QTest::addColumn<bool>("withAxes");
        QTest::newRow("project with axes") << true;
        QTest::newRow("project without axes") << false;
    }

    void creationNeedsAxes()
    {
        QFETCH(bool, withAxes);
        if (!withAxes)
            m_host->removeAllControllers();
        // THEN the placeholder and the menu's creating commands are enabled only with axes
        QCOMPARE(rowOf(QString())->isDisabled(), !withAxes);
        emit m_tree->customContextMenuRequested(position(QString(), nullptr));
        QMenu* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QCOMPARE(menu->actions().size(), 2);
        QCOMPARE(menu->actions().at(0)->isEnabled(), withAxes);
        QCOMPARE(menu->actions().at(1)->isEnabled(), withAxes);
        menu->close();
        // AND only with axes does Return start editing the placeholder
        m_tree->setCurrentItem(rowOf(QString()));
        QTest::keyClick(m_tree, Qt::Key_Return);
        QCOMPARE(rowEditor() != nullptr, withAxes);
    }

    void contextMenuDependsOnTheRow_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QStringList>("texts");
        const QStringList create = {QStringLiteral("Neue Liste"), QStringLiteral("Liste importieren")};
        QTest::newRow("list row") << "list" << QStringList{"Öffnen", "Umbenennen", "Löschen", "--"} + create;
        QTest::newRow("placeholder") << "placeholder" << create;
    }

    void contextMenuDependsOnTheRow()
    {
        QFETCH(QString, where);
        QFETCH(QStringList, texts);
        ParameterCustomList* list = createList(QStringLiteral("Kontext"));
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
        menu->close();
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
        QFETCH(bool, placeholder);
        QFETCH(bool, fromMenu);
        QFETCH(QString, name);
        ParameterCustomList* existing = placeholder ? nullptr : createList(QStringLiteral("Alt"));
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
        QFETCH(bool, fromMenu);
        QFETCH(bool, yes);
        // GIVEN two lists, the first one open in its window
        ParameterCustomList* doomed = createList(QStringLiteral("Eins"));
        ParameterCustomList* other = createList(QStringLiteral("Zwei"));
        const QString identifier = doomed->identifier();
        openWithReturn(identifier);
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
        if (fromMenu)
            chooseFromMenu(position(QStringLiteral("list"), doomed), 2);
        else
            QTest::keyClick(m_tree, Qt::Key_Delete);
        // THEN only Yes deletes the list, its row and its window; the other list stays
        QVERIFY(asked);
        QCOMPARE(repository().list(identifier) == nullptr, yes);
        QCOMPARE(listRowTexts(), (yes ? QStringList{"Zwei"} : QStringList{"Eins", "Zwei"}));
        QVERIFY(rowOf(other->identifier()));
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
        QTest::newRow("right double click on a list row") << "right" << "list" << false << false;
    }

    void activation()
    {
        QFETCH(QString, how);
        QFETCH(QString, where);
        QFETCH(bool, opens);
        QFETCH(bool, edits);
        ParameterCustomList* list = createList(QStringLiteral("Aktiv"));
        const QPoint point = position(where, list);
        auto activate = [&] {
            if (how == QLatin1String("return")) {
                m_tree->setCurrentItem(rowOf(list->identifier()));
                QTest::keyClick(m_tree, Qt::Key_Return);
            } else if (how == QLatin1String("menu")) {
                chooseFromMenu(point, 0);
            } else {
                QTest::mouseDClick(m_tree->viewport(), how == QLatin1String("double") ? Qt::LeftButton : Qt::RightButton, {}, point);
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
            QCOMPARE(std::unique_ptr<DefaultPathSetting>(DefaultPathSetting::create(DefaultPathSetting::ParameterSelectionFiles))->suggestedPath(), fileName);
        } else if (run.messageSeen) {
            QCOMPARE(run.messageParent, m_view);
            QVERIFY(run.messageIsCriticalWithOk);
            QCOMPARE(run.messageTitle, run.caption);
            QCOMPARE(run.messageText, QStringLiteral("Die Datei %1 kann nicht geöffnet werden").arg(fileName));
        }
    }
};

QTEST_MAIN(TestRepositoryView)
#include "tst_repositoryview.moc"
