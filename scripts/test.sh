#!/usr/bin/env bash
# Installs what is missing, builds VELT and runs the whole test suite
# headless: once as released, once under AddressSanitizer and
# UndefinedBehaviorSanitizer (leaks included), then a short fuzzing run of
# the list reader; last, where the static Qt for Windows is there, the
# Windows build and its tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

# Google Benchmark, so the benchmarks keep compiling; the validators for the
# desktop files; a virtual display; Qt's private headers, through which a
# test switches accessibility on offscreen; groff for the manual pages'
# check; dpkg-dev and file for CPack to make the Debian package, lintian to
# hold it to Debian policy; Orca and the accessibility stack, a window
# manager and xdotool for the screen-reader test.
bash scripts/deps.sh libbenchmark-dev desktop-file-utils appstream xvfb xauth qt6-base-private-dev \
  groff-base dpkg-dev file lintian orca at-spi2-core dbus openbox xdotool
jobs=$(nproc 2>/dev/null || echo 2)
export QT_QPA_PLATFORM=offscreen

echo "== build and test"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON -DVELT_BENCH=ON -DVELT_TOOLS=ON
cmake --build build -j"$jobs"
# The soak (ctest -L soak) is for a quiet machine and a reader of its figures.
ctest --test-dir build --output-on-failure -j"$jobs" -LE soak

echo "== build and test with sanitizers"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON -DVELT_SANITIZE=ON -DVELT_BENCH=OFF
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs" -LE soak

echo "== fuzz the list reader for 60 seconds"
bash scripts/fuzz.sh 60

# Windows: the real build, its suites under Wine and the programs held to
# the Linux ones built above (scripts/windows.sh). It needs the static Qt
# for Windows, which takes a while to build once; .ci/run builds it first.
. scripts/qt-windows/cache.sh
if qt_windows_complete "$qt_windows" .; then
  echo "== Windows: cross-built, tested under Wine"
  windows_start=$(date +%s)
  VELT_LINUX_BUILD=build bash scripts/windows.sh test
  echo "== Windows section: $(( $(date +%s) - windows_start )) s"
else
  echo "== Windows: skipped (no Qt for Windows in $qt_windows); build it once with: bash scripts/build-qt-windows.sh"
fi
