#pragma once

#include "KxSuiteGlobal.h"

#include <QColor>
#include <QList>
#include <QMap>
#include <QMetaType>
#include <QObject>
#include <QPointer>
#include <QSharedPointer>

#include <memory>

struct DeviceType;
struct ModbusConnectionSettings;
class DriveControllerAxis;
class ModbusConnection;
class ParameterProvider;

enum eOnlineState { OnlineStateOffline = 0, OnlineStateConnecting = 1, OnlineStateOnline = 2 };
Q_DECLARE_METATYPE(eOnlineState)

/// The descriptive text of a controller (type, rating, firmware, ...).
class KXSUITE_EXPORT DriveControllerDescriptor
{
public:
    DriveControllerDescriptor() = default;
    explicit DriveControllerDescriptor(const QString& text) : m_text(text) {}
    QString text() const { return m_text; }
private:
    QString m_text;
};

/// A simulated drive controller of the project: its axes, its parameter
/// provider and its device state. Owned by the application.
class KXSUITE_EXPORT DriveController : public QObject
{
    Q_OBJECT
public:
    /// A controller of the given type without axes; its provider holds the
    /// type's whole catalogue with default values.
    DriveController(QSharedPointer<const DeviceType> type, const QString& name, QObject* parent = nullptr);
    ~DriveController() override;

    QSharedPointer<const DeviceType> type() const;
    QString name() const;
    void setName(const QString& name);                 ///< emits nameChanged()
    const DriveControllerDescriptor* descriptor() const;
    void setDescriptorText(const QString& text);       ///< emits deviceStateChanged()

    QList<int> axisNumbers() const;                    ///< ascending
    DriveControllerAxis* axis(int number) const;       ///< null for an unknown number
    QString axisName(int number) const;                ///< empty for an unknown number
    /// Adds an axis (number 1..type's maxAxes, not yet present); null otherwise. Emits axesChanged().
    DriveControllerAxis* addAxis(int number, const QString& name);
    /// Destroys the axis object and forgets its fault and colour; emits
    /// axesChanged(). False for an unknown number. An axis deleted directly
    /// leaves the controller the same way.
    bool removeAxis(int number);

    ParameterProvider* parameterProvider() const;

    bool isOnline() const;
    eOnlineState onlineState() const;
    /// Going online emits onlineStateChanged(Connecting), reads every value
    /// from the drive (parameterValueChanged() for each that differs), then
    /// emits onlineStateChanged(Online) and the provider's onlineChanged(true).
    /// Going offline emits Offline and onlineChanged(false). Without a
    /// connection the drive is simulated in-process and all this happens at
    /// once; with one, reading goes over the wire and the call returns while
    /// the controller is Connecting (going offline meanwhile cancels it).
    void setOnline(bool online);

    /// The Modbus TCP connection; null when the controller has none (then its drive is simulated).
    ModbusConnection* connection() const;
    ModbusConnectionSettings connectionSettings() const;
    /// Invalid settings remove the connection. Takes the controller offline
    /// first when it is connected elsewhere.
    void setConnectionSettings(const ModbusConnectionSettings& settings);
    /// Why the last connection failed or was lost; empty once online again.
    QString connectionFault() const;

    /// A drive fault of the axis, or a connection fault of the controller.
    bool hasAxisFault(int number) const;
    void setAxisFault(int number, bool fault);         ///< existing axes only; emits deviceStateChanged() on a change
    QColor markingColor(int number) const;             ///< invalid when the axis has none
    void setMarkingColor(int number, const QColor& color);   ///< existing axes only; an invalid colour removes it; emits markingColorChanged()

    /// Values changed since the last markSaved().
    bool needSave() const;
    void markSaved();                                  ///< emits needSaveChanged(false) on a change

signals:
    void onlineStateChanged(eOnlineState state);
    void deviceStateChanged(int state);                ///< bit 0: any axis fault
    void needSaveChanged(bool needSave);
    void markingColorChanged();
    void axesChanged();
    void nameChanged();

private:
    friend class ParameterSetup;
    friend class ParameterProvider;
    friend class ModbusConnection;
    void setNeedSave();
    void finishGoingOnline();
    void connectionLost(const QString& reason);
    class Private;
    std::unique_ptr<Private> const d;
};
