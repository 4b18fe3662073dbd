#include "PageView.h"

#include "PageFile.h"
#include "PageLimits.h"
#include "formats/Pictures.h"
#include "formats/StoredText.h"
#include "platform/Files.h"
#include "platform/ProgramFolder.h"

#include <QBuffer>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPainter>
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
    // The document keeps what comes back by address alone, whatever it
    // was asked for as: a refusal is the placeholder picture for every kind
    // of resource (a style sheet that is a picture is simply not used), so
    // that no later use of the same address finds something Qt would go
    // and load or decode by itself.
    const QString path = url.isLocalFile() ? url.toLocalFile() : QString();
    const QString real = !path.isEmpty() && pagelimits::isInside(path, platform::programFolder())
        ? QFileInfo(path).canonicalFilePath()
        : QString();
    if (real.isEmpty())
        return placeholder();
    if (type == QTextDocument::ImageResource) {
        const auto known = pictures_.constFind(real);
        if (known != pictures_.constEnd())
            return *known;
        QImage image;
        QPixmap picture = placeholder();
        if (pictures::loadImage(real, &image)) {
            const qint64 pixels = qint64(image.width()) * image.height();
            if (pixels <= pagelimits::kMaxPagePixels - pagePixels_) {
                pagePixels_ += pixels;
                picture = QPixmap::fromImage(std::move(image));
            }
        }
        pictures_.insert(real, picture);
        return picture;
    }
    // Text, never anything Qt could take for a picture and decode.
    QByteArray bytes;
    errors::Failure failure;
    if (!platform::readRegularFile(real, storedtext::kMaxFileBytes, &bytes, &failure))
        return placeholder();
    QBuffer buffer(&bytes);
    if (buffer.open(QIODevice::ReadOnly) && QImageReader(&buffer).canRead())
        return placeholder();
    return bytes;
}

void PageBrowser::startPage()
{
    pictures_.clear();
    pagePixels_ = 0;
}

QPixmap PageBrowser::placeholder()
{
    // A small grey frame: where a picture would be.
    static const QPixmap frame = [] {
        QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setPen(QColor(160, 160, 160));
        painter.drawRect(0, 0, 15, 15);
        painter.drawLine(3, 12, 12, 3);
        painter.end();
        return QPixmap::fromImage(image);
    }();
    return frame;
}

PageView::PageView(QWidget *parent) : QWidget(parent)
{
    browser_ = new PageBrowser(this);
    browser_->setObjectName(QStringLiteral("pageBrowser"));
    browser_->setOpenLinks(false);
    browser_->setOpenExternalLinks(false);
    browser_->setAccessibleName(tr("网页"));
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
    if (!platform::readRegularFile(path, storedtext::kMaxFileBytes, &bytes, &failure)
        || !pagelimits::nestingAllowed(bytes)) {
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
    browser_->startPage();
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
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("mailto")) {
        QDesktopServices::openUrl(url);
        return;
    }
    if (!url.isLocalFile())
        return;
    // Other pages of the program; no other file is opened, not even by
    // the desktop.
    const QString path = url.toLocalFile();
    const QString suffix = QFileInfo(path).suffix().toLower();
    if ((suffix.startsWith(QLatin1String("htm")) || suffix == QLatin1String("txt"))
        && pagelimits::isInside(path, platform::programFolder()))
        load(path, url.fragment());
}
