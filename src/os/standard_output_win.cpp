#include "os/standard_output.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>

namespace velt {

void makeStandardOutputBinary()
{
    std::fflush(stdout);
    _setmode(_fileno(stdout), _O_BINARY);
}

} // namespace velt
