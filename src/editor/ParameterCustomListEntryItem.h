#pragma once

#include "TreeItemCells_p.h"

#include <QCoreApplication>
#include <QTreeWidgetItem>

class ParameterCustomListEntry;

// The row of one list entry: its label in column 0 and, per axis column, the
// entry's value, tool tip and state icon. Element rows of a multi-element
// entry are its children and are kept in step with the entry by update().
class ParameterCustomListEntryItem final : public KxTreeItem::CompactRow
{
    Q_DECLARE_TR_FUNCTIONS(ParameterCustomListEntryItem)

public:
    explicit ParameterCustomListEntryItem(ParameterCustomListEntry* entry);

    ParameterCustomListEntry* entry() const { return m_entry; }

    // Refills every cell and reconciles the element rows: unchanged elements
    // keep their rows (and selection), vanished ones are deleted, new ones
    // appended, and the children end up in ascending element order.
    void update();
    // The same for a row that may not be in a tree yet.
    void update(const KxTreeItem::RowStyle& style);
    // Only reconciles the element rows, leaving their cells (and their order)
    // to update(); returns whether rows were added.
    bool updateChildren();
    // Refills only the value cells of the columns set in `columns` (a bit per
    // column), on this row and its element rows; for values that changed
    // while everything else stayed.
    void updateValues(const KxTreeItem::RowStyle& style, quint64 columns);

    bool operator<(const QTreeWidgetItem& other) const override;
    // Tool tips are worked out when one is shown rather than on every
    // refresh: they only depend on the definitions and the language.
    QVariant data(int column, int role) const override;

    // Column 0 holds the entry's coordinate number under this role.
    static constexpr int role = Qt::UserRole;

    // The caption of a cell whose axis does not have the parameter, and the
    // icon that keeps such a cell aligned with the others.
    static QString notAvailableText();
    static const QIcon& notAvailableIcon();

private:
    void fillCell(const KxTreeItem::RowStyle& style, int column, KxTreeItem::RowTexts* texts);

    ParameterCustomListEntry* const m_entry;
    const quint16 m_number;
    bool m_childrenAdded = false;   // since the last update()
public:
    // What the row was last filled from, kept by the tree: the tree's cache
    // epoch and the entry's revision.
    quint64 filledEpoch = 0;
    quint64 filledRevision = 0;
private:
};
