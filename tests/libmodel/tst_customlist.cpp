#include "ListTestSupport.h"
#include "TestSupport.h"

#include "ParameterCustomList.h"
#include "ParameterCustomListEntry.h"
#include "ParameterCustomListRepository.h"

#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "ParameterSetup.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using Axes = QList<QPointer<DriveControllerAxis>>;
using KxTest::describe;

namespace {
enum Operation { SetSameName, SetAxes, RemoveMissingEntry, ClearEntries, ImportEmptyText };
}

class TestCustomList : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<KxTest::Host> host;
    Axes feedAxes() const { return {host->axis(0, 1), host->axis(0, 2)}; }

private slots:
    void initTestCase()
    {
        KxTest::initTestEnvironment();
        host.reset(new KxTest::Host);
        ParameterCustomListRepository::instance().initialize(host.get());
    }

    void addEntry_data()
    {
        QTest::addColumn<bool>("withAxes");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QString>("expected");
        QTest::newRow("second element adds") << true << QStringList{"A12[3]", "A12[5]"} << "A12[3/5]";
        QTest::newRow("element after whole keeps whole") << true << QStringList{"A12", "A12[3]"} << "A12";
        QTest::newRow("whole after element") << true << QStringList{"A12[3]", "A12"} << "A12";
        QTest::newRow("element no axis defines") << true << QStringList{"A12[12]"} << "A12[]";
        QTest::newRow("lenient text, coordinate order") << true << QStringList{"B20", " a12[4] "} << "A12[4] B20";
        QTest::newRow("without axes nothing stays") << false << QStringList{"A12[3]", "A12[5]"} << "A12[]";
    }

    void addEntry()
    {
        QFETCH(bool, withAxes);
        QFETCH(QStringList, texts);
        QFETCH(QString, expected);
        ParameterCustomList list;
        if (withAxes)
            list.setAxes(feedAxes());
        QSignalSpy entriesChanged(&list, SIGNAL(listEntriesChanged()));
        for (const QString& text : texts)
            list.addEntry(text);
        // THEN the entries hold what the axes define, one posting per call
        QCOMPARE(describe(list), expected);
        QCOMPARE(entriesChanged.count(), 0);
        QTRY_COMPARE(entriesChanged.count(), texts.size());
    }

    void invalidTextsChangeNothing()
    {
        ParameterCustomList list;
        list.setAxes(feedAxes());
        list.addEntry(QStringLiteral("A10"));
        QCoreApplication::processEvents();
        QSignalSpy entriesChanged(&list, SIGNAL(listEntriesChanged()));
        for (const char* text : {"", "Drehzahl", "A", "A12[x]"}) {
            list.addEntry(QLatin1String(text));
            list.removeEntry(QLatin1String(text));
        }
        QCoreApplication::processEvents();
        QCOMPARE(describe(list), QStringLiteral("A10"));
        QCOMPARE(entriesChanged.count(), 0);
    }

    void removeEntry_data()
    {
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<QString>("removed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("element of whole parameter") << QStringList{"A12"} << "A12[3]" << "A12[0/1/2/4/5/6/7/8/9]";
        QTest::newRow("element not in set keeps whole") << QStringList{"A12"} << "A12[12]" << "A12";
        QTest::newRow("last element leaves empty entry") << QStringList{"A12[3]"} << "A12[3]" << "A12[]";
        QTest::newRow("whole parameter removes entry") << QStringList{"A12[3]", "A10"} << "A12" << "A10";
    }

    void removeEntry()
    {
        QFETCH(QStringList, added);
        QFETCH(QString, removed);
        QFETCH(QString, expected);
        ParameterCustomList list;
        list.setAxes(feedAxes());
        for (const QString& text : added)
            list.addEntry(text);
        QCoreApplication::processEvents();
        QSignalSpy entriesChanged(&list, SIGNAL(listEntriesChanged()));
        list.removeEntry(removed);
        QCOMPARE(describe(list), expected);
        QTRY_COMPARE(entriesChanged.count(), 1);
    }

    void changesArePosted_data()
    {
        QTest::addColumn<int>("operation");
        QTest::addColumn<QByteArray>("signal");
        QTest::newRow("setName with same name") << int(SetSameName) << QByteArray(SIGNAL(listNameChanged()));
        QTest::newRow("setAxes") << int(SetAxes) << QByteArray(SIGNAL(listAxesChanged()));
        QTest::newRow("removeEntry of missing") << int(RemoveMissingEntry) << QByteArray(SIGNAL(listEntriesChanged()));
        QTest::newRow("clearEntries") << int(ClearEntries) << QByteArray(SIGNAL(listEntriesChanged()));
        QTest::newRow("importText of nothing") << int(ImportEmptyText) << QByteArray(SIGNAL(listEntriesChanged()));
    }

    void changesArePosted()
    {
        QFETCH(int, operation);
        QFETCH(QByteArray, signal);
        auto run = [this, operation](ParameterCustomList& list) {
            switch (Operation(operation)) {
            case SetSameName: list.setName(list.name()); break;
            case SetAxes: list.setAxes(feedAxes()); break;
            case RemoveMissingEntry: list.removeEntry(QStringLiteral("A11")); break;
            case ClearEntries: list.clearEntries(); break;
            case ImportEmptyText: list.importText(QByteArray()); break;
            }
        };
        ParameterCustomList list;
        QCoreApplication::processEvents();
        QSignalSpy spy(&list, signal.constData());
        // WHEN run twice THEN nothing arrives before the event loop, then two postings
        run(list);
        run(list);
        QCOMPARE(spy.count(), 0);
        QTRY_COMPARE(spy.count(), 2);
        // WHEN the repository's signals are blocked THEN nothing is posted, not even later
        ParameterCustomListRepository::instance().blockSignals(true);
        run(list);
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

    void identifiersAreFreshBracedUuids()
    {
        ParameterCustomList first;
        ParameterCustomList second;
        const QRegularExpression form(QStringLiteral("^\\{[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}\\}$"));
        QVERIFY(form.match(first.identifier()).hasMatch());
        QVERIFY(first.identifier() != second.identifier());
    }

    void setCoordinatesReplacesOnlyWhatChanged()
    {
        ParameterCustomList list;
        list.setAxes(feedAxes());
        list.addEntry(QStringLiteral("A12[3]"));
        list.addEntry(QStringLiteral("A10"));
        ParameterCustomListEntry* kept = list.entries().value(ParameterCoordinate(QStringLiteral("A12")));
        QCoreApplication::processEvents();
        QSignalSpy entriesChanged(&list, SIGNAL(listEntriesChanged()));

        list.setCoordinates({ParameterCoordinate(QStringLiteral("A12")), ParameterCoordinate(QStringLiteral("A11"))});

        // THEN A10 is gone, A11 is whole, A12 is the untouched old entry, and nothing is posted
        QCOMPARE(describe(list), QStringLiteral("A11 A12[3]"));
        QCOMPARE(list.entries().value(ParameterCoordinate(QStringLiteral("A12"))), kept);
        QTest::qWait(20);
        QCOMPARE(entriesChanged.count(), 0);
    }

    void destroyingListStopsObserving()
    {
        ParameterSetup* setup = KxTest::setupOf(host->axis(0, 2), QStringLiteral("A11"));
        auto list = std::make_unique<ParameterCustomList>();
        list->setAxes(feedAxes());
        list->addEntry(QStringLiteral("A11"));
        list->entries().first()->attachAxes();
        QCOMPARE(setup->observedCount(2, 3), 1);
        list.reset();
        QCOMPARE(setup->observedCount(2, 3), 0);
    }

    void exportText()
    {
        ParameterCustomList list;
        QCOMPARE(list.exportText(), QByteArray());
        list.setAxes(feedAxes());
        for (const char* text : {"A12[3]", "A12[1]", "A10"})
            list.addEntry(QLatin1String(text));
        // THEN lines in coordinate order, each ending in CR LF
        const QByteArray text = list.exportText();
        QVERIFY2(text == "A10\r\nA12[1/3]\r\n" || text == "A10\r\nA12[3/1]\r\n", text.constData());
    }

    void importText_data()
    {
        QTest::addColumn<QString>("existing");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("line feeds, blanks, blank lines") << "" << QByteArray("  A10 \t\r\n\r\n\n\tA12[1/3]  \n \r\n") << "A10 A12[1/3]";
        QTest::newRow("empty brackets mean whole") << "" << QByteArray("A12[]") << "A12";
        QTest::newRow("empty part is element 0") << "" << QByteArray("A12[2//4]") << "A12[0/2/4]";
        QTest::newRow("letters in brackets mean whole") << "" << QByteArray("A12[2/x]") << "A12";
        QTest::newRow("last of duplicate lines wins") << "" << QByteArray("A12[1]\r\nA12[2/5]\r\n") << "A12[2/5]";
        QTest::newRow("elements no axis defines dropped") << "" << QByteArray("A12[3/15]") << "A12[3]";
        QTest::newRow("text after brackets ignored") << "" << QByteArray("A12[1/2] Sollwerte") << "A12[1/2]";
        QTest::newRow("lines starting with a bracket skipped") << "" << QByteArray("[3]\n]A10\n") << "";
        QTest::newRow("merges into existing entries") << "A10 A12[1] A12[3]" << QByteArray("A12[5]\r\nB20\r\n") << "A10 A12[5] B20";
    }

    void importText()
    {
        QFETCH(QString, existing);
        QFETCH(QByteArray, text);
        QFETCH(QString, expected);
        ParameterCustomList list;
        list.setAxes(feedAxes());
        for (const QString& entry : existing.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            list.addEntry(entry);
        QCoreApplication::processEvents();
        QSignalSpy entriesChanged(&list, SIGNAL(listEntriesChanged()));
        list.importText(text);
        QCOMPARE(describe(list), expected);
        QTRY_COMPARE(entriesChanged.count(), 1);
    }

};

QTEST_GUILESS_MAIN(TestCustomList)
#include "tst_customlist.moc"
