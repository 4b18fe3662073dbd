#include "Keyboard.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>

namespace platform {
namespace {

// A style that lets the menu bar be reached from the keyboard, whatever the
// style underneath says.
class MenuBarKeysStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_MenuBar_AltKeyNavigation)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QMenuBar *menuBarOf(QWidget *widget)
{
    QWidget *window = widget ? widget->window() : nullptr;
    if (!window)
        return nullptr;
    auto *bar = window->findChild<QMenuBar *>(QString(), Qt::FindDirectChildrenOnly);
    return bar && bar->isVisible() && !bar->actions().isEmpty() ? bar : nullptr;
}

// F10 does what a lone Alt does: the menu bar watches the keys that reach
// its window for an Alt pressed and released on its own.
void focusMenuBar(QWidget *focus)
{
    QKeyEvent press(QEvent::ShortcutOverride, Qt::Key_Alt, Qt::AltModifier);
    press.ignore();
    QCoreApplication::sendEvent(focus, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
    release.ignore();
    QCoreApplication::sendEvent(focus, &release);
}

class KeyboardConventions : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if (modifiers != Qt::NoModifier)
            return false;
        auto *widget = static_cast<QWidget *>(watched);
        if (key->key() == Qt::Key_Escape && returnFocus_ && qobject_cast<QMenuBar *>(widget) && widget->hasFocus()) {
            static_cast<QMenuBar *>(widget)->setActiveAction(nullptr);
            returnFocus_->setFocus(Qt::MenuBarFocusReason);
            returnFocus_.clear();
            return true;
        }
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && returnFocus_
            && qobject_cast<QMenuBar *>(widget) && widget->hasFocus()) {
            // A command chosen on the menu bar reached by F10 runs with the
            // focus back where it was, so that a dialog it opens gives the
            // focus back there, not to the menu bar.
            QAction *command = static_cast<QMenuBar *>(widget)->activeAction();
            if (!command || command->menu())
                return false;
            static_cast<QMenuBar *>(widget)->setActiveAction(nullptr);
            returnFocus_->setFocus(Qt::MenuBarFocusReason);
            returnFocus_.clear();
            if (!key->isAutoRepeat())
                command->trigger();
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            // Key events go to the focus widget first; only a push button
            // that has the focus is clicked, every other widget keeps its
            // own meaning of Enter.
            auto *button = qobject_cast<QPushButton *>(widget);
            if (!button || !button->hasFocus() || !button->isEnabled())
                return false;
            if (!key->isAutoRepeat())
                button->click();
            return true;
        }
        if (key->key() == Qt::Key_F10 && widget == QApplication::focusWidget() && !key->isAutoRepeat()) {
            if (QMenuBar *bar = menuBarOf(widget)) {
                focusMenuBar(widget);
                if (!bar->hasFocus()) {
                    // The menu bar's own watch did not take it: focus it and
                    // light its first item; Esc gives the focus back.
                    returnFocus_ = widget;
                    bar->setFocus(Qt::MenuBarFocusReason);
                    bar->setActiveAction(bar->actions().constFirst());
                }
                return true;
            }
        }
        return false;
    }

private:
    QPointer<QWidget> returnFocus_;
};

} // namespace

void installKeyboardConventions()
{
    // Once per application object (it owns the filter).
    static QPointer<KeyboardConventions> installed;
    if (installed || !qApp)
        return;
    installed = new KeyboardConventions(qApp);
    qApp->installEventFilter(installed);
}

void enableMenuBarKeys(QMenuBar *bar)
{
    auto *style = new MenuBarKeysStyle;
    style->setParent(bar);
    bar->setStyle(style);
}

} // namespace platform
