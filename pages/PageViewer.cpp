#include "PageViewer.h"

#include "PageFile.h"
#include "PageView.h"
#include "platform/AppIcon.h"
#include "platform/MdiChild.h"
#include "platform/Twips.h"

#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QResizeEvent>

PageViewer *PageViewer::create(QMdiArea *area)
{
    auto *viewer = new PageViewer;
    platform::showMaximizedChild(area, viewer);
    return viewer;
}

PageViewer::PageViewer(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("pageViewer"));
    setWindowTitle(tr("使用说明"));
    setWindowIcon(platform::appIcon());
    pageView_ = new PageView(this);
    pageView_->setObjectName(QStringLiteral("pageView"));
    pageView_->setGeometry(twips::rect(45, 45, 3885, 2445));
    setFocusProxy(pageView_);
    connect(pageView_, &PageView::loaded, this, &PageViewer::takeTitleFromPage);
    connect(pageView_, &PageView::navigationEnded, this, [this] {
        if (waitingForPageFile_) {
            waitingForPageFile_ = false;
            pagefile::loadFinished();
        }
    });
}

PageViewer::~PageViewer()
{
    if (waitingForPageFile_)
        pagefile::loadFinished();
}

QMdiSubWindow *PageViewer::subWindow() const
{
    return qobject_cast<QMdiSubWindow *>(parentWidget());
}

void PageViewer::openPageFile(const QString &path)
{
    if (!waitingForPageFile_) {
        waitingForPageFile_ = true;
        pagefile::loadStarted();
    }
    pageView_->navigate(path);
}

void PageViewer::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    fitPageView();
}

void PageViewer::fitPageView()
{
    // Each dimension on its own: a negative one is skipped, the view keeps
    // its previous size there.
    const float width = float(twips::fromPixels(this->width())) - 100.0f;
    const float height = float(twips::fromPixels(this->height())) - 100.0f;
    QSize size = pageView_->size();
    if (width >= 0)
        size.setWidth(twips::toPixels(width));
    if (height >= 0)
        size.setHeight(twips::toPixels(height));
    pageView_->resize(size);
}

void PageViewer::takeTitleFromPage()
{
    if (!pageView_->hasDocument())
        return;
    setWindowTitle(pageView_->documentTitle());
}
