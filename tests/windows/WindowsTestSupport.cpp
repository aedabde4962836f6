#include "WindowsTestSupport.h"

#include "DeviceDescription.h"
#include "DriveController.h"
#include "System.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace WindowsTest {

QByteArray twoControllers()
{
    return R"({"format": "KxDeviceDescription", "version": 1, "types": [{
  "name": "KXR-3 Regler", "descriptor": "Regler 3 kW", "maxAxes": 4, "parameters": [
    {"coordinate": "A10", "name": {"de": "Maximaldrehzahl"}, "unit": "1/min", "max": 8000, "default": 2500},
    {"coordinate": "A12", "name": {"de": "Sollwertspeicher"}, "structure": "array", "count": 10, "max": 500},
    {"coordinate": "C05", "name": {"de": "Bremszeit"}, "unit": "ms", "max": 5000, "default": 250}]
 }, {
  "name": "KXU-1 Umrichter", "descriptor": "Umrichter 0,75 kW", "maxAxes": 1, "parameters": [
    {"coordinate": "C05", "name": {"de": "Auslaufzeit"}, "unit": "ms", "max": 20000, "default": 1000}]
 }], "controllers": [
  {"name": "Achsmodul", "type": "KXR-3 Regler", "axes": [{"number": 1, "name": "Hubachse"}, {"number": 2, "name": "Fahrachse"}]},
  {"name": "Pumpe", "type": "KXU-1 Umrichter", "descriptor": "Umrichter Pumpe", "axes": [{"number": 1, "name": "Pumpenantrieb"}]}
]})";
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

MainWindow::MainWindow()
    : m_window(new QWidget)
{
    m_window->resize(800, 600);
    System::instance().setMainWindow(m_window);
}

MainWindow::~MainWindow()
{
    delete m_window;
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

void answerFileDialog(FileDialogRun* run, const QString& fileName)
{
    whenModal<QFileDialog>([run, fileName](QFileDialog* dialog) {
        run->dialogParent = dialog->parentWidget();
        run->caption = dialog->windowTitle();
        run->directory = dialog->directory().absolutePath();
        run->proposal = QDir::cleanPath(dialog->selectedFiles().value(0));
        run->filters = dialog->nameFilters();
        if (fileName.isEmpty())
            return;
        whenModal<QMessageBox>([run](QMessageBox* box) {
            run->messageParent = box->parentWidget();
            run->messageTitle = box->windowTitle();
            run->messageText = box->text();
            run->messageIsCriticalWithOk = box->icon() == QMessageBox::Critical && box->standardButtons() == QMessageBox::Ok;
            box->button(QMessageBox::Ok)->click();
        }, &run->messageSeen, 1000);
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY2(edit, "no file name field: a native dialog?");
        edit->setText(fileName);
        QMetaObject::invokeMethod(dialog, "accept");   // protected, but a slot
    }, &run->dialogSeen);
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

} // namespace WindowsTest
