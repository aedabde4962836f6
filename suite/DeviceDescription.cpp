#include "DeviceDescription.h"

#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "HelpSystem.h"
#include "ModbusConnection.h"
#include "ParameterProvider.h"
#include "ParameterValues_p.h"
#include "RegisterMap.h"
#include "System.h"

#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QRegularExpression>
#include <QSet>

#include <cmath>
#include <limits>

namespace {

constexpr int FormatVersion = 1;
constexpr int MaxAxes = 16;
constexpr qint64 NoLimit = std::numeric_limits<qint64>::max();
// Integers beyond this lose precision as JSON numbers.
constexpr qint64 LargestExactInteger = qint64(1) << 53;

const QString FormatName = QStringLiteral("KxDeviceDescription");

struct DescriptionError
{
    QString message;
};

struct AxisSpec
{
    int number = 0;
    QString name;
    QColor markingColor;
    bool fault = false;
};

struct ValueSpec
{
    ParameterAddress address;
    QString raw;
};

struct ControllerSpec
{
    QSharedPointer<const DeviceType> type;
    QString name;
    QString descriptor;
    bool hasDescriptor = false;
    bool online = false;
    bool readOnly = false;
    ModbusConnectionSettings connection{QString(), 0, 0};
    QVector<AxisSpec> axes;
    QVector<ValueSpec> values;
};

QString quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString jsonText(const QJsonValue& value)
{
    if (value.isString())
        return quoted(value.toString());
    if (value.isBool())
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    if (value.isDouble())
        return QString::number(value.toDouble(), 'g', 15);
    return value.isNull() ? QStringLiteral("null") : QStringLiteral("(structure)");
}

// Where in which description something is, for messages like
// `sample.json: types[0].parameters[12] (A12): "count" must be between 2 and 16`.
class Place
{
public:
    Place() = default;
    explicit Place(const QString& source)
        : m_source(source)
    {
    }

    Place key(const QString& name) const
    {
        Place place = *this;
        place.m_path = m_path.isEmpty() ? name : m_path + QLatin1Char('.') + name;
        return place;
    }
    Place at(int index) const
    {
        Place place = *this;
        place.m_path += QLatin1Char('[') + QString::number(index) + QLatin1Char(']');
        return place;
    }
    Place withCoordinate(const ParameterCoordinate& coordinate) const
    {
        Place place = *this;
        place.m_coordinate = coordinate.toText();
        return place;
    }
    const QString& source() const { return m_source; }

    [[noreturn]] void fail(const QString& problem) const
    {
        QString message = m_source + QLatin1String(": ");
        if (!m_path.isEmpty())
            message += m_path;
        if (!m_coordinate.isEmpty())
            message += (m_path.isEmpty() ? QStringLiteral("(") : QStringLiteral(" (")) + m_coordinate + QLatin1Char(')');
        if (!m_path.isEmpty() || !m_coordinate.isEmpty())
            message += QLatin1String(": ");
        throw DescriptionError{message + problem};
    }

private:
    QString m_source;
    QString m_path;
    QString m_coordinate;
};

// Typed access to the keys of one JSON object; every wrong type or range is
// reported at the object's place, naming the key.
class ObjectReader
{
public:
    ObjectReader(const QJsonValue& value, const Place& place)
        : m_place(place)
    {
        if (!value.isObject())
            place.fail(QStringLiteral("must be an object"));
        m_object = value.toObject();
    }

    const Place& place() const { return m_place; }
    void setPlace(const Place& place) { m_place = place; }
    const QJsonObject& object() const { return m_object; }
    bool has(const QString& key) const { return m_object.contains(key); }
    QJsonValue value(const QString& key) const { return m_object.value(key); }

    // Keys starting with "_" are free for annotations.
    void allowOnly(const QStringList& keys) const
    {
        for (auto it = m_object.constBegin(); it != m_object.constEnd(); ++it) {
            if (!it.key().startsWith(QLatin1Char('_')) && !keys.contains(it.key()))
                m_place.fail(QStringLiteral("unknown key %1").arg(quoted(it.key())));
        }
    }

    void require(const QString& key) const
    {
        if (!has(key))
            m_place.fail(QStringLiteral("%1 is required").arg(quoted(key)));
    }

    QString string(const QString& key, const QString& fallback = QString()) const
    {
        if (!has(key))
            return fallback;
        const QJsonValue v = value(key);
        if (!v.isString())
            m_place.fail(QStringLiteral("%1 must be a string").arg(quoted(key)));
        return v.toString();
    }

    QString requiredString(const QString& key) const
    {
        require(key);
        const QString text = string(key);
        if (text.trimmed().isEmpty())
            m_place.fail(QStringLiteral("%1 must not be empty").arg(quoted(key)));
        return text;
    }

    bool boolean(const QString& key, bool fallback) const
    {
        if (!has(key))
            return fallback;
        const QJsonValue v = value(key);
        if (!v.isBool())
            m_place.fail(QStringLiteral("%1 must be true or false").arg(quoted(key)));
        return v.toBool();
    }

    double number(const QString& key, double fallback) const
    {
        if (!has(key))
            return fallback;
        const QJsonValue v = value(key);
        if (!v.isDouble())
            m_place.fail(QStringLiteral("%1 must be a number").arg(quoted(key)));
        return v.toDouble();
    }

    qint64 integer(const QString& key, qint64 minimum, qint64 maximum, qint64 fallback) const
    {
        if (!has(key))
            return fallback;
        return checkedInteger(value(key), m_place, quoted(key), minimum, maximum);
    }

    qint64 requiredInteger(const QString& key, qint64 minimum, qint64 maximum) const
    {
        require(key);
        return integer(key, minimum, maximum, 0);
    }

    QJsonArray array(const QString& key) const
    {
        if (!has(key))
            return QJsonArray();
        const QJsonValue v = value(key);
        if (!v.isArray())
            m_place.fail(QStringLiteral("%1 must be an array").arg(quoted(key)));
        return v.toArray();
    }

    QJsonArray requiredArray(const QString& key) const
    {
        require(key);
        return array(key);
    }

    static qint64 checkedInteger(const QJsonValue& v, const Place& place, const QString& what, qint64 minimum, qint64 maximum)
    {
        const double d = v.toDouble();
        if (!v.isDouble() || std::floor(d) != d || std::abs(d) > double(LargestExactInteger))
            place.fail(QStringLiteral("%1 must be an integer").arg(what));
        const qint64 i = qint64(d);
        if (i < minimum || i > maximum) {
            if (maximum == NoLimit)
                place.fail(QStringLiteral("%1 must be at least %2").arg(what).arg(minimum));
            place.fail(QStringLiteral("%1 must be between %2 and %3").arg(what).arg(minimum).arg(maximum));
        }
        return i;
    }

private:
    QJsonObject m_object;
    Place m_place;
};

ParameterText readText(const QJsonValue& value, const Place& place)
{
    ObjectReader r(value, place);
    r.allowOnly({QStringLiteral("de"), QStringLiteral("en")});
    const QString german = r.requiredString(QStringLiteral("de"));
    return ParameterText(german, r.string(QStringLiteral("en")));
}

const QStringList& propertyKeys()
{
    static const QStringList keys{QStringLiteral("kind"), QStringLiteral("unit"), QStringLiteral("min"),
        QStringLiteral("max"), QStringLiteral("decimals"), QStringLiteral("choices"), QStringLiteral("default"),
        QStringLiteral("reference"), QStringLiteral("writable"), QStringLiteral("active"), QStringLiteral("hasValue"),
        QStringLiteral("level"), QStringLiteral("category")};
    return keys;
}

// Element properties as given so far: the parameter's defaults, then the
// element's own. Values stay JSON until kind and limits are known.
struct Properties
{
    ParameterElementDescription element;
    QJsonValue defaultValue{QJsonValue::Undefined};
    QJsonValue referenceValue{QJsonValue::Undefined};
    Place defaultPlace;
    Place referencePlace;
    bool choicesGiven = false;
};

// The text form of a JSON value for the element's kind; an empty `problem` when it fits.
QString valueText(const QJsonValue& value, const ParameterElementDescription& element, QString* problem)
{
    switch (element.kind) {
    case ValueKindNumber:
        if (value.isDouble())
            return QString::number(value.toDouble(), 'g', 15);
        if (value.isString())
            return value.toString();
        *problem = QStringLiteral("must be a number");
        return QString();
    case ValueKindChoice:
    case ValueKindSwitch:
        if (element.kind == ValueKindSwitch && value.isBool())
            return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
        if (value.isDouble() && std::floor(value.toDouble()) == value.toDouble())
            return QString::number(qint64(value.toDouble()));
        if (value.isString())
            return value.toString();
        *problem = element.kind == ValueKindSwitch ? QStringLiteral("must be true, false, 0 or 1")
                                                   : QStringLiteral("must be a choice's value or name");
        return QString();
    case ValueKindText:
        if (value.isString())
            return value.toString();
        *problem = QStringLiteral("must be a string");
        return QString();
    }
    *problem = QStringLiteral("has an unknown kind");
    return QString();
}

// The raw text of a value given for the element, or a failure at `place`.
QString checkedValue(const QJsonValue& value, const ParameterElementDescription& element, const Place& place, const QString& what)
{
    QString problem;
    const QString text = valueText(value, element, &problem);
    if (!problem.isEmpty())
        place.fail(QStringLiteral("%1 %2").arg(what, problem));
    QString raw;
    const QString refusal = KxParameterValues::check(element, text, &raw);
    if (!refusal.isEmpty())
        place.fail(QStringLiteral("%1 %2 is not a valid value: %3").arg(what, jsonText(value), refusal));
    // Kept by the description and by every controller's values.
    KxParameterValues::dropSlack(raw);
    return raw;
}

void readProperties(const ObjectReader& r, Properties& p)
{
    ParameterElementDescription& e = p.element;
    if (r.has(QStringLiteral("kind"))) {
        static const QStringList kinds{QStringLiteral("number"), QStringLiteral("choice"), QStringLiteral("switch"), QStringLiteral("text")};
        const int kind = kinds.indexOf(r.string(QStringLiteral("kind")));
        if (kind < 0)
            r.place().fail(QStringLiteral("\"kind\" must be one of \"number\", \"choice\", \"switch\", \"text\""));
        e.kind = ParameterValueKind(kind);
    }
    e.unit = r.string(QStringLiteral("unit"), e.unit);
    e.minimum = r.number(QStringLiteral("min"), e.minimum);
    e.maximum = r.number(QStringLiteral("max"), e.maximum);
    e.decimals = int(r.integer(QStringLiteral("decimals"), 0, 6, e.decimals));
    if (r.has(QStringLiteral("choices"))) {
        const QJsonArray choices = r.array(QStringLiteral("choices"));
        const Place listPlace = r.place().key(QStringLiteral("choices"));
        if (choices.isEmpty())
            r.place().fail(QStringLiteral("\"choices\" must not be empty"));
        e.choices.clear();
        QSet<qint64> values;
        for (int i = 0; i < choices.size(); ++i) {
            const ObjectReader c(choices.at(i), listPlace.at(i));
            c.allowOnly({QStringLiteral("value"), QStringLiteral("de"), QStringLiteral("en")});
            ParameterChoice choice;
            choice.value = c.requiredInteger(QStringLiteral("value"), -LargestExactInteger, LargestExactInteger);
            choice.text = ParameterText(c.requiredString(QStringLiteral("de")), c.string(QStringLiteral("en")));
            if (values.contains(choice.value))
                c.place().fail(QStringLiteral("choice value %1 is given twice").arg(choice.value));
            values.insert(choice.value);
            e.choices.append(choice);
        }
        p.choicesGiven = true;
    }
    if (r.has(QStringLiteral("default"))) {
        p.defaultValue = r.value(QStringLiteral("default"));
        p.defaultPlace = r.place();
    }
    if (r.has(QStringLiteral("reference"))) {
        p.referenceValue = r.value(QStringLiteral("reference"));
        p.referencePlace = r.place();
    }
    e.writable = r.boolean(QStringLiteral("writable"), e.writable);
    e.active = r.boolean(QStringLiteral("active"), e.active);
    e.hasValue = r.boolean(QStringLiteral("hasValue"), e.hasValue);
    e.level = uint(r.integer(QStringLiteral("level"), 0, std::numeric_limits<uint>::max(), e.level));
    e.category = int(r.integer(QStringLiteral("category"), std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), e.category));
}

ParameterElementDescription finishElement(const Properties& p, const Place& place)
{
    ParameterElementDescription e = p.element;
    if (e.minimum > e.maximum)
        place.fail(QStringLiteral("\"min\" (%1) must not be greater than \"max\" (%2)")
                       .arg(QString::number(e.minimum, 'g', 15), QString::number(e.maximum, 'g', 15)));
    if (e.kind == ValueKindChoice && e.choices.isEmpty())
        place.fail(QStringLiteral("kind \"choice\" needs \"choices\""));
    if (e.kind != ValueKindChoice && p.choicesGiven)
        place.fail(QStringLiteral("\"choices\" are only allowed for kind \"choice\""));
    if (e.kind == ValueKindText && (e.maximum < 0 || std::floor(e.maximum) != e.maximum))
        place.fail(QStringLiteral("\"max\" of a text is its length and must be a whole number"));
    if (!e.hasValue) {
        e.defaultValue.clear();
        e.referenceValue.clear();
        return e;
    }
    e.defaultValue = p.defaultValue.isUndefined()
        ? KxParameterValues::defaultValue(e)
        : checkedValue(p.defaultValue, e, p.defaultPlace, QStringLiteral("\"default\""));
    e.referenceValue = p.referenceValue.isUndefined()
        ? e.defaultValue
        : checkedValue(p.referenceValue, e, p.referencePlace, QStringLiteral("\"reference\""));
    return e;
}

// For arrays, the parameter may give "default", "reference", "writable" and
// "active" as one entry per element.
struct PerElementValues
{
    QHash<QString, QJsonArray> arrays;

    void take(ObjectReader& r, bool isArray, int count)
    {
        static const QStringList keys{QStringLiteral("default"), QStringLiteral("reference"), QStringLiteral("writable"), QStringLiteral("active")};
        QJsonObject object = r.object();
        for (const QString& key : keys) {
            if (!object.value(key).isArray())
                continue;
            if (!isArray)
                r.place().fail(QStringLiteral("%1 can be a list of per-element values for arrays only").arg(quoted(key)));
            const QJsonArray values = object.value(key).toArray();
            if (values.size() != count)
                r.place().fail(QStringLiteral("%1 has %2 entries but \"count\" is %3").arg(quoted(key)).arg(values.size()).arg(count));
            arrays.insert(key, values);
            object.remove(key);
        }
        const Place place = r.place();
        r = ObjectReader(object, place);
    }

    void apply(int position, const Place& parameterPlace, Properties& p) const
    {
        QJsonObject object;
        for (auto it = arrays.cbegin(); it != arrays.cend(); ++it)
            object.insert(it.key(), it.value().at(position));
        if (object.isEmpty())
            return;
        // Each entry reports its own place, e.g. parameters[3].default[2].
        for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
            QJsonObject single;
            single.insert(it.key(), it.value());
            const Place entryPlace = parameterPlace.key(it.key()).at(position);
            ObjectReader r(single, entryPlace);
            if ((it.key() == QLatin1String("writable") || it.key() == QLatin1String("active")) && !it.value().isBool())
                entryPlace.fail(QStringLiteral("must be true or false"));
            readProperties(r, p);
        }
    }
};

// The "register" objects of a parameter and its elements, read once the
// elements are complete. Only types with a "registerMap" may give them.
struct RegisterSpecs
{
    QJsonValue parameter{QJsonValue::Undefined};
    QVector<QJsonValue> elements;   // by position; Undefined where none is given
    Place place;
    QVector<Place> elementPlaces;
};

// `required`: the parameter's own "register", which must name address and type.
RegisterSlot readRegister(const QJsonValue& value, const Place& place, const ParameterElementDescription& element, RegisterSlot slot, bool required)
{
    const ObjectReader r(value, place);
    r.allowOnly({QStringLiteral("address"), QStringLiteral("type"), QStringLiteral("count"), QStringLiteral("scale"),
        QStringLiteral("decimals"), QStringLiteral("wordOrder")});
    if (required) {
        r.require(QStringLiteral("address"));
        r.require(QStringLiteral("type"));
    }
    slot.offset = quint32(r.integer(QStringLiteral("address"), 0, 65535, slot.offset));
    if (r.has(QStringLiteral("type"))) {
        static const QStringList types{QStringLiteral("int16"), QStringLiteral("uint16"), QStringLiteral("int32"),
            QStringLiteral("uint32"), QStringLiteral("float32"), QStringLiteral("string")};
        const int type = types.indexOf(r.string(QStringLiteral("type")));
        if (type < 0)
            place.fail(QStringLiteral("\"type\" must be one of \"int16\", \"uint16\", \"int32\", \"uint32\", \"float32\", \"string\""));
        if (slot.type != RegisterSlot::Type(type))
            slot.count = 0;
        slot.type = RegisterSlot::Type(type);
        slot.scale = slot.type == RegisterSlot::Float32 ? 1 : std::pow(10.0, -element.decimals);
    }
    if (r.has(QStringLiteral("scale")) && r.has(QStringLiteral("decimals")))
        place.fail(QStringLiteral("give either \"scale\" or \"decimals\", not both"));
    if (r.has(QStringLiteral("scale"))) {
        slot.scale = r.number(QStringLiteral("scale"), 1);
        if (!(slot.scale > 0))
            place.fail(QStringLiteral("\"scale\" must be greater than 0"));
    }
    if (r.has(QStringLiteral("decimals")))
        slot.scale = std::pow(10.0, -double(r.integer(QStringLiteral("decimals"), -9, 9, 0)));
    if ((r.has(QStringLiteral("scale")) || r.has(QStringLiteral("decimals"))) && element.kind != ValueKindNumber)
        place.fail(QStringLiteral("\"scale\" and \"decimals\" are only allowed for numbers"));
    if (slot.type == RegisterSlot::String) {
        slot.count = quint16(r.integer(QStringLiteral("count"), 1, 123, slot.count));
        if (slot.count == 0)
            place.fail(QStringLiteral("a \"string\" needs \"count\", its number of registers"));
    } else {
        if (r.has(QStringLiteral("count")))
            place.fail(QStringLiteral("\"count\" is only allowed for the type \"string\""));
        slot.count = quint16(RegisterSlot::registerCount(slot.type));
    }
    if (r.has(QStringLiteral("wordOrder"))) {
        const QString order = r.string(QStringLiteral("wordOrder"));
        if (order != QLatin1String("high-first") && order != QLatin1String("low-first"))
            place.fail(QStringLiteral("\"wordOrder\" must be \"high-first\" or \"low-first\""));
        if (slot.count != 2 || slot.type == RegisterSlot::String)
            place.fail(QStringLiteral("\"wordOrder\" is only allowed for 32-bit types"));
        slot.lowWordFirst = order == QLatin1String("low-first");
    }
    return slot;
}

// The registers of every element that carries a value: the parameter's
// "register" gives the first address and the defaults; an element's own
// "register" overrides them, and an element without an address follows the
// previous one.
QVector<RegisterSlot> readRegisters(const ParameterDescription& parameter, const RegisterSpecs& specs)
{
    const Place here = specs.place.key(QStringLiteral("register"));
    if (specs.parameter.isUndefined()) {
        for (const ParameterElementDescription& element : parameter.elements) {
            if (element.hasValue)
                specs.place.fail(QStringLiteral("the type has a \"registerMap\": \"register\" is required"));
        }
        return {};
    }
    QVector<RegisterSlot> registerSlots;
    quint32 next = 0;
    bool first = true;
    for (int i = 0; i < parameter.elements.size(); ++i) {
        const ParameterElementDescription& element = parameter.elements.at(i);
        const QJsonValue own = specs.elements.value(i, QJsonValue(QJsonValue::Undefined));
        if (!element.hasValue) {
            if (!own.isUndefined())
                specs.elementPlaces.at(i).fail(QStringLiteral("an element without a value has no \"register\""));
            continue;
        }
        RegisterSlot slot;
        slot.element = element.index;
        slot.count = 0;
        slot = readRegister(specs.parameter, here, element, slot, first);
        if (!first)
            slot.offset = next;
        Place place = here;
        if (!own.isUndefined()) {
            place = specs.elementPlaces.at(i).key(QStringLiteral("register"));
            slot = readRegister(own, place, element, slot, true);
        }
        const QString problem = RegisterMap::slotProblem(element, slot);
        if (!problem.isEmpty())
            place.fail(problem);
        if (slot.offset + slot.count > 65536)
            place.fail(QStringLiteral("registers %1..%2 lie beyond register 65535").arg(slot.offset).arg(slot.offset + slot.count - 1));
        next = slot.offset + slot.count;
        first = false;
        registerSlots.append(slot);
    }
    return registerSlots;
}

QSharedPointer<ParameterDescription> readParameter(const QJsonValue& value, const Place& place, int maxAxes, RegisterSpecs* registers)
{
    ObjectReader r(value, place);
    static const QStringList keys = QStringList{QStringLiteral("coordinate"), QStringLiteral("name"),
        QStringLiteral("scope"), QStringLiteral("definedIn"), QStringLiteral("structure"), QStringLiteral("count"),
        QStringLiteral("elements"), QStringLiteral("help"), QStringLiteral("register")} + propertyKeys();
    const QString coordinateText = r.requiredString(QStringLiteral("coordinate"));
    auto parameter = QSharedPointer<ParameterDescription>::create();
    parameter->coordinate = ParameterCoordinate(coordinateText);
    if (!parameter->coordinate.isValid())
        place.fail(QStringLiteral("\"coordinate\" %1 is not a coordinate (a letter and two or three digits)").arg(quoted(coordinateText)));
    const Place here = place.withCoordinate(parameter->coordinate);
    r.setPlace(here);
    r.allowOnly(keys);

    registers->place = here;
    if (r.has(QStringLiteral("register")))
        registers->parameter = r.value(QStringLiteral("register"));
    r.require(QStringLiteral("name"));
    parameter->text = readText(r.value(QStringLiteral("name")), here.key(QStringLiteral("name")));
    parameter->helpIdentifier = r.string(QStringLiteral("help"));

    const QString scope = r.string(QStringLiteral("scope"), QStringLiteral("axis"));
    if (scope != QLatin1String("axis") && scope != QLatin1String("device"))
        here.fail(QStringLiteral("\"scope\" must be \"axis\" or \"device\""));
    parameter->global = scope == QLatin1String("device");
    if (r.has(QStringLiteral("definedIn"))) {
        if (parameter->global)
            here.fail(QStringLiteral("\"definedIn\" is only allowed for scope \"axis\""));
        const QJsonArray axes = r.array(QStringLiteral("definedIn"));
        if (axes.isEmpty())
            here.fail(QStringLiteral("\"definedIn\" must name at least one axis"));
        for (int i = 0; i < axes.size(); ++i) {
            const Place axisPlace = here.key(QStringLiteral("definedIn")).at(i);
            const int axis = int(ObjectReader::checkedInteger(axes.at(i), axisPlace, QStringLiteral("axis number"), 1, maxAxes));
            if (parameter->definedIn.contains(axis))
                axisPlace.fail(QStringLiteral("axis %1 is given twice").arg(axis));
            parameter->definedIn.append(axis);
        }
    }

    const QString structure = r.string(QStringLiteral("structure"), QStringLiteral("simple"));
    static const QStringList structures{QStringLiteral("simple"), QStringLiteral("array"), QStringLiteral("record")};
    const int structureIndex = structures.indexOf(structure);
    if (structureIndex < 0)
        here.fail(QStringLiteral("\"structure\" must be \"simple\", \"array\" or \"record\""));
    parameter->structure = ParameterDescription::Structure(structureIndex);
    const bool isArray = parameter->structure == ParameterDescription::Array;

    int count = 1;
    if (isArray) {
        count = int(r.requiredInteger(QStringLiteral("count"), 2, 16));
    } else if (r.has(QStringLiteral("count"))) {
        here.fail(QStringLiteral("\"count\" is only allowed for arrays"));
    }
    const QJsonArray elements = r.array(QStringLiteral("elements"));
    if (r.has(QStringLiteral("elements"))) {
        if (parameter->structure == ParameterDescription::Simple)
            here.fail(QStringLiteral("\"elements\" are not allowed for simple parameters"));
        if (isArray && elements.size() != count)
            here.fail(QStringLiteral("\"elements\" has %1 entries but \"count\" is %2").arg(elements.size()).arg(count));
    }
    if (parameter->structure == ParameterDescription::Record && elements.isEmpty())
        here.fail(QStringLiteral("a record needs \"elements\""));

    PerElementValues perElement;
    QJsonObject withoutRegister = r.object();
    withoutRegister.remove(QStringLiteral("register"));
    r = ObjectReader(withoutRegister, here);
    perElement.take(r, isArray, count);
    Properties base;
    readProperties(r, base);

    if (elements.isEmpty()) {
        for (int i = 0; i < count; ++i) {
            Properties p = base;
            perElement.apply(i, here, p);
            ParameterElementDescription e = finishElement(p, here);
            e.index = quint16(i);
            parameter->elements.append(e);
        }
        return parameter;
    }
    static const QStringList elementKeys = QStringList{QStringLiteral("index"), QStringLiteral("name"), QStringLiteral("help"),
        QStringLiteral("register")} + propertyKeys();
    int previous = -1;
    for (int i = 0; i < elements.size(); ++i) {
        const Place elementPlace = here.key(QStringLiteral("elements")).at(i);
        const ObjectReader er(elements.at(i), elementPlace);
        er.allowOnly(elementKeys);
        const int index = int(er.integer(QStringLiteral("index"), 0, 65535, i));
        if (index <= previous)
            elementPlace.fail(QStringLiteral("\"index\" %1 must be greater than the previous element's (%2)").arg(index).arg(previous));
        previous = index;
        registers->elements.append(er.value(QStringLiteral("register")));
        registers->elementPlaces.append(elementPlace);
        Properties p = base;
        perElement.apply(i, here, p);
        readProperties(er, p);
        ParameterElementDescription e = finishElement(p, elementPlace);
        e.index = quint16(index);
        if (er.has(QStringLiteral("name")))
            e.text = readText(er.value(QStringLiteral("name")), elementPlace.key(QStringLiteral("name")));
        e.helpIdentifier = er.string(QStringLiteral("help"));
        parameter->elements.append(e);
    }
    return parameter;
}

// Where each living space's registers start, and on which unit id.
QSharedPointer<RegisterMap> readRegisterMap(const QJsonValue& value, const Place& place, int maxAxes)
{
    const ObjectReader r(value, place);
    r.allowOnly({QStringLiteral("device"), QStringLiteral("axes")});
    auto map = QSharedPointer<RegisterMap>::create();
    map->setExplicit(true);
    auto readSpace = [](const ObjectReader& sr) {
        RegisterSpace space;
        space.base = quint32(sr.integer(QStringLiteral("base"), 0, 65535, 0));
        space.unitId = int(sr.integer(QStringLiteral("unitId"), 0, 255, -1));
        return space;
    };
    if (r.has(QStringLiteral("device"))) {
        const ObjectReader dr(r.value(QStringLiteral("device")), place.key(QStringLiteral("device")));
        dr.allowOnly({QStringLiteral("base"), QStringLiteral("unitId")});
        map->setSpace(LivingSpaceDevice, readSpace(dr));
    }
    const QJsonArray axes = r.array(QStringLiteral("axes"));
    QSet<int> numbers;
    for (int i = 0; i < axes.size(); ++i) {
        const ObjectReader ar(axes.at(i), place.key(QStringLiteral("axes")).at(i));
        ar.allowOnly({QStringLiteral("axis"), QStringLiteral("base"), QStringLiteral("unitId")});
        const int axis = int(ar.requiredInteger(QStringLiteral("axis"), 1, maxAxes));
        if (numbers.contains(axis))
            ar.place().fail(QStringLiteral("axis %1 is given twice").arg(axis));
        numbers.insert(axis);
        map->setSpace(axis, readSpace(ar));
    }
    return map;
}

QSharedPointer<DeviceType> readType(const QJsonValue& value, const Place& place)
{
    const ObjectReader r(value, place);
    r.allowOnly({QStringLiteral("name"), QStringLiteral("descriptor"), QStringLiteral("maxAxes"),
        QStringLiteral("helpPages"), QStringLiteral("parameters"), QStringLiteral("registerMap")});
    auto type = QSharedPointer<DeviceType>::create();
    type->name = r.requiredString(QStringLiteral("name"));
    type->descriptor = r.string(QStringLiteral("descriptor"));
    type->maxAxes = int(r.requiredInteger(QStringLiteral("maxAxes"), 1, MaxAxes));

    const QJsonArray pages = r.array(QStringLiteral("helpPages"));
    QSet<QString> pageIds;
    for (int i = 0; i < pages.size(); ++i) {
        const ObjectReader pr(pages.at(i), place.key(QStringLiteral("helpPages")).at(i));
        pr.allowOnly({QStringLiteral("id"), QStringLiteral("title"), QStringLiteral("html")});
        DeviceHelpPage page;
        page.identifier = pr.requiredString(QStringLiteral("id"));
        pr.require(QStringLiteral("title"));
        page.title = pr.string(QStringLiteral("title"));
        pr.require(QStringLiteral("html"));
        page.html = pr.string(QStringLiteral("html"));
        if (pageIds.contains(page.identifier))
            pr.place().fail(QStringLiteral("help page %1 is given twice").arg(quoted(page.identifier)));
        pageIds.insert(page.identifier);
        type->helpPages.append(page);
    }

    QSharedPointer<RegisterMap> map;
    if (r.has(QStringLiteral("registerMap")))
        map = readRegisterMap(r.value(QStringLiteral("registerMap")), place.key(QStringLiteral("registerMap")), type->maxAxes);

    const QJsonArray parameters = r.requiredArray(QStringLiteral("parameters"));
    type->parameters.reserve(parameters.size());
    QHash<quint16, int> positions;
    for (int i = 0; i < parameters.size(); ++i) {
        const Place parameterPlace = place.key(QStringLiteral("parameters")).at(i);
        RegisterSpecs registers;
        QSharedPointer<ParameterDescription> parameter = readParameter(parameters.at(i), parameterPlace, type->maxAxes, &registers);
        if (map)
            map->addSlots(parameter->coordinate, readRegisters(*parameter, registers));
        else if (!registers.parameter.isUndefined())
            registers.place.fail(QStringLiteral("\"register\" needs a \"registerMap\" on the type"));
        else
            for (int e = 0; e < registers.elements.size(); ++e) {
                if (!registers.elements.at(e).isUndefined())
                    registers.elementPlaces.at(e).fail(QStringLiteral("\"register\" needs a \"registerMap\" on the type"));
            }
        KxParameterValues::settle(*parameter);
        const quint16 number = parameter->coordinate.toNumber();
        if (positions.contains(number))
            parameterPlace.withCoordinate(parameter->coordinate)
                .fail(QStringLiteral("coordinate %1 is already used by parameters[%2]").arg(parameter->coordinate.toText()).arg(positions.value(number)));
        positions.insert(number, i);
        type->parameters.append(parameter);
    }
    if (map) {
        const QString overlap = map->overlapProblem(*type);
        if (!overlap.isEmpty())
            place.key(QStringLiteral("registerMap")).fail(overlap);
        type->registerMap = map;
    } else {
        type->registerMap = RegisterMap::derived(*type);
    }
    return type;
}

QString syntaxErrorText(QJsonParseError::ParseError error)
{
    switch (error) {
    case QJsonParseError::UnterminatedObject: return QStringLiteral("unterminated object");
    case QJsonParseError::MissingNameSeparator: return QStringLiteral("missing colon");
    case QJsonParseError::UnterminatedArray: return QStringLiteral("unterminated array");
    case QJsonParseError::MissingValueSeparator: return QStringLiteral("missing comma");
    case QJsonParseError::IllegalValue: return QStringLiteral("illegal value");
    case QJsonParseError::TerminationByNumber: return QStringLiteral("unexpected end after a number");
    case QJsonParseError::IllegalNumber: return QStringLiteral("illegal number");
    case QJsonParseError::IllegalEscapeSequence: return QStringLiteral("illegal escape sequence");
    case QJsonParseError::IllegalUTF8String: return QStringLiteral("illegal UTF-8 text");
    case QJsonParseError::UnterminatedString: return QStringLiteral("unterminated string");
    case QJsonParseError::MissingObject: return QStringLiteral("object expected");
    case QJsonParseError::DeepNesting: return QStringLiteral("too deeply nested");
    case QJsonParseError::DocumentTooLarge: return QStringLiteral("document too large");
    case QJsonParseError::GarbageAtEnd: return QStringLiteral("unexpected text after the end");
    case QJsonParseError::NoError: break;
    }
    return QStringLiteral("error");
}

} // namespace

class DeviceDescription::Private
{
public:
    QSharedPointer<const DeviceType> type(const QString& name) const { return typesByName.value(name); }

    QList<QSharedPointer<const DeviceType>> types;
    QHash<QString, QSharedPointer<const DeviceType>> typesByName;
    QList<ControllerSpec> controllers;
    QSet<QString> files;   // canonical paths already read
    QString error;
};

namespace {

// Reads one description and its includes into its own lists; the caller
// takes them over only when everything was read without failure.
class Loader
{
public:
    Loader(const QHash<QString, QSharedPointer<const DeviceType>>& existingTypes, const QSet<QString>& existingFiles)
        : m_existingTypes(existingTypes)
        , m_existingFiles(existingFiles)
    {
    }

    void readFile(const QString& path, const Place* includedFrom)
    {
        const QFileInfo info(path);
        const QString canonical = info.canonicalFilePath();
        QFile file(path);
        if (canonical.isEmpty() || !file.open(QIODevice::ReadOnly)) {
            const QString problem = QStringLiteral("cannot read %1: %2").arg(quoted(info.fileName()),
                file.errorString().isEmpty() ? QStringLiteral("no such file") : file.errorString());
            if (includedFrom)
                includedFrom->fail(problem);
            throw DescriptionError{info.fileName() + QLatin1String(": ") + problem};
        }
        m_stack.append(canonical);
        files.insert(canonical);
        const QDir directory = info.absoluteDir();
        readBytes(file.readAll(), info.fileName(), &directory, includedFrom != nullptr);
        m_stack.removeLast();
    }

    // `directory` is null for descriptions that are not files: they cannot include.
    void readBytes(const QByteArray& json, const QString& source, const QDir* directory, bool isInclude)
    {
        QJsonParseError parseError;
        const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
        if (parseError.error != QJsonParseError::NoError) {
            int offset = qBound(0, parseError.offset, json.size());
            QJsonParseError::ParseError error = parseError.error;
            // The parser reports a missing comma between two members as an
            // unterminated object, just after the next member's opening quote.
            if (error == QJsonParseError::UnterminatedObject && offset > 0 && json.at(offset - 1) == '"') {
                int before = offset - 2;
                while (before >= 0 && QByteArray(" \t\r\n").contains(json.at(before)))
                    --before;
                if (before >= 0 && json.at(before) != '{' && json.at(before) != ',') {
                    error = QJsonParseError::MissingValueSeparator;
                    --offset;
                }
            }
            int line = 1;
            int lineStart = 0;
            for (int i = 0; i < offset; ++i) {
                if (json.at(i) == '\n') {
                    ++line;
                    lineStart = i + 1;
                }
            }
            const int column = QString::fromUtf8(json.constData() + lineStart, offset - lineStart).size() + 1;
            throw DescriptionError{QStringLiteral("%1:%2:%3: JSON syntax error: %4").arg(source).arg(line).arg(column).arg(syntaxErrorText(error))};
        }
        const Place top(source);
        if (!document.isObject())
            top.fail(QStringLiteral("the description must be a JSON object"));
        const ObjectReader r(document.object(), top);
        r.require(QStringLiteral("format"));
        if (r.string(QStringLiteral("format")) != FormatName)
            top.fail(QStringLiteral("\"format\" must be %1").arg(quoted(FormatName)));
        const int version = int(r.requiredInteger(QStringLiteral("version"), 1, NoLimit));
        if (version > FormatVersion)
            top.fail(QStringLiteral("version %1 is newer than this program understands (%2)").arg(version).arg(FormatVersion));
        r.allowOnly({QStringLiteral("format"), QStringLiteral("version"), QStringLiteral("includes"),
            QStringLiteral("types"), QStringLiteral("controllers")});

        const QJsonArray includes = r.array(QStringLiteral("includes"));
        if (!includes.isEmpty() && !directory)
            top.fail(QStringLiteral("\"includes\" can only be used when reading from a file"));
        for (int i = 0; i < includes.size(); ++i)
            readInclude(includes.at(i), top.key(QStringLiteral("includes")).at(i), *directory);

        const QJsonArray typeList = r.array(QStringLiteral("types"));
        for (int i = 0; i < typeList.size(); ++i) {
            const Place place = top.key(QStringLiteral("types")).at(i);
            QSharedPointer<DeviceType> type = readType(typeList.at(i), place);
            if (findType(type->name))
                place.fail(QStringLiteral("type %1 is already defined").arg(quoted(type->name)));
            types.append(type);
            m_typesByName.insert(type->name, type);
        }

        // An included description contributes its types only.
        if (isInclude)
            return;
        const QJsonArray controllerList = r.array(QStringLiteral("controllers"));
        for (int i = 0; i < controllerList.size(); ++i)
            controllers.append(readController(controllerList.at(i), top.key(QStringLiteral("controllers")).at(i)));
    }

    QList<QSharedPointer<const DeviceType>> types;
    QList<ControllerSpec> controllers;
    QSet<QString> files;

private:
    void readInclude(const QJsonValue& value, const Place& place, const QDir& directory)
    {
        if (!value.isString() || value.toString().isEmpty())
            place.fail(QStringLiteral("must be a file name"));
        const QString path = directory.absoluteFilePath(value.toString());
        const QString canonical = QFileInfo(path).canonicalFilePath();
        if (!canonical.isEmpty() && m_stack.contains(canonical)) {
            QStringList chain;
            for (int i = m_stack.indexOf(canonical); i < m_stack.size(); ++i)
                chain.append(QFileInfo(m_stack.at(i)).fileName());
            chain.append(QFileInfo(canonical).fileName());
            place.fail(QStringLiteral("include cycle: %1").arg(chain.join(QStringLiteral(" -> "))));
        }
        // Shared catalogues included from several places are read once.
        if (!canonical.isEmpty() && (files.contains(canonical) || m_existingFiles.contains(canonical)))
            return;
        readFile(path, &place);
    }

    QSharedPointer<const DeviceType> findType(const QString& name) const
    {
        const QSharedPointer<const DeviceType> type = m_typesByName.value(name);
        return type ? type : m_existingTypes.value(name);
    }

    const QHash<quint16, const ParameterDescription*>& catalogue(const QSharedPointer<const DeviceType>& type)
    {
        auto it = m_catalogues.find(type.data());
        if (it == m_catalogues.end()) {
            it = m_catalogues.insert(type.data(), {});
            for (const auto& parameter : type->parameters)
                it->insert(parameter->coordinate.toNumber(), parameter.data());
        }
        return *it;
    }

    ControllerSpec readController(const QJsonValue& value, const Place& place)
    {
        const ObjectReader r(value, place);
        r.allowOnly({QStringLiteral("name"), QStringLiteral("type"), QStringLiteral("descriptor"), QStringLiteral("online"),
            QStringLiteral("readOnly"), QStringLiteral("axes"), QStringLiteral("values"), QStringLiteral("connection")});
        ControllerSpec controller;
        controller.name = r.requiredString(QStringLiteral("name"));
        const QString typeName = r.requiredString(QStringLiteral("type"));
        controller.type = findType(typeName);
        if (!controller.type)
            place.fail(QStringLiteral("unknown type %1").arg(quoted(typeName)));
        controller.hasDescriptor = r.has(QStringLiteral("descriptor"));
        controller.descriptor = r.string(QStringLiteral("descriptor"));
        controller.online = r.boolean(QStringLiteral("online"), false);
        controller.readOnly = r.boolean(QStringLiteral("readOnly"), false);
        if (r.has(QStringLiteral("connection"))) {
            const ObjectReader cr(r.value(QStringLiteral("connection")), place.key(QStringLiteral("connection")));
            cr.allowOnly({QStringLiteral("host"), QStringLiteral("port"), QStringLiteral("unitId")});
            controller.connection.host = cr.requiredString(QStringLiteral("host"));
            controller.connection.port = int(cr.requiredInteger(QStringLiteral("port"), 1, 65535));
            controller.connection.unitId = int(cr.integer(QStringLiteral("unitId"), 0, 255, 1));
        }

        static const QRegularExpression colorPattern(QStringLiteral("^#[0-9A-Fa-f]{6}$"));
        const QJsonArray axes = r.requiredArray(QStringLiteral("axes"));
        QSet<int> numbers;
        for (int i = 0; i < axes.size(); ++i) {
            const ObjectReader ar(axes.at(i), place.key(QStringLiteral("axes")).at(i));
            ar.allowOnly({QStringLiteral("number"), QStringLiteral("name"), QStringLiteral("markingColor"), QStringLiteral("fault")});
            AxisSpec axis;
            axis.number = int(ar.requiredInteger(QStringLiteral("number"), 1, controller.type->maxAxes));
            if (numbers.contains(axis.number))
                ar.place().fail(QStringLiteral("axis %1 is given twice").arg(axis.number));
            numbers.insert(axis.number);
            axis.name = ar.string(QStringLiteral("name"), QCoreApplication::translate("DeviceDescription", "Achse %1").arg(axis.number));
            if (ar.has(QStringLiteral("markingColor"))) {
                const QString color = ar.string(QStringLiteral("markingColor"));
                if (!colorPattern.match(color).hasMatch())
                    ar.place().fail(QStringLiteral("\"markingColor\" must be a colour like \"#1f77b4\""));
                axis.markingColor = QColor(color);
            }
            axis.fault = ar.boolean(QStringLiteral("fault"), false);
            controller.axes.append(axis);
        }

        const QHash<quint16, const ParameterDescription*>& parameters = catalogue(controller.type);
        const QJsonArray values = r.array(QStringLiteral("values"));
        QSet<ParameterAddress> given;
        for (int i = 0; i < values.size(); ++i) {
            const Place valuePlace = place.key(QStringLiteral("values")).at(i);
            ObjectReader vr(values.at(i), valuePlace);
            const QString coordinateText = vr.requiredString(QStringLiteral("coordinate"));
            const ParameterCoordinate coordinate(coordinateText);
            if (!coordinate.isValid())
                valuePlace.fail(QStringLiteral("\"coordinate\" %1 is not a coordinate (a letter and two or three digits)").arg(quoted(coordinateText)));
            const Place here = valuePlace.withCoordinate(coordinate);
            vr.setPlace(here);
            vr.allowOnly({QStringLiteral("coordinate"), QStringLiteral("axis"), QStringLiteral("element"), QStringLiteral("value")});
            const ParameterDescription* parameter = parameters.value(coordinate.toNumber());
            if (!parameter)
                here.fail(QStringLiteral("type %1 has no parameter %2").arg(quoted(controller.type->name), coordinate.toText()));
            const int axis = int(vr.integer(QStringLiteral("axis"), 0, MaxAxes, 0));
            if (parameter->global && axis != 0)
                here.fail(QStringLiteral("%1 is device-wide and takes axis 0 or none, not %2").arg(coordinate.toText()).arg(axis));
            if (!parameter->global) {
                if (axis == 0)
                    here.fail(QStringLiteral("\"axis\" is required for the per-axis parameter %1").arg(coordinate.toText()));
                if (!numbers.contains(axis))
                    here.fail(QStringLiteral("the controller has no axis %1").arg(axis));
                if (!parameter->definedIn.isEmpty() && !parameter->definedIn.contains(axis))
                    here.fail(QStringLiteral("%1 is not defined in axis %2").arg(coordinate.toText()).arg(axis));
            }
            const int index = int(vr.integer(QStringLiteral("element"), 0, 65535, 0));
            const ParameterElementDescription* element = KxParameterValues::findElement(*parameter, quint16(index));
            if (!element)
                here.fail(QStringLiteral("%1 has no element %2").arg(coordinate.toText()).arg(index));
            if (!element->hasValue)
                here.fail(QStringLiteral("element %1 of %2 carries no value").arg(index).arg(coordinate.toText()));
            vr.require(QStringLiteral("value"));
            ValueSpec spec;
            spec.address = ParameterAddress(coordinate, quint16(index), axis);
            spec.raw = checkedValue(vr.value(QStringLiteral("value")), *element, here, QStringLiteral("\"value\""));
            if (given.contains(spec.address))
                here.fail(QStringLiteral("a value for %1 is already given").arg(spec.address.toText()));
            given.insert(spec.address);
            controller.values.append(spec);
        }
        return controller;
    }

    const QHash<QString, QSharedPointer<const DeviceType>>& m_existingTypes;
    const QSet<QString>& m_existingFiles;
    QHash<QString, QSharedPointer<const DeviceType>> m_typesByName;
    QHash<const DeviceType*, QHash<quint16, const ParameterDescription*>> m_catalogues;
    QStringList m_stack;
};

} // namespace

DeviceDescription::DeviceDescription()
    : d(new Private)
{
}

DeviceDescription::~DeviceDescription() = default;

bool DeviceDescription::loadFile(const QString& path)
{
    Loader loader(d->typesByName, d->files);
    try {
        loader.readFile(path, nullptr);
    } catch (const DescriptionError& error) {
        d->error = error.message;
        return false;
    }
    for (const auto& type : qAsConst(loader.types)) {
        d->types.append(type);
        d->typesByName.insert(type->name, type);
    }
    d->controllers += loader.controllers;
    d->files += loader.files;
    d->error.clear();
    return true;
}

bool DeviceDescription::loadBytes(const QByteArray& json, const QString& sourceName)
{
    Loader loader(d->typesByName, d->files);
    try {
        loader.readBytes(json, sourceName, nullptr, false);
    } catch (const DescriptionError& error) {
        d->error = error.message;
        return false;
    }
    for (const auto& type : qAsConst(loader.types)) {
        d->types.append(type);
        d->typesByName.insert(type->name, type);
    }
    d->controllers += loader.controllers;
    d->error.clear();
    return true;
}

QString DeviceDescription::errorMessage() const
{
    return d->error;
}

QList<QSharedPointer<const DeviceType>> DeviceDescription::types() const
{
    return d->types;
}

QSharedPointer<const DeviceType> DeviceDescription::type(const QString& name) const
{
    return d->type(name);
}

QList<DriveController*> DeviceDescription::createControllers(QObject* parent) const
{
    HelpSystem* help = System::instance().helpSystem(QStringLiteral("parameter"));
    for (const auto& type : qAsConst(d->types)) {
        for (const DeviceHelpPage& page : type->helpPages)
            help->registerPage(page.identifier, page.title, page.html);
    }

    QList<DriveController*> controllers;
    for (const ControllerSpec& spec : qAsConst(d->controllers)) {
        auto* controller = new DriveController(spec.type, spec.name, parent);
        if (spec.hasDescriptor)
            controller->setDescriptorText(spec.descriptor);
        for (const AxisSpec& axis : spec.axes) {
            controller->addAxis(axis.number, axis.name);
            if (axis.markingColor.isValid())
                controller->setMarkingColor(axis.number, axis.markingColor);
            controller->setAxisFault(axis.number, axis.fault);
        }
        ParameterProvider* provider = controller->parameterProvider();
        for (const ValueSpec& value : spec.values)
            provider->setInitialValue(value.address, value.raw);
        provider->setReadOnly(spec.readOnly);
        if (spec.connection.isValid()) {
            controller->setConnectionSettings(spec.connection);
            controller->markSaved();
        }
        controller->setOnline(spec.online);
        controllers.append(controller);
    }
    return controllers;
}

namespace {

QList<DriveController*> controllersOf(const DeviceDescription& description, bool loaded, QObject* parent, QString* error)
{
    if (error)
        *error = loaded ? QString() : description.errorMessage();
    return loaded ? description.createControllers(parent) : QList<DriveController*>();
}

} // namespace

QList<DriveController*> DeviceDescription::controllersFromBytes(const QByteArray& json, QObject* parent, QString* error)
{
    DeviceDescription description;
    const bool loaded = description.loadBytes(json);
    return controllersOf(description, loaded, parent, error);
}

QList<DriveController*> DeviceDescription::controllersFromFile(const QString& path, QObject* parent, QString* error)
{
    DeviceDescription description;
    const bool loaded = description.loadFile(path);
    return controllersOf(description, loaded, parent, error);
}
