#pragma once

#include <QObject>

#include <memory>

class DriveController;
class MainWindow;
class QAction;
class QProcess;
class ControllerConnectionsPrivate;

/**
 * The controllers' connections in the main window: the connection dialog of
 * the selected controller, "Simulator starten" (kx-drive-sim for the open
 * project on free ports, every controller connected to it), the connection
 * state in the status bar and a progress bar with Cancel while a
 * controller's values are read. Connections made here are kept: a lost one
 * is tried again until the controller is switched offline. Refusals, lost
 * writes and lost connections are reported through message().
 */
class ControllerConnections : public QObject
{
    Q_OBJECT

public:
    explicit ControllerConnections(MainWindow* window);
    ~ControllerConnections() override;

    QAction* connectionAction() const;
    QAction* simulatorAction() const;
    /// The simulator started by "Simulator starten"; null before.
    QProcess* simulator() const;
    /// The program started as simulator (next to the application by default).
    static QString simulatorProgram();
    /// Online, connecting, or offline after a lost connection that is tried again.
    static bool wantsOnline(const DriveController* controller);

    void retranslate();

signals:
    void message(const QString& text);

public slots:
    void editConnection();
    void startSimulator();
    void stopSimulator();
    void refresh();

private:
    std::unique_ptr<ControllerConnectionsPrivate> const d;
};
