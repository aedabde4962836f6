#include "ListTestSupport.h"
#include "TestSupport.h"

#include "ParameterCustomListEntry.h"

#include "DriveControllerAxis.h"
#include "ParameterSetup.h"
#include "System.h"

#include <QIcon>
#include <QImage>
#include <QTest>

#include <memory>

using Axes = QList<QPointer<DriveControllerAxis>>;
using Elements = QList<quint16>;

namespace {

struct EntryOnAxes
{
    EntryOnAxes(const QString& parameterText, const Axes& initial)
        : axes(initial)
        , entry(ParameterCoordinate(parameterText.left(parameterText.indexOf(QLatin1Char('[')))))
    {
        entry.setAxesList(&axes);
        const int bracket = parameterText.indexOf(QLatin1Char('['));
        if (bracket < 0) {
            entry.setAllElements(true);
            return;
        }
        const QStringList numbers = parameterText.mid(bracket + 1).chopped(1).split(QLatin1Char('/'));
        for (const QString& number : numbers)
            entry.addElement(quint16(number.toUInt()));
    }
    Axes axes;
    ParameterCustomListEntry entry;
};

QImage imageOf(const QIcon& icon)
{
    return icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
}

QImage resourceImage(const QString& name)
{
    return QImage(QStringLiteral(":/Resources/") + name).convertToFormat(QImage::Format_ARGB32);
}

constexpr int EntryRow = -1;

} // namespace

class TestEntryStrategy : public QObject
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
        System::instance().setCurrentLevel(1);
    }

    void rowLabels_data()
    {
        QTest::addColumn<QString>("parameter");
        QTest::addColumn<QString>("axisNames");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QStringList>("childLabels");
        QTest::newRow("one element of an array") << "A12[3]" << "0:1 0:2" << "A12[3] Sollwerttabelle" << QStringList();
        QTest::newRow("record elements") << "B20" << "0:1" << "B20 Lageregler"
                                         << QStringList{"B20[0] Verstaerkung", "B20[1] Nachstellzeit", "B20[2] Vorsteuerung"};
        QTest::newRow("single value somewhere, no suffix") << "A13[1]" << "0:1 1:1" << "A13 <nicht eindeutig>"
                                                           << QStringList{"A13[1] Ruecklauf"};
        QTest::newRow("empty selection") << "A12[12]" << "0:1" << "A12 Sollwerttabelle" << QStringList();
    }

    void rowLabels()
    {
        QFETCH(QString, parameter);
        QFETCH(QString, axisNames);
        QFETCH(QString, label);
        QFETCH(QStringList, childLabels);
        EntryOnAxes e(parameter, axes(axisNames));
        QCOMPARE(e.entry.text(), label);
        QStringList labels;
        for (quint16 element : e.entry.childElementIndices())
            labels.append(e.entry.elementText(element));
        QCOMPARE(labels, childLabels);
    }

    void cellValues_data()
    {
        QTest::addColumn<QString>("parameter");
        QTest::addColumn<QString>("axisNames");
        QTest::addColumn<int>("axis");
        QTest::addColumn<int>("element");      // EntryRow for the entry row
        QTest::addColumn<int>("valueElement"); // element whose value shows; -1 for none
        QTest::addColumn<bool>("available");
        QTest::newRow("array element on entry row") << "A12[3]" << "0:1 0:2" << 1 << EntryRow << 3 << true;
        QTest::newRow("array element, no element rows") << "A12[3]" << "0:1 0:2" << 1 << 3 << -1 << false;
        QTest::newRow("record, entry row empty but available") << "B20" << "0:2 1:1" << 0 << EntryRow << -1 << true;
        QTest::newRow("record, element row") << "B20" << "0:2 1:1" << 0 << 1 << 1 << true;
        QTest::newRow("simple on other axis, element row") << "B20" << "0:2 1:1" << 1 << 0 << -1 << false;
        QTest::newRow("multi-line, axis without parameter") << "A12[2/4]" << "0:1 1:1" << 1 << EntryRow << -1 << false;
        QTest::newRow("record header without value") << "B22" << "0:1" << 0 << 0 << -1 << true;
        QTest::newRow("empty selection unavailable") << "A12[12]" << "0:1" << 0 << EntryRow << -1 << false;
        QTest::newRow("defined in other axes only") << "H70[0/1]" << "0:1 0:2" << 0 << EntryRow << -1 << false;
    }

    void cellValues()
    {
        QFETCH(QString, parameter);
        QFETCH(QString, axisNames);
        QFETCH(int, axis);
        QFETCH(int, element);
        QFETCH(int, valueElement);
        QFETCH(bool, available);
        EntryOnAxes e(parameter, axes(axisNames));
        const bool entryRow = element == EntryRow;
        const QString shown = entryRow ? e.entry.valueText(axis) : e.entry.valueText(axis, quint16(element));
        const bool isAvailable = entryRow ? e.entry.isAvailable(axis) : e.entry.isAvailable(axis, quint16(element));
        QCOMPARE(isAvailable, available);
        if (valueElement < 0) {
            QCOMPARE(shown, QString());
        } else {
            const int number = e.axes.at(axis)->axisNumber();
            QCOMPARE(shown, e.entry.parameterSetup(axis)->valueText(number, quint16(valueElement), true));
            QVERIFY(!shown.isEmpty());
        }
    }

    void cellProperties_data()
    {
        QTest::addColumn<QString>("parameter");
        QTest::addColumn<int>("axis");
        QTest::addColumn<int>("element");
        QTest::addColumn<bool>("active");
        QTest::addColumn<bool>("writable");
        QTest::addColumn<bool>("selectionList");
        // Axes: 0 = Vorschub 1, 1 = Vorschub 2, 2 = Archiv 1 (read-only)
        QTest::newRow("inactive") << "F60" << 0 << EntryRow << false << true << false;
        QTest::newRow("switch not writable") << "C30" << 0 << EntryRow << true << false << true;
        QTest::newRow("global choice, living space 0") << "G01" << 1 << EntryRow << true << true << true;
        QTest::newRow("read-only controller") << "A10" << 2 << EntryRow << true << false << false;
        QTest::newRow("array element not writable") << "E50[0/1]" << 1 << 1 << true << false << false;
        QTest::newRow("multi-line entry row") << "E50[0/1]" << 1 << EntryRow << false << false << false;
        QTest::newRow("record switch element") << "B20" << 0 << 2 << true << true << true;
    }

    void cellProperties()
    {
        QFETCH(QString, parameter);
        QFETCH(int, axis);
        QFETCH(int, element);
        QFETCH(bool, active);
        QFETCH(bool, writable);
        QFETCH(bool, selectionList);
        EntryOnAxes e(parameter, axes(QStringLiteral("0:1 0:2 2:1")));
        if (element == EntryRow) {
            QCOMPARE(e.entry.isValueActive(axis), active);
            QCOMPARE(e.entry.isWritable(axis), writable);
            QCOMPARE(e.entry.hasSelectionList(axis), selectionList);
        } else {
            QCOMPARE(e.entry.isValueActive(axis, quint16(element)), active);
            QCOMPARE(e.entry.isWritable(axis, quint16(element)), writable);
            QCOMPARE(e.entry.hasSelectionList(axis, quint16(element)), selectionList);
        }
    }

    void toolTips_data()
    {
        QTest::addColumn<QString>("parameter");
        QTest::addColumn<QString>("axisNames");
        QTest::addColumn<int>("axis");
        QTest::addColumn<int>("element");
        QTest::addColumn<QString>("toolTip");
        QTest::newRow("axis parameter has axis prefix") << "A10" << "0:1 0:2" << 1 << EntryRow << "2.A10 Drehzahlgrenze";
        QTest::newRow("global parameter has none") << "G01" << "0:1 0:2" << 1 << EntryRow << "G01 Netzfrequenz";
        QTest::newRow("array element on one row") << "A12[3]" << "0:2" << 0 << EntryRow << "2.A12[3] Sollwerttabelle";
        QTest::newRow("record element row") << "B20" << "0:2" << 0 << 1 << "2.B20[1] Nachstellzeit";
        QTest::newRow("name of the axis' own device") << "B20" << "0:2 1:1" << 1 << EntryRow << "1.B20 Lageregelung";
        QTest::newRow("no set-up on the axis") << "A12[2/4]" << "0:1 1:1" << 1 << EntryRow << "-100.A12 ";
    }

    void toolTips()
    {
        QFETCH(QString, parameter);
        QFETCH(QString, axisNames);
        QFETCH(int, axis);
        QFETCH(int, element);
        QFETCH(QString, toolTip);
        EntryOnAxes e(parameter, axes(axisNames));
        QCOMPARE(element == EntryRow ? e.entry.toolTip(axis) : e.entry.toolTip(axis, quint16(element)), toolTip);
    }

    void stateIcons_data()
    {
        QTest::addColumn<QString>("parameter");
        QTest::addColumn<int>("axis");
        QTest::addColumn<int>("element");
        QTest::addColumn<QString>("newValue");   // raw text written first; empty: none
        QTest::addColumn<bool>("passReference"); // hand the reference text in as the shown text
        QTest::addColumn<QString>("icon");       // empty: null icon
        // Axes: 0 = Vorschub 1, 1 = Vorschub 2 (A10 and C30 changed), 2 = Spindel 1, 3 = Archiv 1 (read-only)
        QTest::newRow("unchanged") << "A10" << 0 << EntryRow << "" << false << "standard.png";
        QTest::newRow("changed") << "A10" << 1 << EntryRow << "" << false << "changed.png";
        QTest::newRow("shown text equals reference") << "A10" << 1 << EntryRow << "" << true << "standard.png";
        QTest::newRow("level above the user's") << "D40" << 0 << EntryRow << "17" << false << "standard.png";
        QTest::newRow("locked") << "C30" << 0 << EntryRow << "" << false << "locked.png";
        QTest::newRow("changed and locked") << "C30" << 1 << EntryRow << "" << false << "changed locked.png";
        QTest::newRow("read-only controller, changed") << "A10" << 3 << EntryRow << "" << false << "locked.png";
        QTest::newRow("element row, changed") << "B20" << 0 << 1 << "33" << false << "changed.png";
        QTest::newRow("element row, not writable") << "E50[0/1]" << 0 << 1 << "" << false << "locked.png";
        QTest::newRow("multi-line entry row") << "B20" << 0 << EntryRow << "33" << false << "";
        QTest::newRow("no set-up on the axis") << "D40" << 2 << EntryRow << "" << false << "";
    }

    void stateIcons()
    {
        QFETCH(QString, parameter);
        QFETCH(int, axis);
        QFETCH(int, element);
        QFETCH(QString, newValue);
        QFETCH(bool, passReference);
        QFETCH(QString, icon);
        EntryOnAxes e(parameter, axes(QStringLiteral("0:1 0:2 1:1 2:1")));
        ParameterSetup* setup = e.entry.parameterSetup(axis);
        const int number = e.axes.at(axis)->axisNumber();
        const quint16 valueElement = element == EntryRow ? 0 : quint16(element);
        if (!newValue.isEmpty())
            QVERIFY(setup->setValueText(number, valueElement, newValue));
        const QString shown = passReference ? setup->referenceValueText(number, valueElement, true) : QString();

        const QIcon result = element == EntryRow ? e.entry.stateIcon(axis, shown)
                                                 : e.entry.stateIcon(axis, quint16(element), shown);
        if (icon.isEmpty()) {
            QVERIFY(result.isNull());
            return;
        }
        QCOMPARE(imageOf(result), resourceImage(icon));
        // the icons are built once and shared
        const QIcon again = element == EntryRow ? e.entry.stateIcon(axis, shown)
                                                : e.entry.stateIcon(axis, quint16(element), shown);
        QCOMPARE(again.cacheKey(), result.cacheKey());
    }
};

QTEST_MAIN(TestEntryStrategy)
#include "tst_entrystrategy.moc"
