#pragma once

// The About window and its system-information button.
//
// The main window asks AboutWindow::showInstance(). The one program-wide
// AboutInstance then loads a fresh AboutWindow (its controls are built and
// the load step fills in caption, version and title) or, when one is open
// already, brings that one forward. "OK", Enter and Esc unload the window:
// it is destroyed, and the next request loads it again. The window belongs
// to no other window, so it outlives a closed main window and keeps the
// program running until it is closed itself.
//
// The button "ｼｽﾃﾑ情報(&S)..." starts the system's system-information program
// through SystemInformation; every way of failing, an error inside
// included, ends in one message through the MessageReporter.

#include <QDialog>

class QLabel;
class QPushButton;

namespace velt {

class MessageReporter;
class SystemInformation;

class AboutWindow : public QDialog
{
    Q_OBJECT

public:
    // Loads the window: builds its controls and runs the load step. It is a
    // top-level window owned by no other, and it deletes itself when closed.
    AboutWindow(SystemInformation &system, MessageReporter &reporter);

    // Shows the program's About window with the platform's services and
    // message boxes: loads it on the first request and after each
    // unloading, and otherwise brings the open one forward.
    static void showInstance();

    // The system-information button: starts the program, or says it is
    // unavailable. The window stays open whatever happens.
    void startSystemInformation();

    // The one message for every failure of that.
    static QString unavailableMessage();

private:
    void buildControls();
    void load();

    SystemInformation &m_system;
    MessageReporter &m_reporter;
    QLabel *m_titleLabel = nullptr;
    QLabel *m_versionLabel = nullptr;
    QPushButton *m_okButton = nullptr;
};

} // namespace velt
