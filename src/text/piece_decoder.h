#pragma once

#include "text/text_encoding.h"

#include <QByteArray>
#include <QString>

class QIODevice;

namespace velt {

// The bytes side of reading a list: reads the device in 64 KiB pieces, cuts
// each where no character is split, settles the encoding (a byte-order mark,
// or the first non-ASCII bytes, see guessEncoding()) and decodes strictly. A
// character that does not decode ends its piece; the error is raised by the
// next call, when the reading has got there, so that problems are told in
// file order. NUL bytes in the first 16 KiB tell a file that is not text, or
// UTF-16 without its mark, and are reported at once.
class PieceDecoder
{
public:
    PieceDecoder(QIODevice &device, const QString &fileName);

    // Appends the next piece, decoded, to `text`; false when the file holds
    // nothing more. `line` is the line the appended text starts on, which an
    // error about it names.
    bool appendTo(QString &text, int line);

private:
    void readMore();
    void readStart();
    void decide(qsizetype firstNonAscii);
    qsizetype cutPoint() const;
    bool decodeInto(QByteArrayView piece, QString &text) const;

    QIODevice &m_device;
    const QString &m_fileName;
    QByteArray m_raw; // read, not yet decoded
    bool m_deviceDone = false;
    bool m_started = false;
    bool m_undecodable = false; // the next byte begins a character that does not decode
    TextEncoding m_encoding = TextEncoding::Ascii;
};

} // namespace velt
