// velt: the window program. It takes no arguments and keeps no settings; it
// reads its lists from, and saves into, the working folder.

#include "os/display_check.h"
#include "os/memory_policy.h"
#include "ui/application.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QScreen>

#include <cstdio>
#include <string>

int main(int argc, char *argv[])
{
    if (const std::string problem = velt::missingDisplay(); !problem.empty()) {
        std::fputs(problem.c_str(), stderr);
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
