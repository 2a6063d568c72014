#include "runtime/runtime_error.h"

namespace velt {

RuntimeError::RuntimeError(int number, QString message)
    : m_number(number)
    , m_message(message.isEmpty() ? standardMessage(number) : std::move(message))
    , m_what(formatRuntimeError(*this).toUtf8())
{
}

QString RuntimeError::standardMessage(int number)
{
    switch (number) {
    case err::kInvalidCall: return QStringLiteral("プロシージャの呼び出し、または引数が不正です。");
    case err::kSubscriptOutOfRange: return QStringLiteral("インデックスが有効範囲にありません。");
    case err::kTypeMismatch: return QStringLiteral("型が一致しません。");
    case err::kOutOfStringSpace: return QStringLiteral("文字列領域が不足しています。");
    case err::kFileNotFound: return QStringLiteral("ファイルが見つかりません。");
    case err::kDeviceIo: return QStringLiteral("デバイス I/O エラーです。");
    case err::kInputPastEnd: return QStringLiteral("ファイルにこれ以上データがありません。");
    case err::kPathFileAccess: return QStringLiteral("パス名が無効です。");
    }
    return QStringLiteral("アプリケーション定義またはオブジェクト定義のエラーです。");
}

QString formatRuntimeError(const RuntimeError &error)
{
    return QStringLiteral("実行時エラー '%1':\n\n%2").arg(error.number()).arg(error.message());
}

} // namespace velt
