#include "bench_lists.h"

#include "engine/phrase_list.h"
#include "engine/generation.h"
#include "text/cp932.h"
#include "os/memory_policy.h"
#include "runtime/random_source.h"

#include <QFile>

#include <benchmark/benchmark.h>

namespace {

using velt::bench::FullLists;

// The floor: read the same five files whole and decode them with the same
// codec, and nothing else.
// Kept out of line so that an instruction counter can be pointed at it.
[[gnu::noinline]] qsizetype readAndDecodeFloor(FullLists::Encoding encoding)
{
    qsizetype chars = 0;
    for (const char16_t *name : velt::kListFiles) {
        QFile file(QString::fromUtf16(name));
        file.open(QIODevice::ReadOnly);
        const QByteArray bytes = file.readAll();
        chars += encoding == FullLists::Encoding::Cp932 ? velt::cp932::decode(bytes)->size()
                                                        : QString::fromUtf8(bytes).size();
    }
    return chars;
}

void BM_ReadAndDecodeFloor(benchmark::State &state, FullLists::Encoding encoding)
{
    FullLists lists(encoding);
    for (auto _ : state)
        benchmark::DoNotOptimize(readAndDecodeFloor(encoding));
}
BENCHMARK_CAPTURE(BM_ReadAndDecodeFloor, cp932, FullLists::Encoding::Cp932)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ReadAndDecodeFloor, utf8, FullLists::Encoding::Utf8)->Unit(benchmark::kMicrosecond);

void BM_LoadPhraseBank(benchmark::State &state, FullLists::Encoding encoding)
{
    FullLists lists(encoding);
    for (auto _ : state) {
        velt::PhraseBank bank = velt::loadPhraseBank();
        benchmark::DoNotOptimize(bank);
    }
}
BENCHMARK_CAPTURE(BM_LoadPhraseBank, cp932, FullLists::Encoding::Cp932)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_LoadPhraseBank, utf8, FullLists::Encoding::Utf8)->Unit(benchmark::kMicrosecond);

void BM_Compose2000Sentences(benchmark::State &state)
{
    velt::bench::FullLists lists;
    const velt::PhraseBank bank = velt::loadPhraseBank();
    velt::RandomSource random;
    for (auto _ : state)
        benchmark::DoNotOptimize(velt::composeSentences(bank, 2000, random));
}
BENCHMARK(BM_Compose2000Sentences)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    // As the window program does at start-up; the floor runs under it too.
    velt::keepFreedMemoryForReuse();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
