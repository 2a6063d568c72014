#pragma once

namespace velt {

// Every generating tick allocates the five lists afresh (about half a
// megabyte with full lists) and frees them when it ends, up to a hundred
// times a second. Returning that memory to the operating system after every
// tick and faulting it back in on the next costs more than reading the
// files; this keeps freed memory in the process for reuse instead. Call once
// at start-up. glibc has its own file (memory_policy_glibc.cpp); every other
// C library the default (memory_policy_default.cpp), chosen by CMake.
void keepFreedMemoryForReuse();

} // namespace velt
