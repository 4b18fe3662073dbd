#include "formats/StoredText.h"
#include "testsupport.h"

#include <QDir>
#include <QProcess>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {
struct Run {
    int code = -1;
    QByteArray out;
    QByteArray err;
};

Run godtool(const QStringList &args, const std::function<void(QProcess &)> &setUp = {})
{
    QProcess p;
    if (setUp)
        setUp(p);
    p.start(QStringLiteral(GODTOOL), args);
    if (!p.waitForFinished(60000))
        p.kill();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}
QStringList decodeArgs(const QString &in, const QString &out = QString())
{
    QStringList args {QStringLiteral("decode"), QStringLiteral("--shift"), QStringLiteral("3"), in};
    if (!out.isEmpty())
        args << out;
    return args;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

bool isRoot()
{
    return ::geteuid() == 0;
}
} // namespace

class TestGodtool : public QObject
{
    Q_OBJECT
private slots:
    void help()
    {
        const Run r = godtool({QStringLiteral("--help")});
        QCOMPARE(r.code, 0);
        QVERIFY(r.out.contains("encode") && r.out.contains("decode") && r.out.contains("check"));
    }

    void badArguments_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("no command") << QStringList() << QByteArray("no command");
        QTest::newRow("unknown command") << QStringList {QStringLiteral("frob")} << QByteArray("unknown command");
        QTest::newRow("no shift") << QStringList {QStringLiteral("decode"), QStringLiteral("x")}
                                  << QByteArray("--shift");
        QTest::newRow("bad shift") << QStringList {QStringLiteral("decode"), QStringLiteral("--shift"),
                                                   QStringLiteral("x"), QStringLiteral("f")}
                                   << QByteArray("--shift");
        QTest::newRow("missing input") << QStringList {QStringLiteral("decode"), QStringLiteral("--shift"),
                                                       QStringLiteral("3"), QStringLiteral("/nonexistent/000.god")}
                                       << QByteArray("no such file");
        QTest::newRow("missing encode input")
            << QStringList {QStringLiteral("encode"), QStringLiteral("--shift"), QStringLiteral("3"),
                            QStringLiteral("/nonexistent/a.txt"), QStringLiteral("/tmp/never-written.god")}
            << QByteArray("no such file");
        QTest::newRow("no converter in that folder") << QStringList {QStringLiteral("decode"),
                                                                     QStringLiteral("--shift"),
                                                                     QStringLiteral("3"),
                                                                     QStringLiteral("--locale"),
                                                                     QStringLiteral("zh_HK"),
                                                                     QStringLiteral("--program"),
                                                                     QStringLiteral("/nonexistent"),
                                                                     QStringLiteral(PROGRAM_DIR "/god/xwk/222.god")}
                                                     << QByteArray("would show Simplified");
    }

    void badArguments()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, message);
        const Run r = godtool(args);
        QVERIFY(r.code != 0);
        QVERIFY2(r.err.contains(message), r.err.constData());
    }

    void encodeDecodeRoundTrip_data()
    {
        QTest::addColumn<int>("shift");
        QTest::newRow("document") << 2;
        QTest::newRow("reading") << 3;
    }

    void encodeDecodeRoundTrip()
    {
        QFETCH(int, shift);
        QTemporaryDir dir;
        const QString text = QStringLiteral("\n    【二上·零中·三下】　荒山藏玉\n    断曰：凶 ABC abc €\n");
        const QString src = dir.filePath(QStringLiteral("a.txt"));
        const QString stored = dir.filePath(QStringLiteral("sub/a.god"));
        const QString back = dir.filePath(QStringLiteral("a.back"));
        QFile f(src);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(text.toUtf8());
        f.close();
        QCOMPARE(
            godtool({QStringLiteral("encode"), QStringLiteral("--shift"), QString::number(shift), src, stored}).code,
            0);
        QVERIFY(!testsupport::readFile(stored).contains('\r'));
        QCOMPARE(
            godtool({QStringLiteral("decode"), QStringLiteral("--shift"), QString::number(shift), stored, back}).code,
            0);
        QString expected = text;
        expected.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
        QCOMPARE(QString::fromUtf8(testsupport::readFile(back)), expected);

        // --page writes the GBK page file: the text followed by CR LF.
        const Run page = godtool({QStringLiteral("decode"), QStringLiteral("--shift"), QString::number(shift),
                                  QStringLiteral("--page"), stored});
        QCOMPARE(page.code, 0);
        QCOMPARE(gbk::decode(page.out), expected + QStringLiteral("\r\n"));
    }

    // A stored file as a session in that language shows it: a reading, and
    // the instructions page as a page (its markup as written).
    void decodeInLocale_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("notShown");
        const QString reading = QStringLiteral(PROGRAM_DIR "/god/xwk/222.god");
        const QString page = QStringLiteral(PROGRAM_DIR "/god/衍枰说明.god");
        QTest::newRow("reading, Taiwan") << reading << "zh_TW"
                                         << "斷曰：吉"
                                         << "“";
        QTest::newRow("reading, Macau") << reading << "zh_MO"
                                        << "景公説梁丘據與自己最「和」"
                                        << "說";
        QTest::newRow("reading, mainland") << reading << "zh_CN"
                                           << "断曰：吉"
                                           << "斷";
        QTest::newRow("instructions, Taiwan") << page << "zh_TW"
                                              << "<title>衍枰說明</title>"
                                              << "视窗";
        QTest::newRow("instructions, Hong Kong") << page << "zh_HK"
                                                 << "<title>衍枰説明</title>"
                                                 << "程序";
    }

    void decodeInLocale()
    {
        QFETCH(QString, file);
        QFETCH(QString, locale);
        QFETCH(QString, shown);
        QFETCH(QString, notShown);
        const QString shift = file.endsWith(QLatin1String("222.god")) ? QStringLiteral("3") : QStringLiteral("2");
        const Run r = godtool(
            {QStringLiteral("decode"), QStringLiteral("--shift"), shift, QStringLiteral("--locale"), locale, file});
        QCOMPARE(r.code, 0);
        const QString text = QString::fromUtf8(r.out);
        QVERIFY2(text.contains(shown) && !text.contains(notShown), qPrintable(text.left(200)));
        if (locale == QLatin1String("zh_CN"))
            QCOMPARE(r.out, godtool({QStringLiteral("decode"), QStringLiteral("--shift"), shift, file}).out);
    }

    // Files made elsewhere decode exactly as the program reads them.
    void decodesForeignFiles()
    {
        QTemporaryDir dir;
        const QString stored = dir.filePath(QStringLiteral("x.god"));
        QFile f(stored);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("abc\x0a\x07"
                           "abc\r\nabc\r\n")
                + QByteArray(1, char(0xB0)) + QByteArray(1, char(0xFE)) + "a");
        f.close();
        const Run r = godtool({QStringLiteral("decode"), QStringLiteral("--shift"), QStringLiteral("3"), stored});
        QCOMPARE(r.code, 0);
        QCOMPARE(QString::fromUtf8(r.out), QStringLiteral("def\r\ndefdef\uFFFDd"));
    }

    void encodeRefusesAndLeavesNoFile()
    {
        QTemporaryDir dir;
        const QString src = dir.filePath(QStringLiteral("bad.txt"));
        const QString out = dir.filePath(QStringLiteral("bad.god"));
        QFile f(src);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral("一二\n三四\u0E01").toUtf8());
        f.close();
        const Run r = godtool({QStringLiteral("encode"), QStringLiteral("--shift"), QStringLiteral("3"), src, out});
        QVERIFY(r.code != 0);
        QVERIFY2(r.err.contains(":2:3:"), r.err.constData());
        QVERIFY(!QFile::exists(out));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    void checkListsProblems()
    {
        testsupport::ProgramFolderFixture folder(true);
        Run r = godtool({QStringLiteral("check"), folder.dir.path()});
        QVERIFY2(r.code == 0, r.out.constData());
        folder.remove(QStringLiteral("god/xwk/203.god"));
        folder.writeFile(QStringLiteral("god/xwk/0001.god"), QByteArray(1, char(0xFF)));
        r = godtool({QStringLiteral("check"), folder.dir.path()});
        QCOMPARE(r.code, 1);
        QVERIFY(r.out.contains("god/xwk/203.god: missing"));
        QVERIFY(r.out.contains("god/xwk/0001.god: character 1 names no GBK character"));
    }

    // A FIFO or device named as the output is written to, never replaced.
    void specialOutputIsKept_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("code");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("fifo") << QStringLiteral("fifo") << 0 << QByteArray();
        QTest::newRow("null device") << QStringLiteral("null") << 0 << QByteArray();
        QTest::newRow("full device") << QStringLiteral("full") << 1 << QByteArray("No space left on device");
    }

    void specialOutputIsKept()
    {
        QFETCH(QString, kind);
        QFETCH(int, code);
        QFETCH(QByteArray, message);
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("in.god"));
        const QByteArray out = QFile::encodeName(dir.filePath(QStringLiteral("out")));
        writeFile(in, "abc");
        int reader = -1;
        if (kind == QLatin1String("fifo")) {
            QCOMPARE(::mkfifo(out.constData(), 0644), 0);
            reader = ::open(out.constData(), O_RDONLY | O_NONBLOCK); // so the writer need not wait
        } else if (::mknod(out.constData(), S_IFCHR | 0666, makedev(1, kind == QLatin1String("null") ? 3 : 7)) != 0) {
            // Without root, a link to the system's own node will do: a file
            // put in its place could never replace the node itself.
            if (isRoot())
                QSKIP("cannot make a device node");
            QVERIFY(QFile::link(QStringLiteral("/dev/") + kind, QFile::decodeName(out)));
        }
        struct stat before, after;
        QCOMPARE(::stat(out.constData(), &before), 0);
        const Run r = godtool(decodeArgs(in, QFile::decodeName(out)));
        QCOMPARE(r.code, code);
        QVERIFY2(r.err.contains(message), r.err.constData());
        QCOMPARE(::stat(out.constData(), &after), 0);
        QCOMPARE(after.st_ino, before.st_ino);
        QCOMPARE(after.st_mode, before.st_mode);
        if (reader >= 0) {
            char buffer[16] = {};
            QCOMPARE(::read(reader, buffer, sizeof buffer), ssize_t(3));
            QCOMPARE(QByteArray(buffer), QByteArray("def"));
            ::close(reader);
        }
    }

    // Output that cannot be written is an error, not a silent success.
    void fullStandardOutput_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("decode") << decodeArgs(QStringLiteral(PROGRAM_DIR "/god/xwk/000.god"));
        QTest::newRow("help") << QStringList {QStringLiteral("--help")};
        QTest::newRow("check") << QStringList {QStringLiteral("check"), QStringLiteral(PROGRAM_DIR)};
    }

    void fullStandardOutput()
    {
        QFETCH(QStringList, args);
        const Run r = godtool(args, [](QProcess &p) { p.setStandardOutputFile(QStringLiteral("/dev/full")); });
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.contains("cannot write to standard output: No space left on device"), r.err.constData());
    }

    // encode writes nothing the program would not read back whole.
    void encodeRefusesWhatTheProgramWouldNotRead_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QByteArray>("message"); // empty: stored
        QTest::newRow("as many characters as the program reads") << qint64(32768) << QByteArray();
        QTest::newRow("one character more") << qint64(32769) << QByteArray("longer than the 32767 characters");
        QTest::newRow("over the file size cap") << storedtext::kMaxFileBytes + 1 << QByteArray("file too large");
    }

    void encodeRefusesWhatTheProgramWouldNotRead()
    {
        QFETCH(qint64, size);
        QFETCH(QByteArray, message);
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("in.txt"));
        const QString out = dir.filePath(QStringLiteral("out.god"));
        writeFile(in, QByteArray(qMin<qint64>(size, 40000), 'a'));
        QVERIFY(QFile::resize(in, size)); // the rest is NUL characters
        const Run r = godtool({QStringLiteral("encode"), QStringLiteral("--shift"), QStringLiteral("3"), in, out});
        QCOMPARE(r.code, message.isEmpty() ? 0 : 1);
        QVERIFY2(r.err.contains(message), r.err.constData());
        QCOMPARE(QFile::exists(out), message.isEmpty());
        if (message.isEmpty())
            QCOMPARE(godtool(decodeArgs(out)).out, QByteArray(size, 'a'));
    }

    // Failures name their real cause.
    void realReasons_data()
    {
        QTest::addColumn<QString>("input"); // "fifo", "folder", "stdin", "unreadable", "size limit"
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("fifo") << QStringLiteral("fifo") << QByteArray("cannot read %1: not a regular file");
        QTest::newRow("folder") << QStringLiteral("folder") << QByteArray("cannot read %1: is a folder");
        QTest::newRow("piped standard input") << QStringLiteral("stdin") << QByteArray("not a regular file");
        QTest::newRow("unreadable") << QStringLiteral("unreadable") << QByteArray("cannot read %1: permission denied");
        QTest::newRow("file-size limit") << QStringLiteral("size limit")
                                         << QByteArray("cannot write %2: File too large");
    }

    void realReasons()
    {
        QFETCH(QString, input);
        QFETCH(QByteArray, message);
        QTemporaryDir dir;
        QVERIFY(QFile::setPermissions(dir.path(),
                                      QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                          | QFileDevice::ReadOther | QFileDevice::ExeOther));
        QString in = dir.filePath(QStringLiteral("in.txt"));
        const QString out = dir.filePath(QStringLiteral("out.god"));
        writeFile(in, QByteArray(5000, 'a'));
        std::function<void(QProcess &)> setUp;
        if (input == QLatin1String("fifo")) {
            QFile::remove(in);
            QCOMPARE(::mkfifo(QFile::encodeName(in).constData(), 0644), 0);
        } else if (input == QLatin1String("folder")) {
            in = dir.path();
        } else if (input == QLatin1String("stdin")) {
            in = QStringLiteral("/dev/stdin");
        } else if (input == QLatin1String("unreadable")) {
            QVERIFY(QFile::setPermissions(in, QFileDevice::WriteOwner));
            if (isRoot()) // root reads anything: run as "nobody"
                setUp = [](QProcess &p) {
                    p.setChildProcessModifier([] {
                        if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
                            ::_exit(99);
                    });
                };
        } else {
            setUp = [](QProcess &p) {
                p.setChildProcessModifier([] {
                    const rlimit limit {1024, 1024};
                    ::setrlimit(RLIMIT_FSIZE, &limit);
                    std::signal(SIGXFSZ, SIG_IGN);
                });
            };
        }
        const Run r
            = godtool({QStringLiteral("encode"), QStringLiteral("--shift"), QStringLiteral("3"), in, out}, setUp);
        QCOMPARE(r.code, 1);
        const QByteArray expected = message.replace("%1", QFile::encodeName(in)).replace("%2", QFile::encodeName(out));
        QVERIFY2(r.err.contains(expected), r.err.constData());
        QVERIFY(!QFile::exists(out));
    }
};

QTEST_GUILESS_MAIN(TestGodtool)
#include "test_godtool.moc"
