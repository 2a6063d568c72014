#include "os/msinfo_lookup.h"

#include "text/cp932.h"

namespace velt::msinfo {
namespace {

// One value, with the key closed on every way out.
std::optional<RegistryValue> read(RegistryCalls &registry, const QString &keyPath, const QString &name)
{
    const std::optional<RegistryCalls::Key> key = registry.open(keyPath, kKeyRead);
    if (!key)
        return std::nullopt;
    struct Closer
    {
        RegistryCalls &registry;
        RegistryCalls::Key key;
        ~Closer() { registry.close(key); }
    } closer{registry, *key};
    return registry.query(*key, name, kBufferSize);
}

} // namespace

QString valueText(const RegistryValue &value)
{
    QByteArrayView data = value.data;
    if (data.endsWith('\0'))
        data.chop(1);
    switch (value.type) {
    case kText:
        // A lenient decoding would drop or replace bytes and could name
        // another program.
        return cp932::decode(data).value_or(QString());
    case kNumber: {
        std::uint32_t number = 0;
        for (qsizetype i = std::min<qsizetype>(data.size(), 4) - 1; i >= 0; --i)
            number = number << 8 | static_cast<unsigned char>(data[i]);
        return QString::number(number);
    }
    }
    return {};
}

std::optional<QString> lookUp(RegistryCalls &registry, const std::function<bool(const QString &)> &isFile)
{
    if (const auto path = read(registry, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                               QStringLiteral("PATH")))
        return valueText(*path); // started untested, as it is stored
    const auto folder = read(registry, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                             QStringLiteral("MSINFO"));
    if (!folder)
        return std::nullopt;
    // The folder as stored: a final backslash in it gives a doubled one.
    const QString program = valueText(*folder) + QStringLiteral("\\MSINFO32.EXE");
    if (!isFile(program))
        return std::nullopt;
    return program;
}

} // namespace velt::msinfo
