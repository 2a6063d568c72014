#include "os/system_information.h"

#include "os/msinfo_lookup.h"
#include "os/windows_command_line.h"

#include <windows.h>

#include <vector>

// Windows: MSINFO32.EXE found through the registry, started by CreateProcessW.
// Key paths and value names go to the 8-bit "A" functions in the system's
// code page; paths go to the file system through the wide functions.

// The numbers the portable side (os/msinfo_lookup.h) passes through.
static_assert(KEY_READ == 0x20019, "msinfo::kKeyRead");
static_assert(REG_SZ == 1 && REG_DWORD == 4, "registry value types");

namespace velt {
namespace {

const wchar_t *wide(const QString &text)
{
    return reinterpret_cast<const wchar_t *>(text.utf16());
}

class WindowsRegistry final : public msinfo::RegistryCalls
{
public:
    std::optional<Key> open(const QString &path, std::uint32_t access) override
    {
        HKEY opened = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.toLocal8Bit().constData(), 0, access, &opened) != ERROR_SUCCESS)
            return std::nullopt;
        return reinterpret_cast<Key>(opened);
    }

    std::optional<msinfo::RegistryValue> query(Key key, const QString &name, qsizetype capacity) override
    {
        QByteArray data(capacity, '\0');
        DWORD size = static_cast<DWORD>(capacity);
        DWORD type = REG_NONE;
        if (RegQueryValueExA(reinterpret_cast<HKEY>(key), name.toLocal8Bit().constData(), nullptr, &type,
                             reinterpret_cast<BYTE *>(data.data()), &size)
            != ERROR_SUCCESS)
            return std::nullopt;
        data.truncate(size);
        return msinfo::RegistryValue{type, data};
    }

    // Its result tells nothing useful.
    void close(Key key) override { RegCloseKey(reinterpret_cast<HKEY>(key)); }
};

// Whether something other than a folder or a device is at exactly this path.
bool isRegularFile(const QString &path)
{
    const DWORD attributes = GetFileAttributesW(wide(path));
    return attributes != INVALID_FILE_ATTRIBUTES
        && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

// In a normal window, without waiting; the handles are closed at once.
bool startProgram(const QString &commandLine)
{
    // CreateProcessW may write into its command line.
    std::vector<wchar_t> line(wide(commandLine), wide(commandLine) + commandLine.size() + 1);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

class WindowsSystemInformation final : public SystemInformation
{
public:
    std::optional<QString> locate() override
    {
        WindowsRegistry registry;
        return msinfo::lookUp(registry, isRegularFile);
    }

    bool start(const QString &program) override
    {
        const QString commandLine = windowsCommandLine(program);
        return !commandLine.isEmpty() && startProgram(commandLine);
    }
};

} // namespace

SystemInformation &SystemInformation::native()
{
    static WindowsSystemInformation instance;
    return instance;
}

} // namespace velt
