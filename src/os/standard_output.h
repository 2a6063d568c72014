#pragma once

namespace velt {

// Makes standard output take bytes as they are. The C library on Windows
// opens it in text mode, which writes every LF as CR LF; output meant to be
// the same bytes on every system (velt-print's UTF-8) must not be changed on
// its way out. Call before anything is written. Each system has its own
// file, chosen by CMake.
void makeStandardOutputBinary();

} // namespace velt
