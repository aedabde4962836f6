// Putting a list back from its stored form, in place (its open window
// follows) or where it was deleted: what the host's undo stands on.
#include "ParameterCustomList.h"
#include "ParameterCustomListRepository.h"
#include "ParameterCustomListWidget.h"
#include "ListTestSupport.h"
#include "ListWindows.h"

#include "DriveController.h"
#include "DriveControllerAxis.h"

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
        repository().clear();
        QTRY_VERIFY(m_mainWindow->widget()->findChildren<ParameterCustomListWidget*>().isEmpty());
        m_host.reset();
        m_mainWindow.reset();
    }

    void restoringInPlaceBringsTheOpenWindowAlong()
    {
        // GIVEN a list of a whole parameter and two elements of another on two axes, in its window
        ParameterCustomList* list = createNamedList(QStringLiteral("Hubwerk"), m_host->axes(QStringLiteral("0:1 0:2")));
        for (const char* parameter : {"A10", "A12[1]", "A12[3]"})
            list->addEntry(QLatin1String(parameter));
        ParameterCustomListWidget* window = openListWindow(list);
        deliver();
        const QStringList rows = rowTexts(window);
        const QByteArray snapshot = repository().listSnapshot(list);
        QCOMPARE(ParameterCustomListRepository::snapshotEntries(snapshot), (QList<QByteArray>{"A10", "A12[1/3]"}));

        // WHEN it is renamed, cleared and put on another axis, and then restored
        list->setName(QStringLiteral("Fahrwerk"));
        list->clearEntries();
        list->setAxes(m_host->axes(QStringLiteral("1:1")));
        QTRY_VERIFY(rowTexts(window).isEmpty());
        QVERIFY(!ParameterCustomListRepository::sameListContent(snapshot, repository().listSnapshot(list)));
        QSignalSpy entries(list, &ParameterCustomListInformation::listEntriesChanged);
        QCOMPARE(repository().restoreList(snapshot, 0), list);

        // THEN the same object has its name, axes and entries back, and the window its rows, told once
        QCOMPARE(list->name(), QStringLiteral("Hubwerk"));
        QCOMPARE(list->axes(), m_host->axes(QStringLiteral("0:1 0:2")));
        QVERIFY(ParameterCustomListRepository::sameListContent(repository().listSnapshot(list), snapshot));
        QTRY_COMPARE(rowTexts(window), rows);
        QCOMPARE(entries.count(), 1);
        QVERIFY(window->windowTitle().endsWith(QStringLiteral("Hubwerk")));
    }

    void deletedListComesBackWhereItWasOnItsAxes()
    {
        // GIVEN three lists, the middle one on the pump's axis ("1:1") with a window state, deleted
        createNamedList(QStringLiteral("Erste"), m_host->axes(QStringLiteral("0:1")));
        ParameterCustomList* middle = createNamedList(QStringLiteral("Zweite"), m_host->axes(QStringLiteral("1:1")));
        createNamedList(QStringLiteral("Dritte"), m_host->axes(QStringLiteral("0:2")));
        middle->addEntry(QStringLiteral("C05"));
        middle->setState("SplitterMain", QByteArray("\x00\xff", 2));
        const QString identifier = middle->identifier();
        const ParameterCustomListRepository::AxisNumbering numbering = repository().axisNumbering();
        const QByteArray snapshot = repository().listSnapshot(middle);
        repository().deleteList(middle);

        // WHEN the first controller goes, so that the pump is "0:1" now, and the list is put back at its place
        delete m_host->controller(0);
        emit m_host->hostContentChanged();
        QSignalSpy content(&repository(), &ParameterCustomListRepository::repositoryContentChanged);
        ParameterCustomListInformation* restored = repository().restoreList(snapshot, 1, numbering);

        // THEN it is there at once with its identifier, in the middle, on the pump under its new number, states kept
        QCOMPARE(content.count(), 1);
        QCOMPARE(repository().list(identifier), restored);
        QCOMPARE(names(), (QStringList{"Erste", "Zweite", "Dritte"}));
        QCOMPARE(repository().listSnapshot(restored), QByteArray(snapshot).replace("Axis_0=1:1\n", "Axis_0=0:1\n"));
        // AND without the numbering of its time the old number names no axis; past the end is last
        repository().deleteList(restored);
        restored = repository().restoreList(snapshot, 99);
        QVERIFY(static_cast<ParameterCustomList*>(restored)->axes().isEmpty());
        QCOMPARE(names(), (QStringList{"Erste", "Dritte", "Zweite"}));
    }

    void damagedSnapshotsAreRefused_data()
    {
        QTest::addColumn<QByteArray>("cut");
        QTest::addColumn<QString>("named");
        QTest::newRow("no entries section") << QByteArray("\n[Parameter]\n") << QStringLiteral("„Parameter“");
        QTest::newRow("no name") << QByteArray("Name=Ersatz\n") << QStringLiteral("„Name“");
        QTest::newRow("not a list at all") << QByteArray() << QStringLiteral("„List“");
    }

    void damagedSnapshotsAreRefused()
    {
        QFETCH(QByteArray, cut);
        QFETCH(QString, named);
        // GIVEN a list and its snapshot with a piece cut out, or some other text
        ParameterCustomList* list = createNamedList(QStringLiteral("Ersatz"), m_host->axes(QStringLiteral("0:1")));
        list->addEntry(QStringLiteral("A10"));
        QByteArray damaged = cut.isEmpty() ? QByteArray("Sicherungskopie\n\x01\x02") : repository().listSnapshot(list);
        if (!cut.isEmpty())
            damaged.replace(cut, "\n");
        list->addEntry(QStringLiteral("A12"));
        deliver();
        const QByteArray current = repository().listSnapshot(list);

        // WHEN it is put back THEN nothing changes, nothing is announced, and the message says what is missing
        QSignalSpy content(&repository(), &ParameterCustomListRepository::repositoryContentChanged);
        QString problem;
        QVERIFY(!repository().restoreList(damaged, 0, {}, &problem));
        QVERIFY2(problem.contains(named), qPrintable(problem));
        deliver();
        QCOMPARE(content.count(), 0);
        QCOMPARE(repository().content().size(), 1);
        QCOMPARE(repository().listSnapshot(list), current);
    }
};

QTEST_MAIN(TestRestore)
#include "tst_restore.moc"
