# Sourced by the Windows scripts (scripts/windows.sh, scripts/windows/*.sh)
# from the repository's root: where things are, how messages read, how the
# programs are built and zipped.
#   VELT_QT_WINDOWS  the static Qt for Windows (scripts/qt-windows/cache.sh)
repo=$(pwd)
. scripts/qt-windows/cache.sh
qt=$qt_windows
out=$repo/build-windows
build=$out/build
jobs=$(nproc 2>/dev/null || echo 2)
export VELT_WINEPREFIX=$out/wine
wine_run=$repo/scripts/windows/wine-run.sh

# Every run below names its platform: the offscreen one for the tests, the
# system's own for the windows.
unset QT_QPA_PLATFORM

say() { printf 'windows: %s\n' "$*"; }
fail() { printf 'windows: FAILED: %s\n' "$*" >&2; exit 1; }
now() { date +%s.%N; }
ms_since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.0f", (b - a) * 1000 }'; }

require_qt() {
  qt_windows_complete "$qt" "$repo" ||
    fail "no Qt for Windows of this recipe in $qt; build it first: bash scripts/build-qt-windows.sh"
}

# build_windows [cmake --build arguments...]
build_windows() {
  require_qt
  bash scripts/deps.sh g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 ninja-build \
    qt6-base-dev-tools mingw-w64-x86-64-dev icoutils
  mkdir -p "$out"
  # Release: the zip's programs, and tests that link in a fraction of the
  # time debug information takes. The tests run through Wine, which shows
  # this machine's root folder as drive Z:.
  "$qt/bin/qt-cmake" -S . -B "$build" -G Ninja --no-warn-unused-cli -DCMAKE_BUILD_TYPE=Release \
    -DBUILD_TESTING=ON -DVELT_BENCH=ON \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$wine_run" -DVELT_TEST_HOST_PREFIX=Z: \
    -DVELT_TEST_FONT_DIR=Z:/usr/share/fonts/opentype/noto > "$out/configure.log" ||
    { cat "$out/configure.log"; fail "configure"; }
  nice cmake --build "$build" -j"$jobs" "$@"
}

# The project's version, as the Windows build was configured with it.
project_version() { sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt"; }

# make_zip: builds the zip of this version and copies it to dist/; sets
# zip_file to the copy.
make_zip() {
  build_windows --target velt velt-print windows_zip
  local version
  version=$(project_version)
  [ -f "$build/VELT-$version-windows-x64.zip" ] || fail "no zip for version $version"
  mkdir -p dist
  cp "$build/VELT-$version-windows-x64.zip" dist/
  zip_file=$repo/dist/VELT-$version-windows-x64.zip
  say "$(basename "$zip_file"): $(du -k "$zip_file" | cut -f1) KiB"
}
