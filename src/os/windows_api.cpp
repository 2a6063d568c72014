#include "os/windows_api.h"

#include <windows.h>

// The numbers the portable side (os/msinfo_lookup.h) passes through.
static_assert(KEY_READ == 0x20019, "msinfo::kKeyRead");
static_assert(REG_SZ == 1 && REG_DWORD == 4,
              "registry value types");

namespace velt::winapi {
namespace {

HKEY toHkey(std::uintptr_t handle)
{
    return reinterpret_cast<HKEY>(handle);
}

} // namespace

bool openMachineKey(const std::string &path, std::uint32_t access, std::uintptr_t &key)
{
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, access, &opened) != ERROR_SUCCESS)
        return false;
    key = reinterpret_cast<std::uintptr_t>(opened);
    return true;
}

bool queryValue(std::uintptr_t key, const std::string &name, std::size_t capacity,
                std::uint32_t &type, std::vector<unsigned char> &data)
{
    std::vector<unsigned char> buffer(capacity, 0);
    DWORD size = static_cast<DWORD>(capacity);
    DWORD valueType = REG_NONE;
    if (RegQueryValueExA(toHkey(key), name.c_str(), nullptr, &valueType, buffer.data(), &size)
        != ERROR_SUCCESS)
        return false;
    buffer.resize(size);
    data = std::move(buffer);
    type = valueType;
    return true;
}

void closeKey(std::uintptr_t key)
{
    RegCloseKey(toHkey(key));
}

bool isRegularFile(const std::wstring &path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES
        && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

bool startProgram(const std::wstring &commandLine)
{
    // CreateProcessW may write into its command line.
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

} // namespace velt::winapi
