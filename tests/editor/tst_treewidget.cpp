#include "EditorTestFixture.h"

#include "ParameterCustomList.h"
#include "ParameterCustomListElementItem.h"
#include "ParameterCustomListEntryItem.h"
#include "ParameterCustomListRepository.h"
#include "ParameterCustomListTreeWidget.h"

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
#include "TestSupport.h"

#include <QAbstractItemView>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

using namespace EditorTest;

using Trigger = std::function<void(Fixture&)>;
Q_DECLARE_METATYPE(Trigger)

namespace {

const QString NotAvailable = QStringLiteral("<nicht vorhanden>");

bool definedOn(ParameterSetup* setup, int axisNumber)
{
    return setup && (setup->isGlobal() || setup->isDefinedIn(axisNumber));
}

} // namespace

class TestTreeWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void rowsAndColumnsFollowTheList_data();
    void rowsAndColumnsFollowTheList();
    void refreshFollowsSignals_data();
    void refreshFollowsSignals();
    void accessLevelUpdatesHoldTheRows();
    void replacingTheListDropsTheOldRows();

    void editorOpensOnlyOnWritableCells_data();
    void editorOpensOnlyOnWritableCells();
    void onlyOneEditorAtATime();
    void editorWritesTheValueAndGoes();

    void currentCellIsRoutedToTheSideWidgets_data();
    void currentCellIsRoutedToTheSideWidgets();
    void headerStateIsKeptInTheList();

    void destroyingWhileAnEditorIsOpen_data();
    void destroyingWhileAnEditorIsOpen();
    void destroyingTheTreeWithAnOpenEditorWritesNothing();
};

void TestTreeWidget::initTestCase()
{
    KxTest::initTestEnvironment();
    ParameterCustomListRepository::instance();
}

void TestTreeWidget::cleanup()
{
    LanguageManager::instance()->setActiveLanguage(LanguageManager::German);
    deliver();
}

void TestTreeWidget::rowsAndColumnsFollowTheList_data()
{
    QTest::addColumn<QString>("controllers");

    QTest::newRow("two axes of one controller") << QStringLiteral("M2");
    QTest::newRow("three axes of two controller types") << QStringLiteral("E2,M1");
    QTest::newRow("twelve axes of four controllers") << QStringLiteral("M4,E2,M4,E2");
}

void TestTreeWidget::rowsAndColumnsFollowTheList()
{
    QFETCH(QString, controllers);

    // GIVEN the axes of some controllers in a list
    Fixture f(layout(controllers));

    // WHEN single, array, record, device-wide and axis-bound parameters are added
    const QStringList added = {"A100", "C70", "A30", "A10", "B10", "A20", "A40"};
    f.add(added);

    // THEN there is one column per axis, captioned with controller and axis name
    QCOMPARE(f.tree->columnCount(), f.axes.size() + 1);
    QTreeWidgetItem* caption = static_cast<QTreeWidget*>(f.tree)->headerItem();
    for (int axis = 0; axis < f.axes.size(); ++axis) {
        QCOMPARE(caption->text(axis + 1),
                 f.axes.at(axis)->driveController()->name() + QLatin1Char('\n') + f.axes.at(axis)->name());
    }

    // AND one row per parameter in coordinate order
    QList<ParameterCoordinate> coordinates;
    for (const QString& text : added)
        coordinates << ParameterCoordinate(text);
    std::sort(coordinates.begin(), coordinates.end());
    QCOMPARE(f.tree->topLevelItemCount(), coordinates.size());
    for (int i = 0; i < coordinates.size(); ++i) {
        const QString text = coordinates.at(i).toText();
        QTreeWidgetItem* row = f.tree->topLevelItem(i);
        QVERIFY2(row->text(0).startsWith(text + QLatin1Char(' ')), qPrintable(row->text(0)));

        // AND arrays and records get one element row per element any axis has
        QList<quint16> elements;
        for (int axis = 0; axis < f.axes.size(); ++axis) {
            for (quint16 e : f.setup(axis, text)->elementIndexList()) {
                if (!elements.contains(e))
                    elements << e;
            }
        }
        std::sort(elements.begin(), elements.end());
        const bool multiLine = elements.size() > 1;
        QCOMPARE(row->childCount(), multiLine ? elements.size() : 0);

        // AND each cell shows the axis' value, or that the axis lacks the parameter
        for (int axis = 0; axis < f.axes.size(); ++axis) {
            ParameterSetup* setup = f.setup(axis, text);
            const int number = f.axes.at(axis)->axisNumber();
            const bool defined = definedOn(setup, number);
            const QString expected = !defined ? NotAvailable
                                   : multiLine ? QString()
                                               : setup->valueText(number, 0, true);
            QCOMPARE(row->text(axis + 1), expected);
            for (int c = 0; c < row->childCount(); ++c) {
                const quint16 e = elements.at(c);
                QTreeWidgetItem* elementRow = row->child(c);
                QCOMPARE(elementRow->data(0, ParameterCustomListElementItem::role).toUInt(), uint(e));
                QVERIFY(elementRow->text(0).startsWith(QStringLiteral("%1[%2]").arg(text).arg(e)));
                const QString expectedElement = defined && setup->hasElement(e) ? setup->valueText(number, e, true)
                                                                                 : NotAvailable;
                QCOMPARE(elementRow->text(axis + 1), expectedElement);
            }
        }
    }
}



void TestTreeWidget::refreshFollowsSignals_data()
{
    QTest::addColumn<Trigger>("trigger");
    QTest::addColumn<bool>("refreshes");

    // The list shows controller 1 (axes 1, 2) and controller 2 (axis 1);
    // controller 3 is not in the list.
    auto controller = [](Fixture& f, int i) { return f.controllers.at(i); };
    auto provider = [](Fixture& f, int i) { return f.controllers.at(i)->parameterProvider(); };
    auto write = [](Fixture& f, int controllerIndex, const char* coordinate, quint16 element, const char* value) {
        f.controllers.at(controllerIndex)->parameterProvider()->parameterSetup(ParameterCoordinate(QLatin1String(coordinate)))
            ->setValueText(1, element, QLatin1String(value));
    };

    QTest::newRow("controller goes online")
        << Trigger([=](Fixture& f) { controller(f, 0)->setOnline(true); }) << true;
    QTest::newRow("axis reports a fault")
        << Trigger([=](Fixture& f) { controller(f, 1)->setAxisFault(1, true); }) << true;
    QTest::newRow("device becomes read-only")
        << Trigger([=](Fixture& f) { provider(f, 1)->setReadOnly(true); }) << true;
    QTest::newRow("device loses a parameter")
        << Trigger([=](Fixture& f) { provider(f, 0)->removeParameter(ParameterCoordinate(QStringLiteral("A60"))); }) << true;
    QTest::newRow("value of a listed parameter")
        << Trigger([=](Fixture& f) { write(f, 0, "A10", 0, "1234"); }) << true;
    QTest::newRow("active language")
        << Trigger([](Fixture&) { LanguageManager::instance()->setActiveLanguage(LanguageManager::English); }) << true;
    QTest::newRow("value of a parameter not in the list")
        << Trigger([=](Fixture& f) { write(f, 0, "A100", 0, "77"); }) << false;
    QTest::newRow("controller not in the list goes online")
        << Trigger([=](Fixture& f) { controller(f, 2)->setOnline(true); }) << false;
}

void TestTreeWidget::refreshFollowsSignals()
{
    QFETCH(Trigger, trigger);
    QFETCH(bool, refreshes);

    // GIVEN a list of three of four axes, showing two parameters, on
    // controllers that already need saving (so writing a value says nothing else)
    Fixture f(layout(QStringLiteral("M2,E1,M1")), 3);
    f.add({QStringLiteral("A10"), QStringLiteral("A20")});
    for (DriveController* controller : qAsConst(f.controllers))
        controller->parameterProvider()->parameterSetup(ParameterCoordinate(QStringLiteral("A100")))->setValueText(1, 0, QStringLiteral("5"));
    deliver();
    QCOMPARE(f.tree->topLevelItemCount(), 2);
    const QString germanLabel = f.row(QStringLiteral("A10"))->text(0);

    // AND a parameter added whose notice has not been delivered yet, so only
    // a refresh can show it
    f.list->addEntry(QStringLiteral("A40"));

    // WHEN the signal arrives
    trigger(f);

    // THEN the rows were rebuilt exactly when the signal concerns the list
    QCOMPARE(f.row(QStringLiteral("A40")) != nullptr, refreshes);
    QCOMPARE(f.tree->topLevelItemCount(), refreshes ? 3 : 2);
    if (QTest::currentDataTag() == QByteArray("active language"))
        QVERIFY(f.row(QStringLiteral("A10"))->text(0) != germanLabel);
    deliver();
    QCOMPARE(f.tree->topLevelItemCount(), 3);
}


void TestTreeWidget::accessLevelUpdatesHoldTheRows()
{
    // GIVEN a list over two controllers, both updating their access level
    Fixture f(layout(QStringLiteral("M1,E1")));
    f.add({QStringLiteral("A10")});
    ParameterProvider* first = f.controllers.at(0)->parameterProvider();
    ParameterProvider* second = f.controllers.at(1)->parameterProvider();
    QSignalSpy inserted(f.tree->model(), &QAbstractItemModel::rowsInserted);
    first->beginAccessLevelUpdate();
    second->beginAccessLevelUpdate();

    // WHEN parameters and values change meanwhile
    f.add({QStringLiteral("A40")});
    ParameterSetup* setup = f.setup(0, QStringLiteral("A10"));
    const QString before = f.row(QStringLiteral("A10"))->text(1);
    QVERIFY(setup->setValueText(1, 0, QStringLiteral("2222")));

    // THEN the rows stay as they are, also when only one update has finished
    QCOMPARE(f.tree->topLevelItemCount(), 1);
    QCOMPARE(f.row(QStringLiteral("A10"))->text(1), before);
    first->endAccessLevelUpdate();
    QCOMPARE(f.tree->topLevelItemCount(), 1);
    QCOMPARE(inserted.count(), 0);

    // WHEN the last update finishes
    second->endAccessLevelUpdate();

    // THEN one refresh brings everything in
    QCOMPARE(f.tree->topLevelItemCount(), 2);
    QCOMPARE(f.row(QStringLiteral("A10"))->text(1), setup->valueText(1, 0, true));
    QCOMPARE(inserted.count(), 1);
    QVERIFY(!inserted.first().at(0).value<QModelIndex>().isValid());
}


void TestTreeWidget::replacingTheListDropsTheOldRows()
{
    // GIVEN a tree showing a list with two parameters
    Fixture f(layout(QStringLiteral("M2")));
    f.add({QStringLiteral("A10"), QStringLiteral("A20")});

    // WHEN it is given no list
    f.tree->setParameterCustomList(nullptr);

    // THEN only the parameter column is left, and the old list no longer reaches the tree
    QCOMPARE(f.tree->topLevelItemCount(), 0);
    QCOMPARE(f.tree->columnCount(), 1);
    f.add({QStringLiteral("A40")});
    QCOMPARE(f.tree->topLevelItemCount(), 0);

    // WHEN the list comes back
    f.tree->setParameterCustomList(f.list);

    // THEN everything is shown again
    QCOMPARE(f.tree->topLevelItemCount(), 3);
    QCOMPARE(f.tree->columnCount(), 3);
}

void TestTreeWidget::editorOpensOnlyOnWritableCells_data()
{
    QTest::addColumn<QString>("coordinate");
    QTest::addColumn<int>("element");   // -1: the entry row
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("readOnlyDevice");
    QTest::addColumn<QString>("editorClass");   // empty: none opens

    const QString edit = QStringLiteral("ParameterItemEdit");
    const QString combo = QStringLiteral("ParameterItemComboBox");
    QTest::newRow("parameter column") << "A10" << -1 << 0 << false << QString();
    QTest::newRow("writable number") << "A10" << -1 << 1 << false << edit;
    QTest::newRow("selection list") << "A40" << -1 << 2 << false << combo;
    QTest::newRow("record element") << "A30" << 4 << 2 << false << edit;
    QTest::newRow("array row itself") << "A20" << -1 << 1 << false << QString();
    QTest::newRow("read-only parameter") << "A50" << -1 << 1 << false << QString();
    QTest::newRow("axis without the parameter") << "C70" << -1 << 2 << false << QString();
}

void TestTreeWidget::editorOpensOnlyOnWritableCells()
{
    QFETCH(QString, coordinate);
    QFETCH(int, element);
    QFETCH(int, column);
    QFETCH(bool, readOnlyDevice);
    QFETCH(QString, editorClass);

    // GIVEN a parameter in a list of two axes
    Fixture f(layout(QStringLiteral("M2")));
    f.add({coordinate});
    f.controllers.first()->parameterProvider()->setReadOnly(readOnlyDevice);
    QTreeWidgetItem* item = element < 0 ? f.row(coordinate) : f.elementRow(coordinate, quint16(element));
    QVERIFY(item);

    // WHEN the cell is double-clicked
    f.doubleClickCell(item, column);

    // THEN the matching editor sits in that cell, set up for its axis and element
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
    const quint16 expectedElement = quint16(qMax(element, 0));
    if (auto* edit = qobject_cast<ParameterItemEdit*>(editor)) {
        QCOMPARE(edit->parameterSetup(), f.setup(column - 1, coordinate));
        QCOMPARE(edit->livingSpace(), column);
        QCOMPARE(edit->elementIndex(), expectedElement);
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

void TestTreeWidget::onlyOneEditorAtATime()
{
    // GIVEN an editor open on axis 1
    Fixture f(layout(QStringLiteral("M2")));
    f.add({QStringLiteral("A10"), QStringLiteral("A100")});
    QTreeWidgetItem* row = f.row(QStringLiteral("A10"));
    f.doubleClickCell(row, 1);
    QPointer<QWidget> first = f.tree->itemEditor();
    QVERIFY(first);

    // WHEN other cells are asked for an editor without the first one losing the focus
    emit static_cast<QTreeWidget*>(f.tree)->itemDoubleClicked(row, 2);
    f.tree->openItemEditor(f.row(QStringLiteral("A100")), 1);

    // THEN the first editor stays the only one
    QCOMPARE(f.tree->itemEditor(), first.data());
    QVERIFY(!f.tree->itemWidget(row, 2));
    QVERIFY(!f.tree->itemWidget(f.row(QStringLiteral("A100")), 1));

    // WHEN the editor says it is done
    QMetaObject::invokeMethod(first, "deleteMe");

    // THEN it is taken out of its cell at once and deleted later
    QVERIFY(!f.tree->itemEditor());
    QVERIFY(!f.tree->itemWidget(row, 1));
    deliver();
    QVERIFY(!first);

    // AND the next double click opens an editor
    f.doubleClickCell(row, 2);
    QPointer<QWidget> second = f.tree->itemEditor();
    QVERIFY(second);
    QCOMPARE(f.tree->itemWidget(row, 2), second.data());

    // WHEN the user double-clicks another cell, which takes the focus from the editor
    f.doubleClickCell(f.row(QStringLiteral("A100")), 2);

    // THEN the old edit has ended and the new cell has the one editor
    deliver();
    QVERIFY(!second);
    QVERIFY(f.tree->itemEditor());
    QCOMPARE(f.tree->itemWidget(f.row(QStringLiteral("A100")), 2), f.tree->itemEditor());
    QCOMPARE(f.tree->findChildren<ParameterItemEdit*>().size(), 1);
}

void TestTreeWidget::editorWritesTheValueAndGoes()
{
    // GIVEN an editor on the value of axis 2
    Fixture f(layout(QStringLiteral("M2")));
    f.add({QStringLiteral("A10")});
    QTreeWidgetItem* row = f.row(QStringLiteral("A10"));
    f.doubleClickCell(row, 2);
    auto* edit = qobject_cast<ParameterItemEdit*>(f.tree->itemEditor());
    QVERIFY(edit);
    QTRY_VERIFY(edit->hasFocus());

    // WHEN a new value is typed and confirmed
    QTest::keyClicks(edit, QStringLiteral("4321"));
    QTest::keyClick(edit, Qt::Key_Return);

    // THEN the value reached the device, the cell shows it, and the tree has the keyboard again
    ParameterSetup* setup = f.setup(1, QStringLiteral("A10"));
    QCOMPARE(setup->valueText(2, 0, false), QStringLiteral("4321"));
    QCOMPARE(row->text(2), setup->valueText(2, 0, true));
    QCOMPARE(setup->valueText(1, 0, false), QStringLiteral("3000"));
    QVERIFY(!f.tree->itemEditor());
    QVERIFY(f.tree->hasFocus());
}

void TestTreeWidget::currentCellIsRoutedToTheSideWidgets_data()
{
    QTest::addColumn<QString>("coordinate");
    QTest::addColumn<int>("element");   // -1: the entry row
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("helpPage");
    QTest::addColumn<QString>("helpText");

    QTest::newRow("help page") << "A10" << -1 << 1 << "speed-limit" << "Obere Grenze der Drehzahl";
    QTest::newRow("help given as HTML") << "A11" << -1 << 2 << QString() << "Zeit bis zur Nenndrehzahl";
    QTest::newRow("array element") << "A20" << 2 << 2 << QString() << QString();
    QTest::newRow("parameter column") << "A11" << -1 << 0 << QString() << QString();
}

void TestTreeWidget::currentCellIsRoutedToTheSideWidgets()
{
    QFETCH(QString, coordinate);
    QFETCH(int, element);
    QFETCH(int, column);
    QFETCH(QString, helpPage);
    QFETCH(QString, helpText);

    // GIVEN a tree with a help widget, a colour strip and a property list
    Fixture f(layout(QStringLiteral("M2")));
    auto* help = new HelpWidget(f.window);
    help->initialize(System::instance().helpSystem(QStringLiteral("parameter")));
    auto* strip = new QWidget(f.window);
    auto* properties = new ParameterPropertyList(f.window);
    f.window->layout()->addWidget(strip);
    f.window->layout()->addWidget(help);
    f.window->layout()->addWidget(properties);
    f.tree->setHelpWidget(help);
    f.tree->setColorWidget(strip);
    f.tree->setPropertyList(properties);
    f.add({QStringLiteral("A10"), coordinate});
    f.tree->setCurrentItem(f.row(QStringLiteral("A10")), 2);
    QCOMPARE(help->currentIdentifier(), QStringLiteral("speed-limit"));
    QTreeWidgetItem* item = element < 0 ? f.row(coordinate) : f.elementRow(coordinate, quint16(element));

    // WHEN the cell is clicked
    QTest::mouseClick(f.tree->viewport(), Qt::LeftButton, Qt::NoModifier, f.cellRect(item, column).center());
    QCOMPARE(f.tree->currentItem(), item);
    QCOMPARE(f.tree->currentColumn(), column);

    // THEN the help shows the parameter's page or its own HTML
    QCOMPARE(help->currentIdentifier(), helpPage);
    if (helpText.isEmpty())
        QVERIFY2(help->plainText().trimmed().isEmpty(), qPrintable(help->plainText()));
    else
        QVERIFY2(help->plainText().contains(helpText), qPrintable(help->plainText()));

    // AND the strip shows the axis' colour two pixels high
    const QColor expectedColour = column > 0 ? markingColor(1, column) : QColor(0, 0, 0, 0);
    QCOMPARE(strip->palette().color(QPalette::Active, QPalette::Window).rgba(), expectedColour.rgba());
    QCOMPARE(strip->palette().color(QPalette::Inactive, QPalette::Window).rgba(), expectedColour.rgba());
    QVERIFY(strip->autoFillBackground());
    QCOMPARE(strip->minimumHeight(), 2);
    QCOMPARE(strip->maximumHeight(), 2);

    // AND the property list shows the cell's parameter on the axis' device
    if (column == 0) {
        QCOMPARE(properties->shownAddress(), QString());
        QVERIFY(!properties->parameterProvider());
    } else {
        ParameterSetup* setup = f.setup(column - 1, coordinate);
        QCOMPARE(properties->parameterProvider(), f.controllers.first()->parameterProvider());
        QCOMPARE(properties->shownAddress(), setup->address(column, quint16(qMax(element, 0))).toSortableText());
        QVERIFY(properties->isParameterAvailable());
    }
}


void TestTreeWidget::headerStateIsKeptInTheList()
{
    // GIVEN a shown tree of three axes
    Fixture f(layout(QStringLiteral("M3")));
    QHeaderView* header = f.tree->header();
    QVERIFY(f.list->state("HeaderState").isEmpty());

    // WHEN the columns are reordered and resized
    header->moveSection(header->visualIndex(3), 1);
    header->resizeSection(2, 171);

    // THEN the list holds the header's state
    QCOMPARE(f.list->state("HeaderState"), header->saveState());
    QVERIFY(!f.list->state("HeaderGeometry").isEmpty());

    // WHEN another tree shows the same list
    QWidget window;
    auto* second = new ParameterCustomListTreeWidget(&window);
    (new QVBoxLayout(&window))->addWidget(second);
    second->setParameterCustomList(f.list);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // THEN it restores that order and those sizes
    QCOMPARE(second->header()->logicalIndex(1), 3);
    QCOMPARE(second->header()->sectionSize(2), 171);
}

void TestTreeWidget::destroyingWhileAnEditorIsOpen_data()
{
    QTest::addColumn<Trigger>("destroy");
    QTest::addColumn<int>("editorColumn");
    QTest::addColumn<int>("columnsAfter");
    QTest::addColumn<bool>("editorStays");

    // The list shows axes 1..3 of controller 1 and axis 1 of controller 2.
    QTest::newRow("the editor's axis") << Trigger([](Fixture& f) { f.controllers.at(0)->removeAxis(2); })
                                       << 2 << 4 << false;
    QTest::newRow("an axis right of the editor") << Trigger([](Fixture& f) { f.controllers.at(1)->removeAxis(1); })
                                                 << 2 << 4 << true;
    QTest::newRow("the editor's controller") << Trigger([](Fixture& f) { delete f.controllers.takeAt(0); })
                                             << 1 << 2 << false;
    QTest::newRow("the list") << Trigger([](Fixture& f) { ParameterCustomListRepository::instance().deleteList(f.list); })
                              << 1 << 1 << false;
}

void TestTreeWidget::destroyingWhileAnEditorIsOpen()
{
    QFETCH(Trigger, destroy);
    QFETCH(int, editorColumn);
    QFETCH(int, columnsAfter);
    QFETCH(bool, editorStays);

    // GIVEN an open editor with a half-typed value
    Fixture f(layout(QStringLiteral("M3,E1")));
    f.add({QStringLiteral("A10"), QStringLiteral("A20")});
    QTreeWidgetItem* row = f.row(QStringLiteral("A10"));
    f.doubleClickCell(row, editorColumn);
    QPointer<ParameterItemEdit> edit = qobject_cast<ParameterItemEdit*>(f.tree->itemEditor());
    QVERIFY(edit);
    QTest::keyClicks(edit, QStringLiteral("99"));
    QPointer<DriveControllerAxis> editorAxis = f.axes.at(editorColumn - 1);
    QPointer<ParameterSetup> setup = f.setup(editorColumn - 1, QStringLiteral("A10"));
    const QString before = setup->valueText(editorAxis->axisNumber(), 0, false);

    // WHEN something it depends on is destroyed
    destroy(f);
    deliver();

    // THEN the columns follow, and the editor went unless its cell still shows its axis
    QCOMPARE(f.tree->columnCount(), columnsAfter);
    if (editorStays) {
        QVERIFY(edit);
        QCOMPARE(f.tree->itemEditor(), edit.data());
        QCOMPARE(f.tree->itemWidget(f.row(QStringLiteral("A10")), editorColumn), edit.data());
        QTest::keyClick(edit, Qt::Key_Escape);
        QVERIFY(!f.tree->itemEditor());
    } else {
        QVERIFY(!edit);
        QVERIFY(!f.tree->itemEditor());
    }
    // AND nothing half-typed was written by the forced close
    if (editorAxis && setup)
        QCOMPARE(setup->valueText(editorAxis->axisNumber(), 0, false), before);

    // AND the tree goes on working
    if (f.tree->parameterCustomList()) {
        f.add({QStringLiteral("A100")});
        QVERIFY(f.row(QStringLiteral("A100")));
        f.doubleClickCell(f.row(QStringLiteral("A100")), 1);
        QVERIFY(f.tree->itemEditor());
    } else {
        QCOMPARE(f.tree->topLevelItemCount(), 0);
        QTest::keyClick(f.tree, Qt::Key_Delete);
        QTest::keyClick(f.tree, Qt::Key_0, Qt::ControlModifier);
    }
}

void TestTreeWidget::destroyingTheTreeWithAnOpenEditorWritesNothing()
{
    // GIVEN an open editor with a half-typed value
    Fixture f(layout(QStringLiteral("M2")));
    f.add({QStringLiteral("A10")});
    f.doubleClickCell(f.row(QStringLiteral("A10")), 1);
    QPointer<QWidget> editor = f.tree->itemEditor();
    QVERIFY(editor);
    QTest::keyClicks(editor, QStringLiteral("17"));
    ParameterSetup* setup = f.setup(0, QStringLiteral("A10"));
    const QString before = setup->valueText(1, 0, false);
    QPointer<ParameterCustomListTreeWidget> tree = f.tree;

    // WHEN the tree is destroyed (closing the whole window would first take
    // the focus from the editor, which then writes what it holds)
    delete f.tree;
    deliver();

    // THEN the editor went with it without writing, and the list lives on
    QVERIFY(!tree);
    QVERIFY(!editor);
    QCOMPARE(setup->valueText(1, 0, false), before);
    QCOMPARE(f.list->entries().size(), 1);
}

QTEST_MAIN(TestTreeWidget)
#include "tst_treewidget.moc"
