#include "Fonts.h"

#include <QFont>
#include <QStringList>

namespace platform {

void installFontSubstitutes()
{
    const QStringList song = {QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL SungtiL GB"),
                              QStringLiteral("Noto Serif CJK SC"), QStringLiteral("WenQuanYi Zen Hei")};
    const QStringList kai = {QStringLiteral("AR PL UKai CN"), QStringLiteral("AR PL KaitiM GB"),
                             QStringLiteral("Noto Serif CJK SC"), QStringLiteral("AR PL UMing CN")};
    QFont::insertSubstitutions(QStringLiteral("宋体"), song);
    QFont::insertSubstitutions(QStringLiteral("SimSun"), song);
    QFont::insertSubstitutions(QStringLiteral("楷体_GB2312"), kai);
    // No free FangSong or Li face is packaged; the Kai face is the nearest
    // brush style for both.
    QFont::insertSubstitutions(QStringLiteral("仿宋_GB2312"), kai);
    QFont::insertSubstitutions(QStringLiteral("隶书"), kai);
}

QFont designFont(const QString &face, double points)
{
    QFont f(face);
    f.setPointSizeF(points);
    f.setWeight(QFont::Normal);
    f.setBold(false);
    f.setItalic(false);
    f.setUnderline(false);
    f.setStrikeOut(false);
    return f;
}

} // namespace platform
