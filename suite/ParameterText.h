#pragma once

#include "KxSuiteGlobal.h"

#include <QString>

/// A translated text of a parameter or element: German and English.
class KXSUITE_EXPORT ParameterText
{
public:
    ParameterText();
    explicit ParameterText(const QString& german, const QString& english = QString());
    ParameterText(const ParameterText& other);
    ParameterText& operator=(const ParameterText& other);
    virtual ~ParameterText();

    /// The text in LanguageManager's active language; falls back to German
    /// when there is no text in that language.
    QString longText() const;
    QString longText(int language) const;
    bool isEmpty() const;

    bool operator==(const ParameterText& other) const;

private:
    QString m_german;
    QString m_english;
};
