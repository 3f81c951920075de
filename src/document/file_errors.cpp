#include "document/file_errors.h"

#include <QtGlobal>

#include <cerrno>

namespace FileErrors {

QString reasonFor(int errnoValue)
{
    switch (errnoValue) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("ﾃﾞｨｽｸの空き容量が不足しています。");
    case EFBIG:
        return QStringLiteral("ﾌｧｲﾙが大きすぎます。");
    case EACCES:
    case EPERM:
        return QStringLiteral("ｱｸｾｽが拒否されました。");
    case EROFS:
        return QStringLiteral("読み取り専用のﾃﾞｨｽｸです。");
    case ENOMEM:
        return QStringLiteral("ﾒﾓﾘが不足しています。");
    case ENOENT:
        return QStringLiteral("ﾌｧｲﾙが見つかりません。");
    default:
        return QStringLiteral("ｴﾗｰが発生しました (%1)。").arg(qt_error_string(errnoValue));
    }
}

} // namespace FileErrors
