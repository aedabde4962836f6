#pragma once

#include <QDialog>

#include <memory>

class DeviceTypeLibrary;
class AddControllerDialogPrivate;

/// Asks for the type, name and number of axes of a new controller.
/// Form widgets: "typeComboBox", "nameLineEdit", "axisCountSpinBox", "buttonBox".
class AddControllerDialog : public QDialog
{
    Q_OBJECT

public:
    AddControllerDialog(const DeviceTypeLibrary* library, const QString& suggestedName, QWidget* parent = nullptr);
    ~AddControllerDialog() override;

    QString typeName() const;
    QString controllerName() const;
    int axisCount() const;

protected:
    void changeEvent(QEvent* event) override;

private slots:
    void onTypeChanged();
    void onInputChanged();

private:
    std::unique_ptr<AddControllerDialogPrivate> const d;
};
