#include "text/regular_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <windows.h>

#include <fcntl.h>
#include <io.h>

namespace velt {
namespace {

const wchar_t *wide(const QString &text)
{
    return reinterpret_cast<const wchar_t *>(text.utf16());
}

FileKind kindOf(HANDLE handle)
{
    switch (GetFileType(handle)) {
    case FILE_TYPE_DISK: {
        BY_HANDLE_FILE_INFORMATION information{};
        if (GetFileInformationByHandle(handle, &information)
            && (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            return FileKind::Folder;
        return FileKind::Regular;
    }
    case FILE_TYPE_PIPE:
        return FileKind::Pipe;
    default:
        return FileKind::Device;
    }
}

} // namespace

QString workingFolderName()
{
    // Windows keeps a process's working folder from being deleted.
    return QDir::toNativeSeparators(QDir::currentPath());
}

OpenResult openRegularFile(QFile &file, const QString &fileName)
{
    // Backup semantics let a folder be opened too, so that it is told as one.
    const HANDLE handle = CreateFileW(wide(QDir::toNativeSeparators(fileName)), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return {SystemError::last()};
    const FileKind kind = kindOf(handle);
    if (kind != FileKind::Regular) {
        CloseHandle(handle);
        return {std::nullopt, kind};
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(handle);
        return {SystemError{SystemError::Other, QStringLiteral("_open_osfhandle")}};
    }
    if (!file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        _close(fd);
        return {SystemError{SystemError::Other, file.errorString()}};
    }
    return {};
}

ReplaceResult replaceFile(const QString &fileName, QByteArrayView bytes)
{
    ReplaceResult result;
    const QFileInfo info(fileName);
    result.folder = info.absolutePath();
    const QString target = QDir::toNativeSeparators(info.absoluteFilePath());

    QString temp;
    HANDLE handle = INVALID_HANDLE_VALUE;
    for (int attempt = 0; handle == INVALID_HANDLE_VALUE && attempt < 100; ++attempt) {
        temp = QDir::toNativeSeparators(QDir(result.folder).filePath(
            QStringLiteral("%1.%2.tmp").arg(info.fileName()).arg(QRandomGenerator::global()->generate(), 8, 16,
                                                                 QLatin1Char('0'))));
        handle = CreateFileW(wide(temp), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    if (handle == INVALID_HANDLE_VALUE) {
        result.error = SystemError::last();
        return result;
    }

    const auto fail = [&](ReplaceResult::Step step) {
        result.error = SystemError::last();
        result.step = step;
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
        DeleteFileW(wide(temp));
        return result;
    };
    const char *at = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        DWORD written = 0;
        const DWORD piece = static_cast<DWORD>(std::min<qsizetype>(left, 1 << 20));
        if (!WriteFile(handle, at, piece, &written, nullptr) || written == 0)
            return fail(ReplaceResult::Writing);
        at += written;
        left -= written;
    }
    if (!FlushFileBuffers(handle))
        return fail(ReplaceResult::Writing);
    const bool closed = CloseHandle(handle);
    handle = INVALID_HANDLE_VALUE;
    if (!closed)
        return fail(ReplaceResult::Writing);
    if (!MoveFileExW(wide(temp), wide(target), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return fail(ReplaceResult::Replacing);
    return result;
}

} // namespace velt
