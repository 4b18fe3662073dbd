#include "ReadingKeeper.h"

#include "DivinationSession.h"
#include "DivinationWindow.h"
#include "TextPane.h"
#include "platform/AppInfo.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"

#include <QAction>
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
#include <QSaveFile>
#include <QScrollBar>
#include <QSettings>
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

// Qt's own file dialog remembers its folders and view in the user's
// settings when it closes. The program keeps nothing between runs, so
// those settings go where nothing can be written or read.
void keepNoDialogSettings()
{
#ifdef Q_OS_UNIX
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("/dev/null/unused"));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("/dev/null/unused"));
#endif
}

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
} // namespace

ReadingKeeper::ReadingKeeper(DivinationWindow *window)
    : QObject(window),
      window_(window),
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
    connect(window->session(), &DivinationSession::textChanged, this, &ReadingKeeper::updateActions);
    updateActions();

    TextPane *pane = window->readingPane();
    pane->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(pane, &QWidget::customContextMenuRequested, this, [this, pane](const QPoint &position) {
        const std::unique_ptr<QMenu> menu(createContextMenu(position));
        menu->exec(pane->viewport()->mapToGlobal(position));
    });
}

bool ReadingKeeper::readingShown() const
{
    const DivinationSession *session = window_->session();
    const bool reading
        = session->shown() == DivinationSession::Shown::Reading || session->shown() == DivinationSession::Shown::Detail;
    return reading && !session->text().isEmpty();
}

void ReadingKeeper::updateActions()
{
    const bool shown = readingShown();
    saveAction_->setEnabled(shown);
    printAction_->setEnabled(shown);
}

QMenu *ReadingKeeper::createContextMenu(const QPoint &position) const
{
    TextPane *pane = window_->readingPane();
    const QPoint inDocument(position.x() + pane->horizontalScrollBar()->value(),
                            position.y() + pane->verticalScrollBar()->value());
    QMenu *menu = pane->createStandardContextMenu(inDocument);
    menu->setAccessibleName(pane->accessibleName());
    menu->addSeparator();
    menu->addAction(saveAction_);
    menu->addAction(printAction_);
    return menu;
}

ReadingSheet ReadingKeeper::sheet() const
{
    ReadingSheetContent content;
    content.title = appinfo::shownTitle();
    content.shownAt = window_->session()->readingShownAt();
    content.counts = window_->session()->counts();
    const DivinationWindow::Pieces *groups[3]
        = {&window_->upperPieces(), &window_->middlePieces(), &window_->lowerPieces()};
    for (size_t g = 0; g < 3; ++g)
        for (size_t i = 0; i < 4; ++i)
            content.pieces[g][i] = (*groups[g])[i]->picture();
    content.text = window_->readingPane()->text();
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

bool ReadingKeeper::writeSheet(const ReadingSheet &sheet, const QString &path, Format format, errors::Failure *failure)
{
    const QFileInfo target(path);
    if (target.isDir()) {
        *failure = errors::Failure::of(errors::Kind::PathFileAccess);
        return false;
    }
    if (!QFileInfo(target.absolutePath()).isDir()) {
        *failure = errors::Failure::of(errors::Kind::PathNotFound);
        return false;
    }
    if (!platform::mayCreateFilesIn(target.absolutePath()) || (target.exists() && !platform::hasWriteBits(path))) {
        *failure = errors::Failure::of(errors::Kind::PermissionDenied);
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *failure = errors::Failure::of(errors::Kind::PermissionDenied);
        return false;
    }
    bool written = false;
    if (format == Format::Pdf) {
        QPdfWriter writer(&file);
        writer.setResolution(kPdfDpi);
        writer.setPageLayout(QPageLayout(ReadingSheet::defaultPageSize(), QPageLayout::Portrait, QMarginsF()));
        writer.setTitle(
            QStringLiteral("%1 %2").arg(sheet.content().title, ReadingSheet::countsText(sheet.content().counts)));
        writer.setCreator(appinfo::title() + QLatin1Char(' ') + QCoreApplication::applicationVersion());
        written = sheet.paint(&writer) > 0;
    } else {
        const QImage picture = sheet.image(ReadingSheet::defaultPageSize(), kPictureDpi);
        written = !picture.isNull() && picture.save(&file, "PNG");
    }
    if (!written) {
        file.cancelWriting();
        *failure = errors::Failure::of(errors::Kind::PathFileAccess);
        return false;
    }
    if (!file.commit()) {
        *failure = errors::Failure::of(errors::Kind::PathFileAccess);
        return false;
    }
    return true;
}

void ReadingKeeper::save()
{
    if (!readingShown())
        return;
    const ReadingSheet slip = sheet();
    const reading::Counts counts = slip.content().counts;
    const QString key = reading::readingKey(counts.upper, counts.middle, counts.lower);

    keepNoDialogSettings();
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
    if (msgbox::execDialog(dialog) != QDialog::Accepted)
        return;
    QString path = dialog.selectedFiles().value(0);
    if (path.isEmpty())
        return;
    Format format = Format::Pdf;
    if (!formatOf(path, &format)) {
        format = dialog.selectedNameFilter() == pngFilter() ? Format::Png : Format::Pdf;
        path += format == Format::Png ? QStringLiteral(".png") : QStringLiteral(".pdf");
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
    printer.setDocName(
        QStringLiteral("%1 %2").arg(slip.content().title, ReadingSheet::countsText(slip.content().counts)));
    printer.setCreator(appinfo::title() + QLatin1Char(' ') + QCoreApplication::applicationVersion());
    QPrintDialog dialog(&printer, window_);
    dialog.setWindowTitle(printTitle());
    dialog.setAccessibleName(printTitle());
    if (msgbox::execDialog(dialog) != QDialog::Accepted)
        return;
    if (slip.paint(&printer) == 0) {
        const QString output = printer.outputFileName();
        const bool denied = !output.isEmpty() && !platform::mayCreateFilesIn(QFileInfo(output).absolutePath());
        msgbox::showMessage(window_,
                            errors::description(denied ? errors::Kind::PermissionDenied
                                                       : errors::Kind::PathFileAccess));
    }
}
