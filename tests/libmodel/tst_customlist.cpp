#include "ListTestSupport.h"
#include "TestSupport.h"

#include "ParameterCustomList.h"
#include "ParameterCustomListEntry.h"
#include "ParameterCustomListRepository.h"

#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "FileStorageView.h"
#include "IniParser.h"
#include "ParameterCustomListHost.h"
#include "ParameterSetup.h"
#include "ParameterView.h"
#include "ProjectFile.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

using Axes = QList<QPointer<DriveControllerAxis>>;
using KeyValues = QList<QPair<QByteArray, QByteArray>>;

using Change = std::function<void(ParameterCustomList&)>;
Q_DECLARE_METATYPE(Change)

namespace {

ParameterCustomListRepository& repository() { return ParameterCustomListRepository::instance(); }

KeyValues sectionOf(const QByteArray& ini, const QByteArray& name)
{
    RnIniParser::IniParser parser;
    parser.setIniText(ini);
    KeyValues result;
    if (const RnIniParser::IniSection* section = parser.section(name)) {
        for (const QByteArray& key : section->keys())
            result.append(qMakePair(key, section->value(key)));
    }
    return result;
}

QByteArray iniText(const QList<QPair<QByteArray, KeyValues>>& sections)
{
    RnIniParser::IniParser parser;
    for (const auto& section : sections) {
        RnIniParser::IniSection* s = parser.createSection(section.first);
        for (const auto& keyValue : section.second)
            s->setValue(keyValue.first, keyValue.second);
    }
    return parser.getIniText();
}

ParameterCustomList* newList() { return static_cast<ParameterCustomList*>(repository().createList()); }

QString describe(ParameterCustomList* list) { return KxTest::describe(*list); }

QStringList axisIdentifiers(ParameterCustomList* list)
{
    QStringList result;
    for (const QPointer<DriveControllerAxis>& axis : list->axes())
        result.append(QString::fromUtf8(repository().driveControllerAxisSaveIdentifier(axis)));
    return result;
}

QList<ParameterCustomList*> lists()
{
    QList<ParameterCustomList*> result;
    for (ParameterCustomListInformation* list : repository().content())
        result.append(static_cast<ParameterCustomList*>(list));
    return result;
}

} // namespace

class TestCustomList : public QObject
{
    Q_OBJECT

    std::unique_ptr<KxTest::Host> host;
    Axes axes(const QString& names) const { return host->axes(names); }

    void useHost(const QByteArray& json)
    {
        host.reset(new KxTest::Host(json));
        repository().initialize(host.get());
    }

private slots:
    void initTestCase() { KxTest::initTestEnvironment(); }

    void init()
    {
        useHost(KxTest::project("feed"));
        repository().clear();
        QCoreApplication::processEvents();
    }

    // "+" adds, "-" removes, "<" imports a text; each call posts one notice, unless its text names no parameter.
    void editEntries_data()
    {
        QTest::addColumn<QString>("axes");
        QTest::addColumn<QStringList>("edits");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("notices");
        const QString feed = QStringLiteral("0:1 0:2");
        QTest::newRow("second element adds") << feed << QStringList{"+A12[3]", "+A12[5]"} << "A12[3/5]" << 2;
        QTest::newRow("element after whole keeps whole") << feed << QStringList{"+A12", "+A12[3]"} << "A12" << 2;
        QTest::newRow("whole after element") << feed << QStringList{"+A12[3]", "+A12"} << "A12" << 2;
        QTest::newRow("element no axis defines") << feed << QStringList{"+A12[12]"} << "A12[]" << 1;
        QTest::newRow("lenient text, coordinate order") << feed << QStringList{"+B20", "+ a12[4] "} << "A12[4] B20" << 2;
        QTest::newRow("without axes nothing stays") << "" << QStringList{"+A12[3]", "+A12[5]"} << "A12[]" << 2;
        QTest::newRow("texts naming no parameter") << feed << QStringList{"+A10", "+", "-", "+Drehzahl", "-A", "+A12[x]", "-A12[x]"} << "A10" << 1;
        QTest::newRow("element of whole parameter") << feed << QStringList{"+A12", "-A12[3]"} << "A12[0/1/2/4/5/6/7/8/9]" << 2;
        QTest::newRow("last element leaves empty entry") << feed << QStringList{"+A12[3]", "-A12[3]"} << "A12[]" << 2;
        QTest::newRow("whole parameter removes entry") << feed << QStringList{"+A12[3]", "+A10", "-A12"} << "A10" << 3;
        QTest::newRow("import: line feeds, blanks, blank lines") << feed << QStringList{"<  A10 \t\r\n\r\n\n\tA12[1/3]  \n \r\n"} << "A10 A12[1/3]" << 1;
        QTest::newRow("import: empty brackets mean whole") << feed << QStringList{"<A12[]"} << "A12" << 1;
        QTest::newRow("import: letters in brackets mean whole") << feed << QStringList{"<A12[2/x]"} << "A12" << 1;
        QTest::newRow("import: last of duplicate lines wins") << feed << QStringList{"<A12[1]\r\nA12[2/5]\r\n"} << "A12[2/5]" << 1;
        QTest::newRow("import: elements no axis defines dropped") << feed << QStringList{"<A12[3/15]"} << "A12[3]" << 1;
        QTest::newRow("import: text after brackets ignored") << feed << QStringList{"<A12[1/2] Sollwerte"} << "A12[1/2]" << 1;
        QTest::newRow("import: lines starting with a bracket skipped") << feed << QStringList{"<[3]\n]A10\n"} << "" << 1;
        QTest::newRow("import: blanks and byte-order marks are no part of a key")
            << feed << QStringList{QString::fromUtf8("<x [1]\r\n\xEF\xBB\xBF y\r\n\xC2\xA0[3]\r\n")} << "x[] y" << 1;
        QTest::newRow("import merges into existing entries") << feed << QStringList{"+A10", "+A12[1]", "+A12[3]", "<A12[5]\r\nB20\r\n"} << "A10 A12[5] B20" << 4;
    }

    void editEntries()
    {
        QFETCH(QString, axes);
        QFETCH(QStringList, edits);
        QFETCH(QString, expected);
        QFETCH(int, notices);
        ParameterCustomList list;
        list.setAxes(this->axes(axes));
        QCoreApplication::processEvents();
        QSignalSpy entriesChanged(&list, SIGNAL(listEntriesChanged()));
        for (const QString& edit : edits) {
            if (edit.startsWith(QLatin1Char('+')))
                list.addEntry(edit.mid(1));
            else if (edit.startsWith(QLatin1Char('-')))
                list.removeEntry(edit.mid(1));
            else
                list.importText(edit.mid(1).toUtf8());
        }
        QCOMPARE(describe(&list), expected);
        QCOMPARE(entriesChanged.count(), 0);
        QTRY_COMPARE(entriesChanged.count(), notices);
        QTest::qWait(20);
        QCOMPARE(entriesChanged.count(), notices);
        // the exported text makes the same list, an empty selection reading as the whole parameter
        ParameterCustomList copy;
        copy.setAxes(list.axes());
        copy.importText(list.exportText());
        QCOMPARE(describe(&copy), QString(expected).remove(QStringLiteral("[]")));
    }

    void changesArePosted_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<QByteArray>("signal");
        const QByteArray entriesChanged(SIGNAL(listEntriesChanged()));
        QTest::newRow("setName with same name") << Change([](ParameterCustomList& l) { l.setName(l.name()); }) << QByteArray(SIGNAL(listNameChanged()));
        QTest::newRow("setAxes") << Change([this](ParameterCustomList& l) { l.setAxes(axes(QStringLiteral("0:1"))); }) << QByteArray(SIGNAL(listAxesChanged()));
        QTest::newRow("removeEntry of missing") << Change([](ParameterCustomList& l) { l.removeEntry(QStringLiteral("A11")); }) << entriesChanged;
    }

    void changesArePosted()
    {
        QFETCH(Change, change);
        QFETCH(QByteArray, signal);
        ParameterCustomList list;
        QCoreApplication::processEvents();
        QSignalSpy spy(&list, signal.constData());
        // WHEN run twice THEN nothing arrives before the event loop, then two postings
        change(list);
        change(list);
        QCOMPARE(spy.count(), 0);
        QTRY_COMPARE(spy.count(), 2);
        // WHEN the repository's signals are blocked THEN nothing is posted, not even later
        ParameterCustomListRepository::instance().blockSignals(true);
        change(list);
        ParameterCustomListRepository::instance().blockSignals(false);
        QTest::qWait(20);
        QCOMPARE(spy.count(), 2);
    }

    void destroyedAxisIsAnnouncedAtOnce()
    {
        KxTest::Host project(KxTest::controllersWithAxes({{QStringLiteral("KXT-8 Mehrachs"), 3}}));
        ParameterCustomList list;
        list.setAxes({project.axis(0, 1), project.axis(0, 2), project.axis(0, 3)});
        list.addEntry(QStringLiteral("A10"));
        QCoreApplication::processEvents();
        QSignalSpy axesChanged(&list, SIGNAL(listAxesChanged()));

        QVERIFY(project.controller(0)->removeAxis(2));

        // THEN the list says so at once and no longer hands the axis out
        QCOMPARE(axesChanged.count(), 1);
        QCOMPARE(list.axes(), (Axes{project.axis(0, 1), project.axis(0, 3)}));
        QCOMPARE(list.entries().value(ParameterCoordinate(QStringLiteral("A10")))->valueText(1),
                 KxTest::setupOf(project.axis(0, 3), QStringLiteral("A10"))->valueText(3, 0, true));
    }

    void listFollowsTheAxesThatRemain_data()
    {
        QTest::addColumn<bool>("loaded");
        QTest::newRow("entries made") << false;
        QTest::newRow("loaded, entries not made yet") << true;
    }

    void listFollowsTheAxesThatRemain()
    {
        QFETCH(bool, loaded);
        // GIVEN a list over a "KXT-8 Mehrachs" (A11 0..3) and a "KXT-1 Kompakt"
        // (A11 0..5) axis, with an element that only the second defines
        ParameterCustomList* list = newList();
        list->setAxes(host->axes(QStringLiteral("0:1 1:1")));
        list->addEntry(QStringLiteral("A11[1]"));
        list->addEntry(QStringLiteral("A11[5]"));
        QCOMPARE(describe(list), QStringLiteral("A11[1/5]"));
        if (loaded) {
            const QByteArray stored = list->saveData();
            list = newList();
            QVERIFY(list->loadData(stored));
        }

        // WHEN the second controller leaves the project
        delete host->controller(1);

        // THEN the list holds, and stores, what reading it back makes of it
        const QByteArray saved = list->saveData();
        ParameterCustomList* reread = newList();
        QVERIFY(reread->loadData(saved));
        QCOMPARE(reread->saveData(), saved);
        QCOMPARE(describe(list), QStringLiteral("A11[1]"));
        QCOMPARE(describe(reread), describe(list));
    }

    void unchangedListStoresTheSameBytesInEverySession()
    {
        // GIVEN a list with window states, stored in one session
        qSetGlobalQHashSeed(1);
        ParameterCustomList* list = newList();
        list->setName(QStringLiteral("Zustände"));
        for (const char* key : {"HeaderState", "HeaderGeometry", "SplitterMain", "Window", "Column0", "Column1",
                                "Column2", "Column3", "Help", "Filter", "Sort", "Zoom"})
            list->setState(key, QByteArray(key).toHex());
        const QByteArray stored = list->saveData();

        // WHEN another session (another hash seed) reads and stores it again
        qSetGlobalQHashSeed(2);
        ParameterCustomList* reread = newList();
        const bool read = reread->loadData(stored);
        const QByteArray again = reread->saveData();
        qSetGlobalQHashSeed(-1);

        // THEN the bytes are the same
        QVERIFY(read);
        QCOMPARE(again, stored);
    }

    void setCoordinatesReplacesOnlyWhatChanged()
    {
        ParameterCustomList list;
        list.setAxes(axes(QStringLiteral("0:1 0:2")));
        list.addEntry(QStringLiteral("A12[3]"));
        list.addEntry(QStringLiteral("A10"));
        ParameterCustomListEntry* kept = list.entries().value(ParameterCoordinate(QStringLiteral("A12")));
        QCoreApplication::processEvents();
        QSignalSpy entriesChanged(&list, SIGNAL(listEntriesChanged()));

        list.setCoordinates({ParameterCoordinate(QStringLiteral("A12")), ParameterCoordinate(QStringLiteral("A11"))});

        // THEN A10 is gone, A11 is whole, A12 is the untouched old entry, and nothing is posted
        QCOMPARE(describe(&list), QStringLiteral("A11 A12[3]"));
        QCOMPARE(list.entries().value(ParameterCoordinate(QStringLiteral("A12"))), kept);
        QTest::qWait(20);
        QCOMPARE(entriesChanged.count(), 0);
    }

    void destroyingListStopsObserving()
    {
        ParameterSetup* setup = KxTest::setupOf(host->axis(0, 2), QStringLiteral("A11"));
        auto list = std::make_unique<ParameterCustomList>();
        list->setAxes(axes(QStringLiteral("0:1 0:2")));
        list->addEntry(QStringLiteral("A11"));
        list->entries().first()->attachAxes();
        QCOMPARE(setup->observedCount(2, 3), 1);
        list.reset();
        QCOMPARE(setup->observedCount(2, 3), 0);
    }

    void savedSections()
    {
        // GIVEN a list with awkward name, two axes, a whole and a limited parameter and binary states
        ParameterCustomList* list = newList();
        const QString name = QStringLiteral("Prüf=liste [1]\n;Ä");
        list->setName(name);
        list->setAxes(axes(QStringLiteral("0:2 1:1")));
        list->addEntry(QStringLiteral("A11[1]"));
        list->addEntry(QStringLiteral("A11[5]"));
        list->addEntry(QStringLiteral("A10"));
        list->setState("HeaderState", QByteArray("\x00\xff", 2));
        connect(list, &ParameterCustomListInformation::prepareSaveData, list,
                [list] { list->setState("Window", "geometry"); });

        // WHEN it is serialised
        const QByteArray ini = list->saveData();

        // THEN every section holds exactly the expected keys and values
        QCOMPARE(sectionOf(ini, "List"), (KeyValues{{"Value", list->identifier().toUtf8()}, {"Name", name.toUtf8()}}));
        QCOMPARE(sectionOf(ini, "Axes"), (KeyValues{{"Axis_0", "0:2"}, {"Axis_1", "1:1"}}));
        const KeyValues parameters = sectionOf(ini, "Parameter");
        QCOMPARE(parameters.size(), 2);
        QCOMPARE(parameters.at(0), qMakePair(QByteArray("Coordinate_A10"), QByteArray("A10")));
        QCOMPARE(parameters.at(1).first, QByteArray("Coordinate_A11"));
        QVERIFY(parameters.at(1).second == "A11[1/5]" || parameters.at(1).second == "A11[5/1]");
        KeyValues states = sectionOf(ini, "States");
        std::sort(states.begin(), states.end());
        QCOMPARE(states, (KeyValues{{"HeaderState", "00ff"}, {"Window", QByteArray("geometry").toHex()}}));
    }

    void refusedItems_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<bool>("takesIdentity");
        const KeyValues list{{"Value", "{6c3a1e52-0b7d-4a8e-9f10-2d4c5b6a7e81}"}, {"Name", "Alt"}};
        QTest::newRow("no Axes section") << iniText({{"List", list}, {"Parameter", {}}}) << false;
        QTest::newRow("not an INI text") << QByteArray("\x01\x02 Liste ohne Form") << false;
        QTest::newRow("empty name") << iniText({{"List", {{"Value", "{6c3a1e52-0b7d-4a8e-9f10-2d4c5b6a7e81}"}}},
                                                {"Axes", {}}, {"Parameter", {{"Coordinate_A10", "A10"}}}})
                                    << true;
        QTest::newRow("empty identifier") << iniText({{"List", {{"Name", "Alt"}}}, {"Axes", {}}, {"Parameter", {}}}) << true;
    }

    void refusedItems()
    {
        QFETCH(QByteArray, ini);
        QFETCH(bool, takesIdentity);
        ParameterCustomList* list = newList();
        list->setAxes(axes(QStringLiteral("0:1")));
        list->addEntry(QStringLiteral("A12"));
        const QString identifier = list->identifier();
        QCoreApplication::processEvents();
        QSignalSpy nameChanged(list, SIGNAL(listNameChanged()));
        QSignalSpy entriesChanged(list, SIGNAL(listEntriesChanged()));

        QVERIFY(!list->loadData(ini));

        QCOMPARE(describe(list), QStringLiteral("A12"));
        QCOMPARE(list->axes().size(), 1);
        QCOMPARE(list->identifier() != identifier, takesIdentity);
        QTest::qWait(20);
        QCOMPARE(nameChanged.count() + entriesChanged.count(), 0);
    }

    void loadedContent_data()
    {
        QTest::addColumn<KeyValues>("axisKeys");
        QTest::addColumn<KeyValues>("parameterKeys");
        QTest::addColumn<QStringList>("expectedAxes");
        QTest::addColumn<QString>("expectedEntries");
        QTest::newRow("axes by number, not by text")
            << KeyValues{{"Axis_10", "1:1"}, {"Axis_2", "0:2"}, {"Axis_1", "0:1"}} << KeyValues()
            << QStringList{"0:1", "0:2", "1:1"} << "";
        QTest::newRow("unresolvable axes left out")
            << KeyValues{{"Axis_0", "0:2"}, {"Axis_1", "7:1"}, {"Axis_2", "0:9"}, {"Axis_3", "x"}, {"Axis_4", "2:1"}}
            << KeyValues() << QStringList{"0:2", "2:1"} << "";
        QTest::newRow("coordinate comes from the key")
            << KeyValues{{"Axis_0", "0:1"}} << KeyValues{{"Coordinate_A12", "B20[1/3]"}} << QStringList{"0:1"} << "A12[1/3]";
        QTest::newRow("keys without coordinate skipped")
            << KeyValues{{"Axis_0", "0:1"}} << KeyValues{{"Coordinate_", "A10"}, {"Parameter_A10", "A10"}, {"Coordinate_A10", "A10"}}
            << QStringList{"0:1"} << "A10";
        QTest::newRow("selection limited to restored axes")
            << KeyValues{{"Axis_0", "0:1"}, {"Axis_1", "3:1"}} << KeyValues{{"Coordinate_A11", "A11[1/5]"}}
            << QStringList{"0:1"} << "A11[1]";
    }

    void loadedContent()
    {
        QFETCH(KeyValues, axisKeys);
        QFETCH(KeyValues, parameterKeys);
        QFETCH(QStringList, expectedAxes);
        QFETCH(QString, expectedEntries);
        const QByteArray ini = iniText({{"List", {{"Value", "{0a0b0c0d-0000-4000-8000-000000000001}"}, {"Name", "L"}}},
                                        {"Axes", axisKeys}, {"Parameter", parameterKeys}});
        ParameterCustomList* list = newList();
        QCoreApplication::processEvents();
        QSignalSpy nameChanged(list, SIGNAL(listNameChanged()));
        QSignalSpy axesChanged(list, SIGNAL(listAxesChanged()));
        QSignalSpy entriesChanged(list, SIGNAL(listEntriesChanged()));

        QVERIFY(list->loadData(ini));

        QCOMPARE(axisIdentifiers(list), expectedAxes);
        QCOMPARE(describe(list), expectedEntries);
        QCOMPARE(list->identifier(), QStringLiteral("{0a0b0c0d-0000-4000-8000-000000000001}"));
        QTRY_COMPARE(entriesChanged.count(), 2);
        QCOMPARE(nameChanged.count(), 1);
        QCOMPARE(axesChanged.count(), 1);
    }

    void roundTripThroughProjectFile()
    {
        // GIVEN lists of assorted content: no axes or several, whole parameters,
        // elements, an empty selection, binary states
        const QStringList axisChoices{"", "0:1", "0:2 0:1", "1:1 0:1 2:1", "2:1"};
        const QStringList parameterChoices{"A10", "A11[2]", "A12[0]", "B20", "G01", "E50[1]", "A13"};
        auto snapshot = [](ParameterCustomList* list) {
            return QStringList{list->identifier(), list->name(), describe(list).remove(QStringLiteral("[]")), axisIdentifiers(list).join(QLatin1Char(' ')),
                               QString::number(list->exportText().size()), QString::fromLatin1(list->state("SplitterMain").toHex()),
                               QString::fromLatin1(list->state("BottomVisible"))};
        };
        QList<QStringList> before;
        for (int i = 0; i < 6; ++i) {
            ParameterCustomList* list = newList();
            list->setName(QStringLiteral("Liste %1 = [%2]").arg(i).arg(QChar(0x263A)));
            list->setAxes(axes(axisChoices.at(i % axisChoices.size())));
            for (int p = 0; p < parameterChoices.size(); ++p) {
                if ((i >> (p % 3)) & 1)
                    list->addEntry(parameterChoices.at(p));
            }
            list->setState("SplitterMain", QByteArray::number(i) + QByteArray("\r\n\x00", 3));
            if (i % 2)
                list->setState("BottomVisible", "1");
            before.append(snapshot(list));
        }
        // WHEN they go through a project file and back
        QTemporaryDir directory;
        const QString path = directory.filePath(QStringLiteral("projekt.kxp"));
        FileStorageView saved;
        repository().save(&saved);
        QString error;
        QVERIFY2(ProjectFile::write(path, saved, &error), qPrintable(error));
        FileStorageView read;
        QVERIFY2(ProjectFile::read(path, &read, &error), qPrintable(error));
        repository().load(&read);
        // THEN every list is back in order with all of its content; an empty
        // selection is stored as the bare coordinate, which reads as the whole parameter
        QList<QStringList> after;
        for (ParameterCustomList* list : lists())
            after.append(snapshot(list));
        QCOMPARE(after, before);
        QCOMPARE(repository().unreadableListCount(), 0);
    }

    void unreadableItemsAreKept()
    {
        // GIVEN a stored project with two good lists, a damaged one and foreign bytes between them
        newList()->setName(QStringLiteral("Erste"));
        newList()->setName(QStringLiteral("Zweite"));
        FileStorageView storage;
        repository().save(&storage);
        FileStorageView* items = storage.storage(QStringLiteral("CustomParameterLists"));
        const QByteArray damaged = iniText({{"List", {{"Value", "{x}"}, {"Name", "Kaputt"}}}, {"Parameter", {}}});
        const QByteArray foreign("\x89PNG\r\n\x1a\n", 8);
        const QByteArray firstItem = items->readItem(QStringLiteral("List0"));
        items->writeItem(QStringLiteral("List3"), items->readItem(QStringLiteral("List1")));
        items->writeItem(QStringLiteral("List0"), damaged);
        items->writeItem(QStringLiteral("List1"), firstItem);
        items->writeItem(QStringLiteral("List2"), foreign);
        // WHEN it is loaded
        repository().clear();
        QSignalSpy contentChanged(&repository(), SIGNAL(repositoryContentChanged()));
        repository().load(&storage);
        // THEN the good lists are there, the others are counted but are no lists
        QCOMPARE(contentChanged.count(), 1);
        QCOMPARE(lists().size(), 2);
        QCOMPARE(lists().at(0)->name(), QStringLiteral("Erste"));
        QCOMPARE(lists().at(1)->name(), QStringLiteral("Zweite"));
        QCOMPARE(repository().unreadableListCount(), 2);
        // WHEN the project is saved again into the same storage, which meanwhile holds stale items
        lists().at(1)->setName(QStringLiteral("Zweite, umbenannt"));
        QCoreApplication::processEvents();
        items->writeItem(QStringLiteral("List7"), "alt");
        items->writeItem(QStringLiteral("Notiz"), "alt");
        contentChanged.clear();
        repository().save(&storage);
        // THEN the good lists come first, the unreadable items follow byte for byte, nothing else is left
        QCOMPARE(contentChanged.count(), 0);
        QStringList names = items->itemNames();
        names.sort();
        QCOMPARE(names, (QStringList{"List0", "List1", "List2", "List3"}));
        QCOMPARE(sectionOf(items->readItem(QStringLiteral("List1")), "List").value(1).second, QByteArray("Zweite, umbenannt"));
        QCOMPARE(items->readItem(QStringLiteral("List2")), damaged);
        QCOMPARE(items->readItem(QStringLiteral("List3")), foreign);
        // ... and clearing the repository forgets them
        repository().clear();
        QCOMPARE(repository().unreadableListCount(), 0);
        repository().save(&storage);
        QCOMPARE(items->itemNames(), QStringList());
    }

    void createdListEmitsAtOnceAndLater()
    {
        ParameterCustomListInformation* existing = repository().createList();
        QCoreApplication::processEvents();
        QSignalSpy contentChanged(&repository(), SIGNAL(repositoryContentChanged()));
        ParameterCustomListInformation* list = repository().createList();
        QCOMPARE(contentChanged.count(), 1);
        QCOMPARE(list->name(), QStringLiteral("neue Parameterliste"));
        const QRegularExpression bracedUuid(QStringLiteral("^\\{[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}\\}$"));
        QVERIFY(bracedUuid.match(list->identifier()).hasMatch());
        QVERIFY(list->identifier() != existing->identifier());
        QCOMPARE(repository().content(), (QList<ParameterCustomListInformation*>{existing, list}));
        QCOMPARE(repository().list(list->identifier()), list);
        // the posted name change follows through the event queue, and so do later list changes
        QTRY_COMPARE(contentChanged.count(), 2);
        static_cast<ParameterCustomList*>(list)->setName(QStringLiteral("Achsen"));
        static_cast<ParameterCustomList*>(list)->setAxes(axes(QStringLiteral("0:1")));
        list->addEntry(QStringLiteral("A10"));
        QCOMPARE(contentChanged.count(), 2);
        QTRY_COMPARE(contentChanged.count(), 5);
    }

    void deleteAndClearEmitOncePerList()
    {
        ParameterCustomListInformation* list = repository().createList();
        for (int i = 0; i < 3; ++i)
            repository().createList();
        ParameterCustomList foreign;
        QCoreApplication::processEvents();
        QSignalSpy contentChanged(&repository(), SIGNAL(repositoryContentChanged()));
        repository().deleteList(&foreign);
        repository().deleteList(nullptr);
        QCOMPARE(contentChanged.count(), 0);
        repository().deleteList(list);
        QCOMPARE(contentChanged.count(), 1);
        QCOMPARE(repository().content().size(), 3);
        repository().clear();
        QCOMPARE(contentChanged.count(), 4);
        QVERIFY(repository().content().isEmpty());
        QTest::qWait(20);
        QCOMPARE(contentChanged.count(), 4);
    }

    void loadEmitsOnceAfterDeletingOldLists_data()
    {
        QTest::addColumn<int>("stored");
        QTest::newRow("no stored lists") << 0;
        QTest::newRow("three stored lists") << 3;
    }

    void loadEmitsOnceAfterDeletingOldLists()
    {
        QFETCH(int, stored);
        // GIVEN a storage with some lists, and two other lists with pending postings
        FileStorageView storage;
        for (int i = 0; i < stored; ++i)
            newList()->addEntry(QStringLiteral("A10"));
        repository().save(&storage);
        repository().clear();
        newList();
        newList();
        QSignalSpy contentChanged(&repository(), SIGNAL(repositoryContentChanged()));
        repository().load(&storage);
        // THEN one emission per old list and one for the load, and nothing posted afterwards
        QCOMPARE(contentChanged.count(), 3);
        QCOMPARE(repository().content().size(), stored);
        QTest::qWait(20);
        QCOMPARE(contentChanged.count(), 3);
    }

    void hostSignals_data()
    {
        QTest::addColumn<bool>("destroyHost");
        QTest::newRow("host content changed") << false;
        QTest::newRow("host destroyed") << true;
    }

    void hostSignals()
    {
        QFETCH(bool, destroyHost);
        ParameterCustomList* first = newList();
        newList();
        QCoreApplication::processEvents();
        QSignalSpy hostChanged(&repository(), SIGNAL(repositoryHostContentChanged()));
        QSignalSpy contentChanged(&repository(), SIGNAL(repositoryContentChanged()));
        QSignalSpy axesChanged(first, SIGNAL(listAxesChanged()));

        if (destroyHost)
            host.reset();
        else
            emit host->hostContentChanged();

        QCOMPARE(hostChanged.count(), 1);
        QCOMPARE(axesChanged.count(), 1);
        QCOMPARE(contentChanged.count(), 2);
        QCOMPARE(repository().driveControllerAxes().isEmpty(), destroyHost);
    }

    void axisSaveIdentifiers_data()
    {
        QTest::addColumn<QByteArray>("identifier");
        QTest::addColumn<int>("controller");   // -1: no axis
        QTest::addColumn<int>("axis");
        QTest::addColumn<bool>("canonical");   // the form the repository writes for that axis
        QTest::newRow("second axis of first controller") << QByteArray("0:2") << 0 << 2 << true;
        QTest::newRow("huge controller index reads as 0") << QByteArray("99999999999999999999:1") << 0 << 1 << false;
        QTest::newRow("trailing blank") << QByteArray("0:2 ") << -1 << 0 << false;
        QTest::newRow("controller beyond host") << QByteArray("5:1") << -1 << 0 << false;
        QTest::newRow("axis the controller lacks") << QByteArray("0:3") << -1 << 0 << false;
        QTest::newRow("axis number beyond int") << QByteArray("0:4294967297") << -1 << 0 << false;
        QTest::newRow("empty") << QByteArray() << -1 << 0 << false;
    }

    void axisSaveIdentifiers()
    {
        QFETCH(QByteArray, identifier);
        QFETCH(int, controller);
        QFETCH(int, axis);
        QFETCH(bool, canonical);
        DriveControllerAxis* expected = controller < 0 ? nullptr : host->axis(controller, axis);
        QCOMPARE(repository().driveControllerAxis(identifier), expected);
        if (canonical)
            QCOMPARE(repository().driveControllerAxisSaveIdentifier(expected), identifier);
    }

    void saveIdentifierOfUnlistedController()
    {
        KxTest::Host other;
        QCOMPARE(repository().driveControllerAxisSaveIdentifier(other.axis(0, 2)), QByteArray("-1:2"));
        QCOMPARE(repository().driveControllerAxisSaveIdentifier(nullptr), QByteArray());
    }

    void parameterViewsReachTheLists()
    {
        ParameterCustomListHost* views = ParameterView::parameterCustomListHost();
        QVERIFY(views);
        ParameterCustomList* first = newList();
        first->setAxes(axes(QStringLiteral("0:1")));
        ParameterCustomList* second = newList();
        second->setName(QStringLiteral("Zweite"));
        QCOMPARE(views->customListIdentifiers(), (QStringList{first->identifier(), second->identifier()}));
        QCOMPARE(views->customListName(second->identifier()), QStringLiteral("Zweite"));
        QCOMPARE(views->customListName(QStringLiteral("{unbekannt}")), QString());
        QCOMPARE(views->customListName(second->identifier().toUpper()), QString());

        views->addParameterToCustomList(first->identifier(), QStringLiteral("A12[4]"));
        views->addParameterToCustomList(QStringLiteral("{unbekannt}"), QStringLiteral("A10"));
        QCOMPARE(describe(first), QStringLiteral("A12[4]"));
        views->removeParameterFromCustomList(first->identifier(), QStringLiteral("A12"));
        views->removeParameterFromCustomList(QStringLiteral("{unbekannt}"), QStringLiteral("A12"));
        QCOMPARE(describe(first), QString());
        QVERIFY(second->entries().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCustomList)
#include "tst_customlist.moc"
