#include "Fonts.h"

#include "Script.h"

#include <QFont>
#include <QStringList>
#include <utility>

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
    preferRegionalFaces();
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

void preferRegionalFaces()
{
    // The same faces, in the glyph shapes of Taiwan or Hong Kong, ahead of
    // the substitutes for Simplified text.
    const script::Script shown = script::current();
    if (shown == script::Script::Simplified)
        return;
    const QString region = shown == script::Script::Taiwan ? QStringLiteral(" TW") : QStringLiteral(" HK");
    const QString song = QStringLiteral("AR PL UMing") + region;
    const QString kai = QStringLiteral("AR PL UKai") + region;
    const QString cjk
        = shown == script::Script::Taiwan ? QStringLiteral("Noto Serif CJK TC") : QStringLiteral("Noto Serif CJK HK");
    const std::pair<const char16_t *, QStringList> faces[] = {{u"宋体", {song, cjk}},
                                                              {u"SimSun", {song, cjk}},
                                                              {u"楷体_GB2312", {kai, song}},
                                                              {u"仿宋_GB2312", {kai, song}},
                                                              {u"隶书", {kai, song}}};
    for (const auto &[face, regional] : faces) {
        const QString name = QString::fromUtf16(face);
        QStringList substitutes = regional + QFont::substitutes(name);
        substitutes.removeDuplicates();
        QFont::removeSubstitutions(name);
        QFont::insertSubstitutions(name, substitutes);
    }
}

} // namespace platform
