#include "ProjectTreeWidget.h"

#include "AppIcons.h"
#include "DriveController.h"
#include "ModbusConnection.h"
#include "DriveControllerAxis.h"
#include "ProjectHost.h"

#include <QEvent>
#include <QHeaderView>

ProjectTreeWidget::ProjectTreeWidget(QWidget* parent)
    : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("projectTree"));
    setColumnCount(1);
    header()->hide();
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformRowHeights(true);
    connect(this, &QTreeWidget::currentItemChanged, this, &ProjectTreeWidget::onCurrentItemChanged);
}

ProjectTreeWidget::~ProjectTreeWidget() = default;

void ProjectTreeWidget::setHost(ProjectHost* host)
{
    if (m_host)
        disconnect(m_host, nullptr, this, nullptr);
    m_host = host;
    if (m_host)
        connect(m_host, &ProjectHost::hostContentChanged, this, &ProjectTreeWidget::rebuild);
    rebuild();
}

ProjectHost* ProjectTreeWidget::host() const
{
    return m_host;
}

DriveController* ProjectTreeWidget::controllerOf(const QTreeWidgetItem* item) const
{
    if (!item || !m_host)
        return nullptr;
    const QTreeWidgetItem* top = item->parent() ? item->parent() : item;
    return m_host->driveControllers().value(indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(top)));
}

DriveController* ProjectTreeWidget::currentController() const
{
    return controllerOf(currentItem());
}

DriveControllerAxis* ProjectTreeWidget::currentAxis() const
{
    const QTreeWidgetItem* item = currentItem();
    DriveController* controller = controllerOf(item);
    if (!controller || !item->parent())
        return nullptr;
    return controller->axis(item->data(0, AxisNumberRole).toInt());
}

QTreeWidgetItem* ProjectTreeWidget::controllerItem(const DriveController* controller) const
{
    if (!m_host)
        return nullptr;
    const int index = m_host->indexOf(controller);
    return index < 0 ? nullptr : topLevelItem(index);
}

QTreeWidgetItem* ProjectTreeWidget::axisItem(const DriveController* controller, int number) const
{
    QTreeWidgetItem* parent = controllerItem(controller);
    for (int i = 0; parent && i < parent->childCount(); ++i) {
        if (parent->child(i)->data(0, AxisNumberRole).toInt() == number)
            return parent->child(i);
    }
    return nullptr;
}

bool ProjectTreeWidget::selectController(const DriveController* controller)
{
    QTreeWidgetItem* item = controllerItem(controller);
    if (item)
        setCurrentItem(item);
    return item;
}

bool ProjectTreeWidget::selectAxis(const DriveController* controller, int number)
{
    QTreeWidgetItem* item = axisItem(controller, number);
    if (item)
        setCurrentItem(item);
    return item;
}

void ProjectTreeWidget::rebuild()
{
    const QPointer<DriveController> keptController = m_lastController;
    const int keptAxis = m_lastAxis ? m_lastAxis->axisNumber() : 0;
    {
        const QSignalBlocker blocker(this);
        clear();
        if (m_host) {
            for (DriveController* controller : m_host->driveControllers()) {
                auto* item = new QTreeWidgetItem(this);
                fillController(item, controller);
                for (int number : controller->axisNumbers()) {
                    auto* child = new QTreeWidgetItem(item);
                    child->setFlags(child->flags() | Qt::ItemNeverHasChildren);
                    fillAxis(child, controller, number);
                }
                if (item->childCount() > 0)
                    item->setExpanded(true);
                connect(controller, &DriveController::nameChanged, this, &ProjectTreeWidget::refresh, Qt::UniqueConnection);
                connect(controller, &DriveController::onlineStateChanged, this, &ProjectTreeWidget::refresh,
                        Qt::UniqueConnection);
                connect(controller, &DriveController::deviceStateChanged, this, &ProjectTreeWidget::refresh,
                        Qt::UniqueConnection);
                connect(controller, &DriveController::markingColorChanged, this, &ProjectTreeWidget::refresh,
                        Qt::UniqueConnection);
                for (int number : controller->axisNumbers()) {
                    connect(controller->axis(number), &DriveControllerAxis::nameChanged, this,
                            &ProjectTreeWidget::refresh, Qt::UniqueConnection);
                }
            }
        }
        if (keptController && !(keptAxis > 0 && selectAxis(keptController, keptAxis)))
            selectController(keptController);
    }
    // Also when the same row is current again: receivers may have dropped what went away.
    m_forceSignal = true;
    onCurrentItemChanged();
}

void ProjectTreeWidget::refresh()
{
    if (!m_host)
        return;
    const QList<DriveController*> controllers = m_host->driveControllers();
    for (int i = 0; i < controllers.size() && i < topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = topLevelItem(i);
        fillController(item, controllers.at(i));
        for (int c = 0; c < item->childCount(); ++c)
            fillAxis(item->child(c), controllers.at(i), item->child(c)->data(0, AxisNumberRole).toInt());
    }
    emit refreshed();
}

void ProjectTreeWidget::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        refresh();
    QTreeWidget::changeEvent(event);
}

void ProjectTreeWidget::onCurrentItemChanged()
{
    DriveController* controller = currentController();
    DriveControllerAxis* axis = currentAxis();
    if (controller == m_lastController.data() && axis == m_lastAxis.data() && !m_forceSignal)
        return;
    m_forceSignal = false;
    m_lastController = controller;
    m_lastAxis = axis;
    emit currentSelectionChanged(controller, axis);
}

QString ProjectTreeWidget::onlineStateText(const DriveController* controller)
{
    switch (controller->onlineState()) {
    case OnlineStateOnline: return tr("online");
    case OnlineStateConnecting: return tr("verbindet ...");
    case OnlineStateOffline: break;
    }
    return tr("offline");
}

void ProjectTreeWidget::fillController(QTreeWidgetItem* item, DriveController* controller) const
{
    const QString descriptor = controller->descriptor() ? controller->descriptor()->text() : QString();
    item->setText(0, descriptor.isEmpty() ? controller->name()
                                          : tr("%1 (%2)").arg(controller->name(), descriptor));
    item->setIcon(0, AppIcons::controllerState(controller));
    QString state = onlineStateText(controller);
    if (controller->connection())
        state = tr("%1 über %2").arg(state, controller->connectionSettings().toText());
    if (!controller->connectionFault().isEmpty())
        state = tr("%1\nStörung: %2").arg(state, controller->connectionFault());
    item->setToolTip(0, descriptor.isEmpty() ? state : tr("%1\n%2").arg(descriptor, state));
}

void ProjectTreeWidget::fillAxis(QTreeWidgetItem* item, DriveController* controller, int number) const
{
    item->setData(0, AxisNumberRole, number);
    item->setText(0, tr("Achse %1: %2").arg(number).arg(controller->axisName(number)));
    const QColor color = controller->markingColor(number);
    item->setData(0, MarkingColorRole, color);
    item->setIcon(0, AppIcons::markingColor(color));
    const bool fault = controller->hasAxisFault(number);
    item->setForeground(0, fault ? QBrush(QColor(0xc0, 0x20, 0x20)) : QBrush());
    item->setToolTip(0, fault ? tr("Die Achse meldet eine Störung.") : QString());
}
