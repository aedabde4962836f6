#pragma once

#include "ParameterAddress.h"

#include <QMap>
#include <QPointer>
#include <QHash>
#include <QSet>
#include <QStringList>
#include <QVector>
#include <QTreeWidget>

#include <functional>
#include <memory>

class HelpWidget;
class ParameterCustomList;
class ParameterCustomListEntry;
class ParameterCustomListEntryItem;
namespace KxTreeItem { struct RowStyle; }
class ParameterCustomListHeaderItem;
class ParameterCustomListHeaderView;
class ParameterCustomListInformation;
class ParameterPropertyList;
class ParameterProvider;
class QMenu;
class QTimer;

// Shows one custom list as a tree: a row per entry (with element rows below
// multi-element entries), column 0 for the parameter and one column per axis
// of the list. It follows the list, the controllers and providers of its
// axes and the active language, opens the suite's in-place editors, copies
// values between axes (context menu, Ctrl+1..9, Ctrl+0) and routes the
// current cell to a help widget, a colour strip and a property list.
class ParameterCustomListTreeWidget : public QTreeWidget
{
    Q_OBJECT

public:
    explicit ParameterCustomListTreeWidget(QWidget* parent = nullptr);
    ~ParameterCustomListTreeWidget() override;

    // The tree does not own the list; it lets go of it when it is destroyed.
    void setParameterCustomList(ParameterCustomListInformation* list);
    ParameterCustomListInformation* parameterCustomList() const;

    // None of the three is owned; each may be null.
    void setHelpWidget(HelpWidget* helpWidget);
    void setColorWidget(QWidget* colorWidget);
    void setPropertyList(ParameterPropertyList* propertyList);

    void openItemEditor(QTreeWidgetItem* item, int column);
    void removeItem(QTreeWidgetItem* item);
    quint16 elementIndexOf(QTreeWidgetItem* item) const;

    // The entry a row stands for; null for rows of no entry and for entries
    // the attached list no longer holds.
    ParameterCustomListEntry* entryOf(QTreeWidgetItem* item) const;

    // The open in-place editor, or null.
    QWidget* itemEditor() const;

    // Full refresh passes run so far (onContentChanged() that got past the
    // access-level gate), for checking that bursts of notices are merged.
    int contentRefreshCount() const;
    // Whether a merged refresh is waiting for the event loop.
    bool isRefreshPending() const;
    // Runs a waiting refresh now, for readers that need the rows current.
    void flushScheduledRefresh();

    // A line under the caption of the column of the list's axis `axisIndex`
    // (0 the first axis), such as the file an axis comes from; empty for none.
    void setAxisColumnNote(int axisIndex, const QString& note);
    QString axisColumnNote(int axisIndex) const;

    // Called for every row and element row that a refresh has (re)filled,
    // new rows before they join the tree; value cells refilled on their own
    // are announced by itemChanged() instead.
    void setRowFilledHook(std::function<void(QTreeWidgetItem*)> hook);

protected:
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

protected slots:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

public slots:
    // Immediate: columns and rows follow the list before these return.
    void onAxesChanged();
    void onContentChanged();
    void onListIsDestroyed();
    // Merged: the rows of the signalled coordinate follow when the event loop
    // next runs (or flushScheduledRefresh() is called).
    void onValueChanged(ParameterAddress address);
    void onDefinitionChanged(ParameterAddress address);
    void saveHeaderState();
    void deleteItemWidget();
    void itemDoubleClicked(QTreeWidgetItem* pItem, int column);
    void onContextMenuRequested(QPoint position);
    void onContextTransferValueToAxis();
    void onContextTransferValueToAny();

    // The list's own notices: a change that the rows show already (an
    // immediate refresh ran after it) costs nothing; otherwise they run
    // onAxesChanged() and onContentChanged() respectively.
    void onListAxesChanged();
    void onListEntriesChanged();

private slots:
    void onAccessLevelUpdateStarted();
    void onAccessLevelUpdateFinished();
    bool accessLevelChangeisRunning();
    // Controllers, providers and the language signal in bursts; their
    // notices are merged into one pass when the event loop next runs.
    void onControllerChanged();
    void onControllerMarksChanged();
    void scheduleContentRefresh();
    void runScheduledRefresh();

private:
    ParameterCustomList* customList() const;
    void updateAxes();
    void disconnectAxes();
    void closeEditor();
    bool editorFollowsItsColumn() const;
    void clearContextMenu();
    bool holdsEntry(const ParameterCustomListEntry* entry) const;
    void onProviderDestroyed(QObject* provider);
    void refreshRow(ParameterCustomListEntryItem* row, const KxTreeItem::RowStyle& style);
    void fillRow(ParameterCustomListEntryItem* row, const KxTreeItem::RowStyle& style);
    bool surroundingsChanged(const KxTreeItem::RowStyle& style) const;
    bool refreshValueRows();
    quint64 valueColumns(ParameterCustomListEntry* entry, const QObject* provider, eLivingSpace livingSpace) const;
    void cancelScheduledRefresh();
    void invalidateRows();
    bool rowIsCurrent(const ParameterCustomListEntryItem* row) const;
    void announceFilled(QTreeWidgetItem* row);

    ParameterCustomListInformation* list = nullptr;
    ParameterCustomListHeaderItem* headerItem = nullptr;
    ParameterCustomListHeaderView* headerView = nullptr;
    QPointer<QWidget> editor;
    QTreeWidgetItem* editItem = nullptr;
    QMenu* contextMenu = nullptr;
    int editColumn = -1;
    QMap<ParameterProvider*, bool> accessLevelUpdates;
    quint64 translationsOfLastRefresh = 0;
    QTimer* refreshTimer = nullptr;
    bool contentRefreshPending = false;
    // Signalled values by coordinate: the columns whose values they are, as a
    // bit per column; all bits when the sender could not be told.
    QHash<quint16, quint64> pendingValueCoordinates;
    // Per axis column: the provider whose values it shows and the axis number.
    QVector<QPair<const QObject*, int>> columnSources;
    // The list's revision() when the columns, and the rows, last followed it.
    quint64 axesRevision = 0;
    quint64 contentRevision = 0;
    int contentRefreshes = 0;
    QStringList axisColumnNotes;
    std::function<void(QTreeWidgetItem*)> rowFilledHook;
    // Rows filled at this epoch show what is current unless their entry was
    // refreshed or a value of theirs was signalled since; everything that
    // can change what any row shows (language, translators, definitions,
    // controllers, axes, read-only, access level, palette) starts a new one.
    quint64 cacheEpoch = 1;
    uint levelOfLastPass = ~0u;
    std::unique_ptr<KxTreeItem::RowStyle> styleOfLastPass;
    // Guarded: the owner's widgets may go before the tree does.
    QPointer<HelpWidget> helpWidget;
    QPointer<QWidget> colorWidget;
    QPointer<ParameterPropertyList> propertyList;
};
