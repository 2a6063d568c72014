# Sourced by the scripts that build or use the static Qt for Windows: where
# it is cached, and the stamp that says a build there is complete. The stamp
# holds the fingerprint of the recipe (see build-qt-windows.sh); a cache
# built from another recipe counts as missing.
#   VELT_QT_WINDOWS  the cache's prefix (default ~/.cache/velt/qt-6.4.2-mingw-static)
qt_windows_version=6.4.2
qt_windows=${VELT_QT_WINDOWS:-$HOME/.cache/velt/qt-$qt_windows_version-mingw-static}
qt_windows_stamp_name=.velt-qt-complete

# The recipe: the configure options, the patches and the toolchain file.
# Editing a comment in the build script does not change it.
qt_windows_recipe() { # repo
  { sed -n '/^# recipe begin$/,/^# recipe end$/p' "$1/scripts/build-qt-windows.sh"
    cat "$1"/scripts/qt-windows/*.patch "$1/cmake/mingw-w64-x86_64.cmake"
  } | sha256sum | cut -c1-16
}

qt_windows_complete() { # prefix repo: the cache there is whole and of this recipe
  [ -f "$1/$qt_windows_stamp_name" ] &&
    grep -qx "recipe $(qt_windows_recipe "$2")" "$1/$qt_windows_stamp_name"
}
