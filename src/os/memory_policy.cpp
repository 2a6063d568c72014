#include "os/memory_policy.h"

#include <cstdlib> // defines __GLIBC__ where glibc is the C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace velt {

void keepFreedMemoryForReuse()
{
#if defined(__GLIBC__)
    constexpr int kKeep = 16 * 1024 * 1024;
    mallopt(M_TRIM_THRESHOLD, kKeep);
    // Blocks this large would otherwise be mapped and unmapped on their own.
    mallopt(M_MMAP_THRESHOLD, 4 * 1024 * 1024);
#endif
}

} // namespace velt
