#pragma once
#include <QPixmap>
#include <QPointer>
#include <QWidget>
#include <optional>

class EmblemImage;
class GatedTimer;
class QMdiArea;
class QMdiSubWindow;
class QPushButton;

// The home panel: a borderless child of the main window that fills its
// client area behind every other child. It shows the globe on cyan, the
// turning emblem and the two buttons that ask for the instructions and for
// the divination window.
class HomePanel : public QWidget
{
    Q_OBJECT
public:
    explicit HomePanel(QWidget *parent = nullptr);

    EmblemImage *emblem() const { return emblem_; }
    QPushButton *instructionsButton() const { return instructionsButton_; }
    QPushButton *divinationButton() const { return divinationButton_; }
    GatedTimer *turnTimer() const { return turnTimer_; }

    // Loads the background and the emblem at rest; called once the panel
    // sits in the main window's area.
    void loadPictures();
    // Shows the next frame of the turning emblem (one timer tick).
    void showNextFrame();
    // What a click on the emblem does: stops or restarts the turning.
    void toggleTurning();
    // What becoming the active child, and losing that, do: the emblem turns
    // only while the panel is in front.
    void startTurning();
    void stopTurning();

    // The picture painted behind the controls; null when it did not load.
    QPixmap background() const { return background_; }
    // True while the panel is the active child of the main window's area.
    bool isActiveChild() const { return active_; }

signals:
    void instructionsRequested();
    void divinationRequested();

protected:
    void changeEvent(QEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // Sets the caption, the buttons' texts and the emblem's tooltip in the
    // session's language.
    void retranslate();
    void layoutControls();
    void attachToArea();
    void subWindowActivated(QMdiSubWindow *window);
    void keepAtBottom();

    EmblemImage *emblem_ = nullptr;
    QPushButton *instructionsButton_ = nullptr;
    QPushButton *divinationButton_ = nullptr;
    GatedTimer *turnTimer_ = nullptr;
    std::optional<int> nextFrame_; // the emblem frame due next, 1 to 4; none before the first tick
    QPixmap background_;
    QPointer<QMdiSubWindow> subWindow_;
    QPointer<QMdiArea> area_;
    bool active_ = false;
};
