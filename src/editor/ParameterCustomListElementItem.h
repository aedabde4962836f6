#pragma once

#include "TreeItemCells_p.h"

#include <QTreeWidgetItem>

class ParameterCustomListEntry;

// The row of one element of a multi-element entry; always a child of the
// entry's row, from which it takes its entry.
class ParameterCustomListElementItem final : public KxTreeItem::CompactRow
{
public:
    explicit ParameterCustomListElementItem(quint16 element);

    quint16 element() const { return m_element; }
    ParameterCustomListEntry* entry() const;

    void update();
    void update(const KxTreeItem::RowStyle& style);
    void updateValues(const KxTreeItem::RowStyle& style, quint64 columns);

    bool operator<(const QTreeWidgetItem& other) const override;
    QVariant data(int column, int role) const override;

    // Column 0 holds the element index under this role.
    static constexpr int role = Qt::UserRole + 1;

private:
    void fillCell(ParameterCustomListEntry* entry, const KxTreeItem::RowStyle& style, int column, KxTreeItem::RowTexts* texts);

    const quint16 m_element;
};
