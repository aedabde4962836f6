#include "ProjectHost.h"

#include "DriveController.h"

ProjectHost::ProjectHost(QObject* parent)
{
    setParent(parent);
}

ProjectHost::~ProjectHost()
{
    // Controllers die as our children after this; nobody may hear about it.
    for (DriveController* controller : qAsConst(m_controllers))
        release(controller);
    qDeleteAll(m_controllers);
}

QList<DriveController*> ProjectHost::driveControllers()
{
    return m_controllers;
}

QList<DriveController*> ProjectHost::driveControllers() const
{
    return m_controllers;
}

int ProjectHost::indexOf(const DriveController* controller) const
{
    return m_controllers.indexOf(const_cast<DriveController*>(controller));
}

void ProjectHost::addDriveController(DriveController* controller)
{
    if (!controller || m_controllers.contains(controller))
        return;
    adopt(controller);
    m_controllers.append(controller);
    emit hostContentChanged();
}

bool ProjectHost::removeDriveController(DriveController* controller)
{
    if (!m_controllers.removeOne(controller))
        return false;
    release(controller);
    delete controller;
    emit hostContentChanged();
    return true;
}

void ProjectHost::setDriveControllers(const QList<DriveController*>& controllers)
{
    const QList<DriveController*> old = m_controllers;
    m_controllers.clear();
    for (DriveController* controller : old)
        release(controller);
    qDeleteAll(old);
    for (DriveController* controller : controllers) {
        if (!controller || m_controllers.contains(controller))
            continue;
        adopt(controller);
        m_controllers.append(controller);
    }
    emit hostContentChanged();
}

void ProjectHost::clear()
{
    setDriveControllers({});
}

void ProjectHost::onControllerDestroyed(QObject* object)
{
    // Someone else destroyed one of ours: forget it rather than keep a dangling pointer.
    for (int i = 0; i < m_controllers.size(); ++i) {
        if (static_cast<QObject*>(m_controllers.at(i)) == object) {
            m_controllers.removeAt(i);
            emit hostContentChanged();
            return;
        }
    }
}

void ProjectHost::adopt(DriveController* controller)
{
    controller->setParent(this);
    connect(controller, &DriveController::axesChanged, this, &ProjectHost::hostContentChanged, Qt::UniqueConnection);
    connect(controller, &QObject::destroyed, this, &ProjectHost::onControllerDestroyed, Qt::UniqueConnection);
}

void ProjectHost::release(DriveController* controller)
{
    disconnect(controller, nullptr, this, nullptr);
}
