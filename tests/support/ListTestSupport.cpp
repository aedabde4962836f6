#include "ListTestSupport.h"

namespace KxTest {

Host::Host(const QByteArray& controllers)
    : Devices(controllers)
{
}

Host::~Host() = default;

QList<DriveController*> Host::driveControllers()
{
    return controllers();
}

void Host::removeAllControllers()
{
    forgetControllers();
    emit hostContentChanged();
}

} // namespace KxTest
