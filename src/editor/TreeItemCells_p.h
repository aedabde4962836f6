#pragma once

#include <QBrush>
#include <QIcon>
#include <QTreeWidget>
#include <QTreeWidgetItem>
#include <QVector>
#include <QVarLengthArray>

#include <cstring>
#include <type_traits>
#include <typeinfo>

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

// Whether two values kept by CellKinds are the same one.
inline bool sameValue(const QIcon& a, const QIcon& b)
{
    return a.cacheKey() == b.cacheKey();
}

inline bool sameValue(const QBrush& a, const QBrush& b)
{
    // A brush is one shared pointer: the very same brush is found by it;
    // style and colour tell most others apart before the full comparison.
    static_assert(sizeof(QBrush) == sizeof(void*), "a brush is expected to be one pointer");
    return std::memcmp(&a, &b, sizeof(QBrush)) == 0
        || (a.style() == b.style() && a.color() == b.color() && a == b);
}

// One role of a row's cells (icon, foreground, background) as a small number
// per column, 3 bits each, for the few distinct values the rows use; the
// values themselves sit once in a table. A value in each cell's own list of
// roles costs that list an allocation and a copy on every role added.
template<typename T>
class CellKinds
{
public:
    // Takes the value when it can; false leaves it to the item's own roles.
    bool set(int column, const T& value, bool* changed)
    {
        const quint64 kind = kindOf(value);
        return kind != None && store(column, kind, changed);
    }
    bool clear(int column, bool* changed) { return store(column, None, changed); }
    void forget(int column)
    {
        if (column >= 0 && column < MaxColumns)
            m_kinds &= ~(Mask << (3 * column));
    }
    // The cell's value when it is kept here.
    const T* get(int column) const
    {
        if (column < 0 || column >= MaxColumns)
            return nullptr;
        const quint64 kind = (m_kinds >> (3 * column)) & Mask;
        return kind == None ? nullptr : &table()[kind - 1];
    }

private:
    static constexpr quint64 None = 0;
    static constexpr quint64 Mask = 7;
    static constexpr int MaxColumns = 21;

    bool store(int column, quint64 kind, bool* changed)
    {
        if (column < 0 || column >= MaxColumns)
            return false;
        const int shift = 3 * column;
        *changed = ((m_kinds >> shift) & Mask) != kind;
        m_kinds = (m_kinds & ~(Mask << shift)) | (kind << shift);
        return true;
    }
    static T* table()
    {
        static T known[Mask];
        return known;
    }
    static quint64 kindOf(const T& value)
    {
        static int count = 0;
        T* known = table();
        // Rows are mostly given the very values of the table: those are found
        // by identity before any of them is compared by value.
        for (int i = 0; i < count; ++i) {
            if (std::memcmp(&known[i], &value, sizeof(T)) == 0)
                return quint64(i + 1);
        }
        for (int i = 0; i < count; ++i) {
            if (sameValue(known[i], value))
                return quint64(i + 1);
        }
        if (count == int(Mask))
            return None;
        known[count] = value;
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

    // The same as setting the role, without a variant: a brush in a variant
    // is an allocation of its own.
    void setCellIcon(int column, const QIcon& icon) { keep(m_icons, Qt::DecorationRole, column, icon); }
    void setCellBrush(int role, int column, const QBrush& brush)
    {
        if (CellKinds<QBrush>* brushes = brushesFor(role))
            keep(*brushes, role, column, brush);
        else
            QTreeWidgetItem::setData(column, role, brush);
    }
    // For a pass that repaints the whole view afterwards: the notice per
    // cell would only make the model look the row up, which costs a search
    // among its siblings.
    void setCellBrushQuietly(int role, int column, const QBrush& brush)
    {
        CellKinds<QBrush>* brushes = brushesFor(role);
        bool changed = false;
        if (brushes && !m_spilled && brushes->set(column, brush, &changed))
            return;
        setCellBrush(role, column, brush);
    }

    // The text of a cell. A row kept outside a tree holds it only here; one
    // in a tree passes a change on to the item as well, whose notice per cell
    // the views (and whoever follows itemChanged) rely on.
    void setCellText(int column, const QString& text)
    {
        if (column < 0)
            return;
        if (column < m_texts.size() && m_texts.at(column).isNull() == text.isNull() && m_texts.at(column) == text)
            return;
        if (column >= m_texts.size())
            m_texts.resize(column + 1);
        m_texts[column] = text;
        if (treeWidget())
            QTreeWidgetItem::setData(column, Qt::DisplayRole, text);
    }
    const QString& cellText(int column) const
    {
        static const QString none;
        return column >= 0 && column < m_texts.size() ? m_texts.at(column) : none;
    }

    void setData(int column, int role, const QVariant& value) override
    {
        if (role == Qt::DisplayRole || role == Qt::EditRole) {
            if (value.userType() == QMetaType::QString || !value.isValid())
                return setCellText(column, value.toString());
            // Anything but a text is the item's own business.
            if (column >= 0 && column < m_texts.size())
                m_texts[column] = QString();
            return QTreeWidgetItem::setData(column, role, value);
        }
        if (role == Qt::DecorationRole) {
            if (value.userType() == QMetaType::QIcon)
                return setCellIcon(column, value.value<QIcon>());
            return drop(m_icons, role, column, value);
        }
        if (CellKinds<QBrush>* brushes = brushesFor(role)) {
            if (value.userType() == QMetaType::QBrush)
                return keep(*brushes, role, column, value.value<QBrush>());
            return drop(*brushes, role, column, value);
        }
        QTreeWidgetItem::setData(column, role, value);
    }

    QVariant data(int column, int role) const override
    {
        if (role == Qt::DisplayRole || role == Qt::EditRole) {
            if (column >= 0 && column < m_texts.size() && !m_texts.at(column).isNull())
                return m_texts.at(column);
        } else if (role == Qt::DecorationRole) {
            if (const QIcon* icon = m_icons.get(column))
                return *icon;
        } else if (const CellKinds<QBrush>* brushes = const_cast<CompactRow*>(this)->brushesFor(role)) {
            if (const QBrush* brush = brushes->get(column))
                return *brush;
        }
        return QTreeWidgetItem::data(column, role);
    }

    // A few bits the view showing the row may keep with it (the comparison
    // keeps what it made of the row there).
    quint8 viewMarks = 0;

private:
    template<typename T>
    void keep(CellKinds<T>& kinds, int role, int column, const T& value)
    {
        bool changed = false;
        if (kinds.set(column, value, &changed))
            return settle(role, column, changed);
        kinds.forget(column);
        m_spilled = true;
        QTreeWidgetItem::setData(column, role, QVariant::fromValue(value));
    }
    // A role without a value of the kind kept here: cleared here when it is
    // empty, otherwise the item's own.
    template<typename T>
    void drop(CellKinds<T>& kinds, int role, int column, const QVariant& value)
    {
        bool changed = false;
        if (!value.isValid() && kinds.clear(column, &changed))
            return settle(role, column, changed);
        kinds.forget(column);
        m_spilled = true;
        QTreeWidgetItem::setData(column, role, value);
    }
    void settle(int role, int column, bool changed)
    {
        // A value once kept by the item itself would shadow this one.
        if (m_spilled && QTreeWidgetItem::data(column, role).isValid())
            QTreeWidgetItem::setData(column, role, QVariant());
        if (changed && treeWidget())
            announceCell(column);
    }
    // Tells the views of one changed cell. A notice of the whole row would
    // make them repaint everything they show; values polled from drives
    // change a few cells many times a second. The item announces a cell when
    // one of its own roles changes, so a role of no meaning to anyone takes
    // a value it did not have.
    void announceCell(int column)
    {
        static constexpr int noticeRole = Qt::UserRole + 0x4b58;
        QTreeWidgetItem::setData(column, noticeRole, !QTreeWidgetItem::data(column, noticeRole).toBool());
    }
    CellKinds<QBrush>* brushesFor(int role)
    {
        if (role == Qt::ForegroundRole)
            return &m_foreground;
        if (role == Qt::BackgroundRole)
            return &m_background;
        return nullptr;
    }

    // A comparison row's three texts sit in the row itself: one allocation
    // fewer for each of thousands of rows.
    QVarLengthArray<QString, 3> m_texts;
    CellKinds<QIcon> m_icons;
    CellKinds<QBrush> m_foreground;
    CellKinds<QBrush> m_background;
    bool m_spilled = false;   // a value went to the item's own roles
};

// Our row classes are final, so their exact class tells: a dynamic_cast
// walks the class hierarchy on every call, and views ask about each row
// many times a pass.
template<typename Row>
Row* rowCast(QTreeWidgetItem* item)
{
    static_assert(std::is_final<Row>::value, "only a final class is known by its exact type");
    return item && typeid(*item) == typeid(Row) ? static_cast<Row*>(item) : nullptr;
}

template<typename Row>
const Row* rowCast(const QTreeWidgetItem* item)
{
    static_assert(std::is_final<Row>::value, "only a final class is known by its exact type");
    return item && typeid(*item) == typeid(Row) ? static_cast<const Row*>(item) : nullptr;
}

// Either of our two kinds of row, or null for someone else's item.
CompactRow* compactRow(QTreeWidgetItem* item);
inline const CompactRow* compactRow(const QTreeWidgetItem* item)
{
    return compactRow(const_cast<QTreeWidgetItem*>(item));
}

} // namespace KxTreeItem
