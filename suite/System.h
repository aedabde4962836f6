#pragma once

#include "KxSuiteGlobal.h"

#include <QObject>

#include <memory>

class HelpSystem;
class SystemPrivate;
class QWidget;

/**
 * The application object: the main window, the help systems of the help
 * contexts and the user's access level. One per process, reached through
 * instance(); GUI thread only.
 */
class KXSUITE_EXPORT System : public QObject
{
    Q_OBJECT

public:
    static System& instance();

    /// The application's main window; null before it is set and after it
    /// was destroyed.
    QWidget* mainWindow() const;
    void setMainWindow(QWidget* window);

    /// The help system of @p context, created on first use and owned by the
    /// System.
    HelpSystem* helpSystem(const QString& context);

    /// The user's access level; 1 until set otherwise.
    unsigned int currentLevel() const;

    /// Sets the access level and emits currentLevelChanged() when it changes.
    void setCurrentLevel(unsigned int level);

signals:
    void currentLevelChanged(unsigned int level);

private:
    System();
    ~System() override;
    Q_DISABLE_COPY(System)

    std::unique_ptr<SystemPrivate> const d;
};
