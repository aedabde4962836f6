#pragma once

#include <QTreeWidget>

class DriveController;
class DriveControllerAxis;
class QMenu;
class SelectDeviceWidget;

class SelectDeviceWidgetPrivate : public QTreeWidget
{
    Q_OBJECT

public:
    explicit SelectDeviceWidgetPrivate(SelectDeviceWidget* q);

    QList<QTreeWidgetItem*> allItems() const;
    QTreeWidgetItem* itemOf(const QObject* object, int role) const;
    QTreeWidgetItem* controllerItem(DriveController* controller) const;
    QTreeWidgetItem* axisItem(DriveControllerAxis* axis) const;
    static DriveController* itemController(const QTreeWidgetItem* item);
    static DriveControllerAxis* itemAxis(const QTreeWidgetItem* item);

    SelectDeviceWidget* const q;
    QMenu* contextMenu = nullptr;

public slots:
    void onCustomContextMenuRequested(QPoint point);
    void checkAllEntries();
    void uncheckAllEntries();

private:
    void setAllAxisItems(Qt::CheckState state);
};
