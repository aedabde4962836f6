#include "EditorTestFixture.h"

#include "ParameterCustomList.h"
#include "ParameterCustomListElementItem.h"
#include "ParameterCustomListEntryItem.h"
#include "ParameterCustomListRepository.h"
#include "ParameterCustomListTreeWidget.h"

#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "ParameterProvider.h"
#include "ParameterSetup.h"

#include <QHeaderView>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

namespace EditorTest {

QByteArray layout(const QString& text)
{
    QList<QPair<QString, int>> controllers;
    for (const QString& part : text.split(QLatin1Char(','), Qt::SkipEmptyParts))
        controllers.append({part.startsWith(QLatin1Char('M')) ? QStringLiteral("KXM-12 Mehrachsregler") : QStringLiteral("KXE-2 Kompaktregler"),
                            part.mid(1).toInt()});
    return KxTest::controllersWithAxes(controllers);
}

Fixture::Fixture(const QByteArray& controllers, int listedAxes)
    : Devices(controllers)
    , controllers(Devices::controllers())
    , axes(allAxes())
{
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

} // namespace EditorTest
