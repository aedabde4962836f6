#pragma once

#include "KxSuiteGlobal.h"

#include <QString>
#include <QStringList>

/// What the suite's parameter views know of variable parameter lists. The
/// lists' owner registers one implementation with
/// ParameterView::setParameterCustomListHost(); the views then offer to add a
/// parameter to a list or to remove it from one.
/// `parameter` is a parameter text: a coordinate, optionally followed by an
/// element in square brackets ("A12", "A12[3]").
class KXSUITE_EXPORT ParameterCustomListHost
{
public:
    virtual ~ParameterCustomListHost();

    /// The drag and drop format in which parameter views hand parameter texts
    /// to the lists' windows: UTF-8, one parameter text per line, each
    /// followed by "\r\n".
    static QString parameterMimeType() { return QStringLiteral("application/x-kx-parameter-texts"); }

    virtual QStringList customListIdentifiers() = 0;
    virtual QString customListName(QString identifier) = 0;
    virtual void addParameterToCustomList(QString identifier, QString parameter) = 0;
    virtual void removeParameterFromCustomList(QString identifier, QString parameter) = 0;
};
