#include "ReadingText.h"

#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>

void setReadingText(QTextDocument *document, const QString &text, int lineHeightPercent)
{
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    document->setPlainText(shown);
    QTextCursor cursor(document);
    cursor.select(QTextCursor::Document);
    QTextBlockFormat format;
    format.setLineHeight(lineHeightPercent, QTextBlockFormat::ProportionalHeight);
    cursor.mergeBlockFormat(format);
}
