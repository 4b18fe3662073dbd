// Files that are not what they seem: FIFOs, devices and folders where data
// files and pictures belong, pictures too large to draw, pictures that keep
// failing, files the user may not read.
#include "formats/Pictures.h"
#include "formats/StoredText.h"
#include "messagerecorder.h"
#include "pages/DocumentPages.h"
#include "pages/PageLimits.h"
#include "pages/PageView.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "testsupport.h"

#include <QBuffer>
#include <QDesktopServices>
#include <QSignalSpy>
#include <QtTest>

#include <condition_variable>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qint64 kQuickMs = 2000; // far more than any refusal takes

// Should a reader ever wait on a FIFO, this opens the other end after a
// while so that the wait ends and the test fails instead of hanging. It
// waits for the test to end, and only a test that overstays wakes it early.
class FifoRescue
{
public:
    explicit FifoRescue(const QString &path)
        : thread_([this, name = QFile::encodeName(path)] {
              std::unique_lock<std::mutex> lock(mutex_);
              auto wait = std::chrono::milliseconds(3 * kQuickMs);
              while (!ended_.wait_for(lock, wait, [this] { return stop_; })) {
                  ::close(::open(name.constData(), O_WRONLY | O_NONBLOCK));
                  wait = std::chrono::milliseconds(50); // until the reader lets go
              }
          })
    { }
    ~FifoRescue()
    {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        ended_.notify_one();
        thread_.join();
    }

private:
    std::mutex mutex_;
    std::condition_variable ended_;
    bool stop_ = false;
    std::thread thread_;
};

QByteArray encoded(int width, int height, const char *format)
{
    QImage image(width, height, QImage::Format_Mono);
    image.fill(0);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// A GIF whose screen is width × height but which holds a single pixel.
QByteArray gifClaiming(int width, int height)
{
    QByteArray gif("GIF89a....\x80\0\0\0\0\0\xff\xff\xff\x2c\0\0\0\0\1\0\1\0\0\2\2\x44\1\0\x3b", 35);
    gif[6] = char(width & 0xFF), gif[7] = char(width >> 8), gif[8] = char(height & 0xFF), gif[9] = char(height >> 8);
    return gif;
}

// A page of `depth` tables, each inside the one before.
QByteArray nestedTables(int depth)
{
    QByteArray page = "<html><body>";
    for (int i = 0; i < depth; ++i)
        page += "<table><tr><td>";
    page += "x";
    for (int i = 0; i < depth; ++i)
        page += "</td></tr></table>";
    return page + "</body></html>";
}

// Records the addresses handed to the desktop instead of opening them.
// Counts the files opened in some folders, as the kernel reports them.
class OpenWatch
{
public:
    explicit OpenWatch(const QStringList &folders) : fd_(inotify_init1(IN_NONBLOCK))
    {
        for (const QString &folder : folders)
            inotify_add_watch(fd_, QFile::encodeName(folder).constData(), IN_OPEN);
    }
    ~OpenWatch() { ::close(fd_); }
    bool isValid() const { return fd_ >= 0; }
    // Files opened since the last call, per folder's watch, in all.
    int takeOpens(int *inFirstFolder = nullptr)
    {
        alignas(inotify_event) char buffer[8192];
        int all = 0, first = 0;
        ssize_t got;
        while ((got = ::read(fd_, buffer, sizeof buffer)) > 0) {
            for (char *p = buffer; p < buffer + got;) {
                const auto *e = reinterpret_cast<const inotify_event *>(p);
                if (!(e->mask & IN_ISDIR)) {
                    ++all;
                    first += e->wd == 1;
                }
                p += sizeof(inotify_event) + e->len;
            }
        }
        if (inFirstFolder)
            *inFirstFolder = first;
        return all;
    }

private:
    int fd_;
};

class DesktopRecorder : public QObject
{
    Q_OBJECT
public:
    static inline const QStringList kSchemes = {"http", "https", "mailto", "file", "ftp", "smb", "javascript"};
    DesktopRecorder()
    {
        for (const QString &scheme : kSchemes)
            QDesktopServices::setUrlHandler(scheme, this, "open");
    }
    ~DesktopRecorder() override
    {
        for (const QString &scheme : kSchemes)
            QDesktopServices::unsetUrlHandler(scheme);
    }
    QStringList opened;
public slots:
    void open(const QUrl &url) { opened << url.toString(); }
};

} // namespace

class TestHostileFiles : public QObject
{
    Q_OBJECT
private slots:
    // Every reader refuses, at once, whatever is not a regular file.
    void specialFiles_data()
    {
        QTest::addColumn<QString>("reader");
        QTest::addColumn<QString>("kind");
        for (const char *reader : {"stored text", "instructions", "picture", "page picture", "page"})
            for (const char *kind : {"fifo", "link to /dev/zero", "folder"})
                QTest::addRow("%s, %s", reader, kind) << QString::fromLatin1(reader) << QString::fromLatin1(kind);
    }

    void specialFiles()
    {
        QFETCH(QString, reader);
        QFETCH(QString, kind);
        testsupport::ProgramFolderFixture folder(false);
        const QString relative = reader == QLatin1String("page") ? QStringLiteral("tem.htm")
            : reader.endsWith(QLatin1String("picture"))          ? QStringLiteral("picture/kvnda.gif")
                                                                 : QStringLiteral("god/衍枰说明.god");
        const QString path = folder.path(relative);
        folder.writeFile(QStringLiteral("picture/good.gif"), encoded(8, 8, "PNG"));
        folder.writeFile(QStringLiteral("page.htm"),
                         "<link rel=stylesheet href=\"picture/kvnda.gif\">"
                         "<img src=\"picture/kvnda.gif\"><img src=\"picture/good.gif\">");
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        if (kind == QLatin1String("fifo"))
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
        else if (kind == QLatin1String("folder"))
            QVERIFY(QDir().mkpath(path));
        else
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
        FifoRescue rescue(path);
        testsupport::MessageRecorder messages;
        QElapsedTimer timer;
        timer.start();
        errors::Failure failure;
        if (reader == QLatin1String("stored text")) {
            storedtext::Codes codes;
            QVERIFY(!storedtext::readFile(path, &codes, &failure));
        } else if (reader == QLatin1String("instructions")) {
            pages::showDocumentPage(nullptr, QStringLiteral("衍枰说明"), QStringLiteral("\\god\\衍枰说明.god"));
            QCOMPARE(messages.texts, QStringList {QStringLiteral("路径/文件访问错误")});
            failure = errors::Failure::of(errors::Kind::PathFileAccess);
        } else if (reader == QLatin1String("picture")) {
            QPixmap pixmap;
            QVERIFY(!pictures::load(path, &pixmap, &failure));
        } else {
            PageView view;
            QSignalSpy ended(&view, &PageView::navigationEnded);
            const bool page = reader == QLatin1String("page");
            view.navigate(page ? path : folder.path(QStringLiteral("page.htm")));
            QVERIFY(ended.wait(kQuickMs));
            QCOMPARE(view.hasDocument(), !page);
            if (!page) {
                view.grab(); // lays the page out, pictures and all
                // Refusals come back as empty values, never as nothing at
                // all, which would send Qt to open the file by itself.
                auto resource = [&](int type, const QString &name) {
                    return view.findChild<QTextBrowser *>("pageBrowser")->loadResource(type, QUrl(name));
                };
                const QVariant image = resource(QTextDocument::ImageResource, relative);
                QCOMPARE(image.value<QPixmap>().cacheKey(), PageBrowser::placeholder().cacheKey());
                const QVariant sheet = resource(QTextDocument::StyleSheetResource, relative);
                QVERIFY(sheet.toByteArray().isEmpty());
                const QVariant good = resource(QTextDocument::ImageResource, QStringLiteral("picture/good.gif"));
                QCOMPARE(good.value<QPixmap>().size(), QSize(8, 8));
            }
            failure = errors::Failure::of(errors::Kind::PathFileAccess);
        }
        QVERIFY2(timer.elapsed() < kQuickMs, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(failure.kind, errors::Kind::PathFileAccess);
    }

    // Pages that ask for what the page view must not do: Qt never loads a
    // file itself, nothing outside the program folder is read, pictures are
    // decoded once whatever their query string, pages nested too deeply are
    // refused before Qt sees them, and only web and mail links leave the
    // program.
    void hostilePages_data()
    {
        // @OUT@ is a folder beside the program's, @REL@ the same relative to
        // the program folder, @IN@ the program folder.
        QTest::addColumn<QByteArray>("html");
        QTest::addColumn<QStringList>("refused"); // resources that must come back as placeholders
        QTest::addColumn<int>("maxOpens"); // files the loader may open
        QTest::addColumn<bool>("shown");
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QStringList>("desktop"); // of those, what reaches the desktop

        const QStringList none;
        QTest::newRow("pictures Qt would load itself")
            << QByteArray("<img src=\"picture/fifo.png\"><img src=\"@IN@/picture/huge.png\">"
                          "<img src=\"picture/missing.png\"><img src=\"nothere.png\">")
            << QStringList {"picture/fifo.png", "@IN@/picture/huge.png", "picture/missing.png", "nothere.png"} << 4
            << true << none << none;
        QByteArray copies;
        for (int i = 0; i < 30; ++i)
            copies += "<img src=\"picture/big.png?" + QByteArray::number(i) + "\">";
        QTest::newRow("one picture under thirty query strings") << copies << none << 2 << true << none << none;
        QTest::newRow("two pictures, each of the page's whole pixels")
            << QByteArray("<img src=\"picture/big.png\"><img src=\"picture/big2.png\">")
            << QStringList {"picture/big2.png"} << 3 << true << none << none;
        QTest::newRow("names outside the program folder")
            << QByteArray("<link rel=stylesheet href=\"@REL@/out.css\"><link rel=stylesheet href=\"@OUT@/out.png\">"
                          "<link rel=stylesheet href=\"picture/huge.png\"><img src=\"picture/huge.png\">"
                          "<style>@import url(@OUT@/out.css);"
                          "body { background-image: url(@REL@/out.png) }</style>"
                          "<body background=\"file://@OUT@/out.png\"><table background=\"@REL@/out.png\">"
                          "<tr><td background=\"picture/leak.png\"><img src=\"@OUT@/out.png\">"
                          "<img src=\"picture/../@REL@/out.png\"><img src=\"picture/leak.png\">"
                          "</td></tr></table>")
            << QStringList {"@REL@/out.png",
                            "@OUT@/out.png",
                            "file://@OUT@/out.png",
                            "picture/leak.png",
                            "picture/../@REL@/out.png",
                            "picture/huge.png"}
            << 3 << true << none << none;
        // <html>, <body> and three elements a table: 65 levels.
        QTest::newRow("one level too deep") << nestedTables(21) << none << 1 << false << none << none;
        QTest::newRow("twenty thousand nested tables") << nestedTables(20000) << none << 1 << false << none << none;
        QTest::newRow("links of every kind")
            << QByteArray("<a href=\"http://example.org/\">web</a>") << none << 1 << true
            << QStringList {"http://example.org/", "https://example.org/a", "mailto:someone@example.org",
                            "file:///bin/sh",      "@OUT@/out.htm",         "ftp://example.org/",
                            "javascript:alert(1)", "smb://host/share"}
            << QStringList {"http://example.org/", "https://example.org/a", "mailto:someone@example.org"};
    }

    void hostilePages()
    {
        QFETCH(QByteArray, html);
        QFETCH(QStringList, refused);
        QFETCH(int, maxOpens);
        QFETCH(bool, shown);
        QFETCH(QStringList, clicks);
        QFETCH(QStringList, desktop);
        testsupport::ProgramFolderFixture folder(false);
        // A folder beside the program's, with things a page must not reach.
        QTemporaryDir outside;
        const QString out = outside.path() + QStringLiteral("/out");
        QVERIFY(QDir().mkpath(out));
        const QString relative = QDir(folder.dir.path()).relativeFilePath(out);
        QVERIFY(relative.startsWith(QLatin1String("../")));
        const auto place = [&](QString text) {
            return text.replace(QStringLiteral("@OUT@"), out)
                .replace(QStringLiteral("@REL@"), relative)
                .replace(QStringLiteral("@IN@"), folder.dir.path());
        };
        for (const char *name : {"out.png", "out.css", "out.htm"}) {
            QFile f(out + QLatin1Char('/') + QLatin1String(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(name).endsWith("png") ? encoded(8, 8, "PNG") : QByteArray("body { color: red }"));
        }
        folder.writeFile(QStringLiteral("picture/big.png"), encoded(4096, 4096, "PNG"));
        QVERIFY(QFile::copy(folder.path(QStringLiteral("picture/big.png")),
                            folder.path(QStringLiteral("picture/big2.png"))));
        folder.writeFile(QStringLiteral("picture/huge.png"), encoded(5000, 5000, "PNG"));
        QVERIFY(QFile::link(out + QStringLiteral("/out.png"), folder.path(QStringLiteral("picture/leak.png"))));
        const QString fifo = folder.path(QStringLiteral("picture/fifo.png"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
        FifoRescue rescue(fifo);
        folder.writeFile(QStringLiteral("page.htm"), place(QString::fromUtf8(html)).toUtf8());

        DesktopRecorder recorder;
        OpenWatch watch({out, folder.dir.path(), folder.path(QStringLiteral("picture"))});
        QVERIFY(watch.isValid());
        QElapsedTimer timer;
        timer.start();
        PageView view;
        view.resize(800, 600);
        QSignalSpy ended(&view, &PageView::navigationEnded);
        QSignalSpy loaded(&view, &PageView::loaded);
        view.navigate(folder.path(QStringLiteral("page.htm")));
        QVERIFY(ended.wait(kQuickMs));
        QCOMPARE(view.hasDocument(), shown); // before a refused page could take long to lay out
        view.grab(); // lays the page out and paints it, pictures and all
        QVERIFY2(timer.elapsed() < kQuickMs, qPrintable(QString::number(timer.elapsed())));
        int opensOutside = 0;
        const int opens = watch.takeOpens(&opensOutside);
        QCOMPARE(opensOutside, 0);
        QVERIFY2(opens <= maxOpens, qPrintable(QString::number(opens)));
        const qint64 placeholder = PageBrowser::placeholder().cacheKey();
        for (const QString &name : refused) {
            const QUrl url(place(name));
            const QVariant image
                = view.findChild<QTextBrowser *>("pageBrowser")->loadResource(QTextDocument::ImageResource, url);
            QVERIFY2(image.value<QPixmap>().cacheKey() == placeholder, qPrintable(name));
            // Outside the folder nothing is read, whatever it is read as.
            const QUrl base = QUrl::fromLocalFile(folder.dir.path() + QLatin1Char('/'));
            const bool beside = !pagelimits::isInside(base.resolved(url).toLocalFile(), folder.dir.path());
            const QVariant sheet
                = view.findChild<QTextBrowser *>("pageBrowser")->loadResource(QTextDocument::StyleSheetResource, url);
            QVERIFY2(!beside || sheet.toByteArray().isEmpty(), qPrintable(name));
            // What the page showed: had Qt loaded the name itself, it would
            // have kept the real picture.
            const QVariant kept = view.findChild<QTextBrowser *>("pageBrowser")
                                      ->document()
                                      ->resource(QTextDocument::ImageResource, url);
            QVERIFY2(kept.value<QPixmap>().cacheKey() == placeholder, qPrintable(name));
        }
        for (const QString &link : clicks)
            emit view.findChild<QTextBrowser *>("pageBrowser")->anchorClicked(QUrl(place(link)));
        QCOMPARE(recorder.opened, desktop);
        QCOMPARE(loaded.size(), shown ? 1 : 0);
        if (shown)
            QCOMPARE(loaded.first().first().toUrl(),
                     QUrl::fromLocalFile(QFileInfo(folder.path(QStringLiteral("page.htm"))).absoluteFilePath()));
        // Nor did asking for the refused names again open anything outside.
        watch.takeOpens(&opensOutside);
        QCOMPARE(opensOutside, 0);

        // The same page as the instructions document: one that the view
        // would refuse says so, like any document that cannot be shown.
        folder.writeFile(QStringLiteral("god/衍枰说明.god"),
                         storedtext::encode(place(QString::fromUtf8(html)), storedtext::kDocumentShift, true).bytes);
        testsupport::MessageRecorder messages;
        timer.restart();
        pages::showDocumentPage(nullptr, QStringLiteral("衍枰说明"), QStringLiteral("\\god\\衍枰说明.god"));
        QVERIFY(timer.elapsed() < kQuickMs);
        QCOMPARE(messages.texts, shown ? QStringList() : QStringList {QStringLiteral("内存不足")});
    }

    void pictureSizeLimit_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("drawn");
        QTest::newRow("jpeg 5600 x 5600") << encoded(5600, 5600, "JPEG") << false;
        QTest::newRow("png 4097 x 16") << encoded(4097, 16, "PNG") << false;
        QTest::newRow("png 4096 x 4096") << encoded(4096, 4096, "PNG") << true;
        QTest::newRow("gif screen 5600 x 5600") << gifClaiming(5600, 5600) << false;
        QTest::newRow("gif screen 16 x 4097") << gifClaiming(16, 4097) << false;
        QTest::newRow("gif screen 1 x 1") << gifClaiming(1, 1) << true;
    }

    void pictureSizeLimit()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, drawn);
        testsupport::ProgramFolderFixture folder(false);
        folder.writeFile(QStringLiteral("picture/shang.jpg"), bytes);
        QPixmap pixmap;
        errors::Failure failure;
        QCOMPARE(pictures::load(folder.path(QStringLiteral("picture/shang.jpg")), &pixmap, &failure), drawn);
        QCOMPARE(pixmap.isNull(), !drawn);
        QCOMPARE(failure.kind, drawn ? errors::Kind::None : errors::Kind::OutOfMemory);
    }

    // A picture that failed is read once a memo window, not at every call;
    // a good file in its place shows at once.
    void failedPictureIsRemembered_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: no file
        QTest::addColumn<errors::Kind>("kind");
        QTest::newRow("missing") << QByteArray() << errors::Kind::FileNotFound;
        QTest::newRow("not a picture") << QByteArray("GIF89a, or so it says") << errors::Kind::InvalidPicture;
    }

    void failedPictureIsRemembered()
    {
        QFETCH(QByteArray, content);
        QFETCH(errors::Kind, kind);
        testsupport::ProgramFolderFixture folder(false);
        const QString path = folder.path(QStringLiteral("picture/wu.jpg"));
        QDir().mkpath(folder.path(QStringLiteral("picture")));
        if (!content.isEmpty())
            folder.writeFile(QStringLiteral("picture/wu.jpg"), content);
        // The kernel tells which files in the folder were opened.
        const int watch = inotify_init1(IN_NONBLOCK);
        QVERIFY(watch >= 0);
        QVERIFY(inotify_add_watch(watch, QFile::encodeName(folder.path(QStringLiteral("picture"))).constData(), IN_OPEN)
                >= 0);
        auto opens = [watch] {
            alignas(inotify_event) char buffer[4096];
            int n = 0;
            ssize_t got;
            while ((got = read(watch, buffer, sizeof buffer)) > 0)
                for (char *p = buffer; p < buffer + got;
                     p += sizeof(inotify_event) + reinterpret_cast<inotify_event *>(p)->len)
                    ++n;
            return n;
        };
        const int expectedOpens = content.isEmpty() ? 0 : 1;
        const QDateTime start(QDate(2026, 12, 7), QTime(14, 35));
        std::optional<hostclock::Override> clock(start);
        QPixmap pixmap;
        for (int i = 0; i < 100; ++i) {
            errors::Failure failure;
            QVERIFY(!pictures::load(path, &pixmap, &failure));
            QCOMPARE(failure.kind, kind);
        }
        QCOMPARE(opens(), expectedOpens);
        clock.reset();
        clock.emplace(start.addMSecs(pictures::kFailureMemoMs));
        QVERIFY(!pictures::load(path, &pixmap));
        QCOMPARE(opens(), expectedOpens);
        close(watch);
        folder.writeFile(QStringLiteral("picture/wu.jpg"), encoded(8, 8, "PNG"));
        QVERIFY(pictures::load(path, &pixmap));
    }

    // A file the user may not read says so, not "path/file access error".
    void unreadableFileSaysNoPermission()
    {
        testsupport::ProgramFolderFixture folder(false);
        folder.writeFile(QStringLiteral("god/衍枰说明.god"), "abc");
        const QString path = folder.path(QStringLiteral("god/衍枰说明.god"));
        QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
        for (const QString &dir : {folder.dir.path(), QFileInfo(path).absolutePath()})
            QCOMPARE(::chmod(QFile::encodeName(dir).constData(), 0755), 0);
        // Root reads anything: act as the user "nobody" for the while.
        const bool root = ::geteuid() == 0;
        if (root && ::seteuid(65534) != 0)
            QSKIP("running as root and cannot act as another user");
        storedtext::Codes codes;
        errors::Failure failure;
        const bool read = storedtext::readFile(path, &codes, &failure);
        testsupport::MessageRecorder messages;
        pages::showDocumentPage(nullptr, QStringLiteral("衍枰说明"), QStringLiteral("\\god\\衍枰说明.god"));
        if (root && ::seteuid(0) != 0)
            qFatal("cannot return to root");
        QVERIFY(!read);
        QCOMPARE(failure.kind, errors::Kind::PermissionDenied);
        QCOMPARE(messages.texts, QStringList {QStringLiteral("没有权限")});
    }
};

QTEST_MAIN(TestHostileFiles)
#include "test_hostilefiles.moc"
