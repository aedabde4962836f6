#pragma once

#include <QBrush>
#include <QIcon>
#include <QTreeWidget>
#include <QTreeWidgetItem>

namespace KxTreeItem {

// QVariant cannot compare icons, so QTreeWidgetItem::setIcon() reports every
// call as a change and the view repaints each cell on every refresh. Our icons
// are shared instances; the same cache key means the very same icon.
inline void setIcon(QTreeWidgetItem* item, int column, const QIcon& icon)
{
    const QVariant current = item->data(column, Qt::DecorationRole);
    if (current.userType() == QMetaType::QIcon && current.value<QIcon>().cacheKey() == icon.cacheKey())
        return;
    item->setIcon(column, icon);
}

// What every row of one refresh pass shares. Rows are filled before they
// join the tree (no change notices for a row nobody shows yet), so they
// cannot ask the tree themselves; and one brush per colour keeps thousands
// of cells from each holding a brush of their own.
struct RowStyle
{
    int columns = 1;
    QBrush active;
    QBrush inactive;
    QString notAvailable;
};

// The tree's current palette and columns.
RowStyle rowStyle(const QTreeWidget* tree);

} // namespace KxTreeItem
