#pragma once
#include <QTextBrowser>
#include <QUrl>
#include <QWidget>

// The browser inside a page view. It never opens a file on its own: every
// local resource a page names is read through the checked loader (regular
// files only, with a size cap) and images are decoded within the picture
// limits. A resource that cannot be had comes back empty (an image shows
// as a broken picture), never as a file for Qt to try by itself.
class PageBrowser : public QTextBrowser
{
    Q_OBJECT
public:
    using QTextBrowser::QTextBrowser;
    QVariant loadResource(int type, const QUrl &name) override;
};

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
    QTextBrowser *browser() const { return browser_; }

signals:
    // A navigation has completed; carries the address that was loaded.
    void loaded(const QUrl &url);
    // A navigation ended, loaded or not.
    void navigationEnded();

private:
    void load(const QString &path, const QString &fragment);
    void followLink(const QUrl &url);

    PageBrowser *browser_ = nullptr;
    QUrl resourceBase_; // what relative names in the page are resolved against
    bool hasDocument_ = false;
};
