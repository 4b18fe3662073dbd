#include "Errors.h"

#include <iterator>

namespace errors {
namespace {

struct KindText {
    Kind kind;
    int number;
    const char16_t *description;
};

// The one table of failures: the number each kind is reported with, and its
// description.
constexpr KindText kKinds[] = {
    {Kind::None, 0, u""},
    {Kind::OutOfMemory, 7, u"内存不足"},
    {Kind::FileNotFound, 53, u"文件未找到"},
    {Kind::PermissionDenied, 70, u"没有权限"},
    {Kind::PathFileAccess, 75, u"路径/文件访问错误"},
    {Kind::PathNotFound, 76, u"路径未找到"},
    {Kind::InvalidPicture, 481, u"无效的图片"},
    {Kind::Unexpected, 0, u"应用程序定义的错误或对象定义的错误"},
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
    return QString::fromUtf16(entry(kind).description);
}

QString errorMessage(const Failure &f)
{
    return QStringLiteral("Error:") + QString::number(entry(f.kind).number) + QLatin1Char(' ') + f.description;
}

} // namespace errors
