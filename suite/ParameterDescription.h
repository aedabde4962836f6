#pragma once

#include "KxSuiteGlobal.h"
#include "ParameterCoordinate.h"
#include "ParameterText.h"

#include <QList>
#include <QString>
#include <QVector>

/// How an element's value is given.
enum ParameterValueKind {
    ValueKindNumber = 0,     ///< number within [minimum, maximum] with `decimals` decimals
    ValueKindChoice = 1,     ///< one of `choices` (selection list)
    ValueKindSwitch = 2,     ///< "Aus"/"Ein" (selection list with the values 0 and 1)
    ValueKindText = 3        ///< free text of at most `maximum` characters (0: no limit)
};

/// One entry of a selection list.
struct KXSUITE_EXPORT ParameterChoice
{
    qint64 value = 0;
    ParameterText text;
};

/// The raw default and reference of an element in the form set-ups report
/// them. Worked out once per description, so that all controllers built from
/// it share one copy instead of one per controller. A copy starts unsettled:
/// copies are made to be changed, and must not carry their original's texts.
class KXSUITE_EXPORT ParameterCanonicalValues
{
public:
    ParameterCanonicalValues() = default;
    ParameterCanonicalValues(const ParameterCanonicalValues&) noexcept {}
    ParameterCanonicalValues(ParameterCanonicalValues&&) noexcept = default;
    ParameterCanonicalValues& operator=(const ParameterCanonicalValues&) noexcept
    {
        *this = ParameterCanonicalValues();
        return *this;
    }
    ParameterCanonicalValues& operator=(ParameterCanonicalValues&&) noexcept = default;

    bool isSettled() const { return m_settled; }
    const QString& defaultText() const { return m_default; }
    const QString& referenceText() const { return m_reference; }
    void settle(const QString& defaultText, const QString& referenceText)
    {
        m_default = defaultText;
        m_reference = referenceText;
        m_settled = true;
    }

private:
    QString m_default;
    QString m_reference;
    bool m_settled = false;
};

/// Everything the device catalogue says about one element of a parameter.
/// Values are given as raw texts, the form `ParameterSetup::valueText(..., false)`
/// returns and `setValueText` accepts.
struct KXSUITE_EXPORT ParameterElementDescription
{
    quint16 index = 0;
    ParameterText text;                 ///< element name; empty for simple parameters
    ParameterValueKind kind = ValueKindNumber;
    QString unit;
    double minimum = 0;
    double maximum = 0;
    int decimals = 0;
    QList<ParameterChoice> choices;
    QString defaultValue;               ///< the value a new device holds
    QString referenceValue;             ///< the factory reference a value is compared with
    bool writable = true;
    bool active = true;
    bool hasValue = true;               ///< carries a value (record headers may not)
    unsigned int level = 0;             ///< access level needed to see it as changed
    int category = 0;
    QString helpIdentifier;
    /// Filled by the description reader and ParameterProvider::addParameter();
    /// left unsettled, set-ups work the texts out on every call.
    ParameterCanonicalValues canonical;
};

/// One parameter of a device type's catalogue.
struct KXSUITE_EXPORT ParameterDescription
{
    enum Structure { Simple, Array, Record };

    ParameterCoordinate coordinate;
    ParameterText text;
    Structure structure = Simple;
    bool global = false;                ///< device-wide (living space 0) instead of per axis
    QList<int> definedIn;               ///< axis numbers; empty means every axis of the device
    QVector<ParameterElementDescription> elements;   ///< at least one; indices ascending and unique
    QString helpIdentifier;             ///< a help page identifier, or "<description>=" followed by HTML
};
