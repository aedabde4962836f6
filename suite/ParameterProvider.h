#pragma once

#include "KxSuiteGlobal.h"
#include "ParameterAddress.h"
#include "ParameterCoordinate.h"
#include "ParameterDescription.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QSharedPointer>

#include <memory>

class DriveController;
class ParameterDefinition;
class ParameterSetup;

/// The parameters of one drive controller: their definitions and set-ups
/// (owned by the provider) and a simulated drive behind them. Values written
/// through a set-up reach the drive while the controller is online; the drive
/// can change values on its own (simulateDriveValue), and the software sees
/// such a change only when it reads the value again: on going online, or on
/// an online consistence request. Values written while offline stay in the
/// software only: going online replaces them with the drive's.
class KXSUITE_EXPORT ParameterProvider : public QObject
{
    Q_OBJECT
public:
    explicit ParameterProvider(DriveController* controller);
    ~ParameterProvider() override;

    DriveController* driveController() const;

    /// Weak references: null when the device does not know the coordinate,
    /// and null again once the object was destroyed.
    QPointer<ParameterDefinition> parameterDefinition(const ParameterCoordinate& coordinate) const;
    QPointer<ParameterSetup> parameterSetup(const ParameterCoordinate& coordinate) const;

    /// Every parameter the device has for that axis number (global ones and
    /// those defined in the axis), in catalogue order. Living space 0 gives the
    /// global ones only.
    QList<ParameterCoordinate> parameterCoordinates(eLivingSpace axisNumber) const;
    QList<ParameterCoordinate> allCoordinates() const;   ///< catalogue order

    bool isOnline() const;                ///< the controller's online state
    bool isReadOnly() const;
    void setReadOnly(bool readOnly);      ///< emits readOnlyChanged() on a change

    // --- simulation ---------------------------------------------------------
    /// Adds a parameter; emits parameterAdded(). A parameter of the same
    /// coordinate is replaced: its definition and set-up are destroyed first
    /// (parameterRemoved()), the new one takes its place in the catalogue
    /// order and starts with default values. Invalid coordinates are ignored.
    void addParameter(const ParameterDescription& description);
    /// Destroys definition and set-up of the coordinate; emits parameterRemoved().
    bool removeParameter(const ParameterCoordinate& coordinate);
    /// An access-level change: values are in flux between the two signals.
    void beginAccessLevelUpdate();        ///< emits accessLevelUpdateStarted()
    void endAccessLevelUpdate();          ///< emits accessLevelUpdateFinished()
    /// The drive changes a value by itself (raw text; refused texts return false).
    bool simulateDriveValue(const ParameterAddress& address, const QString& rawText);
    /// The value the simulated drive holds (raw text).
    QString driveValueText(const ParameterAddress& address) const;
    /// Number of online consistence requests received so far.
    int consistenceRequestCount() const;

    /// Reads the addressed value once more from the drive (when online); a
    /// value that changed emits parameterValueChanged(). Counted in any case.
    /// Global parameters are read in living space 0 whatever the address says;
    /// for per-axis ones an address without living space reads every axis.
    Q_INVOKABLE void parameterNeedsOnlineConsistenceOnce(ParameterAddress address);

    /// How a value write ended (valueWriteFinished()).
    enum WriteOutcome { WriteDone = 0, WriteRefused = 1, WriteNotReached = 2 };
    Q_ENUM(WriteOutcome)

signals:
    /// A value write reached a set-up of this provider (setValueText with a
    /// value other than the one held): the address carries the value's living
    /// space, the raw texts are the value before and the one asked for. Every
    /// start is followed by one valueWriteFinished() of the same address.
    void valueWriteStarted(ParameterAddress address, QString oldRaw, QString newRaw);
    /// The write ended: done (the value now is newRaw), refused (by the
    /// set-up's checks or by the drive, with the reason), or not reached the drive.
    void valueWriteFinished(ParameterAddress address, QString newRaw, ParameterProvider::WriteOutcome outcome, QString reason);
    void onlineChanged(bool online);
    void readOnlyChanged(bool readOnly);
    void parameterAdded(ParameterCoordinate coordinate);
    void parameterRemoved(ParameterCoordinate coordinate);
    void parameterValueChanged(ParameterAddress address);
    void parameterDefinitionChanged(ParameterAddress address);
    void parameterVisibilityChanged(ParameterAddress address);
    void parameterMeasuringUnitChanged(ParameterAddress address);
    void accessLevelUpdateStarted();
    void accessLevelUpdateFinished();

private:
    friend class DeviceDescription;
    friend class DriveController;
    friend class ModbusConnection;
    friend class ParameterSetup;
    // --- the connection's side: addresses carry the value's living space ---
    // A value read from the device; signalled when it differs.
    void takeDeviceValue(const ParameterAddress& valueAddress, const QString& raw);
    // The device acknowledged a write: the value changes now.
    void acknowledgeWrite(const ParameterAddress& valueAddress, const QString& raw);
    QList<ParameterAddress> observedValueAddresses() const;
    // Moves whenever a value starts or stops being observed, or parameters
    // come and go: the observed addresses stay the same while it stands still.
    quint64 observationRevision() const;
    void observationsChanged();
    // Values the user changed offline, to be written on connecting; forgotten here.
    QList<QPair<ParameterAddress, QString>> takePendingDownloads();
    bool writesThroughConnection() const;
    // A value the project starts with: software and drive hold it, nothing is signalled.
    void setInitialValue(const ParameterAddress& address, const QString& raw);
    void writeToDrive(const ParameterCoordinate& coordinate, eLivingSpace valueSpace, quint16 element, const QString& raw);
    void readAllFromDrive();
    void noteOfflineWrite(const ParameterCoordinate& coordinate, eLivingSpace valueSpace, quint16 element);
    class Private;
    std::unique_ptr<Private> const d;
};
