#include "PieceImage.h"

#include <QAccessible>
#include <QPainter>

PieceImage::PieceImage(const QString &place, QWidget *parent) : QWidget(parent), place_(place)
{
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setAccessibleDescription(place_);
}

void PieceImage::setPicture(const QPixmap &picture, const QString &shows)
{
    if (picture.cacheKey() != picture_.cacheKey()) {
        picture_ = picture;
        scaled_ = QPixmap();
        update();
    }
    if (shows != shows_) {
        shows_ = shows;
        setAccessibleName(shows_);
        setToolTip(place_ + QStringLiteral("：") + shows_);
    }
}

void PieceImage::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    scaled_ = QPixmap();
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
