#pragma once

#include "ParameterCoordinate.h"

#include <QByteArray>
#include <QIcon>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVector>

class DriveControllerAxis;
struct EntryCell;
class ParameterCustomListEntryPrivate;
class ParameterSetup;

// One parameter of a list across the list's axes: which of its elements the
// list shows, how it is laid out (through its strategy), and the value copies
// between axes. Axis arguments are indices into the list's axes.
class ParameterCustomListEntry : public QObject
{
    Q_OBJECT

public:
    explicit ParameterCustomListEntry(const ParameterCoordinate& coordinate);
    ~ParameterCustomListEntry() override;

    // The entry keeps the pointer and sees every later change of the list.
    void setAxesList(QList<QPointer<DriveControllerAxis>>* axes);

    ParameterCoordinate coordinate() const;
    bool allElements() const;
    void setAllElements(bool allElements);
    void addElement(quint16 element);
    void removeElement(quint16 element);
    void refresh();
    // Counts the refreshes: a view that filled its rows at this count shows
    // the current elements and layout.
    quint64 revision() const;

    QByteArray entryText() const;
    // Does not refresh; the caller does that once the axes are in place.
    void loadEntryText(const QByteArray& text);
    // In place of setAxesList() for an entry that a loaded list builds when
    // it is first needed: the element set and the layout are those a refresh
    // gave at load time, whatever the definitions have become since.
    void restoreLoaded(QList<QPointer<DriveControllerAxis>>* axes, bool allElements,
                       const QVector<quint16>& elements, bool multiLine);

    QList<quint16> elementIndices() const;
    ParameterSetup* parameterSetup(int axisIndex) const;

    QList<quint16> childElementIndices() const;
    bool isAvailable(int axisIndex, quint16 element) const;
    bool isAvailable(int axisIndex) const;
    bool isValueActive(int axisIndex, quint16 element) const;
    bool isValueActive(int axisIndex) const;
    bool isWritable(int axisIndex, quint16 element) const;
    bool isWritable(int axisIndex) const;
    bool hasSelectionList(int axisIndex, quint16 element) const;
    bool hasSelectionList(int axisIndex) const;
    QString valueText(int axisIndex, quint16 element) const;
    QString valueText(int axisIndex) const;
    QString elementText(quint16 element) const;
    QString text() const;
    QString toolTip(int axisIndex, quint16 element) const;
    QString toolTip(int axisIndex) const;
    QIcon stateIcon(int axisIndex, quint16 element, const QString& valueText) const;
    QIcon stateIcon(int axisIndex, const QString& valueText) const;
    // What a tree cell shows, in one call: the answers of isAvailable(),
    // valueText(), stateIcon() and isValueActive() together.
    EntryCell cell(int axisIndex, quint16 element) const;
    EntryCell cell(int axisIndex) const;

    void attachAxes();
    void detachAxes();
    void transferValue(int sourceAxis, quint16 sourceElement, int targetAxis, quint16 targetElement);
    void transferValueToAll(int sourceAxis, quint16 element);
    void requestOnlineConsistenceOnce(int axisIndex, quint16 element);

    // The selection the entry text shows: ascending, empty for the whole parameter.
    QVector<quint16> selectedElements() const;

private:
    ParameterCustomListEntryPrivate* const d;
};
