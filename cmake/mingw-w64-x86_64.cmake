# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 compilers
# (packages g++-mingw-w64-x86-64-posix, binutils-mingw-w64-x86-64).
#
# The -posix variants are used because their libstdc++ has std::thread,
# std::mutex and friends (through winpthreads); the -win32 ones do not.
#
# Used to build the static Qt (scripts/build-qt-windows.sh) and then VELT:
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#         -DVELT_QT_WINDOWS=$HOME/.cache/velt/qt-6.4.2-mingw-static ...
# or through that Qt's own bin/qt-cmake, which loads this file too.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_velt_mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_velt_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_velt_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${_velt_mingw}-windres)

# Headers, libraries and CMake packages come from the MinGW sysroot only, so
# nothing from the Linux host (its zlib, its Qt) leaks into a Windows build;
# build tools (moc, rcc, ninja) are the host's.
set(CMAKE_FIND_ROOT_PATH /usr/${_velt_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The Windows Qt lives outside the sysroot, so it has to become a root of its
# own. Its lib/cmake, not the prefix itself, goes on the prefix path: CMake
# would otherwise re-root the prefix onto itself (<qt>/<qt>/...). Only a
# finished install is added, so that the Qt build itself never sees a
# half-installed copy of what it is building.
if(NOT VELT_QT_WINDOWS AND DEFINED ENV{VELT_QT_WINDOWS})
  set(VELT_QT_WINDOWS "$ENV{VELT_QT_WINDOWS}")
endif()
if(VELT_QT_WINDOWS AND EXISTS "${VELT_QT_WINDOWS}/lib/cmake/Qt6/Qt6Config.cmake")
  list(APPEND CMAKE_FIND_ROOT_PATH "${VELT_QT_WINDOWS}")
  list(APPEND CMAKE_PREFIX_PATH "${VELT_QT_WINDOWS}/lib/cmake")
  # A cross-built Qt runs its code generators (moc, rcc, uic) from a Qt for
  # the build machine: Debian's own, same version.
  if(NOT DEFINED QT_HOST_PATH)
    set(QT_HOST_PATH /usr)
  endif()
  if(NOT DEFINED QT_HOST_PATH_CMAKE_DIR)
    set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
  endif()
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VELT_QT_WINDOWS)

# Self-contained executables: libgcc, libstdc++ and winpthread are linked in
# rather than shipped as DLLs next to the .exe. Only executables: the static
# Qt produces no DLLs, and -static on a DLL would be a choice of its own.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
