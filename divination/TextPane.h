#pragma once
#include <QPlainTextEdit>

// A read-only multi-line text pane that keeps the exact text it was given
// (line breaks as CR LF) while showing it with ordinary line breaks.
class TextPane : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit TextPane(QWidget *parent = nullptr);
    void setText(const QString &text);
    QString text() const { return text_; }

private:
    QString text_;
};
