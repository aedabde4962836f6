// Undo and redo of list edits: every edit the user makes in a list window or
// in the list view is one step of the project's undo stack, taken back with
// Ctrl+Z and done again with Ctrl+Y or Ctrl+Shift+Z, and the windows show
// each state. Opening a project starts a stack of its own.
#include "AppTestSupport.h"
#include "TestSupport.h"

#include "DriveController.h"
#include "MainWindow.h"
#include "ParameterCustomListInformation.h"
#include "ParameterCustomListRepository.h"
#include "ParameterCustomListRepositoryView.h"
#include "Project.h"
#include "ProjectHost.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QUndoStack>

using KxTest::whenModal;

namespace {

const QString left = QStringLiteral("Prüfstand links");
const QString right = QStringLiteral("Prüfstand rechts");

ParameterCustomListRepository& repository()
{
    return ParameterCustomListRepository::instance();
}

QTreeWidget* listTree(QWidget* listWindow)
{
    return listWindow->findChild<QTreeWidget*>(QStringLiteral("parameterTreeWidget"));
}

QStringList rowTexts(QWidget* listWindow)
{
    QStringList texts;
    for (QTreeWidgetItem* row : KxTest::treeRows(listTree(listWindow)))
        texts.append(row->text(0));
    return texts;
}

QTreeWidgetItem* rowStartingWith(QWidget* listWindow, const QString& coordinate)
{
    for (QTreeWidgetItem* row : KxTest::treeRows(listTree(listWindow))) {
        if (!row->parent() && row->text(0).startsWith(coordinate))
            return row;
    }
    return nullptr;
}

QAction* menuAction(QWidget* listWindow, const QString& text)
{
    for (QAction* action : listWindow->findChild<QMenu*>()->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

QTreeWidget* listView(MainWindow& window)
{
    window.findChild<QAction*>(QStringLiteral("actionParameterCustomLists"))->trigger();
    return ParameterCustomListRepositoryView::instance().findChild<QTreeWidget*>();
}

QStringList listNames()
{
    QStringList names;
    for (ParameterCustomListInformation* list : repository().content())
        names.append(list->name());
    return names;
}

// A key the way the user presses it in @p widget's window, which is active.
void press(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    widget->window()->raise();
    QApplication::setActiveWindow(widget->window());
    QTest::keyClick(widget, key, modifiers);
}

} // namespace

class ListUndoTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        KxTest::initTestEnvironment();
        QVERIFY(m_types.isValid() && m_work.isValid());
        m_description = AppTest::writeTypesAndDescription(QDir(m_types.path()), QDir(m_work.path()));
        m_importFile = AppTest::writeFile(QDir(m_work.path()), QStringLiteral("auswahl.txt"), "E50\r\nA12[3]\r\n");
    }
    void cleanup() { KxTest::cancelModalHandlers(); }

    void listWindowEditsAreOneStepEach_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("step");
        QTest::addColumn<QString>("after");
        const QString list = QStringLiteral("„neue Parameterliste“");
        QTest::newRow("Delete on a parameter") << "entry" << "A10 aus " + list + " entfernt" << "A12[1/2] C30";
        QTest::newRow("Delete on an element") << "element" << "Element von A12 aus " + list + " entfernt" << "A10 A12[2] C30";
        QTest::newRow("\"Liste leeren\"") << "clear" << list + " geleert" << "";
        QTest::newRow("\"Importieren ...\"") << "import" << "Import in " + list << "A10 A12[3] C30 E50";
        QTest::newRow("typed into the add field") << "add" << "E50 zu " + list + " hinzugefügt" << "A10 A12[1/2] C30 E50";
    }

    void listWindowEditsAreOneStepEach()
    {
        QFETCH(QString, action);
        QFETCH(QString, step);
        QFETCH(QString, after);
        // GIVEN a shown application with a list of a whole parameter, two elements of another and a record, in its window
        auto window = AppTest::openWindow(m_types.path(), m_description);
        QVERIFY(window);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        ParameterCustomListInformation* list = repository().createList();
        QWidget* listWindow = AppTest::openListWindow(*window, list->identifier(), {AppTest::axisCaption(left, "Hubwerk"), AppTest::axisCaption(left, "Drehtisch")});
        QVERIFY(listWindow);
        for (const char* parameter : {"A10", "A12[1]", "A12[2]", "C30"})
            list->addEntry(QLatin1String(parameter));
        QUndoStack* undo = window->undoStack();
        KxTest::deliver();
        const int steps = undo->count();
        const QString before = AppTest::entries(list);
        QCOMPARE(before, QStringLiteral("A10 A12[1/2] C30"));
        const QStringList rowsBefore = rowTexts(listWindow);

        // WHEN the user makes the edit
        if (action == QLatin1String("entry") || action == QLatin1String("element")) {
            QTreeWidgetItem* row = rowStartingWith(listWindow, action == QLatin1String("entry") ? QStringLiteral("A10") : QStringLiteral("A12"));
            QVERIFY(row);
            if (action == QLatin1String("element"))
                row = row->child(0);
            listTree(listWindow)->setCurrentItem(row, 0);
            press(listTree(listWindow), Qt::Key_Delete);
        } else if (action == QLatin1String("clear")) {
            menuAction(listWindow, QStringLiteral("Liste leeren"))->trigger();
        } else if (action == QLatin1String("import")) {
            whenModal<QFileDialog>([this](QFileDialog* dialog) {
                dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(m_importFile);
                QMetaObject::invokeMethod(dialog, "accept");
            });
            menuAction(listWindow, QStringLiteral("Importieren ..."))->trigger();
        } else {
            auto* field = listWindow->findChild<QLineEdit*>(QStringLiteral("parameterAddLineEdit"));
            QApplication::setActiveWindow(listWindow);
            QTest::keyClicks(field, QStringLiteral("E50"));
            press(field, Qt::Key_Return);
        }

        // THEN the list holds what the edit made, and the edit is one step named after it
        QTRY_COMPARE(AppTest::entries(list), after);
        QTRY_COMPARE(undo->count(), steps + 1);
        KxTest::deliver();
        QCOMPARE(undo->count(), steps + 1);
        QCOMPARE(undo->undoText(), step);
        QCOMPARE(window->findChild<QAction*>(QStringLiteral("actionUndo"))->text(), QStringLiteral("&Rückgängig: ") + step);
        QTRY_VERIFY(rowTexts(listWindow) != rowsBefore);
        const QStringList rowsAfter = rowTexts(listWindow);

        // WHEN Ctrl+Z is pressed in the list window THEN the list and its rows are as before, and nothing new is a step
        press(listTree(listWindow), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(AppTest::entries(list), before);
        QTRY_COMPARE(rowTexts(listWindow), rowsBefore);
        KxTest::deliver();
        QCOMPARE(undo->count(), steps + 1);
        QCOMPARE(undo->index(), steps);
        QCOMPARE(undo->redoText(), step);
        // WHEN Ctrl+Y, then Ctrl+Z and Ctrl+Shift+Z THEN the edit is done again each time
        press(listTree(listWindow), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(AppTest::entries(list), after);
        QTRY_COMPARE(rowTexts(listWindow), rowsAfter);
        press(listTree(listWindow), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(AppTest::entries(list), before);
        press(listTree(listWindow), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(AppTest::entries(list), after);
        QTRY_COMPARE(rowTexts(listWindow), rowsAfter);
        KxTest::deliver();
        QCOMPARE(undo->count(), steps + 1);
        QCOMPARE(undo->index(), steps + 1);
    }

    void listViewEditsAreOneStepEach()
    {
        // GIVEN a shown application with its list view
        auto window = AppTest::openWindow(m_types.path(), m_description);
        QVERIFY(window);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QTreeWidget* view = listView(*window);
        QUndoStack* undo = window->undoStack();
        KxTest::deliver();
        QCOMPARE(undo->count(), 0);

        // WHEN a list is created on the placeholder row, its axes chosen as its window asks for them
        whenModal<QDialog>([](QDialog* dialog) {
            KxTest::treeRows(dialog->findChild<QTreeWidget*>()).value(1)->setCheckState(0, Qt::Checked);
            dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        });
        view->setCurrentItem(view->topLevelItem(view->topLevelItemCount() - 1));
        press(view, Qt::Key_Return);
        QTRY_VERIFY(view->findChild<QLineEdit*>());
        QTest::keyClicks(view->findChild<QLineEdit*>(), QStringLiteral("Testliste"));
        QTest::keyClick(view->findChild<QLineEdit*>(), Qt::Key_Return);
        // THEN making it is one step, choosing its axes another
        QTRY_COMPARE(undo->count(), 2);
        QCOMPARE(undo->command(0)->text(), QStringLiteral("Liste „Testliste“ angelegt"));
        QCOMPARE(undo->command(1)->text(), QStringLiteral("Achsen von „Testliste“ geändert"));
        ParameterCustomListInformation* list = repository().content().value(0);
        QVERIFY(list);
        const QString identifier = list->identifier();
        list->addEntry(QStringLiteral("B20"));
        QTRY_COMPARE(undo->count(), 3);

        // WHEN it is renamed with F2 and then deleted with the Delete key, answering Yes
        QTreeWidgetItem* row = AppTest::listRow(*window, identifier);
        view->setCurrentItem(row);
        press(view, Qt::Key_F2);
        QTRY_VERIFY(view->findChild<QLineEdit*>());
        view->findChild<QLineEdit*>()->clear();
        QTest::keyClicks(view->findChild<QLineEdit*>(), QStringLiteral("Motor"));
        QTest::keyClick(view->findChild<QLineEdit*>(), Qt::Key_Return);
        QTRY_COMPARE(undo->count(), 4);
        QCOMPARE(undo->undoText(), QStringLiteral("„Testliste“ umbenannt in „Motor“"));
        whenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
        view->setCurrentItem(AppTest::listRow(*window, identifier));
        press(view, Qt::Key_Delete);
        QVERIFY(!repository().list(identifier));
        QTRY_COMPARE(undo->count(), 5);
        QCOMPARE(undo->undoText(), QStringLiteral("Liste „Motor“ gelöscht"));

        // WHEN Ctrl+Z is pressed in the view THEN the list is back with its identifier, name, entries and row
        press(view, Qt::Key_Z, Qt::ControlModifier);
        list = repository().list(identifier);
        QVERIFY(list);
        QCOMPARE(list->name(), QStringLiteral("Motor"));
        QCOMPARE(AppTest::entries(list), QStringLiteral("B20"));
        QVERIFY(AppTest::listRow(*window, identifier));
        // AND the next Ctrl+Z takes back the name, the ones after the entry, the axes and the list itself
        press(view, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(list->name(), QStringLiteral("Testliste"));
        QTRY_COMPARE(AppTest::listRow(*window, identifier)->text(0), QStringLiteral("Testliste"));
        press(view, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(AppTest::entries(list), QString());
        press(view, Qt::Key_Z, Qt::ControlModifier);
        press(view, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(repository().content().isEmpty());
        QTRY_VERIFY(!AppTest::listRow(*window, identifier));
        KxTest::deliver();
        QCOMPARE(undo->index(), 0);
        QCOMPARE(undo->count(), 5);

        // WHEN everything is done again but the deletion THEN the list is there as the user left it before deleting
        for (int i = 0; i < 4; ++i)
            press(view, Qt::Key_Y, Qt::ControlModifier);
        list = repository().list(identifier);
        QVERIFY(list);
        QCOMPARE(list->name(), QStringLiteral("Motor"));
        QCOMPARE(AppTest::entries(list), QStringLiteral("B20"));
        // AND redoing the deletion and undoing it brings it back into the project file
        press(view, Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(!repository().list(identifier));
        press(view, Qt::Key_Z, Qt::ControlModifier);
        const QString path = QDir(m_work.path()).filePath(QStringLiteral("zurueck.kxproj"));
        QVERIFY(window->saveFile(path));
        // AND opening the file starts without steps, and opening it is none
        QVERIFY(window->openFile(path));
        KxTest::deliver();
        QCOMPARE(undo->count(), 0);
        QVERIFY(repository().list(identifier));
        QCOMPARE(repository().list(identifier)->name(), QStringLiteral("Motor"));
        QCOMPARE(AppTest::entries(repository().list(identifier)), QStringLiteral("B20"));
        // AND so does a new project
        repository().list(identifier)->addEntry(QStringLiteral("A10"));
        QTRY_COMPARE(undo->count(), 1);
        window->project()->newProject();
        KxTest::deliver();
        QCOMPARE(undo->count(), 0);
        QVERIFY(listNames().isEmpty());
    }

    void deletedListReturnsToItsAxesWhenControllersWentMeanwhile()
    {
        // GIVEN a list on the second controller's axis, deleted
        auto window = AppTest::openWindow(m_types.path(), m_description, {right});
        QVERIFY(window);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        ParameterCustomListInformation* list = repository().createList();
        const QString identifier = list->identifier();
        QVERIFY(AppTest::openListWindow(*window, identifier, {AppTest::axisCaption(right, "Achse 2")}));
        KxTest::deliver();
        list->addEntry(QStringLiteral("A12[2]"));
        QUndoStack* undo = window->undoStack();
        QTRY_COMPARE(undo->undoText(), QStringLiteral("A12 zu „neue Parameterliste“ hinzugefügt"));
        repository().deleteList(list);
        QTRY_COMPARE(undo->undoText(), QStringLiteral("Liste „neue Parameterliste“ gelöscht"));

        // WHEN the first controller is removed, so that the second is numbered first now, and the deletion undone
        QVERIFY(window->project()->removeController(window->project()->host()->driveControllers().value(0)));
        KxTest::deliver();
        QCOMPARE(undo->undoText(), QStringLiteral("Liste „neue Parameterliste“ gelöscht"));
        undo->undo();

        // THEN the list is back on the axis it showed, with the element it held
        QVERIFY(repository().list(identifier));
        QCOMPARE(AppTest::entries(repository().list(identifier)), QStringLiteral("A12[2]"));
        QWidget* reopened = AppTest::openListWindow(*window, identifier);
        QVERIFY(reopened);
        QCOMPARE(AppTest::axisCaptions(reopened), QStringList{AppTest::axisCaption(right, "Achse 2")});
    }

private:
    QTemporaryDir m_types;
    QTemporaryDir m_work;
    QString m_description;
    QString m_importFile;
};

QTEST_MAIN(ListUndoTest)
#include "tst_listundo.moc"
