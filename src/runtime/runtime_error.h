#pragma once

#include <QString>

#include <exception>

namespace velt {

// The run-time's error numbers that this program can raise. They are the
// numbers a user of the original program would recognise in a report.
namespace err {
inline constexpr int InvalidCall = 5;        // a list that admits no sentence
inline constexpr int SubscriptOutOfRange = 9;
inline constexpr int TypeMismatch = 13;
inline constexpr int OutOfStringSpace = 14;  // an entry too long to show
inline constexpr int FileNotFound = 53;
inline constexpr int DeviceIo = 57;
inline constexpr int InputPastEnd = 62;      // also: bytes that do not decode
inline constexpr int PathFileAccess = 75;
} // namespace err

// The one error type of the lower layers. It carries the run-time error
// number and a message for the user that names the file concerned; only the
// window's event handlers turn it into a message box.
class RuntimeError : public std::exception
{
public:
    RuntimeError(int number, QString message);

    int number() const noexcept { return m_number; }
    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_what.constData(); }

    // The run-time's standard text for an error number (used when nothing
    // more specific is known).
    static QString standardMessage(int number);

private:
    int m_number;
    QString m_message;
    QByteArray m_what;
};

// How a report reads everywhere: "実行時エラー '53':" and the message.
QString formatRuntimeError(const RuntimeError &error);

} // namespace velt
