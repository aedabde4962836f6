#include "DeviceDescription.h"
#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "LanguageManager.h"
#include "ParameterCustomListHost.h"
#include "ParameterItemComboBox.h"
#include "ParameterItemEdit.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"
#include "ParameterView.h"
#include "OffscreenMessages.h"
#include "TestSupport.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace {

const char description[] = R"({
  "format": "KxDeviceDescription", "version": 1,
  "types": [{
    "name": "KXT-4 Portal", "maxAxes": 3,
    "parameters": [
      {"coordinate": "G01", "name": {"de": "Anlagenkennung", "en": "Plant tag"}, "scope": "device",
       "kind": "text", "max": 10, "default": "P1"},
      {"coordinate": "A10", "name": {"de": "Maximaldrehzahl", "en": "Maximum speed"},
       "unit": "1/min", "min": 0, "max": 8000, "default": 3000},
      {"coordinate": "A12", "name": {"de": "Stromgrenzen", "en": "Current limits"}, "structure": "array",
       "count": 4, "unit": "A", "min": 0, "max": 40, "decimals": 1, "default": 10,
       "writable": [true, true, true, false], "active": [true, true, false, true],
       "elements": [{"name": {"de": "Dauer", "en": "Continuous"}}, {"name": {"de": "Spitze", "en": "Peak"}},
                    {"name": {"de": "Bremsen", "en": "Braking"}}, {"name": {"de": "Not-Halt", "en": "Emergency"}}]},
      {"coordinate": "A20", "name": {"de": "Betriebsart", "en": "Operating mode"}, "kind": "choice",
       "choices": [{"value": 0, "de": "Tippen", "en": "Jog"}, {"value": 2, "de": "Automatik", "en": "Automatic"},
                   {"value": 3, "de": "Einrichten", "en": "Set-up"}],
       "default": 0},
      {"coordinate": "A30", "name": {"de": "Klemmung", "en": "Clamp"}, "definedIn": [2], "kind": "switch"},
      {"coordinate": "C05", "name": {"de": "Achsdaten", "en": "Axis data"}, "structure": "record",
       "elements": [{"index": 0, "name": {"de": "Kopf", "en": "Header"}, "hasValue": false},
                    {"index": 3, "name": {"de": "Übersetzung", "en": "Gear ratio"}, "min": 1, "max": 100,
                     "default": 5}]},
      {"coordinate": "G02", "name": {"de": "Netzfrequenz", "en": "Mains frequency"}, "scope": "device",
       "unit": "Hz", "min": 50, "max": 60, "default": 50, "writable": false}
    ]
  }],
  "controllers": [{"name": "Portal 1", "type": "KXT-4 Portal",
                   "axes": [{"number": 1, "name": "X"}, {"number": 2, "name": "Y"}],
                   "values": [{"coordinate": "A10", "axis": 2, "value": 4500},
                              {"coordinate": "A12", "axis": 1, "element": 1, "value": 22.5}]}]
})";

class RecordingHost : public ParameterCustomListHost
{
public:
    QStringList customListIdentifiers() override { return lists.keys(); }
    QString customListName(QString identifier) override { return lists.value(identifier); }
    void addParameterToCustomList(QString identifier, QString parameter) override
    {
        calls.append(QStringLiteral("add %1 %2").arg(identifier, parameter));
    }
    void removeParameterFromCustomList(QString identifier, QString parameter) override
    {
        calls.append(QStringLiteral("remove %1 %2").arg(identifier, parameter));
    }

    QMap<QString, QString> lists;
    QStringList calls;
};

QStringList topLevelTexts(QTreeWidget* tree, int column)
{
    QStringList texts;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        texts.append(tree->topLevelItem(i)->text(column));
    return texts;
}

QAction* actionNamed(QMenu* menu, const QString& text)
{
    const QList<QAction*> actions = menu ? menu->actions() : QList<QAction*>();
    for (QAction* action : actions) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

// What the window system delivers for a double click; QTest::mouseDClick alone
// sends no first press, which item views need to recognise the click.
void doubleClick(QWidget* widget, const QPoint& position)
{
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, position);
    QTest::mouseDClick(widget, Qt::LeftButton, Qt::NoModifier, position);
    QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, position);
}

struct MenuSnapshot
{
    bool done = false;
    bool found = false;
    bool addEnabled = false;
    bool removeEnabled = false;
    QStringList addEntries;
};

} // namespace

class TestParameterView : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        KxTest::initTestEnvironment();
        KxWidgetTest::ignoreOffscreenPlatformLimits();
    }
    void init();
    void cleanup();

    void rowsOfAnAxis_data();
    void rowsOfAnAxis();
    void elementRowsAndMarks();
    void valueChangeRefreshesTheRow_data();
    void valueChangeRefreshesTheRow();
    void languageSwitchRenamesRows();
    void catalogueChangesRebuild();
    void editingInPlaceWritesTheValue_data();
    void editingInPlaceWritesTheValue();
    void editingAChoiceWritesThePickedEntry();
    void readOnlyValuesOpenNoEditor_data();
    void readOnlyValuesOpenNoEditor();
    void contextMenuCallsTheHost_data();
    void contextMenuCallsTheHost();
    void contextMenuWithoutListsIsDisabled_data();
    void contextMenuWithoutListsIsDisabled();
    void destroyingTheControllerEmptiesTheView_data();
    void destroyingTheControllerEmptiesTheView();
    void thousandsOfParameters();

private:
    ParameterSetup* setup(const char* coordinate) const
    {
        return m_controller->parameterProvider()->parameterSetup(ParameterCoordinate(QString::fromLatin1(coordinate)));
    }
    void showView();
    MenuSnapshot openContextMenu(QTreeWidgetItem* item, const QString& submenu, const QString& entry);

    DriveController* m_controller = nullptr;
    ParameterView* m_view = nullptr;
    RecordingHost m_host;
};

void TestParameterView::init()
{
    QString error;
    const QList<DriveController*> controllers =
        DeviceDescription::controllersFromBytes(QByteArray(description), nullptr, &error);
    QVERIFY2(controllers.size() == 1, qPrintable(error));
    m_controller = controllers.first();
    LanguageManager::instance()->setActiveLanguage(LanguageManager::German);
    m_host.lists = { { QStringLiteral("l1"), QStringLiteral("Inbetriebnahme") },
                     { QStringLiteral("l2"), QStringLiteral("Wartung") } };
    m_host.calls.clear();
    ParameterView::setParameterCustomListHost(&m_host);
    m_view = new ParameterView;
    m_view->resize(900, 600);
}

void TestParameterView::cleanup()
{
    delete m_view;
    m_view = nullptr;
    delete m_controller;
    m_controller = nullptr;
    ParameterView::setParameterCustomListHost(nullptr);
    LanguageManager::instance()->setActiveLanguage(LanguageManager::German);
}

void TestParameterView::showView()
{
    m_view->show();
    QApplication::setActiveWindow(m_view);
    QVERIFY(QTest::qWaitForWindowActive(m_view));
}

// Opens the view's context menu on `item` and, when `entry` is given, picks it
// in `submenu`. A timer inspects and closes the menu, so the test does not
// hang even if the menu should run an event loop of its own.
MenuSnapshot TestParameterView::openContextMenu(QTreeWidgetItem* item, const QString& submenu, const QString& entry)
{
    MenuSnapshot snapshot;
    QTreeWidget* tree = m_view->treeWidget();
    tree->scrollToItem(item);
    const QPoint position = tree->visualItemRect(item).center();
    QTimer::singleShot(0, this, [&]() {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        snapshot.found = menu != nullptr;
        QAction* add = actionNamed(menu, QStringLiteral("Zur Liste hinzufügen"));
        QAction* remove = actionNamed(menu, QStringLiteral("Aus Liste entfernen"));
        snapshot.addEnabled = add && add->menu() && add->isEnabled();
        snapshot.removeEnabled = remove && remove->menu() && remove->isEnabled();
        if (add && add->menu()) {
            for (QAction* action : add->menu()->actions())
                snapshot.addEntries.append(action->text());
        }
        QAction* sub = actionNamed(menu, submenu);
        if (QAction* pick = sub ? actionNamed(sub->menu(), entry) : nullptr)
            pick->trigger();
        while (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
        snapshot.done = true;
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, position, tree->viewport()->mapToGlobal(position));
    QApplication::sendEvent(tree->viewport(), &event);
    if (!QTest::qWaitFor([&]() { return snapshot.done; }, 5000))
        snapshot.found = false;
    return snapshot;
}

void TestParameterView::rowsOfAnAxis_data()
{
    QTest::addColumn<int>("axis");
    QTest::addColumn<QStringList>("expectedRows");

    QTest::newRow("axis 1 without the clamp") << 1 << QStringList{ "G01", "A10", "A12", "A20", "C05", "G02" };
    QTest::newRow("axis 2 with the clamp") << 2 << QStringList{ "G01", "A10", "A12", "A20", "A30", "C05", "G02" };
}

void TestParameterView::rowsOfAnAxis()
{
    QFETCH(int, axis);
    QFETCH(QStringList, expectedRows);

    // WHEN the view shows an axis
    m_view->setAxis(m_controller->axis(axis));

    // THEN it has one row per parameter of the axis, device-wide ones included, in catalogue order
    QTreeWidget* tree = m_view->treeWidget();
    QCOMPARE(m_view->axis(), m_controller->axis(axis));
    QCOMPARE(topLevelTexts(tree, ParameterView::ColumnParameter), expectedRows);
    QStringList providerOrder;
    for (const ParameterCoordinate& coordinate : m_controller->parameterProvider()->parameterCoordinates(axis))
        providerOrder.append(coordinate.toText());
    QCOMPARE(providerOrder, expectedRows);
    QVERIFY(tree->uniformRowHeights());
    QCOMPARE(tree->headerItem()->text(ParameterView::ColumnParameter), QStringLiteral("Parameter"));
    QCOMPARE(tree->headerItem()->text(ParameterView::ColumnValue), QStringLiteral("Wert"));
    QCOMPARE(tree->headerItem()->text(ParameterView::ColumnReference), QStringLiteral("Referenz"));
    QCOMPARE(tree->headerItem()->text(ParameterView::ColumnUnit), QStringLiteral("Einheit"));

    // AND each row shows the value of this axis
    QTreeWidgetItem* speed = m_view->item(ParameterCoordinate(QStringLiteral("A10")));
    QCOMPARE(speed->text(ParameterView::ColumnName), QStringLiteral("Maximaldrehzahl"));
    QCOMPARE(speed->text(ParameterView::ColumnValue), setup("A10")->valueText(axis, 0, true));
    QCOMPARE(speed->text(ParameterView::ColumnValue), axis == 2 ? QStringLiteral("4500 1/min") : QStringLiteral("3000 1/min"));
    QCOMPARE(speed->text(ParameterView::ColumnReference), QStringLiteral("3000 1/min"));
    QCOMPARE(speed->text(ParameterView::ColumnUnit), QStringLiteral("1/min"));
}

void TestParameterView::elementRowsAndMarks()
{
    // WHEN the view shows axis 1
    m_view->setAxis(m_controller->axis(1));
    QTreeWidget* tree = m_view->treeWidget();

    // THEN arrays and records have one collapsed child row per element
    QTreeWidgetItem* limits = m_view->item(ParameterCoordinate(QStringLiteral("A12")));
    QCOMPARE(limits->childCount(), 4);
    QVERIFY(!limits->isExpanded());
    QCOMPARE(limits->child(1)->text(ParameterView::ColumnParameter), QStringLiteral("A12[1]"));
    QCOMPARE(limits->child(1)->text(ParameterView::ColumnName), QStringLiteral("Spitze"));
    QCOMPARE(limits->child(1)->text(ParameterView::ColumnValue), QStringLiteral("22.5 A"));
    QTreeWidgetItem* record = m_view->item(ParameterCoordinate(QStringLiteral("C05")));
    QCOMPARE(record->childCount(), 2);
    QCOMPARE(record->child(1)->text(ParameterView::ColumnParameter), QStringLiteral("C05[3]"));
    QCOMPARE(m_view->item(ParameterCoordinate(QStringLiteral("C05")), 3), record->child(1));
    QVERIFY(record->child(0)->text(ParameterView::ColumnValue).isEmpty());
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        QVERIFY(!tree->topLevelItem(i)->isExpanded());

    // AND a value that differs from its reference is marked, on the element and on its parameter
    QTreeWidgetItem* peak = limits->child(1);
    QTreeWidgetItem* continuous = limits->child(0);
    QCOMPARE(peak->text(ParameterView::ColumnChanged), QStringLiteral("*"));
    QVERIFY(peak->font(ParameterView::ColumnValue).bold());
    QCOMPARE(limits->text(ParameterView::ColumnChanged), QStringLiteral("*"));
    QVERIFY(continuous->text(ParameterView::ColumnChanged).isEmpty());
    QVERIFY(!continuous->font(ParameterView::ColumnValue).bold());
    QVERIFY(m_view->item(ParameterCoordinate(QStringLiteral("A10")))->text(ParameterView::ColumnChanged).isEmpty());

    // AND inactive and read-only elements have colours of their own
    const QColor normal = continuous->foreground(ParameterView::ColumnValue).color();
    const QColor inactive = limits->child(2)->foreground(ParameterView::ColumnValue).color();
    const QColor readOnly = limits->child(3)->foreground(ParameterView::ColumnValue).color();
    QVERIFY(continuous->data(ParameterView::ColumnValue, Qt::ForegroundRole).isNull());
    QVERIFY(inactive != normal);
    QVERIFY(readOnly != normal);
    QVERIFY(readOnly != inactive);
    QCOMPARE(m_view->item(ParameterCoordinate(QStringLiteral("G02")))->foreground(ParameterView::ColumnValue).color(),
             readOnly);

    // WHEN the changed element is set back to its reference
    QVERIFY(setup("A12")->setValueText(1, 1, QStringLiteral("10")));

    // THEN both marks are gone
    QVERIFY(peak->text(ParameterView::ColumnChanged).isEmpty());
    QVERIFY(!peak->font(ParameterView::ColumnValue).bold());
    QVERIFY(limits->text(ParameterView::ColumnChanged).isEmpty());
}

void TestParameterView::valueChangeRefreshesTheRow_data()
{
    QTest::addColumn<QString>("coordinate");
    QTest::addColumn<int>("element");
    QTest::addColumn<int>("writtenIn");
    QTest::addColumn<QString>("raw");
    QTest::addColumn<bool>("expectRefresh");

    QTest::newRow("value of the shown axis") << "A10" << -1 << 1 << "1500" << true;
    QTest::newRow("value of another axis") << "A10" << -1 << 2 << "1500" << false;
    QTest::newRow("device-wide value written through another axis") << "G01" << -1 << 2 << "Q7" << true;
    QTest::newRow("array element of the shown axis") << "A12" << 0 << 1 << "12.5" << true;
    QTest::newRow("record element of another axis") << "C05" << 3 << 2 << "42" << false;
}

void TestParameterView::valueChangeRefreshesTheRow()
{
    QFETCH(QString, coordinate);
    QFETCH(int, element);
    QFETCH(int, writtenIn);
    QFETCH(QString, raw);
    QFETCH(bool, expectRefresh);

    // GIVEN the view on axis 1
    m_view->setAxis(m_controller->axis(1));
    ParameterSetup* parameter = setup(qPrintable(coordinate));
    QTreeWidgetItem* row = m_view->item(parameter->coordinate(), element);
    QVERIFY(row);
    const quint16 index = quint16(qMax(element, 0));
    const QString before = row->text(ParameterView::ColumnValue);

    // WHEN the value is written through the set-up
    QVERIFY(parameter->setValueText(writtenIn, index, raw));

    // THEN the row shows what the set-up shows for axis 1, changed mark included
    QCOMPARE(m_view->item(parameter->coordinate(), element), row);
    QCOMPARE(row->text(ParameterView::ColumnValue), parameter->valueText(1, index, true));
    QCOMPARE(row->text(ParameterView::ColumnValue) != before, expectRefresh);
    QCOMPARE(row->text(ParameterView::ColumnChanged) == QLatin1String("*"), expectRefresh);
}

void TestParameterView::languageSwitchRenamesRows()
{
    // GIVEN the view on axis 2 with an element row current
    m_view->setAxis(m_controller->axis(2));
    QTreeWidgetItem* peak = m_view->item(ParameterCoordinate(QStringLiteral("A12")), 1);
    m_view->treeWidget()->setCurrentItem(peak);

    // WHEN the active language switches to English
    LanguageManager::instance()->setActiveLanguage(LanguageManager::English);

    // THEN names and display texts follow, in the same rows
    QCOMPARE(m_view->item(ParameterCoordinate(QStringLiteral("A12")), 1), peak);
    QCOMPARE(peak->text(ParameterView::ColumnName), QStringLiteral("Peak"));
    QTreeWidgetItem* mode = m_view->item(ParameterCoordinate(QStringLiteral("A20")));
    QCOMPARE(mode->text(ParameterView::ColumnName), QStringLiteral("Operating mode"));
    QCOMPARE(mode->text(ParameterView::ColumnValue), QStringLiteral("Jog"));
    QCOMPARE(m_view->item(ParameterCoordinate(QStringLiteral("A30")))->text(ParameterView::ColumnValue),
             setup("A30")->valueText(2, 0, true));
}

void TestParameterView::catalogueChangesRebuild()
{
    // GIVEN the view on axis 1 with the array expanded and one element current
    m_view->setAxis(m_controller->axis(1));
    QTreeWidget* tree = m_view->treeWidget();
    m_view->item(ParameterCoordinate(QStringLiteral("A12")))->setExpanded(true);
    tree->setCurrentItem(m_view->item(ParameterCoordinate(QStringLiteral("A12")), 2));
    ParameterProvider* provider = m_controller->parameterProvider();

    // WHEN a parameter is removed from the device
    QVERIFY(provider->removeParameter(ParameterCoordinate(QStringLiteral("A10"))));

    // THEN its row goes; the rest keeps its state
    QTRY_COMPARE(topLevelTexts(tree, ParameterView::ColumnParameter),
                 (QStringList{ "G01", "A12", "A20", "C05", "G02" }));
    QVERIFY(!m_view->item(ParameterCoordinate(QStringLiteral("A10"))));
    QVERIFY(m_view->item(ParameterCoordinate(QStringLiteral("A12")))->isExpanded());
    QCOMPARE(tree->currentItem(), m_view->item(ParameterCoordinate(QStringLiteral("A12")), 2));

    // WHEN a parameter is added
    ParameterDescription added;
    added.coordinate = ParameterCoordinate(QStringLiteral("B07"));
    added.text = ParameterText(QStringLiteral("Schleppfehlergrenze"), QStringLiteral("Following error limit"));
    ParameterElementDescription element;
    element.maximum = 100;
    element.defaultValue = element.referenceValue = QStringLiteral("10");
    added.elements.append(element);
    provider->addParameter(added);

    // THEN it gets a row with its value
    QTRY_VERIFY(m_view->item(ParameterCoordinate(QStringLiteral("B07"))));
    QCOMPARE(m_view->item(ParameterCoordinate(QStringLiteral("B07")))->text(ParameterView::ColumnName),
             QStringLiteral("Schleppfehlergrenze"));
    QCOMPARE(tree->topLevelItemCount(), provider->parameterCoordinates(1).size());

    // WHEN the controller goes online, reading values the drive changed meanwhile
    QVERIFY(provider->simulateDriveValue(ParameterAddress(ParameterCoordinate(QStringLiteral("A20")), 0, 1),
                                         QStringLiteral("3")));
    m_controller->setOnline(true);

    // THEN the rows show the drive's value
    QTRY_COMPARE(m_view->item(ParameterCoordinate(QStringLiteral("A20")))->text(ParameterView::ColumnValue),
                 QStringLiteral("Einrichten"));
}

void TestParameterView::editingInPlaceWritesTheValue_data()
{
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<QString>("coordinate");
    QTest::addColumn<int>("element");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expectedDisplay");

    QTest::newRow("double click on a simple value") << "double-click" << "A10" << -1 << "2400" << "2400 1/min";
    QTest::newRow("F2 on an array element") << "F2" << "A12" << 0 << "7,5" << "7.5 A";
    QTest::newRow("Enter on a device-wide text") << "Enter" << "G01" << -1 << "Halle3" << "Halle3";
}

void TestParameterView::editingInPlaceWritesTheValue()
{
    QFETCH(QString, trigger);
    QFETCH(QString, coordinate);
    QFETCH(int, element);
    QFETCH(QString, typed);
    QFETCH(QString, expectedDisplay);

    // GIVEN the view on axis 1, visible, with the row at hand
    m_view->setAxis(m_controller->axis(1));
    showView();
    QTreeWidget* tree = m_view->treeWidget();
    ParameterSetup* parameter = setup(qPrintable(coordinate));
    QTreeWidgetItem* row = m_view->item(parameter->coordinate(), element);
    if (row->parent())
        row->parent()->setExpanded(true);
    tree->scrollToItem(row);
    tree->setCurrentItem(row);
    tree->setFocus();

    // WHEN the editor is opened the way the user does it
    if (trigger == QLatin1String("double-click")) {
        const QPoint cell(tree->header()->sectionViewportPosition(ParameterView::ColumnValue) + 5,
                          tree->visualItemRect(row).center().y());
        doubleClick(tree->viewport(), cell);
    } else {
        QTest::keyClick(tree, trigger == QLatin1String("F2") ? Qt::Key_F2 : Qt::Key_Return);
    }

    // THEN a line editor sits on the value with the focus
    auto* edit = qobject_cast<ParameterItemEdit*>(m_view->activeEditor());
    QVERIFY(edit);
    QCOMPARE(tree->itemWidget(row, ParameterView::ColumnValue), edit);
    QTRY_VERIFY(edit->hasFocus());
    QCOMPARE(edit->text(), parameter->valueText(1, quint16(qMax(element, 0)), false));

    // WHEN a value is typed and confirmed
    QTest::keyClicks(edit, typed);
    QTest::keyClick(edit, Qt::Key_Return);

    // THEN it is written, the editor is gone and the row shows the value
    QCOMPARE(parameter->valueText(1, quint16(qMax(element, 0)), true), expectedDisplay);
    QVERIFY(!m_view->activeEditor());
    QTRY_VERIFY(!tree->itemWidget(row, ParameterView::ColumnValue));
    QCOMPARE(row->text(ParameterView::ColumnValue), expectedDisplay);
    QTRY_VERIFY(tree->hasFocus());
}

void TestParameterView::editingAChoiceWritesThePickedEntry()
{
    // GIVEN the view on axis 2, visible
    m_view->setAxis(m_controller->axis(2));
    showView();
    QTreeWidget* tree = m_view->treeWidget();
    QTreeWidgetItem* row = m_view->item(ParameterCoordinate(QStringLiteral("A20")));

    // WHEN the value is double-clicked
    const QPoint cell = tree->visualItemRect(row).center();
    const int x = tree->header()->sectionViewportPosition(ParameterView::ColumnValue) + 5;
    doubleClick(tree->viewport(), QPoint(x, cell.y()));

    // THEN a selection box opens its list
    auto* combo = qobject_cast<ParameterItemComboBox*>(m_view->activeEditor());
    QVERIFY(combo);
    QTRY_VERIFY(combo->view()->isVisible());

    // WHEN "Automatik" is picked
    QTest::keyClick(combo->view(), Qt::Key_Down);
    QTest::keyClick(combo->view(), Qt::Key_Return);

    // THEN it is written for axis 2 only and the box is gone
    QCOMPARE(setup("A20")->valueText(2, 0, false), QStringLiteral("2"));
    QCOMPARE(setup("A20")->valueText(1, 0, false), QStringLiteral("0"));
    QCOMPARE(row->text(ParameterView::ColumnValue), QStringLiteral("Automatik"));
    QVERIFY(!m_view->activeEditor());
}

void TestParameterView::readOnlyValuesOpenNoEditor_data()
{
    QTest::addColumn<QString>("coordinate");
    QTest::addColumn<int>("element");
    QTest::addColumn<bool>("readOnlyDevice");

    QTest::newRow("read-only element") << "A12" << 3 << false;
    QTest::newRow("read-only device-wide value") << "G02" << -1 << false;
    QTest::newRow("record element without value") << "C05" << 0 << false;
    QTest::newRow("row of an array") << "A12" << -1 << false;
    QTest::newRow("writable value of a read-only device") << "A10" << -1 << true;
}

void TestParameterView::readOnlyValuesOpenNoEditor()
{
    QFETCH(QString, coordinate);
    QFETCH(int, element);
    QFETCH(bool, readOnlyDevice);

    // GIVEN the view on axis 1
    m_controller->parameterProvider()->setReadOnly(readOnlyDevice);
    m_view->setAxis(m_controller->axis(1));
    showView();
    QTreeWidgetItem* row = m_view->item(ParameterCoordinate(coordinate), element);
    QVERIFY(row);
    m_view->treeWidget()->setCurrentItem(row);

    // WHEN editing is asked for
    QTest::keyClick(m_view->treeWidget(), Qt::Key_F2);

    // THEN no editor opens
    QVERIFY(!m_view->editItem(row));
    QVERIFY(!m_view->activeEditor());
    QVERIFY(!m_view->treeWidget()->itemWidget(row, ParameterView::ColumnValue));
}

void TestParameterView::contextMenuCallsTheHost_data()
{
    QTest::addColumn<QString>("coordinate");
    QTest::addColumn<int>("element");
    QTest::addColumn<QString>("submenu");
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("expectedCall");

    QTest::newRow("add a parameter") << "A12" << -1 << "Zur Liste hinzufügen" << "Wartung" << "add l2 A12";
    QTest::newRow("add an array element") << "A12" << 3 << "Zur Liste hinzufügen" << "Inbetriebnahme" << "add l1 A12[3]";
    QTest::newRow("remove a simple parameter") << "A10" << -1 << "Aus Liste entfernen" << "Inbetriebnahme"
                                               << "remove l1 A10";
    QTest::newRow("remove a record element") << "C05" << 3 << "Aus Liste entfernen" << "Wartung" << "remove l2 C05[3]";
}

void TestParameterView::contextMenuCallsTheHost()
{
    QFETCH(QString, coordinate);
    QFETCH(int, element);
    QFETCH(QString, submenu);
    QFETCH(QString, list);
    QFETCH(QString, expectedCall);

    // GIVEN the view on axis 1 with the row visible
    m_view->setAxis(m_controller->axis(1));
    showView();
    QTreeWidgetItem* row = m_view->item(ParameterCoordinate(coordinate), element);
    if (row->parent())
        row->parent()->setExpanded(true);

    // WHEN a list is picked in the row's context menu
    const MenuSnapshot menu = openContextMenu(row, submenu, list);

    // THEN the host is called once with the list and the parameter text
    QVERIFY(menu.found);
    QVERIFY(menu.addEnabled);
    QVERIFY(menu.removeEnabled);
    QCOMPARE(menu.addEntries, (QStringList{ "Inbetriebnahme", "Wartung" }));
    QCOMPARE(m_host.calls, QStringList{ expectedCall });
}

void TestParameterView::contextMenuWithoutListsIsDisabled_data()
{
    QTest::addColumn<bool>("withHost");

    QTest::newRow("no host registered") << false;
    QTest::newRow("host without lists") << true;
}

void TestParameterView::contextMenuWithoutListsIsDisabled()
{
    QFETCH(bool, withHost);

    // GIVEN no lists to offer
    m_host.lists.clear();
    if (!withHost)
        ParameterView::setParameterCustomListHost(nullptr);
    m_view->setAxis(m_controller->axis(1));
    showView();

    // WHEN the context menu of a parameter opens
    const MenuSnapshot menu =
        openContextMenu(m_view->item(ParameterCoordinate(QStringLiteral("A10"))), QString(), QString());

    // THEN both submenus are there but disabled
    QVERIFY(menu.found);
    QVERIFY(!menu.addEnabled);
    QVERIFY(!menu.removeEnabled);
    QVERIFY(menu.addEntries.isEmpty());
    QVERIFY(m_host.calls.isEmpty());
}

void TestParameterView::destroyingTheControllerEmptiesTheView_data()
{
    QTest::addColumn<bool>("editing");
    QTest::addColumn<bool>("axisOnly");

    QTest::newRow("controller destroyed") << false << false;
    QTest::newRow("controller destroyed while editing") << true << false;
    QTest::newRow("axis removed while editing") << true << true;
}

void TestParameterView::destroyingTheControllerEmptiesTheView()
{
    QFETCH(bool, editing);
    QFETCH(bool, axisOnly);

    // GIVEN the view on axis 1, perhaps with an editor open
    m_view->setAxis(m_controller->axis(1));
    showView();
    QPointer<QWidget> editor;
    if (editing) {
        QVERIFY(m_view->editItem(m_view->item(ParameterCoordinate(QStringLiteral("A10")))));
        editor = m_view->activeEditor();
        QTest::keyClicks(editor, QStringLiteral("77"));
    }
    ParameterProvider* provider = m_controller->parameterProvider();

    // WHEN the axis or the whole controller goes away
    if (axisOnly) {
        QVERIFY(m_controller->removeAxis(1));
    } else {
        delete m_controller;
        m_controller = nullptr;
    }

    // THEN the view is empty, holds no axis and survives the device's later signals
    QVERIFY(!m_view->axis());
    QCOMPARE(m_view->treeWidget()->topLevelItemCount(), 0);
    QVERIFY(!m_view->activeEditor());
    QTRY_VERIFY(!editor);
    if (axisOnly) {
        QVERIFY(setup("A10")->setValueText(2, 0, QStringLiteral("100")));
        provider->removeParameter(ParameterCoordinate(QStringLiteral("A12")));
        m_controller->setOnline(true);
    }
    QTest::qWait(20);
    QCOMPARE(m_view->treeWidget()->topLevelItemCount(), 0);
    m_view->treeWidget()->viewport()->update();
    QVERIFY(QTest::qWaitForWindowExposed(m_view));
}

void TestParameterView::thousandsOfParameters()
{
    // GIVEN a large synthetic device
    QString error;
    const QList<DriveController*> controllers =
        DeviceDescription::controllersFromBytes(syntheticDeviceDescription(5000, 1, 2), nullptr, &error);
    QVERIFY2(controllers.size() == 1, qPrintable(error));
    QScopedPointer<DriveController> large(controllers.first());
    ParameterProvider* provider = large->parameterProvider();

    // WHEN the view shows its second axis
    m_view->setAxis(large->axis(2));

    // THEN every parameter of the axis has its row in catalogue order, with its elements, all collapsed
    QTreeWidget* tree = m_view->treeWidget();
    const QList<ParameterCoordinate> coordinates = provider->parameterCoordinates(2);
    QVERIFY(coordinates.size() > 1000);
    QCOMPARE(tree->topLevelItemCount(), coordinates.size());
    int structured = 0;
    for (int i = 0; i < coordinates.size(); ++i) {
        QTreeWidgetItem* row = tree->topLevelItem(i);
        QCOMPARE(row->text(ParameterView::ColumnParameter), coordinates.at(i).toText());
        QVERIFY(!row->isExpanded());
        const ParameterSetup* parameter = provider->parameterSetup(coordinates.at(i));
        if (parameter->isArray() || parameter->isRecord()) {
            ++structured;
            QCOMPARE(row->childCount(), int(parameter->elementCount()));
        } else {
            QCOMPARE(row->childCount(), 0);
            QCOMPARE(row->text(ParameterView::ColumnValue), parameter->valueText(2, parameter->elementIndexList().first(), true));
        }
    }
    QVERIFY(structured > 0);

    // WHEN the last writable number of the axis changes
    ParameterSetup* parameter = nullptr;
    quint16 element = 0;
    for (int i = coordinates.size() - 1; i >= 0 && !parameter; --i) {
        ParameterSetup* candidate = provider->parameterSetup(coordinates.at(i));
        for (quint16 index : candidate->elementIndexList()) {
            if (ParameterItemEdit::canWriteValue(candidate, 2, index) && candidate->valueKind(index) == ValueKindNumber
                && candidate->minimum(index) < candidate->maximum(index)) {
                parameter = candidate;
                element = index;
            }
        }
    }
    QVERIFY(parameter);
    QTreeWidgetItem* row = m_view->item(parameter->coordinate(), element);
    QVERIFY(row);
    const QString maximum = parameter->valueText(2, element, false) == parameter->referenceValueText(2, element, false)
        ? QString::number(parameter->maximum(element)) : parameter->referenceValueText(2, element, false);
    const QString before = row->text(ParameterView::ColumnValue);
    QVERIFY(parameter->setValueText(2, element, maximum));
    QVERIFY(row->text(ParameterView::ColumnValue) != before);

    // THEN its row shows the set-up's value
    QCOMPARE(row->text(ParameterView::ColumnValue), parameter->valueText(2, element, true));

    // WHEN the device goes away THEN the view empties
    large.reset();
    QCOMPARE(tree->topLevelItemCount(), 0);
}

QTEST_MAIN(TestParameterView)
#include "tst_parameterview.moc"
