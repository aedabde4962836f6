#pragma once

#include <QColor>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>

class DriveController;
class DriveControllerAxis;
class ParameterCustomList;
class ParameterCustomListTreeWidget;
class ParameterSetup;
class QTreeWidgetItem;

// Two controller types of an invented catalogue, shared by the editor tests:
//  - "KXM-12 Mehrachsregler" (12 axes): A20 is an array of 4 elements;
//  - "KXE-2 Kompaktregler" (2 axes): A20 is an array of 6 elements.
// Both have: A10 number (help page), A11 number (inline HTML help), A30 a
// record with the elements 0, 1 and 4, A40 a selection list, A50 read-only,
// A60 inactive, A100 number, B10 device-wide, C70 a switch of axis 1 only.
namespace EditorTest {

// One controller of a description: its type and the number of its axes.
struct ControllerSpec
{
    QString type;
    int axes = 1;
    bool online = false;
};

QString multiAxisType();
QString compactType();
// "M2,E1": a KXM-12 controller with two axes and a KXE-2 controller with one.
QList<ControllerSpec> layout(const QString& text);

// Controllers "Regler 1", "Regler 2", ... with axes "Achse 1", ... and a
// marking colour per axis (see markingColor()).
QByteArray description(const QList<ControllerSpec>& controllers);

// The marking colour that description() gives axis `axis` of controller
// `controller` (both counted from 1).
QColor markingColor(int controller, int axis);

// The controllers of a description, the list that shows their axes and a tree
// showing that list in a window of its own.
class Fixture
{
public:
    // The list shows the first `listedAxes` axes of the controllers (all for -1).
    explicit Fixture(const QList<ControllerSpec>& controllers, int listedAxes = -1);
    ~Fixture();   // the controllers go with the fixture


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

private:
    QObject m_owner;
};

// Delivers queued signals and deferred deletions.
void deliver();

} // namespace EditorTest
