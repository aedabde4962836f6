#include "ParameterView.h"

#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "LanguageManager.h"
#include "ParameterAddress.h"
#include "ParameterCustomListHost.h"
#include "ParameterItemComboBox.h"
#include "ParameterItemEdit.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QScrollBar>
#include <QSet>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

ParameterCustomListHost* registeredHost = nullptr;

const QColor readOnlyColor(0x1f, 0x5f, 0x8b);

// Rows are dragged as the parameter texts the lists take: a parameter row
// as the whole parameter, an element row as that element.
class ParameterTree : public QTreeWidget
{
public:
    using QTreeWidget::QTreeWidget;

protected:
    QStringList mimeTypes() const override
    {
        return {ParameterCustomListHost::parameterMimeType(), QStringLiteral("text/plain")};
    }

    QMimeData* mimeData(const QList<QTreeWidgetItem*> items) const override
    {
        QByteArray texts;
        for (const QTreeWidgetItem* item : items) {
            const QString parameter = item->data(0, ParameterView::ParameterTextRole).toString();
            if (!parameter.isEmpty())
                texts += parameter.toUtf8() + "\r\n";
        }
        if (texts.isEmpty())
            return nullptr;
        auto* data = new QMimeData;
        data->setData(ParameterCustomListHost::parameterMimeType(), texts);
        data->setText(QString::fromUtf8(texts));
        return data;
    }
};

} // namespace

class ParameterViewPrivate : public QObject
{
public:
    explicit ParameterViewPrivate(ParameterView* view);

    void retranslate();
    void reset();
    void connectSources();
    void scheduleRebuild();
    void rebuild();
    QTreeWidgetItem* createParameterItem(const ParameterSetup& setup);
    bool updateElementRow(QTreeWidgetItem* item, const ParameterSetup& setup, quint16 element, bool isChild);
    void updateParameterRows(QTreeWidgetItem* item);
    void updateAllRows();
    bool matchesText(const QTreeWidgetItem* item) const;
    void applyFilter(QTreeWidgetItem* parameterItem);
    void applyFilterToAll();
    void setChangedMark(QTreeWidgetItem* item, bool changed);
    void setRowColour(QTreeWidgetItem* item, const QVariant& colour);
    ParameterSetup* setupOf(const QTreeWidgetItem* item) const;
    QTreeWidgetItem* elementItem(QTreeWidgetItem* parameterItem, int element) const;
    void closeEditor(bool discard);

    void onParameterValueChanged(const ParameterAddress& address);
    void onParameterChanged(const ParameterAddress& address);
    void onAccessLevelUpdateStarted();
    void onAccessLevelUpdateFinished();
    void onSourceDestroyed();
    void onItemDoubleClicked(QTreeWidgetItem* item, int column);
    void onCurrentItemChanged(QTreeWidgetItem* current);
    void onContextMenuRequested(const QPoint& position);
    void onEditorFinished();

    bool eventFilter(QObject* watched, QEvent* event) override;

    ParameterView* const q;
    QTreeWidget* tree = nullptr;
    QLineEdit* filterEdit = nullptr;
    QCheckBox* changedOnlyCheckBox = nullptr;
    QPointer<DriveControllerAxis> axis;
    QPointer<DriveController> controller;
    QPointer<ParameterProvider> provider;
    eLivingSpace axisNumber = LivingSpaceNone;
    QList<QMetaObject::Connection> connections;
    QHash<ParameterCoordinate, QTreeWidgetItem*> items;
    QTimer rebuildTimer;
    bool accessLevelUpdate = false;

    QPointer<QWidget> editor;
    QTreeWidgetItem* editorItem = nullptr;

    QMenu* contextMenu = nullptr;
    QMenu* addListMenu = nullptr;
    QMenu* removeListMenu = nullptr;
};

ParameterViewPrivate::ParameterViewPrivate(ParameterView* view)
    : QObject(view)
    , q(view)
{
    rebuildTimer.setSingleShot(true);
    rebuildTimer.setInterval(0);
    connect(&rebuildTimer, &QTimer::timeout, this, &ParameterViewPrivate::rebuild);
}

void ParameterViewPrivate::retranslate()
{
    filterEdit->setPlaceholderText(ParameterView::tr("Filtern nach Name oder Koordinate"));
    changedOnlyCheckBox->setText(ParameterView::tr("nur geänderte"));
    tree->setHeaderLabels({ ParameterView::tr("Parameter"), ParameterView::tr("Name"), ParameterView::tr("Wert"),
                            ParameterView::tr("Referenz"), ParameterView::tr("Einheit"),
                            ParameterView::tr("Geändert") });
    // The mark column is narrow by design; its caption must still be read.
    QHeaderView* header = tree->header();
    header->resizeSection(ParameterView::ColumnChanged,
                          qMax(header->sectionSize(ParameterView::ColumnChanged), header->sectionSizeHint(ParameterView::ColumnChanged)));
}

void ParameterViewPrivate::reset()
{
    rebuildTimer.stop();
    closeEditor(true);
    for (const QMetaObject::Connection& connection : qAsConst(connections))
        disconnect(connection);
    connections.clear();
    items.clear();
    tree->clear();
    accessLevelUpdate = false;
}

void ParameterViewPrivate::connectSources()
{
    auto destroyed = [this]() { onSourceDestroyed(); };
    connections << connect(axis, &QObject::destroyed, this, destroyed);
    if (controller)
        connections << connect(controller, &QObject::destroyed, this, destroyed);
    if (!provider)
        return;
    ParameterProvider* p = provider;
    auto rebuildLater = [this]() { scheduleRebuild(); };
    auto refreshAll = [this]() { updateAllRows(); };
    connections
        << connect(p, &QObject::destroyed, this, destroyed)
        << connect(p, &ParameterProvider::parameterValueChanged, this, &ParameterViewPrivate::onParameterValueChanged)
        << connect(p, &ParameterProvider::parameterDefinitionChanged, this, &ParameterViewPrivate::onParameterChanged)
        << connect(p, &ParameterProvider::parameterVisibilityChanged, this, &ParameterViewPrivate::onParameterChanged)
        << connect(p, &ParameterProvider::parameterMeasuringUnitChanged, this, &ParameterViewPrivate::onParameterChanged)
        << connect(p, &ParameterProvider::parameterAdded, this, rebuildLater)
        << connect(p, &ParameterProvider::parameterRemoved, this, rebuildLater)
        << connect(p, &ParameterProvider::onlineChanged, this, rebuildLater)
        << connect(p, &ParameterProvider::readOnlyChanged, this, refreshAll)
        << connect(p, &ParameterProvider::accessLevelUpdateStarted, this, &ParameterViewPrivate::onAccessLevelUpdateStarted)
        << connect(p, &ParameterProvider::accessLevelUpdateFinished, this, &ParameterViewPrivate::onAccessLevelUpdateFinished);
}

void ParameterViewPrivate::scheduleRebuild()
{
    // Catalogue changes tend to come in bursts; one rebuild serves them all.
    rebuildTimer.start();
}

void ParameterViewPrivate::rebuild()
{
    rebuildTimer.stop();
    closeEditor(false);

    QSet<ParameterCoordinate> expanded;
    for (auto it = items.cbegin(); it != items.cend(); ++it) {
        if (it.value()->isExpanded())
            expanded.insert(it.key());
    }
    QTreeWidgetItem* current = tree->currentItem();
    const QVariant currentCoordinate = current ? current->data(0, ParameterView::CoordinateRole) : QVariant();
    const QVariant currentElement = current ? current->data(0, ParameterView::ElementRole) : QVariant();
    const int scroll = tree->verticalScrollBar()->value();

    items.clear();
    tree->setUpdatesEnabled(false);
    tree->clear();
    if (provider && axis) {
        const QList<ParameterCoordinate> coordinates = provider->parameterCoordinates(axisNumber);
        QList<QTreeWidgetItem*> topLevel;
        topLevel.reserve(coordinates.size());
        items.reserve(coordinates.size());
        for (const ParameterCoordinate& coordinate : coordinates) {
            const QPointer<ParameterSetup> setup = provider->parameterSetup(coordinate);
            if (!setup)
                continue;
            QTreeWidgetItem* item = createParameterItem(*setup);
            topLevel.append(item);
            items.insert(coordinate, item);
        }
        // Filling the items before they join the tree spares one model
        // notification per row, which matters for catalogues of thousands.
        tree->addTopLevelItems(topLevel);
        applyFilterToAll();
        for (const ParameterCoordinate& coordinate : qAsConst(expanded)) {
            if (QTreeWidgetItem* item = items.value(coordinate))
                item->setExpanded(true);
        }
        if (currentCoordinate.isValid()) {
            const ParameterCoordinate coordinate(quint16(currentCoordinate.toUInt()));
            QTreeWidgetItem* item = q->item(coordinate, currentElement.toInt());
            if (!item)
                item = items.value(coordinate);
            if (item)
                tree->setCurrentItem(item);
        }
    }
    tree->setUpdatesEnabled(true);
    tree->verticalScrollBar()->setValue(scroll);
}

QTreeWidgetItem* ParameterViewPrivate::createParameterItem(const ParameterSetup& setup)
{
    auto* item = new QTreeWidgetItem;
    item->setData(0, ParameterView::CoordinateRole, setup.coordinate().toNumber());
    const QList<quint16> indices = setup.elementIndexList();
    if (setup.isArray() || setup.isRecord()) {
        QList<QTreeWidgetItem*> children;
        children.reserve(indices.size());
        bool anyChanged = false;
        for (quint16 element : indices) {
            auto* child = new QTreeWidgetItem;
            child->setData(0, ParameterView::CoordinateRole, setup.coordinate().toNumber());
            anyChanged |= updateElementRow(child, setup, element, true);
            children.append(child);
        }
        item->addChildren(children);
        item->setData(0, ParameterView::ElementRole, -1);
        item->setData(0, ParameterView::ParameterTextRole, setup.coordinate().toText());
        item->setText(ParameterView::ColumnParameter, setup.coordinate().toText());
        item->setText(ParameterView::ColumnName, setup.parameterText().longText());
        setChangedMark(item, anyChanged);
    } else {
        updateElementRow(item, setup, indices.value(0), false);
    }
    return item;
}

// Returns whether the element's value differs from its reference.
bool ParameterViewPrivate::updateElementRow(QTreeWidgetItem* item, const ParameterSetup& setup, quint16 element, bool isChild)
{
    const QString coordinate = setup.coordinate().toText();
    const QString parameterText = isChild ? QStringLiteral("%1[%2]").arg(coordinate).arg(element) : coordinate;
    item->setData(0, ParameterView::ElementRole, int(element));
    item->setData(0, ParameterView::ParameterTextRole, parameterText);
    item->setText(ParameterView::ColumnParameter, parameterText);
    QString name = isChild ? setup.elementText(element).longText() : setup.parameterText().longText();
    if (name.isEmpty() && isChild)
        name = ParameterView::tr("Element %1").arg(element);
    item->setText(ParameterView::ColumnName, name);

    const bool hasValue = ParameterItemEdit::hasValue(&setup, axisNumber, element);
    bool changed = false;
    if (hasValue) {
        item->setText(ParameterView::ColumnValue, setup.valueText(axisNumber, element, true));
        item->setText(ParameterView::ColumnReference, setup.referenceValueText(axisNumber, element, true));
        changed = setup.valueText(axisNumber, element, false) != setup.referenceValueText(axisNumber, element, false);
    } else {
        item->setText(ParameterView::ColumnValue, QString());
        item->setText(ParameterView::ColumnReference, QString());
    }
    item->setText(ParameterView::ColumnUnit, setup.unit(element));
    setChangedMark(item, changed);

    if (hasValue && !setup.isActive(axisNumber, element))
        setRowColour(item, tree->palette().color(QPalette::Disabled, QPalette::Text));
    else if (hasValue && !setup.isWritable(axisNumber, element))
        setRowColour(item, readOnlyColor);
    else
        setRowColour(item, QVariant());
    return changed;
}

void ParameterViewPrivate::setChangedMark(QTreeWidgetItem* item, bool changed)
{
    QFont font = item->font(ParameterView::ColumnValue);
    if (font.bold() != changed) {
        font.setBold(changed);
        item->setFont(ParameterView::ColumnValue, font);
    }
    item->setText(ParameterView::ColumnChanged, changed ? QStringLiteral("*") : QString());
}

void ParameterViewPrivate::setRowColour(QTreeWidgetItem* item, const QVariant& colour)
{
    for (int column = 0; column < ParameterView::ColumnCount; ++column) {
        if (item->data(column, Qt::ForegroundRole) != colour)
            item->setData(column, Qt::ForegroundRole, colour);
    }
}

ParameterSetup* ParameterViewPrivate::setupOf(const QTreeWidgetItem* item) const
{
    if (!item || !provider)
        return nullptr;
    const ParameterCoordinate coordinate(quint16(item->data(0, ParameterView::CoordinateRole).toUInt()));
    return provider->parameterSetup(coordinate);
}

QTreeWidgetItem* ParameterViewPrivate::elementItem(QTreeWidgetItem* parameterItem, int element) const
{
    if (!parameterItem)
        return nullptr;
    if (parameterItem->childCount() == 0)
        return parameterItem->data(0, ParameterView::ElementRole).toInt() == element ? parameterItem : nullptr;
    for (int i = 0; i < parameterItem->childCount(); ++i) {
        QTreeWidgetItem* child = parameterItem->child(i);
        if (child->data(0, ParameterView::ElementRole).toInt() == element)
            return child;
    }
    return nullptr;
}

void ParameterViewPrivate::updateParameterRows(QTreeWidgetItem* item)
{
    ParameterSetup* setup = setupOf(item);
    if (!setup)
        return;
    if (item->childCount() == 0) {
        updateElementRow(item, *setup, quint16(item->data(0, ParameterView::ElementRole).toInt()), false);
        return;
    }
    item->setText(ParameterView::ColumnName, setup->parameterText().longText());
    bool anyChanged = false;
    for (int i = 0; i < item->childCount(); ++i) {
        QTreeWidgetItem* child = item->child(i);
        anyChanged |= updateElementRow(child, *setup, quint16(child->data(0, ParameterView::ElementRole).toInt()), true);
    }
    setChangedMark(item, anyChanged);
}

void ParameterViewPrivate::updateAllRows()
{
    if (accessLevelUpdate)
        return;
    tree->setUpdatesEnabled(false);
    for (QTreeWidgetItem* item : qAsConst(items))
        updateParameterRows(item);
    applyFilterToAll();
    tree->setUpdatesEnabled(true);
}

bool ParameterViewPrivate::matchesText(const QTreeWidgetItem* item) const
{
    const QString filter = filterEdit->text().trimmed();
    return filter.isEmpty() || item->text(ParameterView::ColumnParameter).startsWith(filter, Qt::CaseInsensitive)
        || item->text(ParameterView::ColumnName).contains(filter, Qt::CaseInsensitive);
}

// A parameter row stays when it or one of its element rows passes; a
// parameter whose own text matches keeps all its elements that pass "nur
// geänderte".
void ParameterViewPrivate::applyFilter(QTreeWidgetItem* parameterItem)
{
    const bool changedOnly = changedOnlyCheckBox->isChecked();
    auto changed = [](const QTreeWidgetItem* item) { return !item->text(ParameterView::ColumnChanged).isEmpty(); };
    const bool ownText = matchesText(parameterItem);
    bool visible = ownText && (!changedOnly || changed(parameterItem));
    for (int i = 0; i < parameterItem->childCount(); ++i) {
        QTreeWidgetItem* child = parameterItem->child(i);
        const bool childVisible = (ownText || matchesText(child)) && (!changedOnly || changed(child));
        if (child->isHidden() == childVisible)
            child->setHidden(!childVisible);
        visible = visible || childVisible;
    }
    if (parameterItem->isHidden() == visible)
        parameterItem->setHidden(!visible);
}

void ParameterViewPrivate::applyFilterToAll()
{
    for (QTreeWidgetItem* item : qAsConst(items))
        applyFilter(item);
}

void ParameterViewPrivate::onParameterValueChanged(const ParameterAddress& address)
{
    if (accessLevelUpdate)
        return;
    QTreeWidgetItem* item = items.value(address.coordinate());
    ParameterSetup* setup = setupOf(item);
    if (!setup)
        return;
    const eLivingSpace livingSpace = address.livingSpace();
    if (!setup->isGlobal() && livingSpace != axisNumber && livingSpace != LivingSpaceNone)
        return;
    if (item->childCount() == 0) {
        updateElementRow(item, *setup, quint16(item->data(0, ParameterView::ElementRole).toInt()), false);
        applyFilter(item);
        return;
    }
    QTreeWidgetItem* child = elementItem(item, address.element());
    if (!child)
        return;
    const bool changed = updateElementRow(child, *setup, address.element(), true);
    bool anyChanged = changed;
    for (int i = 0; i < item->childCount() && !anyChanged; ++i)
        anyChanged = !item->child(i)->text(ParameterView::ColumnChanged).isEmpty();
    setChangedMark(item, anyChanged);
    applyFilter(item);
}

void ParameterViewPrivate::onParameterChanged(const ParameterAddress& address)
{
    if (QTreeWidgetItem* item = items.value(address.coordinate())) {
        updateParameterRows(item);
        applyFilter(item);
    }
}

void ParameterViewPrivate::onAccessLevelUpdateStarted()
{
    // Values are in flux until the update is finished; showing them now
    // would only flicker.
    accessLevelUpdate = true;
}

void ParameterViewPrivate::onAccessLevelUpdateFinished()
{
    accessLevelUpdate = false;
    updateAllRows();
}

void ParameterViewPrivate::onSourceDestroyed()
{
    // The axis, its controller or the provider is going away: nothing shown
    // may refer to it any longer.
    reset();
    axisNumber = LivingSpaceNone;
}

void ParameterViewPrivate::onItemDoubleClicked(QTreeWidgetItem* item, int column)
{
    if (column == ParameterView::ColumnValue)
        q->editItem(item);
}

void ParameterViewPrivate::onCurrentItemChanged(QTreeWidgetItem* current)
{
    if (!current || !provider) {
        emit q->currentParameterChanged(QString());
        return;
    }
    const ParameterCoordinate coordinate(quint16(current->data(0, ParameterView::CoordinateRole).toUInt()));
    const int element = current->data(0, ParameterView::ElementRole).toInt();
    emit q->currentParameterChanged(ParameterAddress(coordinate, quint16(qMax(element, 0)), axisNumber).toSortableText());
}

void ParameterViewPrivate::onContextMenuRequested(const QPoint& position)
{
    QTreeWidgetItem* item = tree->itemAt(position);
    if (!item)
        return;
    const QString parameter = item->data(0, ParameterView::ParameterTextRole).toString();
    if (parameter.isEmpty())
        return;

    // One menu, refilled each time: popup() does not block, so nothing of the
    // view can vanish under a nested event loop.
    if (!contextMenu) {
        contextMenu = new QMenu(tree);
        addListMenu = contextMenu->addMenu(QString());
        removeListMenu = contextMenu->addMenu(QString());
    }
    addListMenu->setTitle(ParameterView::tr("Zur Liste hinzufügen"));
    removeListMenu->setTitle(ParameterView::tr("Aus Liste entfernen"));
    addListMenu->clear();
    removeListMenu->clear();
    ParameterCustomListHost* host = ParameterView::parameterCustomListHost();
    const QStringList identifiers = host ? host->customListIdentifiers() : QStringList();
    for (const QString& identifier : identifiers) {
        const QString name = host->customListName(identifier);
        // The host is looked up again when an action fires: it may have been
        // replaced while the menu was open.
        connect(addListMenu->addAction(name), &QAction::triggered, this, [identifier, parameter]() {
            if (ParameterCustomListHost* current = ParameterView::parameterCustomListHost())
                current->addParameterToCustomList(identifier, parameter);
        });
        connect(removeListMenu->addAction(name), &QAction::triggered, this, [identifier, parameter]() {
            if (ParameterCustomListHost* current = ParameterView::parameterCustomListHost())
                current->removeParameterFromCustomList(identifier, parameter);
        });
    }
    addListMenu->menuAction()->setEnabled(!identifiers.isEmpty());
    removeListMenu->menuAction()->setEnabled(!identifiers.isEmpty());
    contextMenu->popup(tree->viewport()->mapToGlobal(position));
}

void ParameterViewPrivate::onEditorFinished()
{
    closeEditor(false);
}

// `discard`: the device may be half destroyed, so the editor must not write
// what was typed when it loses the focus.
void ParameterViewPrivate::closeEditor(bool discard)
{
    const QPointer<QWidget> closing = editor;
    QTreeWidgetItem* item = editorItem;
    editor = nullptr;
    editorItem = nullptr;
    if (!closing)
        return;
    disconnect(closing, nullptr, this, nullptr);
    if (discard) {
        if (auto* edit = qobject_cast<ParameterItemEdit*>(closing))
            edit->setParameterSetup(nullptr);
        else if (auto* combo = qobject_cast<ParameterItemComboBox*>(closing))
            combo->setParameterSetup(nullptr);
    }
    if (closing->hasFocus())
        tree->setFocus(Qt::OtherFocusReason);
    closing->hide();
    if (closing && item && tree->itemWidget(item, ParameterView::ColumnValue) == closing)
        tree->removeItemWidget(item, ParameterView::ColumnValue);
    // Deferred: the editor may be in the middle of its own key handling.
    if (closing)
        closing->deleteLater();
}

bool ParameterViewPrivate::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == tree && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_F2) && tree->currentItem()
            && q->editItem(tree->currentItem()))
            return true;
    }
    return QObject::eventFilter(watched, event);
}

ParameterView::ParameterView(QWidget* parent)
    : QWidget(parent)
    , d(new ParameterViewPrivate(this))
{
    d->tree = new ParameterTree(this);
    d->tree->setColumnCount(ColumnCount);
    d->tree->setUniformRowHeights(true);
    d->tree->setAlternatingRowColors(true);
    d->tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    d->tree->setSelectionMode(QAbstractItemView::SingleSelection);
    d->tree->setContextMenuPolicy(Qt::CustomContextMenu);
    d->tree->setExpandsOnDoubleClick(true);
    d->tree->setDragEnabled(true);
    d->tree->setDragDropMode(QAbstractItemView::DragOnly);
    d->tree->setDefaultDropAction(Qt::CopyAction);
    QHeaderView* header = d->tree->header();
    header->setStretchLastSection(false);
    header->resizeSection(ColumnParameter, 90);
    header->resizeSection(ColumnName, 260);
    header->resizeSection(ColumnValue, 150);
    header->resizeSection(ColumnReference, 150);
    header->resizeSection(ColumnUnit, 70);
    header->resizeSection(ColumnChanged, 30);
    d->tree->installEventFilter(d);

    d->filterEdit = new QLineEdit(this);
    d->filterEdit->setObjectName(QStringLiteral("parameterFilterEdit"));
    // No clear button: Qt 5.15 fades it in with an animation that nothing
    // frees when the field goes before the fade ends.
    d->changedOnlyCheckBox = new QCheckBox(this);
    d->changedOnlyCheckBox->setObjectName(QStringLiteral("changedOnlyCheckBox"));
    d->retranslate();

    auto* filterLayout = new QHBoxLayout;
    filterLayout->setContentsMargins(0, 0, 0, 0);
    filterLayout->addWidget(d->filterEdit, 1);
    filterLayout->addWidget(d->changedOnlyCheckBox);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);
    layout->addLayout(filterLayout);
    layout->addWidget(d->tree);
    connect(d->filterEdit, &QLineEdit::textChanged, d, [this]() { d->applyFilterToAll(); });
    connect(d->changedOnlyCheckBox, &QCheckBox::toggled, d, [this]() { d->applyFilterToAll(); });

    connect(d->tree, &QTreeWidget::itemDoubleClicked, d, &ParameterViewPrivate::onItemDoubleClicked);
    connect(d->tree, &QTreeWidget::currentItemChanged, d,
            [this](QTreeWidgetItem* current) { d->onCurrentItemChanged(current); });
    connect(d->tree, &QWidget::customContextMenuRequested, d, &ParameterViewPrivate::onContextMenuRequested);
    connect(LanguageManager::instance(), &LanguageManager::activeLanguageChanged, d,
            [this]() { d->updateAllRows(); });
}

ParameterView::~ParameterView()
{
    // Signals of a surviving device must not reach the half-destroyed view.
    for (const QMetaObject::Connection& connection : qAsConst(d->connections))
        QObject::disconnect(connection);
    d->connections.clear();
}

void ParameterView::setParameterCustomListHost(ParameterCustomListHost* host)
{
    registeredHost = host;
}

ParameterCustomListHost* ParameterView::parameterCustomListHost()
{
    return registeredHost;
}

void ParameterView::setAxis(DriveControllerAxis* axis)
{
    if (d->axis == axis && (axis || d->items.isEmpty()))
        return;
    d->reset();
    d->axis = axis;
    d->controller = axis ? axis->driveController() : nullptr;
    d->provider = d->controller ? d->controller->parameterProvider() : nullptr;
    d->axisNumber = axis ? axis->axisNumber() : LivingSpaceNone;
    if (axis) {
        d->connectSources();
        d->rebuild();
    }
}

DriveControllerAxis* ParameterView::axis() const
{
    return d->axis;
}

QTreeWidget* ParameterView::treeWidget() const
{
    return d->tree;
}

QTreeWidgetItem* ParameterView::item(const ParameterCoordinate& coordinate, int element) const
{
    QTreeWidgetItem* parameterItem = d->items.value(coordinate);
    if (!parameterItem || element < 0 || parameterItem->childCount() == 0)
        return parameterItem;
    return d->elementItem(parameterItem, element);
}

bool ParameterView::editItem(QTreeWidgetItem* item)
{
    if (!item || item->treeWidget() != d->tree)
        return false;
    const int element = item->data(0, ElementRole).toInt();
    ParameterSetup* setup = d->setupOf(item);
    if (element < 0 || !setup || !ParameterItemEdit::canWriteValue(setup, d->axisNumber, quint16(element)))
        return false;
    d->closeEditor(false);

    const int kind = setup->valueKind(quint16(element));
    QWidget* editor = nullptr;
    if (kind == ValueKindChoice || kind == ValueKindSwitch) {
        auto* combo = new ParameterItemComboBox;
        combo->setParameterSetup(setup);
        combo->setLivingSpace(d->axisNumber);
        combo->setElementIndex(quint16(element));
        connect(combo, &ParameterItemComboBox::deleteMe, d, &ParameterViewPrivate::onEditorFinished);
        editor = combo;
    } else {
        auto* edit = new ParameterItemEdit;
        edit->setParameterSetup(setup);
        edit->setLivingSpace(d->axisNumber);
        edit->setElementIndex(quint16(element));
        connect(edit, &ParameterItemEdit::deleteMe, d, &ParameterViewPrivate::onEditorFinished);
        editor = edit;
    }
    d->editor = editor;
    d->editorItem = item;
    if (item->parent())
        item->parent()->setExpanded(true);
    d->tree->setCurrentItem(item, ColumnValue);
    d->tree->scrollToItem(item);
    // A selection box is taller than a row of uniform height; it must not spill over.
    const int rowHeight = d->tree->visualItemRect(item).height();
    if (rowHeight > 0)
        editor->setMaximumHeight(rowHeight);
    d->tree->setItemWidget(item, ColumnValue, editor);
    if (auto* combo = qobject_cast<ParameterItemComboBox*>(editor)) {
        combo->initialize();
        if (combo->isVisible())
            combo->showPopup();
    } else {
        static_cast<ParameterItemEdit*>(editor)->initialize();
    }
    return true;
}

QWidget* ParameterView::activeEditor() const
{
    return d->editor;
}

void ParameterView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        d->retranslate();
    QWidget::changeEvent(event);
}
