// The change journal: kept in the project file, shown newest first and
// filtered, exported as CSV that another program reads back, and handed over
// in the commissioning record (PDF, read back with pdftotext).
#include "AppTestSupport.h"
#include "TestSupport.h"

#include "ChangeJournal.h"
#include "ChangeJournalWindow.h"
#include "CommissioningRecord.h"
#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "MainWindow.h"
#include "ParameterCoordinate.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"
#include "ParameterView.h"
#include "Project.h"
#include "ProjectHost.h"

#include <QAction>
#include <QBuffer>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

namespace {

ChangeJournalEntry entry(const QString& controller, int axis, const QString& axisName, const QString& address,
                         const QString& oldValue, const QString& newValue, const QString& source,
                         ChangeJournalEntry::Outcome outcome = ChangeJournalEntry::Written, const QString& reason = QString())
{
    ChangeJournalEntry e;
    e.time = QDateTime::currentDateTimeUtc();
    e.controller = controller;
    e.axisNumber = axis;
    e.axisName = axisName;
    e.address = address;
    e.parameter = QStringLiteral("Parameter ") + address;
    e.oldValue = oldValue;
    e.newValue = newValue;
    e.source = source;
    e.outcome = outcome;
    e.reason = reason;
    return e;
}

// Runs a program no one here wrote; its standard output, or a failed test.
QByteArray run(const QString& program, const QStringList& arguments, const QByteArray& input = QByteArray())
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(10000)) {
        QTest::qFail(qPrintable(program + QStringLiteral(" did not start")), __FILE__, __LINE__);
        return {};
    }
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        QTest::qFail(qPrintable(program + QStringLiteral(" failed: ") + QString::fromUtf8(process.readAllStandardError())),
                     __FILE__, __LINE__);
        return {};
    }
    return process.readAllStandardOutput();
}

} // namespace

class JournalTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_types;
    QTemporaryDir m_work;
    QString m_description;

    QString workFile(const QString& name) const { return QDir(m_work.path()).filePath(name); }

private slots:
    void initTestCase()
    {
        KxTest::initTestEnvironment();
        QVERIFY(m_types.isValid() && m_work.isValid());
        m_description = AppTest::writeTypesAndDescription(QDir(m_types.path()), QDir(m_work.path()));
    }
    void cleanup() { KxTest::cancelModalHandlers(); }

    void journalSurvivesSaveAndReopen()
    {
        // GIVEN a project with three journal entries, one refused and one that did not arrive
        auto window = AppTest::openWindow(m_types.path(), m_description);
        QVERIFY(window);
        ChangeJournal* journal = window->changeJournal();
        QVERIFY(journal->entries().isEmpty());
        journal->add(entry(QStringLiteral("Prüfstand links"), 3, QStringLiteral("Drehtisch"), QStringLiteral("A10"),
                           QStringLiteral("100.0 1/min"), QStringLiteral("1500.0 1/min"), QStringLiteral("Liste „Abgleich“")));
        journal->add(entry(QStringLiteral("Prüfstand links"), 0, QString(), QStringLiteral("B20"), QStringLiteral("400 V"),
                           QStringLiteral("500 V"), QStringLiteral("Parameteransicht"), ChangeJournalEntry::Refused,
                           QStringLiteral("Wert außerhalb 180 ... 480")));
        journal->add(entry(QStringLiteral("Prüfstand links"), 1, QStringLiteral("Hubwerk"), QStringLiteral("A12[3]"),
                           QStringLiteral("30"), QStringLiteral("-30"), QStringLiteral("Achsvergleich"), ChangeJournalEntry::NotReached,
                           QStringLiteral("Verbindung verloren")));
        QVERIFY(window->project()->isModified());
        const QList<ChangeJournalEntry> written = journal->entries();

        // WHEN it is saved, a new project is made, and the file is opened again
        QVERIFY(window->saveFile(workFile(QStringLiteral("journal.kxproj"))));
        window->project()->newProject();
        QVERIFY(journal->entries().isEmpty());
        QVERIFY(window->openFile(workFile(QStringLiteral("journal.kxproj"))));

        // THEN the journal is back, entry by entry, times to the millisecond
        QCOMPARE(journal->entries().size(), written.size());
        for (int i = 0; i < written.size(); ++i)
            QVERIFY2(journal->entries().at(i) == written.at(i), qPrintable(QString::number(i)));
        QVERIFY(!window->project()->isModified());
    }

    void csvIsReadBackByAnotherProgram()
    {
        // GIVEN entries whose texts hold commas, quotes, line breaks and umlauts
        const QList<ChangeJournalEntry> entries{
            entry(QStringLiteral("Regler, Süd"), 1, QStringLiteral("X \"vorn\""), QStringLiteral("A10"), QStringLiteral("1,5"),
                  QStringLiteral("2,5"), QStringLiteral("Liste „Ölpumpe“")),
            entry(QStringLiteral("Regler"), 0, QString(), QStringLiteral("C31"), QStringLiteral("Zeile 1\nZeile 2"),
                  QStringLiteral(""), QStringLiteral("Rückgängig"), ChangeJournalEntry::Refused, QStringLiteral("nur lesbar"))};
        QByteArray csv;
        QBuffer buffer(&csv);
        QVERIFY(buffer.open(QIODevice::WriteOnly));
        QVERIFY(ChangeJournal::writeCsv(&buffer, entries));
        QVERIFY(csv.contains("\r\n"));

        // WHEN Python's csv module reads it
        const QByteArray script = "import csv, io, json, sys\n"
                                  "rows = list(csv.reader(io.TextIOWrapper(sys.stdin.buffer, encoding='utf-8-sig', newline='')))\n"
                                  "print(json.dumps(rows))\n";
        const QByteArray output = run(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QString::fromUtf8(script)}, csv);
        const QJsonArray rows = QJsonDocument::fromJson(output).array();

        // THEN it finds a header and one row per entry with every field as written
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows.at(0).toArray().at(0).toString(), QStringLiteral("Zeit"));
        for (int i = 0; i < entries.size(); ++i) {
            const QJsonArray row = rows.at(i + 1).toArray();
            QCOMPARE(row.size(), 10);
            QCOMPARE(row.at(1).toString(), entries.at(i).controller);
            QCOMPARE(row.at(3).toString(), entries.at(i).address);
            QCOMPARE(row.at(5).toString(), entries.at(i).oldValue);
            QCOMPARE(row.at(6).toString(), entries.at(i).newValue);
            QCOMPARE(row.at(7).toString(), entries.at(i).source);
            QCOMPARE(row.at(8).toString(), ChangeJournal::outcomeText(entries.at(i).outcome));
            QCOMPARE(row.at(9).toString(), entries.at(i).reason);
            QCOMPARE(QDateTime::fromString(row.at(0).toString(), Qt::ISODate).toUTC().toSecsSinceEpoch(),
                     entries.at(i).time.toSecsSinceEpoch());
        }
        QCOMPARE(rows.at(1).toArray().at(2).toString(), QStringLiteral("1 X \"vorn\""));
        QCOMPARE(rows.at(2).toArray().at(2).toString(), QStringLiteral("Gerät"));
    }

    void windowShowsNewestFirstFiltersAndLeadsToTheParameter()
    {
        // GIVEN a journal of two controllers
        auto window = AppTest::openWindow(m_types.path(), m_description, {QStringLiteral("Prüfstand rechts")});
        QVERIFY(window);
        ChangeJournal* journal = window->changeJournal();
        journal->add(entry(QStringLiteral("Prüfstand links"), 3, QStringLiteral("Drehtisch"), QStringLiteral("A10"),
                           QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("Liste „Eins“")));
        journal->add(entry(QStringLiteral("Prüfstand rechts"), 1, QStringLiteral("Achse 1"), QStringLiteral("A12[2]"),
                           QStringLiteral("20"), QStringLiteral("25"), QStringLiteral("Achsvergleich")));
        journal->add(entry(QStringLiteral("Prüfstand links"), 1, QStringLiteral("Hubwerk"), QStringLiteral("D40"),
                           QStringLiteral("50"), QStringLiteral("60"), QStringLiteral("Parameteransicht")));
        // (opened from "Extras")
        window->findChild<QAction*>(QStringLiteral("actionChangeJournal"))->trigger();
        auto* shownWindow = window->findChild<ChangeJournalWindow*>();
        QVERIFY(shownWindow && shownWindow->isVisible());
        ChangeJournalWindow& journalWindow = *shownWindow;
        auto* tree = journalWindow.findChild<QTreeWidget*>(QStringLiteral("entryTree"));
        auto addresses = [&] {
            QStringList shown;
            for (const ChangeJournalEntry& e : journalWindow.shownEntries())
                shown << e.address;
            return shown;
        };
        // THEN the newest entry comes first
        QCOMPARE(addresses(), (QStringList{"D40", "A12[2]", "A10"}));
        QCOMPARE(tree->topLevelItemCount(), 3);

        // WHEN filtered by controller, then by text as well
        auto* controllers = journalWindow.findChild<QComboBox*>(QStringLiteral("controllerFilter"));
        controllers->setCurrentIndex(controllers->findData(QStringLiteral("Prüfstand links")));
        QCOMPARE(addresses(), (QStringList{"D40", "A10"}));
        journalWindow.findChild<QLineEdit*>(QStringLiteral("textFilter"))->setText(QStringLiteral("eins"));
        QCOMPARE(addresses(), QStringList{"A10"});
        // AND a new entry arrives THEN it joins once the event loop ran, and the filter still holds
        journal->add(entry(QStringLiteral("Prüfstand links"), 3, QStringLiteral("Drehtisch"), QStringLiteral("A11"),
                           QStringLiteral("Drehzahl"), QStringLiteral("Lage"), QStringLiteral("Liste „Eins“")));
        QTRY_COMPARE(addresses(), (QStringList{"A11", "A10"}));

        // WHEN an entry is double-clicked
        QTreeWidgetItem* a10 = tree->topLevelItem(1);
        QCOMPARE(a10->text(3), QStringLiteral("A10"));
        emit tree->itemDoubleClicked(a10, 0);
        // THEN the parameter view shows that parameter on that axis
        ParameterView* view = window->parameterView();
        QVERIFY(view->axis());
        QCOMPARE(view->axis()->axisNumber(), 3);
        QVERIFY(view->treeWidget()->currentItem());
        QCOMPARE(view->treeWidget()->currentItem(), view->item(ParameterCoordinate(QStringLiteral("A10"))));
    }

    void commissioningRecordHoldsTheEntriesOfItsPeriodAndTheDifferences()
    {
        // GIVEN a journal with an old entry and two recent ones, and two axes that differ in A10
        auto window = AppTest::openWindow(m_types.path(), m_description);
        QVERIFY(window);
        const QList<DriveController*> controllers = window->project()->host()->driveControllers();
        DriveController* controller = controllers.first();
        ChangeJournalEntry old = entry(controller->name(), 1, QStringLiteral("Hubwerk"), QStringLiteral("D40"),
                                       QStringLiteral("50"), QStringLiteral("55"), QStringLiteral("Vormonat"));
        old.time = QDateTime::currentDateTimeUtc().addDays(-30);
        CommissioningRecord::Content content;
        content.projectName = QStringLiteral("Prüfstand");
        content.filePath = workFile(QStringLiteral("prüfstand.kxproj"));
        content.userName = QStringLiteral("Inbetriebnehmer");
        content.created = QDateTime::currentDateTime();
        content.from = QDateTime::currentDateTimeUtc().addDays(-1);
        content.controllers = controllers;
        content.entries = {old,
                           entry(controller->name(), 3, QStringLiteral("Drehtisch"), QStringLiteral("A10"), QStringLiteral("100.0 1/min"),
                                 QStringLiteral("1234.5 1/min"), QStringLiteral("Liste „Abgleich“")),
                           entry(controller->name(), 0, QString(), QStringLiteral("B20"), QStringLiteral("400 V"),
                                 QStringLiteral("230 V"), QStringLiteral("Parameteransicht"), ChangeJournalEntry::Refused,
                                 QStringLiteral("Gerät antwortet nicht"))};
        content.comparisons = {{controller, 1, controller, 3}};
        controller->setAxisFault(3, true);

        // WHEN the record is written as PDF and its text read back with pdftotext
        const QString path = workFile(QStringLiteral("protokoll.pdf"));
        QString error;
        QVERIFY2(CommissioningRecord::writePdf(path, content, &error), qPrintable(error));
        // (cells wrap within their column: words are compared with single blanks between them)
        const QString text = QString::fromUtf8(run(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), path, QStringLiteral("-")})).simplified();

        // THEN it names the project, the user and the axes with their state
        QVERIFY2(text.contains(QStringLiteral("Inbetriebnahmeprotokoll")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Inbetriebnehmer")));
        QVERIFY(text.contains(QStringLiteral("Drehtisch")) && text.contains(QStringLiteral("Störung")));
        // AND holds the two entries of the period, not the old one
        QVERIFY2(text.contains(QStringLiteral("Änderungen (2)")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("1234.5 1/min")));
        QVERIFY(text.contains(QStringLiteral("Gerät antwortet nicht")));
        QVERIFY(!text.contains(QStringLiteral("Vormonat")));
        // AND the comparison with its count, as the comparison window counts
        const QRegularExpression count(QStringLiteral("(\\d+) von (\\d+) Parametern unterschiedlich"));
        const QRegularExpressionMatch match = count.match(text);
        QVERIFY2(match.hasMatch(), qPrintable(text));
        QVERIFY(match.captured(1).toInt() >= 1);
        QVERIFY(text.contains(QStringLiteral("A10")));
        // AND every page says which of how many it is, the comparisons on a page of their own
        QRegularExpressionMatchIterator pages = QRegularExpression(QStringLiteral("Seite (\\d+) von (\\d+)")).globalMatch(text);
        int page = 0;
        int total = 0;
        while (pages.hasNext()) {
            const QRegularExpressionMatch numbered = pages.next();
            QCOMPARE(numbered.captured(1).toInt(), ++page);
            total = numbered.captured(2).toInt();
        }
        QVERIFY(page >= 2);
        QCOMPARE(page, total);
        QVERIFY(text.indexOf(QStringLiteral("Seite 1 von")) < text.indexOf(QStringLiteral("Achsvergleiche")));
    }
};

QTEST_MAIN(JournalTest)
#include "tst_journal.moc"
