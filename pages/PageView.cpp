#include "PageView.h"

#include "formats/StoredText.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

PageView::PageView(QWidget *parent) : QWidget(parent)
{
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("pageBrowser"));
    browser_->setOpenLinks(false);
    browser_->setOpenExternalLinks(false);
    browser_->setAccessibleName(QStringLiteral("网页"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    setFocusProxy(browser_);
    connect(browser_, &QTextBrowser::anchorClicked, this, &PageView::followLink);
}

void PageView::navigate(const QString &path)
{
    QTimer::singleShot(0, this, [this, path] { load(path, QString()); });
}

QString PageView::documentTitle() const
{
    return browser_->document()->metaInformation(QTextDocument::DocumentTitle);
}

void PageView::load(const QString &path, const QString &fragment)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)
        || file.size() > storedtext::kMaxFileBytes) {
        emit navigationEnded();
        return;
    }
    const QByteArray bytes = file.readAll();
    file.close();
    const QFileInfo fi(path);
    const QUrl base = QUrl::fromLocalFile(fi.absolutePath() + QLatin1Char('/'));
    browser_->document()->setBaseUrl(base);
    browser_->setSearchPaths({fi.absolutePath()});
    const QString text = storedtext::decodeGbk(bytes);
    if (fi.suffix().startsWith(QLatin1String("htm"), Qt::CaseInsensitive))
        browser_->setHtml(text);
    else
        browser_->setPlainText(text);
    hasDocument_ = true;
    currentPath_ = fi.absoluteFilePath();
    if (!fragment.isEmpty())
        browser_->scrollToAnchor(fragment);
    emit loaded(QUrl::fromLocalFile(currentPath_));
    emit navigationEnded();
}

void PageView::followLink(const QUrl &link)
{
    if (link.isRelative() && link.path().isEmpty()) {
        if (link.hasFragment())
            browser_->scrollToAnchor(link.fragment());
        return;
    }
    const QUrl base = QUrl::fromLocalFile(QFileInfo(currentPath_).absolutePath() + QLatin1Char('/'));
    const QUrl url = link.isRelative() ? base.resolved(link) : link;
    if (url.isLocalFile()) {
        const QString path = url.toLocalFile();
        const QString suffix = QFileInfo(path).suffix().toLower();
        if (suffix.startsWith(QLatin1String("htm")) || suffix == QLatin1String("txt")) {
            load(path, url.fragment());
            return;
        }
    }
    QDesktopServices::openUrl(url);
}
