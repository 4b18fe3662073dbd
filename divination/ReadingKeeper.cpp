#include "ReadingKeeper.h"

#include "DivinationSession.h"
#include "PieceImage.h"
#include "TextPane.h"
#include "platform/AppInfo.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"

#include <QAction>
#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollBar>
#include <QStandardPaths>

namespace {
// In the session's language, the words of Qt's own dialogs in it.
QString saveTitle()
{
    return ReadingKeeper::tr("保存签文");
}
QString printTitle()
{
    return ReadingKeeper::tr("打印签文");
}
QString pdfFilter()
{
    return ReadingKeeper::tr("PDF 文档 (*.pdf)");
}
QString pngFilter()
{
    return ReadingKeeper::tr("PNG 图片 (*.png)");
}
constexpr int kPictureDpi = 150;
constexpr int kPdfDpi = 1200; // as a high-resolution printer, so printing to a file gives the same PDF

QString proposedFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

QString withSuffix(const QString &name, const QString &suffix)
{
    const QFileInfo fi(name);
    const QString other = suffix == QLatin1String("pdf") ? QStringLiteral("png") : QStringLiteral("pdf");
    if (fi.suffix().compare(other, Qt::CaseInsensitive) == 0)
        return name.left(name.size() - other.size()) + suffix;
    return name;
}

// The name a file is written under when the name typed asks for no format
// of its own: "notes.txt" becomes "notes.txt.pdf", "slip." "slip.pdf".
QString withAddedSuffix(const QString &name, const QString &suffix)
{
    return name + (name.endsWith(QLatin1Char('.')) ? suffix : QLatin1Char('.') + suffix);
}

QString documentTitle(const ReadingSheetContent &content)
{
    return QStringLiteral("%1 %2").arg(content.title, ReadingSheet::countsText(content.counts));
}

QString creator()
{
    return appinfo::title() + QLatin1Char(' ') + QCoreApplication::applicationVersion();
}
} // namespace

ReadingKeeper::ReadingKeeper(QWidget *window, DivinationSession *session, TextPane *pane, const PieceGroups &pieces)
    : QObject(window),
      window_(window),
      session_(session),
      pane_(pane),
      pieces_(pieces),
      saveAction_(new QAction(tr("保存签文…"), window)),
      printAction_(new QAction(tr("打印签文…"), window))
{
    setObjectName(QStringLiteral("readingKeeper"));
    saveAction_->setObjectName(QStringLiteral("saveReading"));
    saveAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    printAction_->setObjectName(QStringLiteral("printReading"));
    printAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    for (QAction *action : {saveAction_, printAction_}) {
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        window->addAction(action);
    }
    connect(saveAction_, &QAction::triggered, this, &ReadingKeeper::save);
    connect(printAction_, &QAction::triggered, this, &ReadingKeeper::print);
    connect(session_, &DivinationSession::textChanged, this, &ReadingKeeper::updateActions);
    updateActions();

    pane->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(pane, &QWidget::customContextMenuRequested, this, [this, pane](const QPoint &position) {
        const std::unique_ptr<QMenu> menu(createContextMenu(position));
        menu->exec(pane->viewport()->mapToGlobal(position));
    });
}

bool ReadingKeeper::readingShown() const
{
    const bool reading = session_->shown() == DivinationSession::Shown::Reading
        || session_->shown() == DivinationSession::Shown::Detail;
    return reading && !session_->text().isEmpty();
}

void ReadingKeeper::updateActions()
{
    const bool shown = readingShown();
    saveAction_->setEnabled(shown);
    printAction_->setEnabled(shown);
}

QMenu *ReadingKeeper::createContextMenu(const QPoint &position) const
{
    const QPoint inDocument(position.x() + pane_->horizontalScrollBar()->value(),
                            position.y() + pane_->verticalScrollBar()->value());
    QMenu *menu = pane_->createStandardContextMenu(inDocument);
    menu->setAccessibleName(pane_->accessibleName());
    menu->addSeparator();
    menu->addAction(saveAction_);
    menu->addAction(printAction_);
    return menu;
}

ReadingSheet ReadingKeeper::sheet() const
{
    ReadingSheetContent content;
    content.title = appinfo::shownTitle();
    content.shownAt = session_->readingShownAt();
    content.counts = session_->counts();
    for (size_t g = 0; g < 3; ++g)
        for (size_t i = 0; i < 4; ++i)
            content.pieces[g][i] = pieces_[g][i]->picture();
    content.text = pane_->text();
    return ReadingSheet(content);
}

QString ReadingKeeper::proposedFileName(const QString &key, const QDate &date)
{
    return QStringLiteral("%1 %2 %3.pdf").arg(appinfo::title(), key, date.toString(QStringLiteral("yyyy-MM-dd")));
}

bool ReadingKeeper::formatOf(const QString &path, Format *format)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("pdf"))
        *format = Format::Pdf;
    else if (suffix == QLatin1String("png"))
        *format = Format::Png;
    else
        return false;
    return true;
}

bool ReadingKeeper::writePdf(const ReadingSheet &sheet, const QString &path, const QPageLayout &page,
                             errors::Failure *failure)
{
    // Painted into memory first: the PDF writer does not report a write
    // that failed half-way, the checked write below does.
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(kPdfDpi);
        writer.setPageLayout(page);
        writer.setTitle(documentTitle(sheet.content()));
        writer.setCreator(creator());
        if (sheet.paint(&writer) == 0) {
            *failure = errors::Failure::of(errors::Kind::PathFileAccess);
            return false;
        }
    }
    return platform::writeFileReplacing(path, bytes, failure, platform::Target::UserFile);
}

bool ReadingKeeper::writeSheet(const ReadingSheet &sheet, const QString &path, Format format, errors::Failure *failure)
{
    if (format == Format::Pdf)
        return writePdf(sheet, path, QPageLayout(ReadingSheet::defaultPageSize(), QPageLayout::Portrait, QMarginsF()),
                        failure);
    const QImage picture = sheet.image(ReadingSheet::defaultPageSize(), kPictureDpi, kMaxPicturePages);
    if (picture.isNull()) {
        *failure
            = {errors::Kind::OutOfMemory, tr("签文超过 %1 页，不能存为图片，请存为 PDF 文档。").arg(kMaxPicturePages)};
        return false;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "PNG")) {
        *failure = errors::Failure::of(errors::Kind::OutOfMemory);
        return false;
    }
    return platform::writeFileReplacing(path, bytes, failure, platform::Target::UserFile);
}

void ReadingKeeper::save()
{
    if (!readingShown())
        return;
    const ReadingSheet slip = sheet();
    const reading::Counts counts = slip.content().counts;
    const QString key = reading::readingKey(counts.upper, counts.middle, counts.lower);

    QFileDialog dialog(window_, saveTitle());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAccessibleName(saveTitle());
    dialog.setNameFilters({pdfFilter(), pngFilter()});
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.setDirectory(proposedFolder());
    dialog.selectFile(proposedFileName(key, slip.content().shownAt.date()));
    // Choosing the other kind of file changes the proposed name with it.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString &filter) {
        const QString suffix = filter == pngFilter() ? QStringLiteral("png") : QStringLiteral("pdf");
        dialog.setDefaultSuffix(suffix);
        if (auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
            edit->setText(withSuffix(edit->text(), suffix));
    });
    QString path;
    Format format = Format::Pdf;
    for (;;) {
        if (msgbox::execDialog(dialog) != QDialog::Accepted)
            return;
        path = dialog.selectedFiles().value(0);
        if (path.isEmpty())
            return;
        if (formatOf(path, &format))
            break;
        // A name of another kind gets the chosen format's suffix. The
        // dialog asked only about the name as typed, so a file that already
        // has the longer name brings the dialog back with that name, and
        // the dialog asks before it is replaced.
        format = dialog.selectedNameFilter() == pngFilter() ? Format::Png : Format::Pdf;
        path = withAddedSuffix(path, format == Format::Png ? QStringLiteral("png") : QStringLiteral("pdf"));
        const QFileInfo written(path);
        if (!written.exists() && !written.isSymLink())
            break;
        dialog.selectFile(path);
    }
    errors::Failure failure;
    if (!writeSheet(slip, path, format, &failure))
        msgbox::showMessage(window_, failure.description);
}

void ReadingKeeper::print()
{
    if (!readingShown())
        return;
    const ReadingSheet slip = sheet();
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(ReadingSheet::defaultPageSize());
    printer.setFullPage(true); // the slip sets its own margins
    printer.setDocName(documentTitle(slip.content()));
    printer.setCreator(creator());
    QPrintDialog dialog(&printer, window_);
    dialog.setWindowTitle(printTitle());
    dialog.setAccessibleName(printTitle());
    if (msgbox::execDialog(dialog) != QDialog::Accepted)
        return;
    const QString output = printer.outputFileName();
    if (!output.isEmpty()) {
        // Printing to a file is saving a PDF: whole, or the file that was
        // there stays as it was. (The printer itself would empty the file
        // first and keep quiet about a failed write.)
        errors::Failure failure;
        if (!writePdf(slip, output, printer.pageLayout(), &failure))
            msgbox::showMessage(window_, failure.description);
        return;
    }
    if (slip.paint(&printer) == 0)
        msgbox::showMessage(window_, errors::description(errors::Kind::PathFileAccess));
}
