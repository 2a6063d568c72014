#include "os/system_information.h"

#include "os/msinfo_lookup.h"
#include "os/windows_api.h"
#include "os/windows_command_line.h"

// Windows: MSINFO32.EXE found through the registry, started by CreateProcessW.
// Key paths and value names go to the 8-bit "A" functions in the system's
// code page; paths go to the file system through the wide functions.

namespace velt {
namespace {

class WindowsRegistry final : public msinfo::RegistryCalls
{
public:
    std::optional<Key> open(const QString &path, std::uint32_t access) override
    {
        Key key = 0;
        if (!winapi::openMachineKey(path.toLocal8Bit().toStdString(), access, key))
            return std::nullopt;
        return key;
    }

    std::optional<msinfo::RegistryValue> query(Key key, const QString &name, qsizetype capacity) override
    {
        std::uint32_t type = 0;
        std::vector<unsigned char> data;
        if (!winapi::queryValue(key, name.toLocal8Bit().toStdString(), static_cast<std::size_t>(capacity), type,
                                data))
            return std::nullopt;
        return msinfo::RegistryValue{
            type, QByteArray(reinterpret_cast<const char *>(data.data()), static_cast<qsizetype>(data.size()))};
    }

    void close(Key key) override { winapi::closeKey(key); }
};

class WindowsSystemInformation final : public SystemInformation
{
public:
    std::optional<QString> locate() override
    {
        WindowsRegistry registry;
        return msinfo::lookUp(registry, [](const QString &path) { return winapi::isRegularFile(path.toStdWString()); });
    }

    bool start(const QString &program) override
    {
        const QString commandLine = windowsCommandLine(program);
        return !commandLine.isEmpty() && winapi::startProgram(commandLine.toStdWString());
    }
};

} // namespace

SystemInformation &SystemInformation::native()
{
    static WindowsSystemInformation instance;
    return instance;
}

} // namespace velt
