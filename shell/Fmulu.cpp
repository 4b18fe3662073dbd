#include "Fmulu.h"

#include "EmblemImage.h"
#include "FmuluLayout.h"
#include "FormTimer.h"
#include "app/LoadedWindows.h"
#include "app/MDIForm1.h"
#include "app/Module1.h"
#include "pages/DocumentPages.h"
#include "platform/Errors.h"
#include "platform/MessageBox.h"
#include "platform/Pictures.h"
#include "platform/Platform.h"
#include "platform/Twips.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPushButton>
#include <new>

namespace {
const QString kTurning = QStringLiteral("A");
const QString kStopped = QStringLiteral("B");
const QString kClickToStop = QStringLiteral("点击停止转动");
const QString kClickToStart = QStringLiteral("点击开始转动");

const QColor kBackgroundColour(0, 255, 255);
constexpr int kTurnInterval = 100; // milliseconds per emblem frame

float reportedTwips(float t) { return float(twips::fromPixels(twips::toPixels(t))); }

fmululayout::Box boxOf(const QWidget *w)
{
    return {float(twips::fromPixels(w->x())), float(twips::fromPixels(w->y())),
            float(twips::fromPixels(w->width())), float(twips::fromPixels(w->height()))};
}

void place(QWidget *w, const fmululayout::Box &b)
{
    w->setGeometry(twips::toPixels(b.left), twips::toPixels(b.top), twips::toPixels(b.width),
                   twips::toPixels(b.height));
}
} // namespace

Fmulu::Fmulu(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Fmulu"));
    setWindowTitle(QStringLiteral("目录"));
    setAccessibleName(QStringLiteral("目录"));
    setAutoFillBackground(false);

    Image1 = new EmblemImage(this);
    Image1->setObjectName(QStringLiteral("Image1"));

    const QFont buttonFont = platform::designFont(QStringLiteral("宋体"), 10.5);
    Command1 = new QPushButton(QStringLiteral("衍枰说明"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setAccessibleName(QStringLiteral("衍枰说明"));
    Command1->setAccessibleDescription(QStringLiteral("打开衍枰说明"));
    Command1->setFont(buttonFont);
    Command2 = new QPushButton(QStringLiteral("衍枰占卜"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setAccessibleName(QStringLiteral("衍枰占卜"));
    Command2->setAccessibleDescription(QStringLiteral("打开衍枰占卜窗口"));
    Command2->setFont(buttonFont);
    setTabOrder(Command1, Command2);
    setFocusProxy(Command1);

    // Idle until the first activation: enabled, but with no interval.
    Timer1 = new FormTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setEnabled(true);
    Timer1->setInterval(0);

    connect(Image1, &EmblemImage::clicked, this, &Fmulu::Image1_Click);
    connect(Command1, &QPushButton::clicked, this, &Fmulu::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Fmulu::Command2_Click);
    connect(Timer1, &FormTimer::Timer, this, &Fmulu::Timer1_Timer);
}

// ---- loading, activation, layout -------------------------------------------

void Fmulu::Form_Load()
{
    loaded::add(this);
    attachToArea();
    // Each step on its own: a picture that does not load is passed over.
    Image1->setTag(kTurning);
    Image1->setToolTip(kClickToStop);
    QPixmap picture;
    if (pictures::load(programPath(QStringLiteral("\\picture\\globe.wmf")), &picture)) {
        background_ = picture;
        update();
    }
    if (pictures::load(programPath(QStringLiteral("\\picture\\kvnda.gif")), &picture))
        Image1->setPicture(picture);
}

void Fmulu::Form_Activate()
{
    Timer1->setEnabled(true);
    Timer1->setInterval(kTurnInterval);
}

void Fmulu::Form_Deactivate()
{
    Timer1->setEnabled(false);
    Timer1->setInterval(0);
}

void Fmulu::Form_Resize()
{
    fmululayout::Layout current;
    current.image = boxOf(Image1);
    current.command1 = boxOf(Command1);
    current.command2 = boxOf(Command2);
    const float W = float(twips::fromPixels(width()));
    const float H = float(twips::fromPixels(height()));
    const fmululayout::Layout l = fmululayout::compute(W, H, current, reportedTwips);
    place(Image1, l.image);
    place(Command1, l.command1);
    place(Command2, l.command2);
}

void Fmulu::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void Fmulu::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), kBackgroundColour);
    if (!background_.isNull())
        p.drawPixmap(0, 0, background_); // its own size, from the top-left corner
}

// ---- the emblem --------------------------------------------------------------

void Fmulu::Timer1_Timer()
{
    if (!Image1->isVisibleTo(this))
        return;
    static const QString frames[4] = {QStringLiteral("\\picture\\xwpta.gif"), QStringLiteral("\\picture\\xwptb.gif"),
                                      QStringLiteral("\\picture\\xwptc.gif"), QStringLiteral("\\picture\\xwptd.gif")};
    int shown = 4; // frame 4 for 4 and for "not yet started"
    if (frameNumber && *frameNumber >= 1 && *frameNumber <= 3)
        shown = *frameNumber;
    errors::Failure failure;
    try {
        QPixmap picture;
        if (pictures::load(programPath(frames[shown - 1]), &picture, &failure)) {
            Image1->setPicture(picture);
            frameNumber = shown % 4 + 1;
            return;
        }
    } catch (const std::bad_alloc &) {
        failure = errors::Failure::of(errors::OutOfMemory);
    }
    // The same frame is tried again at the next tick. While a message is
    // on screen the ticks go on quietly, so messages never pile up.
    if (!msgbox::isShowing())
        msgbox::showMessage(this, failure.description);
}

void Fmulu::Image1_Click()
{
    if (Image1->tag() == kTurning) {
        Image1->setTag(kStopped);
        Image1->setToolTip(kClickToStart);
        Timer1->setEnabled(false);
    } else {
        Image1->setTag(kTurning);
        Image1->setToolTip(kClickToStop);
        Timer1->setEnabled(true);
    }
}

// ---- the buttons ---------------------------------------------------------------

void Fmulu::Command1_Click()
{
    ShowDocumentPage(QStringLiteral("衍枰说明"), QStringLiteral("\\god\\衍枰说明.god"));
}

void Fmulu::Command2_Click()
{
    if (MainWindow)
        MainWindow->ShowDivinationWindow();
}

// ---- life inside the main window's area ---------------------------------------

bool Fmulu::event(QEvent *event)
{
    if (event->type() == QEvent::ParentChange || event->type() == QEvent::Show)
        attachToArea();
    return QWidget::event(event);
}

void Fmulu::attachToArea()
{
    auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget());
    QMdiArea *area = sub ? sub->mdiArea() : nullptr;
    if (sub == subWindow_ && area == area_)
        return;
    if (subWindow_)
        subWindow_->removeEventFilter(this);
    if (area_)
        disconnect(area_, &QMdiArea::subWindowActivated, this, nullptr);
    subWindow_ = sub;
    area_ = area;
    if (!subWindow_ || !area_)
        return;
    subWindow_->installEventFilter(this);
    connect(area_, &QMdiArea::subWindowActivated, this, &Fmulu::subWindowActivated);
    if (area_->activeSubWindow() == subWindow_)
        subWindowActivated(subWindow_);
    keepAtBottom();
}

void Fmulu::subWindowActivated(QMdiSubWindow *window)
{
    // The area reports no active child when the whole program loses the
    // focus (to a dialog or to another program): that changes nothing here.
    if (!window)
        return;
    const bool nowActive = window == subWindow_;
    if (nowActive == active_)
        return;
    active_ = nowActive;
    if (active_) {
        keepAtBottom();
        Form_Activate();
    } else {
        Form_Deactivate();
    }
}

bool Fmulu::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == subWindow_ && event->type() == QEvent::ZOrderChange)
        keepAtBottom();
    return QWidget::eventFilter(watched, event);
}

void Fmulu::keepAtBottom()
{
    // Activation raises a child; the panel goes straight back beneath the
    // others, so it never covers them.
    if (!subWindow_ || !subWindow_->parentWidget())
        return;
    for (QObject *o : subWindow_->parentWidget()->children()) {
        auto *w = qobject_cast<QWidget *>(o);
        if (!w || w->isWindow())
            continue;
        if (w != subWindow_)
            subWindow_->lower();
        return;
    }
}

void Fmulu::closeEvent(QCloseEvent *event)
{
    // The user cannot close the panel (not even by the child window
    // shortcut); it ends with the program.
    event->ignore();
}
