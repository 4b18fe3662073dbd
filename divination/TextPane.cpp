#include "TextPane.h"

#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCursor>

TextPane::TextPane(QWidget *parent) : QTextEdit(parent)
{
    setReadOnly(true);
    setAcceptRichText(false);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setUndoRedoEnabled(false);
}

void TextPane::setText(const QString &text)
{
    text_ = text;
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    setPlainText(shown);
    // The CJK faces are drawn tight; give each line a fifth more height.
    QTextCursor cursor(document());
    cursor.select(QTextCursor::Document);
    QTextBlockFormat format;
    format.setLineHeight(120, QTextBlockFormat::ProportionalHeight);
    cursor.mergeBlockFormat(format);
    // The caret starts on the first line that says something (the texts
    // open with an empty line), so that a screen reader that comes to the
    // pane reads that line at once.
    QTextBlock block = document()->firstBlock();
    while (block.isValid() && block.text().trimmed().isEmpty())
        block = block.next();
    QTextCursor start(document());
    if (block.isValid())
        start.setPosition(block.position());
    setTextCursor(start);
}
