#include "runtime/cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <QList>

#include <algorithm>

// Through Qt's ICU-backed codec. A converter is opened for every call (about
// a microsecond): an ICU converter that once met an error keeps reporting
// one, even after its state is reset.
//
// ICU's table rotates three control codes the IBM way (byte 0x1A becomes
// U+001C, 0x1C becomes U+007F, 0x7F becomes U+001A), where Windows maps
// every byte below 0x80 to itself. Turned back here, so a final Ctrl-Z is
// a Ctrl-Z and text reads the same whichever encoding a piece is in.

namespace velt::cp932 {
namespace {

constexpr const char *kCodec = "windows-31j";

bool holdsRotatedControl(QByteArrayView bytes)
{
    return bytes.contains('\x1A') || bytes.contains('\x1C') || bytes.contains('\x7F');
}

// Maps each of the three codes to the next in `order`.
void rotate(QString &text, const char16_t (&order)[3])
{
    for (QChar &c : text) {
        for (int i = 0; i < 3; ++i) {
            if (c == order[i]) {
                c = order[(i + 1) % 3];
                break;
            }
        }
    }
}

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
    if (holdsRotatedControl(bytes))
        rotate(text, {u'\x1C', u'\x1A', u'\x7F'});
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
    QString unrotated;
    if (text.contains(u'\x1A') || text.contains(u'\x1C') || text.contains(u'\x7F')) {
        unrotated = text.toString();
        rotate(unrotated, {u'\x1A', u'\x1C', u'\x7F'});
        text = unrotated;
    }
    QByteArray bytes = encoder(text);
    if (!encoder.isValid() || encoder.hasError())
        return std::nullopt;
    return bytes;
}

} // namespace velt::cp932
