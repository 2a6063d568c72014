#include "ui/count_spinner.h"

#include <QProxyStyle>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace velt {
namespace {

// The spinner's two arrows share its whole height, half each. Styles give
// a scroll bar's arrows whole pixels and leave what is over to the groove
// between them: at an odd height (the spinner's 17 pixels) and a
// fractional display scale, that sliver is drawn as a bar, and clicking it
// pages instead of stepping. Painting and hit-testing both ask the style
// for these rectangles, so they agree.
class ArrowsOnlyStyle : public QProxyStyle
{
public:
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl part,
                         const QWidget *widget) const override
    {
        if (control != CC_ScrollBar)
            return QProxyStyle::subControlRect(control, option, part, widget);
        const QRect whole = option->rect;
        const int upper = whole.height() / 2;
        switch (part) {
        case SC_ScrollBarSubLine:
            return whole.adjusted(0, 0, 0, upper - whole.height());
        case SC_ScrollBarAddLine:
            return whole.adjusted(0, upper, 0, 0);
        default:
            return {};
        }
    }
};

} // namespace

CountSpinner::CountSpinner(QWidget *parent)
    : QScrollBar(Qt::Vertical, parent)
{
    auto *style = new ArrowsOnlyStyle;
    style->setParent(this);
    setStyle(style);
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
