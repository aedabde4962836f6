#include "DeviceDescription.h"
#include "DeviceType.h"
#include "RegisterMap.h"
#include "TestSupport.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

namespace {

QJsonObject exampleDevice()
{
    QFile file(QStringLiteral(KX_SOURCE_DIR "/examples/modbus/tannberg-td2.json"));
    if (!file.open(QIODevice::ReadOnly))
        return QJsonObject();
    return QJsonDocument::fromJson(file.readAll()).object();
}

QJsonObject firstType(const QJsonObject& description)
{
    return description.value(QStringLiteral("types")).toArray().first().toObject();
}

QJsonObject withType(QJsonObject description, const QJsonObject& type)
{
    description.insert(QStringLiteral("types"), QJsonArray{type});
    description.remove(QStringLiteral("controllers"));
    return description;
}

QJsonObject withParameter(const QJsonObject& description, int index, const QJsonObject& parameter)
{
    QJsonObject type = firstType(description);
    QJsonArray parameters = type.value(QStringLiteral("parameters")).toArray();
    if (index >= parameters.size())
        parameters.append(parameter);
    else
        parameters[index] = parameter;
    type.insert(QStringLiteral("parameters"), parameters);
    return withType(description, type);
}

QJsonObject parameterAt(const QJsonObject& description, int index)
{
    return firstType(description).value(QStringLiteral("parameters")).toArray().at(index).toObject();
}

QSharedPointer<const DeviceType> loadType(const QJsonObject& description, QString* error = nullptr)
{
    auto* loader = new DeviceDescription;
    const bool loaded = loader->loadBytes(QJsonDocument(description).toJson(), QStringLiteral("device.json"));
    if (error)
        *error = loader->errorMessage();
    const QSharedPointer<const DeviceType> type = loaded ? loader->types().first() : QSharedPointer<const DeviceType>();
    delete loader;
    return type;
}

// Every located register of a type, as text, for comparing two maps.
QMap<QString, QString> locations(const DeviceType& type)
{
    QMap<QString, QString> result;
    const QSharedPointer<const RegisterMap> map = RegisterMap::of(type);
    for (const auto& parameter : type.parameters) {
        for (const auto& element : parameter->elements) {
            for (int space = parameter->global ? 0 : 1; space <= (parameter->global ? 0 : type.maxAxes); ++space) {
                const RegisterLocation at = map->locate(parameter->coordinate, space, element.index);
                if (at.isValid())
                    result.insert(QStringLiteral("%1.%2[%3]").arg(space).arg(parameter->coordinate.toText()).arg(element.index),
                        QStringLiteral("%1@%2x%3").arg(at.unitId).arg(at.address).arg(at.slot->count));
            }
        }
    }
    return result;
}

} // namespace

class TestRegisterMap : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KxTest::initTestEnvironment(); }

    void publishedMapIsFollowed()
    {
        QString error;
        const QSharedPointer<const DeviceType> type = loadType(exampleDevice(), &error);
        QVERIFY2(type, qPrintable(error));
        const QSharedPointer<const RegisterMap> map = RegisterMap::of(*type);
        QVERIFY(map->isExplicit() && map->isValid());

        // Per-axis registers count from the axis's base, device-wide ones from the device's.
        QCOMPARE(map->locate(ParameterCoordinate(QStringLiteral("F10")), 2, 0).address, quint16(2000));
        QCOMPARE(map->locate(ParameterCoordinate(QStringLiteral("P02")), 0, 0).address, quint16(8));
        // Array elements follow each other.
        const RegisterLocation fixed = map->locate(ParameterCoordinate(QStringLiteral("F40")), 1, 2);
        QCOMPARE(fixed.address, quint16(1012));
        QCOMPARE(fixed.slot->scale, 0.1);

        const ParameterDescription* f11 = type->parameters.at(3).data();
        const RegisterSlot& slot = *map->locate(f11->coordinate, 1, 0).slot;
        QString problem;
        const QVector<quint16> words = RegisterMap::encode(f11->elements.first(), slot, QStringLiteral("6553.7"), &problem);
        QCOMPARE(words, (QVector<quint16>{quint16(65537 & 0xFFFF), 1}));   // low word first
    }

    void valuesSurviveTheirRegisters_data()
    {
        QTest::addColumn<QString>("coordinate");
        QTest::addColumn<QString>("raw");
        QTest::newRow("scaled uint16") << "F10" << "399.99";
        QTest::newRow("uint32 low word first") << "F11" << "3599.9";
        QTest::newRow("float32") << "F20" << "12.25";
        QTest::newRow("choice") << "F30" << "2";
        QTest::newRow("switch") << "F31" << "1";
        QTest::newRow("negative int16") << "F40" << "-49.5";
        QTest::newRow("large uint32") << "F50" << "999999";
        QTest::newRow("string with umlaut") << "P01" << "Förderband 3";
    }

    void valuesSurviveTheirRegisters()
    {
        QFETCH(QString, coordinate);
        QFETCH(QString, raw);
        const QSharedPointer<const DeviceType> type = loadType(exampleDevice());
        QVERIFY(type);
        const QSharedPointer<const RegisterMap> map = RegisterMap::of(*type);
        for (const auto& parameter : type->parameters) {
            if (parameter->coordinate.toText() != coordinate)
                continue;
            const RegisterLocation at = map->locate(parameter->coordinate, parameter->global ? 0 : 1, 0);
            QVERIFY(at.isValid());
            QString problem;
            const QVector<quint16> words = RegisterMap::encode(parameter->elements.first(), *at.slot, raw, &problem);
            QVERIFY2(problem.isEmpty(), qPrintable(problem));
            QCOMPARE(words.size(), int(at.slot->count));
            QCOMPARE(RegisterMap::decode(parameter->elements.first(), *at.slot, words.constData()), raw);
            return;
        }
        QFAIL("coordinate not in the example");
    }

    void textsLongerThanTheirRegistersAreRefused()
    {
        const QSharedPointer<const DeviceType> type = loadType(exampleDevice());
        QVERIFY(type);
        const auto& name = type->parameters.first();
        const RegisterLocation at = RegisterMap::of(*type)->locate(name->coordinate, 0, 0);
        QString problem;
        // 16 characters allowed by the catalogue, but umlauts take two bytes each.
        QVERIFY(RegisterMap::encode(name->elements.first(), *at.slot, QStringLiteral("\u00C4\u00C4\u00C4\u00C4\u00C4\u00C4\u00C4\u00C4\u00C4"), &problem).isEmpty());
        QVERIFY(problem.contains(QLatin1String("16 Bytes")));
    }

    void defaultMapGivesEveryValueItsOwnRegisters()
    {
        DeviceDescription description;
        QVERIFY2(description.loadFile(QStringLiteral(KX_DATA_DIR "/sample-project.json")), qPrintable(description.errorMessage()));
        for (const auto& type : description.types()) {
            const QSharedPointer<const RegisterMap> map = RegisterMap::of(*type);
            QVERIFY2(map->isValid(), qPrintable(map->errorMessage()));
            QVERIFY(!map->isExplicit());
            QCOMPARE(map->overlapProblem(*type), QString());
            QVERIFY(!locations(*type).isEmpty());
        }
    }

    void appendingToACatalogueMovesNothing()
    {
        DeviceDescription description;
        QVERIFY(description.loadFile(QStringLiteral(KX_DATA_DIR "/types/kxs4-servo.json")));
        QFile file(QStringLiteral(KX_DATA_DIR "/types/kxs4-servo.json"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QJsonObject original = QJsonDocument::fromJson(file.readAll()).object();
        const QJsonObject grown = withParameter(original, 100000,
            QJsonObject{{QStringLiteral("coordinate"), QStringLiteral("Z999")}, {QStringLiteral("name"), QJsonObject{{QStringLiteral("de"), QStringLiteral("Neu")}}},
                {QStringLiteral("structure"), QStringLiteral("array")}, {QStringLiteral("count"), 4}, {QStringLiteral("max"), 10}});
        const QSharedPointer<const DeviceType> before = loadType(withType(original, firstType(original)));
        QString error;
        const QSharedPointer<const DeviceType> after = loadType(grown, &error);
        QVERIFY2(before && after, qPrintable(error));
        const QMap<QString, QString> old = locations(*before);
        const QMap<QString, QString> now = locations(*after);
        QCOMPARE(now.size(), old.size() + 4 * before->maxAxes);
        for (auto it = old.cbegin(); it != old.cend(); ++it)
            QCOMPARE(now.value(it.key()), it.value());
    }

    void catalogueTooLargeForTheDefaultMapIsNamed()
    {
        DeviceDescription description;
        QVERIFY(description.loadBytes(syntheticDeviceDescription(5000, 1, 2, 3)));
        const QSharedPointer<const RegisterMap> map = RegisterMap::of(*description.types().first());
        QVERIFY(!map->isValid());
        QVERIFY2(map->errorMessage().contains(QLatin1String("registerMap")), qPrintable(map->errorMessage()));
    }

    void malformedMapsAreRefused_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("message");
        const QJsonObject base = exampleDevice();
        auto changed = [&base](int index, const QString& key, const QJsonValue& value) {
            QJsonObject parameter = parameterAt(base, index);
            if (value.isUndefined())
                parameter.remove(key);
            else
                parameter.insert(key, value);
            return QJsonDocument(withParameter(base, index, parameter)).toJson();
        };
        auto reg = [&base](int index, const QString& key, const QJsonValue& value) {
            QJsonObject r = parameterAt(base, index).value(QStringLiteral("register")).toObject();
            if (value.isUndefined())
                r.remove(key);
            else
                r.insert(key, value);
            QJsonObject parameter = parameterAt(base, index);
            parameter.insert(QStringLiteral("register"), r);
            return QJsonDocument(withParameter(base, index, parameter)).toJson();
        };
        QTest::newRow("register missing") << changed(2, QStringLiteral("register"), QJsonValue::Undefined)
                                          << "device.json: types[0].parameters[2] (F10): the type has a \"registerMap\": \"register\" is required";
        QTest::newRow("address missing") << reg(3, QStringLiteral("address"), QJsonValue::Undefined)
                                         << "device.json: types[0].parameters[3].register (F11): \"address\" is required";
        QTest::newRow("unknown type") << reg(2, QStringLiteral("type"), QStringLiteral("int64"))
                                      << "device.json: types[0].parameters[2].register (F10): \"type\" must be one of";
        QTest::newRow("string without count") << reg(0, QStringLiteral("count"), QJsonValue::Undefined)
                                              << "types[0].parameters[0].register (P01): a \"string\" needs \"count\"";
        QTest::newRow("limits beyond int16") << reg(2, QStringLiteral("type"), QStringLiteral("int16"))
                                             << "(F10): the limits 0..400 do not fit int16 with scale 0.01";
        QTest::newRow("word order of 16 bits") << reg(2, QStringLiteral("wordOrder"), QStringLiteral("low-first"))
                                               << "(F10): \"wordOrder\" is only allowed for 32-bit types";
        QTest::newRow("scale of a choice") << reg(5, QStringLiteral("scale"), 2) << "(F30): \"scale\" and \"decimals\" are only allowed for numbers";
        QTest::newRow("overlap") << reg(4, QStringLiteral("address"), 3)
                                 << "device.json: types[0].registerMap: registers 1003..1004 of F20[0] (living space 1) overlap those of F11[0] (living space 1)";
        QTest::newRow("axes sharing registers")
            << QJsonDocument(withType(base, [&base] {
                   QJsonObject type = firstType(base);
                   type.insert(QStringLiteral("registerMap"), QJsonObject{});
                   return type;
               }())).toJson()
            << "overlap those of";
        QTest::newRow("register without map")
            << QJsonDocument(withType(base, [&base] {
                   QJsonObject type = firstType(base);
                   type.remove(QStringLiteral("registerMap"));
                   return type;
               }())).toJson()
            << "types[0].parameters[0] (P01): \"register\" needs a \"registerMap\" on the type";
    }

    void malformedMapsAreRefused()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, message);
        DeviceDescription description;
        QVERIFY(!description.loadBytes(json, QStringLiteral("device.json")));
        QVERIFY2(description.errorMessage().contains(message), qPrintable(description.errorMessage()));
        QVERIFY(description.types().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestRegisterMap)
#include "tst_registermap.moc"
