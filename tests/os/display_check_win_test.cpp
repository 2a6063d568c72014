// Whether velt may open its window on Windows: the process's window station
// is the one a screen shows, or one of a service's own.

#include "os/display_check.h"

#include <QTest>

#include <windows.h>

class DisplayCheckTest : public QObject
{
    Q_OBJECT

private slots:
    void missingDisplay_data()
    {
        QTest::addColumn<bool>("ownStation");
        QTest::addColumn<QByteArray>("platform");
        QTest::addColumn<bool>("reachable");
        QTest::newRow("the signed-in session's window station") << false << QByteArray() << true;
        QTest::newRow("a window station of a service's own") << true << QByteArray() << false;
        QTest::newRow("platform chosen in such a station") << true << QByteArray("offscreen") << true;
    }

    void missingDisplay()
    {
        QFETCH(bool, ownStation);
        QFETCH(QByteArray, platform);
        QFETCH(bool, reachable);
        const bool platformWasSet = qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
        const QByteArray savedPlatform = qgetenv("QT_QPA_PLATFORM");
        if (platform.isEmpty())
            qunsetenv("QT_QPA_PLATFORM");
        else
            qputenv("QT_QPA_PLATFORM", platform);
        const HWINSTA interactive = GetProcessWindowStation();
        HWINSTA own = nullptr;
        if (ownStation) {
            own = CreateWindowStationW(nullptr, 0, WINSTA_ALL_ACCESS, nullptr);
            QVERIFY(own && SetProcessWindowStation(own));
        }
        const std::string problem = velt::missingDisplay();
        if (own) {
            SetProcessWindowStation(interactive);
            CloseWindowStation(own);
        }
        if (platformWasSet)
            qputenv("QT_QPA_PLATFORM", savedPlatform);
        else
            qunsetenv("QT_QPA_PLATFORM");
        QCOMPARE(problem.empty(), reachable);
        if (!reachable)
            QVERIFY(problem.back() == '\n');
    }
};

QTEST_GUILESS_MAIN(DisplayCheckTest)
#include "display_check_win_test.moc"
