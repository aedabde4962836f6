#include "EditorTestFixture.h"

#include "ParameterCustomList.h"
#include "ParameterCustomListElementItem.h"
#include "ParameterCustomListEntryItem.h"
#include "ParameterCustomListHeaderItem.h"
#include "ParameterCustomListHeaderView.h"
#include "ParameterCustomListRepository.h"
#include "ParameterCustomListTreeWidget.h"

#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"
#include "TestSupport.h"

#include <QHeaderView>
#include <QIcon>
#include <QImage>
#include <QTest>

using namespace EditorTest;

namespace {

QImage iconImage(const QIcon& icon)
{
    return icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
}

QImage resourceImage(const QString& name)
{
    return iconImage(QIcon(QStringLiteral(":/Resources/") + name));
}

QTreeWidgetItem* headerRow(ParameterCustomListTreeWidget* tree)
{
    return static_cast<QTreeWidget*>(tree)->headerItem();
}

} // namespace

class TestTreeItems : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void headerPlacesCaptionsByLogicalIndex();
    void axisIconFollowsOnlineAndFaultState_data();
    void axisIconFollowsOnlineAndFaultState();
    void markingBarIsInsetOnWideSections_data();
    void markingBarIsInsetOnWideSections();

    void missingParameterReadsNotAvailable_data();
    void missingParameterReadsNotAvailable();
    void elementRowsAreReconciledInPlace();
};

void TestTreeItems::initTestCase()
{
    KxTest::initTestEnvironment();
    ParameterCustomListRepository::instance();
}

void TestTreeItems::headerPlacesCaptionsByLogicalIndex()
{
    // GIVEN three axes of two controllers and a header whose sections were
    // put into another visual order (as a restored header state does)
    Fixture f(layout(QStringLiteral("M2,E1")));
    QHeaderView* header = f.tree->header();
    header->moveSection(header->visualIndex(1), 3);
    QCOMPARE(header->logicalIndex(1), 2);

    // WHEN the columns are rebuilt
    f.tree->onAxesChanged();

    // THEN every logical column still names its own axis
    QTreeWidgetItem* caption = headerRow(f.tree);
    QCOMPARE(f.tree->columnCount(), 4);
    QCOMPARE(caption->text(0), QString());
    for (int axis = 0; axis < f.axes.size(); ++axis) {
        DriveControllerAxis* a = f.axes.at(axis);
        QCOMPARE(caption->text(axis + 1), a->driveController()->name() + QLatin1Char('\n') + a->name());
        QCOMPARE(caption->toolTip(axis + 1), a->driveController()->descriptor()->text());
        QCOMPARE(iconImage(caption->icon(axis + 1)),
                 resourceImage(QStringLiteral("DriveControllerAxis%1.png").arg(a->axisNumber())));
    }
    QVERIFY(caption->toolTip(3).startsWith(QStringLiteral("KXE-2")));
}

void TestTreeItems::axisIconFollowsOnlineAndFaultState_data()
{
    QTest::addColumn<bool>("online");
    QTest::addColumn<bool>("fault");
    QTest::addColumn<QString>("suffix");

    QTest::newRow("offline") << false << false << QString();
    QTest::newRow("online") << true << false << QStringLiteral("Online");
    QTest::newRow("online with a fault") << true << true << QStringLiteral("OnlineFault");
}

void TestTreeItems::axisIconFollowsOnlineAndFaultState()
{
    QFETCH(bool, online);
    QFETCH(bool, fault);
    QFETCH(QString, suffix);

    // GIVEN a tree of two axes of one controller
    Fixture f(layout(QStringLiteral("M2")));
    DriveController* controller = f.controllers.first();

    // WHEN the second axis reports a fault and the controller changes its state
    controller->setAxisFault(2, fault);
    controller->setOnline(online);

    // THEN the header shows the matching icon of that axis, the first axis has no fault
    const QString first = online ? QStringLiteral("DriveControllerAxis1Online.png")
                                 : QStringLiteral("DriveControllerAxis1.png");
    const QString second = QStringLiteral("DriveControllerAxis2%1.png").arg(suffix);
    QCOMPARE(iconImage(headerRow(f.tree)->icon(1)), resourceImage(first));
    QCOMPARE(iconImage(headerRow(f.tree)->icon(2)), resourceImage(second));
    QCOMPARE(iconImage(ParameterCustomListHeaderItem::axisIcon(f.axes.at(1))), resourceImage(second));
}

void TestTreeItems::markingBarIsInsetOnWideSections_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("inset");

    QTest::newRow("wide section") << 120 << 10;
    QTest::newRow("just wider than 30") << 31 << 10;
    QTest::newRow("30 pixels wide") << 30 << 0;
}

void TestTreeItems::markingBarIsInsetOnWideSections()
{
    QFETCH(int, width);
    QFETCH(int, inset);

    // GIVEN an axis column of a given width
    Fixture f(layout(QStringLiteral("M2")));
    QHeaderView* header = f.tree->header();
    header->setMinimumSectionSize(8);
    header->resizeSection(1, width);
    QCOMPARE(header->sectionSize(1), width);

    // WHEN the header paints
    const QImage image = header->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    const qreal ratio = image.devicePixelRatio();

    // THEN the two bottom pixel rows carry the axis colour, inset on wide sections only
    const QRgb marking = markingColor(1, 1).rgb();
    const int left = header->sectionViewportPosition(1);
    const int bottom = header->height() - 1;
    auto colourAt = [&](int x, int y) { return image.pixel(int(x * ratio), int(y * ratio)); };
    for (int y : {bottom, bottom - 1}) {
        QCOMPARE(colourAt(left + inset, y), marking);
        QCOMPARE(colourAt(left + width - 1 - inset, y), marking);
        if (inset > 0) {
            QVERIFY(colourAt(left + inset - 1, y) != marking);
            QVERIFY(colourAt(left + width - inset, y) != marking);
        }
    }
    QVERIFY(colourAt(left + width / 2, bottom - 2) != marking);
}


void TestTreeItems::missingParameterReadsNotAvailable_data()
{
    QTest::addColumn<QString>("coordinate");
    QTest::addColumn<int>("element");   // -1: the entry row
    QTest::addColumn<int>("missingOnAxis");
    QTest::addColumn<int>("presentOnAxis");

    // axis 0: controller 1 axis 1 (KXE-2, A20 has 6 elements)
    // axis 1: controller 1 axis 2
    // axis 2: controller 2 axis 1 (KXM-12, A20 has 4 elements)
    QTest::newRow("parameter of axis 1 only, on axis 2") << QStringLiteral("C70") << -1 << 1 << 0;
    QTest::newRow("array element the other type lacks") << QStringLiteral("A20") << 5 << 2 << 0;
}

void TestTreeItems::missingParameterReadsNotAvailable()
{
    QFETCH(QString, coordinate);
    QFETCH(int, element);
    QFETCH(int, missingOnAxis);
    QFETCH(int, presentOnAxis);

    // GIVEN a list over two controller types
    Fixture f(layout(QStringLiteral("E2,M1")));

    // WHEN the parameter is added
    f.add({coordinate});

    // THEN the cell of the axis without it reads "<nicht vorhanden>" in the
    // disabled colour with the blank standard icon; the other cell shows the value
    QTreeWidgetItem* item = element < 0 ? f.row(coordinate) : f.elementRow(coordinate, quint16(element));
    QVERIFY(item);
    const int missing = missingOnAxis + 1;
    QCOMPARE(item->text(missing), QStringLiteral("<nicht vorhanden>"));
    QCOMPARE(item->foreground(missing).color(), f.tree->palette().color(QPalette::Disabled, QPalette::ButtonText));
    QCOMPARE(iconImage(item->icon(missing)), resourceImage(QStringLiteral("standard.png")));
    QVERIFY(!iconImage(item->icon(missing)).isNull());

    const int present = presentOnAxis + 1;
    ParameterSetup* setup = f.setup(presentOnAxis, coordinate);
    QCOMPARE(item->text(present),
             setup->valueText(f.axes.at(presentOnAxis)->axisNumber(), quint16(qMax(element, 0)), true));
    QCOMPARE(item->foreground(present).color(), f.tree->palette().color(QPalette::Active, QPalette::ButtonText));
    QVERIFY(!item->toolTip(present).isEmpty());
}


void TestTreeItems::elementRowsAreReconciledInPlace()
{
    // GIVEN an array entry with all four elements and element 2 selected
    Fixture f(layout(QStringLiteral("M2")));
    f.add({QStringLiteral("A20")});
    QTreeWidgetItem* entryRow = f.row(QStringLiteral("A20"));
    QCOMPARE(entryRow->childCount(), 4);
    QTreeWidgetItem* kept0 = f.elementRow(QStringLiteral("A20"), 0);
    QTreeWidgetItem* kept2 = f.elementRow(QStringLiteral("A20"), 2);
    QTreeWidgetItem* kept3 = f.elementRow(QStringLiteral("A20"), 3);
    f.tree->setCurrentItem(kept2, 1);
    QVERIFY(kept2->isSelected());

    // WHEN element 1 leaves the list
    f.list->removeEntry(QStringLiteral("A20[1]"));
    deliver();

    // THEN only its row went; the others are the same rows, still selected where they were
    QCOMPARE(f.row(QStringLiteral("A20")), entryRow);
    QCOMPARE(entryRow->childCount(), 3);
    QCOMPARE(entryRow->child(0), kept0);
    QCOMPARE(entryRow->child(1), kept2);
    QCOMPARE(entryRow->child(2), kept3);
    QVERIFY(kept2->isSelected());
    QCOMPARE(f.tree->currentItem(), kept2);

    // WHEN it comes back
    f.list->addEntry(QStringLiteral("A20[1]"));
    deliver();

    // THEN a new row is put between the kept ones
    QCOMPARE(entryRow->childCount(), 4);
    QCOMPARE(entryRow->child(0), kept0);
    QCOMPARE(entryRow->child(1)->data(0, ParameterCustomListElementItem::role).toUInt(), 1u);
    QCOMPARE(entryRow->child(2), kept2);
    QCOMPARE(entryRow->child(3), kept3);
}



QTEST_MAIN(TestTreeItems)
#include "tst_treeitems.moc"
