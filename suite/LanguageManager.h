#pragma once

#include "KxSuiteGlobal.h"

#include <QObject>

/// The suite's active language for parameter texts and the user interface.
class KXSUITE_EXPORT LanguageManager : public QObject
{
    Q_OBJECT
public:
    enum Language { German = 0, English = 1 };

    static LanguageManager* instance();

    int activeLanguage() const;
    /// Switches the active language; emits activeLanguageChanged() when it changes.
    /// Unknown language numbers are ignored.
    void setActiveLanguage(int language);
    QList<int> languages() const;
    QString languageName(int language) const;   ///< "Deutsch", "English"

signals:
    void activeLanguageChanged(int language);

private:
    LanguageManager();
    int m_active = German;
};
