#include "app/Startup.h"
#include "formats/StoredText.h"
#include "messagerecorder.h"
#include "pages/DocumentPages.h"
#include "pages/PageFile.h"
#include "pages/PageView.h"
#include "pages/PageViewer.h"
#include "platform/SpokenNotice.h"
#include "platform/Twips.h"
#include "testsupport.h"

#include <QAccessible>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QtTest>

#include <unistd.h>

namespace {
const QString kTitle = QStringLiteral("衍枰说明");
const QString kDoc = QStringLiteral("\\god\\衍枰说明.god");
const QString kDocFile = QStringLiteral("god/衍枰说明.god");

QByteArray store(const QString &page)
{
    const storedtext::EncodeResult r = storedtext::encode(page, storedtext::kDocumentShift, false);
    return r.bytes;
}

QString pageWithTitle(const QString &title, const QString &body = QStringLiteral("<p>正文</p>"))
{
    return QStringLiteral("<html><head><title>") + title + QStringLiteral("</title></head><body>") + body
        + QStringLiteral("</body></html>");
}
} // namespace

class TestPages : public QObject
{
    Q_OBJECT

    std::unique_ptr<testsupport::ProgramFolderFixture> folder;
    std::unique_ptr<testsupport::MessageRecorder> messages;
    std::unique_ptr<QMdiArea> area;
    std::unique_ptr<PageFileSweeper> sweeper;

    void show(const QString &title = kTitle, const QString &document = kDoc)
    {
        pages::showDocumentPage(area.get(), title, document);
    }

    QList<PageViewer *> viewers() const
    {
        QList<PageViewer *> out;
        for (QMdiSubWindow *sub : area->subWindowList())
            if (auto *v = qobject_cast<PageViewer *>(sub->widget()))
                out << v;
        return out;
    }
    QString pageFile() const { return folder->path(QStringLiteral("tem.htm")); }
    void settle()
    {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }

private slots:
    void init()
    {
        folder = std::make_unique<testsupport::ProgramFolderFixture>(true);
        messages = std::make_unique<testsupport::MessageRecorder>();
        area = std::make_unique<QMdiArea>();
        area->resize(1000, 700);
        area->show();
        sweeper = std::make_unique<PageFileSweeper>();
        sweeper->stop(); // ticked by hand
    }
    void cleanup()
    {
        sweeper.reset();
        area.reset();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        messages.reset();
        folder.reset();
    }

    void opensTheInstructions()
    {
        show();
        QCOMPARE(viewers().size(), 1);
        PageViewer *v = viewers().first();
        QCOMPARE(v->windowTitle(), kTitle);
        QVERIFY(v->subWindow()->isMaximized());
        QCOMPARE(area->activeSubWindow(), v->subWindow());
        QVERIFY(QFile::exists(pageFile()));
        const QByteArray page = testsupport::readFile(pageFile());
        QVERIFY(page.startsWith("<!DOCTYPE") || page.startsWith("<html"));
        QVERIFY(page.trimmed().endsWith("</html>"));
        QVERIFY(page.endsWith("\r\n"));
        // Written for its owner, readable by all: not executable, not
        // writable by others.
        const QFileDevice::Permissions ownerGroupOther(0x7077);
        QCOMPARE(QFileInfo(pageFile()).permissions() & ownerGroupOther,
                 QFileDevice::Permissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                          | QFileDevice::ReadOther));
        settle();
        QCOMPARE(v->windowTitle(), kTitle); // the page's own title
        QVERIFY(v->findChild<QTextBrowser *>("pageBrowser")->toPlainText().contains(QStringLiteral("木制衍枰占卜")));
        QVERIFY(messages->texts.isEmpty());
    }

    void secondOpeningBringsTheViewerBack()
    {
        show();
        settle();
        PageViewer *first = viewers().first();
        QMdiSubWindow *other = area->addSubWindow(new QWidget);
        other->show();
        area->setActiveSubWindow(other);
        QVERIFY(area->activeSubWindow() != first->subWindow());
        // Neither the document nor the page file is touched again.
        QFile::remove(pageFile());
        folder->remove(kDocFile);
        show();
        QCOMPARE(viewers().size(), 1);
        QCOMPARE(area->activeSubWindow(), first->subWindow());
        QVERIFY(!QFile::exists(pageFile()));
        QVERIFY(messages->texts.isEmpty());
    }

    void missingDocument()
    {
        folder->remove(kDocFile);
        show();
        QCOMPARE(messages->texts, QStringList {QStringLiteral("文件未找到")});
        QCOMPARE(messages->titles, QStringList {QStringLiteral("衍枰占卜")});
        QVERIFY(viewers().isEmpty());
        QVERIFY(!QFile::exists(pageFile()));
    }

    void pageFileContents_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QByteArray>("page");
        QTest::newRow("empty") << QByteArray() << QByteArray("\r\n");
        QTest::newRow("abc") << QByteArray("abc") << QByteArray("cde\r\n");
        QTest::newRow("two lines") << QByteArray("abc\r\nabc") << QByteArray("cdecde\r\n");
        QTest::newRow("11 8") << QByteArray("a\x0b\x08"
                                            "a")
                              << QByteArray("c\r\nc\r\n");
        QByteArray lines;
        for (int i = 0; i < 400; ++i)
            lines += QByteArray(100, 'a') + "\r\n";
        QTest::newRow("40000 characters") << lines << (QByteArray(32800, 'c') + "\r\n");
    }

    void pageFileContents()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QByteArray, page);
        folder->writeFile(kDocFile, stored);
        show();
        QCOMPARE(testsupport::readFile(pageFile()), page);
        QCOMPARE(viewers().size(), 1);
        QVERIFY(messages->texts.isEmpty());
    }

    void captionFromThePage_data()
    {
        QTest::addColumn<QString>("title");
        QTest::newRow("same title") << kTitle;
        QTest::newRow("other title") << QStringLiteral("另一页");
        QTest::newRow("empty title") << QString();
    }

    void captionFromThePage()
    {
        QFETCH(QString, title);
        folder->writeFile(kDocFile, store(pageWithTitle(title)));
        show();
        PageViewer *v = viewers().first();
        QCOMPARE(v->windowTitle(), kTitle); // before loading: the caller's caption
        settle();
        QCOMPARE(v->windowTitle(), title);
        // A viewer whose caption changed is not found by the title.
        show();
        QCOMPARE(viewers().size(), title == kTitle ? 1 : 2);
    }

    void deletionWaitsForTheViewer()
    {
        show();
        sweeper->sweep(); // the viewer has not read it yet
        QVERIFY(QFile::exists(pageFile()));
        settle();
        QVERIFY(viewers().first()->findChild<PageView *>("pageView")->hasDocument());
        sweeper->sweep();
        QVERIFY(!QFile::exists(pageFile()));
    }

    void closingAnUnloadedViewerReleasesThePageFile()
    {
        show();
        viewers().first()->subWindow()->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        sweeper->sweep();
        QVERIFY(!QFile::exists(pageFile()));
    }

    // ---- a program folder the user may not write (a system-wide install) --------------

    void readOnlyInstallUsesAPrivateFolder_data()
    {
        // Where the private folder can go: the runtime folder, else the cache
        // folder, else the temporary folder, or nowhere (all three unwritable).
        QTest::addColumn<QString>("place");
        QTest::newRow("runtime folder") << "run";
        QTest::newRow("cache folder") << "cache";
        QTest::newRow("temporary folder") << "tmp";
        QTest::newRow("nowhere") << "";
    }

    void readOnlyInstallUsesAPrivateFolder()
    {
        QFETCH(QString, place);
        QTemporaryDir home;
        const QString base = place.isEmpty() ? QStringLiteral("/dev/null/none") : home.filePath(place);
        QDir().mkpath(base);
        const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR");
        const QByteArray oldCache = qgetenv("XDG_CACHE_HOME");
        const QByteArray oldTemp = qgetenv("TMPDIR");
        const bool runtimeDir = place == QLatin1String("run");
        runtimeDir ? qputenv("XDG_RUNTIME_DIR", QFile::encodeName(base)) : qunsetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_CACHE_HOME",
                QFile::encodeName(place == QLatin1String("cache") ? base : QStringLiteral("/dev/null/c")));
        qputenv("TMPDIR", QFile::encodeName(place == QLatin1String("tmp") ? base : QStringLiteral("/dev/null/t")));
        QFile::setPermissions(folder->dir.path(),
                              QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup
                                  | QFileDevice::ExeGroup);

        const QString own = place == QLatin1String("tmp") ? QStringLiteral("/yanping-%1").arg(::geteuid())
                                                          : QStringLiteral("/yanping");
        const QString expected = base + own + QStringLiteral("/tem.htm");
        sweeper->sweep(); // looking for the page file makes no folder
        const bool madeBeforeOpening = QFileInfo::exists(base + own);
        show();
        const QString found = pagefile::path();
        const bool written = QFile::exists(expected);
        const QFileDevice::Permissions folderMode = QFileInfo(base + own).permissions();
        settle();
        const bool loaded = !viewers().isEmpty() && viewers().first()->findChild<PageView *>("pageView")->hasDocument();
        // The page's pictures are still those beside the program.
        const bool picturesFound = loaded
            && !viewers()
                    .first()
                    ->findChild<QTextBrowser *>("pageBrowser")
                    ->loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("picture/kvnda.gif")))
                    .value<QImage>()
                    .isNull();
        sweeper->sweep();
        const bool swept = !QFile::exists(expected);

        QFile::setPermissions(folder->dir.path(),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", oldRuntime);
        qputenv("XDG_CACHE_HOME", oldCache);
        qputenv("TMPDIR", oldTemp);

        QVERIFY(!madeBeforeOpening);
        if (place.isEmpty()) { // one sentence says why, and no empty window opens
            QCOMPARE(messages->texts, QStringList {QStringLiteral("找不到可以写入的私人文件夹，无法打开衍枰说明。")});
            QVERIFY(viewers().isEmpty());
            return;
        }
        QCOMPARE(found, expected);
        QVERIFY(written);
        QVERIFY(!QFile::exists(pageFile())); // nothing beside the program
        QCOMPARE(folderMode & QFileDevice::Permissions(0x7077),
                 QFileDevice::Permissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
        QVERIFY(loaded);
        QVERIFY(picturesFound);
        QVERIFY(swept);
        QVERIFY(messages->texts.isEmpty());
    }

    void privateFolderThatIsNotOursIsRefused()
    {
        // A link planted where the private folder goes is never used.
        QTemporaryDir home;
        QDir().mkpath(home.filePath(QStringLiteral("elsewhere")));
        QVERIFY(QFile::link(home.filePath(QStringLiteral("elsewhere")), home.filePath(QStringLiteral("yanping"))));
        const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.path()));
        const QString privateFolder = pagefile::privateFolder();
        qputenv("XDG_RUNTIME_DIR", oldRuntime);
        QVERIFY2(!privateFolder.startsWith(home.path()), qPrintable(privateFolder));
    }

    void plantedLinkIsNotFollowed()
    {
        folder->writeFile(QStringLiteral("precious.txt"), "keep me");
        QVERIFY(QFile::link(folder->path(QStringLiteral("precious.txt")), pageFile()));
        folder->writeFile(kDocFile, "abc");
        show();
        QCOMPARE(testsupport::readFile(folder->path(QStringLiteral("precious.txt"))), QByteArray("keep me"));
        QVERIFY(!QFileInfo(pageFile()).isSymLink());
        QCOMPARE(testsupport::readFile(pageFile()), QByteArray("cde\r\n"));
    }

    void pageFileCannotBeWritten()
    {
        QDir().mkpath(pageFile()); // a folder stands where the page file goes
        show();
        QCOMPARE(messages->texts.size(), 1);
        QCOMPARE(messages->texts.first(), QStringLiteral("路径/文件访问错误"));
        QCOMPARE(viewers().size(), 1); // the viewer stays, empty, with the title
        settle();
        QCOMPARE(viewers().first()->windowTitle(), kTitle);
        QVERIFY(!viewers().first()->findChild<PageView *>("pageView")->hasDocument());
        QVERIFY(QFileInfo(pageFile()).isDir());
    }

    // ---- the page file's life ------------------------------------------------------

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
        testsupport::ProgramFolderFixture bare(false);
        PageFileSweeper ownSweeper;
        const QString page = bare.path(QStringLiteral("tem.htm"));
        if (kind == QLatin1String("folder"))
            QDir().mkpath(page);
        else if (kind != QLatin1String("absent"))
            bare.writeFile(QStringLiteral("tem.htm"), "<html></html>\r\n");
        if (kind == QLatin1String("readonly"))
            QFile::setPermissions(page, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
        if (kind == QLatin1String("pending"))
            pagefile::loadStarted();
        ownSweeper.sweep();
        QCOMPARE(!QFileInfo::exists(page), deleted || kind == QLatin1String("absent"));
        if (kind == QLatin1String("pending")) {
            pagefile::loadFinished();
            ownSweeper.sweep();
            QVERIFY(!QFileInfo::exists(page)); // the first tick after loading removes it
        }
        QVERIFY(messages->texts.isEmpty());
    }

    void hiddenAndLinkedPageFiles()
    {
        testsupport::ProgramFolderFixture bare(false);
        bare.writeFile(QStringLiteral(".tem.htm"), "x");
        QVERIFY(!pagefile::deleteIfPresent(bare.path(QStringLiteral(".tem.htm"))));
        QVERIFY(QFile::exists(bare.path(QStringLiteral(".tem.htm"))));

        // A link in the page file's place is removed, never what it points to.
        bare.writeFile(QStringLiteral("precious.txt"), "keep");
        QVERIFY(QFile::link(bare.path(QStringLiteral("precious.txt")), bare.path(QStringLiteral("tem.htm"))));
        QVERIFY(pagefile::deleteIfPresent(bare.path(QStringLiteral("tem.htm"))));
        QCOMPARE(testsupport::readFile(bare.path(QStringLiteral("precious.txt"))), QByteArray("keep"));
    }

    void timerDeletesTheFile()
    {
        testsupport::ProgramFolderFixture bare(false);
        bare.writeFile(QStringLiteral("tem.htm"), "old page");
        PageFileSweeper ownSweeper;
        QCOMPARE(ownSweeper.timer()->interval(), 5000);
        QVERIFY(ownSweeper.timer()->isActive());
        // The same timer, ticking at once instead of in five seconds.
        ownSweeper.timer()->setInterval(1);
        QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(bare.path(QStringLiteral("tem.htm"))), 2000);
    }

    void viewerLayout()
    {
        PageViewer *v = PageViewer::create(area.get());
        QCOMPARE(v->windowTitle(), QStringLiteral("使用说明"));
        v->subWindow()->showNormal();
        v->resize(600, 450); // 9000 x 6750 twips
        QApplication::processEvents();
        QCOMPARE(v->findChild<PageView *>("pageView")->pos(), QPoint(3, 3));
        QCOMPARE(v->findChild<PageView *>("pageView")->size(), QSize(twips::toPixels(8900), twips::toPixels(6650)));
        // Below 100 twips the assignment is skipped and the size kept.
        v->resize(5, 300);
        QApplication::processEvents();
        QCOMPARE(v->findChild<PageView *>("pageView")->size(), QSize(twips::toPixels(8900), twips::toPixels(4400)));
        v->subWindow()->showMinimized();
        QApplication::processEvents();
        v->subWindow()->showMaximized();
        QApplication::processEvents();
        QCOMPARE(v->findChild<PageView *>("pageView")->width(), twips::toPixels(twips::fromPixels(v->width()) - 100));
        v->subWindow()->close(); // a viewer never told to navigate closes normally
    }

    void viewersShareOneIcon()
    {
        // The window icon is made once for the program, not once a viewer.
        PageViewer *first = PageViewer::create(area.get());
        PageViewer *second = PageViewer::create(area.get());
        QVERIFY(!first->windowIcon().isNull());
        QCOMPARE(first->windowIcon().cacheKey(), second->windowIcon().cacheKey());
        QCOMPARE(first->subWindow()->windowIcon().cacheKey(), first->windowIcon().cacheKey());
    }

    // A screen reader browses the page as a document with a caret, hears a
    // picture by its alt text, and hears where a followed link leads.
    void pageForScreenReaders()
    {
        folder->writeFile(kDocFile,
                          store(pageWithTitle(kTitle,
                                              QStringLiteral("<p>上<img src=\"picture/shang.jpg\" "
                                                             "alt=\"刻上字的棋子\">下</p><h2>"
                                                             "<a name=\"two\"></a>二、第二节</h2>"))));
        show();
        settle();
        QTextBrowser *browser = viewers().first()->findChild<QTextBrowser *>();
        QAccessibleInterface *page = QAccessible::queryAccessibleInterface(browser);
        QCOMPARE(page->role(), QAccessible::Document);
        QVERIFY(browser->textInteractionFlags() & Qt::TextSelectableByKeyboard);
        QAccessibleTextInterface *text = page->textInterface();
        const QString all = text->text(0, text->characterCount());
        QVERIFY2(all.startsWith(QStringLiteral("上刻上字的棋子下\n")), qPrintable(all));
        text->setCursorPosition(7); // after the picture: the caret in the page is there too
        QCOMPARE(text->cursorPosition(), 7);
        QCOMPARE(browser->textCursor().position(), 2);
        emit browser->anchorClicked(QUrl(QStringLiteral("#two")));
        QCOMPARE(browser->textCursor().block().text().trimmed(), QStringLiteral("二、第二节"));
        QCOMPARE(viewers().first()->findChild<SpokenNotice *>()->text(), QStringLiteral("二、第二节"));
    }

    void linksToLocalPages()
    {
        const QByteArray second
            = storedtext::toGbk(storedtext::unshift(storedtext::gather(store(pageWithTitle(QStringLiteral("第二页")))),
                                                    storedtext::kDocumentShift));
        folder->writeFile(QStringLiteral("second.htm"), second);
        // The first page (written as the page file) links to second.htm.
        folder->writeFile(kDocFile, store(pageWithTitle(kTitle, QStringLiteral("<a href=\"second.htm\">下一页</a>"))));
        show();
        settle();
        PageViewer *v = viewers().first();
        QCOMPARE(v->windowTitle(), kTitle);
        emit v->findChild<QTextBrowser *>("pageBrowser")->anchorClicked(QUrl(QStringLiteral("second.htm")));
        settle();
        QCOMPARE(v->windowTitle(), QStringLiteral("第二页"));
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    prepareApplication(app);
    TestPages test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_pages.moc"
