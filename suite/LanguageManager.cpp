#include "LanguageManager.h"

#include <QCoreApplication>
#include <QDir>
#include <QTranslator>

LanguageManager::LanguageManager() = default;

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

void LanguageManager::installTranslators()
{
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
    for (QTranslator* translator : qAsConst(m_translators)) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    m_translators.clear();
}
