#pragma once

#include <QApplication>
#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>

class DriveController;
class QDir;

namespace AppTest {

// One small controller type with every kind of parameter a project stores,
// plus one controller of it.
QByteArray testDescription();
QString testTypeName();

// Drops the offscreen platform's "cannot raise" notes; call after initTestEnvironment().
void ignoreOffscreenPlatformLimits();

// Writes @p bytes to dir/name and returns the absolute path.
QString writeFile(const QDir& dir, const QString& name, const QByteArray& bytes);

// Types alone into @p typesDir, the controller into @p workDir; returns the description's path.
QString writeTypesAndDescription(const QDir& typesDir, const QDir& workDir);

// Rewrites the first stored controller of a saved project file in place.
void editFirstStoredController(const QString& path, const std::function<void(QJsonObject&)>& edit);

// Every fact a project file must bring back, one line each, in project order.
QStringList snapshot(const QList<DriveController*>& controllers);

// Handles the next modal dialog of type T once it opens (and @p ready says so);
// stops looking when destroyed.
class ModalHandler
{
public:
    bool handled = false;
    QTimer timer;
};

template<typename T>
std::unique_ptr<ModalHandler> whenModalOpens(std::function<void(T*)> handle, std::function<bool()> ready = {})
{
    auto handler = std::make_unique<ModalHandler>();
    ModalHandler* self = handler.get();
    QObject::connect(&self->timer, &QTimer::timeout, &self->timer, [self, handle, ready] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (dialog && (!ready || ready())) {
            self->timer.stop();
            self->handled = true;
            handle(dialog);
        }
    });
    self->timer.start(10);
    return handler;
}

} // namespace AppTest
