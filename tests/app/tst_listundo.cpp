// Undo and redo of list edits: every edit the user makes in a list window or
// in the list view is one step of the project's undo stack, taken back with
// Ctrl+Z and done again with Ctrl+Y or Ctrl+Shift+Z; the windows show each
// state. Opening a project starts a stack of its own.
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
        // WHEN Ctrl+Y THEN the edit is done again
        press(listTree(listWindow), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(AppTest::entries(list), after);
        QTRY_COMPARE(rowTexts(listWindow), rowsAfter);
        QCOMPARE(undo->index(), steps + 1);
    }

    void listViewEditsAreOneStepEach()
    {
        // GIVEN a shown application of two controllers with its list view
        auto window = AppTest::openWindow(m_types.path(), m_description, {right});
        QVERIFY(window);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->findChild<QAction*>(QStringLiteral("actionParameterCustomLists"))->trigger();
        auto* view = ParameterCustomListRepositoryView::instance().findChild<QTreeWidget*>();
        QUndoStack* undo = window->undoStack();
        auto typeName = [view](const QString& name) {
            QTRY_VERIFY(view->findChild<QLineEdit*>());
            view->findChild<QLineEdit*>()->clear();
            QTest::keyClicks(view->findChild<QLineEdit*>(), name);
            QTest::keyClick(view->findChild<QLineEdit*>(), Qt::Key_Return);
        };

        // WHEN a list is named on the placeholder row, its window asks for axes and gets the second controller's
        whenModal<QDialog>([](QDialog* dialog) {
            for (QTreeWidgetItem* item : KxTest::treeRows(dialog->findChild<QTreeWidget*>()))
                item->setCheckState(0, item->parent() && item->parent()->text(0).startsWith(right) && item->text(0) == QStringLiteral("Achse 2")
                                           ? Qt::Checked : Qt::Unchecked);
            dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        });
        view->setCurrentItem(view->topLevelItem(view->topLevelItemCount() - 1));
        press(view, Qt::Key_Return);
        typeName(QStringLiteral("Testliste"));
        // THEN making it is one step and choosing its axes another
        QTRY_COMPARE(undo->count(), 2);
        QCOMPARE(undo->text(0), QStringLiteral("Liste „Testliste“ angelegt"));
        QCOMPARE(undo->text(1), QStringLiteral("Achsen von „Testliste“ geändert"));
        ParameterCustomListInformation* list = repository().content().value(0);
        const QString identifier = list->identifier();
        list->addEntry(QStringLiteral("A12[2]"));
        QTRY_COMPARE(undo->count(), 3);

        // WHEN it is renamed with F2, deleted with Delete and Yes, and then the first controller is removed
        view->setCurrentItem(AppTest::listRow(*window, identifier));
        press(view, Qt::Key_F2);
        typeName(QStringLiteral("Motor"));
        QTRY_COMPARE(undo->undoText(), QStringLiteral("„Testliste“ umbenannt in „Motor“"));
        whenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
        view->setCurrentItem(AppTest::listRow(*window, identifier));
        press(view, Qt::Key_Delete);
        QTRY_COMPARE(undo->undoText(), QStringLiteral("Liste „Motor“ gelöscht"));
        QVERIFY(window->project()->removeController(window->project()->host()->driveControllers().value(0)));
        KxTest::deliver();
        QCOMPARE(undo->count(), 5);

        // WHEN Ctrl+Z is pressed in the view THEN the list is back with its identifier, name, entry and axis
        press(view, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(repository().list(identifier));
        QCOMPARE(repository().list(identifier)->name(), QStringLiteral("Motor"));
        QCOMPARE(AppTest::entries(repository().list(identifier)), QStringLiteral("A12[2]"));
        QWidget* listWindow = AppTest::openListWindow(*window, identifier);
        QVERIFY(listWindow);
        QCOMPARE(AppTest::axisCaptions(listWindow), QStringList{AppTest::axisCaption(right, "Achse 2")});
        // AND the next ones take back the name (its row and window follow), the entry, the axes and the list
        press(view, Qt::Key_Z, Qt::ControlModifier);
        QTRY_COMPARE(AppTest::listRow(*window, identifier)->text(0), QStringLiteral("Testliste"));
        QTRY_VERIFY(listWindow->windowTitle().endsWith(QStringLiteral("Testliste")));
        for (int i = 0; i < 3; ++i)
            press(view, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(repository().content().isEmpty());
        KxTest::deliver();
        QCOMPARE(undo->index(), 0);
        QCOMPARE(undo->count(), 5);

        // WHEN everything is done again THEN the list is gone; one more undo brings it back into the saved file
        for (int i = 0; i < 4; ++i)
            press(view, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(repository().list(identifier)->name(), QStringLiteral("Motor"));
        QCOMPARE(AppTest::entries(repository().list(identifier)), QStringLiteral("A12[2]"));
        press(view, Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(!repository().list(identifier));
        press(view, Qt::Key_Z, Qt::ControlModifier);
        const QString path = QDir(m_work.path()).filePath(QStringLiteral("zurueck.kxproj"));
        QVERIFY(window->saveFile(path));
        // AND opening the file starts without steps and is none; so is a new project
        QVERIFY(window->openFile(path));
        KxTest::deliver();
        QCOMPARE(undo->count(), 0);
        QCOMPARE(repository().list(identifier)->name(), QStringLiteral("Motor"));
        window->project()->newProject();
        KxTest::deliver();
        QCOMPARE(undo->count(), 0);
        QVERIFY(repository().content().isEmpty());
    }

private:
    QTemporaryDir m_types;
    QTemporaryDir m_work;
    QString m_description;
    QString m_importFile;
};

QTEST_MAIN(ListUndoTest)
#include "tst_listundo.moc"
