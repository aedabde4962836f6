#pragma once

#include <QIcon>
#include <QList>
#include <QString>

class ParameterCustomListEntryPrivate;

// Everything a tree cell shows of one axis, worked out in one go: the
// separate questions below each look up the set-up and element again.
struct EntryCell
{
    bool available = false;
    bool active = false;
    QString valueText;
    QIcon stateIcon;
};

// How an entry is laid out in a list tree: the operations with an element
// argument answer for element rows, the others for the entry row. Axis
// arguments are indices into the list's axes.
class EntryStrategy
{
public:
    explicit EntryStrategy(ParameterCustomListEntryPrivate* entry);
    virtual ~EntryStrategy();

    virtual QList<quint16> childElementIndices() = 0;
    virtual bool isAvailable(int axis, quint16 element) = 0;
    virtual bool isAvailable(int axis) = 0;
    virtual bool isValueActive(int axis, quint16 element) = 0;
    virtual bool isValueActive(int axis) = 0;
    virtual bool isWritable(int axis, quint16 element) = 0;
    virtual bool isWritable(int axis) = 0;
    virtual bool hasSelectionList(int axis, quint16 element) = 0;
    virtual bool hasSelectionList(int axis) = 0;
    virtual QString valueText(int axis, quint16 element) = 0;
    virtual QString valueText(int axis) = 0;
    virtual QString elementText(quint16 element) = 0;
    virtual QString text() = 0;
    virtual QString toolTip(int axis, quint16 element) = 0;
    virtual QString toolTip(int axis) = 0;
    virtual QIcon stateIcon(int axis, quint16 element, QString valueText) = 0;
    virtual QIcon stateIcon(int axis, QString valueText) = 0;

    // The same answers as isAvailable(), valueText(), stateIcon() and
    // isValueActive(); only `available` is meaningful when it is false.
    virtual EntryCell cell(int axis, quint16 element) = 0;
    virtual EntryCell cell(int axis) = 0;

protected:
    ParameterCustomListEntryPrivate* const d;

private:
    Q_DISABLE_COPY(EntryStrategy)
};
