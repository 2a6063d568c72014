#include "ui/main_window.h"

#include "ui/app_title.h"
#include "ui/message_box_reporter.h"
#include "runtime/random_source.h"
#include "runtime/runtime_error.h"
#include "runtime/runtime_timer.h"
#include "runtime/line_file.h"
#include "ui/about_window.h"
#include "engine/generation.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

namespace velt {
namespace {

const QString kSaveFile = QStringLiteral("velt.txt");
constexpr int kPlaceholderDelay = 1;
constexpr int kBatchDelay = 10;
constexpr int kSpin = 10;
constexpr int kOneMore = 20;

} // namespace

MainWindow::MainWindow(MessageReporter *reporter, RandomSource *random, QWidget *parent)
    : QMainWindow(parent)
    , m_ownReporter(reporter ? nullptr : std::make_unique<MessageBoxReporter>())
    , m_reporter(reporter ? reporter : m_ownReporter.get())
    , m_random(random ? *random : RandomSource::process())
    , m_showAbout(&AboutWindow::showInstance)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf16(kAppTitle));
    setWindowIcon(QIcon(QStringLiteral(":/icons/velt-32.png")));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    buildControls();
    buildMenus();

    connect(m_timer1, &RuntimeTimer::tick, this, &MainWindow::timer1Tick);
    connect(m_timer2, &RuntimeTimer::tick, this, &MainWindow::timer2Tick);
    connect(m_timer3, &RuntimeTimer::tick, this, &MainWindow::timer3Tick);
    connect(m_vscroll1, &QScrollBar::valueChanged, this, &MainWindow::vscroll1Change);
    connect(m_command1, &QPushButton::clicked, this, &MainWindow::command1Click);
    connect(m_command2, &QPushButton::clicked, this, &MainWindow::command2Click);
    connect(m_command3, &QPushButton::clicked, this, &MainWindow::command3Click);
    connect(m_command4, &QPushButton::clicked, this, &MainWindow::command4Click);
    connect(m_velts, &QAction::triggered, this, &MainWindow::veltsClick);
    connect(m_end, &QAction::triggered, this, &MainWindow::endClick);
    connect(m_mode1, &QAction::triggered, this, &MainWindow::mode1Click);
    connect(m_mode2, &QAction::triggered, this, &MainWindow::mode2Click);
    connect(m_info, &QAction::triggered, this, [this] {
        if (m_showAbout)
            m_showAbout();
    });

    m_timer1->setInterval(kPlaceholderDelay);
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
    m_reporter->report(formatRuntimeError(error));
}

void MainWindow::stopTimers()
{
    for (RuntimeTimer *timer : {m_timer1, m_timer2, m_timer3})
        timer->setInterval(0);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Closing unloads the window's timers too: a hidden roulette must not go
    // on reading files.
    stopTimers();
    event->accept();
}

void MainWindow::timer1Tick()
{
    m_veltbox->setPlainText(QStringLiteral("もぬ"));
    m_timer1->setInterval(0);
}

void MainWindow::vscroll1Change(int value)
{
    m_text2->setText(QString::number(value));
}

void MainWindow::command1Click()
{
    m_timer2->setInterval(kBatchDelay);
}

void MainWindow::timer2Tick()
{
    guarded(m_timer2, [this] {
        // Composed in full before the box is touched: a failure keeps the
        // previous lines, and the box is written once, not once per line.
        const QString batch = compose_batch(m_text2->text(), m_random);
        m_veltbox->setPlainText(batch);
        m_timer2->setInterval(0);
    });
}

void MainWindow::veltsClick()
{
    guarded(nullptr, [this] { write_text_line_file(kSaveFile, m_veltbox->toPlainText()); });
}

void MainWindow::endClick()
{
    stopTimers();
    // Closed, not merely hidden: the About window unloads (is destroyed)
    // like any other closing.
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

void MainWindow::mode1Click()
{
    m_command1->show();
    m_veltbox->show();
    m_vscroll1->show();
    m_text2->show();
    m_label1->show();
    m_command2->hide();
    m_command3->hide();
    m_command4->hide();
    m_timer3->setInterval(0);
    m_velts->setEnabled(true);
}

void MainWindow::mode2Click()
{
    m_command1->hide();
    m_veltbox->hide();
    m_vscroll1->hide();
    m_text2->hide();
    m_label1->hide();
    m_command2->show();
    m_command3->show();
    m_command4->show();
    m_velts->setEnabled(false);
}

void MainWindow::command2Click()
{
    m_timer3->setInterval(kSpin);
}

void MainWindow::command3Click()
{
    m_timer3->setInterval(kOneMore);
}

void MainWindow::command4Click()
{
    m_timer3->setInterval(0);
}

void MainWindow::timer3Tick()
{
    guarded(m_timer3, [this] {
        const QString sentence = compose_roulette_step(m_random);
        m_veltbox->clear();
        m_label2->setText(sentence);
        if (m_timer3->interval() == kOneMore)
            m_timer3->setInterval(0);
    });
}

} // namespace velt
