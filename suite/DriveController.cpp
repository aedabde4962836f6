#include "DriveController.h"
#include "ParameterValues_p.h"

#include "DeviceType.h"
#include "DriveControllerAxis.h"
#include "ModbusConnection.h"
#include "ParameterProvider.h"

#include <QMap>
#include <QSet>
#include <QVector>

namespace {

struct MetaTypeRegistration
{
    MetaTypeRegistration() { qRegisterMetaType<eOnlineState>("eOnlineState"); }
} metaTypeRegistration;

// Without a type a controller may have as many axes as any type.
constexpr int MaxAxesWithoutType = 16;

} // namespace

class DriveController::Private
{
public:
    int deviceState() const { return faults.isEmpty() && connectionFault.isEmpty() ? 0 : 1; }

    QSharedPointer<const DeviceType> type;
    QString name;
    DriveControllerDescriptor descriptor;
    QMap<int, QPointer<DriveControllerAxis>> axes;
    // The same, by number: asked for every value shown.
    QVector<QPointer<DriveControllerAxis>> byNumber;
    void forget(int number)
    {
        axes.remove(number);
        if (number >= 0 && number < byNumber.size())
            byNumber[number].clear();
    }
    QPointer<ParameterProvider> provider;
    QPointer<ModbusConnection> connection;
    QString connectionFault;
    eOnlineState onlineState = OnlineStateOffline;
    QSet<int> faults;
    QMap<int, QColor> markingColors;
    bool needSave = false;
    bool destroying = false;
};

DriveController::DriveController(QSharedPointer<const DeviceType> type, const QString& name, QObject* parent)
    : QObject(parent)
    , d(new Private)
{
    d->type = std::move(type);
    d->name = name;
    if (d->type)
        d->descriptor = DriveControllerDescriptor(d->type->descriptor);
    d->provider = new ParameterProvider(this);
}

DriveController::~DriveController()
{
    // Axes and provider go first, while everything they might ask is still there.
    d->destroying = true;
    KxParameterValues::axesChanged();
    delete d->provider.data();
    for (const QPointer<DriveControllerAxis>& axis : qAsConst(d->axes))
        delete axis.data();
}

QSharedPointer<const DeviceType> DriveController::type() const
{
    return d->type;
}

QString DriveController::name() const
{
    return d->name;
}

void DriveController::setName(const QString& name)
{
    if (d->name == name)
        return;
    d->name = name;
    emit nameChanged();
}

const DriveControllerDescriptor* DriveController::descriptor() const
{
    return &d->descriptor;
}

void DriveController::setDescriptorText(const QString& text)
{
    if (d->descriptor.text() == text)
        return;
    d->descriptor = DriveControllerDescriptor(text);
    emit deviceStateChanged(d->deviceState());
}

QList<int> DriveController::axisNumbers() const
{
    QList<int> numbers;
    for (auto it = d->axes.cbegin(); it != d->axes.cend(); ++it) {
        if (it.value())
            numbers.append(it.key());
    }
    return numbers;
}

DriveControllerAxis* DriveController::axis(int number) const
{
    return number >= 0 && number < d->byNumber.size() ? d->byNumber.at(number).data() : nullptr;
}

QString DriveController::axisName(int number) const
{
    const DriveControllerAxis* a = axis(number);
    return a ? a->name() : QString();
}

DriveControllerAxis* DriveController::addAxis(int number, const QString& name)
{
    const int maxAxes = d->type ? d->type->maxAxes : MaxAxesWithoutType;
    if (number < 1 || number > maxAxes || axis(number))
        return nullptr;
    auto* newAxis = new DriveControllerAxis(this, number, name);
    d->axes.insert(number, newAxis);
    if (d->byNumber.size() <= number)
        d->byNumber.resize(number + 1);
    d->byNumber[number] = newAxis;
    KxParameterValues::axesChanged();
    // An axis deleted directly by someone else leaves the controller too.
    connect(newAxis, &QObject::destroyed, this, [this, number]() {
        if (d->destroying || !d->axes.contains(number) || d->axes.value(number))
            return;
        d->forget(number);
        KxParameterValues::axesChanged();
        d->markingColors.remove(number);
        const bool hadFault = d->faults.remove(number);
        emit axesChanged();
        if (hadFault)
            emit deviceStateChanged(d->deviceState());
    });
    emit axesChanged();
    return newAxis;
}

bool DriveController::removeAxis(int number)
{
    DriveControllerAxis* a = axis(number);
    if (!a)
        return false;
    d->forget(number);
    KxParameterValues::axesChanged();
    d->markingColors.remove(number);
    const bool hadFault = d->faults.remove(number);
    delete a;
    emit axesChanged();
    if (hadFault)
        emit deviceStateChanged(d->deviceState());
    return true;
}

ParameterProvider* DriveController::parameterProvider() const
{
    return d->provider.data();
}

bool DriveController::isOnline() const
{
    return d->onlineState == OnlineStateOnline;
}

eOnlineState DriveController::onlineState() const
{
    return d->onlineState;
}

void DriveController::setOnline(bool online)
{
    // Offline after a lost connection, it may still be trying to connect again.
    if (!online && d->onlineState == OnlineStateOffline && d->connection)
        d->connection->close();
    if (online == (d->onlineState != OnlineStateOffline))
        return;
    if (!online) {
        const bool wasOnline = d->onlineState == OnlineStateOnline;
        d->onlineState = OnlineStateOffline;
        if (d->connection)
            d->connection->close();
        emit onlineStateChanged(OnlineStateOffline);
        if (d->provider && (wasOnline || !d->connection))
            emit d->provider->onlineChanged(false);
        return;
    }
    d->onlineState = OnlineStateConnecting;
    emit onlineStateChanged(OnlineStateConnecting);
    if (d->connection) {
        // The connection reports back through finishGoingOnline() or connectionLost().
        d->connection->open();
        return;
    }
    if (d->provider)
        d->provider->readAllFromDrive();
    // A receiver may have cancelled the connection meanwhile.
    if (d->onlineState != OnlineStateConnecting)
        return;
    d->onlineState = OnlineStateOnline;
    emit onlineStateChanged(OnlineStateOnline);
    if (d->provider)
        emit d->provider->onlineChanged(true);
}

ModbusConnection* DriveController::connection() const
{
    return d->connection.data();
}

ModbusConnectionSettings DriveController::connectionSettings() const
{
    return d->connection ? d->connection->settings() : ModbusConnectionSettings{QString(), 502, 1};
}

void DriveController::setConnectionSettings(const ModbusConnectionSettings& settings)
{
    if (d->connection && d->connection->settings() == settings)
        return;
    setOnline(false);
    if (!settings.isValid()) {
        delete d->connection.data();
        if (!d->connectionFault.isEmpty()) {
            d->connectionFault.clear();
            emit deviceStateChanged(d->deviceState());
        }
        return;
    }
    if (!d->connection)
        d->connection = new ModbusConnection(this);
    d->connection->setSettings(settings);
    setNeedSave();
}

QString DriveController::connectionFault() const
{
    return d->connectionFault;
}

void DriveController::finishGoingOnline()
{
    if (d->onlineState != OnlineStateConnecting)
        return;
    const bool hadFault = !d->connectionFault.isEmpty();
    d->connectionFault.clear();
    d->onlineState = OnlineStateOnline;
    if (hadFault)
        emit deviceStateChanged(d->deviceState());
    emit onlineStateChanged(OnlineStateOnline);
    if (d->provider)
        emit d->provider->onlineChanged(true);
}

void DriveController::connectionLost(const QString& reason)
{
    const bool wasOnline = d->onlineState == OnlineStateOnline;
    const bool changed = d->connectionFault != reason;
    d->connectionFault = reason;
    if (changed)
        emit deviceStateChanged(d->deviceState());
    if (d->onlineState == OnlineStateOffline)
        return;
    d->onlineState = OnlineStateOffline;
    emit onlineStateChanged(OnlineStateOffline);
    if (d->provider && wasOnline)
        emit d->provider->onlineChanged(false);
}

bool DriveController::hasAxisFault(int number) const
{
    return d->faults.contains(number) || (!d->connectionFault.isEmpty() && axis(number));
}

void DriveController::setAxisFault(int number, bool fault)
{
    if (!axis(number) || fault == d->faults.contains(number))
        return;
    if (fault)
        d->faults.insert(number);
    else
        d->faults.remove(number);
    emit deviceStateChanged(d->deviceState());
}

QColor DriveController::markingColor(int number) const
{
    return d->markingColors.value(number);
}

void DriveController::setMarkingColor(int number, const QColor& color)
{
    if (!axis(number) || markingColor(number) == color)
        return;
    if (color.isValid())
        d->markingColors.insert(number, color);
    else
        d->markingColors.remove(number);
    emit markingColorChanged();
}

bool DriveController::needSave() const
{
    return d->needSave;
}

void DriveController::markSaved()
{
    if (!d->needSave)
        return;
    d->needSave = false;
    emit needSaveChanged(false);
}

void DriveController::setNeedSave()
{
    if (d->needSave)
        return;
    d->needSave = true;
    emit needSaveChanged(true);
}
