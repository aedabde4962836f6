#include "ParameterCustomListEntryItem.h"

#include "ParameterCustomListElementItem.h"
#include "ParameterCustomListEntry.h"
#include "ParameterCustomListTreeWidget.h"
#include "TreeItemCells_p.h"

#include "EntryStrategy.h"
#include "ParameterCoordinate.h"

#include <QIcon>
#include <QPalette>
#include <QTreeWidget>

ParameterCustomListEntryItem::ParameterCustomListEntryItem(ParameterCustomListEntry* entry)
    : KxTreeItem::CompactRow(0)
    , m_entry(entry)
    , m_number(entry ? entry->coordinate().toNumber() : 0)
{
}

QString ParameterCustomListEntryItem::notAvailableText()
{
    return tr("<nicht vorhanden>");
}

const QIcon& ParameterCustomListEntryItem::notAvailableIcon()
{
    static const QIcon icon(QStringLiteral(":/Resources/standard.png"));
    return icon;
}

namespace {

bool childrenInOrder(const QTreeWidgetItem* row)
{
    for (int i = 1; i < row->childCount(); ++i) {
        if (!(*row->child(i - 1) < *row->child(i)))
            return false;
    }
    return true;
}

} // namespace

KxTreeItem::RowStyle KxTreeItem::rowStyle(const QTreeWidget* tree)
{
    RowStyle style;
    style.columns = tree->columnCount();
    const QPalette palette = tree->palette();
    // The same brush objects pass after pass, as long as the colours stay:
    // cells then compare them by identity.
    static QBrush active;
    static QBrush inactive;
    const QColor activeColour = palette.color(QPalette::Active, QPalette::ButtonText);
    const QColor inactiveColour = palette.color(QPalette::Disabled, QPalette::ButtonText);
    if (active.style() == Qt::NoBrush || active.color() != activeColour)
        active = QBrush(activeColour);
    if (inactive.style() == Qt::NoBrush || inactive.color() != inactiveColour)
        inactive = QBrush(inactiveColour);
    style.active = active;
    style.inactive = inactive;
    style.notAvailable = ParameterCustomListEntryItem::notAvailableText();
    return style;
}

void ParameterCustomListEntryItem::update()
{
    if (QTreeWidget* tree = treeWidget())
        update(KxTreeItem::rowStyle(tree));
}

void ParameterCustomListEntryItem::update(const KxTreeItem::RowStyle& style)
{
    if (!m_entry)
        return;

    // Last column first: a new row then makes room for all its cells at once
    // instead of growing cell by cell.
    KxTreeItem::RowTexts texts;
    for (int column = style.columns - 1; column >= 1; --column)
        fillCell(style, column, &texts);
    setCellText(0, m_entry->text());

    updateChildren();
    for (int i = 0; i < childCount(); ++i) {
        if (auto* elementRow = KxTreeItem::rowCast<ParameterCustomListElementItem>(child(i)))
            elementRow->update(style);
    }
    // Kept rows stay in order; only appended ones can be out of place, and
    // only once filled can they be compared by any column.
    if (m_childrenAdded && !childrenInOrder(this))
        sortChildren(0, Qt::AscendingOrder);
    m_childrenAdded = false;
}

bool ParameterCustomListEntryItem::updateChildren()
{
    if (!m_entry)
        return false;
    QList<quint16> pending = m_entry->childElementIndices();
    for (int i = childCount() - 1; i >= 0; --i) {
        auto* elementRow = KxTreeItem::rowCast<ParameterCustomListElementItem>(child(i));
        if (elementRow && pending.removeOne(elementRow->element()))
            continue;
        if (elementRow)
            delete takeChild(i);
    }
    if (!pending.isEmpty()) {
        QList<QTreeWidgetItem*> added;
        added.reserve(pending.size());
        for (quint16 element : qAsConst(pending))
            added.append(new ParameterCustomListElementItem(element));
        addChildren(added);
        m_childrenAdded = true;
    }
    return !pending.isEmpty();
}

void ParameterCustomListEntryItem::fillCell(const KxTreeItem::RowStyle& style, int column, KxTreeItem::RowTexts* texts)
{
    const EntryCell cell = m_entry->cell(column - 1);
    if (!cell.available) {
        setCellText(column, style.notAvailable);
        setCellIcon(column, notAvailableIcon());
        setCellBrush(Qt::ForegroundRole, column, style.inactive);
        return;
    }
    setCellText(column, texts ? texts->shared(cell.valueText) : cell.valueText);
    setCellIcon(column, cell.stateIcon);
    setCellBrush(Qt::ForegroundRole, column, cell.active ? style.active : style.inactive);
}

void ParameterCustomListEntryItem::updateValues(const KxTreeItem::RowStyle& style, quint64 columns)
{
    if (!m_entry)
        return;
    for (int column = 1; column < style.columns && column < 64; ++column) {
        if (columns & (quint64(1) << column))
            fillCell(style, column, nullptr);
    }
    for (int i = 0; i < childCount(); ++i) {
        if (auto* elementRow = KxTreeItem::rowCast<ParameterCustomListElementItem>(child(i)))
            elementRow->updateValues(style, columns);
    }
}

QVariant ParameterCustomListEntryItem::data(int column, int role) const
{
    // The coordinate number never changes for a row.
    if (role == ParameterCustomListEntryItem::role && column == 0)
        return int(m_number);
    if (role != Qt::ToolTipRole || column < 1)
        return KxTreeItem::CompactRow::data(column, role);
    // Only an entry the tree still holds may be asked: the row can outlive it
    // until the tree hears of the change.
    auto* tree = qobject_cast<ParameterCustomListTreeWidget*>(treeWidget());
    ParameterCustomListEntry* entry = tree ? tree->entryOf(const_cast<ParameterCustomListEntryItem*>(this)) : nullptr;
    if (!entry || column >= tree->columnCount() || !entry->isAvailable(column - 1))
        return QString();
    return entry->toolTip(column - 1);
}

bool ParameterCustomListEntryItem::operator<(const QTreeWidgetItem& other) const
{
    const QTreeWidget* tree = treeWidget();
    if (tree && tree->sortColumn() != 0)
        return QTreeWidgetItem::operator<(other);
    // Coordinates are ordered by their numbers, which the rows keep.
    return data(0, role).toUInt() < other.data(0, role).toUInt();
}
