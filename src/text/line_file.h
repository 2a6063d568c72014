#pragma once

#include <QString>

namespace velt {

// Writes `text` and one further line break to `fileName` in the working
// folder, every line break as CR LF. The file is in code page 932 whenever
// that can represent the text, otherwise UTF-8 with a byte-order mark, so
// nothing is turned into "?".
//
// The text goes into a new file beside the old one, which takes the old
// one's place only once it is completely written; the old file is never
// written. A failure leaves it as it was and raises error 75 naming the
// file, saying why in words the user can act on. A folder that takes no new
// file refuses the save, even where the old file itself is writable.
void writeLineFile(const QString &fileName, const QString &text);

// The bytes writeLineFile() would write.
QByteArray encodeLineFile(const QString &text);

} // namespace velt
