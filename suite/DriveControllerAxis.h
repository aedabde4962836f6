#pragma once

#include "KxSuiteGlobal.h"

#include <QObject>
#include <QPointer>

class DriveController;

/// One axis of a drive controller. Owned by its controller; everyone else
/// holds it through QPointer.
class KXSUITE_EXPORT DriveControllerAxis : public QObject
{
    Q_OBJECT
public:
    DriveControllerAxis(DriveController* controller, int number, const QString& name);
    ~DriveControllerAxis() override;

    DriveController* driveController() const;   ///< null once the controller is gone
    int axisNumber() const;                     ///< also the axis' living space
    QString name() const;
    void setName(const QString& name);          ///< emits nameChanged() on a change

signals:
    void nameChanged();

private:
    QPointer<DriveController> m_controller;
    int m_number;
    QString m_name;
};
