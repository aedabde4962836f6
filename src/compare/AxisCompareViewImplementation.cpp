#include "AxisCompareViewImplementation.h"

#include "AxisCompareReport.h"
#include "ParameterCustomList.h"
#include "ParameterCustomListEntry.h"

#include "DefaultPathSetting.h"
#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "ParameterProvider.h"
#include "System.h"

#include <QFileDialog>
#include <QSet>

namespace {

void setRowHidden(QTreeWidgetItem* row, bool hidden)
{
    // Unchanged rows are left alone: every call relayouts the tree.
    if (row->isHidden() != hidden)
        row->setHidden(hidden);
}

} // namespace

AxisCompareViewImplementation::AxisCompareViewImplementation(QWidget* parent)
    : AxisCompareView(parent)
    , workingList(new ParameterCustomList(nullptr))
{
    ui.setupUi(this);

    connect(ui.exportToHtml, &QPushButton::clicked, this, &AxisCompareViewImplementation::onExportToHtml);
    connect(ui.differencesOnly, &QCheckBox::stateChanged, this, &AxisCompareViewImplementation::updateView);
    connect(ui.bottomButton, &QPushButton::toggled, ui.bottomWidget, &QWidget::setVisible);

    ui.parameterTreeWidget->setRowFilledHook([this](QTreeWidgetItem* row) { onRowFilled(row); });
    ui.parameterTreeWidget->setParameterCustomList(workingList.get());
    ui.parameterTreeWidget->setHelpWidget(ui.helpWidget);
    ui.parameterTreeWidget->setColorWidget(ui.colorWidget);
    ui.parameterTreeWidget->setPropertyList(ui.propertyWidget);

    ui.bottomButton->setChecked(false);
    ui.bottomWidget->setVisible(false);

    ui.helpWidget->initialize(System::instance().helpSystem(QStringLiteral("parameter")));
    ui.propertyWidget->initialize();

    followItemChanges(true);
}

AxisCompareViewImplementation::~AxisCompareViewImplementation()
{
    // The tree lets go of its entries before the list deletes them.
    ui.parameterTreeWidget->setParameterCustomList(nullptr);
}

void AxisCompareViewImplementation::setAxisA(DriveController* controller, int axisNumber)
{
    controllerA = controller;
    axisNumberA = axisNumber;
}

void AxisCompareViewImplementation::setAxisB(DriveController* controller, int axisNumber)
{
    controllerB = controller;
    axisNumberB = axisNumber;
}

void AxisCompareViewImplementation::compare()
{
    if (!controllerA || !controllerB)
        return;

    QList<ParameterCoordinate> coordinates;
    QSet<quint16> numbers;
    const QList<QPair<const DriveController*, int>> sides{{controllerA, axisNumberA}, {controllerB, axisNumberB}};
    for (const auto& side : sides) {
        const ParameterProvider* provider = side.first->parameterProvider();
        if (!provider)
            continue;
        const QList<ParameterCoordinate> axisCoordinates = provider->parameterCoordinates(side.second);
        for (const ParameterCoordinate& coordinate : axisCoordinates) {
            if (!numbers.contains(coordinate.toNumber())) {
                numbers.insert(coordinate.toNumber());
                coordinates.append(coordinate);
            }
        }
    }
    // The list deletes entries of parameters that neither side has any more
    // without releasing the values the tree asked them to observe.
    for (ParameterCustomListEntry* entry : qAsConst(workingList->entries())) {
        if (entry && !numbers.contains(entry->coordinate().toNumber()))
            entry->detachAxes();
    }

    DriveControllerAxis* axisA = controllerA->axis(axisNumberA);
    DriveControllerAxis* axisB = controllerB->axis(axisNumberB);
    // Two sides naming no axis at all are not one axis.
    sameAxis = axisA && axisA == axisB;
    // The same sides with the same parameters again: the tree has followed
    // every value and definition since, so only the verdict is made anew.
    const QList<QPointer<DriveControllerAxis>> axes{QPointer<DriveControllerAxis>(axisA), QPointer<DriveControllerAxis>(axisB)};
    if (!sameAxis && axisA && axisB && comparedAxes == axes && comparedCoordinates == coordinates
        && workingList->axes() == axes) {
        updateView();
        return;
    }
    comparedAxes = sameAxis ? QList<QPointer<DriveControllerAxis>>() : axes;
    comparedCoordinates = coordinates;
    // Axes first: new entries then take their elements from the new axes
    // once, instead of from the old ones and then again.
    if (!sameAxis) {
        workingList->setAxes(axes);
        workingList->setCoordinates(coordinates);
        // Every filled cell is reported as changed; the pass below colours
        // all rows once instead.
        followItemChanges(false);
        ui.parameterTreeWidget->onAxesChanged();
        followItemChanges(true);
    } else {
        workingList->setCoordinates(coordinates);
    }

    ui.axisAreEqual->setVisible(sameAxis);
    ui.treeContainerWidget->setVisible(!sameAxis);
    ui.differencesOnly->setVisible(!sameAxis);
    ui.exportToHtml->setVisible(!sameAxis);
    ui.bottomButton->setVisible(!sameAxis);

    updateView();
}

bool AxisCompareViewImplementation::axesAreEqual() const
{
    // The verdict follows every value signalled so far.
    ui.parameterTreeWidget->flushScheduledRefresh();
    return allEqual || sameAxis;
}

QString AxisCompareViewImplementation::reportDocument() const
{
    ui.parameterTreeWidget->flushScheduledRefresh();
    return AxisCompareReport::document(AxisCompareReport::body(ui.parameterTreeWidget,
                                                               AxisCompareReport::side(controllerA, axisNumberA),
                                                               AxisCompareReport::side(controllerB, axisNumberB)));
}

void AxisCompareViewImplementation::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        // The application names the window after the two axes; the form's
        // title is only a placeholder.
        const QString title = windowTitle();
        ui.retranslateUi(this);
        setWindowTitle(title);
    }
    AxisCompareView::changeEvent(event);
}

void AxisCompareViewImplementation::showEvent(QShowEvent* event)
{
    for (int column = 0; column <= 2; ++column)
        ui.parameterTreeWidget->resizeColumnToContents(column);
    AxisCompareView::showEvent(event);
    updateView();
}

bool AxisCompareViewImplementation::differencesOnly() const
{
    return ui.differencesOnly->checkState() == Qt::Checked;
}

void AxisCompareViewImplementation::followItemChanges(bool follow)
{
    if (follow) {
        connect(ui.parameterTreeWidget, &QTreeWidget::itemChanged,
                this, &AxisCompareViewImplementation::onItemChanged, Qt::UniqueConnection);
    } else {
        disconnect(ui.parameterTreeWidget, &QTreeWidget::itemChanged,
                   this, &AxisCompareViewImplementation::onItemChanged);
    }
}

bool AxisCompareViewImplementation::rowStatesValid() const
{
    return rowStatesComplete;
}

// The tree fills rows: their difference and colour are settled right there,
// new rows before they join the tree, where setting a colour costs least.
void AxisCompareViewImplementation::onRowFilled(QTreeWidgetItem* row)
{
    if (!rowStatesComplete)
        return;
    RowState& state = rowStates[row];
    // A row of the tree may sit where a deleted one was: ask it.
    state.hidden = row->treeWidget() && row->isHidden();
    state.differs = AxisCompareReport::valuesDiffer(row);
    state.highlighted = state.differs && !differencesOnly();
    paintRow(row, state.highlighted);
}

void AxisCompareViewImplementation::updateView()
{
    // Values signalled a moment ago must be in the rows compared here.
    ui.parameterTreeWidget->flushScheduledRefresh();
    allEqual = true;
    // Colouring changes the rows, which the tree reports like an edit.
    followItemChanges(false);

    const bool diffOnly = differencesOnly();
    ParameterCustomListTreeWidget* tree = ui.parameterTreeWidget;
    // States of deleted rows pile up over many comparisons; now and then
    // they are made anew.
    const int rows = tree->topLevelItemCount();
    const bool known = rowStatesComplete && rowStates.size() <= 4 * rows + 4096;
    if (!known) {
        rowStates.clear();
        rowStates.reserve(rows * 4);
    }
    const bool readHidden = !known;

    auto evaluate = [&](QTreeWidgetItem* row) -> RowState& {
        RowState& state = rowStates[row];
        if (!known) {
            state.differs = AxisCompareReport::valuesDiffer(row);
            state.hidden = readHidden && row->isHidden();
        }
        if (state.differs)
            allEqual = false;
        // On the filtered screen every row differs; the highlight would say nothing.
        const bool highlighted = state.differs && !diffOnly;
        if (!known || state.highlighted != highlighted) {
            paintRow(row, highlighted);
            state.highlighted = highlighted;
        }
        return state;
    };

    {
        // A background changes no row's size or place: the model's notice per
        // cell would only make the view look up each row on its own; one
        // repaint afterwards shows them all.
        const QSignalBlocker quiet(tree->model());
        for (int i = 0; i < tree->topLevelItemCount(); ++i) {
            QTreeWidgetItem* row = tree->topLevelItem(i);
            evaluate(row);
            for (int j = 0; j < row->childCount(); ++j)
                evaluate(row->child(j));
        }
    }
    tree->viewport()->update();
    rowStatesComplete = true;

    // With only differences on, a row stays visible when it differs itself or
    // when any of its elements does.
    // The element rows under a hidden row are not filtered: nobody sees them,
    // and they are put right whenever their row is shown again.
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = tree->topLevelItem(i);
        bool rowShown = !diffOnly || rowStates.value(row).differs;
        for (int j = 0; !rowShown && j < row->childCount(); ++j)
            rowShown = rowStates.value(row->child(j)).differs;
        showRow(row, rowShown, i);
        if (rowShown)
            filterElements(row, i, diffOnly);
    }

    for (int column = 0; column <= 2; ++column)
        tree->resizeColumnToContents(column);

    followItemChanges(true);
}

// Rows whose state is known are only touched when it changes: every change
// of a row's visibility costs the view a persistent index and a relayout.
// Shows the element rows of a shown row that differ, or all of them.
void AxisCompareViewImplementation::filterElements(QTreeWidgetItem* row, int position, bool diffOnly)
{
    if (row->childCount() == 0)
        return;
    const bool known = rowStatesValid();
    QModelIndex rowIndex;
    if (position >= 0)
        rowIndex = ui.parameterTreeWidget->model()->index(position, 0);
    for (int j = 0; j < row->childCount(); ++j) {
        QTreeWidgetItem* element = row->child(j);
        bool shown = !diffOnly;
        if (diffOnly)
            shown = known ? rowStates.value(element).differs : AxisCompareReport::valuesDiffer(element);
        showRow(element, shown, position >= 0 ? j : -1, rowIndex);
    }
}

void AxisCompareViewImplementation::showRow(QTreeWidgetItem* row, bool shown, int position, const QModelIndex& parent)
{
    auto state = rowStatesValid() ? rowStates.find(row) : rowStates.end();
    if (state == rowStates.end()) {
        setRowHidden(row, !shown);
    } else if (state->hidden == shown) {
        // By position: the item would look its place up again.
        if (position >= 0)
            ui.parameterTreeWidget->setRowHidden(position, parent, !shown);
        else
            row->setHidden(!shown);
        state->hidden = !shown;
    }
}

void AxisCompareViewImplementation::colorRow(QTreeWidgetItem* row, bool diffOnly)
{
    const bool differs = AxisCompareReport::valuesDiffer(row);
    if (differs)
        allEqual = false;
    // On the filtered screen every row differs; the highlight would say nothing.
    paintRow(row, differs && !diffOnly);
}

void AxisCompareViewImplementation::paintRow(QTreeWidgetItem* row, bool highlighted)
{
    // Two brushes for all cells, rather than one each.
    static const QBrush yellow(Qt::yellow);
    static const QBrush white(Qt::white);
    const QBrush& background = highlighted ? yellow : white;
    for (int column = 0; column <= 2; ++column)
        row->setBackground(column, background);
}

void AxisCompareViewImplementation::onItemChanged(QTreeWidgetItem* pItem, int column)
{
    if (column != 1 && column != 2)
        return;
    const auto state = rowStatesValid() ? rowStates.find(pItem) : rowStates.end();
    const bool differs = AxisCompareReport::valuesDiffer(pItem);
    if (state != rowStates.end())
        state->differs = differs;
    if (!differencesOnly()) {
        showRow(pItem, true);
        followItemChanges(false);
        colorRow(pItem, false);
        if (state != rowStates.end())
            state->highlighted = differs;
        followItemChanges(true);
        return;
    }
    if (!differs) {
        showRow(pItem, false);
        return;
    }
    QTreeWidgetItem* parent = pItem->parent();
    QTreeWidgetItem* row = parent ? parent : pItem;
    const bool rowWasHidden = row->isHidden();
    showRow(pItem, true);
    if (parent)
        showRow(parent, true);
    if (rowWasHidden)
        filterElements(row, -1, true);
}

void AxisCompareViewImplementation::onExportToHtml()
{
    const std::unique_ptr<DefaultPathSetting> setting(
        DefaultPathSetting::create(DefaultPathSetting::ComparisonReports));
    const QString fileName = QFileDialog::getSaveFileName(System::instance().mainWindow(),
                                                          tr("Parameterübersicht als HTML exportieren"),
                                                          setting->suggestedPath(),
                                                          tr("HTML-dateien (*.html)"));
    if (fileName.isEmpty())
        return;
    // A report that cannot be written is dropped without a word.
    if (AxisCompareReport::write(fileName, reportDocument()))
        setting->rememberPath(fileName);
}
