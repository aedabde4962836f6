#pragma once

#include <QIcon>
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

} // namespace KxTreeItem
