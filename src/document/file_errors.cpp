#include "document/file_errors.h"

#include <QtGlobal>

#include <cerrno>

namespace FileErrors {

QString reasonFor(int errnoValue)
{
    switch (errnoValue) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("ディスクの空き容量が不足しています。");
    case EFBIG:
        return QStringLiteral("ファイルが大きすぎます。");
    case EACCES:
    case EPERM:
        return QStringLiteral("アクセスが拒否されました。");
    case EROFS:
        return QStringLiteral("読み取り専用のディスクです。");
    case ENOMEM:
        return QStringLiteral("メモリが不足しています。");
    case ELOOP:
        return QStringLiteral("シンボリックリンクが循環しています。");
    case ENOENT:
        return QStringLiteral("ファイルが見つかりません。");
    default:
        return QStringLiteral("エラーが発生しました (%1)。").arg(qt_error_string(errnoValue));
    }
}

} // namespace FileErrors
