#pragma once

#include "ParameterCustomListRepositoryHost.h"
#include "TestSupport.h"

namespace KxTest {

// A project host whose controllers come from the shared catalogue.
class Host : public ParameterCustomListRepositoryHost, public Devices
{
    Q_OBJECT
public:
    explicit Host(const QByteArray& controllers = project("feed")) : Devices(controllers) {}
    QList<DriveController*> driveControllers() override { return controllers(); }
    // Forgets the controllers and tells the repository.
    void removeAllControllers()
    {
        forgetControllers();
        emit hostContentChanged();
    }
};

// The entries of a list in one line: "A12" for a whole parameter, "A12[1/3]"
// (ascending) for a selection, "A12[]" for an empty one.
// (A template, so that tests of the shared library, which does not export the
// list's class, need not link it.)
template<typename List>
QString describe(List& list)
{
    QStringList lines;
    for (auto* entry : qAsConst(list.entries())) {
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

} // namespace KxTest
