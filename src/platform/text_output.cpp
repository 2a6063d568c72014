#include "platform/text_output.h"

#include "platform/cp932.h"
#include "platform/runtime_error.h"

#include <QFileInfo>
#include <QSaveFile>

namespace velt {

QByteArray encode_text_line_file(const QString &text)
{
    // Text boxes hand back LF (and may hold CR LF or a lone CR); the file
    // always gets CR LF.
    QString crlf = text;
    crlf.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    crlf.replace(u'\r', u'\n');
    crlf.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    crlf += QStringLiteral("\r\n");

    if (auto bytes = cp932::encode(crlf))
        return *bytes;
    return QByteArray("\xEF\xBB\xBF") + crlf.toUtf8();
}

void write_text_line_file(const QString &fileName, const QString &text)
{
    const QByteArray bytes = encode_text_line_file(text);
    const auto fail = [&](const QString &reason) {
        throw RuntimeError(err::PathFileAccess,
                           QStringLiteral("「%1」に保存できません（%2）。前の「%1」はそのまま残っています。")
                               .arg(fileName, reason));
    };

    const QFileInfo info(fileName);
    if (info.isDir())
        fail(QStringLiteral("同じ名前のフォルダがあります"));
    // Replacing by rename would ignore a read-only mark the user set.
    if (info.exists() && !info.isWritable())
        fail(QStringLiteral("ファイルが読み取り専用です"));
    QSaveFile file(fileName);
    file.setDirectWriteFallback(true);
    // Unbuffered: a buffered QSaveFile can lose the tail of a short write
    // (disk full, size limit) in its final flush and still commit.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        fail(file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        fail(reason);
    }
    if (!file.commit())
        fail(file.errorString());
}

} // namespace velt
