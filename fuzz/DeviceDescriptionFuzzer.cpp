// Feeds arbitrary bytes to the device description reader. A description is
// refused with a message that names where the problem is, or loaded; a
// loaded one reads the same however its JSON is laid out, leaves an earlier
// reading untouched when it is read a second time and refused, and every
// value its controllers hold is accepted back as it reads.
#include "DeviceDescription.h"
#include "DriveController.h"
#include "FuzzSupport.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"

#include <QJsonDocument>
#include <QObject>
#include <QStringList>

#include <algorithm>
#include <cstdint>
#include <memory>

namespace {

const QString Source = QStringLiteral("fuzz.json");

QString text(const ParameterText& t)
{
    return t.longText(0) + QLatin1Char('|') + t.longText(1);
}

// Everything the types of a description say, one line per fact.
QStringList typeFacts(const DeviceDescription& description)
{
    QStringList facts;
    for (const auto& type : description.types()) {
        facts << QStringLiteral("type %1|%2|%3").arg(type->name, type->descriptor).arg(type->maxAxes);
        for (const DeviceHelpPage& page : type->helpPages)
            facts << QStringLiteral("help %1|%2|%3").arg(page.identifier, page.title, page.html);
        for (const auto& parameter : type->parameters) {
            QStringList axes;
            for (int axis : parameter->definedIn)
                axes << QString::number(axis);
            facts << QStringLiteral("parameter %1|%2|%3|%4|%5|%6")
                         .arg(parameter->coordinate.toText(), text(parameter->text))
                         .arg(int(parameter->structure))
                         .arg(parameter->global)
                         .arg(axes.join(QLatin1Char(',')), parameter->helpIdentifier);
            for (const ParameterElementDescription& e : parameter->elements) {
                QStringList choices;
                for (const ParameterChoice& choice : e.choices)
                    choices << QString::number(choice.value) + QLatin1Char('=') + text(choice.text);
                facts << QStringLiteral("element %1|%2|%3|%4|%5|%6|%7|%8|%9")
                             .arg(e.index)
                             .arg(text(e.text))
                             .arg(int(e.kind))
                             .arg(e.unit)
                             .arg(e.minimum, 0, 'g', 17)
                             .arg(e.maximum, 0, 'g', 17)
                             .arg(e.decimals)
                             .arg(choices.join(QLatin1Char(';')), e.defaultValue)
                       + QStringLiteral("|%1|%2|%3|%4|%5|%6|%7")
                             .arg(e.referenceValue)
                             .arg(e.writable)
                             .arg(e.active)
                             .arg(e.hasValue)
                             .arg(e.level)
                             .arg(e.category)
                             .arg(e.helpIdentifier);
            }
        }
    }
    return facts;
}

// The controllers a description makes, with every value they hold.
QStringList controllerFacts(const QList<DriveController*>& controllers)
{
    QStringList facts;
    for (DriveController* controller : controllers) {
        ParameterProvider* provider = controller->parameterProvider();
        facts << QStringLiteral("controller %1|%2|%3|%4")
                     .arg(controller->name(), controller->type()->name)
                     .arg(controller->isOnline())
                     .arg(provider->isReadOnly());
        for (int number : controller->axisNumbers())
            facts << QStringLiteral("axis %1|%2|%3").arg(number).arg(controller->axisName(number), controller->markingColor(number).name());
        for (const ParameterCoordinate& coordinate : provider->allCoordinates()) {
            ParameterSetup* setup = provider->parameterSetup(coordinate).data();
            if (!setup)
                continue;
            for (eLivingSpace space : setup->livingSpaces()) {
                QList<quint16> elements = setup->valueElementIndices().values();
                std::sort(elements.begin(), elements.end());
                for (quint16 element : elements)
                    facts << QStringLiteral("value %1|%2|%3|%4").arg(coordinate.toText()).arg(space).arg(element).arg(
                        setup->valueText(space, element, false));
            }
        }
    }
    return facts;
}

// Every value a controller holds is one it accepts, and writing it back
// keeps it as it was.
void checkValuesReadBack(const QList<DriveController*>& controllers)
{
    for (DriveController* controller : controllers) {
        ParameterProvider* provider = controller->parameterProvider();
        provider->setReadOnly(false);
        for (const ParameterCoordinate& coordinate : provider->allCoordinates()) {
            ParameterSetup* setup = provider->parameterSetup(coordinate).data();
            if (!setup)
                continue;
            for (eLivingSpace space : setup->livingSpaces()) {
                for (quint16 element : setup->valueElementIndices()) {
                    if (!setup->isWritable(space, element))
                        continue;
                    const QString raw = setup->valueText(space, element, false);
                    QString refusal;
                    if (!setup->setValueText(space, element, raw, &refusal) || setup->valueText(space, element, false) != raw)
                        KxFuzz::fail("a value a controller holds is accepted back unchanged",
                                     QStringLiteral("%1 space %2 element %3 = \"%4\": %5")
                                         .arg(coordinate.toText())
                                         .arg(space)
                                         .arg(element)
                                         .arg(raw, refusal));
                }
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    KxFuzz::ensureApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), int(size));
    DeviceDescription description;
    if (!description.loadBytes(input, Source)) {
        const QString message = description.errorMessage();
        if (!message.startsWith(Source + QLatin1Char(':')) || message.size() <= Source.size() + 2)
            KxFuzz::fail("a refused description says where and what is wrong", message);
        if (!description.types().isEmpty())
            KxFuzz::fail("nothing of a refused description is kept", message);
        return 0;
    }
    const QStringList types = typeFacts(description);
    std::unique_ptr<QObject> owner(new QObject);
    const QList<DriveController*> controllers = description.createControllers(owner.get());
    const QStringList values = controllerFacts(controllers);

    // The same document in another layout reads the same.
    DeviceDescription relaid;
    const QByteArray compact = QJsonDocument::fromJson(input).toJson(QJsonDocument::Compact);
    if (!relaid.loadBytes(compact, Source))
        KxFuzz::fail("a description reads regardless of its layout", relaid.errorMessage());
    std::unique_ptr<QObject> relaidOwner(new QObject);
    if (typeFacts(relaid) != types || controllerFacts(relaid.createControllers(relaidOwner.get())) != values)
        KxFuzz::fail("a description reads the same regardless of its layout", types.join(QLatin1Char('\n')));

    // Its types are there already: a second reading is refused and changes nothing.
    if (!types.isEmpty()) {
        if (description.loadBytes(input, Source))
            KxFuzz::fail("a type cannot be defined twice", types.first());
        if (typeFacts(description) != types)
            KxFuzz::fail("a refused description leaves the earlier ones as they were", description.errorMessage());
    }

    checkValuesReadBack(controllers);
    return 0;
}
