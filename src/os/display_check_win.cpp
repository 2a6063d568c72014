#include "os/display_check.h"

#include <windows.h>

#include <cstdlib>

namespace velt {

// Every signed-in session has the visible window station, WinSta0. A
// program started as a service or by a task that runs whether anyone is
// signed in or not gets one of its own that no screen shows.
std::string missingDisplay()
{
    if (std::getenv("QT_QPA_PLATFORM"))
        return {};
    USEROBJECTFLAGS flags{};
    DWORD size = 0;
    if (!GetUserObjectInformationW(GetProcessWindowStation(), UOI_FLAGS, &flags, sizeof flags, &size)
        || (flags.dwFlags & WSF_VISIBLE))
        return {};
    return "velt: this session has no desktop to show a window on (started as a service or a background task?)\n";
}

} // namespace velt
