#pragma once

#include <QString>

#include <exception>

namespace velt {

// The run-time's error numbers this program raises (kept on purpose: see
// docs/behaviour.md).
namespace err {
inline constexpr int kInvalidCall = 5;        // a list that admits no sentence
inline constexpr int kSubscriptOutOfRange = 9;
inline constexpr int kTypeMismatch = 13;
inline constexpr int kOutOfStringSpace = 14;  // an entry too long to show
inline constexpr int kFileNotFound = 53;
inline constexpr int kDeviceIo = 57;
inline constexpr int kInputPastEnd = 62;      // also: bytes that do not decode
inline constexpr int kPathFileAccess = 75;
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
