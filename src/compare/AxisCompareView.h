#pragma once

#include "kxparametercustomlist_export.h"

#include <QWidget>

class DriveController;

/**
 * Sets all parameters of two drive-controller axes side by side: one row per
 * parameter that either axis has, the value on axis A and on axis B in the
 * next two columns. Rows whose displayed values differ are highlighted, a
 * check box hides the equal ones, and a button exports the comparison as an
 * HTML report.
 *
 * Typical use:
 * @code
 * AxisCompareView* view = AxisCompareView::createAxisCompareView();
 * view->setAxisA(feedController, 1);
 * view->setAxisB(spindleController, 2);
 * view->compare();
 * view->show();
 * @endcode
 *
 * The controllers belong to the application; the view does not own them.
 * GUI thread only.
 */
class KXPARAMETERCUSTOMLIST_EXPORT AxisCompareView : public QWidget
{
    Q_OBJECT

public:
    explicit AxisCompareView(QWidget* parent = nullptr);
    ~AxisCompareView() override;

    /// Creates a view without parent; the caller owns it.
    static AxisCompareView* createAxisCompareView();

    /// Names side A: a controller and the number of one of its axes. Nothing
    /// happens until compare().
    virtual void setAxisA(DriveController* controller, int axisNumber) = 0;
    /// Names side B; both sides may name axes of the same controller.
    virtual void setAxisB(DriveController* controller, int axisNumber) = 0;
    /// Builds and shows the comparison of the two sides. Both sides must have
    /// been named. May be called again with new sides.
    virtual void compare() = 0;
    /// Whether the last comparison found no differing value, or compared an
    /// axis with itself. True before any comparison.
    virtual bool axesAreEqual() const = 0;

private:
    Q_DISABLE_COPY(AxisCompareView)
};
