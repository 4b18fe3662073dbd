#include "PageView.h"

#include "PageFile.h"
#include "formats/Pictures.h"
#include "formats/StoredText.h"
#include "platform/Files.h"
#include "platform/ProgramFolder.h"
#include "platform/Script.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QTextDocument>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

QVariant PageBrowser::loadResource(int type, const QUrl &name)
{
    // Names come as the page wrote them; relative ones belong to the page's folder.
    const QUrl url = name.isRelative() ? document()->baseUrl().resolved(name) : name;
    if (url.scheme() == QLatin1String("qrc"))
        return QTextBrowser::loadResource(type, name);
    if (url.scheme() == QLatin1String("data"))
        return QVariant(); // the document decodes these itself
    if (type == QTextDocument::ImageResource) {
        QImage image;
        if (url.isLocalFile())
            pictures::loadImage(url.toLocalFile(), &image);
        return image;
    }
    QByteArray bytes;
    if (url.isLocalFile()) {
        errors::Failure failure;
        platform::readRegularFile(url.toLocalFile(), storedtext::kMaxFileBytes, &bytes, &failure);
    }
    return bytes;
}

PageView::PageView(QWidget *parent) : QWidget(parent)
{
    browser_ = new PageBrowser(this);
    browser_->setObjectName(QStringLiteral("pageBrowser"));
    browser_->setOpenLinks(false);
    browser_->setOpenExternalLinks(false);
    browser_->setAccessibleName(script::display(QStringLiteral("网页")));
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
    QByteArray bytes;
    errors::Failure failure;
    if (!platform::readRegularFile(path, storedtext::kMaxFileBytes, &bytes, &failure)) {
        emit navigationEnded();
        return;
    }
    const QFileInfo fi(path);
    // The page file may have been written away from the program (a
    // read-only install); its pictures and links are still those beside it.
    const QString folder = fi == QFileInfo(pagefile::path()) ? platform::programFolder() : fi.absolutePath();
    resourceBase_ = QUrl::fromLocalFile(folder + QLatin1Char('/'));
    browser_->document()->setBaseUrl(resourceBase_);
    browser_->setSearchPaths({folder});
    const QString text = gbk::decode(bytes);
    if (fi.suffix().startsWith(QLatin1String("htm"), Qt::CaseInsensitive))
        browser_->setHtml(text);
    else
        browser_->setPlainText(text);
    hasDocument_ = true;
    if (!fragment.isEmpty())
        browser_->scrollToAnchor(fragment);
    emit loaded(QUrl::fromLocalFile(fi.absoluteFilePath()));
    emit navigationEnded();
}

void PageView::followLink(const QUrl &link)
{
    if (link.isRelative() && link.path().isEmpty()) {
        if (link.hasFragment())
            browser_->scrollToAnchor(link.fragment());
        return;
    }
    const QUrl url = link.isRelative() ? resourceBase_.resolved(link) : link;
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
