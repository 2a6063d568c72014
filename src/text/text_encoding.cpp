#include "text/text_encoding.h"

#include "text/cp932.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <cstring>
#include <vector>

namespace velt {
namespace {

// Enough text to tell the two readings apart; the whole piece would only
// cost time where the decision was made long before.
constexpr qsizetype kSampleSize = 2048;

bool isJapanese(char32_t c)
{
    return (c >= 0x3000 && c <= 0x30FF)     // CJK symbols and punctuation, kana
        || (c >= 0x31F0 && c <= 0x31FF)     // small katakana for Ainu
        || (c >= 0x3400 && c <= 0x4DBF)     // CJK extension A
        || (c >= 0x4E00 && c <= 0x9FFF)     // CJK ideographs
        || (c >= 0xF900 && c <= 0xFAFF)     // CJK compatibility ideographs
        || (c >= 0xFF00 && c <= 0xFFEF)     // full-width and half-width forms
        || c > 0xFFFF;                      // 𠮷, emoji
}

// Latin letters and the symbols of Western text (é, ©, €, ™) turn up in
// lists written in UTF-8, café beside カフェ, and tell nothing either way.
bool isWesternText(char32_t c)
{
    return (c >= 0xA0 && c <= 0xFF) || c == 0x20AC || c == 0x2122;
}

// Characters of the UTF-8 reading that a Japanese list would hardly hold:
// those code page 932 cannot write. Text that is really code page 932 often
// reads as simplified Chinese or rare ideographs in UTF-8 (扈従 as "经]").
int outOfPlaceInUtf8Reading(QStringView text, bool *holdsJapanese)
{
    int count = 0;
    for (const char32_t c : text.toUcs4()) {
        if (isJapanese(c))
            *holdsJapanese = true;
        if (c < 0x80 || c > 0xFFFF || cp932::isAlias(char16_t(c)) || isWesternText(c))
            continue;
        const char16_t unit = char16_t(c);
        if (!cp932::encode(QStringView(&unit, 1)))
            ++count;
    }
    return count;
}

// Characters of the code page 932 reading that text decoded the wrong way
// round is full of: level-2 kanji (every UTF-8 ideograph's lead byte is
// one), user-defined characters, and half-width katakana right beside a
// two-byte character (the rest of a UTF-8 sequence).
int outOfPlaceInCp932Reading(QByteArrayView bytes)
{
    enum Kind { Single, HalfWidth, Double };
    std::vector<Kind> kinds;
    int count = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            kinds.push_back(Single);
        } else if (b >= 0xA1 && b <= 0xDF) {
            kinds.push_back(HalfWidth);
        } else {
            const unsigned code = i + 1 < bytes.size() ? (b << 8) | static_cast<unsigned char>(bytes[i + 1]) : 0;
            if ((code >= 0x989F && code <= 0xEAA4) || (code >= 0xF040 && code <= 0xF9FC))
                ++count;
            kinds.push_back(Double);
            ++i;
        }
    }
    for (std::size_t k = 0; k < kinds.size(); ++k) {
        if (kinds[k] == HalfWidth
            && ((k > 0 && kinds[k - 1] == Double) || (k + 1 < kinds.size() && kinds[k + 1] == Double)))
            ++count;
    }
    return count;
}

// Whether every lead byte of code page 932 has a trail byte after it and no
// byte stands where none may: a quick "no" for UTF-8 text, which fails it
// within a few characters, before the full decoding.
bool hasCp932Shape(QByteArrayView bytes)
{
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80 || (b >= 0xA1 && b <= 0xDF))
            continue;
        if (cp932::beginsNoCharacter(b) || i + 1 == bytes.size())
            return false;
        const auto trail = static_cast<unsigned char>(bytes[++i]);
        if (trail < 0x40 || trail == 0x7F || trail > 0xFC)
            return false;
    }
    return true;
}

// Whether the bytes decode as code page 932, checked a piece at a time, so
// that text of another encoding (which seldom fails in the first bytes) is
// told within a piece or two rather than after all of them.
bool decodesAsCp932(QByteArrayView bytes)
{
    constexpr qsizetype kPiece = 512;
    while (!bytes.isEmpty()) {
        const qsizetype cut = bytes.size() > kPiece ? cutAfterLastLowByte(bytes.first(kPiece)) : bytes.size();
        const QByteArrayView piece = cut > 0 ? bytes.first(cut) : bytes;
        if (!cp932::decode(piece))
            return false;
        bytes = bytes.sliced(piece.size());
    }
    return true;
}

} // namespace

TextEncoding encodingFromByteOrderMark(QByteArrayView bytes, qsizetype *markLength)
{
    struct Mark
    {
        QByteArrayView bytes;
        TextEncoding encoding;
    };
    static constexpr Mark kMarks[] = {
        {"\xEF\xBB\xBF", TextEncoding::Utf8},
        {"\xFF\xFE", TextEncoding::Utf16LE},
        {"\xFE\xFF", TextEncoding::Utf16BE},
    };
    for (const Mark &mark : kMarks) {
        if (bytes.startsWith(mark.bytes)) {
            *markLength = mark.bytes.size();
            return mark.encoding;
        }
    }
    *markLength = 0;
    return TextEncoding::Ascii;
}

// What the rule buys, measured by tools/encoding-survey (words from Debian's
// mecab-ipadic, 5,000 seeded files a row, each loaded through the real
// reader; a misread file loads without an error but with other text than
// was written). Files misread when valid UTF-8 always wins, and with this:
//
//   words                        saved in  entries        UTF-8 wins  this rule
//   common                       cp932     1              3           0
//   rare (level-2 kanji)         cp932     1              98          6
//   half-width katakana (2-4)    cp932     1              460         0
//   beside ASCII (東京2020)      cp932     1              63          8
//   every set                    utf8      1              0           0
//   every set                    both      2, 3, 5, 10    0           0
//
// The misreads left are one-entry files of a level-2 kanji followed by a
// character whose trail byte is ASCII (騾馬 read as 途n).
TextEncoding guessEncoding(QByteArrayView bytes)
{
    if (!isValidUtf8(bytes))
        return TextEncoding::Cp932;
    if (!hasCp932Shape(bytes) || !decodesAsCp932(bytes))
        return TextEncoding::Utf8;
    const QByteArrayView start = wholeCharactersWithin(bytes, kSampleSize);
    bool holdsJapanese = false;
    const int utf8Odd = outOfPlaceInUtf8Reading(decodeUtf8(start), &holdsJapanese);
    if (holdsJapanese && utf8Odd < outOfPlaceInCp932Reading(start))
        return TextEncoding::Utf8;
    return TextEncoding::Cp932;
}

qsizetype cutAfterLastLowByte(QByteArrayView bytes)
{
    qsizetype cut = bytes.size();
    while (cut > 0 && static_cast<unsigned char>(bytes[cut - 1]) >= 0x40)
        --cut;
    return cut;
}

QByteArrayView wholeCharactersWithin(QByteArrayView bytes, qsizetype limit)
{
    if (bytes.size() <= limit)
        return bytes;
    const QByteArrayView first = bytes.first(limit);
    const qsizetype cut = cutAfterLastLowByte(first);
    return cut > 0 ? first.first(cut) : first;
}

qsizetype characterLength(unsigned char lead, TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Cp932:
        return (lead >= 0x81 && lead <= 0x9F) || lead >= 0xE0 ? 2 : 1;
    case TextEncoding::Utf8:
        return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE:
        return 2;
    case TextEncoding::Ascii:
        break;
    }
    return 1;
}

qsizetype firstUnpairedSurrogate(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!c.isSurrogate())
            continue;
        if (c.isLowSurrogate() || i + 1 == text.size() || !text[i + 1].isLowSurrogate())
            return i;
        ++i;
    }
    return text.size();
}

bool looksLikeUtf16(QByteArrayView start)
{
    qsizetype nulsAt[2] = {0, 0};
    bool lineBreakAt[2] = {false, false}; // CR or LF next to a NUL, by the NUL's parity
    for (qsizetype i = 0; i + 1 < start.size(); i += 2) {
        const char a = start[i];
        const char b = start[i + 1];
        nulsAt[0] += a == '\0';
        nulsAt[1] += b == '\0';
        lineBreakAt[0] |= a == '\0' && (b == '\r' || b == '\n');
        lineBreakAt[1] |= b == '\0' && (a == '\r' || a == '\n');
    }
    for (int high = 0; high < 2; ++high) {
        const qsizetype units = start.size() / 2;
        if (nulsAt[high] > 0 && nulsAt[1 - high] == 0 && (lineBreakAt[high] || nulsAt[high] * 4 >= units))
            return true;
    }
    return false;
}

// Strict: overlong forms, surrogates and code points past U+10FFFF are
// refused, and it stops at the first bad byte, which code page 932 text
// reaches within a character or two.
qsizetype utf8ValidPrefix(QByteArrayView bytes)
{
    const auto *begin = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *end = begin + bytes.size();
    const auto *p = begin;
    while (p < end) {
        // Eight ASCII bytes at a time.
        std::uint64_t eight = 0;
        if (end - p >= 8 && (std::memcpy(&eight, p, 8), (eight & 0x8080808080808080u) == 0)) {
            p += 8;
            continue;
        }
        const unsigned char b = *p;
        if (b < 0x80) {
            ++p;
            continue;
        }
        // A three-byte character, as all of Japanese is, in one step.
        if ((b & 0xF0) == 0xE0 && end - p >= 3 && (p[1] & 0xC0) == 0x80 && (p[2] & 0xC0) == 0x80) {
            const char32_t cp = char32_t(b & 0x0F) << 12 | char32_t(p[1] & 0x3F) << 6 | (p[2] & 0x3F);
            if (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))
                break;
            p += 3;
            continue;
        }
        int extra = 0;
        char32_t min = 0;
        char32_t cp = 0;
        if ((b & 0xE0) == 0xC0)
            extra = 1, min = 0x80, cp = b & 0x1F;
        else if ((b & 0xF0) == 0xE0)
            extra = 2, min = 0x800, cp = b & 0x0F;
        else if ((b & 0xF8) == 0xF0)
            extra = 3, min = 0x10000, cp = b & 0x07;
        else
            break;
        if (end - p <= extra)
            break;
        int i = 1;
        for (; i <= extra && (p[i] & 0xC0) == 0x80; ++i)
            cp = (cp << 6) | (p[i] & 0x3F);
        if (i <= extra || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            break;
        p += extra + 1;
    }
    return p - begin;
}

bool isValidUtf8(QByteArrayView bytes)
{
    return utf8ValidPrefix(bytes) == bytes.size();
}

QString decodeUtf8(QByteArrayView bytes)
{
    // QString::fromUtf8 drops a byte-order mark at the start.
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QChar(u'\uFEFF') + QString::fromUtf8(bytes.sliced(3));
    return QString::fromUtf8(bytes);
}

} // namespace velt
