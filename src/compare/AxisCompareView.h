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

    /// Names the project file side B was read from when it is not part of
    /// the open project (shown under side B's column caption); empty when it is.
    virtual void setFileOfSideB(const QString& fileName) = 0;
    /// The parameters of the last comparison, and how many of them show a
    /// different value on the two axes, in the parameter's own row or in any
    /// of its element rows. They follow values as they change.
    virtual int parameterCount() const = 0;
    virtual int differingParameterCount() const = 0;
    /// "13 von 633 Parametern unterschiedlich"; empty for an axis compared
    /// with itself and before any comparison.
    virtual QString summaryText() const = 0;
    /// Makes the next (previous) row whose two values differ the current one,
    /// after (before) the current row and around the end; F7 and Shift+F7 do
    /// the same. False when no visible row differs.
    virtual bool goToNextDifference() = 0;
    virtual bool goToPreviousDifference() = 0;

signals:
    /// The summary text changed: after a comparison, and as values change.
    void summaryChanged(const QString& summary);

private:
    Q_DISABLE_COPY(AxisCompareView)
};
