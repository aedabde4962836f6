#include "HelpSystem.h"
#include "HelpWidget.h"
#include "TestSupport.h"

#include <QSignalSpy>
#include <QTextBrowser>
#include <QUrl>
#include <QtTest>

class HelpWidgetTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void browserIsReadOnly();
    void helpSystemPages();
    void showHelpForId_data();
    void showHelpForId();
    void withoutHelpSystem();
    void showHtmlText();
    void changedPagesAreShownAgain();
    void helpLinksOpenOtherPages();
};

namespace {

void registerSamplePages(HelpSystem& help)
{
    help.registerPage(QStringLiteral("P-Drehzahl"), QStringLiteral("Drehzahlsollwert"),
                      QStringLiteral("<p>Sollwert der Drehzahl in 1/min.</p>"));
    help.registerPage(QStringLiteral("P-Strom"), QStringLiteral("Stromgrenze <max>"),
                      QStringLiteral("<p>Begrenzt den Motorstrom. Siehe <a href=\"help:P-Drehzahl\">Drehzahl</a>.</p>"));
}

} // namespace

void HelpWidgetTest::initTestCase()
{
    KxTest::initTestEnvironment();
}

void HelpWidgetTest::browserIsReadOnly()
{
    HelpWidget widget;
    auto* browser = widget.findChild<QTextBrowser*>(QStringLiteral("helpBrowser"));
    QVERIFY(browser);
    QVERIFY(browser->isReadOnly());
}

void HelpWidgetTest::helpSystemPages()
{
    // GIVEN a help system with two pages
    HelpSystem help(QStringLiteral("parameter"));
    QSignalSpy changed(&help, &HelpSystem::pagesChanged);
    registerSamplePages(help);

    // WHEN the first page is replaced
    help.registerPage(QStringLiteral("P-Drehzahl"), QStringLiteral("Neu"), QStringLiteral("<p>neu</p>"));

    // THEN it keeps its place and shows the new content, and every change was announced
    QCOMPARE(help.pageIdentifiers(), (QStringList{QStringLiteral("P-Drehzahl"), QStringLiteral("P-Strom")}));
    QCOMPARE(help.pageTitle(QStringLiteral("P-Drehzahl")), QStringLiteral("Neu"));
    QCOMPARE(help.pageHtml(QStringLiteral("P-Drehzahl")), QStringLiteral("<p>neu</p>"));
    QVERIFY(!help.hasPage(QStringLiteral("fehlt")));
    QVERIFY(help.pageTitle(QStringLiteral("fehlt")).isEmpty());
    QCOMPARE(changed.count(), 3);

    help.clear();
    QVERIFY(help.pageIdentifiers().isEmpty());
    QCOMPARE(changed.count(), 4);
}

void HelpWidgetTest::showHelpForId_data()
{
    QTest::addColumn<QString>("identifier");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QStringList>("shownTexts");
    QTest::newRow("known page shows title and text")
        << QStringLiteral("P-Drehzahl") << true
        << QStringList{QStringLiteral("Drehzahlsollwert"), QStringLiteral("Sollwert der Drehzahl in 1/min.")};
    QTest::newRow("title is shown as text, not markup")
        << QStringLiteral("P-Strom") << true << QStringList{QStringLiteral("Stromgrenze <max>"), QStringLiteral("Motorstrom")};
    QTest::newRow("unknown identifier") << QStringLiteral("P-Unbekannt") << false
                                        << QStringList{QStringLiteral("Keine Hilfe zu „P-Unbekannt“ vorhanden.")};
    QTest::newRow("unknown identifier with markup characters")
        << QStringLiteral("<b>A&B</b>") << false << QStringList{QStringLiteral("Keine Hilfe zu „<b>A&B</b>“ vorhanden.")};
    QTest::newRow("empty identifier clears") << QString() << true << QStringList();
}

void HelpWidgetTest::showHelpForId()
{
    QFETCH(QString, identifier);
    QFETCH(bool, result);
    QFETCH(QStringList, shownTexts);

    // GIVEN a widget showing some page of a help system
    HelpSystem help(QStringLiteral("parameter"));
    registerSamplePages(help);
    HelpWidget widget;
    widget.initialize(&help);
    widget.showHtmlText(QStringLiteral("<p>vorher</p>"));

    // WHEN a help identifier is shown
    QCOMPARE(widget.showHelpForId(identifier), result);

    // THEN the browser shows exactly what belongs to it
    const QString text = widget.plainText();
    for (const QString& expected : shownTexts)
        QVERIFY2(text.contains(expected), qPrintable(text));
    QVERIFY(!text.contains(QStringLiteral("vorher")));
    if (shownTexts.isEmpty())
        QVERIFY2(text.trimmed().isEmpty(), qPrintable(text));
    QCOMPARE(widget.currentIdentifier(), identifier);
}

void HelpWidgetTest::withoutHelpSystem()
{
    // GIVEN a widget never initialised
    HelpWidget widget;

    // THEN pages cannot be shown, but clearing works
    QVERIFY(!widget.showHelpForId(QStringLiteral("P-Drehzahl")));
    QVERIFY(widget.plainText().trimmed().isEmpty());
    QVERIFY(widget.showHelpForId(QString()));

    // GIVEN a help system that is destroyed after initialisation
    auto* help = new HelpSystem(QStringLiteral("parameter"));
    registerSamplePages(*help);
    widget.initialize(help);
    QVERIFY(widget.showHelpForId(QStringLiteral("P-Drehzahl")));
    delete help;

    // THEN the widget notices instead of using it
    QVERIFY(!widget.helpSystem());
    QVERIFY(!widget.showHelpForId(QStringLiteral("P-Strom")));
}

void HelpWidgetTest::showHtmlText()
{
    // GIVEN a widget showing a page
    HelpSystem help(QStringLiteral("parameter"));
    registerSamplePages(help);
    HelpWidget widget;
    widget.initialize(&help);
    QVERIFY(widget.showHelpForId(QStringLiteral("P-Drehzahl")));

    // WHEN any HTML is shown
    QVERIFY(widget.showHtmlText(QStringLiteral("<h1>Achse 2</h1><p>Wert <b>unterschiedlich</b></p>")));

    // THEN its text replaces the page, and no page counts as shown
    QCOMPARE(widget.plainText(), QStringLiteral("Achse 2\nWert unterschiedlich"));
    QVERIFY(widget.currentIdentifier().isEmpty());
}

void HelpWidgetTest::changedPagesAreShownAgain()
{
    // GIVEN a widget showing a page and another showing a missing one
    HelpSystem help(QStringLiteral("parameter"));
    registerSamplePages(help);
    HelpWidget shown;
    HelpWidget missing;
    shown.initialize(&help);
    missing.initialize(&help);
    shown.showHelpForId(QStringLiteral("P-Drehzahl"));
    QVERIFY(!missing.showHelpForId(QStringLiteral("P-Neu")));

    // WHEN the pages change
    help.registerPage(QStringLiteral("P-Drehzahl"), QStringLiteral("Drehzahl"), QStringLiteral("<p>überarbeitet</p>"));
    help.registerPage(QStringLiteral("P-Neu"), QStringLiteral("Neue Seite"), QStringLiteral("<p>jetzt da</p>"));

    // THEN both show the current content
    QVERIFY2(shown.plainText().contains(QStringLiteral("überarbeitet")), qPrintable(shown.plainText()));
    QVERIFY2(missing.plainText().contains(QStringLiteral("jetzt da")), qPrintable(missing.plainText()));
}

void HelpWidgetTest::helpLinksOpenOtherPages()
{
    // GIVEN a page with a link to another page
    HelpSystem help(QStringLiteral("parameter"));
    registerSamplePages(help);
    HelpWidget widget;
    widget.initialize(&help);
    widget.showHelpForId(QStringLiteral("P-Strom"));
    auto* browser = widget.findChild<QTextBrowser*>(QStringLiteral("helpBrowser"));
    QVERIFY(browser);

    // WHEN the link is followed
    emit browser->anchorClicked(QUrl(QStringLiteral("help:P-Drehzahl")));

    // THEN the other page is shown
    QCOMPARE(widget.currentIdentifier(), QStringLiteral("P-Drehzahl"));
    QVERIFY2(widget.plainText().contains(QStringLiteral("Sollwert der Drehzahl")), qPrintable(widget.plainText()));
}

QTEST_MAIN(HelpWidgetTest)
#include "tst_helpwidget.moc"
