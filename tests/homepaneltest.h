#pragma once
// What the home panel tests share: emblem pictures of plain colours, a bare
// multiple-document area holding the panel, and the timer's two states.
#include "shell/EmblemImage.h"
#include "shell/GatedTimer.h"
#include "shell/HomePanel.h"
#include "testsupport.h"

#include <QBuffer>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSignalSpy>

namespace homepaneltest {

// Emblem pictures for the tests: each one a plain colour, so the picture on
// show tells which file it came from. (The reader goes by the content, so
// PNG data under a .gif name loads.)
inline const QColor kKvnd(10, 10, 10);
inline const QColor kFrame[5]
    = {QColor(), QColor(200, 0, 0), QColor(0, 200, 0), QColor(0, 0, 200), QColor(200, 200, 0)};
inline const char *const kFrameFile[5]
    = {nullptr, "picture/xwpta.gif", "picture/xwptb.gif", "picture/xwptc.gif", "picture/xwptd.gif"};

inline QByteArray pictureOf(const QColor &colour)
{
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

inline void writeEmblemPictures(const testsupport::ProgramFolderFixture &folder)
{
    folder.writeFile(QStringLiteral("picture/kvnda.gif"), pictureOf(kKvnd));
    for (int i = 1; i <= 4; ++i)
        folder.writeFile(QString::fromLatin1(kFrameFile[i]), pictureOf(kFrame[i]));
}

inline QColor shown(const HomePanel &panel)
{
    const QPixmap p = panel.findChild<EmblemImage *>("emblem")->picture();
    return p.isNull() ? QColor() : p.toImage().pixelColor(0, 0);
}

// A bare multiple-document area holding the panel the way the main window
// does, plus whatever other children a test opens.
struct PanelArea {
    PanelArea()
    {
        area.resize(800, 600);
        panel = new HomePanel;
        panelWindow = area.addSubWindow(panel, Qt::SubWindow | Qt::FramelessWindowHint);
        panelWindow->move(0, 0);
        panel->loadPictures();
        panelWindow->show();
        panelWindow->resize(area.viewport()->size());
        area.show();
        area.activateWindow();
    }
    QMdiSubWindow *open(const QString &caption)
    {
        auto *w = new QWidget;
        w->setWindowTitle(caption);
        QMdiSubWindow *sub = area.addSubWindow(w);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->resize(200, 150);
        sub->show();
        area.setActiveSubWindow(sub);
        return sub;
    }
    QMdiArea area;
    HomePanel *panel = nullptr;
    QMdiSubWindow *panelWindow = nullptr;
};

// Whether the emblem's timer delivers ticks: one comes within half as long
// again as the turning interval if it does.
inline bool ticking(const HomePanel &panel)
{
    QSignalSpy ticks(panel.findChild<GatedTimer *>("turnTimer"), &GatedTimer::timeout);
    return ticks.wait(150);
}

inline bool turning(const HomePanel &panel)
{
    return panel.findChild<GatedTimer *>("turnTimer")->isEnabled()
        && panel.findChild<GatedTimer *>("turnTimer")->interval() == 100;
}

inline bool idle(const HomePanel &panel)
{
    return !panel.findChild<GatedTimer *>("turnTimer")->isEnabled()
        && panel.findChild<GatedTimer *>("turnTimer")->interval() == 0;
}

inline QWidget *bottomChild(QWidget *parent)
{
    for (QObject *o : parent->children()) {
        auto *w = qobject_cast<QWidget *>(o);
        if (w && !w->isWindow())
            return w;
    }
    return nullptr;
}

} // namespace homepaneltest
