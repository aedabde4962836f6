#pragma once

#include "ParameterCustomListRepositoryHost.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#include <functional>

class DriveController;
class DriveControllerAxis;

namespace WindowsTest {

// "Achsmodul" (type "KXR-3 Regler": axes 1 "Hubachse", 2 "Fahrachse") and
// "Pumpe" (type "KXU-1 Umrichter": axis 1 "Pumpenantrieb"), invented.
QByteArray twoControllers();

class Host : public ParameterCustomListRepositoryHost
{
    Q_OBJECT
public:
    explicit Host(const QByteArray& json = twoControllers());
    QList<DriveController*> driveControllers() override;
    DriveControllerAxis* axis(int controllerIndex, int axisNumber) const;
    DriveController* controller(int index) const;
    void removeAllControllers();   // and tells the repository

private:
    QObject m_owner;
    QList<QPointer<DriveController>> m_controllers;
};

// The main window of the library's windows and dialogs, for one test.
class MainWindow
{
public:
    MainWindow();
    ~MainWindow();
    QWidget* widget() const { return m_window; }
private:
    QPointer<QWidget> m_window;
};

QObject* modalHandlers();
// Drops handlers still waiting, so none outlives the variables it refers to.
void cancelModalHandlers();

// Runs `handler` from the event loop on the first visible modal T within
// `timeoutMs`; a dialog the handler left open is rejected, so a failing
// check never leaves a test waiting for input.
template<typename T>
void whenModal(std::function<void(T*)> handler, bool* seen = nullptr, int timeoutMs = 5000)
{
    if (seen)
        *seen = false;
    auto* timer = new QTimer(modalHandlers());
    QElapsedTimer clock;
    clock.start();
    QObject::connect(timer, &QTimer::timeout, timer, [=]() {
        QPointer<T> widget = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!widget || !widget->isVisible()) {
            if (clock.elapsed() > timeoutMs)
                timer->deleteLater();
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
    timer->start(10);
}

// What the user saw of a file dialog and of the critical message that may follow it.
struct FileDialogRun
{
    bool dialogSeen = false;
    QWidget* dialogParent = nullptr;
    QString caption;
    QString directory;
    QString proposal;   // full path
    QStringList filters;
    bool messageSeen = false;
    QWidget* messageParent = nullptr;
    QString messageTitle;
    QString messageText;
    bool messageIsCriticalWithOk = false;
};

// Answers the next (non-native) file dialog with `fileName`, or cancels it
// when that is empty, and closes a critical message that follows with OK.
void answerFileDialog(FileDialogRun* run, const QString& fileName);

// A file that exists but that nobody, root included, can open: a local socket.
bool makeUnreadableFile(const QString& path);

} // namespace WindowsTest
