// velt: the window program. It takes no arguments and keeps no settings; it
// reads its lists from, and saves into, the working folder.

#include "os/memory_policy.h"
#include "ui/application.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QScreen>

#include <cstdio>
#include <cstdlib>

namespace {

// Without this check Qt aborts with a toolkit message when no display is
// reachable; a user deserves one plain line.
bool displayReachable()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    if (std::getenv("QT_QPA_PLATFORM"))
        return true;
    const char *x11 = std::getenv("DISPLAY");
    const char *wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
#else
    return true;
#endif
}

} // namespace

int main(int argc, char *argv[])
{
    if (!displayReachable()) {
        std::fputs("velt: no display found (DISPLAY is not set); to run without one, use: xvfb-run velt\n", stderr);
        return 1;
    }
    velt::keepFreedMemoryForReuse();
    QApplication app(argc, argv);
    velt::setUpApplication();

    auto *window = new velt::MainWindow;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->adjustSize();
    const QRect screen = window->screen()->availableGeometry();
    window->move(screen.center() - window->rect().center());
    window->show();
    return app.exec();
}
