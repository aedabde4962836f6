#include "ParameterCustomListRepositoryView.h"
#include "ParameterCustomListRepositoryView_p.h"

#include "ParameterCustomList.h"
#include "ParameterCustomListImport.h"
#include "ParameterCustomListRepository.h"
#include "ParameterCustomListWidget.h"

#include "DefaultPathSetting.h"
#include "System.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QVBoxLayout>

#include <memory>

ParameterCustomListRepositoryViewPrivate::ParameterCustomListRepositoryViewPrivate(ParameterCustomListRepositoryView* q)
    : QTreeWidget(q)
    , q(q)
    , repository(&ParameterCustomListRepository::instance())
{
    setObjectName(QStringLiteral("listTree"));
    q->setProperty("HelpId", QStringLiteral("ParameterCustomListRepository"));
    auto* layout = new QVBoxLayout(q);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(this);
}

void ParameterCustomListRepositoryViewPrivate::setUp()
{
    q->setParent(System::instance().mainWindow(), Qt::Dialog);
    q->setWindowIcon(QIcon(QStringLiteral(":/Resources/ParameterCustomList_16x16.png")));
    q->setWindowFlags(q->windowFlags() & ~Qt::WindowContextHelpButtonHint);

    retranslate();
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setFrameStyle(0);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setEditTriggers(QAbstractItemView::EditKeyPressed);
    setSortingEnabled(false);

    connect(repository, &ParameterCustomListRepository::repositoryContentChanged,
            this, &ParameterCustomListRepositoryViewPrivate::updateContents);
    connect(repository, &ParameterCustomListRepository::repositoryHostContentChanged,
            this, &ParameterCustomListRepositoryViewPrivate::updateContents);
    connect(this, &QTreeWidget::itemChanged, this, &ParameterCustomListRepositoryViewPrivate::onItemChanged);
    connect(this, &QTreeWidget::customContextMenuRequested,
            this, &ParameterCustomListRepositoryViewPrivate::onContextMenuRequested);

    updateContents();
}

QTreeWidgetItem* ParameterCustomListRepositoryViewPrivate::findItem(const QString& identifier) const
{
    // Not findItems("*", Qt::MatchWildcard): its wildcard stops at "/", so a
    // list named "Achse 1/2" would never be found again.
    for (int row = 0; row < topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = topLevelItem(row);
        if (itemIdentifier(item) == identifier)
            return item;
    }
    return nullptr;
}

QString ParameterCustomListRepositoryViewPrivate::itemIdentifier(const QTreeWidgetItem* item) const
{
    return item ? item->data(0, Qt::UserRole).toString() : QString();
}

bool ParameterCustomListRepositoryViewPrivate::isNewListItem(const QTreeWidgetItem* item) const
{
    return item && itemIdentifier(item).isEmpty();
}

ParameterCustomList* ParameterCustomListRepositoryViewPrivate::createNamedList(const QString& name)
{
    auto* list = qobject_cast<ParameterCustomList*>(repository->createList());
    list->setName(name);
    connect(list, &ParameterCustomListInformation::listNameChanged,
            this, &ParameterCustomListRepositoryViewPrivate::updateContents);
    return list;
}

void ParameterCustomListRepositoryViewPrivate::openList(const QString& identifier)
{
    ParameterCustomListInformation* list = repository->list(identifier);
    if (!list)
        return;
    ParameterCustomListWidget* window = ParameterCustomListWidget::find(identifier);
    if (!window) {
        window = new ParameterCustomListWidget;
        window->setParameterCustomList(list);
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    QMetaObject::invokeMethod(window, "show", Qt::QueuedConnection);
    QMetaObject::invokeMethod(window, "raise", Qt::QueuedConnection);
}

void ParameterCustomListRepositoryViewPrivate::confirmAndDeleteList(const QString& identifier)
{
    QPointer<ParameterCustomListRepositoryViewPrivate> self(this);
    const QMessageBox::StandardButton answer = QMessageBox::question(q,
        ParameterCustomListRepositoryView::tr("Löschen"),
        ParameterCustomListRepositoryView::tr("Wollen Sie die variable Parameterliste unwiderruflich löschen?"),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::NoButton);
    if (self && answer == QMessageBox::Yes)
        repository->deleteList(repository->list(identifier));
}

void ParameterCustomListRepositoryViewPrivate::activateItem(QTreeWidgetItem* item)
{
    if (state() == QAbstractItemView::EditingState)
        return;
    if (isNewListItem(item)) {
        // Without axes the placeholder is disabled and cannot be edited;
        // asking anyway only earns a warning from the view.
        if (item->flags() & Qt::ItemIsEnabled)
            editItem(item, 0);
    } else
        openList(itemIdentifier(item));
}

void ParameterCustomListRepositoryViewPrivate::updateNewListItem()
{
    const bool wasBlocked = blockSignals(true);
    QTreeWidgetItem* item = findItem(QString());
    if (!item) {
        item = new QTreeWidgetItem(this);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    }
    item->setText(0, ParameterCustomListRepositoryView::tr("<neue Liste>"));
    QFont font = item->font(0);
    font.setItalic(true);
    item->setFont(0, font);
    item->setDisabled(repository->driveControllerAxes().isEmpty());
    blockSignals(wasBlocked);
}

void ParameterCustomListRepositoryViewPrivate::retranslate()
{
    q->setWindowTitle(ParameterCustomListRepositoryView::tr("Variable Parameterlisten"));
    setHeaderLabels({ParameterCustomListRepositoryView::tr("Name")});
}

// The tree inside the window gets the window's event as well, so the
// exported window class needs no handler of its own.
void ParameterCustomListRepositoryViewPrivate::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
        updateNewListItem();
    }
    QTreeWidget::changeEvent(event);
}

void ParameterCustomListRepositoryViewPrivate::keyPressEvent(QKeyEvent* event)
{
    QTreeWidget::keyPressEvent(event);
    QTreeWidgetItem* item = currentItem();
    if (!item)
        return;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        activateItem(item);
        break;
    case Qt::Key_Delete:
        confirmAndDeleteList(itemIdentifier(item));
        break;
    default:
        break;
    }
}

void ParameterCustomListRepositoryViewPrivate::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTreeWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        activateItem(itemAt(event->pos()));
}

void ParameterCustomListRepositoryViewPrivate::updateContents()
{
    const QList<ParameterCustomListInformation*> lists = repository->content();
    QList<QTreeWidgetItem*> remaining;
    for (int i = 0; i < topLevelItemCount(); ++i)
        remaining.append(topLevelItem(i));
    remaining.removeAll(findItem(QString()));

    for (ParameterCustomListInformation* list : lists) {
        const QString identifier = list->identifier();
        QTreeWidgetItem* item = findItem(identifier);
        const bool wasBlocked = blockSignals(true);
        if (!item) {
            item = new QTreeWidgetItem(this);
            item->setFlags(item->flags() | Qt::ItemIsEditable);
            item->setData(0, Qt::UserRole, identifier);
        }
        item->setText(0, list->name());
        blockSignals(wasBlocked);
        remaining.removeAll(item);
    }

    qDeleteAll(remaining);
    sortItems(0, Qt::AscendingOrder);
    updateNewListItem();
    resizeColumnToContents(0);
}

void ParameterCustomListRepositoryViewPrivate::onItemChanged(QTreeWidgetItem* pItem, int column)
{
    Q_UNUSED(column)
    if (!pItem)
        return;
    const QString text = pItem->text(0);
    if (isNewListItem(pItem)) {
        ParameterCustomList* list = createNamedList(text);
        openList(list->identifier());
    } else if (auto* list = qobject_cast<ParameterCustomList*>(repository->list(itemIdentifier(pItem)))) {
        list->setName(text);
    }
}

void ParameterCustomListRepositoryViewPrivate::onContextMenuRequested(QPoint position)
{
    const QPoint popupPoint = mapToGlobal(position) + QPoint(0, header()->height());
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);

    QTreeWidgetItem* item = itemAt(position);
    const QString identifier = itemIdentifier(item);
    if (item && !identifier.isEmpty()) {
        const auto addListAction = [&](const QString& text, void (ParameterCustomListRepositoryViewPrivate::*slot)(),
                                       const QKeySequence& shortcut) {
            QAction* action = menu->addAction(text, this, slot);
            action->setShortcut(shortcut);
            action->setShortcutContext(Qt::WidgetShortcut);
            action->setShortcutVisibleInContextMenu(true);
            action->setData(identifier);
        };
        addListAction(ParameterCustomListRepositoryView::tr("Öffnen"), &ParameterCustomListRepositoryViewPrivate::onContextOpen,
                      QKeySequence(QStringLiteral("Enter")));
        addListAction(ParameterCustomListRepositoryView::tr("Umbenennen"), &ParameterCustomListRepositoryViewPrivate::onContextRename,
                      QKeySequence(QStringLiteral("F2")));
        addListAction(ParameterCustomListRepositoryView::tr("Löschen"), &ParameterCustomListRepositoryViewPrivate::onContextDelete,
                      QKeySequence(QKeySequence::Delete));
        menu->addSeparator();
    }

    const bool canCreate = !repository->driveControllerAxes().isEmpty();
    menu->addAction(ParameterCustomListRepositoryView::tr("Neue Liste"), this,
                    &ParameterCustomListRepositoryViewPrivate::onContextCreateNewList)->setEnabled(canCreate);
    menu->addAction(ParameterCustomListRepositoryView::tr("Liste importieren"), this,
                    &ParameterCustomListRepositoryViewPrivate::onContextImportList)->setEnabled(canCreate);
    menu->popup(popupPoint);
}

void ParameterCustomListRepositoryViewPrivate::onContextCreateNewList()
{
    activateItem(findItem(QString()));
}

void ParameterCustomListRepositoryViewPrivate::onContextImportList()
{
    const std::unique_ptr<DefaultPathSetting> setting(DefaultPathSetting::create(DefaultPathSetting::ParameterSelectionFiles));
    const QString title = ParameterCustomListRepositoryView::tr("Parameterzusammenstellung importieren");
    QPointer<ParameterCustomListRepositoryViewPrivate> self(this);
    const QString fileName = QFileDialog::getOpenFileName(System::instance().mainWindow(), title, setting->currentPath(),
                                                          ParameterCustomListRepositoryView::tr("Textdateien (*.txt)"));
    if (!self || fileName.isEmpty())
        return;

    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        QMessageBox::critical(q, title,
            ParameterCustomListRepositoryView::tr("Die Datei %1 kann nicht geöffnet werden").arg(fileName), QMessageBox::Ok);
        return;
    }
    const QByteArray text = file.readAll();
    file.close();
    if (!ParameterCustomListImport::confirm(q, title, fileName, text) || !self)
        return;
    ParameterCustomList* list = createNamedList(QFileInfo(fileName).baseName());
    list->importText(text);
    openList(list->identifier());
    setting->rememberPath(fileName);
}

void ParameterCustomListRepositoryViewPrivate::onContextRename()
{
    auto* action = qobject_cast<QAction*>(sender());
    if (!action)
        return;
    if (QTreeWidgetItem* item = findItem(action->data().toString()))
        editItem(item, 0);
}

void ParameterCustomListRepositoryViewPrivate::onContextOpen()
{
    if (auto* action = qobject_cast<QAction*>(sender()))
        openList(action->data().toString());
}

void ParameterCustomListRepositoryViewPrivate::onContextDelete()
{
    if (auto* action = qobject_cast<QAction*>(sender()))
        confirmAndDeleteList(action->data().toString());
}

ParameterCustomListRepositoryView::ParameterCustomListRepositoryView(QWidget* parent)
    : QWidget(parent)
    , d(new ParameterCustomListRepositoryViewPrivate(this))
{
}

ParameterCustomListRepositoryView::~ParameterCustomListRepositoryView() = default;

ParameterCustomListRepositoryView& ParameterCustomListRepositoryView::instance()
{
    static QPointer<ParameterCustomListRepositoryView> view;
    if (!view) {
        view = new ParameterCustomListRepositoryView(nullptr);
        view->d->setUp();
    }
    return *view;
}

void ParameterCustomListRepositoryView::update()
{
    d->updateContents();
}
