#pragma once
#include "Seam.h"

#include <QString>
#include <functional>

class QDialog;
class QWidget;

// Every message the program shows goes through showMessage(): a modal box
// with no icon and a single "确定" button, in the session's script. Tests install a hook so that no
// test ever blocks on a dialog.
namespace msgbox {

// Shows the message modally; the title defaults to the program's title.
// Text and title are given as the session shows them (already translated).
void showMessage(QWidget *parent, const QString &text, const QString &title = QString());

// While an Override lives, showMessage() calls its handler instead of
// opening a box; the handler receives the final title and text, as shown.
using Handler = std::function<void(const QString &title, const QString &text)>;
class Override : platform::ScopedOverride<Handler>
{
public:
    explicit Override(Handler handler);
};

// True while a message box opened by showMessage() is on screen (or a hook
// call is running), so timers can avoid piling up boxes.
bool isShowing();

// Every other modal dialog (the About box) is run through execDialog(), so
// tests can intercept it the same way.
int execDialog(QDialog &dialog);
using DialogHandler = std::function<int(QDialog &dialog)>;
class DialogOverride : platform::ScopedOverride<DialogHandler>
{
public:
    explicit DialogOverride(DialogHandler handler);
};

} // namespace msgbox
