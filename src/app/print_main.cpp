// velt-print [N]: prints, in UTF-8, the N sentences that a freshly started
// window would show after its first "表示" with the count N.

#include "engine/phrase_list.h"
#include "engine/generation.h"
#include "os/standard_output.h"
#include "runtime/random_source.h"
#include "runtime/runtime_error.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace {

constexpr int kDefaultCount = 20;

void printError(const QString &message)
{
    std::fputs(message.toLocal8Bit().constData(), stderr);
    std::fputc('\n', stderr);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);

    int count = kDefaultCount;
    if (args.size() > 1) {
        printError(QStringLiteral("使い方: velt-print [行数]（1〜%1、省略時は %2）").arg(velt::kListCapacity).arg(kDefaultCount));
        return 1;
    }
    if (args.size() == 1) {
        bool ok = false;
        count = args.first().toInt(&ok);
        if (!ok || count < 1 || count > velt::kListCapacity) {
            printError(QStringLiteral("velt-print: 行数「%1」は 1〜%2 の整数で指定してください。")
                           .arg(args.first())
                           .arg(velt::kListCapacity));
            return 1;
        }
    }

    // Everything is composed before anything is printed, so a failure leaves
    // stdout empty.
    QByteArray out;
    try {
        out = velt::composeSentences(velt::loadPhraseBank(), count, velt::RandomSource::process()).toUtf8();
    } catch (const velt::RuntimeError &error) {
        printError(QStringLiteral("velt-print: ") + velt::formatRuntimeError(error).replace(QStringLiteral("\n\n"), QStringLiteral(" ")));
        return 1;
    }
    velt::makeStandardOutputBinary();
    std::fwrite(out.constData(), 1, static_cast<size_t>(out.size()), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
