#include "Fwangye.h"

#include "PageFile.h"
#include "PageView.h"
#include "app/LoadedWindows.h"
#include "platform/Twips.h"

#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QResizeEvent>

Fwangye *Fwangye::Create(QMdiArea *area)
{
    auto *viewer = new Fwangye;
    QMdiSubWindow *sub = area->addSubWindow(viewer);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(viewer->windowIcon());
    sub->showMaximized();
    area->setActiveSubWindow(sub);
    return viewer;
}

Fwangye::Fwangye(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Fwangye"));
    setWindowTitle(QStringLiteral("使用说明"));
    setWindowIcon(QIcon(QStringLiteral(":/yanping/icon.png")));
    WebBrowser1 = new PageView(this);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    WebBrowser1->move(twips::toPixels(45), twips::toPixels(45));
    WebBrowser1->resize(twips::toPixels(3885), twips::toPixels(2445));
    setFocusProxy(WebBrowser1);
    connect(WebBrowser1, &PageView::NavigateComplete, this, &Fwangye::WebBrowser1_NavigateComplete2);
    connect(WebBrowser1, &PageView::NavigateEnded, this, [this] {
        if (waitingForPageFile_) {
            waitingForPageFile_ = false;
            pagefile::loadFinished();
        }
    });
    loaded::add(this);
}

Fwangye::~Fwangye()
{
    if (waitingForPageFile_)
        pagefile::loadFinished();
}

QMdiSubWindow *Fwangye::subWindow() const { return qobject_cast<QMdiSubWindow *>(parentWidget()); }

void Fwangye::NavigatePageFile(const QString &path)
{
    if (!waitingForPageFile_) {
        waitingForPageFile_ = true;
        pagefile::loadStarted();
    }
    WebBrowser1->Navigate(path);
}

void Fwangye::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void Fwangye::Form_Resize()
{
    // Each dimension on its own: a negative one is skipped, the view keeps
    // its previous size there.
    const float width = float(twips::fromPixels(this->width())) - 100.0f;
    const float height = float(twips::fromPixels(this->height())) - 100.0f;
    QSize size = WebBrowser1->size();
    if (width >= 0)
        size.setWidth(twips::toPixels(width));
    if (height >= 0)
        size.setHeight(twips::toPixels(height));
    WebBrowser1->resize(size);
}

void Fwangye::WebBrowser1_NavigateComplete2()
{
    if (!WebBrowser1->hasDocument())
        return;
    setWindowTitle(WebBrowser1->documentTitle());
}
