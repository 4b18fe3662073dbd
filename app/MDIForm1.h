#pragma once
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QPointer>

#include "shell/Fmulu.h"

class QAction;
class QMdiArea;
class QTimer;

// The program's frame: a multiple-document window with a four-command menu
// bar, the home panel behind every other child, and the page-file timer.
class MDIForm1 : public QMainWindow
{
    Q_OBJECT
public:
    explicit MDIForm1(QWidget *parent = nullptr);
    ~MDIForm1() override;

    QMdiArea *mdiArea() const { return mdiArea_; }
    Fmulu *panel() const { return panel_; }
    QMdiSubWindow *panelWindow() const { return panelWindow_; }

    QAction *衍枰说明 = nullptr;
    QAction *衍枰占卜 = nullptr;
    QAction *关于 = nullptr;
    QAction *退出 = nullptr;
    QTimer *Timer1 = nullptr;

    // Opens (or brings back) the divination window, maximized and in front.
    void ShowDivinationWindow();

public:
    void Timer1_Timer();
    void 衍枰说明_Click();
    void 衍枰占卜_Click();
    void 关于_Click();
    void 退出_Click();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void MDIForm_Load();
    void MDIForm_Resize();
    void MDIForm_Unload();

    QMdiArea *mdiArea_ = nullptr;
    QPointer<Fmulu> panel_;
    QPointer<QMdiSubWindow> panelWindow_;
};

// Deletes the page file when it is an ordinary file that may be deleted;
// every failure is ignored. Returns true when a file was deleted.
bool deletePageFileIfPresent(const QString &path);
