#include "MessageBox.h"

#include "AppInfo.h"

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>

namespace msgbox {
namespace {
Handler &handler()
{
    static Handler h;
    return h;
}

DialogHandler &dialogHandler()
{
    static DialogHandler h;
    return h;
}

int showingDepth = 0;

// The window system draws a box's title in its title bar next to the icon
// and the buttons there (each about two lines high and as wide); a box
// narrower than that cuts its title short.
int widthForTitle(const QString &title)
{
    QFont font = QApplication::font();
    font.setBold(true);
    const QFontMetrics metrics(font);
    return metrics.horizontalAdvance(title) + 4 * 2 * metrics.height();
}

struct ShowingGuard {
    ShowingGuard() { ++showingDepth; }
    ~ShowingGuard() { --showingDepth; }
};
} // namespace

Override::Override(Handler h) : ScopedOverride(handler(), std::move(h)) { }
DialogOverride::DialogOverride(DialogHandler h) : ScopedOverride(dialogHandler(), std::move(h)) { }

bool isShowing()
{
    return showingDepth > 0;
}

void showMessage(QWidget *parent, const QString &text, const QString &title)
{
    const QString caption = title.isNull() ? appinfo::shownTitle() : title;
    ShowingGuard guard;
    if (handler()) {
        handler()(caption, text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::NoButton, parent);
    QPushButton *ok = box.addButton(QCoreApplication::translate("msgbox", "确定"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.setAccessibleName(caption);
    box.setAccessibleDescription(text);
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
        grid->addItem(new QSpacerItem(widthForTitle(caption), 0, QSizePolicy::Fixed, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    box.exec();
}

int execDialog(QDialog &dialog)
{
    if (dialogHandler())
        return dialogHandler()(dialog);
    return dialog.exec();
}

} // namespace msgbox
