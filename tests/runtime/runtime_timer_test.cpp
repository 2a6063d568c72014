#include "runtime/runtime_timer.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

using velt::RuntimeTimer;

class RuntimeTimerTest : public QObject
{
    Q_OBJECT

private slots:
    void zeroMeansStoppedNotIdle_data()
    {
        QTest::addColumn<int>("interval");
        QTest::newRow("zero") << 0;
        QTest::newRow("negative") << -5;
    }

    void zeroMeansStoppedNotIdle()
    {
        QFETCH(int, interval);
        RuntimeTimer timer;
        QSignalSpy ticks(&timer, &RuntimeTimer::tick);
        timer.setInterval(interval);
        QTest::qWait(30);
        QCOMPARE(ticks.count(), 0);
        QVERIFY(!timer.isRunning());
        QCOMPARE(timer.interval(), interval);
    }

    void ticksRepeatUntilStopped()
    {
        RuntimeTimer timer;
        QSignalSpy ticks(&timer, &RuntimeTimer::tick);
        timer.setInterval(5);
        QCOMPARE(timer.interval(), 5);
        QTRY_VERIFY(ticks.count() >= 3);
        timer.setInterval(0);
        const int stopped = ticks.count();
        QTest::qWait(30);
        QCOMPARE(ticks.count(), stopped);
    }

    void assigningTheSameIntervalRestartsTheCountdown()
    {
        RuntimeTimer timer;
        QSignalSpy ticks(&timer, &RuntimeTimer::tick);
        timer.setInterval(60);
        // Re-assigning every 20 ms keeps pushing the first tick away.
        for (int i = 0; i < 6; ++i) {
            QTest::qWait(20);
            timer.setInterval(60);
        }
        QCOMPARE(ticks.count(), 0);
        QTRY_COMPARE(ticks.count(), 1);
    }

    void ticksDoNotPileUpBehindABusyHandler()
    {
        RuntimeTimer timer;
        int ticks = 0;
        connect(&timer, &RuntimeTimer::tick, this, [&] {
            ++ticks;
            if (ticks == 1)
                QThread::msleep(100); // ten intervals fall due meanwhile
        });
        timer.setInterval(10);
        QTRY_VERIFY(ticks >= 1);
        QElapsedTimer clock;
        clock.start();
        QTest::qWait(15);
        // At most one tick was pending after the busy handler returned.
        QVERIFY2(ticks <= 3, qPrintable(QString::number(ticks)));
        timer.setInterval(0);
    }
};

QTEST_GUILESS_MAIN(RuntimeTimerTest)
#include "runtime_timer_test.moc"
