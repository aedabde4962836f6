#include "IniParser.h"

#include <QHash>

#include <algorithm>
#include <vector>

namespace RnIniParser {

namespace {

enum class Field { SectionName, Key, Value };

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Length of the well-formed UTF-8 sequence at data[0], 0 when there is none.
// Overlong forms, surrogates and code points beyond U+10FFFF do not count:
// an editor would not keep them as they are.
int utf8SequenceLength(const char* data, int available)
{
    const auto lead = static_cast<uchar>(data[0]);
    if (lead < 0x80)
        return 1;
    int length = 0;
    uint codePoint = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07u;
    } else {
        return 0;
    }
    if (available < length)
        return 0;
    for (int i = 1; i < length; ++i) {
        const auto continuation = static_cast<uchar>(data[i]);
        if ((continuation & 0xC0u) != 0x80u)
            return 0;
        codePoint = (codePoint << 6) | (continuation & 0x3Fu);
    }
    if (length == 3 && (codePoint < 0x800 || (codePoint >= 0xD800 && codePoint <= 0xDFFF)))
        return 0;
    if (length == 4 && (codePoint < 0x10000 || codePoint > 0x10FFFF))
        return 0;
    // C1 control characters are invisible in editors and NEL even breaks
    // lines in some of them.
    if (length == 2 && codePoint < 0xA0)
        return 0;
    return length;
}

void appendHexEscape(QByteArray& out, uchar byte)
{
    static const char digits[] = "0123456789ABCDEF";
    out += "\\x";
    out += digits[byte >> 4];
    out += digits[byte & 0x0F];
}

QByteArray escape(const QByteArray& in, Field field)
{
    const int size = in.size();
    int leadingBlanks = 0;
    while (leadingBlanks < size && isBlank(in.at(leadingBlanks)))
        ++leadingBlanks;
    int trailingStart = size;
    while (trailingStart > leadingBlanks && isBlank(in.at(trailingStart - 1)))
        --trailingStart;

    QByteArray out;
    out.reserve(size + size / 8 + 4);
    for (int i = 0; i < size; ++i) {
        const char c = in.at(i);
        if (i < leadingBlanks || i >= trailingStart) {
            out += c == ' ' ? "\\x20" : "\\t";
            continue;
        }
        switch (c) {
        case '\\':
            out += "\\\\";
            continue;
        case '\n':
            out += "\\n";
            continue;
        case '\r':
            out += "\\r";
            continue;
        case '\t':
            out += "\\t";
            continue;
        case '=':
            if (field == Field::Key) {
                out += "\\=";
                continue;
            }
            break;
        case '[':
        case ']':
            if (field == Field::SectionName || (field == Field::Key && i == 0 && c == '[')) {
                out += '\\';
                out += c;
                continue;
            }
            break;
        case ';':
        case '#':
            if (field == Field::Key && i == 0) {
                out += '\\';
                out += c;
                continue;
            }
            break;
        default:
            break;
        }
        const auto byte = static_cast<uchar>(c);
        if (byte < 0x20 || byte == 0x7F) {
            appendHexEscape(out, byte);
        } else if (byte < 0x80) {
            out += c;
        } else {
            const int length = utf8SequenceLength(in.constData() + i, size - i);
            if (length == 0) {
                appendHexEscape(out, byte);
            } else {
                out.append(in.constData() + i, length);
                i += length - 1;
            }
        }
    }
    return out;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

QByteArray unescape(const QByteArray& in)
{
    if (!in.contains('\\'))
        return in;
    const int size = in.size();
    QByteArray out;
    out.reserve(size);
    for (int i = 0; i < size; ++i) {
        const char c = in.at(i);
        if (c != '\\' || i + 1 == size) {
            out += c;
            continue;
        }
        const char next = in.at(i + 1);
        switch (next) {
        case '\\':
        case '=':
        case '[':
        case ']':
        case ';':
        case '#':
            out += next;
            ++i;
            break;
        case 'n':
            out += '\n';
            ++i;
            break;
        case 'r':
            out += '\r';
            ++i;
            break;
        case 't':
            out += '\t';
            ++i;
            break;
        case '0':
            out += '\0';
            ++i;
            break;
        case 'x': {
            const int high = i + 2 < size ? hexValue(in.at(i + 2)) : -1;
            const int low = i + 3 < size ? hexValue(in.at(i + 3)) : -1;
            if (high >= 0 && low >= 0) {
                out += static_cast<char>((high << 4) | low);
                i += 3;
            } else {
                out += c;
            }
            break;
        }
        default:
            // Hand-written texts (Windows paths, say) keep their backslashes.
            out += c;
            break;
        }
    }
    return out;
}

QByteArray trimmedBlanks(const char* begin, const char* end)
{
    while (begin < end && isBlank(*begin))
        ++begin;
    while (end > begin && isBlank(end[-1]))
        --end;
    return QByteArray(begin, int(end - begin));
}

int indexOfUnescaped(const char* begin, const char* end, char wanted)
{
    for (const char* p = begin; p < end; ++p) {
        if (*p == '\\')
            ++p;
        else if (*p == wanted)
            return int(p - begin);
    }
    return -1;
}

} // namespace

class IniSectionPrivate
{
public:
    QByteArray name;
    QList<QByteArray> keys;
    QHash<QByteArray, QByteArray> values;
};

IniSection::IniSection(const QByteArray& name)
    : d(new IniSectionPrivate)
{
    d->name = name;
}

IniSection::~IniSection() = default;

QByteArray IniSection::name() const
{
    return d->name;
}

QList<QByteArray> IniSection::keys() const
{
    return d->keys;
}

QByteArray IniSection::value(const QByteArray& key) const
{
    return d->values.value(key);
}

bool IniSection::contains(const QByteArray& key) const
{
    return d->values.contains(key);
}

void IniSection::setValue(const QByteArray& key, const QByteArray& value)
{
    auto it = d->values.find(key);
    if (it != d->values.end()) {
        *it = value;
        return;
    }
    d->keys.append(key);
    d->values.insert(key, value);
}

void IniSection::removeKey(const QByteArray& key)
{
    if (d->values.remove(key) > 0)
        d->keys.removeOne(key);
}

class IniParserPrivate
{
public:
    ~IniParserPrivate() { clear(); }

    void clear()
    {
        for (IniSection* section : sections)
            delete section;
        sections.clear();
        byName.clear();
    }

    std::vector<IniSection*> sections;
    QHash<QByteArray, IniSection*> byName;
};

IniParser::IniParser()
    : d(new IniParserPrivate)
{
}

IniParser::~IniParser() = default;

IniSection* IniParser::createSection(const QByteArray& name)
{
    if (IniSection* existing = d->byName.value(name))
        return existing;
    auto* section = new IniSection(name);
    d->sections.push_back(section);
    d->byName.insert(name, section);
    return section;
}

IniSection* IniParser::section(const QByteArray& name) const
{
    return d->byName.value(name);
}

QList<QByteArray> IniParser::sectionNames() const
{
    QList<QByteArray> names;
    names.reserve(int(d->sections.size()));
    for (const IniSection* section : d->sections)
        names.append(section->d->name);
    return names;
}

void IniParser::removeSection(const QByteArray& name)
{
    IniSection* section = d->byName.take(name);
    if (!section)
        return;
    d->sections.erase(std::find(d->sections.begin(), d->sections.end(), section));
    delete section;
}

void IniParser::clear()
{
    d->clear();
}

QByteArray IniParser::getIniText() const
{
    QByteArray text;
    bool first = true;
    for (const IniSection* section : d->sections) {
        if (!first)
            text += '\n';
        first = false;
        text += '[';
        text += escape(section->d->name, Field::SectionName);
        text += "]\n";
        for (const QByteArray& key : qAsConst(section->d->keys)) {
            text += escape(key, Field::Key);
            text += '=';
            text += escape(section->d->values.value(key), Field::Value);
            text += '\n';
        }
    }
    return text;
}

void IniParser::setIniText(const QByteArray& text)
{
    d->clear();
    const char* p = text.constData();
    const char* const end = p + text.size();
    if (text.startsWith("\xEF\xBB\xBF"))
        p += 3;

    IniSection* current = nullptr;
    while (p < end) {
        const char* lineEnd = p;
        while (lineEnd < end && *lineEnd != '\n' && *lineEnd != '\r')
            ++lineEnd;
        const char* begin = p;
        const char* stop = lineEnd;
        p = lineEnd + 1;

        while (begin < stop && isBlank(*begin))
            ++begin;
        while (stop > begin && isBlank(stop[-1]))
            --stop;
        if (begin == stop || *begin == ';' || *begin == '#')
            continue;
        if (*begin == '[') {
            if (stop - begin >= 2 && stop[-1] == ']')
                current = createSection(unescape(trimmedBlanks(begin + 1, stop - 1)));
            continue;
        }
        if (!current)
            continue;
        const int equals = indexOfUnescaped(begin, stop, '=');
        if (equals < 0)
            continue;
        current->setValue(unescape(trimmedBlanks(begin, begin + equals)),
                          unescape(trimmedBlanks(begin + equals + 1, stop)));
    }
}

} // namespace RnIniParser
