#include "formats/Gbk.h"
#include "formats/StoredText.h"
#include "testsupport.h"

#include <QFile>
#include <QRandomGenerator>
#include <QtTest>

using storedtext::Codes;

namespace {
QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(char(v));
    return b;
}
} // namespace

class TestStoredText : public QObject
{
    Q_OBJECT
private slots:
    void gbkAvailable()
    {
        QVERIFY2(storedtext::gbkAvailable(), "Qt's GBK codec (ICU) is missing: stored texts cannot be read");
        QCOMPARE(GbkTable::instance().decode(0xB0A1), QChar(0x554A)); // 啊
        QCOMPARE(GbkTable::instance().encode(QChar(0x4E2D)), 0xD6D0); // 中
    }

    void decode_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("shift");
        QTest::addColumn<QString>("shown");
        QTest::newRow("abc shift 2") << QByteArray("abc") << 2 << QStringLiteral("cde");
        QTest::newRow("abc shift 3") << QByteArray("abc") << 3 << QStringLiteral("def");
        QTest::newRow("CR LF joins lines") << QByteArray("abc\r\nabc") << 2 << QStringLiteral("cdecde");
        QTest::newRow("lone CR joins lines") << QByteArray("ab\rcd") << 3 << QStringLiteral("defg");
        QTest::newRow("trailing CR LF adds nothing") << QByteArray("abc\r\n") << 2 << QStringLiteral("cde");
        QTest::newRow("11 8 become CR LF") << QByteArray("a\x0b\x08"
                                                         "b")
                                           << 2 << QStringLiteral("c\r\nd");
        QTest::newRow("10 7 become CR LF, no line end") << QByteArray("abc\x0a\x07"
                                                                      "abc")
                                                        << 3 << QStringLiteral("def\r\ndef");
        QTest::newRow("lone LF is a character") << QByteArray("a\nb") << 3 << QStringLiteral("d\re");
        // 中 is D6D0; stored lowered by 3 as D6CD.
        QTest::newRow("double-byte") << bytes({0xD6, 0xCD}) << 3 << QStringLiteral("中");
        QTest::newRow("double-byte then ascii") << bytes({0xD6, 0xCD, 'a'}) << 3 << QStringLiteral("中d");
        QTest::newRow("empty") << QByteArray() << 3 << QString();
        QTest::newRow("only line ends") << QByteArray("\r\n\r\r\n") << 3 << QString();
        // A trail byte of FE plus 3 carries into the lead byte: B0FE -> B101,
        // which names no character; the next character is unharmed.
        QTest::newRow("carry into lead byte")
            << bytes({0xB0, 0xFE, 'a'}) << 3 << (QString(QChar(QChar::ReplacementCharacter)) + QLatin1Char('d'));
        QTest::newRow("single byte pushed past 255")
            << bytes({0xFF, 'a'}) << 3 << (QString(QChar(QChar::ReplacementCharacter)) + QLatin1Char('d'));
        QTest::newRow("lead byte alone at line end")
            << bytes({'a', 0xB0, '\r', 'a'}) << 3
            << (QStringLiteral("d") + QChar(QChar::ReplacementCharacter) + QStringLiteral("d"));
    }

    void decode()
    {
        QFETCH(QByteArray, stored);
        QFETCH(int, shift);
        QFETCH(QString, shown);
        QCOMPARE(storedtext::decodeToDisplay(stored, shift), shown);
    }

    void carryReachesLeadByte()
    {
        const Codes codes = storedtext::unshift(storedtext::gather(bytes({0xB0, 0xFE, 0x81, 0xFF})), 3);
        QCOMPARE(codes, Codes({0xB101, 0x8202}));
        // A lead byte ending a range stays alone, whatever byte follows it in memory.
        QCOMPARE(gbk::codes(QByteArray::fromRawData("a\xB0\xA1", 2)), Codes({'a', 0xB0}));
    }

    void pageBytes_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QByteArray>("page");
        QTest::newRow("ascii") << QByteArray("abc") << QByteArray("cde");
        QTest::newRow("CR LF") << QByteArray("\x0b\x08") << QByteArray("\r\n");
        QTest::newRow("double-byte") << bytes({0xD6, 0xCE}) << bytes({0xD6, 0xD0});
        QTest::newRow("invalid becomes ?") << bytes({0xB0, 0xFE, 'a'}) << QByteArray("?c");
    }

    void pageBytes()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QByteArray, page);
        QCOMPARE(storedtext::toGbk(storedtext::unshift(storedtext::gather(stored), 2)), page);
    }

    void lengthLimit_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("expected");
        QByteArray lines;
        for (int i = 0; i < 400; ++i)
            lines += QByteArray(100, 'a') + "\r\n";
        QTest::newRow("40000 in lines of 100") << lines << 32800;
        QByteArray wide;
        for (int i = 0; i < 1000; ++i) {
            for (int j = 0; j < 50; ++j)
                wide += bytes({0xD6, 0xCD});
            wide += "\r";
        }
        // A double-byte character counts once: 656 lines of 50 cross the limit.
        QTest::newRow("double-byte counts once") << wide << 32800;
        QTest::newRow("first line longer than the limit") << (QByteArray(40000, 'a') + "\r\nbbb\r\nccc") << 40000;
        QTest::newRow("exactly at the limit reads one more line")
            << (QByteArray(32767, 'a') + "\r\nbbb\r\nccc") << 32770;
        QTest::newRow("one past the limit stops") << (QByteArray(32768, 'a') + "\r\nbbb") << 32768;
    }

    void lengthLimit()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, expected);
        QCOMPARE(storedtext::gather(file).size(), expected);
    }

    void readFileFailures()
    {
        testsupport::ProgramFolderFixture folder(false);
        Codes codes;
        errors::Failure failure;
        QVERIFY(!storedtext::readFile(folder.path(QStringLiteral("missing.god")), &codes, &failure));
        QCOMPARE(failure.kind, errors::Kind::FileNotFound);
        QCOMPARE(failure.description, QStringLiteral("文件未找到"));

        QVERIFY(!storedtext::readFile(folder.dir.path(), &codes, &failure));
        QCOMPARE(failure.kind, errors::Kind::PathFileAccess);

        // A file far larger than any data file is not read at all.
        const QString huge = folder.path(QStringLiteral("huge.god"));
        QFile f(huge);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(storedtext::kMaxFileBytes + 1));
        f.close();
        QVERIFY(!storedtext::readFile(huge, &codes, &failure));
        QCOMPARE(failure.kind, errors::Kind::OutOfMemory);
        QVERIFY(codes.isEmpty());

        folder.writeFile(QStringLiteral("ok.god"), "abc\r\nabc");
        QVERIFY(storedtext::readFile(folder.path(QStringLiteral("ok.god")), &codes, &failure));
        QCOMPARE(codes.size(), 6);
    }

    // A link to a regular file is read; a link to anything else is not.
    void readFileThroughLinks_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<errors::Kind>("kind"); // None: read
        QTest::newRow("regular file") << QStringLiteral("ok.god") << errors::Kind::None;
        QTest::newRow("device") << QStringLiteral("/dev/null") << errors::Kind::PathFileAccess;
        QTest::newRow("folder") << QStringLiteral(".") << errors::Kind::PathFileAccess;
        QTest::newRow("nothing") << QStringLiteral("missing.god") << errors::Kind::FileNotFound;
    }

    void readFileThroughLinks()
    {
        QFETCH(QString, target);
        QFETCH(errors::Kind, kind);
        testsupport::ProgramFolderFixture folder(false);
        folder.writeFile(QStringLiteral("ok.god"), "abc\r\nabc");
        QVERIFY(QFile::link(target, folder.path(QStringLiteral("link.god"))));
        Codes codes;
        errors::Failure failure;
        QCOMPARE(storedtext::readFile(folder.path(QStringLiteral("link.god")), &codes, &failure),
                 kind == errors::Kind::None);
        QCOMPARE(failure.kind, kind);
        QCOMPARE(codes.size(), kind == errors::Kind::None ? 6 : 0);
    }

    void everyGbkCharacterRoundTrips_data()
    {
        QTest::addColumn<int>("shift");
        QTest::newRow("documents") << 2;
        QTest::newRow("readings") << 3;
    }

    void everyGbkCharacterRoundTrips()
    {
        QFETCH(int, shift);
        const GbkTable &table = GbkTable::instance();
        QString text;
        int count = 0;
        for (quint32 code = 0x20; code <= 0xFFFF; ++code) {
            if (code == 0x7F || !table.isValid(code))
                continue;
            text.append(table.decode(code));
            ++count;
        }
        text += QStringLiteral("\r\n\n");
        QVERIFY2(count > 21000, qPrintable(QString::number(count)));
        const storedtext::EncodeResult r = storedtext::encode(text, shift, false);
        QVERIFY2(r.ok, qPrintable(r.problem));
        QVERIFY(!r.bytes.contains('\r'));
        QCOMPARE(storedtext::decodeToDisplay(r.bytes, shift), text);
    }

    void encodeConvertsNewlines()
    {
        const storedtext::EncodeResult r = storedtext::encode(QStringLiteral("一\n二\r\n三"), 3, true);
        QVERIFY(r.ok);
        QCOMPARE(storedtext::decodeToDisplay(r.bytes, 3), QStringLiteral("一\r\n二\r\n三"));
    }

    void encodeRefuses_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("shift");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("column");
        QTest::newRow("not in GBK") << QStringLiteral("ab\ncd€\u0E01") << 3 << 2 << 4;
        QTest::newRow("outside the BMP") << QStringLiteral("a\nb\nxx\U0001F600") << 3 << 3 << 3;
        QTest::newRow("would be a CR (shift 3)") << QStringLiteral("ab") + QChar(16) << 3 << 1 << 3;
        QTest::newRow("would be a CR (shift 2)") << QString(QChar(15)) << 2 << 1 << 1;
        QTest::newRow("below the shift") << QString(QChar(1)) << 2 << 1 << 1;
    }

    void encodeRefuses()
    {
        QFETCH(QString, text);
        QFETCH(int, shift);
        QFETCH(int, line);
        QFETCH(int, column);
        const storedtext::EncodeResult r = storedtext::encode(text, shift, false);
        QVERIFY(!r.ok);
        QCOMPARE(r.line, line);
        QCOMPARE(r.column, column);
        QVERIFY(!r.problem.isEmpty());
    }

    void garbageNeverCrashes()
    {
        QRandomGenerator rng(12345);
        for (int round = 0; round < 2000; ++round) {
            QByteArray b(int(rng.bounded(200)), '\0');
            for (auto &c : b)
                c = char(rng.bounded(256));
            const QString s = storedtext::decodeToDisplay(b, 2 + round % 2);
            QVERIFY(s.size() <= b.size());
            storedtext::toGbk(storedtext::unshift(storedtext::gather(b), 3));
            gbk::decode(b);
        }
    }
};

QTEST_GUILESS_MAIN(TestStoredText)
#include "test_storedtext.moc"
