#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

namespace velt::cp932 {

// Code page 932 (the Windows variant of Shift_JIS): 0x5C is the backslash,
// 0x8160 is U+FF5E, and the NEC and IBM extensions decode. Both directions
// are strict: nothing is ever replaced by "?" or U+FFFD.

// Whether this build can convert code page 932 at all.
bool available();

// The text, or nothing when the bytes are not valid code page 932. The
// bytes must end on a character boundary: a piece of a longer text is cut
// after a byte below 0x40, which never begins or continues a character.
std::optional<QString> decode(QByteArrayView bytes);

// How many bytes at the start of `bytes` decode: whole characters, up to the
// first one that does not (a lead byte with no valid trail byte, an
// unassigned code).
qsizetype validPrefix(QByteArrayView bytes);

// The bytes, or nothing when the text holds a character that code page 932
// cannot represent.
std::optional<QByteArray> encode(QStringView text);

} // namespace velt::cp932
