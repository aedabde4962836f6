#include "CompareAxesDialog.h"

#include "DriveController.h"
#include "ProjectHost.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

struct SideWidgets
{
    QComboBox* controllers = nullptr;
    QComboBox* axes = nullptr;
};

} // namespace

class CompareAxesDialogPrivate
{
public:
    explicit CompareAxesDialogPrivate(ProjectHost* host) : host(host) {}

    QGroupBox* createSide(CompareAxesDialog* dialog, SideWidgets& side, const QString& title, const QString& suffix);
    void fillControllers(SideWidgets& side);
    void fillAxes(SideWidgets& side);
    DriveController* controller(const SideWidgets& side) const;

    QPointer<ProjectHost> host;
    SideWidgets sides[2];
    QDialogButtonBox* buttons = nullptr;
};

QGroupBox* CompareAxesDialogPrivate::createSide(CompareAxesDialog* dialog, SideWidgets& side, const QString& title,
                                                const QString& suffix)
{
    auto* box = new QGroupBox(title, dialog);
    side.controllers = new QComboBox(box);
    side.controllers->setObjectName(QStringLiteral("controllerComboBox") + suffix);
    // Descriptors can be long; the open list still shows them in full.
    side.controllers->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    side.controllers->setMinimumContentsLength(28);
    side.axes = new QComboBox(box);
    side.axes->setObjectName(QStringLiteral("axisComboBox") + suffix);
    auto* layout = new QFormLayout(box);
    layout->addRow(CompareAxesDialog::tr("&Antriebsregler:"), side.controllers);
    layout->addRow(CompareAxesDialog::tr("A&chse:"), side.axes);
    return box;
}

// Controllers are kept as their position in the project, which is what the
// host changes tell us about; names need not be unique.
void CompareAxesDialogPrivate::fillControllers(SideWidgets& side)
{
    const QSignalBlocker blocker(side.controllers);
    side.controllers->clear();
    const QList<DriveController*> controllers = host ? host->driveControllers() : QList<DriveController*>();
    for (int i = 0; i < controllers.size(); ++i) {
        const DriveController* controller = controllers.at(i);
        const QString descriptor = controller->descriptor() ? controller->descriptor()->text() : QString();
        side.controllers->addItem(descriptor.isEmpty() ? controller->name()
                                                       : CompareAxesDialog::tr("%1 (%2)").arg(controller->name(), descriptor),
                                  i);
    }
}

void CompareAxesDialogPrivate::fillAxes(SideWidgets& side)
{
    const QSignalBlocker blocker(side.axes);
    side.axes->clear();
    if (DriveController* chosen = controller(side)) {
        for (int number : chosen->axisNumbers())
            side.axes->addItem(CompareAxesDialog::tr("%1: %2").arg(number).arg(chosen->axisName(number)), number);
    }
}

DriveController* CompareAxesDialogPrivate::controller(const SideWidgets& side) const
{
    if (!host || side.controllers->currentIndex() < 0)
        return nullptr;
    return host->driveControllers().value(side.controllers->currentData().toInt());
}

CompareAxesDialog::CompareAxesDialog(ProjectHost* host, QWidget* parent)
    : QDialog(parent)
    , d(new CompareAxesDialogPrivate(host))
{
    setObjectName(QStringLiteral("compareAxesDialog"));
    setWindowTitle(tr("Achsen vergleichen"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* sides = new QHBoxLayout;
    sides->addWidget(d->createSide(this, d->sides[SideA], tr("Seite A"), QStringLiteral("A")));
    sides->addWidget(d->createSide(this, d->sides[SideB], tr("Seite B"), QStringLiteral("B")));
    d->buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    d->buttons->setObjectName(QStringLiteral("buttonBox"));
    d->buttons->button(QDialogButtonBox::Ok)->setText(tr("&Vergleichen"));
    d->buttons->button(QDialogButtonBox::Cancel)->setText(tr("Abbrechen"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(sides);
    layout->addWidget(d->buttons);

    for (const SideWidgets& side : d->sides) {
        connect(side.controllers, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
                &CompareAxesDialog::onControllerChosen);
        connect(side.axes, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
                &CompareAxesDialog::updateButtons);
    }
    connect(d->buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(d->buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    if (host)
        connect(host, &ProjectHost::hostContentChanged, this, &CompareAxesDialog::onHostContentChanged);
    onHostContentChanged();
}

CompareAxesDialog::~CompareAxesDialog() = default;

void CompareAxesDialog::select(Side side, DriveController* controller, int axisNumber)
{
    SideWidgets& widgets = d->sides[side];
    const int position = d->host ? d->host->indexOf(controller) : -1;
    const int controllerRow = widgets.controllers->findData(position);
    if (position >= 0 && controllerRow >= 0)
        widgets.controllers->setCurrentIndex(controllerRow);
    const int axisRow = widgets.axes->findData(axisNumber);
    if (d->controller(widgets) == controller && axisRow >= 0)
        widgets.axes->setCurrentIndex(axisRow);
}

DriveController* CompareAxesDialog::controller(Side side) const
{
    return d->controller(d->sides[side]);
}

int CompareAxesDialog::axisNumber(Side side) const
{
    const SideWidgets& widgets = d->sides[side];
    return widgets.axes->currentIndex() < 0 ? 0 : widgets.axes->currentData().toInt();
}

void CompareAxesDialog::onHostContentChanged()
{
    // Keep what was chosen as far as the project still has it.
    QPointer<DriveController> chosen[2];
    int numbers[2];
    for (int side : {SideA, SideB}) {
        chosen[side] = controller(Side(side));
        numbers[side] = axisNumber(Side(side));
    }
    for (int side : {SideA, SideB}) {
        d->fillControllers(d->sides[side]);
        d->fillAxes(d->sides[side]);
        if (chosen[side])
            select(Side(side), chosen[side], numbers[side]);
    }
    updateButtons();
}

void CompareAxesDialog::onControllerChosen()
{
    for (SideWidgets& side : d->sides) {
        if (side.controllers == sender())
            d->fillAxes(side);
    }
    updateButtons();
}

void CompareAxesDialog::updateButtons()
{
    d->buttons->button(QDialogButtonBox::Ok)->setEnabled(axisNumber(SideA) > 0 && axisNumber(SideB) > 0);
}
