#include "DeviceDescription.h"
#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "HelpSystem.h"
#include "ModelFixture.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"
#include "System.h"
#include "TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using ModelFixture::withValue;

namespace {

const QString TypeName = QStringLiteral("KXT-2 Testantrieb");

QString parameterPath(int index, const char* key = nullptr)
{
    QString path = QStringLiteral("types[0].parameters[%1]").arg(index);
    if (key)
        path += QLatin1Char('.') + QString::fromLatin1(key);
    return path;
}

void writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(content);
}

QByteArray catalogueOnly()
{
    QJsonObject object = ModelFixture::descriptionObject();
    object.remove(QStringLiteral("controllers"));
    return ModelFixture::toJson(object);
}

} // namespace

class TestModelDescription : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KxTest::initTestEnvironment(); }

    void loadsCompleteDescription();
    void createsControllersWithTheirState();
    void malformedDescriptionsAreRefused_data();
    void malformedDescriptionsAreRefused();
    void refusedDescriptionKeepsWhatWasReadBefore();
    void syntaxErrorNamesLineAndColumn();
    void includesAreReadFirstAndOnce();
    void includeCycleAndMissingIncludeAreRefused();
    void sampleDataLoads();
    void documentationExampleLoads();
    void syntheticDescriptionLoads();
    void syntheticDescriptionIsDeterministic();
};

void TestModelDescription::loadsCompleteDescription()
{
    DeviceDescription description;
    QVERIFY2(description.loadBytes(ModelFixture::description(), QStringLiteral("sample.json")), qPrintable(description.errorMessage()));
    QVERIFY(description.errorMessage().isEmpty());

    QCOMPARE(description.types().size(), 1);
    const QSharedPointer<const DeviceType> type = description.type(TypeName);
    QVERIFY(type);
    QCOMPARE(type->maxAxes, 4);
    QCOMPARE(type->descriptor, QStringLiteral("KXT-2, 2 x 4 A"));
    QCOMPARE(type->helpPages.size(), 1);
    QCOMPARE(type->helpPages.first().title, QStringLiteral("\u00DCbersicht"));
    QCOMPARE(type->parameters.size(), 10);

    // Element properties: parameter-level defaults, per-element arrays, record overrides.
    const ParameterDescription& a11 = *type->parameters.at(1);
    QCOMPARE(a11.elements.size(), 1);
    QCOMPARE(a11.elements.first().decimals, 2);
    QCOMPARE(a11.elements.first().defaultValue, QStringLiteral("1.50"));
    QCOMPARE(a11.elements.first().referenceValue, QStringLiteral("2.00"));
    QVERIFY(type->parameters.at(2)->global);
    const ParameterDescription& a100 = *type->parameters.at(3);
    QCOMPARE(a100.elements.first().kind, ValueKindChoice);
    QCOMPARE(a100.elements.first().defaultValue, QStringLiteral("0"));
    QCOMPARE(a100.elements.first().choices.at(2).value, 5);
    QCOMPARE(type->parameters.at(4)->elements.first().defaultValue, QStringLiteral("0"));
    const ParameterDescription& c12 = *type->parameters.at(7);
    QCOMPARE(c12.structure, ParameterDescription::Array);
    QCOMPARE(c12.elements.size(), 4);
    QCOMPARE(c12.elements.at(2).defaultValue, QStringLiteral("30"));
    QCOMPARE(c12.elements.at(2).active, false);
    QCOMPARE(c12.elements.at(2).unit, QStringLiteral("ms"));
    const ParameterDescription& c13 = *type->parameters.at(8);
    QCOMPARE(c13.structure, ParameterDescription::Record);
    QCOMPARE(c13.elements.at(0).hasValue, false);
    QCOMPARE(c13.elements.at(2).index, quint16(5));
    QCOMPARE(c13.elements.at(2).defaultValue, QStringLiteral("0.000"));
    QCOMPARE(c13.elements.at(1).text.longText(1), QStringLiteral("Mode"));
    QCOMPARE(type->parameters.at(9)->definedIn, QList<int>{2});
}

void TestModelDescription::createsControllersWithTheirState()
{
    DeviceDescription description;
    QVERIFY(description.loadBytes(ModelFixture::description()));
    HelpSystem* help = System::instance().helpSystem(QStringLiteral("parameter"));
    help->removePage(QStringLiteral("kxt.overview"));

    QObject owner;
    const QList<DriveController*> controllers = description.createControllers(&owner);

    QCOMPARE(controllers.size(), 2);
    DriveController* bench = controllers.at(0);
    QCOMPARE(bench->parent(), &owner);
    QCOMPARE(bench->name(), QStringLiteral("Pr\u00FCfstand"));
    QCOMPARE(bench->type(), description.type(TypeName));
    QCOMPARE(bench->axisNumbers(), (QList<int>{1, 2}));
    QCOMPARE(bench->axis(2)->name(), QStringLiteral("Fahrachse"));
    QVERIFY(!bench->isOnline());
    QVERIFY(!bench->needSave());
    ParameterProvider* provider = bench->parameterProvider();
    QCOMPARE(provider->parameterSetup(ParameterCoordinate(QStringLiteral("A10")))->valueText(1, 0, true), QStringLiteral("3000 1/min"));
    QCOMPARE(provider->parameterSetup(ParameterCoordinate(QStringLiteral("A10")))->valueText(2, 0, true), QStringLiteral("1500 1/min"));
    QCOMPARE(provider->driveValueText(ParameterAddress(QStringLiteral("1.A10"), false)), QStringLiteral("3000"));

    DriveController* lab = controllers.at(1);
    QVERIFY(lab->isOnline());
    QVERIFY(lab->parameterProvider()->isReadOnly());
    QCOMPARE(lab->axisName(1), QStringLiteral("Spindel"));

    QVERIFY(help->hasPage(QStringLiteral("kxt.overview")));
    QCOMPARE(help->pageHtml(QStringLiteral("kxt.overview")), QStringLiteral("<p>Testantrieb</p>"));

    // The static shortcut gives the same controllers.
    QString error;
    const QList<DriveController*> again = DeviceDescription::controllersFromBytes(ModelFixture::description(), &owner, &error);
    QCOMPARE(again.size(), 2);
    QVERIFY(error.isEmpty());
}

void TestModelDescription::malformedDescriptionsAreRefused_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("message");

    const QJsonObject base = ModelFixture::descriptionObject();
    auto row = [&base](const char* name, const QString& path, const QJsonValue& value, const QString& message) {
        QTest::newRow(name) << ModelFixture::toJson(withValue(base, path, value)) << message;
    };
    const QJsonValue remove(QJsonValue::Undefined);

    row("wrong format name", QStringLiteral("format"), QStringLiteral("Katalog"),
        QStringLiteral("sample.json: \"format\" must be \"KxDeviceDescription\""));
    row("newer version", QStringLiteral("version"), 2,
        QStringLiteral("sample.json: version 2 is newer than this program understands (1)"));
    row("missing version", QStringLiteral("version"), remove, QStringLiteral("sample.json: \"version\" is required"));
    row("maxAxes out of range", QStringLiteral("types[0].maxAxes"), 17,
        QStringLiteral("sample.json: types[0]: \"maxAxes\" must be between 1 and 16"));
    row("array count too large", parameterPath(7, "count"), 17,
        QStringLiteral("sample.json: types[0].parameters[7] (C12): \"count\" must be between 2 and 16"));
    row("invalid coordinate", parameterPath(0, "coordinate"), QStringLiteral("A1"),
        QStringLiteral("sample.json: types[0].parameters[0]: \"coordinate\" \"A1\" is not a coordinate"));
    row("duplicate coordinate", parameterPath(1, "coordinate"), QStringLiteral("a010"),
        QStringLiteral("types[0].parameters[1] (A10): coordinate A10 is already used by parameters[0]"));
    row("missing German name", parameterPath(0, "name.de"), remove,
        QStringLiteral("types[0].parameters[0].name (A10): \"de\" is required"));
    row("unknown key", parameterPath(0, "defualt"), 5,
        QStringLiteral("types[0].parameters[0] (A10): unknown key \"defualt\""));
    row("wrong value type", parameterPath(0, "writable"), QStringLiteral("ja"),
        QStringLiteral("types[0].parameters[0] (A10): \"writable\" must be true or false"));
    row("min above max", parameterPath(0, "min"), 7000,
        QStringLiteral("types[0].parameters[0] (A10): \"min\" (7000) must not be greater than \"max\" (6000)"));
    row("default outside limits", parameterPath(0, "default"), 9000,
        QStringLiteral("types[0].parameters[0] (A10): \"default\" 9000 is not a valid value: Der Wert muss zwischen 0 und 6000 1/min liegen."));
    row("reference with too many decimals", parameterPath(1, "reference"), 1.255,
        QStringLiteral("types[0].parameters[1] (A11): \"reference\" 1.255 is not a valid value"));
    row("unknown kind", parameterPath(3, "kind"), QStringLiteral("list"),
        QStringLiteral("types[0].parameters[3] (A100): \"kind\" must be one of"));
    row("choice kind without choices", parameterPath(3, "choices"), remove,
        QStringLiteral("types[0].parameters[3] (A100): kind \"choice\" needs \"choices\""));
    row("duplicate choice values", parameterPath(3, "choices[1].value"), 0,
        QStringLiteral("types[0].parameters[3].choices[1] (A100): choice value 0 is given twice"));
    row("choices for a number", parameterPath(0, "choices"), QJsonArray{QJsonObject{{"value", 1}, {"de", "Eins"}}},
        QStringLiteral("(A10): \"choices\" are only allowed for kind \"choice\""));
    row("switch default not a state", parameterPath(4, "default"), 2,
        QStringLiteral("types[0].parameters[4] (B05): \"default\" 2 is not a valid value"));
    row("text default too long", parameterPath(5, "default"), QStringLiteral("Achse mit langem Namen"),
        QStringLiteral("(B06): \"default\" \"Achse mit langem Namen\" is not a valid value: Der Text ist zu lang"));
    row("per-element defaults of wrong length", parameterPath(7, "default"), QJsonArray{1, 2, 3},
        QStringLiteral("(C12): \"default\" has 3 entries but \"count\" is 4"));
    row("per-element default outside limits", parameterPath(7, "default[1]"), 1001,
        QStringLiteral("types[0].parameters[7].default[1] (C12): \"default\" 1001 is not a valid value"));
    row("record without elements", parameterPath(8, "elements"), remove,
        QStringLiteral("types[0].parameters[8] (C13): a record needs \"elements\""));
    row("element indices not ascending", parameterPath(8, "elements[2].index"), 1,
        QStringLiteral("types[0].parameters[8].elements[2] (C13): \"index\" 1 must be greater than the previous element's (1)"));
    row("element index out of range", parameterPath(8, "elements[2].index"), 70000,
        QStringLiteral("types[0].parameters[8].elements[2] (C13): \"index\" must be between 0 and 65535"));
    row("elements for a simple parameter", parameterPath(0, "elements"), QJsonArray{QJsonObject()},
        QStringLiteral("(A10): \"elements\" are not allowed for simple parameters"));
    row("definedIn for a device-wide parameter", parameterPath(2, "definedIn"), QJsonArray{1},
        QStringLiteral("(A20): \"definedIn\" is only allowed for scope \"axis\""));
    row("definedIn beyond maxAxes", parameterPath(9, "definedIn"), QJsonArray{2, 5},
        QStringLiteral("types[0].parameters[9].definedIn[1] (D01): axis number must be between 1 and 4"));
    row("unknown scope", parameterPath(9, "scope"), QStringLiteral("global"),
        QStringLiteral("(D01): \"scope\" must be \"axis\" or \"device\""));
    row("duplicate type name", QStringLiteral("types[1]"), base.value(QStringLiteral("types")).toArray().at(0),
        QStringLiteral("sample.json: types[1]: type \"KXT-2 Testantrieb\" is already defined"));
    row("duplicate help page", QStringLiteral("types[0].helpPages[1]"),
        base.value(QStringLiteral("types")).toArray().at(0).toObject().value(QStringLiteral("helpPages")).toArray().at(0),
        QStringLiteral("types[0].helpPages[1]: help page \"kxt.overview\" is given twice"));
    row("unknown controller type", QStringLiteral("controllers[1].type"), QStringLiteral("KXS-9"),
        QStringLiteral("sample.json: controllers[1]: unknown type \"KXS-9\""));
    row("controller without axes", QStringLiteral("controllers[1].axes"), remove,
        QStringLiteral("controllers[1]: \"axes\" is required"));
    row("duplicate axis number", QStringLiteral("controllers[0].axes[1].number"), 1,
        QStringLiteral("controllers[0].axes[1]: axis 1 is given twice"));
    row("axis number beyond maxAxes", QStringLiteral("controllers[0].axes[1].number"), 5,
        QStringLiteral("controllers[0].axes[1]: \"number\" must be between 1 and 4"));
    row("bad marking colour", QStringLiteral("controllers[0].axes[0].markingColor"), QStringLiteral("red"),
        QStringLiteral("controllers[0].axes[0]: \"markingColor\" must be a colour"));
    row("value for an unknown coordinate", QStringLiteral("controllers[0].values[0].coordinate"), QStringLiteral("Z99"),
        QStringLiteral("controllers[0].values[0] (Z99): type \"KXT-2 Testantrieb\" has no parameter Z99"));
    row("value for an axis the controller lacks", QStringLiteral("controllers[0].values[0].axis"), 3,
        QStringLiteral("controllers[0].values[0] (A10): the controller has no axis 3"));
    row("per-axis value without axis", QStringLiteral("controllers[0].values[0].axis"), remove,
        QStringLiteral("controllers[0].values[0] (A10): \"axis\" is required for the per-axis parameter A10"));
    row("device-wide value with axis", QStringLiteral("controllers[0].values[1].axis"), 1,
        QStringLiteral("controllers[0].values[1] (A20): A20 is device-wide"));
    row("value for an unknown element", QStringLiteral("controllers[0].values[2].element"), 4,
        QStringLiteral("controllers[0].values[2] (C12): C12 has no element 4"));
    row("refused value text", QStringLiteral("controllers[0].values[0].value"), 7000,
        QStringLiteral("controllers[0].values[0] (A10): \"value\" 7000 is not a valid value: Der Wert muss zwischen 0 und 6000"));
    row("value of the wrong JSON type", QStringLiteral("controllers[0].values[3].value"), 12,
        QStringLiteral("controllers[0].values[3] (B06): \"value\" must be a string"));
    row("value given twice", QStringLiteral("controllers[0].values[4]"),
        QJsonObject{{"coordinate", "A10"}, {"axis", 1}, {"value", 10}},
        QStringLiteral("controllers[0].values[4] (A10): a value for 1.A10[0] is already given"));
    row("includes without a file", QStringLiteral("includes"), QJsonArray{QStringLiteral("other.json")},
        QStringLiteral("sample.json: \"includes\" can only be used when reading from a file"));
    QTest::newRow("not an object") << QByteArray("[1, 2]") << QStringLiteral("sample.json: the description must be a JSON object");
}

void TestModelDescription::malformedDescriptionsAreRefused()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, message);

    // GIVEN a description with one fault WHEN it is read
    DeviceDescription description;
    const bool loaded = description.loadBytes(json, QStringLiteral("sample.json"));

    // THEN it is refused with a message naming source, place and problem, and nothing of it is kept
    QVERIFY(!loaded);
    QVERIFY2(description.errorMessage().startsWith(QStringLiteral("sample.json")), qPrintable(description.errorMessage()));
    QVERIFY2(description.errorMessage().contains(message), qPrintable(description.errorMessage()));
    QVERIFY(description.types().isEmpty());
    QVERIFY(!description.type(TypeName));
    QVERIFY(description.createControllers().isEmpty());
}

void TestModelDescription::refusedDescriptionKeepsWhatWasReadBefore()
{
    // GIVEN a description that was read
    DeviceDescription description;
    QVERIFY(description.loadBytes(ModelFixture::description(), QStringLiteral("first.json")));

    // WHEN a second one is refused (its first type is fine, its second one is not)
    QJsonObject second = ModelFixture::descriptionObject();
    second = withValue(second, QStringLiteral("types[0].name"), QStringLiteral("KXT-3"));
    second = withValue(second, QStringLiteral("types[1]"), QJsonObject{{"name", "KXT-4"}, {"maxAxes", 0}, {"parameters", QJsonArray()}});
    QVERIFY(!description.loadBytes(ModelFixture::toJson(second), QStringLiteral("second.json")));

    // THEN the first one's types and controllers are all there is
    QVERIFY(description.errorMessage().startsWith(QStringLiteral("second.json: types[1]: \"maxAxes\"")));
    QCOMPARE(description.types().size(), 1);
    QVERIFY(!description.type(QStringLiteral("KXT-3")));
    QObject owner;
    QCOMPARE(description.createControllers(&owner).size(), 2);

    // AND a valid third one adds to them; its controllers may use the earlier types
    QJsonObject third = withValue(ModelFixture::descriptionObject(), QStringLiteral("types"), QJsonArray{
        QJsonObject{{"name", "KXT-3"}, {"maxAxes", 1}, {"parameters", QJsonArray()}}});
    QVERIFY2(description.loadBytes(ModelFixture::toJson(third), QStringLiteral("third.json")), qPrintable(description.errorMessage()));
    QVERIFY(description.errorMessage().isEmpty());
    QCOMPARE(description.types().size(), 2);
    QCOMPARE(description.createControllers(&owner).size(), 4);
}

void TestModelDescription::syntaxErrorNamesLineAndColumn()
{
    // GIVEN a comma missing at the start of line 3
    const QByteArray json = "{\n  \"format\": \"KxDeviceDescription\"\n  \"version\": 1\n}\n";
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("broken.json"));
    writeFile(path, json);

    DeviceDescription description;
    QVERIFY(!description.loadFile(path));
    QCOMPARE(description.errorMessage(), QStringLiteral("broken.json:3:3: JSON syntax error: missing comma"));

    // Columns count characters, not bytes.
    QVERIFY(!description.loadBytes("{\"format\": \"\u00E4\u00F6\u00FC\" \"version\": 1}", QStringLiteral("umlauts.json")));
    QCOMPARE(description.errorMessage(), QStringLiteral("umlauts.json:1:18: JSON syntax error: missing comma"));

    QVERIFY(!description.loadFile(QDir(dir.path()).filePath(QStringLiteral("missing.json"))));
    QVERIFY2(description.errorMessage().startsWith(QStringLiteral("missing.json: cannot read")), qPrintable(description.errorMessage()));
}

void TestModelDescription::includesAreReadFirstAndOnce()
{
    // GIVEN a project that includes a catalogue twice: directly and through a second file
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("types"));
    writeFile(QDir(dir.path()).filePath(QStringLiteral("types/kxt.json")), catalogueOnly());
    writeFile(QDir(dir.path()).filePath(QStringLiteral("types/extra.json")),
        R"({"format": "KxDeviceDescription", "version": 1, "includes": ["kxt.json"],
            "types": [{"name": "KXT-3", "maxAxes": 1, "parameters": []}],
            "controllers": [{"name": "ignored", "type": "KXT-3", "axes": []}]})");
    QJsonObject project = ModelFixture::descriptionObject();
    project.remove(QStringLiteral("types"));
    project.insert(QStringLiteral("includes"), QJsonArray{QStringLiteral("types/kxt.json"), QStringLiteral("types/extra.json")});
    const QString projectPath = QDir(dir.path()).filePath(QStringLiteral("project.json"));
    writeFile(projectPath, ModelFixture::toJson(project));

    // WHEN the project is read
    DeviceDescription description;
    QVERIFY2(description.loadFile(projectPath), qPrintable(description.errorMessage()));

    // THEN every type is there once, the project's controllers use them, an include's controllers are not read
    QCOMPARE(description.types().size(), 2);
    QCOMPARE(description.types().at(0)->name, TypeName);
    QObject owner;
    const QList<DriveController*> controllers = description.createControllers(&owner);
    QCOMPARE(controllers.size(), 2);
    QCOMPARE(controllers.first()->type()->name, TypeName);

    // A description read before is not read again through an include.
    DeviceDescription second;
    QVERIFY(second.loadFile(QDir(dir.path()).filePath(QStringLiteral("types/kxt.json"))));
    QVERIFY2(second.loadFile(projectPath), qPrintable(second.errorMessage()));
    QCOMPARE(second.types().size(), 2);
}

void TestModelDescription::includeCycleAndMissingIncludeAreRefused()
{
    QTemporaryDir dir;
    const QDir d(dir.path());
    writeFile(d.filePath(QStringLiteral("a.json")), R"({"format": "KxDeviceDescription", "version": 1, "includes": ["b.json"],
        "types": [{"name": "A", "maxAxes": 1, "parameters": []}]})");
    writeFile(d.filePath(QStringLiteral("b.json")), R"({"format": "KxDeviceDescription", "version": 1, "includes": ["./a.json"],
        "types": [{"name": "B", "maxAxes": 1, "parameters": []}]})");
    writeFile(d.filePath(QStringLiteral("c.json")), R"({"format": "KxDeviceDescription", "version": 1, "includes": ["nowhere.json"]})");

    DeviceDescription description;
    QVERIFY(!description.loadFile(d.filePath(QStringLiteral("a.json"))));
    QCOMPARE(description.errorMessage(), QStringLiteral("b.json: includes[0]: include cycle: a.json -> b.json -> a.json"));
    QVERIFY(description.types().isEmpty());

    QVERIFY(!description.loadFile(d.filePath(QStringLiteral("c.json"))));
    QVERIFY2(description.errorMessage().startsWith(QStringLiteral("c.json: includes[0]: cannot read \"nowhere.json\"")),
        qPrintable(description.errorMessage()));
}

void TestModelDescription::sampleDataLoads()
{
    // The sample project of the repository must be readable by the loader.
    const QString path = KxTest::dataPath(QStringLiteral("sample-project.json"));
    if (!QFile::exists(path))
        QSKIP("no sample project in data/");
    DeviceDescription description;
    QVERIFY2(description.loadFile(path), qPrintable(description.errorMessage()));
    QVERIFY(!description.types().isEmpty());
    QObject owner;
    QVERIFY(!description.createControllers(&owner).isEmpty());
}

void TestModelDescription::documentationExampleLoads()
{
    // The reference's complete example is the first JSON block of the document.
    const QString text = QString::fromUtf8(KxTest::readFile(QStringLiteral(KX_SOURCE_DIR "/docs/device-description.md")));
    const int start = text.indexOf(QStringLiteral("```json\n"));
    QVERIFY(start >= 0);
    const int end = text.indexOf(QStringLiteral("```"), start + 8);
    const QByteArray json = text.mid(start + 8, end - start - 8).toUtf8();

    QString error;
    QObject owner;
    const QList<DriveController*> controllers = DeviceDescription::controllersFromBytes(json, &owner, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(controllers.size(), 1);
    QVERIFY(controllers.first()->isOnline());
    ParameterSetup* ramps = controllers.first()->parameterProvider()->parameterSetup(ParameterCoordinate(QStringLiteral("C12")));
    QCOMPARE(ramps->valueText(2, 2, true), QStringLiteral("99 ms"));
    QVERIFY(!ramps->isWritable(1, 2));
}

void TestModelDescription::syntheticDescriptionLoads()
{
    // GIVEN a synthetic description of 5000 parameters
    const QByteArray json = syntheticDeviceDescription(5000, 2, 3, 7);

    // WHEN it is read and its controllers are created
    QElapsedTimer timer;
    timer.start();
    DeviceDescription description;
    QVERIFY2(description.loadBytes(json, QStringLiteral("synthetic.json")), qPrintable(description.errorMessage()));
    QObject owner;
    const QList<DriveController*> controllers = description.createControllers(&owner);
    QVERIFY2(timer.elapsed() < 20000, qPrintable(QStringLiteral("took %1 ms").arg(timer.elapsed())));

    // THEN it has the catalogue's size and a realistic mix
    QCOMPARE(description.types().size(), 1);
    const DeviceType& type = *description.types().first();
    QCOMPARE(type.parameters.size(), 5000);
    QCOMPARE(type.maxAxes, 3);
    QSet<QChar> letters;
    int arrays = 0, records = 0, global = 0, choices = 0, readOnly = 0, inactive = 0, definedIn = 0, referenceDiffers = 0;
    for (const auto& p : type.parameters) {
        letters.insert(p->coordinate.letter());
        arrays += p->structure == ParameterDescription::Array;
        records += p->structure == ParameterDescription::Record;
        global += p->global;
        definedIn += !p->definedIn.isEmpty();
        if (p->structure == ParameterDescription::Array)
            QVERIFY(p->elements.size() >= 2 && p->elements.size() <= 16);
        for (const ParameterElementDescription& e : p->elements) {
            choices += e.kind == ValueKindChoice;
            readOnly += !e.writable;
            inactive += !e.active;
            referenceDiffers += e.referenceValue != e.defaultValue;
        }
    }
    QVERIFY(letters.size() >= 5);
    QVERIFY2(arrays > 1200 && arrays < 1800, qPrintable(QString::number(arrays)));
    QVERIFY2(records > 300 && records < 700, qPrintable(QString::number(records)));
    QVERIFY2(global > 500 && global < 1000, qPrintable(QString::number(global)));
    QVERIFY(choices > 0 && readOnly > 0 && inactive > 0 && definedIn > 0 && referenceDiffers > 0);

    QCOMPARE(controllers.size(), 2);
    int changed = 0;
    ParameterProvider* provider = controllers.first()->parameterProvider();
    QCOMPARE(controllers.first()->axisNumbers(), (QList<int>{1, 2, 3}));
    for (const ParameterCoordinate& c : provider->allCoordinates()) {
        ParameterSetup* setup = provider->parameterSetup(c);
        for (eLivingSpace space : setup->livingSpaces()) {
            for (quint16 element : setup->valueElementIndices())
                changed += setup->isChangedFromDefault(space, element);
        }
    }
    QVERIFY2(changed > 50, qPrintable(QString::number(changed)));
}

void TestModelDescription::syntheticDescriptionIsDeterministic()
{
    const QByteArray first = syntheticDeviceDescription(300, 1, 2, 42);
    QCOMPARE(syntheticDeviceDescription(300, 1, 2, 42), first);
    QVERIFY(syntheticDeviceDescription(300, 1, 2, 43) != first);

    // Small and edge sizes are valid descriptions too.
    for (int count : {0, 1, 26000}) {
        DeviceDescription description;
        QVERIFY2(description.loadBytes(syntheticDeviceDescription(count, 1, count == 1 ? 0 : 16, 3)), qPrintable(description.errorMessage()));
        QCOMPARE(description.types().first()->parameters.size(), count);
    }
}

QTEST_GUILESS_MAIN(TestModelDescription)
#include "tst_model_description.moc"
