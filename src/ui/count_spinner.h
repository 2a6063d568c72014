#pragma once

#include <QScrollBar>

namespace velt {

// The count spinner: a vertical scroll bar with only its arrows, half its
// height each, whatever the display scale. Styles draw no focus for scroll
// bars, so after Tab nothing would show where the keyboard is; this one
// draws the style's focus frame inside its own area while it has the focus.
class CountSpinner : public QScrollBar
{
    Q_OBJECT

public:
    explicit CountSpinner(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace velt
