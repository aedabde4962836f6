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
    void levelChanges_data();
    void levelChanges();
    void mainWindowIsGuarded();
    void helpSystemPerContext();
};

void SystemTest::initTestCase()
{
    KxTest::initTestEnvironment();
    QCOMPARE(System::instance().currentLevel(), 1u);
}

void SystemTest::levelChanges_data()
{
    QTest::addColumn<unsigned int>("level");
    QTest::addColumn<bool>("signalled");
    QTest::newRow("raised") << 3u << true;
    QTest::newRow("unchanged") << 1u << false;
    QTest::newRow("lowered to zero") << 0u << true;
}

void SystemTest::levelChanges()
{
    QFETCH(unsigned int, level);
    QFETCH(bool, signalled);

    // GIVEN level 1 WHEN a level is set THEN it is current, and only a
    // change is announced, once, with the new level
    System& system = System::instance();
    system.setCurrentLevel(1);
    QSignalSpy spy(&system, &System::currentLevelChanged);
    system.setCurrentLevel(level);
    QCOMPARE(system.currentLevel(), level);
    QCOMPARE(spy.count(), signalled ? 1 : 0);
    if (signalled)
        QCOMPARE(spy.first().first().toUInt(), level);
}

void SystemTest::mainWindowIsGuarded()
{
    // GIVEN a main window WHEN it is destroyed THEN it is no longer handed out
    System& system = System::instance();
    auto* window = new QWidget;
    system.setMainWindow(window);
    QCOMPARE(system.mainWindow(), window);
    delete window;
    QVERIFY(!system.mainWindow());
}

void SystemTest::helpSystemPerContext()
{
    // GIVEN two contexts WHEN their help systems are asked for
    System& system = System::instance();
    HelpSystem* parameter = system.helpSystem(QStringLiteral("parameter"));
    HelpSystem* scope = system.helpSystem(QStringLiteral("scope"));

    // THEN each context has one help system of its own, owned by the system
    QVERIFY(parameter && scope && parameter != scope);
    QCOMPARE(system.helpSystem(QStringLiteral("parameter")), parameter);
    QCOMPARE(scope->context(), QStringLiteral("scope"));
    QCOMPARE(parameter->parent(), &system);

    // WHEN one is deleted THEN a new, empty one of that context comes back
    parameter->registerPage(QStringLiteral("P1"), QStringLiteral("Drehzahl"), QStringLiteral("<p>x</p>"));
    delete parameter;
    HelpSystem* again = system.helpSystem(QStringLiteral("parameter"));
    QVERIFY(again);
    QCOMPARE(again->context(), QStringLiteral("parameter"));
    QVERIFY(again->pageIdentifiers().isEmpty());
}

QTEST_MAIN(SystemTest)
#include "tst_system.moc"
