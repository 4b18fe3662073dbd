// The host layer without any window: the program folder, the registry
// value lookup and the launcher.
#include "fakehost.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Launcher.h"
#include "platform/ProgramFolder.h"
#include "platform/Registry.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace testsupport;

namespace {
const QString kToolKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString kFolderKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
} // namespace

class TestPlatform : public QObject
{
    Q_OBJECT
private slots:

    // ---- reading a whole file within a cap ----------------------------------------------

    // A file larger than its size says (procfs says 0) is refused, never cut at the cap.
    void readRegularFile_data()
    {
        QTest::addColumn<QString>("path"); // empty: a file of `size` bytes
        QTest::addColumn<int>("size");
        QTest::newRow("exactly at the cap") << QString() << 100;
        QTest::newRow("one byte over") << QString() << 101;
        QTest::newRow("procfs") << "/proc/self/status" << 0;
    }

    void readRegularFile()
    {
        QFETCH(QString, path);
        QFETCH(int, size);
        QTemporaryDir dir;
        if (path.isEmpty()) {
            QFile file(path = dir.filePath(QStringLiteral("data")));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(size, 'x')) == size);
        }
        QByteArray bytes;
        errors::Failure failure;
        QCOMPARE(platform::readRegularFile(path, 100, &bytes, &failure), size == 100);
        if (size != 100) // too large, however the file came to be so
            QCOMPARE(failure.kind, errors::Kind::OutOfMemory);
        QCOMPARE(bytes.size(), size == 100 ? 100 : 0);
    }

    // ---- the program folder ------------------------------------------------------------

    void programFolderFrom_data()
    {
        QTest::addColumn<QString>("executableFolder");
        QTest::addColumn<QString>("folder");
#ifdef Q_OS_WIN
        QTest::newRow("plain") << "C:\\Programs\\yanping"
                               << "C:\\Programs\\yanping";
        QTest::newRow("trailing separators") << "C:\\Programs\\yanping\\\\"
                                             << "C:\\Programs\\yanping";
        QTest::newRow("drive root keeps its separator") << "C:\\"
                                                        << "C:\\";
#else
        QTest::newRow("plain") << "/opt/yanping"
                               << "/opt/yanping";
        QTest::newRow("trailing separators") << "/opt/yanping//"
                                             << "/opt/yanping";
        QTest::newRow("root keeps its separator") << "/"
                                                  << "/";
        // A backslash is an ordinary character of a Linux name.
        QTest::newRow("name ending in a backslash") << "/opt/yan\\"
                                                    << "/opt/yan\\";
        QTest::newRow("backslash before a separator") << "/opt/yan\\/"
                                                      << "/opt/yan\\";
#endif
    }

    void programFolderFrom()
    {
        QFETCH(QString, executableFolder);
        QFETCH(QString, folder);
        QCOMPARE(platform::programFolderFrom(executableFolder), folder);
    }

    void programPaths_data()
    {
        QTest::addColumn<QString>("literal");
        QTest::addColumn<QString>("tail");
        QTest::newRow("page file") << "\\tem.htm"
                                   << "/tem.htm";
        QTest::newRow("reading") << "\\god\\xwk\\000.god"
                                 << "/god/xwk/000.god";
        QTest::newRow("picture") << "\\picture\\globe.wmf"
                                 << "/picture/globe.wmf";
    }

    void programPaths()
    {
        QFETCH(QString, literal);
        QFETCH(QString, tail);
        const platform::ProgramFolderOverride folder(QStringLiteral("/opt/yan"));
        const QString path = platform::programPath(literal);
        QCOMPARE(QDir::fromNativeSeparators(path), QStringLiteral("/opt/yan") + tail);
    }

    // ---- reading the registry ------------------------------------------------------------

    void readValueText_data()
    {
        QTest::addColumn<quint32>("type");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QString>("after");
        const QString before = QStringLiteral("held before");
        const QByteArray path("C:\\Program Files\\Tool\\tool.exe");
        QTest::newRow("text with its NUL")
            << registry::kTypeText << withNul(path) << before << true << QString::fromLatin1(path);
        QTest::newRow("text without a NUL")
            << registry::kTypeText << path << before << true << QString::fromLatin1(path);
        QTest::newRow("empty text") << registry::kTypeText << withNul(QByteArray()) << before << true << QString();
        QTest::newRow("number 12345") << registry::kTypeNumber << number(12345) << before << true
                                      << QStringLiteral("12345");
        QTest::newRow("number 256") << registry::kTypeNumber << number(256) << before << true << QStringLiteral("256");
        QTest::newRow("number 0") << registry::kTypeNumber << number(0) << before << true << QStringLiteral("0");
        QTest::newRow("number all ones") << registry::kTypeNumber << number(0xFFFFFFFFu) << before << true
                                         << QStringLiteral("4294967295");
        QTest::newRow("binary keeps the text")
            << registry::kTypeBinary << QByteArray("\x01\x02", 2) << before << true << before;
        QTest::newRow("expandable text keeps the text")
            << registry::kTypeExpandText << withNul("%SystemRoot%") << before << true << before;
        QTest::newRow("other type, empty before")
            << registry::kTypeMultiText << withNul("a") << QString() << true << QString();
        QTest::newRow("1023 characters and NUL fit") << registry::kTypeText << withNul(QByteArray(1023, 'x')) << before
                                                     << true << QString(1023, QLatin1Char('x'));
        QTest::newRow("1024 characters without NUL fit")
            << registry::kTypeText << QByteArray(1024, 'y') << before << true << QString(1024, QLatin1Char('y'));
        QTest::newRow("1024 characters and NUL do not fit")
            << registry::kTypeText << withNul(QByteArray(1024, 'z')) << before << false << QString();
        QTest::newRow("far too long") << registry::kTypeText << QByteArray(5000, 'z') << before << false << QString();
    }

    void readValueText()
    {
        QFETCH(quint32, type);
        QFETCH(QByteArray, data);
        QFETCH(QString, before);
        QFETCH(bool, result);
        QFETCH(QString, after);
        FakeRegistry fake;
        fake.set(registry::kLocalMachine, QStringLiteral("SOFTWARE\\Test"), QStringLiteral("Value"), type, data);
        const registry::Override use(&fake);
        QString received = before;
        QCOMPARE(registry::readValueText(registry::kLocalMachine, QStringLiteral("SOFTWARE\\Test"),
                                         QStringLiteral("Value"), received),
                 result);
        QCOMPARE(received, after);
        QCOMPARE(fake.accessAsked, QList<quint32> {0x20019u}); // KEY_READ: every user may
        QVERIFY(fake.openHandles.isEmpty()); // closed again, read or not
        QCOMPARE(fake.closes, 1);
    }

    void readValueTextMissing_data()
    {
        QTest::addColumn<quint32>("root");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("closes"); // a key that was opened is closed
        QTest::newRow("no such key") << registry::kLocalMachine << "SOFTWARE\\Nothing"
                                     << "Value" << 0;
        QTest::newRow("other root") << registry::kCurrentUser << "SOFTWARE\\Test"
                                    << "Value" << 0;
        QTest::newRow("no access") << registry::kLocalMachine << "SOFTWARE\\Locked"
                                   << "Value" << 0;
        QTest::newRow("no such value") << registry::kLocalMachine << "SOFTWARE\\Test"
                                       << "Other" << 1;
    }

    void readValueTextMissing()
    {
        QFETCH(quint32, root);
        QFETCH(QString, path);
        QFETCH(QString, name);
        QFETCH(int, closes);
        FakeRegistry fake;
        fake.set(registry::kLocalMachine, QStringLiteral("SOFTWARE\\Test"), QStringLiteral("Value"),
                 registry::kTypeText, withNul("here"));
        fake.set(registry::kLocalMachine, QStringLiteral("SOFTWARE\\Locked"), QStringLiteral("Value"),
                 registry::kTypeText, withNul("secret"));
        fake.deny(registry::kLocalMachine, QStringLiteral("SOFTWARE\\Locked"));
        const registry::Override use(&fake);
        QString received = QStringLiteral("held before");
        QVERIFY(!registry::readValueText(root, path, name, received));
        QVERIFY(received.isEmpty());
        QVERIFY(fake.openHandles.isEmpty());
        QCOMPARE(fake.closes, closes);
    }

    // Overrides nest, and each one puts back what it replaced: the inner
    // one wins while it lives, then the outer one, then the real host.
    void overridesRestoreWhatTheyReplaced()
    {
        const QDate real = hostclock::today();
        QStringList outerStarts, innerStarts;
        {
            const hostclock::Override outerDate(QDate(2004, 1, 1));
            const launcher::Override outer([&](const QString &p) { return outerStarts.append(p), true; });
            {
                const hostclock::Override innerDate(QDate(1999, 9, 9));
                const launcher::Override inner([&](const QString &p) { return innerStarts.append(p), false; });
                QCOMPARE(hostclock::today(), QDate(1999, 9, 9));
                QVERIFY(!launcher::start(QStringLiteral("a")));
            }
            QCOMPARE(hostclock::today(), QDate(2004, 1, 1));
            QVERIFY(launcher::start(QStringLiteral("b")));
        }
        QCOMPARE(innerStarts, QStringList {QStringLiteral("a")});
        QCOMPARE(outerStarts, QStringList {QStringLiteral("b")});
        QVERIFY(qAbs(hostclock::today().daysTo(real)) <= 1);
        QVERIFY(!launcher::start(QString())); // the real launcher again: nothing to start
        QCOMPARE(outerStarts.size() + innerStarts.size(), 2);
    }

    void launcherRefusesWhatIsNoProgram()
    {
        QTemporaryDir dir;
        const QString plain = dir.filePath(QStringLiteral("notes.txt"));
        QFile f(plain);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("not a program");
        f.close();
        QVERIFY(!launcher::start(QString()));
        QVERIFY(!launcher::start(dir.filePath(QStringLiteral("missing-tool"))));
        QVERIFY(!launcher::start(plain));
        QVERIFY(!launcher::start(dir.path()));
    }

#ifndef Q_OS_WIN
    void launcherStartsWithoutWaiting()
    {
        // A program that runs until the test lets it go: start() returns at once.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("slow"));
        const QByteArray go = QFile::encodeName(dir.filePath(QStringLiteral("go")));
        QCOMPARE(mkfifo(go.constData(), 0600), 0);
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\n: > \"$(dirname \"$0\")/started\"\nread x < \"$(dirname \"$0\")/go\"\n");
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(launcher::start(path));
        QVERIFY(clock.elapsed() < 2000);
        QTRY_VERIFY(QFile::exists(dir.filePath(QStringLiteral("started"))));
        // Let it finish: the FIFO opens for writing once the script reads it.
        int fd = -1;
        QTRY_VERIFY((fd = ::open(go.constData(), O_WRONLY | O_NONBLOCK)) >= 0);
        QCOMPARE(::write(fd, "\n", 1), ssize_t(1));
        ::close(fd);
    }

    void noRegistryWithoutTheSystemOne()
    {
        // The second lookup is never answered here, nor the first.
        QString value = QStringLiteral("held before");
        QVERIFY(!registry::readValueText(registry::kLocalMachine, kToolKey, QStringLiteral("PATH"), value));
        QVERIFY(value.isEmpty());
        QString folder = QStringLiteral("held before");
        QVERIFY(!registry::readValueText(registry::kLocalMachine, kFolderKey, QStringLiteral("MSINFO"), folder));
        QVERIFY(folder.isEmpty());
        QString otherRoot;
        QVERIFY(!registry::readValueText(registry::kCurrentUser, kToolKey, QStringLiteral("PATH"), otherRoot));
    }
#endif
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "test_platform.moc"
