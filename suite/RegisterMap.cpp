#include "RegisterMap.h"

#include "DeviceType.h"
#include "ParameterValues_p.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace {

constexpr int MaxSpaces = 17;   // device-wide and axes 1..16
constexpr quint32 RegisterSpaceSize = 65536;
// A text of unlimited length gets this many registers in the default map.
constexpr quint16 DefaultTextRegisters = 16;
// Long texts are capped so that one of them always fits one read request.
constexpr quint16 MaxTextRegisters = 60;

struct Range
{
    double low;
    double high;
};

Range rangeOf(RegisterSlot::Type type)
{
    switch (type) {
    case RegisterSlot::Int16: return {-32768.0, 32767.0};
    case RegisterSlot::UInt16: return {0.0, 65535.0};
    case RegisterSlot::Int32: return {-2147483648.0, 2147483647.0};
    case RegisterSlot::UInt32: return {0.0, 4294967295.0};
    case RegisterSlot::Float32: return {-double(std::numeric_limits<float>::max()), double(std::numeric_limits<float>::max())};
    case RegisterSlot::String: break;
    }
    return {0, 0};
}

bool isInteger(RegisterSlot::Type type)
{
    return type != RegisterSlot::Float32 && type != RegisterSlot::String;
}

void putWords(quint32 value, const RegisterSlot& slot, QVector<quint16>& out)
{
    const quint16 high = quint16(value >> 16);
    const quint16 low = quint16(value & 0xFFFF);
    out = slot.lowWordFirst ? QVector<quint16>{low, high} : QVector<quint16>{high, low};
}

quint32 getWords(const RegisterSlot& slot, const quint16* registers)
{
    const quint16 first = registers[0];
    const quint16 second = registers[1];
    return slot.lowWordFirst ? (quint32(second) << 16 | first) : (quint32(first) << 16 | second);
}

} // namespace

QString RegisterSlot::typeName(Type type)
{
    static const char* const names[] = {"int16", "uint16", "int32", "uint32", "float32", "string"};
    return QString::fromLatin1(names[type]);
}

int RegisterSlot::registerCount(Type type)
{
    switch (type) {
    case Int16:
    case UInt16: return 1;
    case Int32:
    case UInt32:
    case Float32: return 2;
    case String: break;
    }
    return 0;
}

class RegisterMap::Private
{
public:
    QHash<quint16, QVector<RegisterSlot>> registerSlots;   // by coordinate number
    RegisterSpace spaces[MaxSpaces];
    QString error;
    bool isExplicit = false;
};

RegisterMap::RegisterMap()
    : d(new Private)
{
}

RegisterMap::~RegisterMap() = default;

QSharedPointer<const RegisterMap> RegisterMap::derived(const DeviceType& type)
{
    auto map = QSharedPointer<RegisterMap>::create();
    for (int space = 0; space < MaxSpaces; ++space)
        map->d->spaces[space].base = quint32(space) * DefaultSpaceWindow;
    // Device-wide parameters fill window 0; per-axis ones have the same layout in every axis's window.
    quint32 next[2] = {0, 0};
    for (const auto& parameter : type.parameters) {
        // A std::vector: GCC's overflow check misreads QVector::append of this struct.
        std::vector<RegisterSlot> registerSlots;
        quint32& cursor = next[parameter->global ? 0 : 1];
        for (const ParameterElementDescription& element : parameter->elements) {
            if (!element.hasValue)
                continue;
            RegisterSlot slot;
            slot.element = element.index;
            switch (element.kind) {
            case ValueKindNumber:
                slot.scale = std::pow(10.0, -element.decimals);
                slot.type = RegisterSlot::Int32;
                if (!slotProblem(element, slot).isEmpty()) {
                    slot.type = RegisterSlot::Float32;
                    slot.scale = 1;
                }
                break;
            case ValueKindChoice:
                slot.type = RegisterSlot::Int32;
                break;
            case ValueKindSwitch:
                slot.type = RegisterSlot::UInt16;
                break;
            case ValueKindText:
                slot.type = RegisterSlot::String;
                slot.count = element.maximum > 0 ? quint16(std::min<double>(MaxTextRegisters, std::ceil(element.maximum / 2))) : DefaultTextRegisters;
                break;
            }
            if (slot.type != RegisterSlot::String)
                slot.count = quint16(RegisterSlot::registerCount(slot.type));
            const QString problem = slotProblem(element, slot);
            if (!problem.isEmpty()) {
                map->d->error = QStringLiteral("%1: %2[%3]: %4").arg(type.name, parameter->coordinate.toText()).arg(element.index).arg(problem);
                return map;
            }
            slot.offset = cursor;
            cursor += slot.count;
            if (cursor > DefaultSpaceWindow) {
                map->d->error = QStringLiteral("%1: the default register map has no room for %2: the registers of one living space "
                                               "(%3) are used up; give the type an explicit \"registerMap\"")
                                    .arg(type.name, parameter->coordinate.toText())
                                    .arg(DefaultSpaceWindow);
                return map;
            }
            registerSlots.push_back(slot);
        }
        map->d->registerSlots.insert(parameter->coordinate.toNumber(), QVector<RegisterSlot>(registerSlots.begin(), registerSlots.end()));
    }
    return map;
}

QSharedPointer<const RegisterMap> RegisterMap::of(const DeviceType& type)
{
    return type.registerMap ? type.registerMap : derived(type);
}

bool RegisterMap::isValid() const
{
    return d->error.isEmpty();
}

QString RegisterMap::errorMessage() const
{
    return d->error;
}

bool RegisterMap::isExplicit() const
{
    return d->isExplicit;
}

RegisterLocation RegisterMap::locate(const ParameterCoordinate& coordinate, eLivingSpace valueSpace, quint16 element) const
{
    RegisterLocation location;
    if (valueSpace < 0 || valueSpace >= MaxSpaces || !isValid())
        return location;
    const auto it = d->registerSlots.constFind(coordinate.toNumber());
    if (it == d->registerSlots.cend())
        return location;
    for (const RegisterSlot& slot : *it) {
        if (slot.element != element)
            continue;
        const RegisterSpace& space = d->spaces[valueSpace];
        location.unitId = space.unitId;
        location.address = quint16(space.base + slot.offset);
        location.slot = &slot;
        break;
    }
    return location;
}

QVector<RegisterSlot> RegisterMap::registerSlots(const ParameterCoordinate& coordinate) const
{
    return d->registerSlots.value(coordinate.toNumber());
}

RegisterSpace RegisterMap::space(eLivingSpace valueSpace) const
{
    return valueSpace >= 0 && valueSpace < MaxSpaces ? d->spaces[valueSpace] : RegisterSpace();
}

QString RegisterMap::slotProblem(const ParameterElementDescription& element, const RegisterSlot& slot)
{
    const bool text = element.kind == ValueKindText;
    if (text != (slot.type == RegisterSlot::String))
        return text ? QStringLiteral("a text needs the type \"string\"") : QStringLiteral("only texts can have the type \"string\"");
    if (text)
        return slot.count < 1 || slot.count > 123 ? QStringLiteral("a string takes 1 to 123 registers") : QString();
    if (!(slot.scale > 0))
        return QStringLiteral("the scale must be greater than 0");
    const Range range = rangeOf(slot.type);
    auto fits = [&](double value) {
        const double scaled = element.kind == ValueKindNumber ? value / slot.scale : value;
        const double stored = isInteger(slot.type) ? std::round(scaled) : scaled;
        return stored >= range.low && stored <= range.high;
    };
    if (element.kind == ValueKindChoice) {
        for (const ParameterChoice& choice : element.choices) {
            if (!fits(double(choice.value)))
                return QStringLiteral("choice value %1 does not fit %2").arg(choice.value).arg(RegisterSlot::typeName(slot.type));
        }
        return QString();
    }
    if (!fits(element.minimum) || !fits(element.maximum))
        return QStringLiteral("the limits %1..%2 do not fit %3 with scale %4")
            .arg(QString::number(element.minimum, 'g', 15), QString::number(element.maximum, 'g', 15), RegisterSlot::typeName(slot.type),
                QString::number(slot.scale, 'g', 15));
    return QString();
}

QVector<quint16> RegisterMap::encode(const ParameterElementDescription& element, const RegisterSlot& slot, const QString& raw, QString* problem)
{
    QVector<quint16> registers;
    if (slot.type == RegisterSlot::String) {
        const QByteArray bytes = raw.toUtf8();
        if (bytes.size() > 2 * slot.count) {
            *problem = tr("Der Text ist l\u00E4nger als die %1 Bytes, die das Ger\u00E4t daf\u00FCr hat.").arg(2 * slot.count);
            return registers;
        }
        registers.fill(0, slot.count);
        for (int i = 0; i < bytes.size(); ++i)
            registers[i / 2] |= quint16(quint8(bytes.at(i))) << (i % 2 ? 0 : 8);
        return registers;
    }
    bool ok = false;
    double value = raw.toDouble(&ok);
    if (!ok) {
        *problem = tr("Der Wert \u201E%1\u201C ist keine Zahl.").arg(raw);
        return registers;
    }
    if (element.kind == ValueKindNumber)
        value /= slot.scale;
    if (slot.type == RegisterSlot::Float32) {
        const float single = float(value);
        quint32 bits = 0;
        std::memcpy(&bits, &single, sizeof bits);
        putWords(bits, slot, registers);
        return registers;
    }
    const double rounded = std::round(value);
    const Range range = rangeOf(slot.type);
    if (rounded < range.low || rounded > range.high) {
        *problem = tr("Der Wert %1 passt nicht in das Register des Ger\u00E4ts (%2).").arg(raw, RegisterSlot::typeName(slot.type));
        return registers;
    }
    const qint64 integer = qint64(rounded);
    if (RegisterSlot::registerCount(slot.type) == 1)
        registers = {quint16(integer & 0xFFFF)};
    else
        putWords(quint32(integer & 0xFFFFFFFF), slot, registers);
    return registers;
}

QString RegisterMap::decode(const ParameterElementDescription& element, const RegisterSlot& slot, const quint16* registers)
{
    if (slot.type == RegisterSlot::String) {
        QByteArray bytes;
        for (int i = 0; i < slot.count; ++i) {
            bytes.append(char(registers[i] >> 8));
            bytes.append(char(registers[i] & 0xFF));
        }
        const int end = bytes.indexOf('\0');
        return QString::fromUtf8(end < 0 ? bytes : bytes.left(end));
    }
    double value = 0;
    switch (slot.type) {
    case RegisterSlot::Int16: value = qint16(registers[0]); break;
    case RegisterSlot::UInt16: value = registers[0]; break;
    case RegisterSlot::Int32: value = qint32(getWords(slot, registers)); break;
    case RegisterSlot::UInt32: value = getWords(slot, registers); break;
    case RegisterSlot::Float32: {
        const quint32 bits = getWords(slot, registers);
        float single = 0;
        std::memcpy(&single, &bits, sizeof single);
        value = double(single);
        break;
    }
    case RegisterSlot::String: break;
    }
    // Already the form the set-ups keep, so that an unchanged value compares equal.
    if (element.kind != ValueKindNumber)
        return QString::number(qint64(value));
    return KxParameterValues::formatNumber(value * slot.scale, element.decimals);
}

void RegisterMap::setExplicit(bool isExplicit)
{
    d->isExplicit = isExplicit;
}

void RegisterMap::setSpace(eLivingSpace valueSpace, const RegisterSpace& space)
{
    if (valueSpace >= 0 && valueSpace < MaxSpaces)
        d->spaces[valueSpace] = space;
}

void RegisterMap::addSlots(const ParameterCoordinate& coordinate, const QVector<RegisterSlot>& registerSlots)
{
    d->registerSlots.insert(coordinate.toNumber(), registerSlots);
}

void RegisterMap::setError(const QString& message)
{
    d->error = message;
}

QString RegisterMap::overlapProblem(const DeviceType& type) const
{
    struct Use
    {
        int unitId;
        quint32 first;
        quint32 last;
        eLivingSpace space;
        QString what;
    };
    QVector<Use> uses;
    for (const auto& parameter : type.parameters) {
        QList<int> spaces;
        if (parameter->global)
            spaces.append(LivingSpaceDevice);
        else if (!parameter->definedIn.isEmpty())
            spaces = parameter->definedIn;
        else
            for (int axis = 1; axis <= type.maxAxes; ++axis)
                spaces.append(axis);
        for (const RegisterSlot& slot : d->registerSlots.value(parameter->coordinate.toNumber())) {
            for (int space : qAsConst(spaces)) {
                const RegisterSpace& where = d->spaces[space];
                const quint32 first = where.base + slot.offset;
                const QString what = QStringLiteral("%1[%2]").arg(parameter->coordinate.toText()).arg(slot.element);
                if (first + slot.count > RegisterSpaceSize)
                    return QStringLiteral("%1 in living space %2 lies beyond register 65535").arg(what).arg(space);
                uses.append(Use{where.unitId, first, first + slot.count - 1, space, what});
            }
        }
    }
    std::sort(uses.begin(), uses.end(), [](const Use& a, const Use& b) {
        return a.unitId != b.unitId ? a.unitId < b.unitId : a.first < b.first;
    });
    // Compared with the use reaching furthest so far, so that a long string
    // overlapping several later values is found too.
    int furthest = 0;
    for (int i = 1; i < uses.size(); ++i) {
        const Use& a = uses.at(furthest);
        const Use& b = uses.at(i);
        if (a.unitId == b.unitId && b.first <= a.last)
            return QStringLiteral("registers %1..%2 of %3 (living space %4) overlap those of %5 (living space %6)")
                .arg(b.first).arg(b.last).arg(b.what).arg(b.space).arg(a.what).arg(a.space);
        if (a.unitId != b.unitId || b.last > a.last)
            furthest = i;
    }
    return QString();
}
