#pragma once

#include <QColor>
#include <QIcon>
#include <QString>

class DriveController;

/// The application's drawn icons (resources under ":/Resources/").
namespace AppIcons {

/// Makes the icons of the static core library available; idempotent.
void initialize();

/// ":/Resources/<name>.png"
QIcon icon(const QString& name);

/// Fault (any axis reports one) before online before connecting before offline.
QIcon controllerState(const DriveController* controller);

/// A small square in the marking colour; an empty outlined one without colour.
QIcon markingColor(const QColor& color);

} // namespace AppIcons
