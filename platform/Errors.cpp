#include "Errors.h"

#include <QCoreApplication>

#include <iterator>

namespace errors {
namespace {

struct KindText {
    Kind kind;
    int number;
    const char *description;
};

// The one table of failures: the number each kind is reported with, and its
// description, in the session's language.
constexpr KindText kKinds[] = {
    {Kind::None, 0, ""},
    {Kind::OutOfMemory, 7, QT_TRANSLATE_NOOP("errors", "内存不足")},
    {Kind::FileNotFound, 53, QT_TRANSLATE_NOOP("errors", "文件未找到")},
    {Kind::PermissionDenied, 70, QT_TRANSLATE_NOOP("errors", "没有权限")},
    {Kind::PathFileAccess, 75, QT_TRANSLATE_NOOP("errors", "路径/文件访问错误")},
    {Kind::PathNotFound, 76, QT_TRANSLATE_NOOP("errors", "路径未找到")},
    {Kind::DiskFull, 61, QT_TRANSLATE_NOOP("errors", "磁盘已满")},
    {Kind::InvalidPicture, 481, QT_TRANSLATE_NOOP("errors", "无效的图片")},
    {Kind::Unexpected, 0, QT_TRANSLATE_NOOP("errors", "应用程序定义的错误或对象定义的错误")},
};

const KindText &entry(Kind kind)
{
    for (const KindText &k : kKinds) {
        if (k.kind == kind)
            return k;
    }
    return kKinds[std::size(kKinds) - 1];
}

} // namespace

QString description(Kind kind)
{
    const char *text = entry(kind).description;
    return *text ? QCoreApplication::translate("errors", text) : QString();
}

QString errorMessage(const Failure &f)
{
    return QStringLiteral("Error:") + QString::number(entry(f.kind).number) + QLatin1Char(' ') + f.description;
}

} // namespace errors
