#include "CompareTestSupport.h"
#include "TestSupport.h"

#include "AxisCompareReport.h"
#include "AxisCompareView.h"

#include "DefaultPathSetting.h"
#include "DeviceDescription.h"
#include "DriveController.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCodec>
#include <QTreeWidget>

#include <memory>

using namespace CompareTest;

namespace {

// "label|value A|value B" makes one row.
QTreeWidgetItem* makeRow(const QString& cells)
{
    return new QTreeWidgetItem(cells.split(QLatin1Char('|')));
}

QString reportTemplateRow(const QString& color, const QString& label, const QString& a, const QString& b,
                          bool element = false)
{
    const QString first = element ? QStringLiteral("<td style=\"background-color: #%1; padding-left: 40px;\">")
                                  : QStringLiteral("<td style=\"background-color: #%1;\">");
    return QStringLiteral("<tr style=\"height: 18px;\">") + first.arg(color) + label
        + QStringLiteral("</td><td style=\"background-color: #%1;\">%2</td><td style=\"background-color: #%1;\">%3</td></tr>")
              .arg(color, a, b);
}

std::unique_ptr<DefaultPathSetting> reportPathSetting()
{
    return std::unique_ptr<DefaultPathSetting>(DefaultPathSetting::create(DefaultPathSetting::ComparisonReports));
}

} // namespace

class TestCompareReport : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<Project> project;
    std::unique_ptr<AxisCompareView> view;

    QTreeWidget* tree() const { return view->findChild<QTreeWidget*>(QStringLiteral("parameterTreeWidget")); }

    void compare(DriveController* a, int axisA, DriveController* b, int axisB, bool diffOnly)
    {
        view->setAxisA(a, axisA);
        view->setAxisB(b, axisB);
        view->compare();
        view->findChild<QCheckBox*>(QStringLiteral("differencesOnly"))->setChecked(diffOnly);
    }

    // Presses the export button and answers the save dialog with `fileName`.
    FileDialogAnswer exportReport(const QString& fileName)
    {
        FileDialogAnswer answer;
        answerNextFileDialog(fileName, &answer);
        view->findChild<QPushButton*>(QStringLiteral("exportToHtml"))->click();
        return answer;
    }

private slots:
    void initTestCase()
    {
        KxTest::initTestEnvironment();
    }

    void init()
    {
        project.reset(new Project);
        view.reset(AxisCompareView::createAxisCompareView());
    }

    void cleanup()
    {
        view.reset();
        project.reset();
    }

    void rowText_data()
    {
        QTest::addColumn<QString>("row");
        QTest::addColumn<QStringList>("elements");
        QTest::addColumn<QString>("expected");

        QTest::newRow("equal values are white")
            << "A10 Drehzahlgrenze|3000 1/min|3000 1/min" << QStringList()
            << reportTemplateRow("ffffff", "A10 Drehzahlgrenze", "3000 1/min", "3000 1/min");
        QTest::newRow("differing values are yellow")
            << "A10 Drehzahlgrenze|3000 1/min|4500 1/min" << QStringList()
            << reportTemplateRow("ffff00", "A10 Drehzahlgrenze", "3000 1/min", "4500 1/min");
        QTest::newRow("values differing in case differ")
            << "C20 Kennung|Achse|achse" << QStringList()
            << reportTemplateRow("ffff00", "C20 Kennung", "Achse", "achse");
        QTest::newRow("values escaped, label as it stands")
            << "C20 Kennung & Typ <kurz>|\"Achse\" <1> & Co|a>b" << QStringList()
            << reportTemplateRow("ffff00", "C20 Kennung & Typ <kurz>", "&quot;Achse&quot; &lt;1&gt; &amp; Co", "a&gt;b");
        QTest::newRow("empty label starts with a blank cell")
            << "|Portal\nX|Portal\nX" << QStringList()
            << "<tr><td>&nbsp;</td><td style=\"background-color: #ffffff;\">Portal\nX</td>"
               "<td style=\"background-color: #ffffff;\">Portal\nX</td></tr>";
        QTest::newRow("parameter with elements: marker, then indented element rows")
            << "A11 Stromgrenzen||" << QStringList{"A11[0] Phase U|10 A|10 A", "A11[1] Phase V|10 A|12 A"}
            << reportTemplateRow("ffffff", "\u25BE A11 Stromgrenzen", "", "")
                   + reportTemplateRow("ffffff", "A11[0] Phase U", "10 A", "10 A", true)
                   + reportTemplateRow("ffff00", "A11[1] Phase V", "10 A", "12 A", true);
    }

    void rowText()
    {
        QFETCH(QString, row);
        QFETCH(QStringList, elements);
        QFETCH(QString, expected);

        // GIVEN a row of a comparison tree, with element rows below it
        QTreeWidget tree;
        tree.setColumnCount(3);
        QTreeWidgetItem* item = makeRow(row);
        tree.addTopLevelItem(item);
        for (const QString& element : qAsConst(elements))
            item->addChild(makeRow(element));

        // WHEN it is written as a top-level row of the report
        // THEN the cells follow the report's rules
        QCOMPARE(AxisCompareReport::rowText(item, 0), expected);
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
        QVERIFY(dir.isValid());
        const QString fileName = dir.filePath(QStringLiteral("Achsvergleich Portal.html"));

        // GIVEN axis X of "Portal" compared with axis Y2 of "Portal Süd"
        compare(project->controller(QStringLiteral("Portal")), 1,
                project->controller(QStringLiteral("Portal Süd")), 2, diffOnly);
        QCOMPARE(tree()->findItems(QStringLiteral("G01"), Qt::MatchStartsWith).value(0)->isHidden(), diffOnly);

        // WHEN the report is exported on a system whose locale is not UTF-8
        QTextCodec* localeCodec = QTextCodec::codecForLocale();
        QTextCodec::setCodecForLocale(QTextCodec::codecForName("ISO-8859-15"));
        const auto restoreCodec = qScopeGuard([localeCodec] { QTextCodec::setCodecForLocale(localeCodec); });
        const FileDialogAnswer answer = exportReport(fileName);

        // THEN the dialog asked for an HTML file, the file holds exactly the
        // expected document (hidden rows and highlights included), and the
        // next report is proposed at the same place
        QVERIFY(answer.seen);
        QCOMPARE(answer.title, QStringLiteral("Parameterübersicht als HTML exportieren"));
        QCOMPARE(answer.nameFilters, QStringList{QStringLiteral("HTML-dateien (*.html)")});
        const QByteArray expected = KxTest::readFile(QStringLiteral(KX_SOURCE_DIR "/tests/compare/expected-small-report.html"));
        const QByteArray written = KxTest::readFile(fileName);
        QCOMPARE(QString::fromUtf8(written), QString::fromUtf8(expected));
        QCOMPARE(written, expected);
        QCOMPARE(reportPathSetting()->suggestedPath(), fileName);
    }

    void largeReportStructure()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString fileName = dir.filePath(QStringLiteral("gross.html"));

        // GIVEN two axes of a catalogue with thousands of parameters, with
        // only the differences on screen
        project.reset(new Project(syntheticDeviceDescription(2500, 2, 2, 11)));
        const QList<DriveController*> controllers = project->controllers();
        QCOMPARE(controllers.size(), 2);
        compare(controllers.at(0), 1, controllers.at(1), 2, true);
        QVERIFY(tree()->topLevelItemCount() > 2000);

        // WHEN the report is exported
        QVERIFY(exportReport(fileName).seen);
        const QByteArray bytes = KxTest::readFile(fileName);

        // THEN it is UTF-8 without byte-order mark, framed by the document's
        // fixed parts, with every placeholder filled
        QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));
        QTextCodec::ConverterState state;
        const QString html = QTextCodec::codecForName("UTF-8")->toUnicode(bytes.constData(), bytes.size(), &state);
        QCOMPARE(state.invalidChars, 0);
        QVERIFY(html.startsWith(QStringLiteral("<html>\n<meta charset=\"UTF-8\"><body>\n<br><br>\n<form><fieldset><legend>Projektierung</legend>")));
        const QString tableStart = QStringLiteral("border-style: solid;\" border=\"1\">");
        const QString documentEnd = QStringLiteral("</tbody></table></fieldset></form></fieldset></form></body>\n</html>\n");
        QVERIFY(html.endsWith(documentEnd));
        QVERIFY(!html.contains(QRegularExpression(QStringLiteral("%[A-Z]+%"))));
        QCOMPARE(html.count(tableStart), 1);

        // AND the table is the header row followed by every row of the tree,
        // hidden ones too, in tree order, each coloured by its own values
        const int tableBegin = html.indexOf(tableStart) + tableStart.size();
        const QString table = html.mid(tableBegin, html.size() - tableBegin - documentEnd.size());
        static const QRegularExpression rowPattern(QStringLiteral(
            "\\G<tr(?: style=\"height: 18px;\")?><td(?: style=\"background-color: #([0-9a-f]{6});( padding-left: 40px;)?\")?>(.*?)</td>"
            "<td style=\"background-color: #([0-9a-f]{6});\">(.*?)</td><td style=\"background-color: #([0-9a-f]{6});\">(.*?)</td></tr>"),
            QRegularExpression::DotMatchesEverythingOption);

        QList<QTreeWidgetItem*> rows{tree()->headerItem()};
        for (int i = 0; i < tree()->topLevelItemCount(); ++i) {
            rows.append(tree()->topLevelItem(i));
            for (int j = 0; j < tree()->topLevelItem(i)->childCount(); ++j)
                rows.append(tree()->topLevelItem(i)->child(j));
        }
        int position = 0;
        int hiddenOnScreen = 0;
        int yellow = 0;
        int markers = 0;
        for (QTreeWidgetItem* row : qAsConst(rows)) {
            const QRegularExpressionMatch match = rowPattern.match(table, position);
            QVERIFY2(match.hasMatch(), qPrintable(QStringLiteral("row %1: %2").arg(rowKey(row), table.mid(position, 200))));
            position = match.capturedEnd();

            const bool isHeader = row == tree()->headerItem();
            const bool isElement = row->parent() != nullptr;
            const QString color = row->text(1) != row->text(2) ? QStringLiteral("ffff00") : QStringLiteral("ffffff");
            const QString label = (row->childCount() > 0 ? QStringLiteral("\u25BE ") : QString()) + row->text(0);
            QCOMPARE(match.captured(3), isHeader ? QStringLiteral("&nbsp;") : label);
            QCOMPARE(match.captured(1), isHeader ? QString() : color);
            QCOMPARE(!match.captured(2).isEmpty(), isElement);
            QCOMPARE(match.captured(4), color);
            QCOMPARE(match.captured(6), color);
            QCOMPARE(match.captured(5), row->text(1).toHtmlEscaped());
            QCOMPARE(match.captured(7), row->text(2).toHtmlEscaped());

            hiddenOnScreen += !isHeader && (row->isHidden() || (isElement && row->parent()->isHidden()));
            yellow += !isHeader && color == QLatin1String("ffff00");
            markers += row->childCount() > 0;
        }
        QCOMPARE(position, table.size());
        // The catalogue must give the report something to show of each kind.
        QVERIFY(hiddenOnScreen > 0);
        QVERIFY(yellow > 0);
        QVERIFY(markers > 0);
        QCOMPARE(html.count(QStringLiteral("\u25BE ")), markers);
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
        QVERIFY(dir.isValid());
        // A file where a folder would be: unwritable even for root.
        QFile blocker(dir.filePath(QStringLiteral("Ablage")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();

        // GIVEN a comparison and a report remembered from an earlier export
        compare(project->controller(QStringLiteral("Portal")), 1, project->controller(QStringLiteral("Portal")), 2, false);
        const QString earlier = dir.filePath(QStringLiteral("frueher.html"));
        QFile earlierFile(earlier);
        QVERIFY(earlierFile.open(QIODevice::WriteOnly));
        earlierFile.close();
        reportPathSetting()->rememberPath(earlier);

        // WHEN the export is cancelled or aims at a place that cannot be written
        const QString fileName = target.isEmpty() ? QString() : dir.filePath(target);
        const FileDialogAnswer answer = exportReport(fileName);

        // THEN the dialog opened where the last report went, nothing was
        // written, nothing was said, and the remembered report stays
        QVERIFY(answer.seen);
        QCOMPARE(QDir(answer.directory), QDir(dir.path()));
        QCOMPARE(answer.selected, fileName);
        if (!fileName.isEmpty())
            QVERIFY(!QFile::exists(fileName));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
                 (QStringList{QStringLiteral("Ablage"), QStringLiteral("frueher.html")}));
        QCOMPARE(QFileInfo(blocker.fileName()).size(), 0);
        QCOMPARE(reportPathSetting()->suggestedPath(), earlier);
        QVERIFY(!QApplication::activeModalWidget());
    }
};

QTEST_MAIN(TestCompareReport)
#include "tst_comparereport.moc"
