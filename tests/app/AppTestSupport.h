#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

class DriveController;
class MainWindow;
class ParameterCustomListInformation;
class QDir;
class QTreeWidgetItem;
class QWidget;

namespace AppTest {

// One small controller type with every kind of parameter a project stores,
// plus one controller of it ("Prüfstand links", axes 1 "Hubwerk" and 3 "Drehtisch").
QByteArray testDescription();
QString testTypeName();

// Writes @p bytes to dir/name and returns the absolute path.
QString writeFile(const QDir& dir, const QString& name, const QByteArray& bytes);

// Types alone into @p typesDir, the controller into @p workDir; returns the description's path.
QString writeTypesAndDescription(const QDir& typesDir, const QDir& workDir);

// A non-interactive main window on the test description, with one more
// controller of two axes for each of @p moreControllers.
std::unique_ptr<MainWindow> openWindow(const QString& typesDir, const QString& description,
                                       const QStringList& moreControllers = {});

// An axis as the list tree captions its column: "controller\naxis name".
QString axisCaption(const QString& controller, const char* axisName);

// Column captions ("controller\naxis") of a list or comparison window.
QStringList axisCaptions(QWidget* window);

// The row of a list in the list view, shown from the main window.
QTreeWidgetItem* listRow(MainWindow& window, const QString& identifier);

// Opens a list's window from the list view as a user does. A list without
// axes asks for them at once; @p axes ("controller\naxis") are checked in that dialog.
QWidget* openListWindow(MainWindow& window, const QString& identifier, const QStringList& axes = {});

// Exported entries in one line, element numbers sorted: their order is not defined.
QString entries(const ParameterCustomListInformation* list);

// Every fact a project file must bring back, one line each, in project order.
QStringList snapshot(const QList<DriveController*>& controllers);

} // namespace AppTest
