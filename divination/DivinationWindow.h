#pragma once
#include "PieceImage.h"

#include <QHash>
#include <QPixmap>
#include <QWidget>
#include <array>
#include <optional>

class DivinationSession;
class QComboBox;
class QMdiSubWindow;
class QPushButton;
class SpokenNotice;
class TextPane;

// The divination window: the two mode buttons, the detailed-explanation
// button, the count selector, the reading pane and twelve pieces in three
// diamonds. It shows the state of its DivinationSession and forwards the
// user's clicks to it.
class DivinationWindow : public QWidget
{
    Q_OBJECT
public:
    using Pieces = std::array<PieceImage *, 4>;

    explicit DivinationWindow(QWidget *parent = nullptr);
    ~DivinationWindow() override;

    QMdiSubWindow *subWindow() const;
    DivinationSession *session() const { return session_; }

    // 《木制衍枰占卜》, which becomes 《祈祷开始》 in the computer mode.
    QPushButton *woodenButton() const { return woodenButton_; }
    // 《电脑衍枰占卜》, which becomes 《祈祷结束》 in the computer mode.
    QPushButton *computerButton() const { return computerButton_; }
    QPushButton *detailButton() const { return detailButton_; }
    QComboBox *countSelector() const { return countSelector_; }
    TextPane *readingPane() const { return readingPane_; }
    // The four pieces of each kind, in the order of the diamond: top, left,
    // right, bottom.
    const Pieces &upperPieces() const { return pieces_[0]; }
    const Pieces &middlePieces() const { return pieces_[1]; }
    const Pieces &lowerPieces() const { return pieces_[2]; }

    // The background picture; null when it did not load.
    QPixmap background() const { return background_; }

    // The smallest inner size at which the layout rule places every control
    // without overlap: the size the window takes when it is restored.
    QSize sizeHint() const override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void createPieces();
    void connectSession();
    void layoutControls();
    void showControls();
    void showPieces();
    void showAllPieces();
    void chooseFromSelector(int index);
    void showText(const QString &text);
    // What a screen reader says when the pane's text changes: an
    // etiquette whole, a reading's name and verdict, the detailed
    // explanation's title with the verdict; nothing for the welcome text.
    QString shownTextHeading();

    // Sets a piece's picture from a program picture file; a picture that
    // cannot be loaded leaves the piece as it was.
    void setPiece(PieceImage *piece, const QString &literal, const QString &shows);
    QPixmap picture(const QString &literal);

    DivinationSession *session_ = nullptr;
    QPushButton *woodenButton_ = nullptr;
    QPushButton *computerButton_ = nullptr;
    QPushButton *detailButton_ = nullptr;
    QComboBox *countSelector_ = nullptr;
    TextPane *readingPane_ = nullptr;
    SpokenNotice *notice_ = nullptr;
    std::array<Pieces, 3> pieces_ {};
    // The verdict line of the reading shown last; the detailed explanation
    // of the same reading is announced with it.
    QString verdict_;

    QPixmap background_;
    QHash<QString, QPixmap> pictures_;
    // The time stamp of the pointer press on the computer button that the
    // next click comes from; empty when the click comes from the keyboard.
    std::optional<quint64> computerPress_;
};
