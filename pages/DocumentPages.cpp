#include "DocumentPages.h"

#include "Fwangye.h"
#include "PageFile.h"
#include "StoredText.h"
#include "app/LoadedWindows.h"
#include "app/MDIForm1.h"
#include "app/Module1.h"
#include "platform/MessageBox.h"
#include "platform/Platform.h"

#include <QWidget>

void ShowDocumentPage(const QString &title, const QString &documentPath)
{
    const auto windows = loaded::windows();
    for (QWidget *w : windows) {
        if (w->windowTitle() == title) {
            loaded::bringToFront(w);
            return;
        }
    }

    QWidget *owner = MainWindow;
    storedtext::Codes stored;
    errors::Failure failure;
    if (!storedtext::readFile(programPath(documentPath), &stored, &failure)) {
        msgbox::showMessage(owner, failure.description);
        return;
    }
    if (!MainWindow)
        return;

    Fwangye *viewer = Fwangye::Create(MainWindow->mdiArea());
    viewer->setWindowTitle(title);

    const QByteArray page = storedtext::toGbk(storedtext::unshift(stored, storedtext::kDocumentShift))
                            + QByteArrayLiteral("\r\n");
    const QString pagePath = pagefile::path();
    if (!platform::writeFileReplacing(pagePath, page, &failure)) {
        msgbox::showMessage(owner, failure.description);
        return;
    }
    viewer->NavigatePageFile(pagePath);
}
