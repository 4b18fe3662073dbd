#pragma once
#include <QString>

class QTextDocument;

// How a reading's text is laid out wherever it is shown, in the window's
// pane and on the slip: plain text, its CR LF and lone CR line breaks shown
// as ordinary ones, every line `lineHeightPercent` of the face's own height
// (the CJK faces are drawn tight and want some air between the lines).
void setReadingText(QTextDocument *document, const QString &text, int lineHeightPercent);
