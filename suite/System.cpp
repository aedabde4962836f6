#include "System.h"

#include "HelpSystem.h"

#include <QHash>
#include <QPointer>
#include <QWidget>

class SystemPrivate
{
public:
    QPointer<QWidget> mainWindow;
    // Guarded so that a help system someone deleted is recreated, not reused.
    QHash<QString, QPointer<HelpSystem>> helpSystems;
    unsigned int currentLevel = 1;
};

System::System()
    : d(new SystemPrivate)
{
    setObjectName(QStringLiteral("System"));
}

System::~System() = default;

System& System::instance()
{
    static System system;
    return system;
}

QWidget* System::mainWindow() const
{
    return d->mainWindow.data();
}

void System::setMainWindow(QWidget* window)
{
    d->mainWindow = window;
}

HelpSystem* System::helpSystem(const QString& context)
{
    QPointer<HelpSystem>& helpSystem = d->helpSystems[context];
    if (!helpSystem)
        helpSystem = new HelpSystem(context, this);
    return helpSystem.data();
}

unsigned int System::currentLevel() const
{
    return d->currentLevel;
}

void System::setCurrentLevel(unsigned int level)
{
    if (level == d->currentLevel)
        return;
    d->currentLevel = level;
    emit currentLevelChanged(level);
}
