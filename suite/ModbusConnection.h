#pragma once

#include "KxSuiteGlobal.h"
#include "ParameterAddress.h"

#include <QJsonObject>
#include <QList>
#include <QMetaType>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class DriveController;

/// Where a controller is reached over Modbus TCP.
struct KXSUITE_EXPORT ModbusConnectionSettings
{
    QString host;
    int port = 502;
    int unitId = 1;

    bool isValid() const { return !host.trimmed().isEmpty() && port > 0 && port < 65536 && unitId >= 0 && unitId < 256; }
    QString toText() const;   ///< "host:port, Unit-ID n"
    /// {"host", "port", "unitId"}, the form projects and descriptions store.
    QJsonObject toJson() const;
    /// Invalid settings (isValid() false) for anything but that form.
    static ModbusConnectionSettings fromJson(const QJsonValue& value);
    bool operator==(const ModbusConnectionSettings& other) const
    {
        return host == other.host && port == other.port && unitId == other.unitId;
    }
    bool operator!=(const ModbusConnectionSettings& other) const { return !(*this == other); }
};

/// A write the device has not acknowledged when the connection was lost.
struct KXSUITE_EXPORT ModbusLostWrite
{
    ParameterAddress address;   ///< with the value's living space
    QString value;              ///< raw text
};

/// The Modbus TCP connection of one drive controller (QModbusTcpClient,
/// asynchronous only). Made by DriveController::setConnectionSettings();
/// the controller's online state drives it: going online connects, sends the
/// writes made offline, reads every value in as few requests as the
/// register map allows and then announces online. While online, writes go to
/// the device and change the value when acknowledged, observed values are
/// polled, and a lost connection takes the controller offline with a fault.
class KXSUITE_EXPORT ModbusConnection : public QObject
{
    Q_OBJECT
public:
    explicit ModbusConnection(DriveController* controller);
    ~ModbusConnection() override;

    ModbusConnectionSettings settings() const;
    void setSettings(const ModbusConnectionSettings& settings);   ///< used on the next connect

    /// Observed values are read this often while online (default 200 ms).
    int pollInterval() const;
    void setPollInterval(int milliseconds);
    /// Read requests sent at the same time (default 4).
    int maxRequestsInFlight() const;
    void setMaxRequestsInFlight(int requests);
    /// After a lost connection, connect again with growing pauses (default off).
    bool staysOnline() const;
    void setStayOnline(bool stayOnline);
    /// Milliseconds until the next attempt to connect again; -1 when none is due.
    int reconnectDelay() const;

    /// Read requests sent since the connection was made (going online included).
    int readRequestCount() const;
    /// The requests reading every value of the controller takes under its map.
    int readAllRequestCount() const;

    /// The German text for a Modbus exception code, as shown to the user.
    static QString exceptionText(int code);

signals:
    /// Reading the values on going online: `done` of `total` requests answered.
    void readProgress(int done, int total);
    /// The device refused a write; `reason` is its answer in German.
    void writeRefused(ParameterAddress address, QString value, QString reason);
    /// The connection was lost with these writes unacknowledged; none of them changed a value.
    void writesLost(QList<ModbusLostWrite> writes);
    /// The connection failed or was lost; the controller went offline with this fault.
    void connectionFailed(QString reason);

private:
    friend class DriveController;
    friend class ParameterProvider;
    friend class ParameterSetup;
    void open();
    void close();
    bool isConnected() const;
    void write(const ParameterAddress& valueAddress, const QString& raw);
    void read(const QList<ParameterAddress>& valueAddresses);
    class Private;
    std::unique_ptr<Private> const d;
};

Q_DECLARE_METATYPE(ModbusLostWrite)
Q_DECLARE_METATYPE(QList<ModbusLostWrite>)
