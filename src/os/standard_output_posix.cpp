#include "os/standard_output.h"

namespace velt {

bool writeText(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    return std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream)
           == static_cast<size_t>(bytes.size());
}

bool standardOutputReachable()
{
    return true;
}

} // namespace velt
