#pragma once

#include <QPointer>
#include <QTreeWidget>

class DriveController;
class DriveControllerAxis;
class QAction;
class QDialog;
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

    void retranslate();
    // The size the user last gave the dialog, else one that fits the names.
    QSize dialogSize() const;

    SelectDeviceWidget* const q;
    QMenu* contextMenu = nullptr;
    QAction* checkAllAction = nullptr;
    QAction* uncheckAllAction = nullptr;
    // The dialog of a running exec(), which is not the widget's parent before.
    QPointer<QDialog> dialog;

public slots:
    void onCustomContextMenuRequested(QPoint point);
    void checkAllEntries();
    void uncheckAllEntries();

protected:
    void changeEvent(QEvent* event) override;

private:
    void setAllAxisItems(Qt::CheckState state);
};
