#!/usr/bin/env bash
# The Windows build's tests, under Wine (run by scripts/windows.sh test):
#   bash scripts/windows/test.sh <the zip>
# builds the Windows test suites and runs them through CTest; unpacks the
# zip and checks what a user gets (the files, DLLs only Windows has, the
# programs' icon, version and manifest, --help and --version); holds
# velt-print.exe to the Linux velt-print byte for byte; and runs the window
# session on a virtual display (scripts/windows/window-session.sh).
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/windows/common.sh
zip_file=$(realpath "$1")

# Wine runs the programs; a virtual display, xdotool and ImageMagick's
# import drive and photograph the window; icoutils reads the resources.
# Wine runs as on a Japanese Windows (LC_ALL=ja_JP.UTF-8 makes code page
# 932 the system's); it needs that locale compiled to name files in it,
# which glibc's localedef does into the build folder (wine-run.sh points
# LOCPATH there).
bash scripts/deps.sh wine wine64 xvfb xauth xdotool imagemagick locales icoutils python3
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
ctest --test-dir "$build" --output-on-failure -j"$jobs" -LE soak

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

# ---- what Explorer shows of the programs: icon, name and version, manifest
say "the programs' resources"
version=$(project_version)
resources=$out/resources
rm -rf "$resources"
mkdir -p "$resources"
for exe in velt velt-print; do
  wrestool -x -t 14 "$app/$exe.exe" > "$resources/$exe.ico" || fail "$exe.exe has no icon group"
  sizes=$(icotool -l "$resources/$exe.ico" | sed -n 's/.*--width=\([0-9]*\).*/\1/p' | sort -n | xargs)
  [ "$sizes" = "16 24 32 48 256" ] || fail "$exe.exe's icons are $sizes pixels wide, not 16 24 32 48 256"
  # The 32 pixel image is the window's own icon, pixel for pixel.
  icotool -x -w 32 -o "$resources/$exe-32.png" "$resources/$exe.ico"
  differing=$(compare -metric AE "$resources/$exe-32.png" data/icons/velt-32.png null: 2>&1 || true)
  [ "$differing" = 0 ] || fail "$exe.exe's 32 pixel icon differs from data/icons/velt-32.png in $differing pixels"
  wrestool -x --raw -t 16 "$app/$exe.exe" > "$resources/$exe.version" || fail "$exe.exe has no version resource"
  python3 scripts/windows/version_strings.py "$resources/$exe.version" > "$resources/$exe.version.txt"
  for expected in "ProductName=VELT" "FileVersion=$version" "ProductVersion=$version" \
                  "OriginalFilename=$exe.exe" "LegalCopyright=.*GPL-3.0-or-later" "FileDescription=.*言霊"; do
    grep -qx "$expected.*" "$resources/$exe.version.txt" ||
      fail "$exe.exe's version resource lacks $expected: $(tr '\n' ' ' < "$resources/$exe.version.txt")"
  done
  wrestool -x --raw -t 24 "$app/$exe.exe" > "$resources/$exe.manifest" || fail "$exe.exe has no manifest"
  for expected in 'level="asInvoker"' '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}' '>PerMonitorV2<'; do
    grep -qF "$expected" "$resources/$exe.manifest" || fail "$exe.exe's manifest lacks $expected"
  done
done
say "  both: icons of 16, 24, 32, 48 and 256 pixels, version $version, run as invoker, per-monitor v2"

# ---- --help and --version of the window program, written to a file
for option in --version --help; do
  "$wine_run" "$app/velt.exe" $option > "$resources/velt$option.txt" 2> /dev/null || fail "velt.exe $option failed"
done
[ "$(cat "$resources/velt--version.txt")" = "velt $version" ] || fail "velt.exe --version printed $(cat "$resources/velt--version.txt")"
grep -q '^使い方: velt' "$resources/velt--help.txt" || fail "velt.exe --help printed no usage"
say "  velt.exe --help and --version reach a file"

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
full_list() { # stem
  local i
  for ((i = 1; i <= 2000; i++)); do printf '%s%d\r\n' "$1" "$i"; done
}
full_list "第～の表示、ｿﾌﾄ①の日" | iconv -f UTF-8 -t CP932 > "$lists/full/itu.dat"
full_list "ソフト係の山田∥" > "$lists/full/dare1.dat"
{ printf '\xEF\xBB\xBF'; full_list "－隣の𠮷田さん"; } > "$lists/full/dare2.dat"
{ printf '\xFF\xFE'; full_list "駅前の屋台" | iconv -f UTF-8 -t UTF-16LE; } > "$lists/full/doko.dat"
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
  bash scripts/windows/window-session.sh "$gui" "$app" "$linux_velt" "$linux_timing" "$build/window_timing.exe" \
    "$build/start_like_explorer.exe" \
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
say "  screenshots: $gui/windows/shot.png, $gui/linux/shot.png, $gui/scale-*/"
say "done in $(ms_since "$start") ms (window part)"
