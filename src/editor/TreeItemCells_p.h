#pragma once

#include <QBrush>
#include <QIcon>
#include <QTreeWidget>
#include <QTreeWidgetItem>
#include <QVarLengthArray>

#include <cstring>

namespace KxTreeItem {

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

// The foreground or background brushes of a row's cells, 3 bits a column,
// as small numbers for the few brushes the rows use. A brush in each cell's
// list of roles costs that list an allocation and a copy on every role added.
class CellBrushes
{
public:
    // Takes the brush when it can; false leaves it to the item's own roles.
    bool set(int column, const QVariant& value, bool* changed)
    {
        if (!value.isValid())
            return setKind(column, None, changed);
        if (value.userType() != QMetaType::QBrush)
            return false;
        return set(column, value.value<QBrush>(), changed);
    }
    bool set(int column, const QBrush& brush, bool* changed)
    {
        const quint64 kind = kindOf(brush);
        return kind != None && setKind(column, kind, changed);
    }
    bool setKind(int column, quint64 kind, bool* changed)
    {
        if (column < 0 || column >= MaxColumns)
            return false;
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
        // A brush is one shared pointer: the very same brush is found by it.
        static_assert(sizeof(QBrush) == sizeof(void*), "a brush is expected to be one pointer");
        for (int i = 0; i < count; ++i) {
            if (std::memcmp(&known[i], &brush, sizeof(QBrush)) == 0)
                return quint64(i + 1);
        }
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

// The icons and colours of our rows, kept compactly; anything else goes to
// the item.
class CompactRow : public QTreeWidgetItem
{
public:
    using QTreeWidgetItem::QTreeWidgetItem;

    // The icon of a cell, kept as a small number for the few icons the rows
    // use; an icon in each cell's list of roles costs that list an
    // allocation per cell.
    void setCellIcon(int column, const QIcon& icon)
    {
        const quint64 kind = iconKind(icon);
        if (column < 0 || column >= MaxIconColumns || kind == UnknownIcon) {
            forgetIcon(column);
            QTreeWidgetItem::setData(column, Qt::DecorationRole, icon);
            m_spilled = true;
            return;
        }
        const int shift = 3 * column;
        if (((m_iconKinds >> shift) & UnknownIcon) == kind + 1)
            return;
        if (m_spilled && QTreeWidgetItem::data(column, Qt::DecorationRole).isValid())
            QTreeWidgetItem::setData(column, Qt::DecorationRole, QVariant());
        m_iconKinds = (m_iconKinds & ~(UnknownIcon << shift)) | ((kind + 1) << shift);
        emitDataChanged();
    }

    // The same as setting the role, without a variant: a brush in a variant
    // is an allocation of its own.
    void setCellBrush(int role, int column, const QBrush& brush)
    {
        CellBrushes* brushes = brushesFor(role);
        bool changed = false;
        if (brushes && brushes->set(column, brush, &changed)) {
            if (m_spilled && QTreeWidgetItem::data(column, role).isValid())
                QTreeWidgetItem::setData(column, role, QVariant());
            if (changed)
                emitDataChanged();
            return;
        }
        setData(column, role, brush);
    }

    void setData(int column, int role, const QVariant& value) override
    {
        if (role == Qt::DecorationRole && value.userType() == QMetaType::QIcon) {
            setCellIcon(column, value.value<QIcon>());
            return;
        }
        if (role == Qt::DecorationRole)
            forgetIcon(column);
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
        if (role == Qt::DecorationRole && column >= 0 && column < MaxIconColumns) {
            const quint64 kind = (m_iconKinds >> (3 * column)) & UnknownIcon;
            if (kind != 0)
                return QVariant(icons()[kind - 1]);
        }
        QVariant value;
        if (const CellBrushes* brushes = const_cast<CompactRow*>(this)->brushesFor(role)) {
            if (brushes->get(column, &value))
                return value;
        }
        return QTreeWidgetItem::data(column, role);
    }

private:
    static constexpr quint64 UnknownIcon = 7;
    static constexpr int MaxIconColumns = 21;

    static QIcon* icons()
    {
        static QIcon known[UnknownIcon - 1];
        return known;
    }
    // 0 .. 5 for the icons met so far, UnknownIcon when there are too many.
    static quint64 iconKind(const QIcon& icon)
    {
        static int count = 0;
        QIcon* known = icons();
        const qint64 key = icon.cacheKey();
        for (int i = 0; i < count; ++i) {
            if (known[i].cacheKey() == key)
                return quint64(i);
        }
        if (count == int(UnknownIcon - 1))
            return UnknownIcon;
        known[count] = icon;
        return quint64(count++);
    }
    void forgetIcon(int column)
    {
        if (column >= 0 && column < MaxIconColumns)
            m_iconKinds &= ~(UnknownIcon << (3 * column));
    }

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
    quint64 m_iconKinds = 0;   // 3 bits a column: 0 none, else the kind + 1
    bool m_spilled = false;   // an icon or colour went to the item's own roles
};

} // namespace KxTreeItem
