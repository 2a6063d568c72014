// The main window's ticks with five full lists, offscreen.

#include "bench_lists.h"

#include "os/memory_policy.h"
#include "runtime/random_source.h"
#include "runtime/runtime_timer.h"
#include "support/counting_reporter.h"
#include "engine/generation.h"
#include "ui/main_window.h"
#include "ui/object_names.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>

#include <benchmark/benchmark.h>

namespace names = velt::names;


namespace {

struct Window
{
    velt::bench::FullLists lists;
    velt::test::CountingReporter reporter;
    velt::RandomSource random;
    velt::MainWindow window{&reporter, &random};

    Window()
    {
        window.show();
        // Let the start-up placeholder arrive before anything is measured.
        auto *box = find<QPlainTextEdit>(names::kSentenceBox);
        while (box->toPlainText().isEmpty())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    template <typename T>
    T *find(const char *name) { return window.findChild<T *>(QLatin1StringView(name)); }
};

// From nothing to a shown main window with its start-up placeholder in the
// box: what the program does between its start and the first thing seen.
void BM_WindowStartUp(benchmark::State &state)
{
    velt::bench::FullLists lists;
    for (auto _ : state) {
        velt::test::CountingReporter reporter;
        velt::MainWindow window(&reporter);
        window.show();
        auto *box = window.findChild<QPlainTextEdit *>(QLatin1StringView(names::kSentenceBox));
        while (box->toPlainText().isEmpty())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
}
BENCHMARK(BM_WindowStartUp)->Unit(benchmark::kMillisecond);

void BM_BatchTick2000(benchmark::State &state)
{
    Window w;
    w.find<QScrollBar>(names::kCountSpinner)->setValue(2000);
    auto *timer2 = w.find<velt::RuntimeTimer>(names::kBatchTimer);
    for (auto _ : state) {
        emit timer2->tick();
        QCoreApplication::processEvents();
    }
    if (w.find<QPlainTextEdit>(names::kSentenceBox)->blockCount() != 2001 || !w.reporter.messages.isEmpty())
        state.SkipWithError("batch did not fill the box");
}
BENCHMARK(BM_BatchTick2000)->Unit(benchmark::kMillisecond);

// The same batch written back to the box once per line, as the original did.
void BM_BatchTick2000Quadratic(benchmark::State &state)
{
    Window w;
    auto *box = w.find<QPlainTextEdit>(names::kSentenceBox);
    for (auto _ : state) {
        box->setPlainText(QString());
        const QString batch = velt::composeBatch(QStringLiteral("2000"), w.random);
        for (QStringView line : QStringView(batch).split(u'\n', Qt::SkipEmptyParts))
            box->setPlainText(box->toPlainText() + line.toString() + u'\n');
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_BatchTick2000Quadratic)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RouletteStep(benchmark::State &state)
{
    Window w;
    w.find<QAction>(names::kRouletteModeAction)->trigger();
    auto *timer3 = w.find<velt::RuntimeTimer>(names::kRouletteTimer);
    for (auto _ : state) {
        emit timer3->tick();
        QCoreApplication::processEvents();
    }
    if (w.find<QLabel>(names::kRouletteLabel)->text().isEmpty())
        state.SkipWithError("no sentence shown");
}
BENCHMARK(BM_RouletteStep)->Unit(benchmark::kMicrosecond);

// How many sentences a second the spinning roulette really shows.
void BM_RouletteSpinRate(benchmark::State &state)
{
    Window w;
    w.find<QAction>(names::kRouletteModeAction)->trigger();
    auto *timer3 = w.find<velt::RuntimeTimer>(names::kRouletteTimer);
    int steps = 0;
    QObject::connect(timer3, &velt::RuntimeTimer::tick, &w.window, [&steps] { ++steps; });
    double seconds = 0;
    for (auto _ : state) {
        steps = 0;
        QElapsedTimer clock;
        clock.start();
        timer3->setInterval(10);
        while (clock.elapsed() < 2000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        timer3->setInterval(0);
        seconds = clock.elapsed() / 1000.0;
    }
    state.counters["steps_per_second"] = steps / seconds;
}
BENCHMARK(BM_RouletteSpinRate)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    velt::keepFreedMemoryForReuse();
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
