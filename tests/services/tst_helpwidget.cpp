#include "HelpSystem.h"
#include "HelpWidget.h"
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

class HelpWidgetTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KxTest::initTestEnvironment(); }
    void helpSystemPages();
    void showHelpForId_data();
    void showHelpForId();
    void withoutHelpSystem();
    void changedPagesAndLinks();
};

void HelpWidgetTest::helpSystemPages()
{
    // GIVEN two pages WHEN the first is replaced THEN it keeps its place and
    // shows the new content, and every change was announced
    HelpSystem help(QStringLiteral("parameter"));
    QSignalSpy changed(&help, &HelpSystem::pagesChanged);
    registerSamplePages(help);
    help.registerPage(QStringLiteral("P-Drehzahl"), QStringLiteral("Neu"), QStringLiteral("<p>neu</p>"));
    QCOMPARE(help.pageIdentifiers(), (QStringList{QStringLiteral("P-Drehzahl"), QStringLiteral("P-Strom")}));
    QCOMPARE(help.pageTitle(QStringLiteral("P-Drehzahl")), QStringLiteral("Neu"));
    QCOMPARE(help.pageHtml(QStringLiteral("P-Drehzahl")), QStringLiteral("<p>neu</p>"));
    QVERIFY(!help.hasPage(QStringLiteral("fehlt")));
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
    QTest::newRow("title shown as text, not markup")
        << QStringLiteral("P-Strom") << true << QStringList{QStringLiteral("Stromgrenze <max>"), QStringLiteral("Motorstrom")};
    QTest::newRow("unknown identifier with markup characters")
        << QStringLiteral("<b>A&B</b>") << false << QStringList{QStringLiteral("Keine Hilfe zu „<b>A&B</b>“ vorhanden.")};
    QTest::newRow("empty identifier clears") << QString() << true << QStringList();
}

void HelpWidgetTest::showHelpForId()
{
    QFETCH(QString, identifier);
    QFETCH(bool, result);
    QFETCH(QStringList, shownTexts);

    // GIVEN a widget showing any HTML, which counts as no page
    HelpSystem help(QStringLiteral("parameter"));
    registerSamplePages(help);
    HelpWidget widget;
    widget.initialize(&help);
    QVERIFY(widget.showHelpForId(QStringLiteral("P-Drehzahl")));
    QVERIFY(widget.showHtmlText(QStringLiteral("<h1>vorher</h1><p>Wert <b>fett</b></p>")));
    QCOMPARE(widget.plainText(), QStringLiteral("vorher\nWert fett"));
    QVERIFY(widget.currentIdentifier().isEmpty());

    // WHEN a help identifier is shown THEN the browser shows exactly its texts
    QCOMPARE(widget.showHelpForId(identifier), result);
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
    // GIVEN a widget never initialised THEN pages cannot be shown, but clearing works
    HelpWidget widget;
    QVERIFY(!widget.showHelpForId(QStringLiteral("P-Drehzahl")));
    QVERIFY(widget.showHelpForId(QString()));

    // GIVEN a help system destroyed after initialisation THEN the widget
    // notices instead of using it
    auto* help = new HelpSystem(QStringLiteral("parameter"));
    registerSamplePages(*help);
    widget.initialize(help);
    QVERIFY(widget.showHelpForId(QStringLiteral("P-Drehzahl")));
    delete help;
    QVERIFY(!widget.helpSystem());
    QVERIFY(!widget.showHelpForId(QStringLiteral("P-Strom")));
}

void HelpWidgetTest::changedPagesAndLinks()
{
    // GIVEN a widget showing a page with a link in the read-only browser, and
    // another showing a missing page
    HelpSystem help(QStringLiteral("parameter"));
    registerSamplePages(help);
    HelpWidget widget;
    HelpWidget missing;
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

    // WHEN the pages change THEN both widgets show the current content
    help.registerPage(QStringLiteral("P-Drehzahl"), QStringLiteral("Drehzahl"), QStringLiteral("<p>überarbeitet</p>"));
    help.registerPage(QStringLiteral("P-Neu"), QStringLiteral("Neue Seite"), QStringLiteral("<p>jetzt da</p>"));
    QVERIFY2(widget.plainText().contains(QStringLiteral("überarbeitet")), qPrintable(widget.plainText()));
    QVERIFY2(missing.plainText().contains(QStringLiteral("jetzt da")), qPrintable(missing.plainText()));
}

QTEST_MAIN(HelpWidgetTest)
#include "tst_helpwidget.moc"
