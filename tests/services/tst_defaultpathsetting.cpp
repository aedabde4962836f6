#include "DefaultPathSetting.h"
#include "TestSupport.h"

#include <QDir>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(DefaultPathSetting::eSettingDefaultPaths)

namespace {

using Kind = DefaultPathSetting::eSettingDefaultPaths;

QSettings pathSettings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("KxSuite"), QStringLiteral("DefaultPaths"));
}

std::unique_ptr<DefaultPathSetting> settingOf(Kind kind)
{
    return std::unique_ptr<DefaultPathSetting>(DefaultPathSetting::create(kind));
}

} // namespace

class DefaultPathSettingTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void withoutRememberedFile_data();
    void withoutRememberedFile();
    void kindsHaveDistinctFileNames();
    void rememberedPathSurvivesRestart_data();
    void rememberedPathSurvivesRestart();
    void vanishedDirectoryFallsBackToDefault();
    void relativeAndEmptyNames();
};

void DefaultPathSettingTest::initTestCase()
{
    KxTest::initTestEnvironment();
    // The settings must land in the test's private location, not the user's.
    QVERIFY2(!pathSettings().fileName().startsWith(QDir::homePath() + QStringLiteral("/.config/")),
             qPrintable(pathSettings().fileName()));
}

void DefaultPathSettingTest::init()
{
    QSettings settings = pathSettings();
    settings.clear();
    settings.sync();
}

void DefaultPathSettingTest::withoutRememberedFile_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("parameter selection files") << DefaultPathSetting::ParameterSelectionFiles << QString();
    QTest::newRow("comparison reports") << DefaultPathSetting::ComparisonReports << QStringLiteral("Achsvergleich.html");
    QTest::newRow("project files") << DefaultPathSetting::ProjectFiles << QString();
    QTest::newRow("number outside the enumeration") << Kind(15) << QString();
}

void DefaultPathSettingTest::withoutRememberedFile()
{
    QFETCH(Kind, kind);
    QFETCH(QString, fileName);

    // GIVEN nothing remembered WHEN a setting is asked
    const auto setting = settingOf(kind);

    // THEN dialogs open in the documents directory with the kind's file name
    QCOMPARE(setting->kind(), kind);
    QCOMPARE(setting->currentPath(), DefaultPathSetting::defaultDirectory());
    QVERIFY(!DefaultPathSetting::defaultDirectory().isEmpty());
    const QFileInfo suggested(setting->suggestedPath());
    QCOMPARE(suggested.absolutePath(), setting->currentPath());
    QVERIFY(!suggested.fileName().isEmpty());
    QCOMPARE(suggested.fileName(), DefaultPathSetting::defaultFileName(kind));
    if (!fileName.isEmpty())
        QCOMPARE(suggested.fileName(), fileName);
}

void DefaultPathSettingTest::kindsHaveDistinctFileNames()
{
    // GIVEN every kind THEN each proposes a file name of its own, without a
    // directory part
    QSet<QString> names;
    for (int kind = DefaultPathSetting::ProjectFiles; kind <= DefaultPathSetting::ComparisonReports; ++kind) {
        const QString name = DefaultPathSetting::defaultFileName(Kind(kind));
        QVERIFY2(!name.isEmpty() && !name.contains(QLatin1Char('/')), qPrintable(QString::number(kind)));
        names.insert(name);
    }
    QCOMPARE(names.size(), DefaultPathSetting::ComparisonReports + 1);
}

void DefaultPathSettingTest::rememberedPathSurvivesRestart_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("parameter selection") << DefaultPathSetting::ParameterSelectionFiles << QStringLiteral("Auswahl.txt");
    QTest::newRow("report with umlauts and blanks")
        << DefaultPathSetting::ComparisonReports << QStringLiteral("Vergleich Achse 1 – Größen.html");
    QTest::newRow("number outside the enumeration") << Kind(15) << QStringLiteral("x.bin");
}

void DefaultPathSettingTest::rememberedPathSurvivesRestart()
{
    QFETCH(Kind, kind);
    QFETCH(QString, fileName);
    QTemporaryDir directory;
    const QString file = QDir(directory.path()).filePath(fileName);

    // GIVEN a file remembered by a setting that is then destroyed
    settingOf(kind)->rememberPath(file);

    // WHEN a new setting of the same kind is created, as after a restart
    const auto setting = settingOf(kind);

    // THEN dialogs open at that file, and the user's settings hold it
    QCOMPARE(setting->currentPath(), directory.path());
    QCOMPARE(setting->suggestedPath(), file);
    QSettings fresh = pathSettings();
    QStringList stored;
    for (const QString& key : fresh.allKeys())
        stored.append(fresh.value(key).toString());
    QCOMPARE(stored, QStringList{file});

    // AND other kinds are not affected
    const Kind other = kind == DefaultPathSetting::Logs ? DefaultPathSetting::Scripts : DefaultPathSetting::Logs;
    QCOMPARE(settingOf(other)->currentPath(), DefaultPathSetting::defaultDirectory());
}

void DefaultPathSettingTest::vanishedDirectoryFallsBackToDefault()
{
    // GIVEN a remembered file whose directory is deleted afterwards
    QString file;
    {
        QTemporaryDir directory;
        file = QDir(directory.path()).filePath(QStringLiteral("Bericht.html"));
        settingOf(DefaultPathSetting::ComparisonReports)->rememberPath(file);
    }

    // WHEN a setting is asked THEN it proposes the default place instead
    const auto setting = settingOf(DefaultPathSetting::ComparisonReports);
    QCOMPARE(setting->currentPath(), DefaultPathSetting::defaultDirectory());
    QCOMPARE(setting->suggestedPath(), DefaultPathSetting::defaultDirectory() + QStringLiteral("/Achsvergleich.html"));
}

void DefaultPathSettingTest::relativeAndEmptyNames()
{
    // GIVEN a remembered absolute file
    QTemporaryDir directory;
    const auto setting = settingOf(DefaultPathSetting::ParameterSelectionFiles);
    const QString file = QDir(directory.path()).filePath(QStringLiteral("a.txt"));
    setting->rememberPath(file);

    // WHEN an empty name is remembered THEN it is ignored
    setting->rememberPath(QString());
    setting->rememberPath(QStringLiteral("  "));
    QCOMPARE(setting->suggestedPath(), file);

    // WHEN a relative name is remembered THEN it counts from the working directory
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(directory.path()));
    setting->rememberPath(QStringLiteral("./unter/../b.txt"));
    QVERIFY(QDir::setCurrent(previous));
    QCOMPARE(setting->suggestedPath(), QDir(directory.path()).filePath(QStringLiteral("b.txt")));
}

QTEST_GUILESS_MAIN(DefaultPathSettingTest)
#include "tst_defaultpathsetting.moc"
