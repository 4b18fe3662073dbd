#include "MessageBox.h"

#include "AppInfo.h"

#include <QDialog>
#include <QMessageBox>
#include <QPushButton>

namespace msgbox {
namespace {
Hook &hook()
{
    static Hook h;
    return h;
}

DialogHook &dialogHook()
{
    static DialogHook h;
    return h;
}

int showingDepth = 0;

struct ShowingGuard {
    ShowingGuard() { ++showingDepth; }
    ~ShowingGuard() { --showingDepth; }
};
} // namespace

void setHook(Hook h) { hook() = std::move(h); }
void setDialogHook(DialogHook h) { dialogHook() = std::move(h); }

bool isShowing() { return showingDepth > 0; }

void showMessage(QWidget *parent, const QString &text, const QString &title)
{
    const QString caption = title.isNull() ? appinfo::title() : title;
    ShowingGuard guard;
    if (hook()) {
        hook()(caption, text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::NoButton, parent);
    QPushButton *ok = box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.setAccessibleName(caption);
    box.setAccessibleDescription(text);
    box.exec();
}

int execDialog(QDialog &dialog)
{
    if (dialogHook())
        return dialogHook()(dialog);
    return dialog.exec();
}

} // namespace msgbox
