#!/usr/bin/env bash
# Compile check of the Windows system-information backend from Linux.
#
# The Windows API half (src/os/windows_api.cpp) is compiled with Debian's
# MinGW-w64 cross-compiler against the real Windows headers; it needs no Qt.
# The Qt half (src/os/system_information_win.cpp) holds no Windows headers,
# so it is checked with the host compiler against the host's Qt headers.
# Nothing is linked or run. Installs g++-mingw-w64-x86-64-posix if missing.
set -euo pipefail
cd "$(dirname "$0")/.."

cross=x86_64-w64-mingw32-g++-posix
bash scripts/deps.sh g++-mingw-w64-x86-64-posix

warnings=(-Wall -Wextra -Wpedantic -Werror)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

echo "mingw-check: src/os/windows_api.cpp ($cross)"
"$cross" -std=c++20 "${warnings[@]}" -Isrc -c src/os/windows_api.cpp -o "$out/windows_api.o"

qt_flags=$(pkg-config --cflags Qt6Core)
echo "mingw-check: src/os/system_information_win.cpp (host compiler, Qt headers)"
# shellcheck disable=SC2086  # the flags are a word list
"${CXX:-c++}" -std=c++20 "${warnings[@]}" -fPIC -fsyntax-only -Isrc $qt_flags \
  -DQT_NO_CAST_FROM_ASCII -DQT_NO_CAST_TO_ASCII src/os/system_information_win.cpp

echo "mingw-check: ok"
