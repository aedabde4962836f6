#pragma once

#include "ParameterCustomListRepositoryHost.h"

#include <QList>
#include <QObject>

class DriveController;

/**
 * Owns the drive controllers of the open project, in project order. That
 * order names the controllers in stored data (the position of a controller
 * in driveControllers()), so it only changes by adding at the end, removing,
 * or replacing the whole project.
 *
 * hostContentChanged() follows every change of the set of controllers or of
 * the axes of any of them. The host also serves the variable parameter lists,
 * which name axes by controller position as well.
 */
class ProjectHost : public ParameterCustomListRepositoryHost
{
    Q_OBJECT

public:
    explicit ProjectHost(QObject* parent = nullptr);
    ~ProjectHost() override;

    QList<DriveController*> driveControllers() override;
    QList<DriveController*> driveControllers() const;
    int indexOf(const DriveController* controller) const;

    /// Takes ownership and appends.
    void addDriveController(DriveController* controller);
    /// Destroys the controller before hostContentChanged() is emitted, so that
    /// guarded pointers to it and its axes are already null for the receivers.
    bool removeDriveController(DriveController* controller);
    /// Destroys all current controllers and takes ownership of @p controllers;
    /// emits hostContentChanged() once.
    void setDriveControllers(const QList<DriveController*>& controllers);
    void clear();

private slots:
    void onControllerDestroyed(QObject* object);

private:
    void adopt(DriveController* controller);
    void release(DriveController* controller);

    QList<DriveController*> m_controllers;
};
