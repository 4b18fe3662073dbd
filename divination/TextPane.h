#pragma once
#include <QTextEdit>

// A read-only multi-line text pane that keeps the exact text it was given
// (line breaks as CR LF) while showing it as plain text with ordinary line
// breaks and a little air between the lines.
class TextPane : public QTextEdit
{
    Q_OBJECT
public:
    explicit TextPane(QWidget *parent = nullptr);
    void setReadingText(const QString &text);
    QString text() const { return text_; }

private:
    QString text_;
};
