#include "AddControllerDialog.h"

#include "DeviceType.h"
#include "DeviceTypeLibrary.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

class AddControllerDialogPrivate
{
public:
    const DeviceTypeLibrary* library;
    QComboBox* type = nullptr;
    QLineEdit* name = nullptr;
    QSpinBox* axisCount = nullptr;
    QDialogButtonBox* buttons = nullptr;
};

AddControllerDialog::AddControllerDialog(const DeviceTypeLibrary* library, const QString& suggestedName, QWidget* parent)
    : QDialog(parent)
    , d(new AddControllerDialogPrivate{library})
{
    setWindowTitle(tr("Regler hinzufügen"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    d->type = new QComboBox(this);
    d->type->setObjectName(QStringLiteral("typeComboBox"));
    for (const QString& name : library->typeNames()) {
        const QSharedPointer<const DeviceType> type = library->type(name);
        d->type->addItem(type->descriptor.isEmpty() ? name : tr("%1 – %2").arg(name, type->descriptor), name);
    }
    d->name = new QLineEdit(suggestedName, this);
    d->name->setObjectName(QStringLiteral("nameLineEdit"));
    d->axisCount = new QSpinBox(this);
    d->axisCount->setObjectName(QStringLiteral("axisCountSpinBox"));
    d->buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    d->buttons->setObjectName(QStringLiteral("buttonBox"));

    auto* layout = new QFormLayout(this);
    layout->addRow(tr("Gerätetyp:"), d->type);
    layout->addRow(tr("Name:"), d->name);
    layout->addRow(tr("Anzahl Achsen:"), d->axisCount);
    layout->addRow(d->buttons);

    connect(d->type, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &AddControllerDialog::onTypeChanged);
    connect(d->name, &QLineEdit::textChanged, this, &AddControllerDialog::onInputChanged);
    connect(d->buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(d->buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    onTypeChanged();
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

void AddControllerDialog::onInputChanged()
{
    d->buttons->button(QDialogButtonBox::Ok)->setEnabled(d->type->currentIndex() >= 0 && !controllerName().isEmpty());
}
