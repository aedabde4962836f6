#include "ParameterCustomListHeaderView.h"

#include "ParameterCustomList.h"
#include "ParameterCustomListTreeWidget.h"

#include "DriveController.h"
#include "DriveControllerAxis.h"

#include <QPainter>
#include <QPixmap>
#include <QStyleOptionHeader>

namespace {
constexpr int MarkingBarHeight = 2;
constexpr int MarkingBarInset = 10;
constexpr int NarrowSectionWidth = 30;
// Below this difference in lightness (0..255) a bar is hard to tell from
// the header behind it.
constexpr int MinimumLightnessContrast = 60;
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
    QStyleOptionHeader option;
    initSectionOption(&option, QRect(QPoint(0, 0), rect.size()), logicalIndex);
    option.text = elidedCaption(option, option.text);
    style()->drawControl(QStyle::CE_Header, &option, &sectionPainter, this);
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
    const QRect bar = rect.adjusted(margin, rect.height() - MarkingBarHeight, -margin, 0);
    const QColor outline = outlineFor(color, palette().color(QPalette::Button));
    if (outline.isValid()) {
        painter->fillRect(bar.adjusted(-1, -1, 1, 0), outline);
        painter->fillRect(bar.adjusted(0, 0, 0, -1), color);
    } else {
        painter->fillRect(bar, color);
    }
}

QColor ParameterCustomListHeaderView::outlineFor(const QColor& marking, const QColor& background)
{
    if (!marking.isValid() || qAbs(marking.lightness() - background.lightness()) >= MinimumLightnessContrast)
        return QColor();
    // Dark on light, light on dark: whichever is farther from both.
    return marking.lightness() + background.lightness() > 255 ? QColor(0x40, 0x40, 0x40) : QColor(0xe0, 0xe0, 0xe0);
}

// What QHeaderView itself would hand to the style, less its eliding, which
// takes a caption of several lines for one long line.
void ParameterCustomListHeaderView::initSectionOption(QStyleOptionHeader* option, const QRect& rect,
                                                      int logicalIndex) const
{
    initStyleOption(option);
    if (isEnabled())
        option->state |= QStyle::State_Enabled;
    if (window()->isActiveWindow())
        option->state |= QStyle::State_Active;
    option->rect = rect;
    option->section = logicalIndex;
    option->textAlignment = defaultAlignment();
    option->iconAlignment = Qt::AlignVCenter;
    if (QAbstractItemModel* headerModel = model()) {
        option->text = headerModel->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString();
        option->icon = qvariant_cast<QIcon>(headerModel->headerData(logicalIndex, orientation(), Qt::DecorationRole));
    }
    const int visual = visualIndex(logicalIndex);
    if (count() == 1)
        option->position = QStyleOptionHeader::OnlyOneSection;
    else if (visual == 0)
        option->position = QStyleOptionHeader::Beginning;
    else if (visual == count() - 1)
        option->position = QStyleOptionHeader::End;
    else
        option->position = QStyleOptionHeader::Middle;
}

QString ParameterCustomListHeaderView::elidedCaption(const QStyleOptionHeader& option, const QString& caption) const
{
    const int headerMargin = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this);
    int width = style()->subElementRect(QStyle::SE_HeaderLabel, &option, this).width() - 2 * headerMargin;
    if (!option.icon.isNull())
        width -= style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this) + headerMargin;
    QStringList lines = caption.split(QLatin1Char('\n'));
    for (QString& line : lines)
        line = option.fontMetrics.elidedText(line, Qt::ElideMiddle, qMax(width, 0));
    return lines.join(QLatin1Char('\n'));
}

QString ParameterCustomListHeaderView::displayedCaption(int logicalIndex) const
{
    QStyleOptionHeader option;
    initSectionOption(&option, QRect(0, 0, sectionSize(logicalIndex), height()), logicalIndex);
    return elidedCaption(option, option.text);
}
