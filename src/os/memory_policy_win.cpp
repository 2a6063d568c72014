#include "os/memory_policy.h"

namespace velt {

// Nothing to set while running. The heap's low-fragmentation front end
// keeps the small blocks a tick frees (a list's entries) for the next tick
// by itself. When the heap gives larger freed blocks back is decided by two
// thresholds fixed at process start from the program image's load
// configuration; the system's defaults stay, since a wrong load
// configuration stops Windows from loading the program at all, and no
// Windows at hand could show that raising them pays.
void keepFreedMemoryForReuse() {}

} // namespace velt
