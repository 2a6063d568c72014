#include "platform/cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

// Through Qt's ICU-backed codec. A converter is opened for every call (about
// a microsecond): an ICU converter that once met an error keeps reporting
// one, even after its state is reset.

namespace velt::cp932 {
namespace {

constexpr const char *kCodec = "windows-31j";

} // namespace

bool available()
{
    return QStringDecoder(kCodec).isValid() && QStringEncoder(kCodec).isValid();
}

std::optional<QString> decode(QByteArrayView bytes)
{
    QStringDecoder decoder(kCodec, QStringConverter::Flag::Stateless);
    QString text = decoder(bytes); // converts only when its result is taken
    if (!decoder.isValid() || decoder.hasError())
        return std::nullopt;
    return text;
}

qsizetype validPrefix(QByteArrayView bytes)
{
    if (decode(bytes))
        return bytes.size();
    // Line by line to the first line that fails (no character spans a line
    // break, since CR and LF are never trail bytes), then character by
    // character within it.
    qsizetype line = 0;
    for (qsizetype end = 0; end <= bytes.size(); ++end) {
        if (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            continue;
        if (!decode(bytes.sliced(line, end - line)))
            break;
        line = end + 1;
    }
    qsizetype i = std::min(line, bytes.size());
    while (i < bytes.size()) {
        const unsigned char lead = static_cast<unsigned char>(bytes[i]);
        const bool twoBytes = ((lead >= 0x81 && lead <= 0x9F) || lead >= 0xE0) && i + 1 < bytes.size();
        const qsizetype length = twoBytes ? 2 : 1;
        if (!decode(bytes.sliced(i, length)))
            return i;
        i += length;
    }
    return i;
}

std::optional<QByteArray> encode(QStringView text)
{
    QStringEncoder encoder(kCodec, QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder(text);
    if (!encoder.isValid() || encoder.hasError())
        return std::nullopt;
    return bytes;
}

} // namespace velt::cp932
