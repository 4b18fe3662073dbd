#pragma once
#include <QHash>
#include <QPixmap>
#include <QTextBrowser>
#include <QUrl>
#include <QWidget>

class SpokenNotice;
// The browser inside a page view. It never opens a file on its own, and
// never lets Qt do so: every resource a page names (pictures, style sheets,
// backgrounds) must be a local file whose real path lies inside the program
// folder, and is read through the checked loader (regular files only, with
// a size cap); pictures are decoded within the picture limits, once per
// real path (a query string makes no new picture), and all of a page's
// pictures together within the page's pixel cap. A resource that cannot be
// had comes back as a small placeholder picture, whatever it was asked for
// as (a style sheet that is a picture is not used).
class PageBrowser : public QTextBrowser
{
    Q_OBJECT
public:
    using QTextBrowser::QTextBrowser;
    QVariant loadResource(int type, const QUrl &name) override;
    // Forgets the pictures of the page before; called before a new page.
    void startPage();
    // The picture shown for a resource that cannot be had.
    static QPixmap placeholder();

private:
    QHash<QString, QPixmap> pictures_; // by real path, failures as placeholders
    qint64 pagePixels_ = 0;
};

// The page view of a viewer window: navigates to a local HTML file and says
// when it has loaded it. Pages are GBK text whatever their meta tags say.
// Links to other pages inside the program folder open in the view; web and
// mail addresses (http, https, mailto) open on the desktop; every other link
// is ignored. A page nested deeper than the page limits allow is not shown.
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

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

signals:
    // A navigation has completed; carries the address that was loaded.
    void loaded(const QUrl &url);
    // A navigation ended, loaded or not.
    void navigationEnded();

private:
    void load(const QString &path, const QString &fragment);
    void followLink(const QUrl &url);
    // Scrolls to the named anchor and puts the caret there.
    void showAnchor(const QString &name);

    // Says the link that Tab lands on.
    void sayLink();

    PageBrowser *browser_ = nullptr;
    SpokenNotice *notice_ = nullptr;
    QUrl resourceBase_; // what relative names in the page are resolved against
    bool hasDocument_ = false;
};
