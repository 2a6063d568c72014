#include "os/system_info.h"

#include "runtime/cp932.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

// The stand-in for systems without a registry. It answers exactly one
// lookup, "PATH" under "SOFTWARE\Microsoft\Shared Tools\MSINFO", and holds
// no "Shared Tools Location", so the About window's button starts the
// desktop's own system-information program where one is installed.

namespace velt {
namespace {

const QString &msinfoKey()
{
    static const QString key = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
    return key;
}

constexpr SystemInfo::KeyHandle msinfoHandle = 1;

// The programs that show system information on a Linux desktop, the one
// preferred first.
QString findSystemInfoProgram()
{
    const QStringList candidates = {QStringLiteral("kinfocenter"), QStringLiteral("hardinfo2"),
                                    QStringLiteral("hardinfo")};
    for (const QString &name : candidates) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty())
            return path;
    }
    return {};
}

class StandInSystemInfo final : public SystemInfo
{
public:
    std::optional<KeyHandle> openKey(registry::Root root, const QString &path,
                                     std::uint32_t access) override
    {
        // Like a machine-wide key for a standard user: reading only.
        if (root != registry::Root::LocalMachine || (access & ~registry::KeyRead) != 0)
            return std::nullopt;
        if (path.compare(msinfoKey(), Qt::CaseInsensitive) != 0)
            return std::nullopt;
        return msinfoHandle;
    }

    std::optional<RegistryValue> queryValue(KeyHandle key, const QString &name,
                                            qsizetype capacity) override
    {
        if (key != msinfoHandle || name.compare(QStringLiteral("PATH"), Qt::CaseInsensitive) != 0)
            return std::nullopt;
        // Searched afresh on every lookup, so a program installed while
        // VELT runs is found on the next click.
        const QString program = findSystemInfoProgram();
        if (program.isEmpty())
            return std::nullopt;
        // Stored the way Windows stores such a value: code page 932 text
        // with its terminating zero. A path that code page 932 cannot spell
        // could not be read back, so it is not offered at all.
        std::optional<QByteArray> bytes = cp932::encode(program);
        if (!bytes)
            return std::nullopt;
        bytes->append('\0');
        if (bytes->size() > capacity)
            return std::nullopt;
        return RegistryValue{registry::TypeSz, *bytes};
    }

    void closeKey(KeyHandle) override {}

    bool isRegularFile(const QString &path) override
    {
        return QFileInfo(path).isFile();
    }

    bool startProgram(const QString &path) override
    {
        if (path.isEmpty())
            return false;
        return QProcess::startDetached(path, {});
    }
};

} // namespace

SystemInfo &SystemInfo::native()
{
    static StandInSystemInfo instance;
    return instance;
}

} // namespace velt
