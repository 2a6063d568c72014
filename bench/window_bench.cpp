// The roulette with five full lists, offscreen: one step, and how many
// steps a second the spinning roulette shows. (The window's start-up and a
// 2000-line batch are window_timing's, which runs on Windows too.)

#include "bench_lists.h"
#include "bench_window.h"

#include "os/memory_policy.h"
#include "runtime/random_source.h"
#include "runtime/runtime_timer.h"
#include "support/counting_reporter.h"
#include "ui/main_window.h"
#include "ui/object_names.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>

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
        velt::bench::waitForPlaceholder(window);
    }
    template <typename T>
    T *find(const char *name) { return window.findChild<T *>(QLatin1StringView(name)); }
};

// One step of the spinning roulette: started as the user starts it, then
// stepped by hand rather than by its clock.
void BM_RouletteStep(benchmark::State &state)
{
    Window w;
    w.find<QAction>(names::kRouletteModeAction)->trigger();
    auto *timer3 = w.find<velt::RuntimeTimer>(names::kRouletteTimer);
    w.find<QPushButton>(names::kSpinButton)->click();
    timer3->setInterval(0);
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
