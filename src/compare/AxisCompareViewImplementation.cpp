#include "AxisCompareViewImplementation.h"

#include "AxisCompareReport.h"
#include "CoordinateNumberSet_p.h"
#include "ParameterCustomList.h"
#include "ParameterCustomListEntry.h"
#include "TreeItemCells_p.h"

#include "DefaultPathSetting.h"
#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "ParameterProvider.h"
#include "System.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QTimer>
#include <QSet>
#include <QVarLengthArray>

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

    // Values change in bursts; the count follows once per turn of the event loop.
    ui.noDifferencesLabel->setVisible(false);
    summaryTimer = new QTimer(this);
    summaryTimer->setSingleShot(true);
    summaryTimer->setInterval(0);
    connect(summaryTimer, &QTimer::timeout, this, &AxisCompareViewImplementation::updateSummary);

    auto* next = new QAction(this);
    next->setShortcut(QKeySequence(Qt::Key_F7));
    next->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(next, &QAction::triggered, this, &AxisCompareViewImplementation::goToNextDifference);
    addAction(next);
    auto* previous = new QAction(this);
    previous->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F7));
    previous->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(previous, &QAction::triggered, this, &AxisCompareViewImplementation::goToPreviousDifference);
    addAction(previous);

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
    CoordinateNumberSet numbers;
    const QList<QPair<const DriveController*, int>> sides{{controllerA, axisNumberA}, {controllerB, axisNumberB}};
    for (const auto& side : sides) {
        const ParameterProvider* provider = side.first->parameterProvider();
        if (!provider)
            continue;
        const QList<ParameterCoordinate> axisCoordinates = provider->parameterCoordinates(side.second);
        for (const ParameterCoordinate& coordinate : axisCoordinates) {
            if (numbers.insert(coordinate.toNumber()))
                coordinates.append(coordinate);
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
    makeFirstDifferenceCurrent();
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
        showSummary();
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

namespace {

// What the view made of a row, kept with the row: whether the marks are
// set at all, whether its values differ, whether it is highlighted and
// whether the view hid it.
// On a parameter's row, ElementsQuiet says that the last pass found all its
// element rows known, equal, shown and plain: a switch of the filter has
// nothing to do for them unless the row itself differs. Any change of an
// element row's marks takes it back.
enum RowMark : quint8 { Known = 1, Differs = 2, Highlighted = 4, Hidden = 8, Bold = 16, ElementsQuiet = 32 };

KxTreeItem::CompactRow* marksOf(QTreeWidgetItem* row)
{
    return KxTreeItem::compactRow(row);
}

void unquietParent(KxTreeItem::CompactRow* row)
{
    if (QTreeWidgetItem* parent = row->parent()) {
        if (KxTreeItem::CompactRow* parentMarks = marksOf(parent))
            parentMarks->viewMarks = quint8(parentMarks->viewMarks & ~ElementsQuiet);
    }
}

void setMark(KxTreeItem::CompactRow* row, RowMark mark, bool on)
{
    const quint8 marks = on ? quint8(row->viewMarks | mark) : quint8(row->viewMarks & ~mark);
    if (marks == row->viewMarks)
        return;
    row->viewMarks = marks;
    unquietParent(row);
}

} // namespace

// The tree fills rows: their difference and colour are settled right there,
// new rows before they join the tree, where setting a colour costs least.
void AxisCompareViewImplementation::onRowFilled(QTreeWidgetItem* row)
{
    if (KxTreeItem::CompactRow* marked = marksOf(row))
        markRow(row, marked, differencesOnly());
    scheduleSummary();
}

// Settles what the view makes of a row from what it shows, and colours it.
void AxisCompareViewImplementation::markRow(QTreeWidgetItem* row, KxTreeItem::CompactRow* marked, bool diffOnly)
{
    const bool differs = AxisCompareReport::valuesDiffer(row);
    const bool highlighted = differs && !diffOnly;
    // A refilled row keeps its visibility and its fonts; a new one is shown.
    const bool hidden = row->treeWidget() && row->isHidden();
    marked->viewMarks = quint8(Known | (differs ? Differs : 0) | (highlighted ? Highlighted : 0) | (hidden ? Hidden : 0)
                               | (marked->viewMarks & Bold));
    unquietParent(marked);
    markBold(row, marked, differs);
    paintRow(row, highlighted);
}

// The values of a differing row are bold as well as yellow: colour alone
// does not reach everyone, and the filtered view shows no colour at all.
void AxisCompareViewImplementation::markBold(QTreeWidgetItem* row, KxTreeItem::CompactRow* marked, bool differs)
{
    if (marked && bool(marked->viewMarks & Bold) == differs)
        return;
    static const QFont bold = [] {
        QFont font;
        font.setBold(true);
        return font;
    }();
    for (int column = 1; column <= 2; ++column)
        row->setData(column, Qt::FontRole, differs ? QVariant(bold) : QVariant());
    if (marked)
        setMark(marked, Bold, differs);
}

bool AxisCompareViewImplementation::rowDiffers(QTreeWidgetItem* row)
{
    KxTreeItem::CompactRow* marked = marksOf(row);
    if (!marked || !(marked->viewMarks & Known))
        return AxisCompareReport::valuesDiffer(row);
    return marked->viewMarks & Differs;
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

    // Colours the row as its difference asks and tells whether it differs.
    auto evaluate = [&](QTreeWidgetItem* row, KxTreeItem::CompactRow* marked) {
        if (!marked) {
            colorRow(row, diffOnly);
            return rowDiffers(row);
        }
        if (!(marked->viewMarks & Known))
            markRow(row, marked, diffOnly);
        const bool differs = marked->viewMarks & Differs;
        if (differs)
            allEqual = false;
        // On the filtered screen every row differs; the highlight would say nothing.
        const bool highlighted = differs && !diffOnly;
        if (bool(marked->viewMarks & Highlighted) != highlighted) {
            paintRow(row, highlighted, Repaint::Later);
            setMark(marked, Highlighted, highlighted);
        }
        return differs;
    };

    struct Element
    {
        QTreeWidgetItem* row;
        KxTreeItem::CompactRow* marked;
        bool differs;
    };
    QVarLengthArray<Element, 32> elements;
    int differing = 0;
    {
        // A background changes no row's size or place: the model's notice per
        // cell would only make the view look up each row on its own; one
        // repaint afterwards shows them all. Hiding rows is the view's own
        // business and goes on regardless.
        const QSignalBlocker quiet(tree->model());
        // With only differences on, a row stays visible when it differs
        // itself or when any of its elements does. The element rows under a
        // hidden row are not filtered: nobody sees them, and they are put
        // right whenever their row is shown again.
        QTreeWidgetItem* root = tree->invisibleRootItem();
        for (int i = 0, rows = root->childCount(); i < rows; ++i) {
            QTreeWidgetItem* row = root->child(i);
            KxTreeItem::CompactRow* marked = marksOf(row);
            bool anyDiffers = evaluate(row, marked);
            const bool wasQuiet = marked && (marked->viewMarks & ElementsQuiet);
            // Most parameters have equal elements: those are passed over
            // unless their row differs and the filter has to hide them.
            const bool elementsToDo = !wasQuiet || (diffOnly && anyDiffers);
            elements.clear();
            if (elementsToDo) {
                bool quiet = marked != nullptr;
                for (int j = 0, count = row->childCount(); j < count; ++j) {
                    QTreeWidgetItem* element = row->child(j);
                    KxTreeItem::CompactRow* elementMarks = marksOf(element);
                    const bool differs = evaluate(element, elementMarks);
                    elements.append({element, elementMarks, differs});
                    anyDiffers = anyDiffers || differs;
                    quiet = quiet && elementMarks && (elementMarks->viewMarks & (Known | Differs | Highlighted | Hidden)) == Known;
                }
                if (quiet)
                    setMark(marked, ElementsQuiet, true);
            }
            differing += anyDiffers ? 1 : 0;
            const bool rowShown = anyDiffers || !diffOnly;
            showRow(row, rowShown, i, QModelIndex(), marked);
            if (!rowShown)
                continue;
            QModelIndex rowIndex;
            for (int j = 0; j < elements.size(); ++j) {
                const Element& element = elements.at(j);
                const bool shown = !diffOnly || element.differs;
                if (element.marked && (element.marked->viewMarks & Known) && bool(element.marked->viewMarks & Hidden) != shown)
                    continue;
                if (!rowIndex.isValid())
                    rowIndex = tree->model()->index(i, 0);
                showRow(element.row, shown, j, rowIndex, element.marked);
            }
        }
    }
    tree->viewport()->update();

    for (int column = 0; column <= 2; ++column)
        tree->resizeColumnToContents(column);

    followItemChanges(true);

    summaryTimer->stop();
    differingParameters = differing;
    showSummary();
}

// Shows the element rows of a shown row that differ, or all of them.
void AxisCompareViewImplementation::filterElements(QTreeWidgetItem* row, int position, bool diffOnly)
{
    if (row->childCount() == 0)
        return;
    QModelIndex rowIndex;
    if (position >= 0)
        rowIndex = ui.parameterTreeWidget->model()->index(position, 0);
    for (int j = 0; j < row->childCount(); ++j) {
        QTreeWidgetItem* element = row->child(j);
        showRow(element, !diffOnly || rowDiffers(element), position >= 0 ? j : -1, rowIndex);
    }
}

// Rows whose visibility is known are only touched when it changes: every
// change costs the view a persistent index and a relayout.
void AxisCompareViewImplementation::showRow(QTreeWidgetItem* row, bool shown, int position, const QModelIndex& parent,
                                            KxTreeItem::CompactRow* marked)
{
    if (!marked)
        marked = marksOf(row);
    if (!marked || !(marked->viewMarks & Known)) {
        setRowHidden(row, !shown);
        return;
    }
    if (bool(marked->viewMarks & Hidden) != shown)
        return;
    // By position: the item would look its place up again.
    if (position >= 0)
        ui.parameterTreeWidget->setRowHidden(position, parent, !shown);
    else
        row->setHidden(!shown);
    setMark(marked, Hidden, !shown);
}

void AxisCompareViewImplementation::colorRow(QTreeWidgetItem* row, bool diffOnly)
{
    const bool differs = AxisCompareReport::valuesDiffer(row);
    if (differs)
        allEqual = false;
    markBold(row, nullptr, differs);
    // On the filtered screen every row differs; the highlight would say nothing.
    paintRow(row, differs && !diffOnly);
}

void AxisCompareViewImplementation::paintRow(QTreeWidgetItem* row, bool highlighted, Repaint repaint)
{
    // Two brushes for all cells, rather than one each.
    static const QBrush yellow(Qt::yellow);
    static const QBrush white(Qt::white);
    const QBrush& background = highlighted ? yellow : white;
    KxTreeItem::CompactRow* compact = marksOf(row);
    for (int column = 0; column <= 2; ++column) {
        if (compact && repaint == Repaint::Later)
            compact->setCellBrushQuietly(Qt::BackgroundRole, column, background);
        else if (compact)
            compact->setCellBrush(Qt::BackgroundRole, column, background);
        else
            row->setBackground(column, background);
    }
}

void AxisCompareViewImplementation::onItemChanged(QTreeWidgetItem* pItem, int column)
{
    if (column != 1 && column != 2)
        return;
    KxTreeItem::CompactRow* marked = marksOf(pItem);
    const bool differs = AxisCompareReport::valuesDiffer(pItem);
    if (marked && (marked->viewMarks & Known))
        setMark(marked, Differs, differs);
    followItemChanges(false);
    markBold(pItem, marked, differs);
    followItemChanges(true);
    scheduleSummary();
    if (!differencesOnly()) {
        showRow(pItem, true);
        followItemChanges(false);
        colorRow(pItem, false);
        if (marked && (marked->viewMarks & Known))
            setMark(marked, Highlighted, differs);
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

void AxisCompareViewImplementation::setFileOfSideB(const QString& fileName)
{
    ui.parameterTreeWidget->setAxisColumnNote(1, fileName.isEmpty() ? QString() : QFileInfo(fileName).fileName());
}

int AxisCompareViewImplementation::parameterCount() const
{
    return comparedAxes.isEmpty() ? 0 : ui.parameterTreeWidget->topLevelItemCount();
}

int AxisCompareViewImplementation::differingParameterCount() const
{
    if (summaryTimer->isActive())
        const_cast<AxisCompareViewImplementation*>(this)->updateSummary();
    return comparedAxes.isEmpty() ? 0 : differingParameters;
}

QString AxisCompareViewImplementation::summaryText() const
{
    if (summaryTimer->isActive())
        const_cast<AxisCompareViewImplementation*>(this)->updateSummary();
    return summary;
}

void AxisCompareViewImplementation::scheduleSummary()
{
    if (!summaryTimer->isActive())
        summaryTimer->start();
}

// Counts the differing parameters again from what the rows know of themselves.
void AxisCompareViewImplementation::updateSummary()
{
    summaryTimer->stop();
    QTreeWidget* tree = ui.parameterTreeWidget;
    int differing = 0;
    for (int i = 0, rows = tree->topLevelItemCount(); i < rows; ++i) {
        QTreeWidgetItem* row = tree->topLevelItem(i);
        bool differs = rowDiffers(row);
        for (int j = 0, count = row->childCount(); !differs && j < count; ++j)
            differs = rowDiffers(row->child(j));
        differing += differs ? 1 : 0;
    }
    differingParameters = differing;
    showSummary();
}

void AxisCompareViewImplementation::showSummary()
{
    const bool compared = !comparedAxes.isEmpty();
    const QString text = compared ? tr("%1 von %2 Parametern unterschiedlich").arg(differingParameters).arg(parameterCount())
                                  : QString();
    ui.summaryLabel->setText(text);
    // An empty grid would look like a fault; the filter found nothing to show.
    const bool nothingLeft = compared && differencesOnly() && differingParameters == 0;
    ui.noDifferencesLabel->setVisible(nothingLeft);
    ui.splitterMain->setVisible(!nothingLeft);
    if (text != summary) {
        summary = text;
        emit summaryChanged(summary);
    }
}

bool AxisCompareViewImplementation::goToNextDifference()
{
    return goToDifference(1);
}

bool AxisCompareViewImplementation::goToPreviousDifference()
{
    return goToDifference(-1);
}

// Rows in the order the tree shows them: each parameter, then its elements.
namespace {

QList<QTreeWidgetItem*> rowsInOrder(QTreeWidget* tree)
{
    QList<QTreeWidgetItem*> rows;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = tree->topLevelItem(i);
        rows.append(row);
        for (int j = 0; j < row->childCount(); ++j)
            rows.append(row->child(j));
    }
    return rows;
}

bool shown(const QTreeWidgetItem* row)
{
    return !row->isHidden() && (!row->parent() || !row->parent()->isHidden());
}

} // namespace

bool AxisCompareViewImplementation::goToDifference(int step)
{
    ui.parameterTreeWidget->flushScheduledRefresh();
    QTreeWidget* tree = ui.parameterTreeWidget;
    const QList<QTreeWidgetItem*> rows = rowsInOrder(tree);
    const int count = rows.size();
    const int current = rows.indexOf(tree->currentItem());
    for (int k = 1; k <= count; ++k) {
        const int at = current < 0 ? (step > 0 ? k - 1 : count - k) : ((current + step * k) % count + count) % count;
        QTreeWidgetItem* row = rows.at(at);
        if (!shown(row) || !rowDiffers(row))
            continue;
        tree->setCurrentItem(row, qMax(0, tree->currentColumn()));
        tree->scrollToItem(row);
        return true;
    }
    return false;
}

// A new comparison opens at its first difference, or at its top.
void AxisCompareViewImplementation::makeFirstDifferenceCurrent()
{
    QTreeWidget* tree = ui.parameterTreeWidget;
    if (sameAxis || tree->topLevelItemCount() == 0)
        return;
    tree->setCurrentItem(nullptr);
    if (!goToDifference(1)) {
        tree->setCurrentItem(tree->topLevelItem(0));
        tree->scrollToItem(tree->topLevelItem(0));
    }
}
