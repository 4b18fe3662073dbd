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

// The home panel among other children: it turns only while it is the
// active child, stays behind the others and cannot be closed.
class TestHomePanelInArea : public QObject
{
    Q_OBJECT
    MainWindow *mainWindow = nullptr;

private slots:
    void cleanup()
    {
        delete mainWindow;
        mainWindow = nullptr;
    }

    // ---- activation inside the area -----------------------------------------------

    void activationStartsAndStopsTheTimer()
    {
        testsupport::ProgramFolderFixture folder(false);
        writeEmblemPictures(folder);
        PanelArea a;
        QTRY_VERIFY(a.panel->isActiveChild());
        QVERIFY(turning(*a.panel));
        QTRY_VERIFY(shown(*a.panel) != kKvnd); // it really turns

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
        a.panel->toggleTurning();
        QCOMPARE(a.panel->findChild<EmblemImage *>("emblem")->tag(), QStringLiteral("B"));
        QVERIFY(!ticking(*a.panel));

        QMdiSubWindow *other = a.open(QStringLiteral("另一个"));
        QVERIFY(idle(*a.panel));
        QCOMPARE(a.panel->findChild<EmblemImage *>("emblem")->tag(), QStringLiteral("B"));

        // Back to the panel: it turns again, although the flag still says "B".
        a.area.setActiveSubWindow(a.panelWindow);
        QVERIFY(a.panel->isActiveChild());
        QVERIFY(turning(*a.panel));
        QCOMPARE(a.panel->findChild<EmblemImage *>("emblem")->tag(), QStringLiteral("B"));
        QCOMPARE(a.panel->findChild<EmblemImage *>("emblem")->toolTip(), QStringLiteral("点击开始转动"));

        // The next click sets the flag to "A" and leaves it turning; only the
        // click after that stops it.
        a.panel->toggleTurning();
        QCOMPARE(a.panel->findChild<EmblemImage *>("emblem")->tag(), QStringLiteral("A"));
        QCOMPARE(a.panel->findChild<EmblemImage *>("emblem")->toolTip(), QStringLiteral("点击停止转动"));
        QVERIFY(turning(*a.panel));
        a.panel->toggleTurning();
        QVERIFY(!ticking(*a.panel));
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
        a.panel->toggleTurning();
        elsewhere.activateWindow();
        QTRY_VERIFY(elsewhere.isActiveWindow());
        a.area.activateWindow();
        QTRY_VERIFY(a.area.isActiveWindow());
        QVERIFY(!ticking(*a.panel));
        QCOMPARE(a.panel->findChild<EmblemImage *>("emblem")->tag(), QStringLiteral("B"));
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
        const QSize extra = mainWindow->size() - mainWindow->findChild<QMdiArea *>("mdiArea")->viewport()->size();
        mainWindow->resize(QSize(800, 533) + extra);
        QTRY_COMPARE(mainWindow->findChild<QMdiArea *>("mdiArea")->viewport()->size(), QSize(800, 533));
        HomePanel *panel = mainWindow->findChild<HomePanel *>("homePanel");
        QVERIFY(panel);
        QCOMPARE(panel->size(), QSize(800, 533));
        QCOMPARE(panel->mapTo(mainWindow->findChild<QMdiArea *>("mdiArea")->viewport(), QPoint(0, 0)), QPoint(0, 0));
        QTRY_VERIFY(panel->isActiveChild());
        QVERIFY(turning(*panel));
        const QPixmap atRest = panel->findChild<EmblemImage *>("emblem")->picture();
        QTRY_VERIFY(panel->findChild<EmblemImage *>("emblem")->picture().cacheKey()
                    != atRest.cacheKey()); // it really turns

        // The divination button opens the divination window in front; the
        // emblem stops until it is closed again.
        QTest::mouseClick(panel->findChild<QPushButton *>("divinationButton"), Qt::LeftButton);
        QTRY_VERIFY(mainWindow->divinationWindow());
        QVERIFY(!panel->isActiveChild());
        QVERIFY(idle(*panel));
        QCOMPARE(bottomChild(mainWindow->findChild<QMdiArea *>("mdiArea")->viewport()),
                 mainWindow->findChild<QMdiSubWindow *>("homePanelWindow"));
        mainWindow->divinationWindow()->subWindow()->close();
        QTRY_VERIFY(panel->isActiveChild());
        QVERIFY(turning(*panel));

        // The instructions button opens one viewer captioned "衍枰说明";
        // a second click brings that one back instead of opening another.
        auto viewers = [this] {
            int n = 0;
            for (QMdiSubWindow *sub : mainWindow->findChild<QMdiArea *>("mdiArea")->subWindowList())
                n += sub->widget()->windowTitle() == QStringLiteral("衍枰说明");
            return n;
        };
        QTest::mouseClick(panel->findChild<QPushButton *>("instructionsButton"), Qt::LeftButton);
        QTRY_COMPARE(viewers(), 1);
        QVERIFY(!panel->isActiveChild());
        QVERIFY(idle(*panel));
        panel->findChild<QPushButton *>("instructionsButton")->click();
        QCOMPARE(viewers(), 1);
        QCOMPARE(bottomChild(mainWindow->findChild<QMdiArea *>("mdiArea")->viewport()),
                 mainWindow->findChild<QMdiSubWindow *>("homePanelWindow"));
        QVERIFY(messages.texts.isEmpty());
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    prepareApplication(app);
    TestHomePanelInArea test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_homepanelinarea.moc"
