#include "MDIForm1.h"

#include "LoadedWindows.h"
#include "Module1.h"
#include "divination/Fxwpt.h"
#include "pages/DocumentPages.h"
#include "pages/PageFile.h"
#include "platform/AppInfo.h"
#include "platform/Errors.h"
#include "platform/MessageBox.h"
#include "platform/Twips.h"
#include "shell/Fmulu.h"
#include "shell/FrmAbout1.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QTimer>
#include <exception>
#include <new>

bool deletePageFileIfPresent(const QString &path)
{
    const QFileInfo fi(path);
    if (!fi.exists() || !fi.isFile() || fi.isHidden())
        return false;
    const auto writable = QFileDevice::WriteOwner | QFileDevice::WriteGroup
                          | QFileDevice::WriteOther;
    if (!fi.isSymLink() && !(fi.permissions() & writable))
        return false; // read-only: left alone
    return QFile::remove(path);
}

MDIForm1::MDIForm1(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("MDIForm1"));
    setWindowTitle(appinfo::title());
    setWindowIcon(QIcon(QStringLiteral(":/yanping/icon.png")));
    resize(twips::toPixels(8085), twips::toPixels(5430));
    setWindowState(Qt::WindowMaximized);

    mdiArea_ = new QMdiArea(this);
    mdiArea_->setObjectName(QStringLiteral("mdiArea"));
    mdiArea_->setOption(QMdiArea::DontMaximizeSubWindowOnActivation, true);
    mdiArea_->setAccessibleName(appinfo::title());
    setCentralWidget(mdiArea_);
    mdiArea_->viewport()->installEventFilter(this);

    auto addCommand = [this](const QString &caption, const char *name, void (MDIForm1::*slot)()) {
        QAction *a = menuBar()->addAction(caption);
        a->setObjectName(QString::fromUtf8(name));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    衍枰说明 = addCommand(QStringLiteral("衍枰说明"), "衍枰说明", &MDIForm1::衍枰说明_Click);
    衍枰占卜 = addCommand(QStringLiteral("衍枰占卜"), "衍枰占卜", &MDIForm1::衍枰占卜_Click);
    关于 = addCommand(QStringLiteral("关于(&I)"), "关于", &MDIForm1::关于_Click);
    退出 = addCommand(QStringLiteral("退出"), "退出", &MDIForm1::退出_Click);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(5000);
    connect(Timer1, &QTimer::timeout, this, &MDIForm1::Timer1_Timer);
    Timer1->start();

    loaded::add(this);
    MDIForm_Load();
}

MDIForm1::~MDIForm1()
{
    if (MainWindow == this)
        MainWindow = nullptr;
}

void MDIForm1::MDIForm_Load()
{
    try {
        panel_ = new Fmulu;
        panelWindow_ = mdiArea_->addSubWindow(panel_, Qt::SubWindow | Qt::FramelessWindowHint);
        panelWindow_->setObjectName(QStringLiteral("FmuluWindow"));
        panelWindow_->move(0, 0);
        panel_->Form_Load();
        panelWindow_->show();
        MDIForm_Resize();
    } catch (const std::bad_alloc &) {
        msgbox::showMessage(this, errors::errorMessage(errors::Failure::of(errors::OutOfMemory)));
    } catch (const std::exception &e) {
        msgbox::showMessage(this, errors::errorMessage({0, QString::fromLocal8Bit(e.what())}));
    }
}

void MDIForm1::MDIForm_Resize()
{
    if (!panelWindow_)
        return;
    const QSize client = mdiArea_->viewport()->size();
    panelWindow_->resize(client);
}

bool MDIForm1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mdiArea_->viewport() && event->type() == QEvent::Resize)
        MDIForm_Resize();
    return QMainWindow::eventFilter(watched, event);
}

void MDIForm1::Timer1_Timer()
{
    if (pagefile::loadPending())
        return; // a viewer has yet to read it; the next tick removes it
    deletePageFileIfPresent(pagefile::path());
}

void MDIForm1::ShowDivinationWindow()
{
    Fxwpt *w = Fxwpt::Open(mdiArea_);
    if (!w)
        return;
    w->setWindowTitle(appinfo::title());
    if (QMdiSubWindow *sub = w->subWindow()) {
        sub->showMaximized();
        mdiArea_->setActiveSubWindow(sub);
        sub->raise();
    }
}

void MDIForm1::衍枰说明_Click()
{
    ShowDocumentPage(QStringLiteral("衍枰说明"), QStringLiteral("\\god\\衍枰说明.god"));
}

void MDIForm1::衍枰占卜_Click() { ShowDivinationWindow(); }

void MDIForm1::关于_Click()
{
    FrmAbout1 box(this);
    msgbox::execDialog(box);
}

void MDIForm1::退出_Click() { close(); }

void MDIForm1::closeEvent(QCloseEvent *event)
{
    // The child windows close first, each with its own handling; closing
    // the frame cannot be cancelled.
    const auto children = mdiArea_->subWindowList();
    for (QMdiSubWindow *sub : children)
        sub->close();
    event->accept();
    MDIForm_Unload();
}

void MDIForm1::MDIForm_Unload()
{
    Timer1->stop();
    QCoreApplication::exit(0);
}
