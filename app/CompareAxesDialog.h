#pragma once

#include <QDialog>

#include <memory>

class CompareAxesDialogPrivate;
class DriveController;
class Project;
class ProjectHost;

/**
 * Asks for the two axes to compare: a controller and one of its axes for
 * side A and for side B. Both sides may name axes of the same controller,
 * even the same axis. Follows changes of the project's controllers while it
 * is open.
 *
 * Side B also offers "Andere Projektdatei ...": choosing it emits
 * otherProjectRequested() and goes back to the previous choice; projects
 * given to addOtherProject() then offer their controllers on side B as
 * "Name (Datei)". The dialog keeps those projects alive while it exists.
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

    /// Chooses a side; a controller the dialog does not offer, or an axis
    /// number it does not have, leaves that part of the side as it was.
    void select(Side side, DriveController* controller, int axisNumber);

    /// The chosen controller; null when there is none to choose.
    DriveController* controller(Side side) const;
    /// The chosen axis number; 0 when the chosen controller has no axis.
    int axisNumber(Side side) const;
    /// The other project the chosen controller belongs to; null for one of
    /// the open project.
    std::shared_ptr<Project> otherProject(Side side) const;

    /// Offers the controllers of @p project on side B and chooses its first axis.
    void addOtherProject(const std::shared_ptr<Project>& project);

signals:
    void otherProjectRequested();

protected:
    void changeEvent(QEvent* event) override;

private slots:
    void onHostContentChanged();
    void onControllerChosen();
    void updateButtons();

private:
    std::unique_ptr<CompareAxesDialogPrivate> const d;
};
