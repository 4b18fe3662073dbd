#include "app/MainWindow.h"
#include "platform/ProgramFolder.h"
#include "app/Startup.h"
#include "divination/DivinationWindow.h"
#include "divination/DivinationLayout.h"
#include "divination/ReadingModel.h"
#include "divination/TextPane.h"
#include "divination/Texts.h"
#include "divination/Throw.h"
#include "platform/Twips.h"
#include "testsupport.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QItemSelectionModel>
#include <QApplication>
#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using Piece = PieceImage;

class TestFxwpt : public QObject
{
    Q_OBJECT

    std::unique_ptr<testsupport::ProgramFolderFixture> folder;
    std::unique_ptr<testsupport::MessageRecorder> messages;
    DivinationWindow *w = nullptr;

    void open()
    {
        mainWindow->ShowDivinationWindow();
        w = DivinationWindow::Instance();
        QVERIFY(w);
    }
    QStringList captions() const { return {w->Command1->text(), w->Command2->text()}; }
    // What the twelve pieces show, group by group: e.g. "上上空空 空空空空 下下下空".
    QString pieces() const
    {
        QStringList groups;
        for (const PieceArray *g : {&w->Image1, &w->Image2, &w->Image3}) {
            QString s;
            for (int i = 1; i <= 4; ++i)
                s += (*g)(i)->shows() == QStringLiteral("空白") ? QStringLiteral("空") : (*g)(i)->shows();
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
        w->Combo1->setCurrentIndex(position);
        emit w->Combo1->activated(position);
    }
    QString readingText(const QString &name) const
    {
        return reading::loadReadingText(reading::readingFilePath(name));
    }
    void showPieces(int u, int m, int l)
    {
        w->upperCount = u;
        w->middleCount = m;
        w->lowerCount = l;
        w->ShowPieces();
    }

private slots:
    void init()
    {
        folder = std::make_unique<testsupport::ProgramFolderFixture>(true);
        messages = std::make_unique<testsupport::MessageRecorder>();
        mainWindow = new MainWindow;
        mainWindow->resize(1200, 800);
        mainWindow->show();
        throwing::setSourceForTests({});
    }
    void cleanup()
    {
        QVERIFY2(messages->texts.isEmpty(), qPrintable(messages->texts.join(QLatin1Char('|'))));
        delete mainWindow;
        mainWindow = nullptr;
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        messages.reset();
        folder.reset();
        throwing::setSourceForTests({});
    }

    void layoutRule_data()
    {
        QTest::addColumn<float>("W");
        QTest::addColumn<float>("H");
        QTest::addColumn<QList<float>>("expected"); // G V R cmd3.x cmd2.x combo.x left mid right cmd3.y cmd1.y text.y img1(1).y img3(4).y
        QTest::newRow("12000 x 9000") << 12000.f << 9000.f
                                      << QList<float>{100, 333.333f, 180, 3000, 6500, 9100, 350, 1200, 2050,
                                                      333.333f, 1266.667f, 2200, 1080, 7680};
        QTest::newRow("narrow") << 11600.f << 9000.f
                                << QList<float>{0, 333.333f, 180, 2800, 6300, 8800, 250, 1100, 1950,
                                                333.333f, 1266.667f, 2200, 1080, 7680};
        QTest::newRow("low") << 12000.f << 7000.f
                             << QList<float>{100, 0, 80, 3000, 6500, 9100, 350, 1200, 2050, 0, 600, 1200, 480, 6080};
        QTest::newRow("very low") << 12000.f << 5000.f
                                  << QList<float>{100, 0, 0, 3000, 6500, 9100, 350, 1200, 2050, 0, 600, 1200, 0, 4800};
        QTest::newRow("minimized 0 x 0") << 0.f << 0.f
                                         << QList<float>{0, 0, 0, 2800, 6300, 8800, 250, 1100, 1950, 0, 600, 1200, 0, 4800};
    }

    void layoutRule()
    {
        QFETCH(float, W);
        QFETCH(float, H);
        QFETCH(QList<float>, expected);
        const divinationlayout::Result r = divinationlayout::compute(W, H);
        const QList<float> got{r.G, r.V, r.R, r.command3.x, r.command2.x, r.combo1.x,
                               r.pieces[0][1].x, r.pieces[0][0].x, r.pieces[0][2].x,
                               r.command3.y, r.command1.y, r.text1.y, r.pieces[0][0].y, r.pieces[2][3].y};
        for (int i = 0; i < got.size(); ++i)
            QVERIFY2(qAbs(got[i] - expected[i]) < 0.01f, qPrintable(QStringLiteral("value %1: %2 != %3").arg(i).arg(got[i]).arg(expected[i])));
        // Command1 and Text1 share Command3's column; Combo1 shares Text1's row.
        QCOMPARE(r.command1.x, r.command3.x);
        QCOMPARE(r.text1.x, r.command3.x);
        QCOMPARE(r.command2.y, r.command1.y);
        QCOMPARE(r.combo1.y, r.text1.y);
        // Diamonds: index 1 top middle, 2 and 3 on one row, 4 bottom middle.
        for (int g = 0; g < 3; ++g) {
            const auto &p = r.pieces[size_t(g)];
            QCOMPARE(p[3].x, p[0].x);
            QCOMPARE(p[1].y, p[2].y);
            QVERIFY(p[0].y < p[1].y && p[1].y < p[3].y);
            QVERIFY(p[1].x < p[0].x && p[0].x < p[2].x);
        }
    }

    void startState()
    {
        open();
        QCOMPARE(w->windowTitle(), QStringLiteral("衍枰占卜"));
        QVERIFY(w->subWindow()->isMaximized());
        QCOMPARE(mainWindow->mdiArea()->activeSubWindow(), w->subWindow());
        QCOMPARE(captions(), (QStringList{QStringLiteral("《木制衍枰占卜》"), QStringLiteral("《电脑衍枰占卜》")}));
        QCOMPARE(w->Command3->text(), QStringLiteral("重 点 卦 象 详 细 解 说"));
        QVERIFY(!w->Command3->isEnabled());
        QVERIFY(w->Command1->isEnabled() && w->Command2->isEnabled());
        QVERIFY(w->Combo1->isHidden());
        QCOMPARE(w->Combo1->count(), 0);
        QVERIFY(!w->Timer1->isActive());
        QCOMPARE(w->Timer1->interval(), 1);
        QCOMPARE(w->Timer1->timerType(), Qt::PreciseTimer);
        QCOMPARE(w->Text1->text(), texts::welcomeText());
        QVERIFY(w->Text1->text().startsWith(QStringLiteral("\r\n    欢迎来到衍枰占卜平台！\r\n\r\n请选择占卜模式：")));
        QVERIFY(!w->Text1->text().endsWith(QLatin1Char('\n')));
        QVERIFY(w->Text1->isReadOnly());
        QCOMPARE(w->Text1->palette().color(QPalette::Base), QColor(255, 192, 255));
        QCOMPARE(w->Text1->palette().color(QPalette::Text), QColor(0, 0, 255));
        QCOMPARE(w->Text1->size(), QSize(400, 387));
        QCOMPARE(w->Command3->size(), QSize(400, 40));
        QCOMPARE(w->Command1->font().pointSizeF(), 14.25);
        QCOMPARE(w->Text1->font().pointSizeF(), 10.5);
        QCOMPARE(w->Command1->font().family(), QStringLiteral("宋体"));
        QCOMPARE(pieces(), QStringLiteral("空空空空 空空空空 空空空空"));
        for (int i = 1; i <= 4; ++i)
            QVERIFY(w->Image1(i)->isHidden() && w->Image2(i)->isHidden() && w->Image3(i)->isHidden());
        QCOMPARE(w->upperCount + w->middleCount + w->lowerCount, 0);
        // Keyboard order: Text1, Command1, Command2, Command3, Combo1.
        QCOMPARE(nextTabStop(w->Text1), static_cast<QWidget *>(w->Command1));
        QCOMPARE(nextTabStop(w->Command1), static_cast<QWidget *>(w->Command2));
        QCOMPARE(nextTabStop(w->Command2), static_cast<QWidget *>(w->Command3));
        QCOMPARE(nextTabStop(w->Command3), static_cast<QWidget *>(w->Combo1));
    }

    void layoutAppliedToWidgets()
    {
        open();
        w->subWindow()->showNormal();
        w->resize(800, 600); // 12000 x 9000 twips
        QApplication::processEvents();
        QCOMPARE(w->Command3->pos(), QPoint(200, 22));
        QCOMPARE(w->Command2->pos(), QPoint(433, 84));
        QCOMPARE(w->Text1->pos(), QPoint(200, 147));
        QCOMPARE(w->Combo1->pos(), QPoint(607, 147));
        QCOMPARE(w->Image1(1)->pos(), QPoint(80, 72));
        QCOMPARE(w->Image3(4)->pos(), QPoint(80, 512));
        // Minimizing and restoring give the normal arrangement back.
        w->subWindow()->showMinimized();
        QApplication::processEvents();
        w->subWindow()->showMaximized();
        QApplication::processEvents();
        const auto r = divinationlayout::compute(float(twips::fromPixels(w->width())), float(twips::fromPixels(w->height())));
        QCOMPARE(w->Text1->pos(), QPoint(twips::toPixels(r.text1.x), twips::toPixels(r.text1.y)));
        QCOMPARE(w->Text1->size(), QSize(400, 387));
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
        showPieces(4, 4, 4);
        showPieces(u, m, l);
        QCOMPARE(pieces(), shown);
        // Face-up pieces carry their kind's mark for assistive technology.
        // (presented with the next frame, as a throw's many changes are)
        QTRY_COMPARE(w->Image1(1)->accessibleName(), u ? QStringLiteral("上") : QStringLiteral("空白"));
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w->Image3(1));
        QVERIFY(iface);
        QTRY_COMPARE(iface->text(QAccessible::Name), l ? QStringLiteral("下") : QStringLiteral("空白"));
        QCOMPARE(iface->text(QAccessible::Description), QStringLiteral("下组第1枚"));
        QCOMPARE(iface->role(), QAccessible::Graphic);
        // The pictures are those of the program folder.
        QPixmap shang;
        QVERIFY(shang.load(folder->path(QStringLiteral("picture/shang.jpg"))));
        QCOMPARE(w->Image1(1)->picture().toImage() == shang.toImage(), u > 0);
    }

    void computerDivination()
    {
        open();
        w->Command2->click();
        QCOMPARE(captions(), (QStringList{QStringLiteral("《祈祷开始》"), QStringLiteral("《祈祷结束》")}));
        QCOMPARE(w->Text1->text(), texts::computerEtiquette());
        QCOMPARE(w->Text1->text().count(QStringLiteral("\r\n")), 9);
        for (int i = 1; i <= 4; ++i)
            QVERIFY(w->Image1(i)->isVisible() && w->Image2(i)->isVisible() && w->Image3(i)->isVisible());
        QCOMPARE(pieces(), QStringLiteral("空空空空 空空空空 空空空空")); // no throw yet

        // From 4/4/4, steps of 1, 2 and 124 give 0, 1 and 3.
        w->upperCount = w->middleCount = w->lowerCount = 4;
        QList<float> draws{1.5f / 125, 2.5f / 125, 124.5f / 125};
        throwing::setSourceForTests([&draws] { return draws.takeFirst(); });
        w->Command1->click();
        QVERIFY(w->Timer1->isActive());
        QVERIFY(!w->Command1->isEnabled());
        w->Timer1->stop(); // tick by hand
        w->Timer1_Timer();
        QVERIFY(draws.isEmpty());
        QCOMPARE(w->upperCount, 0);
        QCOMPARE(w->middleCount, 1);
        QCOMPARE(w->lowerCount, 3);
        QCOMPARE(pieces(), QStringLiteral("空空空空 中空空空 下下下空"));
        w->Timer1->start();

        w->Command2->click();
        QVERIFY(!w->Timer1->isActive());
        QCOMPARE(captions(), (QStringList{QStringLiteral("《木制衍枰占卜》"), QStringLiteral("《电脑衍枰占卜》")}));
        QVERIFY(w->Command1->isEnabled());
        QCOMPARE(w->Text1->text(), readingText(QStringLiteral("013")));
        QVERIFY(w->Text1->text().contains(QStringLiteral("【零上·一中·三下】")));
        QCOMPARE(w->Command3->isEnabled(), QFile::exists(folder->path(QStringLiteral("god/xwk/0131.god"))));
    }

    void prayerEndWithoutStart()
    {
        open();
        w->Command2->click();
        w->Command2->click();
        QCOMPARE(w->Text1->text(), readingText(QStringLiteral("000")));
        QCOMPARE(captions(), (QStringList{QStringLiteral("《木制衍枰占卜》"), QStringLiteral("《电脑衍枰占卜》")}));
        QVERIFY(w->Command3->isEnabled()); // 000 has a detailed explanation
        w->Command3->click();
        QCOMPARE(w->Text1->text(), readingText(QStringLiteral("0001")));
        QVERIFY(w->Command3->isEnabled());
        QCOMPARE(pieces(), QStringLiteral("空空空空 空空空空 空空空空"));
    }

    void realTimerThrows()
    {
        open();
        w->Command2->click();
        w->Command1->click();
        QTest::qWait(60);
        w->Command2->click();
        // The reading shown is that of the last throw the pieces show.
        QCOMPARE(w->Text1->text(), readingText(reading::readingKey(w->upperCount, w->middleCount, w->lowerCount)));
        QCOMPARE(pieces().count(QStringLiteral("上")), w->upperCount);
        QCOMPARE(pieces().count(QStringLiteral("中")), w->middleCount);
        QCOMPARE(pieces().count(QStringLiteral("下")), w->lowerCount);
    }

    void woodenDivination()
    {
        open();
        w->Command1->click();
        QVERIFY(w->Command1->isHidden() && w->Command2->isHidden());
        QVERIFY(w->Combo1->isVisible());
        QCOMPARE(w->Combo1->count(), 127);
        QCOMPARE(w->Combo1->currentIndex(), 0);
        QCOMPARE(w->Combo1->currentText(), QStringLiteral("选择衍枰个数"));
        QCOMPARE(w->Text1->text(), texts::woodenEtiquette());
        QCOMPARE(w->Text1->text().count(QStringLiteral("\r\n")), 12);
        QVERIFY(w->Text1->text().contains(QStringLiteral("焚香,静坐")));
        QVERIFY(w->Text1->text().endsWith(QStringLiteral("一如故事。 ”")));
        for (int i = 1; i <= 4; ++i)
            QVERIFY(w->Image2(i)->isVisible());

        choose(reading::entryPosition(2, 0, 3));
        QCOMPARE(w->upperCount, 2);
        QCOMPARE(w->middleCount, 0);
        QCOMPARE(w->lowerCount, 3);
        QCOMPARE(pieces(), QStringLiteral("上上空空 空空空空 下下下空"));
        QCOMPARE(w->Text1->text(), readingText(QStringLiteral("203")));
        QCOMPARE(w->Command3->isEnabled(), QFile::exists(folder->path(QStringLiteral("god/xwk/2031.god"))));

        // The prompt changes nothing.
        const QString before = w->Text1->text();
        choose(0);
        QCOMPARE(w->Text1->text(), before);
        QCOMPARE(w->upperCount, 2);

        choose(reading::entryPosition(0, 0, 0));
        QCOMPARE(pieces(), QStringLiteral("空空空空 空空空空 空空空空"));
        QCOMPARE(w->Text1->text(), readingText(QStringLiteral("000")));
        QVERIFY(w->Command3->isEnabled());

        // The computer entry switches modes and leaves the counts.
        choose(1);
        QVERIFY(w->Combo1->isHidden());
        QVERIFY(w->Command1->isVisible() && w->Command2->isVisible());
        QCOMPARE(captions(), (QStringList{QStringLiteral("《祈祷开始》"), QStringLiteral("《祈祷结束》")}));
        QCOMPARE(w->Text1->text(), texts::computerEtiquette());
        QCOMPARE(w->upperCount + w->middleCount + w->lowerCount, 0);

        // After the computer divination, a second wooden entry appends again.
        w->Command2->click();
        w->Command1->click();
        QCOMPARE(w->Combo1->count(), 254);
        QCOMPARE(w->Combo1->currentIndex(), 0);
        QCOMPARE(w->Combo1->itemText(127), QStringLiteral("选择衍枰个数"));
        QCOMPARE(w->Combo1->itemText(128), QStringLiteral("《电脑衍枰占卜》"));
        QCOMPARE(w->Combo1->itemText(253), QStringLiteral("4上4中4下"));
        choose(reading::entryPosition(4, 4, 4) + 127);
        QCOMPARE(pieces(), QStringLiteral("上上上上 中中中中 下下下下"));
        // The repeated prompt leaves the counts and shows their reading again.
        w->Text1->setText(QString());
        choose(127);
        QCOMPARE(w->Text1->text(), readingText(QStringLiteral("444")));
        choose(128);
        QCOMPARE(captions(), (QStringList{QStringLiteral("《祈祷开始》"), QStringLiteral("《祈祷结束》")}));
        QVERIFY(w->Combo1->isHidden());
    }

    void assistiveSelectionChooses()
    {
        open();
        w->Command1->click();
        // What a screen reader does: select the list entry while the list is closed.
        const QModelIndex entry = w->Combo1->model()->index(reading::entryPosition(2, 0, 3), 0);
        w->Combo1->view()->selectionModel()->select(entry, QItemSelectionModel::ClearAndSelect);
        QCOMPARE(w->Combo1->currentIndex(), reading::entryPosition(2, 0, 3));
        QCOMPARE(pieces(), QStringLiteral("上上空空 空空空空 下下下空"));
        QCOMPARE(w->Text1->text(), readingText(QStringLiteral("203")));
        // The keyboard: Down on the closed list moves to the next entry and chooses it.
        QTest::keyClick(w->Combo1, Qt::Key_Down);
        QCOMPARE(w->lowerCount, 4);
        QCOMPARE(w->Text1->text(), readingText(QStringLiteral("204")));
    }

    void detailButtonFollowsDetailFile()
    {
        open();
        w->Command1->click();
        folder->writeFile(QStringLiteral("god/xwk/2031.god"), "abc");
        choose(reading::entryPosition(2, 0, 3));
        QVERIFY(w->Command3->isEnabled());
        w->Command3->click();
        QCOMPARE(w->Text1->text(), QStringLiteral("def"));
        QCOMPARE(pieces(), QStringLiteral("上上空空 空空空空 下下下空"));
        folder->remove(QStringLiteral("god/xwk/2031.god"));
        w->Command3->click(); // the file went away meanwhile: empty text
        QCOMPARE(w->Text1->text(), QString());
        QVERIFY(w->Command3->isEnabled());
        choose(reading::entryPosition(2, 0, 3));
        QVERIFY(!w->Command3->isEnabled());
    }

    void openTwiceAndReopen()
    {
        open();
        w->Command1->click();
        choose(reading::entryPosition(3, 1, 4));
        DivinationWindow *first = w;
        w->subWindow()->showNormal();
        mainWindow->衍枰占卜->trigger();
        QCOMPARE(DivinationWindow::Instance(), first);
        QVERIFY(first->subWindow()->isMaximized());
        QCOMPARE(mainWindow->mdiArea()->activeSubWindow(), first->subWindow());
        QCOMPARE(first->upperCount, 3);
        QCOMPARE(first->Combo1->count(), 127);
        QVERIFY(first->Combo1->isVisible());
        int divinationWindows = 0;
        for (QMdiSubWindow *sub : mainWindow->mdiArea()->subWindowList())
            divinationWindows += qobject_cast<DivinationWindow *>(sub->widget()) != nullptr;
        QCOMPARE(divinationWindows, 1);

        first->subWindow()->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!DivinationWindow::Instance());
        open();
        QCOMPARE(w->upperCount + w->middleCount + w->lowerCount, 0);
        QCOMPARE(w->Text1->text(), texts::welcomeText());
        QVERIFY(w->Combo1->isHidden());
        QCOMPARE(w->Combo1->count(), 0);
        QVERIFY(!w->Command3->isEnabled());
        QCOMPARE(captions(), (QStringList{QStringLiteral("《木制衍枰占卜》"), QStringLiteral("《电脑衍枰占卜》")}));
        QCOMPARE(pieces(), QStringLiteral("空空空空 空空空空 空空空空"));
    }

    void missingFilesAreSkippedSilently()
    {
        for (const char *name : {"picture/shang.jpg", "picture/wu.jpg", "picture/globe.wmf", "god/xwk/203.god"})
            folder->remove(QString::fromLatin1(name));
        open();
        w->Command1->click();
        choose(reading::entryPosition(2, 0, 3));
        // No 上 picture: those pieces keep what they had; the reading is empty.
        QCOMPARE(w->Text1->text(), QString());
        QCOMPARE(pieces(), QStringLiteral("空空空空 空空空空 下下下空"));
        choose(1);
        w->Command1->click();
        QTest::qWait(20);
        w->Command2->click();
        // cleanup() checks that no message box was shown.
    }

    void accessibleNames()
    {
        open();
        for (QWidget *c : {static_cast<QWidget *>(w->Command1), static_cast<QWidget *>(w->Command2),
                           static_cast<QWidget *>(w->Command3), static_cast<QWidget *>(w->Combo1),
                           static_cast<QWidget *>(w->Text1)}) {
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(c);
            QVERIFY(iface);
            QVERIFY2(!iface->text(QAccessible::Name).isEmpty(), qPrintable(c->objectName()));
        }
        QAccessibleInterface *text = QAccessible::queryAccessibleInterface(w->Text1);
        QVERIFY(text->textInterface());
        QVERIFY(text->textInterface()->text(0, text->textInterface()->characterCount()).contains(QStringLiteral("欢迎来到衍枰占卜平台")));
        QCOMPARE(QAccessible::queryAccessibleInterface(w->Command2)->text(QAccessible::Name), QStringLiteral("《电脑衍枰占卜》"));
        w->Command2->click();
        QCOMPARE(QAccessible::queryAccessibleInterface(w->Command2)->text(QAccessible::Name), QStringLiteral("《祈祷结束》"));
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    prepareApplication(app);
    TestFxwpt test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_fxwpt.moc"
