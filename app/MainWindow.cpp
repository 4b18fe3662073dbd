#include "MainWindow.h"

#include "divination/DivinationLayout.h"
#include "divination/DivinationWindow.h"
#include "pages/DocumentPages.h"
#include "pages/PageFile.h"
#include "platform/AppIcon.h"
#include "platform/AppInfo.h"
#include "platform/Errors.h"
#include "platform/Keyboard.h"
#include "platform/MdiChild.h"
#include "platform/MessageBox.h"
#include "platform/ProgramFiles.h"
#include "platform/Script.h"
#include "platform/Twips.h"
#include "shell/AboutBox.h"
#include "shell/HomePanel.h"
#include "shell/MdiBackground.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QTimer>
#include <exception>
#include <new>

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowIcon(platform::appIcon());
    constexpr float kRestoredWidth = 8085; // twips, the frame's size when it is not maximized
    constexpr float kRestoredHeight = 5430;
    resize(twips::size(kRestoredWidth, kRestoredHeight));
    setWindowState(Qt::WindowMaximized);

    platform::describeMdiFrames();
    mdiArea_ = new QMdiArea(this);
    mdiArea_->setObjectName(QStringLiteral("mdiArea"));
    mdiArea_->setOption(QMdiArea::DontMaximizeSubWindowOnActivation, true);
    setCentralWidget(mdiArea_);
    mdiArea_->viewport()->installEventFilter(this);
    // No smaller than the divination window needs, maximized, to show all
    // its controls without overlap.
    const divinationlayout::Extent least = divinationlayout::minimumInnerSize();
    const int frame = 2 * mdiArea_->frameWidth();
    mdiArea_->setMinimumSize(twips::size(least.width, least.height) + QSize(frame, frame));

    // Four commands straight on the menu bar, no menus under them.
    // Their texts are set by retranslate().
    auto addCommand = [this](const char *name, void (MainWindow::*slot)()) {
        QAction *a = menuBar()->addAction(QString());
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    instructionsAction_ = addCommand("instructionsAction", &MainWindow::showInstructions);
    divinationAction_ = addCommand("divinationAction", &MainWindow::showDivinationWindow);
    aboutAction_ = addCommand("aboutAction", &MainWindow::showAbout);
    exitAction_ = menuBar()->addAction(QString());
    exitAction_->setObjectName(QStringLiteral("exitAction"));
    connect(exitAction_, &QAction::triggered, this, &QWidget::close);
    retranslate();
    platform::enableMenuBarKeys(menuBar());

    pageFileSweeper_ = new PageFileSweeper(this);
    pageFileSweeper_->setObjectName(QStringLiteral("pageFileSweeper"));

    createHomePanel();
}

MainWindow::~MainWindow() = default;

void MainWindow::retranslate()
{
    setWindowTitle(appinfo::shownTitle());
    mdiArea_->setAccessibleName(appinfo::shownTitle());
    instructionsAction_->setText(tr("衍枰说明"));
    divinationAction_->setText(tr("衍枰占卜"));
    aboutAction_->setText(tr("关于(&I)"));
    exitAction_->setText(tr("退出"));
}

void MainWindow::changeEvent(QEvent *event)
{
    // A session that turns back to Simplified (its converter failed) shows
    // every text anew.
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QMainWindow::changeEvent(event);
}

void MainWindow::createHomePanel()
{
    try {
        homePanel_ = new HomePanel;
        connect(homePanel_, &HomePanel::instructionsRequested, this, &MainWindow::showInstructions);
        connect(homePanel_, &HomePanel::divinationRequested, this, &MainWindow::showDivinationWindow);
        homePanelWindow_ = mdiArea_->addSubWindow(homePanel_, Qt::SubWindow | Qt::FramelessWindowHint);
        homePanelWindow_->setObjectName(QStringLiteral("homePanelWindow"));
        platform::keepFrameOutOfFocus(homePanelWindow_);
        homePanelWindow_->move(0, 0);
        homePanel_->loadPictures();
        homePanelWindow_->show();
        fitHomePanel();
        keepAsBackground(homePanelWindow_);
    } catch (const std::bad_alloc &) {
        msgbox::showMessage(this, errors::errorMessage(errors::Failure::of(errors::Kind::OutOfMemory)));
    } catch (const std::exception &e) {
        msgbox::showMessage(this, errors::errorMessage({errors::Kind::Unexpected, QString::fromLocal8Bit(e.what())}));
    }
}

void MainWindow::fitHomePanel()
{
    if (!homePanelWindow_)
        return;
    homePanelWindow_->resize(mdiArea_->viewport()->size());
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mdiArea_->viewport() && event->type() == QEvent::Resize)
        fitHomePanel();
    // The converter of a Traditional session loads once the first screen
    // has been painted, so that it does not hold that screen up.
    if (watched == mdiArea_->viewport() && event->type() == QEvent::Paint && !firstPaintSeen_) {
        firstPaintSeen_ = true;
        QTimer::singleShot(0, this, [] { script::startLoading(); });
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::showInstructions()
{
    // The viewer's caption is the document's title as the page shows it.
    pages::showDocumentPage(mdiArea_, tr("衍枰说明"), platform::files::instructions());
}

DivinationWindow *MainWindow::divinationWindow() const
{
    const auto windows = mdiArea_->subWindowList();
    for (QMdiSubWindow *sub : windows) {
        if (auto *w = qobject_cast<DivinationWindow *>(sub->widget()))
            return w;
    }
    return nullptr;
}

void MainWindow::showDivinationWindow()
{
    // There is one divination window: an open one comes back to the front.
    if (DivinationWindow *w = divinationWindow()) {
        platform::showMaximizedInFront(w->subWindow());
        return;
    }
    auto *window = new DivinationWindow;
    platform::showMaximizedChild(mdiArea_, window);
}

void MainWindow::showAbout()
{
    AboutBox box(this);
    msgbox::execDialog(box);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // The child windows close first, each with its own handling; closing
    // the frame cannot be cancelled, and it ends the program.
    const auto children = mdiArea_->subWindowList();
    for (QMdiSubWindow *sub : children)
        sub->close();
    event->accept();
    pageFileSweeper_->stop();
    QCoreApplication::exit(0);
}
