#include "CompareAxesDialog.h"

#include "DriveController.h"
#include "Project.h"
#include "ProjectHost.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include <vector>

namespace {

// Which project a controller row belongs to: 0 the open one, n the n-th other
// project; the row that asks for another file has none.
constexpr int SourceRole = Qt::UserRole + 1;
constexpr int askForFile = -1;

struct SideWidgets
{
    QGroupBox* box = nullptr;
    QLabel* controllerLabel = nullptr;
    QLabel* axisLabel = nullptr;
    QComboBox* controllers = nullptr;
    QComboBox* axes = nullptr;
    int lastRow = -1;
};

} // namespace

class CompareAxesDialogPrivate
{
public:
    explicit CompareAxesDialogPrivate(ProjectHost* host) : host(host) {}

    QGroupBox* createSide(CompareAxesDialog* dialog, SideWidgets& side, const QString& suffix);
    void fillControllers(CompareAxesDialog::Side which);
    void fillAxes(SideWidgets& side);
    QList<DriveController*> controllersOf(int source) const;
    DriveController* controller(const SideWidgets& side) const;
    int rowOf(const SideWidgets& side, const DriveController* controller) const;
    void retranslate(CompareAxesDialog* dialog);

    QPointer<ProjectHost> host;
    std::vector<std::shared_ptr<Project>> others;
    SideWidgets sides[2];
    QDialogButtonBox* buttons = nullptr;
};

QGroupBox* CompareAxesDialogPrivate::createSide(CompareAxesDialog* dialog, SideWidgets& side, const QString& suffix)
{
    side.box = new QGroupBox(dialog);
    side.controllers = new QComboBox(side.box);
    side.controllers->setObjectName(QStringLiteral("controllerComboBox") + suffix);
    // Descriptors can be long; the open list still shows them in full.
    side.controllers->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    side.controllers->setMinimumContentsLength(28);
    side.axes = new QComboBox(side.box);
    side.axes->setObjectName(QStringLiteral("axisComboBox") + suffix);
    side.controllerLabel = new QLabel(side.box);
    side.controllerLabel->setBuddy(side.controllers);
    side.axisLabel = new QLabel(side.box);
    side.axisLabel->setBuddy(side.axes);
    auto* layout = new QFormLayout(side.box);
    layout->addRow(side.controllerLabel, side.controllers);
    layout->addRow(side.axisLabel, side.axes);
    return side.box;
}

QList<DriveController*> CompareAxesDialogPrivate::controllersOf(int source) const
{
    if (source == 0)
        return host ? host->driveControllers() : QList<DriveController*>();
    if (source > 0 && source <= int(others.size()))
        return others.at(size_t(source - 1))->host()->driveControllers();
    return {};
}

// Controllers are kept as their position in their project, which is what the
// host changes tell us about; names need not be unique.
void CompareAxesDialogPrivate::fillControllers(CompareAxesDialog::Side which)
{
    SideWidgets& side = sides[which];
    const QSignalBlocker blocker(side.controllers);
    side.controllers->clear();
    const int sourceCount = which == CompareAxesDialog::SideB ? int(others.size()) : 0;
    for (int source = 0; source <= sourceCount; ++source) {
        const QList<DriveController*> controllers = controllersOf(source);
        const QString file = source == 0 ? QString() : others.at(size_t(source - 1))->sourceFileName();
        for (int i = 0; i < controllers.size(); ++i) {
            const DriveController* controller = controllers.at(i);
            const QString descriptor = controller->descriptor() ? controller->descriptor()->text() : QString();
            // A controller of another file is told apart by its file rather than its descriptor.
            const QString detail = file.isEmpty() ? descriptor : file;
            side.controllers->addItem(
                detail.isEmpty() ? controller->name() : CompareAxesDialog::tr("%1 (%2)").arg(controller->name(), detail),
                i);
            side.controllers->setItemData(side.controllers->count() - 1, source, SourceRole);
        }
    }
    if (which == CompareAxesDialog::SideB) {
        side.controllers->insertSeparator(side.controllers->count());
        side.controllers->addItem(CompareAxesDialog::tr("Andere Projektdatei ..."), -1);
        side.controllers->setItemData(side.controllers->count() - 1, askForFile, SourceRole);
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
    const int row = side.controllers->currentIndex();
    if (row < 0)
        return nullptr;
    return controllersOf(side.controllers->itemData(row, SourceRole).toInt())
        .value(side.controllers->itemData(row).toInt());
}

int CompareAxesDialogPrivate::rowOf(const SideWidgets& side, const DriveController* controller) const
{
    for (int row = 0; controller && row < side.controllers->count(); ++row) {
        const QVariant source = side.controllers->itemData(row, SourceRole);
        if (source.isValid() && controllersOf(source.toInt()).value(side.controllers->itemData(row).toInt()) == controller)
            return row;
    }
    return -1;
}

void CompareAxesDialogPrivate::retranslate(CompareAxesDialog* dialog)
{
    dialog->setWindowTitle(CompareAxesDialog::tr("Achsen vergleichen"));
    sides[CompareAxesDialog::SideA].box->setTitle(CompareAxesDialog::tr("Seite A"));
    sides[CompareAxesDialog::SideB].box->setTitle(CompareAxesDialog::tr("Seite B"));
    for (SideWidgets& side : sides) {
        side.controllerLabel->setText(CompareAxesDialog::tr("&Antriebsregler:"));
        side.axisLabel->setText(CompareAxesDialog::tr("A&chse:"));
    }
    buttons->button(QDialogButtonBox::Ok)->setText(CompareAxesDialog::tr("&Vergleichen"));
    buttons->button(QDialogButtonBox::Cancel)->setText(CompareAxesDialog::tr("Abbrechen"));
}

CompareAxesDialog::CompareAxesDialog(ProjectHost* host, QWidget* parent)
    : QDialog(parent)
    , d(new CompareAxesDialogPrivate(host))
{
    setObjectName(QStringLiteral("compareAxesDialog"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* sides = new QHBoxLayout;
    sides->addWidget(d->createSide(this, d->sides[SideA], QStringLiteral("A")));
    sides->addWidget(d->createSide(this, d->sides[SideB], QStringLiteral("B")));
    d->buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    d->buttons->setObjectName(QStringLiteral("buttonBox"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(sides);
    layout->addWidget(d->buttons);
    d->retranslate(this);

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
    const int controllerRow = d->rowOf(widgets, controller);
    if (controllerRow >= 0)
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

std::shared_ptr<Project> CompareAxesDialog::otherProject(Side side) const
{
    const QComboBox* controllers = d->sides[side].controllers;
    const int source = controllers->currentIndex() < 0 ? 0 : controllers->currentData(SourceRole).toInt();
    return source > 0 && source <= int(d->others.size()) ? d->others.at(size_t(source - 1)) : nullptr;
}

void CompareAxesDialog::addOtherProject(const std::shared_ptr<Project>& project)
{
    if (!project)
        return;
    d->others.push_back(project);
    onHostContentChanged();
    for (DriveController* controller : project->host()->driveControllers()) {
        if (!controller->axisNumbers().isEmpty()) {
            select(SideB, controller, controller->axisNumbers().constFirst());
            break;
        }
    }
}

void CompareAxesDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        d->retranslate(this);
        onHostContentChanged();
    }
    QDialog::changeEvent(event);
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
        d->fillControllers(Side(side));
        d->fillAxes(d->sides[side]);
        if (chosen[side])
            select(Side(side), chosen[side], numbers[side]);
        d->sides[side].lastRow = d->sides[side].controllers->currentIndex();
    }
    updateButtons();
}

void CompareAxesDialog::onControllerChosen()
{
    for (SideWidgets& side : d->sides) {
        if (side.controllers != sender())
            continue;
        if (side.controllers->currentData(SourceRole).toInt() == askForFile) {
            // Back to the previous choice, so that a file that cannot be read changes nothing.
            const QSignalBlocker blocker(side.controllers);
            side.controllers->setCurrentIndex(side.lastRow);
            QMetaObject::invokeMethod(this, &CompareAxesDialog::otherProjectRequested, Qt::QueuedConnection);
            return;
        }
        side.lastRow = side.controllers->currentIndex();
        d->fillAxes(side);
    }
    updateButtons();
}

void CompareAxesDialog::updateButtons()
{
    d->buttons->button(QDialogButtonBox::Ok)->setEnabled(axisNumber(SideA) > 0 && axisNumber(SideB) > 0);
}
