#pragma once

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class AxisCompareView;
class DriveController;
class Project;
class QWidget;

/**
 * The axis comparison windows of the main window. Each is a window of its
 * own over the main window, deleted when closed, and closed as soon as one
 * of the controllers or axes it compares leaves the project.
 *
 * Side B may be an axis of a project read from another file; that project
 * stays alive while a window compares one of its axes, and is released once
 * the last such window is gone.
 *
 * reportWritten() tells when a comparison window has just written its HTML
 * report, so that the application can offer to open it.
 */
class AxisComparisons : public QObject
{
    Q_OBJECT

public:
    explicit AxisComparisons(QWidget* mainWindow);
    ~AxisComparisons() override;

    /// Compares the two axes in a new window and shows it. Null when either
    /// controller does not have the axis. @p projectB: the other project that
    /// @p controllerB belongs to, kept for as long as the window exists.
    AxisCompareView* open(DriveController* controllerA, int axisNumberA, DriveController* controllerB,
                          int axisNumberB, const std::shared_ptr<Project>& projectB = nullptr);

    /// The open comparison windows, oldest first.
    QList<AxisCompareView*> views() const;

    /// Deletes every comparison window at once.
    void closeAll();

signals:
    void reportWritten(const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void onExportPressed();
    void onExportClicked();
    void releaseClosedViews();

private:
    struct Comparison
    {
        QPointer<AxisCompareView> view;
        QPointer<DriveController> controllerA;
        int axisNumberA = 0;
        QPointer<DriveController> controllerB;
        int axisNumberB = 0;
        std::shared_ptr<Project> projectB;
    };
    static void updateTitle(const Comparison& comparison);

    struct ReportFile
    {
        QString path;
        QDateTime modified;
    };
    static ReportFile rememberedReport();

    QWidget* const m_mainWindow;
    QList<Comparison> m_comparisons;
    ReportFile m_reportBeforeExport;
};
