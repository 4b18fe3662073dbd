#pragma once
#include "PieceImage.h"

#include <QHash>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

class QComboBox;
class QMdiArea;
class QMdiSubWindow;
class QPushButton;
class QTimer;
class TextPane;

// The divination window: two mode buttons, the detailed-explanation button,
// the count selector, the text pane and twelve pieces in three diamonds.
// The state of its modes lives in the buttons' captions and enabled flags.
class Fxwpt : public QWidget
{
    Q_OBJECT
public:
    // The one divination window, loaded into the area if it is not open.
    static Fxwpt *Open(QMdiArea *area);
    // The open divination window, or null.
    static Fxwpt *Instance();

    explicit Fxwpt(QWidget *parent = nullptr);
    ~Fxwpt() override;

    QMdiSubWindow *subWindow() const;

    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command3 = nullptr;
    QComboBox *Combo1 = nullptr;
    TextPane *Text1 = nullptr;
    QTimer *Timer1 = nullptr;
    PieceArray Image1; // the four 上 pieces
    PieceArray Image2; // the four 中 pieces
    PieceArray Image3; // the four 下 pieces

    int upperCount = 0;
    int middleCount = 0;
    int lowerCount = 0;

    void Command1_Click();
    void Command2_Click();
    void Combo1_Click();
    void Command3_Click();
    void Form_Load();
    void Form_Resize();
    void Timer1_Timer();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    friend class TestFxwpt;
    void ShowReading();
    void ShowPieces();
    // Makes the twelve pieces visible, group by group for each index.
    void ShowAllPieces();

    // Sets a piece's picture from a program picture file; a picture that
    // cannot be loaded leaves the piece as it was.
    void setPiece(PieceImage *piece, const QString &literal, const QString &shows);
    QPixmap picture(const QString &literal);

    QPixmap background_;
    QHash<QString, QPixmap> pictures_;
    static QPointer<Fxwpt> instance_;
};
