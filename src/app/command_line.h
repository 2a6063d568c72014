#pragma once

// The options both programs take, the way desktop programs take them:
// -h/--help and --version end with status 0, a wrong option or argument with
// one line and a pointer to --help and status 2. QCommandLineParser reads
// them, but the texts are our own: its help and errors are English, and its
// process() ends with status 1, which the programs keep for list errors.

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace velt {

inline constexpr int kExitUsage = 2;

class CommandLine
{
public:
    // What becomes of an argument that is neither --help nor --version: a
    // command-line tool refuses it; a window program, which Explorer's "Open
    // with" or a file dropped on it hands arguments, leaves it aside.
    enum class Others { Refused, Ignored };

    // `program` names the program in messages; `usage` is the whole --help
    // text.
    CommandLine(QString program, QString usage, Others others = Others::Refused);

    // Reads `arguments` (the program's own name first). Returns the status
    // to end with when the program should stop here: after printing the help
    // or the version, or after telling of a wrong option.
    std::optional<int> handle(const QStringList &arguments);

    // What is left once the options are taken out; with Others::Ignored,
    // every argument but the two options, as typed.
    const QStringList &positional() const { return m_positional; }

    // Where --help and --version go: standard output unless set.
    void setOutput(std::function<void(const QString &)> print) { m_print = std::move(print); }

    // Prints "<program>: <message>" and the pointer to --help on stderr;
    // returns kExitUsage.
    int usageError(const QString &message) const;

private:
    QString m_program;
    QString m_usage;
    Others m_others;
    std::function<void(const QString &)> m_print;
    QStringList m_positional;
};

// One line on stdout or stderr, in the encoding the terminal expects.
void printLine(const QString &line);
void printErrorLine(const QString &line);

} // namespace velt
