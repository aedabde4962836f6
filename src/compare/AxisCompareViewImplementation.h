#pragma once

#include "AxisCompareView.h"

#include "ParameterCoordinate.h"

#include "ui_AxisCompareView.h"

#include <QPointer>

#include <memory>

class DriveController;
class DriveControllerAxis;
class ParameterCustomList;
class QTimer;
class QTreeWidgetItem;
namespace KxTreeItem { class CompactRow; }

// The comparison is shown by a list tree over a private, unsaved custom list
// that holds the union of both axes' parameters and has the two axes as its
// columns; the view compares the texts that the tree displays.
class AxisCompareViewImplementation : public AxisCompareView
{
    Q_OBJECT

public:
    explicit AxisCompareViewImplementation(QWidget* parent = nullptr);
    ~AxisCompareViewImplementation() override;

    void setAxisA(DriveController* controller, int axisNumber) override;
    void setAxisB(DriveController* controller, int axisNumber) override;
    void compare() override;
    bool axesAreEqual() const override;
    void setFileOfSideB(const QString& fileName) override;
    int parameterCount() const override;
    int differingParameterCount() const override;
    QString summaryText() const override;
    bool goToNextDifference() override;
    bool goToPreviousDifference() override;

    // The report as onExportToHtml() writes it.
    QString reportDocument() const;

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private slots:
    void updateView();
    void onExportToHtml();
    void onItemChanged(QTreeWidgetItem* pItem, int column);

private:
    bool differencesOnly() const;
    void colorRow(QTreeWidgetItem* row, bool diffOnly);
    // Later: the caller repaints the whole view when it is done.
    enum class Repaint { Now, Later };
    void paintRow(QTreeWidgetItem* row, bool highlighted, Repaint repaint = Repaint::Now);
    void followItemChanges(bool follow);
    bool rowDiffers(QTreeWidgetItem* row);
    void onRowFilled(QTreeWidgetItem* row);
    void markRow(QTreeWidgetItem* row, KxTreeItem::CompactRow* marked, bool diffOnly);
    void showRow(QTreeWidgetItem* row, bool shown, int position = -1, const QModelIndex& parent = QModelIndex(),
                 KxTreeItem::CompactRow* marked = nullptr);
    void filterElements(QTreeWidgetItem* row, int position, bool diffOnly);
    void markBold(QTreeWidgetItem* row, KxTreeItem::CompactRow* marked, bool differs);
    void scheduleSummary();
    void updateSummary();
    void showSummary();
    bool goToDifference(int step);
    void makeFirstDifferenceCurrent();

    Ui::AxisCompareView ui;
    const std::unique_ptr<ParameterCustomList> workingList;
    // The application owns the controllers and may delete them at any time.
    QPointer<DriveController> controllerA;
    QPointer<DriveController> controllerB;
    int axisNumberA = 1;
    int axisNumberB = 1;
    bool sameAxis = false;
    bool allEqual = true;
    QList<QPointer<DriveControllerAxis>> comparedAxes;
    QList<ParameterCoordinate> comparedCoordinates;
    int differingParameters = 0;
    QString summary;
    QTimer* summaryTimer = nullptr;
};
