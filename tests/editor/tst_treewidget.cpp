#include "TestSupport.h"

#include "ParameterCustomList.h"
#include "ParameterCustomListEntry.h"
#include "ParameterCustomListElementItem.h"
#include "ParameterCustomListEntryItem.h"
#include "ParameterCustomListRepository.h"
#include "ParameterCustomListTreeWidget.h"

#include "DeviceDescription.h"
#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "HelpWidget.h"
#include "LanguageManager.h"
#include "ParameterItemComboBox.h"
#include "ParameterItemEdit.h"
#include "ParameterPropertyList.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"
#include "System.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStyledItemDelegate>
#include <QTest>
#include <QTranslator>
#include <QVBoxLayout>

#include <functional>
#include <memory>

namespace {

using KxTest::deliver;
using KxTest::markingColor;

// Controllers of the shared catalogue's 12-axis "KXM-12" (A20 an array of 4
// elements) and 2-axis "KXE-2" (A20 of 6): "M2,E1" is a KXM-12 with two axes and a KXE-2 with one.
QByteArray layout(const QString& text)
{
    QList<QPair<QString, int>> controllers;
    for (const QString& part : text.split(QLatin1Char(','), Qt::SkipEmptyParts))
        controllers.append({part.startsWith(QLatin1Char('M')) ? QStringLiteral("KXM-12 Mehrachsregler") : QStringLiteral("KXE-2 Kompaktregler"), part.mid(1).toInt()});
    return KxTest::controllersWithAxes(controllers);
}

// The controllers, a list showing the first `listedAxes` of their axes (all for -1)
// and a tree showing that list in a window of its own.
struct Fixture : KxTest::Devices
{
    explicit Fixture(const QByteArray& description, int listedAxes = -1)
        : Devices(description)
        , controllers(Devices::controllers())
        , axes(allAxes())
    {
        list = static_cast<ParameterCustomList*>(ParameterCustomListRepository::instance().createList());
        list->setAxes(listedAxes < 0 ? axes : axes.mid(0, listedAxes));
        deliver();
        window = new QWidget;
        window->resize(900, 500);
        tree = new ParameterCustomListTreeWidget(window);
        (new QVBoxLayout(window))->addWidget(tree);
        tree->setParameterCustomList(list);
        window->show();
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window))
            QTest::qFail("the tree's window did not become active", __FILE__, __LINE__);
    }
    ~Fixture() override
    {
        delete window;
        ParameterCustomListRepository::instance().clear();
        deliver();
    }

    QList<DriveController*> controllers;
    QList<QPointer<DriveControllerAxis>> axes;
    ParameterCustomList* list = nullptr;
    ParameterCustomListTreeWidget* tree = nullptr;
    QWidget* window = nullptr;

    // Adds parameters and lets the list's notice reach the tree.
    void add(const QStringList& parameters)
    {
        for (const QString& parameter : parameters)
            list->addEntry(parameter);
        deliver();
    }
    ParameterSetup* setup(int axisIndex, const QString& coordinate) const
    {
        DriveControllerAxis* axis = axes.value(axisIndex);
        return axis && axis->driveController() ? axis->driveController()->parameterProvider()->parameterSetup(ParameterCoordinate(coordinate)) : nullptr;
    }
    QTreeWidgetItem* row(const QString& coordinate) const
    {
        for (int i = 0; i < tree->topLevelItemCount(); ++i) {
            if (tree->topLevelItem(i)->data(0, ParameterCustomListEntryItem::role).toUInt() == ParameterCoordinate(coordinate).toNumber())
                return tree->topLevelItem(i);
        }
        return nullptr;
    }
    QTreeWidgetItem* elementRow(const QString& coordinate, quint16 element) const
    {
        QTreeWidgetItem* parent = row(coordinate);
        for (int i = 0; parent && i < parent->childCount(); ++i) {
            if (parent->child(i)->data(0, ParameterCustomListElementItem::role).toUInt() == element)
                return parent->child(i);
        }
        return nullptr;
    }
    QRect cellRect(QTreeWidgetItem* item, int column) const
    {
        return QRect(tree->header()->sectionViewportPosition(column), tree->visualItemRect(item).top(),
                     tree->header()->sectionSize(column), tree->visualItemRect(item).height());
    }
    // Press, release and double click, as a mouse delivers them.
    void doubleClickCell(QTreeWidgetItem* item, int column) const
    {
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, cellRect(item, column).center());
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, cellRect(item, column).center());
    }
};


QImage iconImage(const QIcon& icon) { return icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32); }
QImage resourceImage(const QString& name) { return iconImage(QIcon(QStringLiteral(":/Resources/") + name)); }

// Sends what a right click on the viewport sends; returns the tree's menu and its commands.
// Writes an accepted value other than the current one to every writable
// value element of the set-up; false when none could be written.
bool writeAnotherValue(ParameterSetup* setup, eLivingSpace space)
{
    bool wrote = false;
    for (quint16 e : setup ? setup->valueElementIndices() : QSet<quint16>()) {
        if (!setup->isWritable(space, e))
            continue;
        QStringList candidates{QString::number(setup->minimum(e)), QString::number(setup->maximum(e)), QStringLiteral("x")};
        for (const ParameterChoice& choice : setup->choices(e))
            candidates.append(QString::number(choice.value));
        const QString current = setup->valueText(space, e, false);
        for (const QString& candidate : qAsConst(candidates)) {
            if (candidate != current && setup->checkValueText(space, e, candidate).isEmpty()
                && setup->setValueText(space, e, candidate)) {
                wrote = true;
                break;
            }
        }
    }
    return wrote;
}

// Every cell of every row as text, tool tip, icon and colour.
QStringList cells(QTreeWidget* tree)
{
    QStringList result;
    for (QTreeWidgetItem* row : KxTest::treeRows(tree)) {
        for (int column = 0; column < tree->columnCount(); ++column) {
            result.append(QStringLiteral("%1|%2|%3|%4").arg(row->text(column), row->toolTip(column))
                              .arg(row->icon(column).cacheKey()).arg(row->foreground(column).color().name()));
        }
    }
    return result;
}

QList<QAction*> requestContextMenu(Fixture& f, const QPoint& position, QMenu** menu = nullptr)
{
    QContextMenuEvent event(QContextMenuEvent::Mouse, position, f.tree->viewport()->mapToGlobal(position));
    QApplication::sendEvent(f.tree->viewport(), &event);
    QMenu* shown = f.tree->findChild<QMenu*>();
    if (menu)
        *menu = shown;
    QList<QAction*> result;
    for (QAction* action : shown ? shown->actions() : QList<QAction*>()) {
        if (!action->isSeparator())
            result << action;
    }
    return result;
}

QString valueOn(Fixture& f, int axisIndex, const QString& coordinate)
{
    return f.setup(axisIndex, coordinate)->valueText(f.axes.at(axisIndex)->axisNumber(), 0, false);
}

void setValueOn(Fixture& f, int axisIndex, const QString& coordinate, const QString& value)
{
    QVERIFY(f.setup(axisIndex, coordinate)->setValueText(f.axes.at(axisIndex)->axisNumber(), 0, value));
}

void reorderColumns(Fixture& f, const QList<int>& visualOrder)
{
    for (int v = 0; v < visualOrder.size(); ++v)
        f.tree->header()->moveSection(f.tree->header()->visualIndex(visualOrder.at(v)), v + 1);
}

} // namespace

using Trigger = std::function<void(Fixture&)>;
Q_DECLARE_METATYPE(Trigger)

class TestTreeWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        KxTest::initTestEnvironment();
        ParameterCustomListRepository::instance();
    }

    void cleanup()
    {
        LanguageManager::instance()->setActiveLanguage(LanguageManager::German);
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (qobject_cast<QMenu*>(widget))
                widget->hide();
        }
        deliver();
    }

    void headerPlacesCaptionsByLogicalIndex()
    {
        // GIVEN a header whose sections were put into another visual order, as a restored state does
        Fixture f(layout(QStringLiteral("M2,E1")));
        QHeaderView* header = f.tree->header();
        header->moveSection(header->visualIndex(1), 3);
        // WHEN the columns are rebuilt THEN every logical column still names its own axis
        f.tree->onAxesChanged();
        QTreeWidgetItem* caption = static_cast<QTreeWidget*>(f.tree)->headerItem();
        QCOMPARE(f.tree->columnCount(), 4);
        QCOMPARE(caption->text(0), QString());
        for (int axis = 0; axis < f.axes.size(); ++axis) {
            DriveControllerAxis* a = f.axes.at(axis);
            QCOMPARE(caption->text(axis + 1), a->driveController()->name() + QLatin1Char('\n') + a->name());
            QCOMPARE(caption->toolTip(axis + 1), a->driveController()->descriptor()->text());
            QCOMPARE(iconImage(caption->icon(axis + 1)), resourceImage(QStringLiteral("DriveControllerAxis%1.png").arg(a->axisNumber())));
        }
        // WHEN the first controller goes online with a fault on its second axis THEN both of its icons say so
        f.controllers.first()->setAxisFault(2, true);
        f.controllers.first()->setOnline(true);
        QCOMPARE(iconImage(caption->icon(1)), resourceImage(QStringLiteral("DriveControllerAxis1Online.png")));
        QCOMPARE(iconImage(caption->icon(2)), resourceImage(QStringLiteral("DriveControllerAxis2OnlineFault.png")));
    }

    void markingBarShowsEachAxisColour()
    {
        Fixture f(layout(QStringLiteral("M2")));
        QHeaderView* header = f.tree->header();
        const QImage image = header->grab().toImage();
        for (int column : {1, 2}) {
            const QPoint bottomCentre(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() - 1);
            QCOMPARE(image.pixelColor(bottomCentre * image.devicePixelRatio()).rgb(), markingColor(1, column).rgb());
        }
    }

    void rowsFollowTheList()
    {
        // GIVEN a value changed on the first axis, a read-only value, an array (6 elements on the
        // KXE-2, 4 on the KXM-12), a record of elements 0, 1 and 4, and a switch only axis 1 has
        Fixture f(layout(QStringLiteral("E2,M1")));
        QVERIFY(f.setup(0, QStringLiteral("A10"))->setValueText(1, 0, QStringLiteral("1234")));
        f.add({"C70", "A30", "A50", "A10", "A20"});
        // THEN one row per parameter in coordinate order, with a row per element any axis has
        QCOMPARE(f.tree->columnCount(), 4);
        QStringList rows;
        for (int i = 0; i < f.tree->topLevelItemCount(); ++i)
            rows << f.tree->topLevelItem(i)->text(0).section(QLatin1Char(' '), 0, 0);
        QCOMPARE(rows, (QStringList{"A10", "A20", "A30", "A50", "C70"}));
        QCOMPARE(f.row(QStringLiteral("A20"))->childCount(), 6);
        QCOMPARE(f.row(QStringLiteral("A30"))->childCount(), 3);
        QVERIFY(f.elementRow(QStringLiteral("A30"), 4)->text(0).startsWith(QStringLiteral("A30[4] ")));
        // AND each cell shows its axis' value, or greyed "<nicht vorhanden>" where the axis lacks it
        const QColor missingColour = f.tree->palette().color(QPalette::Disabled, QPalette::ButtonText);
        auto cell = [&](const char* coordinate, int element, int axis) {   // element -1: the entry row
            QTreeWidgetItem* item = element < 0 ? f.row(QLatin1String(coordinate)) : f.elementRow(QLatin1String(coordinate), quint16(element));
            return qMakePair(item->text(axis + 1), item->foreground(axis + 1).color() == missingColour);
        };
        for (int axis = 0; axis < 3; ++axis) {
            const int number = f.axes.at(axis)->axisNumber();
            QCOMPARE(cell("A10", -1, axis), qMakePair(f.setup(axis, QStringLiteral("A10"))->valueText(number, 0, true), false));
            QCOMPARE(cell("A50", -1, axis), qMakePair(f.setup(axis, QStringLiteral("A50"))->valueText(number, 0, true), false));
            QCOMPARE(cell("A20", -1, axis).first, QString());
            QCOMPARE(cell("A30", 4, axis), qMakePair(f.setup(axis, QStringLiteral("A30"))->valueText(number, 4, true), false));
        }
        const QPair<QString, bool> missing(QStringLiteral("<nicht vorhanden>"), true);
        QCOMPARE(cell("A20", 5, 2), missing);
        QCOMPARE(cell("C70", -1, 1), missing);
        QCOMPARE(iconImage(f.row(QStringLiteral("C70"))->icon(2)), resourceImage(QStringLiteral("standard.png")));
        // AND the changed value carries another state icon than the unchanged one
        QVERIFY(iconImage(f.row(QStringLiteral("A10"))->icon(1)) != iconImage(f.row(QStringLiteral("A10"))->icon(2)));
        // AND each cell's tool tip names the axis' own parameter or element; a missing cell has none
        ParameterCustomListEntry* a30 = f.list->entries().value(ParameterCoordinate(QStringLiteral("A30")));
        QCOMPARE(f.elementRow(QStringLiteral("A30"), 4)->toolTip(2), a30->toolTip(1, 4));
        QVERIFY(f.elementRow(QStringLiteral("A30"), 4)->toolTip(2).startsWith(QStringLiteral("2.A30[4] ")));
        QVERIFY(f.row(QStringLiteral("A10"))->toolTip(3).startsWith(QStringLiteral("1.A10 ")));
        QCOMPARE(f.row(QStringLiteral("C70"))->toolTip(2), QString());
        QCOMPARE(f.row(QStringLiteral("A10"))->toolTip(0), QString());
    }

    void stateIconFollowsValueAndReplacedDefinition()
    {
        // GIVEN a value at its reference
        Fixture f(layout(QStringLiteral("M1")));
        f.add({QStringLiteral("A10")});
        ParameterSetup* setup = f.setup(0, QStringLiteral("A10"));
        const int axis = f.axes.at(0)->axisNumber();
        const QString other = QStringLiteral("1234");
        QVERIFY(setup->referenceValueText(axis, 0, false) != other);
        setValueOn(f, 0, QStringLiteral("A10"), setup->referenceValueText(axis, 0, false));
        deliver();
        const QImage atReference = iconImage(f.row(QStringLiteral("A10"))->icon(1));
        // WHEN the value leaves it THEN the icon says so
        setValueOn(f, 0, QStringLiteral("A10"), other);
        deliver();
        QVERIFY(iconImage(f.row(QStringLiteral("A10"))->icon(1)) != atReference);
        // WHEN the device redefines the parameter with that value as its reference
        ParameterDescription redefined = setup->description();
        redefined.elements[0].referenceValue = other;
        f.controllers.at(0)->parameterProvider()->addParameter(redefined);
        setValueOn(f, 0, QStringLiteral("A10"), other);
        deliver();
        // THEN the row compares with the new reference, no longer with the old one
        QCOMPARE(iconImage(f.row(QStringLiteral("A10"))->icon(1)), atReference);
        QCOMPARE(f.row(QStringLiteral("A10"))->text(1), f.setup(0, QStringLiteral("A10"))->valueText(axis, 0, true));
    }

    void translatorOfTheHostRetranslatesTheRows()
    {
        // GIVEN a cell of an axis without the parameter
        Fixture f(layout(QStringLiteral("E2,M1")));
        f.add({QStringLiteral("C70")});
        const QString german = f.row(QStringLiteral("C70"))->text(2);
        // WHEN the host installs a catalogue itself, bypassing the language manager
        QTranslator translator;
        QVERIFY(translator.load(QStringLiteral(":/translations/kxparametercustomlist_en.qm")));
        QVERIFY(QCoreApplication::installTranslator(&translator));
        deliver();
        // THEN the cell follows it, and goes back when the catalogue goes
        const QString english = QCoreApplication::translate("ParameterCustomListEntryItem", "<nicht vorhanden>");
        QVERIFY(english != german);
        QCOMPARE(f.row(QStringLiteral("C70"))->text(2), english);
        QCoreApplication::removeTranslator(&translator);
        deliver();
        QCOMPARE(f.row(QStringLiteral("C70"))->text(2), german);
    }

    void elementRowsAreReconciledInPlace()
    {
        // GIVEN an array entry with all four elements and element 2 selected
        Fixture f(layout(QStringLiteral("M2")));
        f.add({QStringLiteral("A20")});
        QTreeWidgetItem* entryRow = f.row(QStringLiteral("A20"));
        QList<QTreeWidgetItem*> kept{f.elementRow(QStringLiteral("A20"), 0), f.elementRow(QStringLiteral("A20"), 2), f.elementRow(QStringLiteral("A20"), 3)};
        f.tree->setCurrentItem(kept.at(1), 1);
        // WHEN element 1 leaves the list THEN only its row went; the others stay, still selected where they were
        f.list->removeEntry(QStringLiteral("A20[1]"));
        deliver();
        QCOMPARE(f.row(QStringLiteral("A20")), entryRow);
        QCOMPARE(entryRow->childCount(), 3);
        for (int i = 0; i < kept.size(); ++i)
            QCOMPARE(entryRow->child(i), kept.at(i));
        QVERIFY(kept.at(1)->isSelected());
        QCOMPARE(f.tree->currentItem(), kept.at(1));
        // WHEN it comes back THEN a new row is put between the kept ones
        f.list->addEntry(QStringLiteral("A20[1]"));
        deliver();
        QCOMPARE(entryRow->childCount(), 4);
        QCOMPARE(entryRow->child(1)->data(0, ParameterCustomListElementItem::role).toUInt(), 1u);
        QCOMPARE((QList<QTreeWidgetItem*>{entryRow->child(0), entryRow->child(2), entryRow->child(3)}), kept);
        // WHEN the tree is given no list THEN only the parameter column is left, and the list no longer reaches it
        f.tree->setParameterCustomList(nullptr);
        QCOMPARE(f.tree->columnCount(), 1);
        f.add({QStringLiteral("A10")});
        QCOMPARE(f.tree->topLevelItemCount(), 0);
        f.tree->setParameterCustomList(f.list);
        QCOMPARE(f.tree->topLevelItemCount(), 2);
    }

    void refreshFollowsSignals_data()
    {
        QTest::addColumn<Trigger>("trigger");
        QTest::addColumn<bool>("refreshes");
        // The list shows controller 1 (axes 1, 2) and controller 2 (axis 1); controller 3 is not in the list.
        auto write = [](Fixture& f, const char* coordinate, const char* value) {
            f.setup(0, QLatin1String(coordinate))->setValueText(1, 0, QLatin1String(value));
        };
        QTest::newRow("controller goes online") << Trigger([](Fixture& f) { f.controllers.at(0)->setOnline(true); }) << true;
        QTest::newRow("device becomes read-only") << Trigger([](Fixture& f) { f.controllers.at(1)->parameterProvider()->setReadOnly(true); }) << true;
        QTest::newRow("value of a listed parameter") << Trigger([=](Fixture& f) { write(f, "A10", "1234"); }) << true;
        QTest::newRow("active language") << Trigger([](Fixture&) { LanguageManager::instance()->setActiveLanguage(LanguageManager::English); }) << true;
        QTest::newRow("value of a parameter not in the list") << Trigger([=](Fixture& f) { write(f, "A100", "77"); }) << false;
        QTest::newRow("controller not in the list goes online") << Trigger([](Fixture& f) { f.controllers.at(2)->setOnline(true); }) << false;
    }

    void refreshFollowsSignals()
    {
        QFETCH(Trigger, trigger);
        QFETCH(bool, refreshes);
        // GIVEN a list of three of four axes, on controllers that already need
        // saving (so writing a value says nothing else)
        Fixture f(layout(QStringLiteral("M2,E1,M1")), 3);
        f.add({QStringLiteral("A10"), QStringLiteral("A20")});
        for (DriveController* controller : qAsConst(f.controllers))
            controller->parameterProvider()->parameterSetup(ParameterCoordinate(QStringLiteral("A100")))->setValueText(1, 0, QStringLiteral("5"));
        deliver();
        const QString germanLabel = f.row(QStringLiteral("A10"))->text(0);
        // AND a parameter added without a notice (as during a project load), so only a refresh can show it
        {
            const QSignalBlocker quiet(&ParameterCustomListRepository::instance());
            f.list->addEntry(QStringLiteral("A40"));
        }
        const int passes = f.tree->contentRefreshCount();
        trigger(f);
        // THEN the rows are rebuilt, once the burst of notices is over, exactly when the signal concerns the list
        QCOMPARE(f.tree->isRefreshPending(), refreshes);
        deliver();
        QCOMPARE(f.row(QStringLiteral("A40")) != nullptr, refreshes);
        QCOMPARE(f.tree->topLevelItemCount(), refreshes ? 3 : 2);
        QCOMPARE(f.tree->contentRefreshCount(), passes + (refreshes ? 1 : 0));
        if (QTest::currentDataTag() == QByteArray("active language"))
            QVERIFY(f.row(QStringLiteral("A10"))->text(0) != germanLabel);
        f.tree->onContentChanged();
        QCOMPARE(f.tree->topLevelItemCount(), 3);
    }

    void aBurstOfValuesIsMergedIntoOneRefresh()
    {
        // GIVEN a list of 240 parameters, a quarter of them arrays shown as element rows, on the
        // four axes of two controllers, shown by a tree
        KxTest::Devices devices(syntheticDeviceDescription(240, 2, 2, 5, SyntheticShape{4, 8}));
        const QList<QPointer<DriveControllerAxis>> axes = devices.allAxes();
        auto* list = static_cast<ParameterCustomList*>(ParameterCustomListRepository::instance().createList());
        const auto cleanup = qScopeGuard([] { ParameterCustomListRepository::instance().clear(); deliver(); });
        list->setAxes(axes);
        list->setCoordinates(devices.controllers().first()->parameterProvider()->allCoordinates());
        auto tree = std::make_unique<ParameterCustomListTreeWidget>();
        tree->setParameterCustomList(list);
        tree->show();
        deliver();
        const int passes = tree->contentRefreshCount();

        // WHEN every writable value of every listed parameter changes in one go on the first axis
        // of the first controller and the second of the other (device-wide ones on both axes of each)
        int writes = 0;
        for (int axis : {0, 3}) {
            for (ParameterCustomListEntry* entry : qAsConst(list->entries()))
                writes += writeAnotherValue(entry->parameterSetup(axis), axes.at(axis)->axisNumber()) ? 1 : 0;
        }
        QVERIFY2(writes > 200, qPrintable(QString::number(writes)));

        // THEN the rows wait for the event loop, which refreshes them in at most two full passes
        QVERIFY(tree->isRefreshPending());
        QCOMPARE(tree->contentRefreshCount(), passes);
        deliver();
        QVERIFY(!tree->isRefreshPending());
        QVERIFY2(tree->contentRefreshCount() - passes <= 2, qPrintable(QString::number(tree->contentRefreshCount() - passes)));
        // AND they show what a tree made afresh for the list shows, cell by cell
        auto fresh = std::make_unique<ParameterCustomListTreeWidget>();
        fresh->setParameterCustomList(list);
        const QStringList shown = cells(tree.get());
        QCOMPARE(shown.size(), cells(fresh.get()).size());
        QCOMPARE(shown, cells(fresh.get()));
        QVERIFY(shown.size() > 240 * 5);
    }

    void aChangedValueIsAnnouncedForItsOwnCell()
    {
        // GIVEN a tree showing A10 and an array on two axes
        Fixture f(layout(QStringLiteral("E2")));
        f.add({"A10", "A20"});
        QTreeWidgetItem* a10 = f.row(QStringLiteral("A10"));
        QVERIFY(a10);
        QList<QPair<QTreeWidgetItem*, int>> changed;
        connect(f.tree, &QTreeWidget::itemChanged, this, [&](QTreeWidgetItem* item, int column) { changed.append({item, column}); });
        QSignalSpy modelChanged(f.tree->model(), &QAbstractItemModel::dataChanged);

        // WHEN A10 changes on the second axis, and then back
        const QString before = valueOn(f, 1, QStringLiteral("A10"));
        QVERIFY(writeAnotherValue(f.setup(1, QStringLiteral("A10")), f.axes.at(1)->axisNumber()));
        deliver();

        // THEN the tree and its model announce exactly that cell, which shows the new value,
        // and nothing else of the row
        QVERIFY(!changed.isEmpty());
        bool sawCell = false;
        for (const auto& cell : qAsConst(changed)) {
            sawCell = sawCell || (cell.first == a10 && cell.second == 2);
            QVERIFY2(cell.first != a10 || cell.second != 1, "the unchanged axis was announced");
        }
        QVERIFY(sawCell);
        const QString after = f.setup(1, QStringLiteral("A10"))->valueText(f.axes.at(1)->axisNumber(), 0, true);
        QCOMPARE(a10->text(2), after);
        QCOMPARE(a10->data(2, Qt::DisplayRole).toString(), after);
        QCOMPARE(f.tree->model()->index(f.tree->indexOfTopLevelItem(a10), 2).data().toString(), after);
        QVERIFY(!modelChanged.isEmpty());

        changed.clear();
        setValueOn(f, 1, QStringLiteral("A10"), before);
        deliver();
        QVERIFY(!changed.isEmpty());
        QCOMPARE(a10->text(2), f.setup(1, QStringLiteral("A10"))->valueText(f.axes.at(1)->axisNumber(), 0, true));

        // AND a text set by hand, or a value that is not a text, is what the cell shows
        a10->setText(1, QStringLiteral("von Hand"));
        QCOMPARE(a10->text(1), QStringLiteral("von Hand"));
        a10->setData(1, Qt::DisplayRole, 42);
        QCOMPARE(a10->data(1, Qt::DisplayRole), QVariant(42));
        a10->setText(1, QStringLiteral("wieder Text"));
        QCOMPARE(a10->data(1, Qt::DisplayRole), QVariant(QStringLiteral("wieder Text")));
    }

    void columnsFitTheirTextsAsTheStandardDelegateMeasuresThem()
    {
        // GIVEN a tree with rows of texts of many widths
        Fixture f(layout(QStringLiteral("M2,E1")));
        f.add({"A10", "A20", "A30", "A50", "C70"});
        auto widths = [&] {
            QList<int> result;
            for (int column = 0; column < f.tree->columnCount(); ++column) {
                f.tree->resizeColumnToContents(column);
                result << f.tree->header()->sectionSize(column);
            }
            return result;
        };
        auto standardWidths = [&] {
            QAbstractItemDelegate* own = f.tree->itemDelegate();
            QStyledItemDelegate standard;
            f.tree->setItemDelegate(&standard);
            const QList<int> result = widths();
            f.tree->setItemDelegate(own);
            return result;
        };

        // THEN fitted columns are as wide as with Qt's own delegate, measured twice over,
        // after a text got longer and after the font changed
        QCOMPARE(widths(), standardWidths());
        QCOMPARE(widths(), standardWidths());
        f.row(QStringLiteral("A10"))->setText(0, f.row(QStringLiteral("A10"))->text(0) + QStringLiteral(" mit langem Zusatz"));
        const QList<int> longer = widths();
        QCOMPARE(longer, standardWidths());
        QFont font = f.tree->font();
        font.setPointSize(font.pointSize() * 2);
        f.tree->setFont(font);
        const QList<int> larger = widths();
        QCOMPARE(larger, standardWidths());
        QVERIFY(larger.first() > longer.first());
    }

    void accessLevelUpdatesHoldTheRows()
    {
        // GIVEN a list over two controllers, both updating their access level
        Fixture f(layout(QStringLiteral("M1,E1")));
        f.add({QStringLiteral("A10")});
        ParameterProvider* first = f.controllers.at(0)->parameterProvider();
        ParameterProvider* second = f.controllers.at(1)->parameterProvider();
        QSignalSpy inserted(f.tree->model(), &QAbstractItemModel::rowsInserted);
        first->beginAccessLevelUpdate();
        second->beginAccessLevelUpdate();
        // WHEN parameters and values change meanwhile THEN the rows stay, also when only one update has finished
        f.add({QStringLiteral("A40")});
        ParameterSetup* setup = f.setup(0, QStringLiteral("A10"));
        const QString before = f.row(QStringLiteral("A10"))->text(1);
        QVERIFY(setup->setValueText(1, 0, QStringLiteral("2222")));
        first->endAccessLevelUpdate();
        QCOMPARE(f.tree->topLevelItemCount(), 1);
        QCOMPARE(f.row(QStringLiteral("A10"))->text(1), before);
        QCOMPARE(inserted.count(), 0);
        // WHEN the last update finishes THEN one refresh brings everything in
        second->endAccessLevelUpdate();
        QCOMPARE(f.tree->topLevelItemCount(), 2);
        QCOMPARE(f.row(QStringLiteral("A10"))->text(1), setup->valueText(1, 0, true));
        QCOMPARE(inserted.count(), 1);
        QVERIFY(!inserted.first().at(0).value<QModelIndex>().isValid());
    }

    void editorOpensOnlyOnWritableCells_data()
    {
        QTest::addColumn<QString>("coordinate");
        QTest::addColumn<int>("element");   // -1: the entry row
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("key");   // 0: double click
        QTest::addColumn<QString>("editorClass");   // empty: none opens
        QTest::newRow("parameter column") << "A10" << -1 << 0 << 0 << QString();
        QTest::newRow("writable number") << "A10" << -1 << 1 << 0 << "ParameterItemEdit";
        QTest::newRow("selection list") << "A40" << -1 << 2 << 0 << "ParameterItemComboBox";
        QTest::newRow("record element") << "A30" << 4 << 2 << 0 << "ParameterItemEdit";
        QTest::newRow("array row itself") << "A20" << -1 << 1 << 0 << QString();
        QTest::newRow("read-only parameter") << "A50" << -1 << 1 << 0 << QString();
        QTest::newRow("axis without the parameter") << "C70" << -1 << 2 << 0 << QString();
        QTest::newRow("Return on a number") << "A10" << -1 << 2 << int(Qt::Key_Return) << "ParameterItemEdit";
        QTest::newRow("Return in the parameter column") << "A10" << -1 << 0 << int(Qt::Key_Return) << QString();
        QTest::newRow("F2 on a read-only value") << "A50" << -1 << 1 << int(Qt::Key_F2) << QString();
    }

    void editorOpensOnlyOnWritableCells()
    {
        QFETCH(QString, coordinate);
        QFETCH(int, element);
        QFETCH(int, column);
        QFETCH(int, key);
        QFETCH(QString, editorClass);
        Fixture f(layout(QStringLiteral("M2")));
        f.add({coordinate});
        QTreeWidgetItem* item = element < 0 ? f.row(coordinate) : f.elementRow(coordinate, quint16(element));
        QVERIFY(item);
        if (key) {
            f.tree->setCurrentItem(item, column);
            QTest::keyClick(f.tree, Qt::Key(key));
        } else {
            f.doubleClickCell(item, column);
        }
        // THEN the cell stays current, and the matching editor sits in it, set up for its axis and element
        QCOMPARE(f.tree->currentItem(), item);
        QCOMPARE(f.tree->currentColumn(), column);
        QWidget* editor = f.tree->itemEditor();
        if (editorClass.isEmpty()) {
            QVERIFY(!editor);
            QVERIFY(!f.tree->findChild<ParameterItemEdit*>());
            QVERIFY(!f.tree->findChild<ParameterItemComboBox*>());
            return;
        }
        QVERIFY(editor);
        QCOMPARE(QString::fromLatin1(editor->metaObject()->className()), editorClass);
        QCOMPARE(f.tree->itemWidget(item, column), editor);
        QCOMPARE(editor->height(), f.tree->visualItemRect(item).height());
        if (auto* edit = qobject_cast<ParameterItemEdit*>(editor)) {
            QCOMPARE(edit->parameterSetup(), f.setup(column - 1, coordinate));
            QCOMPARE(edit->livingSpace(), column);
            QCOMPARE(edit->elementIndex(), quint16(qMax(element, 0)));
            QVERIFY(edit->isEditable());
            QTRY_VERIFY(edit->hasFocus());
            QTest::keyClick(edit, Qt::Key_Escape);
        } else {
            auto* box = qobject_cast<ParameterItemComboBox*>(editor);
            QCOMPARE(box->parameterSetup(), f.setup(column - 1, coordinate));
            QCOMPARE(box->livingSpace(), column);
            QVERIFY(box->view()->isVisible());
            QTest::keyClick(box->view(), Qt::Key_Escape);
        }
        // Escape ends the edit without writing; the cell is free again
        QVERIFY(!f.tree->itemEditor());
        QVERIFY(!f.tree->itemWidget(item, column));
    }

    void onlyOneEditorAtATime()
    {
        // GIVEN an editor open on axis 1
        Fixture f(layout(QStringLiteral("M2")));
        f.add({QStringLiteral("A10"), QStringLiteral("A100")});
        QTreeWidgetItem* row = f.row(QStringLiteral("A10"));
        QTreeWidgetItem* other = f.row(QStringLiteral("A100"));
        f.doubleClickCell(row, 1);
        QPointer<QWidget> first = f.tree->itemEditor();
        QVERIFY(first);
        // WHEN other cells ask for an editor while the first keeps the focus THEN it stays the only one
        emit static_cast<QTreeWidget*>(f.tree)->itemDoubleClicked(row, 2);
        f.tree->openItemEditor(other, 1);
        QCOMPARE(f.tree->itemEditor(), first.data());
        QVERIFY(!f.tree->itemWidget(row, 2));
        QVERIFY(!f.tree->itemWidget(other, 1));
        // WHEN the editor says it is done THEN it leaves its cell at once and is deleted later
        QMetaObject::invokeMethod(first, "deleteMe");
        QVERIFY(!f.tree->itemEditor());
        QVERIFY(!f.tree->itemWidget(row, 1));
        deliver();
        QVERIFY(!first);
        // WHEN the user double-clicks two cells one after the other THEN the first edit ends, the second cell has the one editor
        f.doubleClickCell(row, 2);
        QPointer<QWidget> second = f.tree->itemEditor();
        QCOMPARE(f.tree->itemWidget(row, 2), second.data());
        f.doubleClickCell(other, 2);
        deliver();
        QVERIFY(!second);
        QVERIFY(f.tree->itemEditor());
        QCOMPARE(f.tree->itemWidget(other, 2), f.tree->itemEditor());
        // WHEN a value is typed and confirmed THEN it reached the axis' device only, the cell
        // shows it, and the tree has the keyboard again
        auto* edit = qobject_cast<ParameterItemEdit*>(f.tree->itemEditor());
        ParameterSetup* setup = f.setup(1, QStringLiteral("A100"));
        const QString firstAxis = setup->valueText(1, 0, false);
        QTRY_VERIFY(edit->hasFocus());
        QTest::keyClicks(edit, QStringLiteral("77"));
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(setup->valueText(2, 0, false), QStringLiteral("77"));
        QCOMPARE(other->text(2), setup->valueText(2, 0, true));
        QCOMPARE(setup->valueText(1, 0, false), firstAxis);
        QVERIFY(!f.tree->itemEditor());
        QVERIFY(f.tree->hasFocus());
    }

    void currentCellIsRoutedToTheSideWidgets_data()
    {
        QTest::addColumn<QString>("coordinate");
        QTest::addColumn<int>("element");   // -1: the entry row
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("helpPage");
        QTest::addColumn<QString>("helpText");
        QTest::newRow("help page") << "A10" << -1 << 1 << "speed-limit" << "Obere Grenze der Drehzahl";
        QTest::newRow("help given as HTML") << "A11" << -1 << 2 << QString() << "Zeit bis zur Nenndrehzahl";
        QTest::newRow("parameter column") << "A11" << -1 << 0 << QString() << QString();
    }

    void currentCellIsRoutedToTheSideWidgets()
    {
        QFETCH(QString, coordinate);
        QFETCH(int, element);
        QFETCH(int, column);
        QFETCH(QString, helpPage);
        QFETCH(QString, helpText);
        // GIVEN a tree with a help widget, a colour strip and a property list, showing A10's help
        Fixture f(layout(QStringLiteral("M2")));
        auto* help = new HelpWidget(f.window);
        help->initialize(System::instance().helpSystem(QStringLiteral("parameter")));
        auto* strip = new QWidget(f.window);
        auto* properties = new ParameterPropertyList(f.window);
        for (QWidget* widget : {strip, static_cast<QWidget*>(help), static_cast<QWidget*>(properties)})
            f.window->layout()->addWidget(widget);
        f.tree->setHelpWidget(help);
        f.tree->setColorWidget(strip);
        f.tree->setPropertyList(properties);
        f.add({QStringLiteral("A10"), coordinate});
        f.tree->setCurrentItem(f.row(QStringLiteral("A10")), 2);
        QCOMPARE(help->currentIdentifier(), QStringLiteral("speed-limit"));
        QTreeWidgetItem* item = element < 0 ? f.row(coordinate) : f.elementRow(coordinate, quint16(element));
        // WHEN the cell is clicked
        QTest::mouseClick(f.tree->viewport(), Qt::LeftButton, Qt::NoModifier, f.cellRect(item, column).center());
        // THEN the help shows the parameter's page or its own HTML
        QCOMPARE(help->currentIdentifier(), helpPage);
        if (helpText.isEmpty())
            QVERIFY2(help->plainText().trimmed().isEmpty(), qPrintable(help->plainText()));
        else
            QVERIFY2(help->plainText().contains(helpText), qPrintable(help->plainText()));
        // AND the strip shows the axis' colour, or nothing outside the axis columns
        const QColor expectedColour = column > 0 ? markingColor(1, column) : QColor(0, 0, 0, 0);
        QCOMPARE(strip->palette().color(QPalette::Active, QPalette::Window).rgba(), expectedColour.rgba());
        QVERIFY(strip->autoFillBackground());
        // AND the property list shows the cell's parameter on the axis' device
        if (column == 0) {
            QCOMPARE(properties->shownAddress(), QString());
            QVERIFY(!properties->parameterProvider());
        } else {
            QCOMPARE(properties->parameterProvider(), f.controllers.first()->parameterProvider());
            QCOMPARE(properties->shownAddress(), f.setup(column - 1, coordinate)->address(column, quint16(qMax(element, 0))).toSortableText());
            QVERIFY(properties->isParameterAvailable());
        }
    }

    void headerStateIsKeptInTheList()
    {
        // GIVEN a shown tree of three axes WHEN the columns are reordered and resized THEN the list holds the header's state
        Fixture f(layout(QStringLiteral("M3")));
        QHeaderView* header = f.tree->header();
        QVERIFY(f.list->state("HeaderState").isEmpty());
        // AND without a stored state the names get more room than the axes, the axes more than Qt's 100 pixels
        QVERIFY(header->sectionSize(0) > header->sectionSize(1));
        QVERIFY(header->sectionSize(1) > 100);
        header->moveSection(header->visualIndex(3), 1);
        header->resizeSection(2, 171);
        QCOMPARE(f.list->state("HeaderState"), header->saveState());
        QVERIFY(!f.list->state("HeaderGeometry").isEmpty());
        // WHEN another tree shows the same list THEN it restores that order and those sizes
        QWidget window;
        auto* second = new ParameterCustomListTreeWidget(&window);
        (new QVBoxLayout(&window))->addWidget(second);
        second->setParameterCustomList(f.list);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(second->header()->logicalIndex(1), 3);
        QCOMPARE(second->header()->sectionSize(2), 171);
    }

    void destroyingWhileAnEditorIsOpen_data()
    {
        QTest::addColumn<Trigger>("destroy");
        QTest::addColumn<int>("editorColumn");
        QTest::addColumn<int>("columnsAfter");   // -1: the tree itself went
        QTest::addColumn<bool>("editorStays");
        // The list shows axes 1..3 of controller 1 and axis 1 of controller 2.
        QTest::newRow("the editor's axis") << Trigger([](Fixture& f) { f.controllers.at(0)->removeAxis(2); }) << 2 << 4 << false;
        QTest::newRow("an axis right of the editor") << Trigger([](Fixture& f) { f.controllers.at(1)->removeAxis(1); }) << 2 << 4 << true;
        QTest::newRow("the editor's controller") << Trigger([](Fixture& f) { delete f.controllers.takeAt(0); }) << 1 << 2 << false;
        QTest::newRow("the list") << Trigger([](Fixture& f) { ParameterCustomListRepository::instance().deleteList(f.list); }) << 1 << 1 << false;
        // Closing the whole window would first take the focus from the editor, which then writes what it holds.
        QTest::newRow("the tree") << Trigger([](Fixture& f) { delete f.tree; }) << 1 << -1 << false;
    }

    void destroyingWhileAnEditorIsOpen()
    {
        QFETCH(Trigger, destroy);
        QFETCH(int, editorColumn);
        QFETCH(int, columnsAfter);
        QFETCH(bool, editorStays);
        // GIVEN an open editor with a half-typed value
        Fixture f(layout(QStringLiteral("M3,E1")));
        f.add({QStringLiteral("A10"), QStringLiteral("A20")});
        f.doubleClickCell(f.row(QStringLiteral("A10")), editorColumn);
        QPointer<ParameterItemEdit> edit = qobject_cast<ParameterItemEdit*>(f.tree->itemEditor());
        QVERIFY(edit);
        QTest::keyClicks(edit, QStringLiteral("99"));
        QPointer<DriveControllerAxis> editorAxis = f.axes.at(editorColumn - 1);
        QPointer<ParameterSetup> setup = f.setup(editorColumn - 1, QStringLiteral("A10"));
        const QString before = setup->valueText(editorAxis->axisNumber(), 0, false);
        QPointer<ParameterCustomListTreeWidget> tree = f.tree;

        destroy(f);
        deliver();

        // THEN nothing half-typed was written by the forced close
        if (editorAxis && setup)
            QCOMPARE(setup->valueText(editorAxis->axisNumber(), 0, false), before);
        if (columnsAfter < 0) {
            QVERIFY(!tree);
            QVERIFY(!edit);
            QCOMPARE(f.list->entries().size(), 2);
            return;
        }
        // AND the columns follow; the editor went unless its cell still shows its axis
        QCOMPARE(f.tree->columnCount(), columnsAfter);
        QCOMPARE(!edit.isNull(), editorStays);
        QCOMPARE(f.tree->itemEditor(), static_cast<QWidget*>(edit.data()));
        if (editorStays) {
            QCOMPARE(f.tree->itemWidget(f.row(QStringLiteral("A10")), editorColumn), edit.data());
            QTest::keyClick(edit, Qt::Key_Escape);
            QVERIFY(!f.tree->itemEditor());
        }
        // AND the tree goes on working
        if (f.tree->parameterCustomList()) {
            f.add({QStringLiteral("A100")});
            f.doubleClickCell(f.row(QStringLiteral("A100")), 1);
            QVERIFY(f.tree->itemEditor());
        } else {
            QCOMPARE(f.tree->topLevelItemCount(), 0);
            QTest::keyClick(f.tree, Qt::Key_Delete);
            QTest::keyClick(f.tree, Qt::Key_0, Qt::ControlModifier);
        }
    }

    void contextMenuOffersTheWritableAxes_data()
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
        QTest::newRow("reordered header") << "M3" << -1 << QList<int>{3, 1, 2} << "A10" << -1 << 1
                                          << QList<int>{1, 2} << QStringList{"Ctrl+3", "Ctrl+1"} << true;
        QTest::newRow("read-only device is no target") << "M2,E1" << 1 << QList<int>() << "A10" << -1 << 1 << QList<int>{1} << QStringList{"Ctrl+2"} << false;
        QTest::newRow("array element") << "M3" << -1 << QList<int>() << "A20" << 2 << 3 << QList<int>{0, 1} << QStringList{"Ctrl+1", "Ctrl+2"} << true;
        QTest::newRow("targets from visual position 10 on have no key")
            << "M11" << -1 << QList<int>() << "A10" << -1 << 1 << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}
            << QStringList{"Ctrl+2", "Ctrl+3", "Ctrl+4", "Ctrl+5", "Ctrl+6", "Ctrl+7", "Ctrl+8", "Ctrl+9", "", ""} << true;
    }

    void contextMenuOffersTheWritableAxes()
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
        Fixture f(layout(controllers));
        f.add({coordinate});
        if (readOnlyController >= 0)
            f.controllers.at(readOnlyController)->parameterProvider()->setReadOnly(true);
        reorderColumns(f, visualOrder);
        QTreeWidgetItem* item = element < 0 ? f.row(coordinate) : f.elementRow(coordinate, quint16(element));
        QVERIFY(item);
        QMenu* menu = nullptr;
        const QList<QAction*> actions = requestContextMenu(f, f.cellRect(item, column).center(), &menu);
        // THEN a copy to every other writable axis, named by controller and axis, with the key of its visual position
        QVERIFY(menu->isVisible());
        QCOMPARE(actions.size(), targets.size() + (toAll ? 1 : 0));
        for (int i = 0; i < targets.size(); ++i) {
            DriveControllerAxis* target = f.axes.at(targets.at(i));
            QCOMPARE(actions.at(i)->text(), QStringLiteral("Kopiere Wert nach \"%1 - %2\"").arg(target->driveController()->name(), target->name()));
            QCOMPARE(actions.at(i)->shortcut(), QKeySequence(shortcuts.at(i)));
        }
        // AND with more than one target, after a separator, the copy to all axes
        if (toAll) {
            QCOMPARE(actions.last()->text(), QStringLiteral("Kopiere Wert an alle Achsen"));
            QCOMPARE(actions.last()->shortcut(), QKeySequence(QStringLiteral("Ctrl+0")));
            QVERIFY(menu->actions().at(menu->actions().size() - 2)->isSeparator());
        }
        for (QAction* action : actions)
            QVERIFY(action->shortcut().isEmpty() || (action->shortcutContext() == Qt::WidgetShortcut && action->isShortcutVisibleInContextMenu()));
    }

    void contextMenuNeedsASourceValue()
    {
        // GIVEN a menu shown on a value, its commands not chosen yet
        Fixture f(layout(QStringLiteral("M3")));
        f.add({QStringLiteral("A10"), QStringLiteral("C70")});
        setValueOn(f, 0, QStringLiteral("A10"), QStringLiteral("1111"));
        QMenu* menu = nullptr;
        QAction* copy = requestContextMenu(f, f.cellRect(f.row(QStringLiteral("A10")), 1).center(), &menu).value(0);
        QVERIFY(copy);
        menu->hide();
        // WHEN the parameter leaves the list before the command is chosen THEN nothing is copied
        f.list->removeEntry(QStringLiteral("A10"));
        deliver();
        copy->trigger();
        QCOMPARE(valueOn(f, 1, QStringLiteral("A10")), QStringLiteral("3000"));
        // WHEN the user right-clicks the parameter column or an axis without the parameter
        // THEN no menu shows, and the earlier commands are gone
        for (int column : {0, 2}) {
            requestContextMenu(f, f.cellRect(f.row(QStringLiteral("C70")), column).center());
            QVERIFY(!menu->isVisible());
            QVERIFY(menu->actions().isEmpty());
        }
    }

    void copyingAValue_data()
    {
        QTest::addColumn<QList<int>>("visualOrder");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("action");   // -1: use the key instead
        QTest::addColumn<int>("key");
        QTest::addColumn<QStringList>("expected");   // A10 on axes 0..3 afterwards
        // Axis 1 holds 2468; axis 3 belongs to a read-only device.
        QTest::newRow("menu: to the first axis") << QList<int>() << 2 << 0 << 0 << QStringList{"2468", "2468", "3000", "3000"};
        QTest::newRow("menu: to all axes") << QList<int>() << 2 << 2 << 0 << QStringList{"2468", "2468", "2468", "3000"};
        QTest::newRow("Ctrl+1 copies to the axis shown first")
            << QList<int>{3, 1, 2, 4} << 2 << -1 << int(Qt::Key_1) << QStringList{"3000", "2468", "2468", "3000"};
        QTest::newRow("Ctrl+0 copies to every writable axis") << QList<int>() << 2 << -1 << int(Qt::Key_0) << QStringList{"2468", "2468", "2468", "3000"};
        QTest::newRow("Ctrl+4 on a read-only axis changes nothing") << QList<int>() << 2 << -1 << int(Qt::Key_4) << QStringList{"3000", "2468", "3000", "3000"};
        QTest::newRow("Ctrl+1 in the parameter column changes nothing") << QList<int>() << 0 << -1 << int(Qt::Key_1) << QStringList{"3000", "2468", "3000", "3000"};
    }

    void copyingAValue()
    {
        QFETCH(QList<int>, visualOrder);
        QFETCH(int, column);
        QFETCH(int, action);
        QFETCH(int, key);
        QFETCH(QStringList, expected);
        // GIVEN a value on the second of four axes, the fourth one read-only, the columns perhaps reordered
        Fixture f(layout(QStringLiteral("M3,E1")));
        const QString a10 = QStringLiteral("A10");
        f.add({a10});
        f.controllers.at(1)->parameterProvider()->setReadOnly(true);
        setValueOn(f, 1, a10, QStringLiteral("2468"));
        reorderColumns(f, visualOrder);
        f.tree->setCurrentItem(f.row(a10), column);
        // WHEN the menu's action is triggered, or Ctrl and the digit are pressed
        QList<QAction*> actions;
        if (action >= 0) {
            actions = requestContextMenu(f, f.cellRect(f.row(a10), column).center());
            QCOMPARE(actions.size(), 3);
            actions.at(action)->trigger();
        } else {
            QTest::keyClick(f.tree, Qt::Key(key), Qt::ControlModifier);
        }
        // THEN the value went where the command points, and the cells show it
        for (int axis = 0; axis < expected.size(); ++axis) {
            QCOMPARE(valueOn(f, axis, a10), expected.at(axis));
            QCOMPARE(f.row(a10)->text(axis + 1), f.setup(axis, a10)->valueText(f.axes.at(axis)->axisNumber(), 0, true));
        }
        // AND a triggered action copies only once
        if (action >= 0) {
            setValueOn(f, 1, a10, QStringLiteral("1357"));
            actions.at(action)->trigger();
            QCOMPARE(valueOn(f, 0, a10), expected.at(0));
        }
    }

    void readKeyRequestsTheValueOnce()
    {
        // GIVEN A10 on two axes of the first controller and one of the second
        Fixture f(layout(QStringLiteral("M2,E1")));
        f.add({QStringLiteral("A10")});
        auto requests = [&] { return QList<int>{f.controllers.at(0)->parameterProvider()->consistenceRequestCount(),
                                                f.controllers.at(1)->parameterProvider()->consistenceRequestCount()}; };
        const QList<int> before = requests();
        // WHEN R is pressed on the second controller's axis, then in the parameter column
        // THEN that axis' device is asked once, then every axis once
        f.tree->setCurrentItem(f.row(QStringLiteral("A10")), 3);
        QTest::keyClick(f.tree, Qt::Key_R);
        deliver();
        QCOMPARE(requests(), (QList<int>{before.at(0), before.at(1) + 1}));
        f.tree->setCurrentItem(f.row(QStringLiteral("A10")), 0);
        QTest::keyClick(f.tree, Qt::Key_R);
        deliver();
        QCOMPARE(requests(), (QList<int>{before.at(0) + 2, before.at(1) + 2}));
    }

    void deleteKeyRemovesWhatTheRowStandsFor()
    {
        // GIVEN an array entry with all elements and a plain entry
        Fixture f(layout(QStringLiteral("M2")));
        f.add({QStringLiteral("A10"), QStringLiteral("A20")});
        ParameterCustomListEntry* array = f.list->entries().value(ParameterCoordinate(QStringLiteral("A20")));
        // WHEN Delete is pressed on element 2 THEN only that element left the list and the tree
        f.tree->setCurrentItem(f.elementRow(QStringLiteral("A20"), 2), 1);
        QTest::keyClick(f.tree, Qt::Key_Delete);
        QCOMPARE(array->elementIndices(), QList<quint16>({0, 1, 3}));
        QVERIFY(!array->allElements());
        QVERIFY(!f.elementRow(QStringLiteral("A20"), 2));
        deliver();
        QCOMPARE(f.row(QStringLiteral("A20"))->childCount(), 3);
        // WHEN Delete is pressed on the plain entry THEN the whole parameter left the list and the tree
        f.tree->setCurrentItem(f.row(QStringLiteral("A10")), 2);
        QTest::keyClick(f.tree, Qt::Key_Delete);
        QVERIFY(!f.list->entries().contains(ParameterCoordinate(QStringLiteral("A10"))));
        QCOMPARE(f.tree->topLevelItemCount(), 1);
    }
};

QTEST_MAIN(TestTreeWidget)
#include "tst_treewidget.moc"
