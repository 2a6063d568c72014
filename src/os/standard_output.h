#pragma once

#include <QString>

#include <cstdio>

namespace velt {

// Writes text to standard output or standard error as UTF-8 with LF line
// ends: the same bytes on every system, so that a pipe or a file gets what
// the Linux programs write. A Windows console is the exception: it is
// handed the text itself, which it shows right whatever its code page (a
// Japanese console reads bytes as code page 932, not UTF-8). Returns false
// when the text could not be written. Each system has its own file, chosen
// by CMake.
bool writeText(std::FILE *stream, const QString &text);

// Whether standard output leads anywhere. A Windows program with a window
// gets no console of its own: when it was started from one (cmd.exe), it
// attaches to that console here and answers true; started from Explorer or
// a shortcut, with nothing redirected, there is nowhere to write to. Always
// true elsewhere.
bool standardOutputReachable();

} // namespace velt
