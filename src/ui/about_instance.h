#pragma once

#include <QObject>
#include <QPointer>

namespace velt {

class AboutWindow;
class MessageReporter;
class SystemInformation;

// The program-wide reference to the About window. It outlives every loading
// of the window: show() loads a window when none is open and otherwise only
// brings the open one forward, so a second request never opens a second
// window nor reruns the load step.
class AboutInstance : public QObject
{
    Q_OBJECT

public:
    AboutInstance(SystemInformation &system, MessageReporter &reporter);
    ~AboutInstance() override;

    void show();

    // The loaded window, or nullptr while unloaded.
    AboutWindow *window() const;

    // The instance AboutWindow::showInstance() uses: the platform's
    // services, real message boxes. Created on first use, kept for the run.
    static AboutInstance &program();

private:
    SystemInformation &m_system;
    MessageReporter &m_reporter;
    QPointer<AboutWindow> m_window;
};

} // namespace velt
