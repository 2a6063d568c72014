#!/usr/bin/env bash
# VELT for Windows: cross-built here with MinGW-w64 against the static Qt
# that scripts/build-qt-windows.sh makes from Debian's own qt6-base source,
# and tested under Wine.
#
#   bash scripts/windows.sh        builds dist/VELT-<version>-windows-x64.zip
#   bash scripts/windows.sh test   builds it and runs the Windows tests under
#                                  Wine (scripts/windows/test.sh, see README)
#
# Reads VELT_QT_WINDOWS (see scripts/qt-windows/cache.sh). Builds in
# build-windows/; the test holds the Windows programs to the Linux ones
# built in VELT_LINUX_BUILD (a build folder configured with -DVELT_BENCH=ON;
# default build-windows/linux).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/windows/common.sh

case ${1:-zip} in
  zip) make_zip ;;
  test)
    make_zip
    exec bash scripts/windows/test.sh "$zip_file"
    ;;
  *)
    echo "usage: bash scripts/windows.sh [test]" >&2
    exit 2
    ;;
esac
