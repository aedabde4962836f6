#include "MainWindow.h"

#include "AddControllerDialog.h"
#include "AppIcons.h"
#include "AxisCompareView.h"
#include "AxisComparisons.h"
#include "ChangeJournal.h"
#include "ChangeJournalWindow.h"
#include "ChangeRecorder.h"
#include "CommissioningRecord.h"
#include "CommissioningRecordDialog.h"
#include "CompareAxesDialog.h"
#include "ControllerConnections.h"
#include "DefaultPathSetting.h"
#include "DeviceType.h"
#include "DeviceTypeLibrary.h"
#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "HelpSystem.h"
#include "HelpWidget.h"
#include "LanguageManager.h"
#include "ModbusConnection.h"
#include "ParameterAddress.h"
#include "ParameterCustomListRepositoryView.h"
#include "ParameterDefinition.h"
#include "ParameterProvider.h"
#include "ParameterView.h"
#include "Project.h"
#include "ProjectCustomLists.h"
#include "ProjectHost.h"
#include "ProjectTreeWidget.h"
#include "RecentProjects.h"
#include "System.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSplitter>
#include <QDate>
#include <QStandardPaths>
#include <QUndoStack>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>

namespace {

constexpr int maxLevel = 3;
constexpr int maxListedProblems = 25;

} // namespace

class MainWindowPrivate
{
public:
    explicit MainWindowPrivate(MainWindow* window) : q(window) {}

    void createWidgets();
    void createActions();
    void createMenusAndToolBar();
    void retranslate();
    void updateTitle();
    void updateActions();
    void report(const QString& message);
    void retranslateUndo();
    void reportProblem(const QString& title, const QString& message, const QStringList& details = {});
    bool confirm(const QString& title, const QString& question);
    bool maybeSave();
    QString withPath(const QString& reason, const QString& path) const;
    QString projectFileFilter() const;
    QString suggestedSavePath() const;
    QString projectDisplayName() const;
    void offerToOpenReport(const QString& path);

    MainWindow* const q;
    QString typesDirectory;
    Project* project = nullptr;
    RecentProjects* recentProjects = nullptr;
    std::unique_ptr<ProjectCustomLists> customLists;
    AxisComparisons* comparisons = nullptr;
    std::unique_ptr<ChangeJournal> journal;
    std::unique_ptr<ChangeRecorder> recorder;
    QMenu* editMenu = nullptr;
    QAction* undoAction = nullptr;
    QAction* redoAction = nullptr;
    QPointer<ChangeJournalWindow> journalWindow;
    ControllerConnections* connections = nullptr;
    // The list view once it was given its first size and place.
    QPointer<QWidget> placedListView;
    ProjectTreeWidget* tree = nullptr;
    ParameterView* parameterView = nullptr;
    HelpWidget* help = nullptr;
    QSplitter* mainSplitter = nullptr;
    QSplitter* rightSplitter = nullptr;
    QComboBox* levelComboBox = nullptr;
    QLabel* levelLabel = nullptr;
    bool interactive = true;

    QMenu* fileMenu = nullptr;
    QMenu* recentMenu = nullptr;
    QMenu* projectMenu = nullptr;
    QMenu* extrasMenu = nullptr;
    QMenu* languageMenu = nullptr;
    QToolBar* toolBar = nullptr;
    QAction* newAction = nullptr;
    QAction* openAction = nullptr;
    QAction* saveAction = nullptr;
    QAction* saveAsAction = nullptr;
    QAction* quitAction = nullptr;
    QAction* addControllerAction = nullptr;
    QAction* removeControllerAction = nullptr;
    QAction* addAxisAction = nullptr;
    QAction* removeAxisAction = nullptr;
    QAction* onlineAction = nullptr;
    QAction* customListsAction = nullptr;
    QAction* compareAxesAction = nullptr;
    QAction* journalAction = nullptr;
    QAction* recordAction = nullptr;
    QActionGroup* languageGroup = nullptr;
};

void MainWindowPrivate::createWidgets()
{
    tree = new ProjectTreeWidget;
    parameterView = new ParameterView;
    parameterView->setObjectName(QStringLiteral("parameterView"));
    help = new HelpWidget;
    help->setObjectName(QStringLiteral("helpWidget"));
    help->initialize(System::instance().helpSystem(QStringLiteral("parameter")));

    rightSplitter = new QSplitter(Qt::Vertical);
    rightSplitter->setObjectName(QStringLiteral("splitterRight"));
    rightSplitter->addWidget(parameterView);
    rightSplitter->addWidget(help);
    rightSplitter->setStretchFactor(0, 4);
    rightSplitter->setStretchFactor(1, 1);

    mainSplitter = new QSplitter(Qt::Horizontal);
    mainSplitter->setObjectName(QStringLiteral("splitterMain"));
    mainSplitter->addWidget(tree);
    mainSplitter->addWidget(rightSplitter);
    mainSplitter->setStretchFactor(0, 1);
    mainSplitter->setStretchFactor(1, 3);
    mainSplitter->setSizes({280, 840});
    q->setCentralWidget(mainSplitter);

    levelLabel = new QLabel;
    levelComboBox = new QComboBox;
    levelComboBox->setObjectName(QStringLiteral("accessLevelComboBox"));
    for (int level = 0; level <= maxLevel; ++level)
        levelComboBox->addItem(QString(), level);
    levelLabel->setBuddy(levelComboBox);
}

void MainWindowPrivate::createActions()
{
    const auto make = [this](const char* objectName, const QString& icon = QString()) {
        auto* action = new QAction(q);
        action->setObjectName(QLatin1String(objectName));
        if (!icon.isEmpty())
            action->setIcon(AppIcons::icon(icon));
        return action;
    };
    newAction = make("actionNew", QStringLiteral("New"));
    newAction->setShortcut(QKeySequence::New);
    openAction = make("actionOpen", QStringLiteral("Open"));
    openAction->setShortcut(QKeySequence::Open);
    saveAction = make("actionSave", QStringLiteral("Save"));
    saveAction->setShortcut(QKeySequence::Save);
    saveAsAction = make("actionSaveAs");
    saveAsAction->setShortcut(QKeySequence::SaveAs);
    quitAction = make("actionQuit");
    quitAction->setShortcut(QKeySequence::Quit);
    quitAction->setMenuRole(QAction::QuitRole);
    addControllerAction = make("actionAddController", QStringLiteral("AddController"));
    removeControllerAction = make("actionRemoveController", QStringLiteral("RemoveController"));
    addAxisAction = make("actionAddAxis", QStringLiteral("AddAxis"));
    removeAxisAction = make("actionRemoveAxis", QStringLiteral("RemoveAxis"));
    onlineAction = make("actionOnline", QStringLiteral("Online"));
    onlineAction->setCheckable(true);
    customListsAction = make("actionParameterCustomLists", QStringLiteral("ParameterCustomList"));
    compareAxesAction = make("actionCompareAxes", QStringLiteral("CompareAxes"));
    journalAction = make("actionChangeJournal");
    recordAction = make("actionCommissioningRecord");

    languageGroup = new QActionGroup(q);
    languageGroup->setExclusive(true);
    LanguageManager* languages = LanguageManager::instance();
    for (int language : languages->languages()) {
        QAction* action = languageGroup->addAction(languages->languageName(language));
        action->setObjectName(QStringLiteral("actionLanguage%1").arg(language));
        action->setData(language);
        action->setCheckable(true);
        action->setChecked(language == languages->activeLanguage());
    }

    QObject::connect(newAction, &QAction::triggered, q, &MainWindow::onNew);
    QObject::connect(openAction, &QAction::triggered, q, &MainWindow::onOpen);
    QObject::connect(saveAction, &QAction::triggered, q, &MainWindow::onSave);
    QObject::connect(saveAsAction, &QAction::triggered, q, &MainWindow::onSaveAs);
    QObject::connect(quitAction, &QAction::triggered, q, &QWidget::close);
    QObject::connect(addControllerAction, &QAction::triggered, q, &MainWindow::onAddController);
    QObject::connect(removeControllerAction, &QAction::triggered, q, &MainWindow::onRemoveController);
    QObject::connect(addAxisAction, &QAction::triggered, q, &MainWindow::onAddAxis);
    QObject::connect(removeAxisAction, &QAction::triggered, q, &MainWindow::onRemoveAxis);
    QObject::connect(onlineAction, &QAction::triggered, q, &MainWindow::onToggleOnline);
    QObject::connect(customListsAction, &QAction::triggered, q, &MainWindow::onShowParameterCustomLists);
    QObject::connect(compareAxesAction, &QAction::triggered, q, &MainWindow::onCompareAxes);
    QObject::connect(journalAction, &QAction::triggered, q, &MainWindow::onShowChangeJournal);
    QObject::connect(recordAction, &QAction::triggered, q, &MainWindow::onExportCommissioningRecord);
    QObject::connect(languageGroup, &QActionGroup::triggered, q, &MainWindow::onLanguageTriggered);
}

void MainWindowPrivate::createMenusAndToolBar()
{
    fileMenu = q->menuBar()->addMenu(QString());
    fileMenu->setObjectName(QStringLiteral("menuFile"));
    fileMenu->addActions({newAction, openAction});
    recentMenu = fileMenu->addMenu(QString());
    recentProjects = new RecentProjects(recentMenu);
    QObject::connect(recentProjects, &RecentProjects::fileChosen, q, &MainWindow::onRecentProjectChosen);
    fileMenu->addActions({saveAction, saveAsAction});
    fileMenu->addSeparator();
    fileMenu->addAction(recordAction);
    fileMenu->addSeparator();
    fileMenu->addAction(quitAction);

    editMenu = q->menuBar()->addMenu(QString());
    editMenu->setObjectName(QStringLiteral("menuEdit"));

    projectMenu = q->menuBar()->addMenu(QString());
    projectMenu->setObjectName(QStringLiteral("menuProject"));
    projectMenu->addActions({addControllerAction, removeControllerAction});
    projectMenu->addSeparator();
    projectMenu->addActions({addAxisAction, removeAxisAction});
    projectMenu->addSeparator();
    projectMenu->addAction(onlineAction);
    projectMenu->addActions({connections->connectionAction(), connections->simulatorAction()});

    extrasMenu = q->menuBar()->addMenu(QString());
    extrasMenu->setObjectName(QStringLiteral("menuExtras"));
    extrasMenu->addActions({customListsAction, compareAxesAction, journalAction});

    languageMenu = q->menuBar()->addMenu(QString());
    languageMenu->setObjectName(QStringLiteral("menuLanguage"));
    languageMenu->addActions(languageGroup->actions());

    toolBar = q->addToolBar(QString());
    toolBar->setObjectName(QStringLiteral("toolBarMain"));
    toolBar->addActions({newAction, openAction, saveAction});
    toolBar->addSeparator();
    toolBar->addActions({addControllerAction, removeControllerAction, addAxisAction, removeAxisAction});
    toolBar->addSeparator();
    toolBar->addActions({onlineAction, connections->simulatorAction()});
    toolBar->addSeparator();
    toolBar->addActions({customListsAction, compareAxesAction});
    toolBar->addSeparator();
    toolBar->addWidget(levelLabel);
    toolBar->addWidget(levelComboBox);
}

void MainWindowPrivate::retranslate()
{
    fileMenu->setTitle(MainWindow::tr("&Datei"));
    editMenu->setTitle(MainWindow::tr("&Bearbeiten"));
    retranslateUndo();
    projectMenu->setTitle(MainWindow::tr("&Projekt"));
    extrasMenu->setTitle(MainWindow::tr("E&xtras"));
    languageMenu->setTitle(MainWindow::tr("&Sprache"));
    toolBar->setWindowTitle(MainWindow::tr("Werkzeugleiste"));
    newAction->setText(MainWindow::tr("&Neu"));
    openAction->setText(MainWindow::tr("Ö&ffnen ..."));
    recentMenu->setTitle(MainWindow::tr("&Zuletzt geöffnet"));
    recentProjects->refreshMenu();
    saveAction->setText(MainWindow::tr("&Speichern"));
    saveAsAction->setText(MainWindow::tr("Speichern &unter ..."));
    quitAction->setText(MainWindow::tr("&Beenden"));
    addControllerAction->setText(MainWindow::tr("Regler &hinzufügen ..."));
    removeControllerAction->setText(MainWindow::tr("Regler &entfernen"));
    addAxisAction->setText(MainWindow::tr("&Achse hinzufügen ..."));
    removeAxisAction->setText(MainWindow::tr("Achse en&tfernen"));
    onlineAction->setText(MainWindow::tr("&Online"));
    onlineAction->setToolTip(MainWindow::tr("Den gewählten Regler online oder offline schalten"));
    customListsAction->setText(MainWindow::tr("&Variable Parameterlisten"));
    customListsAction->setToolTip(MainWindow::tr("Variable Parameterlisten"));
    compareAxesAction->setText(MainWindow::tr("&Achsen vergleichen ..."));
    compareAxesAction->setToolTip(MainWindow::tr("Achsen vergleichen ..."));
    journalAction->setText(MainWindow::tr("Änderungs&protokoll"));
    recordAction->setText(MainWindow::tr("&Inbetriebnahmeprotokoll exportieren ..."));
    connections->retranslate();
    levelLabel->setText(MainWindow::tr(" &Zugriffsebene: "));
    for (int i = 0; i < levelComboBox->count(); ++i)
        levelComboBox->setItemText(i, MainWindow::tr("Ebene %1").arg(levelComboBox->itemData(i).toInt()));
    updateTitle();
}

QString MainWindowPrivate::projectDisplayName() const
{
    if (!project->filePath().isEmpty())
        return QFileInfo(project->filePath()).fileName();
    if (!project->descriptionPath().isEmpty())
        return MainWindow::tr("Unbenannt (aus %1)").arg(QFileInfo(project->descriptionPath()).fileName());
    return MainWindow::tr("Unbenannt");
}

void MainWindowPrivate::updateTitle()
{
    q->setWindowTitle(MainWindow::tr("%1[*] – KX Suite").arg(projectDisplayName()));
    q->setWindowModified(project->isModified());
}

void MainWindowPrivate::updateActions()
{
    DriveController* controller = tree->currentController();
    DriveControllerAxis* axis = tree->currentAxis();
    removeControllerAction->setEnabled(controller);
    addAxisAction->setEnabled(controller && Project::nextFreeAxisNumber(controller) > 0);
    removeAxisAction->setEnabled(axis);
    onlineAction->setEnabled(controller);
    const bool online = controller && ControllerConnections::wantsOnline(controller);
    onlineAction->setChecked(online);
    onlineAction->setIcon(AppIcons::icon(online ? QStringLiteral("Online") : QStringLiteral("Offline")));
    addControllerAction->setEnabled(!project->typeLibrary()->typeNames().isEmpty());
    bool anyAxis = false;
    for (const DriveController* each : project->host()->driveControllers())
        anyAxis = anyAxis || !each->axisNumbers().isEmpty();
    compareAxesAction->setEnabled(anyAxis);
}

void MainWindowPrivate::retranslateUndo()
{
    if (!undoAction || !recorder)
        return;
    const QString undoText = recorder->undoStack()->undoText();
    const QString redoText = recorder->undoStack()->redoText();
    undoAction->setText(undoText.isEmpty() ? MainWindow::tr("&Rückgängig") : MainWindow::tr("&Rückgängig: %1").arg(undoText));
    redoAction->setText(redoText.isEmpty() ? MainWindow::tr("&Wiederholen") : MainWindow::tr("&Wiederholen: %1").arg(redoText));
}

void MainWindowPrivate::report(const QString& message)
{
    q->statusBar()->showMessage(message);
}

void MainWindowPrivate::reportProblem(const QString& title, const QString& message, const QStringList& details)
{
    QString full = message;
    if (!details.isEmpty())
        full += QLatin1Char('\n') + details.join(QLatin1Char('\n'));
    report(message);
    emit q->problemReported(full);
    if (!interactive)
        return;
    QMessageBox box(QMessageBox::Warning, title, message, QMessageBox::Ok, q);
    if (!details.isEmpty()) {
        QStringList shown = details.mid(0, maxListedProblems);
        if (details.size() > shown.size())
            shown.append(MainWindow::tr("... und %n weitere (siehe Details)", nullptr, details.size() - shown.size()));
        box.setInformativeText(QStringLiteral("• ") + shown.join(QStringLiteral("\n• ")));
        if (details.size() > maxListedProblems)
            box.setDetailedText(details.join(QLatin1Char('\n')));
    }
    box.exec();
}

bool MainWindowPrivate::confirm(const QString& title, const QString& question)
{
    if (!interactive)
        return true;
    return QMessageBox::question(q, title, question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes;
}

bool MainWindowPrivate::maybeSave()
{
    if (customLists && customLists->hasUnstoredChanges())
        project->markModified();
    if (!interactive || !project->isModified())
        return true;
    const QMessageBox::StandardButton answer = QMessageBox::warning(
        q, MainWindow::tr("Projekt geändert"),
        MainWindow::tr("Das Projekt „%1“ wurde geändert. Sollen die Änderungen gespeichert werden?")
            .arg(projectDisplayName()),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Cancel)
        return false;
    if (answer == QMessageBox::Discard)
        return true;
    q->onSave();
    return !project->isModified();
}

// The loaders usually name the file; where they do not, the user still learns which one.
QString MainWindowPrivate::withPath(const QString& reason, const QString& path) const
{
    const QString native = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    if (reason.contains(native) || reason.contains(QDir::toNativeSeparators(path)))
        return reason;
    return MainWindow::tr("%1 (Datei: %2)").arg(reason, native);
}

QString MainWindowPrivate::projectFileFilter() const
{
    return MainWindow::tr("Projektdateien (*.%1);;Gerätebeschreibungen (*.json);;Alle Dateien (*)")
        .arg(Project::fileSuffix());
}

QString MainWindowPrivate::suggestedSavePath() const
{
    if (!project->filePath().isEmpty())
        return project->filePath();
    const std::unique_ptr<DefaultPathSetting> setting(DefaultPathSetting::create(DefaultPathSetting::ProjectFiles));
    if (project->descriptionPath().isEmpty())
        return setting->suggestedPath();
    const QString baseName = QFileInfo(project->descriptionPath()).completeBaseName();
    return QDir(setting->currentPath()).filePath(baseName + QLatin1Char('.') + Project::fileSuffix());
}

void MainWindowPrivate::offerToOpenReport(const QString& path)
{
    report(MainWindow::tr("Bericht gespeichert unter „%1“.").arg(QDir::toNativeSeparators(path)));
    if (!interactive)
        return;
    QMessageBox box(QMessageBox::Information, MainWindow::tr("Achsvergleich"),
                    MainWindow::tr("Der Bericht wurde unter „%1“ gespeichert.").arg(QDir::toNativeSeparators(path)),
                    QMessageBox::NoButton, QApplication::activeWindow() ? QApplication::activeWindow() : q);
    QPushButton* open = box.addButton(MainWindow::tr("Im &Browser öffnen"), QMessageBox::AcceptRole);
    box.addButton(MainWindow::tr("Schließen"), QMessageBox::RejectRole);
    box.setDefaultButton(open);
    box.exec();
    if (box.clickedButton() == open && !QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        reportProblem(MainWindow::tr("Achsvergleich"),
                      MainWindow::tr("Für „%1“ ist kein Browser eingerichtet.").arg(QDir::toNativeSeparators(path)));
}

MainWindow::MainWindow(const QString& typesDirectory, QWidget* parent)
    : QMainWindow(parent)
    , d(new MainWindowPrivate(this))
{
    d->typesDirectory = typesDirectory;
    AppIcons::initialize();
    setObjectName(QStringLiteral("mainWindow"));
    setWindowIcon(AppIcons::icon(QStringLiteral("KxSuite")));
    d->project = new Project(typesDirectory, this);
    d->createWidgets();
    d->createActions();
    d->connections = new ControllerConnections(this);
    connect(d->connections, &ControllerConnections::message, this, [this](const QString& text) { d->report(text); });
    d->createMenusAndToolBar();
    d->tree->setHost(d->project->host());
    d->levelComboBox->setCurrentIndex(qBound(0, int(System::instance().currentLevel()), maxLevel));
    d->retranslate();
    d->updateActions();
    resize(1200, 760);

    connect(d->tree, &ProjectTreeWidget::currentSelectionChanged, this, &MainWindow::onTreeSelectionChanged);
    connect(d->tree, &ProjectTreeWidget::refreshed, this, &MainWindow::onProjectStateChanged);
    connect(d->project->host(), &ProjectHost::hostContentChanged, this, &MainWindow::onProjectStateChanged);
    connect(d->project, &Project::projectReplaced, this, &MainWindow::onProjectReplaced);
    connect(d->project, &Project::modifiedChanged, this, &MainWindow::onProjectStateChanged);
    connect(d->project, &Project::filePathChanged, this, &MainWindow::onProjectStateChanged);
    connect(d->parameterView, &ParameterView::currentParameterChanged, this, &MainWindow::onCurrentParameterChanged);
    connect(d->levelComboBox, QOverload<int>::of(&QComboBox::activated), this, &MainWindow::onLevelSelected);
    connect(&System::instance(), &System::currentLevelChanged, this, &MainWindow::onCurrentLevelChanged);
    connect(LanguageManager::instance(), &LanguageManager::activeLanguageChanged, this,
            &MainWindow::onActiveLanguageChanged);

    System::instance().setMainWindow(this);
    d->customLists = std::make_unique<ProjectCustomLists>(d->project);
    d->comparisons = new AxisComparisons(this);
    d->journal = std::make_unique<ChangeJournal>(d->project);
    d->recorder = std::make_unique<ChangeRecorder>(d->project, d->journal.get());
    connect(d->recorder.get(), &ChangeRecorder::undoNotice, this, [this](const QString& message) { d->report(message); });
    // Undo and redo reach from every window of the project: lists and
    // comparisons are windows of their own.
    QUndoStack* stack = d->recorder->undoStack();
    d->undoAction = new QAction(this);
    d->undoAction->setObjectName(QStringLiteral("actionUndo"));
    d->undoAction->setShortcut(QKeySequence::Undo);
    d->undoAction->setShortcutContext(Qt::ApplicationShortcut);
    d->undoAction->setEnabled(false);
    connect(d->undoAction, &QAction::triggered, stack, &QUndoStack::undo);
    connect(stack, &QUndoStack::canUndoChanged, d->undoAction, &QAction::setEnabled);
    connect(stack, &QUndoStack::undoTextChanged, this, [this] { d->retranslateUndo(); });
    d->redoAction = new QAction(this);
    d->redoAction->setObjectName(QStringLiteral("actionRedo"));
    d->redoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    d->redoAction->setShortcutContext(Qt::ApplicationShortcut);
    d->redoAction->setEnabled(false);
    connect(d->redoAction, &QAction::triggered, stack, &QUndoStack::redo);
    connect(stack, &QUndoStack::canRedoChanged, d->redoAction, &QAction::setEnabled);
    connect(stack, &QUndoStack::redoTextChanged, this, [this] { d->retranslateUndo(); });
    d->editMenu->addActions({d->undoAction, d->redoAction});
    d->retranslateUndo();
    connect(d->comparisons, &AxisComparisons::reportWritten, this, &MainWindow::onComparisonReportWritten);

    const QStringList typeErrors = d->project->typeLibrary()->errors();
    if (!typeErrors.isEmpty())
        d->report(tr("%n Gerätebeschreibung(en) abgelehnt: %1", nullptr, typeErrors.size())
                      .arg(typeErrors.join(QStringLiteral("; "))));
    else
        d->report(tr("%n Gerätetyp(en) verfügbar.", nullptr, d->project->typeLibrary()->typeNames().size()));
}

MainWindow::~MainWindow()
{
    // The views must let go of the axes before the project destroys the controllers.
    d->parameterView->setAxis(nullptr);
    d->comparisons->closeAll();
    d->customLists.reset();
    // The undo stack announces its emptying as it goes; nobody here listens any more.
    disconnect(d->recorder->undoStack(), nullptr, this, nullptr);
    d->recorder.reset();
    d->journal.reset();
}

QString MainWindow::defaultDataDirectory()
{
    return QStringLiteral(KX_DATA_DIR);
}

QString MainWindow::defaultTypesDirectory()
{
    return QDir(defaultDataDirectory()).filePath(QStringLiteral("types"));
}

QString MainWindow::defaultProjectPath()
{
    return QDir(defaultDataDirectory()).filePath(QStringLiteral("sample-project.json"));
}

Project* MainWindow::project() const
{
    return d->project;
}

ChangeJournal* MainWindow::changeJournal() const
{
    return d->journal.get();
}

QUndoStack* MainWindow::undoStack() const
{
    return d->recorder->undoStack();
}

void MainWindow::onShowChangeJournal()
{
    if (!d->journalWindow) {
        d->journalWindow = new ChangeJournalWindow(d->journal.get(), this);
        d->journalWindow->setWindowFlag(Qt::Window);
        d->journalWindow->setAttribute(Qt::WA_DeleteOnClose);
        connect(d->journalWindow, &ChangeJournalWindow::showRequested, this, &MainWindow::onShowJournalEntry);
        connect(d->journalWindow, &ChangeJournalWindow::exported, this,
                [this](const QString& path) { d->report(tr("Änderungsprotokoll nach %1 exportiert.").arg(QDir::toNativeSeparators(path))); });
    }
    d->journalWindow->show();
    d->journalWindow->raise();
    d->journalWindow->activateWindow();
}

// A journal entry names its controller and axis; the parameter view shows
// the parameter there, if they are still in the project.
void MainWindow::onShowJournalEntry(const ChangeJournalEntry& entry)
{
    DriveController* controller = nullptr;
    for (DriveController* candidate : d->project->host()->driveControllers()) {
        if (candidate->name() == entry.controller)
            controller = candidate;
    }
    const int number = entry.axisNumber != 0 || !controller || controller->axisNumbers().isEmpty()
        ? entry.axisNumber : controller->axisNumbers().first();
    if (!controller || !d->tree->selectAxis(controller, number)) {
        d->report(tr("%1 ist nicht mehr im Projekt.").arg(entry.controller + QLatin1Char(' ') + entry.axisName));
        return;
    }
    const ParameterAddress address(entry.address, true);
    if (QTreeWidgetItem* item = d->parameterView->item(address.coordinate(), address.hasElement() ? address.element() : -1)) {
        d->parameterView->treeWidget()->setCurrentItem(item);
        d->parameterView->treeWidget()->scrollToItem(item);
    }
    activateWindow();
    raise();
}

void MainWindow::onExportCommissioningRecord()
{
    CommissioningRecordDialog dialog(d->project->host()->driveControllers(), d->journal->entries(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString proposed = QDir(folder).filePath(tr("Inbetriebnahmeprotokoll %1.pdf")
                                                       .arg(QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"))));
    const QString path = QFileDialog::getSaveFileName(this, tr("Inbetriebnahmeprotokoll exportieren"), proposed,
                                                      tr("PDF-Dateien (*.pdf)"));
    if (path.isEmpty())
        return;
    CommissioningRecord::Content content;
    content.projectName = d->projectDisplayName();
    content.filePath = d->project->filePath();
    content.userName = CommissioningRecord::currentUserName();
    content.created = QDateTime::currentDateTime();
    content.from = dialog.from();
    content.to = dialog.to();
    content.controllers = d->project->host()->driveControllers();
    content.entries = d->journal->entries();
    content.comparisons = dialog.chosenPairs();
    QString error;
    if (!CommissioningRecord::writePdf(path, content, &error)) {
        d->reportProblem(tr("Inbetriebnahmeprotokoll"), tr("Das Inbetriebnahmeprotokoll konnte nicht nach „%1“ geschrieben werden: %2")
                                                            .arg(QDir::toNativeSeparators(path), error));
        return;
    }
    d->report(tr("Inbetriebnahmeprotokoll nach %1 exportiert.").arg(QDir::toNativeSeparators(path)));
}

ProjectTreeWidget* MainWindow::projectTree() const
{
    return d->tree;
}

ParameterView* MainWindow::parameterView() const
{
    return d->parameterView;
}

HelpWidget* MainWindow::helpWidget() const
{
    return d->help;
}

void MainWindow::setInteractive(bool interactive)
{
    d->interactive = interactive;
}

bool MainWindow::isInteractive() const
{
    return d->interactive;
}

bool MainWindow::openFile(const QString& path)
{
    const QString fileName = QFileInfo(path).fileName();
    const ProjectOpenResult result = d->project->open(path);
    if (!result.opened) {
        d->reportProblem(tr("Öffnen fehlgeschlagen"), d->withPath(result.error, path));
        return false;
    }
    if (!result.fromDescription) {
        const std::unique_ptr<DefaultPathSetting> setting(DefaultPathSetting::create(DefaultPathSetting::ProjectFiles));
        setting->rememberPath(d->project->filePath());
        d->recentProjects->add(d->project->filePath());
    }
    if (const int unreadable = d->customLists->unreadableListCount()) {
        d->reportProblem(tr("Variable Parameterlisten"),
                         tr("%n variable Parameterliste(n) in „%1“ kann/können nicht gelesen werden; sie bleiben "
                            "beim Speichern unverändert erhalten.",
                            nullptr, unreadable)
                             .arg(fileName));
    }
    const QString counts = tr("%1, %2").arg(
        tr("%n Regler", nullptr, d->project->host()->driveControllers().size()),
        tr("%n variable Parameterliste(n)", nullptr, d->customLists->listCount()));
    const QString loaded = result.fromDescription
        ? tr("Gerätebeschreibung „%1“ als neues, ungespeichertes Projekt geladen: %2.").arg(fileName, counts)
        : tr("Projekt „%1“ geladen: %2.").arg(fileName, counts);
    if (result.skipped.isEmpty()) {
        d->report(loaded);
    } else {
        d->reportProblem(tr("Projekt unvollständig geladen"),
                         tr("Aus „%1“ wurde nicht alles übernommen; %n Angabe(n) wurden weggelassen:", nullptr,
                            result.skipped.size())
                             .arg(fileName),
                         result.skipped);
    }
    return true;
}

bool MainWindow::saveFile(const QString& path)
{
    QString error;
    if (!d->project->save(path, &error)) {
        d->reportProblem(tr("Speichern fehlgeschlagen"), d->withPath(error, path));
        return false;
    }
    const std::unique_ptr<DefaultPathSetting> setting(DefaultPathSetting::create(DefaultPathSetting::ProjectFiles));
    setting->rememberPath(d->project->filePath());
    d->recentProjects->add(d->project->filePath());
    d->report(tr("Projekt gespeichert unter „%1“.").arg(QDir::toNativeSeparators(d->project->filePath())));
    return true;
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (d->maybeSave())
        event->accept();
    else
        event->ignore();
}

void MainWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        d->retranslate();
    QMainWindow::changeEvent(event);
}

void MainWindow::onNew()
{
    if (!d->maybeSave())
        return;
    d->project->newProject();
    d->report(tr("Neues, leeres Projekt."));
}

void MainWindow::onOpen()
{
    if (!d->maybeSave())
        return;
    const std::unique_ptr<DefaultPathSetting> setting(DefaultPathSetting::create(DefaultPathSetting::ProjectFiles));
    const QString path =
        QFileDialog::getOpenFileName(this, tr("Projekt öffnen"), setting->currentPath(), d->projectFileFilter());
    if (!path.isEmpty())
        openFile(path);
}

void MainWindow::onRecentProjectChosen(const QString& path)
{
    if (!QFileInfo::exists(path)) {
        d->recentProjects->remove(path);
        d->report(tr("„%1“ gibt es nicht mehr; der Eintrag wurde aus „Zuletzt geöffnet“ entfernt.")
                      .arg(QDir::toNativeSeparators(path)));
        return;
    }
    if (d->maybeSave())
        openFile(path);
}

void MainWindow::onSave()
{
    if (d->project->filePath().isEmpty())
        onSaveAs();
    else
        saveFile(d->project->filePath());
}

void MainWindow::onSaveAs()
{
    if (!d->interactive) {
        d->reportProblem(tr("Speichern fehlgeschlagen"), tr("Das Projekt hat noch keinen Dateinamen."));
        return;
    }
    QString path = QFileDialog::getSaveFileName(this, tr("Projekt speichern unter"), d->suggestedSavePath(),
                                                tr("Projektdateien (*.%1)").arg(Project::fileSuffix()));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + Project::fileSuffix();
    saveFile(path);
}

void MainWindow::onAddController()
{
    DeviceTypeLibrary* library = d->project->typeLibrary();
    AddControllerDialog dialog(library, tr("Regler %1").arg(d->project->host()->driveControllers().size() + 1), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QString error;
    DriveController* controller =
        d->project->addController(dialog.typeName(), dialog.controllerName(), dialog.axisCount(), &error);
    if (!controller) {
        d->reportProblem(tr("Regler hinzufügen"), error);
        return;
    }
    if (!controller->axisNumbers().isEmpty())
        d->tree->selectAxis(controller, controller->axisNumbers().constFirst());
    else
        d->tree->selectController(controller);
    d->report(tr("Regler „%1“ hinzugefügt.").arg(controller->name()));
}

void MainWindow::onRemoveController()
{
    DriveController* controller = d->tree->currentController();
    if (!controller)
        return;
    const QString name = controller->name();
    if (!d->confirm(tr("Regler entfernen"),
                    tr("Den Regler „%1“ mit allen Achsen und Parameterwerten aus dem Projekt entfernen?").arg(name)))
        return;
    d->project->removeController(controller);
    d->report(tr("Regler „%1“ entfernt.").arg(name));
}

void MainWindow::onAddAxis()
{
    const QPointer<DriveController> controller = d->tree->currentController();
    if (!controller)
        return;
    const int number = Project::nextFreeAxisNumber(controller);
    if (number == 0) {
        d->reportProblem(tr("Achse hinzufügen"),
                         tr("Der Regler „%1“ hat bereits alle Achsen seines Gerätetyps.").arg(controller->name()));
        return;
    }
    bool accepted = false;
    const QString name = QInputDialog::getText(this, tr("Achse hinzufügen"),
                                               tr("Name der Achse %1 von „%2“:").arg(number).arg(controller->name()),
                                               QLineEdit::Normal, tr("Achse %1").arg(number), &accepted);
    if (!accepted || !controller)
        return;
    QString error;
    DriveControllerAxis* axis = d->project->addAxis(controller, name, &error);
    if (!axis) {
        if (!error.isEmpty())
            d->reportProblem(tr("Achse hinzufügen"), error);
        return;
    }
    d->tree->selectAxis(controller, axis->axisNumber());
    d->report(tr("Achse %1 „%2“ zu „%3“ hinzugefügt.").arg(axis->axisNumber()).arg(axis->name(), controller->name()));
}

void MainWindow::onRemoveAxis()
{
    DriveControllerAxis* axis = d->tree->currentAxis();
    DriveController* controller = d->tree->currentController();
    if (!axis || !controller)
        return;
    const int number = axis->axisNumber();
    const QString name = axis->name();
    if (!d->confirm(tr("Achse entfernen"),
                    tr("Die Achse %1 „%2“ von „%3“ mit ihren Parameterwerten entfernen?")
                        .arg(number)
                        .arg(name, controller->name())))
        return;
    d->project->removeAxis(controller, number);
    d->report(tr("Achse %1 „%2“ entfernt.").arg(number).arg(name));
}

void MainWindow::startSimulator()
{
    d->connections->startSimulator();
}

void MainWindow::onToggleOnline()
{
    DriveController* controller = d->tree->currentController();
    if (!controller) {
        d->updateActions();
        return;
    }
    const bool online = !ControllerConnections::wantsOnline(controller);
    controller->setOnline(online);
    if (controller->onlineState() == OnlineStateConnecting)
        d->report(tr("Regler „%1“ verbindet über %2 ...").arg(controller->name(), controller->connectionSettings().toText()));
    else
        d->report(online ? tr("Regler „%1“ ist online.").arg(controller->name())
                         : tr("Regler „%1“ ist offline.").arg(controller->name()));
    d->updateActions();
}

void MainWindow::onShowParameterCustomLists()
{
    ParameterCustomListRepositoryView& view = ParameterCustomListRepositoryView::instance();
    if (d->placedListView != &view) {
        // The view sizes itself to its rows, which is too small to work with.
        view.resize(view.size().expandedTo(QSize(340, 420)));
        view.move(geometry().topLeft() + QPoint(40, 80));
        d->placedListView = &view;
    }
    view.show();
    view.raise();
    view.activateWindow();
}

void MainWindow::onCompareAxes()
{
    ProjectHost* host = d->project->host();
    CompareAxesDialog dialog(host, this);
    // Side A is the axis the user looks at, side B the next one in the project.
    QList<QPair<DriveController*, int>> axes;
    for (DriveController* controller : host->driveControllers()) {
        for (int number : controller->axisNumbers())
            axes.append({controller, number});
    }
    if (axes.isEmpty())
        return;
    int current = 0;
    if (DriveControllerAxis* axis = d->tree->currentAxis())
        current = qMax(0, axes.indexOf({axis->driveController(), axis->axisNumber()}));
    const auto& next = axes.at((current + 1) % axes.size());
    dialog.select(CompareAxesDialog::SideA, axes.at(current).first, axes.at(current).second);
    dialog.select(CompareAxesDialog::SideB, next.first, next.second);
    connect(&dialog, &CompareAxesDialog::otherProjectRequested, this, &MainWindow::onOtherProjectRequested);
    if (dialog.exec() != QDialog::Accepted)
        return;
    compareAxes(dialog.controller(CompareAxesDialog::SideA), dialog.axisNumber(CompareAxesDialog::SideA),
                dialog.controller(CompareAxesDialog::SideB), dialog.axisNumber(CompareAxesDialog::SideB),
                dialog.otherProject(CompareAxesDialog::SideB));
}

void MainWindow::onOtherProjectRequested()
{
    auto* dialog = qobject_cast<CompareAxesDialog*>(sender());
    if (!dialog)
        return;
    const std::unique_ptr<DefaultPathSetting> setting(DefaultPathSetting::create(DefaultPathSetting::ProjectFiles));
    const QString path = QFileDialog::getOpenFileName(dialog, tr("Projektdatei zum Vergleichen öffnen"),
                                                      setting->currentPath(), d->projectFileFilter());
    if (path.isEmpty())
        return;
    if (const std::shared_ptr<Project> other = openForComparison(path))
        dialog->addOtherProject(other);
}

std::shared_ptr<Project> MainWindow::openForComparison(const QString& path)
{
    QString error;
    QStringList skipped;
    std::shared_ptr<Project> other = Project::openForReading(path, d->typesDirectory, &error, &skipped);
    if (!other) {
        d->reportProblem(tr("Vergleich mit anderer Projektdatei"), d->withPath(error, path));
        return nullptr;
    }
    const QString fileName = QFileInfo(path).fileName();
    if (skipped.isEmpty())
        d->report(tr("„%1“ zum Vergleichen geladen: %n Regler, nur lesbar.", nullptr,
                     other->host()->driveControllers().size())
                      .arg(fileName));
    else
        d->report(tr("„%1“ zum Vergleichen geladen, %n Angabe(n) weggelassen.", nullptr, skipped.size())
                      .arg(fileName));
    return other;
}

AxisCompareView* MainWindow::compareAxes(DriveController* controllerA, int axisNumberA, DriveController* controllerB,
                                         int axisNumberB, const std::shared_ptr<Project>& projectB)
{
    AxisCompareView* view = d->comparisons->open(controllerA, axisNumberA, controllerB, axisNumberB, projectB);
    if (view)
        d->report(view->axesAreEqual() ? tr("%1: die Achsen sind gleich.").arg(view->windowTitle())
                                       : tr("%1: die Achsen unterscheiden sich, %2.").arg(view->windowTitle(), view->summaryText()));
    return view;
}

void MainWindow::onComparisonReportWritten(const QString& path)
{
    d->offerToOpenReport(path);
}

void MainWindow::onLanguageTriggered(QAction* action)
{
    LanguageManager::instance()->setActiveLanguage(action->data().toInt());
}

void MainWindow::onActiveLanguageChanged(int language)
{
    for (QAction* action : d->languageGroup->actions())
        action->setChecked(action->data().toInt() == language);
    d->report(tr("Sprache: %1.").arg(LanguageManager::instance()->languageName(language)));
}

void MainWindow::onLevelSelected(int index)
{
    const unsigned level = unsigned(d->levelComboBox->itemData(index).toInt());
    if (level == System::instance().currentLevel())
        return;
    // What a level change alters is shown once, at the end of an access-level
    // update of every provider: lists and comparisons hold their rows until
    // the last provider is through, then refresh once.
    QList<QPointer<ParameterProvider>> providers;
    if (Project* project = d->project) {
        for (DriveController* controller : project->host()->driveControllers()) {
            if (ParameterProvider* provider = controller ? controller->parameterProvider() : nullptr)
                providers.append(provider);
        }
    }
    for (ParameterProvider* provider : qAsConst(providers))
        provider->beginAccessLevelUpdate();
    System::instance().setCurrentLevel(level);
    for (const QPointer<ParameterProvider>& provider : qAsConst(providers)) {
        if (provider)
            provider->endAccessLevelUpdate();
    }
}

void MainWindow::onCurrentLevelChanged(unsigned int level)
{
    const int index = d->levelComboBox->findData(int(level));
    if (index >= 0)
        d->levelComboBox->setCurrentIndex(index);
    d->report(tr("Zugriffsebene %1.").arg(level));
}

void MainWindow::onTreeSelectionChanged()
{
    DriveControllerAxis* axis = d->tree->currentAxis();
    if (d->parameterView->axis() != axis) {
        d->parameterView->setAxis(axis);
        d->help->showHelpForId(QString());
    }
    d->updateActions();
}

void MainWindow::onCurrentParameterChanged(const QString& sortableAddress)
{
    DriveControllerAxis* axis = d->parameterView->axis();
    DriveController* controller = axis ? axis->driveController() : nullptr;
    const ParameterAddress address(sortableAddress, false);
    const QPointer<ParameterDefinition> definition = controller && address.isValid()
        ? controller->parameterProvider()->parameterDefinition(address.coordinate())
        : nullptr;
    if (!definition) {
        d->help->showHelpForId(QString());
        return;
    }
    const QString help = definition->helpIdentifier(address.element());
    static const QString inlinePrefix = QStringLiteral("<description>=");
    if (help.startsWith(inlinePrefix))
        d->help->showHtmlText(help.mid(inlinePrefix.size()));
    else
        d->help->showHelpForId(help);
}

void MainWindow::onProjectReplaced()
{
    for (DriveController* controller : d->project->host()->driveControllers()) {
        if (!controller->axisNumbers().isEmpty()) {
            d->tree->selectAxis(controller, controller->axisNumbers().constFirst());
            break;
        }
    }
    onProjectStateChanged();
}

void MainWindow::onProjectStateChanged()
{
    d->updateTitle();
    d->updateActions();
}
