#pragma once

#include <QModbusTcpServer>
#include <QSharedPointer>

#include <memory>

class DriveController;
class RegisterMap;

/// Fault behaviour shared by all simulated drives of one kx-drive-sim run.
struct DriveSimulatorFaults
{
    int latencyMs = 0;              ///< every answer is held back this long
    int dropAfterRequests = 0;      ///< > 0: connections are dropped after this many requests
    double dropChance = 0;          ///< chance per request that the connection is dropped
    int refuseWritesCode = 0;       ///< > 0: every write is refused with this exception code
    int accessLevel = 0xFFFF;       ///< writes to elements of a higher level are refused
};

/// One drive controller served over Modbus TCP: its values live in the
/// controller's simulated drive, per living space; the holding registers
/// are their image under the type's register map. Writes are checked the
/// way the suite checks them and refused with Modbus exception codes.
class DriveSimulator : public QModbusTcpServer
{
    Q_OBJECT
public:
    DriveSimulator(DriveController* controller, QSharedPointer<const RegisterMap> map, const DriveSimulatorFaults& faults,
        QObject* parent = nullptr);
    ~DriveSimulator() override;

    DriveController* controller() const;
    /// The drive changes these parameters by itself, one step per call, in
    /// every living space they have.
    void varyParameters(const QStringList& coordinates);

protected:
    QModbusResponse processRequest(const QModbusPdu& request) override;

private:
    class Private;
    std::unique_ptr<Private> const d;
};
