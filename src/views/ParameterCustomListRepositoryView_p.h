#pragma once

#include <QTreeWidget>

class ParameterCustomList;
class ParameterCustomListInformation;
class QMimeData;
class ParameterCustomListRepository;
class ParameterCustomListRepositoryView;

class ParameterCustomListRepositoryViewPrivate : public QTreeWidget
{
    Q_OBJECT

public:
    explicit ParameterCustomListRepositoryViewPrivate(ParameterCustomListRepositoryView* q);

    void setUp();

    QTreeWidgetItem* findItem(const QString& identifier) const;
    QString itemIdentifier(const QTreeWidgetItem* item) const;
    ParameterCustomList* createNamedList(const QString& name);
    void openList(const QString& identifier);
    void confirmAndDeleteList(const QString& identifier);
    void activateItem(QTreeWidgetItem* item);
    void updateNewListItem();
    void retranslate();

    ParameterCustomListRepositoryView* const q;
    ParameterCustomListRepository* const repository;

protected:
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

public slots:
    void updateContents();
    void onItemChanged(QTreeWidgetItem* pItem, int column);
    void onContextMenuRequested(QPoint position);
    void onContextCreateNewList();
    void onContextImportList();
    void onContextRename();
    void onContextOpen();
    void onContextDelete();

private:
    bool isNewListItem(const QTreeWidgetItem* item) const;
    // The list a drop at `position` would go to; null outside a list row.
    ParameterCustomListInformation* dropTarget(const QPoint& position, const QMimeData* data) const;
    QString senderIdentifier() const;
};
