#pragma once

#include "ParameterAddress.h"

#include <QMap>
#include <QPointer>
#include <QTreeWidget>

class HelpWidget;
class ParameterCustomList;
class ParameterCustomListEntry;
class ParameterCustomListHeaderItem;
class ParameterCustomListHeaderView;
class ParameterCustomListInformation;
class ParameterPropertyList;
class ParameterProvider;
class QMenu;

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

protected:
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

protected slots:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

public slots:
    void onAxesChanged();
    void onContentChanged();
    void onListIsDestroyed();
    void onValueChanged(ParameterAddress address);
    void saveHeaderState();
    void deleteItemWidget();
    void itemDoubleClicked(QTreeWidgetItem* pItem, int column);
    void onContextMenuRequested(QPoint position);
    void onContextTransferValueToAxis();
    void onContextTransferValueToAny();

private slots:
    void onAccessLevelUpdateStarted();
    void onAccessLevelUpdateFinished();
    bool accessLevelChangeisRunning();

private:
    ParameterCustomList* customList() const;
    void updateAxes();
    void disconnectAxes();
    void closeEditor();
    bool editorFollowsItsColumn() const;
    void clearContextMenu();
    bool holdsEntry(const ParameterCustomListEntry* entry) const;
    void onProviderDestroyed(QObject* provider);

    ParameterCustomListInformation* list = nullptr;
    ParameterCustomListHeaderItem* headerItem = nullptr;
    ParameterCustomListHeaderView* headerView = nullptr;
    QPointer<QWidget> editor;
    QTreeWidgetItem* editItem = nullptr;
    QMenu* contextMenu = nullptr;
    int editColumn = -1;
    QMap<ParameterProvider*, bool> accessLevelUpdates;
    quint64 translationsOfLastRefresh = 0;
    // Guarded: the owner's widgets may go before the tree does.
    QPointer<HelpWidget> helpWidget;
    QPointer<QWidget> colorWidget;
    QPointer<ParameterPropertyList> propertyList;
};
