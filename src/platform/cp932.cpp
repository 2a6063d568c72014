#include "platform/cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <QList>

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
    // Where each character ends, by its lead byte; then the longest run of
    // whole characters that decodes, found by halving.
    QList<qsizetype> ends;
    for (qsizetype i = 0; i < bytes.size();) {
        const unsigned char lead = static_cast<unsigned char>(bytes[i]);
        i = std::min(bytes.size(), i + ((lead >= 0x81 && lead <= 0x9F) || lead >= 0xE0 ? 2 : 1));
        ends.append(i);
    }
    qsizetype good = 0; // characters known to decode
    qsizetype bad = ends.size(); // characters known not to
    while (bad - good > 1) {
        const qsizetype mid = (good + bad) / 2;
        (decode(bytes.first(ends[mid - 1])) ? good : bad) = mid;
    }
    return good == 0 ? 0 : ends[good - 1];
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
