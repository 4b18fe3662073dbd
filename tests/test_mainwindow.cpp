#include "app/LoadedWindows.h"
#include "app/MainWindow.h"
#include "platform/ProgramFolder.h"
#include "app/Startup.h"
#include "pages/PageFile.h"
#include "platform/Clock.h"
#include "platform/Errors.h"
#include "platform/MessageBox.h"
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

class TestApp : public QObject
{
    Q_OBJECT
private slots:
    void init() { platform::programFolder().clear(); }
    void cleanup()
    {
        clock_seam::setOverride(std::nullopt);
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
        clock_seam::setOverride(date);
        Main();
        if (starts) {
            QVERIFY(messages.texts.isEmpty());
            QVERIFY(mainWindow);
            QVERIFY(mainWindow->isVisible());
            QCOMPARE(platform::programFolder(), QCoreApplication::applicationDirPath());
        } else {
            QVERIFY(!mainWindow);
            QVERIFY(platform::programFolder().isEmpty());
            QCOMPARE(messages.titles, QStringList{QStringLiteral("衍枰占卜")});
            QCOMPARE(messages.texts.value(0), QStringLiteral("******** 警告 ********\r\n\r\n计算机系统时钟错误！！！\r\n"
                                                             "请将计算机的日期恢复到当前日期后再重新启动本程序！！！"));
        }
    }

    void programFolder()
    {
        clock_seam::setOverride(QDate(2026, 1, 1));
        Main();
        QVERIFY(!platform::programFolder().endsWith(QLatin1Char('/')));
        QVERIFY(!platform::programFolder().isEmpty());
        QCOMPARE(programPath(QStringLiteral("\\tem.htm")), platform::programFolder() + QStringLiteral("/tem.htm"));
        QCOMPARE(programPath(QStringLiteral("\\god\\xwk\\000.god")), platform::programFolder() + QStringLiteral("/god/xwk/000.god"));
    }

    void realMessageBox()
    {
        // Without a hook the box is a real modal box: no icon, one "确定".
        bool checked = false;
        QTimer::singleShot(0, [&checked] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            QCOMPARE(box->windowTitle(), QStringLiteral("衍枰占卜"));
            QCOMPARE(box->text(), QStringLiteral("此时系统信息无效"));
            QCOMPARE(box->icon(), QMessageBox::NoIcon);
            QCOMPARE(box->buttons().size(), 1);
            QCOMPARE(box->buttons().at(0)->text(), QStringLiteral("确定"));
            checked = true;
            box->buttons().at(0)->click();
        });
        msgbox::showMessage(nullptr, QStringLiteral("此时系统信息无效"));
        QVERIFY(checked);
        QVERIFY(!msgbox::isShowing());
    }

    void messageHook()
    {
        testsupport::MessageRecorder messages;
        QVERIFY(!msgbox::isShowing());
        msgbox::showMessage(nullptr, QStringLiteral("文本"), QStringLiteral("标题"));
        msgbox::showMessage(nullptr, QStringLiteral("二"));
        QCOMPARE(messages.titles, (QStringList{QStringLiteral("标题"), QStringLiteral("衍枰占卜")}));
        QCOMPARE(messages.texts, (QStringList{QStringLiteral("文本"), QStringLiteral("二")}));
    }

    void errorMessageFormat()
    {
        QCOMPARE(errors::errorMessage(errors::Failure::of(errors::FileNotFound)), QStringLiteral("Error:53 文件未找到"));
    }

    void mainWindow()
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
        QCOMPARE(captions, (QStringList{QStringLiteral("衍枰说明"), QStringLiteral("衍枰占卜"), QStringLiteral("关于(&I)"),
                                        QStringLiteral("退出")}));
        QCOMPARE(mainWindow->Timer1->interval(), 5000);
        QVERIFY(mainWindow->Timer1->isActive());
        // The panel is loaded and fills the client area.
        QVERIFY(mainWindow->panelWindow());
        QCOMPARE(mainWindow->panelWindow()->size(), mainWindow->mdiArea()->viewport()->size());
        mainWindow->resize(700, 500);
        QApplication::processEvents();
        QCOMPARE(mainWindow->panelWindow()->size(), mainWindow->mdiArea()->viewport()->size());
        QCOMPARE(loaded::windows().value(0), static_cast<QWidget *>(mainWindow));
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
        msgbox::setDialogHook([&](QDialog &d) {
            ++calls;
            opened = d.windowTitle();
            owner = d.parentWidget();
            return 0;
        });
        QTest::keyClick(mainWindow, Qt::Key_I, Qt::AltModifier);
        msgbox::setDialogHook({});
        QCOMPARE(calls, 1);
        QCOMPARE(opened, QStringLiteral("关于 衍枰占卜"));
        QCOMPARE(owner, static_cast<QWidget *>(mainWindow));
    }

    void pageFileDeletion_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("present") << QStringLiteral("plain") << true;
        QTest::newRow("absent") << QStringLiteral("absent") << false;
        QTest::newRow("read-only") << QStringLiteral("readonly") << false;
        QTest::newRow("folder") << QStringLiteral("folder") << false;
        QTest::newRow("viewer still loading") << QStringLiteral("pending") << false;
    }

    void pageFileDeletion()
    {
        QFETCH(QString, kind);
        QFETCH(bool, deleted);
        testsupport::ProgramFolderFixture folder(false);
        testsupport::MessageRecorder messages;
        mainWindow = new MainWindow;
        const QString page = folder.path(QStringLiteral("tem.htm"));
        if (kind == QLatin1String("folder"))
            QDir().mkpath(page);
        else if (kind != QLatin1String("absent"))
            folder.writeFile(QStringLiteral("tem.htm"), "<html></html>\r\n");
        if (kind == QLatin1String("readonly"))
            QFile::setPermissions(page, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
        if (kind == QLatin1String("pending"))
            pagefile::loadStarted();
        mainWindow->Timer1_Timer();
        QCOMPARE(!QFileInfo::exists(page), deleted || kind == QLatin1String("absent"));
        if (kind == QLatin1String("pending")) {
            pagefile::loadFinished();
            mainWindow->Timer1_Timer();
            QVERIFY(!QFileInfo::exists(page)); // the first tick after loading removes it
        }
        QVERIFY(messages.texts.isEmpty());
    }

    void hiddenAndLinkedPageFiles()
    {
        testsupport::ProgramFolderFixture folder(false);
        folder.writeFile(QStringLiteral(".tem.htm"), "x");
        QVERIFY(!deletePageFileIfPresent(folder.path(QStringLiteral(".tem.htm"))));
        QVERIFY(QFile::exists(folder.path(QStringLiteral(".tem.htm"))));

        // A link in the page file's place is removed, never what it points to.
        folder.writeFile(QStringLiteral("precious.txt"), "keep");
        QVERIFY(QFile::link(folder.path(QStringLiteral("precious.txt")), folder.path(QStringLiteral("tem.htm"))));
        QVERIFY(deletePageFileIfPresent(folder.path(QStringLiteral("tem.htm"))));
        QCOMPARE(testsupport::readFile(folder.path(QStringLiteral("precious.txt"))), QByteArray("keep"));
    }

    void timerDeletesWithinSixSeconds()
    {
        testsupport::ProgramFolderFixture folder(false);
        folder.writeFile(QStringLiteral("tem.htm"), "old page");
        mainWindow = new MainWindow;
        QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(folder.path(QStringLiteral("tem.htm"))), 6000);
    }

    void quitClosesEverything()
    {
        testsupport::ProgramFolderFixture folder(true);
        mainWindow = new MainWindow;
        mainWindow->show();
        mainWindow->ShowDivinationWindow();
        QCOMPARE(mainWindow->mdiArea()->subWindowList().size(), 2);
        mainWindow->退出->trigger();
        QVERIFY(!mainWindow->isVisible());
        QVERIFY(!mainWindow->Timer1->isActive());
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
    TestApp test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_app.moc"
