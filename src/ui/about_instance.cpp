#include "ui/about_instance.h"

#include "ui/message_box_reporter.h"
#include "os/system_information.h"
#include "ui/about_window.h"

#include <QCoreApplication>

namespace velt {

AboutInstance::AboutInstance(SystemInformation &system, MessageReporter &reporter)
    : m_system(system)
    , m_reporter(reporter)
{
    // "終了(&E)" ends the program with the About window still open; the
    // window goes while the application that owns its resources is alive.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { delete m_window; });
}

AboutInstance::~AboutInstance()
{
    delete m_window;
}

void AboutInstance::show()
{
    // A window that is closed or hidden but not yet deleted counts as
    // unloaded; it goes now rather than living on unreachable.
    if (m_window && m_window->isHidden())
        delete m_window;
    if (!m_window)
        m_window = new AboutWindow(m_system, m_reporter);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

AboutWindow *AboutInstance::window() const
{
    return m_window && !m_window->isHidden() ? m_window.data() : nullptr;
}

AboutInstance &AboutInstance::program()
{
    static MessageBoxReporter reporter;
    // Never deleted: it must not outlive the application object in a static
    // destructor, and it owns nothing once the application has quit.
    static AboutInstance *instance = new AboutInstance(SystemInformation::native(), reporter);
    return *instance;
}

} // namespace velt
