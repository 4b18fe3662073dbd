#include "app/MainWindow.h"
#include "app/Startup.h"
#include "divination/DivinationWindow.h"
#include "homepaneltest.h"
#include "messagerecorder.h"
#include "platform/MessageBox.h"
#include "platform/Twips.h"
#include "shell/EmblemImage.h"
#include "shell/GatedTimer.h"
#include "shell/HomePanel.h"
#include "testsupport.h"

#include <QAccessible>
#include <QApplication>
#include <QBuffer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QtTest>
#include <memory>

using namespace homepaneltest;

class TestHomePanel : public QObject
{
    Q_OBJECT
    MainWindow *mainWindow = nullptr;

private slots:
    void cleanup()
    {
        delete mainWindow;
        mainWindow = nullptr;
    }

    void panelLaysOutInWholePixels()
    {
        // 800 x 533 pixels is 12000 x 7995 twips. The emblem's width comes
        // back as 267 pixels (4005 twips), and the buttons follow from that.
        HomePanel panel;
        panel.resize(800, 533);
        panel.show();
        QCOMPARE(panel.findChild<EmblemImage *>("emblem")->geometry(), QRect(267, 107, 267, 213));
        QCOMPARE(panel.findChild<QPushButton *>("instructionsButton")->geometry(), QRect(267, 323, 121, 40));
        QCOMPARE(panel.findChild<QPushButton *>("divinationButton")->geometry(), QRect(413, 323, 121, 40));
        // A later, smaller size lays out again.
        panel.resize(400, 300);
        QCOMPARE(panel.findChild<EmblemImage *>("emblem")->geometry(), QRect(133, 60, 133, 120));
        QCOMPARE(panel.findChild<QPushButton *>("instructionsButton")->geometry().topLeft(), QPoint(133, 183));
    }

    // ---- loading ------------------------------------------------------------------

    void loadState()
    {
        testsupport::ProgramFolderFixture folder(false);
        writeEmblemPictures(folder);
        testsupport::MessageRecorder messages;
        HomePanel panel;
        panel.loadPictures();
        QCOMPARE(panel.windowTitle(), QStringLiteral("目录"));
        QCOMPARE(panel.findChild<EmblemImage *>("emblem")->tag(), QStringLiteral("A"));
        QCOMPARE(panel.findChild<EmblemImage *>("emblem")->property("tag").toString(), QStringLiteral("A"));
        QCOMPARE(panel.findChild<EmblemImage *>("emblem")->toolTip(), QStringLiteral("点击停止转动"));
        QCOMPARE(shown(panel), kKvnd);
        // The timer is left alone: enabled, but without an interval.
        QVERIFY(panel.findChild<GatedTimer *>("turnTimer")->isEnabled());
        QCOMPARE(panel.findChild<GatedTimer *>("turnTimer")->interval(), 0);
        QVERIFY(!ticking(panel));
        // No globe in this folder: plain background, and not a word about it.
        QVERIFY(panel.background().isNull());
        QVERIFY(messages.texts.isEmpty());
    }

    void loadWithoutPictures()
    {
        testsupport::ProgramFolderFixture folder(false);
        testsupport::MessageRecorder messages;
        HomePanel panel;
        panel.loadPictures();
        QVERIFY(panel.findChild<EmblemImage *>("emblem")->picture().isNull());
        QCOMPARE(panel.findChild<EmblemImage *>("emblem")->tag(), QStringLiteral("A"));
        QCOMPARE(panel.findChild<EmblemImage *>("emblem")->toolTip(), QStringLiteral("点击停止转动"));
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
        QCOMPARE(panel.findChild<QPushButton *>("instructionsButton")->text(), QStringLiteral("衍枰说明"));
        QCOMPARE(panel.findChild<QPushButton *>("divinationButton")->text(), QStringLiteral("衍枰占卜"));
        for (QPushButton *b : {panel.findChild<QPushButton *>("instructionsButton"),
                               panel.findChild<QPushButton *>("divinationButton")}) {
            QCOMPARE(b->font().family(), QStringLiteral("宋体"));
            QCOMPARE(b->font().pointSizeF(), 10.5);
            QVERIFY(!b->font().bold());
            QVERIFY(!b->accessibleName().isEmpty());
        }
        QCOMPARE(panel.findChild<QPushButton *>("instructionsButton")->nextInFocusChain(),
                 panel.findChild<QPushButton *>("divinationButton"));
        QCOMPARE(panel.findChild<EmblemImage *>("emblem")->focusPolicy(), Qt::NoFocus);
    }

    void emblemAccessibleTexts()
    {
        testsupport::ProgramFolderFixture folder(false);
        HomePanel panel;
        panel.loadPictures();
        // A picture to assistive technology, not an empty pane.
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(panel.findChild<EmblemImage *>("emblem"));
        QVERIFY(iface);
        QCOMPARE(iface->role(), QAccessible::Graphic);
        const QString turningName = panel.findChild<EmblemImage *>("emblem")->accessibleName();
        QVERIFY(turningName.contains(QStringLiteral("衍枰")));
        QCOMPARE(panel.findChild<EmblemImage *>("emblem")->accessibleDescription(), QStringLiteral("点击停止转动"));
        panel.toggleTurning();
        QVERIFY(panel.findChild<EmblemImage *>("emblem")->accessibleName() != turningName);
        QCOMPARE(panel.findChild<EmblemImage *>("emblem")->accessibleDescription(), QStringLiteral("点击开始转动"));
        panel.toggleTurning();
        QCOMPARE(panel.findChild<EmblemImage *>("emblem")->accessibleName(), turningName);
    }

    void emblemPointer()
    {
        HomePanel panel;
        const QCursor cursor = panel.findChild<EmblemImage *>("emblem")->cursor();
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
        panel.loadPictures();
        // The first tick shows frame 4, then 1, 2, 3, 4, 1, ...
        const int expected[] = {4, 1, 2, 3, 4, 1, 2};
        for (int frame : expected) {
            panel.showNextFrame();
            QCOMPARE(shown(panel), kFrame[frame]);
        }
        QVERIFY(messages.texts.isEmpty());
    }

    void frameNumberKeptWhileStopped()
    {
        testsupport::ProgramFolderFixture folder(false);
        writeEmblemPictures(folder);
        HomePanel panel;
        panel.loadPictures();
        panel.startTurning();
        panel.showNextFrame(); // 4
        panel.showNextFrame(); // 1
        panel.toggleTurning(); // stop
        QVERIFY(!ticking(panel));
        QCOMPARE(shown(panel), kFrame[1]);
        panel.stopTurning();
        panel.startTurning();
        panel.showNextFrame();
        QCOMPARE(shown(panel), kFrame[2]); // resumes with the next frame
    }

    void hiddenEmblemDoesNotTurn()
    {
        testsupport::ProgramFolderFixture folder(false);
        writeEmblemPictures(folder);
        HomePanel panel;
        panel.loadPictures();
        panel.findChild<EmblemImage *>("emblem")->hide();
        panel.showNextFrame();
        QCOMPARE(shown(panel), kKvnd);
        panel.findChild<EmblemImage *>("emblem")->show();
        panel.showNextFrame();
        QCOMPARE(shown(panel), kFrame[4]); // the hidden tick did not count
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
        panel.loadPictures();
        panel.showNextFrame(); // frame 4
        panel.showNextFrame(); // frame 1
        QVERIFY(messages.texts.isEmpty());

        panel.showNextFrame(); // frame 2 is due and fails
        QCOMPARE(messages.texts, QStringList {message});
        QCOMPARE(messages.titles, QStringList {QStringLiteral("衍枰占卜")});
        QCOMPARE(shown(panel), kFrame[1]);

        // Once the box is gone, the next tick tries frame 2 again.
        panel.showNextFrame();
        QCOMPARE(messages.texts.size(), 2);
        QCOMPARE(shown(panel), kFrame[1]);

        // Once it is back, the turning goes on from there.
        folder.writeFile(QStringLiteral("picture/xwptb.gif"), pictureOf(kFrame[2]));
        panel.showNextFrame();
        QCOMPARE(shown(panel), kFrame[2]);
        panel.showNextFrame();
        QCOMPARE(shown(panel), kFrame[3]);
        QCOMPARE(messages.texts.size(), 2);
    }

    void noPileOfMessages()
    {
        // Ticks keep coming while the box is open: they add no box of their own.
        testsupport::ProgramFolderFixture folder(false);
        writeEmblemPictures(folder);
        folder.remove(QStringLiteral("picture/xwptd.gif"));
        HomePanel panel;
        panel.loadPictures();
        QStringList texts;
        int ticksWhileOpen = 0;
        const msgbox::Override recorder([&](const QString &, const QString &text) {
            texts.append(text);
            QVERIFY(msgbox::isShowing());
            for (; ticksWhileOpen < 5; ++ticksWhileOpen)
                panel.showNextFrame();
        });
        panel.showNextFrame();
        QCOMPARE(ticksWhileOpen, 5);
        QCOMPARE(texts, QStringList {QStringLiteral("文件未找到")});
        QCOMPARE(shown(panel), kKvnd);
        // None of those ticks moved the emblem on: frame 4 is still due.
        folder.writeFile(QStringLiteral("picture/xwptd.gif"), pictureOf(kFrame[4]));
        panel.showNextFrame();
        QCOMPARE(shown(panel), kFrame[4]);
    }

    void clickStopsAndRestarts()
    {
        testsupport::ProgramFolderFixture folder(false);
        writeEmblemPictures(folder);
        HomePanel panel;
        panel.resize(600, 450);
        panel.loadPictures();
        panel.startTurning();
        QVERIFY(turning(panel));

        QTest::mouseClick(panel.findChild<EmblemImage *>("emblem"), Qt::LeftButton);
        QCOMPARE(panel.findChild<EmblemImage *>("emblem")->tag(), QStringLiteral("B"));
        QCOMPARE(panel.findChild<EmblemImage *>("emblem")->toolTip(), QStringLiteral("点击开始转动"));
        QVERIFY(!panel.findChild<GatedTimer *>("turnTimer")->isEnabled());
        QCOMPARE(panel.findChild<GatedTimer *>("turnTimer")->interval(), 100); // left as it was
        QVERIFY(!ticking(panel));

        QTest::mouseClick(panel.findChild<EmblemImage *>("emblem"), Qt::LeftButton);
        QCOMPARE(panel.findChild<EmblemImage *>("emblem")->tag(), QStringLiteral("A"));
        QCOMPARE(panel.findChild<EmblemImage *>("emblem")->toolTip(), QStringLiteral("点击停止转动"));
        QVERIFY(turning(panel));

        // Any tag other than exactly "A" counts as stopped.
        panel.findChild<EmblemImage *>("emblem")->setTag(QStringLiteral("a"));
        panel.toggleTurning();
        QCOMPARE(panel.findChild<EmblemImage *>("emblem")->tag(), QStringLiteral("A"));

        // A right click is no click.
        QTest::mouseClick(panel.findChild<EmblemImage *>("emblem"), Qt::RightButton);
        QCOMPARE(panel.findChild<EmblemImage *>("emblem")->tag(), QStringLiteral("A"));
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    prepareApplication(app);
    TestHomePanel test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_homepanel.moc"
