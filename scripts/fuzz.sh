#!/usr/bin/env bash
# Fuzzes the list reader for the given number of seconds (default 60).
#
#   scripts/fuzz.sh [seconds]
#
# The fuzz build is a folder of its own, build-fuzz (override with
# VELT_FUZZ_BUILD), configured with clang and -DVELT_FUZZ=ON, because every
# library linked into the target is instrumented. The run starts from a copy
# of fuzz/corpus, so the committed seeds never change. Exits non-zero on a
# finding; the input that triggered it is left in <build>/artifacts/.
#
# Environment: VELT_FUZZ_JOBS (parallel fuzzing processes, default 1),
# VELT_FUZZ_BUILD_JOBS (compile jobs, default 2).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
build=${VELT_FUZZ_BUILD:-build-fuzz}
jobs=${VELT_FUZZ_JOBS:-1}
build_jobs=${VELT_FUZZ_BUILD_JOBS:-2}

# clang's fuzzer and sanitizer runtimes come in libclang-rt-dev, which clang
# only recommends.
bash scripts/deps.sh clang libclang-rt-dev

CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVELT_FUZZ=ON -DBUILD_TESTING=OFF -DVELT_BENCH=OFF
cmake --build "$build" -j"$build_jobs" --target velt_fuzz_list

corpus="$build/corpus"
artifacts="$build/artifacts"
rm -rf "$corpus"
mkdir -p "$corpus" "$artifacts"
cp fuzz/corpus/* "$corpus"/

# -max_len reaches past several 16 KiB decoding pieces, where the reader cuts
# and rejoins bytes; -rss_limit_mb and -timeout turn a runaway allocation
# or a hang into a finding instead of a stalled machine.
flags=(
  -max_total_time="$seconds"
  -max_len=140000
  -rss_limit_mb=1024
  -timeout=10
  -print_final_stats=1
  -artifact_prefix="$artifacts/"
)
if [ "$jobs" -gt 1 ]; then
  flags+=(-jobs="$jobs" -workers="$jobs")
fi

exec "$build/fuzz/velt_fuzz_list" "${flags[@]}" "$corpus"
