#include "ParameterDefinition.h"

#include "DriveController.h"
#include "ParameterProvider.h"
#include "ParameterValues_p.h"

namespace {

const ParameterDescription& emptyDescription()
{
    static const ParameterDescription description;
    return description;
}

} // namespace

ParameterDefinition::ParameterDefinition(QSharedPointer<const ParameterDescription> description, ParameterProvider* provider)
    : QObject(provider)
    , m_description(std::move(description))
    , m_provider(provider)
{
}

ParameterDefinition::~ParameterDefinition() = default;

ParameterProvider* ParameterDefinition::provider() const
{
    return m_provider.data();
}

const ParameterDescription& ParameterDefinition::description() const
{
    return m_description ? *m_description : emptyDescription();
}

ParameterCoordinate ParameterDefinition::coordinate() const
{
    return description().coordinate;
}

bool ParameterDefinition::isRecord() const
{
    return description().structure == ParameterDescription::Record;
}

bool ParameterDefinition::isArray() const
{
    return description().structure == ParameterDescription::Array;
}

quint16 ParameterDefinition::elementCount() const
{
    return quint16(description().elements.size());
}

QList<quint16> ParameterDefinition::elementIndexList() const
{
    QList<quint16> indices;
    indices.reserve(description().elements.size());
    for (const ParameterElementDescription& element : description().elements)
        indices.append(element.index);
    return indices;
}

bool ParameterDefinition::hasElement(quint16 element) const
{
    return this->element(element) != nullptr;
}

bool ParameterDefinition::isGlobal() const
{
    return description().global;
}

bool ParameterDefinition::isDefinedIn(eLivingSpace livingSpace) const
{
    // Asked for every value shown and written; the answer only moves with
    // the controller's axes.
    const bool memorable = livingSpace >= 0 && livingSpace < 64;
    const quint64 bit = memorable ? quint64(1) << livingSpace : 0;
    const quint64 generation = KxParameterValues::axesGeneration();
    if (memorable && m_definedGeneration == generation && (m_definedKnown & bit))
        return m_definedIn & bit;
    const bool defined = KxParameterValues::isDefinedIn(*m_description, livingSpace,
                                                        m_provider ? m_provider->driveController() : nullptr);
    if (memorable) {
        if (m_definedGeneration != generation) {
            m_definedGeneration = generation;
            m_definedKnown = 0;
            m_definedIn = 0;
        }
        m_definedKnown |= bit;
        if (defined)
            m_definedIn |= bit;
    }
    return defined;
}

ParameterText ParameterDefinition::parameterText() const
{
    return description().text;
}

ParameterText ParameterDefinition::elementText(quint16 element) const
{
    const ParameterElementDescription* e = this->element(element);
    return e ? e->text : ParameterText();
}

const ParameterElementDescription* ParameterDefinition::element(quint16 element) const
{
    return KxParameterValues::findElement(description(), element);
}

int ParameterDefinition::valueKind(quint16 element) const
{
    const ParameterElementDescription* e = this->element(element);
    return e ? int(e->kind) : -1;
}

unsigned int ParameterDefinition::elementLevel(quint16 element) const
{
    const ParameterElementDescription* e = this->element(element);
    return e ? e->level : 0;
}

int ParameterDefinition::elementCategory(quint16 element) const
{
    const ParameterElementDescription* e = this->element(element);
    return e ? e->category : 0;
}

QString ParameterDefinition::helpIdentifier() const
{
    return description().helpIdentifier;
}

QString ParameterDefinition::helpIdentifier(quint16 element) const
{
    const ParameterElementDescription* e = this->element(element);
    if (e && !e->helpIdentifier.isEmpty())
        return e->helpIdentifier;
    return helpIdentifier();
}
