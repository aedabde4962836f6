#include "CellSizeDelegate_p.h"

#include "TreeItemCells_p.h"

#include <QApplication>
#include <QStyle>

namespace {

// A few screens of distinct texts; beyond that the list starts again rather
// than growing with every value ever shown.
constexpr int MostSizes = 20000;
constexpr int MostSettings = 16;   // and fonts

} // namespace

CellSizeDelegate::CellSizeDelegate(QObject* parent, std::function<QTreeWidgetItem*(const QModelIndex&)> rowOf)
    : QStyledItemDelegate(parent)
    , m_rowOf(std::move(rowOf))
{
}

QSize CellSizeDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QVariant given = index.data(Qt::SizeHintRole);
    if (given.isValid())
        return given.toSize();

    // Preparing a whole cell costs more than measuring it once known (the
    // cell's colour alone copies the palette): our rows are asked directly.
    RowCell rowCell;
    const bool ours = rowCellOf(option, index, &rowCell);
    if (ours) {
        const auto known = m_rowCellSizes.constFind(rowCell);
        if (known != m_rowCellSizes.constEnd())
            return *known;
    }
    const int clears = m_clears;
    const QSize size = measure(option, index);
    // Measuring may have started the lists of settings anew: the key would
    // then name someone else's.
    if (ours && clears == m_clears) {
        if (m_rowCellSizes.size() >= MostSizes)
            m_rowCellSizes.clear();
        m_rowCellSizes.insert(rowCell, size);
    }
    return size;
}

bool CellSizeDelegate::rowCellOf(const QStyleOptionViewItem& option, const QModelIndex& index, RowCell* cell) const
{
    if (!m_rowOf || (option.features & QStyleOptionViewItem::WrapText))
        return false;
    const KxTreeItem::CompactRow* row = KxTreeItem::compactRow(m_rowOf(index));
    if (!row)
        return false;
    const int column = index.column();
    const QString& text = row->cellText(column);
    if (text.isNull() || row->data(column, Qt::CheckStateRole).isValid())
        return false;
    const QVariant font = row->data(column, Qt::FontRole);
    const QVariant icon = row->data(column, Qt::DecorationRole);
    if ((font.isValid() && font.userType() != QMetaType::QFont) || (icon.isValid() && icon.userType() != QMetaType::QIcon))
        return false;

    Setting setting;
    setting.font = option.font;
    setting.decorationSize = option.decorationSize;
    setting.decorationPosition = option.decorationPosition;
    setting.features = int(option.features);
    setting.direction = int(option.direction);
    setting.state = int(option.state);
    setting.style = option.widget ? option.widget->style() : QApplication::style();
    cell->setting = settingIndex(setting);
    cell->font = font.isValid() ? fontIndex(font.value<QFont>()) : -1;
    cell->icon = icon.isValid() ? icon.value<QIcon>().cacheKey() : 0;
    cell->text = text;
    return true;
}

QSize CellSizeDelegate::measure(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
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

template<typename T>
int CellSizeDelegate::indexIn(QVector<T>& known, const T& value) const
{
    const int at = known.indexOf(value);
    if (at >= 0)
        return at;
    // Sizes are remembered by these indices: they start anew with the list.
    if (known.size() >= MostSettings) {
        known.clear();
        m_sizes.clear();
        m_rowCellSizes.clear();
        ++m_clears;
    }
    known.append(value);
    return known.size() - 1;
}

int CellSizeDelegate::fontIndex(const QFont& font) const
{
    return indexIn(m_fonts, font);
}

int CellSizeDelegate::settingIndex(const Setting& setting) const
{
    return indexIn(m_settings, setting);
}
