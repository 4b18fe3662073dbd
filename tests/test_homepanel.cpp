#include "app/LoadedWindows.h"
#include "app/MainWindow.h"
#include "platform/ProgramFolder.h"
#include "app/Startup.h"
#include "divination/DivinationWindow.h"
#include "platform/MessageBox.h"
#include "platform/Twips.h"
#include "shell/EmblemImage.h"
#include "shell/HomePanel.h"
#include "shell/HomePanelLayout.h"
#include "shell/GatedTimer.h"
#include "testsupport.h"

#include <QApplication>
#include <QBuffer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QtTest>
#include <memory>

using homepanellayout::Box;
using homepanellayout::Layout;

Q_DECLARE_METATYPE(Box)

namespace {

// Emblem pictures for the tests: each one a plain colour, so the picture on
// show tells which file it came from. (The reader goes by the content, so
// PNG data under a .gif name loads.)
const QColor kKvnd(10, 10, 10);
const QColor kFrame[5] = {QColor(), QColor(200, 0, 0), QColor(0, 200, 0), QColor(0, 0, 200), QColor(200, 200, 0)};
const char *kFrameFile[5] = {nullptr, "picture/xwpta.gif", "picture/xwptb.gif", "picture/xwptc.gif",
                             "picture/xwptd.gif"};

QByteArray pictureOf(const QColor &colour)
{
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

void writeEmblemPictures(const testsupport::ProgramFolderFixture &folder)
{
    folder.writeFile(QStringLiteral("picture/kvnda.gif"), pictureOf(kKvnd));
    for (int i = 1; i <= 4; ++i)
        folder.writeFile(QString::fromLatin1(kFrameFile[i]), pictureOf(kFrame[i]));
}

QColor shown(const HomePanel &panel)
{
    const QPixmap p = panel.Image1->picture();
    return p.isNull() ? QColor() : p.toImage().pixelColor(0, 0);
}

bool closeTo(float a, float b) { return qAbs(a - b) < 0.01f; }

// A bare multiple-document area holding the panel the way the main window
// does, plus whatever other children a test opens.
struct PanelArea {
    PanelArea()
    {
        area.resize(800, 600);
        panel = new HomePanel;
        panelWindow = area.addSubWindow(panel, Qt::SubWindow | Qt::FramelessWindowHint);
        panelWindow->move(0, 0);
        panel->Form_Load();
        panelWindow->show();
        panelWindow->resize(area.viewport()->size());
        area.show();
        area.activateWindow();
    }
    QMdiSubWindow *open(const QString &caption)
    {
        auto *w = new QWidget;
        w->setWindowTitle(caption);
        QMdiSubWindow *sub = area.addSubWindow(w);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->resize(200, 150);
        sub->show();
        area.setActiveSubWindow(sub);
        return sub;
    }
    QMdiArea area;
    HomePanel *panel = nullptr;
    QMdiSubWindow *panelWindow = nullptr;
};

bool turning(const HomePanel &panel)
{
    return panel.Timer1->isEnabled() && panel.Timer1->interval() == 100 && panel.Timer1->isTicking();
}

bool idle(const HomePanel &panel)
{
    return !panel.Timer1->isEnabled() && panel.Timer1->interval() == 0 && !panel.Timer1->isTicking();
}

QWidget *bottomChild(QWidget *parent)
{
    for (QObject *o : parent->children()) {
        auto *w = qobject_cast<QWidget *>(o);
        if (w && !w->isWindow())
            return w;
    }
    return nullptr;
}

} // namespace

class TestFmulu : public QObject
{
    Q_OBJECT
private slots:
    void cleanup()
    {
        delete mainWindow;
        mainWindow = nullptr;
        msgbox::setHook({});
    }

    // ---- the layout rule ------------------------------------------------------

    void layoutRule_data()
    {
        QTest::addColumn<float>("W");
        QTest::addColumn<float>("H");
        QTest::addColumn<Box>("image");
        QTest::addColumn<Box>("command1");
        QTest::addColumn<Box>("command2");
        // The worked example: 12000 x 8000 twips.
        QTest::newRow("12000 x 8000") << 12000.f << 8000.f << Box{4000, 1600, 4000, 3200}
                                      << Box{4000, 4850, 1818.18f, 606.06f} << Box{6181.82f, 4850, 1818.18f, 606.06f};
        QTest::newRow("6000 x 3000") << 6000.f << 3000.f << Box{2000, 600, 2000, 1200}
                                     << Box{2000, 1850, 909.09f, 303.03f} << Box{3090.91f, 1850, 909.09f, 303.03f};
        QTest::newRow("wide and low") << 33000.f << 1000.f << Box{11000, 200, 11000, 400}
                                      << Box{11000, 650, 5000, 1666.67f} << Box{17000, 650, 5000, 1666.67f};
    }

    void layoutRule()
    {
        QFETCH(float, W);
        QFETCH(float, H);
        QFETCH(Box, image);
        QFETCH(Box, command1);
        QFETCH(Box, command2);
        const Layout l = homepanellayout::compute(W, H, Layout());
        const std::pair<Box, Box> pairs[3] = {{l.image, image}, {l.command1, command1}, {l.command2, command2}};
        for (const auto &[got, want] : pairs) {
            QVERIFY2(closeTo(got.left, want.left), qPrintable(QString::number(got.left)));
            QVERIFY2(closeTo(got.top, want.top), qPrintable(QString::number(got.top)));
            QVERIFY2(closeTo(got.width, want.width), qPrintable(QString::number(got.width)));
            QVERIFY2(closeTo(got.height, want.height), qPrintable(QString::number(got.height)));
        }
    }

    void layoutRefusedSizesKeepTheirValues()
    {
        // With no room, every size is refused and stays as it was; the
        // positions still move, and later steps read the kept sizes.
        Layout before;
        before.image = {1, 2, 1100, 900};
        before.command1 = {3, 4, 77, 66};
        before.command2 = {5, 6, 88, 55};
        const Layout l = homepanellayout::compute(0, 0, before);
        QCOMPARE(l.image.width, 1100.f);
        QCOMPARE(l.image.height, 900.f);
        QCOMPARE(l.image.left, 0.f);
        QCOMPARE(l.image.top, 0.f);
        QVERIFY(closeTo(l.command1.width, 500));
        QVERIFY(closeTo(l.command2.width, 500));
        QVERIFY(closeTo(l.command1.height, 166.67f));
        QVERIFY(closeTo(l.command2.height, 166.67f));
        QCOMPARE(l.command1.left, 0.f);
        QVERIFY(closeTo(l.command2.left, 600));
        QCOMPARE(l.command1.top, 950.f);
        QCOMPARE(l.command2.top, 950.f);
    }

    void layoutReadsWhatTheControlsReport()
    {
        // Each step sees the value the control kept, not the one computed:
        // here the controls keep whole hundreds, rounded down.
        auto hundreds = [](float v) { return float(int(v / 100) * 100); };
        const Layout l = homepanellayout::compute(12450, 8000, Layout(), hundreds);
        QCOMPARE(l.image.width, 4100.f);    // 4150
        QCOMPARE(l.image.left, 4100.f);     // 4150
        QCOMPARE(l.command1.width, 1800.f); // 4100 / 11 * 5 = 1863.6
        QCOMPARE(l.command1.height, 600.f); // 1800 / 3
        QCOMPARE(l.command2.height, 600.f);
        QCOMPARE(l.command1.left, 4100.f);
        QCOMPARE(l.command2.left, 6300.f); // 4100 / 11 * 6 + 4100 = 6336.4, not 6413.6
        QCOMPARE(l.command1.top, 4800.f);  // 1600 + 3200 + 50
    }

    void panelLaysOutInWholePixels()
    {
        // 800 x 533 pixels is 12000 x 7995 twips. The emblem's width comes
        // back as 267 pixels (4005 twips), and the buttons follow from that.
        HomePanel panel;
        panel.resize(800, 533);
        panel.show();
        QCOMPARE(panel.Image1->geometry(), QRect(267, 107, 267, 213));
        QCOMPARE(panel.Command1->geometry(), QRect(267, 323, 121, 40));
        QCOMPARE(panel.Command2->geometry(), QRect(413, 323, 121, 40));
        // A later, smaller size lays out again.
        panel.resize(400, 300);
        QCOMPARE(panel.Image1->geometry(), QRect(133, 60, 133, 120));
        QCOMPARE(panel.Command1->geometry().topLeft(), QPoint(133, 183));
    }

    // ---- loading ------------------------------------------------------------------

    void loadState()
    {
        testsupport::ProgramFolderFixture folder(false);
        writeEmblemPictures(folder);
        testsupport::MessageRecorder messages;
        HomePanel panel;
        panel.Form_Load();
        QCOMPARE(panel.windowTitle(), QStringLiteral("目录"));
        QCOMPARE(panel.Image1->tag(), QStringLiteral("A"));
        QCOMPARE(panel.Image1->property("tag").toString(), QStringLiteral("A"));
        QCOMPARE(panel.Image1->toolTip(), QStringLiteral("点击停止转动"));
        QCOMPARE(shown(panel), kKvnd);
        QVERIFY(!panel.frameNumber.has_value());
        // The timer is left alone: enabled, but without an interval.
        QVERIFY(panel.Timer1->isEnabled());
        QCOMPARE(panel.Timer1->interval(), 0);
        QVERIFY(!panel.Timer1->isTicking());
        QVERIFY(loaded::windows().contains(&panel));
        // No globe in this folder: plain background, and not a word about it.
        QVERIFY(panel.background().isNull());
        QVERIFY(messages.texts.isEmpty());
    }

    void loadWithoutPictures()
    {
        testsupport::ProgramFolderFixture folder(false);
        testsupport::MessageRecorder messages;
        HomePanel panel;
        panel.Form_Load();
        QVERIFY(panel.Image1->picture().isNull());
        QCOMPARE(panel.Image1->tag(), QStringLiteral("A"));
        QCOMPARE(panel.Image1->toolTip(), QStringLiteral("点击停止转动"));
        QVERIFY(messages.texts.isEmpty());
        // The cyan shows everywhere.
        panel.resize(120, 90);
        const QImage image = panel.grab().toImage();
        QCOMPARE(image.pixelColor(5, 5), QColor(0, 255, 255));
        QCOMPARE(image.pixelColor(60, 45), QColor(0, 255, 255));
    }

    void buttons()
    {
        HomePanel panel;
        QCOMPARE(panel.Command1->text(), QStringLiteral("衍枰说明"));
        QCOMPARE(panel.Command2->text(), QStringLiteral("衍枰占卜"));
        for (QPushButton *b : {panel.Command1, panel.Command2}) {
            QCOMPARE(b->font().family(), QStringLiteral("宋体"));
            QCOMPARE(b->font().pointSizeF(), 10.5);
            QVERIFY(!b->font().bold());
            QVERIFY(!b->accessibleName().isEmpty());
        }
        QCOMPARE(panel.Command1->nextInFocusChain(), panel.Command2);
        QCOMPARE(panel.Image1->focusPolicy(), Qt::NoFocus);
    }

    void emblemAccessibleTexts()
    {
        testsupport::ProgramFolderFixture folder(false);
        HomePanel panel;
        panel.Form_Load();
        const QString turningName = panel.Image1->accessibleName();
        QVERIFY(turningName.contains(QStringLiteral("衍枰")));
        QCOMPARE(panel.Image1->accessibleDescription(), QStringLiteral("点击停止转动"));
        panel.Image1_Click();
        QVERIFY(panel.Image1->accessibleName() != turningName);
        QCOMPARE(panel.Image1->accessibleDescription(), QStringLiteral("点击开始转动"));
        panel.Image1_Click();
        QCOMPARE(panel.Image1->accessibleName(), turningName);
    }

    void emblemPointer()
    {
        HomePanel panel;
        const QCursor cursor = panel.Image1->cursor();
        QCOMPARE(cursor.shape(), Qt::BitmapCursor);
        QVERIFY(!cursor.pixmap().isNull());
        QVERIFY(QRect(QPoint(0, 0), cursor.pixmap().size()).contains(cursor.hotSpot()));
        // The hot spot sits on the drawing (its tip), not on empty pixels.
        const QImage pointer = cursor.pixmap().toImage();
        int drawn = 0;
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy) {
                const QPoint p = cursor.hotSpot() + QPoint(dx, dy);
                drawn += pointer.valid(p) && qAlpha(pointer.pixel(p)) > 0;
            }
        QVERIFY(drawn > 0);
        // Only the emblem has it.
        QVERIFY(panel.cursor().shape() != Qt::BitmapCursor);
    }

    // ---- the turning emblem --------------------------------------------------------

    void frameSequence()
    {
        testsupport::ProgramFolderFixture folder(false);
        writeEmblemPictures(folder);
        testsupport::MessageRecorder messages;
        HomePanel panel;
        panel.Form_Load();
        // The first tick shows frame 4, then 1, 2, 3, 4, 1, ...
        const int expected[] = {4, 1, 2, 3, 4, 1, 2};
        for (int frame : expected) {
            panel.Timer1_Timer();
            QCOMPARE(shown(panel), kFrame[frame]);
            QCOMPARE(panel.frameNumber.value_or(-1), frame % 4 + 1);
        }
        QVERIFY(messages.texts.isEmpty());
    }

    void frameNumberKeptWhileStopped()
    {
        testsupport::ProgramFolderFixture folder(false);
        writeEmblemPictures(folder);
        HomePanel panel;
        panel.Form_Load();
        panel.Form_Activate();
        panel.Timer1_Timer(); // 4
        panel.Timer1_Timer(); // 1
        panel.Image1_Click(); // stop
        QVERIFY(!panel.Timer1->isTicking());
        QCOMPARE(panel.frameNumber.value_or(-1), 2);
        QCOMPARE(shown(panel), kFrame[1]);
        panel.Form_Deactivate();
        panel.Form_Activate();
        QCOMPARE(panel.frameNumber.value_or(-1), 2);
        panel.Timer1_Timer();
        QCOMPARE(shown(panel), kFrame[2]); // resumes with the next frame
    }

    void hiddenEmblemDoesNotTurn()
    {
        testsupport::ProgramFolderFixture folder(false);
        writeEmblemPictures(folder);
        HomePanel panel;
        panel.Form_Load();
        panel.Image1->hide();
        panel.Timer1_Timer();
        QVERIFY(!panel.frameNumber.has_value());
        QCOMPARE(shown(panel), kKvnd);
    }

    void frameThatCannotBeLoaded_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: no file at all
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << QByteArray() << QStringLiteral("文件未找到");
        QTest::newRow("not a picture") << QByteArray("GIF89a, or so it says") << QStringLiteral("无效的图片");
    }

    void frameThatCannotBeLoaded()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        testsupport::ProgramFolderFixture folder(false);
        writeEmblemPictures(folder);
        folder.remove(QStringLiteral("picture/xwptb.gif"));
        if (!content.isEmpty())
            folder.writeFile(QStringLiteral("picture/xwptb.gif"), content);
        testsupport::MessageRecorder messages;
        HomePanel panel;
        panel.Form_Load();
        panel.Timer1_Timer(); // frame 4
        panel.Timer1_Timer(); // frame 1
        QVERIFY(messages.texts.isEmpty());

        panel.Timer1_Timer(); // frame 2 is due and fails
        QCOMPARE(messages.texts, QStringList{message});
        QCOMPARE(messages.titles, QStringList{QStringLiteral("衍枰占卜")});
        QCOMPARE(shown(panel), kFrame[1]);
        QCOMPARE(panel.frameNumber.value_or(-1), 2);

        // Once the box is gone, the next tick tries frame 2 again.
        panel.Timer1_Timer();
        QCOMPARE(messages.texts.size(), 2);
        QCOMPARE(panel.frameNumber.value_or(-1), 2);

        // Once it is back, the turning goes on from there.
        folder.writeFile(QStringLiteral("picture/xwptb.gif"), pictureOf(kFrame[2]));
        panel.Timer1_Timer();
        QCOMPARE(shown(panel), kFrame[2]);
        QCOMPARE(panel.frameNumber.value_or(-1), 3);
        QCOMPARE(messages.texts.size(), 2);
    }

    void noPileOfMessages()
    {
        // Ticks keep coming while the box is open: they add no box of their own.
        testsupport::ProgramFolderFixture folder(false);
        writeEmblemPictures(folder);
        folder.remove(QStringLiteral("picture/xwptd.gif"));
        HomePanel panel;
        panel.Form_Load();
        QStringList texts;
        int ticksWhileOpen = 0;
        msgbox::setHook([&](const QString &, const QString &text) {
            texts.append(text);
            QVERIFY(msgbox::isShowing());
            for (; ticksWhileOpen < 5; ++ticksWhileOpen)
                panel.Timer1_Timer();
        });
        panel.Timer1_Timer();
        QCOMPARE(ticksWhileOpen, 5);
        QCOMPARE(texts, QStringList{QStringLiteral("文件未找到")});
        QVERIFY(!panel.frameNumber.has_value());
        QCOMPARE(shown(panel), kKvnd);
    }

    void clickStopsAndRestarts()
    {
        testsupport::ProgramFolderFixture folder(false);
        writeEmblemPictures(folder);
        HomePanel panel;
        panel.resize(600, 450);
        panel.Form_Load();
        panel.Form_Activate();
        QVERIFY(turning(panel));

        QTest::mouseClick(panel.Image1, Qt::LeftButton);
        QCOMPARE(panel.Image1->tag(), QStringLiteral("B"));
        QCOMPARE(panel.Image1->toolTip(), QStringLiteral("点击开始转动"));
        QVERIFY(!panel.Timer1->isEnabled());
        QCOMPARE(panel.Timer1->interval(), 100); // left as it was
        QVERIFY(!panel.Timer1->isTicking());

        QTest::mouseClick(panel.Image1, Qt::LeftButton);
        QCOMPARE(panel.Image1->tag(), QStringLiteral("A"));
        QCOMPARE(panel.Image1->toolTip(), QStringLiteral("点击停止转动"));
        QVERIFY(turning(panel));

        // Any tag other than exactly "A" counts as stopped.
        panel.Image1->setTag(QStringLiteral("a"));
        panel.Image1_Click();
        QCOMPARE(panel.Image1->tag(), QStringLiteral("A"));

        // A right click is no click.
        QTest::mouseClick(panel.Image1, Qt::RightButton);
        QCOMPARE(panel.Image1->tag(), QStringLiteral("A"));
    }

    // ---- activation inside the area -----------------------------------------------

    void activationStartsAndStopsTheTimer()
    {
        testsupport::ProgramFolderFixture folder(false);
        writeEmblemPictures(folder);
        PanelArea a;
        QTRY_VERIFY(a.panel->isActiveChild());
        QVERIFY(turning(*a.panel));
        QTRY_VERIFY(a.panel->frameNumber.has_value()); // it really turns

        QMdiSubWindow *other = a.open(QStringLiteral("另一个"));
        QVERIFY(!a.panel->isActiveChild());
        QVERIFY(idle(*a.panel));

        other->close();
        QTRY_VERIFY(a.panel->isActiveChild());
        QVERIFY(turning(*a.panel));
    }

    void stoppedFlagSurvivesDeactivation()
    {
        testsupport::ProgramFolderFixture folder(false);
        writeEmblemPictures(folder);
        PanelArea a;
        QTRY_VERIFY(a.panel->isActiveChild());
        a.panel->Image1_Click();
        QCOMPARE(a.panel->Image1->tag(), QStringLiteral("B"));
        QVERIFY(!a.panel->Timer1->isTicking());

        QMdiSubWindow *other = a.open(QStringLiteral("另一个"));
        QVERIFY(idle(*a.panel));
        QCOMPARE(a.panel->Image1->tag(), QStringLiteral("B"));

        // Back to the panel: it turns again, although the flag still says "B".
        a.area.setActiveSubWindow(a.panelWindow);
        QVERIFY(a.panel->isActiveChild());
        QVERIFY(turning(*a.panel));
        QCOMPARE(a.panel->Image1->tag(), QStringLiteral("B"));
        QCOMPARE(a.panel->Image1->toolTip(), QStringLiteral("点击开始转动"));

        // The next click sets the flag to "A" and leaves it turning; only the
        // click after that stops it.
        a.panel->Image1_Click();
        QCOMPARE(a.panel->Image1->tag(), QStringLiteral("A"));
        QCOMPARE(a.panel->Image1->toolTip(), QStringLiteral("点击停止转动"));
        QVERIFY(turning(*a.panel));
        a.panel->Image1_Click();
        QVERIFY(!a.panel->Timer1->isTicking());
        other->close();
    }

    void programLosingTheFocusChangesNothing()
    {
        testsupport::ProgramFolderFixture folder(false);
        writeEmblemPictures(folder);
        PanelArea a;
        QTRY_VERIFY(a.panel->isActiveChild());
        // What the area reports when the program as a whole is deactivated.
        emit a.area.subWindowActivated(nullptr);
        QVERIFY(a.panel->isActiveChild());
        QVERIFY(turning(*a.panel));

        // Another top-level window taking the focus.
        QWidget elsewhere;
        elsewhere.resize(100, 100);
        elsewhere.show();
        elsewhere.activateWindow();
        QTRY_VERIFY(elsewhere.isActiveWindow());
        QVERIFY(turning(*a.panel));
        a.area.activateWindow();
        QTRY_VERIFY(a.area.isActiveWindow());
        QVERIFY(turning(*a.panel));

        // Stopped by the user, the focus going away and back restarts nothing.
        a.panel->Image1_Click();
        elsewhere.activateWindow();
        QTRY_VERIFY(elsewhere.isActiveWindow());
        a.area.activateWindow();
        QTRY_VERIFY(a.area.isActiveWindow());
        QVERIFY(!a.panel->Timer1->isTicking());
        QCOMPARE(a.panel->Image1->tag(), QStringLiteral("B"));
    }

    void panelStaysBehindTheOthers()
    {
        testsupport::ProgramFolderFixture folder(false);
        writeEmblemPictures(folder);
        PanelArea a;
        QMdiSubWindow *other = a.open(QStringLiteral("另一个"));
        other->move(300, 300);
        QCOMPARE(bottomChild(a.area.viewport()), a.panelWindow);

        // A click on the panel makes it the active child, beneath the other.
        QTest::mouseClick(a.panel, Qt::LeftButton, {}, QPoint(20, 20));
        QTRY_VERIFY(a.panel->isActiveChild());
        QCOMPARE(bottomChild(a.area.viewport()), a.panelWindow);
        a.area.setActiveSubWindow(a.panelWindow);
        a.panelWindow->raise();
        QCOMPARE(bottomChild(a.area.viewport()), a.panelWindow);
        QWidget *hit = a.area.viewport()->childAt(320, 320);
        QVERIFY(hit == other || other->isAncestorOf(hit));
        other->close();
    }

    void panelCannotBeClosed()
    {
        PanelArea a;
        QVERIFY(!a.panelWindow->close());
        QVERIFY(a.panelWindow->isVisible());
        QVERIFY(a.panel->isVisible());
    }

    // ---- inside the main window ------------------------------------------------------

    void insideTheMainWindow()
    {
        // The program's own pictures this time.
        testsupport::ProgramFolderFixture folder(true);
        testsupport::MessageRecorder messages;
        mainWindow = new MainWindow;
        mainWindow->setWindowState(Qt::WindowNoState);
        mainWindow->show();
        mainWindow->activateWindow();
        // A client area of 800 x 533 pixels, 12000 x 7995 twips.
        const QSize extra = mainWindow->size() - mainWindow->mdiArea()->viewport()->size();
        mainWindow->resize(QSize(800, 533) + extra);
        QTRY_COMPARE(mainWindow->mdiArea()->viewport()->size(), QSize(800, 533));
        HomePanel *panel = mainWindow->panel();
        QVERIFY(panel);
        QCOMPARE(panel->size(), QSize(800, 533));
        QCOMPARE(panel->mapTo(mainWindow->mdiArea()->viewport(), QPoint(0, 0)), QPoint(0, 0));
        QCOMPARE(panel->Image1->geometry(), QRect(267, 107, 267, 213));
        QCOMPARE(panel->Command2->geometry(), QRect(413, 323, 121, 40));
        QTRY_VERIFY(panel->isActiveChild());
        QVERIFY(turning(*panel));
        QTRY_VERIFY(panel->frameNumber.has_value());
        QTest::qWait(250);
        const QString shot = QDir::temp().filePath(QStringLiteral("fmulu-main-window.png"));
        mainWindow->grab().save(shot);
        qInfo("main window with the panel: %s", qPrintable(shot));

        // The divination button opens the divination window in front; the
        // emblem stops until it is closed again.
        QTest::mouseClick(panel->Command2, Qt::LeftButton);
        QTRY_VERIFY(DivinationWindow::Instance());
        QVERIFY(!panel->isActiveChild());
        QVERIFY(idle(*panel));
        QCOMPARE(bottomChild(mainWindow->mdiArea()->viewport()), mainWindow->panelWindow());
        DivinationWindow::Instance()->subWindow()->close();
        QTRY_VERIFY(panel->isActiveChild());
        QVERIFY(turning(*panel));

        // The instructions button opens one viewer captioned "衍枰说明";
        // a second click brings that one back instead of opening another.
        auto viewers = [] {
            int n = 0;
            for (QWidget *w : loaded::windows())
                n += w->windowTitle() == QStringLiteral("衍枰说明");
            return n;
        };
        QTest::mouseClick(panel->Command1, Qt::LeftButton);
        QTRY_COMPARE(viewers(), 1);
        QVERIFY(!panel->isActiveChild());
        QVERIFY(idle(*panel));
        panel->Command1_Click();
        QCOMPARE(viewers(), 1);
        QCOMPARE(bottomChild(mainWindow->mdiArea()->viewport()), mainWindow->panelWindow());
        QVERIFY(messages.texts.isEmpty());
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    prepareApplication(app);
    TestFmulu test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_fmulu.moc"
