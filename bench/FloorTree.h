#pragma once

#include <QBrush>
#include <QIcon>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>

class QTreeWidget;

namespace KxBench {

// The floor of a tree case: a plain QTreeWidget showing the very rows one of
// our trees shows, filled the way a straightforward program would. The rows
// are copied from our tree once, outside any timed region.

struct FloorCell
{
    QString text;
    QString toolTip;
    QIcon icon;        // the shared instance our tree shows
    QBrush colour;     // Qt::NoBrush when the cell has none
};

struct FloorRow
{
    QVector<FloorCell> cells;
    QVector<FloorRow> children;
};

enum class FloorColour { Foreground, Background };

struct FloorRows
{
    FloorColour colour = FloorColour::Foreground;
    bool toolTips = true;
    QStringList header;
    QVector<FloorRow> rows;
    QSize treeSize;    // of our tree, so that both paint as many rows
    int count() const; // top-level and child rows
};

// Lists carry tool tips and foreground colours; the comparison paints
// backgrounds and has no tool tips worth copying.
FloorRows copyRows(QTreeWidget* tree, FloorColour colour, bool toolTips);

// Fills an empty tree: items built, added in one call, parents expanded.
void fill(QTreeWidget* tree, const FloorRows& rows);

// The memory child builds the floor in a process of its own from a file.
bool writeRows(const QString& path, const FloorRows& rows);
bool readRows(const QString& path, FloorRows* rows);

} // namespace KxBench
