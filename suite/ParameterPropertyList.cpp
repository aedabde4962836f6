#include "ParameterPropertyList.h"

#include "DriveController.h"
#include "LanguageManager.h"
#include "ParameterAddress.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"

#include <QEvent>
#include <QHeaderView>
#include <QPointer>
#include <QScrollBar>
#include <QSet>
#include <QStringList>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int ElementRole = Qt::UserRole + 1;

QString numberText(double value, int decimals)
{
    return QString::number(value, 'f', qBound(0, decimals, 6));
}

QString joinedNumbers(const QList<int>& numbers)
{
    QStringList texts;
    texts.reserve(numbers.size());
    for (int number : numbers)
        texts.append(QString::number(number));
    return texts.join(QStringLiteral(", "));
}

} // namespace

class ParameterPropertyListPrivate
{
public:
    explicit ParameterPropertyListPrivate(ParameterPropertyList* list) : q(list) {}

    void retranslate();
    void connectProvider();
    void refresh();
    void show(const QString& sortableAddress);
    void showNotAvailable(const QString& addressText);
    eLivingSpace livingSpaceToShow(const ParameterSetup& setup, eLivingSpace requested) const;
    QTreeWidgetItem* addRow(QTreeWidgetItem* parent, const QString& property, const QString& value);
    void addElementRows(QTreeWidgetItem* parent, const ParameterSetup& setup, eLivingSpace livingSpace, quint16 element);
    QString yesNo(bool value) const;
    QString structureText(const ParameterSetup& setup) const;
    QString kindText(int kind) const;
    QString scopeText(const ParameterSetup& setup) const;

    ParameterPropertyList* const q;
    QTreeWidget* tree = nullptr;
    QPointer<ParameterProvider> provider;
    QList<QMetaObject::Connection> providerConnections;
    QString shownAddress;
    bool available = false;
};

void ParameterPropertyListPrivate::retranslate()
{
    tree->setHeaderLabels({ ParameterPropertyList::tr("Eigenschaft"), ParameterPropertyList::tr("Wert") });
}

void ParameterPropertyListPrivate::connectProvider()
{
    for (const QMetaObject::Connection& connection : qAsConst(providerConnections))
        QObject::disconnect(connection);
    providerConnections.clear();
    if (!provider)
        return;
    auto refreshIfShown = [this](const ParameterCoordinate& coordinate) {
        if (!shownAddress.isEmpty() && ParameterAddress(shownAddress, false).coordinate() == coordinate)
            refresh();
    };
    auto refreshIfShownAddress = [refreshIfShown](const ParameterAddress& address) {
        refreshIfShown(address.coordinate());
    };
    auto refreshAlways = [this]() { refresh(); };
    ParameterProvider* p = provider;
    providerConnections
        << QObject::connect(p, &ParameterProvider::parameterValueChanged, q, refreshIfShownAddress)
        << QObject::connect(p, &ParameterProvider::parameterDefinitionChanged, q, refreshIfShownAddress)
        << QObject::connect(p, &ParameterProvider::parameterVisibilityChanged, q, refreshIfShownAddress)
        << QObject::connect(p, &ParameterProvider::parameterMeasuringUnitChanged, q, refreshIfShownAddress)
        << QObject::connect(p, &ParameterProvider::parameterAdded, q, refreshIfShown)
        << QObject::connect(p, &ParameterProvider::parameterRemoved, q, refreshIfShown)
        << QObject::connect(p, &ParameterProvider::readOnlyChanged, q, refreshAlways)
        << QObject::connect(p, &ParameterProvider::onlineChanged, q, refreshAlways)
        << QObject::connect(p, &ParameterProvider::accessLevelUpdateFinished, q, refreshAlways)
        << QObject::connect(p, &QObject::destroyed, q, refreshAlways);
}

void ParameterPropertyListPrivate::refresh()
{
    if (shownAddress.isEmpty())
        return;
    QSet<int> expanded;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = tree->topLevelItem(i);
        if (item->isExpanded() && item->data(0, ElementRole).isValid())
            expanded.insert(item->data(0, ElementRole).toInt());
    }
    QTreeWidgetItem* current = tree->currentItem();
    const QVariant currentElement = current ? current->data(0, ElementRole) : QVariant();
    const int scroll = tree->verticalScrollBar()->value();

    show(shownAddress);

    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = tree->topLevelItem(i);
        const QVariant element = item->data(0, ElementRole);
        if (!element.isValid())
            continue;
        item->setExpanded(expanded.contains(element.toInt()));
        if (currentElement.isValid() && element == currentElement)
            tree->setCurrentItem(item);
    }
    tree->verticalScrollBar()->setValue(scroll);
}

eLivingSpace ParameterPropertyListPrivate::livingSpaceToShow(const ParameterSetup& setup, eLivingSpace requested) const
{
    if (setup.isGlobal())
        return LivingSpaceDevice;
    if (requested != LivingSpaceNone)
        return setup.isDefinedIn(requested) ? requested : LivingSpaceNone;
    const DriveController* controller = provider ? provider->driveController() : nullptr;
    if (controller) {
        for (int axis : controller->axisNumbers()) {
            if (setup.isDefinedIn(axis))
                return axis;
        }
    }
    return LivingSpaceNone;
}

void ParameterPropertyListPrivate::show(const QString& sortableAddress)
{
    const ParameterAddress address(sortableAddress, false);
    shownAddress = address.isValid() ? address.toSortableText() : sortableAddress;
    available = false;
    tree->setUpdatesEnabled(false);
    tree->clear();

    const QPointer<ParameterSetup> setup = (provider && address.isValid())
        ? provider->parameterSetup(address.coordinate())
        : QPointer<ParameterSetup>();
    const eLivingSpace livingSpace = setup ? livingSpaceToShow(*setup, address.livingSpace()) : LivingSpaceNone;
    if (!setup || livingSpace == LivingSpaceNone || !setup->hasElement(address.element())) {
        showNotAvailable(address.isValid() ? address.toText() : sortableAddress);
        tree->setUpdatesEnabled(true);
        return;
    }
    available = true;

    const ParameterDescription& description = setup->description();
    const ParameterText name = setup->parameterText();
    addRow(nullptr, ParameterPropertyList::tr("Adresse"),
           ParameterAddress(setup->coordinate(), address.element(), livingSpace).toText());
    addRow(nullptr, ParameterPropertyList::tr("Name (deutsch)"), name.longText(LanguageManager::German));
    addRow(nullptr, ParameterPropertyList::tr("Name (englisch)"), name.longText(LanguageManager::English));
    addRow(nullptr, ParameterPropertyList::tr("Art"), structureText(*setup));
    addRow(nullptr, ParameterPropertyList::tr("Gültigkeit"), scopeText(*setup));
    if (!setup->isGlobal()) {
        const DriveController* controller = provider->driveController();
        const QString axisName = controller ? controller->axisName(livingSpace) : QString();
        addRow(nullptr, ParameterPropertyList::tr("Gezeigte Achse"),
               axisName.isEmpty() ? QString::number(livingSpace)
                                  : QStringLiteral("%1 (%2)").arg(livingSpace).arg(axisName));
    }

    const QList<quint16> indices = setup->elementIndexList();
    if (description.structure == ParameterDescription::Simple) {
        addElementRows(nullptr, *setup, livingSpace, indices.value(0));
    } else {
        QList<int> indexNumbers;
        for (quint16 index : indices)
            indexNumbers.append(index);
        addRow(nullptr, ParameterPropertyList::tr("Anzahl Elemente"), QString::number(setup->elementCount()));
        addRow(nullptr, ParameterPropertyList::tr("Element-Indizes"), joinedNumbers(indexNumbers));
        for (quint16 index : indices) {
            const QString elementName = setup->elementText(index).longText();
            QTreeWidgetItem* group = addRow(nullptr, ParameterPropertyList::tr("Element %1").arg(index), elementName);
            group->setData(0, ElementRole, int(index));
            QFont font = group->font(0);
            font.setBold(true);
            group->setFont(0, font);
            addElementRows(group, *setup, livingSpace, index);
            if (index == address.element()) {
                group->setExpanded(true);
                tree->setCurrentItem(group);
            }
        }
    }
    tree->resizeColumnToContents(0);
    tree->setUpdatesEnabled(true);
}

void ParameterPropertyListPrivate::showNotAvailable(const QString& addressText)
{
    auto* item = new QTreeWidgetItem(tree);
    item->setText(0, ParameterPropertyList::tr("Parameter %1 ist nicht verfügbar.").arg(addressText));
    item->setFirstColumnSpanned(true);
}

QTreeWidgetItem* ParameterPropertyListPrivate::addRow(QTreeWidgetItem* parent, const QString& property, const QString& value)
{
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
    item->setText(0, property);
    item->setText(1, value);
    item->setToolTip(1, value);
    return item;
}

void ParameterPropertyListPrivate::addElementRows(QTreeWidgetItem* parent, const ParameterSetup& setup,
                                                  eLivingSpace livingSpace, quint16 element)
{
    const ParameterElementDescription* description = setup.element(element);
    if (!description)
        return;
    const int kind = setup.valueKind(element);
    addRow(parent, ParameterPropertyList::tr("Werteart"), kindText(kind));
    if (description->hasValue) {
        addRow(parent, ParameterPropertyList::tr("Wert"), setup.valueText(livingSpace, element, true));
        addRow(parent, ParameterPropertyList::tr("Referenz"), setup.referenceValueText(livingSpace, element, true));
        addRow(parent, ParameterPropertyList::tr("Standardwert"), setup.defaultValueText(element, true));
    } else {
        addRow(parent, ParameterPropertyList::tr("Wert"), ParameterPropertyList::tr("(kein Wert)"));
    }
    addRow(parent, ParameterPropertyList::tr("Einheit"), setup.unit(element));
    switch (kind) {
    case ValueKindNumber:
        addRow(parent, ParameterPropertyList::tr("Grenzen"),
               ParameterPropertyList::tr("%1 … %2")
                   .arg(numberText(setup.minimum(element), description->decimals),
                        numberText(setup.maximum(element), description->decimals)));
        addRow(parent, ParameterPropertyList::tr("Nachkommastellen"), QString::number(description->decimals));
        break;
    case ValueKindChoice:
    case ValueKindSwitch: {
        QStringList entries;
        const QList<ParameterChoice> choices = setup.choices(element);
        for (const ParameterChoice& choice : choices)
            entries.append(QStringLiteral("%1 = %2").arg(choice.value).arg(choice.text.longText()));
        addRow(parent, ParameterPropertyList::tr("Auswahlliste"), entries.join(QStringLiteral(", ")));
        break;
    }
    case ValueKindText:
        addRow(parent, ParameterPropertyList::tr("Maximale Länge"),
               setup.maximum(element) > 0 ? QString::number(qRound(setup.maximum(element)))
                                          : ParameterPropertyList::tr("unbegrenzt"));
        break;
    default:
        break;
    }
    addRow(parent, ParameterPropertyList::tr("Beschreibbar"), yesNo(setup.isWritable(livingSpace, element)));
    addRow(parent, ParameterPropertyList::tr("Aktiv"), yesNo(setup.isActive(livingSpace, element)));
    addRow(parent, ParameterPropertyList::tr("Level"), QString::number(setup.elementLevel(element)));
    addRow(parent, ParameterPropertyList::tr("Kategorie"), QString::number(setup.elementCategory(element)));
}

QString ParameterPropertyListPrivate::yesNo(bool value) const
{
    return value ? ParameterPropertyList::tr("Ja") : ParameterPropertyList::tr("Nein");
}

QString ParameterPropertyListPrivate::structureText(const ParameterSetup& setup) const
{
    switch (setup.description().structure) {
    case ParameterDescription::Array:
        return ParameterPropertyList::tr("Feld");
    case ParameterDescription::Record:
        return ParameterPropertyList::tr("Struktur");
    case ParameterDescription::Simple:
        break;
    }
    return ParameterPropertyList::tr("Einfacher Parameter");
}

QString ParameterPropertyListPrivate::kindText(int kind) const
{
    switch (kind) {
    case ValueKindNumber:
        return ParameterPropertyList::tr("Zahl");
    case ValueKindChoice:
        return ParameterPropertyList::tr("Auswahl");
    case ValueKindSwitch:
        return ParameterPropertyList::tr("Schalter");
    case ValueKindText:
        return ParameterPropertyList::tr("Text");
    default:
        return QString();
    }
}

QString ParameterPropertyListPrivate::scopeText(const ParameterSetup& setup) const
{
    if (setup.isGlobal())
        return ParameterPropertyList::tr("Gerät (für alle Achsen gemeinsam)");
    const QList<int>& definedIn = setup.description().definedIn;
    if (definedIn.isEmpty())
        return ParameterPropertyList::tr("Je Achse (alle Achsen)");
    return ParameterPropertyList::tr("Je Achse (Achsen %1)").arg(joinedNumbers(definedIn));
}

ParameterPropertyList::ParameterPropertyList(QWidget* parent)
    : QWidget(parent)
    , d(std::make_unique<ParameterPropertyListPrivate>(this))
{
    d->tree = new QTreeWidget(this);
    d->tree->setColumnCount(2);
    d->tree->setUniformRowHeights(true);
    d->tree->setAlternatingRowColors(true);
    d->tree->header()->setStretchLastSection(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(d->tree);
    connect(LanguageManager::instance(), &LanguageManager::activeLanguageChanged, this, [this]() { d->refresh(); });
    initialize();
}

ParameterPropertyList::~ParameterPropertyList()
{
    // The provider may outlive the list: its signals must not reach a half-destroyed one.
    for (const QMetaObject::Connection& connection : qAsConst(d->providerConnections))
        disconnect(connection);
}

void ParameterPropertyList::initialize()
{
    d->retranslate();
    clear();
}

void ParameterPropertyList::setParameterProvider(ParameterProvider* provider)
{
    if (d->provider == provider && (provider || d->providerConnections.isEmpty()))
        return;
    d->provider = provider;
    d->connectProvider();
    d->refresh();
}

ParameterProvider* ParameterPropertyList::parameterProvider() const
{
    return d->provider;
}

void ParameterPropertyList::clear()
{
    d->shownAddress.clear();
    d->available = false;
    d->tree->clear();
}

void ParameterPropertyList::showParameterProperties(QString sortableAddress)
{
    d->show(sortableAddress);
}

void ParameterPropertyList::showArrayParameterProperties(QString sortableAddress)
{
    d->show(sortableAddress);
}

void ParameterPropertyList::showRecordParameterProperties(QString sortableAddress)
{
    d->show(sortableAddress);
}

QString ParameterPropertyList::shownAddress() const
{
    return d->shownAddress;
}

bool ParameterPropertyList::isParameterAvailable() const
{
    return d->available;
}

QTreeWidget* ParameterPropertyList::treeWidget() const
{
    return d->tree;
}

void ParameterPropertyList::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        d->retranslate();
        d->refresh();
    }
    QWidget::changeEvent(event);
}
