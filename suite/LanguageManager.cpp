#include "LanguageManager.h"

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
