#include "plain_reader.h"

#include "engine/phrase_list.h"
#include "text/cp932.h"
#include "text/read_errors.h"
#include "text/field_reader.h"
#include "text/text_encoding.h"

#include <QIODevice>
#include <QList>

#include <algorithm>
#include <cstdint>

#include <optional>

namespace velt::fuzz {
namespace {

constexpr qsizetype kStart = 16 * 1024; // how much of the file is searched for NUL bytes
constexpr int kEnd = -1; // what `at` answers past the end

bool isBlank(int c)
{
    return c == u' ' || c == u'\t' || c == u'\u3000';
}

bool isLineBreak(int c)
{
    return c == u'\r' || c == u'\n';
}

// CR LF counts once.
int lineBreaks(QStringView text)
{
    int breaks = 0;
    for (qsizetype i = 0; i < text.size(); ++i)
        breaks += text[i] == u'\n' || (text[i] == u'\r' && !(i + 1 < text.size() && text[i + 1] == u'\n'));
    return breaks;
}

// The text of `bytes`, or nothing when any character in them does not
// decode.
std::optional<QString> decodeWhole(QByteArrayView bytes, TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Ascii:
        return QString::fromLatin1(bytes);
    case TextEncoding::Cp932:
        return cp932::decode(bytes);
    case TextEncoding::Utf8: {
        QString text = decodeUtf8(bytes);
        if (text.toUtf8() != bytes)
            return std::nullopt;
        return text;
    }
    default:
        if (bytes.size() % 2 != 0)
            return std::nullopt;
        QString text;
        for (qsizetype i = 0; i < bytes.size(); i += 2) {
            const auto a = static_cast<unsigned char>(bytes[i]);
            const auto b = static_cast<unsigned char>(bytes[i + 1]);
            text += QChar(encoding == TextEncoding::Utf16LE ? char16_t(a | b << 8) : char16_t(a << 8 | b));
        }
        if (!QStringView(text).isValidUtf16())
            return std::nullopt;
        return text;
    }
}

// Hands the bytes out a few at a time, as a pipe or a slow disk may, in
// read lengths that follow from the file itself: the reader's pieces then
// end anywhere, not only every 64 KiB.
class ShortReads : public QIODevice
{
public:
    explicit ShortReads(QByteArrayView bytes)
        : m_bytes(bytes)
        , m_step(std::uint32_t(bytes.size()) * 2654435761u)
    {
    }

protected:
    qint64 readData(char *data, qint64 max) override
    {
        m_step = m_step * 1103515245u + 12345u;
        const qint64 length = std::min({max, m_bytes.size() - m_at, qint64(1 + (m_step >> 16) % 3000)});
        std::copy_n(m_bytes.data() + m_at, length, data);
        m_at += length;
        return length;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArrayView m_bytes;
    qsizetype m_at = 0;
    std::uint32_t m_step;
};

} // namespace

QStringList readFieldsPlainly(QByteArrayView file, const QString &fileName, int maxFields)
{
    // The encoding: a mark, else the first non-ASCII byte and what follows.
    qsizetype mark = 0;
    TextEncoding encoding = encodingFromByteOrderMark(file, &mark);
    const QByteArrayView body = file.sliced(mark);
    if (encoding == TextEncoding::Ascii || encoding == TextEncoding::Utf8) {
        const QByteArrayView start = body.first(std::min(body.size(), kStart - mark));
        if (const qsizetype nul = start.indexOf('\0'); nul >= 0) {
            if (looksLikeUtf16(start))
                throw readError::utf16WithoutMark(fileName);
            throw readError::notText(fileName, 1 + lineBreaks(QString::fromLatin1(start.first(nul))));
        }
    }
    if (encoding == TextEncoding::Ascii) {
        for (qsizetype j = 0; j < body.size(); ++j) {
            if (static_cast<unsigned char>(body[j]) < 0x80)
                continue;
            encoding = guessEncoding(wholeCharactersWithin(body.sliced(j), kEncodingWindow));
            break;
        }
    }

    // The text up to the first character that does not decode: characters
    // end where their first byte says, and a run of whole characters decodes
    // exactly when each of them does (a UTF-16 surrogate pair is two units,
    // and a run ending between them does not decode).
    const bool utf16 = encoding == TextEncoding::Utf16LE || encoding == TextEncoding::Utf16BE;
    const auto unitAt = [&](qsizetype i) {
        const auto a = static_cast<unsigned char>(body[i]);
        const auto b = static_cast<unsigned char>(body[i + 1]);
        return encoding == TextEncoding::Utf16LE ? char16_t(a | b << 8) : char16_t(a << 8 | b);
    };
    QList<qsizetype> ends;
    for (qsizetype i = 0; i < body.size();) {
        qsizetype length = characterLength(static_cast<unsigned char>(body[i]), encoding);
        if (utf16 && i + 4 <= body.size() && QChar::isHighSurrogate(unitAt(i)) && QChar::isLowSurrogate(unitAt(i + 2)))
            length = 4;
        i = std::min(body.size(), i + length);
        ends << i;
    }
    const auto firstBad = std::partition_point(ends.cbegin(), ends.cend(), [&](qsizetype end) {
        return decodeWhole(body.first(end), encoding).has_value();
    });
    QString text = *decodeWhole(body.first(firstBad == ends.cbegin() ? 0 : *(firstBad - 1)), encoding);
    const bool undecodable = firstBad != ends.cend();

    QStringList fields;
    int line = 1;
    qsizetype p = 0;
    // The character at `k`, or kEnd at the end of the file. A Ctrl-Z with
    // only line breaks after it is the end of the file.
    const auto at = [&](qsizetype k) -> int {
        if (k >= text.size()) {
            if (undecodable)
                throw readError::undecodable(fileName, line, encoding);
            return kEnd;
        }
        if (text[k] != u'\x1A')
            return text[k].unicode();
        const QStringView rest = QStringView(text).sliced(k + 1);
        for (const QChar c : rest) {
            if (!isLineBreak(c.unicode()))
                return u'\x1A';
        }
        if (undecodable)
            throw readError::undecodable(fileName, line + lineBreaks(rest), encoding);
        text.truncate(k);
        return kEnd;
    };
    const auto endOfLine = [&] {
        p += at(p) == u'\r' && p + 1 < text.size() && text[p + 1] == u'\n' ? 2 : 1;
        ++line;
    };

    bool lineStart = true;
    while (fields.size() < maxFields) {
        const qsizetype before = p;
        while (isBlank(at(p)))
            ++p;
        int c = at(p);
        if (c == kEnd) {
            if (!lineStart && p > before)
                fields << QString();
            break;
        }
        if (isLineBreak(c)) {
            if (!lineStart)
                fields << QString();
            endOfLine();
            lineStart = true;
            continue;
        }

        // Every character but NUL is text; the entry's length counts
        // characters (a surrogate pair once) and no blank that may yet end it.
        QString quoted;
        QString plain;
        qsizetype characters = 0;
        qsizetype blankRun = 0; // blanks at the end of the unquoted text
        const auto take = [&](QString &into, bool inQuotes) {
            while (true) {
                c = at(p);
                if (c == kEnd || isLineBreak(c) || c == (inQuotes ? u'"' : u','))
                    return;
                if (c == 0)
                    throw readError::notText(fileName, line);
                into += QChar(char16_t(c));
                characters += !QChar::isLowSurrogate(char16_t(c));
                blankRun = !inQuotes && isBlank(c) ? blankRun + 1 : 0;
                if (characters - blankRun > kMaxFieldLength)
                    throw readError::fieldTooLong(fileName, int(fields.size()) + 1, line);
                ++p;
            }
        };
        const bool isQuoted = c == u'"';
        if (isQuoted) {
            ++p;
            take(quoted, true);
            if (c == u'"')
                ++p;
        }
        take(plain, false);
        while (!plain.isEmpty() && isBlank(plain.back().unicode()))
            plain.chop(1);
        fields << quoted + plain;
        if (c == kEnd)
            break;
        if (c == u',') {
            ++p;
            lineStart = false;
        } else {
            endOfLine();
            lineStart = true;
        }
    }
    return fields;
}

QString differenceFromPlainReader(QByteArrayView file)
{
    const QString name = QStringLiteral("itu.dat");
    // Entries, or the error as "number: message"; a full list is error 9
    // whatever the loader's wording.
    const auto outcome = [](const QStringList &entries, const RuntimeError *error) {
        if (error)
            return QStringLiteral("%1: %2").arg(error->number()).arg(error->number() == 9 ? QString() : error->message());
        if (entries.size() > kListCapacity)
            return QStringLiteral("9: ");
        QString text = QStringLiteral("%1 entries").arg(entries.size());
        for (const QString &entry : entries)
            text += QStringLiteral("\n[%1]").arg(entry);
        return text;
    };

    QString plain;
    try {
        plain = outcome(readFieldsPlainly(file, name, kListCapacity + 1), nullptr);
    } catch (const RuntimeError &error) {
        plain = outcome({}, &error);
    }

    QString real;
    ShortReads device(file);
    device.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    try {
        const PhraseList list = loadPhraseList(device, name);
        QStringList entries;
        for (int i = 1; i <= list.count(); ++i)
            entries << list.entry(i).toString();
        real = outcome(entries, nullptr);
    } catch (const RuntimeError &error) {
        real = outcome({}, &error);
    }
    return real == plain ? QString() : QStringLiteral("reader: %1\nplain:  %2").arg(real, plain);
}

} // namespace velt::fuzz
