#pragma once

#include "DeviceDescription.h"
#include "DriveController.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

namespace KxWidgetTest {

// Popups and tool tips make the offscreen platform say that it cannot raise
// windows or grab the keyboard; that says nothing about the code under test.
// Call after KxTest::initTestEnvironment(); everything else still reaches it.
inline void ignoreOffscreenPlatformLimits()
{
    static QtMessageHandler next = nullptr;
    next = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (!message.startsWith(QLatin1String("This plugin does not support")) && next)
            next(type, context, message);
    });
}

// The single controller of `json`; null (and a failed test) when it is refused.
inline DriveController* loadController(const char* json)
{
    QString error;
    const QList<DriveController*> controllers = DeviceDescription::controllersFromBytes(QByteArray(json), nullptr, &error);
    if (controllers.size() != 1) {
        qDeleteAll(controllers);
        QTest::qFail(qPrintable(QStringLiteral("description refused: ") + error), __FILE__, __LINE__);
        return nullptr;
    }
    return controllers.first();
}

inline ParameterSetup* setupOf(DriveController* controller, const QString& coordinate)
{
    return controller->parameterProvider()->parameterSetup(ParameterCoordinate(coordinate));
}

// Focus only moves between widgets of an active window.
inline bool showActive(QWidget* window)
{
    window->show();
    QApplication::setActiveWindow(window);
    return QTest::qWaitForWindowActive(window);
}

} // namespace KxWidgetTest
