#include "TestSupport.h"

#include "AxisCompareView.h"
#include "ParameterCustomListTreeWidget.h"

#include "DriveController.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"
#include "ParameterPropertyList.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace KxTest;

namespace {

QString rowKey(const QTreeWidgetItem* row)
{
    return row->text(0).section(QLatin1Char(' '), 0, 0);
}

QTreeWidgetItem* findRow(QTreeWidget* tree, const QString& key)
{
    for (QTreeWidgetItem* row : treeRows(tree)) {
        if (rowKey(row) == key)
            return row;
    }
    return nullptr;
}

QStringList rowKeys(QTreeWidget* tree, bool visibleOnly = false)
{
    QStringList keys;
    for (QTreeWidgetItem* row : treeRows(tree, visibleOnly))
        keys.append(rowKey(row));
    return keys;
}

bool isHighlighted(const QTreeWidgetItem* row, const QColor& color)
{
    for (int column = 0; column <= 2; ++column) {
        if (row->background(column).color() != color)
            return false;
    }
    return true;
}

// Keys of yellow rows; a row neither yellow nor white is reported with "?".
QStringList highlightedRows(QTreeWidget* tree)
{
    QStringList keys;
    for (QTreeWidgetItem* row : treeRows(tree)) {
        if (isHighlighted(row, Qt::yellow))
            keys.append(rowKey(row));
        else if (!isHighlighted(row, Qt::white))
            keys.append(rowKey(row) + QLatin1Char('?'));
    }
    return keys;
}

} // namespace

class TestCompareView : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<Devices> devices;
    std::unique_ptr<AxisCompareView> view;

    QTreeWidget* tree() const { return view->findChild<ParameterCustomListTreeWidget*>(QStringLiteral("parameterTreeWidget")); }
    QCheckBox* differencesOnly() const { return view->findChild<QCheckBox*>(QStringLiteral("differencesOnly")); }

    // Sides are "controller:axis".
    DriveController* side(const QString& text) const { return devices->controller(text.section(QLatin1Char(':'), 0, 0)); }
    static int axis(const QString& text) { return text.section(QLatin1Char(':'), 1).toInt(); }
    void compare(const QString& a, const QString& b)
    {
        view->setAxisA(side(a), axis(a));
        view->setAxisB(side(b), axis(b));
        view->compare();
    }

private slots:
    void initTestCase()
    {
        KxTest::initTestEnvironment();
    }

    void init()
    {
        devices.reset(new Devices(project("portal")));
        view.reset(AxisCompareView::createAxisCompareView());
    }

    void cleanup()
    {
        view.reset();
        devices.reset();
    }

    void compareRows_data()
    {
        QTest::addColumn<QString>("sideA");
        QTest::addColumn<QString>("sideB");
        QTest::addColumn<QStringList>("editsOnB");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("differing");

        const QStringList portalRows{"A10", "A11", "A11[0]", "A11[1]", "A11[2]", "C20", "G01"};
        QTest::newRow("identical axes of two controllers")
            << "Portal:1" << "Portal Süd:1" << QStringList() << portalRows << QStringList();
        QTest::newRow("one array element differs")
            << "Portal:1" << "Portal Süd:1" << QStringList{"A11[2]=7"} << portalRows << QStringList{"A11[2]"};
        QTest::newRow("text differing in case only")
            << "Portal:1" << "Portal Süd:1" << QStringList{"C20=achse <1> & co"} << portalRows << QStringList{"C20"};
        QTest::newRow("device-wide value shared by both axes")
            << "Portal:1" << "Portal:2" << QStringList{"G01=60"} << (portalRows + QStringList{"H30"})
            << QStringList{"A10", "A11[1]", "C20", "H30"};
        QTest::newRow("two controller types")
            << "Portal:1" << "Einzel:1" << QStringList()
            << QStringList{"A10", "A11", "A11[0]", "A11[1]", "A11[2]", "A11[3]", "C20", "G01", "P50"}
            << QStringList{"A10", "A11[3]", "C20", "G01", "P50"};
    }

    void compareRows()
    {
        QFETCH(QString, sideA);
        QFETCH(QString, sideB);
        QFETCH(QStringList, editsOnB);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, differing);

        for (const QString& edit : qAsConst(editsOnB))
            writeValue(side(sideB), axis(sideB), edit);

        compare(sideA, sideB);

        // THEN one row per parameter/element of either axis, differing ones yellow
        QCOMPARE(tree()->columnCount(), 3);
        QCOMPARE(rowKeys(tree()), rows);
        QCOMPARE(highlightedRows(tree()), differing);
        QCOMPARE(view->axesAreEqual(), differing.isEmpty());

        // WHEN only the differences are asked for
        differencesOnly()->setChecked(true);
        // THEN only differing rows (and parents of differing elements) stay, unhighlighted
        QStringList visible;
        for (const QString& key : qAsConst(rows)) {
            if (std::any_of(differing.cbegin(), differing.cend(),
                            [&](const QString& d) { return d == key || d.startsWith(key + QLatin1Char('[')); }))
                visible.append(key);
        }
        QCOMPARE(rowKeys(tree(), true), visible);
        QCOMPARE(highlightedRows(tree()), QStringList());

        // WHEN the filter is switched off again
        differencesOnly()->setChecked(false);
        // THEN every row is back, highlighted as before
        QCOMPARE(rowKeys(tree(), true), rows);
        QCOMPARE(highlightedRows(tree()), differing);
    }

    void editsRecolourAtOnce_data()
    {
        QTest::addColumn<bool>("diffOnly");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("equalValue");
        QTest::addColumn<QString>("otherValue");
        QTest::newRow("simple parameter, all rows") << false << "A10" << "3000" << "4200";
        QTest::newRow("array element, differences only") << true << "A11[1]" << "10" << "14";
    }

    void editsRecolourAtOnce()
    {
        QFETCH(bool, diffOnly);
        QFETCH(QString, key);
        QFETCH(QString, equalValue);
        QFETCH(QString, otherValue);

        // GIVEN the two axes of "Portal", which differ in the row
        DriveController* portal = devices->controller(QStringLiteral("Portal"));
        compare(QStringLiteral("Portal:1"), QStringLiteral("Portal:2"));
        differencesOnly()->setChecked(diffOnly);
        QTreeWidgetItem* row = findRow(tree(), key);
        QVERIFY(row);
        QTreeWidgetItem* parent = row->parent();
        QVERIFY(!row->isHidden());

        // WHEN axis B is given the value of axis A
        writeValue(portal, 2, key + QLatin1Char('=') + equalValue);
        // THEN the row is at once white, or hidden when only differences show
        QCOMPARE(row->text(1), row->text(2));
        QCOMPARE(row->isHidden(), diffOnly);
        QVERIFY(isHighlighted(row, Qt::white));

        // WHEN refreshed (hiding an all-equal parent) and axis B differs again
        if (diffOnly) {
            differencesOnly()->setChecked(false);
            differencesOnly()->setChecked(true);
            if (parent)
                QVERIFY(parent->isHidden());
        }
        writeValue(portal, 2, key + QLatin1Char('=') + otherValue);
        // THEN the row (and its parent) shows again, yellow unless filtered
        QVERIFY(!row->isHidden());
        if (parent)
            QVERIFY(!parent->isHidden());
        QVERIFY(isHighlighted(row, diffOnly ? Qt::white : Qt::yellow));
    }

    void verdictFollowsEditsOnRefresh()
    {
        // GIVEN axes differing in one value, WHEN it is edited away and the
        // view refreshed THEN they count as equal and no row shows
        compare(QStringLiteral("Portal:1"), QStringLiteral("Portal Süd:1"));
        writeValue(side(QStringLiteral("Portal Süd:1")), 1, QStringLiteral("A10=2800"));
        QVERIFY(!view->axesAreEqual());
        writeValue(side(QStringLiteral("Portal Süd:1")), 1, QStringLiteral("A10=3000"));
        differencesOnly()->setChecked(true);
        QVERIFY(view->axesAreEqual());
        QCOMPARE(rowKeys(tree(), true), QStringList());
    }

    void sameAxis_data()
    {
        QTest::addColumn<QString>("sideB");
        QTest::addColumn<bool>("same");
        QTest::newRow("same controller and axis") << "Portal:1" << true;
        QTest::newRow("other controller, same number") << "Portal Süd:1" << false;
    }

    void sameAxis()
    {
        QFETCH(QString, sideB);
        QFETCH(bool, same);

        // GIVEN other axes compared before, WHEN side B names the row's axis
        compare(QStringLiteral("Portal:1"), QStringLiteral("Einzel:1"));
        QVERIFY(!view->axesAreEqual());
        compare(QStringLiteral("Portal:1"), sideB);
        // THEN an axis compared with itself shows only the label and is equal
        QCOMPARE(view->findChild<QLabel*>(QStringLiteral("axisAreEqual"))->isHidden(), !same);
        QCOMPARE(view->findChild<QLabel*>(QStringLiteral("axisAreEqual"))->text(),
                 QStringLiteral("Ausgewähle Achsen sind gleich."));
        for (const char* name : {"treeContainerWidget", "differencesOnly", "exportToHtml", "bottomButton"})
            QCOMPARE(view->findChild<QWidget*>(QLatin1String(name))->isHidden(), same);
        if (same)
            QVERIFY(view->axesAreEqual());
        else
            QVERIFY(rowKeys(tree()).contains(QStringLiteral("A10")));
    }

    void comparingAgainFollowsTheNewSides()
    {
        // GIVEN two axes of one type compared, their values observed
        DriveController* portal = devices->controller(QStringLiteral("Portal"));
        QPointer<ParameterSetup> onlyOnAxisTwo = portal->parameterProvider()->parameterSetup(ParameterCoordinate(QStringLiteral("H30")));
        QPointer<ParameterSetup> speedLimit = portal->parameterProvider()->parameterSetup(ParameterCoordinate(QStringLiteral("A10")));
        compare(QStringLiteral("Portal:1"), QStringLiteral("Portal:2"));
        QVERIFY(rowKeys(tree()).contains(QStringLiteral("H30")));
        QVERIFY(onlyOnAxisTwo->observedCount(2, 0) > 0);

        // WHEN side B is replaced by an axis of another type
        compare(QStringLiteral("Portal:1"), QStringLiteral("Einzel:1"));
        // THEN rows and headers follow the new sides; H30 is no longer observed
        QVERIFY(!rowKeys(tree()).contains(QStringLiteral("H30")));
        QVERIFY(rowKeys(tree()).contains(QStringLiteral("P50")));
        QCOMPARE(tree()->headerItem()->text(1), QStringLiteral("Portal\nX"));
        QCOMPARE(tree()->headerItem()->text(2), QStringLiteral("Einzel\nS"));
        QCOMPARE(onlyOnAxisTwo->observedCount(2, 0), 0);
        QVERIFY(speedLimit->observedCount(1, 0) > 0);
        QCOMPARE(speedLimit->observedCount(2, 0), 0);

        // WHEN the view goes THEN nothing stays observed
        view.reset();
        QCOMPARE(speedLimit->observedCount(1, 0), 0);
    }

    void bottomAreaFollowsCurrentCell()
    {
        // GIVEN a comparison with the bottom area hidden at first
        compare(QStringLiteral("Portal:1"), QStringLiteral("Portal:2"));
        auto* bottomButton = view->findChild<QPushButton*>(QStringLiteral("bottomButton"));
        QWidget* bottomWidget = view->findChild<QWidget*>(QStringLiteral("bottomWidget"));
        QVERIFY(!bottomButton->isChecked());
        QVERIFY(bottomWidget->isHidden());

        // WHEN the user opens it and picks the cell of axis B of A10
        bottomButton->click();
        QVERIFY(!bottomWidget->isHidden());
        tree()->setCurrentItem(findRow(tree(), QStringLiteral("A10")), 2);

        // THEN colour strip and property list show axis B
        QWidget* colorWidget = view->findChild<QWidget*>(QStringLiteral("colorWidget"));
        QCOMPARE(colorWidget->palette().color(QPalette::Window), QColor(QStringLiteral("#c03060")));
        auto* properties = view->findChild<ParameterPropertyList*>(QStringLiteral("propertyWidget"));
        QVERIFY2(properties->shownAddress().startsWith(QLatin1String("02.A010")), qPrintable(properties->shownAddress()));
        QVERIFY(properties->isParameterAvailable());

        // WHEN it is closed again
        bottomButton->click();
        QVERIFY(bottomWidget->isHidden());
    }

    void controllerGoneBeforeComparing()
    {
        // GIVEN a fresh view (equal) with sides named, then one controller deleted
        QVERIFY(view->axesAreEqual());
        view->setAxisA(devices->controller(QStringLiteral("Portal")), 1);
        view->setAxisB(devices->controller(QStringLiteral("Einzel")), 1);
        delete devices->controller(QStringLiteral("Einzel"));
        // WHEN compared THEN nothing is shown and nothing breaks
        view->compare();
        QCOMPARE(tree()->topLevelItemCount(), 0);
        QVERIFY(view->axesAreEqual());
    }
};

QTEST_MAIN(TestCompareView)
#include "tst_compareview.moc"
