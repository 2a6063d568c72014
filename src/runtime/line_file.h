#pragma once

#include <QString>

namespace velt {

// Writes `text` and one further line break to `fileName` in the working
// folder, every line break as CR LF. The file is in code page 932 whenever
// that can represent the text, otherwise UTF-8 with a byte-order mark, so
// nothing is turned into "?".
//
// The old file is replaced only once the new one is completely written; a
// failure leaves it as it was and raises error 75 naming the file. Where the
// folder cannot hold a temporary file but the file itself is writable, the
// file is written in place.
void writeLineFile(const QString &fileName, const QString &text);

// The bytes writeLineFile() would write.
QByteArray encodeLineFile(const QString &text);

} // namespace velt
