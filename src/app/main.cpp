// velt: the window program. It takes no arguments but --help and --version
// (any other it sets aside, saying so) and keeps no settings; it reads its
// lists from, and saves into, the working folder.

#include "app/command_line.h"
#include "os/display_check.h"
#include "os/memory_policy.h"
#include "os/standard_output.h"
#include "ui/application.h"
#include "ui/main_window.h"
#include "ui/message_box_reporter.h"

#include <QApplication>
#include <QCoreApplication>
#include <QScreen>

#include <cstdio>
#include <optional>
#include <string>

namespace {

QString usage()
{
    return QStringLiteral(
        "使い方: velt [オプション]\n"
        "\n"
        "作業フォルダーの五つのリスト（itu.dat、dare1.dat、dare2.dat、doko.dat、nani.dat）から\n"
        "一つずつ言葉を選んで文（言霊）を作るウィンドウを開きます。\n"
        "表示した文は velt.txt に保存できます。\n"
        "\n"
        "オプション:\n"
        "  -h, --help    この説明を表示して終了します\n"
        "  --version     バージョンを表示して終了します\n");
}

struct Answer
{
    int status;
    QString shown; // for a message box: there was no console to print it on
};

// Read before the display check and before any QApplication exists, so that
// --help and --version answer on a console without a display.
std::optional<Answer> handleCommandLine(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    velt::CommandLine commandLine(QStringLiteral("velt"), usage(), velt::CommandLine::Others::Ignored);
    QString shown;
    if (!velt::standardOutputReachable())
        commandLine.setOutput([&shown](const QString &text) { shown += text; });
    if (const auto status = commandLine.handle(app.arguments()))
        return Answer{*status, shown};
    QString ignored;
    for (const QString &argument : commandLine.positional())
        ignored += QStringLiteral("「%1」").arg(argument);
    velt::printErrorLine(
        QStringLiteral("velt: 引数%1を使わずに起動します（velt はオプションのほかに引数を取りません）。").arg(ignored));
    return std::nullopt;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc > 1) {
        if (const auto answer = handleCommandLine(argc, argv)) {
            if (answer->shown.isEmpty())
                return answer->status;
            // Started from Explorer or a shortcut: the text goes where the
            // user can read it.
            int qtArgc = 1;
            QApplication app(qtArgc, argv);
            velt::setUpApplication();
            velt::MessageBoxReporter().report(answer->shown.trimmed(), nullptr);
            return answer->status;
        }
    }
    if (const std::string problem = velt::missingDisplay(); !problem.empty()) {
        std::fputs(problem.c_str(), stderr);
        return 1;
    }
    velt::keepFreedMemoryForReuse();
    // Qt's own options (-platform, -style...) are set aside with the rest:
    // nothing on the command line changes how the window starts.
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    velt::setUpApplication();

    auto *window = new velt::MainWindow;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->adjustSize();
    const QRect screen = window->screen()->availableGeometry();
    window->move(screen.center() - window->rect().center());
    window->show();
    return app.exec();
}
