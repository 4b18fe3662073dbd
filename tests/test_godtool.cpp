#include "formats/StoredText.h"
#include "testsupport.h"

#include <QDir>
#include <QProcess>
#include <QtTest>

namespace {
struct Run {
    int code = -1;
    QByteArray out;
    QByteArray err;
};

Run godtool(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(GODTOOL), args);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
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
        QTest::newRow("unknown command") << QStringList{QStringLiteral("frob")} << QByteArray("unknown command");
        QTest::newRow("no shift") << QStringList{QStringLiteral("decode"), QStringLiteral("x")} << QByteArray("--shift");
        QTest::newRow("bad shift") << QStringList{QStringLiteral("decode"), QStringLiteral("--shift"), QStringLiteral("x"), QStringLiteral("f")}
                                   << QByteArray("--shift");
        QTest::newRow("missing input") << QStringList{QStringLiteral("decode"), QStringLiteral("--shift"), QStringLiteral("3"),
                                                      QStringLiteral("/nonexistent/000.god")}
                                       << QByteArray("no such file");
        QTest::newRow("missing encode input")
            << QStringList{QStringLiteral("encode"), QStringLiteral("--shift"), QStringLiteral("3"),
                           QStringLiteral("/nonexistent/a.txt"), QStringLiteral("/tmp/never-written.god")}
            << QByteArray("no such file");
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
        QCOMPARE(godtool({QStringLiteral("encode"), QStringLiteral("--shift"), QString::number(shift), src, stored}).code, 0);
        QVERIFY(!testsupport::readFile(stored).contains('\r'));
        QCOMPARE(godtool({QStringLiteral("decode"), QStringLiteral("--shift"), QString::number(shift), stored, back}).code, 0);
        QString expected = text;
        expected.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
        QCOMPARE(QString::fromUtf8(testsupport::readFile(back)), expected);

        // --page writes the GBK page file: the text followed by CR LF.
        const Run page = godtool({QStringLiteral("decode"), QStringLiteral("--shift"), QString::number(shift),
                                  QStringLiteral("--page"), stored});
        QCOMPARE(page.code, 0);
        QCOMPARE(storedtext::decodeGbk(page.out), expected + QStringLiteral("\r\n"));
    }

    // Files made elsewhere decode exactly as the program reads them.
    void decodesForeignFiles()
    {
        QTemporaryDir dir;
        const QString stored = dir.filePath(QStringLiteral("x.god"));
        QFile f(stored);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("abc\x0a\x07" "abc\r\nabc\r\n") + QByteArray(1, char(0xB0)) + QByteArray(1, char(0xFE)) + "a");
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
};

QTEST_GUILESS_MAIN(TestGodtool)
#include "test_godtool.moc"
