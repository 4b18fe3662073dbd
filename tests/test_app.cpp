#include "app/LoadedWindows.h"
#include "app/MDIForm1.h"
#include "app/Module1.h"
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
    void init() { ProgramFolder.clear(); }
    void cleanup()
    {
        clock_seam::setOverride(std::nullopt);
        delete MainWindow;
        MainWindow = nullptr;
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
            QVERIFY(MainWindow);
            QVERIFY(MainWindow->isVisible());
            QCOMPARE(ProgramFolder, QCoreApplication::applicationDirPath());
        } else {
            QVERIFY(!MainWindow);
            QVERIFY(ProgramFolder.isEmpty());
            QCOMPARE(messages.titles, QStringList{QStringLiteral("衍枰占卜")});
            QCOMPARE(messages.texts.value(0), QStringLiteral("******** 警告 ********\r\n\r\n计算机系统时钟错误！！！\r\n"
                                                             "请将计算机的日期恢复到当前日期后再重新启动本程序！！！"));
        }
    }

    void programFolder()
    {
        clock_seam::setOverride(QDate(2026, 1, 1));
        Main();
        QVERIFY(!ProgramFolder.endsWith(QLatin1Char('/')));
        QVERIFY(!ProgramFolder.isEmpty());
        QCOMPARE(programPath(QStringLiteral("\\tem.htm")), ProgramFolder + QStringLiteral("/tem.htm"));
        QCOMPARE(programPath(QStringLiteral("\\god\\xwk\\000.god")), ProgramFolder + QStringLiteral("/god/xwk/000.god"));
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
        MainWindow = new MDIForm1;
        MainWindow->show();
        QCOMPARE(MainWindow->windowTitle(), QStringLiteral("衍枰占卜"));
        QVERIFY(MainWindow->windowState() & Qt::WindowMaximized);
        const QList<QAction *> actions = MainWindow->menuBar()->actions();
        QStringList captions;
        for (QAction *a : actions) {
            captions << a->text();
            QVERIFY2(!a->menu(), "menu items are commands, not menus");
            QVERIFY(a->shortcut().isEmpty());
        }
        QCOMPARE(captions, (QStringList{QStringLiteral("衍枰说明"), QStringLiteral("衍枰占卜"), QStringLiteral("关于(&I)"),
                                        QStringLiteral("退出")}));
        QCOMPARE(MainWindow->Timer1->interval(), 5000);
        QVERIFY(MainWindow->Timer1->isActive());
        // The panel is loaded and fills the client area.
        QVERIFY(MainWindow->panelWindow());
        QCOMPARE(MainWindow->panelWindow()->size(), MainWindow->mdiArea()->viewport()->size());
        MainWindow->resize(700, 500);
        QApplication::processEvents();
        QCOMPARE(MainWindow->panelWindow()->size(), MainWindow->mdiArea()->viewport()->size());
        QCOMPARE(loaded::windows().value(0), static_cast<QWidget *>(MainWindow));
    }

    void altIOpensAbout()
    {
        testsupport::ProgramFolderFixture folder(true);
        MainWindow = new MDIForm1;
        MainWindow->show();
        QVERIFY(QTest::qWaitForWindowExposed(MainWindow));
        QString opened;
        QWidget *owner = nullptr;
        int calls = 0;
        msgbox::setDialogHook([&](QDialog &d) {
            ++calls;
            opened = d.windowTitle();
            owner = d.parentWidget();
            return 0;
        });
        QTest::keyClick(MainWindow, Qt::Key_I, Qt::AltModifier);
        msgbox::setDialogHook({});
        QCOMPARE(calls, 1);
        QCOMPARE(opened, QStringLiteral("关于 衍枰占卜"));
        QCOMPARE(owner, static_cast<QWidget *>(MainWindow));
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
        MainWindow = new MDIForm1;
        const QString page = folder.path(QStringLiteral("tem.htm"));
        if (kind == QLatin1String("folder"))
            QDir().mkpath(page);
        else if (kind != QLatin1String("absent"))
            folder.writeFile(QStringLiteral("tem.htm"), "<html></html>\r\n");
        if (kind == QLatin1String("readonly"))
            QFile::setPermissions(page, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
        if (kind == QLatin1String("pending"))
            pagefile::loadStarted();
        MainWindow->Timer1_Timer();
        QCOMPARE(!QFileInfo::exists(page), deleted || kind == QLatin1String("absent"));
        if (kind == QLatin1String("pending")) {
            pagefile::loadFinished();
            MainWindow->Timer1_Timer();
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
        MainWindow = new MDIForm1;
        QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(folder.path(QStringLiteral("tem.htm"))), 6000);
    }

    void quitClosesEverything()
    {
        testsupport::ProgramFolderFixture folder(true);
        MainWindow = new MDIForm1;
        MainWindow->show();
        MainWindow->ShowDivinationWindow();
        QCOMPARE(MainWindow->mdiArea()->subWindowList().size(), 2);
        MainWindow->退出->trigger();
        QVERIFY(!MainWindow->isVisible());
        QVERIFY(!MainWindow->Timer1->isActive());
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (QMdiSubWindow *sub : MainWindow->mdiArea()->subWindowList())
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
