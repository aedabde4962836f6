#include "DriveSimulator.h"

#include "DeviceType.h"
#include "DriveController.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"
#include "RegisterMap.h"

#include <QHash>
#include <QModbusTcpConnectionObserver>
#include <QPointer>
#include <QRandomGenerator>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

#include <cmath>

namespace {

// The element a register belongs to.
struct Cell
{
    ParameterAddress address;          // with its value space
    quint16 first = 0;                 // the element's first register
    const RegisterSlot* slot = nullptr;
    const ParameterElementDescription* element = nullptr;
    QPointer<ParameterSetup> setup;
};

QModbusExceptionResponse refusal(const QModbusPdu& request, QModbusExceptionResponse::ExceptionCode code)
{
    return QModbusExceptionResponse(request.functionCode(), code);
}

} // namespace

// Owned by the server; keeps the clients so that faults can drop them.
class ClientList : public QModbusTcpConnectionObserver
{
public:
    bool acceptNewConnection(QTcpSocket* client) override
    {
        clients.append(client);
        return true;
    }
    QList<QPointer<QTcpSocket>> clients;
};

class DriveSimulator::Private
{
public:
    Private(DriveSimulator* q)
        : q(q)
    {
    }

    void index();
    void showValue(const Cell& cell);
    QModbusResponse write(const QModbusPdu& request, quint16 start, const QVector<quint16>& values);
    void dropConnections();

    DriveSimulator* const q;
    QPointer<DriveController> controller;
    QSharedPointer<const RegisterMap> map;
    DriveSimulatorFaults faults;
    QHash<quint16, Cell> cells;
    ClientList* clients = nullptr;
    int requests = 0;
};

void DriveSimulator::Private::index()
{
    ParameterProvider* provider = controller->parameterProvider();
    const QList<int> axes = controller->axisNumbers();
    for (const ParameterCoordinate& coordinate : provider->allCoordinates()) {
        ParameterSetup* setup = provider->parameterSetup(coordinate).data();
        const QList<eLivingSpace> spaces = setup->isGlobal() ? QList<eLivingSpace>{LivingSpaceDevice} : setup->livingSpaces();
        for (eLivingSpace space : spaces) {
            if (space != LivingSpaceDevice && !axes.contains(space))
                continue;
            for (const ParameterElementDescription& element : setup->description().elements) {
                const RegisterLocation at = map->locate(coordinate, space, element.index);
                if (!element.hasValue || !at.isValid())
                    continue;
                Cell cell{ParameterAddress(coordinate, element.index, space), at.address, at.slot, &element, setup};
                for (int i = 0; i < at.slot->count; ++i)
                    cells.insert(quint16(at.address + i), cell);
                showValue(cell);
            }
        }
    }
}

void DriveSimulator::Private::showValue(const Cell& cell)
{
    QString problem;
    const QString raw = controller->parameterProvider()->driveValueText(cell.address);
    const QVector<quint16> words = RegisterMap::encode(*cell.element, *cell.slot, raw, &problem);
    for (int i = 0; i < words.size(); ++i)
        q->setData(QModbusDataUnit::HoldingRegisters, quint16(cell.first + i), words.at(i));
}

QModbusResponse DriveSimulator::Private::write(const QModbusPdu& request, quint16 start, const QVector<quint16>& values)
{
    if (faults.refuseWritesCode > 0)
        return refusal(request, QModbusExceptionResponse::ExceptionCode(faults.refuseWritesCode));
    // Checked as a whole first: a refused value leaves the others unwritten too.
    QVector<QPair<Cell, QString>> accepted;
    for (int i = 0; i < values.size();) {
        const auto it = cells.constFind(quint16(start + i));
        if (it == cells.cend() || it->first != start + i || i + it->slot->count > values.size() || !it->setup)
            return refusal(request, QModbusExceptionResponse::IllegalDataAddress);
        const Cell& cell = *it;
        const eLivingSpace space = cell.address.livingSpace();
        if (!cell.setup->isWritable(space, cell.address.element()) || int(cell.element->level) > faults.accessLevel)
            return refusal(request, QModbusExceptionResponse::IllegalFunction);
        const QString raw = RegisterMap::decode(*cell.element, *cell.slot, values.constData() + i);
        if (!cell.setup->checkValueText(space, cell.address.element(), raw).isEmpty())
            return refusal(request, QModbusExceptionResponse::IllegalDataValue);
        accepted.append(qMakePair(cell, raw));
        i += cell.slot->count;
    }
    for (const auto& value : qAsConst(accepted)) {
        controller->parameterProvider()->simulateDriveValue(value.first.address, value.second);
        showValue(value.first);
    }
    if (request.functionCode() == QModbusPdu::WriteSingleRegister)
        return QModbusResponse(request.functionCode(), request.data());
    return QModbusResponse(request.functionCode(), start, quint16(values.size()));
}

void DriveSimulator::Private::dropConnections()
{
    for (const QPointer<QTcpSocket>& client : qAsConst(clients->clients)) {
        if (client)
            QTimer::singleShot(0, client.data(), &QTcpSocket::abort);
    }
    clients->clients.clear();
}

DriveSimulator::DriveSimulator(DriveController* controller, QSharedPointer<const RegisterMap> map, const DriveSimulatorFaults& faults,
    QObject* parent)
    : QModbusTcpServer(parent)
    , d(new Private(this))
{
    d->controller = controller;
    d->map = std::move(map);
    d->faults = faults;
    setMap({{QModbusDataUnit::HoldingRegisters, QModbusDataUnit(QModbusDataUnit::HoldingRegisters, 0, 65535)}});
    d->clients = new ClientList;
    installConnectionObserver(d->clients);
    d->index();
}

DriveSimulator::~DriveSimulator() = default;

DriveController* DriveSimulator::controller() const
{
    return d->controller.data();
}

void DriveSimulator::varyParameters(const QStringList& coordinates)
{
    ParameterProvider* provider = d->controller->parameterProvider();
    for (auto it = d->cells.cbegin(); it != d->cells.cend(); ++it) {
        const Cell& cell = *it;
        if (it.key() != cell.first || !coordinates.contains(cell.address.coordinate().toText()))
            continue;
        const ParameterElementDescription& e = *cell.element;
        const QString raw = provider->driveValueText(cell.address);
        QString next;
        switch (e.kind) {
        case ValueKindNumber: {
            const double unit = std::pow(10.0, -e.decimals);
            const double step = std::max(unit, std::round((e.maximum - e.minimum) / 100 / unit) * unit);
            const double value = raw.toDouble() + step;
            next = QString::number(value > e.maximum ? e.minimum : value, 'f', e.decimals);
            break;
        }
        case ValueKindChoice: {
            int position = 0;
            while (position < e.choices.size() && QString::number(e.choices.at(position).value) != raw)
                ++position;
            next = QString::number(e.choices.value((position + 1) % e.choices.size()).value);
            break;
        }
        case ValueKindSwitch:
            next = raw == QLatin1String("1") ? QStringLiteral("0") : QStringLiteral("1");
            break;
        case ValueKindText:
            continue;
        }
        if (provider->simulateDriveValue(cell.address, next))
            d->showValue(cell);
    }
}

QModbusResponse DriveSimulator::processRequest(const QModbusPdu& request)
{
    ++d->requests;
    if (d->faults.latencyMs > 0) {
        // Earlier answers leave now, not all together after the last one.
        for (const QPointer<QTcpSocket>& client : qAsConst(d->clients->clients)) {
            if (client)
                client->flush();
        }
        QThread::msleep(ulong(d->faults.latencyMs));
    }
    if ((d->faults.dropAfterRequests > 0 && d->requests % d->faults.dropAfterRequests == 0)
        || (d->faults.dropChance > 0 && QRandomGenerator::global()->generateDouble() < d->faults.dropChance))
        d->dropConnections();

    const QByteArray data = request.data();
    auto word = [&data](int at) { return quint16(quint8(data.at(at)) << 8 | quint8(data.at(at + 1))); };
    switch (request.functionCode()) {
    case QModbusPdu::WriteSingleRegister:
        if (data.size() != 4)
            return refusal(request, QModbusExceptionResponse::IllegalDataValue);
        return d->write(request, word(0), {word(2)});
    case QModbusPdu::WriteMultipleRegisters: {
        if (data.size() < 5)
            return refusal(request, QModbusExceptionResponse::IllegalDataValue);
        const int count = word(2);
        if (count < 1 || count > 123 || data.size() != 5 + 2 * count || quint8(data.at(4)) != 2 * count)
            return refusal(request, QModbusExceptionResponse::IllegalDataValue);
        QVector<quint16> values;
        for (int i = 0; i < count; ++i)
            values.append(word(5 + 2 * i));
        return d->write(request, word(0), values);
    }
    case QModbusPdu::ReadWriteMultipleRegisters:
    case QModbusPdu::MaskWriteRegister:
    case QModbusPdu::WriteSingleCoil:
    case QModbusPdu::WriteMultipleCoils:
        // Every write goes through the checks above.
        return refusal(request, QModbusExceptionResponse::IllegalFunction);
    default:
        return QModbusTcpServer::processRequest(request);
    }
}
