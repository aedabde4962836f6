#pragma once

#include <QFont>
#include <QHash>
#include <QSize>
#include <QStyledItemDelegate>

class QStyle;

// The standard delegate, remembering the sizes it worked out. Fitting a
// column to its contents lays out the text of every sampled cell anew; the
// lists and the comparison fit their columns after each pass over rows that
// mostly show the same texts as before.
class CellSizeDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    // Everything besides the text that decides a cell's size. A cell that
    // wraps its text depends on its width as well and is never remembered.
    struct Setting
    {
        QFont font;
        QSize decorationSize;
        int decorationPosition = 0;
        int features = 0;
        int direction = 0;
        const QStyle* style = nullptr;

        bool operator==(const Setting& other) const
        {
            return features == other.features && decorationSize == other.decorationSize
                && decorationPosition == other.decorationPosition && direction == other.direction
                && style == other.style && font == other.font;
        }
    };

    int settingIndex(const Setting& setting) const;

    mutable QVector<Setting> m_settings;
    mutable QHash<QPair<int, QString>, QSize> m_sizes;
};
