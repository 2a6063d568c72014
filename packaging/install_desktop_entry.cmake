# Runs inside `cmake --install`. The desktop entry starts the launcher by its
# absolute path: a menu's PATH often lacks <prefix>/bin (~/.local/bin is only
# added at the next login after it first appears, /opt prefixes never are), and
# an entry that names a program the menu cannot find does nothing when clicked.

cmake_path(ABSOLUTE_PATH CMAKE_INSTALL_PREFIX NORMALIZE OUTPUT_VARIABLE prefix)
set(launcher "${prefix}/${VELT_LAUNCHER_DIR}/velt-launcher")

if(launcher MATCHES "[\n\r\t]")
  message(FATAL_ERROR "A desktop entry cannot name a program whose path holds a line break or tab: ${launcher}")
endif()
# Desktop Entry quoting: an argument with reserved characters goes in double
# quotes, where " ` $ and \ take a backslash; the value as a whole then doubles
# every backslash, and % is doubled so it is not read as a field code.
set(exec "${launcher}")
if(NOT exec MATCHES "^[A-Za-z0-9/._+,:@=-]+$")
  string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" exec "${exec}")
  set(exec "\"${exec}\"")
  string(REPLACE "\\" "\\\\" exec "${exec}")
endif()
string(REPLACE "%" "%%" VELT_LAUNCHER_EXEC "${exec}")

# One staging file per destination, so installs into different prefixes can
# run side by side (the test suite does) without overwriting each other's.
string(MD5 key "$ENV{DESTDIR}${prefix}")
get_filename_component(name "${VELT_DESKTOP_TEMPLATE}" NAME_WLE)
set(staged "${VELT_DESKTOP_STAGING}/${key}/${name}")
configure_file("${VELT_DESKTOP_TEMPLATE}" "${staged}" @ONLY)
file(INSTALL DESTINATION "${prefix}/${VELT_APPLICATIONS_DIR}" TYPE FILE FILES "${staged}")
file(REMOVE_RECURSE "${VELT_DESKTOP_STAGING}/${key}")
