#!/usr/bin/env bash
# Compile check of the Windows backend from Linux, for machines without the
# static Qt for Windows (with it, scripts/windows.sh builds and runs
# everything).
#
# The files that call Windows and need no Qt (src/os/windows_api.cpp, the
# display check, the memory policy, the tests' stand-in program) are compiled
# with Debian's MinGW-w64 cross-compiler against the real Windows headers.
# The Qt half (src/os/system_information_win.cpp) holds no Windows headers,
# so it is checked with the host compiler against the host's Qt headers.
# Nothing is linked or run. Installs g++-mingw-w64-x86-64-posix if missing.
set -euo pipefail
cd "$(dirname "$0")/.."

cross=x86_64-w64-mingw32-g++-posix
bash scripts/deps.sh g++-mingw-w64-x86-64-posix

warnings=(-Wall -Wextra -Wpedantic -Werror)
windows_defines=(-DWIN32_LEAN_AND_MEAN -DNOMINMAX) # as CMake sets them for Windows
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

for f in src/os/windows_api.cpp src/os/display_check_win.cpp src/os/memory_policy_win.cpp \
         tests/os/recording_program_win.cpp; do
  echo "mingw-check: $f ($cross)"
  "$cross" -std=c++20 "${warnings[@]}" "${windows_defines[@]}" -Isrc -c "$f" -o "$out/$(basename "$f" .cpp).o"
done

qt_flags=$(pkg-config --cflags Qt6Core)
echo "mingw-check: src/os/system_information_win.cpp (host compiler, Qt headers)"
# shellcheck disable=SC2086  # the flags are a word list
"${CXX:-c++}" -std=c++20 "${warnings[@]}" -fPIC -fsyntax-only -Isrc $qt_flags \
  -DQT_NO_CAST_FROM_ASCII -DQT_NO_CAST_TO_ASCII src/os/system_information_win.cpp

echo "mingw-check: ok"
