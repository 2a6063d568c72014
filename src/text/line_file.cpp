#include "text/line_file.h"

#include "text/cp932.h"
#include "text/regular_file.h"
#include "runtime/runtime_error.h"
#include "text/text_encoding.h"

#include <QDir>
#include <QFileInfo>

namespace velt {
namespace {

QString saveFailureReason(const SystemError &error, const ReplaceResult &result, const QString &fileName)
{
    const QString folder = QDir::toNativeSeparators(result.folder);
    switch (error.kind) {
    case SystemError::NotFound:
        return QStringLiteral("フォルダ「%1」がもうありません（削除されたか移動されました）。"
                              "VELT を終了し、リストのあるフォルダで起動し直してください。")
            .arg(folder);
    case SystemError::NoPermission:
        // The old file may well be writable: the new text goes into a new
        // file beside it, so that a failure can never cost the old one.
        if (result.step == ReplaceResult::CreatingNew)
            return QStringLiteral("フォルダ「%1」に新しいファイルを作る許可がありません。VELT は新しいファイルに書いてから"
                                  "置き換えるので、フォルダへの書き込みの許可が要ります。フォルダの許可を変えるか、"
                                  "書き込みできるフォルダで VELT を起動してください。")
                .arg(folder);
        return QStringLiteral("フォルダ「%1」のファイルを置き換える許可がないか、ほかのプログラムが「%2」を使っています。"
                              "そのプログラムを閉じるか、フォルダの許可を確かめてから、もう一度保存してください。")
            .arg(folder, fileName);
    default:
        return describeSystemError(error);
    }
}

} // namespace

QByteArray encodeLineFile(const QString &text)
{
    // Text boxes hand back LF (and may hold CR LF or a lone CR); the file
    // always gets CR LF.
    QString crlf = text;
    crlf.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    crlf.replace(u'\r', u'\n');
    crlf.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    crlf += QStringLiteral("\r\n");

    QString folded = crlf;
    for (const auto &[from, to] : cp932::kAliases)
        folded.replace(QChar(from), QChar(to));
    if (auto bytes = cp932::encode(folded))
        return *bytes;
    return QByteArray("\xEF\xBB\xBF") + crlf.toUtf8();
}

void writeLineFile(const QString &fileName, const QString &text)
{
    const QFileInfo info(fileName);
    const bool existed = info.isFile();
    const auto fail = [&](const QString &reason) {
        // Said only when true: the old file is never written, but there may
        // have been none.
        const QString kept = existed ? QStringLiteral("前の「%1」はそのまま残っています。").arg(fileName) : QString();
        throw RuntimeError(err::kPathFileAccess,
                           QStringLiteral("「%1」に保存できません。%2%3").arg(fileName, reason, kept));
    };

    // Nothing is written as "?": a character no encoding can hold is told.
    if (const qsizetype bad = firstUnpairedSurrogate(text); bad < text.size())
        fail(QStringLiteral("%1 行目に文字として読めない符号（U+%2）があります。")
                 .arg(QStringView(text).first(bad).count(u'\n') + 1)
                 .arg(text.at(bad).unicode(), 4, 16, QLatin1Char('0')));
    if (info.isDir())
        fail(QStringLiteral("同じ名前のフォルダがあります。フォルダの名前を変えてから、もう一度保存してください。"));
    // Replacing by rename would ignore a read-only mark the user set.
    if (existed && !info.isWritable())
        fail(QStringLiteral("ファイルが読み取り専用です。読み取り専用を外してから、もう一度保存してください。"));

    const ReplaceResult result = replaceFile(fileName, encodeLineFile(text));
    if (!result.error)
        return;
    fail(saveFailureReason(*result.error, result, fileName));
}

} // namespace velt
