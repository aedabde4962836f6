#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class DriveController;
class QTreeWidget;
class QTreeWidgetItem;

namespace CompareTest {

// An invented catalogue: the two-axis type "KXC-2 Doppelachse" and the
// one-axis "KXC-1 Einzelachse", and three controllers:
//   "Portal"      KXC-2, axes 1 "X" and 2 "Y"; axis 2 runs faster (A10) and
//                 with a higher current on phase V (A11[1]); C20 of axis 1 is
//                 "Achse <1> & Co".
//   "Portal Süd"  KXC-2, axes 1 "X2" and 2 "Y2"; the same values as "Portal".
//   "Einzel"      KXC-1, axis 1 "S".
// H30 exists on axis 2 of a KXC-2 only, P50 on the KXC-1 only.
QByteArray portalProject();

// Owns the controllers of a description.
class Project
{
public:
    explicit Project(const QByteArray& json = portalProject());
    ~Project();
    DriveController* controller(const QString& name) const;
    QList<DriveController*> controllers() const;

private:
    QObject m_owner;
    QList<QPointer<DriveController>> m_controllers;
};

// Writes a value as the user would through an in-place editor. `assignment`
// is "A10=4500" or "A11[2]=7".
void writeValue(DriveController* controller, int axisNumber, const QString& assignment);

// The coordinate part of a row's label ("A10", "A11[2]"), which names a row
// in the tests independently of the parameter's name.
QString rowKey(const QTreeWidgetItem* row);
QTreeWidgetItem* findRow(QTreeWidget* tree, const QString& key);
// Keys of every row (top-level and element rows), in tree order, optionally
// only the visible ones.
QStringList rowKeys(QTreeWidget* tree, bool visibleOnly = false);

// What the file dialog showed and what it was answered with.
struct FileDialogAnswer
{
    bool seen = false;
    QString title;
    QStringList nameFilters;
    QString directory;
    QString selected;   // as the dialog reported it on accepting
};

// From the event loop, answers the next modal file dialog: enters `fileName`
// and accepts, or cancels when `fileName` is empty. Gives up after a few
// seconds so that a test never waits for ever.
void answerNextFileDialog(const QString& fileName, FileDialogAnswer* answer);

} // namespace CompareTest
