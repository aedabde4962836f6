#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QVector>

namespace KxModbusTest {

/// A free TCP port on 127.0.0.1 at the moment of asking.
int freePort();

/// A server program under test (kx-drive-sim or the pymodbus server) that
/// prints one line per controller, "name<TAB>host:port<TAB>unit n", once it listens.
class ServerProcess
{
public:
    ServerProcess() = default;
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    /// Starts it and waits until `controllers` lines are printed; false (with
    /// the program's error output in errorText()) when it does not get there.
    bool start(const QString& program, const QStringList& arguments, int controllers);
    int port(int controller = 0) const { return m_ports.value(controller); }
    QString errorText() const { return m_error; }
    void kill();
    /// SIGTERM; the exit code, or -1 when it did not end on its own.
    int terminate();
    QProcess& process() { return m_process; }

private:
    QProcess m_process;
    QVector<int> m_ports;
    QString m_error;
};

/// The kx-drive-sim program of this build.
QString driveSimulator();

/// Runs mbpoll once against 127.0.0.1:port (PDU addressing); `output`
/// gets standard output and error. The exit code.
int mbpoll(int port, const QStringList& arguments, QString* output);
/// The registers mbpoll reads, in order; empty when it fails.
QVector<double> mbpollRead(int port, const QStringList& arguments);

} // namespace KxModbusTest
