#include "DeviceDescription.h"
#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "HelpSystem.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"
#include "System.h"
#include "TestSupport.h"

#include <QCryptographicHash>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

// The test bench controllers on their own type of the shared catalogue.
QJsonObject descriptionObject()
{
    QJsonObject object = QJsonDocument::fromJson(KxTest::description(KxTest::project("bench"))).object();
    QJsonArray types;
    for (const QJsonValue& type : object.value(QStringLiteral("types")).toArray()) {
        if (type.toObject().value(QStringLiteral("name")).toString() == QLatin1String("KXT-2 Testantrieb"))
            types.append(type);
    }
    object.insert(QStringLiteral("types"), types);
    return object;
}

// Replaces the value at a path like "types[0].parameters[7].count"; an undefined value removes the key.
QJsonValue withValue(const QJsonValue& node, QStringList steps, const QJsonValue& value)
{
    if (steps.isEmpty())
        return value;
    const QString step = steps.takeFirst();
    if (step.startsWith(QLatin1Char('['))) {
        QJsonArray array = node.toArray();
        const int index = step.mid(1, step.size() - 2).toInt();
        while (array.size() <= index)
            array.append(QJsonValue());
        array[index] = withValue(array.at(index), steps, value);
        return array;
    }
    QJsonObject object = node.toObject();
    if (steps.isEmpty() && value.isUndefined())
        object.remove(step);
    else
        object.insert(step, withValue(object.value(step), steps, value));
    return object;
}

QJsonObject withValue(const QJsonObject& root, const QString& path, const QJsonValue& value)
{
    QStringList steps;
    static const QRegularExpression token(QStringLiteral("[^.\\[\\]]+|\\[\\d+\\]"));
    for (auto it = token.globalMatch(path); it.hasNext();)
        steps.append(it.next().captured(0));
    return withValue(QJsonValue(root), steps, value).toObject();
}

QByteArray toJson(const QJsonObject& object)
{
    return QJsonDocument(object).toJson();
}

const QString TypeName = QStringLiteral("KXT-2 Testantrieb");

QString parameterPath(int index, const char* key)
{
    return QStringLiteral("types[0].parameters[%1].").arg(index) + QLatin1String(key);
}

void writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(content);
}

QByteArray catalogueOnly()
{
    QJsonObject object = descriptionObject();
    object.remove(QStringLiteral("controllers"));
    return toJson(object);
}

} // namespace

class TestModelDescription : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KxTest::initTestEnvironment(); }

    void createsControllersWithTheirState()
    {
        DeviceDescription description;
        QVERIFY2(description.loadBytes(toJson(descriptionObject()), QStringLiteral("sample.json")), qPrintable(description.errorMessage()));
        const QSharedPointer<const DeviceType> type = description.type(TypeName);
        QVERIFY(type);
        QCOMPARE(type->parameters.size(), 10);
        QCOMPARE(type->helpPages.first().title, QStringLiteral("\u00DCbersicht"));
        QCOMPARE(type->parameters.at(8)->elements.at(2).index, quint16(5));   // sparse record element
        HelpSystem* help = System::instance().helpSystem(QStringLiteral("parameter"));
        help->removePage(QStringLiteral("kxt.overview"));

        QObject owner;
        const QList<DriveController*> controllers = description.createControllers(&owner);
        QCOMPARE(controllers.size(), 2);
        DriveController* bench = controllers.at(0);
        QCOMPARE(bench->parent(), &owner);
        QCOMPARE(bench->name(), QStringLiteral("Pr\u00FCfstand"));
        QCOMPARE(bench->type(), type);
        QCOMPARE(bench->axis(2)->name(), QStringLiteral("Fahrachse"));
        QVERIFY(!bench->isOnline() && !bench->needSave());
        ParameterSetup* a10 = KxTest::setupOf(bench, QStringLiteral("A10"));
        QCOMPARE(a10->valueText(1, 0, true), QStringLiteral("3000 1/min"));
        QCOMPARE(a10->valueText(2, 0, true), QStringLiteral("1500 1/min"));
        QCOMPARE(bench->parameterProvider()->driveValueText(ParameterAddress(QStringLiteral("1.A10"), false)), QStringLiteral("3000"));
        QVERIFY(controllers.at(1)->isOnline() && controllers.at(1)->parameterProvider()->isReadOnly());
        QVERIFY(help->hasPage(QStringLiteral("kxt.overview")));
        QCOMPARE(help->pageHtml(QStringLiteral("kxt.overview")), QStringLiteral("<p>Testantrieb</p>"));
    }

    void malformedDescriptionsAreRefused_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("message");

        const QJsonObject base = descriptionObject();
        auto row = [&base](const char* name, const QString& path, const QJsonValue& value, const QString& message) {
            QTest::newRow(name) << toJson(withValue(base, path, value)) << message;
        };
        const QJsonValue remove(QJsonValue::Undefined);

        row("wrong format name", QStringLiteral("format"), QStringLiteral("Katalog"),
            QStringLiteral("sample.json: \"format\" must be \"KxDeviceDescription\""));
        row("newer version", QStringLiteral("version"), 2,
            QStringLiteral("sample.json: version 2 is newer than this program understands (1)"));
        row("required key missing", parameterPath(2, "name"), remove,
            QStringLiteral("types[0].parameters[2] (A20): \"name\" is required"));
        row("wrong type", QStringLiteral("types[0].name"), 5, QStringLiteral("sample.json: types[0]: \"name\" must be a string"));
        row("unknown key", parameterPath(0, "unit2"), QStringLiteral("mm"),
            QStringLiteral("types[0].parameters[0] (A10): unknown key \"unit2\""));
        row("duplicate coordinate", parameterPath(1, "coordinate"), QStringLiteral("a010"),
            QStringLiteral("types[0].parameters[1] (A10): coordinate A10 is already used by parameters[0]"));
        row("min above max", parameterPath(0, "min"), 7000,
            QStringLiteral("types[0].parameters[0] (A10): \"min\" (7000) must not be greater than \"max\" (6000)"));
        row("default outside limits", parameterPath(0, "default"), 9000,
            QStringLiteral("types[0].parameters[0] (A10): \"default\" 9000 is not a valid value: Der Wert muss zwischen 0 und 6000 1/min liegen."));
        row("per-element defaults of wrong length", parameterPath(7, "default"), QJsonArray{1, 2, 3},
            QStringLiteral("(C12): \"default\" has 3 entries but \"count\" is 4"));
        row("element indices not ascending", parameterPath(8, "elements[2].index"), 1,
            QStringLiteral("types[0].parameters[8].elements[2] (C13): \"index\" 1 must be greater than the previous element's (1)"));
        row("definedIn beyond maxAxes", parameterPath(9, "definedIn"), QJsonArray{2, 5},
            QStringLiteral("types[0].parameters[9].definedIn[1] (D01): axis number must be between 1 and 4"));
        row("duplicate type name", QStringLiteral("types[1]"), base.value(QStringLiteral("types")).toArray().at(0),
            QStringLiteral("sample.json: types[1]: type \"KXT-2 Testantrieb\" is already defined"));
        row("unknown controller type", QStringLiteral("controllers[1].type"), QStringLiteral("KXS-9"),
            QStringLiteral("sample.json: controllers[1]: unknown type \"KXS-9\""));
        row("per-axis value without axis", QStringLiteral("controllers[0].values[0].axis"), remove,
            QStringLiteral("controllers[0].values[0] (A10): \"axis\" is required for the per-axis parameter A10"));
        row("includes without a file", QStringLiteral("includes"), QJsonArray{QStringLiteral("other.json")},
            QStringLiteral("sample.json: \"includes\" can only be used when reading from a file"));

        QTest::newRow("not an object") << QByteArray("[1, 2]") << QStringLiteral("sample.json: the description must be a JSON object");
    }

    void malformedDescriptionsAreRefused()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, message);

        DeviceDescription description;
        const bool loaded = description.loadBytes(json, QStringLiteral("sample.json"));

        // Refused with source, place and problem named, and nothing of it kept.
        QVERIFY(!loaded);
        QVERIFY2(description.errorMessage().startsWith(QStringLiteral("sample.json")), qPrintable(description.errorMessage()));
        QVERIFY2(description.errorMessage().contains(message), qPrintable(description.errorMessage()));
        QVERIFY(description.types().isEmpty());
        QVERIFY(!description.type(TypeName));
        QVERIFY(description.createControllers().isEmpty());
    }

    void refusedDescriptionKeepsWhatWasReadBefore()
    {
        // GIVEN a description that was read
        DeviceDescription description;
        QVERIFY(description.loadBytes(toJson(descriptionObject()), QStringLiteral("first.json")));

        // WHEN a second one is refused (its first type is fine, its second one is not)
        QJsonObject second = descriptionObject();
        second = withValue(second, QStringLiteral("types[0].name"), QStringLiteral("KXT-3"));
        second = withValue(second, QStringLiteral("types[1]"), QJsonObject{{"name", "KXT-4"}, {"maxAxes", 0}, {"parameters", QJsonArray()}});
        QVERIFY(!description.loadBytes(toJson(second), QStringLiteral("second.json")));

        // THEN the first one's types and controllers are all there is
        QVERIFY(description.errorMessage().startsWith(QStringLiteral("second.json: types[1]: \"maxAxes\"")));
        QCOMPARE(description.types().size(), 1);
        QVERIFY(!description.type(QStringLiteral("KXT-3")));
        QObject owner;
        QCOMPARE(description.createControllers(&owner).size(), 2);

        // AND a valid third one adds to them; its controllers may use the earlier types
        QJsonObject third = withValue(descriptionObject(), QStringLiteral("types"), QJsonArray{
            QJsonObject{{"name", "KXT-3"}, {"maxAxes", 1}, {"parameters", QJsonArray()}}});
        QVERIFY2(description.loadBytes(toJson(third), QStringLiteral("third.json")), qPrintable(description.errorMessage()));
        QVERIFY(description.errorMessage().isEmpty());
        QCOMPARE(description.types().size(), 2);
        QCOMPARE(description.createControllers(&owner).size(), 4);
    }

    void fileErrorsNameTheirPlace()
    {
        QTemporaryDir dir;
        const QDir d(dir.path());
        // A comma missing at the start of line 3.
        writeFile(d.filePath(QStringLiteral("broken.json")), "{\n  \"format\": \"KxDeviceDescription\"\n  \"version\": 1\n}\n");
        writeFile(d.filePath(QStringLiteral("a.json")), R"({"format": "KxDeviceDescription", "version": 1, "includes": ["b.json"],
            "types": [{"name": "A", "maxAxes": 1, "parameters": []}]})");
        writeFile(d.filePath(QStringLiteral("b.json")), R"({"format": "KxDeviceDescription", "version": 1, "includes": ["./a.json"],
            "types": [{"name": "B", "maxAxes": 1, "parameters": []}]})");
        writeFile(d.filePath(QStringLiteral("c.json")), R"({"format": "KxDeviceDescription", "version": 1, "includes": ["nowhere.json"]})");

        DeviceDescription description;
        QVERIFY(!description.loadFile(d.filePath(QStringLiteral("broken.json"))));
        QCOMPARE(description.errorMessage(), QStringLiteral("broken.json:3:3: JSON syntax error: missing comma"));
        // Columns count characters, not bytes.
        QVERIFY(!description.loadBytes("{\"format\": \"\u00E4\u00F6\u00FC\" \"version\": 1}", QStringLiteral("umlauts.json")));
        QCOMPARE(description.errorMessage(), QStringLiteral("umlauts.json:1:18: JSON syntax error: missing comma"));
        QVERIFY(!description.loadFile(d.filePath(QStringLiteral("missing.json"))));
        QVERIFY2(description.errorMessage().startsWith(QStringLiteral("missing.json: cannot read")), qPrintable(description.errorMessage()));

        QVERIFY(!description.loadFile(d.filePath(QStringLiteral("a.json"))));
        QCOMPARE(description.errorMessage(), QStringLiteral("b.json: includes[0]: include cycle: a.json -> b.json -> a.json"));
        QVERIFY(description.types().isEmpty());
        QVERIFY(!description.loadFile(d.filePath(QStringLiteral("c.json"))));
        QVERIFY2(description.errorMessage().startsWith(QStringLiteral("c.json: includes[0]: cannot read \"nowhere.json\"")),
            qPrintable(description.errorMessage()));
    }

    void includesAreReadFirstAndOnce()
    {
        // GIVEN a project that includes a catalogue twice: directly and through a second file
        QTemporaryDir dir;
        const QDir d(dir.path());
        d.mkpath(QStringLiteral("types"));
        writeFile(d.filePath(QStringLiteral("types/kxt.json")), catalogueOnly());
        writeFile(d.filePath(QStringLiteral("types/extra.json")),
            R"({"format": "KxDeviceDescription", "version": 1, "includes": ["kxt.json"],
                "types": [{"name": "KXT-3", "maxAxes": 1, "parameters": []}],
                "controllers": [{"name": "ignored", "type": "KXT-3", "axes": []}]})");
        QJsonObject project = descriptionObject();
        project.remove(QStringLiteral("types"));
        project.insert(QStringLiteral("includes"), QJsonArray{QStringLiteral("types/kxt.json"), QStringLiteral("types/extra.json")});
        const QString projectPath = d.filePath(QStringLiteral("project.json"));
        writeFile(projectPath, toJson(project));

        // WHEN read THEN every type is there once and an include's controllers are not read
        DeviceDescription description;
        QVERIFY2(description.loadFile(projectPath), qPrintable(description.errorMessage()));
        QCOMPARE(description.types().size(), 2);
        QObject owner;
        const QList<DriveController*> controllers = description.createControllers(&owner);
        QCOMPARE(controllers.size(), 2);
        QCOMPARE(controllers.first()->type()->name, TypeName);

        // A description read before is not read again through an include.
        DeviceDescription second;
        QVERIFY(second.loadFile(d.filePath(QStringLiteral("types/kxt.json"))));
        QVERIFY2(second.loadFile(projectPath), qPrintable(second.errorMessage()));
        QCOMPARE(second.types().size(), 2);
    }

    void shippedExamplesLoad()
    {
        // The reference document's first JSON block is a readable description.
        const QString text = QString::fromUtf8(KxTest::readFile(QStringLiteral(KX_SOURCE_DIR "/docs/device-description.md")));
        const int start = text.indexOf(QStringLiteral("```json\n"));
        QVERIFY(start >= 0);
        const int end = text.indexOf(QStringLiteral("```"), start + 8);
        QString error;
        QObject owner;
        const QList<DriveController*> controllers
            = DeviceDescription::controllersFromBytes(text.mid(start + 8, end - start - 8).toUtf8(), &owner, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(controllers.size(), 1);
        QVERIFY(controllers.first()->isOnline());
        ParameterSetup* ramps = controllers.first()->parameterProvider()->parameterSetup(ParameterCoordinate(QStringLiteral("C12")));
        QCOMPARE(ramps->valueText(2, 2, true), QStringLiteral("99 ms"));
        QVERIFY(!ramps->isWritable(1, 2));
    }

    void syntheticDescription()
    {
        // The generator makes valid descriptions of every size, the same for the same seed.
        const QByteArray first = syntheticDeviceDescription(300, 1, 2, 42);
        QCOMPARE(syntheticDeviceDescription(300, 1, 2, 42), first);
        QVERIFY(syntheticDeviceDescription(300, 1, 2, 43) != first);
        for (int count : {0, 1, 300, 26000}) {
            DeviceDescription description;
            QVERIFY2(description.loadBytes(syntheticDeviceDescription(count, 1, count == 1 ? 0 : 16, 3)), qPrintable(description.errorMessage()));
            QCOMPARE(description.types().first()->parameters.size(), count);
        }
        // Tests and benchmarks are tuned to these catalogues: a new generator
        // option must not change what the existing calls produce.
        QCOMPARE(QCryptographicHash::hash(first, QCryptographicHash::Sha1).toHex(), QByteArray("c268b3ee1e1e038fe787c6d5907bb9dd5563e51c"));
        QCOMPARE(QCryptographicHash::hash(syntheticDeviceDescription(3000, 2, 2, 11), QCryptographicHash::Sha1).toHex(),
                 QByteArray("c3470f11b17ffbe7ac80240f4e2f18f084b9e218"));
    }

    void syntheticDescriptionOfKnownShape()
    {
        // GIVEN a catalogue where every fourth parameter is an array of 8
        DeviceDescription description;
        QVERIFY2(description.loadBytes(syntheticDeviceDescription(401, 2, 4, 7, SyntheticShape{4, 8})), qPrintable(description.errorMessage()));
        const auto& parameters = description.types().first()->parameters;
        QCOMPARE(parameters.size(), 401);
        // THEN exactly those are arrays of 8 and the rest single values, in catalogue order
        for (int i = 0; i < parameters.size(); ++i) {
            const ParameterDescription& parameter = *parameters.at(i);
            if (i % 4 == 0) {
                QVERIFY2(parameter.structure == ParameterDescription::Array, qPrintable(parameter.coordinate.toText()));
                QCOMPARE(parameter.elements.size(), 8);
            } else {
                QVERIFY2(parameter.structure == ParameterDescription::Simple, qPrintable(parameter.coordinate.toText()));
                QCOMPARE(parameter.elements.size(), 1);
            }
        }
        // AND the controllers and their axes are there as asked
        QObject owner;
        QCOMPARE(description.createControllers(&owner).size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestModelDescription)
#include "tst_model_description.moc"
