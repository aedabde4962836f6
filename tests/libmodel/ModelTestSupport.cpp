#include "ModelTestSupport.h"

#include "DeviceDescription.h"
#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"

#include <QTest>

namespace ModelTest {

QByteArray description(const QByteArray& controllers)
{
    static const QByteArray types = R"({
  "name": "KXT-8 Mehrachs", "descriptor": "Mehrachsregler 8 A", "maxAxes": 16,
  "parameters": [
    {"coordinate": "A10", "name": {"de": "Drehzahlgrenze", "en": "Speed limit"}, "unit": "1/min", "max": 6000, "default": 3000},
    {"coordinate": "A11", "name": {"de": "Stromgrenzen"}, "structure": "array", "count": 4, "unit": "A", "max": 50, "decimals": 1, "default": 10},
    {"coordinate": "A12", "name": {"de": "Sollwerttabelle"}, "structure": "array", "count": 10, "max": 1000},
    {"coordinate": "A13", "name": {"de": "Rampenzeit"}, "unit": "ms", "max": 10000, "default": 100},
    {"coordinate": "B20", "name": {"de": "Lageregler"}, "structure": "record", "elements": [
      {"name": {"de": "Verstaerkung"}, "max": 100, "default": 5},
      {"name": {"de": "Nachstellzeit"}, "unit": "ms", "max": 500, "default": 20},
      {"name": {"de": "Vorsteuerung"}, "kind": "switch"}]},
    {"coordinate": "B22", "name": {"de": "Filterkette"}, "structure": "record", "elements": [
      {"name": {"de": "Kopf"}, "hasValue": false},
      {"index": 4, "name": {"de": "Zeitkonstante"}, "max": 100}]},
    {"coordinate": "C30", "name": {"de": "Haltebremse"}, "kind": "switch", "writable": false},
    {"coordinate": "D40", "name": {"de": "Servicezaehler"}, "max": 99999, "level": 3},
    {"coordinate": "D41", "name": {"de": "Kalibrierwert"}, "max": 99999, "category": 2},
    {"coordinate": "E50", "name": {"de": "Ausgangsfunktionen"}, "structure": "array", "count": 3, "max": 9, "writable": [true, false, true]},
    {"coordinate": "F60", "name": {"de": "Zusatzfilter"}, "max": 100, "active": false},
    {"coordinate": "G01", "scope": "device", "name": {"de": "Netzfrequenz"}, "kind": "choice",
     "choices": [{"value": 50, "de": "50 Hz", "en": "50 Hz"}, {"value": 60, "de": "60 Hz", "en": "60 Hz"}]},
    {"coordinate": "G02", "scope": "device", "name": {"de": "Geraeteadresse"}, "max": 255, "writable": false},
    {"coordinate": "H70", "name": {"de": "Nur Achse zwei"}, "definedIn": [2], "max": 10}
  ]}, {
  "name": "KXT-1 Kompakt", "descriptor": "Kompaktregler 2 A", "maxAxes": 2,
  "parameters": [
    {"coordinate": "A10", "name": {"de": "Drehzahlgrenze"}, "unit": "1/min", "max": 9000, "default": 1500},
    {"coordinate": "A11", "name": {"de": "Stromgrenzen"}, "structure": "array", "count": 6, "unit": "A", "max": 20, "decimals": 1},
    {"coordinate": "A13", "name": {"de": "Rampenzeiten"}, "structure": "array", "count": 2, "elements": [
      {"name": {"de": "Hochlauf"}}, {"name": {"de": "Ruecklauf"}}], "max": 10000},
    {"coordinate": "B20", "name": {"de": "Lageregelung"}, "max": 100},
    {"coordinate": "G01", "scope": "device", "name": {"de": "Netzfrequenz"}, "kind": "choice",
     "choices": [{"value": 50, "de": "50 Hz", "en": "50 Hz"}, {"value": 60, "de": "60 Hz", "en": "60 Hz"}]}
  ]})";
    return R"({"format": "KxDeviceDescription", "version": 1, "types": [)" + types
        + R"(], "controllers": )" + controllers + "}";
}

QByteArray standardProject()
{
    return description(R"([
  {"name": "Vorschub", "type": "KXT-8 Mehrachs", "axes": [{"number": 1, "name": "X"}, {"number": 2, "name": "Y"}],
   "values": [{"coordinate": "A10", "axis": 2, "value": 4500}, {"coordinate": "C30", "axis": 2, "value": true},
              {"coordinate": "G01", "value": 60}]},
  {"name": "Spindel", "type": "KXT-1 Kompakt", "axes": [{"number": 1, "name": "S"}]},
  {"name": "Archiv", "type": "KXT-8 Mehrachs", "readOnly": true, "axes": [{"number": 1, "name": "A"}]}
])");
}

Host::Host(const QByteArray& json)
{
    QString error;
    const QList<DriveController*> controllers = DeviceDescription::controllersFromBytes(json, &m_owner, &error);
    if (!error.isEmpty())
        QTest::qFail(qPrintable(QStringLiteral("device description refused: ") + error), __FILE__, __LINE__);
    setControllers(controllers);
}

Host::~Host() = default;

QList<DriveController*> Host::driveControllers()
{
    QList<DriveController*> result;
    for (const QPointer<DriveController>& controller : qAsConst(m_controllers)) {
        if (controller)
            result.append(controller);
    }
    return result;
}

DriveController* Host::controller(int index) const
{
    return m_controllers.value(index).data();
}

DriveControllerAxis* Host::axis(int controllerIndex, int axisNumber) const
{
    DriveController* c = controller(controllerIndex);
    return c ? c->axis(axisNumber) : nullptr;
}

void Host::setControllers(const QList<DriveController*>& controllers)
{
    m_controllers.clear();
    for (DriveController* controller : controllers)
        m_controllers.append(controller);
}

ParameterSetup* setupOf(DriveControllerAxis* axis, const QString& coordinate)
{
    return axis->driveController()->parameterProvider()->parameterSetup(ParameterCoordinate(coordinate)).data();
}

QList<QPointer<DriveControllerAxis>> axesOf(const Host& host, const QString& names)
{
    QList<QPointer<DriveControllerAxis>> axes;
    const QStringList parts = names.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        const QStringList numbers = part.split(QLatin1Char(':'));
        axes.append(host.axis(numbers.value(0).toInt(), numbers.value(1).toInt()));
    }
    return axes;
}

} // namespace ModelTest
