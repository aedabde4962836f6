#include "IniParser.h"
#include "TestSupport.h"

#include <QRandomGenerator>
#include <QtTest>

using RnIniParser::IniParser;
using RnIniParser::IniSection;

namespace {

// One list per section: name, then key and value in turn.
using Content = QList<QByteArrayList>;

Content contentOf(const IniParser& parser)
{
    Content content;
    for (const QByteArray& name : parser.sectionNames()) {
        QByteArrayList section{name};
        if (const IniSection* source = parser.section(name))
            for (const QByteArray& key : source->keys())
                section << key << source->value(key);
        content.append(section);
    }
    return content;
}

// "A{k=v,j=w} B{}" for texts with plain names, keys and values.
QByteArray describe(const IniParser& parser)
{
    QByteArrayList parts;
    for (const QByteArrayList& section : contentOf(parser)) {
        QByteArrayList pairs;
        for (int i = 1; i + 1 < section.size(); i += 2)
            pairs.append(section.at(i) + '=' + section.at(i + 1));
        parts.append(section.first() + '{' + pairs.join(',') + '}');
    }
    return parts.join(' ');
}

// Qt's decoder replaces overlong forms, surrogates and stray bytes, so only
// well-formed UTF-8 survives the trip through QString unchanged.
bool isWellFormedUtf8(const QByteArray& text)
{
    return QString::fromUtf8(text).toUtf8() == text;
}

// Biased towards the bytes that threaten the line structure, with some
// arbitrary bytes and well-formed multi-byte characters.
QByteArray randomBytes(QRandomGenerator& random, int maxLength)
{
    static const QByteArray awkward("\n\r=[];#\\ \t\0\x01\x7f\xff\x80\xc3" "abcxyz", 22);
    QByteArray bytes;
    for (int i = random.bounded(maxLength + 1); i > 0; --i) {
        const int choice = random.bounded(8);
        if (choice == 0)
            bytes += char(random.bounded(256));
        else
            bytes += choice == 1 ? QByteArray("ä😀\xef\xbb\xbf") : QByteArray(1, awkward.at(random.bounded(awkward.size())));
    }
    return bytes;
}

} // namespace

#define SHOWN(bytes) (bytes).toPercentEncoding(" ;#[]=").constData()

class IniParserTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KxTest::initTestEnvironment(); }
    void randomContentRoundTrips_data();
    void randomContentRoundTrips();
    void awkwardBytesRoundTrip_data();
    void awkwardBytesRoundTrip();
    void textStaysReadable_data();
    void textStaysReadable();
    void tolerantParsing_data();
    void tolerantParsing();
    void garbageSettlesAfterOneRoundTrip();
    void sectionsAreCreatedOnce();
};

void IniParserTest::randomContentRoundTrips_data()
{
    QTest::addColumn<quint32>("seed");
    for (quint32 seed : {7u, 3141592653u})
        QTest::addRow("seed %u", seed) << seed;
}

void IniParserTest::randomContentRoundTrips()
{
    QFETCH(quint32, seed);
    QRandomGenerator random(seed);

    // GIVEN random sections, keys and values, some keys set twice or removed,
    // mirrored in an independent model
    IniParser parser;
    Content model;
    for (int s = 0; s < 6; ++s) {
        const QByteArray name = randomBytes(random, 12);
        IniSection* section = parser.createSection(name);
        int index = 0;
        while (index < model.size() && model.at(index).first() != name)
            ++index;
        if (index == model.size())
            model.append(QByteArrayList{name});
        QByteArrayList& expected = model[index];
        for (int k = 0; k < 60; ++k) {
            const QByteArray key = randomBytes(random, 6);
            const QByteArray value = randomBytes(random, 40);
            const bool remove = random.bounded(20) == 0;
            section->setValue(key, value);
            if (remove)
                section->removeKey(key);
            int at = 1;
            while (at < expected.size() && expected.at(at) != key)
                at += 2;
            if (remove && at < expected.size())
                expected.erase(expected.begin() + at, expected.begin() + at + 2);
            else if (at < expected.size())
                expected[at + 1] = value;
            else if (!remove)
                expected << key << value;
        }
    }
    QVERIFY(contentOf(parser) == model);

    // WHEN its text is read by a fresh parser
    const QByteArray text = parser.getIniText();
    IniParser reread;
    reread.setIniText(text);

    // THEN everything comes back byte for byte and in order, the text is
    // stable and well-formed UTF-8
    QVERIFY2(contentOf(reread) == model, SHOWN(text));
    QCOMPARE(reread.getIniText(), text);
    QVERIFY(isWellFormedUtf8(text));
}

void IniParserTest::awkwardBytesRoundTrip_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("CR LF") << QByteArray("a\r\nb");
    QTest::newRow("structure characters") << QByteArray("[a]=;#b");
    QTest::newRow("backslashes and literal escapes") << QByteArray("\\n\\x41\\=\\");
    QTest::newRow("blanks at the ends") << QByteArray(" \t a \t ");
    QTest::newRow("empty") << QByteArray("");
    QTest::newRow("NUL and control bytes") << QByteArray("a\0\x01\x1b\x7f", 5);
    QTest::newRow("invalid UTF-8") << QByteArray("\xff\x80\xc0\xaf\xed\xa0\x80" "a\xc3");
    QTest::newRow("byte order mark, C1 line break") << QByteArray("\xef\xbb\xbf" "a\xc2\x85");
}

void IniParserTest::awkwardBytesRoundTrip()
{
    QFETCH(QByteArray, bytes);

    // GIVEN the bytes as section name, key and value, between plain sections
    IniParser parser;
    parser.createSection("before")->setValue("k", "v");
    IniSection* section = parser.createSection(bytes);
    section->setValue(bytes, bytes);
    section->setValue("plain", bytes);
    section->setValue(bytes + "=", "after");
    parser.createSection("after")->setValue("k", "v");

    // WHEN written and read back
    const QByteArray text = parser.getIniText();
    IniParser reread;
    reread.setIniText(text);

    // THEN everything is back, and the line structure is intact: two blank
    // separators, three headers, five key lines; valid UTF-8 throughout
    QVERIFY2(contentOf(reread) == contentOf(parser), SHOWN(text));
    QCOMPARE(text.count('\n'), 10);
    QVERIFY(!text.contains('\r'));
    QVERIFY2(isWellFormedUtf8(text), SHOWN(text));
}

void IniParserTest::textStaysReadable_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("umlauts and punctuation as they are")
        << QByteArray("Größe") << QByteArray("50 % = halb; #3 [mm]") << QByteArray("Größe=50 % = halb; #3 [mm]");
    QTest::newRow("line break") << QByteArray("Text") << QByteArray("Zeile 1\nZeile 2") << QByteArray("Text=Zeile 1\\nZeile 2");
    QTest::newRow("equals sign and comment lookalike in key") << QByteArray(";a=b") << QByteArray("c") << QByteArray("\\;a\\=b=c");
    QTest::newRow("blanks at the ends, invalid byte")
        << QByteArray(" k") << QByteArray("\xff\t") << QByteArray("\\x20k=\\xFF\\t");
    QTest::newRow("backslash") << QByteArray("Pfad") << QByteArray("C:\\Daten") << QByteArray("Pfad=C:\\\\Daten");
}

void IniParserTest::textStaysReadable()
{
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, line);

    // GIVEN one key WHEN written THEN printable text stays as it is and only
    // what would break the structure is escaped
    IniParser parser;
    parser.createSection("Liste")->setValue(key, value);
    QCOMPARE(parser.getIniText(), QByteArray("[Liste]\n" + line + '\n'));
}

void IniParserTest::tolerantParsing_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("orphan lines and lines without equals sign ignored")
        << QByteArray("waise=1\n[A]\nnur Text\nk=v\n") << QByteArray("A{k=v}");
    QTest::newRow("repeated key: last value, first position")
        << QByteArray("[A]\nk=1\nj=2\nk=3\n") << QByteArray("A{k=3,j=2}");
    QTest::newRow("CR LF and CR line ends") << QByteArray("[A]\r\nk=v\rj=w") << QByteArray("A{k=v,j=w}");
    QTest::newRow("comments and blanks")
        << QByteArray("; c\n# c\n  [ A ]  \n;k=1\n  # x=2\n\t k \t=  v  \n") << QByteArray("A{k=v}");
    QTest::newRow("repeated section continues the first")
        << QByteArray("[A]\nk=1\n[B]\nx=1\n[A]\nj=2\n") << QByteArray("A{k=1,j=2} B{x=1}");
    QTest::newRow("unterminated header ignored, value keeps equals signs")
        << QByteArray("[A]\nk=a=b\n[B\nj=2\n") << QByteArray("A{k=a=b,j=2}");
    QTest::newRow("unknown or incomplete escapes kept")
        << QByteArray("[A]\nPfad=C:\\Temp\\x4\nk=v\\") << QByteArray("A{Pfad=C:\\Temp\\x4,k=v\\}");
    QTest::newRow("byte order mark before the text") << QByteArray("\xef\xbb\xbf[A]\nk=v\n") << QByteArray("A{k=v}");
    QTest::newRow("empty sections, keys and values kept, lone brackets")
        << QByteArray("[A]\n[\n]\n[]\n=\n") << QByteArray("A{} {=}");
    QTest::newRow("empty text") << QByteArray("") << QByteArray("");
}

void IniParserTest::tolerantParsing()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, content);

    // GIVEN a hand-written or damaged text over old content WHEN parsed THEN
    // only its usable sections and keys are held
    IniParser parser;
    parser.createSection("Alt")->setValue("k", "v");
    parser.setIniText(text);
    QCOMPARE(describe(parser), content);
}

void IniParserTest::garbageSettlesAfterOneRoundTrip()
{
    QRandomGenerator random(2024);
    static const QByteArray structural("[]=\n\r\\;# \tx");
    for (int round = 0; round < 500; ++round) {
        // GIVEN arbitrary bytes, rich in structural characters
        QByteArray garbage;
        const int length = random.bounded(200);
        for (int i = 0; i < length; ++i)
            garbage += random.bounded(3) == 0 ? char(random.bounded(256)) : structural.at(random.bounded(structural.size()));

        // WHEN parsed, written and parsed again
        IniParser first;
        first.setIniText(garbage);
        const QByteArray text = first.getIniText();
        IniParser second;
        second.setIniText(text);

        // THEN the second parse holds exactly the first, and the text is stable
        QVERIFY2(contentOf(second) == contentOf(first), SHOWN(garbage));
        QVERIFY2(second.getIniText() == text, SHOWN(garbage));
    }
}

void IniParserTest::sectionsAreCreatedOnce()
{
    // GIVEN a section WHEN it is asked for again THEN the same one comes back
    IniParser parser;
    IniSection* section = parser.createSection("Achsen");
    section->removeKey("fehlt");
    QCOMPARE(parser.createSection("Achsen"), section);
    QVERIFY(!parser.section("Andere"));

    // WHEN another is added and the first removed THEN only the other is left
    parser.createSection("Andere");
    parser.removeSection("Achsen");
    QCOMPARE(parser.sectionNames(), QList<QByteArray>{"Andere"});
}

QTEST_GUILESS_MAIN(IniParserTest)
#include "tst_iniparser.moc"
