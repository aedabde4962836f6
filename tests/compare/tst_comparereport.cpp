#include "CompareTestSupport.h"
#include "TestSupport.h"

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
        QVERIFY(html.endsWith(QStringLiteral("</tbody></table></fieldset></form></fieldset></form></body>\n</html>\n")));
        QVERIFY(!html.contains(QRegularExpression(QStringLiteral("%[A-Z]+%"))));

        // AND after the header row it has one row per row of the tree, hidden
        // ones too, in tree order: parameters with elements marked, element
        // rows indented, differing rows yellow
        int rows = 0, elementRows = 0, marked = 0, differing = 0, hidden = 0;
        int position = html.indexOf(QStringLiteral("<tr><td>&nbsp;</td>"));
        QVERIFY(position > 0);
        for (int i = 0; i < tree()->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* row = tree()->topLevelItem(i);
            const QString label = (row->childCount() > 0 ? QStringLiteral("\u25BE ") : QString()) + row->text(0);
            position = html.indexOf(QStringLiteral(";\">%1</td>").arg(label), position);
            QVERIFY2(position > 0, qPrintable(label));
            rows += 1 + row->childCount();
            elementRows += row->childCount();
            marked += row->childCount() > 0;
            hidden += row->isHidden();
            differing += row->text(1) != row->text(2);
            for (int j = 0; j < row->childCount(); ++j)
                differing += row->child(j)->text(1) != row->child(j)->text(2);
        }
        QVERIFY(hidden > 0 && differing > 0 && marked > 0);
        QCOMPARE(html.count(QStringLiteral("<tr style=\"height: 18px;\">")), rows);
        QCOMPARE(html.count(QStringLiteral("padding-left: 40px;")), elementRows);
        QCOMPARE(html.count(QStringLiteral("\u25BE ")), marked);
        const QTreeWidgetItem* header = tree()->headerItem();
        const int headerCells = header->text(1) != header->text(2) ? 2 : 0;
        QCOMPARE(html.count(QStringLiteral("#ffff00;")), 3 * differing + headerCells);
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
