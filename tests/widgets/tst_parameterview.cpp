#include "DriveControllerAxis.h"
#include "LanguageManager.h"
#include "ParameterCustomListHost.h"
#include "ParameterItemComboBox.h"
#include "ParameterItemEdit.h"
#include "ParameterView.h"
#include "TestSupport.h"
#include "DriveController.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"

#include <QTest>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QHeaderView>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QTreeWidget>

namespace {

class RecordingHost : public ParameterCustomListHost
{
public:
    QStringList customListIdentifiers() override { return lists.keys(); }
    QString customListName(QString identifier) override { return lists.value(identifier); }
    void addParameterToCustomList(QString identifier, QString parameter) override { calls << "add " + identifier + ' ' + parameter; }
    void removeParameterFromCustomList(QString identifier, QString parameter) override { calls << "remove " + identifier + ' ' + parameter; }
    QMap<QString, QString> lists;
    QStringList calls;
};

QStringList topLevelTexts(QTreeWidget* tree)
{
    QStringList texts;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        texts.append(tree->topLevelItem(i)->text(ParameterView::ColumnParameter));
    return texts;
}

// The rows the filter leaves, element rows only under a shown parameter row.
QStringList shownRows(QTreeWidget* tree)
{
    QStringList texts;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = tree->topLevelItem(i);
        if (item->isHidden())
            continue;
        texts.append(item->text(ParameterView::ColumnParameter));
        for (int c = 0; c < item->childCount(); ++c) {
            if (!item->child(c)->isHidden())
                texts.append(item->child(c)->text(ParameterView::ColumnParameter));
        }
    }
    return texts;
}

} // namespace

class TestParameterView : public QObject
{
    Q_OBJECT
    DriveController* m_controller = nullptr;
    std::unique_ptr<KxTest::Devices> m_devices;
    ParameterView* m_view = nullptr;
    RecordingHost m_host;

    QTreeWidgetItem* row(const char* coordinate, int element = -1) const
    {
        return m_view->item(ParameterCoordinate(QString::fromLatin1(coordinate)), element);
    }

private slots:
    void initTestCase() { KxTest::initTestEnvironment(); }

    void init()
    {
        m_devices.reset(new KxTest::Devices(KxTest::project("gantry")));
        QVERIFY((m_controller = m_devices->controller(0)));
        m_host.lists = { { QStringLiteral("l1"), QStringLiteral("Inbetriebnahme") },
                         { QStringLiteral("l2"), QStringLiteral("Wartung") } };
        m_host.calls.clear();
        ParameterView::setParameterCustomListHost(&m_host);
        m_view = new ParameterView;
        m_view->resize(900, 600);
    }

    void cleanup()
    {
        delete m_view;
        m_devices.reset();
        ParameterView::setParameterCustomListHost(nullptr);
        LanguageManager::instance()->setActiveLanguage(LanguageManager::German);
    }

    void rowsOfAnAxis_data()
    {
        QTest::addColumn<int>("axis");
        QTest::addColumn<QStringList>("expectedRows");
        QTest::addColumn<QString>("expectedSpeed");
        QTest::addColumn<bool>("peakChanged");

        QTest::newRow("axis 1 without the clamp") << 1 << QStringList{ "G01", "A10", "A12", "A20", "C05", "G02" }
                                                  << "3000 1/min" << true;
        QTest::newRow("axis 2 with the clamp") << 2 << QStringList{ "G01", "A10", "A12", "A20", "A30", "C05", "G02" }
                                               << "4500 1/min" << false;
    }

    void rowsOfAnAxis()
    {
        QFETCH(int, axis);
        QFETCH(QStringList, expectedRows);
        QFETCH(QString, expectedSpeed);
        QFETCH(bool, peakChanged);

        // WHEN the view shows an axis
        m_view->setAxis(m_controller->axis(axis));

        // THEN it has one row per parameter of the axis, device-wide ones included, in catalogue order
        QTreeWidget* tree = m_view->treeWidget();
        QCOMPARE(m_view->axis(), m_controller->axis(axis));
        QCOMPARE(topLevelTexts(tree), expectedRows);
        QVERIFY(tree->uniformRowHeights());
        QCOMPARE(row("A10")->text(ParameterView::ColumnName), QStringLiteral("Maximaldrehzahl"));
        QCOMPARE(row("A10")->text(ParameterView::ColumnValue), expectedSpeed);
        QCOMPARE(row("A10")->text(ParameterView::ColumnReference), QStringLiteral("3000 1/min"));
        QCOMPARE(row("A10")->text(ParameterView::ColumnUnit), QStringLiteral("1/min"));

        // AND arrays and records have collapsed element rows
        QCOMPARE(row("A12")->childCount(), 4);
        QCOMPARE(row("A12", 1)->text(ParameterView::ColumnParameter), QStringLiteral("A12[1]"));
        QCOMPARE(row("A12", 1)->text(ParameterView::ColumnName), QStringLiteral("Spitze"));
        QCOMPARE(row("C05", 3)->text(ParameterView::ColumnParameter), QStringLiteral("C05[3]"));
        QVERIFY(row("C05", 0)->text(ParameterView::ColumnValue).isEmpty());
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            QVERIFY(!tree->topLevelItem(i)->isExpanded());

        // AND a value that differs from its reference is marked on its element and its parameter
        for (QTreeWidgetItem* marked : { row("A12", 1), row("A12") })
            QCOMPARE(marked->text(ParameterView::ColumnChanged) == QLatin1String("*"), peakChanged);
        QCOMPARE(row("A12", 1)->font(ParameterView::ColumnValue).bold(), peakChanged);
        QVERIFY(row("A12", 0)->text(ParameterView::ColumnChanged).isEmpty());

        // AND inactive and read-only elements have colours of their own
        const QVariant normal = row("A12", 0)->data(ParameterView::ColumnValue, Qt::ForegroundRole);
        const QVariant inactive = row("A12", 2)->data(ParameterView::ColumnValue, Qt::ForegroundRole);
        const QVariant readOnly = row("A12", 3)->data(ParameterView::ColumnValue, Qt::ForegroundRole);
        QVERIFY(normal.isNull() && !inactive.isNull() && !readOnly.isNull() && inactive != readOnly);
        QCOMPARE(row("G02")->data(ParameterView::ColumnName, Qt::ForegroundRole), readOnly);
    }

    void followsCatalogueOnlineAndLanguage()
    {
        // GIVEN the view on axis 1 with the array expanded and one element current
        m_view->setAxis(m_controller->axis(1));
        QTreeWidget* tree = m_view->treeWidget();
        row("A12")->setExpanded(true);
        tree->setCurrentItem(row("A12", 1));
        ParameterProvider* provider = m_controller->parameterProvider();

        // WHEN values are written THEN the same row shows what the set-up shows for axis 1, changed mark included
        struct Write { const char* coordinate; int element; int axis; const char* raw; bool shown; };
        for (const Write& w : {Write{"A10", -1, 2, "1500", false}, Write{"A10", -1, 1, "1500", true},
                               Write{"G01", -1, 2, "Q7", true}, Write{"A12", 0, 1, "12.5", true}}) {
            ParameterSetup* parameter = KxTest::setupOf(m_controller, QLatin1String(w.coordinate));
            QTreeWidgetItem* item = row(w.coordinate, w.element);
            const quint16 index = quint16(qMax(w.element, 0));
            const QString before = item->text(ParameterView::ColumnValue);
            QVERIFY(parameter->setValueText(w.axis, index, QLatin1String(w.raw)));
            QCOMPARE(row(w.coordinate, w.element), item);
            QCOMPARE(item->text(ParameterView::ColumnValue), parameter->valueText(1, index, true));
            QCOMPARE(item->text(ParameterView::ColumnValue) != before, w.shown);
            QCOMPARE(item->text(ParameterView::ColumnChanged) == QLatin1String("*"), w.shown);
        }

        // WHEN a parameter is removed from the device
        QVERIFY(provider->removeParameter(ParameterCoordinate(QStringLiteral("A10"))));

        // THEN its row goes; the rest keeps its state
        QTRY_COMPARE(topLevelTexts(tree), (QStringList{ "G01", "A12", "A20", "C05", "G02" }));
        QVERIFY(row("A12")->isExpanded());
        QCOMPARE(tree->currentItem(), row("A12", 1));

        // WHEN a parameter is added
        ParameterDescription added;
        added.coordinate = ParameterCoordinate(QStringLiteral("B07"));
        added.text = ParameterText(QStringLiteral("Schleppfehlergrenze"));
        ParameterElementDescription element;
        element.maximum = 100;
        element.defaultValue = element.referenceValue = QStringLiteral("10");
        added.elements.append(element);
        provider->addParameter(added);

        // THEN it gets a row
        QTRY_VERIFY(row("B07"));
        QCOMPARE(row("B07")->text(ParameterView::ColumnValue), QStringLiteral("10"));
        QCOMPARE(tree->topLevelItemCount(), provider->parameterCoordinates(1).size());

        // WHEN the controller goes online, reading a value the drive changed meanwhile
        QVERIFY(provider->simulateDriveValue(ParameterAddress(ParameterCoordinate(QStringLiteral("A20")), 0, 1),
                                             QStringLiteral("3")));
        m_controller->setOnline(true);

        // THEN the row shows the drive's value
        QTRY_COMPARE(row("A20")->text(ParameterView::ColumnValue), QStringLiteral("Einrichten"));

        // WHEN the active language switches to English
        LanguageManager::instance()->setActiveLanguage(LanguageManager::English);

        // THEN names and display texts follow
        QCOMPARE(row("A12", 1)->text(ParameterView::ColumnName), QStringLiteral("Peak"));
        QCOMPARE(row("A20")->text(ParameterView::ColumnName), QStringLiteral("Operating mode"));
        QCOMPARE(row("A20")->text(ParameterView::ColumnValue), QStringLiteral("Set-up"));
        // AND the narrow mark column still shows its whole caption
        QHeaderView* header = tree->header();
        QVERIFY(header->sectionSize(ParameterView::ColumnChanged) >= header->sectionSizeHint(ParameterView::ColumnChanged));
    }

    void filterByTextAndChangedMark_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<bool>("changedOnly");
        QTest::addColumn<QStringList>("shown");
        const QStringList a12 = {"A12", "A12[0]", "A12[1]", "A12[2]", "A12[3]"};
        QTest::newRow("empty filter shows all") << QString() << false
            << (QStringList{"G01", "A10"} + a12 + QStringList{"A20", "C05", "C05[0]", "C05[3]", "G02"});
        QTest::newRow("coordinate prefix, any case") << "a1" << false << (QStringList{"A10"} + a12);
        QTest::newRow("part of a parameter name") << "FREQUENZ" << false << QStringList{"G02"};
        QTest::newRow("an element's name keeps its parameter") << "spitz" << false << QStringList{"A12", "A12[1]"};
        QTest::newRow("changed only") << QString() << true << QStringList{"A12", "A12[1]"};
        QTest::newRow("changed only and a name") << "drehzahl" << true << QStringList();
        QTest::newRow("nothing matches") << "xyz" << false << QStringList();
    }

    void filterByTextAndChangedMark()
    {
        QFETCH(QString, filter);
        QFETCH(bool, changedOnly);
        QFETCH(QStringList, shown);
        // GIVEN axis X, whose A12[1] differs from its reference
        m_view->setAxis(m_controller->axis(1));
        auto* edit = m_view->findChild<QLineEdit*>(QStringLiteral("parameterFilterEdit"));
        auto* changed = m_view->findChild<QCheckBox*>(QStringLiteral("changedOnlyCheckBox"));
        QVERIFY(edit && changed);
        QCOMPARE(changed->text(), QStringLiteral("nur geänderte"));
        // WHEN the user types the filter and sets "nur geänderte"
        QTest::keyClicks(edit, filter);
        changed->setChecked(changedOnly);
        // THEN only the matching rows are left
        QCOMPARE(shownRows(m_view->treeWidget()), shown);
        // AND a rebuild of the rows (the device went online) keeps the filter
        m_controller->setOnline(true);
        QTRY_COMPARE(shownRows(m_view->treeWidget()), shown);
    }

    void changedOnlyFollowsValues()
    {
        m_view->setAxis(m_controller->axis(1));
        m_view->findChild<QCheckBox*>(QStringLiteral("changedOnlyCheckBox"))->setChecked(true);
        QTreeWidget* tree = m_view->treeWidget();
        // WHEN a value of the axis moves away from its reference, and another one back to it
        QVERIFY(KxTest::setupOf(m_controller, QStringLiteral("A10"))->setValueText(1, 0, QStringLiteral("1200")));
        QVERIFY(KxTest::setupOf(m_controller, QStringLiteral("A12"))->setValueText(1, 1, QStringLiteral("10")));
        // THEN the filter shows the one and drops the other
        QCOMPARE(shownRows(tree), QStringList{"A10"});
        // AND clearing the box shows everything again
        m_view->findChild<QCheckBox*>(QStringLiteral("changedOnlyCheckBox"))->setChecked(false);
        QCOMPARE(shownRows(tree).size(), 12);
    }

    void rowsAreDraggedAsParameterTexts()
    {
        m_view->setAxis(m_controller->axis(1));
        QTreeWidget* tree = m_view->treeWidget();
        QVERIFY(tree->dragEnabled());
        const QString format = ParameterCustomListHost::parameterMimeType();
        QVERIFY(tree->model()->mimeTypes().contains(format));
        // A parameter row carries the whole parameter, an element row that element
        for (QTreeWidgetItem* item : {row("A10"), row("A12"), row("A12", 3)}) {
            QAbstractItemModel* model = tree->model();
            const QModelIndex index = item->parent()
                ? model->index(item->parent()->indexOfChild(item), 0, model->index(tree->indexOfTopLevelItem(item->parent()), 0))
                : model->index(tree->indexOfTopLevelItem(item), 0);
            std::unique_ptr<QMimeData> data(tree->model()->mimeData({index}));
            QVERIFY(data);
            const QString expected = item->text(ParameterView::ColumnParameter);
            QCOMPARE(data->data(format), (expected + QStringLiteral("\r\n")).toUtf8());
        }
    }

    void editingInPlace_data()
    {
        QTest::addColumn<QString>("trigger");
        QTest::addColumn<QString>("coordinate");
        QTest::addColumn<int>("element");
        QTest::addColumn<bool>("readOnlyDevice");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expectedDisplay");

        QTest::newRow("double click on a simple value") << "double-click" << "A10" << -1 << false << "2400" << "2400 1/min";
        QTest::newRow("F2 on an array element") << "F2" << "A12" << 0 << false << "7,5" << "7.5 A";
        QTest::newRow("Enter on a device-wide text") << "Enter" << "G01" << -1 << false << "Halle3" << "Halle3";
        QTest::newRow("double click on a selection") << "double-click" << "A20" << -1 << false << "" << "Automatik";
        // Rows without an expected display open no editor.
        QTest::newRow("read-only element") << "F2" << "A12" << 3 << false << "" << "";
        QTest::newRow("record element without value") << "F2" << "C05" << 0 << false << "" << "";
        QTest::newRow("row of an array") << "Enter" << "A12" << -1 << false << "" << "";
        QTest::newRow("value of a read-only device") << "F2" << "A10" << -1 << true << "" << "";
    }

    void editingInPlace()
    {
        QFETCH(QString, trigger);
        QFETCH(QString, coordinate);
        QFETCH(int, element);
        QFETCH(bool, readOnlyDevice);
        QFETCH(QString, typed);
        QFETCH(QString, expectedDisplay);

        // GIVEN the view on axis 1, visible, with the row current
        m_controller->parameterProvider()->setReadOnly(readOnlyDevice);
        m_view->setAxis(m_controller->axis(1));
        QVERIFY(KxTest::showActive(m_view));
        QTreeWidget* tree = m_view->treeWidget();
        ParameterSetup* parameter = KxTest::setupOf(m_controller, coordinate);
        QTreeWidgetItem* item = m_view->item(parameter->coordinate(), element);
        if (item->parent())
            item->parent()->setExpanded(true);
        tree->setCurrentItem(item);
        tree->setFocus();
        const QString before = parameter->valueText(1, quint16(qMax(element, 0)), true);

        // WHEN editing is asked for the way the user does it
        if (trigger == QLatin1String("double-click")) {
            // What the window system delivers: item views need the first press.
            const QPoint position(tree->header()->sectionViewportPosition(ParameterView::ColumnValue) + 5,
                                  tree->visualItemRect(item).center().y());
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, position);
            QTest::mouseDClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, position);
            QTest::mouseRelease(tree->viewport(), Qt::LeftButton, Qt::NoModifier, position);
        } else {
            QTest::keyClick(tree, trigger == QLatin1String("F2") ? Qt::Key_F2 : Qt::Key_Return);
        }

        // THEN only writable values get an editor on the value cell
        QWidget* editor = m_view->activeEditor();
        if (expectedDisplay.isEmpty()) {
            QVERIFY(!editor);
            QVERIFY(!m_view->editItem(item));
            QVERIFY(!tree->itemWidget(item, ParameterView::ColumnValue));
            QCOMPARE(parameter->valueText(1, quint16(qMax(element, 0)), true), before);
            return;
        }
        QVERIFY(editor);
        QCOMPARE(tree->itemWidget(item, ParameterView::ColumnValue), editor);

        // WHEN a value is typed and confirmed, or picked in the opened list
        if (auto* combo = qobject_cast<ParameterItemComboBox*>(editor)) {
            QTRY_VERIFY(combo->view()->isVisible());
            QTest::keyClick(combo->view(), Qt::Key_Down);
            QTest::keyClick(combo->view(), Qt::Key_Return);
        } else {
            QVERIFY(qobject_cast<ParameterItemEdit*>(editor));
            QTRY_VERIFY(editor->hasFocus());
            QTest::keyClicks(editor, typed);
            QTest::keyClick(editor, Qt::Key_Return);
        }

        // THEN it is written, the editor is gone, the row shows the value and the view has the focus
        QCOMPARE(parameter->valueText(1, quint16(qMax(element, 0)), true), expectedDisplay);
        QVERIFY(!m_view->activeEditor());
        QTRY_VERIFY(!tree->itemWidget(item, ParameterView::ColumnValue));
        QCOMPARE(item->text(ParameterView::ColumnValue), expectedDisplay);
        QTRY_VERIFY(tree->hasFocus());
    }

    void contextMenuAddsToAList()
    {
        // GIVEN the view on axis 1 with an array element visible
        m_view->setAxis(m_controller->axis(1));
        QVERIFY(KxTest::showActive(m_view));
        QTreeWidget* tree = m_view->treeWidget();
        row("A12")->setExpanded(true);
        const QPoint position = tree->visualItemRect(row("A12", 3)).center();

        // WHEN its context menu opens and a list is picked; a timer does it,
        // so that a menu with an event loop of its own cannot hang the test
        bool done = false;
        QStringList enabledSubmenus;
        QStringList entries;
        QTimer::singleShot(0, this, [&]() {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QMenu* add = nullptr;
            for (QAction* action : menu ? menu->actions() : QList<QAction*>()) {
                if (action->menu() && action->isEnabled())
                    enabledSubmenus.append(action->text());
                if (action->text() == QStringLiteral("Zur Liste hinzufügen"))
                    add = action->menu();
            }
            for (QAction* action : add ? add->actions() : QList<QAction*>()) {
                entries.append(action->text());
                if (action->text() == QLatin1String("Inbetriebnahme"))
                    action->trigger();
            }
            while (QWidget* popup = QApplication::activePopupWidget())
                popup->close();
            done = true;
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, position, tree->viewport()->mapToGlobal(position));
        QApplication::sendEvent(tree->viewport(), &event);
        QTRY_VERIFY(done);

        // THEN the host's lists were offered and it got the element's text once
        QCOMPARE(enabledSubmenus, (QStringList{ "Zur Liste hinzufügen", "Aus Liste entfernen" }));
        QCOMPARE(entries, (QStringList{ "Inbetriebnahme", "Wartung" }));
        QCOMPARE(m_host.calls, QStringList{ "add l1 A12[3]" });
    }

    void removingTheAxisWhileEditingEmptiesTheView()
    {
        m_view->setAxis(m_controller->axis(1));
        QVERIFY(KxTest::showActive(m_view));
        QVERIFY(m_view->editItem(row("A10")));
        QPointer<QWidget> editor = m_view->activeEditor();
        QTest::keyClicks(editor, QStringLiteral("77"));

        QVERIFY(m_controller->removeAxis(1));

        // The view holds no axis, wrote nothing and ignores the device's later signals.
        QVERIFY(!m_view->axis());
        QCOMPARE(m_view->treeWidget()->topLevelItemCount(), 0);
        QVERIFY(!m_view->activeEditor());
        QTRY_VERIFY(!editor);
        QCOMPARE(KxTest::setupOf(m_controller, QStringLiteral("A10"))->valueText(2, 0, false), QStringLiteral("4500"));
        QVERIFY(m_controller->parameterProvider()->removeParameter(ParameterCoordinate(QStringLiteral("A12"))));
        m_controller->setOnline(true);
        QTest::qWait(20);
        QCOMPARE(m_view->treeWidget()->topLevelItemCount(), 0);
    }
};

QTEST_MAIN(TestParameterView)
#include "tst_parameterview.moc"
