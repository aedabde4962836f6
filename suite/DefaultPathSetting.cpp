#include "DefaultPathSetting.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

struct KindInfo
{
    const char* settingsGroup;
    const char* fileName;
};

// The file names are translated at run time; QT_TRANSLATE_NOOP only marks them.
const KindInfo kindInfos[] = {
    {"ProjectFiles", QT_TRANSLATE_NOOP("DefaultPathSetting", "Projekt.kxproj")},
    {"DeviceDescriptions", QT_TRANSLATE_NOOP("DefaultPathSetting", "Gerätebeschreibung.json")},
    {"ParameterExports", QT_TRANSLATE_NOOP("DefaultPathSetting", "Parameterexport.csv")},
    {"Firmware", QT_TRANSLATE_NOOP("DefaultPathSetting", "Firmware.bin")},
    {"Logs", QT_TRANSLATE_NOOP("DefaultPathSetting", "Protokoll.log")},
    {"ParameterSelectionFiles", QT_TRANSLATE_NOOP("DefaultPathSetting", "Parameterauswahl.txt")},
    {"Scope", QT_TRANSLATE_NOOP("DefaultPathSetting", "Scope-Einstellungen.ini")},
    {"Oscilloscope", QT_TRANSLATE_NOOP("DefaultPathSetting", "Oszilloskop-Aufzeichnung.csv")},
    {"Screenshots", QT_TRANSLATE_NOOP("DefaultPathSetting", "Bildschirmfoto.png")},
    {"Backups", QT_TRANSLATE_NOOP("DefaultPathSetting", "Sicherung.kxbak")},
    {"Scripts", QT_TRANSLATE_NOOP("DefaultPathSetting", "Skript.js")},
    {"Licences", QT_TRANSLATE_NOOP("DefaultPathSetting", "Lizenz.lic")},
    {"Recipes", QT_TRANSLATE_NOOP("DefaultPathSetting", "Rezeptur.csv")},
    {"ComparisonReports", QT_TRANSLATE_NOOP("DefaultPathSetting", "Achsvergleich.html")},
};
constexpr int kindCount = int(sizeof(kindInfos) / sizeof(kindInfos[0]));

const KindInfo* infoFor(int kind)
{
    return kind >= 0 && kind < kindCount ? &kindInfos[kind] : nullptr;
}

QSettings pathSettings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("KxSuite"), QStringLiteral("DefaultPaths"));
}

} // namespace

DefaultPathSetting::DefaultPathSetting(eSettingDefaultPaths kind)
    : m_kind(kind)
{
}

DefaultPathSetting* DefaultPathSetting::create(eSettingDefaultPaths kind)
{
    return new DefaultPathSetting(kind);
}

DefaultPathSetting::eSettingDefaultPaths DefaultPathSetting::kind() const
{
    return m_kind;
}

QString DefaultPathSetting::currentPath() const
{
    const QString file = rememberedFile();
    if (!file.isEmpty()) {
        const QFileInfo info(file);
        if (info.dir().exists())
            return info.absolutePath();
    }
    return defaultDirectory();
}

QString DefaultPathSetting::suggestedPath() const
{
    const QString file = rememberedFile();
    if (!file.isEmpty() && QFileInfo(file).dir().exists())
        return file;
    return currentPath() + QLatin1Char('/') + defaultFileName(m_kind);
}

void DefaultPathSetting::rememberPath(const QString& fileName)
{
    if (fileName.trimmed().isEmpty())
        return;
    const QString absolute = QDir::cleanPath(QFileInfo(fileName).absoluteFilePath());
    QSettings settings = pathSettings();
    settings.setValue(settingsKey(), absolute);
    settings.sync();
}

QString DefaultPathSetting::defaultFileName(eSettingDefaultPaths kind)
{
    const KindInfo* info = infoFor(kind);
    return info ? tr(info->fileName) : tr("Unbenannt");
}

QString DefaultPathSetting::defaultDirectory()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    // A file dialog told to open in a directory that does not exist opens in
    // the working directory instead, which is rarely where users keep files.
    if (!documents.isEmpty() && QDir().mkpath(documents))
        return documents;
    return QDir::homePath();
}

QString DefaultPathSetting::rememberedFile() const
{
    return pathSettings().value(settingsKey()).toString();
}

QString DefaultPathSetting::settingsKey() const
{
    const KindInfo* info = infoFor(m_kind);
    const QString group = info ? QLatin1String(info->settingsGroup) : QStringLiteral("Kind%1").arg(int(m_kind));
    return group + QStringLiteral("/LastFile");
}
