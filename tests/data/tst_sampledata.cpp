// The sample project is what the application opens by default and what the
// comparison, list and screenshot tests build on. These tests pin down the
// properties they rely on, read through the real loader and parameter model.

#include "DeviceDescription.h"
#include "DeviceType.h"
#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "HelpSystem.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"
#include "System.h"
#include "TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QSet>
#include <QtTest>

#include <cmath>
#include <memory>

namespace {

const QString DescriptionPrefix = QStringLiteral("<description>=");

bool sameValue(const QJsonValue& given, const QString& raw, int kind)
{
    bool ok = false;
    if (kind == ValueKindNumber)
        return std::abs(raw.toDouble(&ok) - given.toDouble()) < 1e-9 && ok;
    if (kind == ValueKindChoice || kind == ValueKindSwitch) {
        const qint64 expected = given.isBool() ? (given.toBool() ? 1 : 0) : qint64(given.toDouble());
        return raw.toLongLong(&ok) == expected && ok;
    }
    return given.toString() == raw;
}

} // namespace

class TestSampleData : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { qDeleteAll(m_controllers); }

    void helpIdentifiersHavePages_data() { typeRows(); }
    void helpIdentifiersHavePages();
    void sampleValuesPassTheChecks_data() { typeRows(); }
    void sampleValuesPassTheChecks();

    void projectControllers();
    void limitedParametersFollowTheirAxes();
    void initialValuesAreAccepted_data();
    void initialValuesAreAccepted();
    void axesDiffer();

private:
    void typeRows()
    {
        QTest::addColumn<QString>("typeName");
        QTest::newRow("servo") << QStringLiteral("KXS-4 Servo");
        QTest::newRow("inverter") << QStringLiteral("KXF-2 Inverter");
    }
    DriveController* controller(const QString& name, bool byType = false) const
    {
        for (DriveController* c : m_controllers) {
            if ((byType ? c->type()->name : c->name()) == name)
                return c;
        }
        return nullptr;
    }

    std::unique_ptr<DeviceDescription> m_description;
    QList<DriveController*> m_controllers;
    QJsonArray m_projectControllers;    // as written in the file, read without the loader
    QObject m_owner;
};

void TestSampleData::initTestCase()
{
    KxTest::initTestEnvironment();
    const QString path = KxTest::dataPath(QStringLiteral("sample-project.json"));
    // GIVEN the sample project, loaded and with its controllers created as the application does
    m_description = std::make_unique<DeviceDescription>();
    QVERIFY2(m_description->loadFile(path), qPrintable(m_description->errorMessage()));
    m_controllers = m_description->createControllers(&m_owner);
    m_projectControllers = QJsonDocument::fromJson(KxTest::readFile(path)).object()
                               .value(QStringLiteral("controllers")).toArray();
    QVERIFY(!m_projectControllers.isEmpty());

    // THEN it brings exactly the two sample types, read from its includes
    QCOMPARE(m_description->types().size(), 2);
    for (const auto& t : m_description->types())
        QVERIFY2(!t->descriptor.isEmpty(), qPrintable(t->name));
    QCOMPARE(m_description->type(QStringLiteral("KXS-4 Servo"))->maxAxes, 4);
    QCOMPARE(m_description->type(QStringLiteral("KXF-2 Inverter"))->maxAxes, 2);
}

void TestSampleData::helpIdentifiersHavePages()
{
    QFETCH(QString, typeName);
    const auto t = m_description->type(typeName);
    QVERIFY(t);
    // THEN every referenced help page exists, and the other type's page of the same id did not replace it
    HelpSystem* help = System::instance().helpSystem(QStringLiteral("parameter"));
    QSet<QString> pages;
    for (const DeviceHelpPage& page : t->helpPages) {
        QVERIFY2(!page.title.isEmpty() && !page.html.isEmpty(), qPrintable(page.identifier));
        pages.insert(page.identifier);
        QCOMPARE(help->pageHtml(page.identifier), page.html);
    }
    int referenced = 0;
    for (const auto& p : t->parameters) {
        QStringList identifiers{p->helpIdentifier};
        for (const ParameterElementDescription& e : p->elements)
            identifiers << e.helpIdentifier;
        for (const QString& id : qAsConst(identifiers)) {
            if (id.startsWith(DescriptionPrefix)) {
                QVERIFY2(id.size() > DescriptionPrefix.size() + 10, qPrintable(p->coordinate.toText()));
            } else if (!id.isEmpty()) {
                ++referenced;
                QVERIFY2(pages.contains(id), qPrintable(p->coordinate.toText() + QStringLiteral(" lacks page ") + id));
            }
        }
    }
    QVERIFY(referenced > 0);
}

void TestSampleData::sampleValuesPassTheChecks()
{
    QFETCH(QString, typeName);
    DriveController* c = controller(typeName, true);
    QVERIFY(c);

    // The loader checks defaults with its own reading of the limits; the editors
    // use ParameterSetup's. Both must accept every default, reference and display text.
    ParameterProvider* provider = c->parameterProvider();
    QSet<unsigned int> levels;
    int checked = 0;
    int differing = 0;
    for (const ParameterCoordinate& coordinate : provider->allCoordinates()) {
        const QPointer<ParameterSetup> setup = provider->parameterSetup(coordinate);
        QVERIFY(setup);
        const QList<eLivingSpace> spaces = setup->livingSpaces();
        if (spaces.isEmpty())
            continue;
        const int space = spaces.first();
        for (quint16 element : setup->valueElementIndices()) {
            // AND untouched values may differ from their factory reference
            if (!setup->isChangedFromDefault(space, element)
                && setup->valueText(space, element, false) != setup->referenceValueText(space, element, false)) {
                ++differing;
                levels.insert(setup->elementLevel(element));
            }
            if (!setup->isWritable(space, element))
                continue;
            const QString where = setup->address(space, element).toText();
            for (const QString& text : {setup->defaultValueText(element, false),
                                        setup->referenceValueText(space, element, false),
                                        setup->defaultValueText(element, true)}) {
                const QString error = setup->checkValueText(space, element, text);
                QVERIFY2(error.isEmpty(), qPrintable(where + QStringLiteral(" \"") + text + QStringLiteral("\": ") + error));
            }
            ++checked;
        }
    }
    QVERIFY(checked > 300);
    QVERIFY2(differing >= 8 && levels.size() >= 2, qPrintable(QStringLiteral("%1 on %2 levels").arg(differing).arg(levels.size())));
}

void TestSampleData::projectControllers()
{
    // THEN the project holds three controllers of both types with one to four axes each
    QCOMPARE(m_controllers.size(), 3);
    QCOMPARE(m_projectControllers.size(), 3);
    int online = 0, faults = 0, marked = 0;
    QSet<QString> typeNames;
    QSet<int> axisCounts;
    for (int i = 0; i < m_controllers.size(); ++i) {
        DriveController* c = m_controllers.at(i);
        const QJsonObject given = m_projectControllers.at(i).toObject();
        QCOMPARE(c->name(), given.value(QStringLiteral("name")).toString());
        QVERIFY(!c->descriptor()->text().isEmpty());
        typeNames.insert(c->type()->name);
        const QList<int> numbers = c->axisNumbers();
        QCOMPARE(numbers.size(), given.value(QStringLiteral("axes")).toArray().size());
        axisCounts.insert(numbers.size());
        for (int number : numbers) {
            QVERIFY(number >= 1 && number <= c->type()->maxAxes);
            QVERIFY2(!c->axisName(number).isEmpty(), qPrintable(c->name()));
            faults += c->hasAxisFault(number) ? 1 : 0;
            marked += c->markingColor(number).isValid() ? 1 : 0;
        }
        online += c->isOnline() ? 1 : 0;
    }
    // AND the device states the views show are present
    QCOMPARE(typeNames.size(), 2);
    QVERIFY(axisCounts.contains(1) && axisCounts.contains(4) && !axisCounts.contains(0));
    QCOMPARE(online, 1);
    QVERIFY(faults >= 1 && marked >= 2);
}

void TestSampleData::limitedParametersFollowTheirAxes()
{
    // GIVEN the controller with every axis its type allows
    DriveController* c = nullptr;
    for (DriveController* candidate : qAsConst(m_controllers)) {
        if (candidate->axisNumbers().size() == candidate->type()->maxAxes && candidate->type()->maxAxes > 1)
            c = candidate;
    }
    QVERIFY(c);
    ParameterProvider* provider = c->parameterProvider();
    int limited = 0;
    for (const auto& p : c->type()->parameters) {
        if (p->definedIn.isEmpty())
            continue;
        ++limited;
        // THEN a parameter limited to some axes appears in exactly those
        for (int axis : c->axisNumbers())
            QCOMPARE(provider->parameterCoordinates(axis).contains(p->coordinate), p->definedIn.contains(axis));
    }
    QVERIFY(limited > 0);
    QVERIFY(provider->parameterCoordinates(1) != provider->parameterCoordinates(c->axisNumbers().last()));
}

void TestSampleData::initialValuesAreAccepted_data()
{
    QTest::addColumn<QString>("controllerName");
    QTest::addColumn<QString>("coordinate");
    QTest::addColumn<int>("axis");
    QTest::addColumn<int>("element");
    QTest::addColumn<QJsonValue>("value");

    int count = 0;
    for (const QJsonValue& c : qAsConst(m_projectControllers)) {
        const QString name = c.toObject().value(QStringLiteral("name")).toString();
        for (const QJsonValue& v : c.toObject().value(QStringLiteral("values")).toArray()) {
            const QJsonObject o = v.toObject();
            const QString coordinate = o.value(QStringLiteral("coordinate")).toString();
            const int axis = o.value(QStringLiteral("axis")).toInt(0), element = o.value(QStringLiteral("element")).toInt(0);
            QTest::addRow("%s %d.%s[%d]", qPrintable(name), axis, qPrintable(coordinate), element)
                << name << coordinate << axis << element << o.value(QStringLiteral("value"));
            ++count;
        }
    }
    QVERIFY2(count >= 24, "a few dozen initial values");
}

void TestSampleData::initialValuesAreAccepted()
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

    // THEN the controller holds exactly the value the file sets, as a change from the default
    const QString raw = setup->valueText(axis, index, false);
    QVERIFY2(sameValue(value, raw, setup->valueKind(index)), qPrintable(QStringLiteral("holds \"%1\"").arg(raw)));
    QVERIFY(setup->isChangedFromDefault(axis, index));
    QVERIFY(!setup->valueText(axis, index, true).isEmpty());
    // AND the user could have typed it
    QCOMPARE(setup->checkValueText(axis, index, raw), QString());
}

void TestSampleData::axesDiffer()
{
    // THEN every controller with several axes has values for the comparison to show
    int controllers = 0;
    for (DriveController* c : qAsConst(m_controllers)) {
        const QList<int> axes = c->axisNumbers();
        if (axes.size() < 2)
            continue;
        ++controllers;
        ParameterProvider* provider = c->parameterProvider();
        int differing = 0;
        for (const ParameterCoordinate& coordinate : provider->allCoordinates()) {
            const QPointer<ParameterSetup> setup = provider->parameterSetup(coordinate);
            QVERIFY(setup);
            if (setup->isGlobal())
                continue;
            for (quint16 element : setup->valueElementIndices()) {
                QSet<QString> texts;
                for (int axis : axes) {
                    if (setup->isDefinedIn(axis))
                        texts.insert(setup->valueText(axis, element, false));
                }
                differing += texts.size() > 1 ? 1 : 0;
            }
        }
        QVERIFY2(differing >= 3, qPrintable(c->name() + QStringLiteral(": ") + QString::number(differing)));
    }
    QVERIFY(controllers > 0);
}

QTEST_GUILESS_MAIN(TestSampleData)
#include "tst_sampledata.moc"
