#pragma once

#include <QBrush>
#include <QIcon>
#include <QTreeWidget>
#include <QVarLengthArray>
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

// The texts a row shows so far in one fill: equal values on several axes
// are kept once, shared by their cells.
class RowTexts
{
public:
    const QString& shared(const QString& text)
    {
        for (const QString& known : m_texts) {
            if (known == text)
                return known;
        }
        m_texts.append(text);
        return m_texts.last();
    }

private:
    QVarLengthArray<QString, 12> m_texts;
};

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

// The foreground or background brushes of a row's cells, 3 bits a column,
// as small numbers for the few brushes the rows use. A brush in each cell's
// list of roles costs that list an allocation and a copy on every role added.
class CellBrushes
{
public:
    // Takes the brush when it can; false leaves it to the item's own roles.
    bool set(int column, const QVariant& value, bool* changed)
    {
        if (column < 0 || column >= MaxColumns)
            return false;
        quint64 kind = None;
        if (value.isValid()) {
            if (value.userType() != QMetaType::QBrush)
                return false;
            kind = kindOf(value.value<QBrush>());
            if (kind == None)
                return false;
        }
        const int shift = 3 * column;
        *changed = ((m_kinds >> shift) & Mask) != kind;
        m_kinds = (m_kinds & ~(Mask << shift)) | (kind << shift);
        return true;
    }
    // Whether the cell's brush is kept here, and which.
    bool get(int column, QVariant* value) const
    {
        if (column < 0 || column >= MaxColumns)
            return false;
        const quint64 kind = (m_kinds >> (3 * column)) & Mask;
        if (kind == None)
            return false;
        *value = QVariant(brushes()[kind - 1]);
        return true;
    }
    void forget(int column)
    {
        if (column >= 0 && column < MaxColumns)
            m_kinds &= ~(Mask << (3 * column));
    }

private:
    static constexpr quint64 None = 0;
    static constexpr quint64 Mask = 7;
    static constexpr int MaxColumns = 21;

    static QBrush* brushes()
    {
        static QBrush known[Mask];
        return known;
    }
    static quint64 kindOf(const QBrush& brush)
    {
        static int count = 0;
        QBrush* known = brushes();
        for (int i = 0; i < count; ++i) {
            // Style and colour tell most brushes apart before the full comparison.
            if (known[i].style() == brush.style() && known[i].color() == brush.color() && known[i] == brush)
                return quint64(i + 1);
        }
        if (count == int(Mask))
            return None;
        known[count] = brush;
        return quint64(++count);
    }

    quint64 m_kinds = 0;
};

// The colour roles of our rows, kept compactly; anything else goes to the item.
class CompactRow : public QTreeWidgetItem
{
public:
    using QTreeWidgetItem::QTreeWidgetItem;

    void setData(int column, int role, const QVariant& value) override
    {
        CellBrushes* brushes = brushesFor(role);
        bool changed = false;
        if (brushes && brushes->set(column, value, &changed)) {
            // A role kept by the item itself would shadow this one.
            if (m_spilled && QTreeWidgetItem::data(column, role).isValid())
                QTreeWidgetItem::setData(column, role, QVariant());
            if (changed)
                emitDataChanged();
            return;
        }
        if (brushes) {
            brushes->forget(column);
            m_spilled = true;
        }
        QTreeWidgetItem::setData(column, role, value);
    }

    // A few bits the view showing the row may keep with it (the comparison
    // keeps what it made of the row there).
    quint8 viewMarks = 0;

    QVariant data(int column, int role) const override
    {
        QVariant value;
        if (const CellBrushes* brushes = const_cast<CompactRow*>(this)->brushesFor(role)) {
            if (brushes->get(column, &value))
                return value;
        }
        return QTreeWidgetItem::data(column, role);
    }

private:
    CellBrushes* brushesFor(int role)
    {
        if (role == Qt::ForegroundRole)
            return &m_foreground;
        if (role == Qt::BackgroundRole)
            return &m_background;
        return nullptr;
    }

    CellBrushes m_foreground;
    CellBrushes m_background;
    bool m_spilled = false;   // a colour went to the item's own roles
};

} // namespace KxTreeItem
