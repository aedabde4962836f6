#pragma once

#include <QPointer>
#include <QTreeWidget>

class DriveController;
class DriveControllerAxis;
class ProjectHost;

/**
 * The project's controllers and their axes: controller rows
 * "Name (descriptive text)" with the online/fault state icon, axis rows
 * "Achse n: Name" with the marking colour. Follows the host and every
 * controller; keeps the current row across rebuilds when it still exists.
 */
class ProjectTreeWidget : public QTreeWidget
{
    Q_OBJECT

public:
    enum Role { AxisNumberRole = Qt::UserRole + 1, MarkingColorRole };

    /// "online", "verbindet ..." or "offline", as the tree shows it.
    static QString onlineStateText(const DriveController* controller);

    explicit ProjectTreeWidget(QWidget* parent = nullptr);
    ~ProjectTreeWidget() override;

    void setHost(ProjectHost* host);
    ProjectHost* host() const;

    /// The controller of the current row (a controller or one of its axes).
    DriveController* currentController() const;
    /// The axis of the current row; null on a controller row.
    DriveControllerAxis* currentAxis() const;
    DriveController* controllerOf(const QTreeWidgetItem* item) const;

    QTreeWidgetItem* controllerItem(const DriveController* controller) const;
    QTreeWidgetItem* axisItem(const DriveController* controller, int number) const;
    bool selectController(const DriveController* controller);
    bool selectAxis(const DriveController* controller, int number);

signals:
    /// The current row changed, or the tree was rebuilt.
    void currentSelectionChanged(DriveController* controller, DriveControllerAxis* axis);
    /// A controller's or axis' name, state or colour changed and its row shows it.
    void refreshed();

public slots:
    void rebuild();
    void refresh();

protected:
    void changeEvent(QEvent* event) override;

private slots:
    void onCurrentItemChanged();

private:
    void fillController(QTreeWidgetItem* item, DriveController* controller) const;
    void fillAxis(QTreeWidgetItem* item, DriveController* controller, int number) const;

    QPointer<ProjectHost> m_host;
    QPointer<DriveController> m_lastController;
    QPointer<DriveControllerAxis> m_lastAxis;
    bool m_forceSignal = false;
};
