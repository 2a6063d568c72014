// Whether velt may open its window: the variables through which X11,
// Wayland and Qt's own platform choice are found.

#include "os/display_check.h"

#include <QTest>

#include <optional>

class DisplayCheckTest : public QObject
{
    Q_OBJECT

private slots:
    void missingDisplay_data()
    {
        QTest::addColumn<QByteArray>("display");
        QTest::addColumn<QByteArray>("wayland");
        QTest::addColumn<QByteArray>("platform");
        QTest::addColumn<bool>("reachable");
        // "-" leaves the variable unset.
        QTest::newRow("nothing set") << QByteArray("-") << QByteArray("-") << QByteArray("-") << false;
        QTest::newRow("DISPLAY empty") << QByteArray("") << QByteArray("-") << QByteArray("-") << false;
        QTest::newRow("X11") << QByteArray(":0") << QByteArray("-") << QByteArray("-") << true;
        QTest::newRow("Wayland only") << QByteArray("-") << QByteArray("wayland-0") << QByteArray("-") << true;
        QTest::newRow("platform chosen") << QByteArray("-") << QByteArray("-") << QByteArray("offscreen") << true;
    }

    void missingDisplay()
    {
        QFETCH(QByteArray, display);
        QFETCH(QByteArray, wayland);
        QFETCH(QByteArray, platform);
        QFETCH(bool, reachable);
        const char *names[] = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
        const QByteArray values[] = {display, wayland, platform};
        std::optional<QByteArray> saved[3];
        for (int i = 0; i < 3; ++i) {
            if (qEnvironmentVariableIsSet(names[i]))
                saved[i] = qgetenv(names[i]);
            if (values[i] == "-")
                qunsetenv(names[i]);
            else
                qputenv(names[i], values[i]);
        }
        const std::string problem = velt::missingDisplay();
        for (int i = 0; i < 3; ++i) {
            if (saved[i])
                qputenv(names[i], *saved[i]);
            else
                qunsetenv(names[i]);
        }
        QCOMPARE(problem.empty(), reachable);
        if (!reachable)
            QVERIFY(problem.find("xvfb-run") != std::string::npos && problem.back() == '\n');
    }
};

QTEST_GUILESS_MAIN(DisplayCheckTest)
#include "display_check_unix_test.moc"
