#pragma once

#include "ParameterCustomList.h"
#include "ParameterCustomListEntry.h"

#include <QStringList>

namespace ModelTest {

// The entries of a list in one line: "A12" for a whole parameter, "A12[1/3]"
// (ascending) for a selection, "A12[]" for an empty one.
inline QString describe(ParameterCustomList& list)
{
    QStringList lines;
    for (ParameterCustomListEntry* entry : qAsConst(list.entries())) {
        QString line = entry->coordinate().toText();
        if (!entry->allElements()) {
            QStringList numbers;
            for (quint16 e : entry->elementIndices())
                numbers.append(QString::number(e));
            line += QLatin1Char('[') + numbers.join(QLatin1Char('/')) + QLatin1Char(']');
        }
        lines.append(line);
    }
    return lines.join(QLatin1Char(' '));
}

} // namespace ModelTest
