#include "ModbusConnection.h"
#include "ParameterValues_p.h"

#include "DeviceType.h"
#include "DriveController.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"
#include "RegisterMap.h"

#include <QModbusReply>
#include <QModbusTcpClient>
#include <QPointer>
#include <QTimer>
#include <QVariant>

#include <algorithm>

namespace {

struct MetaTypeRegistration
{
    MetaTypeRegistration()
    {
        qRegisterMetaType<ModbusLostWrite>();
        qRegisterMetaType<QList<ModbusLostWrite>>();
    }
} metaTypeRegistration;

constexpr int MaxRegistersPerRead = 125;
constexpr int FirstReconnectDelay = 250;
constexpr int LongestReconnectDelay = 8000;

// One value in a read request.
struct Item
{
    ParameterAddress address;   // with its value space
    int unitId = 0;
    quint16 first = 0;
    const RegisterSlot* slot = nullptr;
    const ParameterElementDescription* element = nullptr;
};

enum class Purpose { GoingOnline, Poll, Consistence };

// One read request: contiguous registers of one unit id.
struct Block
{
    Purpose purpose = Purpose::Poll;
    int unitId = 0;
    quint16 start = 0;
    int count = 0;
    QVector<Item> items;
};

struct PendingWrite
{
    ParameterAddress address;
    QString raw;
    QPointer<QModbusReply> reply;
};

// The code of an exception answer is its first data byte. Read directly:
// QModbusPdu::exceptionCode() loads the function code with its exception bit
// set as an enum value, which the undefined-behaviour sanitizer rejects.
int exceptionCodeOf(const QModbusReply* reply)
{
    const QByteArray data = reply->rawResult().data();
    return data.isEmpty() ? 0 : quint8(data.at(0));
}

} // namespace

QString ModbusConnectionSettings::toText() const
{
    return QStringLiteral("%1:%2, Unit-ID %3").arg(host).arg(port).arg(unitId);
}

QJsonObject ModbusConnectionSettings::toJson() const
{
    return QJsonObject{{QStringLiteral("host"), host}, {QStringLiteral("port"), port}, {QStringLiteral("unitId"), unitId}};
}

ModbusConnectionSettings ModbusConnectionSettings::fromJson(const QJsonValue& value)
{
    const QJsonObject object = value.toObject();
    ModbusConnectionSettings settings;
    const QJsonValue port = object.value(QStringLiteral("port"));
    const QJsonValue unitId = object.value(QStringLiteral("unitId"));
    if (!object.value(QStringLiteral("host")).isString() || !port.isDouble() || (!unitId.isUndefined() && !unitId.isDouble()))
        return ModbusConnectionSettings{QString(), 0, 0};
    settings.host = object.value(QStringLiteral("host")).toString();
    settings.port = port.toInt(-1);
    settings.unitId = unitId.toInt(1);
    return settings;
}

class ModbusConnection::Private
{
public:
    Private(ModbusConnection* q, DriveController* controller)
        : q(q)
        , controller(controller)
    {
    }

    ParameterProvider* provider() const { return controller ? controller->parameterProvider() : nullptr; }
    QVector<Item> items(const QList<ParameterAddress>& valueAddresses) const;
    QVector<Item> allItems() const;
    static QVector<Block> plan(QVector<Item> items, Purpose purpose);
    void enqueue(const QVector<Block>& blocks);
    void sendReads();
    void onReadFinished(QModbusReply* reply, const Block& block);
    void onWriteFinished(QModbusReply* reply);
    void onConnected();
    void poll();
    void fail(const QString& reason);
    void reset();
    bool isLoss(QModbusDevice::Error error) const
    {
        return error == QModbusDevice::ConnectionError || error == QModbusDevice::TimeoutError || error == QModbusDevice::ReplyAbortedError;
    }

    ModbusConnection* const q;
    QPointer<DriveController> controller;
    ModbusConnectionSettings settings;
    QSharedPointer<const RegisterMap> map;
    QModbusTcpClient* client = nullptr;
    QTimer pollTimer;
    QTimer reconnectTimer;
    // Blocks still to be read from `queueHead` on: taken from the front one
    // by one, a few hundred per poll.
    QVector<Block> queue;
    int queueHead = 0;
    QList<QPointer<QModbusReply>> readsInFlight;
    QList<PendingWrite> writes;
    int maxInFlight = 4;
    int initialTotal = 0;
    int initialDone = 0;
    bool goingOnline = false;
    int pollBlocksPending = 0;   // a new poll starts when the last one is answered
    bool stayOnline = false;
    int reconnectAttempts = 0;
    int readRequests = 0;
    QList<ParameterAddress> polledAddresses;
    quint64 polledObservations = 0;
    quint64 polledAxes = 0;
    QVector<Block> pollPlan;
    bool pollPlanValid = false;
    // The registers of each poll block as last read, and the texts they gave:
    // most values read the same poll after poll and need not be decoded again.
    struct PolledBlock
    {
        QVector<quint16> words;
        QVector<QString> raws;
    };
    QHash<quint64, PolledBlock> lastPolled;
    static quint64 blockKey(const Block& block)
    {
        return (quint64(quint32(block.unitId)) << 40) | (quint64(block.start) << 16) | quint64(quint16(block.count));
    }
};

QVector<Item> ModbusConnection::Private::items(const QList<ParameterAddress>& valueAddresses) const
{
    QVector<Item> result;
    ParameterProvider* p = provider();
    if (!p || !map)
        return result;
    for (const ParameterAddress& address : valueAddresses) {
        const QPointer<ParameterSetup> setup = p->parameterSetup(address.coordinate());
        const ParameterElementDescription* element = setup ? setup->element(address.element()) : nullptr;
        const RegisterLocation at = map->locate(address.coordinate(), address.livingSpace(), address.element());
        if (!element || !element->hasValue || !at.isValid())
            continue;
        result.append(Item{address, at.unitId < 0 ? settings.unitId : at.unitId, at.address, at.slot, element});
    }
    return result;
}

QVector<Item> ModbusConnection::Private::allItems() const
{
    QList<ParameterAddress> addresses;
    ParameterProvider* p = provider();
    const QList<int> axes = controller->axisNumbers();
    for (const ParameterCoordinate& coordinate : p->allCoordinates()) {
        const ParameterSetup* setup = p->parameterSetup(coordinate).data();
        const QList<eLivingSpace> spaces = setup->isGlobal() ? QList<eLivingSpace>{LivingSpaceDevice} : setup->livingSpaces();
        for (eLivingSpace space : spaces) {
            if (space != LivingSpaceDevice && !axes.contains(space))
                continue;
            for (const ParameterElementDescription& element : setup->description().elements) {
                if (element.hasValue)
                    addresses.append(ParameterAddress(coordinate, element.index, space));
            }
        }
    }
    return items(addresses);
}

QVector<Block> ModbusConnection::Private::plan(QVector<Item> items, Purpose purpose)
{
    std::sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
        return a.unitId != b.unitId ? a.unitId < b.unitId : a.first < b.first;
    });
    QVector<Block> blocks;
    for (const Item& item : qAsConst(items)) {
        Block* last = blocks.isEmpty() ? nullptr : &blocks.last();
        const int end = last ? last->start + last->count : -1;
        // The same value asked for twice (an observed global parameter) is read once.
        if (last && last->unitId == item.unitId && item.first < end)
            continue;
        if (!last || last->unitId != item.unitId || item.first != end || end + item.slot->count - last->start > MaxRegistersPerRead) {
            blocks.append(Block{purpose, item.unitId, item.first, 0, {}});
            last = &blocks.last();
        }
        last->items.append(item);
        last->count = item.first + item.slot->count - last->start;
    }
    return blocks;
}

void ModbusConnection::Private::enqueue(const QVector<Block>& blocks)
{
    if (queueHead == queue.size() || queueHead > 1024) {
        queue.remove(0, queueHead);
        queueHead = 0;
    }
    queue += blocks;
    sendReads();
}

void ModbusConnection::Private::sendReads()
{
    readsInFlight.removeAll(nullptr);
    while (queueHead < queue.size() && readsInFlight.size() < maxInFlight && client && client->state() == QModbusDevice::ConnectedState) {
        const Block block = queue.at(queueHead++);
        QModbusReply* reply = client->sendReadRequest(QModbusDataUnit(QModbusDataUnit::HoldingRegisters, block.start, quint16(block.count)), block.unitId);
        if (!reply) {
            fail(tr("Lesen nicht m\u00F6glich: %1").arg(client->errorString()));
            return;
        }
        ++readRequests;
        readsInFlight.append(reply);
        QObject::connect(reply, &QModbusReply::finished, q, [this, reply, block]() { onReadFinished(reply, block); });
    }
}

void ModbusConnection::Private::onReadFinished(QModbusReply* reply, const Block& block)
{
    reply->deleteLater();
    readsInFlight.removeAll(reply);
    readsInFlight.removeAll(nullptr);
    if (!client)
        return;
    if (isLoss(reply->error())) {
        fail(tr("Verbindung zu %1 verloren: %2").arg(settings.toText(), reply->errorString()));
        return;
    }
    if (reply->error() != QModbusDevice::NoError) {
        const QString reason = reply->error() == QModbusDevice::ProtocolError ? exceptionText(exceptionCodeOf(reply)) : reply->errorString();
        if (block.purpose == Purpose::GoingOnline) {
            fail(tr("Das Ger\u00E4t lehnt das Lesen der Register %1 bis %2 ab: %3").arg(block.start).arg(block.start + block.count - 1).arg(reason));
            return;
        }
    } else {
        const QVector<quint16> values = reply->result().values();
        ParameterProvider* p = provider();
        PolledBlock* last = nullptr;
        if (block.purpose == Purpose::Poll) {
            last = &lastPolled[blockKey(block)];
            if (last->raws.size() != block.items.size() || last->words.size() != values.size()) {
                last->words.clear();
                last->raws = QVector<QString>(block.items.size());
            }
        }
        for (int i = 0; i < block.items.size(); ++i) {
            const Item& item = block.items.at(i);
            const int offset = item.first - block.start;
            if (offset + item.slot->count > values.size())
                break;
            const quint16* words = values.constData() + offset;
            const bool asBefore = last && !last->words.isEmpty() && !last->raws.at(i).isNull()
                && std::equal(words, words + item.slot->count, last->words.constData() + offset);
            const QString raw = asBefore ? last->raws.at(i) : RegisterMap::decode(*item.element, *item.slot, words);
            if (last && !asBefore)
                last->raws[i] = raw;
            p->takeDeviceValue(item.address, raw);
            // A receiver may have taken the controller offline.
            if (!client)
                return;
        }
        if (last)
            last->words = values;
    }
    if (block.purpose == Purpose::Poll)
        --pollBlocksPending;
    if (block.purpose == Purpose::GoingOnline) {
        ++initialDone;
        emit q->readProgress(initialDone, initialTotal);
        if (initialDone == initialTotal && goingOnline) {
            goingOnline = false;
            reconnectAttempts = 0;
            pollTimer.start();
            controller->finishGoingOnline();
        }
    }
    sendReads();
}

void ModbusConnection::Private::onWriteFinished(QModbusReply* reply)
{
    reply->deleteLater();
    const auto it = std::find_if(writes.begin(), writes.end(), [reply](const PendingWrite& w) { return w.reply == reply; });
    if (it == writes.end())
        return;
    const PendingWrite write = *it;
    if (isLoss(reply->error())) {
        fail(tr("Verbindung zu %1 verloren: %2").arg(settings.toText(), reply->errorString()));
        return;
    }
    writes.erase(it);
    if (reply->error() == QModbusDevice::NoError) {
        provider()->acknowledgeWrite(write.address, write.raw);
        emit provider()->valueWriteFinished(write.address, write.raw, ParameterProvider::WriteDone, QString());
        return;
    }
    const QString reason = reply->error() == QModbusDevice::ProtocolError ? exceptionText(exceptionCodeOf(reply)) : reply->errorString();
    emit q->writeRefused(write.address, write.raw, reason);
}

void ModbusConnection::Private::onConnected()
{
    // What the user changed offline goes to the device first, so that the
    // reads below find it there.
    for (const auto& pending : provider()->takePendingDownloads()) {
        // The device's value before is not known here: it is read below.
        emit provider()->valueWriteStarted(pending.first, QString(), pending.second);
        q->write(pending.first, pending.second);
    }
    const QVector<Block> blocks = plan(allItems(), Purpose::GoingOnline);
    initialTotal = blocks.size();
    initialDone = 0;
    emit q->readProgress(0, initialTotal);
    if (blocks.isEmpty()) {
        goingOnline = false;
        pollTimer.start();
        controller->finishGoingOnline();
        return;
    }
    enqueue(blocks);
}

void ModbusConnection::Private::poll()
{
    if (pollBlocksPending > 0 || goingOnline || !client || client->state() != QModbusDevice::ConnectedState)
        return;
    // Planned again only when what is observed changed: lists keep observing
    // the same values for long, and collecting them is a walk over every
    // parameter, so it waits for a sign of change too.
    ParameterProvider* p = provider();
    const quint64 observations = p->observationRevision();
    const quint64 axes = KxParameterValues::axesGeneration();
    if (!pollPlanValid || observations != polledObservations || axes != polledAxes) {
        const QList<ParameterAddress> observed = p->observedValueAddresses();
        if (observed != polledAddresses || !pollPlanValid) {
            pollPlan = plan(items(observed), Purpose::Poll);
            polledAddresses = observed;
            pollPlanValid = true;
            lastPolled.clear();
        }
        polledObservations = observations;
        polledAxes = axes;
    }
    pollBlocksPending = pollPlan.size();
    enqueue(pollPlan);
}

void ModbusConnection::Private::reset()
{
    pollTimer.stop();
    queue.clear();
    queueHead = 0;
    lastPolled.clear();
    goingOnline = false;
    pollBlocksPending = 0;
    for (const QPointer<QModbusReply>& reply : qAsConst(readsInFlight)) {
        if (reply) {
            reply->disconnect(q);
            reply->deleteLater();
        }
    }
    readsInFlight.clear();
    for (const PendingWrite& write : qAsConst(writes)) {
        if (write.reply) {
            write.reply->disconnect(q);
            write.reply->deleteLater();
        }
    }
    writes.clear();
    if (QModbusTcpClient* old = client) {
        client = nullptr;
        old->disconnect(q);
        old->disconnectDevice();
        old->deleteLater();
    }
}

void ModbusConnection::Private::fail(const QString& reason)
{
    QList<ModbusLostWrite> lost;
    for (const PendingWrite& write : qAsConst(writes))
        lost.append(ModbusLostWrite{write.address, write.raw});
    reset();
    // Due before anyone hears of the loss, so that they can tell it will be tried again.
    if (stayOnline) {
        const int delay = std::min(LongestReconnectDelay, FirstReconnectDelay << std::min(reconnectAttempts, 10));
        ++reconnectAttempts;
        reconnectTimer.start(delay);
    }
    if (controller)
        controller->connectionLost(reason);
    emit q->connectionFailed(reason);
    if (!lost.isEmpty())
        emit q->writesLost(lost);
}

ModbusConnection::ModbusConnection(DriveController* controller)
    : QObject(controller)
    , d(new Private(this, controller))
{
    d->pollTimer.setInterval(200);
    connect(&d->pollTimer, &QTimer::timeout, this, [this]() { d->poll(); });
    // A plan points into the parameters' descriptions.
    if (ParameterProvider* provider = d->provider()) {
        connect(provider, &ParameterProvider::parameterAdded, this, [this]() { d->pollPlanValid = false; });
        connect(provider, &ParameterProvider::parameterRemoved, this, [this]() { d->pollPlanValid = false; });
    }
    // Every write the provider started ends with the provider's word on it,
    // whoever follows the writes (the change journal) learns how.
    connect(this, &ModbusConnection::writeRefused, this, [this](ParameterAddress address, QString value, QString reason) {
        if (ParameterProvider* provider = d->provider())
            emit provider->valueWriteFinished(address, value, ParameterProvider::WriteRefused, reason);
    });
    connect(this, &ModbusConnection::writesLost, this, [this](QList<ModbusLostWrite> lost) {
        ParameterProvider* provider = d->provider();
        const QString reason = d->controller ? d->controller->connectionFault() : QString();
        for (const ModbusLostWrite& write : qAsConst(lost)) {
            if (provider)
                emit provider->valueWriteFinished(write.address, write.value, ParameterProvider::WriteNotReached, reason);
        }
    });
    d->reconnectTimer.setSingleShot(true);
    connect(&d->reconnectTimer, &QTimer::timeout, this, [this]() {
        if (d->controller && d->stayOnline)
            d->controller->setOnline(true);
    });
}

ModbusConnection::~ModbusConnection()
{
    d->reset();
}

ModbusConnectionSettings ModbusConnection::settings() const
{
    return d->settings;
}

void ModbusConnection::setSettings(const ModbusConnectionSettings& settings)
{
    d->settings = settings;
}

int ModbusConnection::pollInterval() const
{
    return d->pollTimer.interval();
}

void ModbusConnection::setPollInterval(int milliseconds)
{
    d->pollTimer.setInterval(std::max(1, milliseconds));
}

int ModbusConnection::maxRequestsInFlight() const
{
    return d->maxInFlight;
}

void ModbusConnection::setMaxRequestsInFlight(int requests)
{
    d->maxInFlight = std::max(1, requests);
}

bool ModbusConnection::staysOnline() const
{
    return d->stayOnline;
}

void ModbusConnection::setStayOnline(bool stayOnline)
{
    d->stayOnline = stayOnline;
    if (!stayOnline)
        d->reconnectTimer.stop();
}

int ModbusConnection::reconnectDelay() const
{
    return d->reconnectTimer.isActive() ? d->reconnectTimer.remainingTime() : -1;
}

int ModbusConnection::readRequestCount() const
{
    return d->readRequests;
}

int ModbusConnection::readAllRequestCount() const
{
    if (!d->map)
        d->map = d->controller && d->controller->type() ? RegisterMap::of(*d->controller->type()) : QSharedPointer<const RegisterMap>();
    return d->map && d->map->isValid() ? Private::plan(d->allItems(), Purpose::GoingOnline).size() : 0;
}

QString ModbusConnection::exceptionText(int code)
{
    switch (code) {
    case 1: return tr("Das Ger\u00E4t erlaubt das Schreiben hier nicht (Modbus-Ausnahme 1: unzul\u00E4ssige Funktion).");
    case 2: return tr("Das Ger\u00E4t kennt diese Register nicht (Modbus-Ausnahme 2: unzul\u00E4ssige Adresse).");
    case 3: return tr("Das Ger\u00E4t lehnt den Wert ab (Modbus-Ausnahme 3: unzul\u00E4ssiger Wert).");
    case 4: return tr("Ger\u00E4tefehler (Modbus-Ausnahme 4).");
    case 6: return tr("Das Ger\u00E4t ist besch\u00E4" "ftigt (Modbus-Ausnahme 6).");
    default: return tr("Das Ger\u00E4t antwortet mit der Modbus-Ausnahme %1.").arg(code);
    }
}

void ModbusConnection::open()
{
    d->reconnectTimer.stop();
    d->reset();
    if (!d->controller || !d->controller->type()) {
        d->fail(tr("Der Controller hat keinen Typ."));
        return;
    }
    d->map = RegisterMap::of(*d->controller->type());
    d->pollPlanValid = false;
    if (!d->map->isValid()) {
        d->fail(d->map->errorMessage());
        return;
    }
    d->readRequests = 0;
    d->goingOnline = true;
    d->client = new QModbusTcpClient(this);
    d->client->setConnectionParameter(QModbusDevice::NetworkAddressParameter, d->settings.host);
    d->client->setConnectionParameter(QModbusDevice::NetworkPortParameter, d->settings.port);
    d->client->setTimeout(2000);
    d->client->setNumberOfRetries(0);
    QModbusTcpClient* client = d->client;
    connect(client, &QModbusDevice::stateChanged, this, [this, client](QModbusDevice::State state) {
        if (client != d->client)
            return;
        if (state == QModbusDevice::ConnectedState)
            d->onConnected();
        else if (state == QModbusDevice::UnconnectedState)
            d->fail(tr("Verbindung zu %1 verloren: %2").arg(d->settings.toText(),
                client->error() != QModbusDevice::NoError ? client->errorString() : tr("die Gegenstelle hat sie beendet")));
    });
    // A refusal on the spot may have been reported through stateChanged already.
    if (!client->connectDevice() && d->client == client)
        d->fail(tr("Verbindung zu %1 nicht m\u00F6glich: %2").arg(d->settings.toText(), client->errorString()));
}

bool ModbusConnection::isConnected() const
{
    return d->client && d->client->state() == QModbusDevice::ConnectedState;
}

void ModbusConnection::close()
{
    d->reconnectTimer.stop();
    d->reconnectAttempts = 0;
    // Writes still on their way when the user goes offline are reported like those of a lost connection.
    QList<ModbusLostWrite> lost;
    for (const PendingWrite& write : qAsConst(d->writes))
        lost.append(ModbusLostWrite{write.address, write.raw});
    d->reset();
    if (!lost.isEmpty())
        emit writesLost(lost);
}

void ModbusConnection::write(const ParameterAddress& valueAddress, const QString& raw)
{
    const QVector<Item> found = d->items({valueAddress});
    if (found.isEmpty()) {
        emit writeRefused(valueAddress, raw, tr("Der Wert hat keinen Platz in den Registern des Ger\u00E4ts."));
        return;
    }
    const Item& item = found.first();
    QString problem;
    const QVector<quint16> words = RegisterMap::encode(*item.element, *item.slot, raw, &problem);
    if (!problem.isEmpty()) {
        emit writeRefused(valueAddress, raw, problem);
        return;
    }
    if (!d->client || d->client->state() != QModbusDevice::ConnectedState) {
        emit writesLost({ModbusLostWrite{valueAddress, raw}});
        return;
    }
    QModbusReply* reply = d->client->sendWriteRequest(QModbusDataUnit(QModbusDataUnit::HoldingRegisters, item.first, words), item.unitId);
    if (!reply) {
        emit writesLost({ModbusLostWrite{valueAddress, raw}});
        return;
    }
    d->writes.append(PendingWrite{valueAddress, raw, reply});
    connect(reply, &QModbusReply::finished, this, [this, reply]() { d->onWriteFinished(reply); });
}

void ModbusConnection::read(const QList<ParameterAddress>& valueAddresses)
{
    if (d->client && d->client->state() == QModbusDevice::ConnectedState)
        d->enqueue(Private::plan(d->items(valueAddresses), Purpose::Consistence));
}
