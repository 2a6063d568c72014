#pragma once

#include <string>

namespace velt {

// Why this process cannot show a window, as one line for the user (ending
// in a line break), or nothing when it can. Without this check Qt aborts
// with a toolkit message where no display is reachable (Unix), or the
// window opens where nobody can see or close it (a Windows service). A
// platform chosen through QT_QPA_PLATFORM (offscreen, for tests) always
// counts as reachable. Each system has its own file, chosen by CMake.
std::string missingDisplay();

} // namespace velt
