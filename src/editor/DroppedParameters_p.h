#pragma once

#include "ParameterCustomListHost.h"

#include <QMimeData>
#include <QStringList>

// The parameter texts ("C10", "C32[2]") that a parameter view put into a
// drag; empty for anything else.
inline QStringList droppedParameters(const QMimeData* data)
{
    QStringList parameters;
    if (!data || !data->hasFormat(ParameterCustomListHost::parameterMimeType()))
        return parameters;
    const QList<QByteArray> lines = data->data(ParameterCustomListHost::parameterMimeType()).split('\n');
    for (const QByteArray& line : lines) {
        const QString parameter = QString::fromUtf8(line).trimmed();
        if (!parameter.isEmpty())
            parameters.append(parameter);
    }
    return parameters;
}
