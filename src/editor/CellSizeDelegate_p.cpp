#include "CellSizeDelegate_p.h"

#include <QApplication>
#include <QStyle>

namespace {

// A few screens of distinct texts; beyond that the list starts again rather
// than growing with every value ever shown.
constexpr int MostSizes = 20000;
constexpr int MostSettings = 16;

} // namespace

QSize CellSizeDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QVariant given = index.data(Qt::SizeHintRole);
    if (given.isValid())
        return given.toSize();

    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    if (cell.features & QStyleOptionViewItem::WrapText)
        return QStyledItemDelegate::sizeHint(option, index);

    const QWidget* widget = cell.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    Setting setting;
    setting.font = cell.font;
    setting.decorationSize = (cell.features & QStyleOptionViewItem::HasDecoration) ? cell.decorationSize : QSize();
    setting.decorationPosition = cell.decorationPosition;
    // Alternate rows and the like look different but measure the same.
    setting.features = int(cell.features & (QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration
                                            | QStyleOptionViewItem::HasCheckIndicator));
    setting.direction = int(cell.direction);
    setting.style = style;

    const QPair<int, QString> key(settingIndex(setting), cell.text);
    const auto known = m_sizes.constFind(key);
    if (known != m_sizes.constEnd())
        return *known;
    if (m_sizes.size() >= MostSizes)
        m_sizes.clear();
    const QSize size = style->sizeFromContents(QStyle::CT_ItemViewItem, &cell, QSize(), widget);
    m_sizes.insert(key, size);
    return size;
}

int CellSizeDelegate::settingIndex(const Setting& setting) const
{
    const int known = m_settings.indexOf(setting);
    if (known >= 0)
        return known;
    if (m_settings.size() >= MostSettings) {
        m_settings.clear();
        m_sizes.clear();
    }
    m_settings.append(setting);
    return m_settings.size() - 1;
}
