#include "ui/fixed_pitch_label.h"

#include <QFontInfo>
#include <QPainter>
#include <QTextLayout>

#include <cmath>

namespace velt {

FixedPitchLabel::FixedPitchLabel(QWidget *parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void FixedPitchLabel::paintEvent(QPaintEvent *)
{
    const QRect area = contentsRect();
    const qreal em = QFontInfo(font()).pixelSize();
    const qreal pitch = std::round(em * 1.1);
    // Japanese glyphs stand about 0.88 em above the baseline and 0.12 em
    // below it; centre that box in each line.
    const qreal baseline = std::round((pitch - em) / 2 + em * 0.88);

    QTextLayout layout(text(), font(), this);
    QTextOption option(Qt::AlignLeft);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal top = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(area.width());
        line.setPosition(QPointF(0, top + baseline - line.ascent()));
        top += pitch;
    }
    layout.endLayout();

    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    painter.setClipRect(area);
    layout.draw(&painter, area.topLeft());
}

} // namespace velt
