#!/usr/bin/env bash
# The window session of the Windows tests, inside xvfb-run (started by
# scripts/windows/test.sh):
#   window-session.sh <out> <velt.exe's folder> <velt> <window_timing> <window_timing.exe> <start_like_explorer.exe>
# drives velt and velt.exe the same way from the keyboard, times their
# start and a 2000-line batch, and photographs each; shows velt.exe's
# --version with nowhere to print it; and photographs both windows of
# velt.exe at 125 % and 150 % display scale.
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/windows/common.sh
gui=$1 app=$2 linux_velt=$3 linux_timing=$4 windows_timing=$5 start_like_explorer=$6
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR

# xdotool's own --sync looks twice a second; this looks every 20 ms, so that
# the time to the window is measured to about that.
window_id() { # title
  local i wid
  for ((i = 0; i < 6000; i++)); do
    wid=$(xdotool search --onlyvisible --name "$1" 2> /dev/null | head -1) || true
    if [ -n "$wid" ]; then echo "$wid"; return 0; fi
    sleep 0.02
  done
  return 1
}

saves_until() { # folder lines: saves (Alt+F, S) until its velt.txt holds that many lines
  local i
  for ((i = 0; i < 120; i++)); do
    xdotool key --delay 150 Escape alt+f s
    sleep 0.5
    if [ -f "$1/velt.txt" ] && [ "$(grep -c $'\r$' "$1/velt.txt")" -eq "$2" ]; then return 0; fi
  done
  return 1
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

# drive side folder command...: one full run from the keyboard in that
# working folder; prints the milliseconds from launch to the window.
drive() {
  local side=$1 dir=$2 pid wid start shot=$gui/$1/shot.png
  shift 2
  rm -f "$dir/velt.txt"
  start=$(now)
  (cd "$dir" && exec "$@") > "$gui/$side/program.log" 2>&1 &
  pid=$!
  wid=$(window_id '^VELT for Windows$') || { echo "$side: no window titled 'VELT for Windows'" >&2; return 1; }
  ms_since "$start"
  xdotool windowfocus --sync "$wid"
  # The start-up placeholder, saved: the window is up and takes keys.
  saves_until "$dir" 1 || { echo "$side: no velt.txt from the keyboard" >&2; import -window root "$shot"; return 1; }
  # From the box, where the focus starts, Tab to 表示 and press it.
  xdotool key --delay 150 Tab space
  saves_until "$dir" 21 || { echo "$side: no 20-line velt.txt" >&2; import -window root "$shot"; return 1; }
  cp "$dir/velt.txt" "$gui/$side/velt-20.txt"
  # On to the count's spinner, End for 2000, back to 表示.
  xdotool key --delay 150 Tab Tab End shift+Tab shift+Tab space
  saves_until "$dir" 2001 || { echo "$side: no 2000-line velt.txt" >&2; import -window root "$shot"; return 1; }
  cp "$dir/velt.txt" "$gui/$side/velt-2000.txt"
  import -window root "$shot"
  quit_window "$pid" >&2
}

start_only() { # command...: from launch to the window, then quit; prints the milliseconds
  local pid wid start
  start=$(now)
  "$@" > /dev/null 2>&1 &
  pid=$!
  wid=$(window_id '^VELT for Windows$') || { echo "no window" >&2; return 1; }
  ms_since "$start"
  xdotool windowfocus --sync "$wid"
  quit_window "$pid" >&2
}

for side in linux windows; do
  if [ "$side" = linux ]; then
    command=(env QT_QPA_PLATFORM=xcb "$linux_velt")
    first=$(drive linux "$gui/linux" "${command[@]}") || exit 1
  else
    command=(env LC_ALL=ja_JP.UTF-8 "$wine_run" "$app/velt.exe")
    first=$(drive windows "$app" "${command[@]}") || exit 1
  fi
  startups=("$first")
  for run in 1 2 3 4; do
    next=$(cd "$app" && start_only "${command[@]}") || exit 1
    startups+=("$next")
  done
  printf 'windows: %-7s launch to window: median %s ms (runs: %s)\n' "$side" \
    "$(printf '%s\n' "${startups[@]}" | sort -n | sed -n 3p)" "${startups[*]}"
done
echo "windows: window_timing, Linux (xcb):"
QT_QPA_PLATFORM=xcb "$linux_timing" 10 | sed 's/^/  /'
echo "windows: window_timing.exe, Windows under Wine:"
# Wine lacks some of the DPI calls Qt tries first; Qt says so on every
# window, which is kept out of the figures.
LC_ALL=ja_JP.UTF-8 "$wine_run" "$windows_timing" 10 2> "$gui/windows/timing.log" | tr -d '\r' | sed 's/^/  /'

# --version started from Explorer or a shortcut: no console, nothing
# redirected, so the text comes in a message box; Enter closes it.
(cd "$app" && exec env LC_ALL=ja_JP.UTF-8 "$wine_run" "$start_like_explorer" 'velt.exe' --version) > /dev/null 2>&1 &
pid=$!
wid=$(window_id '^VELT for Windows$') || { echo "velt.exe --version showed no message box"; exit 1; }
import -window root "$gui/windows/version-box.png"
xdotool windowfocus --sync "$wid" key --delay 200 Return
wait "$pid" || { echo "velt.exe --version ended with status $?"; exit 1; }
echo "windows: velt.exe --version without a console: a message box (version-box.png), closed by Enter"

# Both windows at 125 % and 150 %: Windows scales them by the display's
# dots per inch, which Wine takes from LogPixels.
set_dpi() { "$wine_run" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f > /dev/null 2>&1; }
for dpi in 120 144; do
  mkdir -p "$gui/scale-$dpi"
  set_dpi "$dpi"
  (cd "$app" && exec env LC_ALL=ja_JP.UTF-8 "$wine_run" "$app/velt.exe") > "$gui/scale-$dpi/program.log" 2>&1 &
  pid=$!
  wid=$(window_id '^VELT for Windows$') || { echo "no window at $dpi dpi"; set_dpi 96; exit 1; }
  sleep 1
  xdotool windowfocus --sync "$wid"
  import -window root "$gui/scale-$dpi/main.png"
  main_size=$(xdotool getwindowgeometry "$wid" | sed -n 's/.*Geometry: //p')
  # バージョン情報 (Alt+I) opens the About window beside it.
  xdotool key --delay 200 Escape alt+i
  about=$(window_id 'のﾊﾞｰｼﾞｮﾝ情報$') || { echo "no About window at $dpi dpi"; set_dpi 96; exit 1; }
  sleep 1
  import -window root "$gui/scale-$dpi/about.png"
  about_size=$(xdotool getwindowgeometry "$about" | sed -n 's/.*Geometry: //p')
  xdotool windowfocus --sync "$about" key --delay 200 Escape
  xdotool windowfocus --sync "$wid"
  quit_window "$pid"
  echo "windows: at $dpi dpi the main window is $main_size, the About window $about_size (scale-$dpi/)"
done
set_dpi 96
