#pragma once

// Tells a screen reader what happened away from the keyboard's focus: the
// sentence the roulette stopped on, how many lines a batch holds. Qt 6.4
// has no announcement event (it came in 6.8), and screen readers pass over
// changes to objects without the focus (Orca 43 over a label's name change
// too); what they do read out wherever the focus is, is a notification
// appearing. This is one: a widget of no size, seen by screen readers
// alone (ui/accessible_interfaces.cpp gives it its role).

#include <QWidget>

namespace velt {

class SpokenNotice : public QWidget
{
    Q_OBJECT

public:
    explicit SpokenNotice(QWidget *parent);

    // Shows `text` as a new notification.
    void say(const QString &text);
    // Takes the last one away, so that nothing reads it again later.
    void withdraw();

    const QString &text() const { return m_text; }

private:
    QString m_text;
};

} // namespace velt
