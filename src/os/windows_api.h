#pragma once

// The Windows API calls behind the Windows system-information backend
// (system_information_win.cpp), in plain C++
// so that they compile with a MinGW cross-compiler and no Qt for Windows
// (scripts/mingw-check.sh). Key paths and value names are in the system's
// 8-bit code page, as the "A" functions take them.

#include <cstdint>
#include <string>
#include <vector>

namespace velt::winapi {

// RegOpenKeyExA below HKEY_LOCAL_MACHINE. False when the key is missing or
// the access is refused.
bool openMachineKey(const std::string &path, std::uint32_t access, std::uintptr_t &key);

// RegQueryValueExA into a zero-filled buffer of `capacity` bytes; `data`
// receives the bytes stored. False when the value is missing, unreadable or
// longer than the buffer.
bool queryValue(std::uintptr_t key, const std::string &name, std::size_t capacity,
                std::uint32_t &type, std::vector<unsigned char> &data);

// RegCloseKey; its result tells nothing useful.
void closeKey(std::uintptr_t key);

// Whether something other than a folder exists at exactly this path.
bool isRegularFile(const std::wstring &path);

// CreateProcessW with no application name and this command line, in a
// normal window, without waiting. The handles are closed at once.
bool startProgram(const std::wstring &commandLine);

} // namespace velt::winapi
