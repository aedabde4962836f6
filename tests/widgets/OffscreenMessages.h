#pragma once

#include <QString>
#include <QtGlobal>

namespace KxWidgetTest {

// Popups and tool tips make the offscreen platform say that it cannot raise
// windows or grab the keyboard; that says nothing about the code under test.
// Call after KxTest::initTestEnvironment(); everything else still reaches it.
inline void ignoreOffscreenPlatformLimits()
{
    static QtMessageHandler next = nullptr;
    next = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (message.startsWith(QLatin1String("This plugin does not support")))
            return;
        if (next)
            next(type, context, message);
    });
}

} // namespace KxWidgetTest
