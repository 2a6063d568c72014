// velt-print [N]: prints, in UTF-8, the N sentences that a freshly started
// window would show after its first "表示" with the count N.

#include "app/command_line.h"
#include "engine/generation.h"
#include "engine/phrase_list.h"
#include "os/standard_output.h"
#include "runtime/random_source.h"
#include "runtime/runtime_error.h"
#include "runtime/system_error.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstdio>

namespace {

constexpr int kDefaultCount = 20;

QString usage()
{
    return QStringLiteral(
               "使い方: velt-print [オプション] [行数]\n"
               "\n"
               "作業フォルダーの五つのリスト（itu.dat、dare1.dat、dare2.dat、doko.dat、nani.dat）から\n"
               "言霊を作り、起動したばかりの velt が最初の「表示」で出すのと同じ文を UTF-8 で出力します。\n"
               "\n"
               "引数:\n"
               "  行数          出力する文の数（1〜%1、省略時は %2）\n"
               "\n"
               "オプション:\n"
               "  -h, --help    この説明を表示して終了します\n"
               "  --version     バージョンを表示して終了します\n"
               "\n"
               "終了ステータス: 0 成功、1 リストを読めなかったとき、2 オプションや行数の誤り\n")
        .arg(velt::kListCapacity)
        .arg(kDefaultCount);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    velt::CommandLine commandLine(QStringLiteral("velt-print"), usage());
    if (const auto status = commandLine.handle(app.arguments()))
        return *status;
    const QStringList &args = commandLine.positional();

    int count = kDefaultCount;
    if (args.size() > 1)
        return commandLine.usageError(QStringLiteral("引数が多すぎます（行数を一つだけ指定してください）。"));
    if (args.size() == 1) {
        bool ok = false;
        count = args.first().toInt(&ok);
        if (!ok || count < 1 || count > velt::kListCapacity)
            return commandLine.usageError(
                QStringLiteral("行数「%1」は 1〜%2 の整数で指定してください。").arg(args.first()).arg(velt::kListCapacity));
    }

    // Everything is composed before anything is printed, so a failure leaves
    // stdout empty.
    QString out;
    try {
        out = velt::composeSentences(velt::loadPhraseBank(), count, velt::RandomSource::process());
    } catch (const velt::RuntimeError &error) {
        velt::printErrorLine(QStringLiteral("velt-print: ")
                             + velt::formatRuntimeError(error).replace(QStringLiteral("\n\n"), QStringLiteral(" ")));
        return 1;
    }
    if (velt::writeText(stdout, out) && std::fflush(stdout) == 0)
        return 0;
    // A reader that went away (velt-print | head -1) is no news; anything
    // else is: the output the user asked for is not there.
    const velt::SystemError error = velt::SystemError::fromErrno(errno);
    if (error.kind != velt::SystemError::BrokenPipe)
        velt::printErrorLine(QStringLiteral("velt-print: 標準出力に書き込めません。") + velt::describeSystemError(error));
    return 1;
}
