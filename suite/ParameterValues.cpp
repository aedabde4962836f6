#include "ParameterValues_p.h"

#include "DriveController.h"

#include <QCoreApplication>
#include <QStringBuilder>

#include <algorithm>
#include <cmath>

namespace KxParameterValues {

namespace {

// The checks speak for ParameterSetup, which reports their refusals; a class
// of their own keeps the translation tools and the lookup on that context.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(ParameterSetup)
};

QString quoted(const QString& text)
{
    return QStringLiteral("\u201E") + text + QStringLiteral("\u201C");
}

QString withUnit(const QString& number, const QString& unit)
{
    if (unit.isEmpty())
        return number;
    // Built to size in one step: every shown value is one of these, kept by the views.
    return number % QLatin1Char(' ') % unit;
}

ParameterText switchText(bool on)
{
    return on ? ParameterText(Texts::tr("Ein"), QStringLiteral("On")) : ParameterText(Texts::tr("Aus"), QStringLiteral("Off"));
}

QString checkNumber(const ParameterElementDescription& element, const QString& text, QString* canonical)
{
    QString number = text.trimmed();
    if (!element.unit.isEmpty() && number.endsWith(element.unit) && number.size() > element.unit.size())
        number = number.left(number.size() - element.unit.size()).trimmed();
    number.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = number.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return Texts::tr("%1 ist keine Zahl.").arg(quoted(text));
    const int decimals = qBound(0, element.decimals, 6);
    const double scale = std::pow(10.0, decimals);
    double rounded = std::round(value * scale) / scale;
    if (std::abs(value - rounded) > 1e-9 * std::max(1.0, std::abs(value))) {
        if (decimals == 0)
            return Texts::tr("Es sind nur ganze Zahlen erlaubt.");
        return Texts::tr("Höchstens %n Nachkommastelle(n) erlaubt.", nullptr, decimals);
    }
    const double tolerance = 1e-9 * std::max(1.0, std::max(std::abs(element.minimum), std::abs(element.maximum)));
    if (rounded < element.minimum - tolerance || rounded > element.maximum + tolerance)
        return Texts::tr("Der Wert muss zwischen %1 und %2 liegen.")
            .arg(formatNumber(element.minimum, decimals), withUnit(formatNumber(element.maximum, decimals), element.unit));
    if (rounded == 0)
        rounded = 0;   // no "-0"
    if (canonical)
        *canonical = formatNumber(rounded, decimals);
    return QString();
}

QString checkChoice(const ParameterElementDescription& element, const QString& text, QString* canonical)
{
    const QString trimmed = text.trimmed();
    const QList<ParameterChoice> list = choices(element);
    bool isNumber = false;
    const qint64 number = trimmed.toLongLong(&isNumber);
    for (const ParameterChoice& choice : list) {
        const bool matches = isNumber ? choice.value == number
                                      : (trimmed.compare(choice.text.longText(0), Qt::CaseInsensitive) == 0
                                         || trimmed.compare(choice.text.longText(1), Qt::CaseInsensitive) == 0);
        if (matches) {
            if (canonical)
                *canonical = QString::number(choice.value);
            return QString();
        }
    }
    if (element.kind == ValueKindSwitch)
        return Texts::tr("%1 ist kein Schaltzustand (Aus oder Ein).").arg(quoted(text));
    return Texts::tr("%1 ist nicht in der Auswahlliste.").arg(quoted(text));
}

QString checkText(const ParameterElementDescription& element, const QString& text, QString* canonical)
{
    const int maximum = int(element.maximum);
    if (maximum > 0 && text.size() > maximum)
        return Texts::tr("Der Text ist zu lang (höchstens %1 Zeichen).").arg(maximum);
    if (canonical)
        *canonical = text;
    return QString();
}

QString naturalDefault(const ParameterElementDescription& element)
{
    switch (element.kind) {
    case ValueKindNumber: {
        QString raw;
        // A number range that does not contain 0 starts at its minimum.
        if (checkNumber(element, formatNumber(element.minimum, element.decimals), &raw).isEmpty())
            return raw;
        return formatNumber(element.minimum, qBound(0, element.decimals, 6));
    }
    case ValueKindChoice:
        return element.choices.isEmpty() ? QString() : QString::number(element.choices.first().value);
    case ValueKindSwitch:
        return QStringLiteral("0");
    case ValueKindText:
        break;
    }
    return QString();
}

} // namespace

QString formatNumber(double value, int decimals)
{
    return QString::number(value, 'f', qBound(0, decimals, 6));
}

QString check(const ParameterElementDescription& element, const QString& text, QString* canonical)
{
    if (!element.hasValue)
        return Texts::tr("Das Element hat keinen Wert.");
    switch (element.kind) {
    case ValueKindNumber:
        return checkNumber(element, text, canonical);
    case ValueKindChoice:
    case ValueKindSwitch:
        return checkChoice(element, text, canonical);
    case ValueKindText:
        return checkText(element, text, canonical);
    }
    return Texts::tr("Unbekannte Werteart.");
}

QString defaultValue(const ParameterElementDescription& element)
{
    QString raw;
    if (!element.defaultValue.isNull() && check(element, element.defaultValue, &raw).isEmpty())
        return raw;
    return naturalDefault(element);
}

QString referenceValue(const ParameterElementDescription& element)
{
    QString raw;
    if (!element.referenceValue.isNull() && check(element, element.referenceValue, &raw).isEmpty())
        return raw;
    return defaultValue(element);
}

QString canonicalDefault(const ParameterElementDescription& element)
{
    return element.canonical.isSettled() ? element.canonical.defaultText() : defaultValue(element);
}

QString canonicalReference(const ParameterElementDescription& element)
{
    return element.canonical.isSettled() ? element.canonical.referenceText() : referenceValue(element);
}

void dropSlack(QString& text)
{
    // Only real slack: squeezing shared or static data would copy it.
    if (text.capacity() > text.size())
        text.squeeze();
}

namespace {

// Equal texts share one buffer; a null text stays null, an empty one empty.
void shareOrSqueeze(QString& text, const QString& same)
{
    if (text.isNull() == same.isNull() && text == same)
        text = same;
    else
        dropSlack(text);
}

} // namespace

void settle(ParameterDescription& description)
{
    // Built by appending, one element at a time.
    description.elements.squeeze();
    for (ParameterElementDescription& element : description.elements) {
        if (!element.hasValue)
            continue;
        dropSlack(element.defaultValue);
        dropSlack(element.referenceValue);
        // Descriptions that were read already hold canonical texts, so these
        // mostly end up as further references to the same buffers.
        QString defaultText = defaultValue(element);
        shareOrSqueeze(defaultText, element.defaultValue);
        QString referenceText = referenceValue(element);
        if (referenceText.isNull() == defaultText.isNull() && referenceText == defaultText)
            referenceText = defaultText;
        else
            shareOrSqueeze(referenceText, element.referenceValue);
        element.canonical.settle(defaultText, referenceText);
    }
}

QString displayText(const ParameterElementDescription& element, const QString& raw)
{
    if (raw.isEmpty() && element.kind != ValueKindText)
        return QString();
    switch (element.kind) {
    case ValueKindNumber:
        return withUnit(raw, element.unit);
    case ValueKindChoice:
    case ValueKindSwitch: {
        bool ok = false;
        const qint64 number = raw.toLongLong(&ok);
        if (!ok)
            return raw;
        // A switch's two names are made on demand; only the one shown is needed.
        if (element.kind == ValueKindSwitch)
            return number == 0 || number == 1 ? switchText(number == 1).longText() : raw;
        for (const ParameterChoice& choice : element.choices) {
            if (choice.value == number)
                return choice.text.longText();
        }
        return raw;
    }
    case ValueKindText:
        break;
    }
    return raw;
}

QList<ParameterChoice> choices(const ParameterElementDescription& element)
{
    if (element.kind == ValueKindChoice)
        return element.choices;
    if (element.kind != ValueKindSwitch)
        return {};
    ParameterChoice off;
    off.value = 0;
    off.text = switchText(false);
    ParameterChoice on;
    on.value = 1;
    on.text = switchText(true);
    return {off, on};
}

} // namespace KxParameterValues

namespace KxParameterValues {

namespace {
quint64 generation = 1;
}

quint64 axesGeneration()
{
    return generation;
}

void axesChanged()
{
    ++generation;
}

bool isDefinedIn(const ParameterDescription& description, eLivingSpace livingSpace, const DriveController* controller)
{
    if (description.global)
        return livingSpace == LivingSpaceDevice;
    if (livingSpace <= LivingSpaceDevice)
        return false;
    if (!description.definedIn.isEmpty())
        return description.definedIn.contains(livingSpace);
    return controller ? controller->axis(livingSpace) != nullptr : true;
}

const ParameterElementDescription* findElement(const ParameterDescription& description, quint16 index)
{
    const QVector<ParameterElementDescription>& elements = description.elements;
    // Elements are mostly numbered from 0 without gaps.
    if (index < elements.size() && elements.at(index).index == index)
        return &elements.at(index);
    const auto it = std::lower_bound(elements.cbegin(), elements.cend(), index,
        [](const ParameterElementDescription& e, quint16 i) { return e.index < i; });
    if (it != elements.cend() && it->index == index)
        return &*it;
    // Hand-made descriptions need not keep their elements sorted.
    for (const ParameterElementDescription& e : elements) {
        if (e.index == index)
            return &e;
    }
    return nullptr;
}

} // namespace KxParameterValues
