#include "AppIcons.h"

#include "DriveController.h"

#include <QPainter>
#include <QPixmap>

// Q_INIT_RESOURCE must be used outside any namespace.
static void initializeAppResources()
{
    Q_INIT_RESOURCE(app);
}

namespace AppIcons {

void initialize()
{
    static const bool done = (initializeAppResources(), true);
    Q_UNUSED(done)
}

QIcon icon(const QString& name)
{
    initialize();
    return QIcon(QStringLiteral(":/Resources/%1.png").arg(name));
}

QIcon controllerState(const DriveController* controller)
{
    if (!controller)
        return {};
    for (int number : controller->axisNumbers()) {
        if (controller->hasAxisFault(number))
            return icon(QStringLiteral("ControllerFault"));
    }
    switch (controller->onlineState()) {
    case OnlineStateOnline: return icon(QStringLiteral("ControllerOnline"));
    case OnlineStateConnecting: return icon(QStringLiteral("ControllerConnecting"));
    case OnlineStateOffline: break;
    }
    return icon(QStringLiteral("ControllerOffline"));
}

QIcon markingColor(const QColor& color)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QColor(0x55, 0x60, 0x6b));
    painter.setBrush(color.isValid() ? QBrush(color) : QBrush(Qt::NoBrush));
    painter.drawRect(QRect(2, 2, 11, 11));
    return QIcon(pixmap);
}

} // namespace AppIcons
