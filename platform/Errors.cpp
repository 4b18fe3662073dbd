#include "Errors.h"

namespace errors {

QString description(int number)
{
    switch (number) {
    case OutOfMemory: return QStringLiteral("内存不足");
    case FileNotFound: return QStringLiteral("文件未找到");
    case PermissionDenied: return QStringLiteral("没有权限");
    case PathFileAccess: return QStringLiteral("路径/文件访问错误");
    case PathNotFound: return QStringLiteral("路径未找到");
    case InvalidPicture: return QStringLiteral("无效的图片");
    default: return QStringLiteral("应用程序定义的错误或对象定义的错误");
    }
}

QString errorMessage(const Failure &f)
{
    return QStringLiteral("Error:") + QString::number(f.number) + QLatin1Char(' ') + f.description;
}

} // namespace errors
