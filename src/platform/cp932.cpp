#include "platform/cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace velt::cp932 {

const char *codecName()
{
    return "windows-31j";
}

bool available()
{
    return QStringDecoder(codecName()).isValid();
}

std::optional<QString> decode(QByteArrayView bytes)
{
    QStringDecoder decoder(codecName(), QStringConverter::Flag::Stateless);
    QString text = decoder(bytes);
    if (!decoder.isValid() || decoder.hasError())
        return std::nullopt;
    return text;
}

std::optional<QByteArray> encode(QStringView text)
{
    QStringEncoder encoder(codecName(), QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder(text);
    if (!encoder.isValid() || encoder.hasError())
        return std::nullopt;
    return bytes;
}

} // namespace velt::cp932
