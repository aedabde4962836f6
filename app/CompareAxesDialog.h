#pragma once

#include <QDialog>

#include <memory>

class CompareAxesDialogPrivate;
class DriveController;
class ProjectHost;

/**
 * Asks for the two axes to compare: a controller and one of its axes for
 * side A and for side B. Both sides may name axes of the same controller,
 * even the same axis. Follows changes of the project's controllers while it
 * is open.
 *
 * Form widgets: "controllerComboBoxA", "axisComboBoxA", "controllerComboBoxB",
 * "axisComboBoxB", "buttonBox".
 */
class CompareAxesDialog : public QDialog
{
    Q_OBJECT

public:
    enum Side { SideA, SideB };

    explicit CompareAxesDialog(ProjectHost* host, QWidget* parent = nullptr);
    ~CompareAxesDialog() override;

    /// Chooses a side; a controller the project does not have, or an axis
    /// number it does not have, leaves that part of the side as it was.
    void select(Side side, DriveController* controller, int axisNumber);

    /// The chosen controller; null when the project has none.
    DriveController* controller(Side side) const;
    /// The chosen axis number; 0 when the chosen controller has no axis.
    int axisNumber(Side side) const;

private slots:
    void onHostContentChanged();
    void onControllerChosen();
    void updateButtons();

private:
    std::unique_ptr<CompareAxesDialogPrivate> const d;
};
