#pragma once

#include "KxSuiteGlobal.h"

#include <QWidget>

class DriveControllerAxis;
class ParameterCoordinate;
class ParameterCustomListHost;
class ParameterViewPrivate;
class QTreeWidget;
class QTreeWidgetItem;

/// All parameters of one axis of a drive controller (the device-wide ones
/// and those defined in the axis) in catalogue order, with the elements of
/// arrays and records as child rows. Values are edited in place (double click
/// on the value, or Enter/F2), one editor at a time. The view follows the
/// device: a changed value refreshes its row, added or removed parameters and
/// going on- or offline rebuild it, and a destroyed axis or controller leaves
/// it empty. Its context menu adds a parameter to, or removes it from, the
/// variable parameter lists of the registered ParameterCustomListHost, and
/// rows can be dragged into the lists' windows (as
/// ParameterCustomListHost::parameterMimeType()). A filter field above the
/// rows keeps those whose coordinate starts with, or whose name contains, the
/// text typed; "nur geänderte" keeps those that differ from their reference.
class KXSUITE_EXPORT ParameterView : public QWidget
{
    Q_OBJECT
public:
    enum Column {
        ColumnParameter = 0,   ///< "A12", element rows "A12[3]"
        ColumnName,            ///< in the active language
        ColumnValue,           ///< display text; bold where it differs from the reference
        ColumnReference,
        ColumnUnit,
        ColumnChanged,         ///< "*" where a value differs from its reference
        ColumnCount
    };
    enum ItemRole {
        CoordinateRole = Qt::UserRole + 1,   ///< column 0: ParameterCoordinate::toNumber()
        ElementRole,                         ///< column 0: element index, -1 on the row of an array or record
        ParameterTextRole                    ///< column 0: "A12" or "A12[3]", as passed to the list host
    };

    explicit ParameterView(QWidget* parent = nullptr);
    ~ParameterView() override;

    /// Registers the owner of the variable parameter lists for every view;
    /// not owned, stays registered until replaced (null unregisters).
    static void setParameterCustomListHost(ParameterCustomListHost* host);
    static ParameterCustomListHost* parameterCustomListHost();

    /// The axis whose parameters are shown; null shows nothing. Guarded.
    void setAxis(DriveControllerAxis* axis);
    DriveControllerAxis* axis() const;
    QTreeWidget* treeWidget() const;

    /// The row of a parameter, or of one of its elements when the parameter
    /// is an array or record and `element` is not negative; null when absent.
    QTreeWidgetItem* item(const ParameterCoordinate& coordinate, int element = -1) const;
    /// Opens the in-place editor on the value of `item`; false when the row
    /// has no value that can be written.
    bool editItem(QTreeWidgetItem* item);
    /// The open in-place editor, null when none.
    QWidget* activeEditor() const;

signals:
    /// The current row changed; the sortable address of its parameter element
    /// with the axis as living space, empty when there is no current row.
    void currentParameterChanged(const QString& sortableAddress);

protected:
    void changeEvent(QEvent* event) override;

private:
    friend class ParameterViewPrivate;
    ParameterViewPrivate* const d;
};
