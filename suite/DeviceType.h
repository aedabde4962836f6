#pragma once

#include "KxSuiteGlobal.h"
#include "ParameterDescription.h"

#include <QSharedPointer>
#include <QString>
#include <QVector>

class RegisterMap;

/// A help page that a device description brings along.
struct KXSUITE_EXPORT DeviceHelpPage
{
    QString identifier;
    QString title;
    QString html;
};

/// A controller type: its descriptive text, axis limits and parameter catalogue.
struct KXSUITE_EXPORT DeviceType
{
    QString name;                       ///< unique type name, e.g. "KXS-4 Servo"
    QString descriptor;                 ///< default descriptive text of controllers of this type
    int maxAxes = 1;                    ///< axis numbers run from 1 to maxAxes
    QVector<QSharedPointer<const ParameterDescription>> parameters;   ///< catalogue order, unique coordinates
    QVector<DeviceHelpPage> helpPages;
    /// Where the values live in the device's holding registers; set by the
    /// description reader (RegisterMap::of() derives one for types made otherwise).
    QSharedPointer<const RegisterMap> registerMap;
};
