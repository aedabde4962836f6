#pragma once

#include "TestSupport.h"

#include <QRect>

class ParameterCustomList;
class ParameterCustomListTreeWidget;

// The editor tests use two types of the shared catalogue: the 12-axis
// "KXM-12" (A20 an array of 4 elements) and the 2-axis "KXE-2" (A20 of 6).
namespace EditorTest {

using KxTest::deliver;
using KxTest::markingColor;

// "M2,E1": a KXM-12 controller with two axes and a KXE-2 controller with one.
QByteArray layout(const QString& text);

// The controllers, a list showing their axes and a tree showing that list in
// a window of its own.
class Fixture : public KxTest::Devices
{
public:
    // The list shows the first `listedAxes` axes of the controllers (all for -1).
    explicit Fixture(const QByteArray& controllers, int listedAxes = -1);
    ~Fixture() override;

    QList<DriveController*> controllers;
    QList<QPointer<DriveControllerAxis>> axes;
    ParameterCustomList* list = nullptr;
    ParameterCustomListTreeWidget* tree = nullptr;
    QWidget* window = nullptr;

    // Adds parameters to the list and lets the list's notice reach the tree.
    void add(const QStringList& parameters);
    ParameterSetup* setup(int axisIndex, const QString& coordinate) const;
    QTreeWidgetItem* row(const QString& coordinate) const;
    QTreeWidgetItem* elementRow(const QString& coordinate, quint16 element) const;
    QRect cellRect(QTreeWidgetItem* item, int column) const;
    // Press, release and double click, as a mouse delivers them.
    void doubleClickCell(QTreeWidgetItem* item, int column) const;
    QString axisLabel(int axisIndex) const;
};

} // namespace EditorTest
