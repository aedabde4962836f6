#include "ParameterCustomListStorage_p.h"

#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "IniParser.h"
#include "ParameterDefinition.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"

#include <QRegularExpression>
#include <QVarLengthArray>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <numeric>

namespace ParameterCustomListStorage {

namespace {

constexpr int CoordinateNumberCount = 26 * 1000 + 1;
const QByteArray CoordinateKeyPrefix = QByteArrayLiteral("Coordinate_");
const QByteArray ParameterSectionName = QByteArrayLiteral("Parameter");

bool isPrintableAscii(char c)
{
    return c >= 0x20 && c <= 0x7E;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

void sortUnique(QVector<quint16>& elements)
{
    std::sort(elements.begin(), elements.end());
    elements.erase(std::unique(elements.begin(), elements.end()), elements.end());
}

// The reading the entries have always done; the regular expression decides
// what a bracket part is for texts outside plain ASCII (line breaks and
// what Unicode counts as one included).
EntrySelection readEntryTextExactly(const QByteArray& text)
{
    static const QRegularExpression bracketPattern(QStringLiteral("\\[(.+)\\]"));
    EntrySelection selection;
    const QRegularExpressionMatch match = bracketPattern.match(QString::fromUtf8(text));
    if (!match.hasMatch())
        return selection;
    selection.allElements = false;
    const QStringList parts = match.captured(1).split(QLatin1Char('/'), Qt::KeepEmptyParts);
    for (const QString& part : parts) {
        bool ok = false;
        const quint16 e = part.toUShort(&ok, 10);
        selection.elements.append(ok ? e : quint16(0));
    }
    sortUnique(selection.elements);
    return selection;
}

// Within one line of printable ASCII the expression matches from the first
// "[" to the last "]" when at least one character lies between them.
// Parts of plain decimal digits are all that entry texts hold in practice;
// anything else goes the exact way.
bool readPlainEntryText(const char* text, int length, EntrySelection* selection)
{
    int open = -1;
    int close = -1;
    for (int i = 0; i < length; ++i) {
        const char c = text[i];
        if (!isPrintableAscii(c))
            return false;
        if (c == '[' && open < 0)
            open = i;
        else if (c == ']')
            close = i;
    }
    if (open < 0 || close < open + 2)
        return true;
    selection->allElements = false;
    int value = 0;
    int digits = 0;
    for (int i = open + 1; i <= close; ++i) {
        const char c = i < close ? text[i] : '/';
        if (c == '/') {
            selection->elements.append(quint16(value));
            value = 0;
            digits = 0;
        } else if (c >= '0' && c <= '9' && digits < 5) {
            value = value * 10 + (c - '0');
            ++digits;
            if (value > 0xFFFF)
                return false;
        } else {
            return false;
        }
    }
    sortUnique(selection->elements);
    return true;
}

char* writeNumber(char* p, uint number)
{
    char digits[10];
    int count = 0;
    do {
        digits[count++] = char('0' + number % 10);
        number /= 10;
    } while (number != 0);
    while (count > 0)
        *p++ = digits[--count];
    return p;
}

// The canonical text of a valid coordinate, at most 4 characters.
char* writeCoordinate(char* p, const ParameterCoordinate& coordinate)
{
    const uint number = coordinate.toNumber() - 1u;
    const uint index = number % 1000u;
    *p++ = char('A' + number / 1000u);
    if (index >= 100u)
        *p++ = char('0' + index / 100u);
    *p++ = char('0' + index / 10u % 10u);
    *p++ = char('0' + index % 10u);
    return p;
}

// The selection part of an entry text, at most 2 + 6 characters per element.
char* writeSelection(char* p, bool allElements, const QVector<quint16>& ascendingElements)
{
    if (allElements || ascendingElements.isEmpty())
        return p;
    *p++ = '[';
    for (int i = 0; i < ascendingElements.size(); ++i) {
        if (i > 0)
            *p++ = '/';
        p = writeNumber(p, ascendingElements.at(i));
    }
    *p++ = ']';
    return p;
}

int selectionBound(const QVector<quint16>& elements)
{
    return 2 + 6 * elements.size();
}

// True when getIniText() writes the field as it is: printable ASCII without
// backslashes and blanks at either end, and for keys without "=" anywhere
// and without a leading "[", ";" or "#".
bool isPlainField(const QByteArray& field, bool key)
{
    const int size = field.size();
    if (size == 0)
        return true;
    const char* data = field.constData();
    if (isBlank(data[0]) || isBlank(data[size - 1]))
        return false;
    if (key && (data[0] == '[' || data[0] == ';' || data[0] == '#'))
        return false;
    for (int i = 0; i < size; ++i) {
        const char c = data[i];
        if (!isPrintableAscii(c) || c == '\\' || (key && c == '='))
            return false;
    }
    return true;
}

const char* trimmedBegin(const char* begin, const char* end)
{
    while (begin < end && isBlank(*begin))
        ++begin;
    return begin;
}

const char* trimmedEnd(const char* begin, const char* end)
{
    while (end > begin && isBlank(end[-1]))
        --end;
    return end;
}

// "Coordinate_" followed by a letter and two or three digits: the keys that
// saveData() writes. Their coordinate is the one ParameterCoordinate reads.
quint16 canonicalKeyNumber(const char* key, int length)
{
    const int prefix = CoordinateKeyPrefix.size();
    if (length < prefix + 3 || length > prefix + 4
        || std::memcmp(key, CoordinateKeyPrefix.constData(), size_t(prefix)) != 0)
        return 0;
    char letter = key[prefix];
    if (letter >= 'a' && letter <= 'z')
        letter = char(letter - 'a' + 'A');
    if (letter < 'A' || letter > 'Z')
        return 0;
    int index = 0;
    for (int i = prefix + 1; i < length; ++i) {
        if (key[i] < '0' || key[i] > '9')
            return 0;
        index = index * 10 + (key[i] - '0');
    }
    return quint16((letter - 'A') * 1000 + index + 1);
}

} // namespace

EntrySelection readEntryText(const QByteArray& text)
{
    return readEntryText(text.constData(), text.size());
}

EntrySelection readEntryText(const char* text, int length)
{
    EntrySelection selection;
    if (readPlainEntryText(text, length, &selection))
        return selection;
    return readEntryTextExactly(QByteArray(text, length));
}

void appendCoordinateText(QByteArray& out, const ParameterCoordinate& coordinate)
{
    if (!coordinate.isValid()) {
        out += coordinate.toText().toUtf8();
        return;
    }
    char text[4];
    out.append(text, int(writeCoordinate(text, coordinate) - text));
}

void appendEntryText(QByteArray& out, const ParameterCoordinate& coordinate, bool allElements,
                     const QVector<quint16>& ascendingElements)
{
    if (!coordinate.isValid()) {
        appendCoordinateText(out, coordinate);
        QVarLengthArray<char, 256> text(selectionBound(ascendingElements));
        out.append(text.data(), int(writeSelection(text.data(), allElements, ascendingElements) - text.data()));
        return;
    }
    QVarLengthArray<char, 256> text(4 + selectionBound(ascendingElements));
    char* end = writeSelection(writeCoordinate(text.data(), coordinate), allElements, ascendingElements);
    out.append(text.data(), int(end - text.data()));
}

void appendParameterLine(QByteArray& out, const ParameterCoordinate& coordinate, bool allElements,
                         const QVector<quint16>& ascendingElements)
{
    if (!coordinate.isValid()) {
        QByteArray key = CoordinateKeyPrefix;
        appendCoordinateText(key, coordinate);
        QByteArray value;
        appendEntryText(value, coordinate, allElements, ascendingElements);
        appendIniLine(out, key, value);
        return;
    }
    // "Coordinate_A123=A123[...]" needs no escaping. Written in place: this
    // runs for every entry of every list on each save.
    const int prefix = CoordinateKeyPrefix.size();
    const int start = out.size();
    out.resize(start + prefix + 4 + 1 + 4 + selectionBound(ascendingElements) + 1);
    char* const begin = out.data() + start;
    std::memcpy(begin, CoordinateKeyPrefix.constData(), size_t(prefix));
    char* p = writeCoordinate(begin + prefix, coordinate);
    *p++ = '=';
    p = writeSelection(writeCoordinate(p, coordinate), allElements, ascendingElements);
    *p++ = '\n';
    out.resize(start + int(p - begin));
}

void appendIniLine(QByteArray& out, const QByteArray& key, const QByteArray& value)
{
    if (isPlainField(key, true) && isPlainField(value, false)) {
        out += key;
        out += '=';
        out += value;
        out += '\n';
        return;
    }
    // Names, states and odd coordinates may hold anything: the parser's own
    // escaping is the one that its reading undoes.
    RnIniParser::IniParser parser;
    parser.createSection("S")->setValue(key, value);
    const QByteArray text = parser.getIniText();
    out += text.mid(text.indexOf('\n') + 1);
}

DefinitionSnapshot::DefinitionSnapshot() = default;
DefinitionSnapshot::~DefinitionSnapshot() = default;

QVector<int> DefinitionSnapshot::providersOf(const QList<QPointer<DriveControllerAxis>>& axes)
{
    QVector<int> result;
    for (const QPointer<DriveControllerAxis>& axis : axes) {
        DriveController* controller = axis ? axis->driveController() : nullptr;
        ParameterProvider* provider = controller ? controller->parameterProvider() : nullptr;
        if (!provider)
            continue;
        int index = m_providers.indexOf(provider);
        if (index < 0) {
            index = m_providers.size();
            m_providers.append(provider);
            m_slots.emplace_back(size_t(CoordinateNumberCount), -1);
        }
        if (!result.contains(index))
            result.append(index);
    }
    return result;
}

QVector<quint16> DefinitionSnapshot::elementsOf(const QVector<ParameterElementDescription>& elements)
{
    // Most parameters number their elements 0, 1, 2 ...: such lists are
    // shared rather than made once per parameter.
    const int count = elements.size();
    if (count > 0 && elements.first().index == 0 && elements.last().index == count - 1
        && std::adjacent_find(elements.cbegin(), elements.cend(),
                              [](const ParameterElementDescription& a, const ParameterElementDescription& b) {
                                  return a.index >= b.index;
                              }) == elements.cend()) {
        if (size_t(count) >= m_contiguous.size())
            m_contiguous.resize(size_t(count) + 1);
        QVector<quint16>& shared = m_contiguous[size_t(count)];
        if (shared.size() != count) {
            shared.resize(count);
            std::iota(shared.begin(), shared.end(), quint16(0));
        }
        return shared;
    }
    QVector<quint16> indices(count);
    quint16* index = indices.data();
    for (const ParameterElementDescription& element : elements)
        *index++ = element.index;
    // A hand-made description may list its elements in any order.
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    return indices;
}

const DefinitionSnapshot::Definition& DefinitionSnapshot::definition(int provider, const ParameterCoordinate& coordinate)
{
    const auto lookUp = [&](Definition& target) {
        ParameterProvider* p = m_providers.at(provider);
        target = Definition();
        if (ParameterDefinition* definition = p->parameterDefinition(coordinate).data()) {
            target.defined = true;
            target.elements = elementsOf(definition->description().elements);
            target.singleValued = !definition->isRecord() && definition->elementCount() == 1;
        }
    };
    // Invalid coordinates keep their text; they are rare enough not to cache.
    if (!coordinate.isValid()) {
        lookUp(m_uncached);
        return m_uncached;
    }
    qint32& slot = m_slots[size_t(provider)][coordinate.toNumber()];
    if (slot < 0) {
        slot = qint32(m_definitions.size());
        m_definitions.emplace_back();
        lookUp(m_definitions.back());
    }
    return m_definitions[size_t(slot)];
}

bool DefinitionSnapshot::hasSetup(int provider, const ParameterCoordinate& coordinate)
{
    return !m_providers.at(provider)->parameterSetup(coordinate).isNull();
}

void DefinitionSnapshot::reduce(StoredEntry* entry, const EntrySelection& selection, const QVector<int>& providers)
{
    const ParameterCoordinate& coordinate = entry->coordinate;
    // The same steps as refresh(): the available elements are the union over
    // the axes that define the parameter, and axes of one provider all give
    // the same answers.
    QVector<quint16> available;
    bool anyDefined = false;
    bool anySingleValued = false;
    bool anyMultiValued = false;
    for (int provider : providers) {
        const Definition& d = definition(provider, coordinate);
        if (d.singleValued)
            anySingleValued = true;
        else
            anyMultiValued = true;
        if (!d.defined)
            continue;
        if (!anyDefined) {
            available = d.elements;
            anyDefined = true;
        } else if (d.elements != available) {
            QVector<quint16> both;
            both.reserve(available.size() + d.elements.size());
            std::set_union(available.cbegin(), available.cend(), d.elements.cbegin(), d.elements.cend(),
                           std::back_inserter(both));
            available = both;
        }
    }
    // The layout counts only axes with a set-up. Whether they have one
    // matters only when the providers disagree about the parameter being
    // single-valued, so the set-ups are looked up for those parameters alone.
    if (anySingleValued && anyMultiValued) {
        anySingleValued = false;
        anyMultiValued = false;
        for (int provider : providers) {
            if (!hasSetup(provider, coordinate))
                continue;
            if (definition(provider, coordinate).singleValued)
                anySingleValued = true;
            else
                anyMultiValued = true;
        }
    }

    entry->allElements = selection.allElements;
    if (selection.allElements) {
        entry->elements = available;
    } else if (!selection.elements.isEmpty() && !available.isEmpty()) {
        entry->elements.reserve(selection.elements.size());
        std::set_intersection(selection.elements.cbegin(), selection.elements.cend(), available.cbegin(),
                              available.cend(), std::back_inserter(entry->elements));
    }
    entry->multiLine = entry->elements.size() > 1 || (anySingleValued && anyMultiValued);
}

bool splitStoredList(const QByteArray& data, QByteArray* otherSections, bool* hasParameterSection,
                     std::vector<ParameterLine>* parameterLines)
{
    enum class Section { None, Parameter, Other };
    const char* const start = data.constData();
    const char* p = start;
    const char* const end = p + data.size();
    if (data.startsWith("\xEF\xBB\xBF"))
        p += 3;
    Section current = Section::None;
    quint16 previous = 0;
    *hasParameterSection = false;
    otherSections->reserve(256);
    // About one line per 20 bytes in a saved list; a guess too small only
    // costs a reallocation.
    parameterLines->clear();
    parameterLines->reserve(size_t(data.size() / 20 + 8));

    // The same lines as IniParser::setIniText(): "\n", "\r" and "\r\n" end a
    // line, blanks around it are dropped, empty and comment lines skipped.
    while (p < end) {
        const char* lineEnd = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)));
        if (!lineEnd)
            lineEnd = end;
        if (const void* cr = std::memchr(p, '\r', size_t(lineEnd - p)))
            lineEnd = static_cast<const char*>(cr);
        const char* begin = trimmedBegin(p, lineEnd);
        const char* stop = trimmedEnd(begin, lineEnd);
        p = lineEnd + 1;
        if (begin == stop || *begin == ';' || *begin == '#')
            continue;
        if (*begin == '[') {
            if (stop - begin < 2 || stop[-1] != ']')
                continue;
            const char* nameBegin = trimmedBegin(begin + 1, stop - 1);
            const char* nameEnd = trimmedEnd(nameBegin, stop - 1);
            if (std::memchr(nameBegin, '\\', size_t(nameEnd - nameBegin)))
                return false;
            if (nameEnd - nameBegin == ParameterSectionName.size()
                && std::memcmp(nameBegin, ParameterSectionName.constData(), size_t(ParameterSectionName.size())) == 0) {
                current = Section::Parameter;
                *hasParameterSection = true;
                continue;
            }
            current = Section::Other;
        } else if (current == Section::None) {
            continue;
        }
        if (current == Section::Other) {
            otherSections->append(begin, int(stop - begin));
            otherSections->append('\n');
            continue;
        }

        const char* equals = static_cast<const char*>(std::memchr(begin, '=', size_t(stop - begin)));
        if (std::memchr(begin, '\\', size_t(stop - begin)))
            return false;
        if (!equals)
            continue;
        const char* keyEnd = trimmedEnd(begin, equals);
        const quint16 number = canonicalKeyNumber(begin, int(keyEnd - begin));
        if (number <= previous)
            return false;
        previous = number;
        const char* valueBegin = trimmedBegin(equals + 1, stop);
        parameterLines->push_back(ParameterLine{number, int(valueBegin - start), int(stop - valueBegin)});
    }
    return true;
}

} // namespace ParameterCustomListStorage
