#include "ParameterCustomListHeaderItem.h"

#include "ParameterCustomList.h"
#include "ParameterCustomListTreeWidget.h"

#include "DriveController.h"
#include "DriveControllerAxis.h"

#include <QHeaderView>

ParameterCustomListHeaderItem::ParameterCustomListHeaderItem(ParameterCustomListTreeWidget* tree)
    : QTreeWidgetItem(0)
    , tree(tree)
{
}

void ParameterCustomListHeaderItem::setParameterCustomList(ParameterCustomListInformation* list)
{
    this->list = list;
}

void ParameterCustomListHeaderItem::updateHeader()
{
    auto* customList = qobject_cast<ParameterCustomList*>(list);
    const QList<QPointer<DriveControllerAxis>> axes = customList ? customList->axes()
                                                                 : QList<QPointer<DriveControllerAxis>>();
    const int columns = axes.size() + 1;
    tree->setColumnCount(columns);
    setText(0, QString());

    const QHeaderView* header = tree->header();
    for (int visual = 1; visual < columns; ++visual) {
        const int logical = header->logicalIndex(visual);
        if (logical < 1 || logical >= columns)
            continue;
        DriveControllerAxis* axis = axes.at(logical - 1);
        QString caption;
        QString toolTip;
        if (axis && axis->driveController()) {
            DriveController* controller = axis->driveController();
            caption = controller->name() + QLatin1Char('\n') + axis->name();
            const QString note = tree->axisColumnNote(logical - 1);
            if (!note.isEmpty())
                caption += QLatin1Char('\n') + note;
            if (const DriveControllerDescriptor* descriptor = controller->descriptor())
                toolTip = descriptor->text();
        }
        setText(logical, caption);
        setIcon(logical, axisIcon(axis));
        setToolTip(logical, toolTip);
    }
}

QIcon ParameterCustomListHeaderItem::axisIcon(DriveControllerAxis* axis)
{
    if (!axis)
        return QIcon();
    const QString number = QString::number(axis->axisNumber());
    DriveController* controller = axis->driveController();
    if (!controller || !controller->isOnline())
        return QIcon(QStringLiteral(":/Resources/DriveControllerAxis%1.png").arg(number));
    if (!controller->hasAxisFault(axis->axisNumber()))
        return QIcon(QStringLiteral(":/Resources/DriveControllerAxis%1Online.png").arg(number));
    return QIcon(QStringLiteral(":/Resources/DriveControllerAxis%1OnlineFault.png").arg(number));
}
