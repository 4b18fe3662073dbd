#include "app/MainWindow.h"
#include "app/Startup.h"
#include "divination/DivinationLayout.h"
#include "divination/DivinationSession.h"
#include "divination/DivinationWindow.h"
#include "divination/ReadingModel.h"
#include "divination/TextPane.h"
#include "divination/Texts.h"
#include "divination/Throw.h"
#include "mainwindowfixture.h"
#include "platform/SpokenNotice.h"
#include "platform/Twips.h"
#include "testsupport.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTextBlock>
#include <QTimer>
#include <QtTest>

// Counts a widget's showings.
struct ShowCounter : QObject {
    explicit ShowCounter(QWidget *w) { w->installEventFilter(this); }
    bool eventFilter(QObject *, QEvent *e) override { return (count += e->type() == QEvent::Show), false; }
    int count = 0;
};

class TestDivinationWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<testsupport::MainWindowFixture> fixture;
    DivinationWindow *w = nullptr;
    // Its controls, found by their object names.
    QPushButton *wooden = nullptr, *computer = nullptr, *detail = nullptr;
    QComboBox *selector = nullptr;
    QTimer *throwTimer = nullptr;

    MainWindow *mainWindow = nullptr;

    void open()
    {
        mainWindow->showDivinationWindow();
        w = mainWindow->divinationWindow();
        QVERIFY(w);
        wooden = w->findChild<QPushButton *>("woodenButton");
        computer = w->findChild<QPushButton *>("computerButton");
        detail = w->findChild<QPushButton *>("detailButton");
        selector = w->findChild<QComboBox *>("countSelector");
        throwTimer = w->session()->findChild<QTimer *>("throwTimer");
    }
    QStringList captions() const { return {wooden->text(), computer->text()}; }
    // What the twelve pieces show, group by group: e.g. "上上空空 空空空空 下下下空".
    QString pieces() const
    {
        QStringList groups;
        for (const DivinationWindow::Pieces *g : {&w->upperPieces(), &w->middlePieces(), &w->lowerPieces()}) {
            QString s;
            for (PieceImage *piece : *g)
                s += piece->shows() == QStringLiteral("空白") ? QStringLiteral("空") : piece->shows();
            groups << s;
        }
        return groups.join(QLatin1Char(' '));
    }
    QWidget *nextTabStop(QWidget *from) const
    {
        for (QWidget *n = from->nextInFocusChain(); n && n != from; n = n->nextInFocusChain())
            if (n->parentWidget() == w && (n->focusPolicy() & Qt::TabFocus))
                return n;
        return nullptr;
    }
    void choose(int position)
    {
        selector->setCurrentIndex(position);
        emit selector->activated(position);
    }
    // Presses a key on a control with the focus; returns where the focus is then.
    static QWidget *press(QWidget *control, Qt::Key key = Qt::Key_Space, Qt::KeyboardModifier mod = Qt::NoModifier)
    {
        control->setFocus();
        QTest::keyClick(control, key, mod);
        return QApplication::focusWidget();
    }
    // The pane's caret line, without its indent.
    QString caretLine() const { return w->readingPane()->textCursor().block().text().trimmed(); }
    QString readingText(const QString &name) const { return reading::loadReadingText(reading::readingFilePath(name)); }
    reading::Counts counts() const { return w->session()->counts(); }
    // Shows the pieces of a combination the way a user does: by choosing it
    // in the wooden mode's list.
    void showPieces(int u, int m, int l)
    {
        if (selector->isHidden())
            wooden->click();
        choose(reading::entryPosition(u, m, l));
    }

private slots:
    void init()
    {
        fixture = std::make_unique<testsupport::MainWindowFixture>();
        mainWindow = fixture->window.get();
    }
    void cleanup()
    {
        QVERIFY2(fixture->messages.texts.isEmpty(), qPrintable(fixture->messages.texts.join(QLatin1Char('|'))));
        fixture.reset();
        mainWindow = nullptr;
    }

    void startState()
    {
        open();
        QCOMPARE(w->windowTitle(), QStringLiteral("衍枰占卜"));
        QVERIFY(w->subWindow()->isMaximized());
        QCOMPARE(mainWindow->findChild<QMdiArea *>("mdiArea")->activeSubWindow(), w->subWindow());
        QCOMPARE(captions(), (QStringList {QStringLiteral("《木制衍枰占卜》"), QStringLiteral("《电脑衍枰占卜》")}));
        QCOMPARE(detail->text(), QStringLiteral("重 点 卦 象 详 细 解 说"));
        QVERIFY(!detail->isEnabled());
        QVERIFY(wooden->isEnabled() && computer->isEnabled());
        QVERIFY(selector->isHidden());
        QCOMPARE(selector->count(), 0);
        QVERIFY(!throwTimer->isActive());
        QCOMPARE(throwTimer->interval(), 1);
        QCOMPARE(throwTimer->timerType(), Qt::PreciseTimer);
        QCOMPARE(w->readingPane()->text(), texts::welcomeText());
        QVERIFY(w->readingPane()->text().startsWith(
            QStringLiteral("\r\n    欢迎来到衍枰占卜平台！\r\n\r\n请选择占卜模式：")));
        QVERIFY(!w->readingPane()->text().endsWith(QLatin1Char('\n')));
        QVERIFY(w->readingPane()->isReadOnly());
        QCOMPARE(w->readingPane()->palette().color(QPalette::Base), QColor(255, 192, 255));
        QCOMPARE(w->readingPane()->palette().color(QPalette::Text), QColor(0, 0, 255));
        QCOMPARE(w->readingPane()->size(), QSize(400, 387));
        QCOMPARE(detail->size(), QSize(400, 40));
        QCOMPARE(wooden->font().pointSizeF(), 14.25);
        QCOMPARE(w->readingPane()->font().pointSizeF(), 10.5);
        QCOMPARE(wooden->font().family(), QStringLiteral("宋体"));
        QCOMPARE(pieces(), QStringLiteral("空空空空 空空空空 空空空空"));
        for (int i = 1; i <= 4; ++i)
            QVERIFY(w->upperPieces()[i - 1]->isHidden() && w->middlePieces()[i - 1]->isHidden()
                    && w->lowerPieces()[i - 1]->isHidden());
        QCOMPARE(counts().upper + counts().middle + counts().lower, 0);
        // Keyboard order: reading pane, the two mode buttons, detail button, list.
        QCOMPARE(nextTabStop(w->readingPane()), static_cast<QWidget *>(wooden));
        QCOMPARE(nextTabStop(wooden), static_cast<QWidget *>(computer));
        QCOMPARE(nextTabStop(computer), static_cast<QWidget *>(detail));
        QCOMPARE(nextTabStop(detail), static_cast<QWidget *>(selector));
    }

    void layoutAppliedToWidgets()
    {
        open();
        w->subWindow()->showNormal();
        w->resize(800, 600); // 12000 x 9000 twips
        QApplication::processEvents();
        QCOMPARE(detail->pos(), QPoint(200, 22));
        QCOMPARE(computer->pos(), QPoint(433, 84));
        QCOMPARE(w->readingPane()->pos(), QPoint(200, 147));
        QCOMPARE(selector->pos(), QPoint(607, 147));
        QCOMPARE(w->upperPieces()[0]->pos(), QPoint(80, 72));
        QCOMPARE(w->lowerPieces()[3]->pos(), QPoint(80, 512));
        // Minimizing and restoring give the normal arrangement back.
        w->subWindow()->showMinimized();
        QApplication::processEvents();
        w->subWindow()->showMaximized();
        QApplication::processEvents();
        const auto r
            = divinationlayout::compute(float(twips::fromPixels(w->width())), float(twips::fromPixels(w->height())));
        QCOMPARE(w->readingPane()->pos(), QPoint(twips::toPixels(r.readingPane.x), twips::toPixels(r.readingPane.y)));
        QCOMPARE(w->readingPane()->size(), QSize(400, 387));
    }

    void showPiecesPatterns_data()
    {
        QTest::addColumn<int>("u");
        QTest::addColumn<int>("m");
        QTest::addColumn<int>("l");
        QTest::addColumn<QString>("shown");
        QTest::newRow("0/0/0") << 0 << 0 << 0 << QStringLiteral("空空空空 空空空空 空空空空");
        QTest::newRow("4/4/4") << 4 << 4 << 4 << QStringLiteral("上上上上 中中中中 下下下下");
        QTest::newRow("2/0/3") << 2 << 0 << 3 << QStringLiteral("上上空空 空空空空 下下下空");
        QTest::newRow("1/3/0") << 1 << 3 << 0 << QStringLiteral("上空空空 中中中空 空空空空");
    }

    void showPiecesPatterns()
    {
        QFETCH(int, u);
        QFETCH(int, m);
        QFETCH(int, l);
        QFETCH(QString, shown);
        open();
        // A piece met hidden is a new object to assistive technology once shown.
        const QAccessible::Id hiddenId
            = QAccessible::uniqueId(QAccessible::queryAccessibleInterface(w->lowerPieces()[0]));
        showPieces(4, 4, 4);
        showPieces(u, m, l);
        QCOMPARE(pieces(), shown);
        // Face-up pieces carry their kind's mark for assistive technology.
        // (presented with the next frame, as a throw's many changes are)
        QTRY_COMPARE(w->upperPieces()[0]->accessibleName(), u ? QStringLiteral("上") : QStringLiteral("空白"));
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w->lowerPieces()[0]);
        QVERIFY(iface);
        QTRY_COMPARE(iface->text(QAccessible::Name), l ? QStringLiteral("下") : QStringLiteral("空白"));
        QCOMPARE(iface->text(QAccessible::Description), QStringLiteral("下组第1枚"));
        QCOMPARE(iface->role(), QAccessible::Graphic);
        QVERIFY(QAccessible::uniqueId(iface) != hiddenId && !iface->state().invisible);
        // The pictures are those of the program folder.
        QPixmap shang;
        QVERIFY(shang.load(fixture->folder.path(QStringLiteral("picture/shang.jpg"))));
        QCOMPARE(w->upperPieces()[0]->picture().toImage() == shang.toImage(), u > 0);
    }

    void computerDivination()
    {
        open();
        computer->click();
        QCOMPARE(captions(), (QStringList {QStringLiteral("《祈祷开始》"), QStringLiteral("《祈祷结束》")}));
        QCOMPARE(w->readingPane()->text(), texts::computerEtiquette());
        QCOMPARE(w->readingPane()->text().count(QStringLiteral("\r\n")), 9);
        for (int i = 1; i <= 4; ++i)
            QVERIFY(w->upperPieces()[i - 1]->isVisible() && w->middlePieces()[i - 1]->isVisible()
                    && w->lowerPieces()[i - 1]->isVisible());
        QCOMPARE(pieces(), QStringLiteral("空空空空 空空空空 空空空空")); // no throw yet
    }

    void computerThrowFromFullCounts()
    {
        // From 4/4/4 (chosen in the wooden mode, then over to the computer
        // mode), steps of 1, 2 and 124 give 0, 1 and 3.
        open();
        showPieces(4, 4, 4);
        choose(1);
        QCOMPARE(captions(), (QStringList {QStringLiteral("《祈祷开始》"), QStringLiteral("《祈祷结束》")}));
        QList<float> draws {1.5f / 125, 2.5f / 125, 124.5f / 125};
        const throwing::Override source([&draws] { return draws.takeFirst(); });
        wooden->click();
        QVERIFY(throwTimer->isActive());
        QVERIFY(!wooden->isEnabled());
        throwTimer->stop(); // tick by hand
        w->session()->throwOnce();
        QVERIFY(draws.isEmpty());
        QCOMPARE(counts().upper, 0);
        QCOMPARE(counts().middle, 1);
        QCOMPARE(counts().lower, 3);
        QCOMPARE(pieces(), QStringLiteral("空空空空 中空空空 下下下空"));
        throwTimer->start();

        computer->click();
        QVERIFY(!throwTimer->isActive());
        QCOMPARE(captions(), (QStringList {QStringLiteral("《木制衍枰占卜》"), QStringLiteral("《电脑衍枰占卜》")}));
        QVERIFY(wooden->isEnabled());
        QCOMPARE(w->readingPane()->text(), readingText(QStringLiteral("013")));
        QVERIFY(w->readingPane()->text().contains(QStringLiteral("【零上·一中·三下】")));
        QCOMPARE(detail->isEnabled(), QFile::exists(fixture->folder.path(QStringLiteral("god/xwk/0131.god"))));
    }

    void prayerEndWithoutStart()
    {
        open();
        computer->click();
        computer->click();
        QCOMPARE(w->readingPane()->text(), readingText(QStringLiteral("000")));
        QCOMPARE(captions(), (QStringList {QStringLiteral("《木制衍枰占卜》"), QStringLiteral("《电脑衍枰占卜》")}));
        QVERIFY(detail->isEnabled()); // 000 has a detailed explanation
        detail->click();
        QCOMPARE(w->readingPane()->text(), readingText(QStringLiteral("0001")));
        QVERIFY(detail->isEnabled());
        QCOMPARE(pieces(), QStringLiteral("空空空空 空空空空 空空空空"));
    }

    void realTimerThrows()
    {
        open();
        computer->click();
        wooden->click();
        QSignalSpy ticks(throwTimer, &QTimer::timeout);
        QVERIFY(ticks.wait(2000));
        computer->click();
        // The reading shown is that of the last throw the pieces show.
        QCOMPARE(w->readingPane()->text(),
                 readingText(reading::readingKey(counts().upper, counts().middle, counts().lower)));
        QCOMPARE(pieces().count(QStringLiteral("上")), counts().upper);
        QCOMPARE(pieces().count(QStringLiteral("中")), counts().middle);
        QCOMPARE(pieces().count(QStringLiteral("下")), counts().lower);
    }

    void woodenDivination()
    {
        open();
        wooden->click();
        QVERIFY(wooden->isHidden() && computer->isHidden());
        QVERIFY(selector->isVisible());
        QCOMPARE(selector->count(), 127);
        QCOMPARE(selector->currentIndex(), 0);
        QCOMPARE(selector->currentText(), QStringLiteral("选择衍枰个数"));
        QCOMPARE(w->readingPane()->text(), texts::woodenEtiquette());
        QCOMPARE(w->readingPane()->text().count(QStringLiteral("\r\n")), 12);
        QVERIFY(w->readingPane()->text().contains(QStringLiteral("焚香,静坐")));
        QVERIFY(w->readingPane()->text().endsWith(QStringLiteral("一如故事。 ”")));
        for (int i = 1; i <= 4; ++i)
            QVERIFY(w->middlePieces()[i - 1]->isVisible());

        choose(reading::entryPosition(2, 0, 3));
        QCOMPARE(counts().upper, 2);
        QCOMPARE(counts().middle, 0);
        QCOMPARE(counts().lower, 3);
        QCOMPARE(pieces(), QStringLiteral("上上空空 空空空空 下下下空"));
        QCOMPARE(w->readingPane()->text(), readingText(QStringLiteral("203")));
        QCOMPARE(detail->isEnabled(), QFile::exists(fixture->folder.path(QStringLiteral("god/xwk/2031.god"))));

        // The prompt changes nothing.
        const QString before = w->readingPane()->text();
        choose(0);
        QCOMPARE(w->readingPane()->text(), before);
        QCOMPARE(counts().upper, 2);

        choose(reading::entryPosition(0, 0, 0));
        QCOMPARE(pieces(), QStringLiteral("空空空空 空空空空 空空空空"));
        QCOMPARE(w->readingPane()->text(), readingText(QStringLiteral("000")));
        QVERIFY(detail->isEnabled());

        // The computer entry switches modes and leaves the counts.
        choose(1);
        QVERIFY(selector->isHidden());
        QVERIFY(wooden->isVisible() && computer->isVisible());
        QCOMPARE(captions(), (QStringList {QStringLiteral("《祈祷开始》"), QStringLiteral("《祈祷结束》")}));
        QCOMPARE(w->readingPane()->text(), texts::computerEtiquette());
        QCOMPARE(counts().upper + counts().middle + counts().lower, 0);

        // After the computer divination, a second wooden entry appends again.
        computer->click();
        wooden->click();
        QCOMPARE(selector->count(), 254);
        QCOMPARE(selector->currentIndex(), 0);
        QCOMPARE(selector->itemText(127), QStringLiteral("选择衍枰个数"));
        QCOMPARE(selector->itemText(128), QStringLiteral("《电脑衍枰占卜》"));
        QCOMPARE(selector->itemText(253), QStringLiteral("4上4中4下"));
        QCOMPARE(selector->itemData(253).value<reading::Counts>(), (reading::Counts {4, 4, 4}));
        QVERIFY(!selector->itemData(128).isValid());
        choose(reading::entryPosition(4, 4, 4) + 127);
        QCOMPARE(pieces(), QStringLiteral("上上上上 中中中中 下下下下"));
        // The repeated prompt leaves the counts and shows their reading again.
        w->readingPane()->setReadingText(QString());
        choose(127);
        QCOMPARE(w->readingPane()->text(), readingText(QStringLiteral("444")));
        choose(128);
        QCOMPARE(captions(), (QStringList {QStringLiteral("《祈祷开始》"), QStringLiteral("《祈祷结束》")}));
        QVERIFY(selector->isHidden());
    }

    void assistiveSelectionChooses()
    {
        open();
        wooden->click();
        // What a screen reader does: select the list entry while the list is closed.
        const QModelIndex entry = selector->model()->index(reading::entryPosition(2, 0, 3), 0);
        selector->view()->selectionModel()->select(entry, QItemSelectionModel::ClearAndSelect);
        QCOMPARE(selector->currentIndex(), reading::entryPosition(2, 0, 3));
        QCOMPARE(pieces(), QStringLiteral("上上空空 空空空空 下下下空"));
        QCOMPARE(w->readingPane()->text(), readingText(QStringLiteral("203")));
        // The keyboard: Down on the closed list moves to the next entry and chooses it.
        QTest::keyClick(selector, Qt::Key_Down);
        QCOMPARE(counts().lower, 4);
        QCOMPARE(w->readingPane()->text(), readingText(QStringLiteral("204")));
    }

    void detailButtonFollowsDetailFile()
    {
        open();
        wooden->click();
        fixture->folder.writeFile(QStringLiteral("god/xwk/2031.god"), "abc");
        choose(reading::entryPosition(2, 0, 3));
        QVERIFY(detail->isEnabled());
        detail->click();
        QCOMPARE(w->readingPane()->text(), QStringLiteral("def"));
        QCOMPARE(pieces(), QStringLiteral("上上空空 空空空空 下下下空"));
        fixture->folder.remove(QStringLiteral("god/xwk/2031.god"));
        detail->click(); // the file went away meanwhile: empty text
        QCOMPARE(w->readingPane()->text(), QString());
        QVERIFY(detail->isEnabled());
        choose(reading::entryPosition(2, 0, 3));
        QVERIFY(!detail->isEnabled());
    }

    void openTwiceAndReopen()
    {
        open();
        wooden->click();
        choose(reading::entryPosition(3, 1, 4));
        DivinationWindow *first = w;
        w->subWindow()->showNormal();
        mainWindow->findChild<QAction *>("divinationAction")->trigger();
        QCOMPARE(mainWindow->divinationWindow(), first);
        QVERIFY(first->subWindow()->isMaximized());
        QCOMPARE(mainWindow->findChild<QMdiArea *>("mdiArea")->activeSubWindow(), first->subWindow());
        QCOMPARE(first->session()->counts().upper, 3);
        QCOMPARE(first->findChild<QComboBox *>("countSelector")->count(), 127);
        QVERIFY(first->findChild<QComboBox *>("countSelector")->isVisible());
        int divinationWindows = 0;
        for (QMdiSubWindow *sub : mainWindow->findChild<QMdiArea *>("mdiArea")->subWindowList())
            divinationWindows += qobject_cast<DivinationWindow *>(sub->widget()) != nullptr;
        QCOMPARE(divinationWindows, 1);

        first->subWindow()->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!mainWindow->divinationWindow());
        open();
        QCOMPARE(counts().upper + counts().middle + counts().lower, 0);
        QCOMPARE(w->readingPane()->text(), texts::welcomeText());
        QVERIFY(selector->isHidden());
        QCOMPARE(selector->count(), 0);
        QVERIFY(!detail->isEnabled());
        QCOMPARE(captions(), (QStringList {QStringLiteral("《木制衍枰占卜》"), QStringLiteral("《电脑衍枰占卜》")}));
        QCOMPARE(pieces(), QStringLiteral("空空空空 空空空空 空空空空"));
    }

    void missingFilesAreSkippedSilently()
    {
        for (const char *name : {"picture/shang.jpg", "picture/wu.jpg", "picture/globe.wmf", "god/xwk/203.god"})
            fixture->folder.remove(QString::fromLatin1(name));
        open();
        wooden->click();
        choose(reading::entryPosition(2, 0, 3));
        // No 上 picture: those pieces keep what they had; the reading is empty.
        QCOMPARE(w->readingPane()->text(), QString());
        QCOMPARE(pieces(), QStringLiteral("空空空空 空空空空 下下下空"));
        choose(1);
        wooden->click();
        QSignalSpy ticks(throwTimer, &QTimer::timeout);
        QVERIFY(ticks.wait(2000));
        computer->click();
        // cleanup() checks that no message box was shown.
    }

    // Where the focus goes for a keyboard user (a control that hides hands
    // it to the pane, caret on the first line that says something), and Tab
    // and Shift+Tab twice round the shown controls, never on a frame.
    void focusPath_data()
    {
        QTest::addColumn<int>("steps"); // how far into a divination
        const char *rows[] = {"welcome", "wooden mode", "praying", "after a reading", "list and detail"};
        for (int i = 0; i < 5; ++i)
            QTest::newRow(rows[i]) << i;
    }
    void focusPath()
    {
        QFETCH(int, steps);
        fixture->folder.writeFile(QStringLiteral("god/xwk/2031.god"), "abc");
        open();
        QApplication::setActiveWindow(mainWindow);
        QWidget *pane = w->readingPane(), *list = selector;
        QTRY_COMPARE(QApplication::focusWidget(), pane);
        QCOMPARE(caretLine(), QStringLiteral("欢迎来到衍枰占卜平台！"));
        if (steps % 3 == 1) {
            QCOMPARE(press(wooden), pane);
            QCOMPARE(caretLine(), QStringLiteral("木制衍枰占卜礼仪："));
            QCOMPARE(press(pane, Qt::Key_Tab), list);
        } else if (steps > 1) { // the buttons stay, and the focus with them; 《祈祷开始》 greys out
            QCOMPARE(press(computer), computer);
            QCOMPARE(press(wooden), computer);
        }
        if (steps == 3)
            QCOMPARE(press(computer), computer);
        if (steps == 4) { // Down on the closed list chooses and keeps the focus; so does the detail button
            list->setFocus();
            static_cast<QComboBox *>(list)->setCurrentIndex(reading::entryPosition(2, 0, 2));
            QCOMPARE(press(list, Qt::Key_Down), list);
            QCOMPARE(press(detail), static_cast<QWidget *>(detail));
        }
        const QList<QWidget *> controls = w->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
        const int stops = int(std::count_if(controls.begin(), controls.end(), [](QWidget *c) {
            return c->isVisible() && c->isEnabled() && (c->focusPolicy() & Qt::TabFocus);
        }));
        for (Qt::KeyboardModifier direction : {Qt::NoModifier, Qt::ShiftModifier}) {
            QSet<QWidget *> reached;
            for (int i = 0; i < 2 * stops; ++i)
                reached << press(QApplication::focusWidget(), Qt::Key_Tab, direction);
            QCOMPARE(reached.size(), stops);
            QVERIFY(std::all_of(reached.begin(), reached.end(), [this](QWidget *f) { return w->isAncestorOf(f); }));
        }
        if (steps == 4) { // the computer entry hides the list: the pane
            static_cast<QComboBox *>(list)->setCurrentIndex(2);
            QCOMPARE(press(list, Qt::Key_Up), pane);
            QCOMPARE(caretLine(), QStringLiteral("电脑衍枰占卜礼仪："));
        }
    }

    // What a screen reader learns, without one: frames are not focused
    // while a control inside is, the list keeps its label, and a reading's
    // name and verdict are announced by a notification that shows.
    void accessibilityFacts()
    {
        QApplication::setActiveWindow(mainWindow);
        QTRY_VERIFY(mainWindow->findChild<QWidget *>("homePanel")->isAncestorOf(QApplication::focusWidget()));
        QVERIFY(!QAccessible::queryAccessibleInterface(mainWindow->findChild<QWidget *>("homePanel"))->state().focused);
        open();
        QTRY_VERIFY(w->readingPane()->hasFocus());
        QVERIFY(!QAccessible::queryAccessibleInterface(w->subWindow())->state().focused);
        auto *notice = w->findChild<SpokenNotice *>(QStringLiteral("readingNotice"));
        ShowCounter shows(notice);
        wooden->click();
        choose(reading::entryPosition(2, 0, 3));
        QCOMPARE(QAccessible::queryAccessibleInterface(selector)->text(QAccessible::Description),
                 QStringLiteral("选择衍枰个数"));
        // Orca reads a notification as it starts showing: the etiquette, then the reading.
        QTRY_COMPARE(shows.count, 2);
        QAccessibleInterface *said = QAccessible::queryAccessibleInterface(notice);
        QCOMPARE(said->role(), QAccessible::Notification);
        const QStringList lines = readingText(QStringLiteral("203")).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(said->text(QAccessible::Name), lines.value(0).trimmed() + QLatin1Char(' ') + lines.value(1).trimmed());
        QCOMPARE(notice->size(), QSize(0, 0)); // nothing for the eye
    }

    void accessibleNames()
    {
        open();
        for (QWidget *c :
             {static_cast<QWidget *>(wooden), static_cast<QWidget *>(computer), static_cast<QWidget *>(detail),
              static_cast<QWidget *>(selector), static_cast<QWidget *>(w->readingPane())}) {
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(c);
            QVERIFY(iface);
            QVERIFY2(!iface->text(QAccessible::Name).isEmpty(), qPrintable(c->objectName()));
        }
        QAccessibleInterface *text = QAccessible::queryAccessibleInterface(w->readingPane());
        QVERIFY(text->textInterface());
        QVERIFY(text->textInterface()
                    ->text(0, text->textInterface()->characterCount())
                    .contains(QStringLiteral("欢迎来到衍枰占卜平台")));
        QCOMPARE(QAccessible::queryAccessibleInterface(computer)->text(QAccessible::Name),
                 QStringLiteral("《电脑衍枰占卜》"));
        computer->click();
        QCOMPARE(QAccessible::queryAccessibleInterface(computer)->text(QAccessible::Name),
                 QStringLiteral("《祈祷结束》"));
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    prepareApplication(app);
    TestDivinationWindow test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_divinationwindow.moc"
