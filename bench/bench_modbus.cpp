// Figures of the suite's Modbus TCP connection against kx-drive-sim over
// loopback. Not a test: prints what it measured next to the targets.
//
//   kx-bench-modbus [--repetitions 7] [--poll-seconds 10]
//
// B1  going online with the sample project: time per controller and the
//     read requests against the fewest the register map allows
// B2  32 controllers with 4 axes each on one simulator going online at once:
//     time until all are online, longest stall of the event loop
// B3  every per-axis value of 8 axes observed and polled at 5 Hz while the
//     drives change a tenth of the parameters per cycle: CPU time of this
//     process per second, longest stall
// B4  the same with a variable parameter list of every per-axis parameter on
//     the 8 axes shown in its window, so that the list redraws what changes

#include "ListTestSupport.h"
#include "ParameterCustomList.h"
#include "ParameterCustomListRepository.h"
#include "ParameterCustomListWidget.h"

#include "DeviceDescription.h"
#include "DeviceType.h"
#include "DriveController.h"
#include "ModbusConnection.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"
#include "RegisterMap.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <memory>

#include <sys/resource.h>

namespace {

QTextStream& out()
{
    static QTextStream stream(stdout);
    return stream;
}

QString simulatorProgram()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/kx-drive-sim");
}

int freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// kx-drive-sim serving a description; the ports in controller order.
struct Simulator
{
    QProcess process;
    QVector<int> ports;

    bool start(const QStringList& arguments, int controllers)
    {
        process.start(simulatorProgram(), QStringList{QStringLiteral("--port"), QString::number(freePort())} + arguments);
        static const QRegularExpression line(QStringLiteral(":(\\d+)\\tunit"));
        while (ports.size() < controllers && (process.canReadLine() || process.waitForReadyRead(20000))) {
            while (process.canReadLine()) {
                const QRegularExpressionMatch match = line.match(QString::fromUtf8(process.readLine()));
                if (match.hasMatch())
                    ports.append(match.captured(1).toInt());
            }
        }
        if (ports.size() < controllers)
            out() << "simulator did not start: " << process.readAllStandardError() << Qt::endl;
        return ports.size() == controllers;
    }
    ~Simulator()
    {
        process.terminate();
        process.waitForFinished(5000);
    }
};

// The longest time between two turns of the event loop while it runs.
class StallMeter
{
public:
    // A 0 ms interval keeps the loop busy, which suits timings but not CPU figures.
    explicit StallMeter(int intervalMs = 0)
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(intervalMs);
        QObject::connect(&m_timer, &QTimer::timeout, [this]() {
            const qint64 now = m_clock.nsecsElapsed();
            if (m_last >= 0)
                m_longest = std::max(m_longest, now - m_last);
            m_last = now;
        });
    }
    void start()
    {
        m_longest = 0;
        m_last = -1;
        m_clock.start();
        m_timer.start();
    }
    double stop()
    {
        m_timer.stop();
        return m_longest / 1e6;
    }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = -1;
    qint64 m_longest = 0;
};

bool runUntil(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

double median(QVector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

// The fewest read requests the map allows: every run of contiguous registers
// of one unit id, in blocks of at most 125.
int fewestRequests(DriveController* controller)
{
    const QSharedPointer<const RegisterMap> map = RegisterMap::of(*controller->type());
    QVector<QPair<int, int>> used;   // first, last
    ParameterProvider* provider = controller->parameterProvider();
    for (const ParameterCoordinate& coordinate : provider->allCoordinates()) {
        const ParameterSetup* setup = provider->parameterSetup(coordinate).data();
        const QList<eLivingSpace> spaces = setup->isGlobal() ? QList<eLivingSpace>{0} : setup->livingSpaces();
        for (eLivingSpace space : spaces) {
            if (space != 0 && !controller->axis(space))
                continue;
            for (const RegisterSlot& slot : map->registerSlots(coordinate)) {
                const RegisterLocation at = map->locate(coordinate, space, slot.element);
                used.append(qMakePair(int(at.address), int(at.address) + slot.count - 1));
            }
        }
    }
    std::sort(used.begin(), used.end());
    int requests = 0;
    int runStart = -1;
    int runEnd = -2;
    for (const auto& range : qAsConst(used)) {
        if (range.first != runEnd + 1) {
            if (runStart >= 0)
                requests += (runEnd - runStart + 1 + 124) / 125;
            runStart = range.first;
        }
        runEnd = std::max(runEnd, range.second);
    }
    if (runStart >= 0)
        requests += (runEnd - runStart + 1 + 124) / 125;
    return requests;
}

QString writeDescription(const QTemporaryDir& dir, const QString& name, const QJsonObject& description)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(QJsonDocument(description).toJson());
    return path;
}

void connectAll(const QList<DriveController*>& controllers, const QVector<int>& ports)
{
    for (int i = 0; i < controllers.size(); ++i) {
        controllers.at(i)->setOnline(false);
        controllers.at(i)->setConnectionSettings(ModbusConnectionSettings{QStringLiteral("127.0.0.1"), ports.at(i), 1});
    }
}

void goingOnline(int repetitions)
{
    const QString sample = QStringLiteral(KX_DATA_DIR "/sample-project.json");
    Simulator sim;
    if (!sim.start({sample}, 3))
        return;
    QObject owner;
    QString error;
    const QList<DriveController*> controllers = DeviceDescription::controllersFromFile(sample, &owner, &error);
    connectAll(controllers, sim.ports);
    for (DriveController* controller : controllers) {
        QVector<double> times;
        QVector<double> connected;
        int requests = 0;
        for (int r = 0; r < repetitions; ++r) {
            controller->setOnline(false);
            QElapsedTimer clock;
            double connectedAt = 0;
            auto conn = QObject::connect(controller->connection(), &ModbusConnection::readProgress, [&](int done, int) {
                if (done == 0)
                    connectedAt = clock.nsecsElapsed() / 1e6;
            });
            clock.start();
            controller->setOnline(true);
            if (!runUntil([controller]() { return controller->isOnline(); }, 20000)) {
                out() << "B1 " << controller->name() << ": did not go online: " << controller->connectionFault() << Qt::endl;
                return;
            }
            times.append(clock.nsecsElapsed() / 1e6);
            connected.append(times.last() - connectedAt);
            QObject::disconnect(conn);
            requests = controller->connection()->readRequestCount();
        }
        const int fewest = fewestRequests(controller);
        out() << QStringLiteral("B1 going online  %1: %2 ms in all, %3 ms reading (target <= 10 ms); %4 requests, fewest %5, ratio %6 (target <= 1.2)")
                     .arg(controller->name(), -28)
                     .arg(median(times), 0, 'f', 2)
                     .arg(median(connected), 0, 'f', 2)
                     .arg(requests)
                     .arg(fewest)
                     .arg(double(requests) / fewest, 0, 'f', 2)
              << Qt::endl;
    }
}

void manyControllers()
{
    QTemporaryDir dir;
    QJsonArray list;
    for (int i = 0; i < 32; ++i) {
        QJsonArray axes;
        for (int axis = 1; axis <= 4; ++axis)
            axes.append(QJsonObject{{QStringLiteral("number"), axis}});
        list.append(QJsonObject{{QStringLiteral("name"), QStringLiteral("Regler %1").arg(i + 1)}, {QStringLiteral("type"), QStringLiteral("KXS-4 Servo")},
            {QStringLiteral("axes"), axes}});
    }
    const QString path = writeDescription(dir, QStringLiteral("many.json"),
        QJsonObject{{QStringLiteral("format"), QStringLiteral("KxDeviceDescription")}, {QStringLiteral("version"), 1},
            {QStringLiteral("includes"), QJsonArray{QStringLiteral(KX_DATA_DIR "/types/kxs4-servo.json")}}, {QStringLiteral("controllers"), list}});
    Simulator sim;
    if (!sim.start({path}, 32))
        return;
    QObject owner;
    const QList<DriveController*> controllers = DeviceDescription::controllersFromFile(path, &owner);
    connectAll(controllers, sim.ports);
    StallMeter stalls;
    QElapsedTimer clock;
    stalls.start();
    clock.start();
    for (DriveController* controller : controllers)
        controller->setOnline(true);
    const bool all = runUntil([&controllers]() {
        return std::all_of(controllers.cbegin(), controllers.cend(), [](DriveController* c) { return c->isOnline(); });
    }, 30000);
    const double elapsed = clock.nsecsElapsed() / 1e6;
    const double stall = stalls.stop();
    int requests = 0;
    for (DriveController* controller : controllers)
        requests += controller->connection()->readRequestCount();
    out() << QStringLiteral("B2 32 x 4 axes    %1: %2 ms until all online (target <= 500 ms), longest stall %3 ms (target <= 50 ms), %4 requests")
                 .arg(all ? QStringLiteral("all online") : QStringLiteral("NOT all online"))
                 .arg(elapsed, 0, 'f', 1)
                 .arg(stall, 0, 'f', 1)
                 .arg(requests)
          << Qt::endl;
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// With `listWindow`, the values are observed by a list shown in its window
// instead of by hand.
void pollingLoad(int seconds, bool listWindow)
{
    QTemporaryDir dir;
    // The largest catalogue of single values whose default map fits an axis's 3840 registers.
    const QByteArray json = syntheticDeviceDescription(1500, 2, 4, 7, SyntheticShape{26000, 2});
    QJsonObject description = QJsonDocument::fromJson(json).object();
    const QString path = writeDescription(dir, QStringLiteral("poll.json"), description);
    KxTest::Host host(json);
    const QList<DriveController*> controllers = host.controllers();
    // A tenth of the catalogue changes by itself every 200 ms.
    QStringList varying;
    const QList<ParameterCoordinate> coordinates = controllers.first()->parameterProvider()->allCoordinates();
    for (int i = 0; i < coordinates.size(); i += 10)
        varying.append(coordinates.at(i).toText());
    Simulator sim;
    if (!sim.start({QStringLiteral("--vary"), varying.join(QLatin1Char(',')), QStringLiteral("--vary-interval"), QStringLiteral("200"), path}, 2))
        return;
    connectAll(controllers, sim.ports);
    int observed = 0;
    std::unique_ptr<ParameterCustomListWidget> window;
    ParameterCustomListRepository& repository = ParameterCustomListRepository::instance();
    if (listWindow) {
        repository.initialize(&host);
        auto* list = qobject_cast<ParameterCustomList*>(repository.createList());
        list->setAxes(host.allAxes());
        QList<ParameterCoordinate> perAxis;
        for (const ParameterCoordinate& coordinate : controllers.first()->parameterProvider()->allCoordinates()) {
            if (!controllers.first()->parameterProvider()->parameterSetup(coordinate)->isGlobal())
                perAxis.append(coordinate);
        }
        list->setCoordinates(perAxis);
        window.reset(new ParameterCustomListWidget);
        window->resize(1400, 900);
        window->setParameterCustomList(list);
        window->show();
        observed = perAxis.size();
    }
    for (DriveController* controller : controllers) {
        controller->connection()->setPollInterval(200);
        ParameterProvider* provider = controller->parameterProvider();
        for (const ParameterCoordinate& coordinate : provider->allCoordinates()) {
            ParameterSetup* setup = provider->parameterSetup(coordinate).data();
            if (setup->isGlobal() || listWindow)
                continue;
            for (int axis : controller->axisNumbers()) {
                for (quint16 element : setup->valueElementIndices()) {
                    setup->setObserved(axis, element, true);
                    ++observed;
                }
            }
        }
        controller->setOnline(true);
    }
    if (!runUntil([&controllers]() { return controllers.first()->isOnline() && controllers.last()->isOnline(); }, 20000)) {
        out() << "B3: controllers did not go online" << Qt::endl;
        return;
    }
    int changes = 0;
    for (DriveController* controller : controllers)
        QObject::connect(controller->parameterProvider(), &ParameterProvider::parameterValueChanged, [&changes]() { ++changes; });
    StallMeter stalls(5);
    stalls.start();
    const double cpuBefore = cpuSeconds();
    QElapsedTimer clock;
    clock.start();
    // Idle between polls, as the application is: no busy loop of our own here.
    QEventLoop idle;
    QTimer::singleShot(seconds * 1000, &idle, &QEventLoop::quit);
    idle.exec();
    const double wall = clock.nsecsElapsed() / 1e9;
    const double cpu = cpuSeconds() - cpuBefore;
    out() << QStringLiteral("%1 %2 at 5 Hz, %3 changes/s: %4 % of one core (target <= 10 %), longest gap between 5 ms ticks %5 ms (target <= 30 ms)")
                 .arg(listWindow ? QStringLiteral("B4 list window    a list of") : QStringLiteral("B3 polling        "))
                 .arg(listWindow ? QStringLiteral("%1 entries on 8 axes").arg(observed) : QStringLiteral("%1 observed values on 8 axes").arg(observed))
                 .arg(changes / wall, 0, 'f', 0)
                 .arg(100 * cpu / wall, 0, 'f', 1)
                 .arg(stalls.stop(), 0, 'f', 1)
          << Qt::endl;
    if (window) {
        window.reset();
        repository.clear();
    }
    for (DriveController* controller : controllers)
        controller->setOnline(false);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOptions({{QStringLiteral("repetitions"), QStringLiteral("Runs of B1 per controller."), QStringLiteral("n"), QStringLiteral("7")},
        {QStringLiteral("poll-seconds"), QStringLiteral("Length of B3."), QStringLiteral("s"), QStringLiteral("10")}});
    parser.process(app);
    goingOnline(std::max(1, parser.value(QStringLiteral("repetitions")).toInt()));
    manyControllers();
    pollingLoad(std::max(1, parser.value(QStringLiteral("poll-seconds")).toInt()), false);
    pollingLoad(std::max(1, parser.value(QStringLiteral("poll-seconds")).toInt()), true);
    return 0;
}
