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

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

const QString DescriptionPrefix = QStringLiteral("<description>=");

// How often each feature of the format occurs in a catalogue.
QMap<QString, int> census(const DeviceType& type)
{
    QMap<QString, int> n;
    for (const auto& p : type.parameters) {
        ++n[QStringLiteral("parameters")];
        switch (p->structure) {
        case ParameterDescription::Simple:
            ++n[QStringLiteral("simple")];
            break;
        case ParameterDescription::Array:
            ++n[QStringLiteral("arrays")];
            if (!p->elements.first().text.isEmpty())
                ++n[QStringLiteral("arrays with element names")];
            if (p->elements.size() < 2 || p->elements.size() > 16)
                ++n[QStringLiteral("arrays outside 2..16")];
            break;
        case ParameterDescription::Record:
            ++n[QStringLiteral("records")];
            break;
        }
        ++n[p->global ? QStringLiteral("device-wide") : QStringLiteral("per-axis")];
        if (!p->definedIn.isEmpty())
            ++n[QStringLiteral("limited to some axes")];
        if (p->helpIdentifier.startsWith(DescriptionPrefix))
            ++n[QStringLiteral("inline help")];
        else if (!p->helpIdentifier.isEmpty())
            ++n[QStringLiteral("help page")];
        for (const ParameterElementDescription& e : p->elements) {
            static const char* const kinds[] = {"number", "choice", "switch", "text"};
            ++n[QString::fromLatin1(kinds[e.kind])];
            if (!e.hasValue) {
                ++n[QStringLiteral("without value")];
                continue;
            }
            if (!e.writable)
                ++n[QStringLiteral("read-only")];
            if (!e.active)
                ++n[QStringLiteral("inactive")];
            if (e.defaultValue != e.referenceValue)
                ++n[QStringLiteral("default differs from reference")];
            if (!e.unit.isEmpty())
                ++n[QStringLiteral("unit")];
            if (e.decimals > 0)
                ++n[QStringLiteral("decimals")];
            ++n[QStringLiteral("level %1").arg(e.level)];
            ++n[QStringLiteral("category %1").arg(e.category)];
        }
    }
    return n;
}

// An axis number in which the parameter has values on this controller
// (0 for device-wide parameters), or -1 when there is none.
int someLivingSpace(const ParameterSetup& setup)
{
    const QList<eLivingSpace> spaces = setup.livingSpaces();
    return spaces.isEmpty() ? -1 : spaces.first();
}

bool sameValue(const QJsonValue& given, const QString& raw, int kind)
{
    switch (kind) {
    case ValueKindNumber: {
        bool ok = false;
        const double stored = raw.toDouble(&ok);
        return ok && std::abs(stored - given.toDouble()) < 1e-9;
    }
    case ValueKindChoice:
    case ValueKindSwitch: {
        const qint64 expected = given.isBool() ? (given.toBool() ? 1 : 0) : qint64(given.toDouble());
        bool ok = false;
        return raw.toLongLong(&ok) == expected && ok;
    }
    default:
        return given.toString() == raw;
    }
}

} // namespace

class TestSampleData : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void typesAreLoaded();
    void catalogueMix_data();
    void catalogueMix();
    void helpIdentifiersHavePages_data();
    void helpIdentifiersHavePages();
    void sharedCoordinatesMeanTheSame();
    void defaultsAndReferencesPassTheValueCheck_data();
    void defaultsAndReferencesPassTheValueCheck();
    void valuesShowAsChangedFromReference_data();
    void valuesShowAsChangedFromReference();

    void projectControllers();
    void limitedParametersFollowTheirAxes();
    void initialValuesAreAccepted_data();
    void initialValuesAreAccepted();
    void axesDiffer_data();
    void axesDiffer();

private:
    QSharedPointer<const DeviceType> type(const QString& name) const;
    DriveController* controller(const QString& name) const;
    DriveController* controllerOfType(const QString& typeName) const;

    std::unique_ptr<DeviceDescription> m_description;
    QList<DriveController*> m_controllers;
    QJsonArray m_projectControllers;    // as written in the file, read without the loader
    QObject m_owner;
};

void TestSampleData::initTestCase()
{
    KxTest::initTestEnvironment();
    const QString path = KxTest::dataPath(QStringLiteral("sample-project.json"));

    // GIVEN the sample project as the application opens it
    m_description = std::make_unique<DeviceDescription>();
    // WHEN it is loaded and its controllers are created
    QVERIFY2(m_description->loadFile(path), qPrintable(m_description->errorMessage()));
    m_controllers = m_description->createControllers(&m_owner);

    const QJsonDocument document = QJsonDocument::fromJson(KxTest::readFile(path));
    m_projectControllers = document.object().value(QStringLiteral("controllers")).toArray();
    QVERIFY(!m_projectControllers.isEmpty());
}

void TestSampleData::cleanupTestCase()
{
    qDeleteAll(m_controllers);
    m_controllers.clear();
}

QSharedPointer<const DeviceType> TestSampleData::type(const QString& name) const
{
    return m_description->type(name);
}

DriveController* TestSampleData::controller(const QString& name) const
{
    for (DriveController* c : m_controllers) {
        if (c->name() == name)
            return c;
    }
    return nullptr;
}

DriveController* TestSampleData::controllerOfType(const QString& typeName) const
{
    for (DriveController* c : m_controllers) {
        if (c->type()->name == typeName)
            return c;
    }
    return nullptr;
}

void TestSampleData::typesAreLoaded()
{
    // THEN the project brings exactly the two sample types, read from its includes
    const auto types = m_description->types();
    QCOMPARE(types.size(), 2);
    QVERIFY(type(QStringLiteral("KXS-4 Servo")));
    QVERIFY(type(QStringLiteral("KXF-2 Inverter")));
    QCOMPARE(type(QStringLiteral("KXS-4 Servo"))->maxAxes, 4);
    QCOMPARE(type(QStringLiteral("KXF-2 Inverter"))->maxAxes, 2);
    for (const auto& t : types)
        QVERIFY2(!t->descriptor.isEmpty(), qPrintable(t->name));
}

void TestSampleData::catalogueMix_data()
{
    QTest::addColumn<QString>("typeName");
    QTest::addColumn<QString>("feature");
    QTest::addColumn<int>("atLeast");
    QTest::addColumn<int>("atMost");

    const struct { const char* feature; int atLeast; int atMost; } wanted[] = {
        {"parameters", 320, 100000},
        {"simple", 100, 100000},
        {"arrays", 5, 100000},
        {"arrays with element names", 3, 100000},
        {"arrays outside 2..16", 0, 0},
        {"records", 5, 100000},
        {"device-wide", 20, 100000},
        {"per-axis", 100, 100000},
        {"limited to some axes", 2, 100000},
        {"choice", 20, 100000},
        {"switch", 10, 100000},
        {"text", 3, 100000},
        {"read-only", 20, 100000},
        {"inactive", 3, 100000},
        {"without value", 3, 100000},
        {"default differs from reference", 8, 100000},
        {"unit", 100, 100000},
        {"decimals", 30, 100000},
        {"help page", 40, 100000},
        {"inline help", 3, 100000},
        {"level 0", 1, 100000},
        {"level 1", 1, 100000},
        {"level 2", 1, 100000},
        {"level 3", 1, 100000},
        {"category 0", 1, 100000},
        {"category 1", 1, 100000},
    };
    for (const char* typeName : {"KXS-4 Servo", "KXF-2 Inverter"}) {
        for (const auto& w : wanted) {
            QTest::addRow("%s: %s", typeName, w.feature)
                << QString::fromLatin1(typeName) << QString::fromLatin1(w.feature) << w.atLeast << w.atMost;
        }
    }
}

void TestSampleData::catalogueMix()
{
    QFETCH(QString, typeName);
    QFETCH(QString, feature);
    QFETCH(int, atLeast);
    QFETCH(int, atMost);

    // GIVEN a sample type as the loader understood it
    const auto t = type(typeName);
    QVERIFY(t);
    // WHEN its features are counted
    const int count = census(*t).value(feature);
    // THEN the catalogue offers enough of each for the views and tests built on it
    QVERIFY2(count >= atLeast && count <= atMost,
             qPrintable(QStringLiteral("%1 × %2, want %3..%4").arg(count).arg(feature).arg(atLeast).arg(atMost)));
}

void TestSampleData::helpIdentifiersHavePages_data()
{
    QTest::addColumn<QString>("typeName");
    QTest::newRow("KXS-4 Servo") << QStringLiteral("KXS-4 Servo");
    QTest::newRow("KXF-2 Inverter") << QStringLiteral("KXF-2 Inverter");
}

void TestSampleData::helpIdentifiersHavePages()
{
    QFETCH(QString, typeName);
    const auto t = type(typeName);
    QVERIFY(t);
    HelpSystem* help = System::instance().helpSystem(QStringLiteral("parameter"));

    QHash<QString, const DeviceHelpPage*> pages;
    for (const DeviceHelpPage& page : t->helpPages) {
        QVERIFY2(!page.title.isEmpty() && !page.html.isEmpty(), qPrintable(page.identifier));
        pages.insert(page.identifier, &page);
        // Creating the controllers registered the pages; a page of the same
        // identifier from the other type must not have replaced this one.
        QCOMPARE(help->pageHtml(page.identifier), page.html);
    }

    int referenced = 0;
    for (const auto& p : t->parameters) {
        QStringList identifiers{p->helpIdentifier};
        for (const ParameterElementDescription& e : p->elements)
            identifiers << e.helpIdentifier;
        for (const QString& id : qAsConst(identifiers)) {
            if (id.isEmpty())
                continue;
            if (id.startsWith(DescriptionPrefix)) {
                QVERIFY2(id.size() > DescriptionPrefix.size() + 10, qPrintable(p->coordinate.toText()));
                continue;
            }
            ++referenced;
            QVERIFY2(pages.contains(id), qPrintable(QStringLiteral("%1 refers to the missing help page \"%2\"")
                                                        .arg(p->coordinate.toText(), id)));
        }
    }
    QVERIFY(referenced > 0);
}

void TestSampleData::sharedCoordinatesMeanTheSame()
{
    // GIVEN the two types of the sample
    const auto servo = type(QStringLiteral("KXS-4 Servo"));
    const auto inverter = type(QStringLiteral("KXF-2 Inverter"));
    QVERIFY(servo && inverter);
    QHash<ParameterCoordinate, QSharedPointer<const ParameterDescription>> inInverter;
    for (const auto& p : inverter->parameters)
        inInverter.insert(p->coordinate, p);

    // WHEN their catalogues are laid side by side
    int shared = 0;
    int servoOnly = 0;
    for (const auto& p : servo->parameters) {
        const auto other = inInverter.take(p->coordinate);
        if (!other) {
            ++servoOnly;
            continue;
        }
        ++shared;
        // THEN a coordinate both have is the same parameter, so comparing axes of different types makes sense
        const QString where = p->coordinate.toText();
        QCOMPARE(other->text, p->text);
        QCOMPARE(int(other->structure), int(p->structure));
        QCOMPARE(other->global, p->global);
        QCOMPARE(other->elements.size(), p->elements.size());
        for (int i = 0; i < p->elements.size(); ++i) {
            QVERIFY2(other->elements.at(i).kind == p->elements.at(i).kind, qPrintable(where));
            QVERIFY2(other->elements.at(i).index == p->elements.at(i).index, qPrintable(where));
        }
    }
    // AND each type also has coordinates of its own
    QVERIFY2(shared >= 10, qPrintable(QString::number(shared)));
    QVERIFY(servoOnly > 0);
    QVERIFY(!inInverter.isEmpty());
}

void TestSampleData::defaultsAndReferencesPassTheValueCheck_data()
{
    helpIdentifiersHavePages_data();
}

void TestSampleData::defaultsAndReferencesPassTheValueCheck()
{
    QFETCH(QString, typeName);
    DriveController* c = controllerOfType(typeName);
    QVERIFY(c);
    ParameterProvider* provider = c->parameterProvider();

    // The loader checks defaults with its own reading of the limits; the
    // editors use ParameterSetup's. Both must agree on every sample value.
    int checked = 0;
    for (const ParameterCoordinate& coordinate : provider->allCoordinates()) {
        const QPointer<ParameterSetup> setup = provider->parameterSetup(coordinate);
        QVERIFY(setup);
        const int space = someLivingSpace(*setup);
        if (space < 0)
            continue;
        for (quint16 element : setup->valueElementIndices()) {
            if (!setup->isWritable(space, element))
                continue;
            const QString where = setup->address(space, element).toText();
            const QString forDefault = setup->checkValueText(space, element, setup->defaultValueText(element, false));
            QVERIFY2(forDefault.isEmpty(), qPrintable(where + QStringLiteral(" default: ") + forDefault));
            const QString forReference = setup->checkValueText(space, element, setup->referenceValueText(space, element, false));
            QVERIFY2(forReference.isEmpty(), qPrintable(where + QStringLiteral(" reference: ") + forReference));
            // What the views show must be accepted back as typed by a user.
            const QString forDisplay = setup->checkValueText(space, element, setup->defaultValueText(element, true));
            QVERIFY2(forDisplay.isEmpty(), qPrintable(where + QStringLiteral(" display text: ") + forDisplay));
            ++checked;
        }
    }
    QVERIFY(checked > 300);
}

void TestSampleData::valuesShowAsChangedFromReference_data()
{
    helpIdentifiersHavePages_data();
}

void TestSampleData::valuesShowAsChangedFromReference()
{
    QFETCH(QString, typeName);
    DriveController* c = controllerOfType(typeName);
    QVERIFY(c);
    ParameterProvider* provider = c->parameterProvider();

    // GIVEN a controller whose untouched values are its defaults
    // WHEN each value is compared with its factory reference
    QSet<unsigned int> levels;
    int differing = 0;
    for (const ParameterCoordinate& coordinate : provider->allCoordinates()) {
        const QPointer<ParameterSetup> setup = provider->parameterSetup(coordinate);
        QVERIFY(setup);
        const int space = someLivingSpace(*setup);
        if (space < 0)
            continue;
        for (quint16 element : setup->valueElementIndices()) {
            if (setup->isChangedFromDefault(space, element))
                continue;
            if (setup->valueText(space, element, false) != setup->referenceValueText(space, element, false)) {
                ++differing;
                levels.insert(setup->elementLevel(element));
            }
        }
    }
    // THEN some differ without anyone having written them, on more than one access level
    QVERIFY2(differing >= 8, qPrintable(QString::number(differing)));
    QVERIFY2(levels.size() >= 2, qPrintable(QString::number(levels.size())));
}

void TestSampleData::projectControllers()
{
    // THEN the project holds three controllers with one to four axes each
    QCOMPARE(m_controllers.size(), 3);
    QCOMPARE(m_projectControllers.size(), 3);
    int online = 0;
    int faults = 0;
    int marked = 0;
    QSet<QString> typeNames;
    for (int i = 0; i < m_controllers.size(); ++i) {
        DriveController* c = m_controllers.at(i);
        const QJsonObject given = m_projectControllers.at(i).toObject();
        QCOMPARE(c->name(), given.value(QStringLiteral("name")).toString());
        typeNames.insert(c->type()->name);
        const QList<int> numbers = c->axisNumbers();
        QVERIFY2(!numbers.isEmpty() && numbers.size() <= 4, qPrintable(c->name()));
        QCOMPARE(numbers.size(), given.value(QStringLiteral("axes")).toArray().size());
        for (int number : numbers) {
            QVERIFY(number >= 1 && number <= c->type()->maxAxes);
            QVERIFY2(!c->axisName(number).isEmpty(), qPrintable(c->name()));
            faults += c->hasAxisFault(number) ? 1 : 0;
            marked += c->markingColor(number).isValid() ? 1 : 0;
        }
        online += c->isOnline() ? 1 : 0;
        QVERIFY(!c->descriptor()->text().isEmpty());
    }
    // AND both types are in use, with the device states the views show
    QCOMPARE(typeNames.size(), 2);
    QCOMPARE(online, 1);
    QVERIFY(faults >= 1);
    QVERIFY(marked >= 2);
    QVERIFY(std::any_of(m_controllers.cbegin(), m_controllers.cend(),
                        [](DriveController* c) { return c->axisNumbers().size() == 4; }));
    QVERIFY(std::any_of(m_controllers.cbegin(), m_controllers.cend(),
                        [](DriveController* c) { return c->axisNumbers().size() == 1; }));
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

    // WHEN the parameters of each axis are listed
    int limited = 0;
    for (const auto& p : c->type()->parameters) {
        if (p->definedIn.isEmpty())
            continue;
        ++limited;
        // THEN a parameter limited to some axes appears in exactly those
        for (int axis : c->axisNumbers()) {
            QCOMPARE(provider->parameterCoordinates(axis).contains(p->coordinate), p->definedIn.contains(axis));
        }
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
            const int axis = o.value(QStringLiteral("axis")).toInt(0);
            const int element = o.value(QStringLiteral("element")).toInt(0);
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

    // GIVEN a value the project file sets
    DriveController* c = controller(controllerName);
    QVERIFY(c);
    const QPointer<ParameterSetup> setup = c->parameterProvider()->parameterSetup(ParameterCoordinate(coordinate));
    QVERIFY(setup);
    const quint16 index = quint16(element);

    // THEN the controller holds exactly that value, as a change from the default
    const QString raw = setup->valueText(axis, index, false);
    QVERIFY2(sameValue(value, raw, setup->valueKind(index)),
             qPrintable(QStringLiteral("holds \"%1\"").arg(raw)));
    QVERIFY(setup->isChangedFromDefault(axis, index));
    QVERIFY(!setup->valueText(axis, index, true).isEmpty());
    // AND the user could have typed it
    QCOMPARE(setup->checkValueText(axis, index, raw), QString());
}

void TestSampleData::axesDiffer_data()
{
    QTest::addColumn<QString>("controllerName");
    for (DriveController* c : qAsConst(m_controllers)) {
        if (c->axisNumbers().size() > 1)
            QTest::newRow(qPrintable(c->name())) << c->name();
    }
}

void TestSampleData::axesDiffer()
{
    QFETCH(QString, controllerName);
    // GIVEN a controller with several axes
    DriveController* c = controller(controllerName);
    QVERIFY(c);
    ParameterProvider* provider = c->parameterProvider();
    const QList<int> axes = c->axisNumbers();

    // WHEN the axes' values are compared parameter by parameter
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
    // THEN there is something for the comparison to show
    QVERIFY2(differing >= 3, qPrintable(QString::number(differing)));
}

QTEST_GUILESS_MAIN(TestSampleData)
#include "tst_sampledata.moc"
