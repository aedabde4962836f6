#include "HelpSystem.h"
#include "HelpWidget.h"
#include "System.h"
#include "TestSupport.h"

#include <QSignalSpy>
#include <QTextBrowser>
#include <QUrl>
#include <QtTest>

namespace {

void registerSamplePages(HelpSystem& help)
{
    help.registerPage(QStringLiteral("P-Drehzahl"), QStringLiteral("Drehzahlsollwert"),
                      QStringLiteral("<p>Sollwert der Drehzahl in 1/min.</p>"));
    help.registerPage(QStringLiteral("P-Strom"), QStringLiteral("Stromgrenze <max>"),
                      QStringLiteral("<p>Begrenzt den Motorstrom. Siehe <a href=\"help:P-Drehzahl\">Drehzahl</a>.</p>"));
}

} // namespace

class SystemTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        KxTest::initTestEnvironment();
        QCOMPARE(System::instance().currentLevel(), 1u);
    }

    void levelChangesAndMainWindow()
    {
        // Only a change of the level is announced, once, with the new level.
        System& system = System::instance();
        QSignalSpy spy(&system, &System::currentLevelChanged);
        for (unsigned int level : {3u, 3u, 0u}) {
            system.setCurrentLevel(level);
            QCOMPARE(system.currentLevel(), level);
        }
        QCOMPARE(spy.count(), 2);
        QCOMPARE(spy.last().first().toUInt(), 0u);

        // A destroyed main window is no longer handed out.
        auto* window = new QWidget;
        system.setMainWindow(window);
        QCOMPARE(system.mainWindow(), window);
        delete window;
        QVERIFY(!system.mainWindow());
    }

    void helpSystemPerContext()
    {
        // GIVEN two contexts THEN each has one help system of its own, owned by the system
        System& system = System::instance();
        HelpSystem* parameter = system.helpSystem(QStringLiteral("parameter"));
        HelpSystem* scope = system.helpSystem(QStringLiteral("scope"));
        QVERIFY(parameter && scope && parameter != scope);
        QCOMPARE(system.helpSystem(QStringLiteral("parameter")), parameter);
        QCOMPARE(scope->context(), QStringLiteral("scope"));
        QCOMPARE(parameter->parent(), &system);

        // WHEN a page is replaced THEN it keeps its place; every change is announced
        QSignalSpy changed(parameter, &HelpSystem::pagesChanged);
        registerSamplePages(*parameter);
        parameter->registerPage(QStringLiteral("P-Drehzahl"), QStringLiteral("Neu"), QStringLiteral("<p>neu</p>"));
        QCOMPARE(parameter->pageIdentifiers(), (QStringList{QStringLiteral("P-Drehzahl"), QStringLiteral("P-Strom")}));
        QCOMPARE(parameter->pageTitle(QStringLiteral("P-Drehzahl")), QStringLiteral("Neu"));
        QCOMPARE(parameter->pageHtml(QStringLiteral("P-Drehzahl")), QStringLiteral("<p>neu</p>"));
        QVERIFY(!parameter->hasPage(QStringLiteral("fehlt")));
        QCOMPARE(changed.count(), 3);

        // WHEN one is deleted THEN a new, empty one of that context comes back
        delete parameter;
        HelpSystem* again = system.helpSystem(QStringLiteral("parameter"));
        QVERIFY(again);
        QCOMPARE(again->context(), QStringLiteral("parameter"));
        QVERIFY(again->pageIdentifiers().isEmpty());
    }

    void showHelpForId_data()
    {
        QTest::addColumn<QString>("identifier");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QStringList>("shownTexts");
        QTest::newRow("title shown as text, not markup")
            << QStringLiteral("P-Strom") << true << QStringList{QStringLiteral("Stromgrenze <max>"), QStringLiteral("Motorstrom")};
        QTest::newRow("unknown identifier with markup characters")
            << QStringLiteral("<b>A&B</b>") << false << QStringList{QStringLiteral("Keine Hilfe zu „<b>A&B</b>“ vorhanden.")};
    }

    void showHelpForId()
    {
        QFETCH(QString, identifier);
        QFETCH(bool, result);
        QFETCH(QStringList, shownTexts);

        // GIVEN a widget showing any HTML, which counts as no page
        HelpSystem help(QStringLiteral("parameter"));
        registerSamplePages(help);
        HelpWidget widget;
        widget.initialize(&help);
        QVERIFY(widget.showHtmlText(QStringLiteral("<h1>vorher</h1><p>Wert <b>fett</b></p>")));
        QCOMPARE(widget.plainText(), QStringLiteral("vorher\nWert fett"));
        QVERIFY(widget.currentIdentifier().isEmpty());

        // WHEN a help identifier is shown THEN the browser shows exactly its texts
        QCOMPARE(widget.showHelpForId(identifier), result);
        const QString text = widget.plainText();
        for (const QString& expected : shownTexts)
            QVERIFY2(text.contains(expected), qPrintable(text));
        QVERIFY2(!shownTexts.isEmpty() || text.trimmed().isEmpty(), qPrintable(text));
        QVERIFY(!text.contains(QStringLiteral("vorher")));
        QCOMPARE(widget.currentIdentifier(), identifier);
    }

    void withoutHelpSystem()
    {
        // GIVEN a widget never initialised THEN pages cannot be shown, but clearing works
        HelpWidget widget;
        QVERIFY(!widget.showHelpForId(QStringLiteral("P-Drehzahl")));
        QVERIFY(widget.showHelpForId(QString()));

        // GIVEN a help system destroyed after initialisation THEN the widget notices instead of using it
        auto* help = new HelpSystem(QStringLiteral("parameter"));
        registerSamplePages(*help);
        widget.initialize(help);
        QVERIFY(widget.showHelpForId(QStringLiteral("P-Drehzahl")));
        delete help;
        QVERIFY(!widget.helpSystem());
        QVERIFY(!widget.showHelpForId(QStringLiteral("P-Strom")));
    }

    void changedPagesAndLinks()
    {
        // GIVEN a widget showing a page with a link, and another showing a missing page
        HelpSystem help(QStringLiteral("parameter"));
        registerSamplePages(help);
        HelpWidget widget, missing;
        widget.initialize(&help);
        missing.initialize(&help);
        QVERIFY(widget.showHelpForId(QStringLiteral("P-Strom")));
        QVERIFY(!missing.showHelpForId(QStringLiteral("P-Neu")));
        auto* browser = widget.findChild<QTextBrowser*>(QStringLiteral("helpBrowser"));
        QVERIFY(browser && browser->isReadOnly());

        // WHEN the link is followed THEN the other page is shown
        emit browser->anchorClicked(QUrl(QStringLiteral("help:P-Drehzahl")));
        QCOMPARE(widget.currentIdentifier(), QStringLiteral("P-Drehzahl"));
        QVERIFY2(widget.plainText().contains(QStringLiteral("Sollwert der Drehzahl")), qPrintable(widget.plainText()));

        // WHEN the pages change THEN both widgets show the current content; clearing empties the system
        help.registerPage(QStringLiteral("P-Drehzahl"), QStringLiteral("Drehzahl"), QStringLiteral("<p>überarbeitet</p>"));
        help.registerPage(QStringLiteral("P-Neu"), QStringLiteral("Neue Seite"), QStringLiteral("<p>jetzt da</p>"));
        QVERIFY2(widget.plainText().contains(QStringLiteral("überarbeitet")), qPrintable(widget.plainText()));
        QVERIFY2(missing.plainText().contains(QStringLiteral("jetzt da")), qPrintable(missing.plainText()));
        help.clear();
        QVERIFY(help.pageIdentifiers().isEmpty());
    }
};

QTEST_MAIN(SystemTest)
#include "tst_system.moc"
