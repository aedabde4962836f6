#include "ParameterCoordinate.h"

#include <QHash>

namespace {

constexpr int LetterCount = 26;
constexpr int IndicesPerLetter = 1000;

// 0 when `text` is not a coordinate.
quint16 parseCoordinate(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.size() < 3 || trimmed.size() > 4)
        return 0;
    const QChar letter = trimmed.at(0).toUpper();
    if (letter < QLatin1Char('A') || letter > QLatin1Char('Z'))
        return 0;
    int index = 0;
    for (int i = 1; i < trimmed.size(); ++i) {
        const QChar c = trimmed.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return 0;
        index = index * 10 + (c.unicode() - '0');
    }
    return quint16((letter.unicode() - 'A') * IndicesPerLetter + index + 1);
}

} // namespace

ParameterCoordinate::ParameterCoordinate() = default;

ParameterCoordinate::ParameterCoordinate(const QString& text)
    : m_number(parseCoordinate(text))
{
    if (m_number == 0)
        m_invalidText = text;
}

ParameterCoordinate::ParameterCoordinate(quint16 number)
    : m_number(number <= LetterCount * IndicesPerLetter ? number : 0)
{
}

ParameterCoordinate::ParameterCoordinate(const ParameterCoordinate& other) = default;
ParameterCoordinate& ParameterCoordinate::operator=(const ParameterCoordinate& other) = default;
ParameterCoordinate::~ParameterCoordinate() = default;

bool ParameterCoordinate::isValid() const
{
    return m_number != 0;
}

QChar ParameterCoordinate::letter() const
{
    if (!isValid())
        return QChar();
    return QChar(ushort('A' + (m_number - 1) / IndicesPerLetter));
}

int ParameterCoordinate::index() const
{
    return isValid() ? (m_number - 1) % IndicesPerLetter : -1;
}

QString ParameterCoordinate::toText() const
{
    if (!isValid())
        return m_invalidText;
    // Written in place: every row of every list shown asks for it.
    int i = index();
    const int digits = i < 100 ? 2 : (i < 1000 ? 3 : (i < 10000 ? 4 : 5));
    QString text(1 + digits, Qt::Uninitialized);
    QChar* out = text.data();
    out[0] = letter();
    for (int d = digits; d >= 1; --d, i /= 10)
        out[d] = QLatin1Char(char('0' + i % 10));
    return text;
}

quint16 ParameterCoordinate::toNumber() const
{
    return m_number;
}

bool ParameterCoordinate::operator<(const ParameterCoordinate& other) const
{
    if (m_number != other.m_number)
        return m_number < other.m_number;
    return m_number == 0 && m_invalidText < other.m_invalidText;
}

bool ParameterCoordinate::operator==(const ParameterCoordinate& other) const
{
    return m_number == other.m_number && (m_number != 0 || m_invalidText == other.m_invalidText);
}

uint qHash(const ParameterCoordinate& coordinate, uint seed)
{
    if (coordinate.isValid())
        return qHash(coordinate.toNumber(), seed);
    return qHash(coordinate.toText(), seed);
}
