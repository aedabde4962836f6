#include "ParameterCustomListTreeWidget.h"
#include "CellSizeDelegate_p.h"

#include "ParameterCustomList.h"
#include "ParameterCustomListElementItem.h"
#include "ParameterCustomListEntry.h"
#include "ParameterCustomListEntryItem.h"
#include "ParameterCustomListHeaderItem.h"
#include "ParameterCustomListHeaderView.h"
#include "ParameterCustomListRepository.h"
#include "TreeItemCells_p.h"

#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "HelpWidget.h"
#include "KxSuiteGlobal.h"
#include "LanguageManager.h"
#include "ParameterItemComboBox.h"
#include "ParameterItemEdit.h"
#include "ParameterPropertyList.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"
#include "System.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QIcon>
#include <QMenu>
#include <QPalette>
#include <QSet>
#include <QTimer>

#include <algorithm>

namespace {

uint rowNumber(const QTreeWidgetItem* row)
{
    return row->data(0, ParameterCustomListEntryItem::role).toUInt();
}

const QByteArray HeaderStateKey = QByteArrayLiteral("HeaderState");
const QByteArray HeaderGeometryKey = QByteArrayLiteral("HeaderGeometry");
const QByteArray ColumnsSizedByUserKey = QByteArrayLiteral("ColumnsSizedByUser");
// Content wider than this is cut (captions elided) rather than widening a
// column past what a window can show; an empty list still leaves room for
// what is to come.
constexpr int MaximumColumnChars = 48;
constexpr int MinimumParameterColumnChars = 24;
constexpr int MinimumAxisColumnChars = 12;
const QString DescriptionPrefix = QStringLiteral("<description>=");

ParameterSetup* editorSetup(QWidget* editor)
{
    if (auto* edit = qobject_cast<ParameterItemEdit*>(editor))
        return edit->parameterSetup();
    if (auto* combo = qobject_cast<ParameterItemComboBox*>(editor))
        return combo->parameterSetup();
    return nullptr;
}

eLivingSpace editorLivingSpace(QWidget* editor)
{
    if (auto* edit = qobject_cast<ParameterItemEdit*>(editor))
        return edit->livingSpace();
    if (auto* combo = qobject_cast<ParameterItemComboBox*>(editor))
        return combo->livingSpace();
    return LivingSpaceNone;
}

} // namespace

ParameterCustomListTreeWidget::ParameterCustomListTreeWidget(QWidget* parent)
    : QTreeWidget(parent)
{
    headerItem = new ParameterCustomListHeaderItem(this);
    headerView = new ParameterCustomListHeaderView(this);
    contextMenu = new QMenu(this);
    setHeaderItem(headerItem);
    setHeader(headerView);

    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(true);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setUniformRowHeights(true);
    setItemDelegate(new CellSizeDelegate(this, [this](const QModelIndex& index) { return itemFromIndex(index); }));
    headerView->setResizeContentsPrecision(64);
    // At Qt's 100 pixels the two-line axis captions of a list without a
    // stored header state start cut off.
    headerView->setDefaultSectionSize(fontMetrics().averageCharWidth() * 22);

    const QList<QSize> sizes = QIcon(QStringLiteral(":/Resources/standard.png")).availableSizes(QIcon::Normal, QIcon::Off);
    if (!sizes.isEmpty())
        setIconSize(sizes.first());

    refreshTimer = new QTimer(this);
    refreshTimer->setSingleShot(true);
    refreshTimer->setInterval(0);
    connect(refreshTimer, &QTimer::timeout, this, &ParameterCustomListTreeWidget::runScheduledRefresh);

    connect(this, &QTreeWidget::itemDoubleClicked, this, &ParameterCustomListTreeWidget::itemDoubleClicked);
    connect(this, &QWidget::customContextMenuRequested, this, &ParameterCustomListTreeWidget::onContextMenuRequested);
}

ParameterCustomListTreeWidget::~ParameterCustomListTreeWidget()
{
    // An editor losing its focus while the tree is half destroyed would write
    // its value and call back into a tree that is no longer there.
    if (editor) {
        disconnect(editor, nullptr, this, nullptr);
        if (editItem)
            setItemWidget(editItem, editColumn, nullptr);
        delete editor.data();
    }
    clearContextMenu();
    disconnectAxes();
    if (ParameterCustomList* customList = this->customList()) {
        disconnect(customList, nullptr, this, nullptr);
        for (ParameterCustomListEntry* entry : qAsConst(customList->entries())) {
            if (entry)
                entry->detachAxes();
        }
    }
    disconnect(LanguageManager::instance(), nullptr, this, nullptr);
}

ParameterCustomList* ParameterCustomListTreeWidget::customList() const
{
    return static_cast<ParameterCustomList*>(list);
}

ParameterCustomListInformation* ParameterCustomListTreeWidget::parameterCustomList() const
{
    return list;
}

void ParameterCustomListTreeWidget::setParameterCustomList(ParameterCustomListInformation* newList)
{
    if (ParameterCustomList* old = customList()) {
        disconnect(old, nullptr, this, nullptr);
        disconnectAxes();
        closeEditor();
        for (ParameterCustomListEntry* entry : qAsConst(old->entries())) {
            if (entry)
                entry->detachAxes();
        }
        clear();
    }
    cancelScheduledRefresh();

    // Only the library's own lists carry axes and entries.
    list = qobject_cast<ParameterCustomList*>(newList);
    headerItem->setParameterCustomList(list);
    headerView->setParameterCustomList(list);

    if (ParameterCustomList* customList = this->customList()) {
        connect(customList, &ParameterCustomListInformation::listAxesChanged,
                this, &ParameterCustomListTreeWidget::onListAxesChanged);
        connect(customList, &ParameterCustomListInformation::listEntriesChanged,
                this, &ParameterCustomListTreeWidget::onListEntriesChanged);
        connect(customList, &QObject::destroyed, this, &ParameterCustomListTreeWidget::onListIsDestroyed);
        updateAxes();
        invalidateRows();
        onContentChanged();
    } else {
        headerItem->updateHeader();
    }
}

void ParameterCustomListTreeWidget::setHelpWidget(HelpWidget* widget)
{
    helpWidget = widget;
}

void ParameterCustomListTreeWidget::setColorWidget(QWidget* widget)
{
    colorWidget = widget;
}

void ParameterCustomListTreeWidget::setPropertyList(ParameterPropertyList* widget)
{
    propertyList = widget;
}

QWidget* ParameterCustomListTreeWidget::itemEditor() const
{
    return editor.data();
}

int ParameterCustomListTreeWidget::contentRefreshCount() const
{
    return contentRefreshes;
}

bool ParameterCustomListTreeWidget::isRefreshPending() const
{
    return refreshTimer->isActive();
}

// Drops the connections to the controllers and providers of the list's
// living axes and to every provider whose access level was followed.
void ParameterCustomListTreeWidget::disconnectAxes()
{
    for (auto it = accessLevelUpdates.cbegin(); it != accessLevelUpdates.cend(); ++it)
        disconnect(it.key(), nullptr, this, nullptr);
    accessLevelUpdates.clear();
    ParameterCustomList* customList = this->customList();
    if (!customList)
        return;
    for (const QPointer<DriveControllerAxis>& axis : customList->axes()) {
        if (!axis || !axis->driveController())
            continue;
        DriveController* controller = axis->driveController();
        disconnect(controller, nullptr, this, nullptr);
        if (ParameterProvider* provider = controller->parameterProvider())
            disconnect(provider, nullptr, this, nullptr);
    }
}

void ParameterCustomListTreeWidget::onProviderDestroyed(QObject* provider)
{
    for (auto it = accessLevelUpdates.begin(); it != accessLevelUpdates.end(); ++it) {
        if (static_cast<QObject*>(it.key()) == provider) {
            accessLevelUpdates.erase(it);
            return;
        }
    }
}

void ParameterCustomListTreeWidget::onAxesChanged()
{
    updateAxes();
    invalidateRows();
    onContentChanged();
}

void ParameterCustomListTreeWidget::onListAxesChanged()
{
    ParameterCustomList* customList = this->customList();
    if (!customList || (customList->revision() == axesRevision && customList->revision() == contentRevision))
        return;
    onAxesChanged();
}

void ParameterCustomListTreeWidget::onListEntriesChanged()
{
    ParameterCustomList* customList = this->customList();
    if (!customList || customList->revision() == contentRevision)
        return;
    onContentChanged();
}

// The header follows a controller at once (it is cheap, and shows its state);
// the rows wait for the burst of value notices that usually comes with it.
void ParameterCustomListTreeWidget::onControllerChanged()
{
    updateAxes();
    scheduleContentRefresh();
}

// The save state and the marking colour show in the header and the colour
// strip only; no row depends on them.
void ParameterCustomListTreeWidget::onControllerMarksChanged()
{
    updateAxes();
}

void ParameterCustomListTreeWidget::invalidateRows()
{
    ++cacheEpoch;
}

bool ParameterCustomListTreeWidget::rowIsCurrent(const ParameterCustomListEntryItem* row) const
{
    return row->filledEpoch == cacheEpoch && row->filledRevision == row->entry()->revision()
        && !pendingValueCoordinates.contains(row->entry()->coordinate().toNumber());
}

void ParameterCustomListTreeWidget::scheduleContentRefresh()
{
    invalidateRows();
    contentRefreshPending = true;
    if (!refreshTimer->isActive())
        refreshTimer->start();
}

void ParameterCustomListTreeWidget::cancelScheduledRefresh()
{
    contentRefreshPending = false;
    pendingValueCoordinates.clear();
    refreshTimer->stop();
}

// For the user's own edits and copies: the rows show the result when the
// action returns.
void ParameterCustomListTreeWidget::flushScheduledRefresh()
{
    if (refreshTimer->isActive())
        runScheduledRefresh();
}

void ParameterCustomListTreeWidget::runScheduledRefresh()
{
    if (!customList()) {
        cancelScheduledRefresh();
        return;
    }
    // What is still pending then waits for the end of the update, which
    // refreshes everything.
    if (accessLevelChangeisRunning())
        return;
    if (contentRefreshPending || !refreshValueRows())
        onContentChanged();
}

void ParameterCustomListTreeWidget::updateAxes()
{
    // Controllers signal while their providers update the access level (a
    // value written meanwhile changes the save state); forgetting a running
    // update here would let the tree rebuild from values in flux.
    const QMap<ParameterProvider*, bool> running = accessLevelUpdates;
    for (auto it = accessLevelUpdates.cbegin(); it != accessLevelUpdates.cend(); ++it)
        disconnect(it.key(), nullptr, this, nullptr);
    accessLevelUpdates.clear();

    ParameterCustomList* customList = this->customList();
    if (!customList)
        return;
    axesRevision = customList->revision();

    const QList<QPointer<DriveControllerAxis>> axes = customList->axes();
    columnSources.clear();
    for (const QPointer<DriveControllerAxis>& axis : axes) {
        DriveController* controller = axis ? axis->driveController() : nullptr;
        columnSources.append(qMakePair(controller ? static_cast<const QObject*>(controller->parameterProvider()) : nullptr,
                                       axis ? int(axis->axisNumber()) : int(LivingSpaceNone)));
    }
    for (const QPointer<DriveControllerAxis>& axis : axes) {
        if (!axis || !axis->driveController())
            continue;
        DriveController* controller = axis->driveController();
        connect(controller, &DriveController::onlineStateChanged,
                this, &ParameterCustomListTreeWidget::onControllerChanged, Qt::UniqueConnection);
        connect(controller, &DriveController::deviceStateChanged,
                this, &ParameterCustomListTreeWidget::onControllerChanged, Qt::UniqueConnection);
        connect(controller, &DriveController::needSaveChanged,
                this, &ParameterCustomListTreeWidget::onControllerMarksChanged, Qt::UniqueConnection);
        connect(controller, &DriveController::markingColorChanged,
                this, &ParameterCustomListTreeWidget::onControllerMarksChanged, Qt::UniqueConnection);

        ParameterProvider* provider = controller->parameterProvider();
        if (!provider)
            continue;
        connect(provider, &ParameterProvider::onlineChanged,
                this, &ParameterCustomListTreeWidget::scheduleContentRefresh, Qt::UniqueConnection);
        connect(provider, &ParameterProvider::readOnlyChanged,
                this, &ParameterCustomListTreeWidget::scheduleContentRefresh, Qt::UniqueConnection);
        connect(provider, &ParameterProvider::parameterAdded,
                this, &ParameterCustomListTreeWidget::scheduleContentRefresh, Qt::UniqueConnection);
        connect(provider, &ParameterProvider::parameterRemoved,
                this, &ParameterCustomListTreeWidget::scheduleContentRefresh, Qt::UniqueConnection);
        connect(provider, &ParameterProvider::parameterValueChanged,
                this, &ParameterCustomListTreeWidget::onValueChanged, Qt::UniqueConnection);
        connect(provider, &ParameterProvider::parameterDefinitionChanged,
                this, &ParameterCustomListTreeWidget::onDefinitionChanged, Qt::UniqueConnection);
        connect(provider, &ParameterProvider::parameterVisibilityChanged,
                this, &ParameterCustomListTreeWidget::onDefinitionChanged, Qt::UniqueConnection);
        connect(provider, &ParameterProvider::parameterMeasuringUnitChanged,
                this, &ParameterCustomListTreeWidget::onDefinitionChanged, Qt::UniqueConnection);
        connect(provider, &ParameterProvider::accessLevelUpdateStarted,
                this, &ParameterCustomListTreeWidget::onAccessLevelUpdateStarted, Qt::UniqueConnection);
        connect(provider, &ParameterProvider::accessLevelUpdateFinished,
                this, &ParameterCustomListTreeWidget::onAccessLevelUpdateFinished, Qt::UniqueConnection);
        // A provider can go while its flag is kept; the key must not outlive it.
        if (!accessLevelUpdates.contains(provider)) {
            connect(provider, &QObject::destroyed, this,
                    [this](QObject* object) { onProviderDestroyed(object); });
        }
        accessLevelUpdates[provider] = running.value(provider, false);
    }

    connect(LanguageManager::instance(), &LanguageManager::activeLanguageChanged,
            this, &ParameterCustomListTreeWidget::scheduleContentRefresh, Qt::UniqueConnection);

    currentChanged(currentIndex(), currentIndex());

    headerView->setStretchLastSection(false);
    // Shrinking the columns would release an editor through the view, which
    // hides it and lets it write a half-typed value in the middle of the
    // rebuild; an editor whose column now shows another axis goes first.
    if (editor && !editorFollowsItsColumn())
        closeEditor();
    const bool wasResizing = resizingColumns;
    resizingColumns = true;
    headerItem->updateHeader();
    resizingColumns = wasResizing;
    columnsToFit = true;
}

namespace {

// Counts the translator changes: the application hears of each one at once,
// while the widgets get their LanguageChange later, posted and often twice.
class TranslatorGeneration : public QObject
{
public:
    static quint64 current()
    {
        static QPointer<TranslatorGeneration> instance;
        if (!instance && QCoreApplication::instance()) {
            instance = new TranslatorGeneration(QCoreApplication::instance());
            QCoreApplication::instance()->installEventFilter(instance);
        }
        return generation;
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::LanguageChange && watched == QCoreApplication::instance())
            ++generation;
        return false;
    }

private:
    using QObject::QObject;
    // Starts above the trees' initial value so that a tree that never
    // refreshed takes any LanguageChange as news.
    static inline quint64 generation = 1;
};

} // namespace

void ParameterCustomListTreeWidget::changeEvent(QEvent* event)
{
    // The rows' own texts (an axis without the parameter) are translated;
    // the context menu is built anew for every request anyway. A refresh
    // since the last translator change (the language manager's) has read
    // the current catalogues already.
    if (event->type() == QEvent::LanguageChange && translationsOfLastRefresh != TranslatorGeneration::current())
        scheduleContentRefresh();
    if (event->type() == QEvent::LanguageChange) {
        columnsToFit = true;
        QMetaObject::invokeMethod(this, [this]() { fitColumnsIfDue(); }, Qt::QueuedConnection);
    }
    QTreeWidget::changeEvent(event);
}

// Waits for a refresh that is still to come: the columns fit what it shows.
void ParameterCustomListTreeWidget::fitColumnsIfDue()
{
    ParameterCustomList* customList = this->customList();
    if (!columnsToFit || !customList || !isVisible() || refreshTimer->isActive())
        return;
    columnsToFit = false;
    if (customList->state(ColumnsSizedByUserKey) == "1")
        return;
    const int charWidth = fontMetrics().averageCharWidth();
    resizingColumns = true;
    for (int column = 0; column < columnCount(); ++column) {
        const int minimum = charWidth * (column == 0 ? MinimumParameterColumnChars : MinimumAxisColumnChars);
        const int content = qMax(sizeHintForColumn(column), headerView->sectionSizeHint(column));
        headerView->resizeSection(column, qBound(minimum, content, charWidth * MaximumColumnChars));
    }
    resizingColumns = false;
}

void ParameterCustomListTreeWidget::onSectionResized()
{
    ParameterCustomList* customList = this->customList();
    if (!customList)
        return;
    // Fitted widths are not kept: the next window fits them anew, and the
    // project does not count as changed by them.
    if (resizingColumns)
        return;
    customList->setState(ColumnsSizedByUserKey, QByteArrayLiteral("1"));
    saveHeaderState();
}

bool ParameterCustomListTreeWidget::editorFollowsItsColumn() const
{
    ParameterCustomList* customList = this->customList();
    ParameterCustomListEntry* entry = entryOf(editItem);
    if (!customList || !entry || !editor)
        return false;
    const QList<QPointer<DriveControllerAxis>> axes = customList->axes();
    const int axis = editColumn - 1;
    if (axis < 0 || axis >= axes.size() || !axes.at(axis))
        return false;
    ParameterSetup* setup = entry->parameterSetup(axis);
    return setup && setup == editorSetup(editor) && axes.at(axis)->axisNumber() == editorLivingSpace(editor);
}

void ParameterCustomListTreeWidget::refreshRow(ParameterCustomListEntryItem* row, const KxTreeItem::RowStyle& style)
{
    ParameterCustomListEntry* entry = row->entry();
    if (editItem && editItem->parent() == row
        && !entry->childElementIndices().contains(elementIndexOf(editItem)))
        closeEditor();
    const bool hadChildren = row->childCount() > 0;
    fillRow(row, style);
    if (!hadChildren && row->childCount() > 0)
        row->setExpanded(true);
}

void ParameterCustomListTreeWidget::fillRow(ParameterCustomListEntryItem* row, const KxTreeItem::RowStyle& style)
{
    row->update(style);
    row->filledEpoch = cacheEpoch;
    row->filledRevision = row->entry()->revision();
    announceFilled(row);
}

// Neither the translators, the palette nor the access level announces
// itself to the rows: each pass compares them with the last one.
bool ParameterCustomListTreeWidget::surroundingsChanged(const KxTreeItem::RowStyle& style) const
{
    return translationsOfLastRefresh != TranslatorGeneration::current() || !styleOfLastPass
        || *styleOfLastPass != style || levelOfLastPass != System::instance().currentLevel();
}

void ParameterCustomListTreeWidget::setRowFilledHook(std::function<void(QTreeWidgetItem*)> hook)
{
    rowFilledHook = std::move(hook);
}

void ParameterCustomListTreeWidget::announceFilled(QTreeWidgetItem* row)
{
    if (!rowFilledHook)
        return;
    rowFilledHook(row);
    for (int i = 0; i < row->childCount(); ++i)
        rowFilledHook(row->child(i));
}

void ParameterCustomListTreeWidget::onContentChanged()
{
    if (accessLevelChangeisRunning())
        return;
    ParameterCustomList* customList = this->customList();
    if (!customList)
        return;
    contentRevision = customList->revision();
    contentRefreshPending = false;
    refreshTimer->stop();
    ++contentRefreshes;

    const KxTreeItem::RowStyle style = KxTreeItem::rowStyle(this);
    if (surroundingsChanged(style))
        invalidateRows();
    translationsOfLastRefresh = TranslatorGeneration::current();
    styleOfLastPass.reset(new KxTreeItem::RowStyle(style));
    levelOfLastPass = System::instance().currentLevel();

    QMap<ParameterCoordinate, ParameterCustomListEntry*> pending = customList->entries();
    QSet<const ParameterCustomListEntry*> pendingEntries;
    pendingEntries.reserve(pending.size());
    for (ParameterCustomListEntry* entry : qAsConst(pending))
        pendingEntries.insert(entry);

    QList<QTreeWidgetItem*> doomed;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        auto* row = KxTreeItem::rowCast<ParameterCustomListEntryItem>(topLevelItem(i));
        if (!row)
            continue;
        ParameterCustomListEntry* entry = row->entry();
        // Pointers are only compared here: a row whose entry is gone must not
        // be asked anything.
        if (!entry || !pendingEntries.contains(entry)) {
            doomed.append(row);
            continue;
        }
        pending.remove(entry->coordinate());
        if (rowIsCurrent(row))
            continue;
        refreshRow(row, style);
        entry->attachAxes();
    }
    pendingValueCoordinates.clear();

    if (!doomed.isEmpty()) {
        if (editItem && (doomed.contains(editItem) || doomed.contains(editItem->parent())))
            closeEditor();
        // Clearing at once is far cheaper than removing every row by itself.
        if (doomed.size() == topLevelItemCount())
            clear();
        else
            qDeleteAll(doomed);
    }

    // New rows are filled before they join the tree, where every cell set
    // would be announced to the view one by one.
    // All rows and their element rows before any is filled: the rows then lie
    // next to each other, apart from their texts, and every later pass over
    // them (the view's layout, a filter) reads them in one sweep instead of
    // all over the heap.
    QList<QTreeWidgetItem*> added;
    added.reserve(pending.size());
    for (ParameterCustomListEntry* entry : qAsConst(pending)) {
        if (entry)
            added.append(new ParameterCustomListEntryItem(entry));
    }
    for (QTreeWidgetItem* item : qAsConst(added))
        static_cast<ParameterCustomListEntryItem*>(item)->updateChildren();
    for (QTreeWidgetItem* item : qAsConst(added)) {
        auto* row = static_cast<ParameterCustomListEntryItem*>(item);
        fillRow(row, style);
        row->entry()->attachAxes();
    }
    if (!added.isEmpty()) {
        // Rows are keyed by coordinate, which never changes for a row, so the
        // order can only change when rows were added. New rows come in
        // ascending order; into rows already there they are merged at their
        // places, which leaves what sortItems() would leave without a
        // relayout of the whole tree.
        const int existing = topLevelItemCount();
        // Where each new row went, so that it can be expanded by its place:
        // an item would look its place up among all rows.
        QVector<int> positions;
        if (existing == 0 || rowNumber(topLevelItem(existing - 1)) < rowNumber(added.first())) {
            addTopLevelItems(added);
            header()->setSortIndicator(0, Qt::AscendingOrder);
            for (int i = 0; i < added.size(); ++i)
                positions.append(existing + i);
        } else if (added.size() > 64) {
            // Many insertions each move the rows after them; one sort is cheaper.
            addTopLevelItems(added);
            sortItems(0, Qt::AscendingOrder);
        } else {
            int at = 0;
            for (QTreeWidgetItem* row : qAsConst(added)) {
                const uint number = rowNumber(row);
                while (at < topLevelItemCount() && rowNumber(topLevelItem(at)) < number)
                    ++at;
                positions.append(at);
                insertTopLevelItem(at++, row);
            }
            header()->setSortIndicator(0, Qt::AscendingOrder);
        }
        // Expanding a childless row only costs the view a persistent index.
        // With a layout pending, expanding only notes the row; otherwise
        // each one lays out its children at once, moving all rows below.
        scheduleDelayedItemsLayout();
        for (int i = 0; i < added.size(); ++i) {
            if (added.at(i)->childCount() == 0)
                continue;
            if (positions.isEmpty())
                added.at(i)->setExpanded(true);
            else
                expand(model()->index(positions.at(i), 0));
        }
        setCurrentItem(added.last());
        columnsToFit = true;
    }
    fitColumnsIfDue();
}

// Refills the rows of the coordinates whose values were signalled. Returns
// false when the rows no longer match the list's entries one to one; only a
// full refresh can then give the rows it would give.
bool ParameterCustomListTreeWidget::refreshValueRows()
{
    ParameterCustomList* customList = this->customList();
    if (!customList)
        return true;
    const QMap<ParameterCoordinate, ParameterCustomListEntry*>& entries = customList->entries();
    const int rows = topLevelItemCount();
    if (rows != entries.size())
        return false;

    const KxTreeItem::RowStyle style = KxTreeItem::rowStyle(this);
    if (surroundingsChanged(style))
        return false;
    // In row order: the view looks every changed cell up among its rows,
    // starting where it found the one before.
    QVector<QPair<quint16, quint64>> coordinates;
    coordinates.reserve(pendingValueCoordinates.size());
    for (auto it = pendingValueCoordinates.cbegin(); it != pendingValueCoordinates.cend(); ++it)
        coordinates.append(qMakePair(it.key(), it.value()));
    pendingValueCoordinates.clear();
    std::sort(coordinates.begin(), coordinates.end());
    for (auto it = coordinates.cbegin(); it != coordinates.cend(); ++it) {
        const quint16 number = it->first;
        // Rows are sorted by coordinate number.
        int low = 0;
        int high = rows;
        while (low < high) {
            const int middle = (low + high) / 2;
            if (rowNumber(topLevelItem(middle)) < number)
                low = middle + 1;
            else
                high = middle;
        }
        auto* row = low < rows ? KxTreeItem::rowCast<ParameterCustomListEntryItem>(topLevelItem(low)) : nullptr;
        ParameterCustomListEntry* entry = entries.value(ParameterCoordinate(number));
        if (!row || !entry || row->entry() != entry
            || rowNumber(row) != number)
            return false;
        // Only the cells of the signalled values, unless the row is behind
        // in more than its values.
        if (it->second != ~quint64(0) && row->filledEpoch == cacheEpoch && row->filledRevision == entry->revision())
            row->updateValues(style, it->second);
        else
            refreshRow(row, style);
    }
    return true;
}

// The columns that show the values of a provider's living space: its own
// axis, or every axis of the controller for a device-wide parameter.
quint64 ParameterCustomListTreeWidget::valueColumns(ParameterCustomListEntry* entry, const QObject* provider,
                                                    eLivingSpace livingSpace) const
{
    ParameterCustomList* customList = this->customList();
    const auto* source = qobject_cast<const ParameterProvider*>(provider);
    if (!customList || !source || columnCount() > 64)
        return ~quint64(0);
    quint64 columns = 0;
    for (int axis = 0; axis < columnSources.size() && axis + 1 < 64; ++axis) {
        if (columnSources.at(axis).first != source)
            continue;
        ParameterSetup* setup = entry->parameterSetup(axis);
        if (!setup || setup->isGlobal() || columnSources.at(axis).second == livingSpace)
            columns |= quint64(1) << (axis + 1);
    }
    return columns;
}

// A changed definition may change the label and every cell of the row.
void ParameterCustomListTreeWidget::onDefinitionChanged(ParameterAddress address)
{
    ParameterCustomList* customList = this->customList();
    const quint16 number = address.coordinate().toNumber();
    if (!customList || !customList->entries().contains(ParameterCoordinate(number)))
        return;
    pendingValueCoordinates[number] = ~quint64(0);
    if (!refreshTimer->isActive())
        refreshTimer->start();
}

void ParameterCustomListTreeWidget::onValueChanged(ParameterAddress address)
{
    ParameterCustomList* customList = this->customList();
    if (!customList)
        return;
    const quint16 number = address.coordinate().toNumber();
    ParameterCustomListEntry* entry = customList->entries().value(ParameterCoordinate(number));
    if (!entry)
        return;
    pendingValueCoordinates[number] |= valueColumns(entry, sender(), address.livingSpace());
    if (!refreshTimer->isActive())
        refreshTimer->start();
}

void ParameterCustomListTreeWidget::onListIsDestroyed()
{
    // The list has deleted its entries already; the rows must not reach them.
    list = nullptr;
    cancelScheduledRefresh();
    headerItem->setParameterCustomList(nullptr);
    headerView->setParameterCustomList(nullptr);
    for (auto it = accessLevelUpdates.cbegin(); it != accessLevelUpdates.cend(); ++it)
        disconnect(it.key(), nullptr, this, nullptr);
    accessLevelUpdates.clear();
    closeEditor();
    clear();
    headerItem->updateHeader();
}

void ParameterCustomListTreeWidget::onAccessLevelUpdateStarted()
{
    if (auto* provider = qobject_cast<ParameterProvider*>(sender()))
        accessLevelUpdates[provider] = true;
}

void ParameterCustomListTreeWidget::onAccessLevelUpdateFinished()
{
    if (auto* provider = qobject_cast<ParameterProvider*>(sender()))
        accessLevelUpdates[provider] = false;
    invalidateRows();
    if (!accessLevelChangeisRunning())
        onContentChanged();
}

bool ParameterCustomListTreeWidget::accessLevelChangeisRunning()
{
    for (bool running : qAsConst(accessLevelUpdates)) {
        if (running)
            return true;
    }
    return false;
}

quint16 ParameterCustomListTreeWidget::elementIndexOf(QTreeWidgetItem* item) const
{
    if (auto* elementRow = KxTreeItem::rowCast<ParameterCustomListElementItem>(item))
        return elementRow->element();
    if (auto* entryRow = KxTreeItem::rowCast<ParameterCustomListEntryItem>(item)) {
        if (ParameterCustomListEntry* entry = entryOf(entryRow)) {
            const QList<quint16> elements = entry->elementIndices();
            return elements.isEmpty() ? 0 : elements.first();
        }
    }
    return 0;
}

bool ParameterCustomListTreeWidget::holdsEntry(const ParameterCustomListEntry* entry) const
{
    ParameterCustomList* customList = this->customList();
    if (!customList || !entry)
        return false;
    const QMap<ParameterCoordinate, ParameterCustomListEntry*>& entries = customList->entries();
    return std::find(entries.cbegin(), entries.cend(), entry) != entries.cend();
}

ParameterCustomListEntry* ParameterCustomListTreeWidget::entryOf(QTreeWidgetItem* item) const
{
    ParameterCustomListEntry* entry = nullptr;
    QTreeWidgetItem* entryItem = item;
    if (KxTreeItem::rowCast<ParameterCustomListElementItem>(item))
        entryItem = item->parent();
    if (auto* entryRow = KxTreeItem::rowCast<ParameterCustomListEntryItem>(entryItem))
        entry = entryRow->entry();
    ParameterCustomList* customList = this->customList();
    if (!entry || !customList)
        return nullptr;
    // Between clearing a list and the queued notice of it the rows still
    // point at deleted entries; the coordinate kept in the row finds out.
    const quint16 number = quint16(entryItem->data(0, ParameterCustomListEntryItem::role).toUInt());
    return customList->entries().value(ParameterCoordinate(number)) == entry ? entry : nullptr;
}

void ParameterCustomListTreeWidget::itemDoubleClicked(QTreeWidgetItem* pItem, int column)
{
    if (column == 0)
        return;
    openItemEditor(pItem, column);
}

void ParameterCustomListTreeWidget::openItemEditor(QTreeWidgetItem* item, int column)
{
    ParameterCustomListEntry* entry = entryOf(item);
    ParameterCustomList* customList = this->customList();
    if (!entry || !customList)
        return;
    const int axis = column - 1;

    quint16 element = 0;
    bool writable = false;
    bool combo = false;
    if (auto* elementRow = KxTreeItem::rowCast<ParameterCustomListElementItem>(item)) {
        element = elementRow->element();
        writable = entry->isWritable(axis, element);
        combo = entry->hasSelectionList(axis, element);
    } else if (KxTreeItem::rowCast<ParameterCustomListEntryItem>(item)) {
        const QList<quint16> elements = entry->elementIndices();
        element = elements.isEmpty() ? 0 : elements.first();
        writable = entry->isWritable(axis);
        combo = entry->hasSelectionList(axis);
    } else {
        return;
    }
    ParameterSetup* setup = entry->parameterSetup(axis);

    eLivingSpace livingSpace = LivingSpaceNone;
    const QList<QPointer<DriveControllerAxis>> axes = customList->axes();
    if (axis >= 0 && axis < axes.size() && axes.at(axis))
        livingSpace = axes.at(axis)->axisNumber();

    if (!writable || editor || livingSpace == LivingSpaceNone)
        return;

    editItem = item;
    editColumn = column;
    QWidget* widget = nullptr;
    if (combo) {
        auto* box = new ParameterItemComboBox(nullptr);
        box->setParameterSetup(setup);
        box->setLivingSpace(livingSpace);
        box->setElementIndex(element);
        widget = box;
    } else {
        auto* edit = new ParameterItemEdit(nullptr);
        edit->setParameterSetup(setup);
        edit->setLivingSpace(livingSpace);
        edit->setElementIndex(element);
        widget = edit;
    }
    widget->setFixedHeight(visualItemRect(item).height());
    setItemWidget(item, column, widget);
    editor = widget;
    connect(widget, SIGNAL(deleteMe()), this, SLOT(deleteItemWidget()));
    if (auto* box = qobject_cast<ParameterItemComboBox*>(widget)) {
        box->initialize();
        box->showPopup();
    } else {
        static_cast<ParameterItemEdit*>(widget)->initialize();
    }
}

void ParameterCustomListTreeWidget::deleteItemWidget()
{
    if (!editor || !editItem)
        return;
    QWidget* finished = editor.data();
    const bool hadFocus = finished->hasFocus();
    disconnect(finished, nullptr, this, nullptr);
    // The view deletes the widget later; until then it must not count as open.
    setItemWidget(editItem, editColumn, nullptr);
    editor = nullptr;
    editItem = nullptr;
    editColumn = -1;
    flushScheduledRefresh();
    if (hadFocus)
        setFocus(Qt::OtherFocusReason);
}

// Takes an editor out of the tree without letting it write anything.
void ParameterCustomListTreeWidget::closeEditor()
{
    if (editor) {
        disconnect(editor, nullptr, this, nullptr);
        if (editItem)
            setItemWidget(editItem, editColumn, nullptr);
        else
            editor->deleteLater();
    }
    editor = nullptr;
    editItem = nullptr;
    editColumn = -1;
}

void ParameterCustomListTreeWidget::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTreeWidget::currentChanged(current, previous);

    QTreeWidgetItem* item = current.isValid() ? itemFromIndex(current) : nullptr;
    const int column = current.isValid() ? current.column() : -1;
    ParameterCustomListEntry* entry = entryOf(item);
    const int axis = column - 1;
    const quint16 element = elementIndexOf(item);
    const bool isElement = KxTreeItem::rowCast<ParameterCustomListElementItem>(item) != nullptr;

    QColor color(0, 0, 0, 0);
    eLivingSpace livingSpace = LivingSpaceNone;
    ParameterProvider* provider = nullptr;
    ParameterSetup* setup = nullptr;
    QString helpIdentifier;

    ParameterCustomList* customList = this->customList();
    const QList<QPointer<DriveControllerAxis>> axes = customList ? customList->axes()
                                                                 : QList<QPointer<DriveControllerAxis>>();
    if (entry && axis >= 0 && axis < axes.size()) {
        if (DriveControllerAxis* axisObject = axes.at(axis)) {
            livingSpace = axisObject->axisNumber();
            if (DriveController* controller = axisObject->driveController()) {
                provider = controller->parameterProvider();
                // An axis without a marking colour leaves the strip blank.
                const QColor marking = controller->markingColor(livingSpace);
                if (marking.isValid())
                    color = marking;
            }
        }
        setup = entry->parameterSetup(axis);
        if (setup)
            helpIdentifier = isElement ? setup->helpIdentifier(element) : setup->helpIdentifier();
    }

    if (helpWidget) {
        if (helpIdentifier.startsWith(DescriptionPrefix, Qt::CaseSensitive))
            helpWidget->showHtmlText(helpIdentifier.mid(DescriptionPrefix.size()));
        else
            helpWidget->showHelpForId(helpIdentifier);
    }

    if (colorWidget) {
        QPalette palette = colorWidget->palette();
        palette.setBrush(QPalette::All, QPalette::Window, QBrush(color, Qt::SolidPattern));
        colorWidget->setAutoFillBackground(true);
        colorWidget->setPalette(palette);
        colorWidget->setFixedHeight(2);
    }

    if (propertyList) {
        propertyList->setParameterProvider(provider);
        if (!setup) {
            propertyList->clear();
        } else {
            const QString address = setup->address(livingSpace, element).toSortableText();
            if (isElement)
                propertyList->showParameterProperties(address);
            else if (setup->isRecord())
                propertyList->showRecordParameterProperties(address);
            else if (setup->elementCount() > 1)
                propertyList->showArrayParameterProperties(address);
            else
                propertyList->showParameterProperties(address);
        }
    }
}

void ParameterCustomListTreeWidget::showEvent(QShowEvent* event)
{
    if (ParameterCustomList* customList = this->customList()) {
        resizingColumns = true;
        headerView->restoreGeometry(customList->state(HeaderGeometryKey));
        headerView->restoreState(customList->state(HeaderStateKey));
        resizingColumns = false;
        columnsToFit = true;
    }
    connect(headerView, &QHeaderView::sectionMoved,
            this, &ParameterCustomListTreeWidget::saveHeaderState, Qt::UniqueConnection);
    connect(headerView, &QHeaderView::sectionResized,
            this, &ParameterCustomListTreeWidget::onSectionResized, Qt::UniqueConnection);
    QTreeWidget::showEvent(event);
    // After the base class: the tree counts as visible only from here on.
    fitColumnsIfDue();
}

void ParameterCustomListTreeWidget::saveHeaderState()
{
    ParameterCustomList* customList = this->customList();
    if (!customList)
        return;
    customList->setState(HeaderStateKey, headerView->saveState());
    customList->setState(HeaderGeometryKey, headerView->saveGeometry());
}

void ParameterCustomListTreeWidget::removeItem(QTreeWidgetItem* item)
{
    ParameterCustomList* customList = this->customList();
    ParameterCustomListEntry* entry = entryOf(item);
    if (!customList || !entry)
        return;
    if (auto* elementRow = KxTreeItem::rowCast<ParameterCustomListElementItem>(item)) {
        entry->removeElement(elementRow->element());
        if (!ParameterCustomListRepository::instance().signalsBlocked())
            QMetaObject::invokeMethod(customList, "listEntriesChanged", Qt::QueuedConnection);
    } else if (KxTreeItem::rowCast<ParameterCustomListEntryItem>(item)) {
        entry->detachAxes();
        customList->removeEntry(entry->coordinate().toText());
    }
    onContentChanged();
}

void ParameterCustomListTreeWidget::setAxisColumnNote(int axisIndex, const QString& note)
{
    if (axisIndex < 0 || axisColumnNote(axisIndex) == note)
        return;
    while (axisColumnNotes.size() <= axisIndex)
        axisColumnNotes.append(QString());
    axisColumnNotes[axisIndex] = note;
    headerItem->updateHeader();
}

QString ParameterCustomListTreeWidget::axisColumnNote(int axisIndex) const
{
    return axisColumnNotes.value(axisIndex);
}
