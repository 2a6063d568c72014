#include "runtime/system_error.h"

#include <windows.h>

namespace velt {
namespace {

// Not in MinGW's winerror.h.
constexpr DWORD kDiskQuotaExceeded = 1295;

// The system's own words, in the user's language.
QString messageText(DWORD code)
{
    wchar_t *buffer = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                                            | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, 0, reinterpret_cast<wchar_t *>(&buffer), 0, nullptr);
    QString text = length ? QString::fromWCharArray(buffer, length).trimmed() : QString();
    LocalFree(buffer);
    return text.isEmpty() ? QStringLiteral("エラー %1").arg(code) : text;
}

} // namespace

SystemError SystemError::last()
{
    const DWORD code = GetLastError();
    Kind kind = Other;
    switch (code) {
    case ERROR_FILE_NOT_FOUND: case ERROR_PATH_NOT_FOUND: case ERROR_INVALID_DRIVE: kind = NotFound; break;
    case ERROR_ACCESS_DENIED: kind = NoPermission; break;
    case ERROR_WRITE_PROTECT: kind = ReadOnlyMedia; break;
    case ERROR_DISK_FULL: case ERROR_HANDLE_DISK_FULL: kind = DiskFull; break;
    case kDiskQuotaExceeded: kind = Quota; break;
    case ERROR_SHARING_VIOLATION: case ERROR_LOCK_VIOLATION: kind = InUse; break;
    case ERROR_CRC: case ERROR_GEN_FAILURE: case ERROR_IO_DEVICE: case ERROR_NETNAME_DELETED: kind = DeviceError; break;
    case ERROR_FILE_TOO_LARGE: kind = TooLarge; break;
    case ERROR_BROKEN_PIPE: case ERROR_NO_DATA: kind = BrokenPipe; break;
    }
    return {kind, messageText(code)};
}

} // namespace velt
