#include "ui/main_window.h"

#include "engine/generation.h"
#include "text/line_file.h"
#include "runtime/random_source.h"
#include "runtime/runtime_error.h"
#include "runtime/runtime_timer.h"
#include "ui/about_window.h"
#include "ui/app_title.h"
#include "ui/count_spinner.h"
#include "ui/message_box_reporter.h"
#include "ui/object_names.h"
#include "ui/sentence_label.h"
#include "ui/spoken_notice.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWindow>

namespace velt {
namespace {

const QString kSaveFile = QStringLiteral("velt.txt");
constexpr int kPlaceholderDelay = 1;
constexpr int kBatchDelay = 10;
constexpr int kSpinStep = 10;
// "次の言霊" draws its one sentence a little later than a spinning step would.
constexpr int kOneMoreDelay = 20;

} // namespace

MainWindow::MainWindow(MessageReporter *reporter, RandomSource *random, QWidget *parent)
    : QMainWindow(parent)
    , m_ownReporter(reporter ? nullptr : std::make_unique<MessageBoxReporter>())
    , m_reporter(reporter ? reporter : m_ownReporter.get())
    , m_random(random ? *random : RandomSource::process())
    , m_showAbout(&AboutWindow::showInstance)
{
    setObjectName(QLatin1StringView(names::kMainWindow));
    setWindowTitle(QString::fromUtf16(kAppTitle));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    buildControls();
    buildMenus();
    fitToDevicePixels();

    connect(m_placeholderTimer, &RuntimeTimer::tick, this, &MainWindow::showPlaceholder);
    connect(m_batchTimer, &RuntimeTimer::tick, this, &MainWindow::fillBatch);
    connect(m_rouletteTimer, &RuntimeTimer::tick, this, &MainWindow::rouletteStep);
    connect(m_countSpinner, &QScrollBar::valueChanged, this, &MainWindow::showCount);
    connect(m_showButton, &QPushButton::clicked, this, &MainWindow::requestBatch);
    connect(m_spinButton, &QPushButton::clicked, this, &MainWindow::startSpinning);
    connect(m_nextButton, &QPushButton::clicked, this, &MainWindow::drawOneMore);
    connect(m_stopButton, &QPushButton::clicked, this, &MainWindow::stopSpinning);

    m_placeholderTimer->setInterval(kPlaceholderDelay);
}

MainWindow::~MainWindow() = default;

template <typename Work>
void MainWindow::guarded(RuntimeTimer *drivingTimer, Work &&work)
{
    try {
        work();
    } catch (const RuntimeError &error) {
        if (drivingTimer)
            drivingTimer->setInterval(0);
        report(error);
    }
}

void MainWindow::report(const RuntimeError &error)
{
    m_reporter->report(formatRuntimeError(error), this);
}

void MainWindow::stopTimers()
{
    for (RuntimeTimer *timer : {m_placeholderTimer, m_batchTimer, m_rouletteTimer})
        timer->setInterval(0);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Closing unloads the window's timers too: a hidden roulette must not go
    // on reading files.
    stopTimers();
    event->accept();
}

void MainWindow::showEvent(QShowEvent *event)
{
    fitToDevicePixels();
    // Moved to a screen of another scale: fitted again once the move is
    // done, not while the system is still placing the window.
    if (windowHandle())
        connect(windowHandle(), &QWindow::screenChanged, this, &MainWindow::fitToDevicePixels,
                Qt::ConnectionType(Qt::QueuedConnection | Qt::UniqueConnection));
    QMainWindow::showEvent(event);
}

void MainWindow::showPlaceholder()
{
    m_sentenceBox->setPlainText(QStringLiteral("もぬ"));
    m_placeholderTimer->setInterval(0);
}

void MainWindow::showCount(int value)
{
    m_countBox->setText(QString::number(value));
}

void MainWindow::requestBatch()
{
    m_batchTimer->setInterval(kBatchDelay);
}

void MainWindow::fillBatch()
{
    guarded(m_batchTimer, [this] {
        // Composed in full before the box is touched: a failure keeps the
        // previous lines, and the box is written once, not once per line.
        const QString batch = composeBatch(m_countBox->text(), m_random);
        m_sentenceBox->setPlainText(batch);
        m_batchTimer->setInterval(0);
        // A screen reader hears how many lines came, once, and the box's
        // name says what it holds.
        const qsizetype lines = nameSentenceBox();
        m_notice->say(QStringLiteral("言霊を %1 行表示しました").arg(lines));
    });
}

void MainWindow::save()
{
    guarded(nullptr, [this] { writeLineFile(kSaveFile, m_sentenceBox->toPlainText()); });
}

void MainWindow::showAbout()
{
    if (m_showAbout)
        m_showAbout();
}

void MainWindow::quit()
{
    stopTimers();
    // Closed, not merely hidden: the About window unloads (is destroyed)
    // like any other closing.
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

void MainWindow::enterMultiLineMode()
{
    m_showButton->show();
    m_sentenceBox->show();
    m_countSpinner->show();
    m_countBox->show();
    m_countLabel->show();
    m_spinButton->hide();
    m_nextButton->hide();
    m_stopButton->hide();
    stopQuietly();
    m_saveAction->setEnabled(true);
    // The keyboard goes with the controls: not left on one just hidden.
    m_sentenceBox->setFocus();
}

void MainWindow::enterRouletteMode()
{
    m_showButton->hide();
    m_sentenceBox->hide();
    m_countSpinner->hide();
    m_countBox->hide();
    m_countLabel->hide();
    m_spinButton->show();
    m_nextButton->show();
    m_stopButton->show();
    m_saveAction->setEnabled(false);
    m_spinButton->setFocus();
}

void MainWindow::startSpinning()
{
    m_stopAfterNextStep = false;
    setSentenceMoving(true);
    m_rouletteTimer->setInterval(kSpinStep);
}

void MainWindow::drawOneMore()
{
    m_stopAfterNextStep = true;
    setSentenceMoving(true);
    m_rouletteTimer->setInterval(kOneMoreDelay);
}

// While the roulette moves, the sentence is not offered for selection: a
// selectable label lays its text out through a text document on every
// change, a good part of a step's time. Its name says it moves rather than
// naming a sentence gone a moment later (and a label whose name follows its
// text would tell each of a hundred sentences a second). Once still, it is
// selectable and named by what it shows.
void MainWindow::setSentenceMoving(bool moving)
{
    if (moving)
        m_notice->withdraw();
    m_rouletteLabel->setTextInteractionFlags(moving ? Qt::NoTextInteraction : Qt::TextSelectableByMouse);
    // The flags bring a focus policy of their own; the label never takes the
    // keyboard focus.
    m_rouletteLabel->setFocusPolicy(Qt::NoFocus);
    const QString text = m_rouletteLabel->text();
    const QString name = moving ? QStringLiteral("言霊（回転中）") : text.isEmpty() ? QStringLiteral("言霊") : text;
    if (m_rouletteLabel->accessibleName() != name)
        m_rouletteLabel->setAccessibleName(name);
}

qsizetype MainWindow::nameSentenceBox()
{
    const qsizetype lines = m_sentenceBox->document()->isEmpty() ? 0 : m_sentenceBox->blockCount() - 1;
    const QString name = lines > 0 ? QStringLiteral("言霊の一覧（%1 行）").arg(lines) : QStringLiteral("言霊の一覧");
    if (m_sentenceBox->accessibleName() != name)
        m_sentenceBox->setAccessibleName(name);
    return lines;
}

void MainWindow::stopSpinning()
{
    const bool wasRunning = m_rouletteTimer->isRunning();
    stopQuietly();
    if (wasRunning)
        announceSentence();
}

void MainWindow::stopQuietly()
{
    setSentenceMoving(false);
    m_stopAfterNextStep = false;
    m_rouletteTimer->setInterval(0);
}

// Told once the sentence stays, never on the steps in between: a spinning
// roulette would say a hundred sentences a second.
void MainWindow::announceSentence()
{
    if (!m_rouletteLabel->text().isEmpty())
        m_notice->say(m_rouletteLabel->text());
}

void MainWindow::rouletteStep()
{
    guarded(m_rouletteTimer, [this] {
        const QString sentence = composeRouletteStep(m_random);
        // Emptied only when it holds something: clearing an empty box tells
        // screen readers of a deletion on every step.
        if (!m_sentenceBox->document()->isEmpty()) {
            m_sentenceBox->clear();
            nameSentenceBox();
        }
        m_rouletteLabel->setText(sentence);
        if (m_stopAfterNextStep) {
            stopQuietly();
            announceSentence();
        }
    });
}

} // namespace velt
