#pragma once
#include <QString>

// Shows a stored document as a page: brings an open viewer with that
// caption to the front, or turns the document into the page file and opens
// a new viewer on it. Failures are reported in a message box.
void ShowDocumentPage(const QString &title, const QString &documentPath);
