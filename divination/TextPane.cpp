#include "TextPane.h"

#include "ReadingText.h"

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
    moveCursor(QTextCursor::Start);
}
