#include "os/standard_output.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>

namespace velt {
namespace {

bool writeToConsole(HANDLE console, const QString &text)
{
    const auto *chars = reinterpret_cast<const wchar_t *>(text.utf16());
    qsizetype left = text.size();
    while (left > 0) {
        // Pieces the console takes in one call, never cut inside a pair.
        DWORD piece = static_cast<DWORD>(std::min<qsizetype>(left, 8192));
        if (piece < left && QChar::isHighSurrogate(chars[piece - 1]))
            --piece;
        DWORD written = 0;
        if (!WriteConsoleW(console, chars, piece, &written, nullptr) || written == 0)
            return false;
        chars += written;
        left -= written;
    }
    return true;
}

} // namespace

bool writeText(std::FILE *stream, const QString &text)
{
    std::fflush(stream);
    const int descriptor = _fileno(stream);
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(descriptor));
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode))
        return writeToConsole(handle, text);
    // The C library opens the streams in text mode, which would write every
    // LF as CR LF.
    _setmode(descriptor, _O_BINARY);
    const QByteArray bytes = text.toUtf8();
    return std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream)
           == static_cast<size_t>(bytes.size());
}

bool standardOutputReachable()
{
    // Redirected to a file or a pipe: the handle is there already, and
    // takes a write of nothing.
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD written = 0;
    if (out != nullptr && out != INVALID_HANDLE_VALUE && GetFileType(out) != FILE_TYPE_UNKNOWN
        && (WriteFile(out, "", 0, &written, nullptr) || GetLastError() != ERROR_INVALID_HANDLE))
        return true;
    if (!AttachConsole(ATTACH_PARENT_PROCESS))
        return false;
    // The C library's streams were set up before there was a console.
    std::freopen("CONOUT$", "w", stdout);
    std::freopen("CONOUT$", "w", stderr);
    return true;
}

} // namespace velt
