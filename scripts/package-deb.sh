#!/usr/bin/env bash
# Builds the Debian package into dist/: velt_<version>_<architecture>.deb.
#
#   scripts/package-deb.sh
#
# VELT_DEB_BUILD names the build folder (default build-deb), VELT_DEB_DIST
# the folder the package goes to (default dist).
#
# A release build of its own with the prefix /usr and Debian's build flags (hardening,
# and build paths mapped away), then CPack's DEB generator over the same
# install rules as `cmake --install`. Installs what is missing first:
# dpkg-dev for dpkg-shlibdeps (the package's library dependencies) and
# dpkg-buildflags, file for CPack to tell programs from other files.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh dpkg-dev file
build=${VELT_DEB_BUILD:-build-deb}
dist=${VELT_DEB_DIST:-dist}
jobs=${VELT_DEB_JOBS:-$(nproc 2>/dev/null || echo 2)}

# The flags a Debian package is built with: stack protector, fortified
# functions, full RELRO with immediate binding, and -ffile-prefix-map so no
# path of this machine ends up in the programs.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)

# Programs in /usr/games, where Debian keeps a game's programs.
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_INSTALL_BINDIR=games \
  -DBUILD_TESTING=OFF -DVELT_BENCH=OFF -DVELT_SANITIZE=OFF \
  -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags"
cmake --build "$build" -j"$jobs"

rm -rf "$build/package"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$build/package"
mkdir -p "$dist"
for deb in "$build"/package/*.deb; do
  cp -- "$deb" "$dist"/
  echo "package-deb: $dist/${deb##*/}"
done
