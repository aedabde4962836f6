#pragma once

#include <QMainWindow>

#include <memory>

class AxisCompareView;
class DriveController;
class HelpWidget;
class MainWindowPrivate;
class ParameterView;
class ChangeJournal;
class QUndoStack;
struct ChangeJournalEntry;
class Project;
class ProjectTreeWidget;

/**
 * The suite's main window: the project's controllers and axes on the left,
 * the parameters of the selected axis on the right with the help of the
 * current parameter below them.
 *
 * Problems (files that cannot be opened or saved, parts of a project that
 * were left out) go to the status bar and to problemReported(); message
 * boxes and confirmations appear only while the window is interactive.
 */
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    /// @p typesDirectory: the controller types to offer (every "*.json" in it).
    explicit MainWindow(const QString& typesDirectory = defaultTypesDirectory(), QWidget* parent = nullptr);
    ~MainWindow() override;

    static QString defaultDataDirectory();
    static QString defaultTypesDirectory();
    /// The sample project the application opens when started without a file.
    static QString defaultProjectPath();

    Project* project() const;
    /// The change journal of the open project.
    ChangeJournal* changeJournal() const;
    /// The undo stack of the open project's value writes.
    QUndoStack* undoStack() const;
    ProjectTreeWidget* projectTree() const;
    ParameterView* parameterView() const;
    HelpWidget* helpWidget() const;

    /// Default true. While false, no message box or confirmation is shown.
    void setInteractive(bool interactive);
    bool isInteractive() const;

    /// Opens a project file or a device description; on failure the current
    /// project stays open and the reason is reported.
    bool openFile(const QString& path);
    /// Saves the project under @p path, which becomes its file.
    bool saveFile(const QString& path);

    /// Shows the two axes side by side in a new comparison window over this
    /// one; null when a controller does not have the axis named. @p projectB:
    /// the other project @p controllerB comes from, if it is not this one's.
    AxisCompareView* compareAxes(DriveController* controllerA, int axisNumberA, DriveController* controllerB,
                                 int axisNumberB, const std::shared_ptr<Project>& projectB = nullptr);

    /// Reads a project file or device description to compare with, apart
    /// from the open project and never saved; null when it cannot be read,
    /// which is reported like a file that cannot be opened.
    std::shared_ptr<Project> openForComparison(const QString& path);

signals:
    void problemReported(const QString& message);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private slots:
    void onNew();
    void onOpen();
    void onRecentProjectChosen(const QString& path);
    void onSave();
    void onSaveAs();
    void onAddController();
    void onRemoveController();
    void onAddAxis();
    void onRemoveAxis();
    void onToggleOnline();
    void onShowParameterCustomLists();
    void onCompareAxes();
    void onShowChangeJournal();
    void onExportCommissioningRecord();
    void onShowJournalEntry(const ChangeJournalEntry& entry);
    void onOtherProjectRequested();
    void onComparisonReportWritten(const QString& path);
    void onLanguageTriggered(QAction* action);
    void onActiveLanguageChanged(int language);
    void onLevelSelected(int index);
    void onCurrentLevelChanged(unsigned int level);
    void onTreeSelectionChanged();
    void onCurrentParameterChanged(const QString& sortableAddress);
    void onProjectReplaced();
    void onProjectStateChanged();

private:
    friend class MainWindowPrivate;
    std::unique_ptr<MainWindowPrivate> const d;
};
