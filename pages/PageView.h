#pragma once
#include <QWidget>

class QTextBrowser;
class QUrl;

// The page view of a viewer window: navigates to a local HTML file and says
// when it has loaded it. Pages are GBK text whatever their meta tags say.
// Links to other local files open in the view; links to web addresses open
// in the user's browser.
class PageView : public QWidget
{
    Q_OBJECT
public:
    explicit PageView(QWidget *parent = nullptr);

    // Starts loading the file; returns at once, the page loads in the event loop.
    void navigate(const QString &path);
    // Whether a page has been loaded, and that page's <title> (empty if none).
    bool hasDocument() const { return hasDocument_; }
    QString documentTitle() const;
    QString currentPath() const { return currentPath_; }
    QTextBrowser *browser() const { return browser_; }

signals:
    // A navigation has completed; carries the address that was loaded.
    void loaded(const QUrl &url);
    // A navigation ended, loaded or not.
    void navigationEnded();

private:
    void load(const QString &path, const QString &fragment);
    void followLink(const QUrl &url);

    QTextBrowser *browser_ = nullptr;
    QString currentPath_;
    bool hasDocument_ = false;
};
