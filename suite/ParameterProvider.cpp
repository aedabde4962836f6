#include "ParameterProvider.h"

#include "DeviceType.h"
#include "DriveController.h"
#include "ModbusConnection.h"
#include "ParameterDefinition.h"
#include "ParameterSetup.h"
#include "ParameterValues_p.h"

#include <QSet>
#include <QVector>

#include <algorithm>

namespace {

typedef QHash<eLivingSpace, QHash<quint16, QString>> ValueTable;   // raw values that differ from the default

struct Entry
{
    QSharedPointer<const ParameterDescription> description;
    QPointer<ParameterDefinition> definition;
    QPointer<ParameterSetup> setup;
    ValueTable drive;
    // Values the user wrote while offline; they go to the drive on connecting.
    QSet<QPair<eLivingSpace, quint16>> pendingDownloads;
};

} // namespace

class ParameterProvider::Private
{
public:
    explicit Private(ParameterProvider* q, DriveController* controller)
        : q(q)
        , controller(controller)
    {
    }

    void add(QSharedPointer<const ParameterDescription> description, int position);
    Entry* entry(const ParameterCoordinate& coordinate);
    // The living space the value of `address` lives in; LivingSpaceNone when it has none.
    eLivingSpace valueSpace(const Entry& entry, eLivingSpace livingSpace) const;
    QString driveText(const Entry& entry, eLivingSpace valueSpace, quint16 element) const;
    void readFromDrive(const ParameterCoordinate& coordinate, eLivingSpace valueSpace, quint16 element);

    ParameterProvider* const q;
    QPointer<DriveController> controller;
    QHash<quint16, Entry> entries;
    QVector<quint16> order;
    quint64 observationRevision = 0;
    bool readOnly = false;
    int consistenceRequests = 0;
};

void ParameterProvider::Private::add(QSharedPointer<const ParameterDescription> description, int position)
{
    const quint16 number = description->coordinate.toNumber();
    ++observationRevision;
    Entry& e = entries[number];
    e.description = description;
    e.definition = new ParameterDefinition(description, q);
    e.setup = new ParameterSetup(description, q);
    e.drive.clear();
    e.pendingDownloads.clear();
    if (position < 0 || position > order.size())
        order.append(number);
    else
        order.insert(position, number);
}

Entry* ParameterProvider::Private::entry(const ParameterCoordinate& coordinate)
{
    const auto it = entries.find(coordinate.toNumber());
    return it == entries.end() ? nullptr : &*it;
}

eLivingSpace ParameterProvider::Private::valueSpace(const Entry& entry, eLivingSpace livingSpace) const
{
    if (entry.description->global)
        return LivingSpaceDevice;
    return KxParameterValues::isDefinedIn(*entry.description, livingSpace, controller.data()) ? livingSpace : LivingSpaceNone;
}

QString ParameterProvider::Private::driveText(const Entry& entry, eLivingSpace valueSpace, quint16 element) const
{
    const ParameterElementDescription* e = KxParameterValues::findElement(*entry.description, element);
    if (!e || !e->hasValue)
        return QString();
    const auto space = entry.drive.constFind(valueSpace);
    if (space != entry.drive.cend()) {
        const auto value = space->constFind(element);
        if (value != space->cend())
            return *value;
    }
    return KxParameterValues::canonicalDefault(*e);
}

void ParameterProvider::Private::readFromDrive(const ParameterCoordinate& coordinate, eLivingSpace valueSpace, quint16 element)
{
    const Entry* e = entry(coordinate);
    if (!e || !e->setup || !e->setup->valueElement(element))
        return;
    const QString driveValue = driveText(*e, valueSpace, element);
    ParameterSetup* setup = e->setup.data();
    if (setup->storedText(valueSpace, element) == driveValue)
        return;
    setup->storeText(valueSpace, element, driveValue);
    emit q->parameterValueChanged(setup->address(valueSpace, element));
}

ParameterProvider::ParameterProvider(DriveController* controller)
    : QObject(controller)
    , d(new Private(this, controller))
{
    // Known to queued connections and signal spies of the write signals.
    static const int outcomeType = qRegisterMetaType<ParameterProvider::WriteOutcome>();
    Q_UNUSED(outcomeType)
    const QSharedPointer<const DeviceType> type = controller ? controller->type() : QSharedPointer<const DeviceType>();
    if (!type)
        return;
    d->entries.reserve(type->parameters.size());
    d->order.reserve(type->parameters.size());
    for (const QSharedPointer<const ParameterDescription>& description : type->parameters) {
        if (description && description->coordinate.isValid() && !d->entries.contains(description->coordinate.toNumber()))
            d->add(description, -1);
    }
}

ParameterProvider::~ParameterProvider()
{
    // Its definitions are left without a controller to ask.
    KxParameterValues::axesChanged();
}

DriveController* ParameterProvider::driveController() const
{
    return d->controller.data();
}

QPointer<ParameterDefinition> ParameterProvider::parameterDefinition(const ParameterCoordinate& coordinate) const
{
    const Entry* e = d->entry(coordinate);
    return e ? e->definition : QPointer<ParameterDefinition>();
}

QPointer<ParameterSetup> ParameterProvider::parameterSetup(const ParameterCoordinate& coordinate) const
{
    const Entry* e = d->entry(coordinate);
    return e ? e->setup : QPointer<ParameterSetup>();
}

QList<ParameterCoordinate> ParameterProvider::parameterCoordinates(eLivingSpace axisNumber) const
{
    QList<ParameterCoordinate> coordinates;
    for (quint16 number : qAsConst(d->order)) {
        const Entry& e = d->entries[number];
        if (!e.definition)
            continue;
        const bool has = axisNumber == LivingSpaceDevice
            ? e.description->global
            : e.description->global || KxParameterValues::isDefinedIn(*e.description, axisNumber, d->controller.data());
        if (has)
            coordinates.append(e.description->coordinate);
    }
    return coordinates;
}

QList<ParameterCoordinate> ParameterProvider::allCoordinates() const
{
    QList<ParameterCoordinate> coordinates;
    coordinates.reserve(d->order.size());
    for (quint16 number : qAsConst(d->order)) {
        const Entry& e = d->entries[number];
        if (e.definition)
            coordinates.append(e.description->coordinate);
    }
    return coordinates;
}

bool ParameterProvider::isOnline() const
{
    return d->controller && d->controller->isOnline();
}

bool ParameterProvider::isReadOnly() const
{
    return d->readOnly;
}

void ParameterProvider::setReadOnly(bool readOnly)
{
    if (d->readOnly == readOnly)
        return;
    d->readOnly = readOnly;
    emit readOnlyChanged(readOnly);
}

void ParameterProvider::addParameter(const ParameterDescription& description)
{
    if (!description.coordinate.isValid())
        return;
    const int position = d->order.indexOf(description.coordinate.toNumber());
    if (position >= 0)
        removeParameter(description.coordinate);
    auto copy = QSharedPointer<ParameterDescription>::create(description);
    KxParameterValues::settle(*copy);
    d->add(copy, position);
    emit parameterAdded(description.coordinate);
}

bool ParameterProvider::removeParameter(const ParameterCoordinate& coordinate)
{
    const auto it = d->entries.find(coordinate.toNumber());
    if (it == d->entries.end())
        return false;
    const Entry e = *it;
    d->entries.erase(it);
    d->order.removeOne(coordinate.toNumber());
    ++d->observationRevision;
    delete e.definition.data();
    delete e.setup.data();
    emit parameterRemoved(coordinate);
    return true;
}

void ParameterProvider::beginAccessLevelUpdate()
{
    emit accessLevelUpdateStarted();
}

void ParameterProvider::endAccessLevelUpdate()
{
    emit accessLevelUpdateFinished();
}

bool ParameterProvider::simulateDriveValue(const ParameterAddress& address, const QString& rawText)
{
    Entry* e = address.isValid() ? d->entry(address.coordinate()) : nullptr;
    if (!e)
        return false;
    const ParameterElementDescription* element = KxParameterValues::findElement(*e->description, address.element());
    const eLivingSpace space = d->valueSpace(*e, address.livingSpace());
    QString raw;
    if (!element || space == LivingSpaceNone || !KxParameterValues::check(*element, rawText, &raw).isEmpty())
        return false;
    if (raw == KxParameterValues::canonicalDefault(*element)) {
        auto values = e->drive.find(space);
        if (values != e->drive.end())
            values->remove(address.element());
    } else {
        KxParameterValues::dropSlack(raw);
        e->drive[space].insert(address.element(), raw);
    }
    return true;
}

QString ParameterProvider::driveValueText(const ParameterAddress& address) const
{
    const Entry* e = address.isValid() ? d->entry(address.coordinate()) : nullptr;
    if (!e)
        return QString();
    const eLivingSpace space = d->valueSpace(*e, address.livingSpace());
    return space == LivingSpaceNone ? QString() : d->driveText(*e, space, address.element());
}

int ParameterProvider::consistenceRequestCount() const
{
    return d->consistenceRequests;
}

void ParameterProvider::parameterNeedsOnlineConsistenceOnce(ParameterAddress address)
{
    ++d->consistenceRequests;
    if (!isOnline() || !address.isValid())
        return;
    const Entry* e = d->entry(address.coordinate());
    if (!e || !e->setup)
        return;
    QList<eLivingSpace> spaces;
    if (e->description->global)
        spaces.append(LivingSpaceDevice);
    else if (address.livingSpace() == LivingSpaceNone)
        spaces = e->setup->livingSpaces();
    else
        spaces.append(address.livingSpace());
    ModbusConnection* connection = d->controller ? d->controller->connection() : nullptr;
    QList<ParameterAddress> overTheWire;
    for (eLivingSpace space : qAsConst(spaces)) {
        if (d->valueSpace(*e, space) == LivingSpaceNone)
            continue;
        if (connection)
            overTheWire.append(ParameterAddress(address.coordinate(), address.element(), space));
        else
            d->readFromDrive(address.coordinate(), space, address.element());
    }
    if (connection)
        connection->read(overTheWire);
}

void ParameterProvider::takeDeviceValue(const ParameterAddress& valueAddress, const QString& raw)
{
    const Entry* e = d->entry(valueAddress.coordinate());
    ParameterSetup* setup = e ? e->setup.data() : nullptr;
    if (!setup || !setup->valueElement(valueAddress.element()))
        return;
    QString value = raw;
    KxParameterValues::dropSlack(value);
    if (setup->storedText(valueAddress.livingSpace(), valueAddress.element()) == value)
        return;
    setup->storeText(valueAddress.livingSpace(), valueAddress.element(), value);
    emit parameterValueChanged(valueAddress);
}

void ParameterProvider::acknowledgeWrite(const ParameterAddress& valueAddress, const QString& raw)
{
    const Entry* e = d->entry(valueAddress.coordinate());
    ParameterSetup* setup = e ? e->setup.data() : nullptr;
    if (!setup || setup->storedText(valueAddress.livingSpace(), valueAddress.element()) == raw)
        return;
    takeDeviceValue(valueAddress, raw);
    if (d->controller)
        d->controller->setNeedSave();
}

quint64 ParameterProvider::observationRevision() const
{
    return d->observationRevision;
}

void ParameterProvider::observationsChanged()
{
    ++d->observationRevision;
}

QList<ParameterAddress> ParameterProvider::observedValueAddresses() const
{
    QList<ParameterAddress> addresses;
    for (quint16 number : qAsConst(d->order)) {
        const Entry& e = d->entries[number];
        if (!e.setup)
            continue;
        for (const ParameterSetup::Observation& o : e.setup->m_observed) {
            const eLivingSpace space = d->valueSpace(e, o.livingSpace);
            if (space != LivingSpaceNone)
                addresses.append(ParameterAddress(e.description->coordinate, o.element, space));
        }
    }
    return addresses;
}

QList<QPair<ParameterAddress, QString>> ParameterProvider::takePendingDownloads()
{
    QList<QPair<ParameterAddress, QString>> downloads;
    for (quint16 number : qAsConst(d->order)) {
        Entry& e = d->entries[number];
        if (e.setup) {
            QVector<QPair<eLivingSpace, quint16>> keys(e.pendingDownloads.cbegin(), e.pendingDownloads.cend());
            std::sort(keys.begin(), keys.end());
            for (const auto& key : qAsConst(keys))
                downloads.append(qMakePair(ParameterAddress(e.description->coordinate, key.second, key.first), e.setup->storedText(key.first, key.second)));
        }
        e.pendingDownloads.clear();
    }
    return downloads;
}

bool ParameterProvider::writesThroughConnection() const
{
    const ModbusConnection* connection = d->controller ? d->controller->connection() : nullptr;
    return connection && connection->isConnected();
}

void ParameterProvider::writeToDrive(const ParameterCoordinate& coordinate, eLivingSpace valueSpace, quint16 element, const QString& raw)
{
    Entry* e = d->entry(coordinate);
    if (!e)
        return;
    const ParameterElementDescription* description = KxParameterValues::findElement(*e->description, element);
    if (!description)
        return;
    if (raw == KxParameterValues::canonicalDefault(*description)) {
        auto values = e->drive.find(valueSpace);
        if (values != e->drive.end())
            values->remove(element);
    } else {
        e->drive[valueSpace].insert(element, raw);
    }
}

void ParameterProvider::noteOfflineWrite(const ParameterCoordinate& coordinate, eLivingSpace valueSpace, quint16 element)
{
    if (Entry* e = d->entry(coordinate))
        e->pendingDownloads.insert(qMakePair(valueSpace, element));
}

void ParameterProvider::readAllFromDrive()
{
    // What the user edited offline wins over the drive: it is downloaded
    // first, so the read below finds it equal. Everything else is read.
    for (quint16 number : qAsConst(d->order)) {
        Entry& e = d->entries[number];
        if (e.setup) {
            for (const auto& key : qAsConst(e.pendingDownloads))
                writeToDrive(e.description->coordinate, key.first, key.second, e.setup->storedText(key.first, key.second));
        }
        e.pendingDownloads.clear();
    }

    // Only values that differ from the default on either side can differ
    // between software and drive. Collected first: receivers of the signals
    // may add or remove parameters.
    QVector<ParameterAddress> candidates;
    for (quint16 number : qAsConst(d->order)) {
        const Entry& e = d->entries[number];
        if (!e.setup)
            continue;
        QSet<QPair<eLivingSpace, quint16>> keys;
        for (auto space = e.drive.cbegin(); space != e.drive.cend(); ++space) {
            for (auto value = space->cbegin(); value != space->cend(); ++value)
                keys.insert(qMakePair(space.key(), value.key()));
        }
        const ValueTable& software = e.setup->m_values;
        for (auto space = software.cbegin(); space != software.cend(); ++space) {
            for (auto value = space->cbegin(); value != space->cend(); ++value)
                keys.insert(qMakePair(space.key(), value.key()));
        }
        QVector<QPair<eLivingSpace, quint16>> sorted(keys.cbegin(), keys.cend());
        std::sort(sorted.begin(), sorted.end());
        for (const auto& key : qAsConst(sorted))
            candidates.append(ParameterAddress(e.description->coordinate, key.second, key.first));
    }
    for (const ParameterAddress& address : qAsConst(candidates)) {
        const Entry* e = d->entry(address.coordinate());
        if (e && d->valueSpace(*e, address.livingSpace()) == address.livingSpace())
            d->readFromDrive(address.coordinate(), address.livingSpace(), address.element());
    }
}

void ParameterProvider::setInitialValue(const ParameterAddress& address, const QString& raw)
{
    const Entry* e = address.isValid() ? d->entry(address.coordinate()) : nullptr;
    if (!e)
        return;
    const eLivingSpace space = d->valueSpace(*e, address.livingSpace());
    if (space == LivingSpaceNone)
        return;
    writeToDrive(address.coordinate(), space, address.element(), raw);
    if (e->setup)
        e->setup->storeText(space, address.element(), raw);
}
