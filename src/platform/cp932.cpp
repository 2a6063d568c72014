#include "platform/cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

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

std::optional<QByteArray> encode(QStringView text)
{
    QStringEncoder encoder(kCodec, QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder(text);
    if (!encoder.isValid() || encoder.hasError())
        return std::nullopt;
    return bytes;
}

} // namespace velt::cp932
