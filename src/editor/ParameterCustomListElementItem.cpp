#include "ParameterCustomListElementItem.h"

#include "ParameterCustomListEntry.h"
#include "TreeItemIcon_p.h"
#include "ParameterCustomListEntryItem.h"

#include <QPalette>
#include <QTreeWidget>

ParameterCustomListElementItem::ParameterCustomListElementItem(quint16 element)
    : QTreeWidgetItem(0)
    , m_element(element)
{
    setFlags(flags() | Qt::ItemNeverHasChildren);
    setData(0, role, QVariant::fromValue<quint16>(element));
}

ParameterCustomListEntry* ParameterCustomListElementItem::entry() const
{
    auto* entryRow = dynamic_cast<ParameterCustomListEntryItem*>(parent());
    return entryRow ? entryRow->entry() : nullptr;
}

void ParameterCustomListElementItem::update()
{
    QTreeWidget* tree = treeWidget();
    ParameterCustomListEntry* entry = this->entry();
    if (!tree || !entry)
        return;

    setText(0, entry->elementText(m_element));

    const QPalette palette = tree->palette();
    const int columns = tree->columnCount();
    for (int column = 1; column < columns; ++column) {
        const int axis = column - 1;
        if (!entry->isAvailable(axis, m_element)) {
            setText(column, ParameterCustomListEntryItem::notAvailableText());
            setToolTip(column, QString());
            KxTreeItem::setIcon(this, column, ParameterCustomListEntryItem::notAvailableIcon());
            setForeground(column, palette.color(QPalette::Disabled, QPalette::ButtonText));
            continue;
        }
        const QString caption = entry->valueText(axis, m_element);
        setText(column, caption);
        setToolTip(column, entry->toolTip(axis, m_element));
        KxTreeItem::setIcon(this, column, entry->stateIcon(axis, m_element, caption));
        const QPalette::ColorGroup group = entry->isValueActive(axis, m_element) ? QPalette::Active
                                                                                 : QPalette::Disabled;
        setForeground(column, palette.color(group, QPalette::ButtonText));
    }
}

bool ParameterCustomListElementItem::operator<(const QTreeWidgetItem& other) const
{
    const QTreeWidget* tree = treeWidget();
    if (tree && tree->sortColumn() != 0)
        return QTreeWidgetItem::operator<(other);
    return data(0, role).toUInt() < other.data(0, role).toUInt();
}
