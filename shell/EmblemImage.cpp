#include "EmblemImage.h"

#include <QCursor>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

EmblemImage::EmblemImage(QWidget *parent) : QWidget(parent)
{
    const QPixmap pointer(QStringLiteral(":/yanping/pointer.png"));
    if (!pointer.isNull())
        setCursor(QCursor(pointer, qMin(kPointerHotX, pointer.width() - 1), qMin(kPointerHotY, pointer.height() - 1)));
    else
        setCursor(Qt::PointingHandCursor);
    updateAccessibleText();
}

void EmblemImage::setPicture(const QPixmap &picture)
{
    picture_ = picture;
    update();
}

void EmblemImage::setTag(const QString &tag)
{
    if (tag == tag_)
        return;
    tag_ = tag;
    updateAccessibleText();
}

void EmblemImage::updateAccessibleText()
{
    // The tag says whether the user lets the emblem turn ("A") or has
    // stopped it ("B"); the tooltip says what a click does.
    setAccessibleName(tag_ == QLatin1String("B") ? tr("衍枰标志：已停止转动") : tr("衍枰标志：转动中"));
    setAccessibleDescription(toolTip());
}

bool EmblemImage::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTipChange || event->type() == QEvent::LanguageChange)
        updateAccessibleText();
    return QWidget::event(event);
}

void EmblemImage::paintEvent(QPaintEvent *)
{
    // No border and no fill: where there is no picture the panel shows.
    if (picture_.isNull())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawPixmap(rect(), picture_);
}

void EmblemImage::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        pressed_ = true;
    QWidget::mousePressEvent(event);
}

void EmblemImage::mouseReleaseEvent(QMouseEvent *event)
{
    const bool wasPressed = pressed_;
    pressed_ = false;
    if (event->button() == Qt::LeftButton && wasPressed && rect().contains(event->position().toPoint())) {
        event->accept();
        emit clicked();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}
