#include "runtime/read_errors.h"

#include "runtime/field_reader.h"

namespace velt::readError {
namespace {

QString quoted(const QString &fileName)
{
    return QStringLiteral("「%1」").arg(fileName);
}

} // namespace

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

RuntimeError controlCharacter(const QString &fileName, char16_t c, int line, qsizetype column)
{
    if (c == 0)
        return notText(fileName, line);
    return RuntimeError(err::kInputPastEnd,
                        QStringLiteral("%1の %2 行目 %3 文字目に制御文字（U+%4）があります。"
                                       "テキストエディタで取り除いてください。")
                            .arg(quoted(fileName))
                            .arg(line)
                            .arg(column)
                            .arg(QString::number(c, 16).toUpper().rightJustified(4, u'0')));
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
