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

// Types "KXC-2 Doppelachse" (2 axes) and "KXC-1 Einzelachse" (1 axis);
// controllers "Portal" (KXC-2, axes "X"/"Y"; axis 2 differs in A10, A11[1],
// C20), "Portal Süd" (KXC-2, same values as "Portal") and "Einzel" (KXC-1).
// H30 exists on axis 2 of a KXC-2 only, P50 on the KXC-1 only.
QByteArray portalProject();

// Owns the controllers of a description.
class Project
{
public:
    explicit Project(const QByteArray& json = portalProject());
    DriveController* controller(const QString& name) const;
    QList<DriveController*> controllers() const;

private:
    QObject m_owner;
    QList<QPointer<DriveController>> m_controllers;
};

// Writes "A10=4500" or "A11[2]=7" as an in-place editor would.
void writeValue(DriveController* controller, int axisNumber, const QString& assignment);

// A row's coordinate ("A10", "A11[2]"); keys of all (or visible) rows in tree order.
QString rowKey(const QTreeWidgetItem* row);
QList<QTreeWidgetItem*> allRows(QTreeWidget* tree, bool visibleOnly = false);
QTreeWidgetItem* findRow(QTreeWidget* tree, const QString& key);
QStringList rowKeys(QTreeWidget* tree, bool visibleOnly = false);

struct FileDialogAnswer
{
    bool seen = false;
    QString title;
    QStringList nameFilters;
    QString directory;
    QString selected;
};

// Answers the next modal file dialog with `fileName`, or cancels it when empty.
void answerNextFileDialog(const QString& fileName, FileDialogAnswer* answer);

} // namespace CompareTest
