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

    bool operator==(const RowStyle& other) const
    {
        return columns == other.columns && active == other.active && inactive == other.inactive
            && notAvailable == other.notAvailable;
    }
    bool operator!=(const RowStyle& other) const { return !(*this == other); }
};

// The tree's current palette and columns.
RowStyle rowStyle(const QTreeWidget* tree);

// The icons of a row's cells, 3 bits a column, as small numbers for the few
// icon instances the rows use: asking the item for its icon copies a
// variant and an icon per cell, which costs more than the rest of a cell.
class CellIcons
{
public:
    void set(QTreeWidgetItem* item, int column, const QIcon& icon)
    {
        const quint64 kind = kindOf(icon);
        if (column >= MaxColumns) {
            KxTreeItem::setIcon(item, column, icon);
            return;
        }
        const int shift = 3 * column;
        if (kind == Unknown) {
            KxTreeItem::setIcon(item, column, icon);
            m_kinds |= Unknown << shift;
            return;
        }
        if (((m_kinds >> shift) & Unknown) == kind)
            return;
        item->setIcon(column, icon);
        m_kinds = (m_kinds & ~(quint64(Unknown) << shift)) | (kind << shift);
    }

private:
    static constexpr quint64 Unknown = 7;
    static constexpr int MaxColumns = 21;

    static quint64 kindOf(const QIcon& icon)
    {
        static qint64 keys[Unknown];
        static int known = 0;
        const qint64 key = icon.cacheKey();
        for (int i = 0; i < known; ++i) {
            if (keys[i] == key)
                return quint64(i);
        }
        if (known == int(Unknown))
            return Unknown;
        keys[known] = key;
        return quint64(known++);
    }

    quint64 m_kinds = ~quint64(0);
};

} // namespace KxTreeItem
