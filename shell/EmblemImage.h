#pragma once
#include <QPixmap>
#include <QWidget>

// The home panel's emblem: a borderless picture box that stretches its
// picture to its own size, carries a tag text and reports clicks.
class EmblemImage : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString tag READ tag WRITE setTag)
public:
    explicit EmblemImage(QWidget *parent = nullptr);

    QPixmap picture() const { return picture_; }
    void setPicture(const QPixmap &picture);

    QString tag() const { return tag_; }
    void setTag(const QString &tag);

signals:
    void clicked();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void updateAccessibleText();

    QPixmap picture_;
    QString tag_;
    bool pressed_ = false;
};

// The hot spot of the pointer picture ":/yanping/pointer.png" (32 x 32): the
// tip of the brush it shows.
constexpr int kPointerHotX = 2;
constexpr int kPointerHotY = 2;
