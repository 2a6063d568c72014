#include "ui/spoken_notice.h"

namespace velt {

SpokenNotice::SpokenNotice(QWidget *parent)
    : QWidget(parent)
{
    setFixedSize(0, 0);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void SpokenNotice::say(const QString &text)
{
    hide();
    m_text = text;
    show(); // what screen readers hear
}

void SpokenNotice::withdraw()
{
    hide();
    m_text.clear();
}

} // namespace velt
