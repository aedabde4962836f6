#include "ParameterAddress.h"

#include <QHash>
#include <QRegularExpression>

namespace {

// Queued connections carry addresses and coordinates between threads and
// through the event loop; their types must be known by name before the first
// connection is made.
struct MetaTypeRegistration
{
    MetaTypeRegistration()
    {
        qRegisterMetaType<ParameterCoordinate>("ParameterCoordinate");
        qRegisterMetaType<ParameterAddress>("ParameterAddress");
    }
} metaTypeRegistration;

const QRegularExpression& addressPattern()
{
    // living space ("2." or "-." of the sortable form), coordinate, element
    static const QRegularExpression pattern(
        QStringLiteral("^(?:(\\d{1,3}|-)\\.)?([A-Za-z]\\d{2,3})(?:\\[(\\d{1,5})\\])?$"));
    return pattern;
}

} // namespace

ParameterAddress::ParameterAddress() = default;

ParameterAddress::ParameterAddress(const ParameterCoordinate& coordinate, quint16 element, eLivingSpace livingSpace)
    : m_coordinate(coordinate)
    , m_element(element)
    , m_livingSpace(livingSpace)
    , m_valid(coordinate.isValid())
    , m_hasElement(true)
{
}

ParameterAddress::ParameterAddress(const QString& text, bool lenient)
{
    const QString input = lenient ? text.trimmed() : text;
    const QRegularExpressionMatch match = addressPattern().match(input);
    if (!match.hasMatch())
        return;
    const QString coordinateText = match.captured(2);
    if (!lenient && coordinateText.at(0).isLower())
        return;
    bool ok = true;
    if (match.capturedLength(3) > 0) {
        const uint element = match.captured(3).toUInt(&ok);
        if (!ok || element > 0xFFFF)
            return;
        m_element = quint16(element);
        m_hasElement = true;
    }
    const QString space = match.captured(1);
    if (!space.isEmpty() && space != QLatin1String("-"))
        m_livingSpace = space.toInt();
    m_coordinate = ParameterCoordinate(coordinateText);
    m_valid = m_coordinate.isValid();
}

ParameterAddress::ParameterAddress(const ParameterAddress& other) = default;
ParameterAddress& ParameterAddress::operator=(const ParameterAddress& other) = default;
ParameterAddress::~ParameterAddress() = default;

bool ParameterAddress::isValid() const
{
    return m_valid;
}

ParameterCoordinate ParameterAddress::coordinate() const
{
    return m_coordinate;
}

quint16 ParameterAddress::element() const
{
    return m_element;
}

bool ParameterAddress::hasElement() const
{
    return m_hasElement;
}

eLivingSpace ParameterAddress::livingSpace() const
{
    return m_livingSpace;
}

QString ParameterAddress::toText() const
{
    if (!m_valid)
        return QString();
    QString text;
    if (m_livingSpace != LivingSpaceNone)
        text = QString::number(m_livingSpace) + QLatin1Char('.');
    text += m_coordinate.toText();
    if (m_hasElement)
        text += QLatin1Char('[') + QString::number(m_element) + QLatin1Char(']');
    return text;
}

QString ParameterAddress::toSortableText() const
{
    if (!m_valid)
        return QString();
    // Two digits, so that axes 10 to 16 sort after axis 9.
    const QString space = m_livingSpace == LivingSpaceNone ? QStringLiteral("-")
                                                           : QString::number(m_livingSpace).rightJustified(2, QLatin1Char('0'));
    return space + QLatin1Char('.') + m_coordinate.letter()
        + QString::number(m_coordinate.index()).rightJustified(3, QLatin1Char('0'))
        + QLatin1Char('[') + QString::number(m_element).rightJustified(5, QLatin1Char('0')) + QLatin1Char(']');
}

bool ParameterAddress::operator==(const ParameterAddress& other) const
{
    if (m_valid != other.m_valid)
        return false;
    if (!m_valid)
        return true;
    return m_coordinate == other.m_coordinate && m_element == other.m_element && m_livingSpace == other.m_livingSpace;
}

uint qHash(const ParameterAddress& address, uint seed)
{
    if (!address.isValid())
        return seed;
    const quint64 key = (quint64(address.coordinate().toNumber()) << 48) | (quint64(address.element()) << 32)
        | quint32(address.livingSpace());
    return qHash(key, seed);
}
