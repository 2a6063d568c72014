#pragma once

// Test text as the bytes a list file holds.

#include "text/cp932.h"

#include <QByteArray>
#include <QString>

namespace velt::test {

// Text from a UTF-16 literal, whatever it holds (u"…" with \u escapes).
inline QString s(const char16_t *text)
{
    return QString::fromUtf16(text);
}

// In code page 932; a fixture it cannot hold stops the test program.
inline QByteArray sjis(const QString &text)
{
    const auto bytes = cp932::encode(text);
    if (!bytes)
        qFatal("fixture text is not representable in code page 932");
    return *bytes;
}

// In UTF-16, without a byte-order mark.
inline QByteArray utf16(const QString &text, bool bigEndian)
{
    QByteArray bytes;
    for (const QChar c : text) {
        const char high = char(c.unicode() >> 8);
        const char low = char(c.unicode() & 0xFF);
        bytes += bigEndian ? QByteArray{&high, 1} + low : QByteArray{&low, 1} + high;
    }
    return bytes;
}

} // namespace velt::test
