#include "DriveControllerAxis.h"
#include "ParameterValues_p.h"

#include "DriveController.h"

DriveControllerAxis::DriveControllerAxis(DriveController* controller, int number, const QString& name)
    : QObject(controller)
    , m_controller(controller)
    , m_number(number)
    , m_name(name)
{
}

DriveControllerAxis::~DriveControllerAxis()
{
    // Whoever deletes an axis directly: the controller stops answering for it
    // the moment its guards are cleared, right after this.
    KxParameterValues::axesChanged();
}

DriveController* DriveControllerAxis::driveController() const
{
    return m_controller.data();
}

int DriveControllerAxis::axisNumber() const
{
    return m_number;
}

QString DriveControllerAxis::name() const
{
    return m_name;
}

void DriveControllerAxis::setName(const QString& name)
{
    if (m_name == name)
        return;
    m_name = name;
    emit nameChanged();
}
