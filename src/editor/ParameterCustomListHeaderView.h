#pragma once

#include <QHeaderView>

class ParameterCustomListInformation;
class ParameterCustomListTreeWidget;
class QStyleOptionHeader;

// The horizontal header of a list tree. Under each axis section it draws a
// bar in the axis' marking colour, so the columns match the colours the suite
// uses for the axes elsewhere; a colour too close to the header's own gets an
// outline that stands out from both. Captions that do not fit are elided in
// the middle, line by line, so that the ends of controller and axis names
// stay readable.
class ParameterCustomListHeaderView : public QHeaderView
{
    Q_OBJECT

public:
    explicit ParameterCustomListHeaderView(ParameterCustomListTreeWidget* parent);

    void setParameterCustomList(ParameterCustomListInformation* list);

    // The caption as painted at the section's current width.
    QString displayedCaption(int logicalIndex) const;
    // The outline a marking colour needs on `background`; invalid when the
    // colour stands out by itself.
    static QColor outlineFor(const QColor& marking, const QColor& background);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    void initSectionOption(QStyleOptionHeader* option, const QRect& rect, int logicalIndex) const;
    QString elidedCaption(const QStyleOptionHeader& option, const QString& caption) const;

    ParameterCustomListInformation* list = nullptr;
};
