#include "runtime/system_error.h"

#include <cerrno>
#include <cstring>

namespace velt {

SystemError SystemError::fromErrno(int code)
{
    Kind kind = Other;
    switch (code) {
    case ENOENT: case ENOTDIR: kind = NotFound; break;
    case EACCES: case EPERM: kind = NoPermission; break;
    case EROFS: kind = ReadOnlyMedia; break;
    case ENOSPC: kind = DiskFull; break;
#ifdef EDQUOT // not in the Windows C library
    case EDQUOT: kind = Quota; break;
#endif
    case EBUSY: case ETXTBSY: kind = InUse; break;
    case EIO: kind = DeviceError; break;
    case EFBIG: kind = TooLarge; break;
    case EPIPE: kind = BrokenPipe; break;
    }
    return {kind, QString::fromLocal8Bit(std::strerror(code))};
}

QString describeSystemError(const SystemError &error)
{
    switch (error.kind) {
    case SystemError::DiskFull:
        return QStringLiteral("ディスクがいっぱいです。不要なファイルを削除して空きを作ってから、もう一度試してください。");
    case SystemError::Quota:
        return QStringLiteral("このユーザーが使える容量（クォータ）を使い切りました。"
                              "不要なファイルを削除してから、もう一度試してください。");
    case SystemError::ReadOnlyMedia:
        return QStringLiteral("読み取り専用のディスクです。書き込みできる場所で使ってください。");
    case SystemError::InUse:
        return QStringLiteral("ほかのプログラムがファイルを使っています。そのプログラムで閉じてから、もう一度試してください。");
    case SystemError::DeviceError:
        return QStringLiteral("ディスクの読み書きに失敗しました。ディスクやネットワークの接続を確かめてください。");
    case SystemError::TooLarge:
        return QStringLiteral("ファイルがシステムの決める大きさの上限を超えます。");
    case SystemError::NotFound:
    case SystemError::NoPermission:
    case SystemError::BrokenPipe:
    case SystemError::Other:
        break;
    }
    return QStringLiteral("システムが操作を受け付けませんでした（%1）。").arg(error.systemText);
}

} // namespace velt
