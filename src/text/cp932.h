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

// Bytes that begin no character, alone or with any byte after them: the
// unassigned lead bytes and the byte values code page 932 leaves out. Text
// of another encoding (UTF-8 Japanese above all) meets one within a few
// characters, which tells it is not code page 932 before any decoding.
constexpr bool beginsNoCharacter(unsigned char b)
{
    return b == 0x80 || b == 0x85 || b == 0x86 || b == 0xA0 || b == 0xEB || b == 0xEC || b == 0xEF || b >= 0xFD;
}

// Characters that code page 932 holds under another code point: editors on
// Linux or macOS write 〜 where Windows has ～, and so on. A list holding
// them is as Japanese as any, and velt.txt writes them as code page 932's
// own rather than turning the whole file into UTF-8.
struct Alias
{
    char16_t from;
    char16_t to;
};
inline constexpr Alias kAliases[] = {
    {u'\u301C', u'\uFF5E'}, // 〜 wave dash: 0x8160
    {u'\u2212', u'\uFF0D'}, // − minus sign: 0x817C
    {u'\u2016', u'\u2225'}, // ‖ double vertical line: 0x8161
    {u'\u2014', u'\u2015'}, // — em dash: 0x815C
    {u'\u00A2', u'\uFFE0'}, // ¢: 0x8191
    {u'\u00A3', u'\uFFE1'}, // £: 0x8192
    {u'\u00AC', u'\uFFE2'}, // ¬: 0x81CA
};

constexpr bool isAlias(char16_t c)
{
    for (const Alias &alias : kAliases) {
        if (alias.from == c)
            return true;
    }
    return false;
}

} // namespace velt::cp932
