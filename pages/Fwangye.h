#pragma once
#include <QWidget>

class PageView;
class QMdiArea;
class QMdiSubWindow;

// A page viewer: a child window that shows one HTML page and takes the
// page's title as its caption once the page has loaded.
class Fwangye : public QWidget
{
    Q_OBJECT
public:
    // Creates a viewer in the area; it opens maximized, in front of the others.
    static Fwangye *Create(QMdiArea *area);

    explicit Fwangye(QWidget *parent = nullptr);
    ~Fwangye() override;

    PageView *WebBrowser1 = nullptr;

    // Loads the page file and keeps it from being deleted until it is read.
    void NavigatePageFile(const QString &path);

    QMdiSubWindow *subWindow() const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void Form_Resize();
    void WebBrowser1_NavigateComplete2();
    bool waitingForPageFile_ = false;
};
