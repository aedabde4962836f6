#pragma once

#include "KxSuiteGlobal.h"
#include "ParameterDescription.h"

#include <QObject>
#include <QPointer>
#include <QSharedPointer>

class ParameterProvider;

/// What a device knows about one parameter (no values). Owned by its
/// provider; others hold it through QPointer, so a destroyed definition
/// means that the device does not have the parameter.
class KXSUITE_EXPORT ParameterDefinition : public QObject
{
    Q_OBJECT
public:
    ParameterDefinition(QSharedPointer<const ParameterDescription> description, ParameterProvider* provider);
    ~ParameterDefinition() override;

    ParameterProvider* provider() const;
    const ParameterDescription& description() const;
    ParameterCoordinate coordinate() const;

    bool isRecord() const;
    bool isArray() const;
    quint16 elementCount() const;
    QList<quint16> elementIndexList() const;          ///< ascending
    bool hasElement(quint16 element) const;
    /// Device-wide parameter: its values live in living space 0.
    bool isGlobal() const;
    /// Global parameters are defined in living space 0 only; per-axis ones in
    /// the axis numbers of `definedIn`, or, when that is empty, in every axis
    /// the provider's drive controller has at the moment of the call.
    bool isDefinedIn(eLivingSpace livingSpace) const;

    ParameterText parameterText() const;
    ParameterText elementText(quint16 element) const; ///< empty text for an unknown element
    const ParameterElementDescription* element(quint16 element) const;   ///< null when unknown
    int valueKind(quint16 element) const;             ///< ParameterValueKind; -1 for an unknown element
    unsigned int elementLevel(quint16 element) const;
    int elementCategory(quint16 element) const;
    QString helpIdentifier() const;
    QString helpIdentifier(quint16 element) const;    ///< the element's, else the parameter's

protected:
    QSharedPointer<const ParameterDescription> m_description;
    QPointer<ParameterProvider> m_provider;

private:
    // isDefinedIn() remembered per living space 0..63 for one generation of axes.
    mutable quint64 m_definedGeneration = 0;
    mutable quint64 m_definedKnown = 0;
    mutable quint64 m_definedIn = 0;
};
