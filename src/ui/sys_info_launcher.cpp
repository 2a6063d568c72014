#include "ui/sys_info_launcher.h"

#include "runtime/cp932.h"
#include "ui/message_reporter.h"
#include "ui/general_format.h"

#include <algorithm>
#include <exception>

namespace velt {
namespace {

// Closes an opened key on every way out of a read, errors included.
class OpenKey
{
public:
    OpenKey(SystemInfo &system, SystemInfo::KeyHandle key)
        : m_system(system)
        , m_key(key)
    {
    }
    ~OpenKey() { m_system.closeKey(m_key); }
    OpenKey(const OpenKey &) = delete;
    OpenKey &operator=(const OpenKey &) = delete;

    SystemInfo::KeyHandle handle() const { return m_key; }

private:
    SystemInfo &m_system;
    SystemInfo::KeyHandle m_key;
};

// The number in the data bytes, least significant byte first.
std::uint32_t littleEndianNumber(QByteArrayView bytes)
{
    std::uint32_t number = 0;
    const qsizetype count = std::min<qsizetype>(bytes.size(), 4);
    for (qsizetype i = count - 1; i >= 0; --i)
        number = (number << 8) | static_cast<unsigned char>(bytes[i]);
    return number;
}

const QString &msinfoKey()
{
    static const QString key = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
    return key;
}

const QString &sharedToolsLocationKey()
{
    static const QString key = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
    return key;
}

} // namespace

SysInfoLauncher::SysInfoLauncher(SystemInfo &system, MessageReporter &reporter)
    : m_system(system)
    , m_reporter(reporter)
{
}

QString SysInfoLauncher::unavailableMessage()
{
    return QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません");
}

void SysInfoLauncher::StartSysInfo()
{
    try {
        if (launch())
            return;
    } catch (const std::exception &) {
        // An error anywhere in the launch is one more way of being
        // unavailable; the message does not tell the ways apart.
    }
    m_reporter.report(unavailableMessage());
}

bool SysInfoLauncher::launch()
{
    QString program;
    if (!GetKeyValue(registry::Root::LocalMachine, msinfoKey(), QStringLiteral("PATH"), program)) {
        if (!GetKeyValue(registry::Root::LocalMachine, sharedToolsLocationKey(), QStringLiteral("MSINFO"),
                         program))
            return false;
        // The folder is used exactly as stored: a final backslash in it
        // gives a doubled one here.
        const QString candidate = program + QStringLiteral("\\MSINFO32.EXE");
        if (!m_system.isRegularFile(candidate))
            return false;
        program = candidate;
    }
    // The "PATH" value is started untested; a value that names nothing
    // (or converted to nothing) fails here.
    return m_system.startProgram(program);
}

bool SysInfoLauncher::GetKeyValue(registry::Root KeyRoot, const QString &KeyName,
                                  const QString &SubKeyRef, QString &KeyVal)
{
    const std::optional<SystemInfo::KeyHandle> handle = m_system.openKey(KeyRoot, KeyName, registry::KeyRead);
    if (!handle) {
        KeyVal.clear();
        return false;
    }
    const OpenKey key(m_system, *handle);

    const std::optional<RegistryValue> value = m_system.queryValue(key.handle(), SubKeyRef, BufferSize);
    if (!value) {
        KeyVal.clear();
        return false;
    }

    QByteArrayView data = value->data;
    if (!data.isEmpty() && data.back() == '\0')
        data.chop(1);

    switch (value->type) {
    case registry::TypeSz:
        // Bytes that are not code page 932 convert to nothing, like a type
        // that is not converted: a lenient decoding would drop or replace
        // bytes and could name a different program.
        if (std::optional<QString> text = cp932::decode(data))
            KeyVal = *text;
        break;
    case registry::TypeDword:
        KeyVal = formatGeneral(hexNumberText(littleEndianNumber(data)));
        break;
    default:
        // Read, but converts to nothing.
        break;
    }
    return true;
}

} // namespace velt
