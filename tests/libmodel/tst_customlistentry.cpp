#include "ListTestSupport.h"
#include "TestSupport.h"

#include "ParameterCustomListEntry.h"

#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

using Axes = QList<QPointer<DriveControllerAxis>>;
using Elements = QList<quint16>;

namespace {

// An entry on an axis list that the test owns, as a list would hold it.
struct EntryOnAxes
{
    EntryOnAxes(const QString& coordinate, const Axes& initial)
        : axes(initial)
        , entry(ParameterCoordinate(coordinate))
    {
        entry.setAxesList(&axes);
    }
    Axes axes;
    ParameterCustomListEntry entry;
};

Elements range(quint16 first, quint16 last)
{
    Elements result;
    for (quint16 e = first; e <= last; ++e)
        result.append(e);
    return result;
}

} // namespace

class TestCustomListEntry : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<KxTest::Host> host;
    Axes axes(const QString& names) const { return host->axes(names); }

private slots:
    void initTestCase()
    {
        KxTest::initTestEnvironment();
    }

    void init()
    {
        host.reset(new KxTest::Host);
    }

    void elementSetFollowsAxes_data()
    {
        QTest::addColumn<QString>("coordinate");
        QTest::addColumn<bool>("allElements");
        QTest::addColumn<Elements>("selected");
        QTest::addColumn<QString>("axesBefore");
        QTest::addColumn<Elements>("before");
        QTest::addColumn<QString>("axesAfter");
        QTest::addColumn<Elements>("after");
        QTest::newRow("whole array is the union over axes")
            << "A11" << true << Elements() << "0:1 1:1" << range(0, 5) << "0:1" << range(0, 3);
        QTest::newRow("dropped selection does not come back")
            << "A11" << false << Elements{2, 5} << "0:1" << Elements{2} << "0:1 1:1" << Elements{2};
        QTest::newRow("no axis defines the parameter")
            << "A12" << true << Elements() << "1:1" << Elements() << "0:2" << range(0, 9);
        QTest::newRow("record with index gap") << "B22" << true << Elements() << "0:1" << Elements{0, 4} << "" << Elements();
    }

    void elementSetFollowsAxes()
    {
        QFETCH(QString, coordinate);
        QFETCH(bool, allElements);
        QFETCH(Elements, selected);
        QFETCH(QString, axesBefore);
        QFETCH(Elements, before);
        QFETCH(QString, axesAfter);
        QFETCH(Elements, after);
        // GIVEN an entry with the selection on the first axes
        EntryOnAxes e(coordinate, axes(axesBefore));
        for (quint16 element : selected)
            e.entry.addElement(element);
        e.entry.setAllElements(allElements);
        QCOMPARE(e.entry.elementIndices(), before);
        // WHEN the list's axes change and the entry is refreshed
        e.axes = axes(axesAfter);
        e.entry.refresh();
        // THEN it shows what the new axes define
        QCOMPARE(e.entry.elementIndices(), after);
        QCOMPARE(e.entry.allElements(), allElements);
    }

    void entryText_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("allElements");
        QTest::addColumn<Elements>("elements");
        QTest::newRow("elements") << QByteArray("A12[1/3]") << false << Elements{1, 3};
        QTest::newRow("non-number counts as 0") << QByteArray("A12[3/x/5]") << false << Elements{0, 3, 5};
        QTest::newRow("above 65535 counts as 0") << QByteArray("A12[70000/2]") << false << Elements{0, 2};
        QTest::newRow("empty brackets") << QByteArray("A12[]") << true << Elements();
        QTest::newRow("first to last bracket") << QByteArray("A12[4]x[6]") << false << Elements{0};
    }

    void entryText()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, allElements);
        QFETCH(Elements, elements);
        // GIVEN an entry on an axis that defines elements 0..9
        EntryOnAxes e(QStringLiteral("A12"), axes(QStringLiteral("0:1")));
        e.entry.addElement(8);
        // WHEN a text is read (without refresh)
        e.entry.loadEntryText(text);
        // THEN exactly the listed numbers are selected
        QCOMPARE(e.entry.allElements(), allElements);
        QCOMPARE(e.entry.elementIndices(), elements);
        // ... and the written form reads back the same
        const QByteArray written = e.entry.entryText();
        QVERIFY(written.startsWith("A12"));
        EntryOnAxes copy(QStringLiteral("A12"), axes(QStringLiteral("0:1")));
        copy.entry.loadEntryText(written);
        QCOMPARE(copy.entry.allElements(), allElements || elements.isEmpty());
        QCOMPARE(copy.entry.elementIndices(), elements);
    }

    void strategyChoice_data()
    {
        QTest::addColumn<QString>("coordinate");
        QTest::addColumn<QString>("axisNames");
        QTest::addColumn<Elements>("selected");
        QTest::addColumn<Elements>("children");
        QTest::newRow("one array element") << "A12" << "0:1 0:2" << Elements{3} << Elements();
        QTest::newRow("two array elements") << "A12" << "0:1 0:2" << Elements{3, 5} << Elements{3, 5};
        QTest::newRow("simple here, array there") << "A13" << "0:1 1:1" << Elements{0} << Elements{0};
        QTest::newRow("simple on both, same element") << "A13" << "0:1 0:2" << Elements{0} << Elements();
        QTest::newRow("record here, simple there") << "B20" << "0:1 1:1" << Elements{0} << Elements{0};
    }

    void strategyChoice()
    {
        QFETCH(QString, coordinate);
        QFETCH(QString, axisNames);
        QFETCH(Elements, selected);
        QFETCH(Elements, children);
        EntryOnAxes e(coordinate, axes(axisNames));
        if (selected.isEmpty())
            e.entry.setAllElements(true);
        for (quint16 element : selected)
            e.entry.addElement(element);
        QCOMPARE(e.entry.childElementIndices(), children);
    }

    void commonName_data()
    {
        QTest::addColumn<QString>("coordinate");
        QTest::addColumn<QString>("axisNames");
        QTest::addColumn<int>("element");
        QTest::addColumn<QString>("expected");
        QTest::newRow("different names") << "B20" << "0:1 1:1" << -1 << "B20 <nicht eindeutig>";
        QTest::newRow("empty, then a name") << "A13" << "0:1 1:1" << 0 << "A13[0] Hochlauf";
        QTest::newRow("a name, then empty") << "A13" << "1:1 0:1" << 0 << "A13[0] <nicht eindeutig>";
        QTest::newRow("element only one axis has") << "A13" << "0:1 1:1" << 1 << "A13[1] Ruecklauf";
        QTest::newRow("no axis defines it") << "A12" << "1:1" << -1 << "A12 ";
    }

    void commonName()
    {
        QFETCH(QString, coordinate);
        QFETCH(QString, axisNames);
        QFETCH(int, element);
        QFETCH(QString, expected);
        EntryOnAxes e(coordinate, axes(axisNames));
        e.entry.setAllElements(true);
        if (element < 0)
            QCOMPARE(e.entry.text(), expected);
        else
            QCOMPARE(e.entry.elementText(quint16(element)), expected);
    }

    void transferValue_data()
    {
        QTest::addColumn<QString>("coordinate");
        QTest::addColumn<QString>("sourceValue");
        QTest::addColumn<int>("sourceAxis");
        QTest::addColumn<int>("sourceElement");
        QTest::addColumn<int>("targetAxis");
        QTest::addColumn<int>("targetElement");
        QTest::addColumn<bool>("written");
        // Axis indices: 0 = Vorschub 1, 1 = Vorschub 2, 2 = Spindel 1, 3 = Archiv 1 (read-only)
        QTest::newRow("between axes of one controller") << "A10" << "1234" << 0 << 0 << 1 << 0 << true;
        QTest::newRow("array element to another element") << "A12" << "77" << 0 << 3 << 1 << 5 << true;
        QTest::newRow("global parameter across controllers") << "G01" << "" << 0 << 0 << 2 << 0 << true;
        QTest::newRow("onto itself") << "A10" << "1234" << 0 << 0 << 0 << 0 << false;
        QTest::newRow("target element not writable") << "C30" << "" << 0 << 0 << 1 << 0 << false;
        QTest::newRow("target controller read-only") << "A10" << "1234" << 0 << 0 << 3 << 0 << false;
        QTest::newRow("target without the parameter") << "A12" << "77" << 0 << 3 << 2 << 3 << false;
        QTest::newRow("target out of range") << "A10" << "1234" << 0 << 0 << 4 << 0 << false;
    }

    void transferValue()
    {
        QFETCH(QString, coordinate);
        QFETCH(QString, sourceValue);
        QFETCH(int, sourceAxis);
        QFETCH(int, sourceElement);
        QFETCH(int, targetAxis);
        QFETCH(int, targetElement);
        QFETCH(bool, written);
        EntryOnAxes e(coordinate, axes(QStringLiteral("0:1 0:2 1:1 2:1")));
        ParameterSetup* source = e.entry.parameterSetup(sourceAxis);
        ParameterSetup* target = e.entry.parameterSetup(targetAxis);
        const int sourceNumber = sourceAxis < e.axes.size() ? e.axes.at(sourceAxis)->axisNumber() : 0;
        const int targetNumber = targetAxis < e.axes.size() ? e.axes.at(targetAxis)->axisNumber() : 0;
        if (!sourceValue.isEmpty())
            QVERIFY(source->setValueText(sourceNumber, quint16(sourceElement), sourceValue));
        const QString targetBefore = target ? target->valueText(targetNumber, quint16(targetElement), false) : QString();

        e.entry.transferValue(sourceAxis, quint16(sourceElement), targetAxis, quint16(targetElement));

        if (written) {
            QCOMPARE(target->valueText(targetNumber, quint16(targetElement), false),
                     source->valueText(sourceNumber, quint16(sourceElement), false));
        } else if (target) {
            QCOMPARE(target->valueText(targetNumber, quint16(targetElement), false), targetBefore);
        }
    }

    void transferValueToAll()
    {
        // GIVEN E50 (element 1 not writable) on two writable axes, one read-only axis and an axis without it
        EntryOnAxes e(QStringLiteral("E50"), axes(QStringLiteral("0:1 0:2 2:1 1:1")));
        ParameterSetup* feed = e.entry.parameterSetup(0);
        ParameterSetup* archive = e.entry.parameterSetup(2);
        QVERIFY(feed->setValueText(2, 0, QStringLiteral("7")));
        const QString archived = archive->valueText(1, 0, false);
        QVERIFY(archived != QLatin1String("7"));

        // WHEN element 0 of axis index 1 goes to all
        e.entry.transferValueToAll(1, 0);

        // THEN only the writable other axis took it
        QCOMPARE(feed->valueText(1, 0, false), QStringLiteral("7"));
        QCOMPARE(feed->valueText(2, 0, false), QStringLiteral("7"));
        QCOMPARE(archive->valueText(1, 0, false), archived);
    }

    void onlineConsistenceRequest()
    {
        // GIVEN an online controller whose drive changed A10 of axis 2 on its own
        DriveController* controller = host->controller(0);
        ParameterProvider* provider = controller->parameterProvider();
        controller->setOnline(true);
        ParameterSetup* setup = KxTest::setupOf(host->axis(0, 2), QStringLiteral("A10"));
        QVERIFY(provider->simulateDriveValue(setup->address(2, 0), QStringLiteral("2222")));
        QVERIFY(setup->valueText(2, 0, false) != QLatin1String("2222"));
        EntryOnAxes e(QStringLiteral("A10"), axes(QStringLiteral("0:1 0:2 1:1")));
        e.entry.setAllElements(true);
        const int before = provider->consistenceRequestCount();

        // WHEN a request is made for axis index 1 and for indices that cannot reach the provider
        e.entry.requestOnlineConsistenceOnce(1, 0);
        e.entry.requestOnlineConsistenceOnce(3, 0);
        e.entry.requestOnlineConsistenceOnce(-1, 0);

        // THEN it reaches the provider through the event queue, once, and the value is read again
        QCOMPARE(provider->consistenceRequestCount(), before);
        QTRY_COMPARE(provider->consistenceRequestCount(), before + 1);
        QCOMPARE(setup->valueText(2, 0, false), QStringLiteral("2222"));
        QCOMPARE(e.entry.valueText(1), setup->valueText(2, 0, true));
    }

    void followingAxes()
    {
        ParameterSetup* feed = KxTest::setupOf(host->axis(0, 1), QStringLiteral("B22"));
        EntryOnAxes e(QStringLiteral("B22"), axes(QStringLiteral("0:1 0:2")));

        // attaching twice observes each value element once per axis; the header element carries no value
        e.entry.attachAxes();
        e.entry.attachAxes();
        QCOMPARE(feed->observedCount(1, 4), 1);
        QCOMPARE(feed->observedCount(2, 4), 1);
        QCOMPARE(feed->observedCount(1, 0), 0);

        // an axis that leaves the list is released on the next refresh
        e.axes = axes(QStringLiteral("0:1"));
        e.entry.refresh();
        QCOMPARE(feed->observedCount(1, 4), 1);
        QCOMPARE(feed->observedCount(2, 4), 0);

        e.entry.detachAxes();
        QCOMPARE(feed->observedCount(1, 4), 0);
    }

    void globalParameterObservedInLivingSpaceZero()
    {
        EntryOnAxes e(QStringLiteral("G01"), axes(QStringLiteral("0:2")));
        e.entry.attachAxes();
        QCOMPARE(KxTest::setupOf(host->axis(0, 1), QStringLiteral("G01"))->observedCount(0, 0), 1);
    }

    void lifetime_data()
    {
        QTest::addColumn<int>("step");
        QTest::newRow("axis removed") << 0;
        QTest::newRow("controller deleted") << 1;
        QTest::newRow("parameter removed from the device") << 2;
        QTest::newRow("host with all controllers deleted") << 3;
    }

    void lifetime()
    {
        QFETCH(int, step);
        // GIVEN a followed multi-line entry on both Vorschub axes and the Spindel axis
        EntryOnAxes e(QStringLiteral("A11"), axes(QStringLiteral("0:1 0:2 1:1")));
        e.entry.setAllElements(true);
        e.entry.attachAxes();
        QVERIFY(e.entry.isAvailable(1, 3));

        // WHEN the suite object behind axis index 1 goes
        switch (step) {
        case 0: QVERIFY(host->controller(0)->removeAxis(2)); break;
        case 1: delete host->controller(0); break;
        case 2: QVERIFY(host->controller(0)->parameterProvider()->removeParameter(ParameterCoordinate(QStringLiteral("A11")))); break;
        case 3: host.reset(); break;
        }

        // THEN that axis reads as "not on this axis" and nothing crashes
        e.entry.refresh();
        for (int axis = -1; axis <= 3; ++axis) {
            for (quint16 element : {quint16(0), quint16(3), quint16(5)}) {
                e.entry.valueText(axis, element);
                e.entry.toolTip(axis, element);
                e.entry.stateIcon(axis, element, QString());
                e.entry.transferValue(2, element, axis, element);
                e.entry.requestOnlineConsistenceOnce(axis, element);
            }
            e.entry.valueText(axis);
            e.entry.isWritable(axis);
        }
        QVERIFY(!e.entry.isAvailable(1, 3));
        QVERIFY(!e.entry.isAvailable(1));
        QVERIFY(e.entry.valueText(1, 3).isEmpty());
        QVERIFY(e.entry.parameterSetup(1) == nullptr);
        QCOMPARE(e.entry.isAvailable(2, 5), step != 3);
        e.entry.transferValueToAll(0, 1);
        e.entry.detachAxes();
        QCoreApplication::processEvents();
    }
};

QTEST_MAIN(TestCustomListEntry)
#include "tst_customlistentry.moc"
