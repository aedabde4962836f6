#pragma once

#include "EntryStrategy.h"
#include "EntryStrategySingleLine.h"

// One row for the parameter plus one row per element. On an axis where the
// parameter has a single value, that value sits on the entry row instead and
// the element rows stay empty there.
class EntryStrategyMultiLine : public EntryStrategy
{
public:
    explicit EntryStrategyMultiLine(ParameterCustomListEntryPrivate* entry);
    ~EntryStrategyMultiLine() override;

    QList<quint16> childElementIndices() override;
    bool isAvailable(int axis, quint16 element) override;
    bool isAvailable(int axis) override;
    bool isValueActive(int axis, quint16 element) override;
    bool isValueActive(int axis) override;
    bool isWritable(int axis, quint16 element) override;
    bool isWritable(int axis) override;
    bool hasSelectionList(int axis, quint16 element) override;
    bool hasSelectionList(int axis) override;
    QString valueText(int axis, quint16 element) override;
    QString valueText(int axis) override;
    QString elementText(quint16 element) override;
    QString text() override;
    QString toolTip(int axis, quint16 element) override;
    QString toolTip(int axis) override;
    QIcon stateIcon(int axis, quint16 element, QString valueText) override;
    QIcon stateIcon(int axis, QString valueText) override;
    EntryCell cell(int axis, quint16 element) override;
    EntryCell cell(int axis) override;

private:
    EntryStrategySingleLine singleLine;
};
