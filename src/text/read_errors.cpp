#include "text/read_errors.h"

#include "text/field_reader.h"

namespace velt::readError {
namespace {

QString quoted(const QString &fileName)
{
    return QStringLiteral("「%1」").arg(fileName);
}

} // namespace

RuntimeError notFound(const QString &fileName)
{
    return RuntimeError(err::kFileNotFound,
                        QStringLiteral("%1が見つかりません（フォルダ %2）。").arg(quoted(fileName), workingFolderName()));
}

RuntimeError notRegular(const QString &fileName, FileKind kind)
{
    if (kind == FileKind::Folder)
        return RuntimeError(err::kPathFileAccess, QStringLiteral("%1はファイルではなくフォルダです。").arg(quoted(fileName)));
    const QString what = kind == FileKind::Pipe ? QStringLiteral("名前付きパイプ")
        : kind == FileKind::Socket              ? QStringLiteral("ソケット")
                                                : QStringLiteral("デバイス");
    return RuntimeError(err::kPathFileAccess,
                        QStringLiteral("%1は普通のファイルではなく%2です。リストは普通のテキストファイルにしてください。")
                            .arg(quoted(fileName), what));
}

RuntimeError cannotOpen(const QString &fileName, const SystemError &error)
{
    if (error.kind == SystemError::NotFound)
        return notFound(fileName);
    const QString reason = error.kind == SystemError::NoPermission
        ? QStringLiteral("読み取りの許可がありません。ファイルの許可を確かめてください。")
        : describeSystemError(error);
    return RuntimeError(err::kPathFileAccess, QStringLiteral("%1を開けません。%2").arg(quoted(fileName), reason));
}

RuntimeError deviceFailed(const QString &fileName, const QString &reason)
{
    return RuntimeError(err::kDeviceIo, QStringLiteral("%1を読み込めません（%2）。").arg(quoted(fileName), reason));
}

RuntimeError utf16WithoutMark(const QString &fileName)
{
    return RuntimeError(err::kInputPastEnd,
                        QStringLiteral("%1は UTF-16 で保存されているようですが、先頭にバイト順マーク（BOM）が"
                                       "ないため読めません。UTF-8 か、BOM 付きの UTF-16 で保存し直してください。")
                            .arg(quoted(fileName)));
}

RuntimeError undecodable(const QString &fileName, int line, TextEncoding encoding)
{
    const QString name = encoding == TextEncoding::Cp932 ? QStringLiteral("Shift_JIS")
        : encoding == TextEncoding::Utf8                 ? QStringLiteral("UTF-8")
                                                         : QStringLiteral("UTF-16");
    return RuntimeError(err::kInputPastEnd,
                        QStringLiteral("%1の %2 行目に %3 として読めない文字があります。"
                                       "ファイルを UTF-8 か Shift_JIS で保存し直してください。")
                            .arg(quoted(fileName))
                            .arg(line)
                            .arg(name));
}

RuntimeError notText(const QString &fileName, int line)
{
    return RuntimeError(err::kInputPastEnd,
                        QStringLiteral("%1の %2 行目に NUL 文字があります。テキストファイルではないようです。"
                                       "リストはテキストエディタで作り、テキストとして保存してください。")
                            .arg(quoted(fileName))
                            .arg(line));
}

RuntimeError fieldTooLong(const QString &fileName, int entry, int line)
{
    return RuntimeError(err::kOutOfStringSpace,
                        QStringLiteral("%1の %2 番目の項目（%3 行目）が長すぎます。1 項目は %4 文字までです。")
                            .arg(quoted(fileName))
                            .arg(entry)
                            .arg(line)
                            .arg(kMaxFieldLength));
}

} // namespace velt::readError
