#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

namespace velt::cp932 {

// Code page 932 (the Windows variant of Shift_JIS): 0x5C is the backslash,
// 0x8160 is U+FF5E, and the NEC and IBM extensions decode. Conversion goes
// through Qt's ICU-backed codec.

// Whether this Qt build can convert code page 932 at all (it needs ICU).
bool available();

// The text, or nothing when the bytes are not valid code page 932.
std::optional<QString> decode(QByteArrayView bytes);

// The bytes, or nothing when the text holds a character that code page 932
// cannot represent.
std::optional<QByteArray> encode(QStringView text);

// The codec's name for QStringDecoder/QStringEncoder, for streaming readers.
const char *codecName();

} // namespace velt::cp932
