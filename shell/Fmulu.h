#pragma once
#include <QPixmap>
#include <QPointer>
#include <QWidget>
#include <optional>

class EmblemImage;
class FormTimer;
class QMdiArea;
class QMdiSubWindow;
class QPushButton;

// The home panel: a borderless child of the main window that fills its
// client area behind every other child. It shows the globe on cyan, the
// turning emblem and the two buttons that lead to the instructions and to
// the divination window.
class Fmulu : public QWidget
{
    Q_OBJECT
public:
    explicit Fmulu(QWidget *parent = nullptr);

    EmblemImage *Image1 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    FormTimer *Timer1 = nullptr;

    // The next emblem frame to show, 1 to 4; empty until the first tick.
    std::optional<int> frameNumber;

    void Form_Load();
    void Form_Activate();
    void Form_Deactivate();
    void Form_Resize();
    void Timer1_Timer();
    void Image1_Click();
    void Command1_Click();
    void Command2_Click();

    // The picture painted behind the controls; null when it did not load.
    QPixmap background() const { return background_; }
    // True while the panel is the active child of the main window's area.
    bool isActiveChild() const { return active_; }

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void attachToArea();
    void subWindowActivated(QMdiSubWindow *window);
    void keepAtBottom();

    QPixmap background_;
    QPointer<QMdiSubWindow> subWindow_;
    QPointer<QMdiArea> area_;
    bool active_ = false;
};
