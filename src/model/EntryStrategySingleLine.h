#pragma once

#include "EntryStrategy.h"

// The whole entry on one row: the value of its one element (if any) sits on
// the entry row; there are no element rows.
class EntryStrategySingleLine : public EntryStrategy
{
public:
    explicit EntryStrategySingleLine(ParameterCustomListEntryPrivate* entry);
    ~EntryStrategySingleLine() override;

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
    bool firstElementOnAxis(int axis, quint16* element) const;
    QString labelSuffix() const;
};
