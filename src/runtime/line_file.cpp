#include "runtime/line_file.h"

#include "runtime/cp932.h"
#include "runtime/runtime_error.h"

#include <QFileInfo>
#include <QSaveFile>

namespace velt {
namespace {

// Characters that code page 932 holds under another code point: lists
// written on Linux or macOS carry 〜 where Windows has ～, and so on. Saved
// as code page 932's own, so such a list does not turn the whole file into
// UTF-8.
constexpr struct
{
    char16_t from;
    char16_t to;
} kCp932Equivalents[] = {
    {u'\u301C', u'\uFF5E'}, // 〜 wave dash: 0x8160
    {u'\u2212', u'\uFF0D'}, // − minus sign: 0x817C
    {u'\u2016', u'\u2225'}, // ‖ double vertical line: 0x8161
    {u'\u2014', u'\u2015'}, // — em dash: 0x815C
    {u'\u00A2', u'\uFFE0'}, // ¢: 0x8191
    {u'\u00A3', u'\uFFE1'}, // £: 0x8192
    {u'\u00AC', u'\uFFE2'}, // ¬: 0x81CA
};

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
    for (const auto &[from, to] : kCp932Equivalents)
        folded.replace(QChar(from), QChar(to));
    if (auto bytes = cp932::encode(folded))
        return *bytes;
    return QByteArray("\xEF\xBB\xBF") + crlf.toUtf8();
}

void writeLineFile(const QString &fileName, const QString &text)
{
    const QByteArray bytes = encodeLineFile(text);
    const auto fail = [&](const QString &reason) {
        throw RuntimeError(err::kPathFileAccess,
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
