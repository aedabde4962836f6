#include "ParameterAddress.h"
#include "ParameterCoordinate.h"
#include "TestSupport.h"

#include <QSet>
#include <QtTest>

#include <algorithm>

class TestModelAddress : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KxTest::initTestEnvironment(); }

    void coordinateParsing_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("canonical");
        QTest::addColumn<int>("number");

        QTest::newRow("three digits") << "P105" << true << "P105" << 15 * 1000 + 106;
        QTest::newRow("leading zero written with two digits") << "A012" << true << "A12" << 13;
        QTest::newRow("lower case and blanks") << "  b07 " << true << "B07" << 1008;
        QTest::newRow("first coordinate") << "A00" << true << "A00" << 1;
        QTest::newRow("last coordinate") << "Z999" << true << "Z999" << 26000;
        QTest::newRow("one digit") << "A1" << false << "A1" << 0;
        QTest::newRow("umlaut letter") << QStringLiteral("\u00C412") << false << QStringLiteral("\u00C412") << 0;
        QTest::newRow("blank inside") << "A 12" << false << "A 12" << 0;
    }

    void coordinateParsing()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(QString, canonical);
        QFETCH(int, number);

        const ParameterCoordinate coordinate(text);
        QCOMPARE(coordinate.isValid(), valid);
        QCOMPARE(coordinate.toText(), canonical);
        QCOMPARE(int(coordinate.toNumber()), number);
        QCOMPARE(coordinate.letter().isNull(), !valid);
        if (valid)
            QCOMPARE(ParameterCoordinate(coordinate.toNumber()), coordinate);   // number round trip
    }

    void everyCoordinateRoundTripsThroughItsText()
    {
        for (int number = 1; number <= 26000; ++number) {
            const ParameterCoordinate coordinate{quint16(number)};
            const QString text = coordinate.toText();
            QCOMPARE(text.at(0), coordinate.letter());
            QCOMPARE(text.size(), coordinate.index() < 100 ? 3 : 4);
            if (ParameterCoordinate(text).toNumber() != number)
                QFAIL(qPrintable(QStringLiteral("%1 reads back as %2").arg(text).arg(ParameterCoordinate(text).toNumber())));
        }
    }

    void addressParsing_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("lenient");
        QTest::addColumn<QString>("canonical");   // empty: refused
        QTest::addColumn<int>("element");
        QTest::addColumn<int>("livingSpace");
        QTest::addColumn<bool>("hasElement");

        const int none = LivingSpaceNone;
        QTest::newRow("coordinate only") << "A12" << false << "A12" << 0 << none << false;
        QTest::newRow("with living space") << "2.A12[3]" << false << "2.A12[3]" << 3 << 2 << true;
        QTest::newRow("device living space") << "0.A12" << false << "0.A12" << 0 << 0 << false;
        QTest::newRow("sortable form") << "2.A012[00003]" << false << "2.A12[3]" << 3 << 2 << true;
        QTest::newRow("sortable form without living space") << "-.P105[00000]" << false << "P105[0]" << 0 << none << true;
        QTest::newRow("largest element") << "Z999[65535]" << false << "Z999[65535]" << 65535 << none << true;
        QTest::newRow("lenient lower case and blanks") << " 1.b07[2] " << true << "1.B07[2]" << 2 << 1 << true;
        QTest::newRow("strict refuses lower case") << "b07" << false << "" << 0 << none << false;
        QTest::newRow("strict refuses blanks") << " A12" << false << "" << 0 << none << false;
        QTest::newRow("open bracket") << "A12[" << true << "" << 0 << none << false;
        QTest::newRow("element too large") << "A12[70000]" << true << "" << 0 << none << false;
        QTest::newRow("text after element") << "A12[3]x" << true << "" << 0 << none << false;
    }

    void addressParsing()
    {
        QFETCH(QString, text);
        QFETCH(bool, lenient);
        QFETCH(QString, canonical);
        QFETCH(int, element);
        QFETCH(int, livingSpace);
        QFETCH(bool, hasElement);

        const ParameterAddress address(text, lenient);
        QCOMPARE(address.isValid(), !canonical.isEmpty());
        QCOMPARE(address.toText(), canonical);
        if (canonical.isEmpty())
            return;
        QCOMPARE(int(address.element()), element);
        QCOMPARE(address.livingSpace(), livingSpace);
        QCOMPARE(address.hasElement(), hasElement);
        // The canonical and the sortable text read back as the same address.
        QCOMPARE(ParameterAddress(address.toText(), false), address);
        QCOMPARE(ParameterAddress(address.toSortableText(), false), address);
    }

    void orderingEqualityAndHashing()
    {
        // Coordinates sort by number (A20 before A100, every A before B), invalid ones first by their text.
        QList<ParameterCoordinate> list;
        for (const char* text : {"B01", "A100", "xx", "A20", "A02", "aa"})
            list.append(ParameterCoordinate(QString::fromLatin1(text)));
        std::sort(list.begin(), list.end());
        QStringList texts;
        for (const ParameterCoordinate& c : qAsConst(list))
            texts.append(c.toText());
        QCOMPARE(texts, (QStringList{"aa", "xx", "A02", "A20", "A100", "B01"}));
        QVERIFY(!ParameterCoordinate(quint16(0)).isValid() && !ParameterCoordinate(quint16(26001)).isValid());
        // Equal coordinates collapse in a set, invalid ones stay apart by their text.
        QCOMPARE((QSet<ParameterCoordinate>{ParameterCoordinate(QStringLiteral("A12")), ParameterCoordinate(QStringLiteral("a012")),
            ParameterCoordinate(quint16(13)), ParameterCoordinate(QStringLiteral("foo")), ParameterCoordinate(QStringLiteral("bar"))}).size(), 3);

        // Sortable texts sort like addresses: by living space (none first), coordinate number, element.
        const ParameterCoordinate a20(QStringLiteral("A20")), a05(QStringLiteral("A05"));
        QStringList sortable;
        for (const ParameterAddress& a : {ParameterAddress(a20, 0, LivingSpaceNone), ParameterAddress(a20, 0, 1), ParameterAddress(a20, 2, 1),
                 ParameterAddress(a20, 10, 1), ParameterAddress(ParameterCoordinate(QStringLiteral("A100")), 0, 1),
                 ParameterAddress(ParameterCoordinate(QStringLiteral("B01")), 0, 1), ParameterAddress(a05, 0, 2), ParameterAddress(a05, 0, 10)})
            sortable.append(a.toSortableText());
        QStringList sorted = sortable;
        sorted.sort();
        QCOMPARE(sorted, sortable);

        // "A12" and "A12[0]" are the same element; living spaces tell addresses apart.
        const ParameterAddress plain(QStringLiteral("A12"), false), bracketed(QStringLiteral("A12[0]"), false);
        QCOMPARE(plain, bracketed);
        QCOMPARE(qHash(plain), qHash(bracketed));
        QCOMPARE((QSet<ParameterAddress>{plain, bracketed, ParameterAddress(QStringLiteral("2.A12[0]"), false),
            ParameterAddress(ParameterCoordinate(QStringLiteral("A12")), 0, 2)}).size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestModelAddress)
#include "tst_model_address.moc"
