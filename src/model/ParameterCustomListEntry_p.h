#pragma once

#include "EntryStrategy.h"
#include "ParameterCoordinate.h"

#include <QIcon>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QVarLengthArray>
#include <QSet>
#include <QVector>
#include <QString>

#include <algorithm>

class DriveController;
class DriveControllerAxis;
class EntryStrategy;
class ParameterCustomListEntry;
class ParameterDefinition;
class ParameterProvider;
class ParameterSetup;

// The element indices an entry shows, in ascending order. Mostly a handful:
// kept in place, where a hash set would cost an allocation per element.
class EntryElements
{
public:
    EntryElements() = default;
    template<typename Iterator>
    EntryElements(Iterator first, Iterator last)
    {
        for (; first != last; ++first)
            insert(*first);
    }

    int size() const { return m_items.size(); }
    bool isEmpty() const { return m_items.isEmpty(); }
    const quint16* cbegin() const { return m_items.constData(); }
    const quint16* cend() const { return m_items.constData() + m_items.size(); }
    const quint16* begin() const { return cbegin(); }
    const quint16* end() const { return cend(); }
    bool contains(quint16 element) const
    {
        const quint16* at = std::lower_bound(cbegin(), cend(), element);
        return at != cend() && *at == element;
    }
    bool insert(quint16 element)
    {
        // Indices mostly come in ascending order: appended without a search.
        if (m_items.isEmpty() || m_items.last() < element) {
            m_items.append(element);
            return true;
        }
        const quint16* at = std::lower_bound(cbegin(), cend(), element);
        if (at != cend() && *at == element)
            return false;
        m_items.insert(m_items.begin() + (at - cbegin()), element);
        return true;
    }
    bool remove(quint16 element)
    {
        const quint16* at = std::lower_bound(cbegin(), cend(), element);
        if (at == cend() || *at != element)
            return false;
        m_items.remove(int(at - cbegin()));
        return true;
    }
    void intersect(const EntryElements& other)
    {
        QVarLengthArray<quint16, 8> kept;
        for (quint16 element : m_items) {
            if (other.contains(element))
                kept.append(element);
        }
        m_items = kept;
    }
    QList<quint16> values() const { return QList<quint16>(cbegin(), cend()); }

private:
    QVarLengthArray<quint16, 8> m_items;
};

class ParameterCustomListEntryPrivate : public QObject
{
    Q_OBJECT

public:
    // Stands for the parameter as a whole where a text is looked up.
    static constexpr quint16 WholeParameter = 16383;
    static constexpr int NoLivingSpace = -100;

    ParameterCustomListEntryPrivate(ParameterCustomListEntry* q, const ParameterCoordinate& coordinate);
    ~ParameterCustomListEntryPrivate() override;

    int axisCount() const;
    DriveControllerAxis* axisAt(int i) const;
    ParameterProvider* providerOf(DriveControllerAxis* axis) const;
    ParameterDefinition* definitionOf(DriveControllerAxis* axis) const;
    ParameterSetup* setupOf(DriveControllerAxis* axis) const;
    ParameterDefinition* definitionAt(int i) const;
    ParameterSetup* setupAt(int i) const;

    void chooseStrategy();
    void startFollowing(DriveControllerAxis* axis);
    void stopFollowing(DriveControllerAxis* axis);
    bool isTargetWritable(int i, quint16 element) const;
    QString commonText(quint16 element) const;

    // Cell computations shared by the strategies.
    bool isDefinedOnAxis(int i) const;
    bool isSingleValued(int i) const;
    // isDefinedOnAxis() and isSingleValued() with one look-up of the definition.
    struct AxisShape
    {
        bool defined = false;
        bool singleValued = false;
    };
    AxisShape shapeOnAxis(int i) const;
    bool isSingleValuedAnywhere() const;
    QList<quint16> elementsOnAxis(int i) const;
    bool firstElementOnAxis(int i, quint16* e) const;   // the first of elementsOnAxis(i), without the list
    bool isValueElementOnAxis(ParameterSetup* setup, quint16 e) const;
    bool isElementAvailable(int i, quint16 e) const;
    bool isElementActive(int i, quint16 e) const;
    bool isElementWritable(int i, quint16 e) const;
    bool hasElementSelectionList(int i, quint16 e) const;
    QString elementValueText(int i, quint16 e) const;
    QString elementReferenceText(int i, quint16 e) const;
    QIcon elementStateIcon(int i, quint16 e, const QString& valueText) const;
    EntryCell elementCell(int i, quint16 e) const;
    QString parameterNameOnAxis(int i) const;
    QString elementNameOnAxis(int i, quint16 e) const;
    int livingSpace(int i) const;

    static QString elementSuffix(quint16 element);
    // "coordinate suffix name", built to size: rows keep their labels.
    static QString label(const QString& coordinate, const QString& suffix, const QString& name);
    static QString livingSpacePrefix(int livingSpace);
    static QIcon stateIconFor(bool locked, bool changed);

    ParameterCustomListEntry* const q;
    const ParameterCoordinate coordinate;
    const QString coordinateText;   // part of every label and tool tip
    QList<QPointer<DriveControllerAxis>>* axes = nullptr;
    EntryStrategy* strategy = nullptr;
    bool allElements = false;
    quint64 revision = 0;
    EntryElements elements;
    // Mostly one or two of each: kept in the entry itself, one allocation
    // fewer per entry and axis.
    QVarLengthArray<QPointer<DriveControllerAxis>, 2> followedAxes;
    // Looked up once per provider instead of once per cell and question.
    mutable QVarLengthArray<QPointer<ParameterDefinition>, 2> knownDefinitions;
    mutable QVarLengthArray<QPointer<ParameterSetup>, 2> knownSetups;
};
