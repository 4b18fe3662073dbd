#include "Preview.h"

#include "platform/Version.h"

#include "divination/DivinationLayout.h"
#include "divination/Texts.h"
#include "platform/Fonts.h"
#include "platform/Twips.h"

#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTextEdit>
#include <QWidget>

namespace preview {

namespace {

QImage enlarged(const QImage &img, int factor, const QColor &ground)
{
    QImage out(img.size() * factor, QImage::Format_ARGB32_Premultiplied);
    out.fill(ground);
    QPainter p(&out);
    p.drawImage(QRect(QPoint(0, 0), out.size()), img);
    return out;
}

QPushButton *button(QWidget *parent, const QString &text, double points, const QRect &r)
{
    auto *b = new QPushButton(text, parent);
    b->setFont(platform::designFont(QStringLiteral("宋体"), points));
    b->setGeometry(r);
    return b;
}

QLabel *backdrop(QWidget *parent, const QImage &picture)
{
    auto *l = new QLabel(parent);
    l->setPixmap(QPixmap::fromImage(picture));
    l->setGeometry(QRect(QPoint(0, 0), picture.size()));
    return l;
}

// The home panel: cyan, the globe at its own size, the emblem stretched over
// the middle third, and the two buttons below it.
QImage panel(const Set &set, int width, int height, const QImage &emblem)
{
    QImage ground(width, height, QImage::Format_ARGB32_Premultiplied);
    ground.fill(QColor(0, 255, 255));
    QPainter p(&ground);
    p.drawImage(0, 0, set.globe);
    const double W = twips::fromPixels(width), H = twips::fromPixels(height);
    const QRect image = twips::rect(W / 3, H / 5, W / 3, H / 5 * 2);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(image, emblem);
    // The pointer where a user would hold it over the emblem.
    p.drawImage(image.center() + QPoint(40, 20), set.pointer);
    p.end();

    QWidget w;
    w.resize(width, height);
    backdrop(&w, ground);
    const double iw = W / 3, il = W / 3, ih = H / 5 * 2, it = H / 5;
    const double bw = iw / 11 * 5, bh = bw / 3, top = it + ih + 50;
    button(&w, QStringLiteral("衍枰说明"), 10.5, twips::rect(il, top, bw, bh));
    button(&w, QStringLiteral("衍枰占卜"), 10.5, twips::rect(iw / 11 * 6 + il, top, bw, bh));
    return w.grab().toImage();
}

QImage divination(const Set &set, int width, int height, int up, int mid, int low)
{
    QWidget w;
    w.resize(width, height);
    QImage ground(width, height, QImage::Format_ARGB32_Premultiplied);
    ground.fill(w.palette().color(QPalette::Window));
    QPainter p(&ground);
    p.drawImage(0, 0, set.globe);
    p.end();
    backdrop(&w, ground);

    const divinationlayout::Result r
        = divinationlayout::compute(float(twips::fromPixels(width)), float(twips::fromPixels(height)));
    auto at = [](const divinationlayout::Point &pt, double boxWidth, double boxHeight) {
        return twips::rect(pt.x, pt.y, boxWidth, boxHeight);
    };
    button(&w, QStringLiteral("重 点 卦 象 详 细 解 说"), 14.25, at(r.detailButton, 6000, 600))->setEnabled(false);
    button(&w, QStringLiteral("《木制衍枰占卜》"), 14.25, at(r.woodenButton, 2500, 600));
    button(&w, QStringLiteral("《电脑衍枰占卜》"), 14.25, at(r.computerButton, 2500, 600));
    auto *text = new QTextEdit(&w);
    text->setFont(platform::designFont(QStringLiteral("宋体"), 10.5));
    text->setGeometry(at(r.readingPane, 6000, 5800));
    QPalette pal = text->palette();
    pal.setColor(QPalette::Base, QColor(255, 192, 255));
    pal.setColor(QPalette::Text, QColor(0, 0, 255));
    text->setPalette(pal);
    text->setPlainText(texts::welcomeText());
    const int counts[3] = {up, mid, low};
    const QImage *faces[3] = {&set.upper, &set.middle, &set.lower};
    for (int g = 0; g < 3; ++g) {
        for (int i = 0; i < 4; ++i) {
            auto *l = new QLabel(&w);
            l->setScaledContents(true);
            l->setPixmap(QPixmap::fromImage(i < counts[g] ? *faces[g] : set.blank));
            l->setGeometry(at(r.pieces[size_t(g)][size_t(i)], 600, 600));
        }
    }
    return w.grab().toImage();
}

QImage about(const Set &set)
{
    QWidget w;
    w.resize(twips::toPixels(8670), twips::toPixels(6480));
    QImage ground(w.size(), QImage::Format_ARGB32_Premultiplied);
    ground.fill(w.palette().color(QPalette::Window));
    QPainter p(&ground);
    p.drawImage(0, 0, set.globe);
    p.end();
    backdrop(&w, ground);
    auto label = [&w](const QString &text, double x, double y, double lw, double lh, const QString &face, double points,
                      const QColor &colour, Qt::Alignment align) {
        auto *l = new QLabel(text, &w);
        l->setFont(platform::designFont(face, points));
        l->setGeometry(twips::rect(x, y, lw, lh));
        l->setWordWrap(true);
        l->setAlignment(align | Qt::AlignTop);
        QPalette pal = l->palette();
        pal.setColor(QPalette::WindowText, colour);
        l->setPalette(pal);
        return l;
    };
    const QString verse = QStringLiteral("警告：") + QString(23, QLatin1Char(' ')) + QStringLiteral("天地备兮难量！")
        + QString(10, QLatin1Char(' ')) + QStringLiteral("神机妙兮莫测！") + QString(10, QLatin1Char(' '))
        + QStringLiteral("非贤人兮莫传！") + QString(10, QLatin1Char(' ')) + QStringLiteral("不听劝兮有凶！");
    label(verse, 1575, 4185, 3855, 2025, QStringLiteral("楷体_GB2312"), 15.75, Qt::black, Qt::AlignLeft);
    label(QStringLiteral("衍枰占卜"), 1800, 225, 4845, 600, QStringLiteral("楷体_GB2312"), 26.25, Qt::red,
          Qt::AlignHCenter);
    label(QStringLiteral("版本 " YANPING_VERSION), 1800, 855, 4845, 465, QStringLiteral("仿宋_GB2312"), 15.75, Qt::red,
          Qt::AlignHCenter);
    label(
        QStringLiteral(
            "    方术，是中国传统文化的一个组成部分，它对中国社会生活有着极其深刻的影响，要了解中国的政治、经济、科学文化，就必须了解中国古代的方术。"),
        480, 2160, 7725, 1890, QStringLiteral("隶书"), 21.75, Qt::blue, Qt::AlignLeft);
    button(&w, QStringLiteral("确定"), 10.5, twips::rect(5535, 4455, 1500, 465));
    button(&w, QStringLiteral("系统信息"), 10.5, twips::rect(5535, 5535, 1485, 465));
    return w.grab().toImage();
}

} // namespace

bool write(const Set &set, const QString &folder, QString *message)
{
    if (!QDir().mkpath(folder)) {
        *message = QStringLiteral("cannot create %1").arg(folder);
        return false;
    }
    platform::installFontSubstitutes();
    const QColor cyan(0, 255, 255);
    struct Named {
        const char *name;
        QImage image;
    };
    QImage strip(5 * 240, 240, QImage::Format_ARGB32_Premultiplied);
    strip.fill(cyan);
    {
        QPainter p(&strip);
        p.drawImage(0, 0, set.emblem);
        for (int i = 0; i < 4; ++i)
            p.drawImage(240 * (i + 1), 0, set.frames[i]);
    }
    QImage pieces(4 * 75, 76, QImage::Format_RGB32);
    {
        QPainter p(&pieces);
        p.drawImage(0, 0, set.blank);
        p.drawImage(75, 0, set.upper);
        p.drawImage(150, 0, set.middle);
        p.drawImage(225, 0, set.lower);
    }
    QImage pieces40(4 * 48, 48, QImage::Format_RGB32);
    pieces40.fill(QColor(240, 240, 240));
    {
        QPainter p(&pieces40);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        const QImage *all[4] = {&set.blank, &set.upper, &set.middle, &set.lower};
        for (int i = 0; i < 4; ++i)
            p.drawImage(QRect(48 * i + 4, 4, 40, 40), *all[i]);
    }
    const QList<Named> outputs = {
        {"globe.png", set.globe},
        {"emblem-and-frames.png", strip},
        {"pieces.png", enlarged(pieces, 3, Qt::white)},
        {"pieces-at-40px.png", enlarged(pieces40, 2, Qt::white)},
        {"icon32.png", enlarged(set.icon32, 8, cyan)},
        {"icon256.png", set.icon256},
        {"pointer.png", enlarged(set.pointer, 8, cyan)},
        {"mock-panel-1366x650.png", panel(set, 1366, 650, set.emblem)},
        {"mock-panel-1920x960.png", panel(set, 1920, 960, set.frames[1])},
        {"mock-divination.png", divination(set, 1366, 650, 2, 4, 1)},
        {"mock-about.png", about(set)},
    };
    for (const Named &n : outputs) {
        const QString path = QDir(folder).filePath(QString::fromLatin1(n.name));
        if (!n.image.save(path, "PNG")) {
            *message = QStringLiteral("cannot write %1").arg(path);
            return false;
        }
    }
    return true;
}

} // namespace preview
