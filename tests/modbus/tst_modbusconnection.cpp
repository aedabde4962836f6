#include "DeviceDescription.h"
#include "DriveController.h"
#include "ModbusConnection.h"
#include "ModbusTestSupport.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"
#include "TestSupport.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

using namespace KxModbusTest;

namespace {

const QString Example = QStringLiteral(KX_SOURCE_DIR "/examples/modbus/tannberg-td2.json");
const QString Sample = QStringLiteral(KX_DATA_DIR "/sample-project.json");
const QString PymodbusServer = QStringLiteral(KX_SOURCE_DIR "/tests/modbus/serve_description.py");

// The controllers of a description as the suite would have them before
// reading anything: every value at its default, so that going online has
// something to change.
QList<DriveController*> controllersWithDefaults(const QString& path, QObject* owner)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QJsonObject description = QJsonDocument::fromJson(file.readAll()).object();
    QJsonArray controllers = description.value(QStringLiteral("controllers")).toArray();
    for (int i = 0; i < controllers.size(); ++i) {
        QJsonObject controller = controllers.at(i).toObject();
        controller.remove(QStringLiteral("values"));
        controller.remove(QStringLiteral("online"));
        controllers[i] = controller;
    }
    description.insert(QStringLiteral("controllers"), controllers);
    if (path == Sample) {
        // The sample includes its types; read them the same way.
        DeviceDescription types;
        types.loadFile(QStringLiteral(KX_DATA_DIR "/types/kxs4-servo.json"));
        types.loadFile(QStringLiteral(KX_DATA_DIR "/types/kxf2-inverter.json"));
        QJsonArray list;
        for (const QString& name : {QStringLiteral("kxs4-servo.json"), QStringLiteral("kxf2-inverter.json")}) {
            QFile typeFile(QStringLiteral(KX_DATA_DIR "/types/") + name);
            typeFile.open(QIODevice::ReadOnly);
            for (const QJsonValue& type : QJsonDocument::fromJson(typeFile.readAll()).object().value(QStringLiteral("types")).toArray())
                list.append(type);
        }
        description.remove(QStringLiteral("includes"));
        description.insert(QStringLiteral("types"), list);
    }
    return DeviceDescription::controllersFromBytes(QJsonDocument(description).toJson(), owner);
}

ParameterSetup* setup(DriveController* controller, const char* coordinate)
{
    return controller->parameterProvider()->parameterSetup(ParameterCoordinate(QString::fromLatin1(coordinate))).data();
}

void connectTo(DriveController* controller, int port)
{
    controller->setConnectionSettings(ModbusConnectionSettings{QStringLiteral("127.0.0.1"), port, 1});
    QVERIFY(controller->needSave());   // the connection belongs to the project
    controller->markSaved();
}

QStringList pymodbus()
{
    return {QStringLiteral("/usr/bin/python3"), PymodbusServer};
}

QStringList simulator(const QStringList& options = {})
{
    return QStringList{driveSimulator()} + options;
}

// A server program and the first controller of a description with every
// value at its default, connected to it.
struct Rig
{
    bool start(const QStringList& program, const QString& description, int controllers = 1)
    {
        if (!server.start(program.first(), program.mid(1) + QStringList{QStringLiteral("--port"), QString::number(freePort()), description}, controllers))
            return false;
        drive = controllersWithDefaults(description, &owner).value(0);
        if (!drive)
            return false;
        drive->setConnectionSettings(ModbusConnectionSettings{QStringLiteral("127.0.0.1"), server.port(), 1});
        drive->markSaved();
        return true;
    }

    ServerProcess server;
    QObject owner;
    DriveController* drive = nullptr;
};

// Counts the turns of the event loop, to show it kept turning while waiting for the device.
class LoopTurns : public QObject
{
public:
    LoopTurns() { m_timer.callOnTimeout([this]() { ++turns; }); m_timer.start(0); }
    int turns = 0;

private:
    QTimer m_timer;
};

} // namespace

class TestModbusConnection : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KxTest::initTestEnvironment(); }

    // --- against the independent pymodbus server -----------------------------

    void goingOnlineReadsEveryValueInFewRequests()
    {
        Rig rig;
        QVERIFY2(rig.start(pymodbus(), Example), qPrintable(rig.server.errorText()));
        DriveController* drive = rig.drive;
        QSignalSpy progress(drive->connection(), &ModbusConnection::readProgress);
        QSignalSpy changed(drive->parameterProvider(), &ParameterProvider::parameterValueChanged);
        QSignalSpy states(drive, &DriveController::onlineStateChanged);

        drive->setOnline(true);
        QCOMPARE(drive->onlineState(), OnlineStateConnecting);   // nothing is read before the call returns
        QTRY_VERIFY(drive->isOnline());

        QCOMPARE(setup(drive, "F10")->valueText(1, 0, false), QStringLiteral("37.50"));
        QCOMPARE(setup(drive, "F11")->valueText(2, 0, false), QStringLiteral("12.5"));
        QCOMPARE(setup(drive, "F30")->valueText(1, 0, false), QStringLiteral("2"));
        QCOMPARE(setup(drive, "F10")->valueText(2, 0, false), QStringLiteral("50.00"));
        QCOMPARE(changed.size(), 3);   // only what differs from what the suite had
        // The published map has five separate runs of registers per axis... minus the gap
        // at 1001: device 0-8; per axis +0, +2..+7, +10..+12, +20..+21.
        QCOMPARE(drive->connection()->readRequestCount(), 9);
        QCOMPARE(drive->connection()->readAllRequestCount(), 9);
        QCOMPARE(progress.last(), (QList<QVariant>{9, 9}));
        QCOMPARE(states.size(), 2);
        QVERIFY(!drive->needSave());
    }

    void writesChangeTheValueWhenAcknowledged()
    {
        Rig rig;
        QVERIFY2(rig.start(pymodbus(), Example), qPrintable(rig.server.errorText()));
        DriveController* drive = rig.drive;
        drive->setOnline(true);
        QTRY_VERIFY(drive->isOnline());
        QSignalSpy changed(drive->parameterProvider(), &ParameterProvider::parameterValueChanged);
        QSignalSpy started(drive->parameterProvider(), &ParameterProvider::valueWriteStarted);
        QSignalSpy finished(drive->parameterProvider(), &ParameterProvider::valueWriteFinished);

        QVERIFY(setup(drive, "F10")->setValueText(2, 0, QStringLiteral("40,12")));
        QVERIFY(setup(drive, "F11")->setValueText(1, 0, QStringLiteral("3000")));
        QCOMPARE(setup(drive, "F10")->valueText(2, 0, false), QStringLiteral("50.00"));   // not before the device said yes
        QVERIFY(changed.isEmpty());
        // The writes start at once, with the value before, and end when the device answers.
        QCOMPARE(started.size(), 2);
        QCOMPARE(started.first().at(1).toString(), QStringLiteral("50.00"));
        QVERIFY(finished.isEmpty());
        QTRY_COMPARE(changed.size(), 2);
        QTRY_COMPARE(finished.size(), 2);
        for (const QList<QVariant>& end : qAsConst(finished))
            QCOMPARE(end.at(2).value<ParameterProvider::WriteOutcome>(), ParameterProvider::WriteDone);
        QCOMPARE(setup(drive, "F10")->valueText(2, 0, false), QStringLiteral("40.12"));
        QVERIFY(drive->needSave());
        QCOMPARE(mbpollRead(rig.server.port(), {QStringLiteral("-r"), QStringLiteral("2000"), QStringLiteral("-c"), QStringLiteral("1")}), QVector<double>{4012});
        // 3000.0 s in 0.1 s, low word first.
        QCOMPARE(mbpollRead(rig.server.port(), {QStringLiteral("-r"), QStringLiteral("1002"), QStringLiteral("-c"), QStringLiteral("2")}),
            (QVector<double>{30000, 0}));
    }

    void observedValuesArePolledAndOnlyChangesSignalled()
    {
        Rig rig;
        QVERIFY2(rig.start(pymodbus(), Example), qPrintable(rig.server.errorText()));
        DriveController* drive = rig.drive;
        drive->connection()->setPollInterval(20);
        drive->setOnline(true);
        QTRY_VERIFY(drive->isOnline());
        setup(drive, "F10")->setObserved(1, 0, true);
        setup(drive, "P02")->setObserved(1, 0, true);   // a device-wide value, observed from an axis
        QSignalSpy changed(drive->parameterProvider(), &ParameterProvider::parameterValueChanged);

        // Someone else changes the device: one observed value, one that is not.
        QString output;
        QCOMPARE(mbpoll(rig.server.port(), {QStringLiteral("-r"), QStringLiteral("1000"), QStringLiteral("127.0.0.1"), QStringLiteral("1234")}, &output), 0);
        QCOMPARE(mbpoll(rig.server.port(), {QStringLiteral("-r"), QStringLiteral("1007"), QStringLiteral("127.0.0.1"), QStringLiteral("1")}, &output), 0);
        QTRY_COMPARE(changed.size(), 1);
        QCOMPARE(changed.first().first().value<ParameterAddress>(), ParameterAddress(ParameterCoordinate(QStringLiteral("F10")), 0, 1));
        QCOMPARE(setup(drive, "F10")->valueText(1, 0, false), QStringLiteral("12.34"));
        // Several more polls find nothing new to tell.
        const int requests = drive->connection()->readRequestCount();
        QTRY_VERIFY(drive->connection()->readRequestCount() >= requests + 6);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(setup(drive, "F31")->valueText(1, 0, false), QStringLiteral("0"));

        // The unobserved one arrives when someone asks for it.
        drive->parameterProvider()->parameterNeedsOnlineConsistenceOnce(ParameterAddress(ParameterCoordinate(QStringLiteral("F31")), 0));
        QTRY_COMPARE(setup(drive, "F31")->valueText(1, 0, false), QStringLiteral("1"));
        QCOMPARE(setup(drive, "F31")->valueText(2, 0, false), QStringLiteral("0"));

        // A value observed while polling goes on is polled from then on.
        setup(drive, "F31")->setObserved(1, 0, true);
        QCOMPARE(mbpoll(rig.server.port(), {QStringLiteral("-r"), QStringLiteral("1007"), QStringLiteral("127.0.0.1"), QStringLiteral("0")}, &output), 0);
        QTRY_COMPARE(setup(drive, "F31")->valueText(1, 0, false), QStringLiteral("0"));
        setup(drive, "F31")->setObserved(1, 0, false);
        setup(drive, "F10")->setObserved(1, 0, false);
        setup(drive, "P02")->setObserved(1, 0, false);
    }

    // --- against kx-drive-sim ----------------------------------------------

    void refusalsCarryTheDevicesReason()
    {
        Rig rig;
        QVERIFY2(rig.start(simulator({QStringLiteral("--refuse-writes"), QStringLiteral("6")}), Example, 1), qPrintable(rig.server.errorText()));
        DriveController* drive = rig.drive;
        drive->setOnline(true);
        QTRY_VERIFY(drive->isOnline());
        QSignalSpy refused(drive->connection(), &ModbusConnection::writeRefused);
        QSignalSpy finished(drive->parameterProvider(), &ParameterProvider::valueWriteFinished);
        QVERIFY(setup(drive, "F10")->setValueText(1, 0, QStringLiteral("12")));
        QTRY_COMPARE(refused.size(), 1);
        // The write ends refused, with the device's reason, for whoever keeps the record.
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.first().at(2).value<ParameterProvider::WriteOutcome>(), ParameterProvider::WriteRefused);
        QCOMPARE(finished.first().at(3).toString(), ModbusConnection::exceptionText(6));
        QCOMPARE(refused.first().at(0).value<ParameterAddress>(), ParameterAddress(ParameterCoordinate(QStringLiteral("F10")), 0, 1));
        QCOMPARE(refused.first().at(2).toString(), ModbusConnection::exceptionText(6));
        QCOMPARE(setup(drive, "F10")->valueText(1, 0, false), QStringLiteral("37.50"));
        QVERIFY(!drive->needSave());
    }

    void offlineEditsReachTheDeviceOnConnecting()
    {
        Rig rig;
        QVERIFY2(rig.start(simulator(), Example), qPrintable(rig.server.errorText()));
        DriveController* drive = rig.drive;
        QVERIFY(setup(drive, "F40")->setValueText(2, 1, QStringLiteral("-12.5")));
        drive->setOnline(true);
        QTRY_VERIFY(drive->isOnline());
        QCOMPARE(setup(drive, "F40")->valueText(2, 1, false), QStringLiteral("-12.5"));
        QCOMPARE(setup(drive, "F10")->valueText(1, 0, false), QStringLiteral("37.50"));   // the rest is the device's
        QCOMPARE(mbpollRead(rig.server.port(), {QStringLiteral("-r"), QStringLiteral("2011"), QStringLiteral("-c"), QStringLiteral("1")}),
            QVector<double>{65536 - 125});
    }

    void killedWhileReadingLeavesTheControllerOfflineWithAFault()
    {
        Rig rig;
        QVERIFY2(rig.start(simulator({QStringLiteral("--latency"), QStringLiteral("50")}), Sample, 3), qPrintable(rig.server.errorText()));
        DriveController* drive = rig.drive;
        drive->connection()->setMaxRequestsInFlight(1);
        QSignalSpy progress(drive->connection(), &ModbusConnection::readProgress);
        QSignalSpy failed(drive->connection(), &ModbusConnection::connectionFailed);
        LoopTurns loop;
        drive->setOnline(true);
        QTRY_VERIFY(progress.size() >= 3);   // some answers are in, more are pending
        QVERIFY(progress.last().at(0).toInt() < progress.last().at(1).toInt());
        QVERIFY(loop.turns > 2);             // the event loop kept turning while the device took its time
        rig.server.kill();
        QTRY_COMPARE(drive->onlineState(), OnlineStateOffline);
        QCOMPARE(failed.size(), 1);
        QVERIFY(!drive->connectionFault().isEmpty());
        QVERIFY(drive->hasAxisFault(1) && drive->hasAxisFault(4));
        QVERIFY(!drive->parameterProvider()->isOnline());
    }

    void killedDuringAWriteBurstReportsEveryUnacknowledgedWrite()
    {
        Rig rig;
        QVERIFY2(rig.start(simulator({QStringLiteral("--latency"), QStringLiteral("50")}), Example, 1), qPrintable(rig.server.errorText()));
        DriveController* drive = rig.drive;
        drive->setOnline(true);
        QTRY_VERIFY(drive->isOnline());
        QSignalSpy lost(drive->connection(), &ModbusConnection::writesLost);
        QSignalSpy changed(drive->parameterProvider(), &ParameterProvider::parameterValueChanged);
        QSignalSpy finished(drive->parameterProvider(), &ParameterProvider::valueWriteFinished);
        // Twenty writes at 50 ms each: the drive is killed after the first answer, long before the last.
        constexpr int Writes = 20;
        for (int i = 0; i < Writes - 1; ++i)
            QVERIFY(setup(drive, "F10")->setValueText(1 + i % 2, 0, QString::number(i + 1)));
        QVERIFY(setup(drive, "F40")->setValueText(1, 0, QStringLiteral("7")));
        QTRY_VERIFY(changed.size() >= 1);   // the first acknowledgement
        rig.server.kill();
        QTRY_COMPARE(drive->onlineState(), OnlineStateOffline);
        QCOMPARE(lost.size(), 1);
        const QList<ModbusLostWrite> writes = lost.first().first().value<QList<ModbusLostWrite>>();
        // Every write is either acknowledged (and changed its value) or reported lost, and each ends once.
        QCOMPARE(writes.size() + changed.size(), Writes);
        QCOMPARE(finished.size(), Writes);
        int notReached = 0;
        for (const QList<QVariant>& end : qAsConst(finished))
            notReached += end.at(2).value<ParameterProvider::WriteOutcome>() == ParameterProvider::WriteNotReached ? 1 : 0;
        QCOMPARE(notReached, writes.size());
        QVERIFY(!writes.isEmpty());
        for (const ModbusLostWrite& write : writes) {
            ParameterSetup* s = drive->parameterProvider()->parameterSetup(write.address.coordinate()).data();
            QVERIFY(s->valueText(write.address.livingSpace(), write.address.element(), false) != write.value);
        }
    }

    void reconnectsAndReadsAgainWhenAskedToStayOnline()
    {
        const int port = freePort();
        auto sim = std::make_unique<ServerProcess>();
        QVERIFY2(sim->start(driveSimulator(), {QStringLiteral("--port"), QString::number(port), Example}, 1), qPrintable(sim->errorText()));
        QObject owner;
        DriveController* drive = controllersWithDefaults(Example, &owner).value(0);
        connectTo(drive, port);
        drive->connection()->setStayOnline(true);
        drive->setOnline(true);
        QTRY_VERIFY(drive->isOnline());
        QVERIFY(setup(drive, "F10")->setValueText(2, 0, QStringLiteral("11")));
        QTRY_COMPARE(setup(drive, "F10")->valueText(2, 0, false), QStringLiteral("11.00"));

        sim.reset();   // killed; the restarted drive has its description's values again
        QTRY_COMPARE(drive->onlineState(), OnlineStateOffline);
        QVERIFY(drive->connection()->reconnectDelay() >= 0);
        // Told to stay offline, it stops trying; asked again, it tries again.
        drive->setOnline(false);
        QCOMPARE(drive->connection()->reconnectDelay(), -1);
        drive->setOnline(true);
        QTRY_VERIFY(drive->connection()->reconnectDelay() >= 0);
        sim = std::make_unique<ServerProcess>();
        QVERIFY2(sim->start(driveSimulator(), {QStringLiteral("--port"), QString::number(port), Example}, 1), qPrintable(sim->errorText()));
        QTRY_VERIFY_WITH_TIMEOUT(drive->isOnline(), 15000);
        QCOMPARE(setup(drive, "F10")->valueText(2, 0, false), QStringLiteral("50.00"));
        QVERIFY(drive->connectionFault().isEmpty());
        QVERIFY(!drive->hasAxisFault(1));
    }

    void pollingGoesOnBesideOtherReads()
    {
        Rig rig;
        QVERIFY2(rig.start(simulator({QStringLiteral("--latency"), QStringLiteral("10")}), Example), qPrintable(rig.server.errorText()));
        DriveController* drive = rig.drive;
        drive->connection()->setPollInterval(5);
        drive->setOnline(true);
        QTRY_VERIFY(drive->isOnline());
        setup(drive, "F10")->setObserved(1, 0, true);
        // Re-reads asked for while polls are on their way, answered after them.
        const ParameterAddress f31(ParameterCoordinate(QStringLiteral("F31")), 0);
        for (int i = 0; i < 20; ++i) {
            drive->parameterProvider()->parameterNeedsOnlineConsistenceOnce(f31);
            QTest::qWait(7);
        }
        QString output;
        QCOMPARE(mbpoll(rig.server.port(), {QStringLiteral("-r"), QStringLiteral("1000"), QStringLiteral("127.0.0.1"), QStringLiteral("1111")}, &output), 0);
        QTRY_COMPARE(setup(drive, "F10")->valueText(1, 0, false), QStringLiteral("11.11"));
        setup(drive, "F10")->setObserved(1, 0, false);
    }

    void droppedConnectionsAreTakenUpAgain()
    {
        // Going online takes nine requests; the drive hangs up at every twelfth.
        Rig rig;
        QVERIFY2(rig.start(simulator({QStringLiteral("--drop-after"), QStringLiteral("12")}), Example), qPrintable(rig.server.errorText()));
        DriveController* drive = rig.drive;
        drive->connection()->setStayOnline(true);
        drive->connection()->setPollInterval(10);
        setup(drive, "F50")->setObserved(1, 0, true);
        QSignalSpy failed(drive->connection(), &ModbusConnection::connectionFailed);
        QSignalSpy states(drive, &DriveController::onlineStateChanged);
        drive->setOnline(true);
        QTRY_VERIFY(failed.size() >= 1);
        QTRY_VERIFY_WITH_TIMEOUT(drive->isOnline() && states.count() >= 4, 15000);   // online, dropped, connecting, online
        QVERIFY(drive->connectionFault().isEmpty());
        setup(drive, "F50")->setObserved(1, 0, false);
    }

    void goingOfflineCancelsConnecting()
    {
        Rig rig;
        QVERIFY2(rig.start(simulator({QStringLiteral("--latency"), QStringLiteral("50")}), Example, 1), qPrintable(rig.server.errorText()));
        DriveController* drive = rig.drive;
        QSignalSpy progress(drive->connection(), &ModbusConnection::readProgress);
        drive->setOnline(true);
        QTRY_VERIFY(progress.size() >= 2);
        drive->setOnline(false);
        QCOMPARE(drive->onlineState(), OnlineStateOffline);
        QVERIFY(drive->connectionFault().isEmpty());
        QTest::qWait(100);   // answers still arriving must not bring it online
        QCOMPARE(drive->onlineState(), OnlineStateOffline);
    }

    void unreachableDeviceIsAFault()
    {
        QObject owner;
        DriveController* drive = controllersWithDefaults(Example, &owner).value(0);
        connectTo(drive, freePort());
        drive->setOnline(true);
        QTRY_COMPARE(drive->onlineState(), OnlineStateOffline);
        QVERIFY(drive->connectionFault().contains(QLatin1String("127.0.0.1")));
    }
};

QTEST_MAIN(TestModbusConnection)
#include "tst_modbusconnection.moc"
