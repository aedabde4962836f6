#pragma once

#include <QCoreApplication>
#include <QString>

class DriveController;
class QTreeWidget;
class QTreeWidgetItem;

// The HTML report of an axis comparison, built from the rows of the compare
// view's tree as they are at that moment (hidden rows included).
class AxisCompareReport
{
    Q_DECLARE_TR_FUNCTIONS(AxisCompareReport)

public:
    // What the heading says about one side.
    struct Side
    {
        QString controllerName;   // name, " - ", descriptive text
        QString axisName;
    };
    static Side side(const DriveController* controller, int axisNumber);

    // The test by which a row counts as differing, on screen and in the report.
    static bool valuesDiffer(const QTreeWidgetItem* row);

    // The heading and the table: the tree's header row, then every top-level
    // row with its element rows.
    static QString body(const QTreeWidget* tree, const Side& a, const Side& b);
    // One row at level 0 (header and top-level rows) or 1 (element rows),
    // followed by its element rows.
    static QString rowText(const QTreeWidgetItem* row, int level);
    static QString document(const QString& body);

    // Writes UTF-8 without byte-order mark; false when the file cannot be
    // opened or written.
    static bool write(const QString& fileName, const QString& document);
};
