#include "DefaultPathSetting.h"
#include "TestSupport.h"

#include <QDir>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

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
    void withoutRememberedFile();
    void rememberedPathSurvivesRestart();
    void unusableRememberedNames();
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

void DefaultPathSettingTest::withoutRememberedFile()
{
    // GIVEN nothing remembered THEN every kind, and a number outside the
    // enumeration, opens in the documents directory with a file name of its own
    QVERIFY(!DefaultPathSetting::defaultDirectory().isEmpty());
    QSet<QString> names;
    for (int kind = DefaultPathSetting::ProjectFiles; kind <= DefaultPathSetting::ComparisonReports + 1; ++kind) {
        const auto setting = settingOf(Kind(kind));
        QCOMPARE(setting->kind(), Kind(kind));
        QCOMPARE(setting->currentPath(), DefaultPathSetting::defaultDirectory());
        const QFileInfo suggested(setting->suggestedPath());
        QCOMPARE(suggested.absolutePath(), setting->currentPath());
        QVERIFY(!suggested.fileName().isEmpty());
        QCOMPARE(suggested.fileName(), DefaultPathSetting::defaultFileName(Kind(kind)));
        if (kind <= DefaultPathSetting::ComparisonReports)
            names.insert(suggested.fileName());
    }
    QCOMPARE(names.size(), DefaultPathSetting::ComparisonReports + 1);
    QCOMPARE(DefaultPathSetting::defaultFileName(DefaultPathSetting::ComparisonReports), QStringLiteral("Achsvergleich.html"));
}

void DefaultPathSettingTest::rememberedPathSurvivesRestart()
{
    // A number outside the enumeration is remembered like any kind.
    const Kind kind = Kind(15);
    QTemporaryDir directory;
    const QString file = directory.filePath(QStringLiteral("Vergleich Achse 1 – Größen.html"));

    // GIVEN a file remembered by a setting that is then destroyed
    settingOf(kind)->rememberPath(file);

    // WHEN a new setting of the same kind is created THEN dialogs open at that
    // file, the user's settings hold it, and other kinds are not affected
    const auto setting = settingOf(kind);
    QCOMPARE(setting->currentPath(), directory.path());
    QCOMPARE(setting->suggestedPath(), file);
    QSettings fresh = pathSettings();
    QStringList stored;
    for (const QString& key : fresh.allKeys())
        stored.append(fresh.value(key).toString());
    QCOMPARE(stored, QStringList{file});
    QCOMPARE(settingOf(DefaultPathSetting::Logs)->currentPath(), DefaultPathSetting::defaultDirectory());
}

void DefaultPathSettingTest::unusableRememberedNames()
{
    // GIVEN a remembered file whose directory is deleted afterwards
    {
        QTemporaryDir gone;
        settingOf(DefaultPathSetting::ComparisonReports)->rememberPath(gone.filePath(QStringLiteral("Bericht.html")));
    }
    // THEN the default place is proposed instead
    QCOMPARE(settingOf(DefaultPathSetting::ComparisonReports)->suggestedPath(),
             DefaultPathSetting::defaultDirectory() + QStringLiteral("/Achsvergleich.html"));

    // GIVEN a remembered file WHEN empty names are remembered THEN they are ignored
    QTemporaryDir directory;
    const auto setting = settingOf(DefaultPathSetting::ParameterSelectionFiles);
    const QString file = directory.filePath(QStringLiteral("a.txt"));
    setting->rememberPath(file);
    setting->rememberPath(QString());
    setting->rememberPath(QStringLiteral("  "));
    QCOMPARE(setting->suggestedPath(), file);

    // WHEN a relative name is remembered THEN it counts from the working directory
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(directory.path()));
    setting->rememberPath(QStringLiteral("./unter/../b.txt"));
    QVERIFY(QDir::setCurrent(previous));
    QCOMPARE(setting->suggestedPath(), directory.filePath(QStringLiteral("b.txt")));
}

QTEST_GUILESS_MAIN(DefaultPathSettingTest)
#include "tst_defaultpathsetting.moc"
