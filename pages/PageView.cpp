#include "PageView.h"

#include "PageFile.h"
#include "PageLimits.h"
#include "formats/Pictures.h"
#include "formats/StoredText.h"
#include "platform/Files.h"
#include "platform/ProgramFolder.h"
#include "platform/SpokenNotice.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QBuffer>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QKeyEvent>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

namespace {

// The page as assistive technology sees it: a read-only document whose
// text a screen reader reads at the caret as the user moves it. A picture
// is read as the text alternative the page gives it (its alt text), not as
// an unnamed object.
class AccessiblePage : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit AccessiblePage(QTextBrowser *browser) : QAccessibleWidget(browser, QAccessible::Document) { }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        s.multiLine = true;
        s.selectableText = true;
        return s;
    }

    // selection
    void selection(int index, int *start, int *end) const override
    {
        *start = *end = 0;
        const QTextCursor c = browser()->textCursor();
        if (index != 0 || !c.hasSelection())
            return;
        *start = toOffset(c.selectionStart());
        *end = toOffset(c.selectionEnd());
    }
    int selectionCount() const override { return browser()->textCursor().hasSelection() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int) override
    {
        QTextCursor c = browser()->textCursor();
        c.clearSelection();
        browser()->setTextCursor(c);
    }
    void setSelection(int, int start, int end) override
    {
        QTextCursor c = browser()->textCursor();
        c.setPosition(toPosition(start));
        c.setPosition(toPosition(end), QTextCursor::KeepAnchor);
        browser()->setTextCursor(c);
    }

    // caret
    int cursorPosition() const override { return toOffset(browser()->textCursor().position()); }
    void setCursorPosition(int offset) override
    {
        QTextCursor c = browser()->textCursor();
        c.setPosition(toPosition(offset));
        browser()->setTextCursor(c);
    }

    // text
    QString text(int start, int end) const override
    {
        refresh();
        start = std::clamp(start, 0, int(text_.size()));
        end = std::clamp(end, start, int(text_.size()));
        return text_.mid(start, end - start);
    }
    int characterCount() const override
    {
        refresh();
        return int(text_.size());
    }
    QRect characterRect(int offset) const override
    {
        QTextCursor c(browser()->document());
        c.setPosition(toPosition(offset));
        const QRect r = browser()->cursorRect(c);
        return QRect(browser()->viewport()->mapToGlobal(r.topLeft()), r.size());
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        const QPoint local = browser()->viewport()->mapFromGlobal(point);
        if (!browser()->viewport()->rect().contains(local))
            return -1;
        return toOffset(browser()->cursorForPosition(local).position());
    }
    void scrollToSubstring(int start, int) override
    {
        setCursorPosition(start);
        browser()->ensureCursorVisible();
    }
    QString attributes(int offset, int *start, int *end) const override
    {
        *start = offset;
        *end = offset;
        return QString();
    }

private:
    QTextBrowser *browser() const { return static_cast<QTextBrowser *>(widget()); }

    // The text as read out, and where each position of the document falls
    // in it: a picture, one position in the document, is its alt text.
    void refresh() const
    {
        const QTextDocument *doc = browser()->document();
        if (doc == doc_ && doc->revision() == revision_ && doc->characterCount() == characters_)
            return;
        doc_ = doc;
        revision_ = doc->revision();
        characters_ = doc->characterCount();
        text_.clear();
        starts_.assign(size_t(characters_) + 1, 0);
        for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
            if (block != doc->begin()) {
                starts_[size_t(block.position() - 1)] = int(text_.size());
                text_ += QLatin1Char('\n');
            }
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                const QString part = fragment.text();
                const QTextCharFormat format = fragment.charFormat();
                for (int i = 0; i < part.size(); ++i) {
                    starts_[size_t(fragment.position() + i)] = int(text_.size());
                    if (part.at(i) == QChar::ObjectReplacementCharacter && format.isImageFormat())
                        text_ += format.stringProperty(QTextFormat::ImageAltText).simplified();
                    else
                        text_ += part.at(i);
                }
            }
        }
        // Positions past the text (the document's closing paragraph end).
        for (size_t p = 1; p < starts_.size(); ++p)
            starts_[p] = std::max(starts_[p], starts_[p - 1]);
        starts_.back() = int(text_.size());
    }
    int toOffset(int position) const
    {
        refresh();
        return starts_[size_t(std::clamp(position, 0, characters_))];
    }
    int toPosition(int offset) const
    {
        refresh();
        // The last document position that starts at or before the offset.
        const auto it = std::upper_bound(starts_.begin(), starts_.end(), offset);
        return std::max(0, int(it - starts_.begin()) - 1);
    }

    mutable const QTextDocument *doc_ = nullptr;
    mutable int revision_ = -1;
    mutable int characters_ = 0;
    mutable QString text_;
    mutable std::vector<int> starts_;
};

QAccessibleInterface *pageFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("PageBrowser") && object && object->isWidgetType())
        return new AccessiblePage(static_cast<QTextBrowser *>(object));
    return nullptr;
}

} // namespace

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
    QAccessible::installFactory(pageFactory); // Qt keeps each factory once
    browser_ = new PageBrowser(this);
    browser_->setObjectName(QStringLiteral("pageBrowser"));
    // A caret that the arrow keys move, as in a document, besides Tab from
    // link to link; a screen reader reads the text where the caret goes.
    browser_->setTextInteractionFlags(Qt::TextBrowserInteraction | Qt::TextSelectableByKeyboard);
    browser_->setOpenLinks(false);
    browser_->setOpenExternalLinks(false);
    browser_->setAccessibleName(tr("网页"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    setFocusProxy(browser_);
    notice_ = new SpokenNotice(this);
    notice_->setObjectName(QStringLiteral("pageNotice"));
    connect(browser_, &QTextBrowser::anchorClicked, this, &PageView::followLink);
    browser_->installEventFilter(this);
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
        showAnchor(fragment);
    emit loaded(QUrl::fromLocalFile(fi.absoluteFilePath()));
    emit navigationEnded();
}

void PageView::showAnchor(const QString &name)
{
    browser_->scrollToAnchor(name);
    // The caret goes to the target too, so that reading, and a screen
    // reader, go on from there rather than from the link.
    for (QTextBlock block = browser_->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().anchorNames().contains(name)) {
                QTextCursor c(browser_->document());
                c.setPosition(it.fragment().position());
                browser_->setTextCursor(c);
                browser_->scrollToAnchor(name);
                // Following a link is heard: the line it led to.
                notice_->say(c.block().text().trimmed());
                return;
            }
        }
    }
}

bool PageView::eventFilter(QObject *watched, QEvent *event)
{
    // Tab and Shift+Tab go from link to link; the one reached is said once
    // the browser has moved to it.
    if (watched == browser_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Tab || key == Qt::Key_Backtab)
            && !(static_cast<QKeyEvent *>(event)->modifiers() & Qt::ControlModifier))
            QTimer::singleShot(0, this, &PageView::sayLink);
    }
    return QWidget::eventFilter(watched, event);
}

void PageView::sayLink()
{
    const QTextCursor c = browser_->textCursor();
    if (!browser_->hasFocus() || !c.hasSelection())
        return;
    QTextCursor inside = c;
    inside.setPosition(c.selectionStart() + 1);
    if (!inside.charFormat().isAnchor())
        return;
    notice_->say(c.selectedText().simplified() + QLatin1Char(' ') + tr("链接"));
}

void PageView::followLink(const QUrl &link)
{
    if (link.isRelative() && link.path().isEmpty()) {
        if (link.hasFragment())
            showAnchor(link.fragment());
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
