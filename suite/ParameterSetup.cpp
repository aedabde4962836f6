#include "ParameterSetup.h"

#include "DriveController.h"
#include "ParameterProvider.h"
#include "ParameterValues_p.h"

#include <algorithm>

ParameterSetup::ParameterSetup(QSharedPointer<const ParameterDescription> description, ParameterProvider* provider)
    : ParameterDefinition(std::move(description), provider)
{
    for (const ParameterElementDescription& element : this->description().elements) {
        if (element.hasValue)
            m_valueElements.insert(element.index);
    }
}

ParameterSetup::~ParameterSetup() = default;

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
    auto it = m_defaults.constFind(element.index);
    if (it == m_defaults.cend())
        it = m_defaults.insert(element.index, KxParameterValues::defaultValue(element));
    return *it;
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
    auto raw = m_references.constFind(element);
    if (raw == m_references.cend())
        raw = m_references.insert(element, KxParameterValues::referenceValue(*e));
    return forDisplay ? KxParameterValues::displayText(*e, *raw) : *raw;
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
    if (!reason.isEmpty())
        return false;
    const eLivingSpace space = valueSpace(livingSpace);
    if (storedText(space, element) == raw)
        return true;
    storeText(space, element, raw);
    if (ParameterProvider* provider = m_provider.data()) {
        if (provider->isOnline())
            provider->writeToDrive(coordinate(), space, element, raw);
        else
            provider->noteOfflineWrite(coordinate(), space, element);
        emit provider->parameterValueChanged(address(space, element));
        if (DriveController* controller = provider->driveController())
            controller->setNeedSave();
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
    const QPair<eLivingSpace, quint16> key(livingSpace, element);
    int& count = m_observed[key];
    count = observed ? count + 1 : std::max(0, count - 1);
    if (count == 0)
        m_observed.remove(key);
}

int ParameterSetup::observedCount(eLivingSpace livingSpace, quint16 element) const
{
    return m_observed.value(qMakePair(livingSpace, element));
}
