#include "ControllerConnections.h"

#include "ConnectionDialog.h"
#include "DeviceType.h"
#include "DeviceTypeLibrary.h"
#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "MainWindow.h"
#include "ModbusConnection.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"
#include "Project.h"
#include "ProjectHost.h"
#include "ProjectTreeWidget.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPointer>
#include <QProcess>
#include <QProgressBar>
#include <QSet>
#include <QStatusBar>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QToolButton>

class ControllerConnectionsPrivate
{
public:
    QList<DriveController*> controllers() const { return window->project()->host()->driveControllers(); }
    void watch(DriveController* controller);
    QByteArray simulatorDescription(QList<DriveController*>* served, QStringList* leftOut) const;
    void onSimulatorOutput();

    ControllerConnections* q = nullptr;
    MainWindow* window = nullptr;
    QAction* connectionAction = nullptr;
    QAction* simulatorAction = nullptr;
    QLabel* stateLabel = nullptr;
    QWidget* progressBox = nullptr;
    QProgressBar* progress = nullptr;
    QToolButton* cancel = nullptr;
    QSet<DriveController*> watched;
    QPointer<QProcess> simulator;
    std::unique_ptr<QTemporaryDir> simulatorDirectory;
    QList<QPointer<DriveController>> simulated;   // in the simulator's order
    int simulatorLines = 0;
};

void ControllerConnectionsPrivate::watch(DriveController* controller)
{
    if (watched.contains(controller))
        return;
    watched.insert(controller);
    QObject::connect(controller, &QObject::destroyed, q, [this, controller]() { watched.remove(controller); });
    QObject::connect(controller, &DriveController::onlineStateChanged, q, &ControllerConnections::refresh);
    QObject::connect(controller, &DriveController::deviceStateChanged, q, &ControllerConnections::refresh);
    auto attach = [this, controller]() {
        ModbusConnection* connection = controller->connection();
        if (!connection || connection->property("kxWatched").toBool())
            return;
        connection->setProperty("kxWatched", true);
        connection->setStayOnline(true);
        const QString name = controller->name();
        QObject::connect(connection, &ModbusConnection::readProgress, q, [this, controller](int done, int total) {
            if (window->projectTree()->currentController() != controller)
                return;
            progress->setRange(0, std::max(1, total));
            progress->setValue(done);
        });
        QObject::connect(connection, &ModbusConnection::writeRefused, q, [this, controller](const ParameterAddress& address, const QString& value, const QString& reason) {
            emit q->message(ControllerConnections::tr("„%1“: %2 = %3 abgelehnt: %4").arg(controller->name(), address.toText(), value, reason));
        });
        QObject::connect(connection, &ModbusConnection::writesLost, q, [this, controller](const QList<ModbusLostWrite>& writes) {
            QStringList list;
            for (const ModbusLostWrite& write : writes)
                list.append(QStringLiteral("%1 = %2").arg(write.address.toText(), write.value));
            emit q->message(ControllerConnections::tr("„%1“: %n Schreibauftr\u00E4ge nicht best\u00E4tigt, die Werte blieben unver\u00E4ndert: %2", nullptr, writes.size())
                                .arg(controller->name(), list.join(QStringLiteral(", "))));
        });
        QObject::connect(connection, &ModbusConnection::connectionFailed, q, [this, controller](const QString& reason) {
            emit q->message(ControllerConnections::tr("„%1“ ist offline: %2").arg(controller->name(), reason));
        });
    };
    attach();
    // A connection made later is watched as well.
    QObject::connect(controller, &DriveController::deviceStateChanged, q, attach);
    QObject::connect(controller, &DriveController::onlineStateChanged, q, attach);
}

QByteArray ControllerConnectionsPrivate::simulatorDescription(QList<DriveController*>* served, QStringList* leftOut) const
{
    QJsonArray includes;
    QJsonArray list;
    for (DriveController* controller : controllers()) {
        const QString typeName = controller->type() ? controller->type()->name : QString();
        const QString file = window->project()->typeLibrary()->sourceFile(typeName);
        if (file.isEmpty()) {
            leftOut->append(controller->name());
            continue;
        }
        if (!includes.contains(file))
            includes.append(file);
        QJsonObject object{{QStringLiteral("name"), controller->name()}, {QStringLiteral("type"), typeName}};
        QJsonArray axes;
        for (int number : controller->axisNumbers())
            axes.append(QJsonObject{{QStringLiteral("number"), number}, {QStringLiteral("name"), controller->axisName(number)}});
        object.insert(QStringLiteral("axes"), axes);
        // The drive starts with what the project holds.
        QJsonArray values;
        const ParameterProvider* provider = controller->parameterProvider();
        for (const ParameterCoordinate& coordinate : provider->allCoordinates()) {
            const ParameterSetup* setup = provider->parameterSetup(coordinate).data();
            for (eLivingSpace space : setup->livingSpaces()) {
                if (space != LivingSpaceDevice && !controller->axis(space))
                    continue;
                for (quint16 element : setup->valueElementIndices()) {
                    if (!setup->isChangedFromDefault(space, element))
                        continue;
                    QJsonObject value{{QStringLiteral("coordinate"), coordinate.toText()}, {QStringLiteral("element"), element},
                        {QStringLiteral("value"), setup->valueText(space, element, false)}};
                    if (space != LivingSpaceDevice)
                        value.insert(QStringLiteral("axis"), space);
                    values.append(value);
                }
            }
        }
        object.insert(QStringLiteral("values"), values);
        list.append(object);
        served->append(controller);
    }
    return QJsonDocument(QJsonObject{{QStringLiteral("format"), QStringLiteral("KxDeviceDescription")}, {QStringLiteral("version"), 1},
                             {QStringLiteral("includes"), includes}, {QStringLiteral("controllers"), list}})
        .toJson();
}

void ControllerConnectionsPrivate::onSimulatorOutput()
{
    while (simulator && simulator->canReadLine()) {
        const QStringList fields = QString::fromUtf8(simulator->readLine()).trimmed().split(QLatin1Char('\t'));
        if (fields.size() != 3 || simulatorLines >= simulated.size())
            continue;
        DriveController* controller = simulated.at(simulatorLines++);
        const int colon = fields.at(1).lastIndexOf(QLatin1Char(':'));
        if (!controller || colon < 0)
            continue;
        controller->setOnline(false);
        controller->setConnectionSettings(ModbusConnectionSettings{fields.at(1).left(colon), fields.at(1).mid(colon + 1).toInt(),
            fields.at(2).section(QLatin1Char(' '), 1).toInt()});
        controller->setOnline(true);
    }
}

ControllerConnections::ControllerConnections(MainWindow* window)
    : QObject(window)
    , d(new ControllerConnectionsPrivate)
{
    d->q = this;
    d->window = window;
    d->connectionAction = new QAction(this);
    d->connectionAction->setObjectName(QStringLiteral("actionConnection"));
    d->simulatorAction = new QAction(this);
    d->simulatorAction->setObjectName(QStringLiteral("actionStartSimulator"));
    connect(d->connectionAction, &QAction::triggered, this, &ControllerConnections::editConnection);
    connect(d->simulatorAction, &QAction::triggered, this, &ControllerConnections::startSimulator);

    d->stateLabel = new QLabel;
    d->stateLabel->setObjectName(QStringLiteral("connectionStateLabel"));
    d->progressBox = new QWidget;
    auto* layout = new QHBoxLayout(d->progressBox);
    layout->setContentsMargins(0, 0, 0, 0);
    d->progress = new QProgressBar;
    d->progress->setObjectName(QStringLiteral("connectionProgressBar"));
    d->progress->setMaximumWidth(160);
    d->cancel = new QToolButton;
    d->cancel->setObjectName(QStringLiteral("cancelConnectingButton"));
    layout->addWidget(d->progress);
    layout->addWidget(d->cancel);
    d->progressBox->hide();
    window->statusBar()->addPermanentWidget(d->progressBox);
    window->statusBar()->addPermanentWidget(d->stateLabel);
    connect(d->cancel, &QToolButton::clicked, this, [this]() {
        if (DriveController* controller = d->window->projectTree()->currentController())
            controller->setOnline(false);
    });
    connect(window->projectTree(), &ProjectTreeWidget::currentSelectionChanged, this, &ControllerConnections::refresh);
    connect(window->projectTree(), &ProjectTreeWidget::refreshed, this, &ControllerConnections::refresh);
    retranslate();
    refresh();
}

ControllerConnections::~ControllerConnections()
{
    stopSimulator();
}

QAction* ControllerConnections::connectionAction() const
{
    return d->connectionAction;
}

QAction* ControllerConnections::simulatorAction() const
{
    return d->simulatorAction;
}

QProcess* ControllerConnections::simulator() const
{
    return d->simulator.data();
}

bool ControllerConnections::wantsOnline(const DriveController* controller)
{
    return controller->onlineState() != OnlineStateOffline || (controller->connection() && controller->connection()->reconnectDelay() >= 0);
}

QString ControllerConnections::simulatorProgram()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("kx-drive-sim"));
}

void ControllerConnections::retranslate()
{
    d->connectionAction->setText(tr("&Verbindung ..."));
    d->connectionAction->setToolTip(tr("Wie der gewählte Regler erreicht wird (Modbus TCP oder simuliert)"));
    d->simulatorAction->setText(tr("&Simulator starten"));
    d->simulatorAction->setToolTip(tr("Startet kx-drive-sim für das Projekt und verbindet alle Regler damit"));
    d->cancel->setText(tr("Abbrechen"));
    refresh();
}

void ControllerConnections::editConnection()
{
    DriveController* controller = d->window->projectTree()->currentController();
    if (!controller)
        return;
    // Opened, not executed: the device traffic goes on while it is shown.
    auto* dialog = new ConnectionDialog(controller->name(), controller->connectionSettings(), controller->connection() != nullptr, d->window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<DriveController> target = controller;
    connect(dialog, &QDialog::accepted, this, [this, dialog, target]() {
        if (!target)
            return;
        const ModbusConnectionSettings settings = dialog->settings();
        target->setConnectionSettings(settings);
        emit message(settings.isValid() ? tr("„%1“ wird über %2 erreicht.").arg(target->name(), settings.toText())
                                        : tr("„%1“ wird simuliert.").arg(target->name()));
        refresh();
    });
    dialog->open();
}

void ControllerConnections::startSimulator()
{
    stopSimulator();
    QList<DriveController*> served;
    QStringList leftOut;
    const QByteArray description = d->simulatorDescription(&served, &leftOut);
    if (served.isEmpty()) {
        emit message(tr("Kein Regler des Projekts kann simuliert werden."));
        return;
    }
    d->simulatorDirectory = std::make_unique<QTemporaryDir>();
    const QString path = d->simulatorDirectory->filePath(QStringLiteral("project.json"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(description) != description.size()) {
        emit message(tr("Die Beschreibung für den Simulator kann nicht geschrieben werden: %1").arg(file.errorString()));
        return;
    }
    file.close();
    // Free now; the simulator skips ports taken meanwhile and tells which it uses.
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const int port = probe.serverPort();
    probe.close();

    d->simulated.clear();
    for (DriveController* controller : served)
        d->simulated.append(controller);
    d->simulatorLines = 0;
    d->simulator = new QProcess(this);
    d->simulator->setObjectName(QStringLiteral("driveSimulator"));
    connect(d->simulator, &QProcess::readyReadStandardOutput, this, [this]() { d->onSimulatorOutput(); });
    connect(d->simulator, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this, [this](int code) {
        QProcess* process = d->simulator.data();
        const QString errors = process ? QString::fromLocal8Bit(process->readAllStandardError()).trimmed() : QString();
        emit message(errors.isEmpty() ? tr("Der Simulator hat sich beendet (%1).").arg(code) : tr("Der Simulator hat sich beendet: %1").arg(errors));
    });
    connect(d->simulator, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            emit message(tr("Der Simulator „%1“ kann nicht gestartet werden.").arg(simulatorProgram()));
    });
    d->simulator->start(simulatorProgram(), {QStringLiteral("--port"), QString::number(port), path});
    emit message(leftOut.isEmpty() ? tr("Simulator gestartet für %n Regler.", nullptr, served.size())
                                   : tr("Simulator gestartet; ohne Typdatei nicht simuliert: %1").arg(leftOut.join(QStringLiteral(", "))));
}

void ControllerConnections::stopSimulator()
{
    if (!d->simulator)
        return;
    QProcess* process = d->simulator.data();
    d->simulator.clear();
    process->disconnect(this);
    process->terminate();
    // Ends on SIGTERM at once; the process object goes when it has.
    connect(process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), process, &QObject::deleteLater);
}

void ControllerConnections::refresh()
{
    for (DriveController* controller : d->controllers())
        d->watch(controller);
    DriveController* controller = d->window->projectTree()->currentController();
    d->connectionAction->setEnabled(controller);
    d->simulatorAction->setEnabled(!d->controllers().isEmpty());
    if (!controller) {
        d->stateLabel->clear();
        d->progressBox->hide();
        return;
    }
    const QString state = ProjectTreeWidget::onlineStateText(controller);
    const QString where = controller->connection() ? controller->connectionSettings().toText() : tr("simuliert");
    QString text = tr("%1: %2 (%3)").arg(controller->name(), state, where);
    if (!controller->connectionFault().isEmpty())
        text += tr(" – Störung: %1").arg(controller->connectionFault());
    d->stateLabel->setText(text);
    d->progressBox->setVisible(controller->connection() && controller->onlineState() == OnlineStateConnecting);
}
