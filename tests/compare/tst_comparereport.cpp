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

using namespace KxTest;

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
    std::unique_ptr<Devices> devices;
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
    FileDialogRun exportReport(const QString& fileName)
    {
        FileDialogRun answer;
        answerFileDialog(&answer, fileName);
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
        devices.reset(new Devices(project("portal")));
        view.reset(AxisCompareView::createAxisCompareView());
    }

    void cleanup()
    {
        cancelModalHandlers();
        view.reset();
        devices.reset();
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
        compare(devices->controller(QStringLiteral("Portal")), 1,
                devices->controller(QStringLiteral("Portal Süd")), 2, diffOnly);
        QCOMPARE(tree()->findItems(QStringLiteral("G01"), Qt::MatchStartsWith).value(0)->isHidden(), diffOnly);

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

    void largeReportHasEveryRow()
    {
        QTemporaryDir dir;
        const QString fileName = dir.filePath(QStringLiteral("gross.html"));
        // GIVEN thousands of parameters compared, only differences on screen
        devices.reset(new Devices(syntheticDeviceDescription(2500, 2, 2, 11)));
        const QList<DriveController*> controllers = devices->controllers();
        QCOMPARE(controllers.size(), 2);
        compare(controllers.at(0), 1, controllers.at(1), 2, true);
        // WHEN exported THEN the whole document is written, hidden rows included
        QVERIFY(exportReport(fileName).dialogSeen);
        const QString html = QString::fromUtf8(KxTest::readFile(fileName));
        QVERIFY(html.endsWith(QStringLiteral("</tbody></table></fieldset></form></fieldset></form></body>\n</html>\n")));
        QVERIFY(!html.contains(QRegularExpression(QStringLiteral("%[A-Z]+%"))));
        QVERIFY(tree()->topLevelItemCount() > 2000);
        QCOMPARE(html.count(QStringLiteral("<tr style=\"height: 18px;\">")), treeRows(tree()).size());
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
        compare(devices->controller(QStringLiteral("Portal")), 1, devices->controller(QStringLiteral("Portal")), 2, false);
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
        QCOMPARE(QFileInfo(blocker.fileName()).size(), 0);
        QCOMPARE(reportPathSetting()->suggestedPath(), earlier);
        QVERIFY(!QApplication::activeModalWidget());
    }
};

QTEST_MAIN(TestCompareReport)
#include "tst_comparereport.moc"
