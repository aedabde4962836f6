#include "DeviceDescription.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QVector>

#include <algorithm>
#include <cmath>

namespace {

struct Words
{
    const char* de;
    const char* en;
};

const Words nouns[] = {{"Drehzahl", "speed"}, {"Strom", "current"}, {"Spannung", "voltage"},
    {"Beschleunigung", "acceleration"}, {"Verz\u00F6gerung", "deceleration"}, {"Position", "position"},
    {"Moment", "torque"}, {"Temperatur", "temperature"}, {"Filterzeit", "filter time"}, {"Verst\u00E4rkung", "gain"},
    {"Frequenz", "frequency"}, {"Leistung", "power"}, {"Rampe", "ramp"}, {"Schwelle", "threshold"},
    {"Zeitkonstante", "time constant"}, {"Nachstellzeit", "reset time"}, {"Totzeit", "dead time"},
    {"Bremszeit", "braking time"}, {"L\u00FCfterstufe", "fan stage"}, {"Geberaufl\u00F6sung", "encoder resolution"},
    {"Schleppabstand", "following distance"}, {"Ruck", "jerk"}, {"Tippgeschwindigkeit", "jog speed"},
    {"Schlupf", "slip"}, {"Magnetisierung", "magnetisation"}};

const Words qualifiers[] = {{"Soll", "setpoint"}, {"Ist", "actual"}, {"Nenn", "rated"}, {"Maximal", "maximum"},
    {"Minimal", "minimum"}, {"Start", "start"}, {"Stopp", "stop"}, {"Referenz", "reference"}, {"Warn", "warning"},
    {"Abschalt", "cut-off"}, {"Leerlauf", "idle"}, {"Spitzen", "peak"}};

const Words fields[] = {{"Modus", "Mode"}, {"Wert", "Value"}, {"Zeit", "Time"}, {"Grenze", "Limit"},
    {"Quelle", "Source"}, {"Faktor", "Factor"}, {"Freigabe", "Enable"}, {"Bezeichnung", "Label"},
    {"Verz\u00F6gerung", "Delay"}, {"Hysterese", "Hysteresis"}, {"Ziel", "Target"}};

const Words choiceSets[][5] = {
    {{"Drehzahlregelung", "Speed control"}, {"Lageregelung", "Position control"}, {"Momentenregelung", "Torque control"}, {"Handbetrieb", "Manual"}, {nullptr, nullptr}},
    {{"Keine", "None"}, {"Warnung", "Warning"}, {"Stopp", "Stop"}, {"Schnellstopp", "Quick stop"}, {"Austrudeln", "Coast"}},
    {{"Vorw\u00E4rts", "Forward"}, {"R\u00FCckw\u00E4rts", "Reverse"}, {"Beide", "Both"}, {nullptr, nullptr}, {nullptr, nullptr}},
    {{"Analogeingang", "Analogue input"}, {"Feldbus", "Fieldbus"}, {"Klemme", "Terminal"}, {"Festwert", "Fixed value"}, {"Motorpoti", "Motor potentiometer"}},
    {{"Steigend", "Rising"}, {"Fallend", "Falling"}, {nullptr, nullptr}, {nullptr, nullptr}, {nullptr, nullptr}}};

const char* const units[] = {"1/min", "A", "V", "ms", "s", "%", "Hz", "Nm", "\u00B0C", "mm", "mm/s", "kW", "", ""};
const char* const texts[] = {"Hauptantrieb", "Vorschub", "Spindel", "Band", "Hubwerk", "Wickler", "L\u00FCfter"};

template<typename T, size_t N>
constexpr int countOf(const T (&)[N])
{
    return int(N);
}

// splitmix64: the same sequence on every platform and library, unlike the
// standard distributions.
class Random
{
public:
    explicit Random(quint32 seed)
        : m_state(0x9E3779B97F4A7C15ULL ^ seed)
    {
    }
    quint64 next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    int below(int n) { return n <= 0 ? 0 : int(next() % quint64(n)); }
    int between(int low, int high) { return low + below(high - low + 1); }
    bool percent(int p) { return below(100) < p; }

private:
    quint64 m_state;
};

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

QJsonObject name(const QString& de, const QString& en)
{
    return QJsonObject{{QStringLiteral("de"), de}, {QStringLiteral("en"), en}};
}

QString capitalized(const QString& s)
{
    return s.isEmpty() ? s : s.at(0).toUpper() + s.mid(1);
}

// What the generator knows about an element to invent values for it later.
struct Element
{
    int index = 0;
    QString kind;
    qint64 minimumSteps = 0;   // limits in units of the last decimal
    qint64 maximumSteps = 0;
    int decimals = 0;
    QVector<int> choiceValues;
    QJsonValue defaultValue;
    bool hasValue = true;
};

struct Parameter
{
    QString coordinate;
    bool global = false;
    QVector<int> definedIn;
    QVector<Element> elements;
};

// Dividing by a power of ten gives the double nearest to the decimal number,
// so the JSON shows "-9.62" rather than "-9.620000000000001".
double fromSteps(qint64 steps, int decimals)
{
    return double(steps) / std::pow(10.0, decimals);
}

QJsonValue randomValue(Random& random, const Element& e)
{
    if (e.kind == QLatin1String("number")) {
        const qint64 span = e.maximumSteps - e.minimumSteps;
        const qint64 pick = span > 0 ? qint64(random.next() % quint64(span + 1)) : 0;
        return QJsonValue(fromSteps(e.minimumSteps + pick, e.decimals));
    }
    if (e.kind == QLatin1String("choice"))
        return e.choiceValues.at(random.below(e.choiceValues.size()));
    if (e.kind == QLatin1String("switch"))
        return random.percent(50);
    return text(texts[random.below(countOf(texts))]);
}

// Element properties of one kind; fills `e` for later values.
QJsonObject properties(Random& random, Element& e)
{
    QJsonObject p;
    const int roll = random.below(100);
    e.kind = roll < 65 ? QStringLiteral("number") : roll < 80 ? QStringLiteral("choice") : roll < 92 ? QStringLiteral("switch") : QStringLiteral("text");
    p.insert(QStringLiteral("kind"), e.kind);
    if (e.kind == QLatin1String("number")) {
        e.decimals = random.percent(60) ? 0 : random.between(1, 3);
        e.minimumSteps = random.percent(30) ? -qint64(random.between(1, 1000)) : qint64(random.between(0, 10));
        e.maximumSteps = e.minimumSteps + qint64(random.between(10, 20000));
        p.insert(QStringLiteral("min"), fromSteps(e.minimumSteps, e.decimals));
        p.insert(QStringLiteral("max"), fromSteps(e.maximumSteps, e.decimals));
        if (e.decimals > 0)
            p.insert(QStringLiteral("decimals"), e.decimals);
        const QString unit = text(units[random.below(countOf(units))]);
        if (!unit.isEmpty())
            p.insert(QStringLiteral("unit"), unit);
    } else if (e.kind == QLatin1String("choice")) {
        const auto& set = choiceSets[random.below(countOf(choiceSets))];
        const int spacing = random.percent(30) ? 10 : 1;
        QJsonArray choices;
        for (int i = 0; i < 5 && set[i].de; ++i) {
            e.choiceValues.append(i * spacing);
            choices.append(QJsonObject{{QStringLiteral("value"), i * spacing}, {QStringLiteral("de"), text(set[i].de)}, {QStringLiteral("en"), text(set[i].en)}});
        }
        p.insert(QStringLiteral("choices"), choices);
    } else if (e.kind == QLatin1String("text")) {
        p.insert(QStringLiteral("max"), random.between(12, 40));
    }
    e.defaultValue = randomValue(random, e);
    p.insert(QStringLiteral("default"), e.defaultValue);
    if (random.percent(10))
        p.insert(QStringLiteral("reference"), randomValue(random, e));
    if (random.percent(5))
        p.insert(QStringLiteral("writable"), false);
    if (random.percent(3))
        p.insert(QStringLiteral("active"), false);
    if (random.percent(20))
        p.insert(QStringLiteral("level"), random.between(1, 3));
    if (random.percent(30))
        p.insert(QStringLiteral("category"), random.between(1, 5));
    return p;
}

// `fixedLength` < 0 draws the structure from the usual mix; 0 makes a single
// value, more an array of that many elements. The draws happen either way, so
// the mix gives the same catalogue as before the choice existed.
QJsonObject parameterObject(Random& random, Parameter& parameter, int maxAxes, const QStringList& helpPages, int fixedLength)
{
    const Words& noun = nouns[random.below(countOf(nouns))];
    const Words& qualifier = qualifiers[random.below(countOf(qualifiers))];
    QString de = text(qualifier.de) + QLatin1Char('-') + text(noun.de);
    QString en = capitalized(text(qualifier.en)) + QLatin1Char(' ') + text(noun.en);
    if (random.percent(30)) {
        const QString number = QString::number(random.between(1, 4));
        de += QLatin1Char(' ') + number;
        en += QLatin1Char(' ') + number;
    }

    QJsonObject object{{QStringLiteral("coordinate"), parameter.coordinate}, {QStringLiteral("name"), name(de, en)}};
    parameter.global = random.percent(15);
    if (parameter.global) {
        object.insert(QStringLiteral("scope"), QStringLiteral("device"));
    } else if (maxAxes > 1 && random.percent(8)) {
        QJsonArray axes;
        for (int axis = 1; axis <= maxAxes; ++axis) {
            if (random.percent(50) || (axis == maxAxes && axes.isEmpty())) {
                axes.append(axis);
                parameter.definedIn.append(axis);
            }
        }
        object.insert(QStringLiteral("definedIn"), axes);
    }
    if (random.percent(10))
        object.insert(QStringLiteral("help"), QStringLiteral("<description>=<p>%1: %2.</p>").arg(parameter.coordinate, de));
    else if (!helpPages.isEmpty() && random.percent(5))
        object.insert(QStringLiteral("help"), helpPages.at(random.below(helpPages.size())));

    int structure = random.below(100);
    if (fixedLength >= 0)
        structure = fixedLength == 0 ? 0 : 60;
    if (structure < 60) {
        Element e;
        const QJsonObject p = properties(random, e);
        for (auto it = p.begin(); it != p.end(); ++it)
            object.insert(it.key(), it.value());
        parameter.elements.append(e);
    } else if (structure < 90) {
        const int drawn = random.between(2, 16);
        const int count = fixedLength > 0 ? fixedLength : drawn;
        object.insert(QStringLiteral("structure"), QStringLiteral("array"));
        object.insert(QStringLiteral("count"), count);
        Element e;
        const QJsonObject p = properties(random, e);
        for (auto it = p.begin(); it != p.end(); ++it)
            object.insert(it.key(), it.value());
        QJsonArray defaults;
        const bool perElementDefaults = random.percent(30);
        for (int i = 0; i < count; ++i) {
            Element element = e;
            element.index = i;
            if (perElementDefaults) {
                element.defaultValue = randomValue(random, e);
                defaults.append(element.defaultValue);
            }
            parameter.elements.append(element);
        }
        if (perElementDefaults)
            object.insert(QStringLiteral("default"), defaults);
        if (random.percent(20)) {
            QJsonArray elements;
            for (int i = 0; i < count; ++i)
                elements.append(QJsonObject{{QStringLiteral("name"), name(QStringLiteral("Satz %1").arg(i + 1), QStringLiteral("Set %1").arg(i + 1))}});
            object.insert(QStringLiteral("elements"), elements);
        }
    } else {
        object.insert(QStringLiteral("structure"), QStringLiteral("record"));
        QJsonArray elements;
        const int count = random.between(3, 8);
        int index = 0;
        for (int i = 0; i < count; ++i) {
            Element e;
            e.index = index;
            QJsonObject element;
            if (i == 0 && random.percent(30)) {
                e.hasValue = false;
                element.insert(QStringLiteral("hasValue"), false);
                element.insert(QStringLiteral("name"), name(QStringLiteral("Kopf"), QStringLiteral("Header")));
            } else {
                element = properties(random, e);
                const Words& field = fields[random.below(countOf(fields))];
                element.insert(QStringLiteral("name"), name(text(field.de), text(field.en)));
            }
            if (index != i)
                element.insert(QStringLiteral("index"), index);
            elements.append(element);
            parameter.elements.append(e);
            index += random.percent(25) ? random.between(2, 10) : 1;
        }
        object.insert(QStringLiteral("elements"), elements);
    }
    return object;
}

} // namespace

QByteArray syntheticDeviceDescription(int parameterCount, int controllerCount, int axesPerController, quint32 seed)
{
    return syntheticDeviceDescription(parameterCount, controllerCount, axesPerController, seed, SyntheticShape());
}

QByteArray syntheticDeviceDescription(int parameterCount, int controllerCount, int axesPerController, quint32 seed,
                                      const SyntheticShape& shape)
{
    Random random(seed);
    const int count = qBound(0, parameterCount, 26000);
    const int axes = qBound(0, axesPerController, 16);
    const int maxAxes = std::max(1, axes);

    // Coordinates spread over several letters, ascending like a catalogue.
    const int letterCount = qBound(std::min(3, 26), (count + 499) / 500, 26);
    QVector<int> letters(26);
    for (int i = 0; i < 26; ++i)
        letters[i] = i;
    for (int i = 0; i < letterCount; ++i)
        std::swap(letters[i], letters[i + random.below(26 - i)]);
    letters.resize(letterCount);
    QVector<int> pool;
    pool.reserve(letterCount * 1000);
    for (int letter : qAsConst(letters)) {
        for (int index = 0; index < 1000; ++index)
            pool.append(letter * 1000 + index);
    }
    for (int i = 0; i < count; ++i)
        std::swap(pool[i], pool[i + random.below(pool.size() - i)]);
    pool.resize(count);
    std::sort(pool.begin(), pool.end());

    const QString typeName = QStringLiteral("KX Synth %1").arg(count);
    const QStringList helpPages{QStringLiteral("synth.overview"), QStringLiteral("synth.limits"), QStringLiteral("synth.control")};
    QJsonArray pages;
    for (const QString& id : helpPages)
        pages.append(QJsonObject{{QStringLiteral("id"), id}, {QStringLiteral("title"), id.mid(6)},
            {QStringLiteral("html"), QStringLiteral("<h1>%1</h1><p>Erzeugte Hilfeseite.</p>").arg(id.mid(6))}});

    QVector<Parameter> parameters;
    parameters.reserve(count);
    QJsonArray parameterArray;
    for (int number : qAsConst(pool)) {
        const int position = parameters.size();
        const int fixedLength = shape.arrayEvery <= 0 ? -1 : position % shape.arrayEvery == 0 ? std::max(2, shape.arrayLength) : 0;
        Parameter parameter;
        parameter.coordinate = QChar(ushort('A' + number / 1000)) + QString::number(number % 1000).rightJustified(number % 1000 < 100 ? 2 : 3, QLatin1Char('0'));
        parameterArray.append(parameterObject(random, parameter, maxAxes, helpPages, fixedLength));
        parameters.append(parameter);
    }
    const QJsonObject type{{QStringLiteral("name"), typeName},
        {QStringLiteral("descriptor"), QStringLiteral("Synthetischer Umrichter, %1 Parameter").arg(count)},
        {QStringLiteral("maxAxes"), maxAxes}, {QStringLiteral("helpPages"), pages}, {QStringLiteral("parameters"), parameterArray}};

    static const char* const colors[] = {"#1f77b4", "#ff7f0e", "#2ca02c", "#d62728", "#9467bd", "#8c564b"};
    QJsonArray controllers;
    for (int c = 0; c < controllerCount; ++c) {
        QJsonArray axisArray;
        QVector<int> axisNumbers;
        for (int axis = 1; axis <= axes; ++axis) {
            QJsonObject object{{QStringLiteral("number"), axis}, {QStringLiteral("name"), QStringLiteral("Achse %1").arg(axis)}};
            if (random.percent(30))
                object.insert(QStringLiteral("markingColor"), QString::fromLatin1(colors[random.below(countOf(colors))]));
            if (random.percent(5))
                object.insert(QStringLiteral("fault"), true);
            axisArray.append(object);
            axisNumbers.append(axis);
        }
        QJsonArray values;
        QSet<QString> given;
        const int valueCount = count * 3 / 100 + 1;
        for (int v = 0; v < valueCount && count > 0; ++v) {
            const Parameter& parameter = parameters.at(random.below(parameters.size()));
            const Element& element = parameter.elements.at(random.below(parameter.elements.size()));
            if (!element.hasValue)
                continue;
            int axis = 0;
            if (!parameter.global) {
                QVector<int> candidates;
                for (int number : qAsConst(axisNumbers)) {
                    if (parameter.definedIn.isEmpty() || parameter.definedIn.contains(number))
                        candidates.append(number);
                }
                if (candidates.isEmpty())
                    continue;
                axis = candidates.at(random.below(candidates.size()));
            }
            const QJsonValue value = randomValue(random, element);
            const QString key = QStringLiteral("%1.%2[%3]").arg(axis).arg(parameter.coordinate).arg(element.index);
            if (value == element.defaultValue || given.contains(key))
                continue;
            given.insert(key);
            QJsonObject object{{QStringLiteral("coordinate"), parameter.coordinate}, {QStringLiteral("value"), value}};
            if (axis != 0)
                object.insert(QStringLiteral("axis"), axis);
            if (element.index != 0)
                object.insert(QStringLiteral("element"), element.index);
            values.append(object);
        }
        controllers.append(QJsonObject{{QStringLiteral("name"), QStringLiteral("Regler %1").arg(c + 1)},
            {QStringLiteral("type"), typeName}, {QStringLiteral("online"), random.percent(20)},
            {QStringLiteral("axes"), axisArray}, {QStringLiteral("values"), values}});
    }

    const QJsonObject root{{QStringLiteral("format"), QStringLiteral("KxDeviceDescription")}, {QStringLiteral("version"), 1},
        {QStringLiteral("types"), QJsonArray{type}}, {QStringLiteral("controllers"), controllers}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}
