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
    void initTestCase()
    {
        KxTest::initTestEnvironment();
        // The settings must land in the test's private location, not the user's.
        QVERIFY2(!pathSettings().fileName().startsWith(QDir::homePath() + QStringLiteral("/.config/")),
                 qPrintable(pathSettings().fileName()));
    }

    void init()
    {
        QSettings settings = pathSettings();
        settings.clear();
        settings.sync();
    }

    void withoutRememberedFile()
    {
        // Every kind, and a number outside the enumeration, opens in the documents directory with a name of its own.
        QVERIFY(!DefaultPathSetting::defaultDirectory().isEmpty());
        QSet<QString> names;
        for (int kind = DefaultPathSetting::ProjectFiles; kind <= DefaultPathSetting::ComparisonReports + 1; ++kind) {
            const auto setting = settingOf(Kind(kind));
            QCOMPARE(setting->currentPath(), DefaultPathSetting::defaultDirectory());
            const QFileInfo suggested(setting->suggestedPath());
            QCOMPARE(suggested.absolutePath(), setting->currentPath());
            QVERIFY(!suggested.fileName().isEmpty());
            QCOMPARE(suggested.fileName(), DefaultPathSetting::defaultFileName(Kind(kind)));
            if (kind <= DefaultPathSetting::ComparisonReports)
                names.insert(suggested.fileName());
        }
        QCOMPARE(names.size(), DefaultPathSetting::ComparisonReports + 1);
    }

    void rememberedPathSurvivesRestart()
    {
        // GIVEN a file remembered by a setting that is then destroyed (a kind outside the enumeration works alike)
        const Kind kind = Kind(15);
        QTemporaryDir directory;
        const QString file = directory.filePath(QStringLiteral("Vergleich Achse 1 – Größen.html"));
        settingOf(kind)->rememberPath(file);

        // WHEN a new one of the same kind is made THEN dialogs open at the file, stored in the settings alone
        const auto setting = settingOf(kind);
        QCOMPARE(setting->currentPath(), directory.path());
        QCOMPARE(setting->suggestedPath(), file);
        QSettings fresh = pathSettings();
        QCOMPARE(fresh.allKeys().size(), 1);
        QCOMPARE(fresh.value(fresh.allKeys().first()).toString(), file);
        QCOMPARE(settingOf(DefaultPathSetting::Logs)->currentPath(), DefaultPathSetting::defaultDirectory());
    }

    void unusableRememberedNames()
    {
        // GIVEN a remembered file whose directory is deleted afterwards THEN the default place is proposed
        {
            QTemporaryDir gone;
            settingOf(DefaultPathSetting::ComparisonReports)->rememberPath(gone.filePath(QStringLiteral("Bericht.html")));
        }
        QCOMPARE(settingOf(DefaultPathSetting::ComparisonReports)->suggestedPath(),
                 DefaultPathSetting::defaultDirectory() + QStringLiteral("/Achsvergleich.html"));

        // Empty names are ignored; a relative one counts from the working directory.
        QTemporaryDir directory;
        const auto setting = settingOf(DefaultPathSetting::ParameterSelectionFiles);
        const QString file = directory.filePath(QStringLiteral("a.txt"));
        setting->rememberPath(file);
        setting->rememberPath(QString());
        setting->rememberPath(QStringLiteral("  "));
        QCOMPARE(setting->suggestedPath(), file);
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(directory.path()));
        setting->rememberPath(QStringLiteral("./unter/../b.txt"));
        QVERIFY(QDir::setCurrent(previous));
        QCOMPARE(setting->suggestedPath(), directory.filePath(QStringLiteral("b.txt")));
    }
};

QTEST_GUILESS_MAIN(DefaultPathSettingTest)
#include "tst_defaultpathsetting.moc"
