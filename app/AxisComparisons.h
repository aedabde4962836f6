#pragma once

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class AxisCompareView;
class DriveController;
class QWidget;

/**
 * The axis comparison windows of the main window. Each is a window of its
 * own over the main window, deleted when closed, and closed as soon as one
 * of the controllers or axes it compares leaves the project.
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
    /// controller does not have the axis.
    AxisCompareView* open(DriveController* controllerA, int axisNumberA, DriveController* controllerB,
                          int axisNumberB);

    /// The open comparison windows, oldest first.
    QList<AxisCompareView*> views() const;

    /// Deletes every comparison window at once.
    void closeAll();

signals:
    void reportWritten(const QString& path);

private slots:
    void onExportPressed();
    void onExportClicked();

private:
    struct ReportFile
    {
        QString path;
        QDateTime modified;
    };
    static ReportFile rememberedReport();

    QWidget* const m_mainWindow;
    QList<QPointer<AxisCompareView>> m_views;
    ReportFile m_reportBeforeExport;
};
