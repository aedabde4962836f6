#pragma once

#include <QApplication>
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>

class DriveController;
class ProjectHost;
class QDir;

namespace AppTest {

// A small controller type that has every kind of parameter a project must
// store: per-axis and device-wide, simple, arrays and records, numbers with
// decimals, selection lists, switches, free text, a parameter defined in one
// axis only and a read-only one; plus one controller of it.
QByteArray testDescription();
QString testTypeName();

// Windows raised over the main window make the offscreen platform say that
// it cannot raise them; that says nothing about the application. Call after
// KxTest::initTestEnvironment(); everything else still reaches it.
void ignoreOffscreenPlatformLimits();

// Writes @p bytes to dir/name and returns the absolute path.
QString writeFile(const QDir& dir, const QString& name, const QByteArray& bytes);

// Writes the test type alone into @p typesDir (what a main window offers) and
// a description with its one controller into @p workDir; returns the path of
// the description.
QString writeTypesAndDescription(const QDir& typesDir, const QDir& workDir);

// Everything a project file must bring back, one line per fact, in project
// order: controllers (type, name, descriptor, read-only), axes (number, name,
// marking colour) and the raw value of every element in every living space,
// changed or not.
QStringList snapshot(const QList<DriveController*>& controllers);

// Handles the next modal dialog of type T once it is open, so that a test
// never waits for a person. Stops looking when it goes out of scope;
// handled() tells whether the dialog appeared at all.
class ModalHandler
{
public:
    template<typename T>
    static std::unique_ptr<ModalHandler> when(std::function<void(T*)> handle)
    {
        std::unique_ptr<ModalHandler> handler(new ModalHandler);
        ModalHandler* self = handler.get();
        QObject::connect(&self->m_timer, &QTimer::timeout, &self->m_timer, [self, handle] {
            if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
                self->m_timer.stop();
                self->m_handled = true;
                handle(dialog);
            }
        });
        self->m_timer.start(10);
        return handler;
    }

    bool handled() const { return m_handled; }

private:
    ModalHandler() = default;
    QTimer m_timer;
    bool m_handled = false;
};

template<typename T>
std::unique_ptr<ModalHandler> whenModalOpens(std::function<void(T*)> handle)
{
    return ModalHandler::when<T>(std::move(handle));
}

} // namespace AppTest
