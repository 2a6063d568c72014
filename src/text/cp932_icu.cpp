#include "text/cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

// Through Qt's ICU-backed codec. A converter is opened for every call (about
// a microsecond): an ICU converter that once met an error keeps reporting
// one, even after its state is reset.
//
// ICU's table rotates three control codes the IBM way (byte 0x1A becomes
// U+001C, 0x1C becomes U+007F, 0x7F becomes U+001A), where Windows maps
// every byte below 0x80 to itself. Turned back here, so a final Ctrl-Z is
// a Ctrl-Z and text reads the same whichever encoding a piece is in.
//
// One entry of the table only goes one way: U+F86F, a private-use code
// point, is written as the code of № (which reads back as U+2116). Refused,
// so that what is saved reads back as itself, as with Windows's own table.

namespace velt::cp932 {
namespace {

constexpr const char *kCodec = "windows-31j";
constexpr char16_t kOneWay = u'\uF86F';

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

std::optional<QByteArray> encode(QStringView text)
{
    if (text.contains(QChar(kOneWay)))
        return std::nullopt;
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
