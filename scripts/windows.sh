#!/usr/bin/env bash
# VELT for Windows: cross-built here with MinGW-w64 against the static Qt
# that scripts/build-qt-windows.sh makes from Debian's own qt6-base source,
# and tested under Wine.
#
#   bash scripts/windows.sh        builds dist/VELT-<version>-windows-x64.zip
#   bash scripts/windows.sh test   builds it and the Windows test suites and
#                                  runs everything under Wine (see README)
#
# Reads VELT_QT_WINDOWS (default ~/.cache/velt/qt-6.4.2-mingw-static). Builds
# in build-windows/; the Wine prefix is build-windows/wine. The test holds
# the Windows programs to the Linux ones built in build-windows/linux (or
# in VELT_LINUX_BUILD, a build folder configured with -DVELT_BENCH=ON).
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)
mode=${1:-zip}

qt=${VELT_QT_WINDOWS:-$HOME/.cache/velt/qt-6.4.2-mingw-static}
out=$repo/build-windows
build=$out/build
jobs=$(nproc 2>/dev/null || echo 2)
export VELT_WINEPREFIX=$out/wine
wine_run=$repo/scripts/wine-run.sh

# Every run below names its platform: the offscreen one for the tests, the
# system's own for the windows.
unset QT_QPA_PLATFORM

say() { printf 'windows: %s\n' "$*"; }
fail() { printf 'windows: FAILED: %s\n' "$*" >&2; exit 1; }
now() { date +%s.%N; }
ms_since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.0f", (b - a) * 1000 }'; }

# ------------------------------------------------------- window session
# Runs inside xvfb-run (started by the test below): drives velt and
# velt.exe the same way from the keyboard, times their start and a
# 2000-line batch, and photographs each.
#   gui-session <out> <velt.exe's folder> <velt> <window_timing> <window_timing.exe>
saves_until() { # lines: saves (Alt+F, S) until velt.txt holds that many lines
  local want=$1 i
  for ((i = 0; i < 120; i++)); do
    xdotool key --delay 150 Escape alt+f s
    sleep 0.5
    if [ -f velt.txt ] && [ "$(grep -c $'\r$' velt.txt)" -eq "$want" ]; then return 0; fi
  done
  return 1
}

# xdotool's own --sync looks twice a second; this looks every 20 ms, so that
# the time to the window is measured to about that.
window_id() {
  local i wid
  for ((i = 0; i < 6000; i++)); do
    wid=$(xdotool search --onlyvisible --name '^VELT for Windows$' 2> /dev/null | head -1) || true
    if [ -n "$wid" ]; then echo "$wid"; return 0; fi
    sleep 0.02
  done
  return 1
}

drive() { # side folder command...: one full run, keyboard only
  local side=$1 dir=$2 pid wid start
  shift 2
  cd "$dir"
  rm -f velt.txt
  start=$(now)
  "$@" > "$gui/$side/program.log" 2>&1 &
  pid=$!
  wid=$(window_id) || { echo "$side: no window titled 'VELT for Windows'"; return 1; }
  startups+=("$(ms_since "$start")")
  xdotool windowfocus --sync "$wid"
  # The start-up placeholder, saved: the window is up and takes keys.
  saves_until 1 || { echo "$side: no velt.txt from the keyboard"; import -window root "$gui/$side/shot.png"; return 1; }
  # From the box, where the focus starts, Tab to 表示 and press it.
  xdotool key --delay 150 Tab space
  saves_until 21 || { echo "$side: no 20-line velt.txt"; import -window root "$gui/$side/shot.png"; return 1; }
  cp velt.txt "$gui/$side/velt-20.txt"
  # On to the count's spinner, End for 2000, back to 表示.
  xdotool key --delay 150 Tab Tab End shift+Tab shift+Tab space
  saves_until 2001 || { echo "$side: no 2000-line velt.txt"; import -window root "$gui/$side/shot.png"; return 1; }
  cp velt.txt "$gui/$side/velt-2000.txt"
  import -window root "$gui/$side/shot.png"
  quit_window "$pid"
}

start_only() { # side command...: from launch to the window, then quit
  local side=$1 pid wid start
  shift
  start=$(now)
  "$@" > /dev/null 2>&1 &
  pid=$!
  wid=$(window_id) || { echo "$side: no window"; return 1; }
  startups+=("$(ms_since "$start")")
  xdotool windowfocus --sync "$wid"
  quit_window "$pid"
}

quit_window() { # pid: ファイル → 終了 from the keyboard, then the process ends
  local try i
  # A window just shown may not take keys yet; Escape first closes a menu
  # that a lost key left open.
  for ((try = 0; try < 5; try++)); do
    xdotool key --delay 150 Escape Escape alt+f e
    for ((i = 0; i < 20; i++)); do
      kill -0 "$1" 2> /dev/null || { wait "$1" || true; return 0; }
      sleep 0.2
    done
  done
  echo "the window did not close from its menu"
  return 1
}

if [ "$mode" = gui-session ]; then
  gui=$2 app=$3 linux_velt=$4 linux_timing=$5 windows_timing=$6
  XDG_RUNTIME_DIR=$(mktemp -d)
  export XDG_RUNTIME_DIR
  for side in linux windows; do
    startups=()
    if [ "$side" = linux ]; then
      command=(env QT_QPA_PLATFORM=xcb "$linux_velt")
      drive linux "$gui/linux" "${command[@]}"
    else
      command=(env LC_ALL=ja_JP.UTF-8 "$wine_run" "$app/velt.exe")
      drive windows "$app" "${command[@]}"
    fi
    for run in 1 2 3 4; do start_only "$side" "${command[@]}"; done
    printf 'windows: %-7s launch to window: median %s ms (runs: %s)\n' "$side" \
      "$(printf '%s\n' "${startups[@]}" | sort -n | sed -n 3p)" "${startups[*]}"
  done
  echo "windows: window_timing, Linux (xcb):"
  QT_QPA_PLATFORM=xcb "$linux_timing" 10 | sed 's/^/  /'
  echo "windows: window_timing.exe, Windows under Wine:"
  # Wine lacks some of the DPI calls Qt tries first; Qt says so on every
  # window, which is kept out of the figures.
  LC_ALL=ja_JP.UTF-8 "$wine_run" "$windows_timing" 10 2> "$gui/windows/timing.log" | tr -d '\r' | sed 's/^/  /'
  exit 0
fi

if [ ! -f "$qt/.velt-qt-complete" ]; then
  echo "windows: no Qt for Windows in $qt; build it first: bash scripts/build-qt-windows.sh" >&2
  exit 1
fi

# ------------------------------------------------------------------ build
build_windows() {
  bash scripts/deps.sh g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 ninja-build \
    qt6-base-dev-tools mingw-w64-x86-64-dev
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

make_zip() {
  build_windows --target velt velt-print windows_zip
  zip_file=$(ls "$build"/VELT-*-windows-x64.zip)
  mkdir -p dist
  cp "$zip_file" dist/
  zip_file=$repo/dist/$(basename "$zip_file")
  say "$(basename "$zip_file"): $(du -k "$zip_file" | cut -f1) KiB"
}

if [ "$mode" = zip ]; then
  mkdir -p "$out"
  make_zip
  exit 0
fi
[ "$mode" = test ] || { echo "usage: bash scripts/windows.sh [test]" >&2; exit 2; }

# ------------------------------------------------------------------- test
# Wine runs the programs; a virtual display, xdotool and ImageMagick's
# import drive and photograph the window.
# Wine runs as on a Japanese Windows (LC_ALL=ja_JP.UTF-8 makes code page
# 932 the system's); it needs that locale compiled to name files in it,
# which glibc's localedef does into the build folder (scripts/wine-run.sh
# points LOCPATH there).
bash scripts/deps.sh wine wine64 xvfb xauth xdotool imagemagick locales
mkdir -p "$out"
make_zip
build_windows
if [ ! -f "$out/locale/ja_JP.UTF-8/LC_CTYPE" ]; then
  mkdir -p "$out/locale"
  localedef -i ja_JP -f UTF-8 "$out/locale/ja_JP.UTF-8" || [ -f "$out/locale/ja_JP.UTF-8/LC_CTYPE" ] ||
    fail "localedef ja_JP.UTF-8"
fi

say "Wine prefix $VELT_WINEPREFIX"
if [ ! -f "$VELT_WINEPREFIX/system.reg" ]; then
  start=$(now)
  "$wine_run" wineboot --init < /dev/null > "$out/wineboot.log" 2>&1 || { cat "$out/wineboot.log"; fail "wineboot"; }
  say "prefix made in $(ms_since "$start") ms"
fi
# One Wine server and one set of Wine's own services for the whole run, so
# that each program's start is the program's alone. The services are
# started here with nothing for their output: started by a test, they would
# hold its output open and CTest would wait for them.
export WINEPREFIX=$VELT_WINEPREFIX
wineserver -k 2> /dev/null || true # one left over from an earlier run
wineserver -w
wineserver -p 60
trap 'wineserver -k 2> /dev/null || true' EXIT
"$wine_run" wineboot < /dev/null > /dev/null 2>&1

say "unit tests under Wine"
ctest --test-dir "$build" --output-on-failure -j"$jobs"

# The Linux programs the Windows ones are held to.
linux=$(realpath -m "${VELT_LINUX_BUILD:-$out/linux}")
if [ ! -f "$linux/CMakeCache.txt" ]; then
  bash scripts/deps.sh libbenchmark-dev
  cmake -S . -B "$linux" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DVELT_BENCH=ON > "$out/linux-configure.log"
fi
nice cmake --build "$linux" -j"$jobs" --target velt velt-print window_timing
linux_velt=$linux/src/app/velt
linux_print=$linux/src/app/velt-print
linux_timing=$linux/bench/window_timing

# ---- the zip: what a user unpacks
say "the zip"
unpacked=$out/unpacked
rm -rf "$unpacked"
mkdir -p "$unpacked"
(cd "$unpacked" && cmake -E tar xf "$zip_file")
app=$(ls -d "$unpacked"/VELT-*-windows-x64)
for f in velt.exe velt-print.exe itu.dat dare1.dat dare2.dat doko.dat nani.dat \
         はじめにお読みください.txt LICENSE.txt Qt-copyright.txt MinGW-w64-copyright.txt; do
  [ -f "$app/$f" ] || fail "the zip lacks $f"
done
# Self-contained: every DLL imported is one of Windows's own, which Wine's
# system folder mirrors (API sets, api-ms-win-*, are the loader's own).
system32=$VELT_WINEPREFIX/drive_c/windows/system32
for exe in velt.exe velt-print.exe; do
  for dll in $(x86_64-w64-mingw32-objdump -p "$app/$exe" | awk '/DLL Name:/ { print tolower($3) }'); do
    case $dll in api-ms-win-*) continue ;; esac
    [ -e "$system32/$dll" ] || fail "$exe needs $dll, which Windows does not have"
  done
done

# ---- velt-print.exe against velt-print, byte for byte
say "velt-print.exe against the Linux velt-print"
lists=$out/lists
rm -rf "$lists"
mkdir -p "$lists/sample" "$lists/full"
cp data/lists/*.dat "$lists/sample/"
# Five full lists, one per accepted encoding and form: code page 932 with CR
# LF, UTF-8 without and with a mark, UTF-16 with a mark, and code page 932
# with comma-separated and quoted entries; characters that differ between
# code page 932's readings (～ ∥ －), a trail byte 0x5C (表, ソ), half-width
# katakana and NEC specials.
full_list() { # name stem
  local i
  for ((i = 1; i <= 2000; i++)); do printf '%s%d\r\n' "$2" "$i"; done
}
full_list itu.dat "第～の表示、ｿﾌﾄ①の日" | iconv -f UTF-8 -t CP932 > "$lists/full/itu.dat"
full_list dare1.dat "ソフト係の山田∥" > "$lists/full/dare1.dat"
{ printf '\xEF\xBB\xBF'; full_list dare2.dat "－隣の𠮷田さん"; } > "$lists/full/dare2.dat"
{ printf '\xFF\xFE'; full_list doko.dat "駅前の屋台" | iconv -f UTF-8 -t UTF-16LE; } > "$lists/full/doko.dat"
for ((i = 1; i <= 2000; i += 2)); do
  printf '"宇宙人と握手,%d",  ﾃｽﾄした%d\r\n' "$i" "$((i + 1))"
done | iconv -f UTF-8 -t CP932 > "$lists/full/nani.dat"
for set in sample full; do
  for count in "" 1 2000; do
    (cd "$lists/$set" && "$linux_print" $count > linux.out)
    (cd "$lists/$set" && "$wine_run" "$app/velt-print.exe" $count > windows.out)
    cmp "$lists/$set/linux.out" "$lists/$set/windows.out" ||
      fail "velt-print.exe ${count:-(default)} differs on the $set lists"
  done
  say "  $set lists: same bytes for the default count, 1 and 2000 ($(wc -c < "$lists/$set/linux.out") bytes)"
done

# ---- the window, driven from the keyboard on a virtual display
say "velt.exe and velt on a virtual display"
gui=$out/gui
rm -rf "$gui"
mkdir -p "$gui/linux" "$gui/windows"
cp data/lists/*.dat "$gui/linux/"
# velt.exe runs from the unpacked folder with that folder as its working
# folder, as Explorer starts it on a double-click.
rm -f "$app/velt.txt"
start=$(now)
# -noreset: a server that resets when its last client leaves refuses the
# next program started at that moment.
xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
  bash scripts/windows.sh gui-session "$gui" "$app" "$linux_velt" "$linux_timing" "$build/bench/window_timing.exe" \
  > "$gui/session.log" 2>&1 || { cat "$gui/session.log"; fail "the window session"; }
cat "$gui/session.log"

# What the window saved after its first 表示 (count 20) is velt-print's 20
# sentences in code page 932, each line ending in CR LF, and one more CR LF.
(cd "$app" && "$linux_print" 20) | iconv -f UTF-8 -t CP932 | LC_ALL=C sed 's/$/\r/' > "$gui/expected-20.txt"
printf '\r\n' >> "$gui/expected-20.txt"
for side in linux windows; do
  cmp "$gui/expected-20.txt" "$gui/$side/velt-20.txt" || fail "$side: velt.txt after 20 differs from velt-print's"
done
cmp "$gui/linux/velt-2000.txt" "$gui/windows/velt-2000.txt" ||
  fail "velt.txt after the 2000-line batch differs between Linux and Windows"
say "  velt.txt: the same bytes from both, 20 lines as velt-print has them, then 2000"
say "  screenshots: $gui/windows/shot.png, $gui/linux/shot.png"
say "done in $(ms_since "$start") ms (window part)"
