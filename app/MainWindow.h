#pragma once
#include "shell/HomePanel.h"

#include <QMainWindow>
#include <QMdiSubWindow>
#include <QPointer>

class DivinationWindow;
class PageFileSweeper;
class QAction;
class QMdiArea;

// The program's frame: a multiple-document window with a four-command menu
// bar, the home panel behind every other child, and the page-file sweeper.
// It wires the features together: the menu and the home panel's buttons
// open the instructions, the divination window and the About box.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Opens the instructions document in a page viewer (or brings it back).
    void showInstructions();
    // Opens (or brings back) the divination window, maximized and in front.
    void showDivinationWindow();
    // The open divination window, or null.
    DivinationWindow *divinationWindow() const;
    // Shows the About box, modal.
    void showAbout();

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Sets the caption and the menu's texts in the session's language.
    void retranslate();
    void createHomePanel();
    void fitHomePanel();

    QMdiArea *mdiArea_ = nullptr;
    QPointer<HomePanel> homePanel_;
    QPointer<QMdiSubWindow> homePanelWindow_;
    PageFileSweeper *pageFileSweeper_ = nullptr;
    QAction *instructionsAction_ = nullptr;
    QAction *divinationAction_ = nullptr;
    QAction *aboutAction_ = nullptr;
    QAction *exitAction_ = nullptr;
    bool firstPaintSeen_ = false;
};
