#pragma once

#include "KxSuiteGlobal.h"

#include <QList>
#include <QObject>
#include <QStringList>

class QTranslator;

/**
 * The suite's active language for parameter texts and the user interface.
 *
 * German is the language the user interface is written in. Any other
 * language installs one QTranslator for every catalogue in the resource
 * directory ":/translations" whose base name ends in "_" and the language's
 * code (e.g. "kxsuite_en.qm" for English); each library and the application
 * embed their own catalogues there. Installing or removing translators makes
 * Qt send QEvent::LanguageChange to every widget, so widgets retranslate
 * themselves in changeEvent(); activeLanguageChanged() follows after the
 * translators are in place, for texts that come from the device data.
 *
 * Qt's own texts (standard buttons, message boxes, the file dialog) are
 * English in Qt; for every other language the manager also installs Qt's
 * catalogues of that language from Qt's translations directory, German
 * included, so that a German interface does not offer "Cancel". The first
 * instance() call after the application object exists installs those of the
 * starting language.
 */
class KXSUITE_EXPORT LanguageManager : public QObject
{
    Q_OBJECT
public:
    enum Language { German = 0, English = 1 };

    static LanguageManager* instance();

    int activeLanguage() const;
    /// Switches the active language and its translators; emits
    /// activeLanguageChanged() when it changes. Unknown language numbers are
    /// ignored.
    void setActiveLanguage(int language);
    QList<int> languages() const;
    QString languageName(int language) const;   ///< "Deutsch", "English"
    /// The suffix of the catalogues of @p language ("en"); empty for German,
    /// which needs none, and for unknown numbers.
    QString languageCode(int language) const;
    /// The catalogues installed for the active language, as resource paths.
    QStringList installedCatalogues() const;
    /// Qt's own catalogues installed for the active language, as file paths;
    /// empty for English and where Qt's translations are not installed.
    QStringList installedQtCatalogues() const;

signals:
    void activeLanguageChanged(int language);

private:
    LanguageManager();
    void installTranslators();
    void removeTranslators();
    void installQtTranslators();

    int m_active = German;
    QList<QTranslator*> m_translators;
    QList<QTranslator*> m_qtTranslators;
};
