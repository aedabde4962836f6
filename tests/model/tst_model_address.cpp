#include "ParameterAddress.h"
#include "ParameterCoordinate.h"
#include "TestSupport.h"

#include <QMetaType>
#include <QSet>
#include <QtTest>

#include <algorithm>

class TestModelAddress : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KxTest::initTestEnvironment(); }

    void coordinateParsing_data();
    void coordinateParsing();
    void coordinateOrdering();
    void coordinateNumberRoundTrip();
    void coordinateHashing();

    void addressParsing_data();
    void addressParsing();
    void addressSortableTextOrdersLikeAddresses();
    void addressEqualityAndHashing();
    void metaTypesAreRegisteredByName();
};

void TestModelAddress::coordinateParsing_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("canonical");
    QTest::addColumn<int>("number");

    QTest::newRow("two digits") << "A12" << true << "A12" << 13;
    QTest::newRow("three digits") << "P105" << true << "P105" << 15 * 1000 + 106;
    QTest::newRow("leading zero written with two digits") << "A012" << true << "A12" << 13;
    QTest::newRow("lower-case letter") << "b07" << true << "B07" << 1008;
    QTest::newRow("surrounding blanks") << "  C100 " << true << "C100" << 2101;
    QTest::newRow("first coordinate") << "A00" << true << "A00" << 1;
    QTest::newRow("last coordinate") << "Z999" << true << "Z999" << 26000;
    QTest::newRow("one digit") << "A1" << false << "A1" << 0;
    QTest::newRow("four digits") << "A1234" << false << "A1234" << 0;
    QTest::newRow("no letter") << "12" << false << "12" << 0;
    QTest::newRow("umlaut letter") << QStringLiteral("\u00C412") << false << QStringLiteral("\u00C412") << 0;
    QTest::newRow("blank inside") << "A 12" << false << "A 12" << 0;
    QTest::newRow("empty") << "" << false << "" << 0;
}

void TestModelAddress::coordinateParsing()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(QString, canonical);
    QFETCH(int, number);

    // GIVEN a coordinate made of the text
    const ParameterCoordinate coordinate(text);

    // THEN validity, canonical text and number follow the text form
    QCOMPARE(coordinate.isValid(), valid);
    QCOMPARE(coordinate.toText(), canonical);
    QCOMPARE(int(coordinate.toNumber()), number);
    QCOMPARE(coordinate.index() >= 0, valid);
    QCOMPARE(coordinate.letter().isNull(), !valid);
}

void TestModelAddress::coordinateOrdering()
{
    // GIVEN coordinates in text order
    QList<ParameterCoordinate> list{ParameterCoordinate(QStringLiteral("B01")), ParameterCoordinate(QStringLiteral("A100")),
        ParameterCoordinate(QStringLiteral("xx")), ParameterCoordinate(QStringLiteral("A20")), ParameterCoordinate(QStringLiteral("A02")),
        ParameterCoordinate(QStringLiteral("aa"))};

    // WHEN sorted
    std::sort(list.begin(), list.end());

    // THEN by number (A20 before A100, every A before B), invalid ones first by text
    QStringList texts;
    for (const ParameterCoordinate& c : qAsConst(list))
        texts.append(c.toText());
    QCOMPARE(texts, (QStringList{"aa", "xx", "A02", "A20", "A100", "B01"}));
    QVERIFY(ParameterCoordinate(QStringLiteral("A20")) < ParameterCoordinate(QStringLiteral("A100")));
    QVERIFY(!(ParameterCoordinate(QStringLiteral("A100")) < ParameterCoordinate(QStringLiteral("A20"))));
    QVERIFY(!(ParameterCoordinate(QStringLiteral("A20")) < ParameterCoordinate(QStringLiteral("a020"))));
}

void TestModelAddress::coordinateNumberRoundTrip()
{
    // Every number of every letter survives number -> text -> coordinate.
    int checked = 0;
    for (int number = 1; number <= 26000; ++number) {
        const ParameterCoordinate fromNumber{quint16(number)};
        const ParameterCoordinate fromText(fromNumber.toText());
        if (!fromNumber.isValid() || fromText.toNumber() != number || fromText != fromNumber)
            QFAIL(qPrintable(QStringLiteral("round trip failed for %1 (%2)").arg(number).arg(fromNumber.toText())));
        ++checked;
    }
    QCOMPARE(checked, 26000);
    QCOMPARE(ParameterCoordinate(quint16(7001)).toText(), QStringLiteral("H00"));
    QVERIFY(!ParameterCoordinate(quint16(0)).isValid());
    QVERIFY(!ParameterCoordinate(quint16(26001)).isValid());
}

void TestModelAddress::coordinateHashing()
{
    // GIVEN equal coordinates written differently, and distinct invalid ones
    QSet<ParameterCoordinate> set;
    set.insert(ParameterCoordinate(QStringLiteral("A12")));
    set.insert(ParameterCoordinate(QStringLiteral("a012")));
    set.insert(ParameterCoordinate(quint16(13)));
    set.insert(ParameterCoordinate(QStringLiteral("foo")));
    set.insert(ParameterCoordinate(QStringLiteral("bar")));

    // THEN equal ones collapse, invalid ones stay apart by their text
    QCOMPARE(set.size(), 3);
    QCOMPARE(qHash(ParameterCoordinate(QStringLiteral("A12"))), qHash(ParameterCoordinate(QStringLiteral(" a12"))));
    QVERIFY(ParameterCoordinate(QStringLiteral("foo")) != ParameterCoordinate(QStringLiteral("bar")));
}

void TestModelAddress::addressParsing_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("lenient");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("coordinate");
    QTest::addColumn<int>("element");
    QTest::addColumn<int>("livingSpace");
    QTest::addColumn<bool>("hasElement");
    QTest::addColumn<QString>("canonical");

    const int none = LivingSpaceNone;
    QTest::newRow("coordinate only") << "A12" << false << true << "A12" << 0 << none << false << "A12";
    QTest::newRow("with element") << "A12[3]" << false << true << "A12" << 3 << none << true << "A12[3]";
    QTest::newRow("with living space") << "2.A12[3]" << false << true << "A12" << 3 << 2 << true << "2.A12[3]";
    QTest::newRow("device living space") << "0.A12" << false << true << "A12" << 0 << 0 << false << "0.A12";
    QTest::newRow("sortable form") << "2.A012[00003]" << false << true << "A12" << 3 << 2 << true << "2.A12[3]";
    QTest::newRow("sortable form without living space") << "-.P105[00000]" << false << true << "P105" << 0 << none << true << "P105[0]";
    QTest::newRow("largest element") << "Z999[65535]" << false << true << "Z999" << 65535 << none << true << "Z999[65535]";
    QTest::newRow("lenient lower case and blanks") << " 1.b07[2] " << true << true << "B07" << 2 << 1 << true << "1.B07[2]";
    QTest::newRow("strict refuses lower case") << "b07" << false << false << "" << 0 << none << false << "";
    QTest::newRow("strict refuses blanks") << " A12" << false << false << "" << 0 << none << false << "";
    QTest::newRow("empty") << "" << true << false << "" << 0 << none << false << "";
    QTest::newRow("one digit") << "A1" << true << false << "" << 0 << none << false << "";
    QTest::newRow("four digits") << "A1234" << true << false << "" << 0 << none << false << "";
    QTest::newRow("no letter") << "12" << true << false << "" << 0 << none << false << "";
    QTest::newRow("open bracket") << "A12[" << true << false << "" << 0 << none << false << "";
    QTest::newRow("element not a number") << "A12[x]" << true << false << "" << 0 << none << false << "";
    QTest::newRow("element too large") << "A12[70000]" << true << false << "" << 0 << none << false << "";
    QTest::newRow("brackets reversed") << "A12]3[" << true << false << "" << 0 << none << false << "";
    QTest::newRow("text after element") << "A12[3]x" << true << false << "" << 0 << none << false << "";
    QTest::newRow("negative element") << "A12[-1]" << true << false << "" << 0 << none << false << "";
}

void TestModelAddress::addressParsing()
{
    QFETCH(QString, text);
    QFETCH(bool, lenient);
    QFETCH(bool, valid);
    QFETCH(QString, coordinate);
    QFETCH(int, element);
    QFETCH(int, livingSpace);
    QFETCH(bool, hasElement);
    QFETCH(QString, canonical);

    const ParameterAddress address(text, lenient);

    QCOMPARE(address.isValid(), valid);
    QCOMPARE(address.toText(), canonical);
    if (!valid)
        return;
    QCOMPARE(address.coordinate().toText(), coordinate);
    QCOMPARE(int(address.element()), element);
    QCOMPARE(address.livingSpace(), livingSpace);
    QCOMPARE(address.hasElement(), hasElement);
    // The canonical and the sortable text read back as the same address.
    QCOMPARE(ParameterAddress(address.toText(), false), address);
    QCOMPARE(ParameterAddress(address.toSortableText(), false), address);
}

void TestModelAddress::addressSortableTextOrdersLikeAddresses()
{
    // GIVEN addresses whose plain texts sort differently from the addresses
    const QList<ParameterAddress> ordered{
        ParameterAddress(ParameterCoordinate(QStringLiteral("A20")), 0, LivingSpaceNone),
        ParameterAddress(ParameterCoordinate(QStringLiteral("A20")), 0, 1),
        ParameterAddress(ParameterCoordinate(QStringLiteral("A20")), 2, 1),
        ParameterAddress(ParameterCoordinate(QStringLiteral("A20")), 10, 1),
        ParameterAddress(ParameterCoordinate(QStringLiteral("A100")), 0, 1),
        ParameterAddress(ParameterCoordinate(QStringLiteral("B01")), 0, 1),
        ParameterAddress(ParameterCoordinate(QStringLiteral("A05")), 0, 2),
    };
    QStringList sortable;
    for (const ParameterAddress& a : ordered)
        sortable.append(a.toSortableText());

    // WHEN the sortable texts are sorted
    QStringList sorted = sortable;
    sorted.sort();

    // THEN they keep the order of living space, coordinate number and element
    QCOMPARE(sorted, sortable);
    QCOMPARE(ordered.at(2).toSortableText(), QStringLiteral("1.A020[00002]"));
    QCOMPARE(ordered.at(0).toSortableText(), QStringLiteral("-.A020[00000]"));
}

void TestModelAddress::addressEqualityAndHashing()
{
    // "A12" and "A12[0]" are the same element; living spaces tell addresses apart.
    const ParameterAddress plain(QStringLiteral("A12"), false);
    const ParameterAddress bracketed(QStringLiteral("A12[0]"), false);
    const ParameterAddress axis2(QStringLiteral("2.A12[0]"), false);
    QCOMPARE(plain, bracketed);
    QCOMPARE(qHash(plain), qHash(bracketed));
    QVERIFY(plain != axis2);

    QSet<ParameterAddress> set{plain, bracketed, axis2, ParameterAddress(ParameterCoordinate(QStringLiteral("A12")), 0, 2)};
    QCOMPARE(set.size(), 2);
    QCOMPARE(ParameterAddress(), ParameterAddress(QStringLiteral("A1"), true));
}

void TestModelAddress::metaTypesAreRegisteredByName()
{
    // Queued connections look the types up by these names.
    for (const char* name : {"ParameterAddress", "ParameterCoordinate", "eOnlineState"})
        QVERIFY2(QMetaType::type(name) != QMetaType::UnknownType, name);
    const QVariant v = QVariant::fromValue(ParameterAddress(QStringLiteral("1.A12[2]"), false));
    QCOMPARE(v.value<ParameterAddress>().toText(), QStringLiteral("1.A12[2]"));
}

QTEST_GUILESS_MAIN(TestModelAddress)
#include "tst_model_address.moc"
