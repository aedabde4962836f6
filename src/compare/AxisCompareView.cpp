#include "AxisCompareView.h"

#include "AxisCompareViewImplementation.h"

AxisCompareView::AxisCompareView(QWidget* parent)
    : QWidget(parent)
{
}

AxisCompareView::~AxisCompareView() = default;

AxisCompareView* AxisCompareView::createAxisCompareView()
{
    return new AxisCompareViewImplementation(nullptr);
}
