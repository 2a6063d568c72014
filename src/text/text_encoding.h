#pragma once

#include <QByteArrayView>
#include <QString>

namespace velt {

// The encodings a list file may be saved in. Ascii stands for "no byte has
// told yet": plain ASCII reads the same in every one of the byte encodings.
enum class TextEncoding { Ascii, Cp932, Utf8, Utf16LE, Utf16BE };

// The encoding a byte-order mark at the start of `bytes` names, and the
// mark's length; Ascii and 0 when there is none.
TextEncoding encodingFromByteOrderMark(QByteArrayView bytes, qsizetype *markLength);

// Code page 932 or UTF-8, for bytes without a mark that hold non-ASCII
// text. Valid in one only: that one. Valid in both (short code page 932
// texts often are valid UTF-8 by accident, ﾃｽ reading as "ý"): UTF-8 only
// when its reading holds Japanese and fewer characters that look out of
// place than the code page 932 reading does. Valid in neither: Cp932, whose
// decoding then reports the line.
TextEncoding guessEncoding(QByteArrayView bytes);

// Whether NUL bytes in the start of a file sit where UTF-16 puts the high
// byte of ASCII characters: a UTF-16 file saved without its mark.
bool looksLikeUtf16(QByteArrayView start);

// How much of a file, from its first non-ASCII byte on, decides between
// code page 932 and UTF-8: this many bytes (fewer at the end of the file),
// cut back after the last byte below 0x40 unless they reach the end. A
// thousand characters or so tell as well as the whole file would, and it is
// looked at on every tick.
inline constexpr qsizetype kEncodingWindow = 4 * 1024;

// A byte below 0x40 never begins or continues a multi-byte character in code
// page 932 or UTF-8: bytes cut after one hold whole characters. The length
// of `bytes` up to and including its last such byte; 0 when there is none.
qsizetype cutAfterLastLowByte(QByteArrayView bytes);

// The first `limit` bytes of `bytes` (all of them when there are no more),
// cut after their last byte below 0x40 where they have one, so that no
// character is split.
QByteArrayView wholeCharactersWithin(QByteArrayView bytes, qsizetype limit);

// How many bytes a character takes in `encoding`, from its first byte:
// code page 932's lead bytes begin two-byte characters, UTF-8's say how
// many follow; UTF-16's units are two bytes; anything else is one.
qsizetype characterLength(unsigned char lead, TextEncoding encoding);

// Where `text` holds a surrogate without its partner, which no encoding can
// write (Qt would turn it into "?"); text.size() when it holds none.
qsizetype firstUnpairedSurrogate(QStringView text);

// How many bytes at the start of `bytes` are whole, valid UTF-8 characters.
qsizetype utf8ValidPrefix(QByteArrayView bytes);
bool isValidUtf8(QByteArrayView bytes);

// The text of UTF-8 bytes, a U+FEFF at their start kept like any other
// character; what does not decode becomes U+FFFD.
QString decodeUtf8(QByteArrayView bytes);

} // namespace velt
