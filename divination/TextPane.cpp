#include "TextPane.h"

#include "ReadingText.h"

#include <QTextBlock>
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

void TextPane::setReadingText(const QString &text)
{
    constexpr int kLineHeightPercent = 120; // each line a fifth higher than the face
    text_ = text;
    ::setReadingText(document(), text, kLineHeightPercent);
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
