#pragma once
#include <QString>

class QMdiArea;

namespace pages {

// Shows a stored document as a page in the area: brings an open viewer
// with that caption to the front, or turns the document into the page file
// and opens a new viewer on it. Failures are reported in a message box
// owned by the area's window.
void showDocumentPage(QMdiArea *area, const QString &title, const QString &documentPath);

} // namespace pages
