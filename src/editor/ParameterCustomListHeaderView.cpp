#include "ParameterCustomListHeaderView.h"

#include "ParameterCustomList.h"
#include "ParameterCustomListTreeWidget.h"

#include "DriveController.h"
#include "DriveControllerAxis.h"

#include <QPainter>
#include <QPixmap>

namespace {
constexpr int MarkingBarHeight = 2;
constexpr int MarkingBarInset = 10;
constexpr int NarrowSectionWidth = 30;
} // namespace

ParameterCustomListHeaderView::ParameterCustomListHeaderView(ParameterCustomListTreeWidget* parent)
    : QHeaderView(Qt::Horizontal, parent)
{
}

void ParameterCustomListHeaderView::setParameterCustomList(ParameterCustomListInformation* list)
{
    this->list = list;
    viewport()->update();
}

void ParameterCustomListHeaderView::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    if (!rect.isValid())
        return;

    // The style paints the section without knowing of the bar; going through
    // a pixmap keeps its clipping and state from leaking into the bar.
    const qreal ratio = devicePixelRatioF();
    QPixmap section(rect.size() * ratio);
    section.setDevicePixelRatio(ratio);
    section.fill(Qt::transparent);
    QPainter sectionPainter(&section);
    QHeaderView::paintSection(&sectionPainter, QRect(QPoint(0, 0), rect.size()), logicalIndex);
    sectionPainter.end();
    painter->drawPixmap(rect.topLeft(), section);

    QColor color;
    auto* customList = qobject_cast<ParameterCustomList*>(list);
    if (customList) {
        const QList<QPointer<DriveControllerAxis>> axes = customList->axes();
        if (logicalIndex > 0 && logicalIndex <= axes.size()) {
            DriveControllerAxis* axis = axes.at(logicalIndex - 1);
            if (axis && axis->driveController())
                color = axis->driveController()->markingColor(axis->axisNumber());
        }
    }
    if (!color.isValid())
        return;
    const int margin = rect.width() > NarrowSectionWidth ? MarkingBarInset : 0;
    painter->fillRect(rect.adjusted(margin, rect.height() - MarkingBarHeight, -margin, 0), color);
}
