#include "runtime/field_reader.h"

#include "runtime/cp932.h"
#include "runtime/read_errors.h"
#include "runtime/text_encoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace velt {
namespace {

constexpr qsizetype kPieceSize = 16 * 1024;
// How far an unfinished field may run before it is refused without reading
// on: an entry of the longest length and its two quotes.
constexpr qsizetype kMaxFieldSpan = kMaxFieldLength + 2;
constexpr char16_t kCtrlZ = 0x1A;

bool isBlank(char16_t c)
{
    return c <= u' ' ? c == u' ' || c == u'\t' : c == u'\u3000';
}

bool isLineBreak(char16_t c)
{
    return c == u'\r' || c == u'\n';
}

bool isRefused(char16_t c)
{
    return c < 0x20 && c != u'\t' && !isLineBreak(c);
}

// The first character at or below the comma from `from` on (or `size`):
// every character that can end a field or is refused sorts there, and
// Japanese text never does, so the common case is a run of skipped blocks.
qsizetype firstAtOrBelowComma(const QChar *data, qsizetype from, qsizetype size)
{
    qsizetype i = from;
#if defined(__SSE2__)
    // Sixteen characters a step: a typical entry and its line break in one.
    const __m128i comma = _mm_set1_epi16(u',');
    const __m128i zero = _mm_setzero_si128();
    const auto atOrBelowComma = [&](const QChar *at) {
        const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i *>(at));
        // Saturating subtraction leaves zero exactly where char <= ','.
        return _mm_cmpeq_epi16(_mm_subs_epu16(chars, comma), zero);
    };
    for (; i + 16 <= size; i += 16) {
        const int hits = _mm_movemask_epi8(_mm_packs_epi16(atOrBelowComma(data + i), atOrBelowComma(data + i + 8)));
        if (hits)
            return i + std::countr_zero(static_cast<unsigned>(hits));
    }
    for (; i + 8 <= size; i += 8) {
        const int hits = _mm_movemask_epi8(atOrBelowComma(data + i));
        if (hits)
            return i + std::countr_zero(static_cast<unsigned>(hits)) / 2;
    }
#endif
    for (; i < size; ++i) {
        if (data[i].unicode() <= u',')
            return i;
    }
    return size;
}

// The first character from `from` on that ends a field, unquoted (a comma)
// or quoted (a double quote), or that is a line break or another control
// character; `size` when there is none.
qsizetype scanField(const QChar *data, qsizetype from, qsizetype size, bool quoted)
{
    const char16_t closing = quoted ? u'"' : u',';
    for (qsizetype k = from; (k = firstAtOrBelowComma(data, k, size)) < size; ++k) {
        const char16_t c = data[k].unicode();
        if (c == closing || (c < 0x20 && c != u'\t'))
            return k;
    }
    return size;
}

// The lines `bytes` holds before its end, CR LF counting once.
int lineBreaksIn(QByteArrayView bytes)
{
    int breaks = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n' || (bytes[i] == '\r' && !(i + 1 < bytes.size() && bytes[i + 1] == '\n')))
            ++breaks;
    }
    return breaks;
}

// The bytes side of the reading: reads the device a piece at a time, cuts
// each piece where no character is split, settles the encoding and decodes.
// A character that does not decode ends its piece; the error is raised when
// the reading gets there, so that problems are told in file order.
class PieceDecoder
{
public:
    PieceDecoder(QIODevice &device, const QString &fileName)
        : m_device(device)
        , m_fileName(fileName)
    {
    }

    // Appends the next piece, decoded, to `text`; false when the file holds
    // nothing more. `line` is the line the appended text starts on.
    bool appendTo(QString &text, int line);

    // Whether nothing but line breaks follows `rest` (which starts on
    // `line`) to the end of the file. Reads, and drops, what it looks at.
    bool restIsLineBreaks(QStringView rest, int line);

private:
    void readMore();
    void readStart();
    void decide(qsizetype firstNonAscii);
    qsizetype cutPoint() const;
    bool decodeInto(QByteArrayView piece, QString &text) const;

    QIODevice &m_device;
    const QString &m_fileName;
    QByteArray m_raw; // read, not yet decoded
    bool m_deviceDone = false;
    bool m_started = false;
    bool m_undecodable = false; // the next byte begins a character that does not decode
    TextEncoding m_encoding = TextEncoding::Ascii;
};

void PieceDecoder::readMore()
{
    const qsizetype before = m_raw.size();
    m_raw.resize(before + kPieceSize);
    const qint64 got = m_device.read(m_raw.data() + before, kPieceSize);
    m_raw.resize(before + std::max<qint64>(got, 0));
    if (got < 0)
        throw readError::deviceFailed(m_fileName, m_device.errorString());
    m_deviceDone = got == 0;
}

// The first 16 KiB of the file: a byte-order mark, or NUL bytes that show a
// UTF-16 file without its mark or a file that is not text at all. Either
// would otherwise end in a message about undecodable bytes.
void PieceDecoder::readStart()
{
    m_started = true;
    while (!m_deviceDone && m_raw.size() < kPieceSize)
        readMore();
    qsizetype markLength = 0;
    m_encoding = encodingFromByteOrderMark(m_raw, &markLength);
    m_raw.remove(0, markLength);
    if (m_encoding != TextEncoding::Ascii && m_encoding != TextEncoding::Utf8)
        return;
    const QByteArrayView start = QByteArrayView(m_raw).first(std::min(m_raw.size(), kPieceSize - markLength));
    const qsizetype nul = start.indexOf('\0');
    if (nul < 0)
        return;
    if (looksLikeUtf16(start))
        throw readError::utf16WithoutMark(m_fileName);
    throw readError::notText(m_fileName, 1 + lineBreaksIn(start.first(nul)));
}

void PieceDecoder::decide(qsizetype firstNonAscii)
{
    while (!m_deviceDone && m_raw.size() <= firstNonAscii + kEncodingWindow)
        readMore();
    QByteArrayView window = QByteArrayView(m_raw).sliced(firstNonAscii);
    if (window.size() > kEncodingWindow) {
        window = window.first(std::min(window.size(), kEncodingWindow));
        qsizetype cut = window.size();
        while (cut > 0 && static_cast<unsigned char>(window[cut - 1]) >= 0x40)
            --cut;
        if (cut > 0)
            window = window.first(cut);
    }
    m_encoding = guessEncoding(window);
}

// Where the bytes read so far can be cut with every character whole.
qsizetype PieceDecoder::cutPoint() const
{
    const auto *bytes = reinterpret_cast<const unsigned char *>(m_raw.constData());
    const qsizetype size = m_raw.size();
    if (m_deviceDone)
        return size;
    if (m_encoding == TextEncoding::Utf16LE || m_encoding == TextEncoding::Utf16BE) {
        const qsizetype even = size & ~qsizetype(1);
        // A lead surrogate waits for its partner.
        const unsigned char high = even < 2 ? 0 : m_encoding == TextEncoding::Utf16LE ? bytes[even - 1] : bytes[even - 2];
        return high >= 0xD8 && high <= 0xDB ? even - 2 : even;
    }
    // A byte below 0x40 is never part of a multi-byte character in code
    // page 932 or UTF-8.
    qsizetype cut = size;
    while (cut > 0 && bytes[cut - 1] >= 0x40)
        --cut;
    if (cut > 0 || size < kPieceSize)
        return cut;
    // A whole piece without one, far more than a field may hold: cut after
    // the last character that is whole by its lead byte.
    qsizetype i = 0;
    while (true) {
        const unsigned char b = bytes[i];
        qsizetype length = 1;
        if (m_encoding == TextEncoding::Cp932)
            length = (b >= 0x81 && b <= 0x9F) || b >= 0xE0 ? 2 : 1;
        else if (m_encoding == TextEncoding::Utf8)
            length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
        if (i + length > size)
            return i;
        i += length;
    }
}

// Appends the piece's text up to the first character that does not decode;
// false when there is one.
bool PieceDecoder::decodeInto(QByteArrayView piece, QString &text) const
{
    switch (m_encoding) {
    case TextEncoding::Ascii:
        text.append(QLatin1StringView(piece));
        return true;
    case TextEncoding::Cp932:
        if (std::optional<QString> decoded = cp932::decode(piece)) {
            // Pieces end after a line break as a rule, leaving nothing to
            // keep: then the text is taken over, not copied.
            if (text.isEmpty())
                text = std::move(*decoded);
            else
                text.append(*decoded);
            return true;
        }
        text.append(*cp932::decode(piece.first(cp932::validPrefix(piece))));
        return false;
    case TextEncoding::Utf8: {
        // Qt's fastest UTF-8 path marks what does not decode with U+FFFD; only
        // then, or for a U+FFFD of the file's own, is the piece checked.
        QString decoded = decodeUtf8(piece);
        if (!decoded.contains(QChar::ReplacementCharacter) || isValidUtf8(piece)) {
            if (text.isEmpty())
                text = std::move(decoded);
            else
                text.append(decoded);
            return true;
        }
        text.append(decodeUtf8(piece.first(utf8ValidPrefix(piece))));
        return false;
    }
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE:
        break;
    }
    const bool little = m_encoding == TextEncoding::Utf16LE;
    const qsizetype base = text.size();
    text.resize(base + piece.size() / 2);
    for (qsizetype i = 0; i + 1 < piece.size(); i += 2) {
        const auto a = static_cast<unsigned char>(piece[i]);
        const auto b = static_cast<unsigned char>(piece[i + 1]);
        text[base + i / 2] = QChar(little ? char16_t(a | b << 8) : char16_t(a << 8 | b));
    }
    return piece.size() % 2 == 0;
}

bool PieceDecoder::appendTo(QString &text, int line)
{
    if (m_undecodable)
        throw readError::undecodable(m_fileName, line, m_encoding);
    if (!m_started)
        readStart();
    while (true) {
        if (!m_deviceDone && m_raw.size() < kPieceSize)
            readMore();
        if (m_raw.isEmpty())
            return false;
        if (m_encoding == TextEncoding::Ascii) {
            const auto nonAscii = std::find_if(m_raw.cbegin(), m_raw.cend(),
                                               [](char b) { return static_cast<unsigned char>(b) >= 0x80; });
            if (nonAscii != m_raw.cend())
                decide(nonAscii - m_raw.cbegin());
        }
        const qsizetype cut = cutPoint();
        if (cut == 0)
            continue; // a character still arriving
        m_undecodable = !decodeInto(QByteArrayView(m_raw).first(cut), text);
        m_raw.remove(0, cut);
        return true;
    }
}

bool PieceDecoder::restIsLineBreaks(QStringView rest, int line)
{
    QString next;
    bool afterCR = false;
    while (true) {
        for (const QChar c : rest) {
            if (!isLineBreak(c.unicode()))
                return false;
            if (c != u'\n' || !afterCR)
                ++line;
            afterCR = c == u'\r';
        }
        next.clear();
        // A CR there may yet be followed by its LF: the next text starts on
        // the line after the CR either way.
        if (!appendTo(next, line))
            return true;
        rest = next;
    }
}

} // namespace

void readFields(QIODevice &device, const QString &fileName, FieldSink &sink)
{
    PieceDecoder pieces(device, fileName);
    QString text;            // what is left of the pieces read so far
    QString joined;          // a quoted field with text after its closing quote
    qsizetype pos = 0;       // where the next field, or blank line, begins
    qsizetype lineBegin = 0; // where the current line began; below 0 when in a dropped piece
    int line = 1;
    int entries = 0;
    bool lineStart = true;   // no comma is pending, so a blank line makes no field
    bool more = true;        // the file may hold more than `text`

    // Drops what is consumed, keeping the text from `from` on, and appends
    // the next piece.
    const auto refill = [&](qsizetype from) {
        text.remove(0, from);
        pos = 0;
        lineBegin -= from;
        more = pieces.appendTo(text, line + (text.endsWith(u'\r') ? 1 : 0));
    };

    // A control character at `k`: refused, unless it is a Ctrl-Z with
    // nothing but line breaks after it, which ends the file there.
    const auto controlCharacter = [&](qsizetype k, qsizetype fieldBegin) {
        const char16_t c = text.at(k).unicode();
        if (k - fieldBegin > kMaxFieldSpan)
            throw readError::fieldTooLong(fileName, entries + 1, line);
        if (c != kCtrlZ || !pieces.restIsLineBreaks(QStringView(text).sliced(k + 1), line))
            throw readError::controlCharacter(fileName, c, line, k - lineBegin + 1);
        text.truncate(k);
        more = false;
        return k;
    };

    // The first line break from `from` on, or comma (unquoted) or double
    // quote (quoted); the text's end when there is none yet. A control
    // character is refused, but a Ctrl-Z with nothing but line breaks after
    // it ends the file there. `fieldBegin` is where the field's text begins.
    const auto fieldEnd = [&](qsizetype from, bool quoted, qsizetype fieldBegin) __attribute__((always_inline)) {
        const qsizetype k = scanField(text.constData(), from, text.size(), quoted);
        if (k == text.size() || !isRefused(text.at(k).unicode()))
            return k;
        return controlCharacter(k, fieldBegin);
    };

    while (true) {
        const QChar *data = text.constData();
        qsizetype i = pos;
        while (i < text.size() && isBlank(data[i].unicode()))
            ++i;
        if (i == text.size()) {
            if (more) {
                // After a comma one blank stays, so the position is still
                // not the end of the file and a field follows.
                refill(lineStart || i == pos ? i : i - 1);
                continue;
            }
            // The end-of-file test is true only where the file ends: after
            // "a," it is, after "a,  " it is not, and that is one more field.
            if (!lineStart && i > pos)
                sink.take({});
            return;
        }

        const char16_t c = data[i].unicode();
        if (isLineBreak(c)) {
            if (c == u'\r' && i + 1 == text.size() && more) {
                refill(i);
                continue;
            }
            if (!lineStart && (++entries, !sink.take({})))
                return;
            pos = lineBegin = i + (c == u'\r' && i + 1 < text.size() && data[i + 1] == u'\n' ? 2 : 1);
            ++line;
            lineStart = true;
            continue;
        }

        // A field: quoted text up to `close`, then unquoted text from `tail`
        // up to `end`, the character that ends the field.
        const bool quoted = c == u'"';
        const qsizetype close = quoted ? fieldEnd(i + 1, true, i) : i;
        const qsizetype tail = quoted && close < text.size() && data[close] == u'"' ? close + 1 : close;
        const qsizetype end = tail < text.size() ? fieldEnd(tail, false, i) : tail;
        const qsizetype size = text.size();
        if (i >= size)
            continue; // a Ctrl-Z ended the file where the field would begin
        if (end - i > kMaxFieldSpan)
            throw readError::fieldTooLong(fileName, entries + 1, line);
        if (more && (end == size || (data[end] == u'\r' && end + 1 == size))) {
            refill(i);
            continue;
        }

        qsizetype tailEnd = end;
        while (tailEnd > tail && isBlank(data[tailEnd - 1].unicode()))
            --tailEnd;
        QStringView field(data + tail, tailEnd - tail);
        if (quoted) {
            // Whatever follows the closing quote is kept, not dropped: the
            // user typed it.
            const QStringView inQuotes(data + i + 1, close - i - 1);
            if (field.isEmpty()) {
                field = inQuotes;
            } else {
                joined = inQuotes.toString();
                joined += field;
                field = joined;
            }
        }
        if (field.size() > kMaxFieldLength)
            throw readError::fieldTooLong(fileName, entries + 1, line);
        ++entries;
        if (!sink.take(field) || end == size)
            return;

        if (data[end] == u',') {
            pos = end + 1;
            lineStart = false;
        } else {
            pos = lineBegin = end + (data[end] == u'\r' && end + 1 < size && data[end + 1] == u'\n' ? 2 : 1);
            ++line;
            lineStart = true;
        }
    }
}

void readFieldsFromFile(const QString &fileName, FieldSink &sink)
{
    const QString quoted = QStringLiteral("「%1」").arg(fileName);
    const QFileInfo info(fileName);
    if (!info.exists()) {
        throw RuntimeError(err::kFileNotFound, QStringLiteral("%1が見つかりません（フォルダ %2）。")
                                                  .arg(quoted, QDir::toNativeSeparators(QDir::currentPath())));
    }
    if (info.isDir())
        throw RuntimeError(err::kPathFileAccess, QStringLiteral("%1はファイルではなくフォルダです。").arg(quoted));
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw RuntimeError(err::kPathFileAccess, QStringLiteral("%1を開けません（%2）。").arg(quoted, file.errorString()));
    readFields(file, fileName, sink);
}

} // namespace velt
