#include "ListTestSupport.h"
#include "TestSupport.h"

#include "ParameterCustomList.h"
#include "ParameterCustomListEntry.h"
#include "ParameterCustomListRepository.h"
#include "ParameterCustomListStorage_p.h"

#include "DriveController.h"
#include "FileStorageView.h"
#include "IniParser.h"
#include "ParameterDefinition.h"
#include "ParameterProvider.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <functional>
#include <memory>

using KeyValues = QList<QPair<QByteArray, QByteArray>>;
using Change = std::function<void(KxTest::Host&)>;
Q_DECLARE_METATYPE(Change)

namespace {

ParameterCustomListRepository& repository() { return ParameterCustomListRepository::instance(); }

const QByteArray Identifier = "{0a0b0c0d-0000-4000-8000-00000000beef}";

QByteArray item(const KeyValues& axes, const KeyValues& parameters)
{
    RnIniParser::IniParser parser;
    RnIniParser::IniSection* list = parser.createSection("List");
    list->setValue("Value", Identifier);
    list->setValue("Name", "Liste");
    RnIniParser::IniSection* axesSection = parser.createSection("Axes");
    for (const auto& keyValue : axes)
        axesSection->setValue(keyValue.first, keyValue.second);
    RnIniParser::IniSection* parameterSection = parser.createSection("Parameter");
    for (const auto& keyValue : parameters)
        parameterSection->setValue(keyValue.first, keyValue.second);
    parser.createSection("States")->setValue("HeaderState", "00ff");
    return parser.getIniText();
}

QByteArray parameterSection(const QByteArray& saved)
{
    const int begin = saved.indexOf("[Parameter]\n") + 12;
    return saved.mid(begin, saved.indexOf("\n[States]") - begin);
}

ParameterCustomList* loaded(const QByteArray& data, bool touched)
{
    auto* list = static_cast<ParameterCustomList*>(repository().createList());
    if (!list->loadData(data))
        return nullptr;
    if (touched)
        list->entries();
    return list;
}

// What the tree sees of the entries, the layout included.
QStringList entryStates(ParameterCustomList* list)
{
    QStringList states;
    for (ParameterCustomListEntry* entry : qAsConst(list->entries())) {
        QStringList elements, children;
        for (quint16 e : entry->elementIndices())
            elements << QString::number(e);
        for (quint16 e : entry->childElementIndices())
            children << QString::number(e);
        states << QStringLiteral("%1 all=%2 {%3} rows {%4}")
                      .arg(entry->coordinate().toText())
                      .arg(entry->allElements())
                      .arg(elements.join(QLatin1Char(',')), children.join(QLatin1Char(',')));
    }
    return states;
}

// The reading of an entry text the entries did before it had a fast path.
ParameterCustomListStorage::EntrySelection referenceSelection(const QByteArray& text)
{
    ParameterCustomListStorage::EntrySelection selection;
    const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("\\[(.+)\\]")).match(QString::fromUtf8(text));
    if (!match.hasMatch())
        return selection;
    selection.allElements = false;
    QSet<quint16> elements;
    for (const QString& part : match.captured(1).split(QLatin1Char('/'))) {
        bool ok = false;
        const quint16 e = part.toUShort(&ok, 10);
        elements.insert(ok ? e : quint16(0));
    }
    selection.elements = QVector<quint16>(elements.cbegin(), elements.cend());
    std::sort(selection.elements.begin(), selection.elements.end());
    return selection;
}

QByteArray randomText(QRandomGenerator& random, const QByteArray& alphabet, int maximumLength)
{
    QByteArray text;
    const int length = int(random.bounded(maximumLength + 1));
    for (int i = 0; i < length; ++i)
        text += alphabet.at(int(random.bounded(alphabet.size())));
    return text;
}

} // namespace

class TestCustomListStorage : public QObject
{
    Q_OBJECT

    std::unique_ptr<KxTest::Host> host;

private slots:
    void initTestCase() { KxTest::initTestEnvironment(); }

    void init()
    {
        repository().clear();
        host.reset(new KxTest::Host(KxTest::project("feed")));
        repository().initialize(host.get());
        QCoreApplication::processEvents();
    }

    void cleanup() { repository().clear(); }

    void untouchedAndTouchedListsSaveAlike_data()
    {
        // Axis 0:1 is a "KXT-8 Mehrachs" (A11 0..3, A12 0..9, B20 a record
        // 0..2), 1:1 a "KXT-1 Kompakt" (A11 0..5, no A12, B20 simple).
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QByteArray>("expected");
        const KeyValues both{{"Axis_0", "0:1"}, {"Axis_1", "1:1"}};
        QTest::newRow("whole and selected")
            << item(both, {{"Coordinate_A11", "A11"}, {"Coordinate_A12", "A12[7/2]"}})
            << QByteArray("Coordinate_A11=A11\nCoordinate_A12=A12[2/7]\n");
        QTest::newRow("elements the axes do not define")
            << item(both, {{"Coordinate_A12", "A12[3/12/40]"}, {"Coordinate_A11", "A11[6/5]"}, {"Coordinate_A10", "A10[4]"}})
            << QByteArray("Coordinate_A10=A10\nCoordinate_A11=A11[5]\nCoordinate_A12=A12[3]\n");
        QTest::newRow("unresolved axis")
            << item({{"Axis_0", "0:1"}, {"Axis_1", "7:1"}}, {{"Coordinate_A11", "A11[5]"}, {"Coordinate_A12", "A12[1]"}})
            << QByteArray("Coordinate_A11=A11\nCoordinate_A12=A12[1]\n");
        QTest::newRow("no axes") << item({}, {{"Coordinate_A12", "A12[1]"}}) << QByteArray("Coordinate_A12=A12\n");
        QTest::newRow("one coordinate written four ways, the last key wins")
            << QByteArray("[List]\nValue=" + Identifier + "\nName=Liste\n[Axes]\nAxis_0=0:1\n[Parameter]\n"
                          "Coordinate_A12=A12[1]\nCoordinate_a12=A12[2]\nCoordinate_A012=A12[3]\n"
                          "Coordinate_A12=A12[4]\nCoordinate_ A12=A12[5]\n[States]\n")
            << QByteArray("Coordinate_A12=A12[5]\n");
        QTest::newRow("repeated key keeps its place, takes the last value")
            << QByteArray("[List]\nValue=" + Identifier + "\nName=Liste\n[Axes]\nAxis_0=0:1\n[Parameter]\n"
                          "Coordinate_a12=A12[1]\nCoordinate_A12=A12[2]\nCoordinate_a12=A12[3]\n")
            << QByteArray("Coordinate_A12=A12[2]\n");
        QTest::newRow("unknown coordinates")
            << item(both, {{"Coordinate_Z99", "Z99[1]"}, {"Coordinate_xyz", "xyz[1]"}, {"Coordinate_A1=", "A1"}})
            << QByteArray("Coordinate_A1\\==A1=\nCoordinate_xyz=xyz\nCoordinate_Z99=Z99\n");
        QTest::newRow("empty brackets") << item(both, {{"Coordinate_A12", "A12[]"}}) << QByteArray("Coordinate_A12=A12\n");
        QTest::newRow("empty and bad parts")
            << item(both, {{"Coordinate_A12", "A12[1//3]"}, {"Coordinate_A11", "A11[3/x/5/70000]"}})
            << QByteArray("Coordinate_A11=A11[0/3/5]\nCoordinate_A12=A12[0/1/3]\n");
        QTest::newRow("keys out of order, strays skipped")
            << item(both, {{"Coordinate_B20", "B20"}, {"Parameter_A11", "A11"}, {"Coordinate_", "A13"}, {"Coordinate_A10", "A10"}})
            << QByteArray("Coordinate_A10=A10\nCoordinate_B20=B20\n");
        QTest::newRow("escapes, blanks, comments and CRLF")
            << QByteArray("\xEF\xBB\xBF[List]\r\nValue=" + Identifier + "\r\nName=Liste\r\n[Axes]\r\n Axis_0 = 0:1 \r\n"
                          "[ Parameter ]\r\n; A10\r\nCoordinate\\x5FA13 = A13\r\nCoordinate_A12 =A12[1\\x2F4]\r\n"
                          "[States]\r\n")
            << QByteArray("Coordinate_A12=A12[1/4]\nCoordinate_A13=A13\n");
    }

    void untouchedAndTouchedListsSaveAlike()
    {
        QFETCH(QByteArray, data);
        QFETCH(QByteArray, expected);
        ParameterCustomList* untouched = loaded(data, false);
        ParameterCustomList* touched = loaded(data, true);
        QVERIFY(untouched && touched);

        const QByteArray saved = untouched->saveData();
        QCOMPARE(parameterSection(saved), expected);
        QCOMPARE(saved, touched->saveData());
        QCOMPARE(entryStates(untouched), entryStates(touched));
        QCOMPARE(untouched->saveData(), saved);
    }

    void laterChangesDoNotReachUntouchedLists_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<bool>("axisGoes");
        QTest::newRow("parameter removed") << Change([](KxTest::Host& h) {
            h.controller(0)->parameterProvider()->removeParameter(ParameterCoordinate(QStringLiteral("A12")));
        }) << false;
        QTest::newRow("parameter replaced by a shorter one") << Change([](KxTest::Host& h) {
            ParameterProvider* provider = h.controller(0)->parameterProvider();
            ParameterDescription description = provider->parameterDefinition(ParameterCoordinate(QStringLiteral("A12")))->description();
            description.elements.resize(5);
            provider->addParameter(description);
        }) << false;
        QTest::newRow("parameter added") << Change([](KxTest::Host& h) {
            ParameterDescription description
                = h.controller(0)->parameterProvider()->parameterDefinition(ParameterCoordinate(QStringLiteral("E50")))->description();
            for (quint16 e = 3; e < 6; ++e) {
                description.elements.append(description.elements.first());
                description.elements.last().index = e;
            }
            h.controller(1)->parameterProvider()->addParameter(description);
        }) << false;
        QTest::newRow("axis destroyed") << Change([](KxTest::Host& h) { h.controller(1)->removeAxis(1); }) << true;
        QTest::newRow("controller destroyed") << Change([](KxTest::Host& h) { delete h.controller(1); }) << true;
    }

    void laterChangesDoNotReachUntouchedLists()
    {
        // GIVEN an item whose selections and layouts depend on both controllers
        QFETCH(Change, change);
        const QByteArray data = item({{"Axis_0", "0:1"}, {"Axis_1", "0:2"}, {"Axis_2", "1:1"}},
                                     {{"Coordinate_A10", "A10"}, {"Coordinate_A11", "A11[5]"}, {"Coordinate_A12", "A12[2/7]"},
                                      {"Coordinate_B20", "B20[1]"}, {"Coordinate_E50", "E50[4]"}, {"Coordinate_A13", "A13[1]"}});
        // ... loaded into one list that is used at once and one that is not
        ParameterCustomList* touched = loaded(data, true);
        ParameterCustomList* untouched = loaded(data, false);
        QVERIFY(touched && untouched);
        const QStringList states = entryStates(touched);

        // WHEN a provider, an axis or a controller changes before the second is first used
        change(*host);

        // THEN both still hold what the load made of the item, unlike a list
        // loaded now; but when an axis of theirs goes, both follow the axes
        // that remain, and store what loading them back makes of them
        QFETCH(bool, axisGoes);
        QCOMPARE(untouched->saveData(), touched->saveData());
        QCOMPARE(entryStates(untouched), axisGoes ? entryStates(touched) : states);
        ParameterCustomList* fresh = loaded(untouched->saveData(), false);
        QVERIFY(fresh);
        if (axisGoes) {
            QVERIFY(entryStates(untouched) != states);
            QCOMPARE(fresh->saveData(), untouched->saveData());
        } else {
            ParameterCustomList* now = loaded(data, false);
            QVERIFY(now);
            QVERIFY(parameterSection(now->saveData()) != parameterSection(touched->saveData())
                    || entryStates(now) != states);
        }
    }

    void projectRoundTripKeepsEveryByte()
    {
        // GIVEN many lists over assorted axes, saved, and an item no list can read
        const QStringList axisChoices{"0:1 0:2 1:1", "", "1:1", "2:1 0:1"};
        const QStringList parameters{"A10", "A11[1]", "A11[5]", "A12[0]", "A12[9]", "A13", "B20[2]", "E50", "G01", "H70"};
        for (int i = 0; i < 40; ++i) {
            auto* list = static_cast<ParameterCustomList*>(repository().createList());
            list->setName(QStringLiteral("Liste %1 [=]\n").arg(i));
            list->setAxes(host->axes(axisChoices.at(i % axisChoices.size())));
            for (int p = 0; p < parameters.size(); ++p) {
                if ((i + p) % 3)
                    list->addEntry(parameters.at(p));
            }
            list->setState("SplitterMain", QByteArray::number(i));
        }
        FileStorageView first;
        repository().save(&first);
        FileStorageView* items = first.storage(QStringLiteral("CustomParameterLists"));
        items->writeItem(QStringLiteral("List40"), "[List]\nName=kaputt\n");

        // WHEN it is loaded
        repository().clear();
        QCoreApplication::processEvents();
        QSignalSpy contentChanged(&repository(), SIGNAL(repositoryContentChanged()));
        repository().load(&first);
        QCOMPARE(contentChanged.count(), 1);
        QCOMPARE(repository().content().size(), 40);
        QCOMPARE(repository().unreadableListCount(), 1);
        QTest::qWait(10);
        QCOMPARE(contentChanged.count(), 1);

        // THEN saving the untouched lists and then the touched ones gives the same items
        FileStorageView second;
        repository().save(&second);
        for (ParameterCustomListInformation* list : repository().content())
            static_cast<ParameterCustomList*>(list)->entries();
        FileStorageView third;
        repository().save(&third);
        FileStorageView* secondItems = second.storage(QStringLiteral("CustomParameterLists"));
        FileStorageView* thirdItems = third.storage(QStringLiteral("CustomParameterLists"));
        QCOMPARE(secondItems->itemNames(), items->itemNames());
        for (const QString& name : items->itemNames()) {
            QCOMPARE(secondItems->readItem(name), items->readItem(name));
            QCOMPARE(thirdItems->readItem(name), items->readItem(name));
        }
    }

    void fastPathsReadAndWriteAsTheParserDoes()
    {
        // Differential: the plain-text shortcuts against the general readings,
        // on texts built from the characters that matter to them.
        QRandomGenerator random(20261206);
        const QByteArray entryAlphabet("A12[]//0123456789 x\t\n\r+-\xc3\xa4\\");
        for (int i = 0; i < 20000; ++i) {
            const QByteArray text = randomText(random, entryAlphabet, 14);
            const ParameterCustomListStorage::EntrySelection fast = ParameterCustomListStorage::readEntryText(text);
            const ParameterCustomListStorage::EntrySelection reference = referenceSelection(text);
            QVERIFY2(fast.allElements == reference.allElements && fast.elements == reference.elements, text.toHex().constData());
        }

        const QByteArray fieldAlphabet(" \t=[];#\\\x01\x7f\xc3\xa4\xe2\x82\xac\xff\x80" "abcAZ09_:\n\r");
        for (int i = 0; i < 5000; ++i) {
            const QByteArray key = randomText(random, fieldAlphabet, 6);
            const QByteArray value = randomText(random, fieldAlphabet, 6);
            RnIniParser::IniParser parser;
            parser.createSection("S")->setValue(key, value);
            QByteArray line;
            ParameterCustomListStorage::appendIniLine(line, key, value);
            QCOMPARE(QByteArray("[S]\n") + line, parser.getIniText());
        }
    }

    void commonAndGeneralReadingsAgree()
    {
        // GIVEN texts mixed from lines that the common path takes and lines
        // that are odd; a line "\" after each "[Parameter]" changes nothing
        // for the parser but sends the reading down the general path
        const QList<QByteArray> pool{
            "[Parameter]", "[Parameter]", "[Parameter]", "[ Parameter ]", "[List]", "[Axes]", "[States]", "[Other]",
            "Value=" + Identifier, "Name=Liste", "Name=", "Axis_0=0:1", "Axis_1=1:1", "Axis_2=0:2", "Axis_0=9:9",
            "Coordinate_A10=A10", "Coordinate_A11=A11[5/1]", "Coordinate_A12=A12[2//7]", "Coordinate_A12=A12[]",
            "Coordinate_B20=B20[1]", "Coordinate_a11=A11[0]", "Coordinate_Z99=Z99", "Coordinate_A13 = A13[1] ",
            "Coordinate_E50=", "Coordinate_x=1", "; Coordinate_A10=A10", "Coordinate_A12", "", "  ", "[broken",
            "HeaderState=00ff", "Coordinate_A100=A100[3]"};
        QRandomGenerator random(6122026);
        int accepted = 0;
        for (int i = 0; i < 400; ++i) {
            // Mostly the shape saveData() writes, so that many texts are accepted.
            QByteArray text = random.bounded(4) ? "[List]\nValue=" + Identifier + "\nName=Liste\n[Axes]\nAxis_0=0:1\n"
                                                  "Axis_1=1:1\n[Parameter]\n"
                                                : QByteArray();
            const int lines = 4 + int(random.bounded(14));
            for (int l = 0; l < lines; ++l)
                text += pool.at(int(random.bounded(pool.size()))) + (random.bounded(4) ? "\n" : "\r\n");
            QByteArray general = text;
            general.replace("[Parameter]\n", "[Parameter]\n\\\n");
            general.replace("[Parameter]\r\n", "[Parameter]\r\n\\\r\n");

            ParameterCustomList* common = static_cast<ParameterCustomList*>(repository().createList());
            ParameterCustomList* reference = static_cast<ParameterCustomList*>(repository().createList());
            const bool commonAccepted = common->loadData(text);
            QCOMPARE(commonAccepted, reference->loadData(general));
            QCOMPARE(common->identifier() == QLatin1String(Identifier), reference->identifier() == QLatin1String(Identifier));
            QCOMPARE(common->name(), reference->name());
            if (commonAccepted) {
                ++accepted;
                QCOMPARE(common->saveData(), reference->saveData());
            }
            repository().deleteList(common);
            repository().deleteList(reference);
        }
        QVERIFY(accepted > 100);
    }
};

QTEST_MAIN(TestCustomListStorage)
#include "tst_customliststorage.moc"
