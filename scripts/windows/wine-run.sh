#!/bin/sh
# Runs a Windows program under Wine in VELT's own Wine prefix: the emulator
# CTest runs the Windows build's tests through (CMAKE_CROSSCOMPILING_EMULATOR)
# and what the Windows scripts start programs with.
#
# Reads VELT_WINEPREFIX (default: build-windows/wine in this checkout). Wine's
# own chatter and its offers to install Mono and Gecko are turned off. Where
# build-windows/locale holds compiled locales (scripts/windows/test.sh makes
# ja_JP.UTF-8 there), glibc finds them through LOCPATH: Wine takes the
# Windows code page from LC_ALL and needs that locale to name files in it.
# (A POSIX shell, not bash: the tests' LC_ALL names a locale this machine
# need not have, which Wine reads but bash would warn about.)
set -eu
repo=$(cd "$(dirname "$0")/../.." && pwd)
export WINEPREFIX="${VELT_WINEPREFIX:-$repo/build-windows/wine}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
# Qt Test and Qt's messages go to standard output and error, the terminal's
# under Wine, rather than to the debugger's channel: there is no Windows
# console for Qt to find.
locales="${VELT_LOCPATH:-$repo/build-windows/locale}"
if [ -d "$locales" ]; then
  export LOCPATH="$locales"
fi
export QT_FORCE_STDERR_LOGGING=1
# Wine keeps the host's QT_* variables from Windows programs (they are meant
# for the host's Qt) and hands on WINEQT_* as QT_* instead.
for name in $(env | sed -n 's/^\(QT_[A-Za-z0-9_]*\)=.*/\1/p'); do
  eval "export WINE$name=\"\$$name\""
done
exec wine "$@"
