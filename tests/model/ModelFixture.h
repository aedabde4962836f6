#pragma once

// A small but complete catalogue used by the model tests: every kind,
// structure and scope once, two controllers with initial values.

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QString>

namespace ModelFixture {

inline QByteArray description()
{
    return QByteArrayLiteral(R"({
  "format": "KxDeviceDescription",
  "version": 1,
  "types": [
    {
      "name": "KXT-2 Testantrieb",
      "descriptor": "KXT-2, 2 x 4 A",
      "maxAxes": 4,
      "helpPages": [ { "id": "kxt.overview", "title": "Übersicht", "html": "<p>Testantrieb</p>" } ],
      "parameters": [
        { "coordinate": "A10", "name": { "de": "Nenndrehzahl", "en": "Rated speed" },
          "unit": "1/min", "min": 0, "max": 6000, "default": 1500, "help": "kxt.overview" },
        { "coordinate": "A11", "name": { "de": "Nennstrom", "en": "Rated current" },
          "unit": "A", "min": 0, "max": 25.5, "decimals": 2, "default": 1.5, "reference": 2 },
        { "coordinate": "A20", "name": { "de": "Netzfrequenz", "en": "Mains frequency" }, "scope": "device",
          "unit": "Hz", "min": 45, "max": 65, "decimals": 1, "default": 50 },
        { "coordinate": "A100", "name": { "de": "Betriebsart", "en": "Operating mode" }, "kind": "choice",
          "choices": [ { "value": 0, "de": "Drehzahl", "en": "Speed" }, { "value": 1, "de": "Lage", "en": "Position" },
                       { "value": 5, "de": "Moment" } ] },
        { "coordinate": "B05", "name": { "de": "Haltebremse" }, "kind": "switch", "default": false },
        { "coordinate": "B06", "name": { "de": "Achsname", "en": "Axis name" }, "kind": "text", "max": 12, "default": "Achse" },
        { "coordinate": "B07", "name": { "de": "Zwischenkreisspannung", "en": "DC link voltage" },
          "unit": "V", "max": 800, "writable": false, "level": 2 },
        { "coordinate": "C12", "name": { "de": "Rampenzeiten", "en": "Ramp times" }, "structure": "array", "count": 4,
          "unit": "ms", "max": 1000, "default": [10, 20, 30, 40], "active": [true, true, false, true] },
        { "coordinate": "C13", "name": { "de": "Bremsablauf", "en": "Braking sequence" }, "structure": "record",
          "elements": [
            { "name": { "de": "Kopf" }, "hasValue": false },
            { "name": { "de": "Modus", "en": "Mode" }, "kind": "choice",
              "choices": [ { "value": 0, "de": "Rampe", "en": "Ramp" }, { "value": 1, "de": "Sofort", "en": "Immediate" } ] },
            { "index": 5, "name": { "de": "Zeit", "en": "Time" }, "unit": "s", "decimals": 3, "max": 10, "help": "<description>=<p>Zeit</p>" }
          ] },
        { "coordinate": "D01", "name": { "de": "Lüfterstufe", "en": "Fan stage" }, "definedIn": [2], "max": 3 }
      ]
    }
  ],
  "controllers": [
    {
      "name": "Prüfstand",
      "type": "KXT-2 Testantrieb",
      "axes": [
        { "number": 1, "name": "Hubachse", "markingColor": "#ff0000" },
        { "number": 2, "name": "Fahrachse", "fault": true }
      ],
      "values": [
        { "coordinate": "A10", "axis": 1, "value": 3000 },
        { "coordinate": "A20", "value": 60 },
        { "coordinate": "C12", "axis": 2, "element": 3, "value": 99 },
        { "coordinate": "B06", "axis": 1, "value": "Hub" }
      ]
    },
    {
      "name": "Labor",
      "type": "KXT-2 Testantrieb",
      "descriptor": "KXT-2 im Labor",
      "online": true,
      "readOnly": true,
      "axes": [ { "number": 1, "name": "Spindel" } ]
    }
  ]
})");
}

inline QJsonObject descriptionObject()
{
    return QJsonDocument::fromJson(description()).object();
}

// Replaces the value at a path like "types[0].parameters[7].count";
// an undefined value removes the key.
inline QJsonValue withValue(const QJsonValue& node, const QStringList& steps, const QJsonValue& value)
{
    if (steps.isEmpty())
        return value;
    const QString step = steps.first();
    const QStringList rest = steps.mid(1);
    static const QRegularExpression indexStep(QStringLiteral("^\\[(\\d+)\\]$"));
    const QRegularExpressionMatch match = indexStep.match(step);
    if (match.hasMatch()) {
        QJsonArray array = node.toArray();
        const int index = match.captured(1).toInt();
        while (array.size() <= index)
            array.append(QJsonValue());
        array[index] = withValue(array.at(index), rest, value);
        return array;
    }
    QJsonObject object = node.toObject();
    if (rest.isEmpty() && value.isUndefined())
        object.remove(step);
    else
        object.insert(step, withValue(object.value(step), rest, value));
    return object;
}

inline QJsonObject withValue(const QJsonObject& root, const QString& path, const QJsonValue& value)
{
    QStringList steps;
    static const QRegularExpression token(QStringLiteral("[^.\\[\\]]+|\\[\\d+\\]"));
    auto it = token.globalMatch(path);
    while (it.hasNext())
        steps.append(it.next().captured(0));
    return withValue(QJsonValue(root), steps, value).toObject();
}

inline QByteArray toJson(const QJsonObject& object)
{
    return QJsonDocument(object).toJson();
}

} // namespace ModelFixture
