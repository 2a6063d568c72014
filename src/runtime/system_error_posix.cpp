#include "runtime/system_error.h"

#include <cerrno>

namespace velt {

SystemError SystemError::last()
{
    return fromErrno(errno);
}

} // namespace velt
