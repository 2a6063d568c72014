#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringDecoder>

class QIODevice;

namespace velt {

// The longest entry a list may hold. One longer entry, repeated over a batch
// of 2000 lines, would make the output box gigabytes long.
inline constexpr int MAX_FIELD_LENGTH = 4096;

// Reads a text file field by field, the way the run-time's sequential input
// does: a field ends at a comma or at the end of a line, leading blanks are
// skipped, and a field that begins with a double quote runs to the next one.
//
// The file is decoded piece by piece (16 KiB at a time), so memory stays
// bounded whatever the file's size; a caller that stops asking for fields
// stops the reading. Bytes that do not decode, control characters such as
// NUL, and fields longer than MAX_FIELD_LENGTH raise RuntimeError naming the
// file and the line.
//
// Files that start with a UTF-8 byte-order mark, or whose first non-ASCII
// text is valid UTF-8, are read as UTF-8; all others as code page 932.
class SequentialInput
{
public:
    SequentialInput(QIODevice &device, QString fileName);
    SequentialInput(const SequentialInput &) = delete;
    SequentialInput &operator=(const SequentialInput &) = delete;

    // True exactly when no further field stands in the file. Blank lines,
    // and lines holding nothing but blanks, are passed over.
    bool atEnd();

    // The next field; raises error 62 when there is none.
    QString readField();

    // Appends the next field to `out` and returns its length, so a caller
    // that keeps many fields can keep them in one buffer.
    qsizetype readFieldInto(QString &out);

    // Reads fields until the end of the file or until `ends` holds
    // `maxFields` offsets: each field is appended to `text` and its end
    // offset to `ends`. The same as calling atEnd() and readFieldInto() in
    // turn, only without their cost per field.
    void readFieldsInto(QString &text, QList<qsizetype> &ends, qsizetype maxFields);

    // The line the reader stands on, counted from 1.
    int line() const { return m_line; }

    enum class Encoding { Undecided, Cp932, Utf8 };
    Encoding encoding() const { return m_encoding; }

private:
    bool fill();
    void decodePiece(QByteArrayView piece);
    [[noreturn]] void failDecoding(QByteArrayView piece);
    [[noreturn]] void failControlCharacter();
    [[noreturn]] void failTooLong();
    int peek();
    void consumeLineBreak();
    qsizetype fieldEnd(qsizetype from, bool quoted, int line);
    void scanUntil(QString &out, qsizetype fieldStart, bool quoted);
    void readPlainFields(QString &text, QList<qsizetype> &ends, qsizetype maxFields);

    QIODevice &m_device;
    QString m_fileName;
    QByteArray m_raw;          // bytes read but not yet decoded
    QString m_text;            // the decoded piece being parsed
    qsizetype m_pos = 0;
    int m_line = 1;
    int m_fieldsParsed = 0;
    bool m_atLineStart = true; // no comma is pending on this line
    bool m_fieldReady = false; // atEnd() found a field and stands on it
    bool m_rawEndsInCR = false;
    bool m_deviceDone = false;
    bool m_started = false;
    Encoding m_encoding = Encoding::Undecided;
    QStringDecoder m_decoder;
};

// A list or text file opened by its bare name, relative to the working
// folder, for sequential input. The file is closed when this goes out of
// scope, whichever way that happens.
class SequentialInputFile
{
public:
    // Raises error 53 when the file does not exist, 75 when it is a folder
    // or cannot be opened.
    explicit SequentialInputFile(const QString &fileName);

    bool atEnd() { return m_input.atEnd(); }
    QString readField() { return m_input.readField(); }
    SequentialInput &input() { return m_input; }

private:
    QFile m_file;
    SequentialInput m_input;
};

} // namespace velt
