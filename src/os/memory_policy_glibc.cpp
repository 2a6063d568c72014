#include "os/memory_policy.h"

#include <malloc.h>

namespace velt {

void keepFreedMemoryForReuse()
{
    constexpr int kKeep = 16 * 1024 * 1024;
    mallopt(M_TRIM_THRESHOLD, kKeep);
    // Blocks this large would otherwise be mapped and unmapped on their own.
    mallopt(M_MMAP_THRESHOLD, 4 * 1024 * 1024);
}

} // namespace velt
