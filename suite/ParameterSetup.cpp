#include "ParameterSetup.h"

#include "DriveController.h"
#include "ModbusConnection.h"
#include "ParameterProvider.h"
#include "ParameterValues_p.h"

#include <QMutex>

#include <algorithm>

namespace {

// Nearly every parameter carries values in one of a few element sets ({0},
// 0 to n-1 of an array), so set-ups share one copy of each. Built in the
// description's order, like a set of its own would be.
QSet<quint16> sharedValueElements(const ParameterDescription& description)
{
    QVector<quint16> indices;
    indices.reserve(description.elements.size());
    for (const ParameterElementDescription& element : description.elements) {
        if (element.hasValue)
            indices.append(element.index);
    }
    static QBasicMutex mutex;
    static QHash<QVector<quint16>, QSet<quint16>> sets;
    const QMutexLocker lock(&mutex);
    auto it = sets.constFind(indices);
    if (it == sets.cend()) {
        QSet<quint16> set;
        for (quint16 index : qAsConst(indices))
            set.insert(index);
        indices.squeeze();
        it = sets.insert(indices, set);
    }
    return *it;
}

} // namespace

ParameterSetup::ParameterSetup(QSharedPointer<const ParameterDescription> description, ParameterProvider* provider)
    : ParameterDefinition(std::move(description), provider)
    , m_valueElements(sharedValueElements(this->description()))
{
}

ParameterSetup::~ParameterSetup()
{
    // Its observations go with it.
    if (m_provider && !m_observed.isEmpty())
        m_provider->observationsChanged();
}

bool ParameterSetup::isBefore(const Observation& o, eLivingSpace livingSpace, quint16 element)
{
    return o.livingSpace < livingSpace || (o.livingSpace == livingSpace && o.element < element);
}

const QSet<quint16>& ParameterSetup::valueElementIndices() const
{
    return m_valueElements;
}

ParameterAddress ParameterSetup::address(eLivingSpace livingSpace, quint16 element) const
{
    return ParameterAddress(coordinate(), element, isGlobal() ? LivingSpaceDevice : livingSpace);
}

const ParameterElementDescription* ParameterSetup::valueElement(quint16 element) const
{
    const ParameterElementDescription* e = this->element(element);
    return e && e->hasValue ? e : nullptr;
}

eLivingSpace ParameterSetup::valueSpace(eLivingSpace livingSpace) const
{
    if (isGlobal())
        return LivingSpaceDevice;
    return isDefinedIn(livingSpace) ? livingSpace : LivingSpaceNone;
}

QString ParameterSetup::storedText(eLivingSpace valueSpace, quint16 element) const
{
    const auto space = m_values.constFind(valueSpace);
    if (space != m_values.cend()) {
        const auto value = space->constFind(element);
        if (value != space->cend())
            return *value;
    }
    const ParameterElementDescription* e = valueElement(element);
    return e ? defaultRaw(*e) : QString();
}

QString ParameterSetup::defaultRaw(const ParameterElementDescription& element) const
{
    return KxParameterValues::canonicalDefault(element);
}

void ParameterSetup::storeText(eLivingSpace valueSpace, quint16 element, const QString& raw)
{
    const ParameterElementDescription* e = valueElement(element);
    if (!e)
        return;
    if (raw == defaultRaw(*e)) {
        auto space = m_values.find(valueSpace);
        if (space != m_values.end()) {
            space->remove(element);
            if (space->isEmpty())
                m_values.erase(space);
        }
    } else {
        m_values[valueSpace].insert(element, raw);
    }
}

QString ParameterSetup::valueText(eLivingSpace livingSpace, quint16 element, bool forDisplay) const
{
    const ParameterElementDescription* e = valueElement(element);
    const eLivingSpace space = valueSpace(livingSpace);
    if (!e || space == LivingSpaceNone)
        return QString();
    const QString raw = storedText(space, element);
    return forDisplay ? KxParameterValues::displayText(*e, raw) : raw;
}

QString ParameterSetup::referenceValueText(eLivingSpace livingSpace, quint16 element, bool forDisplay) const
{
    const ParameterElementDescription* e = valueElement(element);
    if (!e || valueSpace(livingSpace) == LivingSpaceNone)
        return QString();
    const QString raw = KxParameterValues::canonicalReference(*e);
    return forDisplay ? KxParameterValues::displayText(*e, raw) : raw;
}

QString ParameterSetup::defaultValueText(quint16 element, bool forDisplay) const
{
    const ParameterElementDescription* e = valueElement(element);
    if (!e)
        return QString();
    const QString raw = defaultRaw(*e);
    return forDisplay ? KxParameterValues::displayText(*e, raw) : raw;
}

QString ParameterSetup::check(eLivingSpace livingSpace, quint16 element, const QString& text, QString* canonical) const
{
    const ParameterElementDescription* e = this->element(element);
    if (!e)
        return tr("Der Parameter %1 hat kein Element %2.").arg(coordinate().toText()).arg(element);
    if (!e->hasValue)
        return tr("Das Element hat keinen Wert.");
    if (valueSpace(livingSpace) == LivingSpaceNone)
        return tr("Der Parameter %1 ist f\u00FCr Achse %2 nicht vorhanden.").arg(coordinate().toText()).arg(livingSpace);
    if (m_provider && m_provider->isReadOnly())
        return tr("Das Ger\u00E4t ist schreibgesch\u00FCtzt.");
    if (!e->writable)
        return tr("Der Parameter ist schreibgesch\u00FCtzt.");
    return KxParameterValues::check(*e, text, canonical);
}

QString ParameterSetup::checkValueText(eLivingSpace livingSpace, quint16 element, const QString& text) const
{
    return check(livingSpace, element, text, nullptr);
}

bool ParameterSetup::setValueText(eLivingSpace livingSpace, quint16 element, const QString& text, QString* refusal)
{
    QString raw;
    const QString reason = check(livingSpace, element, text, &raw);
    if (refusal)
        *refusal = reason;
    ParameterProvider* provider = m_provider.data();
    const eLivingSpace space = valueSpace(livingSpace);
    if (!reason.isEmpty()) {
        // A refused write is part of the record as well, if it names a value at all.
        if (provider && valueElement(element) && space != LivingSpaceNone) {
            const ParameterAddress at = address(space, element);
            emit provider->valueWriteStarted(at, storedText(space, element), text);
            emit provider->valueWriteFinished(at, text, ParameterProvider::WriteRefused, reason);
        }
        return false;
    }
    // Kept by the set-up and, online, by the drive as well.
    KxParameterValues::dropSlack(raw);
    const QString before = storedText(space, element);
    if (before == raw)
        return true;
    // Started while the set-up still holds the value before.
    const ParameterAddress at = address(space, element);
    if (provider)
        emit provider->valueWriteStarted(at, before, raw);
    // Over a connection the value changes when the device acknowledges it;
    // the connection ends the write (acknowledged, refused or lost).
    if (provider && provider->writesThroughConnection()) {
        provider->driveController()->connection()->write(at, raw);
        return true;
    }
    storeText(space, element, raw);
    if (provider) {
        if (provider->isOnline())
            provider->writeToDrive(coordinate(), space, element, raw);
        else
            provider->noteOfflineWrite(coordinate(), space, element);
        emit provider->parameterValueChanged(at);
        if (DriveController* controller = provider->driveController())
            controller->setNeedSave();
        emit provider->valueWriteFinished(at, raw, ParameterProvider::WriteDone, QString());
    }
    return true;
}

bool ParameterSetup::isActive(eLivingSpace livingSpace, quint16 element) const
{
    const ParameterElementDescription* e = this->element(element);
    return e && e->active && valueSpace(livingSpace) != LivingSpaceNone;
}

bool ParameterSetup::isWritable(eLivingSpace livingSpace, quint16 element) const
{
    const ParameterElementDescription* e = valueElement(element);
    return e && e->writable && valueSpace(livingSpace) != LivingSpaceNone && !(m_provider && m_provider->isReadOnly());
}

QList<ParameterChoice> ParameterSetup::choices(quint16 element) const
{
    const ParameterElementDescription* e = this->element(element);
    return e ? KxParameterValues::choices(*e) : QList<ParameterChoice>();
}

QString ParameterSetup::unit(quint16 element) const
{
    const ParameterElementDescription* e = this->element(element);
    return e ? e->unit : QString();
}

double ParameterSetup::minimum(quint16 element) const
{
    const ParameterElementDescription* e = this->element(element);
    return e ? e->minimum : 0;
}

double ParameterSetup::maximum(quint16 element) const
{
    const ParameterElementDescription* e = this->element(element);
    return e ? e->maximum : 0;
}

bool ParameterSetup::isChangedFromDefault(eLivingSpace livingSpace, quint16 element) const
{
    const eLivingSpace space = valueSpace(livingSpace);
    if (space == LivingSpaceNone || !valueElement(element))
        return false;
    const auto values = m_values.constFind(space);
    return values != m_values.cend() && values->contains(element);
}

QList<eLivingSpace> ParameterSetup::livingSpaces() const
{
    if (isGlobal())
        return {LivingSpaceDevice};
    QList<eLivingSpace> spaces;
    const DriveController* controller = m_provider ? m_provider->driveController() : nullptr;
    if (!description().definedIn.isEmpty())
        spaces = description().definedIn;
    else if (controller)
        spaces = controller->axisNumbers();
    else
        spaces = m_values.keys();
    std::sort(spaces.begin(), spaces.end());
    spaces.erase(std::unique(spaces.begin(), spaces.end()), spaces.end());
    return spaces;
}

void ParameterSetup::setObserved(eLivingSpace livingSpace, quint16 element, bool observed)
{
    const auto it = std::lower_bound(m_observed.begin(), m_observed.end(), livingSpace,
        [element](const Observation& o, eLivingSpace space) { return isBefore(o, space, element); });
    const bool found = it != m_observed.end() && it->livingSpace == livingSpace && it->element == element;
    if (observed) {
        if (found) {
            ++it->count;
        } else {
            m_observed.insert(it, Observation{livingSpace, element, 1});
            if (m_provider)
                m_provider->observationsChanged();
        }
    } else if (found && --it->count == 0) {
        m_observed.erase(it);
        if (m_observed.isEmpty())
            m_observed = QVector<Observation>();   // gives the block back
        if (m_provider)
            m_provider->observationsChanged();
    }
}

int ParameterSetup::observedCount(eLivingSpace livingSpace, quint16 element) const
{
    const auto it = std::lower_bound(m_observed.cbegin(), m_observed.cend(), livingSpace,
        [element](const Observation& o, eLivingSpace space) { return isBefore(o, space, element); });
    return it != m_observed.cend() && it->livingSpace == livingSpace && it->element == element ? it->count : 0;
}
