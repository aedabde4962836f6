#include "AddControllerDialog.h"

#include "DeviceType.h"
#include "DeviceTypeLibrary.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

class AddControllerDialogPrivate
{
public:
    void retranslate(AddControllerDialog* dialog);

    const DeviceTypeLibrary* library;
    QLabel* typeLabel = nullptr;
    QLabel* nameLabel = nullptr;
    QLabel* axisCountLabel = nullptr;
    QComboBox* type = nullptr;
    QLineEdit* name = nullptr;
    QSpinBox* axisCount = nullptr;
    QDialogButtonBox* buttons = nullptr;
};

void AddControllerDialogPrivate::retranslate(AddControllerDialog* dialog)
{
    dialog->setWindowTitle(AddControllerDialog::tr("Regler hinzufügen"));
    typeLabel->setText(AddControllerDialog::tr("&Gerätetyp:"));
    nameLabel->setText(AddControllerDialog::tr("&Name:"));
    axisCountLabel->setText(AddControllerDialog::tr("&Anzahl Achsen:"));
    for (int row = 0; row < type->count(); ++row) {
        const QString name = type->itemData(row).toString();
        const QSharedPointer<const DeviceType> deviceType = library->type(name);
        type->setItemText(row, !deviceType || deviceType->descriptor.isEmpty()
                                   ? name
                                   : AddControllerDialog::tr("%1 – %2").arg(name, deviceType->descriptor));
    }
    const QSharedPointer<const DeviceType> chosen = library->type(dialog->typeName());
    axisCount->setSuffix(AddControllerDialog::tr(" von %1").arg(chosen ? chosen->maxAxes : 0));
}

AddControllerDialog::AddControllerDialog(const DeviceTypeLibrary* library, const QString& suggestedName, QWidget* parent)
    : QDialog(parent)
    , d(new AddControllerDialogPrivate{library})
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    d->type = new QComboBox(this);
    d->type->setObjectName(QStringLiteral("typeComboBox"));
    for (const QString& name : library->typeNames())
        d->type->addItem(name, name);
    d->name = new QLineEdit(suggestedName, this);
    d->name->setObjectName(QStringLiteral("nameLineEdit"));
    d->axisCount = new QSpinBox(this);
    d->axisCount->setObjectName(QStringLiteral("axisCountSpinBox"));
    d->buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    d->buttons->setObjectName(QStringLiteral("buttonBox"));

    d->typeLabel = new QLabel(this);
    d->typeLabel->setBuddy(d->type);
    d->nameLabel = new QLabel(this);
    d->nameLabel->setBuddy(d->name);
    d->axisCountLabel = new QLabel(this);
    d->axisCountLabel->setBuddy(d->axisCount);

    auto* layout = new QFormLayout(this);
    layout->addRow(d->typeLabel, d->type);
    layout->addRow(d->nameLabel, d->name);
    layout->addRow(d->axisCountLabel, d->axisCount);
    layout->addRow(d->buttons);

    connect(d->type, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &AddControllerDialog::onTypeChanged);
    connect(d->name, &QLineEdit::textChanged, this, &AddControllerDialog::onInputChanged);
    connect(d->buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(d->buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    onTypeChanged();
    d->retranslate(this);
    d->name->selectAll();
    d->name->setFocus();
}

AddControllerDialog::~AddControllerDialog() = default;

QString AddControllerDialog::typeName() const
{
    return d->type->currentData().toString();
}

QString AddControllerDialog::controllerName() const
{
    return d->name->text().trimmed();
}

int AddControllerDialog::axisCount() const
{
    return d->axisCount->value();
}

void AddControllerDialog::onTypeChanged()
{
    const QSharedPointer<const DeviceType> type = d->library->type(typeName());
    const int maxAxes = type ? type->maxAxes : 0;
    d->axisCount->setRange(0, maxAxes);
    d->axisCount->setSuffix(tr(" von %1").arg(maxAxes));
    d->axisCount->setValue(qMin(1, maxAxes));
    onInputChanged();
}

void AddControllerDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        d->retranslate(this);
    QDialog::changeEvent(event);
}

void AddControllerDialog::onInputChanged()
{
    d->buttons->button(QDialogButtonBox::Ok)->setEnabled(d->type->currentIndex() >= 0 && !controllerName().isEmpty());
}
