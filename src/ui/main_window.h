#pragma once

// The main window, "Form1": a multi-line mode (a box of many sentences, a
// count spinner and "表示") and a roulette mode (one large sentence and three
// buttons) sharing one fixed client area. Buttons only set timer intervals;
// the timers' ticks load the lists, compose and show. Any run-time error in a
// handler stops the timer that drove it, leaves the screen as it was and is
// reported once; the program goes on.

#include <QMainWindow>

#include <functional>
#include <memory>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;

namespace velt {

class MessageReporter;
class RandomSource;
class RuntimeError;
class RuntimeTimer;

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // Messages go to `reporter` (a message box when none is given); sentences
    // are drawn from `random` (the process's generator when none is given).
    explicit MainWindow(MessageReporter *reporter = nullptr, RandomSource *random = nullptr,
                        QWidget *parent = nullptr);
    ~MainWindow() override;

    // What "バージョン情報(&I)" does: the program's About window unless
    // replaced.
    void setAboutHandler(std::function<void()> handler) { m_showAbout = std::move(handler); }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void buildMenus();
    void placeControls();

    void timer1Tick();
    void vscroll1Change(int value);
    void command1Click();
    void timer2Tick();
    void veltsClick();
    void endClick();
    void mode1Click();
    void mode2Click();
    void command2Click();
    void command3Click();
    void command4Click();
    void timer3Tick();

    void stopTimers();
    // Runs one handler's work; a run-time error stops `drivingTimer` first
    // (the message box runs its own event loop) and is then reported.
    template <typename Work>
    void guarded(RuntimeTimer *drivingTimer, Work &&work);
    void report(const RuntimeError &error);

    std::unique_ptr<MessageReporter> m_ownReporter;
    MessageReporter *m_reporter;
    RandomSource &m_random;
    std::function<void()> m_showAbout;

    QPlainTextEdit *m_veltbox = nullptr;
    QPushButton *m_command1 = nullptr;
    QLabel *m_label1 = nullptr;
    QLineEdit *m_text2 = nullptr;
    QScrollBar *m_vscroll1 = nullptr;
    QLabel *m_label2 = nullptr;
    QPushButton *m_command2 = nullptr;
    QPushButton *m_command3 = nullptr;
    QPushButton *m_command4 = nullptr;
    RuntimeTimer *m_timer1 = nullptr;
    RuntimeTimer *m_timer2 = nullptr;
    RuntimeTimer *m_timer3 = nullptr;

    QMenu *m_file = nullptr;
    QAction *m_velts = nullptr;
    QAction *m_end = nullptr;
    QMenu *m_modex = nullptr;
    QAction *m_mode1 = nullptr;
    QAction *m_mode2 = nullptr;
    QAction *m_edit = nullptr;
    QAction *m_info = nullptr;
};

} // namespace velt
