#include "ParameterText.h"

#include "LanguageManager.h"

ParameterText::ParameterText() = default;

ParameterText::ParameterText(const QString& german, const QString& english)
    : m_german(german)
    , m_english(english)
{
}

ParameterText::ParameterText(const ParameterText& other) = default;
ParameterText& ParameterText::operator=(const ParameterText& other) = default;
ParameterText::~ParameterText() = default;

QString ParameterText::longText() const
{
    return longText(LanguageManager::instance()->activeLanguage());
}

QString ParameterText::longText(int language) const
{
    if (language == LanguageManager::English && !m_english.isEmpty())
        return m_english;
    return m_german;
}

bool ParameterText::isEmpty() const
{
    return m_german.isEmpty() && m_english.isEmpty();
}

bool ParameterText::operator==(const ParameterText& other) const
{
    return m_german == other.m_german && m_english == other.m_english;
}
