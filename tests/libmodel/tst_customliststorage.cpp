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
#include "ParameterView.h"
#include "ProjectFile.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using Axes = QList<QPointer<DriveControllerAxis>>;
using KeyValues = QList<QPair<QByteArray, QByteArray>>;

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

class TestCustomListStorage : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<KxTest::Host> host;
    Axes axes(const QString& names) const { return host->axes(names); }

    void useHost(const QByteArray& json)
    {
        host.reset(new KxTest::Host(json));
        repository().initialize(host.get());
    }

private slots:
    void initTestCase()
    {
        KxTest::initTestEnvironment();
    }

    void init()
    {
        useHost(KxTest::project("feed"));
        repository().clear();
        QCoreApplication::processEvents();
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

        // ... and it reads back into the same list
        ParameterCustomList* copy = newList();
        QVERIFY(copy->loadData(ini));
        QCOMPARE(copy->name(), name);
        QCOMPARE(describe(copy), QStringLiteral("A10 A11[1/5]"));
        QCOMPARE(copy->axes(), list->axes());
        QCOMPARE(copy->state("HeaderState"), QByteArray("\x00\xff", 2));
        QCOMPARE(copy->state("Window"), QByteArray("geometry"));
    }

    void refusedItems_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<bool>("takesIdentity");
        const KeyValues list{{"Value", "{6c3a1e52-0b7d-4a8e-9f10-2d4c5b6a7e81}"}, {"Name", "Alt"}};
        QTest::newRow("no List section") << iniText({{"Axes", {}}, {"Parameter", {}}}) << false;
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
        // GIVEN ten lists of assorted content
        const QStringList axisChoices{"", "0:1", "0:2 0:1", "1:1 0:1 2:1", "2:1"};
        const QStringList parameterChoices{"A10", "A11[2]", "A12[0]", "B20", "G01", "E50[1]", "A13"};
        for (int i = 0; i < 10; ++i) {
            ParameterCustomList* list = newList();
            list->setName(QStringLiteral("Liste %1 = [%2]").arg(i).arg(QChar(0x263A)));
            list->setAxes(axes(axisChoices.at(i % axisChoices.size())));
            for (int p = 0; p < parameterChoices.size(); ++p) {
                if ((i >> (p % 5)) & 1)
                    list->addEntry(parameterChoices.at(p));
            }
            list->setState("SplitterMain", QByteArray::number(i) + QByteArray("\r\n\x00", 3));
            if (i % 2)
                list->setState("BottomVisible", "1");
        }
        struct Snapshot { QString identifier, name, entries; QStringList axes; QByteArray exported, splitter, bottom; };
        QList<Snapshot> before;
        for (ParameterCustomList* list : lists())
            before.append({list->identifier(), list->name(), describe(list), axisIdentifiers(list), list->exportText(),
                           list->state("SplitterMain"), list->state("BottomVisible")});

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

        // THEN every list is back in order with all of its content
        const QList<ParameterCustomList*> after = lists();
        QCOMPARE(after.size(), before.size());
        QCOMPARE(repository().unreadableListCount(), 0);
        for (int i = 0; i < after.size(); ++i) {
            ParameterCustomList* list = after.at(i);
            QCOMPARE(list->identifier(), before.at(i).identifier);
            QCOMPARE(list->name(), before.at(i).name);
            QCOMPARE(axisIdentifiers(list), before.at(i).axes);
            // an empty selection is stored as the bare coordinate, which reads as the whole parameter
            QCOMPARE(describe(list), QString(before.at(i).entries).remove(QStringLiteral("[]")));
            QCOMPARE(list->exportText().size(), before.at(i).exported.size());
            QCOMPARE(list->state("SplitterMain"), before.at(i).splitter);
            QCOMPARE(list->state("BottomVisible"), before.at(i).bottom);
        }
    }

    void unreadableItemsAreKept()
    {
        // GIVEN a stored project with two good lists, a damaged one and foreign bytes between them
        ParameterCustomList* first = newList();
        first->setName(QStringLiteral("Erste"));
        ParameterCustomList* second = newList();
        second->setName(QStringLiteral("Zweite"));
        second->addEntry(QStringLiteral("A10"));
        FileStorageView storage;
        repository().save(&storage);
        FileStorageView* items = storage.storage(QStringLiteral("CustomParameterLists"));
        const QByteArray damaged = iniText({{"List", {{"Value", "{x}"}, {"Name", "Kaputt"}}}, {"Parameter", {}}});
        const QByteArray foreign("\x89PNG\r\n\x1a\n", 8);
        const QByteArray firstItem = items->readItem(QStringLiteral("List0"));
        const QByteArray secondItem = items->readItem(QStringLiteral("List1"));
        items->writeItem(QStringLiteral("List0"), damaged);
        items->writeItem(QStringLiteral("List1"), firstItem);
        items->writeItem(QStringLiteral("List2"), foreign);
        items->writeItem(QStringLiteral("List3"), secondItem);

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

        // WHEN the project is saved again into the same storage
        lists().at(1)->setName(QStringLiteral("Zweite, umbenannt"));
        repository().save(&storage);

        // THEN the good lists come first, the unreadable items follow byte for byte, nothing else is left
        QCOMPARE(items->itemNames().size(), 4);
        QCOMPARE(sectionOf(items->readItem(QStringLiteral("List1")), "List").value(1).second,
                 QByteArray("Zweite, umbenannt"));
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

    void deleteListIgnoresForeignPointers()
    {
        ParameterCustomListInformation* list = repository().createList();
        ParameterCustomList foreign;
        QSignalSpy contentChanged(&repository(), SIGNAL(repositoryContentChanged()));
        repository().deleteList(&foreign);
        repository().deleteList(nullptr);
        QCOMPARE(contentChanged.count(), 0);
        repository().deleteList(list);
        QCOMPARE(contentChanged.count(), 1);
        QVERIFY(repository().content().isEmpty());
    }

    void clearEmitsOncePerList()
    {
        const int count = 3;
        for (int i = 0; i < count; ++i)
            repository().createList();
        QCoreApplication::processEvents();
        QSignalSpy contentChanged(&repository(), SIGNAL(repositoryContentChanged()));
        repository().clear();
        QCOMPARE(contentChanged.count(), count);
        QTest::qWait(20);
        QCOMPARE(contentChanged.count(), count);
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

        // WHEN the storage is loaded
        repository().load(&storage);

        // THEN one emission per old list and one for the load, and nothing posted afterwards
        QCOMPARE(contentChanged.count(), 3);
        QCOMPARE(repository().content().size(), stored);
        QTest::qWait(20);
        QCOMPARE(contentChanged.count(), 3);
    }

    void saveDropsStaleItems()
    {
        FileStorageView storage;
        FileStorageView* items = storage.storage(QStringLiteral("CustomParameterLists"));
        items->writeItem(QStringLiteral("List3"), "alt");
        items->writeItem(QStringLiteral("Notiz"), "alt");
        newList();
        newList();
        QSignalSpy contentChanged(&repository(), SIGNAL(repositoryContentChanged()));
        repository().save(&storage);
        QCOMPARE(contentChanged.count(), 0);
        QStringList names = items->itemNames();
        names.sort();
        QCOMPARE(names, (QStringList{"List0", "List1"}));
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
        QTest::newRow("third controller") << QByteArray("2:1") << 2 << 1 << true;
        QTest::newRow("leading zeros") << QByteArray("00:01") << 0 << 1 << false;
        QTest::newRow("huge controller index reads as 0") << QByteArray("99999999999999999999:1") << 0 << 1 << false;
        QTest::newRow("trailing blank") << QByteArray("0:2 ") << -1 << 0 << false;
        QTest::newRow("letter") << QByteArray("a:1") << -1 << 0 << false;
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

QTEST_GUILESS_MAIN(TestCustomListStorage)
#include "tst_customliststorage.moc"
