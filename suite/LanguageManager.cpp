#include "LanguageManager.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

// Qt writes its own texts in English; its catalogues are named after the
// language they translate into.
QString qtLanguageCode(int language)
{
    return language == LanguageManager::German ? QStringLiteral("de") : QString();
}

} // namespace

LanguageManager::LanguageManager()
{
    // Translators can only be installed into an existing application.
    if (QCoreApplication::instance())
        installTranslators();
}

LanguageManager* LanguageManager::instance()
{
    // Never destroyed: texts may still be asked for while static objects go away.
    static LanguageManager* const manager = new LanguageManager;
    return manager;
}

int LanguageManager::activeLanguage() const
{
    return m_active;
}

void LanguageManager::setActiveLanguage(int language)
{
    if (!languages().contains(language) || language == m_active)
        return;
    m_active = language;
    removeTranslators();
    // Before the signal: whatever rebuilds its texts on it must already read
    // the new catalogues.
    installTranslators();
    emit activeLanguageChanged(language);
}

QList<int> LanguageManager::languages() const
{
    return {German, English};
}

QString LanguageManager::languageName(int language) const
{
    switch (language) {
    case German:
        return QStringLiteral("Deutsch");
    case English:
        return QStringLiteral("English");
    default:
        return QString();
    }
}

QString LanguageManager::languageCode(int language) const
{
    return language == English ? QStringLiteral("en") : QString();
}

QStringList LanguageManager::installedCatalogues() const
{
    QStringList result;
    for (const QTranslator* translator : m_translators)
        result.append(translator->filePath());
    return result;
}

QStringList LanguageManager::installedQtCatalogues() const
{
    QStringList result;
    for (const QTranslator* translator : m_qtTranslators)
        result.append(translator->filePath());
    return result;
}

void LanguageManager::installQtTranslators()
{
    const QString code = qtLanguageCode(m_active);
    if (code.isEmpty())
        return;
    const QString directory = QLibraryInfo::location(QLibraryInfo::TranslationsPath);
    // qtbase holds every text of Qt's widgets and dialogs that we show.
    auto* translator = new QTranslator(this);
    if (!translator->load(QStringLiteral("qtbase_") + code, directory)
        || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return;
    }
    m_qtTranslators.append(translator);
}

void LanguageManager::installTranslators()
{
    installQtTranslators();
    const QString code = languageCode(m_active);
    if (code.isEmpty())
        return;
    // The suite does not know which libraries are loaded; every one of them
    // puts its catalogues into the same resource directory.
    const QString suffix = QLatin1Char('_') + code;
    const QFileInfoList files = QDir(QStringLiteral(":/translations")).entryInfoList(
        {QStringLiteral("*.qm")}, QDir::Files, QDir::Name);
    for (const QFileInfo& file : files) {
        if (!file.completeBaseName().endsWith(suffix))
            continue;
        auto* translator = new QTranslator(this);
        if (!translator->load(file.filePath()) || !QCoreApplication::installTranslator(translator)) {
            delete translator;
            continue;
        }
        m_translators.append(translator);
    }
}

void LanguageManager::removeTranslators()
{
    for (QTranslator* translator : qAsConst(m_translators) + qAsConst(m_qtTranslators)) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    m_translators.clear();
    m_qtTranslators.clear();
}
