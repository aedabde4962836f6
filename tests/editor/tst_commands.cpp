#include "EditorTestFixture.h"

#include "ParameterCustomList.h"
#include "ParameterCustomListEntry.h"
#include "ParameterCustomListRepository.h"
#include "ParameterCustomListTreeWidget.h"

#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "ParameterItemEdit.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"
#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QTest>

using namespace EditorTest;

namespace {

// Sends the event a right click on the viewport makes.
QMenu* requestContextMenu(Fixture& f, const QPoint& position)
{
    QContextMenuEvent event(QContextMenuEvent::Mouse, position, f.tree->viewport()->mapToGlobal(position));
    QApplication::sendEvent(f.tree->viewport(), &event);
    return f.tree->findChild<QMenu*>();
}

QList<QAction*> commands(QMenu* menu)
{
    QList<QAction*> result;
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator())
            result << action;
    }
    return result;
}

QString valueOn(Fixture& f, int axisIndex, const QString& coordinate, quint16 element = 0)
{
    return f.setup(axisIndex, coordinate)->valueText(f.axes.at(axisIndex)->axisNumber(), element, false);
}

void setValueOn(Fixture& f, int axisIndex, const QString& coordinate, const QString& value, quint16 element = 0)
{
    QVERIFY(f.setup(axisIndex, coordinate)->setValueText(f.axes.at(axisIndex)->axisNumber(), element, value));
}

} // namespace

class TestCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void contextMenuOffersTheWritableAxes_data();
    void contextMenuOffersTheWritableAxes();
    void contextMenuShowsNothingWithoutASourceValue_data();
    void contextMenuShowsNothingWithoutASourceValue();
    void contextMenuActionsCopyTheValue_data();
    void contextMenuActionsCopyTheValue();
    void actionOfAnEntryGoneMeanwhileDoesNothing();

    void copyKeysFollowTheVisualOrder_data();
    void copyKeysFollowTheVisualOrder();
    void readKeyRequestsTheValueOnce_data();
    void readKeyRequestsTheValueOnce();
    void editKeysOpenTheCellEditor_data();
    void editKeysOpenTheCellEditor();
    void deleteKeyRemovesWhatTheRowStandsFor();
};

void TestCommands::initTestCase()
{
    KxTest::initTestEnvironment();
    ParameterCustomListRepository::instance();
}

void TestCommands::cleanup()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMenu*>(widget))
            widget->hide();
    }
    deliver();
}

void TestCommands::contextMenuOffersTheWritableAxes_data()
{
    QTest::addColumn<QString>("controllers");
    QTest::addColumn<int>("readOnlyController");   // -1: none
    QTest::addColumn<QList<int>>("visualOrder");   // logical column at visual 1, 2, ...; empty: as is
    QTest::addColumn<QString>("coordinate");
    QTest::addColumn<int>("element");              // -1: the entry row
    QTest::addColumn<int>("column");
    QTest::addColumn<QList<int>>("targets");       // axis indices offered, in menu order
    QTest::addColumn<QStringList>("shortcuts");    // per target
    QTest::addColumn<bool>("toAll");

    QTest::newRow("three axes") << "M3" << -1 << QList<int>() << "A10" << -1 << 2
                                << QList<int>{0, 2} << QStringList{"Ctrl+1", "Ctrl+3"} << true;
    QTest::newRow("reordered header") << "M3" << -1 << QList<int>{3, 1, 2} << "A10" << -1 << 1
                                      << QList<int>{1, 2} << QStringList{"Ctrl+3", "Ctrl+1"} << true;
    QTest::newRow("read-only device is no target") << "M2,E1" << 1 << QList<int>() << "A10" << -1 << 1
                                                   << QList<int>{1} << QStringList{"Ctrl+2"} << false;
    QTest::newRow("array element") << "M3" << -1 << QList<int>() << "A20" << 2 << 3
                                   << QList<int>{0, 1} << QStringList{"Ctrl+1", "Ctrl+2"} << true;
    QTest::newRow("targets from visual position 10 on have no key")
        << "M11" << -1 << QList<int>() << "A10" << -1 << 1
        << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}
        << QStringList{"Ctrl+2", "Ctrl+3", "Ctrl+4", "Ctrl+5", "Ctrl+6", "Ctrl+7", "Ctrl+8", "Ctrl+9", "", ""}
        << true;
}

void TestCommands::contextMenuOffersTheWritableAxes()
{
    QFETCH(QString, controllers);
    QFETCH(int, readOnlyController);
    QFETCH(QList<int>, visualOrder);
    QFETCH(QString, coordinate);
    QFETCH(int, element);
    QFETCH(int, column);
    QFETCH(QList<int>, targets);
    QFETCH(QStringList, shortcuts);
    QFETCH(bool, toAll);

    // GIVEN a parameter shown for some axes, some of them perhaps read-only
    // or in another visual order
    Fixture f(layout(controllers));
    f.add({coordinate});
    if (readOnlyController >= 0)
        f.controllers.at(readOnlyController)->parameterProvider()->setReadOnly(true);
    for (int v = 0; v < visualOrder.size(); ++v)
        f.tree->header()->moveSection(f.tree->header()->visualIndex(visualOrder.at(v)), v + 1);
    QTreeWidgetItem* item = element < 0 ? f.row(coordinate) : f.elementRow(coordinate, quint16(element));
    QVERIFY(item);

    // WHEN the user right-clicks the cell
    QMenu* menu = requestContextMenu(f, f.cellRect(item, column).center());

    // THEN the menu offers a copy to every other writable axis, named by
    // controller and axis, with the key of the axis' visual position
    QVERIFY(menu);
    const QList<QAction*> actions = commands(menu);
    QCOMPARE(actions.size(), targets.size() + (toAll ? 1 : 0));
    for (int i = 0; i < targets.size(); ++i) {
        QAction* action = actions.at(i);
        QCOMPARE(action->text(), QStringLiteral("Kopiere Wert nach \"%1\"").arg(f.axisLabel(targets.at(i))));
        QCOMPARE(action->shortcut(), QKeySequence(shortcuts.at(i)));
        if (!shortcuts.at(i).isEmpty()) {
            QCOMPARE(action->shortcutContext(), Qt::WidgetShortcut);
            QVERIFY(action->isShortcutVisibleInContextMenu());
        }
    }

    // AND with more than one target, after a separator, the copy to all axes
    if (toAll) {
        QAction* all = actions.last();
        QCOMPARE(all->text(), QStringLiteral("Kopiere Wert an alle Achsen"));
        QCOMPARE(all->shortcut(), QKeySequence(QStringLiteral("Ctrl+0")));
        QCOMPARE(all->shortcutContext(), Qt::WidgetShortcut);
        QVERIFY(all->isShortcutVisibleInContextMenu());
        const QList<QAction*> all_ = menu->actions();
        QVERIFY(all_.at(all_.size() - 2)->isSeparator());
    }
    if (!actions.isEmpty())
        QVERIFY(menu->isVisible());
}

void TestCommands::contextMenuShowsNothingWithoutASourceValue_data()
{
    QTest::addColumn<QString>("where");

    QTest::newRow("parameter column") << QStringLiteral("column 0");
    QTest::newRow("axis without the parameter") << QStringLiteral("missing");
}

void TestCommands::contextMenuShowsNothingWithoutASourceValue()
{
    QFETCH(QString, where);

    // GIVEN a menu that was shown on a value before
    Fixture f(layout(QStringLiteral("M3")));
    f.add({QStringLiteral("A10"), QStringLiteral("C70")});
    QMenu* menu = requestContextMenu(f, f.cellRect(f.row(QStringLiteral("A10")), 1).center());
    QVERIFY(!commands(menu).isEmpty());
    menu->hide();

    // WHEN the user right-clicks where there is no value to copy
    QPoint position;
    if (where == QLatin1String("column 0"))
        position = f.cellRect(f.row(QStringLiteral("A10")), 0).center();
    else if (where == QLatin1String("empty"))
        position = QPoint(f.cellRect(f.row(QStringLiteral("A10")), 2).center().x(), f.tree->viewport()->height() - 3);
    else
        position = f.cellRect(f.row(QStringLiteral("C70")), 2).center();
    QVERIFY(f.tree->itemAt(position) || where == QLatin1String("empty"));
    requestContextMenu(f, position);

    // THEN no menu shows, and the earlier actions are gone
    QVERIFY(!menu->isVisible());
    QVERIFY(menu->actions().isEmpty());
}

void TestCommands::contextMenuActionsCopyTheValue_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<QStringList>("expected");   // A10 on axes 0..3 afterwards

    // Axis 1 holds 2468; axis 3 belongs to a read-only device.
    QTest::newRow("to the first axis") << 0 << QStringList{"2468", "2468", "3000", "3000"};
    QTest::newRow("to all axes") << 2 << QStringList{"2468", "2468", "2468", "3000"};
}

void TestCommands::contextMenuActionsCopyTheValue()
{
    QFETCH(int, action);
    QFETCH(QStringList, expected);

    // GIVEN a value on the second of four axes, the fourth one read-only
    Fixture f(layout(QStringLiteral("M3,E1")));
    f.add({QStringLiteral("A10")});
    f.controllers.at(1)->parameterProvider()->setReadOnly(true);
    setValueOn(f, 1, QStringLiteral("A10"), QStringLiteral("2468"));

    // WHEN an action of its context menu is triggered
    QMenu* menu = requestContextMenu(f, f.cellRect(f.row(QStringLiteral("A10")), 2).center());
    QCOMPARE(commands(menu).size(), 3);
    commands(menu).at(action)->trigger();

    // THEN the value is copied to the axes the action names, and the cells show it
    for (int axis = 0; axis < expected.size(); ++axis) {
        QCOMPARE(valueOn(f, axis, QStringLiteral("A10")), expected.at(axis));
        QCOMPARE(f.row(QStringLiteral("A10"))->text(axis + 1),
                 f.setup(axis, QStringLiteral("A10"))->valueText(f.axes.at(axis)->axisNumber(), 0, true));
    }

    // AND a triggered action copies only once
    setValueOn(f, 1, QStringLiteral("A10"), QStringLiteral("1357"));
    commands(menu).at(action)->trigger();
    QCOMPARE(valueOn(f, 0, QStringLiteral("A10")), expected.at(0));
}

void TestCommands::actionOfAnEntryGoneMeanwhileDoesNothing()
{
    // GIVEN an open context menu on a value
    Fixture f(layout(QStringLiteral("M2")));
    f.add({QStringLiteral("A10")});
    setValueOn(f, 0, QStringLiteral("A10"), QStringLiteral("1111"));
    QMenu* menu = requestContextMenu(f, f.cellRect(f.row(QStringLiteral("A10")), 1).center());
    QAction* copy = commands(menu).value(0);
    QVERIFY(copy);

    // WHEN the parameter leaves the list before the action is chosen
    f.list->removeEntry(QStringLiteral("A10"));
    deliver();
    QCOMPARE(f.tree->topLevelItemCount(), 0);
    copy->trigger();

    // THEN nothing is copied
    QCOMPARE(valueOn(f, 1, QStringLiteral("A10")), QStringLiteral("3000"));
}

void TestCommands::copyKeysFollowTheVisualOrder_data()
{
    QTest::addColumn<QList<int>>("visualOrder");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("key");
    QTest::addColumn<QStringList>("expected");   // A10 on axes 0..3 afterwards

    // Axis 1 holds 2468; axis 3 belongs to a read-only device.
    QTest::newRow("Ctrl+1 copies to the axis shown first")
        << QList<int>{3, 1, 2, 4} << 2 << int(Qt::Key_1) << QStringList{"3000", "2468", "2468", "3000"};
    QTest::newRow("Ctrl+2 copies to the axis shown second")
        << QList<int>{3, 1, 2, 4} << 2 << int(Qt::Key_2) << QStringList{"2468", "2468", "3000", "3000"};
    QTest::newRow("Ctrl+0 copies to every writable axis")
        << QList<int>() << 2 << int(Qt::Key_0) << QStringList{"2468", "2468", "2468", "3000"};
    QTest::newRow("Ctrl+4 on a read-only axis changes nothing")
        << QList<int>() << 2 << int(Qt::Key_4) << QStringList{"3000", "2468", "3000", "3000"};
    QTest::newRow("Ctrl+1 in the parameter column changes nothing")
        << QList<int>() << 0 << int(Qt::Key_1) << QStringList{"3000", "2468", "3000", "3000"};
}

void TestCommands::copyKeysFollowTheVisualOrder()
{
    QFETCH(QList<int>, visualOrder);
    QFETCH(int, column);
    QFETCH(int, key);
    QFETCH(QStringList, expected);

    // GIVEN a value on the second of four axes, the fourth one read-only,
    // the columns perhaps in another visual order
    Fixture f(layout(QStringLiteral("M3,E1")));
    f.add({QStringLiteral("A10")});
    f.controllers.at(1)->parameterProvider()->setReadOnly(true);
    setValueOn(f, 1, QStringLiteral("A10"), QStringLiteral("2468"));
    for (int v = 0; v < visualOrder.size(); ++v)
        f.tree->header()->moveSection(f.tree->header()->visualIndex(visualOrder.at(v)), v + 1);
    f.tree->setCurrentItem(f.row(QStringLiteral("A10")), column);

    // WHEN Ctrl and the digit are pressed
    QTest::keyClick(f.tree, Qt::Key(key), Qt::ControlModifier);

    // THEN the value went where the key points
    for (int axis = 0; axis < expected.size(); ++axis)
        QCOMPARE(valueOn(f, axis, QStringLiteral("A10")), expected.at(axis));
}


void TestCommands::readKeyRequestsTheValueOnce_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QList<int>>("requests");   // per controller

    // Controller 1 has two axes in the list, controller 2 one.
    QTest::newRow("axis of the first controller") << 2 << int(Qt::NoModifier) << QList<int>{1, 0};
    QTest::newRow("axis of the second controller") << 3 << int(Qt::NoModifier) << QList<int>{0, 1};
    QTest::newRow("parameter column asks every axis") << 0 << int(Qt::NoModifier) << QList<int>{2, 1};
}

void TestCommands::readKeyRequestsTheValueOnce()
{
    QFETCH(int, column);
    QFETCH(int, modifiers);
    QFETCH(QList<int>, requests);

    // GIVEN a parameter on three axes of two controllers
    Fixture f(layout(QStringLiteral("M2,E1")));
    f.add({QStringLiteral("A10")});
    QList<int> before;
    for (DriveController* controller : qAsConst(f.controllers))
        before << controller->parameterProvider()->consistenceRequestCount();
    f.tree->setCurrentItem(f.row(QStringLiteral("A10")), column);

    // WHEN R is pressed
    QTest::keyClick(f.tree, Qt::Key_R, Qt::KeyboardModifiers(modifiers));
    deliver();

    // THEN the devices were asked to read the value once per axis concerned
    for (int c = 0; c < f.controllers.size(); ++c)
        QCOMPARE(f.controllers.at(c)->parameterProvider()->consistenceRequestCount() - before.at(c), requests.at(c));
}

void TestCommands::editKeysOpenTheCellEditor_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("coordinate");
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("opens");

    QTest::newRow("Return") << int(Qt::Key_Return) << "A10" << 2 << true;
    QTest::newRow("Return in the parameter column") << int(Qt::Key_Return) << "A10" << 0 << false;
    QTest::newRow("F2 on a read-only value") << int(Qt::Key_F2) << "A50" << 1 << false;
}

void TestCommands::editKeysOpenTheCellEditor()
{
    QFETCH(int, key);
    QFETCH(QString, coordinate);
    QFETCH(int, column);
    QFETCH(bool, opens);

    // GIVEN a current cell
    Fixture f(layout(QStringLiteral("M2")));
    f.add({coordinate});
    QTreeWidgetItem* row = f.row(coordinate);
    f.tree->setCurrentItem(row, column);

    // WHEN the key is pressed
    QTest::keyClick(f.tree, Qt::Key(key));

    // THEN the cell's editor opens where the value can be written, and the row stays current
    QCOMPARE(f.tree->itemEditor() != nullptr, opens);
    if (opens) {
        QCOMPARE(f.tree->itemWidget(row, column), f.tree->itemEditor());
        QVERIFY(qobject_cast<ParameterItemEdit*>(f.tree->itemEditor()));
    }
    QCOMPARE(f.tree->currentItem(), row);
    QCOMPARE(f.tree->currentColumn(), column);
}

void TestCommands::deleteKeyRemovesWhatTheRowStandsFor()
{
    // GIVEN an array entry with all elements and a plain entry
    Fixture f(layout(QStringLiteral("M2")));
    f.add({QStringLiteral("A10"), QStringLiteral("A20")});
    ParameterCustomListEntry* array = f.list->entries().value(ParameterCoordinate(QStringLiteral("A20")));
    QCOMPARE(array->elementIndices(), QList<quint16>({0, 1, 2, 3}));

    // WHEN Delete is pressed on element 2
    f.tree->setCurrentItem(f.elementRow(QStringLiteral("A20"), 2), 1);
    QTest::keyClick(f.tree, Qt::Key_Delete);

    // THEN only that element left the list and the tree
    QCOMPARE(array->elementIndices(), QList<quint16>({0, 1, 3}));
    QCOMPARE(f.row(QStringLiteral("A20"))->childCount(), 3);
    QVERIFY(!f.elementRow(QStringLiteral("A20"), 2));
    QVERIFY(!array->allElements());
    deliver();
    QCOMPARE(f.row(QStringLiteral("A20"))->childCount(), 3);

    // WHEN Delete is pressed on the plain entry
    f.tree->setCurrentItem(f.row(QStringLiteral("A10")), 2);
    QTest::keyClick(f.tree, Qt::Key_Delete);

    // THEN the whole parameter left the list and the tree
    QVERIFY(!f.list->entries().contains(ParameterCoordinate(QStringLiteral("A10"))));
    QVERIFY(!f.row(QStringLiteral("A10")));
    QCOMPARE(f.tree->topLevelItemCount(), 1);
}

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
