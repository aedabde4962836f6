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

// What a fresh parser holds of `text`, and the text it writes of that.
QPair<Content, QByteArray> parsed(const QByteArray& text)
{
    IniParser parser;
    parser.setIniText(text);
    return {contentOf(parser), parser.getIniText()};
}

} // namespace

class IniParserTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KxTest::initTestEnvironment(); }

    void awkwardBytesRoundTrip_data()
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

    void awkwardBytesRoundTrip()
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

        // THEN all comes back; two blank separators, three headers and five key lines; valid UTF-8
        const QByteArray text = parser.getIniText();
        QVERIFY2(parsed(text).first == contentOf(parser), text.toPercentEncoding().constData());
        QCOMPARE(text.count('\n'), 10);
        QVERIFY(!text.contains('\r'));
        QVERIFY(isWellFormedUtf8(text));
    }

    void textStaysReadable_data()
    {
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("umlauts and punctuation as they are")
            << QByteArray("Größe") << QByteArray("50 % = halb; #3 [mm]") << QByteArray("Größe=50 % = halb; #3 [mm]");
        QTest::newRow("line break") << QByteArray("Text") << QByteArray("Zeile 1\nZeile 2") << QByteArray("Text=Zeile 1\\nZeile 2");
        QTest::newRow("equals sign and comment lookalike in key") << QByteArray(";a=b") << QByteArray("c") << QByteArray("\\;a\\=b=c");
        QTest::newRow("blanks at the ends, invalid byte") << QByteArray(" k") << QByteArray("\xff\t") << QByteArray("\\x20k=\\xFF\\t");
        QTest::newRow("backslash") << QByteArray("Pfad") << QByteArray("C:\\Daten") << QByteArray("Pfad=C:\\\\Daten");
    }

    void textStaysReadable()
    {
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, value);
        QFETCH(QByteArray, line);
        // Only what would break the structure is escaped.
        IniParser parser;
        parser.createSection("Liste")->setValue(key, value);
        QCOMPARE(parser.getIniText(), QByteArray("[Liste]\n" + line + '\n'));
    }

    void tolerantParsing_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("orphan lines and lines without equals sign ignored")
            << QByteArray("waise=1\n[A]\nnur Text\nk=v\n") << QByteArray("A{k=v}");
        QTest::newRow("repeated key: last value, first position") << QByteArray("[A]\nk=1\nj=2\nk=3\n") << QByteArray("A{k=3,j=2}");
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
        QTest::newRow("empty sections, keys and values kept, lone brackets") << QByteArray("[A]\n[\n]\n[]\n=\n") << QByteArray("A{} {=}");
    }

    void tolerantParsing()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, content);
        // GIVEN old content WHEN a hand-written or damaged text is parsed THEN only its usable part is held
        IniParser parser;
        parser.createSection("Alt")->setValue("k", "v");
        parser.setIniText(text);
        QCOMPARE(describe(parser), content);
    }

    void garbageSettlesAfterOneRoundTrip()
    {
        QRandomGenerator random(2024);
        static const QByteArray structural("[]=\n\r\\;# \tx");
        for (int round = 0; round < 500; ++round) {
            QByteArray garbage;
            for (int i = random.bounded(200); i > 0; --i)
                garbage += random.bounded(3) == 0 ? char(random.bounded(256)) : structural.at(random.bounded(structural.size()));
            const auto first = parsed(garbage);
            QVERIFY2(parsed(first.second) == first, garbage.toPercentEncoding().constData());
        }
    }

    void sectionsAndKeysThroughTheInterface()
    {
        // A key set again keeps its place; sections are made once.
        IniParser parser;
        IniSection* section = parser.createSection("Achsen");
        for (const char* pair : {"k=1", "j=2", "m=3", "k=4"})
            section->setValue(QByteArray(pair).left(1), QByteArray(pair).mid(2));
        section->removeKey("j");
        section->removeKey("fehlt");
        QCOMPARE(describe(parser), QByteArray("Achsen{k=4,m=3}"));
        QCOMPARE(parser.createSection("Achsen"), section);
        QVERIFY(!parser.section("Andere"));
        parser.createSection("Andere");
        parser.removeSection("Achsen");
        QCOMPARE(parser.sectionNames(), QList<QByteArray>{"Andere"});
    }
};

QTEST_GUILESS_MAIN(IniParserTest)
#include "tst_iniparser.moc"
