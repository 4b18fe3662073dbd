#include "app/MainWindow.h"
#include "app/Startup.h"
#include "divination/DivinationWindow.h"
#include "messagerecorder.h"
#include "pages/PageFile.h"
#include "platform/Clock.h"
#include "platform/Errors.h"
#include "platform/MessageBox.h"
#include "platform/ProgramFolder.h"
#include "testsupport.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

class TestMainWindow : public QObject
{
    Q_OBJECT
    MainWindow *mainWindow = nullptr;

private slots:
    void init() { platform::setProgramFolder(QString()); }
    void cleanup()
    {
        delete mainWindow;
        mainWindow = nullptr;
    }

    void clockCheck_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<bool>("starts");
        QTest::newRow("2003-01-01") << QDate(2003, 1, 1) << false;
        QTest::newRow("2003-12-31") << QDate(2003, 12, 31) << false;
        QTest::newRow("1999-06-15") << QDate(1999, 6, 15) << false;
        QTest::newRow("2004-01-01") << QDate(2004, 1, 1) << true;
        QTest::newRow("far future") << QDate(9999, 12, 31) << true;
    }

    void clockCheck()
    {
        QFETCH(QDate, date);
        QFETCH(bool, starts);
        testsupport::MessageRecorder messages;
        const hostclock::Override pinned(date);
        mainWindow = startProgram();
        if (starts) {
            QVERIFY(messages.texts.isEmpty());
            QVERIFY(mainWindow);
            QVERIFY(mainWindow->isVisible());
            QCOMPARE(platform::programFolder(), QCoreApplication::applicationDirPath());
        } else {
            QVERIFY(!mainWindow);
            QVERIFY(platform::programFolder().isEmpty());
            QCOMPARE(messages.titles, QStringList {QStringLiteral("衍枰占卜")});
            QCOMPARE(messages.texts.value(0),
                     QStringLiteral("******** 警告 ********\r\n\r\n计算机系统时钟错误！！！\r\n"
                                    "请将计算机的日期恢复到当前日期后再重新启动本程序！！！"));
        }
    }

    void realMessageBox()
    {
        // Without an override the box is a real modal box: no icon, one "确定".
        // What it shows is noted while it is open and checked once it is
        // closed, so that a wrong box fails the test instead of staying open.
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::Warning;
        QStringList buttons;
        bool clicked = false;
        QTimer::singleShot(0, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                title = box->windowTitle();
                text = box->text();
                icon = box->icon();
                for (QAbstractButton *b : box->buttons())
                    buttons.append(b->text());
                if (!box->buttons().isEmpty()) {
                    box->buttons().constFirst()->click();
                    clicked = true;
                }
            }
            if (modal && !clicked)
                modal->close();
        });
        msgbox::showMessage(nullptr, QStringLiteral("此时系统信息无效"));
        QVERIFY(clicked);
        QCOMPARE(title, QStringLiteral("衍枰占卜"));
        QCOMPARE(text, QStringLiteral("此时系统信息无效"));
        QCOMPARE(icon, QMessageBox::NoIcon);
        QCOMPARE(buttons, QStringList {QStringLiteral("确定")});
        QVERIFY(!msgbox::isShowing());
    }

    void messageHook()
    {
        testsupport::MessageRecorder messages;
        QVERIFY(!msgbox::isShowing());
        msgbox::showMessage(nullptr, QStringLiteral("文本"), QStringLiteral("标题"));
        msgbox::showMessage(nullptr, QStringLiteral("二"));
        QCOMPARE(messages.titles, (QStringList {QStringLiteral("标题"), QStringLiteral("衍枰占卜")}));
        QCOMPARE(messages.texts, (QStringList {QStringLiteral("文本"), QStringLiteral("二")}));
    }

    void errorMessageFormat()
    {
        QCOMPARE(errors::errorMessage(errors::Failure::of(errors::Kind::FileNotFound)),
                 QStringLiteral("Error:53 文件未找到"));
    }

    void frameAndMenu()
    {
        testsupport::ProgramFolderFixture folder(true);
        mainWindow = new MainWindow;
        mainWindow->show();
        QCOMPARE(mainWindow->windowTitle(), QStringLiteral("衍枰占卜"));
        QVERIFY(mainWindow->windowState() & Qt::WindowMaximized);
        const QList<QAction *> actions = mainWindow->menuBar()->actions();
        QStringList captions;
        for (QAction *a : actions) {
            captions << a->text();
            QVERIFY2(!a->menu(), "menu items are commands, not menus");
            QVERIFY(a->shortcut().isEmpty());
        }
        QCOMPARE(captions,
                 (QStringList {QStringLiteral("衍枰说明"), QStringLiteral("衍枰占卜"), QStringLiteral("关于(&I)"),
                               QStringLiteral("退出")}));
        QCOMPARE(mainWindow->pageFileSweeper()->timer()->interval(), 5000);
        QVERIFY(mainWindow->pageFileSweeper()->timer()->isActive());
        // The panel is loaded and fills the client area.
        QVERIFY(mainWindow->homePanelWindow());
        QCOMPARE(mainWindow->homePanelWindow()->size(), mainWindow->mdiArea()->viewport()->size());
        mainWindow->resize(700, 500);
        QApplication::processEvents();
        QCOMPARE(mainWindow->homePanelWindow()->size(), mainWindow->mdiArea()->viewport()->size());
        QCOMPARE(mainWindow->mdiArea()->subWindowList(QMdiArea::CreationOrder).value(0), mainWindow->homePanelWindow());
    }

    void altIOpensAbout()
    {
        testsupport::ProgramFolderFixture folder(true);
        mainWindow = new MainWindow;
        mainWindow->show();
        QVERIFY(QTest::qWaitForWindowExposed(mainWindow));
        QString opened;
        QWidget *owner = nullptr;
        int calls = 0;
        {
            const msgbox::DialogOverride dialogs([&](QDialog &d) {
                ++calls;
                opened = d.windowTitle();
                owner = d.parentWidget();
                return 0;
            });
            QTest::keyClick(mainWindow, Qt::Key_I, Qt::AltModifier);
        }
        QCOMPARE(calls, 1);
        QCOMPARE(opened, QStringLiteral("关于 衍枰占卜"));
        QCOMPARE(owner, static_cast<QWidget *>(mainWindow));
        // From the menu bar reached by F10 it runs with the focus back where
        // it was, so that closing the box returns there; Ctrl+F4 closes a child.
        QApplication::setActiveWindow(mainWindow);
        QTRY_VERIFY(QApplication::focusWidget());
        QWidget *before = QApplication::focusWidget(), *focusWhileOpen = nullptr;
        {
            const msgbox::DialogOverride dialogs(
                [&](QDialog &) { return (focusWhileOpen = QApplication::focusWidget()), 0; });
            for (Qt::Key key : {Qt::Key_F10, Qt::Key_Right, Qt::Key_Right, Qt::Key_Return})
                QTest::keyClick(QApplication::focusWidget(), key);
        }
        QCOMPARE(focusWhileOpen, before);
        mainWindow->showDivinationWindow();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4, Qt::ControlModifier);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!mainWindow->divinationWindow());
    }

    void quitClosesEverything()
    {
        testsupport::ProgramFolderFixture folder(true);
        mainWindow = new MainWindow;
        mainWindow->show();
        mainWindow->showDivinationWindow();
        QCOMPARE(mainWindow->mdiArea()->subWindowList().size(), 2);
        mainWindow->exitAction()->trigger();
        QVERIFY(!mainWindow->isVisible());
        QVERIFY(!mainWindow->pageFileSweeper()->timer()->isActive());
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (QMdiSubWindow *sub : mainWindow->mdiArea()->subWindowList())
            QVERIFY(!sub->isVisible());
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    prepareApplication(app);
    TestMainWindow test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_mainwindow.moc"
