#include "DeviceDescription.h"
#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "ParameterDefinition.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"
#include "TestSupport.h"

#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

const ParameterCoordinate A10(QStringLiteral("A10"));
const ParameterCoordinate A20(QStringLiteral("A20"));
const ParameterCoordinate B06(QStringLiteral("B06"));
const ParameterCoordinate C12(QStringLiteral("C12"));
const ParameterCoordinate D01(QStringLiteral("D01"));
const ParameterCoordinate Z10(QStringLiteral("Z10"));

QStringList coordinateTexts(const QList<ParameterCoordinate>& coordinates)
{
    QStringList texts;
    for (const ParameterCoordinate& c : coordinates)
        texts.append(c.toText());
    return texts;
}

ParameterDescription simpleNumber(const ParameterCoordinate& coordinate, double maximum)
{
    ParameterDescription description;
    description.coordinate = coordinate;
    description.text = ParameterText(QStringLiteral("Zusatz"), QStringLiteral("Extra"));
    ParameterElementDescription element;
    element.maximum = maximum;
    description.elements.append(element);
    return description;
}

} // namespace

class TestModelProvider : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KxTest::initTestEnvironment(); }
    void init();
    void cleanup() { m_devices.reset(); }

    void valueWriteSignalsAddressAndNeedSave();
    void onlineStateSequence();
    void addReplaceAndRemoveParameters();
    void parameterCoordinatesPerAxis();

    void driveChangeInvisibleUntilConsistenceRequest();
    void goingOnlineReadsEveryDriveValue();
    void writesReachTheDriveOnlyWhileOnline();
    void simulateDriveValueRefusesInvalidValues_data();
    void simulateDriveValueRefusesInvalidValues();

    void destroyedSetupOrDefinitionIsNullForTheProvider();
    void destroyedControllerTakesAxesAndProvider();
    void axesFaultsAndColours();

private:
    DriveController* m_controller = nullptr;   // "Prüfstand", offline, axes 1 and 2
    DriveController* m_online = nullptr;       // "Labor", online and read-only
    ParameterProvider* m_provider = nullptr;
    std::unique_ptr<KxTest::Devices> m_devices;
};

void TestModelProvider::init()
{
    m_devices.reset(new KxTest::Devices(KxTest::project("bench")));
    const QList<DriveController*> controllers = m_devices->controllers();
    QCOMPARE(controllers.size(), 2);
    m_controller = controllers.at(0);
    m_online = controllers.at(1);
    m_provider = m_controller->parameterProvider();
}

void TestModelProvider::valueWriteSignalsAddressAndNeedSave()
{
    QSignalSpy changed(m_provider, &ParameterProvider::parameterValueChanged);
    QSignalSpy needSave(m_controller, &DriveController::needSaveChanged);
    QVERIFY(!m_controller->needSave());

    QVERIFY(m_provider->parameterSetup(C12)->setValueText(2, 1, QStringLiteral("77")));
    QVERIFY(m_provider->parameterSetup(A10)->setValueText(1, 0, QStringLiteral("10")));

    // THEN each names its full address, and the controller needs saving once
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed.at(0).at(0).value<ParameterAddress>().toText(), QStringLiteral("2.C12[1]"));
    QCOMPARE(changed.at(1).at(0).value<ParameterAddress>().toText(), QStringLiteral("1.A10[0]"));
    QCOMPARE(needSave.count(), 1);
    QVERIFY(m_controller->needSave());

    m_controller->markSaved();
    m_controller->markSaved();
    QCOMPARE(needSave.count(), 2);
    QCOMPARE(needSave.last().first().toBool(), false);

    // The signal's address travels through queued connections.
    QList<ParameterAddress> received;
    connect(m_provider, &ParameterProvider::parameterValueChanged, this,
        [&received](ParameterAddress address) { received.append(address); }, Qt::QueuedConnection);
    QVERIFY(m_provider->parameterSetup(A20)->setValueText(1, 0, QStringLiteral("48")));
    QVERIFY(received.isEmpty());
    QTRY_COMPARE(received.size(), 1);
    QCOMPARE(received.first().toText(), QStringLiteral("0.A20[0]"));
}

void TestModelProvider::onlineStateSequence()
{
    QSignalSpy states(m_controller, &DriveController::onlineStateChanged);
    QSignalSpy online(m_provider, &ParameterProvider::onlineChanged);

    m_controller->setOnline(true);
    m_controller->setOnline(true);
    m_controller->setOnline(false);
    QCOMPARE(states.count(), 3);
    QCOMPARE(states.at(0).at(0).value<eOnlineState>(), OnlineStateConnecting);
    QCOMPARE(states.at(1).at(0).value<eOnlineState>(), OnlineStateOnline);
    QCOMPARE(states.at(2).at(0).value<eOnlineState>(), OnlineStateOffline);
    QCOMPARE(online.count(), 2);
    QCOMPARE(online.first().first().toBool(), true);
    QVERIFY(!m_provider->isOnline());

    // The description's online controller is online from the start.
    QCOMPARE(m_online->onlineState(), OnlineStateOnline);
}

void TestModelProvider::addReplaceAndRemoveParameters()
{
    QStringList events;
    connect(m_provider, &ParameterProvider::parameterAdded, this,
        [&events](ParameterCoordinate c) { events.append(QStringLiteral("added ") + c.toText()); });
    connect(m_provider, &ParameterProvider::parameterRemoved, this,
        [&events](ParameterCoordinate c) { events.append(QStringLiteral("removed ") + c.toText()); });

    // GIVEN a new parameter WHEN added THEN it is known, last in the catalogue
    m_provider->addParameter(simpleNumber(Z10, 5));
    QCOMPARE(events, QStringList{"added Z10"});
    QVERIFY(m_provider->parameterSetup(Z10));
    QCOMPARE(m_provider->allCoordinates().last(), Z10);

    // WHEN an existing coordinate is added again THEN it is replaced: removed, then added,
    // in its old place, with new objects and default values
    QVERIFY(m_provider->parameterSetup(A10)->setValueText(1, 0, QStringLiteral("10")));
    const QPointer<ParameterSetup> oldSetup = m_provider->parameterSetup(A10);
    const QPointer<ParameterDefinition> oldDefinition = m_provider->parameterDefinition(A10);
    const int position = m_provider->allCoordinates().indexOf(A10);
    m_provider->addParameter(simpleNumber(A10, 100));
    QCOMPARE(events, (QStringList{"added Z10", "removed A10", "added A10"}));
    QVERIFY(oldSetup.isNull());
    QVERIFY(oldDefinition.isNull());
    QCOMPARE(m_provider->allCoordinates().indexOf(A10), position);
    QCOMPARE(m_provider->parameterSetup(A10)->valueText(1, 0, false), QStringLiteral("0"));
    QCOMPARE(m_provider->parameterSetup(A10)->maximum(0), 100.0);

    // WHEN removed THEN both objects are gone, a second removal reports false
    const QPointer<ParameterSetup> z10 = m_provider->parameterSetup(Z10);
    QVERIFY(m_provider->removeParameter(Z10));
    QVERIFY(!m_provider->removeParameter(Z10));
    QVERIFY(z10.isNull());
    QCOMPARE(events.last(), QStringLiteral("removed Z10"));
    QVERIFY(!m_provider->allCoordinates().contains(Z10));
}

void TestModelProvider::parameterCoordinatesPerAxis()
{
    QCOMPARE(coordinateTexts(m_provider->allCoordinates()),
        (QStringList{"A10", "A11", "A20", "A100", "B05", "B06", "B07", "C12", "C13", "D01"}));
    QCOMPARE(coordinateTexts(m_provider->parameterCoordinates(0)), QStringList{"A20"});
    QVERIFY(!m_provider->parameterCoordinates(1).contains(D01));
    QVERIFY(m_provider->parameterCoordinates(2).contains(D01));
    // An axis the controller does not have: only the device-wide parameters.
    QCOMPARE(coordinateTexts(m_provider->parameterCoordinates(4)), QStringList{"A20"});
}

void TestModelProvider::driveChangeInvisibleUntilConsistenceRequest()
{
    // GIVEN an online controller whose drive changes a value by itself
    m_controller->setOnline(true);
    ParameterSetup* setup = m_provider->parameterSetup(A10).data();
    const ParameterAddress address(A10, 0, 1);
    QVERIFY(m_provider->simulateDriveValue(address, QStringLiteral("5000")));
    QSignalSpy changed(m_provider, &ParameterProvider::parameterValueChanged);

    // THEN the software still shows its own value
    QCOMPARE(setup->valueText(1, 0, false), QStringLiteral("3000"));
    QCOMPARE(m_provider->driveValueText(address), QStringLiteral("5000"));

    // WHEN a consistence request is queued by name
    QVERIFY(QMetaObject::invokeMethod(m_provider, "parameterNeedsOnlineConsistenceOnce", Qt::QueuedConnection,
        Q_ARG(ParameterAddress, address)));
    QCOMPARE(setup->valueText(1, 0, false), QStringLiteral("3000"));

    // THEN once it is processed the set-up shows the drive's value and says so
    QTRY_COMPARE(setup->valueText(1, 0, false), QStringLiteral("5000"));
    QCOMPARE(m_provider->consistenceRequestCount(), 1);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first().first().value<ParameterAddress>(), address);

    // A second request finds nothing new.
    m_provider->parameterNeedsOnlineConsistenceOnce(address);
    QCOMPARE(m_provider->consistenceRequestCount(), 2);
    QCOMPARE(changed.count(), 1);
}

void TestModelProvider::goingOnlineReadsEveryDriveValue()
{
    // GIVEN drive-side changes while offline, one of them back to the default
    QVERIFY(m_provider->simulateDriveValue(ParameterAddress(C12, 3, 2), QStringLiteral("40")));
    QVERIFY(m_provider->simulateDriveValue(ParameterAddress(B06, 0, 2), QStringLiteral("Fahr")));
    QVERIFY(m_provider->simulateDriveValue(ParameterAddress(A20, 0, LivingSpaceDevice), QStringLiteral("50")));
    QSignalSpy changed(m_provider, &ParameterProvider::parameterValueChanged);
    QCOMPARE(changed.count(), 0);

    // WHEN the controller goes online
    m_controller->setOnline(true);

    // THEN every differing value is read and signalled once
    QStringList addresses;
    for (const QList<QVariant>& arguments : qAsConst(changed))
        addresses.append(arguments.first().value<ParameterAddress>().toText());
    addresses.sort();
    QCOMPARE(addresses, (QStringList{"0.A20[0]", "2.B06[0]", "2.C12[3]"}));
    QCOMPARE(m_provider->parameterSetup(C12)->valueText(2, 3, false), QStringLiteral("40"));
    QCOMPARE(m_provider->parameterSetup(B06)->valueText(1, 0, false), QStringLiteral("Hub"));
    QVERIFY(!m_provider->parameterSetup(A20)->isChangedFromDefault(0, 0));
}

void TestModelProvider::writesReachTheDriveOnlyWhileOnline()
{
    ParameterSetup* setup = m_provider->parameterSetup(A10).data();
    const ParameterAddress address(A10, 0, 2);

    // Offline the drive keeps its value; on connecting the user's edit is
    // downloaded, while a value changed on the drive alone is read.
    QVERIFY(setup->setValueText(2, 0, QStringLiteral("2000")));
    QCOMPARE(m_provider->driveValueText(address), QStringLiteral("1500"));
    QVERIFY(m_provider->simulateDriveValue(ParameterAddress(A10, 0, 1), QStringLiteral("1200")));
    {
        // Offline a consistence request is only counted.
        QSignalSpy changed(m_provider, &ParameterProvider::parameterValueChanged);
        m_provider->parameterNeedsOnlineConsistenceOnce(ParameterAddress(A10, 0, 1));
        QCOMPARE(m_provider->consistenceRequestCount(), 1);
        QCOMPARE(setup->valueText(1, 0, false), QStringLiteral("3000"));
        QCOMPARE(changed.count(), 0);
    }
    m_controller->setOnline(true);
    QCOMPARE(setup->valueText(2, 0, false), QStringLiteral("2000"));
    QCOMPARE(m_provider->driveValueText(address), QStringLiteral("2000"));
    QCOMPARE(setup->valueText(1, 0, false), QStringLiteral("1200"));

    // Online a write reaches both sides, so a consistence request changes nothing.
    QVERIFY(setup->setValueText(2, 0, QStringLiteral("2500")));
    QCOMPARE(m_provider->driveValueText(address), QStringLiteral("2500"));
    QSignalSpy changed(m_provider, &ParameterProvider::parameterValueChanged);
    m_provider->parameterNeedsOnlineConsistenceOnce(address);
    QCOMPARE(changed.count(), 0);
}

void TestModelProvider::simulateDriveValueRefusesInvalidValues_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("raw");

    QTest::newRow("above maximum") << "1.A10[0]" << "7000";
    QTest::newRow("unknown coordinate") << "1.Z10[0]" << "1";
    QTest::newRow("axis the controller lacks") << "3.A10[0]" << "1";
    QTest::newRow("axis outside definedIn") << "1.D01[0]" << "1";
    QTest::newRow("element without value") << "1.C13[0]" << "1";
}

void TestModelProvider::simulateDriveValueRefusesInvalidValues()
{
    QFETCH(QString, address);
    QFETCH(QString, raw);
    const ParameterAddress a(address, false);
    QVERIFY(a.isValid());
    const QString before = m_provider->driveValueText(a);

    QVERIFY(!m_provider->simulateDriveValue(a, raw));
    QCOMPARE(m_provider->driveValueText(a), before);
}

void TestModelProvider::destroyedSetupOrDefinitionIsNullForTheProvider()
{
    // GIVEN weak references to a set-up and a definition
    QPointer<ParameterSetup> setup = m_provider->parameterSetup(C12);
    QPointer<ParameterDefinition> definition = m_provider->parameterDefinition(B06);
    QVERIFY(setup && definition);
    QVERIFY(m_provider->simulateDriveValue(ParameterAddress(C12, 0, 1), QStringLiteral("1")));

    // WHEN they are destroyed
    delete setup.data();
    delete definition.data();

    // THEN the provider hands out null for them, and keeps working around them
    QVERIFY(!m_provider->parameterSetup(C12));
    QVERIFY(m_provider->parameterDefinition(C12));
    QVERIFY(!m_provider->parameterDefinition(B06));
    QVERIFY(!m_provider->allCoordinates().contains(B06));
    m_controller->setOnline(true);
    m_provider->parameterNeedsOnlineConsistenceOnce(ParameterAddress(C12, 0, 1));
    QCOMPARE(m_provider->consistenceRequestCount(), 1);
    QVERIFY(m_provider->parameterSetup(A10)->setValueText(1, 0, QStringLiteral("20")));
}

void TestModelProvider::destroyedControllerTakesAxesAndProvider()
{
    QPointer<DriveControllerAxis> axis = m_controller->axis(1);
    QPointer<ParameterProvider> provider = m_provider;
    QPointer<ParameterSetup> setup = m_provider->parameterSetup(A10);
    QVERIFY(axis && provider && setup);
    QCOMPARE(axis->driveController(), m_controller);

    delete m_controller;

    QVERIFY(axis.isNull());
    QVERIFY(provider.isNull());
    QVERIFY(setup.isNull());
    // The other controller of the same type is untouched.
    QCOMPARE(m_online->parameterProvider()->parameterSetup(A10)->valueText(1, 0, false), QStringLiteral("1500"));
}

void TestModelProvider::axesFaultsAndColours()
{
    QSignalSpy axes(m_controller, &DriveController::axesChanged);
    QSignalSpy state(m_controller, &DriveController::deviceStateChanged);
    QSignalSpy colour(m_controller, &DriveController::markingColorChanged);

    // Axes from the description, with colours and faults.
    QCOMPARE(m_controller->markingColor(1), QColor(QStringLiteral("#ff0000")));
    QVERIFY(!m_controller->markingColor(2).isValid());
    QVERIFY(m_controller->hasAxisFault(2));
    QCOMPARE(m_online->descriptor()->text(), QStringLiteral("KXT-2 im Labor"));

    // Numbers outside 1..maxAxes and duplicates are refused.
    QVERIFY(!m_controller->addAxis(0, QStringLiteral("x")));
    QVERIFY(!m_controller->addAxis(5, QStringLiteral("x")));
    QVERIFY(!m_controller->addAxis(2, QStringLiteral("x")));
    QCOMPARE(axes.count(), 0);
    QPointer<DriveControllerAxis> added = m_controller->addAxis(4, QStringLiteral("Vier"));
    QVERIFY(added);
    QCOMPARE(axes.count(), 1);

    // Clearing the last fault changes the device state.
    m_controller->setAxisFault(2, false);
    QCOMPARE(state.count(), 1);
    QCOMPARE(state.last().first().toInt(), 0);
    m_controller->setAxisFault(4, true);
    QCOMPARE(state.last().first().toInt(), 1);

    m_controller->setMarkingColor(4, Qt::green);
    m_controller->setMarkingColor(4, Qt::green);
    QCOMPARE(colour.count(), 1);

    // Removing the faulty axis destroys it and clears its fault.
    QVERIFY(m_controller->removeAxis(4));
    QVERIFY(added.isNull());
    QCOMPARE(axes.count(), 2);
    QCOMPARE(state.last().first().toInt(), 0);
    QVERIFY(!m_controller->removeAxis(4));

    // An axis deleted by someone else leaves the controller as well.
    delete m_controller->axis(2);
    QCOMPARE(m_controller->axisNumbers(), QList<int>{1});
    QCOMPARE(axes.count(), 3);
}

QTEST_GUILESS_MAIN(TestModelProvider)
#include "tst_model_provider.moc"
