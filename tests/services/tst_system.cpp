#include "HelpSystem.h"
#include "System.h"
#include "TestSupport.h"

#include <QSignalSpy>
#include <QWidget>
#include <QtTest>

class SystemTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void levelChanges_data();
    void levelChanges();
    void mainWindowIsGuarded();
    void helpSystemPerContext();
    void deletedHelpSystemIsRecreated();
};

void SystemTest::initTestCase()
{
    KxTest::initTestEnvironment();
    QCOMPARE(System::instance().currentLevel(), 1u);
    QCOMPARE(&System::instance(), &System::instance());
}

void SystemTest::cleanup()
{
    System::instance().setCurrentLevel(1);
    System::instance().setMainWindow(nullptr);
}

void SystemTest::levelChanges_data()
{
    QTest::addColumn<unsigned int>("level");
    QTest::addColumn<bool>("signalled");
    QTest::newRow("raised") << 3u << true;
    QTest::newRow("unchanged") << 1u << false;
    QTest::newRow("lowered to zero") << 0u << true;
    QTest::newRow("highest") << 0xFFFFFFFFu << true;
}

void SystemTest::levelChanges()
{
    QFETCH(unsigned int, level);
    QFETCH(bool, signalled);

    // GIVEN the default level 1
    System& system = System::instance();
    QSignalSpy spy(&system, &System::currentLevelChanged);

    // WHEN a level is set
    system.setCurrentLevel(level);

    // THEN it is current, and only a change is announced, once, with the new level
    QCOMPARE(system.currentLevel(), level);
    QCOMPARE(spy.count(), signalled ? 1 : 0);
    if (signalled)
        QCOMPARE(spy.first().first().toUInt(), level);
}

void SystemTest::mainWindowIsGuarded()
{
    // GIVEN a main window
    System& system = System::instance();
    QVERIFY(!system.mainWindow());
    auto* window = new QWidget;
    system.setMainWindow(window);
    QCOMPARE(system.mainWindow(), window);

    // WHEN it is destroyed THEN the system no longer hands it out
    delete window;
    QVERIFY(!system.mainWindow());
}

void SystemTest::helpSystemPerContext()
{
    // GIVEN two contexts WHEN their help systems are asked for twice
    System& system = System::instance();
    HelpSystem* parameter = system.helpSystem(QStringLiteral("parameter"));
    HelpSystem* scope = system.helpSystem(QStringLiteral("scope"));

    // THEN each context has one help system of its own, owned by the system
    QVERIFY(parameter && scope);
    QVERIFY(parameter != scope);
    QCOMPARE(system.helpSystem(QStringLiteral("parameter")), parameter);
    QCOMPARE(parameter->context(), QStringLiteral("parameter"));
    QCOMPARE(scope->context(), QStringLiteral("scope"));
    QCOMPARE(parameter->parent(), &system);

    // AND pages registered through one handle are seen through the next
    parameter->registerPage(QStringLiteral("P1"), QStringLiteral("Drehzahl"), QStringLiteral("<p>x</p>"));
    QVERIFY(system.helpSystem(QStringLiteral("parameter"))->hasPage(QStringLiteral("P1")));
    QVERIFY(!scope->hasPage(QStringLiteral("P1")));
}

void SystemTest::deletedHelpSystemIsRecreated()
{
    // GIVEN a help system that someone deletes
    System& system = System::instance();
    HelpSystem* first = system.helpSystem(QStringLiteral("vergänglich"));
    first->registerPage(QStringLiteral("x"), QStringLiteral("t"), QStringLiteral("h"));
    delete first;

    // WHEN it is asked for again THEN a new, empty one of that context comes back
    HelpSystem* second = system.helpSystem(QStringLiteral("vergänglich"));
    QVERIFY(second);
    QCOMPARE(second->context(), QStringLiteral("vergänglich"));
    QVERIFY(second->pageIdentifiers().isEmpty());
}

QTEST_MAIN(SystemTest)
#include "tst_system.moc"
