#include "os/display_check.h"

#include <cstdlib>

namespace velt {
namespace {

bool isSet(const char *name)
{
    const char *value = std::getenv(name);
    return value && *value;
}

} // namespace

std::string missingDisplay()
{
    if (std::getenv("QT_QPA_PLATFORM") || isSet("DISPLAY") || isSet("WAYLAND_DISPLAY"))
        return {};
    return "velt: no display found (DISPLAY is not set); to run without one, use: xvfb-run velt\n";
}

} // namespace velt
