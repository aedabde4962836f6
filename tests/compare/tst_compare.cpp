#include "TestSupport.h"

#include "AxisCompareView.h"
#include "ParameterCustomListTreeWidget.h"

#include "DefaultPathSetting.h"
#include "DriveController.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"

#include <QCheckBox>
#include <QSet>
#include <QSignalSpy>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCodec>

#include <algorithm>
#include <memory>

using namespace KxTest;

namespace {

QString rowKey(const QTreeWidgetItem* row)
{
    return row->text(0).section(QLatin1Char(' '), 0, 0);
}

QTreeWidgetItem* findRow(QTreeWidget* tree, const QString& key)
{
    for (QTreeWidgetItem* row : treeRows(tree)) {
        if (rowKey(row) == key)
            return row;
    }
    return nullptr;
}

QStringList rowKeys(QTreeWidget* tree, bool visibleOnly = false)
{
    QStringList keys;
    for (QTreeWidgetItem* row : treeRows(tree, visibleOnly))
        keys.append(rowKey(row));
    return keys;
}

std::unique_ptr<DefaultPathSetting> reportPathSetting()
{
    return std::unique_ptr<DefaultPathSetting>(DefaultPathSetting::create(DefaultPathSetting::ComparisonReports));
}

bool isHighlighted(const QTreeWidgetItem* row, const QColor& color)
{
    for (int column = 0; column <= 2; ++column) {
        if (row->background(column).color() != color)
            return false;
    }
    return true;
}

// Keys of yellow rows; a row neither yellow nor white is reported with "?".
QStringList highlightedRows(QTreeWidget* tree)
{
    QStringList keys;
    for (QTreeWidgetItem* row : treeRows(tree)) {
        if (isHighlighted(row, Qt::yellow))
            keys.append(rowKey(row));
        else if (!isHighlighted(row, Qt::white))
            keys.append(rowKey(row) + QLatin1Char('?'));
    }
    return keys;
}

} // namespace

class TestCompare : public QObject
{
    Q_OBJECT

    std::unique_ptr<Devices> devices;
    std::unique_ptr<AxisCompareView> view;

    QTreeWidget* tree() const { return view->findChild<ParameterCustomListTreeWidget*>(QStringLiteral("parameterTreeWidget")); }
    QCheckBox* differencesOnly() const { return view->findChild<QCheckBox*>(QStringLiteral("differencesOnly")); }

    // Sides are "controller:axis".
    DriveController* side(const QString& text) const { return devices->controller(text.section(QLatin1Char(':'), 0, 0)); }
    static int axis(const QString& text) { return text.section(QLatin1Char(':'), 1).toInt(); }
    void compare(const QString& a, const QString& b)
    {
        view->setAxisA(side(a), axis(a));
        view->setAxisB(side(b), axis(b));
        view->compare();
    }

    // Presses the export button and answers the save dialog with `fileName`.
    FileDialogRun exportReport(const QString& fileName)
    {
        FileDialogRun answer;
        answerFileDialog(&answer, fileName);
        view->findChild<QPushButton*>(QStringLiteral("exportToHtml"))->click();
        return answer;
    }

private slots:
    void initTestCase() { KxTest::initTestEnvironment(); }

    void init()
    {
        devices.reset(new Devices(project("portal")));
        view.reset(AxisCompareView::createAxisCompareView());
    }

    void cleanup()
    {
        cancelModalHandlers();
        view.reset();
        devices.reset();
    }

    void compareRows_data()
    {
        QTest::addColumn<QString>("sideA");
        QTest::addColumn<QString>("sideB");
        QTest::addColumn<QStringList>("editsOnB");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("differing");

        const QStringList portalRows{"A10", "A11", "A11[0]", "A11[1]", "A11[2]", "C20", "G01"};
        QTest::newRow("identical axes of two controllers")
            << "Portal:1" << "Portal Süd:1" << QStringList() << portalRows << QStringList();
        QTest::newRow("text differing in case only")
            << "Portal:1" << "Portal Süd:1" << QStringList{"C20=achse <1> & co"} << portalRows << QStringList{"C20"};
        QTest::newRow("device-wide value shared by both axes")
            << "Portal:1" << "Portal:2" << QStringList{"G01=60"} << (portalRows + QStringList{"H30"})
            << QStringList{"A10", "A11[1]", "C20", "H30"};
        QTest::newRow("two controller types")
            << "Portal:1" << "Einzel:1" << QStringList()
            << QStringList{"A10", "A11", "A11[0]", "A11[1]", "A11[2]", "A11[3]", "C20", "G01", "P50"}
            << QStringList{"A10", "A11[3]", "C20", "G01", "P50"};
    }

    void compareRows()
    {
        QFETCH(QString, sideA);
        QFETCH(QString, sideB);
        QFETCH(QStringList, editsOnB);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, differing);

        for (const QString& edit : qAsConst(editsOnB))
            writeValue(side(sideB), axis(sideB), edit);

        auto* listTree = static_cast<ParameterCustomListTreeWidget*>(tree());
        const int passes = listTree->contentRefreshCount();
        compare(sideA, sideB);
        deliver();
        // THEN the rows were built once, also after the notices the comparison left queued
        QCOMPARE(listTree->contentRefreshCount(), passes + 1);

        // THEN one row per parameter/element of either axis, differing ones yellow
        QCOMPARE(tree()->columnCount(), 3);
        QCOMPARE(rowKeys(tree()), rows);
        QCOMPARE(highlightedRows(tree()), differing);
        QCOMPARE(view->axesAreEqual(), differing.isEmpty());
        // AND the differing values are bold too, which does not rest on colour
        for (QTreeWidgetItem* row : treeRows(tree())) {
            const bool differs = differing.contains(rowKey(row));
            QCOMPARE(row->font(1).bold(), differs);
            QCOMPARE(row->font(2).bold(), differs);
            QVERIFY(!row->font(0).bold());
        }
        // AND the summary counts the parameters that differ in themselves or in an element
        QSet<QString> differingParameters;
        for (const QString& key : qAsConst(differing))
            differingParameters.insert(key.section(QLatin1Char('['), 0, 0));
        QCOMPARE(view->parameterCount(), tree()->topLevelItemCount());
        QCOMPARE(view->differingParameterCount(), differingParameters.size());
        const QString summary = QStringLiteral("%1 von %2 Parametern unterschiedlich").arg(differingParameters.size()).arg(tree()->topLevelItemCount());
        QCOMPARE(view->summaryText(), summary);
        QCOMPARE(view->findChild<QLabel*>(QStringLiteral("summaryLabel"))->text(), summary);
        // AND the comparison opens at its first difference, or at its top
        QVERIFY(tree()->currentItem());
        QCOMPARE(rowKey(tree()->currentItem()), differing.isEmpty() ? rows.first() : differing.first());

        // WHEN only the differences are asked for
        differencesOnly()->setChecked(true);
        // THEN "Keine Unterschiede" stands in for an empty grid
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
        QCOMPARE(view->findChild<QLabel*>(QStringLiteral("noDifferencesLabel"))->isVisible(), differing.isEmpty());
        QCOMPARE(tree()->isVisible(), !differing.isEmpty());
        // THEN only differing rows (and parents of differing elements) stay, unhighlighted
        QStringList visible;
        for (const QString& key : qAsConst(rows)) {
            if (std::any_of(differing.cbegin(), differing.cend(),
                            [&](const QString& d) { return d == key || d.startsWith(key + QLatin1Char('[')); }))
                visible.append(key);
        }
        QCOMPARE(rowKeys(tree(), true), visible);
        QCOMPARE(highlightedRows(tree()), QStringList());

        // WHEN the filter is switched off again
        differencesOnly()->setChecked(false);
        // THEN every row is back, highlighted as before
        QCOMPARE(rowKeys(tree(), true), rows);
        QCOMPARE(highlightedRows(tree()), differing);
    }

    void editsRecolourAtOnce_data()
    {
        QTest::addColumn<bool>("diffOnly");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("equalValue");
        QTest::addColumn<QString>("otherValue");
        QTest::newRow("simple parameter, all rows") << false << "A10" << "3000" << "4200";
        QTest::newRow("array element, differences only") << true << "A11[1]" << "10" << "14";
    }

    void editsRecolourAtOnce()
    {
        QFETCH(bool, diffOnly);
        QFETCH(QString, key);
        QFETCH(QString, equalValue);
        QFETCH(QString, otherValue);

        // GIVEN the two axes of "Portal", which differ in the row
        DriveController* portal = devices->controller(QStringLiteral("Portal"));
        compare(QStringLiteral("Portal:1"), QStringLiteral("Portal:2"));
        differencesOnly()->setChecked(diffOnly);
        QTreeWidgetItem* row = findRow(tree(), key);
        QVERIFY(row);
        QTreeWidgetItem* parent = row->parent();
        QVERIFY(!row->isHidden());

        // WHEN axis B is given the value of axis A
        writeValue(portal, 2, key + QLatin1Char('=') + equalValue);
        deliver();
        // THEN the row is at once white, or hidden when only differences show
        QCOMPARE(row->text(1), row->text(2));
        QCOMPARE(row->isHidden(), diffOnly);
        QVERIFY(isHighlighted(row, Qt::white));

        // WHEN refreshed (hiding an all-equal parent) and axis B differs again
        if (diffOnly) {
            differencesOnly()->setChecked(false);
            differencesOnly()->setChecked(true);
            if (parent)
                QVERIFY(parent->isHidden());
        }
        writeValue(portal, 2, key + QLatin1Char('=') + otherValue);
        deliver();
        // THEN the row (and its parent) shows again, yellow unless filtered, and
        // with only differences on its equal siblings stay hidden
        QVERIFY(!row->isHidden());
        if (parent) {
            QVERIFY(!parent->isHidden());
            for (int i = 0; diffOnly && i < parent->childCount(); ++i) {
                QTreeWidgetItem* sibling = parent->child(i);
                QCOMPARE(sibling->isHidden(), sibling->text(1) == sibling->text(2));
            }
        }
        QVERIFY(isHighlighted(row, diffOnly ? Qt::white : Qt::yellow));
    }

    // A parameter whose elements are all equal is passed over by later
    // switches of the filter; a change of one of them must still count.
    void elementChangesCountAcrossFilterSwitches()
    {
        DriveController* portal = devices->controller(QStringLiteral("Portal"));
        ParameterSetup* a11 = setupOf(portal, QStringLiteral("A11"));
        QVERIFY(a11);
        QList<quint16> elements = a11->valueElementIndices().values();
        std::sort(elements.begin(), elements.end());
        QVERIFY(elements.size() > 2);
        for (quint16 e : qAsConst(elements))
            QVERIFY(a11->setValueText(2, e, a11->valueText(1, e, false)));

        compare(QStringLiteral("Portal:1"), QStringLiteral("Portal:2"));
        QTreeWidgetItem* row = findRow(tree(), QStringLiteral("A11"));
        QTreeWidgetItem* element = findRow(tree(), QStringLiteral("A11[1]"));
        QVERIFY(row && element && element->parent() == row);
        auto shownElements = [row] {
            QStringList keys;
            for (int i = 0; i < row->childCount(); ++i) {
                if (!row->child(i)->isHidden())
                    keys.append(rowKey(row->child(i)));
            }
            return keys;
        };
        const QStringList allElements = shownElements();
        QCOMPARE(allElements.size(), row->childCount());
        for (int round = 0; round < 2; ++round) {
            differencesOnly()->setChecked(true);
            QVERIFY(row->isHidden());
            differencesOnly()->setChecked(false);
            QVERIFY(!row->isHidden());
            QCOMPARE(shownElements(), allElements);
        }

        // WHEN one element comes to differ while all rows show
        writeValue(portal, 2, QStringLiteral("A11[1]=14"));
        deliver();
        QVERIFY(isHighlighted(element, Qt::yellow));
        // THEN the filter keeps the parameter with just that element
        differencesOnly()->setChecked(true);
        QVERIFY(!row->isHidden());
        QCOMPARE(shownElements(), QStringList{QStringLiteral("A11[1]")});
        differencesOnly()->setChecked(false);
        QCOMPARE(shownElements(), allElements);
        QVERIFY(isHighlighted(element, Qt::yellow));

        // WHEN it is equal again THEN the parameter goes with the filter once more
        writeValue(portal, 2, QStringLiteral("A11[1]=") + a11->valueText(1, 1, false));
        deliver();
        differencesOnly()->setChecked(true);
        QVERIFY(row->isHidden());
        differencesOnly()->setChecked(false);
        QCOMPARE(shownElements(), allElements);
        QVERIFY(isHighlighted(element, Qt::white));
    }

    void goingFromDifferenceToDifference()
    {
        // GIVEN the two axes of "Portal", whose differing rows are A10, A11[1], C20 and H30
        compare(QStringLiteral("Portal:1"), QStringLiteral("Portal:2"));
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
        tree()->setFocus();
        auto current = [&] { return tree()->currentItem() ? rowKey(tree()->currentItem()) : QString(); };
        QCOMPARE(current(), QStringLiteral("A10"));

        // WHEN F7 is pressed again and again THEN each differing row comes in turn, around the end
        QStringList visited;
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(tree(), Qt::Key_F7);
            visited << current();
        }
        QCOMPARE(visited, (QStringList{"A11[1]", "C20", "H30", "A10", "A11[1]"}));
        // AND Shift+F7 goes back the same way
        QTest::keyClick(tree(), Qt::Key_F7, Qt::ShiftModifier);
        QCOMPARE(current(), QStringLiteral("A10"));
        QTest::keyClick(tree(), Qt::Key_F7, Qt::ShiftModifier);
        QCOMPARE(current(), QStringLiteral("H30"));

        // WHEN a value is made equal THEN the summary follows once the event loop ran, and F7 skips the row
        QSignalSpy summaries(view.get(), &AxisCompareView::summaryChanged);
        const int before = view->differingParameterCount();
        writeValue(side(QStringLiteral("Portal:2")), 2, QStringLiteral("C20=") + findRow(tree(), QStringLiteral("C20"))->text(1));
        QTRY_COMPARE(summaries.count(), 1);
        QCOMPARE(view->differingParameterCount(), before - 1);
        QCOMPARE(summaries.last().first().toString(), view->summaryText());
        QVERIFY(!findRow(tree(), QStringLiteral("C20"))->font(1).bold());
        tree()->setCurrentItem(findRow(tree(), QStringLiteral("A11[1]")));
        QVERIFY(view->goToNextDifference());
        QCOMPARE(current(), QStringLiteral("H30"));

        // WHEN two equal axes are compared THEN there is nowhere to go, and the first row is current
        compare(QStringLiteral("Portal:1"), QStringLiteral("Portal Süd:1"));
        QCOMPARE(view->differingParameterCount(), 0);
        QCOMPARE(current(), QStringLiteral("A10"));
        QVERIFY(!view->goToNextDifference());
        QVERIFY(!view->goToPreviousDifference());
        QCOMPARE(current(), QStringLiteral("A10"));
    }

    void sideFromAnotherFileIsNamedInItsHeader()
    {
        compare(QStringLiteral("Portal:1"), QStringLiteral("Portal Süd:1"));
        const QString captionB = tree()->headerItem()->text(2);
        view->setFileOfSideB(QStringLiteral("/tmp/andere/Werk 2.kxproj"));
        QCOMPARE(tree()->headerItem()->text(2), captionB + QStringLiteral("\nWerk 2.kxproj"));
        QCOMPARE(tree()->headerItem()->text(1).count(QLatin1Char('\n')), 1);
        view->setFileOfSideB(QString());
        QCOMPARE(tree()->headerItem()->text(2), captionB);
    }

    void comparingTheSameSidesAgainKeepsTheRows()
    {
        // GIVEN a comparison, and then a value edited on side B
        compare(QStringLiteral("Portal:1"), QStringLiteral("Portal Süd:1"));
        deliver();
        auto* listTree = static_cast<ParameterCustomListTreeWidget*>(tree());
        const int passes = listTree->contentRefreshCount();
        QTreeWidgetItem* row = findRow(tree(), QStringLiteral("A10"));
        QVERIFY(row && isHighlighted(row, Qt::white));
        writeValue(side(QStringLiteral("Portal Süd:1")), 1, QStringLiteral("A10=2800"));
        // WHEN the same sides are compared again THEN no row is rebuilt, yet the edit shows and counts
        compare(QStringLiteral("Portal:1"), QStringLiteral("Portal Süd:1"));
        QCOMPARE(listTree->contentRefreshCount(), passes);
        QCOMPARE(findRow(tree(), QStringLiteral("A10")), row);
        QVERIFY(isHighlighted(row, Qt::yellow));
        QVERIFY(!view->axesAreEqual());
        // WHEN other sides are compared THEN the rows are built once
        compare(QStringLiteral("Portal:1"), QStringLiteral("Portal:2"));
        deliver();
        QCOMPARE(listTree->contentRefreshCount(), passes + 1);
    }

    void verdictFollowsEditsOnRefresh()
    {
        // GIVEN axes differing in one value, WHEN it is edited away and the
        // view refreshed THEN they count as equal and no row shows
        compare(QStringLiteral("Portal:1"), QStringLiteral("Portal Süd:1"));
        writeValue(side(QStringLiteral("Portal Süd:1")), 1, QStringLiteral("A10=2800"));
        QVERIFY(!view->axesAreEqual());
        writeValue(side(QStringLiteral("Portal Süd:1")), 1, QStringLiteral("A10=3000"));
        differencesOnly()->setChecked(true);
        QVERIFY(view->axesAreEqual());
        QCOMPARE(rowKeys(tree(), true), QStringList());
    }

    void sameAxis_data()
    {
        QTest::addColumn<QString>("sideB");
        QTest::addColumn<bool>("same");
        QTest::newRow("same controller and axis") << "Portal:1" << true;
        QTest::newRow("other controller, same number") << "Portal Süd:1" << false;
    }

    void sameAxis()
    {
        QFETCH(QString, sideB);
        QFETCH(bool, same);

        // GIVEN other axes compared before, WHEN side B names the row's axis
        compare(QStringLiteral("Portal:1"), QStringLiteral("Einzel:1"));
        QVERIFY(!view->axesAreEqual());
        compare(QStringLiteral("Portal:1"), sideB);
        // THEN an axis compared with itself shows only the label and is equal
        QCOMPARE(view->findChild<QLabel*>(QStringLiteral("axisAreEqual"))->isHidden(), !same);
        QCOMPARE(view->findChild<QLabel*>(QStringLiteral("axisAreEqual"))->text(),
                 QStringLiteral("Ausgewähle Achsen sind gleich."));
        for (const char* name : {"treeContainerWidget", "differencesOnly", "exportToHtml", "bottomButton"})
            QCOMPARE(view->findChild<QWidget*>(QLatin1String(name))->isHidden(), same);
        if (same)
            QVERIFY(view->axesAreEqual());
        else
            QVERIFY(rowKeys(tree()).contains(QStringLiteral("A10")));
    }

    void comparingAgainFollowsTheNewSides()
    {
        // GIVEN two axes of one type compared, their values observed
        DriveController* portal = devices->controller(QStringLiteral("Portal"));
        QPointer<ParameterSetup> onlyOnAxisTwo = portal->parameterProvider()->parameterSetup(ParameterCoordinate(QStringLiteral("H30")));
        QPointer<ParameterSetup> speedLimit = portal->parameterProvider()->parameterSetup(ParameterCoordinate(QStringLiteral("A10")));
        compare(QStringLiteral("Portal:1"), QStringLiteral("Portal:2"));
        QVERIFY(rowKeys(tree()).contains(QStringLiteral("H30")));
        QVERIFY(onlyOnAxisTwo->observedCount(2, 0) > 0);

        // WHEN side B is replaced by an axis of another type
        compare(QStringLiteral("Portal:1"), QStringLiteral("Einzel:1"));
        // THEN rows and headers follow the new sides; H30 is no longer observed
        QVERIFY(!rowKeys(tree()).contains(QStringLiteral("H30")));
        QVERIFY(rowKeys(tree()).contains(QStringLiteral("P50")));
        QCOMPARE(tree()->headerItem()->text(1), QStringLiteral("Portal\nX"));
        QCOMPARE(tree()->headerItem()->text(2), QStringLiteral("Einzel\nS"));
        QCOMPARE(onlyOnAxisTwo->observedCount(2, 0), 0);
        QVERIFY(speedLimit->observedCount(1, 0) > 0);
        QCOMPARE(speedLimit->observedCount(2, 0), 0);

        // WHEN the view goes THEN nothing stays observed
        view.reset();
        QCOMPARE(speedLimit->observedCount(1, 0), 0);
    }

    void bottomAreaShowsTheCurrentAxis()
    {
        // The tree routes the current cell to colour strip and property list; here only the area's button is the view's own.
        compare(QStringLiteral("Portal:1"), QStringLiteral("Portal:2"));
        auto* bottomButton = view->findChild<QPushButton*>(QStringLiteral("bottomButton"));
        QWidget* bottomWidget = view->findChild<QWidget*>(QStringLiteral("bottomWidget"));
        QVERIFY(bottomWidget->isHidden());
        bottomButton->click();
        QVERIFY(!bottomWidget->isHidden());
        tree()->setCurrentItem(findRow(tree(), QStringLiteral("A10")), 2);
        QCOMPARE(view->findChild<QWidget*>(QStringLiteral("colorWidget"))->palette().color(QPalette::Window), QColor(QStringLiteral("#c03060")));
    }

    void controllerGoneBeforeComparing()
    {
        // GIVEN sides named, then one controller deleted
        view->setAxisA(devices->controller(QStringLiteral("Portal")), 1);
        view->setAxisB(devices->controller(QStringLiteral("Einzel")), 1);
        delete devices->controller(QStringLiteral("Einzel"));
        // WHEN compared THEN nothing is shown and nothing breaks
        view->compare();
        QCOMPARE(tree()->topLevelItemCount(), 0);
        QVERIFY(view->axesAreEqual());
    }

    void smallReportMatchesExpectedDocument_data()
    {
        QTest::addColumn<bool>("diffOnly");
        QTest::newRow("all rows on screen") << false;
        QTest::newRow("only differences on screen") << true;
    }

    void smallReportMatchesExpectedDocument()
    {
        QFETCH(bool, diffOnly);
        QTemporaryDir dir;
        const QString fileName = dir.filePath(QStringLiteral("Achsvergleich Portal.html"));

        // GIVEN axis X of "Portal" compared with axis Y2 of "Portal Süd"
        compare(QStringLiteral("Portal:1"), QStringLiteral("Portal Süd:2"));
        differencesOnly()->setChecked(diffOnly);

        // WHEN the report is exported on a system whose locale is not UTF-8
        QTextCodec* localeCodec = QTextCodec::codecForLocale();
        QTextCodec::setCodecForLocale(QTextCodec::codecForName("ISO-8859-15"));
        const auto restoreCodec = qScopeGuard([localeCodec] { QTextCodec::setCodecForLocale(localeCodec); });
        const FileDialogRun answer = exportReport(fileName);

        // THEN the file is exactly the expected document; its path is remembered
        QVERIFY(answer.dialogSeen);
        QCOMPARE(answer.caption, QStringLiteral("Parameterübersicht als HTML exportieren"));
        QCOMPARE(answer.filters, QStringList{QStringLiteral("HTML-dateien (*.html)")});
        const QByteArray expected = KxTest::readFile(QStringLiteral(KX_SOURCE_DIR "/tests/compare/expected-small-report.html"));
        const QByteArray written = KxTest::readFile(fileName);
        QCOMPARE(written, expected);
        QCOMPARE(reportPathSetting()->suggestedPath(), fileName);
    }

    void failedExportWritesNothing_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("dialog cancelled") << QString();
        QTest::newRow("folder is a file") << "Ablage/Bericht.html";
    }

    void failedExportWritesNothing()
    {
        QFETCH(QString, target);
        QTemporaryDir dir;
        // A file where a folder would be: unwritable even for root.
        QFile blocker(dir.filePath(QStringLiteral("Ablage")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();

        // GIVEN a comparison and a report remembered from an earlier export
        compare(QStringLiteral("Portal:1"), QStringLiteral("Portal:2"));
        const QString earlier = dir.filePath(QStringLiteral("frueher.html"));
        QFile earlierFile(earlier);
        QVERIFY(earlierFile.open(QIODevice::WriteOnly));
        earlierFile.close();
        reportPathSetting()->rememberPath(earlier);

        // WHEN cancelled or aimed at an unwritable place
        const QString fileName = target.isEmpty() ? QString() : dir.filePath(target);
        const FileDialogRun answer = exportReport(fileName);

        // THEN the dialog opened at the last report, nothing was written or said
        QVERIFY(answer.dialogSeen);
        QCOMPARE(QDir(answer.directory), QDir(dir.path()));
        QVERIFY(!answer.messageSeen);
        if (!fileName.isEmpty())
            QVERIFY(!QFile::exists(fileName));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
                 (QStringList{QStringLiteral("Ablage"), QStringLiteral("frueher.html")}));
        QCOMPARE(reportPathSetting()->suggestedPath(), earlier);
        QVERIFY(!QApplication::activeModalWidget());
    }
};

QTEST_MAIN(TestCompare)
#include "tst_compare.moc"
