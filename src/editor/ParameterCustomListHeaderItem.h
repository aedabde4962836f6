#pragma once

#include <QIcon>
#include <QTreeWidgetItem>

class DriveControllerAxis;
class ParameterCustomListInformation;
class ParameterCustomListTreeWidget;

// The header row of a list tree: one column per axis of the list, captioned
// with controller and axis name and marked with the axis' state icon.
class ParameterCustomListHeaderItem : public QTreeWidgetItem
{
public:
    explicit ParameterCustomListHeaderItem(ParameterCustomListTreeWidget* tree);

    void setParameterCustomList(ParameterCustomListInformation* list);

    // Sets the tree's column count from the list's axes and places each
    // axis' caption, icon and tool tip in its logical column.
    void updateHeader();

    // The icon of an axis column; it tells whether the axis' controller is
    // online and whether the axis reports a fault.
    static QIcon axisIcon(DriveControllerAxis* axis);

private:
    ParameterCustomListInformation* list = nullptr;
    ParameterCustomListTreeWidget* const tree;
};
