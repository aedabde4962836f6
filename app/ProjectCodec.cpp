#include "ProjectCodec.h"

#include "DeviceType.h"
#include "DeviceTypeLibrary.h"
#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "ModbusConnection.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"

#include <QColor>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace {

const QString formatName = QStringLiteral("KxSuiteProject");

QString colorText(const QColor& color)
{
    return color.name(color.alpha() == 255 ? QColor::HexRgb : QColor::HexArgb);
}

QJsonArray encodeValues(DriveController* controller)
{
    QJsonArray values;
    const ParameterProvider* provider = controller->parameterProvider();
    for (const ParameterCoordinate& coordinate : provider->allCoordinates()) {
        const QPointer<ParameterSetup> setup = provider->parameterSetup(coordinate);
        if (!setup)
            continue;
        QList<quint16> elements = setup->valueElementIndices().values();
        std::sort(elements.begin(), elements.end());
        QList<eLivingSpace> livingSpaces = setup->livingSpaces();
        std::sort(livingSpaces.begin(), livingSpaces.end());
        for (eLivingSpace livingSpace : qAsConst(livingSpaces)) {
            for (quint16 element : qAsConst(elements)) {
                if (!setup->isChangedFromDefault(livingSpace, element))
                    continue;
                QJsonObject value;
                value.insert(QStringLiteral("coordinate"), coordinate.toText());
                value.insert(QStringLiteral("livingSpace"), livingSpace);
                value.insert(QStringLiteral("element"), element);
                value.insert(QStringLiteral("value"), setup->valueText(livingSpace, element, false));
                values.append(value);
            }
        }
    }
    return values;
}

class Decoder
{
public:
    explicit Decoder(DeviceTypeLibrary* library) : m_library(library) {}

    DriveController* controller(const QJsonObject& object, int index);

    QStringList skipped;

private:
    QSharedPointer<const DeviceType> findType(const QString& name, const QString& sourceFile);
    void addAxes(DriveController* controller, const QJsonArray& axes, const QString& where);
    void setValues(DriveController* controller, const QJsonArray& values, const QString& where);

    DeviceTypeLibrary* m_library;
};

QSharedPointer<const DeviceType> Decoder::findType(const QString& name, const QString& sourceFile)
{
    if (!m_library)
        return {};
    if (!m_library->contains(name) && !sourceFile.isEmpty() && QFileInfo::exists(sourceFile))
        m_library->loadFile(sourceFile);
    return m_library->type(name);
}

DriveController* Decoder::controller(const QJsonObject& object, int index)
{
    const QString name = object.value(QStringLiteral("name")).toString();
    const QString typeName = object.value(QStringLiteral("type")).toString();
    const QString where = name.isEmpty() ? ProjectCodec::tr("Regler %1").arg(index + 1)
                                         : ProjectCodec::tr("Regler „%1“").arg(name);
    const QSharedPointer<const DeviceType> type = findType(typeName, object.value(QStringLiteral("typeFile")).toString());
    if (!type) {
        skipped.append(ProjectCodec::tr("%1: unbekannter Gerätetyp „%2“, der Regler wurde mit allen Achsen und Werten weggelassen.")
                           .arg(where, typeName));
        return nullptr;
    }
    auto* controller = new DriveController(type, name);
    if (object.contains(QStringLiteral("descriptor")))
        controller->setDescriptorText(object.value(QStringLiteral("descriptor")).toString());
    addAxes(controller, object.value(QStringLiteral("axes")).toArray(), where);
    setValues(controller, object.value(QStringLiteral("values")).toArray(), where);
    // Last, because a read-only provider refuses every value.
    if (object.value(QStringLiteral("readOnly")).toBool())
        controller->parameterProvider()->setReadOnly(true);
    if (object.contains(QStringLiteral("connection"))) {
        const ModbusConnectionSettings connection = ModbusConnectionSettings::fromJson(object.value(QStringLiteral("connection")));
        if (connection.isValid())
            controller->setConnectionSettings(connection);
        else
            skipped.append(ProjectCodec::tr("%1: die Verbindung ist unbrauchbar und wurde weggelassen.").arg(where));
    }
    controller->markSaved();
    return controller;
}

void Decoder::addAxes(DriveController* controller, const QJsonArray& axes, const QString& where)
{
    for (const QJsonValue& entry : axes) {
        const QJsonObject axis = entry.toObject();
        const int number = axis.value(QStringLiteral("number")).toInt(-1);
        const QString name = axis.value(QStringLiteral("name")).toString();
        if (!controller->addAxis(number, name)) {
            skipped.append(ProjectCodec::tr("%1: Achse %2 („%3“) passt nicht zum Gerätetyp und wurde weggelassen.")
                               .arg(where).arg(number).arg(name));
            continue;
        }
        const QString colorName = axis.value(QStringLiteral("markingColor")).toString();
        if (colorName.isEmpty())
            continue;
        const QColor color(colorName);
        if (color.isValid())
            controller->setMarkingColor(number, color);
        else
            skipped.append(ProjectCodec::tr("%1, Achse %2: ungültige Markierungsfarbe „%3“ wurde weggelassen.")
                               .arg(where).arg(number).arg(colorName));
    }
}

void Decoder::setValues(DriveController* controller, const QJsonArray& values, const QString& where)
{
    ParameterProvider* provider = controller->parameterProvider();
    for (const QJsonValue& entry : values) {
        const QJsonObject value = entry.toObject();
        const ParameterCoordinate coordinate(value.value(QStringLiteral("coordinate")).toString());
        const int livingSpace = value.value(QStringLiteral("livingSpace")).toInt(LivingSpaceNone);
        const int element = value.value(QStringLiteral("element")).toInt(-1);
        const QString text = value.value(QStringLiteral("value")).toString();
        const QString place = livingSpace == LivingSpaceDevice ? ProjectCodec::tr("geräteweit")
                                                               : ProjectCodec::tr("Achse %1").arg(livingSpace);
        QString refusal;
        const QPointer<ParameterSetup> setup = provider->parameterSetup(coordinate);
        const bool structured = setup && (setup->isArray() || setup->isRecord());
        const QString address = element == 0 && !structured
            ? coordinate.toText()
            : QStringLiteral("%1[%2]").arg(coordinate.toText()).arg(element);
        if (!setup)
            refusal = ProjectCodec::tr("den Parameter gibt es in diesem Gerätetyp nicht");
        else if (element < 0 || element > 0xFFFF || !setup->valueElementIndices().contains(quint16(element)))
            refusal = ProjectCodec::tr("das Element gibt es nicht");
        else if (!setup->livingSpaces().contains(livingSpace))
            refusal = ProjectCodec::tr("der Parameter ist dort nicht definiert");
        else if (setup->setValueText(livingSpace, quint16(element), text, &refusal))
            continue;
        if (refusal.isEmpty())
            refusal = ProjectCodec::tr("der Wert wurde abgelehnt");
        skipped.append(ProjectCodec::tr("%1, %2, %3 = „%4“: %5").arg(where, place, address, text, refusal));
    }
}

} // namespace

int ProjectCodec::formatVersion()
{
    return 1;
}

QByteArray ProjectCodec::encode(const QList<DriveController*>& controllers, const DeviceTypeLibrary* library)
{
    QJsonArray list;
    for (DriveController* controller : controllers) {
        QJsonObject object;
        const QString typeName = controller->type() ? controller->type()->name : QString();
        object.insert(QStringLiteral("type"), typeName);
        if (library && !library->sourceFile(typeName).isEmpty())
            object.insert(QStringLiteral("typeFile"), library->sourceFile(typeName));
        object.insert(QStringLiteral("name"), controller->name());
        if (controller->descriptor())
            object.insert(QStringLiteral("descriptor"), controller->descriptor()->text());
        if (controller->parameterProvider()->isReadOnly())
            object.insert(QStringLiteral("readOnly"), true);
        QJsonArray axes;
        for (int number : controller->axisNumbers()) {
            QJsonObject axis;
            axis.insert(QStringLiteral("number"), number);
            axis.insert(QStringLiteral("name"), controller->axisName(number));
            const QColor color = controller->markingColor(number);
            if (color.isValid())
                axis.insert(QStringLiteral("markingColor"), colorText(color));
            axes.append(axis);
        }
        object.insert(QStringLiteral("axes"), axes);
        object.insert(QStringLiteral("values"), encodeValues(controller));
        if (controller->connection())
            object.insert(QStringLiteral("connection"), controller->connectionSettings().toJson());
        list.append(object);
    }
    QJsonObject root;
    root.insert(QStringLiteral("format"), formatName);
    root.insert(QStringLiteral("version"), formatVersion());
    root.insert(QStringLiteral("controllers"), list);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

ProjectCodec::DecodeResult ProjectCodec::decode(const QByteArray& bytes, DeviceTypeLibrary* library)
{
    DecodeResult result;
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject()) {
        result.error = tr("Die Reglerliste ist beschädigt (%1).")
                           .arg(parseError.error != QJsonParseError::NoError ? parseError.errorString()
                                                                             : tr("kein JSON-Objekt"));
        return result;
    }
    const QJsonObject root = document.object();
    if (root.value(QStringLiteral("format")).toString() != formatName) {
        result.error = tr("Die Reglerliste hat ein unbekanntes Format.");
        return result;
    }
    const int version = root.value(QStringLiteral("version")).toInt(0);
    if (version < 1 || version > formatVersion()) {
        result.error = tr("Die Reglerliste hat die Version %1, dieses Programm versteht nur bis Version %2.")
                           .arg(version).arg(formatVersion());
        return result;
    }
    Decoder decoder(library);
    const QJsonArray controllers = root.value(QStringLiteral("controllers")).toArray();
    for (int i = 0; i < controllers.size(); ++i) {
        if (DriveController* controller = decoder.controller(controllers.at(i).toObject(), i))
            result.controllers.append(controller);
    }
    result.ok = true;
    result.skipped = decoder.skipped;
    return result;
}
