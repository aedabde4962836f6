// Taking a list's stored form and putting the list back from it: what the
// host's undo is built on. The list, its open window and the repository must
// all end up where they were.
#include "ParameterCustomList.h"
#include "ParameterCustomListRepository.h"
#include "ParameterCustomListWidget.h"
#include "ListTestSupport.h"
#include "ListWindows.h"

#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "FileStorageView.h"

#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

#include <memory>

using namespace KxTest;

namespace {

ParameterCustomListRepository& repository() { return ParameterCustomListRepository::instance(); }

QStringList rowTexts(QWidget* window)
{
    QStringList texts;
    for (QTreeWidgetItem* row : treeRows(window->findChild<QTreeWidget*>(QStringLiteral("parameterTreeWidget"))))
        texts.append(row->text(0));
    return texts;
}

QStringList axisCaptions(QWidget* window)
{
    auto* tree = window->findChild<QTreeWidget*>(QStringLiteral("parameterTreeWidget"));
    QStringList captions;
    for (int column = 1; column < tree->columnCount(); ++column)
        captions << tree->headerItem()->text(column);
    return captions;
}

QStringList names()
{
    QStringList result;
    for (ParameterCustomListInformation* list : repository().content())
        result.append(list->name());
    return result;
}

} // namespace

class TestRestore : public QObject
{
    Q_OBJECT

    std::unique_ptr<KxTest::MainWindow> m_mainWindow;
    std::unique_ptr<Host> m_host;

private slots:
    void initTestCase() { initTestEnvironment(); }

    void init()
    {
        m_mainWindow = std::make_unique<KxTest::MainWindow>();
        m_host = std::make_unique<Host>(project("lift"));
        repository().initialize(m_host.get());
    }

    void cleanup()
    {
        cancelModalHandlers();
        repository().clear();
        QTRY_VERIFY(m_mainWindow->widget()->findChildren<ParameterCustomListWidget*>().isEmpty());
        m_host.reset();
        m_mainWindow.reset();
    }

    void restoringInPlaceBringsTheOpenWindowAlong()
    {
        // GIVEN a list on two axes with a whole parameter and two elements of another, shown in a window
        ParameterCustomList* list = createNamedList(QStringLiteral("Hubwerk"), m_host->axes(QStringLiteral("0:1 0:2")));
        list->addEntry(QStringLiteral("A10"));
        list->addEntry(QStringLiteral("A12[1]"));
        list->addEntry(QStringLiteral("A12[3]"));
        ParameterCustomListWidget* window = openListWindow(list);
        deliver();
        const QStringList rows = rowTexts(window);
        const QStringList captions = axisCaptions(window);
        const QByteArray exported = list->exportText();
        const QByteArray snapshot = repository().listSnapshot(list);
        QVERIFY(snapshot.contains(list->identifier().toUtf8()));
        QCOMPARE(ParameterCustomListRepository::snapshotEntries(snapshot), (QList<QByteArray>{"A10", "A12[1/3]"}));

        // WHEN the user renames it, clears it and takes another axis
        list->setName(QStringLiteral("Fahrwerk"));
        list->clearEntries();
        list->setAxes(m_host->axes(QStringLiteral("1:1")));
        QTRY_VERIFY(rowTexts(window).isEmpty());
        QVERIFY(!ParameterCustomListRepository::sameListContent(snapshot, repository().listSnapshot(list)));

        // AND the snapshot is put back
        QSignalSpy names(list, &ParameterCustomListInformation::listNameChanged);
        QSignalSpy axes(list, &ParameterCustomListInformation::listAxesChanged);
        QSignalSpy entries(list, &ParameterCustomListInformation::listEntriesChanged);
        QString problem;
        ParameterCustomListInformation* restored = repository().restoreList(snapshot, 0, {}, &problem);

        // THEN it is the same object, with name, axes and entries as before, and stored as before
        QCOMPARE(restored, list);
        QVERIFY(problem.isEmpty());
        QCOMPARE(repository().content().size(), 1);
        QCOMPARE(list->name(), QStringLiteral("Hubwerk"));
        QCOMPARE(list->exportText(), exported);
        QCOMPARE(list->axes(), m_host->axes(QStringLiteral("0:1 0:2")));
        QVERIFY(ParameterCustomListRepository::sameListContent(repository().listSnapshot(list), snapshot));
        // AND the window is told, once of each, and shows the rows and columns it showed
        QTRY_COMPARE(entries.count(), 1);
        QCOMPARE(names.count(), 1);
        QCOMPARE(axes.count(), 1);
        QTRY_COMPARE(rowTexts(window), rows);
        QCOMPARE(axisCaptions(window), captions);
        QVERIFY(window->windowTitle().endsWith(QStringLiteral("Hubwerk")));
    }

    void deletedListComesBackWhereItWas()
    {
        // GIVEN three lists, the middle one with a window state stored
        createNamedList(QStringLiteral("Erste"), m_host->axes(QStringLiteral("0:1")));
        ParameterCustomList* middle = createNamedList(QStringLiteral("Zweite"), m_host->axes(QStringLiteral("0:2 1:1")));
        createNamedList(QStringLiteral("Dritte"), m_host->axes(QStringLiteral("0:1")));
        middle->addEntry(QStringLiteral("A12[4]"));
        middle->setState("SplitterMain", QByteArray("\x00\xff", 2));
        deliver();
        const QString identifier = middle->identifier();
        const QByteArray snapshot = repository().listSnapshot(middle);

        // WHEN it is deleted and put back at its place
        repository().deleteList(middle);
        QVERIFY(repository().listSnapshot(middle).isEmpty());
        QSignalSpy content(&repository(), &ParameterCustomListRepository::repositoryContentChanged);
        ParameterCustomListInformation* restored = repository().restoreList(snapshot, 1);

        // THEN it is there at once, in the middle, with its identifier, and stores exactly what it stored
        QVERIFY(restored);
        QCOMPARE(content.count(), 1);
        QCOMPARE(names(), (QStringList{"Erste", "Zweite", "Dritte"}));
        QCOMPARE(repository().list(identifier), restored);
        QCOMPARE(repository().listSnapshot(restored), snapshot);
        // AND it is a list of the repository like any other: saved with the project, followed by the repository
        FileStorageView storage;
        repository().save(&storage);
        QCOMPARE(storage.subStorage(QStringLiteral("CustomParameterLists"))->readItem(QStringLiteral("List1")), snapshot);
        deliver();
        content.clear();
        restored->addEntry(QStringLiteral("A10"));
        deliver();
        QCOMPARE(content.count(), 1);
        // AND a position past the end puts it last
        repository().deleteList(restored);
        QVERIFY(repository().restoreList(snapshot, 99));
        QCOMPARE(names(), (QStringList{"Erste", "Dritte", "Zweite"}));
    }

    void axesAreFoundByTheNumberingOfTheirTime()
    {
        // GIVEN a list on the pump's axis, the second controller ("1:1"), deleted
        ParameterCustomList* list = createNamedList(QStringLiteral("Pumpe"), m_host->axes(QStringLiteral("1:1")));
        list->addEntry(QStringLiteral("A10"));
        deliver();
        QPointer<DriveControllerAxis> pump = m_host->axis(1, 1);
        const ParameterCustomListRepository::AxisNumbering numbering = repository().axisNumbering();
        QCOMPARE(numbering.value("1:1").data(), pump.data());
        const QByteArray snapshot = repository().listSnapshot(list);
        repository().deleteList(list);

        // WHEN the first controller goes, so that the pump is "0:1" now
        delete m_host->controller(0);
        emit m_host->hostContentChanged();
        QCOMPARE(repository().driveControllerAxisSaveIdentifier(pump), QByteArray("0:1"));

        // THEN with the numbering of its time the list comes back on the pump, stored under its new number
        ParameterCustomListInformation* restored = repository().restoreList(snapshot, 0, numbering);
        QVERIFY(restored);
        QCOMPARE(static_cast<ParameterCustomList*>(restored)->axes(), QList<QPointer<DriveControllerAxis>>{pump});
        QVERIFY(repository().listSnapshot(restored).contains("Axis_0=0:1\n"));
        // AND without it, the old number names no axis any more and the list has none
        repository().deleteList(restored);
        restored = repository().restoreList(snapshot, 0);
        QVERIFY(static_cast<ParameterCustomList*>(restored)->axes().isEmpty());
    }

    void damagedSnapshotsAreRefused_data()
    {
        QTest::addColumn<QByteArray>("damage");
        QTest::addColumn<QString>("named");
        QTest::newRow("no entries section") << QByteArray("\n[Parameter]\n") << QStringLiteral("„Parameter“");
        QTest::newRow("no name") << QByteArray("Name=Ersatz\n") << QStringLiteral("„Name“");
        QTest::newRow("not a list at all") << QByteArray() << QStringLiteral("„List“");
    }

    void damagedSnapshotsAreRefused()
    {
        QFETCH(QByteArray, damage);
        QFETCH(QString, named);
        // GIVEN a list and a snapshot of it with a piece cut out (or nothing left of it)
        ParameterCustomList* list = createNamedList(QStringLiteral("Ersatz"), m_host->axes(QStringLiteral("0:1")));
        list->addEntry(QStringLiteral("A10"));
        deliver();
        const QByteArray intact = repository().listSnapshot(list);
        QByteArray damaged = damage.isEmpty() ? QByteArray("Sicherungskopie\n\x01\x02") : intact;
        if (!damage.isEmpty())
            damaged.replace(damage, "\n");
        QVERIFY(damaged != intact);

        // WHEN it is put back
        list->addEntry(QStringLiteral("A13"));
        deliver();
        const QByteArray current = repository().listSnapshot(list);
        QSignalSpy content(&repository(), &ParameterCustomListRepository::repositoryContentChanged);
        QString problem;
        ParameterCustomListInformation* restored = repository().restoreList(damaged, 0, {}, &problem);

        // THEN nothing is restored, the list is untouched, and the message says what is missing
        QVERIFY(!restored);
        QVERIFY2(problem.contains(named), qPrintable(problem));
        deliver();
        QCOMPARE(content.count(), 0);
        QCOMPARE(repository().content().size(), 1);
        QCOMPARE(repository().listSnapshot(list), current);
    }
};

QTEST_MAIN(TestRestore)
#include "tst_restore.moc"
