#pragma once

#include "ParameterCoordinate.h"
#include "ParameterDescription.h"

#include <QByteArray>
#include <QList>
#include <QPointer>
#include <QVector>

#include <vector>

class DriveControllerAxis;
class ParameterProvider;

// The stored form of the lists (the "CustomParameterLists" items) without the
// generic INI parser on the common path: project files hold thousands of
// entries, and reading them into objects that nobody looks at dominated
// opening a project.
namespace ParameterCustomListStorage {

// The element part of an entry text, read as the list entries always read it.
struct EntrySelection
{
    bool allElements = true;
    QVector<quint16> elements;   // ascending, no duplicates
};
EntrySelection readEntryText(const QByteArray& text);
EntrySelection readEntryText(const char* text, int length);

// The coordinate text followed by the selection, if any, in ascending order.
void appendEntryText(QByteArray& out, const ParameterCoordinate& coordinate, bool allElements,
                     const QVector<quint16>& ascendingElements);
void appendCoordinateText(QByteArray& out, const ParameterCoordinate& coordinate);
// The "Parameter" line of an entry, as getIniText() writes it.
void appendParameterLine(QByteArray& out, const ParameterCoordinate& coordinate, bool allElements,
                         const QVector<quint16>& ascendingElements);

// One "key=value" line exactly as RnIniParser::IniParser::getIniText() writes it.
void appendIniLine(QByteArray& out, const QByteArray& key, const QByteArray& value);

// An entry of a loaded list, reduced to the elements the restored axes
// defined at load time, with the layout its strategy had then.
struct StoredEntry
{
    explicit StoredEntry(const ParameterCoordinate& coordinate) : coordinate(coordinate) {}

    ParameterCoordinate coordinate;
    QVector<quint16> elements;   // ascending
    bool allElements = true;
    bool multiLine = false;
};

// One "Parameter" line of a stored list on the common path (splitStoredList()).
struct ParameterLine
{
    quint16 number;   // coordinate number, from the key
    int valueBegin;
    int valueLength;
};

// What the providers define at one moment, looked up once per provider and
// coordinate however many lists of a project hold the coordinate. Valid only
// while nothing can change the providers: during one load.
class DefinitionSnapshot
{
public:
    DefinitionSnapshot();
    ~DefinitionSnapshot();
    DefinitionSnapshot(const DefinitionSnapshot&) = delete;
    DefinitionSnapshot& operator=(const DefinitionSnapshot&) = delete;

    // The distinct providers behind the axes (their order is of no importance:
    // the entries only ever ask whether any axis defines something).
    QVector<int> providersOf(const QList<QPointer<DriveControllerAxis>>& axes);

    // The entry that loading the text for the coordinate would have made on
    // axes with these providers, as refresh() leaves it.
    void reduce(StoredEntry* entry, const EntrySelection& selection, const QVector<int>& providers);

    // Room for the lines of one list, reused by the next.
    std::vector<ParameterLine> parameterLines;

private:
    struct Definition
    {
        QVector<quint16> elements;   // ascending, as the definition lists them
        bool defined = false;
        bool singleValued = false;
    };
    const Definition& definition(int provider, const ParameterCoordinate& coordinate);
    bool hasSetup(int provider, const ParameterCoordinate& coordinate);
    QVector<quint16> elementsOf(const QVector<ParameterElementDescription>& elements);

    QVector<ParameterProvider*> m_providers;
    std::vector<std::vector<qint32>> m_slots;   // per provider, by coordinate number
    std::vector<Definition> m_definitions;
    Definition m_uncached;
    std::vector<QVector<quint16>> m_contiguous;   // by count: 0, 1, ... count - 1
};

// The text of a stored list split on the common path: the "Parameter" lines,
// unescaped, and the other sections as a text of their own for the INI
// parser. False when the text needs the generic parser (escapes in the
// "Parameter" lines or section names, or keys that are not the canonical
// coordinate keys in strictly ascending order).
bool splitStoredList(const QByteArray& data, QByteArray* otherSections, bool* hasParameterSection,
                     std::vector<ParameterLine>* parameterLines);

} // namespace ParameterCustomListStorage
