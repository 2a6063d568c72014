#include "ui/count_spinner.h"

#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace velt {

CountSpinner::CountSpinner(QWidget *parent)
    : QScrollBar(Qt::Vertical, parent)
{
}

void CountSpinner::paintEvent(QPaintEvent *event)
{
    QScrollBar::paintEvent(event);
    if (!hasFocus())
        return;
    QStylePainter painter(this);
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = rect().adjusted(1, 1, -1, -1);
    focus.backgroundColor = palette().color(QPalette::Button);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
}

} // namespace velt
