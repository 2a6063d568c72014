# Writes a text file as Windows's own editors read it on every version:
# UTF-8 with a byte-order mark (older Notepads read text without one in the
# system's code page) and CR LF line ends. @VARIABLES@ are filled in from
# the -D definitions given.
#   cmake -DIN=<file> -DOUT=<file> [-DPROJECT_VERSION=...] -P windows_text.cmake
file(READ "${IN}" text)
string(CONFIGURE "${text}" text @ONLY)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
string(ASCII 239 187 191 bom)
file(WRITE "${OUT}" "${bom}${text}")
