#pragma once

#include "EntryStrategy.h"
#include "ParameterCoordinate.h"

#include <QIcon>
#include <QList>
#include <QCoreApplication>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QVector>

#include <algorithm>
#include <iterator>
#include <QString>

// Element indices in ascending order, each once: one allocation for the
// whole selection (shared with the stored form it came from), where a hash
// set would allocate a node per element and free each again.
class ElementSet
{
public:
    ElementSet() = default;
    // `sorted` must be ascending without repeats.
    explicit ElementSet(const QVector<quint16>& sorted)
        : m_elements(sorted)
    {
    }

    bool contains(quint16 e) const { return std::binary_search(m_elements.cbegin(), m_elements.cend(), e); }
    bool isEmpty() const { return m_elements.isEmpty(); }
    int size() const { return m_elements.size(); }
    QVector<quint16>::const_iterator cbegin() const { return m_elements.cbegin(); }
    QVector<quint16>::const_iterator cend() const { return m_elements.cend(); }
    QVector<quint16>::const_iterator begin() const { return m_elements.cbegin(); }
    QVector<quint16>::const_iterator end() const { return m_elements.cend(); }
    const QVector<quint16>& values() const { return m_elements; }

    void insert(quint16 e)
    {
        const auto at = std::lower_bound(m_elements.begin(), m_elements.end(), e);
        if (at == m_elements.end() || *at != e)
            m_elements.insert(at, e);
    }
    bool remove(quint16 e)
    {
        const auto at = std::lower_bound(m_elements.begin(), m_elements.end(), e);
        if (at == m_elements.end() || *at != e)
            return false;
        m_elements.erase(at);
        return true;
    }
    void intersect(const ElementSet& other)
    {
        QVector<quint16> kept;
        std::set_intersection(m_elements.cbegin(), m_elements.cend(), other.m_elements.cbegin(),
                              other.m_elements.cend(), std::back_inserter(kept));
        if (kept.size() != m_elements.size())
            m_elements = kept;
    }
    void unite(const QList<quint16>& unsorted)
    {
        QVector<quint16> added(unsorted.cbegin(), unsorted.cend());
        std::sort(added.begin(), added.end());
        added.erase(std::unique(added.begin(), added.end()), added.end());
        if (m_elements.isEmpty()) {
            m_elements = added;
            return;
        }
        if (added == m_elements)
            return;
        QVector<quint16> both;
        both.reserve(m_elements.size() + added.size());
        std::set_union(m_elements.cbegin(), m_elements.cend(), added.cbegin(), added.cend(), std::back_inserter(both));
        m_elements = both;
    }

private:
    QVector<quint16> m_elements;
};

class DriveController;
class DriveControllerAxis;
class EntryStrategy;
class ParameterCustomListEntry;
class ParameterDefinition;
class ParameterProvider;
class ParameterSetup;

// Not a QObject: a list of thousands of parameters has as many of these,
// and an object each would double what an entry costs.
class ParameterCustomListEntryPrivate
{
    Q_DECLARE_TR_FUNCTIONS(ParameterCustomListEntryPrivate)

public:
    // Stands for the parameter as a whole where a text is looked up.
    static constexpr quint16 WholeParameter = 16383;
    static constexpr int NoLivingSpace = -100;

    ParameterCustomListEntryPrivate(ParameterCustomListEntry* q, const ParameterCoordinate& coordinate);
    ~ParameterCustomListEntryPrivate();
    Q_DISABLE_COPY(ParameterCustomListEntryPrivate)

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
    ElementSet elements;
    QVector<QPointer<DriveControllerAxis>> followedAxes;
    // Looked up once per provider instead of once per cell and question.
    mutable QVector<QPointer<ParameterDefinition>> knownDefinitions;
    mutable QVector<QPointer<ParameterSetup>> knownSetups;
};
