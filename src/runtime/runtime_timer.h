#pragma once

#include <QObject>
#include <QTimer>

namespace velt {

// A timer with the run-time's semantics rather than Qt's: interval 0 means
// stopped (a zero-interval QTimer would fire whenever the loop is idle), any
// other interval ticks repeatedly, and assigning an interval, even the
// current one, restarts the countdown. The interval reads back as set. Ticks
// that fall due while a handler runs arrive after it, at most one pending.
class RuntimeTimer : public QObject
{
    Q_OBJECT

public:
    explicit RuntimeTimer(QObject *parent = nullptr);

    int interval() const { return m_interval; }
    void setInterval(int milliseconds);
    bool isRunning() const { return m_timer.isActive(); }

signals:
    void tick();

private:
    QTimer m_timer;
    int m_interval = 0;
};

} // namespace velt
