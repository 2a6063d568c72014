#pragma once

#include <QLabel>

namespace velt {

// A label that wraps its plain text from the top left at a fixed line pitch
// of about 1.1 em, the pitch the window's layout was designed for. Japanese
// fonts such as Noto Sans CJK ask for nearly 1.5 em per line, which would
// cut the third line of a label sized for three lines of a Windows UI font.
class FixedPitchLabel : public QLabel
{
    Q_OBJECT

public:
    explicit FixedPitchLabel(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace velt
