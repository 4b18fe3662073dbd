#pragma once
#include <QWidget>

class PageView;
class QMdiArea;
class QMdiSubWindow;

// A page viewer: a child window that shows one HTML page and takes the
// page's title as its caption once the page has loaded.
class PageViewer : public QWidget
{
    Q_OBJECT
public:
    // Creates a viewer in the area; it opens maximized, in front of the others.
    static PageViewer *create(QMdiArea *area);

    explicit PageViewer(QWidget *parent = nullptr);
    ~PageViewer() override;

    // Loads the page file and keeps it from being deleted until it is read.
    void openPageFile(const QString &path);

    QMdiSubWindow *subWindow() const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void fitPageView();
    void takeTitleFromPage();

    PageView *pageView_ = nullptr;
    bool waitingForPageFile_ = false;
};
