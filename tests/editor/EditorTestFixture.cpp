#include "EditorTestFixture.h"

#include "ParameterCustomList.h"
#include "ParameterCustomListElementItem.h"
#include "ParameterCustomListEntryItem.h"
#include "ParameterCustomListRepository.h"
#include "ParameterCustomListTreeWidget.h"

#include "DeviceDescription.h"
#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"

#include <QColor>
#include <QCoreApplication>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

namespace EditorTest {

namespace {

const char catalogue[] = R"([
  {"coordinate": "A10", "name": {"de": "Drehzahlgrenze", "en": "Speed limit"}, "help": "speed-limit",
   "unit": "1/min", "min": 0, "max": 6000, "default": 3000},
  {"coordinate": "A11", "name": {"de": "Hochlaufzeit", "en": "Ramp-up time"},
   "help": "<description>=<p>Zeit bis zur <b>Nenndrehzahl</b></p>",
   "unit": "s", "min": 0, "max": 10, "decimals": 2, "default": 0.5},
  {"coordinate": "A20", "name": {"de": "Sollwerttabelle", "en": "Setpoint table"},
   "structure": "array", "count": COUNT, "min": -100, "max": 100, "default": 0},
  {"coordinate": "A30", "name": {"de": "Drehzahlregler", "en": "Speed controller"}, "structure": "record",
   "elements": [
     {"index": 0, "name": {"de": "Verstärkung", "en": "Gain"}, "min": 0, "max": 500, "default": 20},
     {"index": 1, "name": {"de": "Nachstellzeit", "en": "Reset time"}, "unit": "ms", "min": 1, "max": 1000, "default": 15},
     {"index": 4, "name": {"de": "Filterzeit", "en": "Filter time"}, "unit": "ms", "min": 0, "max": 50, "default": 2}]},
  {"coordinate": "A40", "name": {"de": "Regelart", "en": "Control mode"}, "kind": "choice",
   "choices": [{"value": 0, "de": "Drehzahl", "en": "Speed"}, {"value": 1, "de": "Lage", "en": "Position"},
               {"value": 3, "de": "Moment", "en": "Torque"}], "default": 1},
  {"coordinate": "A50", "name": {"de": "Nennstrom", "en": "Rated current"}, "unit": "A",
   "min": 0, "max": 80, "decimals": 1, "default": 12.5, "writable": false},
  {"coordinate": "A60", "name": {"de": "Reserve", "en": "Spare"}, "min": 0, "max": 9, "active": false},
  {"coordinate": "A100", "name": {"de": "Positionsfenster", "en": "Position window"}, "min": 0, "max": 1000, "default": 10},
  {"coordinate": "B10", "name": {"de": "Netzspannung", "en": "Mains voltage"}, "scope": "device",
   "unit": "V", "min": 200, "max": 480, "default": 400},
  {"coordinate": "C70", "name": {"de": "Haltebremse", "en": "Holding brake"}, "kind": "switch", "definedIn": [1]}
])";

QJsonObject type(const QString& name, int maxAxes, int arrayCount)
{
    QByteArray parameters(catalogue);
    parameters.replace("COUNT", QByteArray::number(arrayCount));
    QJsonObject object;
    object.insert(QStringLiteral("name"), name);
    object.insert(QStringLiteral("descriptor"), name + QStringLiteral(", Firmware 3.2"));
    object.insert(QStringLiteral("maxAxes"), maxAxes);
    object.insert(QStringLiteral("helpPages"), QJsonArray{QJsonObject{
        {QStringLiteral("id"), QStringLiteral("speed-limit")},
        {QStringLiteral("title"), QStringLiteral("Drehzahlgrenze")},
        {QStringLiteral("html"), QStringLiteral("<p>Obere Grenze der Drehzahl.</p>")}}});
    object.insert(QStringLiteral("parameters"), QJsonDocument::fromJson(parameters).array());
    return object;
}

} // namespace

QString multiAxisType()
{
    return QStringLiteral("KXM-12 Mehrachsregler");
}

QString compactType()
{
    return QStringLiteral("KXE-2 Kompaktregler");
}

QList<ControllerSpec> layout(const QString& text)
{
    QList<ControllerSpec> specs;
    for (const QString& part : text.split(QLatin1Char(','), Qt::SkipEmptyParts))
        specs << ControllerSpec{part.startsWith(QLatin1Char('M')) ? multiAxisType() : compactType(), part.mid(1).toInt()};
    return specs;
}

QColor markingColor(int controller, int axis)
{
    return QColor::fromHsv((controller * 97 + axis * 29) % 360, 220, 200);
}

QByteArray description(const QList<ControllerSpec>& controllers)
{
    QJsonArray controllerArray;
    for (int c = 0; c < controllers.size(); ++c) {
        QJsonArray axes;
        for (int a = 1; a <= controllers.at(c).axes; ++a) {
            axes.append(QJsonObject{{QStringLiteral("number"), a},
                                    {QStringLiteral("name"), QStringLiteral("Achse %1").arg(a)},
                                    {QStringLiteral("markingColor"), markingColor(c + 1, a).name()}});
        }
        controllerArray.append(QJsonObject{{QStringLiteral("name"), QStringLiteral("Regler %1").arg(c + 1)},
                                           {QStringLiteral("type"), controllers.at(c).type},
                                           {QStringLiteral("online"), controllers.at(c).online},
                                           {QStringLiteral("axes"), axes}});
    }
    QJsonObject root{{QStringLiteral("format"), QStringLiteral("KxDeviceDescription")},
                     {QStringLiteral("version"), 1},
                     {QStringLiteral("types"), QJsonArray{type(multiAxisType(), 12, 4), type(compactType(), 2, 6)}},
                     {QStringLiteral("controllers"), controllerArray}};
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

Fixture::Fixture(const QList<ControllerSpec>& specs, int listedAxes)
{
    QString error;
    controllers = DeviceDescription::controllersFromBytes(description(specs), &m_owner, &error);
    if (!error.isEmpty())
        QTest::qFail(qPrintable(error), __FILE__, __LINE__);
    for (DriveController* controller : qAsConst(controllers)) {
        for (int number : controller->axisNumbers())
            axes.append(controller->axis(number));
    }
    list = static_cast<ParameterCustomList*>(ParameterCustomListRepository::instance().createList());
    list->setAxes(listedAxes < 0 ? axes : axes.mid(0, listedAxes));
    deliver();

    window = new QWidget;
    window->resize(900, 500);
    auto* layout = new QVBoxLayout(window);
    tree = new ParameterCustomListTreeWidget(window);
    layout->addWidget(tree);
    tree->setParameterCustomList(list);
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window))
        QTest::qFail("the tree's window did not become active", __FILE__, __LINE__);
}

Fixture::~Fixture()
{
    delete window;
    ParameterCustomListRepository::instance().clear();
    deliver();
}

void Fixture::add(const QStringList& parameters)
{
    for (const QString& parameter : parameters)
        list->addEntry(parameter);
    deliver();
}

ParameterSetup* Fixture::setup(int axisIndex, const QString& coordinate) const
{
    DriveControllerAxis* axis = axes.value(axisIndex);
    if (!axis || !axis->driveController())
        return nullptr;
    return axis->driveController()->parameterProvider()->parameterSetup(ParameterCoordinate(coordinate));
}

QTreeWidgetItem* Fixture::row(const QString& coordinate) const
{
    const quint16 number = ParameterCoordinate(coordinate).toNumber();
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = tree->topLevelItem(i);
        if (item->data(0, ParameterCustomListEntryItem::role).toUInt() == number)
            return item;
    }
    return nullptr;
}

QTreeWidgetItem* Fixture::elementRow(const QString& coordinate, quint16 element) const
{
    QTreeWidgetItem* parent = row(coordinate);
    for (int i = 0; parent && i < parent->childCount(); ++i) {
        if (parent->child(i)->data(0, ParameterCustomListElementItem::role).toUInt() == element)
            return parent->child(i);
    }
    return nullptr;
}

QRect Fixture::cellRect(QTreeWidgetItem* item, int column) const
{
    QRect rect = tree->visualItemRect(item);
    rect.setLeft(tree->header()->sectionViewportPosition(column));
    rect.setWidth(tree->header()->sectionSize(column));
    return rect;
}

void Fixture::doubleClickCell(QTreeWidgetItem* item, int column) const
{
    const QPoint centre = cellRect(item, column).center();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
}

QString Fixture::axisLabel(int axisIndex) const
{
    DriveControllerAxis* axis = axes.value(axisIndex);
    return axis->driveController()->name() + QStringLiteral(" - ") + axis->name();
}

void deliver()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

} // namespace EditorTest
