#include "ui/about_instance.h"
#include "ui/about_window.h"
#include "fake_system_information.h"
#include "support/counting_reporter.h"
#include "ui/object_names.h"

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace names = velt::names;

// How the About window and the program end, driven through the real event
// loop: the process runs while any window is open, and the About window is
// one of them in its own right.

using velt::AboutInstance;
using velt::AboutWindow;
using velt::test::FakeSystemInformation;
using velt::test::CountingReporter;

namespace {

// Runs the application's event loop until it quits by itself; a loop still
// running after a few seconds is stopped and reported.
bool runUntilQuit()
{
    bool stoppedByWatchdog = false;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, qApp, [&] {
        stoppedByWatchdog = true;
        QApplication::exit(1);
    });
    watchdog.start(5000);
    QApplication::exec();
    return !stoppedByWatchdog;
}

// A widget standing in for the main window, and the About window, both
// shown.
struct BothWindowsShown
{
    FakeSystemInformation system;
    CountingReporter reporter;
    AboutInstance about{system, reporter};
    QWidget mainWindow;

    BothWindowsShown()
    {
        mainWindow.show();
        about.show();
    }
};

} // namespace

class AboutWindowLifetimeTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(QApplication::quitOnLastWindowClosed());
    }

    void closingTheMainWindowLeavesTheAboutWindowRunning()
    {
        BothWindowsShown shown;
        QWidget &mainWindow = shown.mainWindow;
        QPointer<AboutWindow> window = shown.about.window();
        QVERIFY(window);

        bool openAfterMainClosed = false;
        QTimer::singleShot(0, &mainWindow, [&] { mainWindow.close(); });
        QTimer::singleShot(200, window, [&] {
            openAfterMainClosed = window->isVisible();
            window->findChild<QPushButton *>(QLatin1StringView(names::kOkButton))->click();
        });

        QVERIFY2(runUntilQuit(), "closing the About window last did not end the program");
        QVERIFY2(openAfterMainClosed, "the program ended with the main window");
        QVERIFY(!shown.about.window());
    }

    void closingTheAboutWindowFirstKeepsTheMainWindowRunning()
    {
        BothWindowsShown shown;
        QWidget &mainWindow = shown.mainWindow;
        QPointer<AboutWindow> window = shown.about.window();
        QVERIFY(window);

        bool mainOpenAfterAboutClosed = false;
        QTimer::singleShot(0, window, [&] { window->close(); });
        QTimer::singleShot(200, &mainWindow, [&] {
            mainOpenAfterAboutClosed = mainWindow.isVisible();
            mainWindow.close();
        });

        QVERIFY(runUntilQuit());
        QVERIFY(mainOpenAfterAboutClosed);
    }

    // "終了(&E)" ends the application with the About window open, by quit()
    // (which first closes every window) or by exit() (which does not): the
    // window goes with it either way.
    void endingTheApplicationDestroysTheOpenAboutWindow_data()
    {
        QTest::addColumn<bool>("viaQuit");
        QTest::newRow("quit") << true;
        QTest::newRow("exit") << false;
    }

    void endingTheApplicationDestroysTheOpenAboutWindow()
    {
        QFETCH(bool, viaQuit);
        BothWindowsShown shown;
        QWidget &mainWindow = shown.mainWindow;
        QPointer<AboutWindow> window = shown.about.window();
        QVERIFY(window);

        QTimer::singleShot(0, &mainWindow, [viaQuit] {
            if (viaQuit)
                QApplication::quit();
            else
                QApplication::exit(0);
        });
        QVERIFY(runUntilQuit());
        QVERIFY(window.isNull());
    }
};

QTEST_MAIN(AboutWindowLifetimeTest)
#include "about_window_lifetime_test.moc"

