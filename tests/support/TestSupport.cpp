#include "TestSupport.h"

#include "DeviceDescription.h"
#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "ParameterAddress.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"
#include "System.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace KxTest {

namespace {

QtMessageHandler previousHandler = nullptr;
QList<QRegularExpression> expectedWarnings;

void failOnUnexpectedWarning(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg || type == QtCriticalMsg) {
        for (int i = 0; i < expectedWarnings.size(); ++i) {
            if (expectedWarnings.at(i).match(message).hasMatch())
                return expectedWarnings.removeAt(i);
        }
    }
    if (previousHandler)
        previousHandler(type, context, message);
    if (type != QtWarningMsg && type != QtCriticalMsg)
        return;
    // Messages of Qt's platform plugins say nothing about our code.
    const QByteArray category(context.category ? context.category : "");
    if (category.startsWith("qt.qpa") || message.startsWith(QLatin1String("This plugin does not support")))
        return;
    if (!qEnvironmentVariableIsSet("KX_ALLOW_WARNINGS"))
        QTest::qFail(qPrintable(QStringLiteral("unexpected warning: ") + message), context.file ? context.file : "?", context.line);
}

} // namespace

void initTestEnvironment()
{
    static QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", QDir(home.path()).filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", QDir(home.path()).filePath(QStringLiteral("data")).toLocal8Bit());
    QStandardPaths::setTestModeEnabled(true);
    // Test mode alone would send every test process to the same ~/.qttest
    // settings; tests run in parallel, so each gets its own.
    const QString settingsDir = QDir(home.path()).filePath(QStringLiteral("settings"));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir);
    QCoreApplication::setOrganizationName(QStringLiteral("KxTest"));
    QCoreApplication::setApplicationName(QCoreApplication::applicationName() + QStringLiteral("-test"));
    previousHandler = qInstallMessageHandler(failOnUnexpectedWarning);
}

void expectWarning(const QString& pattern)
{
    expectedWarnings.append(QRegularExpression(pattern));
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        QTest::qFail(qPrintable(QStringLiteral("cannot read ") + path), __FILE__, __LINE__);
        return {};
    }
    return file.readAll();
}

QByteArray description(const QByteArray& controllers)
{
    static const QByteArray catalogue = readFile(QStringLiteral(KX_TEST_SUPPORT_DIR "/catalogue.json")).trimmed();
    return catalogue.chopped(1) + ", \"controllers\": " + controllers + '}';
}

QByteArray project(const char* name)
{
    static const QJsonObject projects = QJsonDocument::fromJson(readFile(QStringLiteral(KX_TEST_SUPPORT_DIR "/projects.json"))).object();
    const QJsonValue controllers = projects.value(QLatin1String(name));
    if (!controllers.isArray())
        QTest::qFail(qPrintable(QStringLiteral("no test project ") + QLatin1String(name)), __FILE__, __LINE__);
    return QJsonDocument(controllers.toArray()).toJson(QJsonDocument::Compact);
}

QColor markingColor(int controller, int axis)
{
    return QColor::fromHsv((controller * 97 + axis * 29) % 360, 220, 200);
}

QByteArray controllersWithAxes(const QList<QPair<QString, int>>& typesAndAxes)
{
    QJsonArray controllers;
    for (int c = 0; c < typesAndAxes.size(); ++c) {
        QJsonArray axes;
        for (int a = 1; a <= typesAndAxes.at(c).second; ++a)
            axes.append(QJsonObject{{"number", a}, {"name", QStringLiteral("Achse %1").arg(a)},
                                    {"markingColor", markingColor(c + 1, a).name()}});
        controllers.append(QJsonObject{{"name", QStringLiteral("Regler %1").arg(c + 1)},
                                       {"type", typesAndAxes.at(c).first}, {"axes", axes}});
    }
    return QJsonDocument(controllers).toJson(QJsonDocument::Compact);
}

Devices::Devices(const QByteArray& controllers)
    : m_owner(new QObject)
{
    QString error;
    for (DriveController* controller : DeviceDescription::controllersFromBytes(
             controllers.trimmed().startsWith('{') ? controllers : description(controllers), m_owner.get(), &error))
        m_controllers.append(controller);
    if (!error.isEmpty())
        QTest::qFail(qPrintable(QStringLiteral("device description refused: ") + error), __FILE__, __LINE__);
}

Devices::~Devices() = default;

QList<DriveController*> Devices::controllers() const
{
    QList<DriveController*> result;
    for (const QPointer<DriveController>& controller : m_controllers)
        if (controller)
            result.append(controller);
    return result;
}

DriveController* Devices::controller(int index) const
{
    return m_controllers.value(index).data();
}

DriveController* Devices::controller(const QString& name) const
{
    for (DriveController* controller : controllers())
        if (controller->name() == name)
            return controller;
    QTest::qFail(qPrintable(QStringLiteral("no controller ") + name), __FILE__, __LINE__);
    return nullptr;
}

DriveControllerAxis* Devices::axis(int controllerIndex, int axisNumber) const
{
    return controller(controllerIndex) ? controller(controllerIndex)->axis(axisNumber) : nullptr;
}

QList<QPointer<DriveControllerAxis>> Devices::axes(const QString& names) const
{
    QList<QPointer<DriveControllerAxis>> result;
    for (const QString& part : names.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        result.append(axis(part.section(QLatin1Char(':'), 0, 0).toInt(), part.section(QLatin1Char(':'), 1).toInt()));
    return result;
}

QList<QPointer<DriveControllerAxis>> Devices::allAxes() const
{
    QList<QPointer<DriveControllerAxis>> result;
    for (DriveController* controller : controllers())
        for (int number : controller->axisNumbers())
            result.append(controller->axis(number));
    return result;
}

void Devices::forgetControllers()
{
    m_controllers.clear();
}

ParameterSetup* setupOf(DriveController* controller, const QString& coordinate)
{
    return controller->parameterProvider()->parameterSetup(ParameterCoordinate(coordinate)).data();
}

ParameterSetup* setupOf(DriveControllerAxis* axis, const QString& coordinate)
{
    return setupOf(axis->driveController(), coordinate);
}

void writeValue(DriveController* controller, int axisNumber, const QString& assignment)
{
    const ParameterAddress address(assignment.section(QLatin1Char('='), 0, 0), true);
    ParameterSetup* setup = controller->parameterProvider()->parameterSetup(address.coordinate()).data();
    QString refusal;
    if (!setup || !setup->setValueText(axisNumber, address.element(), assignment.section(QLatin1Char('='), 1), &refusal))
        QTest::qFail(qPrintable(QStringLiteral("cannot write %1: %2").arg(assignment, refusal)), __FILE__, __LINE__);
}

QList<QTreeWidgetItem*> treeRows(QTreeWidget* tree, bool visibleOnly)
{
    QList<QTreeWidgetItem*> rows;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = tree->topLevelItem(i);
        if (!visibleOnly || !row->isHidden())
            rows.append(row);
        for (int j = 0; j < row->childCount(); ++j)
            if (!visibleOnly || (!row->isHidden() && !row->child(j)->isHidden()))
                rows.append(row->child(j));
    }
    return rows;
}

void deliver()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

bool showActive(QWidget* window)
{
    window->show();
    QApplication::setActiveWindow(window);
    return QTest::qWaitForWindowActive(window);
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

} // namespace KxTest
