#include "AxisComparisons.h"

#include "AppIcons.h"
#include "AxisCompareView.h"
#include "DefaultPathSetting.h"
#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "Project.h"

#include <QAbstractButton>
#include <QEvent>
#include <QFileInfo>
#include <QMainWindow>
#include <QStatusBar>
#include <QWidget>

#include <memory>

namespace {

// The object name of the report button in the comparison's form.
const char* const exportButtonName = "exportToHtml";

QString sideText(const DriveController* controller, int axisNumber, const Project* project)
{
    if (!controller)
        return QString();
    const QString file = project ? project->sourceFileName() : QString();
    if (file.isEmpty())
        return AxisComparisons::tr("%1, %2").arg(controller->name(), controller->axisName(axisNumber));
    return AxisComparisons::tr("%1 (%2), %3").arg(controller->name(), file, controller->axisName(axisNumber));
}

} // namespace

AxisComparisons::AxisComparisons(QWidget* mainWindow)
    : QObject(mainWindow)
    , m_mainWindow(mainWindow)
{
}

AxisComparisons::~AxisComparisons()
{
    closeAll();
}

AxisCompareView* AxisComparisons::open(DriveController* controllerA, int axisNumberA, DriveController* controllerB,
                                       int axisNumberB, const std::shared_ptr<Project>& projectB)
{
    DriveControllerAxis* axisA = controllerA ? controllerA->axis(axisNumberA) : nullptr;
    DriveControllerAxis* axisB = controllerB ? controllerB->axis(axisNumberB) : nullptr;
    if (!axisA || !axisB)
        return nullptr;

    AxisCompareView* view = AxisCompareView::createAxisCompareView();
    view->setParent(m_mainWindow, Qt::Window);
    view->setAttribute(Qt::WA_DeleteOnClose);
    const Comparison comparison{view, controllerA, axisNumberA, controllerB, axisNumberB, projectB};
    updateTitle(comparison);
    view->installEventFilter(this);
    view->setWindowIcon(AppIcons::icon(QStringLiteral("CompareAxes")));
    // Two value columns beside long parameter names need more than the form's size.
    view->resize(view->size().expandedTo(QSize(960, 640)));
    view->setAxisA(controllerA, axisNumberA);
    view->setAxisB(controllerB, axisNumberB);
    if (projectB)
        view->setFileOfSideB(projectB->sourceFileName());
    // The count also goes to the main window, where it stays in sight while
    // the comparison is worked through.
    if (auto* mainWindow = qobject_cast<QMainWindow*>(m_mainWindow)) {
        connect(view, &AxisCompareView::summaryChanged, mainWindow,
                [mainWindow](const QString& summary) { mainWindow->statusBar()->showMessage(summary); });
    }
    view->compare();

    // A comparison with a side gone would compare against nothing.
    for (QObject* side : {static_cast<QObject*>(controllerA), static_cast<QObject*>(controllerB),
                          static_cast<QObject*>(axisA), static_cast<QObject*>(axisB)})
        connect(side, &QObject::destroyed, view, &QWidget::close);

    if (auto* button = view->findChild<QAbstractButton*>(QLatin1String(exportButtonName))) {
        connect(button, &QAbstractButton::pressed, this, &AxisComparisons::onExportPressed);
        connect(button, &QAbstractButton::clicked, this, &AxisComparisons::onExportClicked);
    }

    connect(view, &QObject::destroyed, this, &AxisComparisons::releaseClosedViews, Qt::QueuedConnection);
    m_comparisons.append(comparison);
    view->show();
    view->raise();
    view->activateWindow();
    return view;
}

QList<AxisCompareView*> AxisComparisons::views() const
{
    QList<AxisCompareView*> open;
    for (const Comparison& comparison : m_comparisons) {
        if (comparison.view)
            open.append(comparison.view);
    }
    return open;
}

void AxisComparisons::closeAll()
{
    const QList<AxisCompareView*> open = views();
    qDeleteAll(open);
    m_comparisons.clear();
}

bool AxisComparisons::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        for (const Comparison& comparison : qAsConst(m_comparisons)) {
            if (comparison.view == watched)
                updateTitle(comparison);
        }
    }
    return QObject::eventFilter(watched, event);
}

void AxisComparisons::updateTitle(const Comparison& comparison)
{
    if (comparison.view)
        comparison.view->setWindowTitle(tr("Achsvergleich – A: %1 – B: %2")
                                            .arg(sideText(comparison.controllerA, comparison.axisNumberA, nullptr),
                                                 sideText(comparison.controllerB, comparison.axisNumberB,
                                                          comparison.projectB.get())));
}

// Queued after a window is destroyed: a project released inside the window's
// destruction would destroy controllers the half-destroyed window still watches.
void AxisComparisons::releaseClosedViews()
{
    for (int i = m_comparisons.size() - 1; i >= 0; --i) {
        if (!m_comparisons.at(i).view)
            m_comparisons.removeAt(i);
    }
}

// The view writes its report on its own and does not say where; the remembered
// report path of the file dialog tells, once the button's own handling is done.
AxisComparisons::ReportFile AxisComparisons::rememberedReport()
{
    const std::unique_ptr<DefaultPathSetting> setting(
        DefaultPathSetting::create(DefaultPathSetting::ComparisonReports));
    const QFileInfo info(setting->suggestedPath());
    return {info.absoluteFilePath(), info.exists() ? info.lastModified() : QDateTime()};
}

void AxisComparisons::onExportPressed()
{
    m_reportBeforeExport = rememberedReport();
}

void AxisComparisons::onExportClicked()
{
    const ReportFile after = rememberedReport();
    const ReportFile before = m_reportBeforeExport;
    m_reportBeforeExport = {};
    if (!after.modified.isValid())
        return;
    if (after.path != before.path || after.modified != before.modified)
        emit reportWritten(after.path);
}
