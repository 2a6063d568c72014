#include "platform/sequential_input.h"

#include "platform/cp932.h"
#include "platform/runtime_error.h"
#include "platform/text_encoding.h"

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
    return c == u' ' || c == u'\t' || c == u'\u3000';
}

bool isLineBreak(char16_t c)
{
    return c == u'\r' || c == u'\n';
}

// The first character at or below the comma from `from` on (or `size`):
// every character that can end a field or is refused sorts there, and
// Japanese text never does, so the common case is a run of skipped blocks.
qsizetype firstAtOrBelowComma(const QChar *data, qsizetype from, qsizetype size)
{
    qsizetype i = from;
#if defined(__SSE2__)
    const __m128i comma = _mm_set1_epi16(u',');
    const __m128i zero = _mm_setzero_si128();
    for (; i + 8 <= size; i += 8) {
        const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i));
        // Saturating subtraction leaves zero exactly where char <= ','.
        const int hits = _mm_movemask_epi8(_mm_cmpeq_epi16(_mm_subs_epu16(chars, comma), zero));
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

bool hasNonAscii(QByteArrayView bytes)
{
    return std::any_of(bytes.begin(), bytes.end(), [](char b) { return static_cast<unsigned char>(b) >= 0x80; });
}

// The lines `bytes` holds before its end, CR LF counting once; a first LF
// right after a CR that ended the bytes before is part of that line break.
int lineBreaksIn(QByteArrayView bytes, bool afterCR)
{
    int breaks = 0;
    for (qsizetype i = afterCR && bytes.startsWith('\n') ? 1 : 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n' || (bytes[i] == '\r' && !(i + 1 < bytes.size() && bytes[i + 1] == '\n')))
            ++breaks;
    }
    return breaks;
}

QString quotedName(const QString &fileName)
{
    return QStringLiteral("「%1」").arg(fileName);
}

[[noreturn]] void failTooLong(const QString &fileName, int entry, int line)
{
    throw RuntimeError(err::OutOfStringSpace,
                       QStringLiteral("%1の %2 番目の項目（%3 行目）が長すぎます。1 項目は %4 文字までです。")
                           .arg(quotedName(fileName))
                           .arg(entry)
                           .arg(line)
                           .arg(kMaxFieldLength));
}

[[noreturn]] void failNul(const QString &fileName, int line)
{
    throw RuntimeError(err::InputPastEnd,
                       QStringLiteral("%1の %2 行目に NUL 文字があります。テキストファイルではないようです。"
                                      "リストはテキストエディタで作り、テキストとして保存してください。")
                           .arg(quotedName(fileName))
                           .arg(line));
}

[[noreturn]] void failControl(const QString &fileName, char16_t c, int line, qsizetype column)
{
    if (c == 0)
        failNul(fileName, line);
    throw RuntimeError(err::InputPastEnd,
                       QStringLiteral("%1の %2 行目 %3 文字目に制御文字（U+%4）があります。"
                                      "テキストエディタで取り除いてください。")
                           .arg(quotedName(fileName))
                           .arg(line)
                           .arg(column)
                           .arg(QString::number(c, 16).toUpper().rightJustified(4, u'0')));
}

// The bytes side of the reading: reads the device a piece at a time, cuts
// each piece where no character is split, settles the encoding and decodes.
class PieceDecoder
{
public:
    PieceDecoder(QIODevice &device, const QString &fileName)
        : m_device(device)
        , m_fileName(fileName)
    {
    }

    // Appends the next piece, decoded, to `text`; false when the file holds
    // nothing more. `line` is the line the appended text starts on, and
    // `entry` the number of the field being read, for messages.
    bool appendTo(QString &text, int line, int entry);

    // Whether nothing but line breaks follows `rest` to the end of the
    // file. Reads, and drops, whatever it looks at.
    bool restIsLineBreaks(QStringView rest, int line);

private:
    void readMore();
    void checkStart();
    qsizetype safeCut() const;
    bool decodeInto(QByteArrayView piece, QString &text);
    [[noreturn]] void failUndecodable(QByteArrayView piece, int line, bool afterCR) const;

    QIODevice &m_device;
    const QString &m_fileName;
    QByteArray m_raw; // read, not yet decoded
    bool m_deviceDone = false;
    bool m_started = false;
    TextEncoding m_encoding = TextEncoding::Ascii;
    QStringDecoder m_unicode; // for UTF-8 and UTF-16; code page 932 has its own
};

void PieceDecoder::readMore()
{
    const qsizetype before = m_raw.size();
    m_raw.resize(before + kPieceSize);
    const qint64 got = m_device.read(m_raw.data() + before, kPieceSize);
    m_raw.resize(before + std::max<qint64>(got, 0));
    if (got < 0) {
        throw RuntimeError(err::DeviceIo, QStringLiteral("%1を読み込めません（%2）。")
                                              .arg(quotedName(m_fileName), m_device.errorString()));
    }
    m_deviceDone = got == 0;
}

// The start of the file: a byte-order mark, or NUL bytes that show a
// UTF-16 file without its mark or a file that is not text at all. Either
// would otherwise end in a message about undecodable bytes.
void PieceDecoder::checkStart()
{
    m_started = true;
    qsizetype markLength = 0;
    m_encoding = encodingFromByteOrderMark(m_raw, &markLength);
    m_raw.remove(0, markLength);
    if (m_encoding == TextEncoding::Utf8)
        m_unicode = QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    if (m_encoding == TextEncoding::Utf16LE || m_encoding == TextEncoding::Utf16BE) {
        m_unicode = QStringDecoder(m_encoding == TextEncoding::Utf16LE ? QStringConverter::Utf16LE
                                                                      : QStringConverter::Utf16BE,
                                   QStringConverter::Flag::Stateless);
        return;
    }
    const QByteArrayView start = QByteArrayView(m_raw).first(std::min(m_raw.size(), kPieceSize));
    const auto nul = std::find(start.begin(), start.end(), '\0');
    if (nul == start.end())
        return;
    if (looksLikeUtf16(start)) {
        throw RuntimeError(err::InputPastEnd,
                           QStringLiteral("%1は UTF-16 で保存されているようですが、先頭にバイト順マーク（BOM）が"
                                          "ないため読めません。UTF-8 か、BOM 付きの UTF-16 で保存し直してください。")
                               .arg(quotedName(m_fileName)));
    }
    failNul(m_fileName, 1 + lineBreaksIn(start.first(nul - start.begin()), false));
}

// Where the bytes read so far can be cut with every character whole.
qsizetype PieceDecoder::safeCut() const
{
    const auto *bytes = reinterpret_cast<const unsigned char *>(m_raw.constData());
    qsizetype n = m_raw.size();
    if (m_encoding == TextEncoding::Utf16LE || m_encoding == TextEncoding::Utf16BE) {
        n &= ~qsizetype(1);
        // A lead surrogate waits for its partner.
        const unsigned char high = n < 2 ? 0 : m_encoding == TextEncoding::Utf16LE ? bytes[n - 1] : bytes[n - 2];
        return high >= 0xD8 && high <= 0xDB ? n - 2 : n;
    }
    // A byte below 0x40 is never part of a multi-byte character in code
    // page 932 or UTF-8.
    while (n > 0 && bytes[n - 1] >= 0x40)
        --n;
    return n;
}

bool PieceDecoder::decodeInto(QByteArrayView piece, QString &text)
{
    switch (m_encoding) {
    case TextEncoding::Ascii:
        text.append(QLatin1StringView(piece));
        return true;
    case TextEncoding::Cp932:
        if (const std::optional<QString> decoded = cp932::decode(piece)) {
            text.append(*decoded);
            return true;
        }
        return false;
    default:
        m_unicode.resetState();
        text.append(m_unicode(piece));
        return !m_unicode.hasError();
    }
}

bool PieceDecoder::appendTo(QString &text, int line, int entry)
{
    while (true) {
        if (!m_deviceDone && m_raw.size() < kPieceSize)
            readMore();
        if (!m_started) {
            if (!m_deviceDone && m_raw.size() < 3)
                continue;
            checkStart();
        }
        if (m_raw.isEmpty()) {
            if (m_deviceDone)
                return false;
            continue;
        }
        const qsizetype cut = m_deviceDone ? m_raw.size() : safeCut();
        if (cut == 0) {
            // No character in a whole piece ends: whatever field this is,
            // it is far longer than any entry may be.
            if (m_raw.size() >= kPieceSize)
                failTooLong(m_fileName, entry, line);
            continue;
        }
        const QByteArrayView piece(m_raw.constData(), cut);
        if (m_encoding == TextEncoding::Ascii && hasNonAscii(piece)) {
            m_encoding = guessEncoding(piece);
            if (m_encoding == TextEncoding::Utf8)
                m_unicode = QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        }
        const bool afterCR = text.endsWith(u'\r');
        if (!decodeInto(piece, text))
            failUndecodable(piece, line, afterCR);
        m_raw.remove(0, cut);
        return true;
    }
}

bool PieceDecoder::restIsLineBreaks(QStringView rest, int line)
{
    const auto onlyLineBreaks = [](QStringView text) {
        return std::all_of(text.begin(), text.end(), [](QChar c) { return isLineBreak(c.unicode()); });
    };
    QString next;
    while (onlyLineBreaks(rest)) {
        next.clear();
        if (!appendTo(next, line, 0))
            return true;
        rest = next;
    }
    return false;
}

// Names the first line of the piece that does not decode, counting from
// `line`, the line the piece starts on.
void PieceDecoder::failUndecodable(QByteArrayView piece, int line, bool afterCR) const
{
    const bool utf16 = m_encoding == TextEncoding::Utf16LE || m_encoding == TextEncoding::Utf16BE;
    bool alsoNotUtf8 = false;
    qsizetype start = afterCR && piece.startsWith('\n') ? 1 : 0;
    while (!utf16 && start <= piece.size()) {
        qsizetype end = start;
        while (end < piece.size() && piece[end] != '\r' && piece[end] != '\n')
            ++end;
        const QByteArrayView bytes = piece.sliced(start, end - start);
        const bool ok = m_encoding == TextEncoding::Cp932 ? cp932::decode(bytes).has_value() : isValidUtf8(bytes);
        if (!ok) {
            alsoNotUtf8 = m_encoding == TextEncoding::Cp932 && !isValidUtf8(bytes);
            break;
        }
        if (end + 1 < piece.size() && piece[end] == '\r' && piece[end + 1] == '\n')
            ++end;
        start = end + 1;
        ++line;
    }
    const QString encoding = alsoNotUtf8 ? QStringLiteral("Shift_JIS としても UTF-8 としても")
        : m_encoding == TextEncoding::Cp932 ? QStringLiteral("Shift_JIS として")
        : utf16                             ? QStringLiteral("UTF-16 として")
                                            : QStringLiteral("UTF-8 として");
    throw RuntimeError(err::InputPastEnd,
                       QStringLiteral("%1の %2 行目に%3読めない文字があります。"
                                      "ファイルを UTF-8 か Shift_JIS で保存し直してください。")
                           .arg(quotedName(m_fileName))
                           .arg(line)
                           .arg(encoding));
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
        more = pieces.appendTo(text, line + (text.endsWith(u'\r') ? 1 : 0), entries + 1);
    };

    // The first line break from `from` on, or comma (unquoted) or double
    // quote (quoted); the text's end when there is none yet. A Ctrl-Z with
    // nothing but line breaks after it ends the file here.
    const auto fieldEnd = [&](qsizetype from, bool quoted) {
        const QChar *data = text.constData();
        const qsizetype size = text.size();
        for (qsizetype k = from; (k = firstAtOrBelowComma(data, k, size)) < size; ++k) {
            const char16_t c = data[k].unicode();
            if (isLineBreak(c) || c == (quoted ? u'"' : u','))
                return k;
            if (c < 0x20 && c != u'\t') {
                if (c == kCtrlZ && pieces.restIsLineBreaks(QStringView(text).sliced(k + 1), line)) {
                    text.truncate(k);
                    more = false;
                    return k;
                }
                failControl(fileName, c, line, k - lineBegin + 1);
            }
        }
        return size;
    };

    const auto hand = [&](QStringView field) {
        if (field.size() > kMaxFieldLength)
            failTooLong(fileName, entries + 1, line);
        ++entries;
        return sink.take(field);
    };

    while (true) {
        qsizetype i = pos;
        while (i < text.size() && isBlank(text.at(i).unicode()))
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
                hand({});
            return;
        }

        const char16_t c = text.at(i).unicode();
        if (isLineBreak(c)) {
            if (c == u'\r' && i + 1 == text.size() && more) {
                refill(i);
                continue;
            }
            if (!lineStart && !hand({}))
                return;
            pos = lineBegin = i + (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n' ? 2 : 1);
            ++line;
            lineStart = true;
            continue;
        }

        // A field: quoted text up to `close`, then unquoted text from `tail`
        // up to `end`, the character that ends the field.
        const bool quoted = c == u'"';
        const qsizetype close = quoted ? fieldEnd(i + 1, true) : i;
        const qsizetype tail = quoted && close < text.size() && text.at(close) == u'"' ? close + 1 : close;
        const qsizetype end = tail < text.size() ? fieldEnd(tail, false) : tail;
        if (i >= text.size())
            continue; // a Ctrl-Z ended the file where the field would begin
        if (more && (end == text.size() || (text.at(end) == u'\r' && end + 1 == text.size()))) {
            if (text.size() - i > kMaxFieldSpan)
                failTooLong(fileName, entries + 1, line);
            refill(i);
            continue;
        }

        qsizetype tailEnd = end;
        while (tailEnd > tail && isBlank(text.at(tailEnd - 1).unicode()))
            --tailEnd;
        const QStringView rest = QStringView(text).sliced(tail, tailEnd - tail);
        QStringView field = rest;
        if (quoted) {
            field = QStringView(text).sliced(i + 1, close - i - 1);
            // Whatever follows the closing quote is kept, not dropped: the
            // user typed it.
            if (!rest.isEmpty()) {
                joined = field.toString();
                joined += rest;
                field = joined;
            }
        }
        if (!hand(field) || end == text.size())
            return;

        if (text.at(end) == u',') {
            pos = end + 1;
            lineStart = false;
        } else {
            pos = lineBegin = end + (text.at(end) == u'\r' && end + 1 < text.size() && text.at(end + 1) == u'\n' ? 2 : 1);
            ++line;
            lineStart = true;
        }
    }
}

void readFieldsFromFile(const QString &fileName, FieldSink &sink)
{
    const QFileInfo info(fileName);
    if (!info.exists()) {
        throw RuntimeError(err::FileNotFound,
                           QStringLiteral("%1が見つかりません（フォルダ %2）。")
                               .arg(quotedName(fileName), QDir::toNativeSeparators(QDir::currentPath())));
    }
    if (info.isDir()) {
        throw RuntimeError(err::PathFileAccess,
                           QStringLiteral("%1はファイルではなくフォルダです。").arg(quotedName(fileName)));
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        throw RuntimeError(err::PathFileAccess,
                           QStringLiteral("%1を開けません（%2）。").arg(quotedName(fileName), file.errorString()));
    }
    readFields(file, fileName, sink);
}

} // namespace velt
