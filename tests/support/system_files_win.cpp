#include "support/system_files.h"

#include <QDir>

#include <windows.h>

namespace velt::test {

bool linkFile(const QString &target, const QString &link)
{
    const QString from = QDir::toNativeSeparators(QDir().absoluteFilePath(link));
    const QString to = QDir::toNativeSeparators(QDir().absoluteFilePath(target));
    return CreateHardLinkW(reinterpret_cast<const wchar_t *>(from.utf16()),
                           reinterpret_cast<const wchar_t *>(to.utf16()), nullptr);
}

int openFileCount()
{
    DWORD count = 0;
    if (!GetProcessHandleCount(GetCurrentProcess(), &count))
        qFatal("GetProcessHandleCount failed");
    return static_cast<int>(count);
}

struct SaveObstacle::State
{
    HANDLE file = INVALID_HANDLE_VALUE;
};

SaveObstacle::SaveObstacle(const QString &fileName)
    : m_state(std::make_unique<State>())
{
    const QString path = QDir::toNativeSeparators(QDir().absoluteFilePath(fileName));
    m_state->file = CreateFileW(reinterpret_cast<const wchar_t *>(path.utf16()), GENERIC_READ, 0, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_state->file == INVALID_HANDLE_VALUE)
        qFatal("cannot hold %s open", qPrintable(path));
}

SaveObstacle::~SaveObstacle()
{
    CloseHandle(m_state->file);
}

QString SaveObstacle::reason()
{
    return QStringLiteral("ほかのプログラム");
}

// A folder's access list could deny new files, but nothing in the tests
// needs that on Windows yet.
FolderRefusingNewFiles::FolderRefusingNewFiles(const QString &path)
    : m_path(path)
{
}

FolderRefusingNewFiles::~FolderRefusingNewFiles() = default;

bool makeNamedPipe(const QString &)
{
    return false;
}

} // namespace velt::test
