#include "FloorTree.h"

#include <QDataStream>
#include <QFile>
#include <QHash>
#include <QTreeWidget>

namespace KxBench {

namespace {

FloorRow copyRow(const QTreeWidgetItem* item, int columns, FloorColour colour, bool toolTips)
{
    FloorRow row;
    row.cells.reserve(columns);
    for (int column = 0; column < columns; ++column) {
        FloorCell cell;
        cell.text = item->text(column);
        if (toolTips)
            cell.toolTip = item->toolTip(column);
        cell.icon = item->icon(column);
        const QVariant brush = item->data(column, colour == FloorColour::Foreground ? Qt::ForegroundRole : Qt::BackgroundRole);
        if (brush.isValid())
            cell.colour = brush.value<QBrush>();
        row.cells.append(cell);
    }
    for (int i = 0; i < item->childCount(); ++i)
        row.children.append(copyRow(item->child(i), columns, colour, toolTips));
    return row;
}

QTreeWidgetItem* floorItem(const FloorRow& row, FloorColour colour)
{
    auto* item = new QTreeWidgetItem;
    for (int column = 0; column < row.cells.size(); ++column) {
        const FloorCell& cell = row.cells.at(column);
        item->setText(column, cell.text);
        if (!cell.toolTip.isEmpty())
            item->setToolTip(column, cell.toolTip);
        if (!cell.icon.isNull())
            item->setIcon(column, cell.icon);
        if (cell.colour.style() != Qt::NoBrush) {
            if (colour == FloorColour::Foreground)
                item->setForeground(column, cell.colour);
            else
                item->setBackground(column, cell.colour);
        }
    }
    return item;
}

// Icons are written once and referred to by index, so that the child process
// shares them between cells as the original tree does.
struct IconTable
{
    QVector<QIcon> icons;
    QHash<qint64, qint32> indexOf;

    qint32 add(const QIcon& icon)
    {
        if (icon.isNull())
            return -1;
        auto it = indexOf.constFind(icon.cacheKey());
        if (it != indexOf.constEnd())
            return *it;
        icons.append(icon);
        return indexOf[icon.cacheKey()] = qint32(icons.size() - 1);
    }
};

void collectIcons(const FloorRow& row, IconTable& table)
{
    for (const FloorCell& cell : row.cells)
        table.add(cell.icon);
    for (const FloorRow& child : row.children)
        collectIcons(child, table);
}

void writeRow(QDataStream& out, const FloorRow& row, IconTable& table)
{
    out << qint32(row.cells.size());
    for (const FloorCell& cell : row.cells)
        out << cell.text << cell.toolTip << table.add(cell.icon) << cell.colour;
    out << qint32(row.children.size());
    for (const FloorRow& child : row.children)
        writeRow(out, child, table);
}

bool readRow(QDataStream& in, FloorRow& row, const QVector<QIcon>& icons, int depth)
{
    qint32 cells = 0;
    in >> cells;
    if (cells < 0 || cells > 64)
        return false;
    row.cells.resize(cells);
    for (FloorCell& cell : row.cells) {
        qint32 icon = -1;
        in >> cell.text >> cell.toolTip >> icon >> cell.colour;
        if (icon >= icons.size())
            return false;
        if (icon >= 0)
            cell.icon = icons.at(icon);
    }
    qint32 children = 0;
    in >> children;
    if (children < 0 || (children > 0 && depth > 0))
        return false;
    row.children.resize(children);
    for (FloorRow& child : row.children) {
        if (!readRow(in, child, icons, depth + 1))
            return false;
    }
    return in.status() == QDataStream::Ok;
}

const quint32 Magic = 0x4B58464CU;   // "KXFL"

} // namespace

int FloorRows::count() const
{
    int n = rows.size();
    for (const FloorRow& row : rows)
        n += row.children.size();
    return n;
}

FloorRows copyRows(QTreeWidget* tree, FloorColour colour, bool toolTips)
{
    FloorRows result;
    result.colour = colour;
    result.toolTips = toolTips;
    const int columns = tree->columnCount();
    for (int column = 0; column < columns; ++column)
        result.header.append(tree->headerItem()->text(column));
    result.rows.reserve(tree->topLevelItemCount());
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        result.rows.append(copyRow(tree->topLevelItem(i), columns, colour, toolTips));
    result.treeSize = tree->size();
    return result;
}

void fill(QTreeWidget* tree, const FloorRows& rows)
{
    tree->setColumnCount(rows.header.size());
    tree->setHeaderLabels(rows.header);
    QList<QTreeWidgetItem*> items;
    items.reserve(rows.rows.size());
    for (const FloorRow& row : rows.rows) {
        QTreeWidgetItem* item = floorItem(row, rows.colour);
        for (const FloorRow& child : row.children)
            item->addChild(floorItem(child, rows.colour));
        items.append(item);
    }
    tree->addTopLevelItems(items);
    for (QTreeWidgetItem* item : qAsConst(items)) {
        if (item->childCount() > 0)
            item->setExpanded(true);
    }
}

bool writeRows(const QString& path, const FloorRows& rows)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    IconTable table;
    for (const FloorRow& row : rows.rows)
        collectIcons(row, table);
    QDataStream out(&file);
    out.setVersion(QDataStream::Qt_5_15);
    out << Magic << qint32(rows.colour) << rows.toolTips << rows.header << rows.treeSize << table.icons << qint32(rows.rows.size());
    for (const FloorRow& row : rows.rows)
        writeRow(out, row, table);
    return out.status() == QDataStream::Ok && file.flush();
}

bool readRows(const QString& path, FloorRows* rows)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QDataStream in(&file);
    in.setVersion(QDataStream::Qt_5_15);
    quint32 magic = 0;
    qint32 colour = 0;
    qint32 count = 0;
    QVector<QIcon> icons;
    in >> magic >> colour >> rows->toolTips >> rows->header >> rows->treeSize >> icons >> count;
    if (magic != Magic || count < 0 || in.status() != QDataStream::Ok)
        return false;
    rows->colour = colour == qint32(FloorColour::Background) ? FloorColour::Background : FloorColour::Foreground;
    rows->rows.resize(count);
    for (FloorRow& row : rows->rows) {
        if (!readRow(in, row, icons, 0))
            return false;
    }
    return true;
}

} // namespace KxBench
