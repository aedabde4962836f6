#pragma once

#include "KxSuiteGlobal.h"
#include "ParameterAddress.h"
#include "ParameterDefinition.h"

#include <QHash>
#include <QSet>
#include <QVector>

/// A parameter on one device together with its values, held per living space
/// and element. Descriptive operations are those of ParameterDefinition.
/// For a global parameter every living space reads and writes the values of
/// living space 0; for a per-axis parameter a living space it is not defined
/// in has no values (empty texts, not writable, not active).
class KXSUITE_EXPORT ParameterSetup : public ParameterDefinition
{
    Q_OBJECT
public:
    ParameterSetup(QSharedPointer<const ParameterDescription> description, ParameterProvider* provider);
    ~ParameterSetup() override;

    const QSet<quint16>& valueElementIndices() const; ///< elements with hasValue
    ParameterAddress address(eLivingSpace livingSpace, quint16 element) const;

    /// forDisplay = true: the text shown to the user (number with its decimals
    /// and unit, a choice's name in the active language, "Aus"/"Ein");
    /// false: the raw text that setValueText() accepts (number in C locale
    /// without unit, the choice's numeric value, free text as is).
    QString valueText(eLivingSpace livingSpace, quint16 element, bool forDisplay) const;
    QString referenceValueText(eLivingSpace livingSpace, quint16 element, bool forDisplay) const;
    QString defaultValueText(quint16 element, bool forDisplay) const;

    /// Empty when `text` would be accepted, otherwise the reason in German
    /// (not writable, not a number, outside the limits, not in the selection list,
    /// too long). Accepts raw texts, display texts (with or without unit, a
    /// decimal comma) and, for selection lists, a choice's name in any language.
    QString checkValueText(eLivingSpace livingSpace, quint16 element, const QString& text) const;
    /// Writes the value; a refused text changes nothing. Returns whether it was
    /// accepted; `refusal` receives the reason. An accepted change emits the
    /// provider's parameterValueChanged() and marks the controller as needing a save.
    bool setValueText(eLivingSpace livingSpace, quint16 element, const QString& text, QString* refusal = nullptr);

    bool isActive(eLivingSpace livingSpace, quint16 element) const;
    /// The element is writable by description, the living space has values and
    /// the provider is not read-only.
    bool isWritable(eLivingSpace livingSpace, quint16 element) const;
    QList<ParameterChoice> choices(quint16 element) const;   ///< also "Aus"/"Ein" for switches
    QString unit(quint16 element) const;
    double minimum(quint16 element) const;
    double maximum(quint16 element) const;

    /// Differs from the element's default value (what a project file stores).
    bool isChangedFromDefault(eLivingSpace livingSpace, quint16 element) const;
    /// The living spaces that hold values at the moment (0 for global parameters).
    QList<eLivingSpace> livingSpaces() const;

    /// Observation is counted per living space and element as passed (also
    /// for global parameters): true increments, false decrements (never below 0).
    void setObserved(eLivingSpace livingSpace, quint16 element, bool observed);
    int observedCount(eLivingSpace livingSpace, quint16 element) const;

private:
    friend class ParameterProvider;
    friend class ModbusConnection;
    const ParameterElementDescription* valueElement(quint16 element) const;   // null unless it carries a value
    QString check(eLivingSpace livingSpace, quint16 element, const QString& text, QString* canonical) const;
    QString storedText(eLivingSpace valueSpace, quint16 element) const;   // raw; the default when not stored
    void storeText(eLivingSpace valueSpace, quint16 element, const QString& raw);   // canonical raw; no signal
    eLivingSpace valueSpace(eLivingSpace livingSpace) const;   // LivingSpaceNone when it has no values
    QString defaultRaw(const ParameterElementDescription& element) const;
    struct Observation
    {
        eLivingSpace livingSpace;
        quint16 element;
        int count;
    };
    static bool isBefore(const Observation& o, eLivingSpace livingSpace, quint16 element);
    QSet<quint16> m_valueElements;                             // shared with set-ups of the same elements
    QHash<eLivingSpace, QHash<quint16, QString>> m_values;     // raw texts, only those that differ from the default
    QVector<Observation> m_observed;                           // by living space and element; counts above 0 only
};
