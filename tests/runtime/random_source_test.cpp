#include "runtime/random_source.h"

#include <QTest>

#include <cmath>

using velt::RandomSource;

class RandomSourceTest : public QObject
{
    Q_OBJECT

private slots:
    void firstValuesMatchTheRuntime()
    {
        RandomSource random;
        const float expected[] = {0.7055475f, 0.533424f, 0.5795186f, 0.2895625f, 0.301948f};
        for (float want : expected) {
            const float got = random.next();
            QVERIFY2(std::fabs(got - want) < 5e-7f, qPrintable(QString::number(got, 'g', 9)));
        }
    }

    void valuesStayInUnitIntervalOverAFullPeriod()
    {
        // The 24-bit sequence has full period; every value must lie in [0, 1)
        // and be an exact multiple of 2^-24.
        RandomSource random;
        const float first = random.next();
        int period = 1;
        float value = 0;
        for (; period <= (1 << 24); ++period) {
            value = random.next();
            QVERIFY(value >= 0.0f && value < 1.0f);
            if (value == first)
                break;
        }
        QCOMPARE(period, 1 << 24);
        QCOMPARE(std::ldexp(value, 24), std::floor(std::ldexp(value, 24)));
    }

    void freshSourcesRepeatEachOther()
    {
        RandomSource a;
        RandomSource b;
        for (int i = 0; i < 1000; ++i)
            QCOMPARE(a.next(), b.next());
    }

    // Every draw of the program goes through the one process-wide
    // generator: two uses of it continue one sequence from the fixed start.
    void processSourceIsOneSequence()
    {
        QVERIFY(std::fabs(RandomSource::process().next() - 0.7055475f) < 5e-7f);
        QVERIFY(std::fabs(RandomSource::process().next() - 0.533424f) < 5e-7f);
    }
};

QTEST_GUILESS_MAIN(RandomSourceTest)
#include "random_source_test.moc"
