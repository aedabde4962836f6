#pragma once

#include <QDialog>

#include <memory>

struct ModbusConnectionSettings;
class ConnectionDialogPrivate;

/// Where a controller is reached: over Modbus TCP (address, port, unit id)
/// or, without a connection, simulated in-process.
class ConnectionDialog : public QDialog
{
    Q_OBJECT

public:
    ConnectionDialog(const QString& controllerName, const ModbusConnectionSettings& settings, bool connected, QWidget* parent = nullptr);
    ~ConnectionDialog() override;

    /// Invalid settings (no host) when the controller is to be simulated.
    ModbusConnectionSettings settings() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    std::unique_ptr<ConnectionDialogPrivate> const d;
};
