#pragma once
#include <QPixmap>
#include <QWidget>

// One piece of the divination window: shows its picture stretched to the
// box, and tells assistive technology what it shows.
class PieceImage : public QWidget
{
    Q_OBJECT
public:
    explicit PieceImage(const QString &place, QWidget *parent = nullptr);

    // Sets the picture and what it shows ("上", "中", "下" or "空白").
    void setPicture(const QPixmap &picture, const QString &shows);
    QPixmap picture() const { return picture_; }
    QString shows() const { return shows_; }
    // Repaints the piece; changes are presented at most once a frame.
    void present();
    // Tells assistive technology (and the tooltip) what the piece shows;
    // done once the pieces have been still for a moment.
    void describe();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void requestPaint();

    QPixmap picture_;
    QPixmap scaled_; // the picture at the box's size, made once per change
    QString shows_;
    QString place_;
};
