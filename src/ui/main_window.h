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
class QPlainTextEdit;
class QPushButton;

namespace velt {

class CountSpinner;
class MessageReporter;
class RandomSource;
class RuntimeError;
class RuntimeTimer;
class SentenceLabel;
class SpokenNotice;

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
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    void buildMenus();
    void placeControls();
    void fitToDevicePixels();

    // Each handler does its control's one job; the generating work runs on
    // the timers' ticks.
    void showPlaceholder();        // the first tick after start-up
    void showCount(int value);     // the spinner moved
    void requestBatch();           // "表示"
    void fillBatch();              // the batch timer's tick
    void save();                   // "「velt.txt」として保存"
    void quit();                   // "終了"
    void enterMultiLineMode();
    void enterRouletteMode();
    void startSpinning();          // "言霊ルーレット"
    void drawOneMore();            // "次の言霊"
    void stopSpinning();           // "止"
    void rouletteStep();           // the roulette timer's tick
    void stopQuietly();            // the roulette, announcing nothing
    void announceSentence();
    void setSentenceMoving(bool moving);
    qsizetype nameSentenceBox();   // by the lines it holds, which it returns
    void showAbout();              // "バージョン情報"

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

    QPlainTextEdit *m_sentenceBox = nullptr;
    QPushButton *m_showButton = nullptr;
    QLabel *m_countLabel = nullptr;
    QLineEdit *m_countBox = nullptr;
    CountSpinner *m_countSpinner = nullptr;
    SentenceLabel *m_rouletteLabel = nullptr;
    SpokenNotice *m_notice = nullptr; // what screen readers are told beside the focus
    QPushButton *m_spinButton = nullptr;
    QPushButton *m_nextButton = nullptr;
    QPushButton *m_stopButton = nullptr;
    RuntimeTimer *m_placeholderTimer = nullptr;
    RuntimeTimer *m_batchTimer = nullptr;
    RuntimeTimer *m_rouletteTimer = nullptr;
    bool m_stopAfterNextStep = false; // "次の言霊": one step, then still

    QAction *m_saveAction = nullptr; // offered in multi-line mode only
};

} // namespace velt
