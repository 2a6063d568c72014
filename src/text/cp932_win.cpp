#include "text/cp932.h"

#include <windows.h>

#include <climits>

// Through Windows's own code page 932, the one the lists' editors and
// velt.txt's readers use there. Both calls are made strict: a byte sequence
// without a character fails the whole conversion instead of becoming U+30FB,
// and a character without a code of its own fails instead of becoming a
// look-alike ("best fit": ¥ as a backslash) or "?".
//
// Two gaps are closed by hand, so that this converter accepts exactly what
// ICU's does elsewhere. Windows reads the bytes 0x80, 0xA0 and 0xFD-0xFF,
// which code page 932 leaves without a character, as the stand-ins U+0080
// and U+F8F0-U+F8F3; those are no text. And a few entries go one way only
// (U+F8F0 is written as 0xA0, which then does not read back), so an
// encoding counts only when it decodes to the same text.

namespace velt::cp932 {
namespace {

constexpr UINT kCodePage = 932;

// Each call takes an int length; nothing this program converts comes near
// that (lists are read in small pieces, a saved box is tens of MB at most).
bool fitsOneCall(qsizetype size)
{
    return size <= INT_MAX;
}

bool holdsStandIn(QStringView text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == 0x80 || (u >= 0xF8F0 && u <= 0xF8F3))
            return true;
    }
    return false;
}

} // namespace

bool available()
{
    return IsValidCodePage(kCodePage) != 0;
}

std::optional<QString> decode(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return QString(); // a zero length is an error to the call itself
    if (!fitsOneCall(bytes.size()))
        return std::nullopt;
    const int length = static_cast<int>(bytes.size());
    const int size = MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes.data(), length, nullptr, 0);
    if (size <= 0)
        return std::nullopt;
    QString text(size, Qt::Uninitialized);
    if (MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes.data(), length,
                            reinterpret_cast<wchar_t *>(text.data()), size)
            != size
        || holdsStandIn(text))
        return std::nullopt;
    return text;
}

std::optional<QByteArray> encode(QStringView text)
{
    if (text.isEmpty())
        return QByteArray();
    if (!fitsOneCall(text.size()))
        return std::nullopt;
    const auto *wide = reinterpret_cast<const wchar_t *>(text.utf16());
    const int length = static_cast<int>(text.size());
    // Only the flag tells a character without a code from a "?" of the
    // text's own.
    BOOL replaced = FALSE;
    const int size = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide, length, nullptr, 0, nullptr,
                                         &replaced);
    if (size <= 0 || replaced)
        return std::nullopt;
    QByteArray bytes(size, Qt::Uninitialized);
    if (WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide, length, bytes.data(), size, nullptr,
                            &replaced)
            != size
        || replaced)
        return std::nullopt;
    const std::optional<QString> back = decode(bytes);
    if (!back || *back != text)
        return std::nullopt;
    return bytes;
}

} // namespace velt::cp932
