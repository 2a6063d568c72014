#include "os/standard_output.h"

namespace velt {

// POSIX streams never translate line ends.
void makeStandardOutputBinary() {}

} // namespace velt
