#include "ModbusTestSupport.h"

#include <QRegularExpression>
#include <QTcpServer>

namespace KxModbusTest {

int freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

ServerProcess::~ServerProcess()
{
    kill();
}

bool ServerProcess::start(const QString& program, const QStringList& arguments, int controllers)
{
    m_ports.clear();
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.start(program, arguments);
    static const QRegularExpression line(QStringLiteral("^[^\\t]*\\t[^\\t]*:(\\d+)\\tunit \\d+$"));
    while (m_ports.size() < controllers) {
        if (!m_process.canReadLine() && !m_process.waitForReadyRead(10000))
            break;
        while (m_process.canReadLine()) {
            const QRegularExpressionMatch match = line.match(QString::fromUtf8(m_process.readLine()).trimmed());
            if (match.hasMatch())
                m_ports.append(match.captured(1).toInt());
        }
    }
    m_error = QString::fromUtf8(m_process.readAllStandardError());
    return m_ports.size() == controllers;
}

void ServerProcess::kill()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(5000);
}

int ServerProcess::terminate()
{
    m_process.terminate();
    if (!m_process.waitForFinished(5000))
        return -1;
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

QString driveSimulator()
{
    return QStringLiteral(KX_DRIVE_SIM);
}

int mbpoll(int port, const QStringList& arguments, QString* output)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("mbpoll"), QStringList{QStringLiteral("-m"), QStringLiteral("tcp"), QStringLiteral("-p"), QString::number(port),
        QStringLiteral("-0"), QStringLiteral("-1"), QStringLiteral("-o"), QStringLiteral("3")} + arguments);
    process.waitForFinished(20000);
    *output = QString::fromUtf8(process.readAll());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

QVector<double> mbpollRead(int port, const QStringList& arguments)
{
    QString output;
    QVector<double> values;
    if (mbpoll(port, arguments + QStringList{QStringLiteral("127.0.0.1")}, &output) != 0)
        return values;
    static const QRegularExpression value(QStringLiteral("^\\[\\d+\\]:\\s+(-?[0-9.]+)"), QRegularExpression::MultilineOption);
    for (auto it = value.globalMatch(output); it.hasNext();)
        values.append(it.next().captured(1).toDouble());
    return values;
}

} // namespace KxModbusTest
