#include "ConnectionDialog.h"

#include "ModbusConnection.h"
#include "ui_ConnectionDialog.h"

#include <QEvent>
#include <QPushButton>

class ConnectionDialogPrivate
{
public:
    void retranslate(ConnectionDialog* dialog)
    {
        ui.retranslateUi(dialog);
        ui.introLabel->setText(ConnectionDialog::tr("Verbindung des Reglers „%1“:").arg(controllerName));
    }
    void updateEnabled()
    {
        const bool use = ui.useConnectionCheckBox->isChecked();
        for (QWidget* widget : {static_cast<QWidget*>(ui.hostLineEdit), static_cast<QWidget*>(ui.portSpinBox), static_cast<QWidget*>(ui.unitIdSpinBox)})
            widget->setEnabled(use);
        ui.buttonBox->button(QDialogButtonBox::Ok)->setEnabled(!use || !ui.hostLineEdit->text().trimmed().isEmpty());
    }

    Ui::ConnectionDialog ui;
    QString controllerName;
};

ConnectionDialog::ConnectionDialog(const QString& controllerName, const ModbusConnectionSettings& settings, bool connected, QWidget* parent)
    : QDialog(parent)
    , d(new ConnectionDialogPrivate)
{
    d->ui.setupUi(this);
    d->controllerName = controllerName;
    d->ui.useConnectionCheckBox->setChecked(connected);
    d->ui.hostLineEdit->setText(settings.host.isEmpty() ? QStringLiteral("127.0.0.1") : settings.host);
    d->ui.portSpinBox->setValue(settings.port);
    d->ui.unitIdSpinBox->setValue(settings.unitId);
    connect(d->ui.useConnectionCheckBox, &QCheckBox::toggled, this, [this]() { d->updateEnabled(); });
    connect(d->ui.hostLineEdit, &QLineEdit::textChanged, this, [this]() { d->updateEnabled(); });
    d->retranslate(this);
    d->updateEnabled();
}

ConnectionDialog::~ConnectionDialog() = default;

ModbusConnectionSettings ConnectionDialog::settings() const
{
    if (!d->ui.useConnectionCheckBox->isChecked())
        return ModbusConnectionSettings{QString(), 0, 0};
    return ModbusConnectionSettings{d->ui.hostLineEdit->text().trimmed(), d->ui.portSpinBox->value(), d->ui.unitIdSpinBox->value()};
}

void ConnectionDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        d->retranslate(this);
    QDialog::changeEvent(event);
}
