#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class DriveController;
class ProjectHost;
class QDir;

namespace AppTest {

// A small controller type that has every kind of parameter a project must
// store: per-axis and device-wide, simple, arrays and records, numbers with
// decimals, selection lists, switches, free text, a parameter defined in one
// axis only and a read-only one; plus one controller of it.
QByteArray testDescription();
QString testTypeName();

// Writes @p bytes to dir/name and returns the absolute path.
QString writeFile(const QDir& dir, const QString& name, const QByteArray& bytes);

// Everything a project file must bring back, one line per fact, in project
// order: controllers (type, name, descriptor, read-only), axes (number, name,
// marking colour) and the raw value of every element in every living space,
// changed or not.
QStringList snapshot(const QList<DriveController*>& controllers);

} // namespace AppTest
