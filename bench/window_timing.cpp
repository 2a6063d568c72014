// The main window's start-up and a 2000-line batch, timed with Qt's own
// clock, so that the Windows build (which has no Google Benchmark, and runs
// under Wine here) is measured the same way as the Linux one; on whatever
// platform QT_QPA_PLATFORM names (the real one by default, unlike
// window_bench).
//   window_timing [runs]   (default 10): prints the median and the fastest

#include "bench_lists.h"
#include "bench_window.h"

#include "os/memory_policy.h"
#include "runtime/random_source.h"
#include "runtime/runtime_timer.h"
#include "support/counting_reporter.h"
#include "ui/main_window.h"
#include "ui/object_names.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QScrollBar>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace names = velt::names;


namespace {

void print(const char *what, std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    std::printf("%-28s median %8.2f ms   fastest %8.2f ms   (%zu runs)\n", what, ms[ms.size() / 2], ms.front(),
                ms.size());
}

} // namespace

int main(int argc, char **argv)
{
    velt::keepFreedMemoryForReuse();
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 10;
    velt::bench::FullLists lists;

    // From nothing to a shown main window with the start-up placeholder in
    // its box.
    std::vector<double> startUp;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        velt::test::CountingReporter reporter;
        velt::MainWindow window(&reporter);
        window.show();
        velt::bench::waitForPlaceholder(window);
        startUp.push_back(clock.nsecsElapsed() / 1e6);
    }

    // One batch tick of 2000 sentences from five full lists, painted.
    std::vector<double> batch;
    velt::test::CountingReporter reporter;
    velt::RandomSource random;
    velt::MainWindow window(&reporter, &random);
    window.show();
    velt::bench::waitForPlaceholder(window);
    window.findChild<QScrollBar *>(QLatin1StringView(names::kCountSpinner))->setValue(2000);
    auto *timer = window.findChild<velt::RuntimeTimer *>(QLatin1StringView(names::kBatchTimer));
    auto *box = window.findChild<QPlainTextEdit *>(QLatin1StringView(names::kSentenceBox));
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        emit timer->tick();
        QCoreApplication::processEvents();
        batch.push_back(clock.nsecsElapsed() / 1e6);
    }
    if (box->blockCount() != 2001 || !reporter.messages.isEmpty()) {
        std::fputs("window_timing: the batch did not fill the box\n", stderr);
        return 1;
    }
    print("start-up to the placeholder", startUp);
    print("2000-line batch tick", batch);
    return 0;
}
