# Windows resources for a program: its icon group (16, 24, 32, 48 and
# 256 px from data/icons/; the 32 px one is the window's own icon too), a
# version resource from the project's version, and its manifest.
#   velt_windows_resources(<target> <Japanese file description>)
# The icon file is made from the PNGs with icotool (Debian's icoutils).

enable_language(RC)
find_program(VELT_ICOTOOL icotool REQUIRED)

set(_velt_icon ${PROJECT_BINARY_DIR}/windows/velt.ico)
set(_velt_icon_sources)
foreach(size 16 24 32 48 256)
  list(APPEND _velt_icon_sources ${PROJECT_SOURCE_DIR}/data/icons/velt-${size}.png)
endforeach()
# The small sizes as bitmaps, which every part of Windows reads; the 256 px
# one as PNG (-r), as Windows stores it.
add_custom_command(OUTPUT ${_velt_icon}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/windows
  COMMAND ${VELT_ICOTOOL} -c -o ${_velt_icon} ${PROJECT_SOURCE_DIR}/data/icons/velt-16.png
          ${PROJECT_SOURCE_DIR}/data/icons/velt-24.png ${PROJECT_SOURCE_DIR}/data/icons/velt-32.png
          ${PROJECT_SOURCE_DIR}/data/icons/velt-48.png -r ${PROJECT_SOURCE_DIR}/data/icons/velt-256.png
  DEPENDS ${_velt_icon_sources}
  VERBATIM)

function(velt_windows_resources target description)
  set(VELT_PROGRAM ${target})
  set(VELT_DESCRIPTION "${description}")
  set(VELT_ICON ${_velt_icon})
  set(VELT_MANIFEST ${PROJECT_BINARY_DIR}/windows/${target}.manifest)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/program.manifest.in ${VELT_MANIFEST} @ONLY)
  set(rc ${PROJECT_BINARY_DIR}/windows/${target}.rc)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/program.rc.in ${rc} @ONLY)
  # The .rc is UTF-8.
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${_velt_icon};${VELT_MANIFEST}"
                                               COMPILE_OPTIONS --codepage=65001)
  target_sources(${target} PRIVATE ${rc})
endfunction()
