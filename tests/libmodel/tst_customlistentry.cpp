#include "ListTestSupport.h"
#include "TestSupport.h"

#include "EntryStrategy.h"
#include "ParameterCustomListEntry.h"

#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"
#include "System.h"

#include <QIcon>
#include <QImage>
#include <QTest>

#include <memory>

using Axes = QList<QPointer<DriveControllerAxis>>;
using Elements = QList<quint16>;

namespace {

// An entry on an axis list the test owns, as a list holds it: "A12" selects
// the whole parameter, "A12[3/5]" those elements.
struct EntryOnAxes
{
    EntryOnAxes(const QString& text, const Axes& initial)
        : axes(initial)
        , entry(ParameterCoordinate(text.section(QLatin1Char('['), 0, 0)))
    {
        entry.setAxesList(&axes);
        if (!text.contains(QLatin1Char('[')))
            entry.setAllElements(true);
        for (const QString& number : text.section(QLatin1Char('['), 1).section(QLatin1Char(']'), 0, 0).split(QLatin1Char('/'), Qt::SkipEmptyParts))
            entry.addElement(quint16(number.toUInt()));
    }
    Axes axes;
    ParameterCustomListEntry entry;
};

constexpr int EntryRow = -1;

} // namespace

// Axes are named "controller:axis" of the shared "feed" project: 0:1 and 0:2
// the Vorschub axes, 1:1 the Spindel axis (another type), 2:1 the read-only Archiv axis.
class TestCustomListEntry : public QObject
{
    Q_OBJECT

    std::unique_ptr<KxTest::Host> host;
    Axes axes(const QString& names) const { return host->axes(names); }

private slots:
    void initTestCase() { KxTest::initTestEnvironment(); }
    void init()
    {
        host.reset(new KxTest::Host);
        System::instance().setCurrentLevel(1);
    }

    void elementSetFollowsAxes_data()
    {
        QTest::addColumn<QString>("parameter");
        QTest::addColumn<QString>("axesBefore");
        QTest::addColumn<Elements>("before");
        QTest::addColumn<QString>("axesAfter");
        QTest::addColumn<Elements>("after");
        const Elements zeroToThree{0, 1, 2, 3};
        QTest::newRow("whole array is the union over axes") << "A11" << "0:1 1:1" << (zeroToThree + Elements{4, 5}) << "0:1" << zeroToThree;
        QTest::newRow("dropped selection does not come back") << "A11[2/5]" << "0:1" << Elements{2} << "0:1 1:1" << Elements{2};
        QTest::newRow("no axis defines the parameter") << "A12" << "1:1" << Elements() << "0:2" << Elements{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
        QTest::newRow("record with index gap") << "B22" << "0:1" << Elements{0, 4} << "" << Elements();
    }

    void elementSetFollowsAxes()
    {
        QFETCH(QString, parameter);
        QFETCH(QString, axesBefore);
        QFETCH(Elements, before);
        QFETCH(QString, axesAfter);
        QFETCH(Elements, after);
        EntryOnAxes e(parameter, axes(axesBefore));
        const bool all = e.entry.allElements();
        QCOMPARE(e.entry.elementIndices(), before);
        // WHEN the list's axes change THEN a refresh shows what the new axes define
        e.axes = axes(axesAfter);
        e.entry.refresh();
        QCOMPARE(e.entry.elementIndices(), after);
        QCOMPARE(e.entry.allElements(), all);
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
        // GIVEN a selection the text must replace, WHEN read without refresh THEN exactly the listed numbers are selected
        EntryOnAxes e(QStringLiteral("A12[8]"), axes(QStringLiteral("0:1")));
        e.entry.loadEntryText(text);
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

    void labels_data()
    {
        QTest::addColumn<QString>("parameter");
        QTest::addColumn<QString>("axisNames");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QStringList>("elementRows");
        QTest::newRow("one array element, no element rows") << "A12[3]" << "0:1 0:2" << "A12[3] Sollwerttabelle" << QStringList();
        QTest::newRow("two unnamed array elements") << "A12[3/5]" << "0:1 0:2" << "A12 Sollwerttabelle" << QStringList{"A12[3] ", "A12[5] "};
        QTest::newRow("record elements") << "B20" << "0:1" << "B20 Lageregler"
                                         << QStringList{"B20[0] Verstaerkung", "B20[1] Nachstellzeit", "B20[2] Vorsteuerung"};
        QTest::newRow("record here, simple there") << "B20[0]" << "0:1 1:1" << "B20 <nicht eindeutig>" << QStringList{"B20[0] <nicht eindeutig>"};
        QTest::newRow("empty name, then a name") << "A13[0]" << "0:1 1:1" << "A13 <nicht eindeutig>" << QStringList{"A13[0] Hochlauf"};
        QTest::newRow("a name, then empty") << "A13[0]" << "1:1 0:1" << "A13 <nicht eindeutig>" << QStringList{"A13[0] <nicht eindeutig>"};
        QTest::newRow("element only one axis has") << "A13[1]" << "0:1 1:1" << "A13 <nicht eindeutig>" << QStringList{"A13[1] Ruecklauf"};
        QTest::newRow("no axis defines it") << "A12" << "1:1" << "A12 " << QStringList();
    }

    void labels()
    {
        QFETCH(QString, parameter);
        QFETCH(QString, axisNames);
        QFETCH(QString, label);
        QFETCH(QStringList, elementRows);
        EntryOnAxes e(parameter, axes(axisNames));
        QCOMPARE(e.entry.text(), label);
        QStringList labels;
        for (quint16 element : e.entry.childElementIndices())
            labels.append(e.entry.elementText(element));
        QCOMPARE(labels, elementRows);
    }

    void cells_data()
    {
        QTest::addColumn<QString>("parameter");
        QTest::addColumn<QString>("axisNames");
        QTest::addColumn<int>("axis");
        QTest::addColumn<int>("element");      // EntryRow for the entry row
        QTest::addColumn<int>("valueElement"); // element whose value shows; -1 for none
        QTest::addColumn<bool>("available");
        QTest::addColumn<bool>("writable");
        QTest::addColumn<QString>("toolTip");
        QTest::newRow("array element on the entry row") << "A12[3]" << "0:1 0:2" << 1 << EntryRow << 3 << true << true << "2.A12[3] Sollwerttabelle";
        QTest::newRow("record element row") << "B20" << "0:2 1:1" << 0 << 1 << 1 << true << true << "2.B20[1] Nachstellzeit";
        QTest::newRow("array element not writable") << "E50[0/1]" << "0:1 0:2" << 1 << 1 << 1 << true << false << "2.E50[1] ";
        QTest::newRow("missing on this axis") << "A12[2/4]" << "0:1 1:1" << 1 << EntryRow << -1 << false << false << "-100.A12 ";
        QTest::newRow("read-only controller") << "A10" << "0:1 2:1" << 1 << EntryRow << 0 << true << false << "1.A10 Drehzahlgrenze";
    }

    void cells()
    {
        QFETCH(QString, parameter);
        QFETCH(QString, axisNames);
        QFETCH(int, axis);
        QFETCH(int, element);
        QFETCH(int, valueElement);
        QFETCH(bool, available);
        QFETCH(bool, writable);
        QFETCH(QString, toolTip);
        EntryOnAxes e(parameter, axes(axisNames));
        const bool entryRow = element == EntryRow;
        const quint16 el = quint16(element);
        const QString shown = entryRow ? e.entry.valueText(axis) : e.entry.valueText(axis, el);
        QCOMPARE(entryRow ? e.entry.isAvailable(axis) : e.entry.isAvailable(axis, el), available);
        QCOMPARE(entryRow ? e.entry.isWritable(axis) : e.entry.isWritable(axis, el), writable);
        QCOMPARE(entryRow ? e.entry.toolTip(axis) : e.entry.toolTip(axis, el), toolTip);
        if (valueElement < 0)
            QCOMPARE(shown, QString());
        else
            QCOMPARE(shown, e.entry.parameterSetup(axis)->valueText(e.axes.at(axis)->axisNumber(), quint16(valueElement), true));
        // AND the tree's one-call answer is the same as the separate ones
        const EntryCell cell = entryRow ? e.entry.cell(axis) : e.entry.cell(axis, el);
        QCOMPARE(cell.available, available);
        if (available) {
            QCOMPARE(cell.valueText, shown);
            QCOMPARE(cell.active, entryRow ? e.entry.isValueActive(axis) : e.entry.isValueActive(axis, el));
            const QIcon icon = entryRow ? e.entry.stateIcon(axis, QString()) : e.entry.stateIcon(axis, el, QString());
            QCOMPARE(cell.stateIcon.cacheKey(), icon.cacheKey());
        }
    }

    void stateIconsTellTheFourStatesApart()
    {
        // On Y, A10 is changed and so is C30, a switch nobody may write.
        EntryOnAxes speed(QStringLiteral("A10"), axes(QStringLiteral("0:1 0:2")));
        EntryOnAxes brake(QStringLiteral("C30"), axes(QStringLiteral("0:1 0:2")));
        const QList<QIcon> icons{speed.entry.stateIcon(0, QString()), speed.entry.stateIcon(1, QString()),
                                 brake.entry.stateIcon(0, QString()), brake.entry.stateIcon(1, QString())};
        auto image = [](const QIcon& icon) { return icon.pixmap(16, 16).toImage(); };
        for (int i = 0; i < icons.size(); ++i) {
            QVERIFY(!icons.at(i).isNull());
            for (int j = 0; j < i; ++j)
                QVERIFY2(image(icons.at(i)) != image(icons.at(j)), qPrintable(QStringLiteral("icons %1 and %2").arg(j).arg(i)));
        }
        QCOMPARE(speed.entry.stateIcon(1, QString()).cacheKey(), icons.at(1).cacheKey());   // built once and shared
    }

    void transferValue_data()
    {
        QTest::addColumn<QString>("coordinate");
        QTest::addColumn<QString>("sourceValue");
        QTest::addColumn<int>("sourceAxis");   // of 0:1 0:2 1:1 2:1
        QTest::addColumn<int>("sourceElement");
        QTest::addColumn<int>("targetAxis");
        QTest::addColumn<int>("targetElement");
        QTest::addColumn<bool>("written");
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
        const int sourceNumber = e.axes.at(sourceAxis)->axisNumber();
        const int targetNumber = targetAxis < e.axes.size() ? e.axes.at(targetAxis)->axisNumber() : 0;
        if (!sourceValue.isEmpty())
            QVERIFY(source->setValueText(sourceNumber, quint16(sourceElement), sourceValue));
        auto targetValue = [&] { return target ? target->valueText(targetNumber, quint16(targetElement), false) : QString(); };
        const QString before = targetValue();

        e.entry.transferValue(sourceAxis, quint16(sourceElement), targetAxis, quint16(targetElement));

        QCOMPARE(targetValue(), written ? source->valueText(sourceNumber, quint16(sourceElement), false) : before);
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
        const int before = provider->consistenceRequestCount();
        // WHEN asked for axis index 1 and for indices that cannot reach the provider
        e.entry.requestOnlineConsistenceOnce(1, 0);
        e.entry.requestOnlineConsistenceOnce(3, 0);
        e.entry.requestOnlineConsistenceOnce(-1, 0);
        // THEN the request goes through the event queue, once, and the value is read again
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
        QCOMPARE(feed->observedCount(2, 4), 0);
        e.entry.detachAxes();
        QCOMPARE(feed->observedCount(1, 4), 0);
        // a device-wide parameter is observed in living space 0
        EntryOnAxes global(QStringLiteral("G01"), axes(QStringLiteral("0:2")));
        global.entry.attachAxes();
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
        e.entry.attachAxes();
        QVERIFY(e.entry.isAvailable(1, 3));
        // WHEN the suite object behind axis index 1 goes
        switch (step) {
        case 0: QVERIFY(host->controller(0)->removeAxis(2)); break;
        case 1: delete host->controller(0); break;
        case 2: QVERIFY(host->controller(0)->parameterProvider()->removeParameter(ParameterCoordinate(QStringLiteral("A11")))); break;
        case 3: host.reset(); break;
        }
        // THEN that axis reads as "not on this axis" and no access reaches the dead object
        e.entry.refresh();
        for (int axis = -1; axis <= 3; ++axis) {
            for (quint16 element : {quint16(0), quint16(3), quint16(5)}) {
                e.entry.toolTip(axis, element);
                e.entry.stateIcon(axis, element, QString());
                e.entry.transferValue(2, element, axis, element);
                e.entry.requestOnlineConsistenceOnce(axis, element);
            }
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
