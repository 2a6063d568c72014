#include "text/piece_decoder.h"

#include "text/cp932.h"
#include "text/read_errors.h"

#include <QIODevice>

#include <algorithm>

namespace velt {
namespace {

// Read a piece at a time: few calls to the system, and memory bounded
// whatever the file's size.
constexpr qsizetype kPieceSize = 64 * 1024;
// How much of the file's start is searched for NUL bytes.
constexpr qsizetype kStart = 16 * 1024;

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

// The decision depends on the window's bytes alone, and every tick reads the
// same lists again: the last few windows are kept with their answers, so a
// list that did not change costs a comparison, not a decision.
TextEncoding rememberedGuess(QByteArrayView window)
{
    struct Remembered
    {
        QByteArray window;
        TextEncoding encoding = TextEncoding::Ascii;
    };
    thread_local Remembered remembered[8];
    thread_local int next = 0;
    for (const Remembered &r : remembered) {
        if (r.window == window)
            return r.encoding;
    }
    Remembered &slot = remembered[next];
    next = (next + 1) % int(std::size(remembered));
    slot.window = window.toByteArray();
    slot.encoding = guessEncoding(window);
    return slot.encoding;
}

} // namespace

PieceDecoder::PieceDecoder(QIODevice &device, const QString &fileName)
    : m_device(device)
    , m_fileName(fileName)
{
}

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

// The start of the file: a byte-order mark, or NUL bytes that show a
// UTF-16 file without its mark or a file that is not text at all. Either
// would otherwise end in a message about undecodable bytes.
void PieceDecoder::readStart()
{
    m_started = true;
    while (!m_deviceDone && m_raw.size() < kStart)
        readMore();
    qsizetype markLength = 0;
    m_encoding = encodingFromByteOrderMark(m_raw, &markLength);
    m_raw.remove(0, markLength);
    if (m_encoding != TextEncoding::Ascii && m_encoding != TextEncoding::Utf8)
        return;
    const QByteArrayView start = QByteArrayView(m_raw).first(std::min(m_raw.size(), kStart - markLength));
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
    m_encoding = rememberedGuess(wholeCharactersWithin(QByteArrayView(m_raw).sliced(firstNonAscii), kEncodingWindow));
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
    const qsizetype cut = cutAfterLastLowByte(m_raw);
    if (cut > 0 || size < kPieceSize)
        return cut;
    // A whole piece without one, far more than a field may hold: cut after
    // the last character that is whole by its lead byte.
    qsizetype i = 0;
    while (true) {
        const qsizetype length = characterLength(bytes[i], m_encoding);
        if (i + length > size)
            return i;
        i += length;
    }
}

// Appends the piece's text up to the first character that does not decode;
// false when there is one.
bool PieceDecoder::decodeInto(QByteArrayView piece, QString &text) const
{
    // Pieces end after a line break as a rule, leaving nothing to keep: then
    // the text is taken over, not copied.
    const auto take = [&text](QString &&decoded) {
        if (text.isEmpty())
            text = std::move(decoded);
        else
            text.append(decoded);
    };
    switch (m_encoding) {
    case TextEncoding::Ascii:
        text.append(QLatin1StringView(piece));
        return true;
    case TextEncoding::Cp932:
        if (std::optional<QString> decoded = cp932::decode(piece)) {
            take(std::move(*decoded));
            return true;
        }
        text.append(*cp932::decode(piece.first(cp932::validPrefix(piece))));
        return false;
    case TextEncoding::Utf8: {
        // Qt's fastest UTF-8 path marks what does not decode with U+FFFD; only
        // then, or for a U+FFFD of the file's own, is the piece checked.
        QString decoded = decodeUtf8(piece);
        if (!decoded.contains(QChar::ReplacementCharacter) || isValidUtf8(piece)) {
            take(std::move(decoded));
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
    QString decoded(piece.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i + 1 < piece.size(); i += 2) {
        const auto a = static_cast<unsigned char>(piece[i]);
        const auto b = static_cast<unsigned char>(piece[i + 1]);
        decoded[i / 2] = QChar(little ? char16_t(a | b << 8) : char16_t(a << 8 | b));
    }
    const qsizetype whole = firstUnpairedSurrogate(decoded);
    const bool complete = whole == decoded.size() && piece.size() % 2 == 0;
    decoded.truncate(whole);
    take(std::move(decoded));
    return complete;
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

} // namespace velt
