#include "os/system_info.h"

#include "os/system_info_win_api.h"
#include "os/windows_command_line.h"

// The Windows backend: the registry through the 8-bit "A" functions, the
// file test and the program start through the wide ones, so a path decoded
// from the registry reaches the file system without another conversion.

namespace velt {
namespace {

std::string systemCodePage(const QString &text)
{
    return text.toLocal8Bit().toStdString();
}

class WindowsSystemInfo final : public SystemInfo
{
public:
    std::optional<KeyHandle> openKey(registry::Root root, const QString &path,
                                     std::uint32_t access) override
    {
        KeyHandle key = 0;
        if (!winapi::openKey(static_cast<std::uint32_t>(root), systemCodePage(path), access, key))
            return std::nullopt;
        return key;
    }

    std::optional<RegistryValue> queryValue(KeyHandle key, const QString &name,
                                            qsizetype capacity) override
    {
        std::uint32_t type = 0;
        std::vector<unsigned char> data;
        if (capacity < 0
            || !winapi::queryValue(key, systemCodePage(name), static_cast<std::size_t>(capacity),
                                   type, data))
            return std::nullopt;
        return RegistryValue{type, QByteArray(reinterpret_cast<const char *>(data.data()),
                                              static_cast<qsizetype>(data.size()))};
    }

    void closeKey(KeyHandle key) override { winapi::closeKey(key); }

    bool isRegularFile(const QString &path) override
    {
        return winapi::isRegularFile(path.toStdWString());
    }

    bool startProgram(const QString &path) override
    {
        const QString commandLine = windowsCommandLine(path);
        if (commandLine.isEmpty())
            return false;
        return winapi::startProgram(commandLine.toStdWString());
    }
};

} // namespace

SystemInfo &SystemInfo::native()
{
    static WindowsSystemInfo instance;
    return instance;
}

} // namespace velt
