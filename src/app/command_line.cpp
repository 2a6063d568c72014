#include "app/command_line.h"

#include "os/standard_output.h"
#include "version.h"

#include <QCommandLineParser>

#include <cstdio>

namespace velt {

namespace {


// The parser reports a wrong option by its bare name; the user should see it
// as typed, "-x", "--xyz" or "--help=1".
QString asTyped(const QStringList &arguments, const QString &name)
{
    for (const QString &argument : arguments.mid(1)) {
        if (argument == QLatin1String("--"))
            break;
        const qsizetype dashes = argument.startsWith(QLatin1String("--")) ? 2 : 1;
        if (argument.startsWith(u'-') && argument.mid(dashes).section(u'=', 0, 0) == name)
            return argument;
    }
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

} // namespace

void printLine(const QString &line)
{
    writeText(stdout, line + u'\n');
}

void printErrorLine(const QString &line)
{
    writeText(stderr, line + u'\n');
}

CommandLine::CommandLine(QString program, QString usage, Others others)
    : m_program(std::move(program))
    , m_usage(std::move(usage))
    , m_others(others)
{
}

std::optional<int> CommandLine::handle(const QStringList &arguments)
{
    QCommandLineParser parser;
    // "-help" and "-version" mean the options too, and "-12" is one wrong
    // option, not "-1" and "-2".
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    parser.addOption(help);
    parser.addOption(version);

    const bool understood = parser.parse(arguments);
    if (m_others == Others::Ignored) {
        for (const QString &argument : arguments.mid(1)) {
            if (!QStringList{QStringLiteral("-h"), QStringLiteral("--help"), QStringLiteral("-help"),
                             QStringLiteral("--version"), QStringLiteral("-version")}
                     .contains(argument))
                m_positional << argument;
        }
    } else if (!understood) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty())
            return usageError(QStringLiteral("不明なオプション「%1」です。").arg(asTyped(arguments, unknown.first())));
        // Neither option takes a value, so this is "--help=…" or "--version=…".
        const QString name = parser.isSet(help) ? QStringLiteral("help") : QStringLiteral("version");
        return usageError(QStringLiteral("オプション「%1」には値を付けられません。").arg(asTyped(arguments, name)));
    }
    if (parser.isSet(help) || parser.isSet(version)) {
        const QString text = parser.isSet(help) ? m_usage : m_program + u' ' + QLatin1String(version::kText) + u'\n';
        if (m_print) {
            m_print(text);
            return 0;
        }
        return writeText(stdout, text) && std::fflush(stdout) == 0 ? 0 : 1;
    }
    if (m_others == Others::Refused)
        m_positional = parser.positionalArguments();
    return std::nullopt;
}

int CommandLine::usageError(const QString &message) const
{
    printErrorLine(m_program + QStringLiteral(": ") + message);
    printErrorLine(QStringLiteral("詳しくは %1 --help を見てください。").arg(m_program));
    return kExitUsage;
}

} // namespace velt
