// The sample project is what the application opens by default and what the
// comparison, list and screenshot tests build on. The description checker
// reads it on its own; these tests read it through the real loader and
// parameter model, whose reading of limits and values must agree.

#include "DeviceDescription.h"
#include "DeviceType.h"
#include "DriveController.h"
#include "HelpSystem.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"
#include "System.h"
#include "TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#include <cmath>
#include <memory>

namespace {

bool sameValue(const QJsonValue& given, const QString& raw, int kind)
{
    bool ok = false;
    if (kind == ValueKindNumber)
        return std::abs(raw.toDouble(&ok) - given.toDouble()) < 1e-9 && ok;
    if (kind == ValueKindChoice || kind == ValueKindSwitch)
        return raw.toLongLong(&ok) == (given.isBool() ? qint64(given.toBool()) : qint64(given.toDouble())) && ok;
    return given.toString() == raw;
}

} // namespace

class TestSampleData : public QObject
{
    Q_OBJECT

    std::unique_ptr<DeviceDescription> m_description;
    QList<DriveController*> m_controllers;
    QJsonArray m_projectControllers;   // as written in the file, read without the loader
    QObject m_owner;

    DriveController* controller(const QString& name, bool byType = false) const
    {
        for (DriveController* c : m_controllers) {
            if ((byType ? c->type()->name : c->name()) == name)
                return c;
        }
        return nullptr;
    }

private slots:
    void initTestCase()
    {
        KxTest::initTestEnvironment();
        const QString path = QStringLiteral(KX_DATA_DIR "/sample-project.json");
        m_description = std::make_unique<DeviceDescription>();
        QVERIFY2(m_description->loadFile(path), qPrintable(m_description->errorMessage()));
        m_controllers = m_description->createControllers(&m_owner);
        m_projectControllers = QJsonDocument::fromJson(KxTest::readFile(path)).object().value(QStringLiteral("controllers")).toArray();
        // The project brings exactly the two sample types, read from its includes.
        QCOMPARE(m_description->types().size(), 2);
        QCOMPARE(m_description->type(QStringLiteral("KXS-4 Servo"))->maxAxes, 4);
        QCOMPARE(m_description->type(QStringLiteral("KXF-2 Inverter"))->maxAxes, 2);
    }
    void cleanupTestCase() { qDeleteAll(m_controllers); }

    void typeAgreesWithTheModel_data()
    {
        QTest::addColumn<QString>("typeName");
        QTest::newRow("servo") << QStringLiteral("KXS-4 Servo");
        QTest::newRow("inverter") << QStringLiteral("KXF-2 Inverter");
    }

    void typeAgreesWithTheModel()
    {
        QFETCH(QString, typeName);
        const auto type = m_description->type(typeName);
        DriveController* c = controller(typeName, true);
        QVERIFY(type && c);

        // THEN the help system holds each page of the type, not another type's page of the same identifier
        HelpSystem* help = System::instance().helpSystem(QStringLiteral("parameter"));
        QVERIFY(!type->helpPages.isEmpty());
        for (const DeviceHelpPage& page : type->helpPages)
            QCOMPARE(help->pageHtml(page.identifier), page.html);

        // AND the value checks of the editors accept every default, reference and display text the loader accepted
        ParameterProvider* provider = c->parameterProvider();
        int checked = 0;
        for (const ParameterCoordinate& coordinate : provider->allCoordinates()) {
            const QPointer<ParameterSetup> setup = provider->parameterSetup(coordinate);
            QVERIFY(setup);
            const QList<eLivingSpace> spaces = setup->livingSpaces();
            for (quint16 element : setup->valueElementIndices()) {
                if (spaces.isEmpty() || !setup->isWritable(spaces.first(), element))
                    continue;
                const int space = spaces.first();
                for (const QString& text : {setup->defaultValueText(element, false), setup->referenceValueText(space, element, false),
                                            setup->defaultValueText(element, true)}) {
                    const QString error = setup->checkValueText(space, element, text);
                    QVERIFY2(error.isEmpty(), qPrintable(setup->address(space, element).toText() + " \"" + text + "\": " + error));
                }
                ++checked;
            }
        }
        QVERIFY(checked > 300);
    }

    void initialValuesAreAccepted_data()
    {
        QTest::addColumn<QString>("controllerName");
        QTest::addColumn<QString>("coordinate");
        QTest::addColumn<int>("axis");
        QTest::addColumn<int>("element");
        QTest::addColumn<QJsonValue>("value");
        for (const QJsonValue& c : qAsConst(m_projectControllers)) {
            const QString name = c.toObject().value(QStringLiteral("name")).toString();
            for (const QJsonValue& v : c.toObject().value(QStringLiteral("values")).toArray()) {
                const QJsonObject o = v.toObject();
                const QString coordinate = o.value(QStringLiteral("coordinate")).toString();
                const int axis = o.value(QStringLiteral("axis")).toInt(0), element = o.value(QStringLiteral("element")).toInt(0);
                QTest::addRow("%s %d.%s[%d]", qPrintable(name), axis, qPrintable(coordinate), element)
                    << name << coordinate << axis << element << o.value(QStringLiteral("value"));
            }
        }
    }

    void initialValuesAreAccepted()
    {
        QFETCH(QString, controllerName);
        QFETCH(QString, coordinate);
        QFETCH(int, axis);
        QFETCH(int, element);
        QFETCH(QJsonValue, value);
        DriveController* c = controller(controllerName);
        QVERIFY(c);
        const QPointer<ParameterSetup> setup = c->parameterProvider()->parameterSetup(ParameterCoordinate(coordinate));
        QVERIFY(setup);
        const quint16 index = quint16(element);

        // THEN the controller holds exactly the value the file sets, as a change from the default the user could have typed
        const QString raw = setup->valueText(axis, index, false);
        QVERIFY2(sameValue(value, raw, setup->valueKind(index)), qPrintable(QStringLiteral("holds \"%1\"").arg(raw)));
        QVERIFY(setup->isChangedFromDefault(axis, index));
        QCOMPARE(setup->checkValueText(axis, index, raw), QString());
    }
};

QTEST_GUILESS_MAIN(TestSampleData)
#include "tst_sampledata.moc"
