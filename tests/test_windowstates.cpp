#include "app/MainWindow.h"
#include "app/Startup.h"
#include "divination/DivinationLayout.h"
#include "divination/DivinationSession.h"
#include "divination/DivinationWindow.h"
#include "divination/ReadingModel.h"
#include "divination/TextPane.h"
#include "divination/Texts.h"
#include "mainwindowfixture.h"
#include "platform/Twips.h"
#include "testsupport.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QStyleHints>
#include <QWheelEvent>
#include <QtTest>
#include <memory>

// The program's windows as a user drives them with the mouse and the
// keyboard: restored child windows, the window cycling, the guarded clicks,
// the wheel over the closed list and the keys that click and reach the menu.
class TestWindowStates : public QObject
{
    Q_OBJECT
    std::unique_ptr<testsupport::MainWindowFixture> fixture;
    MainWindow *mainWindow = nullptr;

    QMdiArea *area() const { return mainWindow->findChild<QMdiArea *>("mdiArea"); }
    DivinationWindow *divination() const { return mainWindow->divinationWindow(); }

    void clickMenu(QAction *action)
    {
        QMenuBar *bar = mainWindow->menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(action).center());
    }

    // A click on the computer button that the platform would take for the
    // second half of a double click: its press comes 100 ms after the last one.
    void quickClick(QWidget *w)
    {
        QTest::lastMouseTimestamp -= QTest::mouseDoubleClickInterval;
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(), 100);
    }

    void slowClick(QWidget *w)
    {
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(), QGuiApplication::styleHints()->mouseDoubleClickInterval());
    }

    void wheelDown(QWidget *w)
    {
        const QPointF at = QPointF(w->rect().center());
        QWheelEvent wheel(at, w->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(w, &wheel);
    }

    QWidget *focus() const { return QApplication::focusWidget(); }

    void run(const QString &step)
    {
        if (step == QLatin1String("divination")) {
            clickMenu(mainWindow->findChild<QAction *>("divinationAction"));
            QTRY_VERIFY(divination());
        } else if (step == QLatin1String("instructions")) {
            clickMenu(mainWindow->findChild<QAction *>("instructionsAction"));
        } else if (step == QLatin1String("restore")) {
            area()->activeSubWindow()->showNormal();
        } else if (step == QLatin1String("close")) {
            area()->activeSubWindow()->close();
        } else if (step == QLatin1String("smallest")) {
            mainWindow->resize(1, 1);
        } else if (step == QLatin1String("ctrl+tab")) {
            QTest::keyClick(focus(), Qt::Key_Tab, Qt::ControlModifier);
        } else if (step == QLatin1String("ctrl+shift+tab")) {
            QTest::keyClick(focus(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        } else if (step == QLatin1String("tab")) {
            QTest::keyClick(focus(), Qt::Key_Tab);
        } else if (step == QLatin1String("return")) {
            QTest::keyClick(focus(), Qt::Key_Return);
        } else if (step == QLatin1String("enter")) {
            QTest::keyClick(focus(), Qt::Key_Enter, Qt::KeypadModifier);
        } else if (step == QLatin1String("f10")) {
            QTest::keyClick(focus(), Qt::Key_F10);
            QCoreApplication::processEvents();
        } else if (step == QLatin1String("alt")) {
            QTest::keyPress(focus(), Qt::Key_Alt, Qt::AltModifier);
            QTest::keyRelease(focus(), Qt::Key_Alt, Qt::NoModifier);
        } else if (step == QLatin1String("computer")) {
            slowClick(divination()->findChild<QPushButton *>("computerButton"));
        } else if (step == QLatin1String("computer at once")) {
            quickClick(divination()->findChild<QPushButton *>("computerButton"));
        } else if (step == QLatin1String("wooden")) {
            slowClick(divination()->findChild<QPushButton *>("woodenButton"));
        } else if (step == QLatin1String("detail")) {
            slowClick(divination()->findChild<QPushButton *>("detailButton"));
        } else if (step == QLatin1String("ticks")) {
            QTRY_VERIFY(divination()->session()->counts().upper + divination()->session()->counts().middle
                            + divination()->session()->counts().lower
                        > 0);
        } else if (step == QLatin1String("click pane")) {
            QTest::mouseClick(divination()->readingPane()->viewport(), Qt::LeftButton);
        } else if (step == QLatin1String("focus home divination")) {
            mainWindow->findChild<QPushButton *>("divinationButton")->setFocus(Qt::TabFocusReason);
        } else if (step == QLatin1String("wheel")) {
            wheelDown(divination()->findChild<QComboBox *>("countSelector"));
        } else if (step == QLatin1String("tab to list")) {
            for (int i = 0; i < 8 && focus() != divination()->findChild<QComboBox *>("countSelector"); ++i)
                QTest::keyClick(focus(), Qt::Key_Tab);
        } else {
            QFAIL(qPrintable(QStringLiteral("no such step: ") + step));
        }
    }

    static QString nameOf(const QObject *o)
    {
        if (!o)
            return QStringLiteral("none");
        return o->objectName().isEmpty() ? QString::fromLatin1(o->metaObject()->className()) : o->objectName();
    }

    // What a row looks at, as a short text.
    QString observe(const QString &what)
    {
        if (what == QLatin1String("active")) {
            QMdiSubWindow *sub = area()->activeSubWindow();
            return nameOf(sub ? sub->widget() : nullptr) + QLatin1Char('/') + nameOf(focus());
        }
        if (what == QLatin1String("window")) {
            QMdiSubWindow *sub = area()->activeSubWindow();
            return nameOf(sub ? sub->widget() : nullptr);
        }
        if (what == QLatin1String("focus"))
            return nameOf(focus());
        if (what == QLatin1String("home")) {
            QAccessibleInterface *panel
                = QAccessible::queryAccessibleInterface(mainWindow->findChild<HomePanel *>("homePanel"));
            return panel->state().invisible ? QStringLiteral("not showing") : QStringLiteral("showing");
        }
        if (what == QLatin1String("restored"))
            return restoredFit();
        if (what == QLatin1String("overlap"))
            return overlaps();
        DivinationSession *s = divination()->session();
        if (what == QLatin1String("selector"))
            return QStringLiteral("%1 %2")
                .arg(divination()->findChild<QComboBox *>("countSelector")->isVisible() ? "shown" : "hidden")
                .arg(divination()->findChild<QComboBox *>("countSelector")->currentIndex());
        if (what == QLatin1String("text")) {
            const reading::Counts c = s->counts();
            const QString key = reading::readingKey(c.upper, c.middle, c.lower);
            const QString text = divination()->readingPane()->toPlainText();
            auto same = [&](const QString &t) {
                QString shown = t;
                shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
                return shown == text;
            };
            QString kind = QStringLiteral("other");
            if (same(texts::computerEtiquette()))
                kind = QStringLiteral("etiquette");
            else if (same(reading::loadReadingText(reading::readingFilePath(key))))
                kind = QStringLiteral("reading");
            else if (same(reading::loadReadingText(reading::detailFilePath(key))))
                kind = QStringLiteral("detail");
            return divination()->findChild<QPushButton *>("computerButton")->text() + QLatin1Char(' ') + kind;
        }
        return QStringLiteral("no such observation");
    }

    // Inside the client area, at least two thirds of it each way, and the
    // divination window at least as large as its layout needs.
    QString restoredFit()
    {
        QMdiSubWindow *sub = area()->activeSubWindow();
        const QRect client(QPoint(0, 0), area()->viewport()->size());
        const QRect r = sub->geometry();
        const QString where = QStringLiteral("%1x%2 at %3,%4 in %5x%6")
                                  .arg(r.width())
                                  .arg(r.height())
                                  .arg(r.x())
                                  .arg(r.y())
                                  .arg(client.width())
                                  .arg(client.height());
        if (sub->isMaximized() || !client.contains(r))
            return where;
        if (r.width() < client.width() * 2 / 3 - 1 || r.height() < client.height() * 2 / 3 - 1)
            return where;
        if (auto *w = qobject_cast<DivinationWindow *>(sub->widget())) {
            const divinationlayout::Extent least = divinationlayout::minimumInnerSize();
            if (w->width() < twips::toPixels(least.width) || w->height() < twips::toPixels(least.height))
                return where + QStringLiteral(", content %1x%2").arg(w->width()).arg(w->height());
        }
        return QStringLiteral("fits");
    }

    // The divination window's visible controls: none overlaps another, none
    // is cut off.
    QString overlaps()
    {
        if (!QTest::qWaitFor([this] { return mainWindow->size() == mainWindow->minimumSize(); }, 2000))
            return QStringLiteral("main window not at its minimum size");
        QList<QWidget *> controls;
        for (QWidget *w : divination()->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
            if (w->isVisible())
                controls.append(w);
        const QRect inside = divination()->rect();
        for (QWidget *a : controls) {
            if (!inside.contains(a->geometry()))
                return nameOf(a) + QStringLiteral(" cut off");
            for (QWidget *b : controls)
                if (a != b && a->geometry().intersects(b->geometry()))
                    return nameOf(a) + QStringLiteral(" overlaps ") + nameOf(b);
        }
        return QStringLiteral("none");
    }

private slots:
    void init()
    {
        fixture = std::make_unique<testsupport::MainWindowFixture>(QSize(1000, 700),
                                                                   testsupport::MainWindowFixture::State::Normal);
        mainWindow = fixture->window.get();
        mainWindow->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(mainWindow));
    }

    void cleanup()
    {
        fixture.reset();
        mainWindow = nullptr;
    }

    void windowStates_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("observe");
        QTest::addColumn<QString>("expected");
        auto row = [](const char *name, const QStringList &steps, const char *what, const QString &expected) {
            QTest::newRow(name) << steps << QString::fromLatin1(what) << expected;
        };
        // Restoring keeps a usable size inside the client area.
        row("divination restored", {"divination", "restore"}, "restored", "fits");
        row("viewer restored", {"instructions", "restore"}, "restored", "fits");
        row("smallest main window", {"divination", "smallest"}, "overlap", "none");
        // The home panel is no stop of the cycling, and hidden while covered.
        row("ctrl+tab alone", {"divination", "ctrl+tab"}, "active", "divinationWindow/readingPane");
        row("ctrl+tab restored", {"divination", "restore", "ctrl+tab"}, "active", "divinationWindow/readingPane");
        row("ctrl+tab two", {"instructions", "divination", "ctrl+tab"}, "active", "pageViewer/pageBrowser");
        row("ctrl+tab round", {"instructions", "divination", "ctrl+tab", "ctrl+tab"}, "active",
            "divinationWindow/readingPane");
        row("ctrl+shift+tab two", {"instructions", "divination", "ctrl+shift+tab"}, "active", "pageViewer/pageBrowser");
        row("home covered", {"divination"}, "home", "not showing");
        row("home behind restored", {"divination", "restore"}, "home", "showing");
        row("home after close", {"divination", "close"}, "home", "showing");
        row("home active after close", {"divination", "close"}, "window", "homePanel");
        // The double click on the computer button, and the detail button during a throw.
        row("double click", {"divination", "computer", "computer at once"}, "text", "《祈祷结束》 etiquette");
        row("two clicks", {"divination", "computer", "computer"}, "text", "《电脑衍枰占卜》 reading");
        row("double click ending", {"divination", "computer", "computer", "computer at once"}, "text",
            "《电脑衍枰占卜》 reading");
        row("detail after reading", {"divination", "computer", "computer", "detail"}, "text",
            "《电脑衍枰占卜》 detail");
        row("detail while throwing", {"divination", "computer", "computer", "computer", "wooden", "ticks", "detail"},
            "text", "《祈祷结束》 etiquette");
        // The wheel over the closed list.
        row("wheel without focus", {"divination", "wooden", "click pane", "wheel"}, "selector", "shown 0");
        row("wheel with focus", {"divination", "wooden", "tab to list", "wheel"}, "selector", "hidden 1");
        // Enter on a button clicks it; elsewhere it keeps its meaning.
        row("return on button", {"divination", "tab", "return"}, "selector", "shown 0");
        row("enter on button", {"divination", "tab", "enter"}, "selector", "shown 0");
        row("return in pane", {"divination", "return"}, "selector", "hidden -1");
        row("return on home button", {"divination", "close", "focus home divination", "return"}, "window",
            "divinationWindow");
        // F10 and a lone Alt reach the menu bar.
        row("f10", {"divination", "f10"}, "focus", "QMenuBar");
        row("alt", {"divination", "alt"}, "focus", "QMenuBar");
    }

    void windowStates()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, observe);
        QFETCH(QString, expected);
        for (const QString &step : steps) {
            run(step);
            if (QTest::currentTestFailed())
                return;
        }
        QCOMPARE(this->observe(observe), expected);
        QVERIFY(fixture->messages.texts.isEmpty());
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    prepareApplication(app);
    TestWindowStates test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_windowstates.moc"
