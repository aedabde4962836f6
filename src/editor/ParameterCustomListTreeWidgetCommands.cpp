// The context menu and the keyboard commands of the list tree.
#include "ParameterCustomListTreeWidget.h"

#include "ParameterCustomList.h"
#include "ParameterCustomListElementItem.h"
#include "ParameterCustomListEntry.h"
#include "ParameterCustomListEntryItem.h"

#include "DriveController.h"
#include "DriveControllerAxis.h"

#include <QAction>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>

namespace {

// What a copy action of the context menu does; owned by its action.
struct TransferDescription
{
    ParameterCustomListEntry* entry = nullptr;
    quint16 element = 0;
    int sourceAxis = -1;
    int targetAxis = 0;
};

void setDescription(QAction* action, TransferDescription* description)
{
    action->setData(QVariant::fromValue(static_cast<void*>(description)));
}

TransferDescription* takeDescription(QAction* action)
{
    if (!action)
        return nullptr;
    auto* description = static_cast<TransferDescription*>(action->data().value<void*>());
    action->setData(QVariant());
    return description;
}

QString axisLabel(DriveControllerAxis* axis)
{
    DriveController* controller = axis->driveController();
    return (controller ? controller->name() : QString()) + QStringLiteral(" - ") + axis->name();
}

} // namespace

void ParameterCustomListTreeWidget::clearContextMenu()
{
    const QList<QAction*> actions = contextMenu->actions();
    for (QAction* action : actions)
        delete takeDescription(action);
    contextMenu->clear();
}

void ParameterCustomListTreeWidget::onContextMenuRequested(QPoint position)
{
    clearContextMenu();

    QTreeWidgetItem* item = itemAt(position);
    ParameterCustomListEntry* entry = entryOf(item);
    const int column = columnAt(position.x());
    const quint16 element = elementIndexOf(item);
    const int sourceAxis = column - 1;
    const bool isElement = KxTreeItem::rowCast<ParameterCustomListElementItem>(item) != nullptr;

    ParameterCustomList* customList = this->customList();
    if (!entry || !customList)
        return;
    const QList<QPointer<DriveControllerAxis>> axes = customList->axes();
    if (sourceAxis < 0 || sourceAxis >= axes.size())
        return;
    const bool sourceExists = isElement ? entry->isAvailable(sourceAxis, element) : entry->isAvailable(sourceAxis);
    if (!sourceExists)
        return;

    DriveControllerAxis* source = axes.at(sourceAxis);
    int count = 0;
    for (int targetAxis = 0; targetAxis < axes.size(); ++targetAxis) {
        DriveControllerAxis* target = axes.at(targetAxis);
        if (!target || target == source)
            continue;
        const bool accepts = isElement ? entry->isWritable(targetAxis, element) : entry->isWritable(targetAxis);
        if (!accepts)
            continue;
        ++count;
        QAction* action = contextMenu->addAction(tr("Kopiere Wert nach \"%1\"").arg(axisLabel(target)),
                                                 this, &ParameterCustomListTreeWidget::onContextTransferValueToAxis);
        setDescription(action, new TransferDescription{entry, element, sourceAxis, targetAxis});
        const int visual = header()->visualIndex(targetAxis + 1);
        if (visual < 10) {
            action->setShortcutContext(Qt::WidgetShortcut);
            action->setShortcut(QKeySequence(tr("Ctrl+%1").arg(visual)));
            action->setShortcutVisibleInContextMenu(true);
        }
    }
    if (count > 1) {
        contextMenu->addSeparator();
        QAction* action = contextMenu->addAction(tr("Kopiere Wert an alle Achsen"),
                                                 this, &ParameterCustomListTreeWidget::onContextTransferValueToAny);
        setDescription(action, new TransferDescription{entry, element, sourceAxis, 0});
        action->setShortcutContext(Qt::WidgetShortcut);
        action->setShortcut(QKeySequence(QStringLiteral("Ctrl+0")));
        action->setShortcutVisibleInContextMenu(true);
    }

    // The position is the viewport's; the viewport sits below the header.
    contextMenu->popup(mapToGlobal(position + QPoint(0, header()->height())));
}

void ParameterCustomListTreeWidget::onContextTransferValueToAxis()
{
    TransferDescription* description = takeDescription(qobject_cast<QAction*>(sender()));
    if (!description)
        return;
    // The list may have dropped the entry while the menu was open.
    if (holdsEntry(description->entry)) {
        description->entry->transferValue(description->sourceAxis, description->element,
                                          description->targetAxis, description->element);
    }
    delete description;
    flushScheduledRefresh();
}

void ParameterCustomListTreeWidget::onContextTransferValueToAny()
{
    TransferDescription* description = takeDescription(qobject_cast<QAction*>(sender()));
    if (!description)
        return;
    if (holdsEntry(description->entry))
        description->entry->transferValueToAll(description->sourceAxis, description->element);
    delete description;
    flushScheduledRefresh();
}

void ParameterCustomListTreeWidget::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    QTreeWidgetItem* item = currentItem();
    ParameterCustomListEntry* entry = entryOf(item);
    const quint16 element = elementIndexOf(item);
    const int sourceAxis = currentColumn() - 1;

    if (ctrl && key >= Qt::Key_1 && key <= Qt::Key_9) {
        const int targetAxis = header()->logicalIndex(key - Qt::Key_0) - 1;
        if (entry)
            entry->transferValue(sourceAxis, element, targetAxis, element);
        flushScheduledRefresh();
    } else if (ctrl && key == Qt::Key_0) {
        if (entry)
            entry->transferValueToAll(sourceAxis, element);
        flushScheduledRefresh();
    } else if (key == Qt::Key_R) {
        if (entry) {
            if (sourceAxis != -1) {
                entry->requestOnlineConsistenceOnce(sourceAxis, element);
            } else if (ParameterCustomList* customList = this->customList()) {
                const int axisCount = customList->axes().size();
                for (int axis = 0; axis < axisCount; ++axis)
                    entry->requestOnlineConsistenceOnce(axis, element);
            }
        }
    } else if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_F2) {
        openItemEditor(item, currentColumn());
        return;
    } else if (key == Qt::Key_Delete) {
        removeItem(item);
        return;
    }
    QTreeWidget::keyPressEvent(event);
}
