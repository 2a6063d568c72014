#pragma once

// How Windows finds its system-information program, MSINFO32.EXE: the
// "PATH" value of HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shared Tools\MSINFO,
// started as it is; failing that, "MSINFO32.EXE" in the folder that the
// "MSINFO" value of ...\Shared Tools Location names, if that file exists.
// Written against the three registry calls it makes, so that it runs, and
// is tested, anywhere.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

namespace velt::msinfo {

// Value types as the registry reports them.
inline constexpr std::uint32_t kText = 1;     // REG_SZ, usually zero-terminated
inline constexpr std::uint32_t kNumber = 4;   // REG_DWORD, least significant byte first
// READ_CONTROL with the query-value, enumerate-sub-keys and notify rights:
// machine-wide keys refuse more to a standard user account.
inline constexpr std::uint32_t kKeyRead = 0x20019;
// The read buffer: a value with more data than this counts as missing.
inline constexpr qsizetype kBufferSize = 1024;

struct RegistryValue
{
    std::uint32_t type = 0;
    QByteArray data; // as stored, terminating zero bytes included
};

// RegOpenKeyExA below HKEY_LOCAL_MACHINE, RegQueryValueExA and RegCloseKey.
class RegistryCalls
{
public:
    using Key = std::uintptr_t;
    virtual ~RegistryCalls() = default;
    // Nothing when the key is missing or `access` is refused.
    virtual std::optional<Key> open(const QString &path, std::uint32_t access) = 0;
    // Nothing when the value is missing, unreadable or longer than `capacity`.
    virtual std::optional<RegistryValue> query(Key key, const QString &name, qsizetype capacity) = 0;
    virtual void close(Key key) = 0;
};

// The text a value stands for: text (one final zero byte dropped) in code
// page 932, a 32-bit number in decimal digits, and the empty text for any
// other type or for bytes that are not code page 932.
QString valueText(const RegistryValue &value);

// The program to start, or nothing when neither location names one. A
// "PATH" value that converts to nothing is found, and empty. Registry calls
// that raise pass the error on, after every opened key is closed.
std::optional<QString> lookUp(RegistryCalls &registry, const std::function<bool(const QString &)> &isFile);

} // namespace velt::msinfo
