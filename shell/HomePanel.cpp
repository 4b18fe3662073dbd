#include "HomePanel.h"

#include "EmblemImage.h"
#include "GatedTimer.h"
#include "HomePanelLayout.h"
#include "formats/Pictures.h"
#include "platform/Errors.h"
#include "platform/Fonts.h"
#include "platform/MessageBox.h"
#include "platform/ProgramFolder.h"
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
// The emblem's tooltip: what a click does.
QString clickToStop()
{
    return HomePanel::tr("点击停止转动");
}
QString clickToStart()
{
    return HomePanel::tr("点击开始转动");
}

const QColor kBackgroundColour(0, 255, 255);
constexpr int kTurnInterval = 100; // milliseconds per emblem frame

float reportedTwips(float t)
{
    return float(twips::fromPixels(twips::toPixels(t)));
}

homepanellayout::Box boxOf(const QWidget *w)
{
    return {float(twips::fromPixels(w->x())), float(twips::fromPixels(w->y())), float(twips::fromPixels(w->width())),
            float(twips::fromPixels(w->height()))};
}

void place(QWidget *w, const homepanellayout::Box &b)
{
    w->setGeometry(twips::rect(b.left, b.top, b.width, b.height));
}
} // namespace

HomePanel::HomePanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("homePanel"));
    setAutoFillBackground(false);

    emblem_ = new EmblemImage(this);
    emblem_->setObjectName(QStringLiteral("emblem"));

    const QFont buttonFont = platform::designFont(QStringLiteral("宋体"), 10.5);
    instructionsButton_ = new QPushButton(this);
    instructionsButton_->setObjectName(QStringLiteral("instructionsButton"));
    instructionsButton_->setFont(buttonFont);
    divinationButton_ = new QPushButton(this);
    divinationButton_->setObjectName(QStringLiteral("divinationButton"));
    divinationButton_->setFont(buttonFont);
    retranslate();
    setTabOrder(instructionsButton_, divinationButton_);
    setFocusProxy(instructionsButton_);

    // Idle until the first activation: enabled, but with no interval.
    turnTimer_ = new GatedTimer(this);
    turnTimer_->setObjectName(QStringLiteral("turnTimer"));
    turnTimer_->setEnabled(true);
    turnTimer_->setInterval(0);

    connect(emblem_, &EmblemImage::clicked, this, &HomePanel::toggleTurning);
    connect(instructionsButton_, &QPushButton::clicked, this, &HomePanel::instructionsRequested);
    connect(divinationButton_, &QPushButton::clicked, this, &HomePanel::divinationRequested);
    connect(turnTimer_, &GatedTimer::timeout, this, &HomePanel::showNextFrame);
}

void HomePanel::retranslate()
{
    setWindowTitle(tr("目录"));
    setAccessibleName(windowTitle());
    instructionsButton_->setText(tr("衍枰说明"));
    instructionsButton_->setAccessibleName(instructionsButton_->text());
    instructionsButton_->setAccessibleDescription(tr("打开衍枰说明"));
    divinationButton_->setText(tr("衍枰占卜"));
    divinationButton_->setAccessibleName(divinationButton_->text());
    divinationButton_->setAccessibleDescription(tr("打开衍枰占卜窗口"));
    // No tooltip before the panel is loaded.
    if (emblem_->tag() == kTurning)
        emblem_->setToolTip(clickToStop());
    else if (emblem_->tag() == kStopped)
        emblem_->setToolTip(clickToStart());
}

void HomePanel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

// ---- loading, activation, layout -------------------------------------------

void HomePanel::loadPictures()
{
    attachToArea();
    // Each step on its own: a picture that does not load is passed over.
    emblem_->setTag(kTurning);
    emblem_->setToolTip(clickToStop());
    QPixmap picture;
    if (pictures::loadShared(platform::programPath(QStringLiteral("\\picture\\globe.wmf")), &picture)) {
        background_ = picture;
        update();
    }
    if (pictures::load(platform::programPath(QStringLiteral("\\picture\\kvnda.gif")), &picture))
        emblem_->setPicture(picture);
}

void HomePanel::startTurning()
{
    turnTimer_->setEnabled(true);
    turnTimer_->setInterval(kTurnInterval);
}

void HomePanel::stopTurning()
{
    turnTimer_->setEnabled(false);
    turnTimer_->setInterval(0);
}

void HomePanel::layoutControls()
{
    homepanellayout::Layout current;
    current.emblem = boxOf(emblem_);
    current.instructionsButton = boxOf(instructionsButton_);
    current.divinationButton = boxOf(divinationButton_);
    const float widthTwips = float(twips::fromPixels(width()));
    const float heightTwips = float(twips::fromPixels(height()));
    const homepanellayout::Layout l = homepanellayout::compute(widthTwips, heightTwips, current, reportedTwips);
    place(emblem_, l.emblem);
    place(instructionsButton_, l.instructionsButton);
    place(divinationButton_, l.divinationButton);
}

void HomePanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutControls();
}

void HomePanel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), kBackgroundColour);
    if (!background_.isNull())
        p.drawPixmap(0, 0, background_); // its own size, from the top-left corner
}

// ---- the emblem --------------------------------------------------------------

void HomePanel::showNextFrame()
{
    if (!emblem_->isVisibleTo(this))
        return;
    static const QString frames[4] = {QStringLiteral("\\picture\\xwpta.gif"), QStringLiteral("\\picture\\xwptb.gif"),
                                      QStringLiteral("\\picture\\xwptc.gif"), QStringLiteral("\\picture\\xwptd.gif")};
    int shown = 4; // frame 4 for 4 and for "not yet started"
    if (nextFrame_ && *nextFrame_ >= 1 && *nextFrame_ <= 3)
        shown = *nextFrame_;
    errors::Failure failure;
    try {
        QPixmap picture;
        if (pictures::load(platform::programPath(frames[shown - 1]), &picture, &failure)) {
            emblem_->setPicture(picture);
            nextFrame_ = shown % 4 + 1;
            return;
        }
    } catch (const std::bad_alloc &) {
        failure = errors::Failure::of(errors::Kind::OutOfMemory);
    }
    // The same frame is tried again at the next tick. While a message is
    // on screen the ticks go on quietly, so messages never pile up.
    if (!msgbox::isShowing())
        msgbox::showMessage(this, failure.description);
}

void HomePanel::toggleTurning()
{
    if (emblem_->tag() == kTurning) {
        emblem_->setTag(kStopped);
        emblem_->setToolTip(clickToStart());
        turnTimer_->setEnabled(false);
    } else {
        emblem_->setTag(kTurning);
        emblem_->setToolTip(clickToStop());
        turnTimer_->setEnabled(true);
    }
}

// ---- life inside the main window's area ---------------------------------------

bool HomePanel::event(QEvent *event)
{
    if (event->type() == QEvent::ParentChange || event->type() == QEvent::Show)
        attachToArea();
    return QWidget::event(event);
}

void HomePanel::attachToArea()
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
    connect(area_, &QMdiArea::subWindowActivated, this, &HomePanel::subWindowActivated);
    if (area_->activeSubWindow() == subWindow_)
        subWindowActivated(subWindow_);
    keepAtBottom();
}

void HomePanel::subWindowActivated(QMdiSubWindow *window)
{
    // The area reports no active child when the whole program loses the
    // focus (to a dialog or to another program): that changes nothing here.
    if (!window)
        return;
    const bool nowActive = window->widget() == this;
    if (nowActive == active_)
        return;
    active_ = nowActive;
    if (active_) {
        keepAtBottom();
        startTurning();
    } else {
        stopTurning();
    }
}

bool HomePanel::eventFilter(QObject *watched, QEvent *event)
{
    // The sub-window may be part way through its destruction (the main
    // window closing): it is recognised through its own live type, never by
    // turning the pointer kept to it back into a sub-window.
    if (event->type() == QEvent::ZOrderChange) {
        const auto *sub = qobject_cast<const QMdiSubWindow *>(watched);
        if (sub && sub->widget() == this)
            keepAtBottom();
    }
    return QWidget::eventFilter(watched, event);
}

void HomePanel::keepAtBottom()
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

void HomePanel::closeEvent(QCloseEvent *event)
{
    // The user cannot close the panel (not even by the child window
    // shortcut); it ends with the program.
    event->ignore();
}
