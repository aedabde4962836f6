#pragma once

#include "System.h"

#include <QMainWindow>
#include <QStatusBar>
#include <QString>

// What a command of the library's windows did, in the status bar of the
// application's main window, where the user looks for it after a dialog
// closed; hosts without a status bar simply do not show it.
inline void showStatusBarMessage(const QString& message)
{
    if (auto* window = qobject_cast<QMainWindow*>(System::instance().mainWindow()))
        window->statusBar()->showMessage(message, 15000);
}
