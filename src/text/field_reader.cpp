#include "text/field_reader.h"

#include "text/piece_decoder.h"
#include "text/read_errors.h"
#include "text/regular_file.h"

#include <QFile>

#include <algorithm>


namespace velt {
namespace {

constexpr char16_t kCtrlZ = 0x1A;
constexpr int kEnd = -1; // what peek() answers at the end of the file

bool isBlank(char16_t c)
{
    return c <= u' ' ? c == u' ' || c == u'\t' : c == u'\u3000';
}

bool isLineBreak(char16_t c)
{
    return c == u'\r' || c == u'\n';
}

// The first character at or below the comma from `from` on (or `size`):
// every character that can end a field sorts there, and Japanese text
// never does. (A vector scan measured 2 to 4 % faster on whole lists, too
// little to keep.)
Q_ALWAYS_INLINE qsizetype firstAtOrBelowComma(const QChar *data, qsizetype from, qsizetype size)
{
    qsizetype i = from;
    while (i < size && data[i].unicode() > u',')
        ++i;
    return i;
}

// The first character from `from` on that stops a field's text: `closing`
// (a comma, or the double quote that closes a quoted part), a line break,
// NUL or Ctrl-Z; `size` when there is none.
Q_ALWAYS_INLINE qsizetype findStop(const QChar *data, qsizetype from, qsizetype size, char16_t closing)
{
    for (qsizetype k = from; (k = firstAtOrBelowComma(data, k, size)) < size; ++k) {
        const char16_t c = data[k].unicode();
        if (c == closing || isLineBreak(c) || c == 0 || c == kCtrlZ)
            return k;
    }
    return size;
}

// Characters, a surrogate pair counting once: the decoder lets no unpaired
// surrogate through.
qsizetype characterCount(QStringView text)
{
    return text.size() - std::count_if(text.begin(), text.end(), [](QChar c) { return c.isLowSurrogate(); });
}

// The decoded text of a file and where the reading stands in it. Only the
// field being read and the piece after it are held: the text before `keep`
// is dropped whenever another piece is appended.
struct Cursor
{
    Cursor(QIODevice &device, const QString &fileName)
        : pieces(device, fileName)
        , fileName(fileName)
    {
    }

    char16_t at(qsizetype k) const { return text.at(k).unicode(); }
    qsizetype size() const { return text.size(); }

    // Drops the text before `keep` and appends the next piece, which starts
    // `linesAhead` lines below the current one. Returns how far the text
    // moved; `pos` moves with it, and `keep` becomes 0.
    qsizetype fill(int linesAhead = 0)
    {
        const qsizetype dropped = keep;
        text.remove(0, dropped);
        pos -= dropped;
        keep = 0;
        more = pieces.appendTo(text, line + linesAhead);
        return dropped;
    }

    PieceDecoder pieces;
    const QString &fileName;
    QString text;
    qsizetype pos = 0;  // the next character to read
    qsizetype keep = 0; // where the field being read begins
    int line = 1;
    int entries = 0;    // fields handed on so far
    bool more = true;   // the file may hold more than `text`
};

// Where a field's parts lie, as offsets from its first character
// (`Cursor::keep`), which stay right when the text before it is dropped.
struct FieldShape
{
    bool quoted = false;     // the field begins with a double quote
    qsizetype quoteEnd = 0;  // where the quoted part stopped (its closing quote, if any)
    qsizetype tail = 0;      // where the unquoted text begins
    qsizetype dropAt = -1;   // blanks after this were dropped unread; -1 when none were
};

// Whether the Ctrl-Z at `pos` is followed by nothing but line breaks, as
// older editors end a text; then the text ends there. Otherwise the Ctrl-Z
// is a character like any other.
bool ctrlZEndsFile(Cursor &in)
{
    qsizetype next = in.pos + 1;
    int lines = 0; // CR LF counted at its CR
    while (true) {
        for (; next < in.size() && isLineBreak(in.at(next)); ++next)
            lines += in.at(next) == u'\r' || in.at(next - 1) != u'\r';
        if (next < in.size())
            return false;
        if (!in.more)
            break;
        next -= in.fill(lines);
    }
    in.text.truncate(in.pos);
    return true;
}

// The field's text so far, up to `end`: the quoted part and the unquoted
// text after it, without the blanks that end the latter.
struct FieldText
{
    QStringView quoted;
    QStringView plain;
};

FieldText fieldText(const Cursor &in, const FieldShape &shape, qsizetype end, bool inQuotes)
{
    const QStringView text(in.text);
    const qsizetype start = in.keep;
    if (inQuotes)
        return {text.sliced(start + 1, end - start - 1), {}};
    const qsizetype tail = start + shape.tail;
    while (end > tail && isBlank(text[end - 1].unicode()))
        --end;
    return {shape.quoted ? text.sliced(start + 1, shape.quoteEnd - 1) : QStringView(), text.sliced(tail, end - tail)};
}

qsizetype offsetOf(const Cursor &in, const QChar *at)
{
    return at - in.text.constData();
}

// Raises the error for an entry longer than kMaxFieldLength characters once
// the text read so far (blanks that may yet end it aside) is: the rest of
// the field is then never read, so memory stays bounded.
FieldText refuseIfTooLong(const Cursor &in, const FieldShape &shape, bool inQuotes)
{
    const FieldText field = fieldText(in, shape, in.pos, inQuotes);
    const bool pastDroppedBlanks = !inQuotes && shape.dropAt >= 0 && offsetOf(in, field.plain.end()) > in.keep + shape.dropAt;
    if (pastDroppedBlanks
        || (field.quoted.size() + field.plain.size() > kMaxFieldLength
            && characterCount(field.quoted) + characterCount(field.plain) > kMaxFieldLength))
        throw readError::fieldTooLong(in.fileName, in.entries + 1, in.line);
    return field;
}

// Reads on to what ends the quoted part (a double quote) or the field (a
// comma), or to a line break or the end of the file, and leaves `pos` there.
void scanTo(Cursor &in, FieldShape &shape, bool inQuotes)
{
    const char16_t closing = inQuotes ? u'"' : u',';
    while (true) {
        in.pos = findStop(in.text.constData(), in.pos, in.size(), closing);
        if (in.pos < in.size()) {
            const char16_t c = in.at(in.pos);
            if (c != 0 && c != kCtrlZ)
                return;
            refuseIfTooLong(in, shape, inQuotes); // what came first is told first
            if (c == 0)
                throw readError::notText(in.fileName, in.line);
            if (ctrlZEndsFile(in))
                return;
            ++in.pos;
            continue;
        }
        if (!in.more)
            return;
        const FieldText field = refuseIfTooLong(in, shape, inQuotes);
        // Blanks after the text are dropped with the field's end, or make it
        // too long if text follows them; a run longer than any entry need not
        // be kept to tell which.
        if (!inQuotes) {
            const qsizetype textEnd = offsetOf(in, field.plain.end());
            if (shape.dropAt >= 0 || in.size() - textEnd > kMaxFieldLength) {
                in.text.truncate(textEnd);
                in.pos = textEnd;
                shape.dropAt = textEnd - in.keep;
            }
        }
        in.fill();
    }
}

// Reads the field that begins at `pos` (neither a blank nor a line break)
// and leaves `pos` on what ends it: a comma, a line break or the end of the
// file. A quoted part runs to the next double quote, or to the end of its
// line; what follows its closing quote is kept, not dropped, since the user
// typed it.
QStringView readField(Cursor &in, QString &joined)
{
    in.keep = in.pos;
    FieldShape shape;
    if (in.at(in.pos) == u'"') {
        shape.quoted = true;
        ++in.pos;
        scanTo(in, shape, true);
        shape.quoteEnd = in.pos - in.keep;
        if (in.pos < in.size() && in.at(in.pos) == u'"')
            ++in.pos;
    }
    shape.tail = in.pos - in.keep;
    scanTo(in, shape, false);
    const FieldText field = refuseIfTooLong(in, shape, false);
    if (field.plain.isEmpty())
        return field.quoted;
    if (field.quoted.isEmpty())
        return field.plain;
    joined = field.quoted.toString();
    joined += field.plain;
    return joined;
}

// The character at `pos`, or kEnd at the end of the file (or at a Ctrl-Z
// that ends it). The text before `pos` may be dropped.
int peek(Cursor &in)
{
    while (in.pos == in.size()) {
        if (!in.more)
            return kEnd;
        in.keep = in.pos;
        in.fill();
    }
    const char16_t c = in.at(in.pos);
    if (c == kCtrlZ) {
        in.keep = in.pos;
        if (ctrlZEndsFile(in))
            return kEnd;
    }
    return c;
}

// Skips the blanks at `pos`; whether there were any.
bool skipBlanks(Cursor &in)
{
    bool skipped = false;
    while (true) {
        while (in.pos < in.size() && isBlank(in.at(in.pos))) {
            ++in.pos;
            skipped = true;
        }
        if (in.pos < in.size() || !in.more)
            return skipped;
        in.keep = in.pos;
        in.fill();
    }
}

// Moves past the line break at `pos`: CR LF, a lone CR or a lone LF.
void endLine(Cursor &in)
{
    if (in.at(in.pos++) == u'\r') {
        while (in.pos == in.size() && in.more) {
            in.keep = in.pos;
            in.fill(1);
        }
        if (in.pos < in.size() && in.at(in.pos) == u'\n')
            ++in.pos;
    }
    ++in.line;
}

} // namespace

FieldList::FieldList(qsizetype capacity)
    : m_ends(std::make_unique_for_overwrite<qsizetype[]>(capacity))
    , m_capacity(capacity)
{
}

void FieldList::grow(qsizetype needed)
{
    // A list of everyday entries fits the first size without growing; the
    // room is written before it is read, so it is not cleared first.
    QString more(std::max({m_used + needed, 2 * m_room, qsizetype(32 * 1024)}), Qt::Uninitialized);
    if (m_used > 0)
        std::memcpy(more.data(), m_out, m_used * sizeof(QChar));
    m_text = std::move(more);
    m_room = m_text.size();
    m_out = m_text.data();
}

void FieldList::squeeze()
{
    m_text.truncate(m_used);
    m_out = m_text.data();
    m_room = m_used;
}

void readFields(QIODevice &device, const QString &fileName, FieldList &fields)
{
    Cursor in(device, fileName);
    QString joined;        // a quoted field with text after its closing quote
    bool lineStart = true; // no comma is pending, so a blank line makes no field
    while (true) {
        // The common lines first: an unquoted field that ends at a comma or
        // a line break in the text at hand, short enough by its length
        // alone, is taken straight from the text. Anything else takes the
        // general steps below, from the same place.
        {
            const QChar *data = in.text.constData();
            const qsizetype size = in.size();
            qsizetype pos = in.pos;
            while (pos < size && data[pos].unicode() > u',' && data[pos].unicode() != u'\u3000') {
                const qsizetype end = findStop(data, pos, size, u',');
                const char16_t stop = end < size ? data[end].unicode() : 0;
                const bool lineEnds = stop == u'\n' || (stop == u'\r' && end + 1 < size);
                if ((stop != u',' && !lineEnds) || end - pos > kMaxFieldLength)
                    break;
                qsizetype textEnd = end;
                while (isBlank(data[textEnd - 1].unicode()))
                    --textEnd;
                ++in.entries;
                if (!fields.take(QStringView(data + pos, textEnd - pos)))
                    return;
                lineStart = lineEnds;
                in.line += lineEnds;
                pos = end + (stop == u'\r' && data[end + 1] == u'\n' ? 2 : 1);
            }
            in.pos = pos;
        }

        const bool blanks = skipBlanks(in);
        const int c = peek(in);
        if (c == kEnd) {
            // The end-of-file test is true only where the file ends: after
            // "a," it is, after "a,  " it is not, and that is one more field.
            if (!lineStart && blanks)
                fields.take({});
            return;
        }
        if (isLineBreak(c)) {
            if (!lineStart && (++in.entries, !fields.take({})))
                return;
            endLine(in);
            lineStart = true;
            continue;
        }
        const QStringView field = readField(in, joined);
        ++in.entries;
        if (!fields.take(field))
            return;
        const int end = peek(in);
        if (end == kEnd)
            return;
        if (end == u',') {
            ++in.pos;
            lineStart = false;
        } else {
            endLine(in);
            lineStart = true;
        }
    }
}

void readFieldsFromFile(const QString &fileName, FieldList &fields)
{
    QFile file;
    const OpenResult opened = openRegularFile(file, fileName);
    if (opened.error)
        throw readError::cannotOpen(fileName, *opened.error);
    if (opened.kind != FileKind::Regular)
        throw readError::notRegular(fileName, opened.kind);
    readFields(file, fileName, fields);
}

} // namespace velt
