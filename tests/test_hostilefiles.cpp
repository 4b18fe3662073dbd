// Files that are not what they seem: FIFOs, devices and folders where data
// files and pictures belong, pictures too large to draw, pictures that keep
// failing, files the user may not read.
#include "formats/Pictures.h"
#include "formats/StoredText.h"
#include "pages/DocumentPages.h"
#include "pages/PageView.h"
#include "platform/Files.h"
#include "messagerecorder.h"
#include "testsupport.h"

#include <QBuffer>
#include <QSignalSpy>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <thread>

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qint64 kQuickMs = 2000; // far more than any refusal takes

// Should a reader ever wait on a FIFO, this opens the other end after a
// while so that the wait ends and the test fails instead of hanging.
class FifoRescue
{
public:
    explicit FifoRescue(const QString &path)
        : thread_([this, name = QFile::encodeName(path)] {
              for (int ms = 0; !stop_; ms += 50) {
                  QThread::msleep(50);
                  if (ms > 3 * kQuickMs)
                      ::close(::open(name.constData(), O_WRONLY | O_NONBLOCK));
              }
          })
    {
    }
    ~FifoRescue()
    {
        stop_ = true;
        thread_.join();
    }

private:
    std::atomic<bool> stop_{false};
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
        const QString relative = reader == QLatin1String("page")      ? QStringLiteral("tem.htm")
                                 : reader.endsWith(QLatin1String("picture")) ? QStringLiteral("picture/kvnda.gif")
                                                                             : QStringLiteral("god/衍枰说明.god");
        const QString path = folder.path(relative);
        folder.writeFile(QStringLiteral("picture/good.gif"), encoded(8, 8, "PNG"));
        folder.writeFile(QStringLiteral("page.htm"), "<link rel=stylesheet href=\"picture/kvnda.gif\">"
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
            QCOMPARE(messages.texts, QStringList{QStringLiteral("路径/文件访问错误")});
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
                    return view.browser()->loadResource(type, QUrl(name));
                };
                const QVariant image = resource(QTextDocument::ImageResource, relative);
                QVERIFY(image.userType() == QMetaType::QImage && image.value<QImage>().isNull());
                const QVariant sheet = resource(QTextDocument::StyleSheetResource, relative);
                QVERIFY(sheet.userType() == QMetaType::QByteArray && sheet.toByteArray().isEmpty());
                const QVariant good = resource(QTextDocument::ImageResource, QStringLiteral("picture/good.gif"));
                QCOMPARE(good.value<QImage>().size(), QSize(8, 8));
            }
            failure = errors::Failure::of(errors::Kind::PathFileAccess);
        }
        QVERIFY2(timer.elapsed() < kQuickMs, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(failure.kind, errors::Kind::PathFileAccess);
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
        QVERIFY(inotify_add_watch(watch, QFile::encodeName(folder.path(QStringLiteral("picture"))).constData(), IN_OPEN) >= 0);
        auto opens = [watch] {
            alignas(inotify_event) char buffer[4096];
            int n = 0;
            ssize_t got;
            while ((got = read(watch, buffer, sizeof buffer)) > 0)
                for (char *p = buffer; p < buffer + got; p += sizeof(inotify_event) + reinterpret_cast<inotify_event *>(p)->len)
                    ++n;
            return n;
        };
        const int expectedOpens = content.isEmpty() ? 0 : 1;
        QPixmap pixmap;
        for (int i = 0; i < 100; ++i) {
            errors::Failure failure;
            QVERIFY(!pictures::load(path, &pixmap, &failure));
            QCOMPARE(failure.kind, kind);
        }
        QCOMPARE(opens(), expectedOpens);
        QTest::qWait(pictures::kFailureMemoMs + 100);
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
        QCOMPARE(messages.texts, QStringList{QStringLiteral("没有权限")});
    }
};

QTEST_MAIN(TestHostileFiles)
#include "test_hostilefiles.moc"
