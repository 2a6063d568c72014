#pragma once

// Stand-ins for the launcher's operating-system services and for the
// message box, recording what the code under test asked for.

#include "runtime/cp932.h"
#include "ui/message_reporter.h"
#include "runtime/runtime_error.h"
#include "os/system_info.h"

#include <QHash>
#include <QMap>
#include <QSet>
#include <QStringList>

namespace velt::test {

inline const QString msinfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
inline const QString locationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");

// A registry under HKEY_LOCAL_MACHINE, a file system and a process starter,
// all in memory. Key paths and value names match exactly. Like the machine
// keys for a standard user account, keys open only for reading.
class FakeSystemInfo : public SystemInfo
{
public:
    QMap<QString, QMap<QString, RegistryValue>> keys;
    QSet<QString> refusedKeys;  // exist, but refuse every open
    QSet<QString> regularFiles;
    QSet<QString> startablePrograms;

    // Where a run-time error is raised, if anywhere.
    QString raiseOnOpenOf;   // a key path
    QString raiseOnQueryOf;  // a value name
    bool raiseOnFileTest = false;
    bool raiseOnStart = false;

    // What was asked.
    QStringList openAttempts;       // key paths, in order
    QList<qsizetype> capacities;    // of every query
    QStringList fileTests;
    QStringList started;            // programs that did start
    int misuses = 0;                // unknown or closed handles used, double closes

    void setValue(const QString &key, const QString &name, std::uint32_t type, const QByteArray &data)
    {
        keys[key][name] = RegistryValue{type, data};
    }

    // A text value stored as Windows stores it: code page 932 bytes and a
    // terminating zero byte.
    void setText(const QString &key, const QString &name, const QString &text)
    {
        const std::optional<QByteArray> bytes = cp932::encode(text);
        Q_ASSERT(bytes);
        setValue(key, name, registry::TypeSz, *bytes + QByteArray(1, '\0'));
    }

    int openKeys() const { return int(m_open.size()); }

    std::optional<KeyHandle> openKey(registry::Root root, const QString &path, std::uint32_t access) override
    {
        openAttempts << path;
        if (path == raiseOnOpenOf)
            throw RuntimeError(err::DeviceIo, {});
        if (root != registry::Root::LocalMachine || (access & ~registry::KeyRead) != 0)
            return std::nullopt;
        if (!keys.contains(path) || refusedKeys.contains(path))
            return std::nullopt;
        const KeyHandle handle = m_nextHandle++;
        m_open.insert(handle, path);
        return handle;
    }

    std::optional<RegistryValue> queryValue(KeyHandle key, const QString &name, qsizetype capacity) override
    {
        capacities << capacity;
        if (!m_open.contains(key)) {
            ++misuses;
            return std::nullopt;
        }
        if (name == raiseOnQueryOf)
            throw RuntimeError(err::DeviceIo, {});
        const auto &values = keys[m_open.value(key)];
        const auto value = values.find(name);
        if (value == values.end() || value->data.size() > capacity)
            return std::nullopt;
        return *value;
    }

    void closeKey(KeyHandle key) override
    {
        if (m_open.remove(key) != 1)
            ++misuses;
    }

    bool isRegularFile(const QString &path) override
    {
        fileTests << path;
        if (raiseOnFileTest)
            throw RuntimeError(err::PathFileAccess, {});
        return regularFiles.contains(path);
    }

    bool startProgram(const QString &path) override
    {
        if (raiseOnStart)
            throw RuntimeError(err::FileNotFound, {});
        if (!startablePrograms.contains(path))
            return false;
        started << path;
        return true;
    }

private:
    QHash<KeyHandle, QString> m_open;
    KeyHandle m_nextHandle = 0x100;
};

class RecordingReporter : public MessageReporter
{
public:
    QStringList messages;

    void report(const QString &text) override { messages << text; }
};

} // namespace velt::test
