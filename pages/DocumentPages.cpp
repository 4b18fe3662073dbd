#include "DocumentPages.h"

#include "PageFile.h"
#include "PageLimits.h"
#include "PageScript.h"
#include "PageViewer.h"
#include "formats/StoredText.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace pages {

void showDocumentPage(QMdiArea *area, const QString &title, const QString &documentPath)
{
    if (area) {
        const auto windows = area->subWindowList(QMdiArea::CreationOrder);
        for (QMdiSubWindow *sub : windows) {
            if (sub->widget() && sub->widget()->windowTitle() == title) {
                area->setActiveSubWindow(sub);
                sub->raise();
                return;
            }
        }
    }

    QWidget *owner = area ? area->window() : nullptr;
    storedtext::Codes stored;
    errors::Failure failure;
    if (!storedtext::readFile(platform::programPath(documentPath), &stored, &failure)) {
        msgbox::showMessage(owner, failure.description);
        return;
    }
    // The page as this session shows it (converted to Traditional
    // characters where the session asks for them).
    const QByteArray page
        = pagescript::pageBytes(storedtext::unshift(stored, storedtext::kDocumentShift)) + QByteArrayLiteral("\r\n");
    // A page nested too deeply for the page view is refused before any
    // viewer exists.
    if (!pagelimits::nestingAllowed(page)) {
        msgbox::showMessage(owner, errors::Failure::of(errors::Kind::OutOfMemory).description);
        return;
    }
    if (!area)
        return;

    // With no folder to write the page in, no viewer could ever show it.
    const QString pagePath = pagefile::path(pagefile::Use::Write);
    if (pagePath.isEmpty()) {
        msgbox::showMessage(
            owner, QCoreApplication::translate("pages", "找不到可以写入的私人文件夹，无法打开%1。").arg(title));
        return;
    }
    PageViewer *viewer = PageViewer::create(area);
    viewer->setWindowTitle(title);

    if (!platform::writeFileReplacing(pagePath, page, &failure)) {
        msgbox::showMessage(owner, failure.description);
        return;
    }
    viewer->openPageFile(pagePath);
}

} // namespace pages
