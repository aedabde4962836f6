#include "ParameterCustomListEntryItem.h"

#include "ParameterCustomListElementItem.h"
#include "ParameterCustomListEntry.h"
#include "TreeItemIcon_p.h"

#include "ParameterCoordinate.h"

#include <QIcon>
#include <QPalette>
#include <QTreeWidget>

ParameterCustomListEntryItem::ParameterCustomListEntryItem(ParameterCustomListEntry* entry)
    : QTreeWidgetItem(0)
    , m_entry(entry)
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

void ParameterCustomListEntryItem::update()
{
    QTreeWidget* tree = treeWidget();
    if (!tree || !m_entry)
        return;

    setText(0, m_entry->text());
    setData(0, role, int(m_entry->coordinate().toNumber()));

    const QPalette palette = tree->palette();
    const int columns = tree->columnCount();
    for (int column = 1; column < columns; ++column) {
        const int axis = column - 1;
        if (!m_entry->isAvailable(axis)) {
            setText(column, notAvailableText());
            setToolTip(column, QString());
            KxTreeItem::setIcon(this, column, notAvailableIcon());
            setForeground(column, palette.color(QPalette::Disabled, QPalette::ButtonText));
            continue;
        }
        setText(column, m_entry->valueText(axis));
        setToolTip(column, m_entry->toolTip(axis));
        KxTreeItem::setIcon(this, column, m_entry->stateIcon(axis, QString()));
        const QPalette::ColorGroup group = m_entry->isValueActive(axis) ? QPalette::Active : QPalette::Disabled;
        setForeground(column, palette.color(group, QPalette::ButtonText));
    }

    QList<quint16> pending = m_entry->childElementIndices();
    for (int i = childCount() - 1; i >= 0; --i) {
        auto* elementRow = dynamic_cast<ParameterCustomListElementItem*>(child(i));
        if (elementRow && pending.removeOne(elementRow->element()))
            continue;
        if (elementRow)
            delete takeChild(i);
    }
    for (quint16 element : qAsConst(pending))
        addChild(new ParameterCustomListElementItem(element));

    for (int i = 0; i < childCount(); ++i) {
        if (auto* elementRow = dynamic_cast<ParameterCustomListElementItem*>(child(i)))
            elementRow->update();
    }
    // Kept rows stay in order; only appended ones can be out of place.
    if (!pending.isEmpty())
        sortChildren(0, Qt::AscendingOrder);
}

bool ParameterCustomListEntryItem::operator<(const QTreeWidgetItem& other) const
{
    const QTreeWidget* tree = treeWidget();
    if (tree && tree->sortColumn() != 0)
        return QTreeWidgetItem::operator<(other);
    // Coordinates are ordered by their numbers, which the rows keep.
    return data(0, role).toUInt() < other.data(0, role).toUInt();
}
