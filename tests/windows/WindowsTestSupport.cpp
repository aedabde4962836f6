#include "WindowsTestSupport.h"

#include "DeviceDescription.h"
#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "System.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace WindowsTest {

QByteArray description(const QByteArray& controllers)
{
    static const QByteArray types = R"({
  "name": "KXR-3 Regler", "descriptor": "Regler 3 kW", "maxAxes": 4,
  "parameters": [
    {"coordinate": "A10", "name": {"de": "Maximaldrehzahl"}, "unit": "1/min", "max": 8000, "default": 2500},
    {"coordinate": "A12", "name": {"de": "Sollwertspeicher"}, "structure": "array", "count": 10, "max": 500},
    {"coordinate": "B20", "name": {"de": "Drehzahlregler"}, "structure": "record", "elements": [
      {"name": {"de": "Proportionalanteil"}, "max": 200, "default": 12},
      {"name": {"de": "Integralzeit"}, "unit": "ms", "max": 900, "default": 40}]},
    {"coordinate": "C05", "name": {"de": "Bremszeit"}, "unit": "ms", "max": 5000, "default": 250},
    {"coordinate": "P105", "name": {"de": "Schutzklasse"}, "scope": "device", "max": 9, "writable": false}
  ]}, {
  "name": "KXU-1 Umrichter", "descriptor": "Umrichter 0,75 kW", "maxAxes": 1,
  "parameters": [
    {"coordinate": "A10", "name": {"de": "Maximaldrehzahl"}, "unit": "1/min", "max": 3000, "default": 1400},
    {"coordinate": "C05", "name": {"de": "Auslaufzeit"}, "unit": "ms", "max": 20000, "default": 1000}
  ]})";
    return R"({"format": "KxDeviceDescription", "version": 1, "types": [)" + types
        + R"(], "controllers": )" + controllers + "}";
}

QByteArray twoControllers()
{
    return description(R"([
  {"name": "Achsmodul", "type": "KXR-3 Regler", "axes": [{"number": 1, "name": "Hubachse"}, {"number": 2, "name": "Fahrachse"}]},
  {"name": "Pumpe", "type": "KXU-1 Umrichter", "descriptor": "Umrichter Pumpe", "axes": [{"number": 1, "name": "Pumpenantrieb"}]}
])");
}

Host::Host(const QByteArray& json)
{
    QString error;
    const QList<DriveController*> controllers = DeviceDescription::controllersFromBytes(json, &m_owner, &error);
    if (!error.isEmpty())
        QTest::qFail(qPrintable(QStringLiteral("device description refused: ") + error), __FILE__, __LINE__);
    for (DriveController* controller : controllers)
        m_controllers.append(controller);
}

Host::~Host() = default;

QList<DriveController*> Host::driveControllers()
{
    QList<DriveController*> result;
    for (const QPointer<DriveController>& controller : qAsConst(m_controllers)) {
        if (controller)
            result.append(controller);
    }
    return result;
}

DriveController* Host::controller(int index) const
{
    return m_controllers.value(index).data();
}

DriveControllerAxis* Host::axis(int controllerIndex, int axisNumber) const
{
    DriveController* c = controller(controllerIndex);
    return c ? c->axis(axisNumber) : nullptr;
}

void Host::removeAllControllers()
{
    m_controllers.clear();
    emit hostContentChanged();
}

QObject* modalHandlers()
{
    static QPointer<QObject> parent;
    if (!parent)
        parent = new QObject(qApp);
    return parent;
}

void cancelModalHandlers()
{
    qDeleteAll(modalHandlers()->children());
}

QByteArray sortedElements(const QByteArray& text)
{
    QByteArray result;
    const QList<QByteArray> lines = text.split('\n');
    for (const QByteArray& line : lines) {
        if (line.isEmpty())
            continue;
        const int open = line.indexOf('[');
        const int close = line.lastIndexOf(']');
        if (open < 0 || close < open) {
            result += line + '\n';
            continue;
        }
        QList<int> numbers;
        const QList<QByteArray> parts = line.mid(open + 1, close - open - 1).split('/');
        for (const QByteArray& part : parts)
            numbers.append(part.toInt());
        std::sort(numbers.begin(), numbers.end());
        QByteArrayList sorted;
        for (int number : qAsConst(numbers))
            sorted.append(QByteArray::number(number));
        result += line.left(open + 1) + sorted.join('/') + line.mid(close) + '\n';
    }
    return result;
}

void expectPopupWarnings()
{
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        return;
    KxTest::expectWarning(QStringLiteral("^This plugin does not support raise\\(\\)"));
    KxTest::expectWarning(QStringLiteral("^This plugin does not support grabbing the keyboard"));
}

void expectRaiseWarnings(int count)
{
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        return;
    for (int i = 0; i < count; ++i)
        KxTest::expectWarning(QStringLiteral("^This plugin does not support raise\\(\\)"));
}

void acceptFileDialog(QFileDialog* dialog, const QString& path)
{
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY2(edit, "the file dialog has no name field; is a native dialog in use?");
    edit->setText(path);
    // accept() is protected in QFileDialog; it is a slot, so it can be invoked.
    QMetaObject::invokeMethod(dialog, "accept");
}

QString proposedFile(QFileDialog* dialog)
{
    const QStringList files = dialog->selectedFiles();
    return files.isEmpty() ? QString() : QDir::cleanPath(files.first());
}

bool makeUnreadableFile(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    sockaddr_un address;
    if (size_t(native.size()) >= sizeof(address.sun_path))
        return false;
    std::memset(&address, 0, sizeof(address));
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, native.constData(), size_t(native.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0)
        return false;
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    ::close(fd);
    return bound;
}

MainWindow::MainWindow()
    : m_window(new QWidget)
{
    m_window->setObjectName(QStringLiteral("mainWindow"));
    m_window->resize(800, 600);
    System::instance().setMainWindow(m_window);
}

MainWindow::~MainWindow()
{
    delete m_window;
}

} // namespace WindowsTest
