#include "Fonts.h"

#include <QApplication>
#include <QFont>
#include <QFontInfo>
#include <QLocale>
#include <QStringList>

namespace platform {

namespace {

struct Faces {
    QStringList song; // 宋体 and SimSun: the readings, the instructions, the buttons
    QStringList kai; // 楷体_GB2312, and for the brush faces no free font exists of
    QString sans; // the Chinese of the desktop's own font; empty: as the desktop has it
};

Faces facesFor(script::Script shown)
{
    switch (shown) {
    case script::Script::Taiwan:
        // Noto Serif CJK TC and the Ministry of Education's Kai (TW-Kai, with
        // its planes beyond the basic one) follow Taiwan's standard forms (說
        // and 稅 with 兌, 溫 with 囚, 內 with 入) and centre ，。; the AR PL
        // faces do neither and stay only as the last Ming or Kai resort.
        return {{QStringLiteral("Noto Serif CJK TC"), QStringLiteral("AR PL UMing TW")},
                {QStringLiteral("TW-Kai"), QStringLiteral("TW-Kai-Ext-B"), QStringLiteral("TW-Kai-Plus"),
                 QStringLiteral("AR PL UKai TW"), QStringLiteral("Noto Serif CJK TC")},
                QStringLiteral("Noto Sans CJK TC")};
    case script::Script::HongKong:
        // Noto Serif CJK HK has Hong Kong's forms, among them 説 閲 鋭 藴,
        // which the AR PL faces lack. No Kai face of Hong Kong's own list is
        // packaged; TW-Kai has every character Hong Kong's texts use, 説 閲
        // 鋭 藴 included, in the Taiwan forms that list mostly shares.
        return {{QStringLiteral("Noto Serif CJK HK"), QStringLiteral("AR PL UMing HK")},
                {QStringLiteral("TW-Kai"), QStringLiteral("TW-Kai-Ext-B"), QStringLiteral("TW-Kai-Plus"),
                 QStringLiteral("AR PL UKai HK"), QStringLiteral("Noto Serif CJK HK")},
                QStringLiteral("Noto Sans CJK HK")};
    case script::Script::Simplified: break;
    }
    return {{QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL SungtiL GB"), QStringLiteral("Noto Serif CJK SC"),
             QStringLiteral("WenQuanYi Zen Hei")},
            {QStringLiteral("AR PL UKai CN"), QStringLiteral("AR PL KaitiM GB"), QStringLiteral("Noto Serif CJK SC"),
             QStringLiteral("AR PL UMing CN")},
            QString()};
}

// The desktop's font families that had the region's sans face put behind
// them, so that another script's choice can take it away again.
QStringList &desktopFamilies()
{
    static QStringList families;
    return families;
}

void setSubstitutes(const QString &family, const QStringList &substitutes)
{
    QFont::removeSubstitutions(family);
    QFont::insertSubstitutions(family, substitutes);
}

} // namespace

void installFontSubstitutes()
{
    // The script the session's language asks for, as for the program's
    // translations: the first screen's texts are in it, and it is known
    // without waiting for the converter.
    useFacesFor(script::scriptFor(QLocale::system()));
}

void useFacesFor(script::Script shown)
{
    const Faces faces = facesFor(shown);
    setSubstitutes(QStringLiteral("宋体"), faces.song);
    setSubstitutes(QStringLiteral("SimSun"), faces.song);
    setSubstitutes(QStringLiteral("楷体_GB2312"), faces.kai);
    // No free FangSong or Li face is packaged; the Kai face is the nearest
    // brush style for both.
    setSubstitutes(QStringLiteral("仿宋_GB2312"), faces.kai);
    setSubstitutes(QStringLiteral("隶书"), faces.kai);

    for (const QString &family : std::as_const(desktopFamilies()))
        QFont::removeSubstitutions(family);
    desktopFamilies().clear();
    if (faces.sans.isEmpty() || !qobject_cast<QApplication *>(QCoreApplication::instance()))
        return;
    // Menus, message boxes and Qt's dialogs: their Latin stays in the
    // desktop's face, their Chinese comes from the region's sans face rather
    // than from whatever face the font configuration finds first (a Ming
    // face, or one without Hong Kong's forms).
    for (const char *widget : {"", "QMenu", "QMenuBar", "QMessageBox", "QToolTip", "QMdiSubWindowTitleBar"}) {
        const QFont font = *widget ? QApplication::font(widget) : QApplication::font();
        const QString family = font.family();
        if (desktopFamilies().contains(family))
            continue;
        // A font of its own to ask, so that the desktop's font is not resolved
        // before its substitutes are in place.
        const QString drawn = QFontInfo(QFont(family)).family();
        setSubstitutes(family, drawn == family ? QStringList {faces.sans} : QStringList {drawn, faces.sans});
        desktopFamilies() << family;
    }
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
