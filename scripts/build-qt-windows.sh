#!/usr/bin/env bash
# Builds a static Qt 6.4.2 for 64-bit Windows (MinGW-w64) from Debian's own
# qt6-base source package, so that the Windows build of VELT uses the very Qt
# the Linux build gets from qt6-base-dev, cross-compiled on this machine.
#
# Installs into a cache folder outside the repository and does nothing when
# that cache is already complete and was built from the same recipe
# (configure options, patches, toolchain; scripts/qt-windows/cache.sh).
# Only what VELT uses is built: qtbase's Core, Gui, Widgets and Test, the
# windows, offscreen and minimal platform plugins and the Windows Vista
# style, optimized for size; no OpenGL, Direct2D, network, SQL, D-Bus, ICU,
# XML, printing, style sheets, or widgets VELT never shows.
#
# Takes 20 to 40 minutes on 2 cores, depending on what else runs (fetch and
# configure about a minute, the rest compiling), and a few GB of scratch
# space.
#
# Reads:
#   $1 or VELT_QT_WINDOWS  install prefix
#                          (default ~/.cache/velt/qt-6.4.2-mingw-static)
#   VELT_QT_WORK           scratch folder for the source and the build
#                          (default <prefix's folder>/work/<prefix's name>)
#   VELT_KEEP_QT_WORK=1    keep the scratch folder after a successful install
#   VELT_QT_JOBS           parallel build jobs (default: nproc)
#
# Configure a project against the result with <prefix>/bin/qt-cmake, which
# loads the MinGW toolchain file that was copied into the prefix.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
. "$repo/scripts/qt-windows/cache.sh"
qt_version=$qt_windows_version
prefix=$(realpath -m "${1:-$qt_windows}")
default_work=$(realpath -m "$(dirname "$prefix")/work/$(basename "$prefix")")
work=$(realpath -m "${VELT_QT_WORK:-$default_work}")
jobs=${VELT_QT_JOBS:-$(nproc)}
stamp=$prefix/$qt_windows_stamp_name
building=$prefix/.velt-qt-building

if qt_windows_complete "$prefix" "$repo"; then
  echo "build-qt-windows: Qt $qt_version for Windows already complete in $prefix"
  exit 0
fi

start=$(date +%s)

bash "$repo/scripts/deps.sh" g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix \
  binutils-mingw-w64-x86-64 ninja-build dpkg-dev xz-utils qt6-base-dev qt6-base-dev-tools

# The Windows Qt is built from the same Debian source as the host's
# qt6-base-dev: the host's moc, rcc and uic generate the code it compiles,
# and they must match it.
src_version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev)
case "$src_version" in
  "$qt_version"+*) ;;
  *) echo "build-qt-windows: qt6-base-dev is $src_version, not $qt_version" >&2; exit 1 ;;
esac

# A leftover of an interrupted run, or a cache of an older recipe, is ours
# to clear; anything else at the prefix is not.
if [ -e "$prefix" ] && [ ! -e "$building" ] && [ ! -e "$stamp" ] && [ -n "$(ls -A "$prefix")" ]; then
  echo "build-qt-windows: $prefix exists and is not a Qt this script started; remove it first" >&2
  exit 1
fi
rm -rf "$prefix"
mkdir -p "$prefix" "$work"
touch "$building"

# ---------------------------------------------------------------- source
# apt-get source needs deb-src entries. They are derived from the machine's
# own deb entries (same archives, suites, components and keys) and kept in a
# private apt configuration, so that neither the system's sources nor its
# package lists change and no archive address is written down here.
apt_dir=$work/apt
src_parent=$work/source
src=$src_parent/qt6-base-${src_version%-*}
if [ ! -f "$src/.velt-unpacked" ]; then
  rm -rf "$apt_dir" "$src_parent"
  mkdir -p "$apt_dir/sources.list.d" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$src_parent"

  shopt -s nullglob
  list_files=()
  [ -f /etc/apt/sources.list ] && list_files+=(/etc/apt/sources.list)
  list_files+=(/etc/apt/sources.list.d/*.list)
  deb822_files=(/etc/apt/sources.list.d/*.sources)
  shopt -u nullglob

  : > "$apt_dir/sources.list"
  for f in "${list_files[@]}"; do
    awk '$1 == "deb" { sub(/^[ \t]*deb[ \t]+/, "deb-src "); print }' "$f" >> "$apt_dir/sources.list"
  done
  # deb822: one stanza per paragraph; keep every line (an inline Signed-By
  # key spans several) and only turn the Types of a deb stanza into deb-src.
  for f in "${deb822_files[@]}"; do
    awk 'BEGIN { RS = ""; ORS = "" }
      { n = split($0, line, "\n"); out = ""; deb = 0; enabled = 1
        for (i = 1; i <= n; i++) {
          l = line[i]
          if (l ~ /^[Tt]ypes:/) { if (l ~ /[ \t]deb([ \t]|$)/) deb = 1; l = "Types: deb-src" }
          if (l ~ /^[Ee]nabled:[ \t]*[Nn]o/) enabled = 0
          out = out l "\n"
        }
        if (deb && enabled) print out "\n" }' "$f" > "$apt_dir/sources.list.d/$(basename "$f")"
  done

  apt_opts=(
    -o "Dir::Etc::SourceList=$apt_dir/sources.list"
    -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
    -o "Dir::State::Lists=$apt_dir/lists"
    -o "Dir::Cache=$apt_dir/cache"
  )
  # A third-party archive without source indices only costs a warning here;
  # whether Debian's qt6-base was found is what apt-get source tells.
  apt-get -q "${apt_opts[@]}" update || echo "build-qt-windows: apt-get update reported errors, trying anyway" >&2
  (cd "$src_parent" && apt-get -q "${apt_opts[@]}" source --only-source "qt6-base=$src_version")
  touch "$src/.velt-unpacked"
fi

# Our patches to Debian's source, each explained in its own file. A patch
# already applied (a source kept from an earlier run) is left as it is.
for p in "$repo"/scripts/qt-windows/*.patch; do
  if ! patch -d "$src" -p1 -R --dry-run -s -f < "$p" > /dev/null; then
    patch -d "$src" -p1 --forward < "$p"
  fi
done

# ----------------------------------------------------------------- build
# The toolchain file goes into the prefix: Qt's qt-cmake keeps loading it
# from the path it was configured with, which must outlive this checkout.
toolchain=$prefix/lib/cmake/velt/mingw-w64-x86_64.cmake
mkdir -p "$(dirname "$toolchain")"
cp "$repo/cmake/mingw-w64-x86_64.cmake" "$toolchain"

build=$work/build
# recipe begin
qt_options=(
  -DCMAKE_BUILD_TYPE=Release
  -DFEATURE_optimize_size=ON
  -DBUILD_SHARED_LIBS=OFF
  -DQT_BUILD_EXAMPLES=OFF
  -DQT_BUILD_TESTS=OFF
  -DQT_BUILD_BENCHMARKS=OFF
  # modules and platform parts VELT does not use
  -DFEATURE_sql=OFF
  -DFEATURE_network=OFF
  -DFEATURE_opengl=OFF
  -DFEATURE_dbus=OFF
  -DFEATURE_icu=OFF
  -DFEATURE_printsupport=OFF
  -DFEATURE_concurrent=OFF
  -DFEATURE_xml=OFF
  -DFEATURE_direct2d=OFF
  # 6.4.2 builds the DirectWrite font database only with Direct2D, but its
  # Windows plugin asks for it without; GDI is its default font engine.
  -DFEATURE_directwrite3=OFF
  -DFEATURE_systemtrayicon=OFF
  -DFEATURE_sessionmanager=OFF
  # image formats and documents: the icons are PNG, built in
  -DFEATURE_gif=OFF
  -DFEATURE_jpeg=OFF
  -DFEATURE_movie=OFF
  -DFEATURE_pdf=OFF
  -DFEATURE_textodfwriter=OFF
  -DFEATURE_textmarkdownreader=OFF
  -DFEATURE_textmarkdownwriter=OFF
  -DFEATURE_undocommand=OFF
  # widgets VELT never shows (its windows are labels, buttons, a plain text
  # box, a scroll bar, a menu bar and message boxes)
  -DFEATURE_style_stylesheet=OFF
  -DFEATURE_graphicsview=OFF
  -DFEATURE_graphicseffect=OFF
  -DFEATURE_mdiarea=OFF
  -DFEATURE_dockwidget=OFF
  -DFEATURE_toolbox=OFF
  -DFEATURE_calendarwidget=OFF
  -DFEATURE_datetimeedit=OFF
  -DFEATURE_keysequenceedit=OFF
  -DFEATURE_lcdnumber=OFF
  -DFEATURE_dial=OFF
  -DFEATURE_splashscreen=OFF
  -DFEATURE_commandlinkbutton=OFF
  -DFEATURE_fontcombobox=OFF
  -DFEATURE_textbrowser=OFF
  -DFEATURE_syntaxhighlighter=OFF
  -DFEATURE_treewidget=OFF
  -DFEATURE_listwidget=OFF
  -DFEATURE_tablewidget=OFF
  -DFEATURE_columnview=OFF
  -DFEATURE_datawidgetmapper=OFF
  -DFEATURE_undoview=OFF
  -DFEATURE_colordialog=OFF
  -DFEATURE_filedialog=OFF
  -DFEATURE_fontdialog=OFF
  -DFEATURE_inputdialog=OFF
  -DFEATURE_errormessage=OFF
  -DFEATURE_progressdialog=OFF
  -DFEATURE_wizard=OFF
  # tabletevent: Debian's source drops the wintab header it needs.
  # androiddeployqt: Debian's cross.patch lets it build whenever Qt is
  # cross-compiled, which would make an Android tool for Windows here.
  -DFEATURE_tabletevent=OFF
  -DFEATURE_androiddeployqt=OFF
)
# recipe end
nice -n 19 cmake -G Ninja -S "$src" -B "$build" \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DQT_HOST_PATH=/usr \
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_INSTALL_PREFIX="$prefix" \
  "${qt_options[@]}"

nice -n 19 cmake --build "$build" --parallel "$jobs"
nice -n 19 cmake --install "$build"

# ----------------------------------------------------------------- check
for f in "$prefix/bin/qt-cmake" \
         "$prefix/lib/libQt6Core.a" "$prefix/lib/libQt6Gui.a" "$prefix/lib/libQt6Widgets.a" \
         "$prefix/lib/libQt6Test.a" \
         "$prefix/plugins/platforms/libqwindows.a" \
         "$prefix/plugins/platforms/libqoffscreen.a" \
         "$prefix/plugins/platforms/libqminimal.a" \
         "$prefix/plugins/styles/libqwindowsvistastyle.a"; do
  [ -f "$f" ] || { echo "build-qt-windows: missing $f" >&2; exit 1; }
done
# qt-cmake must hand our cross toolchain to projects, not the host's.
qt_toolchain=$prefix/lib/cmake/Qt6/qt.toolchain.cmake
if ! grep -q 'qt.toolchain.cmake' "$prefix/bin/qt-cmake" ||
   ! grep -qF "__qt_initially_configured_toolchain_file \"$toolchain\"" "$qt_toolchain"; then
  echo "build-qt-windows: $prefix/bin/qt-cmake does not load $toolchain" >&2
  exit 1
fi

rm -f "$building"
{ echo "Qt $qt_version (Debian qt6-base $src_version), static, x86_64-w64-mingw32-posix, built $(date -u +%FT%TZ)"
  echo "recipe $(qt_windows_recipe "$repo")"
} > "$stamp"

if [ "${VELT_KEEP_QT_WORK:-0}" != 1 ]; then
  rm -rf "$work"
  # the shared work folder goes too once no other prefix uses it
  if [ "$work" = "$default_work" ]; then rmdir "$(dirname "$work")" 2>/dev/null || true; fi
fi

elapsed=$(( $(date +%s) - start ))
printf 'build-qt-windows: done in %dm%02ds, %s in %s\n' \
  $((elapsed / 60)) $((elapsed % 60)) "$(du -sh "$prefix" | cut -f1)" "$prefix"
