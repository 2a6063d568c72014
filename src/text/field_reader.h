#pragma once

#include <QString>
#include <QStringView>

#include <cstring>
#include <memory>

class QIODevice;

namespace velt {

// The longest entry a list may hold, in characters (a surrogate pair is
// one), blanks around it not counted. One longer entry, repeated over a
// batch of 2000 lines, would make the output box gigabytes long.
inline constexpr int kMaxFieldLength = 4096;

// The fields of one file, in file order, their text back to back in one
// buffer: a list is read on every tick, and one allocation per field would
// cost more than reading the file. It holds at most `capacity` fields; the
// one after them is refused, and the reading stops there.
class FieldList
{
public:
    explicit FieldList(qsizetype capacity);

    qsizetype count() const { return m_count; }
    // Field 0 to count() - 1; valid as long as the list is.
    QStringView at(qsizetype index) const
    {
        const qsizetype begin = index == 0 ? 0 : m_ends[index - 1];
        return QStringView(m_text).sliced(begin, m_ends[index] - begin);
    }
    // A field came after the list was full.
    bool overflowed() const { return m_overflowed; }

    // Adds a field; false, with nothing added, when the list is full.
    bool take(QStringView field)
    {
        if (m_count == m_capacity) {
            m_overflowed = true;
            return false;
        }
        if (m_used + field.size() > m_room)
            grow(field.size());
        if (!field.isEmpty())
            std::memcpy(m_out + m_used, field.data(), field.size() * sizeof(QChar));
        m_used += field.size();
        m_ends[m_count++] = m_used;
        return true;
    }

    // Gives back the room no field took.
    void squeeze();

private:
    void grow(qsizetype needed);

    QString m_text;
    std::unique_ptr<qsizetype[]> m_ends; // field k ends at m_ends[k]
    QChar *m_out = nullptr;              // m_text's characters, m_room of them
    qsizetype m_capacity;
    qsizetype m_room = 0;
    qsizetype m_used = 0;
    qsizetype m_count = 0;
    bool m_overflowed = false;
};

// Reads a text file field by field, the way the run-time's sequential input
// does, into `fields`:
// - a field ends at a comma or at the end of a line (CR LF, CR or LF);
// - blanks (space, tab, U+3000) before a field are skipped, and after an
//   unquoted field dropped; lines holding only blanks are passed over;
// - a field that begins with a double quote runs to the next one (or to the
//   end of its line), and text after the closing quote is kept;
// - a comma before a line break leaves an empty field; a comma at the very
//   end of the file does not, since the file ends right there;
// - a Ctrl-Z followed by nothing but line breaks ends the file; every other
//   character, control characters included, is text.
//
// The file is read in 64 KiB pieces, so memory stays bounded whatever its
// size, and reading stops when `fields` is full. A UTF-8 or UTF-16
// byte-order mark decides the encoding; without one, the first piece that
// holds non-ASCII bytes decides between code page 932 and UTF-8 (see
// guessEncoding()). Bytes that do not decode (a lone UTF-16 surrogate
// among them), NUL, and entries of more than kMaxFieldLength characters
// raise RuntimeError naming the file and the line; `fileName` only names
// the file in those messages.
void readFields(QIODevice &device, const QString &fileName, FieldList &fields);

// The same for the file `fileName` in the working folder, which is closed
// again on every way out. Raises error 53 when it does not exist, 75 when it
// cannot be opened or is not a regular file (a folder, a named pipe, a
// device), which is decided without ever waiting on it.
void readFieldsFromFile(const QString &fileName, FieldList &fields);

} // namespace velt
