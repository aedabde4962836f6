#pragma once

#include <QHeaderView>

class ParameterCustomListInformation;
class ParameterCustomListTreeWidget;

// The horizontal header of a list tree. Under each axis section it draws a
// bar in the axis' marking colour, so the columns match the colours the suite
// uses for the axes elsewhere.
class ParameterCustomListHeaderView : public QHeaderView
{
    Q_OBJECT

public:
    explicit ParameterCustomListHeaderView(ParameterCustomListTreeWidget* parent);

    void setParameterCustomList(ParameterCustomListInformation* list);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    ParameterCustomListInformation* list = nullptr;
};
