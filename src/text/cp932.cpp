#include "text/cp932.h"

#include "text/text_encoding.h"

#include <QList>

#include <algorithm>

// What every converter shares (cp932_icu.cpp and cp932_win.cpp convert):
// the longest prefix that decodes, found with the converter's own decode(),
// so that it is exactly as strict here as everywhere else.

namespace velt::cp932 {

qsizetype validPrefix(QByteArrayView bytes)
{
    if (decode(bytes))
        return bytes.size();
    // Where each character ends, by its lead byte; then the longest run of
    // whole characters that decodes, found by halving.
    QList<qsizetype> ends;
    for (qsizetype i = 0; i < bytes.size();) {
        i = std::min(bytes.size(), i + characterLength(static_cast<unsigned char>(bytes[i]), TextEncoding::Cp932));
        ends.append(i);
    }
    qsizetype good = 0; // characters known to decode
    qsizetype bad = ends.size(); // characters known not to
    while (bad - good > 1) {
        const qsizetype mid = (good + bad) / 2;
        (decode(bytes.first(ends[mid - 1])) ? good : bad) = mid;
    }
    return good == 0 ? 0 : ends[good - 1];
}

} // namespace velt::cp932
