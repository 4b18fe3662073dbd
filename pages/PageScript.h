#pragma once
#include "formats/Gbk.h"

#include <QByteArray>
#include <QString>

// The instructions page in the session's script. The page is written in
// Simplified characters; in a Traditional session the text a reader sees
// (the title and the body, not the markup, style sheet or scripts) is
// converted, and the page file keeps GBK: a character GBK has no code for
// is written as an HTML numeric character reference, so none is lost.
namespace pagescript {

// The page's text parts converted by script::display() as the instructions;
// markup as it is.
QString displayPage(const QString &html);

// GBK bytes of a page, with &#N; for every character GBK lacks.
QByteArray toGbkHtml(const QString &html);

// The bytes of the page file for a page given as GBK codes: exactly the
// codes' GBK bytes in a Simplified session, the converted page otherwise.
QByteArray pageBytes(const gbk::Codes &page);

} // namespace pagescript
