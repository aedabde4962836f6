// Serves the controllers of a device description over Modbus TCP, one port
// each, so that the suite (or any Modbus client) has drives to talk to.

#include "DeviceDescription.h"
#include "DeviceType.h"
#include "DriveController.h"
#include "DriveSimulator.h"
#include "FileStorageView.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"
#include "ProjectFile.h"
#include "RegisterMap.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QSet>
#include <QSocketNotifier>
#include <QTextStream>
#include <QTimer>
#include <QVariant>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    // Nothing else is safe in a signal handler; the event loop does the rest.
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[0], &byte, 1);
}

QTextStream& out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream& err()
{
    static QTextStream stream(stderr);
    return stream;
}

bool intOption(const QCommandLineParser& parser, const QString& name, int minimum, int maximum, int* value)
{
    if (!parser.isSet(name))
        return true;
    bool ok = false;
    *value = parser.value(name).toInt(&ok);
    if (ok && *value >= minimum && *value <= maximum)
        return true;
    err() << QStringLiteral("--%1 must be a number from %2 to %3\n").arg(name).arg(minimum).arg(maximum);
    return false;
}

// The living spaces a controller has values in.
QList<eLivingSpace> spacesOf(const DriveController* controller)
{
    return QList<eLivingSpace>{LivingSpaceDevice} + controller->axisNumbers();
}

// The one unit id a controller's explicit map answers on; -1 when it leaves it to the command line.
int unitIdOf(const DriveController* controller, const RegisterMap& map, QString* problem)
{
    QSet<int> ids;
    for (eLivingSpace space : spacesOf(controller))
        ids.insert(map.space(space).unitId);
    if (ids.size() > 1) {
        *problem = QStringLiteral("its register map uses several unit ids; kx-drive-sim serves one unit id per controller");
        return -1;
    }
    return *ids.cbegin();
}

void printMap(const DriveController* controller, const RegisterMap& map)
{
    ParameterProvider* provider = controller->parameterProvider();
    for (const ParameterCoordinate& coordinate : provider->allCoordinates()) {
        const ParameterSetup* setup = provider->parameterSetup(coordinate).data();
        const QList<eLivingSpace> spaces = setup->isGlobal() ? QList<eLivingSpace>{LivingSpaceDevice} : setup->livingSpaces();
        for (eLivingSpace space : spaces) {
            if (!spacesOf(controller).contains(space))
                continue;
            for (const RegisterSlot& slot : map.registerSlots(coordinate)) {
                const RegisterLocation at = map.locate(coordinate, space, slot.element);
                out() << QStringLiteral("%1\t%2.%3[%4]\tunit %5\tregister %6\tcount %7\t%8\tscale %9%10\n")
                             .arg(controller->name())
                             .arg(space)
                             .arg(coordinate.toText())
                             .arg(slot.element)
                             .arg(at.unitId < 0 ? QStringLiteral("-") : QString::number(at.unitId))
                             .arg(at.address)
                             .arg(slot.count)
                             .arg(RegisterSlot::typeName(slot.type))
                             .arg(slot.scale, 0, 'g', 15)
                             .arg(slot.lowWordFirst ? QStringLiteral("\tlow word first") : QString());
            }
        }
    }
}

// A project file holds its controllers as the application stores them
// (docs/file-formats.md: "Project/Controllers"); they become a description
// that includes the files their types came from.
QByteArray descriptionOfProject(const QString& path, QString* error)
{
    FileStorageView root;
    if (!ProjectFile::read(path, &root, error))
        return QByteArray();
    const FileStorageView* project = root.subStorage(QStringLiteral("Project"));
    if (!project || !project->hasItem(QStringLiteral("Controllers"))) {
        *error = QStringLiteral("%1: the project holds no controllers").arg(path);
        return QByteArray();
    }
    const QJsonObject stored = QJsonDocument::fromJson(project->readItem(QStringLiteral("Controllers"))).object();
    QJsonArray includes;
    QJsonArray controllers;
    for (const QJsonValue& value : stored.value(QStringLiteral("controllers")).toArray()) {
        const QJsonObject controller = value.toObject();
        const QString typeFile = controller.value(QStringLiteral("typeFile")).toString();
        if (typeFile.isEmpty()) {
            *error = QStringLiteral("%1: controller \"%2\" names no file its type \"%3\" can be read from")
                         .arg(path, controller.value(QStringLiteral("name")).toString(), controller.value(QStringLiteral("type")).toString());
            return QByteArray();
        }
        if (!includes.contains(typeFile))
            includes.append(typeFile);
        QJsonArray axes;
        for (const QJsonValue& axis : controller.value(QStringLiteral("axes")).toArray())
            axes.append(QJsonObject{{QStringLiteral("number"), axis.toObject().value(QStringLiteral("number"))},
                {QStringLiteral("name"), axis.toObject().value(QStringLiteral("name"))}});
        QJsonArray values;
        for (const QJsonValue& storedValue : controller.value(QStringLiteral("values")).toArray()) {
            const QJsonObject v = storedValue.toObject();
            QJsonObject entry{{QStringLiteral("coordinate"), v.value(QStringLiteral("coordinate"))},
                {QStringLiteral("element"), v.value(QStringLiteral("element"))}, {QStringLiteral("value"), v.value(QStringLiteral("value"))}};
            if (v.value(QStringLiteral("livingSpace")).toInt() != 0)
                entry.insert(QStringLiteral("axis"), v.value(QStringLiteral("livingSpace")));
            values.append(entry);
        }
        controllers.append(QJsonObject{{QStringLiteral("name"), controller.value(QStringLiteral("name"))},
            {QStringLiteral("type"), controller.value(QStringLiteral("type"))}, {QStringLiteral("axes"), axes},
            {QStringLiteral("values"), values}});
    }
    return QJsonDocument(QJsonObject{{QStringLiteral("format"), QStringLiteral("KxDeviceDescription")}, {QStringLiteral("version"), 1},
                             {QStringLiteral("includes"), includes}, {QStringLiteral("controllers"), controllers}})
        .toJson();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kx-drive-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Serves the drive controllers of a device description or a project file over Modbus TCP, each on its own port.\n"
        "Prints one line per controller with its address; ends on Ctrl+C or SIGTERM."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("description"),
        QStringLiteral("Device description (JSON) with controllers, or a project file (*.kxproj)."));
    parser.addOptions({
        {QStringLiteral("host"), QStringLiteral("Address to listen on."), QStringLiteral("address"), QStringLiteral("127.0.0.1")},
        {QStringLiteral("port"), QStringLiteral("Port of the first controller; the others follow. A port in use is skipped."),
            QStringLiteral("port"), QStringLiteral("1502")},
        {QStringLiteral("unit-id"), QStringLiteral("Unit id of controllers whose map names none."), QStringLiteral("id"), QStringLiteral("1")},
        {QStringLiteral("latency"), QStringLiteral("Hold every answer back this long."), QStringLiteral("ms")},
        {QStringLiteral("drop-after"), QStringLiteral("Drop a controller's connections after every n-th request."), QStringLiteral("n")},
        {QStringLiteral("drop-chance"), QStringLiteral("Drop the connections at a request with this chance (0..1)."), QStringLiteral("p")},
        {QStringLiteral("refuse-writes"), QStringLiteral("Refuse every write with this Modbus exception code (1..11)."), QStringLiteral("code")},
        {QStringLiteral("access-level"), QStringLiteral("Refuse writes to elements above this access level."), QStringLiteral("level")},
        {QStringLiteral("vary"), QStringLiteral("Parameters the drives change by themselves (comma-separated coordinates)."), QStringLiteral("coordinates")},
        {QStringLiteral("vary-interval"), QStringLiteral("Time between two such changes."), QStringLiteral("ms"), QStringLiteral("200")},
        {QStringLiteral("print-map"), QStringLiteral("Print every value's registers and end.")},
    });
    parser.process(app);
    if (parser.positionalArguments().size() != 1) {
        err() << "one device description is needed; see --help\n";
        return 2;
    }

    DriveSimulatorFaults faults;
    int port = 1502;
    int unitId = 1;
    int varyInterval = 200;
    bool ok = intOption(parser, QStringLiteral("port"), 1, 65535, &port) && intOption(parser, QStringLiteral("unit-id"), 0, 255, &unitId)
        && intOption(parser, QStringLiteral("latency"), 0, 60000, &faults.latencyMs)
        && intOption(parser, QStringLiteral("drop-after"), 1, 1 << 30, &faults.dropAfterRequests)
        && intOption(parser, QStringLiteral("refuse-writes"), 1, 11, &faults.refuseWritesCode)
        && intOption(parser, QStringLiteral("access-level"), 0, 1 << 30, &faults.accessLevel)
        && intOption(parser, QStringLiteral("vary-interval"), 1, 1 << 30, &varyInterval);
    if (parser.isSet(QStringLiteral("drop-chance"))) {
        faults.dropChance = parser.value(QStringLiteral("drop-chance")).toDouble(&ok);
        if (!ok || faults.dropChance < 0 || faults.dropChance > 1) {
            err() << "--drop-chance must be a number from 0 to 1\n";
            ok = false;
        }
    }
    if (!ok)
        return 2;

    QString error;
    QString path = parser.positionalArguments().first();
    QTemporaryDir converted;
    if (ProjectFile::isProjectFile(path)) {
        const QByteArray description = descriptionOfProject(path, &error);
        QFile file(converted.filePath(QFileInfo(path).completeBaseName() + QStringLiteral(".json")));
        if (description.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(description) != description.size()) {
            err() << (error.isEmpty() ? file.errorString() : error) << '\n';
            return 1;
        }
        path = file.fileName();
    }
    const QList<DriveController*> controllers = DeviceDescription::controllersFromFile(path, &app, &error);
    if (!error.isEmpty()) {
        err() << error << '\n';
        return 1;
    }

    if (parser.isSet(QStringLiteral("print-map"))) {
        for (const DriveController* controller : controllers) {
            const QSharedPointer<const RegisterMap> map = RegisterMap::of(*controller->type());
            if (!map->isValid()) {
                err() << map->errorMessage() << '\n';
                return 1;
            }
            printMap(controller, *map);
        }
        out().flush();
        return 0;
    }

    // Handled before the first address is printed: whoever reads it may stop us at once.
    QList<DriveSimulator*> servers;
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) {
        err() << "cannot set up signal handling\n";
        return 1;
    }
    QSocketNotifier notifier(signalPipe[1], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &app, [&servers]() {
        for (DriveSimulator* server : qAsConst(servers))
            server->disconnectDevice();
        QCoreApplication::quit();
    });
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);

    for (DriveController* controller : controllers) {
        const QSharedPointer<const RegisterMap> map = RegisterMap::of(*controller->type());
        QString problem = map->errorMessage();
        const int mapUnitId = problem.isEmpty() ? unitIdOf(controller, *map, &problem) : -1;
        if (!problem.isEmpty()) {
            err() << controller->name() << ": " << problem << '\n';
            return 1;
        }
        auto* server = new DriveSimulator(controller, map, faults, &app);
        server->setServerAddress(mapUnitId >= 0 ? mapUnitId : unitId);
        server->setConnectionParameter(QModbusDevice::NetworkAddressParameter, parser.value(QStringLiteral("host")));
        bool listening = false;
        for (int tries = 0; tries < 100 && port <= 65535 && !listening; ++tries, ++port) {
            server->setConnectionParameter(QModbusDevice::NetworkPortParameter, port);
            listening = server->connectDevice();
        }
        if (!listening) {
            err() << controller->name() << ": cannot listen on " << parser.value(QStringLiteral("host")) << ": " << server->errorString() << '\n';
            return 1;
        }
        out() << QStringLiteral("%1\t%2:%3\tunit %4\n")
                     .arg(controller->name(), parser.value(QStringLiteral("host")))
                     .arg(port - 1)
                     .arg(server->serverAddress());
        servers.append(server);
    }
    out().flush();

    QTimer vary;
    if (parser.isSet(QStringLiteral("vary"))) {
        const QStringList coordinates = parser.value(QStringLiteral("vary")).toUpper().split(QLatin1Char(','), Qt::SkipEmptyParts);
        QObject::connect(&vary, &QTimer::timeout, &app, [&servers, coordinates]() {
            for (DriveSimulator* server : qAsConst(servers))
                server->varyParameters(coordinates);
        });
        vary.start(varyInterval);
    }

    return app.exec();
}
