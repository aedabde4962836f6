#include "IniParser.h"
#include "TestSupport.h"

#include <QHash>
#include <QRandomGenerator>
#include <QtTest>

using RnIniParser::IniParser;
using RnIniParser::IniSection;

namespace {

// An independent model of what a parser should hold, filled alongside it.
struct ModelSection
{
    QByteArray name;
    QList<QByteArray> keys;
    QHash<QByteArray, QByteArray> values;

    void set(const QByteArray& key, const QByteArray& value)
    {
        if (!values.contains(key))
            keys.append(key);
        values.insert(key, value);
    }
};

// Qt's decoder replaces overlong forms, surrogates and stray bytes, so only
// well-formed UTF-8 survives the trip through QString unchanged.
bool isWellFormedUtf8(const QByteArray& text)
{
    return QString::fromUtf8(text).toUtf8() == text;
}

QByteArray shown(const QByteArray& bytes)
{
    return bytes.toPercentEncoding(" ;#[]=");
}

// Biased towards the bytes that threaten the line structure, with some
// arbitrary bytes and well-formed multi-byte characters in between.
QByteArray randomBytes(QRandomGenerator& random, int maxLength)
{
    static const QByteArray awkward("\n\r=[];#\\ \t\0\x01\x7f\xff\x80\xc3", 16);
    static const QByteArray multiByte[] = {QByteArray("ä"), QByteArray("€"), QByteArray("😀"), QByteArray("\xef\xbb\xbf")};
    static const QByteArray plain("abcxyzABC019_-.");
    QByteArray bytes;
    const int length = random.bounded(maxLength + 1);
    while (bytes.size() < length) {
        const int choice = random.bounded(10);
        if (choice < 4)
            bytes += awkward.at(random.bounded(awkward.size()));
        else if (choice < 6)
            bytes += char(random.bounded(256));
        else if (choice < 7)
            bytes += multiByte[random.bounded(4)];
        else
            bytes += plain.at(random.bounded(plain.size()));
    }
    return bytes;
}

// Compares a parser with the model; returns a description of the first
// difference, empty when they agree.
QString difference(const IniParser& parser, const QList<ModelSection>& model)
{
    const QList<QByteArray> names = parser.sectionNames();
    if (names.size() != model.size())
        return QStringLiteral("%1 sections instead of %2").arg(names.size()).arg(model.size());
    for (int s = 0; s < model.size(); ++s) {
        const ModelSection& expected = model.at(s);
        if (names.at(s) != expected.name)
            return QStringLiteral("section %1 is named '%2' instead of '%3'")
                .arg(s)
                .arg(QString::fromLatin1(shown(names.at(s))), QString::fromLatin1(shown(expected.name)));
        const IniSection* section = parser.section(expected.name);
        if (!section)
            return QStringLiteral("section '%1' cannot be looked up").arg(QString::fromLatin1(shown(expected.name)));
        if (section->keys() != expected.keys)
            return QStringLiteral("keys of section '%1' differ").arg(QString::fromLatin1(shown(expected.name)));
        for (const QByteArray& key : expected.keys) {
            if (section->value(key) != expected.values.value(key))
                return QStringLiteral("value of '%1' in '%2' is '%3' instead of '%4'")
                    .arg(QString::fromLatin1(shown(key)), QString::fromLatin1(shown(expected.name)),
                         QString::fromLatin1(shown(section->value(key))),
                         QString::fromLatin1(shown(expected.values.value(key))));
        }
    }
    return {};
}

QList<ModelSection> modelOf(const IniParser& parser)
{
    QList<ModelSection> model;
    for (const QByteArray& name : parser.sectionNames()) {
        ModelSection section{name, {}, {}};
        const IniSection* source = parser.section(name);
        for (const QByteArray& key : source->keys())
            section.set(key, source->value(key));
        model.append(section);
    }
    return model;
}

// "A{k=v,j=w} B{}" for texts with plain names, keys and values.
QByteArray describe(const IniParser& parser)
{
    QList<QByteArray> parts;
    for (const QByteArray& name : parser.sectionNames()) {
        QList<QByteArray> pairs;
        const IniSection* section = parser.section(name);
        for (const QByteArray& key : section->keys())
            pairs.append(key + '=' + section->value(key));
        parts.append(name + '{' + pairs.join(',') + '}');
    }
    return parts.join(' ');
}

} // namespace

class IniParserTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void randomContentRoundTrips_data();
    void randomContentRoundTrips();
    void awkwardBytesRoundTrip_data();
    void awkwardBytesRoundTrip();
    void textStaysReadable_data();
    void textStaysReadable();
    void tolerantParsing_data();
    void tolerantParsing();
    void garbageSettlesAfterOneRoundTrip_data();
    void garbageSettlesAfterOneRoundTrip();
    void editingKeepsOrder();
    void setIniTextReplacesEverything();
};

void IniParserTest::initTestCase()
{
    KxTest::initTestEnvironment();
}

void IniParserTest::randomContentRoundTrips_data()
{
    QTest::addColumn<quint32>("seed");
    for (quint32 seed : {1u, 7u, 4242u, 20240611u, 987654321u, 3141592653u})
        QTest::addRow("seed %u", seed) << seed;
}

void IniParserTest::randomContentRoundTrips()
{
    QFETCH(quint32, seed);
    QRandomGenerator random(seed);

    // GIVEN a parser filled with random sections, keys and values, some keys
    // set twice and some removed again
    IniParser parser;
    QList<ModelSection> model;
    for (int s = 0; s < 10; ++s) {
        const QByteArray name = randomBytes(random, 12);
        IniSection* section = parser.createSection(name);
        int index = -1;
        for (int i = 0; i < model.size(); ++i)
            if (model.at(i).name == name)
                index = i;
        if (index < 0) {
            model.append(ModelSection{name, {}, {}});
            index = model.size() - 1;
        }
        for (int k = 0; k < 100; ++k) {
            const QByteArray key = randomBytes(random, 6);
            const QByteArray value = randomBytes(random, 40);
            section->setValue(key, value);
            model[index].set(key, value);
            if (random.bounded(20) == 0) {
                section->removeKey(key);
                model[index].keys.removeOne(key);
                model[index].values.remove(key);
            }
        }
    }
    QVERIFY2(difference(parser, model).isEmpty(),
             qPrintable(QStringLiteral("seed %1: parser disagrees with model: ").arg(seed) + difference(parser, model)));

    // WHEN its text is read by a fresh parser
    const QByteArray text = parser.getIniText();
    IniParser reread;
    reread.setIniText(text);

    // THEN every name, key and value comes back byte for byte, in order,
    // and writing again gives the same text
    const QString problem = difference(reread, model);
    QVERIFY2(problem.isEmpty(), qPrintable(QStringLiteral("seed %1: ").arg(seed) + problem));
    QVERIFY2(reread.getIniText() == text, qPrintable(QStringLiteral("seed %1: text not stable").arg(seed)));
    QVERIFY2(isWellFormedUtf8(text), qPrintable(QStringLiteral("seed %1: text is not well-formed UTF-8").arg(seed)));
}

void IniParserTest::awkwardBytesRoundTrip_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("line feed") << QByteArray("a\nb");
    QTest::newRow("carriage return") << QByteArray("a\rb");
    QTest::newRow("CR LF") << QByteArray("a\r\nb");
    QTest::newRow("only line breaks") << QByteArray("\n\r\n\r");
    QTest::newRow("equals sign") << QByteArray("a=b");
    QTest::newRow("leading equals sign") << QByteArray("=a");
    QTest::newRow("only equals signs") << QByteArray("==");
    QTest::newRow("open bracket first") << QByteArray("[a");
    QTest::newRow("whole section header") << QByteArray("[a]");
    QTest::newRow("closing bracket last") << QByteArray("a]");
    QTest::newRow("semicolon first") << QByteArray(";a");
    QTest::newRow("hash first") << QByteArray("#a");
    QTest::newRow("backslash inside") << QByteArray("a\\b");
    QTest::newRow("backslash last") << QByteArray("a\\");
    QTest::newRow("backslash before bracket") << QByteArray("\\]");
    QTest::newRow("literal escape sequences") << QByteArray("\\n\\x41\\=\\t\\0");
    QTest::newRow("leading blanks") << QByteArray("  \t a");
    QTest::newRow("trailing blanks") << QByteArray("a \t ");
    QTest::newRow("only blanks") << QByteArray(" \t ");
    QTest::newRow("inner blanks") << QByteArray("a \t b");
    QTest::newRow("empty") << QByteArray("");
    QTest::newRow("NUL inside") << QByteArray("a\0b", 3);
    QTest::newRow("only NUL") << QByteArray(1, '\0');
    QTest::newRow("control bytes") << QByteArray("\x01\x1b\x7f");
    QTest::newRow("invalid lead bytes") << QByteArray("\xff\xfe");
    QTest::newRow("lone continuation byte") << QByteArray("\x80");
    QTest::newRow("truncated sequence at end") << QByteArray("a\xc3");
    QTest::newRow("overlong slash") << QByteArray("\xc0\xaf");
    QTest::newRow("encoded surrogate") << QByteArray("\xed\xa0\x80");
    QTest::newRow("byte order mark first") << QByteArray("\xef\xbb\xbf" "a");
    QTest::newRow("C1 next line") << QByteArray("\xc2\x85");
    QTest::newRow("valid multi-byte text") << QByteArray("Grüße € 😀");
}

void IniParserTest::awkwardBytesRoundTrip()
{
    QFETCH(QByteArray, bytes);

    // GIVEN the bytes as section name, as key and as value, in a section
    // between two plain ones
    IniParser parser;
    parser.createSection("before")->setValue("k", "v");
    IniSection* section = parser.createSection(bytes);
    section->setValue(bytes, bytes);
    section->setValue("plain", bytes);
    section->setValue(bytes + "=", "after");
    parser.createSection("after")->setValue("k", "v");
    const QList<ModelSection> model = modelOf(parser);

    // WHEN written and read back
    const QByteArray text = parser.getIniText();
    IniParser reread;
    reread.setIniText(text);

    // THEN everything is back, and no byte broke the line structure: two
    // blank separator lines, three headers and five key lines
    const QString problem = difference(reread, model);
    QVERIFY2(problem.isEmpty(), qPrintable(problem + QStringLiteral("\ntext: ") + QString::fromLatin1(shown(text))));
    QCOMPARE(text.count('\n'), 10);
    QVERIFY(!text.contains('\r'));

    // AND the text is well-formed UTF-8 that any editor keeps as it is
    QVERIFY2(isWellFormedUtf8(text), qPrintable(QString::fromLatin1(shown(text))));
}

void IniParserTest::textStaysReadable_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("umlauts and punctuation as they are")
        << QByteArray("Größe") << QByteArray("50 % = halb; #3 [mm]") << QByteArray("Größe=50 % = halb; #3 [mm]");
    QTest::newRow("line break") << QByteArray("Text") << QByteArray("Zeile 1\nZeile 2") << QByteArray("Text=Zeile 1\\nZeile 2");
    QTest::newRow("equals sign in key") << QByteArray("a=b") << QByteArray("c") << QByteArray("a\\=b=c");
    QTest::newRow("blanks at the ends") << QByteArray(" k") << QByteArray("v\t") << QByteArray("\\x20k=v\\t");
    QTest::newRow("comment lookalike key") << QByteArray(";k") << QByteArray("v") << QByteArray("\\;k=v");
    QTest::newRow("invalid byte") << QByteArray("k") << QByteArray("\xff") << QByteArray("k=\\xFF");
    QTest::newRow("backslash") << QByteArray("Pfad") << QByteArray("C:\\Daten") << QByteArray("Pfad=C:\\\\Daten");
}

void IniParserTest::textStaysReadable()
{
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, line);

    // GIVEN one key in a plain section
    IniParser parser;
    parser.createSection("Liste")->setValue(key, value);

    // WHEN written THEN the line shows printable text as it is and escapes
    // only what would break the structure
    QCOMPARE(parser.getIniText(), QByteArray("[Liste]\n" + line + '\n'));
}

void IniParserTest::tolerantParsing_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("lines before the first section ignored") << QByteArray("waise=1\n[A]\nk=v\n") << QByteArray("A{k=v}");
    QTest::newRow("lines without equals sign ignored") << QByteArray("[A]\nnur Text\nk=v\n") << QByteArray("A{k=v}");
    QTest::newRow("repeated key: last value, first position")
        << QByteArray("[A]\nk=1\nj=2\nk=3\n") << QByteArray("A{k=3,j=2}");
    QTest::newRow("CR LF line ends") << QByteArray("[A]\r\nk=v\r\nj=w\r\n") << QByteArray("A{k=v,j=w}");
    QTest::newRow("CR line ends") << QByteArray("[A]\rk=v\rj=w") << QByteArray("A{k=v,j=w}");
    QTest::newRow("comment lines") << QByteArray("; c\n# c\n[A]\n;k=1\n  # x=2\nk=v\n") << QByteArray("A{k=v}");
    QTest::newRow("blanks around names, keys and values")
        << QByteArray("  [ A ]  \n\t k \t=  v  \n") << QByteArray("A{k=v}");
    QTest::newRow("repeated section continues the first")
        << QByteArray("[A]\nk=1\n[B]\nx=1\n[A]\nj=2\n") << QByteArray("A{k=1,j=2} B{x=1}");
    QTest::newRow("unterminated section header ignored") << QByteArray("[A]\nk=1\n[B\nj=2\n") << QByteArray("A{k=1,j=2}");
    QTest::newRow("value keeps further equals signs") << QByteArray("[A]\nk=a=b\n") << QByteArray("A{k=a=b}");
    QTest::newRow("unknown escapes keep the backslash")
        << QByteArray("[A]\nPfad=C:\\Temp\\Daten\n") << QByteArray("A{Pfad=C:\\Temp\\Daten}");
    QTest::newRow("incomplete hex escape kept") << QByteArray("[A]\nk=\\x4\n") << QByteArray("A{k=\\x4}");
    QTest::newRow("backslash at the very end") << QByteArray("[A]\nk=v\\") << QByteArray("A{k=v\\}");
    QTest::newRow("byte order mark before the text") << QByteArray("\xef\xbb\xbf[A]\nk=v\n") << QByteArray("A{k=v}");
    QTest::newRow("sections without keys kept") << QByteArray("[A]\n[B]\nk=v") << QByteArray("A{} B{k=v}");
    QTest::newRow("empty key and empty value") << QByteArray("[A]\n=\n") << QByteArray("A{=}");
    QTest::newRow("lone brackets") << QByteArray("[\n]\n[]\nk=v\n") << QByteArray("{k=v}");
    QTest::newRow("empty text") << QByteArray("") << QByteArray("");
}

void IniParserTest::tolerantParsing()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, content);

    // GIVEN a hand-written or damaged text WHEN it is parsed
    IniParser parser;
    parser.setIniText(text);

    // THEN the usable sections and keys are taken and the rest is skipped
    QCOMPARE(describe(parser), content);
}

void IniParserTest::garbageSettlesAfterOneRoundTrip_data()
{
    QTest::addColumn<quint32>("seed");
    for (quint32 seed : {11u, 2024u, 65537u})
        QTest::addRow("seed %u", seed) << seed;
}

void IniParserTest::garbageSettlesAfterOneRoundTrip()
{
    QFETCH(quint32, seed);
    QRandomGenerator random(seed);
    static const QByteArray structural("[]=\n\r\\;# \tx");

    for (int round = 0; round < 1000; ++round) {
        // GIVEN arbitrary bytes, rich in structural characters
        QByteArray garbage;
        const int length = random.bounded(200);
        for (int i = 0; i < length; ++i)
            garbage += random.bounded(3) == 0 ? char(random.bounded(256)) : structural.at(random.bounded(structural.size()));

        // WHEN parsed, written, and the written text parsed again
        IniParser first;
        first.setIniText(garbage);
        const QByteArray text = first.getIniText();
        IniParser second;
        second.setIniText(text);

        // THEN nothing crashed and the second parse holds exactly the first
        const QString problem = difference(second, modelOf(first));
        QVERIFY2(problem.isEmpty(), qPrintable(QStringLiteral("seed %1, round %2, input %3: %4")
                                                   .arg(seed)
                                                   .arg(round)
                                                   .arg(QString::fromLatin1(shown(garbage)), problem)));
        QVERIFY2(second.getIniText() == text,
                 qPrintable(QStringLiteral("seed %1, round %2: text not stable").arg(seed).arg(round)));
    }
}

void IniParserTest::editingKeepsOrder()
{
    // GIVEN a section with three keys
    IniParser parser;
    IniSection* section = parser.createSection("Achsen");
    section->setValue("Achse_0", "a");
    section->setValue("Achse_1", "b");
    section->setValue("Achse_2", "c");

    // WHEN a key is replaced, one removed and one added
    section->setValue("Achse_1", "neu");
    section->removeKey("Achse_0");
    section->removeKey("fehlt");
    section->setValue("Achse_0", "wieder");

    // THEN the replaced key kept its place and the re-added one is last
    QCOMPARE(section->keys(), (QList<QByteArray>{"Achse_1", "Achse_2", "Achse_0"}));
    QCOMPARE(section->value("Achse_1"), QByteArray("neu"));
    QVERIFY(section->contains("Achse_0"));
    QVERIFY(!section->contains("fehlt"));
    QVERIFY(section->value("fehlt").isEmpty());

    // AND asking for the section again gives the same one, not a second
    QCOMPARE(parser.createSection("Achsen"), section);
    QCOMPARE(parser.section("Achsen"), section);
    QCOMPARE(parser.sectionNames().size(), 1);
    QVERIFY(!parser.section("Andere"));
    parser.createSection("Andere");
    parser.removeSection("Achsen");
    QCOMPARE(parser.sectionNames(), QList<QByteArray>{"Andere"});
}

void IniParserTest::setIniTextReplacesEverything()
{
    // GIVEN a parser with content
    IniParser parser;
    parser.createSection("Alt")->setValue("k", "v");

    // WHEN it is given another text
    parser.setIniText("[Neu]\nx=1\n");

    // THEN only the new content is left
    QCOMPARE(parser.sectionNames(), QList<QByteArray>{"Neu"});
    QVERIFY(!parser.section("Alt"));
    QCOMPARE(parser.section("Neu")->value("x"), QByteArray("1"));
}

QTEST_GUILESS_MAIN(IniParserTest)
#include "tst_iniparser.moc"
