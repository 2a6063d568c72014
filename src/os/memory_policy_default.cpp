#include "os/memory_policy.h"

namespace velt {

// Nothing to set: only glibc hands freed memory back to the system eagerly
// enough to cost a tick. On Windows, the heap's low-fragmentation front end
// keeps the small blocks a tick frees (a list's entries) for the next tick
// by itself; when it gives larger freed blocks back is decided by two
// thresholds fixed at process start from the program image's load
// configuration, which stay the system's, since a wrong load configuration
// stops Windows from loading the program at all, and no Windows at hand
// could show that raising them pays.
void keepFreedMemoryForReuse() {}

} // namespace velt
