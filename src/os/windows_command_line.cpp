#include "os/windows_command_line.h"

namespace velt {

QString windowsCommandLine(QStringView path)
{
    const QChar quote = u'"';
    if (path.size() >= 2 && path.front() == quote && path.back() == quote)
        path = path.sliced(1, path.size() - 2);
    if (path.isEmpty())
        return {};
    return quote + path.toString() + quote;
}

} // namespace velt
