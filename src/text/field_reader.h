#pragma once

#include <QString>
#include <QStringView>

class QIODevice;

namespace velt {

// The longest entry a list may hold, in characters (a surrogate pair is
// one), blanks around it not counted. One longer entry, repeated over a
// batch of 2000 lines, would make the output box gigabytes long.
inline constexpr int kMaxFieldLength = 4096;

// Receives the fields of a text file one at a time, in file order.
class FieldSink
{
public:
    virtual ~FieldSink() = default;
    // False stops the reading after this field.
    virtual bool take(QStringView field) = 0;
};

// Reads a text file field by field, the way the run-time's sequential input
// does, and hands each field to `sink`:
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
// The file is read in 16 KiB pieces, so memory stays bounded whatever its
// size, and reading stops when the sink says so. A UTF-8 or UTF-16
// byte-order mark decides the encoding; without one, the first piece that
// holds non-ASCII bytes decides between code page 932 and UTF-8 (see
// guessEncoding()). Bytes that do not decode (a lone UTF-16 surrogate
// among them), NUL, and entries of more than kMaxFieldLength characters
// raise RuntimeError naming the file and the line; `fileName` only names
// the file in those messages.
void readFields(QIODevice &device, const QString &fileName, FieldSink &sink);

// The same for the file `fileName` in the working folder, which is closed
// again on every way out. Raises error 53 when it does not exist, 75 when it
// cannot be opened or is not a regular file (a folder, a named pipe, a
// device), which is decided without ever waiting on it.
void readFieldsFromFile(const QString &fileName, FieldSink &sink);

} // namespace velt
