#include "platform/sequential_input.h"

#include "platform/cp932.h"
#include "platform/runtime_error.h"

#include <algorithm>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <QDir>
#include <QFileInfo>
#include <QIODevice>

namespace velt {
namespace {

constexpr qsizetype kPieceSize = 16 * 1024;

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\u3000';
}

bool isLineBreak(char16_t c)
{
    return c == u'\r' || c == u'\n';
}

bool isForbiddenControl(char16_t c)
{
    return c < 0x20 && c != u'\t' && c != u'\r' && c != u'\n';
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

// A byte below 0x40 is never the second byte of a code page 932 character
// and never part of a UTF-8 multi-byte sequence, so the bytes can be cut
// after it and each side decoded on its own.
qsizetype safeCut(const QByteArray &bytes)
{
    for (qsizetype i = bytes.size(); i > 0; --i) {
        if (static_cast<unsigned char>(bytes[i - 1]) < 0x40)
            return i;
    }
    return 0;
}

bool hasNonAscii(QByteArrayView bytes)
{
    for (char b : bytes) {
        if (static_cast<unsigned char>(b) >= 0x80)
            return true;
    }
    return false;
}

bool decodesAs(QByteArrayView bytes, const char *codec)
{
    QStringDecoder decoder(codec, QStringConverter::Flag::Stateless);
    const QString text = decoder(bytes); // the decoder converts only when its result is taken
    return !decoder.hasError();
}

// A strict UTF-8 check that stops at the first bad byte: code page 932 text
// fails it within a character or two, long before a full decode would end.
bool isValidUtf8(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *end = p + bytes.size();
    while (p < end) {
        const unsigned char b = *p;
        if (b < 0x80) {
            ++p;
            continue;
        }
        int extra = 0;
        char32_t min = 0;
        char32_t cp = 0;
        if ((b & 0xE0) == 0xC0) {
            extra = 1; min = 0x80; cp = b & 0x1F;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2; min = 0x800; cp = b & 0x0F;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3; min = 0x10000; cp = b & 0x07;
        } else {
            return false;
        }
        if (end - p <= extra)
            return false;
        for (int i = 1; i <= extra; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (p[i] & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        p += extra + 1;
    }
    return true;
}

QString displayName(const QString &fileName)
{
    return QStringLiteral("「%1」").arg(fileName);
}

} // namespace

SequentialInput::SequentialInput(QIODevice &device, QString fileName)
    : m_device(device)
    , m_fileName(std::move(fileName))
{
}

int SequentialInput::peek()
{
    while (m_pos >= m_text.size()) {
        if (!fill())
            return -1;
    }
    return m_text.at(m_pos).unicode();
}

bool SequentialInput::fill()
{
    m_text.clear();
    m_pos = 0;
    while (true) {
        if (!m_deviceDone) {
            const qsizetype before = m_raw.size();
            m_raw.resize(before + kPieceSize);
            const qint64 got = m_device.read(m_raw.data() + before, kPieceSize);
            if (got < 0) {
                throw RuntimeError(err::DeviceIo,
                                   QStringLiteral("%1を読み込めません（%2）。")
                                       .arg(displayName(m_fileName), m_device.errorString()));
            }
            m_raw.resize(before + got);
            if (got == 0)
                m_deviceDone = true;
        }
        if (m_raw.isEmpty()) {
            if (m_deviceDone)
                return false;
            continue;
        }

        const qsizetype cut = m_deviceDone ? m_raw.size() : safeCut(m_raw);
        if (cut == 0) {
            // No byte in the whole piece can end a field: whatever field
            // this is, it is far longer than any entry may be.
            if (m_raw.size() >= kPieceSize)
                failTooLong();
            continue;
        }
        const QByteArrayView piece(m_raw.constData(), cut);
        decodePiece(piece);
        m_rawEndsInCR = piece.endsWith('\r');
        m_raw.remove(0, cut);
        if (!m_text.isEmpty())
            return true;
    }
}

void SequentialInput::decodePiece(QByteArrayView piece)
{
    if (!m_started) {
        m_started = true;
        if (piece.startsWith("\xEF\xBB\xBF")) {
            m_encoding = Encoding::Utf8;
            piece = piece.sliced(3);
        }
    }
    if (m_encoding == Encoding::Undecided && hasNonAscii(piece))
        m_encoding = isValidUtf8(piece) ? Encoding::Utf8 : Encoding::Cp932;
    if (m_encoding != Encoding::Undecided && !m_decoder.isValid()) {
        m_decoder = m_encoding == Encoding::Utf8
            ? QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless)
            : QStringDecoder(cp932::codecName(), QStringConverter::Flag::Stateless);
        if (!m_decoder.isValid()) {
            throw RuntimeError(err::InputPastEnd,
                               QStringLiteral("Shift_JIS（コードページ 932）を変換できません。"
                                              "この Qt は ICU なしでビルドされています。"));
        }
    }
    if (m_encoding == Encoding::Undecided) {
        m_text = QString::fromLatin1(piece);
        return;
    }
    m_text = m_decoder(piece);
    if (m_decoder.hasError())
        failDecoding(piece);
}

void SequentialInput::failDecoding(QByteArrayView piece)
{
    // The piece starts on the reader's current line (or ends its CR LF).
    int line = m_line;
    qsizetype start = 0;
    if (m_rawEndsInCR && piece.startsWith('\n'))
        start = 1;
    const bool utf8 = m_encoding == Encoding::Utf8;
    while (start <= piece.size()) {
        qsizetype end = start;
        while (end < piece.size() && piece[end] != '\r' && piece[end] != '\n')
            ++end;
        const QByteArrayView bytes = piece.sliced(start, end - start);
        const bool ok = utf8 ? isValidUtf8(bytes) : decodesAs(bytes, cp932::codecName());
        if (!ok)
            break;
        if (end < piece.size() && piece[end] == '\r' && end + 1 < piece.size() && piece[end + 1] == '\n')
            ++end;
        start = end + 1;
        ++line;
    }
    throw RuntimeError(err::InputPastEnd,
                       QStringLiteral("%1の %2 行目に %3 として読めない文字があります。")
                           .arg(displayName(m_fileName))
                           .arg(line)
                           .arg(utf8 ? QStringLiteral("UTF-8") : QStringLiteral("Shift_JIS")));
}

void SequentialInput::failControlCharacter()
{
    throw RuntimeError(err::InputPastEnd,
                       QStringLiteral("%1の %2 行目に制御文字（NUL など）があります。"
                                      "テキストファイルではないようです。")
                           .arg(displayName(m_fileName))
                           .arg(m_line));
}

void SequentialInput::failTooLong()
{
    throw RuntimeError(err::OutOfStringSpace,
                       QStringLiteral("%1の %2 番目の項目（%3 行目）が長すぎます。"
                                      "1 項目は %4 文字までです。")
                           .arg(displayName(m_fileName))
                           .arg(m_fieldsParsed + 1)
                           .arg(m_line)
                           .arg(MAX_FIELD_LENGTH));
}

void SequentialInput::consumeLineBreak()
{
    const char16_t c = m_text.at(m_pos).unicode();
    ++m_pos;
    ++m_line;
    if (c == u'\r' && peek() == u'\n')
        ++m_pos;
}

bool SequentialInput::atEnd()
{
    if (!m_atLineStart || m_fieldReady)
        return false;
    // Pass over blank lines and lines of nothing but blanks; the blanks
    // before a field would be skipped by readFieldInto() anyway.
    while (true) {
        int c = peek();
        while (c >= 0 && isBlank(static_cast<char16_t>(c))) {
            ++m_pos;
            c = peek();
        }
        if (c < 0)
            return true;
        if (!isLineBreak(static_cast<char16_t>(c))) {
            m_fieldReady = true;
            return false;
        }
        consumeLineBreak();
    }
}

// The end of the field text that starts at `from` in the decoded piece: the
// first line break, or comma (unquoted) or double quote (quoted), or the
// piece's end. A refused control character raises error 62 for `line`.
qsizetype SequentialInput::fieldEnd(qsizetype from, bool quoted, int line)
{
    const QChar *data = m_text.constData();
    const qsizetype size = m_text.size();
    qsizetype k = from;
    while ((k = firstAtOrBelowComma(data, k, size)) < size) {
        const char16_t c = data[k].unicode();
        if (c == u'\r' || c == u'\n' || (quoted ? c == u'"' : c == u','))
            break;
        if (isForbiddenControl(c)) {
            m_pos = k;
            m_line = line;
            failControlCharacter();
        }
        ++k;
    }
    return k;
}

// Appends text up to (not including) the end of the field, across pieces.
void SequentialInput::scanUntil(QString &out, qsizetype fieldStart, bool quoted)
{
    while (peek() >= 0) {
        const qsizetype from = m_pos;
        const qsizetype i = fieldEnd(from, quoted, m_line);
        if (out.size() - fieldStart + (i - from) > MAX_FIELD_LENGTH)
            failTooLong();
        out.append(m_text.constData() + from, i - from);
        m_pos = i;
        if (i < m_text.size())
            return;
    }
}

void SequentialInput::readPlainFields(QString &text, QList<qsizetype> &ends, qsizetype maxFields)
{
    const QChar *data = m_text.constData();
    const qsizetype size = m_text.size();
    if (m_pos >= size)
        return;
    // Room for the rest of the piece, written straight through a pointer
    // and cut back to what was used on the way out.
    const qsizetype base = text.size();
    text.resize(base + (size - m_pos));
    QChar *const out = text.data() + base;
    qsizetype written = 0;

    // Everything up to `done` is consumed; the loop leaves whatever it cannot
    // finish inside this piece (a quote, a piece boundary, an overlong
    // field) to readFieldInto(), standing between two fields.
    qsizetype done = m_pos;
    bool lineStart = m_atLineStart && !m_fieldReady;
    int line = m_line;
    while (ends.size() < maxFields) {
        qsizetype j = done;
        char16_t c = 0;
        while (true) {
            while (j < size && isBlank(data[j].unicode()))
                ++j;
            if (j >= size)
                goto finished;
            c = data[j].unicode();
            if (!lineStart || (c != u'\r' && c != u'\n'))
                break;
            // A blank line: passed over.
            if (c == u'\r') {
                if (j + 1 >= size)
                    goto finished;
                if (data[j + 1] == u'\n')
                    ++j;
            }
            done = ++j;
            ++line;
        }
        if (c == u'"')
            break;

        const qsizetype k = fieldEnd(j, false, line);
        // The field, and for CR the character after it, must be in the piece.
        if (k >= size || (data[k] == u'\r' && k + 1 >= size))
            break;
        qsizetype end = k;
        while (end > j && isBlank(data[end - 1].unicode()))
            --end;
        if (end - j > MAX_FIELD_LENGTH)
            break;
        std::copy(data + j, data + end, out + written);
        written += end - j;
        ends.append(base + written);
        ++m_fieldsParsed;

        done = k + 1;
        if (data[k] == u',') {
            lineStart = false;
        } else {
            if (data[k] == u'\r' && data[done] == u'\n')
                ++done;
            ++line;
            lineStart = true;
        }
    }
finished:
    text.resize(base + written);
    if (done != m_pos) {
        m_pos = done;
        m_line = line;
        m_atLineStart = lineStart;
        m_fieldReady = false;
    }
}

void SequentialInput::readFieldsInto(QString &text, QList<qsizetype> &ends, qsizetype maxFields)
{
    while (ends.size() < maxFields) {
        readPlainFields(text, ends, maxFields);
        if (ends.size() >= maxFields || atEnd())
            return;
        readFieldInto(text);
        ends.append(text.size());
    }
}

QString SequentialInput::readField()
{
    QString field;
    readFieldInto(field);
    return field;
}

qsizetype SequentialInput::readFieldInto(QString &out)
{
    if (atEnd()) {
        throw RuntimeError(err::InputPastEnd,
                           QStringLiteral("%1にはこれ以上項目がありません。").arg(displayName(m_fileName)));
    }
    m_fieldReady = false;
    int c = peek();
    while (c >= 0 && isBlank(static_cast<char16_t>(c))) {
        ++m_pos;
        c = peek();
    }

    const qsizetype fieldStart = out.size();
    qsizetype keep = fieldStart; // blanks up to here are part of the field
    if (c == u'"') {
        ++m_pos;
        scanUntil(out, fieldStart, true);
        if (peek() == u'"')
            ++m_pos;
        // Whatever follows the closing quote on the way to the comma is
        // kept, not dropped: the user typed it.
        keep = out.size();
    }
    scanUntil(out, fieldStart, false);
    qsizetype end = out.size();
    while (end > keep && isBlank(out.at(end - 1).unicode()))
        --end;
    out.truncate(end);

    ++m_fieldsParsed;
    c = peek();
    if (c == u',') {
        ++m_pos;
        m_atLineStart = false;
    } else {
        if (c >= 0)
            consumeLineBreak();
        m_atLineStart = true;
    }
    return out.size() - fieldStart;
}

SequentialInputFile::SequentialInputFile(const QString &fileName)
    : m_file(fileName)
    , m_input(m_file, fileName)
{
    const QFileInfo info(fileName);
    if (!info.exists()) {
        throw RuntimeError(err::FileNotFound,
                           QStringLiteral("%1が見つかりません（フォルダ %2）。")
                               .arg(displayName(fileName), QDir::toNativeSeparators(QDir::currentPath())));
    }
    if (info.isDir()) {
        throw RuntimeError(err::PathFileAccess,
                           QStringLiteral("%1はファイルではなくフォルダです。").arg(displayName(fileName)));
    }
    if (!m_file.open(QIODevice::ReadOnly)) {
        throw RuntimeError(err::PathFileAccess,
                           QStringLiteral("%1を開けません（%2）。").arg(displayName(fileName), m_file.errorString()));
    }
}

} // namespace velt
