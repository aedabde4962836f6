#pragma once

#include <QApplication>
#include <QByteArray>
#include <QColor>
#include <QDialog>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

class DriveController;
class QTreeWidget;
class QTreeWidgetItem;
class DriveControllerAxis;
class ParameterSetup;

namespace KxTest {

// Call first in initTestCase(): routes QSettings and QStandardPaths into a
// private temporary location so tests never touch the user's settings, and
// makes every qWarning/qCritical that the test did not announce with
// expectWarning() fail the running test function.
void initTestEnvironment();

// Announces one warning (matched as a regular expression) that the code under
// test is expected to print; it is swallowed instead of failing the test.
void expectWarning(const QString& pattern);

// Reads a whole file; fails the running test when it cannot be read.
QByteArray readFile(const QString& path);

// The invented device types every test shares (support/catalogue.json) with
// the given controllers (a JSON array) as one device description.
QByteArray description(const QByteArray& controllers);
// A named set of controllers of support/projects.json, as a JSON array.
QByteArray project(const char* name);
// Controllers "Regler 1", "Regler 2", ... of the given types with `axes`
// axes "Achse 1", ... each, marked in markingColor(controller, axis).
QByteArray controllersWithAxes(const QList<QPair<QString, int>>& typesAndAxes);
QColor markingColor(int controller, int axis);   // both counted from 1

// Owns the controllers of description(controllers), or of a whole
// description when the text is a JSON object; fails the test when it is refused.
class Devices
{
public:
    explicit Devices(const QByteArray& controllers = project("feed"));
    virtual ~Devices();
    QList<DriveController*> controllers() const;   // those not yet destroyed
    DriveController* controller(int index) const;
    DriveController* controller(const QString& name) const;
    DriveControllerAxis* axis(int controllerIndex, int axisNumber) const;
    // Axes named "controller index:axis number", separated by blanks ("0:1 1:1").
    QList<QPointer<DriveControllerAxis>> axes(const QString& names) const;
    QList<QPointer<DriveControllerAxis>> allAxes() const;
    void forgetControllers();

private:
    std::unique_ptr<QObject> m_owner;
    QList<QPointer<DriveController>> m_controllers;
};

ParameterSetup* setupOf(DriveController* controller, const QString& coordinate);
ParameterSetup* setupOf(DriveControllerAxis* axis, const QString& coordinate);
// Writes "A10=4500" or "A11[2]=7" through the set-up, as an editor would.
void writeValue(DriveController* controller, int axisNumber, const QString& assignment);

// Rows of a two-level tree in display order, or only those not hidden.
QList<QTreeWidgetItem*> treeRows(QTreeWidget* tree, bool visibleOnly = false);

// Delivers posted events, queued signals and deferred deletions.
void deliver();
// Focus only moves between widgets of an active window.
bool showActive(QWidget* window);

// The suite's main window, the parent of the library's windows and dialogs, for one test.
class MainWindow
{
public:
    MainWindow();
    ~MainWindow();
    QWidget* widget() const { return m_window; }
private:
    QPointer<QWidget> m_window;
};

// A file that exists but that nobody, root included, can open: a local socket.
bool makeUnreadableFile(const QString& path);

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

} // namespace KxTest
