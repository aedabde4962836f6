#include "ParameterCustomListElementItem.h"

#include "ParameterCustomListEntry.h"
#include "TreeItemCells_p.h"
#include "ParameterCustomListEntryItem.h"
#include "ParameterCustomListTreeWidget.h"
#include "EntryStrategy.h"

#include <QPalette>
#include <QTreeWidget>

ParameterCustomListElementItem::ParameterCustomListElementItem(quint16 element)
    : KxTreeItem::CompactRow(0)
    , m_element(element)
{
    setFlags(flags() | Qt::ItemNeverHasChildren);
}

ParameterCustomListEntry* ParameterCustomListElementItem::entry() const
{
    auto* entryRow = KxTreeItem::rowCast<ParameterCustomListEntryItem>(parent());
    return entryRow ? entryRow->entry() : nullptr;
}

void ParameterCustomListElementItem::update()
{
    if (QTreeWidget* tree = treeWidget())
        update(KxTreeItem::rowStyle(tree));
}

void ParameterCustomListElementItem::update(const KxTreeItem::RowStyle& style)
{
    ParameterCustomListEntry* entry = this->entry();
    if (!entry)
        return;

    // Last column first, as the entry's row does.
    KxTreeItem::RowTexts texts;
    for (int column = style.columns - 1; column >= 1; --column)
        fillCell(entry, style, column, &texts);
    setCellText(0, entry->elementText(m_element));
}

void ParameterCustomListElementItem::updateValues(const KxTreeItem::RowStyle& style, quint64 columns)
{
    ParameterCustomListEntry* entry = this->entry();
    if (!entry)
        return;
    for (int column = 1; column < style.columns && column < 64; ++column) {
        if (columns & (quint64(1) << column))
            fillCell(entry, style, column, nullptr);
    }
}

void ParameterCustomListElementItem::fillCell(ParameterCustomListEntry* entry, const KxTreeItem::RowStyle& style, int column,
                                               KxTreeItem::RowTexts* texts)
{
    const EntryCell cell = entry->cell(column - 1, m_element);
    if (!cell.available) {
        setCellText(column, style.notAvailable);
        setCellIcon(column, ParameterCustomListEntryItem::notAvailableIcon());
        setCellBrush(Qt::ForegroundRole, column, style.inactive);
        return;
    }
    setCellText(column, texts ? texts->shared(cell.valueText) : cell.valueText);
    setCellIcon(column, cell.stateIcon);
    setCellBrush(Qt::ForegroundRole, column, cell.active ? style.active : style.inactive);
}

QVariant ParameterCustomListElementItem::data(int column, int role) const
{
    // The element index under the row's role is the row's own; kept as a
    // member rather than in a list of roles of its own.
    if (role == ParameterCustomListElementItem::role && column == 0)
        return QVariant::fromValue<quint16>(m_element);
    if (role != Qt::ToolTipRole || column < 1)
        return KxTreeItem::CompactRow::data(column, role);
    auto* tree = qobject_cast<ParameterCustomListTreeWidget*>(treeWidget());
    ParameterCustomListEntry* entry = tree ? tree->entryOf(const_cast<ParameterCustomListElementItem*>(this)) : nullptr;
    if (!entry || column >= tree->columnCount() || !entry->isAvailable(column - 1, m_element))
        return QString();
    return entry->toolTip(column - 1, m_element);
}

bool ParameterCustomListElementItem::operator<(const QTreeWidgetItem& other) const
{
    const QTreeWidget* tree = treeWidget();
    if (tree && tree->sortColumn() != 0)
        return QTreeWidgetItem::operator<(other);
    // Element rows meet each other whenever a row's elements are inserted
    // into a sorted tree: their indices are at hand without variants.
    if (const auto* element = KxTreeItem::rowCast<ParameterCustomListElementItem>(&other))
        return m_element < element->m_element;
    return data(0, role).toUInt() < other.data(0, role).toUInt();
}

KxTreeItem::CompactRow* KxTreeItem::compactRow(QTreeWidgetItem* item)
{
    // Asked for every row of every pass: the exact class is looked up once.
    if (!item)
        return nullptr;
    const std::type_info& type = typeid(*item);
    if (type == typeid(ParameterCustomListElementItem))
        return static_cast<ParameterCustomListElementItem*>(item);
    if (type == typeid(ParameterCustomListEntryItem))
        return static_cast<ParameterCustomListEntryItem*>(item);
    return nullptr;
}
