#pragma once

#include "ParameterCustomListRepositoryHost.h"

#include <QApplication>
#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <functional>

class DriveController;
class DriveControllerAxis;
class QFileDialog;

namespace WindowsTest {

// An invented catalogue: the four-axis type "KXR-3 Regler" and the one-axis
// "KXU-1 Umrichter", plus the given controller objects (JSON array text).
QByteArray description(const QByteArray& controllers);

// "Achsmodul" (KXR-3: axes 1 "Hubachse", 2 "Fahrachse") and "Pumpe"
// (KXU-1: axis 1 "Pumpenantrieb").
QByteArray twoControllers();

// The project's controllers for the repository; the test owns it.
class Host : public ParameterCustomListRepositoryHost
{
    Q_OBJECT
public:
    explicit Host(const QByteArray& json = twoControllers());
    ~Host() override;
    QList<DriveController*> driveControllers() override;

    DriveController* controller(int index) const;
    DriveControllerAxis* axis(int controllerIndex, int axisNumber) const;
    // Drops every controller, so that the project has no axes, and tells the repository.
    void removeAllControllers();

private:
    QObject m_owner;
    QList<QPointer<DriveController>> m_controllers;
};

// Parent of the pending modal handlers below.
QObject* modalHandlers();

// Drops the handlers that are still waiting, so that none outlives the test
// function whose variables it refers to. Call it in cleanup().
void cancelModalHandlers();

/**
 * Runs `handler` from the event loop on the first visible modal widget of
 * type T, polling for up to `timeoutMs`. Whatever the handler does, a dialog
 * still open afterwards is rejected, so a failing check never leaves a test
 * waiting for input. `seen` (optional) tells whether the widget showed up.
 */
template<typename T>
void whenModal(std::function<void(T*)> handler, bool* seen = nullptr, int timeoutMs = 5000)
{
    if (seen)
        *seen = false;
    auto* timer = new QTimer(modalHandlers());
    QElapsedTimer clock;
    clock.start();
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, clock, handler, seen, timeoutMs]() {
        QPointer<T> widget = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!widget || !widget->isVisible()) {
            if (clock.elapsed() > timeoutMs) {
                timer->stop();
                timer->deleteLater();
            }
            return;
        }
        timer->stop();
        timer->deleteLater();
        if (seen)
            *seen = true;
        handler(widget);
        if (widget && widget->isVisible())
            widget->reject();
    });
    timer->start();
}

// Qt's offscreen platform complains when a pop-up menu raises itself and
// grabs the keyboard; announce that before each pop-up.
void expectPopupWarnings();

// Likewise for every raise() of a window.
void expectRaiseWarnings(int count);

// Types `path` into the name field of a (non-native) file dialog and accepts it.
void acceptFileDialog(QFileDialog* dialog, const QString& path);

// An exported text with the element numbers of each line in ascending order,
// since a list does not promise their order.
QByteArray sortedElements(const QByteArray& text);

// The full path that the file dialog currently proposes.
QString proposedFile(QFileDialog* dialog);

// A file that exists but cannot be opened for reading by anyone, root
// included: a local socket. Returns false when it cannot be made.
bool makeUnreadableFile(const QString& path);

// The main window that the library's windows and dialogs belong to.
class MainWindow
{
public:
    MainWindow();
    ~MainWindow();
    QWidget* widget() const { return m_window; }

private:
    QPointer<QWidget> m_window;
};

} // namespace WindowsTest
