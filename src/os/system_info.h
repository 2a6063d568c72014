#pragma once

// The operating-system services behind the About window's system-information
// button: reading the registry, testing that a file exists, and starting
// another program. The launcher asks only through SystemInfo, so tests hand it
// a fake that answers with raw value types and bytes; SystemInfo::native() is
// this build's backend. On Windows that is the registry and CreateProcess.
// Elsewhere there is no registry: a stand-in answers the one value the
// launcher looks up first with a system-information program found on the
// search path.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

namespace velt {

// Registry numbers exactly as the Windows API defines them, so the Windows
// backend passes them through unchanged and fakes speak the same language.
namespace registry {

enum class Root : std::uint32_t {
    LocalMachine = 0x80000002u,
};

// READ_CONTROL with the query-value, enumerate-sub-keys and notify rights.
// Machine-wide keys refuse anything more to a standard user account.
inline constexpr std::uint32_t KeyRead = 0x20019u;

// Value types.
inline constexpr std::uint32_t TypeSz = 1;       // text, usually zero-terminated
inline constexpr std::uint32_t TypeExpandSz = 2; // text with %VARIABLES%
inline constexpr std::uint32_t TypeBinary = 3;
inline constexpr std::uint32_t TypeDword = 4;    // 32-bit number, least significant byte first
inline constexpr std::uint32_t TypeMultiSz = 7;

} // namespace registry

// One registry value as stored: its type and its bytes, terminating zero
// bytes included.
struct RegistryValue
{
    std::uint32_t type = 0;
    QByteArray data;
};

class SystemInfo
{
public:
    using KeyHandle = std::uintptr_t;

    virtual ~SystemInfo() = default;

    // Opens the key `path` below `root` with the rights in `access`. Nothing
    // when the key does not exist or the rights are refused.
    virtual std::optional<KeyHandle> openKey(registry::Root root, const QString &path,
                                             std::uint32_t access) = 0;

    // The value `name` of an open key. Nothing when there is no such value,
    // it cannot be read, or its data is longer than `capacity` bytes.
    virtual std::optional<RegistryValue> queryValue(KeyHandle key, const QString &name,
                                                    qsizetype capacity) = 0;

    // Every key that openKey gave out is closed exactly once.
    virtual void closeKey(KeyHandle key) = 0;

    // Whether a regular file exists at exactly this path. The path is taken
    // literally: no wildcards, no added or removed separators.
    virtual bool isRegularFile(const QString &path) = 0;

    // Starts the program at `path` on its own, with no arguments and a
    // normal window, without waiting for it. The path is one program, never
    // split at its spaces and never handed to a shell. False when it could
    // not be started (an empty path never can).
    virtual bool startProgram(const QString &path) = 0;

    // This platform's services.
    static SystemInfo &native();
};

} // namespace velt
