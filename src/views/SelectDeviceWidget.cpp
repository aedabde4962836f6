#include "SelectDeviceWidget.h"
#include "SelectDeviceWidget_p.h"

#include "ParameterCustomListRepository.h"

#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "System.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QEvent>
#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QTreeWidgetItemIterator>
#include <QMenu>
#include <QVBoxLayout>

namespace {

constexpr int ControllerRole = Qt::UserRole;
constexpr int AxisRole = Qt::UserRole + 1;
const QString dialogSizeKey = QStringLiteral("SelectDeviceDialog/Size");
// Never smaller than the dialog always was.
constexpr QSize minimumDialogSize(300, 400);

QObject* objectOf(const QTreeWidgetItem* item, int role)
{
    return item ? qvariant_cast<QObject*>(item->data(0, role)) : nullptr;
}

} // namespace

SelectDeviceWidgetPrivate::SelectDeviceWidgetPrivate(SelectDeviceWidget* q)
    : QTreeWidget(q)
    , q(q)
{
    setObjectName(QStringLiteral("deviceTree"));
}

QList<QTreeWidgetItem*> SelectDeviceWidgetPrivate::allItems() const
{
    // Not findItems("*", Qt::MatchWildcard): its wildcard stops at "/", and
    // controllers such as "Portal Y/Z" would get a new row on every update.
    QList<QTreeWidgetItem*> items;
    for (QTreeWidgetItemIterator it(const_cast<SelectDeviceWidgetPrivate*>(this)); *it; ++it)
        items.append(*it);
    return items;
}

QTreeWidgetItem* SelectDeviceWidgetPrivate::itemOf(const QObject* object, int role) const
{
    const QList<QTreeWidgetItem*> items = allItems();
    for (QTreeWidgetItem* item : items) {
        if (item->data(0, role).isValid() && objectOf(item, role) == object)
            return item;
    }
    return nullptr;
}

QTreeWidgetItem* SelectDeviceWidgetPrivate::controllerItem(DriveController* controller) const
{
    return itemOf(controller, ControllerRole);
}

QTreeWidgetItem* SelectDeviceWidgetPrivate::axisItem(DriveControllerAxis* axis) const
{
    return itemOf(axis, AxisRole);
}

DriveController* SelectDeviceWidgetPrivate::itemController(const QTreeWidgetItem* item)
{
    return qobject_cast<DriveController*>(objectOf(item, ControllerRole));
}

DriveControllerAxis* SelectDeviceWidgetPrivate::itemAxis(const QTreeWidgetItem* item)
{
    return qobject_cast<DriveControllerAxis*>(objectOf(item, AxisRole));
}

QSize SelectDeviceWidgetPrivate::dialogSize() const
{
    QSize size = QSettings().value(dialogSizeKey).toSize();
    if (!size.isValid()) {
        // Wide enough for the longest name with its indentation and check
        // box, and for a scroll bar beside it.
        const int margins = 2 * 4 + 2 * frameWidth() + verticalScrollBar()->sizeHint().width() + 8;
        size = QSize(sizeHintForColumn(0) + margins, minimumDialogSize.height()).expandedTo(minimumDialogSize);
    }
    if (const QScreen* screen = q->screen())
        size = size.boundedTo(screen->availableSize());
    return size;
}

void SelectDeviceWidgetPrivate::onCustomContextMenuRequested(QPoint point)
{
    if (!contextMenu) {
        contextMenu = new QMenu(q);
        checkAllAction = contextMenu->addAction(QString(), this, &SelectDeviceWidgetPrivate::checkAllEntries);
        uncheckAllAction = contextMenu->addAction(QString(), this, &SelectDeviceWidgetPrivate::uncheckAllEntries);
        retranslate();
    }
    contextMenu->popup(mapToGlobal(point) + QPoint(0, header()->height()));
}

void SelectDeviceWidgetPrivate::retranslate()
{
    if (contextMenu) {
        checkAllAction->setText(SelectDeviceWidget::tr("Alle auswählen"));
        uncheckAllAction->setText(SelectDeviceWidget::tr("Alle abwählen"));
    }
    if (dialog)
        dialog->setWindowTitle(SelectDeviceWidget::tr("Antriebsregler auswählen"));
}

void SelectDeviceWidgetPrivate::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QTreeWidget::changeEvent(event);
}

void SelectDeviceWidgetPrivate::checkAllEntries()
{
    setAllAxisItems(Qt::Checked);
}

void SelectDeviceWidgetPrivate::uncheckAllEntries()
{
    setAllAxisItems(Qt::Unchecked);
}

void SelectDeviceWidgetPrivate::setAllAxisItems(Qt::CheckState state)
{
    const QList<QTreeWidgetItem*> items = allItems();
    for (QTreeWidgetItem* item : items) {
        if (item->parent())
            item->setCheckState(0, state);
    }
}

SelectDeviceWidget::SelectDeviceWidget(QWidget* parent)
    : QWidget(parent)
    , d(new SelectDeviceWidgetPrivate(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(d);
}

SelectDeviceWidget::~SelectDeviceWidget() = default;

void SelectDeviceWidget::fillDevices()
{
    d->setHeaderHidden(true);
    d->setRootIsDecorated(true);
    d->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(d, &QTreeWidget::customContextMenuRequested, d, &SelectDeviceWidgetPrivate::onCustomContextMenuRequested,
            Qt::UniqueConnection);

    const QList<DriveControllerAxis*> axes = ParameterCustomListRepository::instance().driveControllerAxes();
    for (DriveControllerAxis* axis : axes) {
        if (!axis || d->axisItem(axis))
            continue;
        DriveController* controller = axis->driveController();
        QTreeWidgetItem* parentItem = d->controllerItem(controller);
        if (!parentItem) {
            parentItem = new QTreeWidgetItem(d);
            parentItem->setText(0, QStringLiteral("%1 (%2)").arg(controller ? controller->name() : QString(),
                controller && controller->descriptor() ? controller->descriptor()->text() : QString()));
            parentItem->setData(0, ControllerRole, QVariant::fromValue<QObject*>(controller));
            parentItem->setFlags(parentItem->flags() & ~Qt::ItemIsUserCheckable);
            parentItem->setExpanded(true);
            // The rows keep plain pointers; a controller that goes away while
            // the dialog is open must not leave a row that points nowhere.
            if (controller) {
                connect(controller, &QObject::destroyed, d, [this](QObject* gone) {
                    delete d->itemOf(gone, ControllerRole);
                });
            }
        }
        auto* item = new QTreeWidgetItem(parentItem);
        item->setText(0, axis->name());
        item->setData(0, AxisRole, QVariant::fromValue<QObject*>(axis));
        item->setCheckState(0, Qt::Unchecked);
        connect(axis, &QObject::destroyed, d, [this](QObject* gone) {
            delete d->itemOf(gone, AxisRole);
        });
    }
}

void SelectDeviceWidget::setSelectedAxes(QList<QPointer<DriveControllerAxis>> axes)
{
    d->uncheckAllEntries();
    for (const QPointer<DriveControllerAxis>& axis : qAsConst(axes)) {
        if (!axis)
            continue;
        if (QTreeWidgetItem* item = d->axisItem(axis))
            item->setCheckState(0, Qt::Checked);
    }
}

bool SelectDeviceWidget::exec()
{
    auto* layout = new QVBoxLayout;
    layout->setContentsMargins(4, 4, 4, 4);
    // Heap-allocated and guarded: the main window may take the dialog with it
    // while it runs.
    QPointer<QDialog> dialog = new QDialog(System::instance().mainWindow());
    d->dialog = dialog;
    d->retranslate();
    dialog->setLayout(layout);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);

    QPointer<QWidget> formerParent = parentWidget();
    QPointer<SelectDeviceWidget> self(this);
    layout->addWidget(this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, dialog.data(), &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, dialog.data(), &QDialog::reject);
    // What the layout needs wins over the proposal; only a size that differs
    // from that one was given by the user.
    const QSize proposed = d->dialogSize().expandedTo(dialog->minimumSizeHint());
    dialog->resize(proposed);

    const bool accepted = dialog->exec() == QDialog::Accepted;
    // Only a size the user gave is kept: the fitted one follows the names.
    if (dialog && dialog->size() != proposed)
        QSettings().setValue(dialogSizeKey, dialog->size());

    if (self && dialog) {
        layout->removeWidget(this);
        setParent(formerParent);
    }
    delete dialog;
    return accepted;
}

QList<QPointer<DriveControllerAxis>> SelectDeviceWidget::selectedAxes() const
{
    QList<QPointer<DriveControllerAxis>> result;
    const QList<QTreeWidgetItem*> items = d->allItems();
    for (QTreeWidgetItem* item : items) {
        if (item->checkState(0) == Qt::Checked)
            result.append(SelectDeviceWidgetPrivate::itemAxis(item));
    }
    return result;
}
