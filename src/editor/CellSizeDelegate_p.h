#pragma once

#include <QFont>
#include <QHash>
#include <QSize>
#include <QStyledItemDelegate>

#include <functional>

class QStyle;
class QTreeWidgetItem;

// The standard delegate, remembering the sizes it worked out. Fitting a
// column to its contents lays out the text of every sampled cell anew; the
// lists and the comparison fit their columns after each pass over rows that
// mostly show the same texts as before.
class CellSizeDelegate : public QStyledItemDelegate
{
public:
    // `rowOf` gives the tree's own row of an index: the texts, fonts and
    // icons of our rows are at hand there without preparing a whole cell.
    CellSizeDelegate(QObject* parent, std::function<QTreeWidgetItem*(const QModelIndex&)> rowOf);

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    // What decides the size of one of our cells, as the row holds it.
    struct RowCell
    {
        int setting = -1;    // of the view's options, by settingIndex()
        int font = -1;       // of the cell's own font, by fontIndex(); -1 for none
        qint64 icon = 0;     // the icon's cache key; 0 for none
        QString text;

        bool operator==(const RowCell& other) const
        {
            return setting == other.setting && font == other.font && icon == other.icon && text == other.text;
        }
    };
    friend uint qHash(const RowCell& cell, uint seed)
    {
        return qHash(cell.text, seed) ^ uint(cell.setting * 31 + cell.font * 7) ^ qHash(cell.icon, seed);
    }

    bool rowCellOf(const QStyleOptionViewItem& option, const QModelIndex& index, RowCell* cell) const;
    int fontIndex(const QFont& font) const;
    // The size as Qt's delegate works it out, remembered by text and setting.
    QSize measure(const QStyleOptionViewItem& option, const QModelIndex& index) const;

    // Everything besides the text that decides a cell's size. A cell that
    // wraps its text depends on its width as well and is never remembered.
    struct Setting
    {
        QFont font;
        QSize decorationSize;
        int decorationPosition = 0;
        int features = 0;
        int direction = 0;
        int state = 0;
        const QStyle* style = nullptr;

        bool operator==(const Setting& other) const
        {
            return features == other.features && state == other.state && decorationSize == other.decorationSize
                && decorationPosition == other.decorationPosition && direction == other.direction
                && style == other.style && font == other.font;
        }
    };

    int settingIndex(const Setting& setting) const;
    // The place of `value` in a short list of known ones, added when new.
    template<typename T>
    int indexIn(QVector<T>& known, const T& value) const;

    std::function<QTreeWidgetItem*(const QModelIndex&)> m_rowOf;
    mutable QVector<Setting> m_settings;
    mutable QVector<QFont> m_fonts;
    mutable QHash<QPair<int, QString>, QSize> m_sizes;
    mutable QHash<RowCell, QSize> m_rowCellSizes;
    mutable int m_clears = 0;
};
