#include "ModbusTestSupport.h"
#include "TestSupport.h"

#include "AxisCompareView.h"
#include "ChangeJournal.h"
#include "ConnectionDialog.h"
#include "ControllerConnections.h"
#include "DeviceDescription.h"
#include "DeviceTypeLibrary.h"
#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "MainWindow.h"
#include "ModbusConnection.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"
#include "Project.h"
#include "ProjectCodec.h"
#include "ProjectHost.h"
#include "ProjectTreeWidget.h"
#include "RegisterMap.h"

#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

using namespace KxModbusTest;

class TestAppConnections : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KxTest::initTestEnvironment(); }

    void connectionDialogSetsAndRemovesTheConnection()
    {
        MainWindow window;
        window.setInteractive(false);
        QVERIFY(window.openFile(MainWindow::defaultProjectPath()));
        DriveController* controller = window.project()->host()->driveControllers().first();
        QVERIFY(window.projectTree()->selectController(controller));

        window.findChild<QAction*>(QStringLiteral("actionConnection"))->trigger();
        auto* dialog = window.findChild<ConnectionDialog*>();
        QVERIFY(dialog && dialog->isVisible());
        auto* ok = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"))->button(QDialogButtonBox::Ok);
        dialog->findChild<QCheckBox*>(QStringLiteral("useConnectionCheckBox"))->setChecked(true);
        dialog->findChild<QLineEdit*>(QStringLiteral("hostLineEdit"))->clear();
        QVERIFY(!ok->isEnabled());   // a connection needs an address
        QTest::keyClicks(dialog->findChild<QLineEdit*>(QStringLiteral("hostLineEdit")), QStringLiteral("192.0.2.10"));
        dialog->findChild<QSpinBox*>(QStringLiteral("portSpinBox"))->setValue(1502);
        dialog->findChild<QSpinBox*>(QStringLiteral("unitIdSpinBox"))->setValue(7);
        ok->click();
        QVERIFY(controller->connection());
        QVERIFY(controller->connectionSettings() == (ModbusConnectionSettings{QStringLiteral("192.0.2.10"), 1502, 7}));
        QVERIFY(window.isWindowModified());
        QVERIFY(window.findChild<QLabel*>(QStringLiteral("connectionStateLabel"))->text().contains(QLatin1String("192.0.2.10:1502")));

        window.findChild<QAction*>(QStringLiteral("actionConnection"))->trigger();
        QTRY_VERIFY(window.findChild<ConnectionDialog*>() && window.findChild<ConnectionDialog*>() != dialog);
        dialog = window.findChild<ConnectionDialog*>();
        dialog->findChild<QCheckBox*>(QStringLiteral("useConnectionCheckBox"))->setChecked(false);
        dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"))->button(QDialogButtonBox::Ok)->click();
        QVERIFY(!controller->connection());
    }

    void projectsKeepConnectionsAndLeaveOutUnusableOnes()
    {
        DeviceTypeLibrary library;
        library.loadDirectory(MainWindow::defaultTypesDirectory());
        QObject owner;
        const QList<DriveController*> controllers = DeviceDescription::controllersFromFile(MainWindow::defaultProjectPath(), &owner);
        QVERIFY(controllers.size() >= 2);
        controllers.at(0)->setConnectionSettings(ModbusConnectionSettings{QStringLiteral("192.0.2.5"), 1502, 9});
        QJsonObject document = QJsonDocument::fromJson(ProjectCodec::encode(controllers, &library)).object();
        QJsonArray list = document.value(QStringLiteral("controllers")).toArray();
        QVERIFY(!list.at(1).toObject().contains(QStringLiteral("connection")));   // simulated ones store none
        QJsonObject second = list.at(1).toObject();
        second.insert(QStringLiteral("connection"), QJsonObject{{QStringLiteral("host"), QStringLiteral("192.0.2.6")}, {QStringLiteral("port"), 70000}});
        list[1] = second;
        document.insert(QStringLiteral("controllers"), list);

        const ProjectCodec::DecodeResult result = ProjectCodec::decode(QJsonDocument(document).toJson(), &library);
        QVERIFY2(result.ok, qPrintable(result.error));
        QVERIFY(result.controllers.at(0)->connectionSettings() == (ModbusConnectionSettings{QStringLiteral("192.0.2.5"), 1502, 9}));
        QVERIFY(!result.controllers.at(0)->needSave());
        QVERIFY(!result.controllers.at(1)->connection());
        QCOMPARE(result.skipped.size(), 1);
        QVERIFY(result.skipped.first().contains(result.controllers.at(1)->name()));
        qDeleteAll(result.controllers);
    }

    void progressOfReadingCanBeCancelled()
    {
        ServerProcess sim;
        QVERIFY2(sim.start(driveSimulator(), {QStringLiteral("--latency"), QStringLiteral("30"), QStringLiteral("--port"), QString::number(freePort()),
                              QStringLiteral(KX_DATA_DIR "/sample-project.json")}, 3),
            qPrintable(sim.errorText()));
        MainWindow window;
        window.setInteractive(false);
        QVERIFY(window.openFile(MainWindow::defaultProjectPath()));
        DriveController* portal = window.project()->host()->driveControllers().first();
        portal->setOnline(false);
        portal->setConnectionSettings(ModbusConnectionSettings{QStringLiteral("127.0.0.1"), sim.port(0), 1});
        portal->connection()->setMaxRequestsInFlight(1);
        QVERIFY(window.projectTree()->selectController(portal));
        auto* bar = window.findChild<QProgressBar*>(QStringLiteral("connectionProgressBar"));
        auto* cancel = window.findChild<QToolButton*>(QStringLiteral("cancelConnectingButton"));
        QVERIFY(bar && cancel);

        window.findChild<QAction*>(QStringLiteral("actionOnline"))->trigger();
        QTRY_VERIFY(bar->value() >= 2);
        QVERIFY(bar->isVisibleTo(&window) && bar->value() < bar->maximum());
        cancel->click();
        QCOMPARE(portal->onlineState(), OnlineStateOffline);
        QVERIFY(!bar->isVisibleTo(&window));
        QVERIFY(portal->connectionFault().isEmpty());
    }

    // The road through the simulator: start it from the application, go
    // online, edit a value, find it in the simulator; kill it, and the axes
    // show the fault.
    void simulatorStartedFromTheApplication()
    {
        MainWindow window;
        window.setInteractive(false);
        QVERIFY(window.openFile(MainWindow::defaultProjectPath()));
        const QList<DriveController*> controllers = window.project()->host()->driveControllers();
        DriveController* portal = controllers.first();
        QVERIFY(window.projectTree()->selectAxis(portal, 1));
        auto* connections = window.findChild<ControllerConnections*>();
        QVERIFY(connections);

        window.findChild<QAction*>(QStringLiteral("actionStartSimulator"))->trigger();
        for (DriveController* controller : controllers)
            QTRY_VERIFY_WITH_TIMEOUT(controller->connection() && controller->isOnline(), 15000);
        QVERIFY(window.findChild<QLabel*>(QStringLiteral("connectionStateLabel"))->text().contains(QLatin1String("online")));

        // (a comparison of the portal's first two axes is open meanwhile)
        AxisCompareView* comparison = window.compareAxes(portal, 1, portal, 2);
        QVERIFY(comparison);
        QTreeWidget* compared = comparison->findChild<QTreeWidget*>(QStringLiteral("parameterTreeWidget"));

        ParameterSetup* c10 = portal->parameterProvider()->parameterSetup(ParameterCoordinate(QStringLiteral("C10"))).data();
        const int journalled = window.changeJournal()->entries().size();
        QVERIFY(c10->setValueText(1, 0, QStringLiteral("123,4")));
        QTRY_COMPARE(c10->valueText(1, 0, false), QStringLiteral("123.4"));
        // The journal has the write, ended as written once the device acknowledged it.
        QCOMPARE(window.changeJournal()->entries().size(), journalled + 1);
        QCOMPARE(window.changeJournal()->entries().last().address, QStringLiteral("C10"));
        QTRY_COMPARE(window.changeJournal()->entries().last().outcome, ChangeJournalEntry::Written);
        QVERIFY(window.changeJournal()->entries().last().newValue.startsWith(QStringLiteral("123.4")));
        const RegisterLocation at = RegisterMap::of(*portal->type())->locate(c10->coordinate(), 1, 0);
        QVERIFY(at.isValid());
        QCOMPARE(mbpollRead(portal->connectionSettings().port,
                     {QStringLiteral("-r"), QString::number(at.address), QStringLiteral("-t"), QStringLiteral("4:int"), QStringLiteral("-B")}),
            QVector<double>{1234});

        // Asked to stay online, the controllers keep trying; the fault shows meanwhile.
        connections->simulator()->kill();
        QTRY_COMPARE(portal->onlineState(), OnlineStateOffline);
        QVERIFY(portal->hasAxisFault(1));
        QTRY_VERIFY(window.findChild<QLabel*>(QStringLiteral("connectionStateLabel"))->text().contains(QStringLiteral("St\u00F6rung")));
        // The comparison's header shows the axis offline with a fault.
        QTRY_COMPARE(compared->headerItem()->icon(1).pixmap(16, 16).toImage(),
                     QIcon(QStringLiteral(":/Resources/DriveControllerAxis1OfflineFault.png")).pixmap(16, 16).toImage());
        // Still meant to be online: switching it off ends the attempts.
        auto* online = window.findChild<QAction*>(QStringLiteral("actionOnline"));
        QVERIFY(window.projectTree()->selectController(portal));
        QVERIFY(online->isChecked());
        online->trigger();
        QCOMPARE(portal->connection()->reconnectDelay(), -1);
        QVERIFY(!online->isChecked());
        connections->stopSimulator();
        for (DriveController* controller : controllers)
            controller->setConnectionSettings(ModbusConnectionSettings{QString(), 0, 0});
    }
};

QTEST_MAIN(TestAppConnections)
#include "tst_appconnections.moc"
