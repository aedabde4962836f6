#pragma once

#include "ParameterCustomListRepositoryHost.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class DriveController;
class DriveControllerAxis;
class ParameterSetup;

namespace ModelTest {

// Two invented controller types (a 16-axis "KXT-8 Mehrachs" and a 2-axis
// "KXT-1 Kompakt") whose catalogues share some coordinates with different
// structures and names, plus the given controller objects (JSON array text).
QByteArray description(const QByteArray& controllers);

// The usual project: "Vorschub" (KXT-8, axes 1 and 2, some values changed),
// "Spindel" (KXT-1, axis 1) and the read-only "Archiv" (KXT-8, axis 1).
QByteArray standardProject();

// A project host whose controllers come from an inline description.
class Host : public ParameterCustomListRepositoryHost
{
    Q_OBJECT
public:
    explicit Host(const QByteArray& json = standardProject());
    ~Host() override;
    QList<DriveController*> driveControllers() override;

    DriveController* controller(int index) const;
    DriveControllerAxis* axis(int controllerIndex, int axisNumber) const;
    void setControllers(const QList<DriveController*>& controllers);

private:
    QObject m_owner;
    QList<QPointer<DriveController>> m_controllers;
};

ParameterSetup* setupOf(DriveControllerAxis* axis, const QString& coordinate);

// Axes named as "controller index:axis number", separated by blanks ("0:1 1:1").
QList<QPointer<DriveControllerAxis>> axesOf(const Host& host, const QString& names);

} // namespace ModelTest
