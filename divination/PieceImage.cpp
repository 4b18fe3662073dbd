#include "PieceImage.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QPointer>
#include <QTimer>

#include <utility>

namespace {
// Assistive technology is told that a piece is a picture, not an empty pane.
QAccessibleInterface *accessiblePiece(const QString &className, QObject *object)
{
    if (className != QLatin1String(PieceImage::staticMetaObject.className()) || !object || !object->isWidgetType())
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Graphic);
}

// During a throw the pieces change up to a thousand times a second, far
// faster than any screen shows or any screen reader speaks. What the pieces
// show is gathered and repainted together at most once a frame; a change
// after a quiet spell is repainted at the next pass of the event loop.
// Assistive technology hears what they show once they have been still for
// a moment: a screen reader flooded with hundreds of changes a second drops
// events, among them the announcement of the reading the throw gives.
class PaintThrottle : public QObject
{
public:
    // Lives as long as the application object.
    static PaintThrottle &instance()
    {
        static QPointer<PaintThrottle> t; // one throttle for all pieces: they present together
        if (!t)
            t = new PaintThrottle(QCoreApplication::instance());
        return *t;
    }

    void request(PieceImage *w)
    {
        if (!pending_.contains(w))
            pending_.append(w);
        if (timer_.isActive())
            return;
        const qint64 since = sinceFlush_.isValid() ? sinceFlush_.elapsed() : kFrameMs;
        timer_.start(int(qMax<qint64>(0, kFrameMs - since)));
    }

private:
    static constexpr qint64 kFrameMs = 16;

    static constexpr int kStillMs = 150;

    explicit PaintThrottle(QObject *parent) : QObject(parent)
    {
        timer_.setSingleShot(true);
        timer_.setTimerType(Qt::PreciseTimer);
        connect(&timer_, &QTimer::timeout, this, &PaintThrottle::flush);
        still_.setSingleShot(true);
        still_.setInterval(kStillMs);
        connect(&still_, &QTimer::timeout, this, &PaintThrottle::describe);
    }

    void flush()
    {
        const auto widgets = std::exchange(pending_, {});
        for (const QPointer<PieceImage> &w : widgets) {
            if (w) {
                w->present();
                if (!undescribed_.contains(w))
                    undescribed_.append(w);
            }
        }
        sinceFlush_.restart();
        still_.start();
    }

    void describe()
    {
        const auto widgets = std::exchange(undescribed_, {});
        for (const QPointer<PieceImage> &w : widgets)
            if (w)
                w->describe();
    }

    QList<QPointer<PieceImage>> pending_;
    QList<QPointer<PieceImage>> undescribed_;
    QTimer timer_;
    QTimer still_;
    QElapsedTimer sinceFlush_;
};
} // namespace

PieceImage::PieceImage(const QString &place, QWidget *parent) : QWidget(parent), place_(place)
{
    QAccessible::installFactory(accessiblePiece); // once per application: Qt keeps each factory once
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setAccessibleDescription(place_);
}

void PieceImage::setPicture(const QPixmap &picture, const QString &shows)
{
    if (picture.cacheKey() != picture_.cacheKey()) {
        picture_ = picture;
        scaled_ = QPixmap();
        requestPaint();
    }
    if (shows != shows_) {
        shows_ = shows;
        requestPaint();
    }
}

void PieceImage::present()
{
    update();
}

void PieceImage::describe()
{
    if (accessibleName() != shows_) {
        setAccessibleName(shows_);
        setToolTip(place_ + QStringLiteral("：") + shows_);
    }
}

void PieceImage::requestPaint()
{
    PaintThrottle::instance().request(this);
}

void PieceImage::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    scaled_ = QPixmap();
}

void PieceImage::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // A screen reader keeps the states it once read of an object, and Qt
    // tells it only that a shown piece is "showing", never that it is
    // "visible": a piece it met while hidden would stay hidden to it for
    // good. Each time the piece is shown it is presented as a new object,
    // whose states the screen reader reads afresh.
    if (QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(this))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
}

void PieceImage::paintEvent(QPaintEvent *)
{
    if (picture_.isNull())
        return;
    const QSize target = size() * devicePixelRatioF();
    if (scaled_.isNull() || scaled_.size() != target) {
        scaled_ = picture_.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        scaled_.setDevicePixelRatio(devicePixelRatioF());
    }
    QPainter p(this);
    p.drawPixmap(0, 0, scaled_);
}
