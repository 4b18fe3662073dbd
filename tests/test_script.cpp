// The script the texts are shown in: which one the user's language asks
// for, what the converter makes of texts written in Simplified characters,
// and what it makes of converter files it should not trust.
#include "platform/Script.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using script::Script;
using script::TextKind;

namespace {
script::Folders programData()
{
    return {QStringLiteral(PROGRAM_DIR "/opencc"), script::Folders::forProgram().system};
}

void copyFiles(const QString &from, const QString &to)
{
    for (const QString &name : QDir(from).entryList(QDir::Files))
        QFile::copy(from + QLatin1Char('/') + name, to + QLatin1Char('/') + name);
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile::remove(path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Every reading and explanation, and the instructions page's text (not its
// markup), as a session in `script` shows them.
QString convertedCorpus(Script script, bool instructions)
{
    static QHash<QPair<int, bool>, QString> converted;
    if (const auto known = converted.constFind({int(script), instructions}); known != converted.constEnd())
        return known.value();
    const script::Override session(script, programData());
    QString &out = converted[{int(script), instructions}];
    if (!instructions) {
        const QDir readings(QStringLiteral(SOURCE_DIR "/data/god/xwk"));
        for (const QString &name : readings.entryList({QStringLiteral("*.txt")}, QDir::Files)) {
            QFile file(readings.filePath(name));
            if (file.open(QIODevice::ReadOnly))
                out += script::display(QString::fromUtf8(file.readAll())) + QLatin1Char('\n');
        }
        return out;
    }
    QFile file(QStringLiteral(SOURCE_DIR "/data/god/衍枰说明.html"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    QString page = QString::fromUtf8(file.readAll());
    page.remove(QRegularExpression(QStringLiteral("<style.*</style>"), QRegularExpression::DotMatchesEverythingOption));
    for (const QString &part : page.split(QRegularExpression(QStringLiteral("<[^>]*>"))))
        out += script::display(part, TextKind::Instructions) + QLatin1Char('\n');
    return out;
}
} // namespace

class TestScript : public QObject
{
    Q_OBJECT
private slots:
    void scriptForLocale_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<Script>("expected");
        QTest::newRow("zh_TW") << "zh_TW" << Script::Taiwan;
        QTest::newRow("zh_Hant") << "zh_Hant" << Script::Taiwan;
        QTest::newRow("zh_Hant_SG") << "zh_Hant_SG" << Script::Taiwan;
        QTest::newRow("zh_HK") << "zh_HK" << Script::HongKong;
        QTest::newRow("zh_MO") << "zh_MO" << Script::HongKong;
        QTest::newRow("zh_Hans_HK") << "zh_Hans_HK" << Script::HongKong;
        QTest::newRow("zh_CN") << "zh_CN" << Script::Simplified;
        QTest::newRow("zh_SG") << "zh_SG" << Script::Simplified;
        QTest::newRow("en_HK") << "en_HK" << Script::Simplified;
        QTest::newRow("C") << "C" << Script::Simplified;
    }

    void scriptForLocale()
    {
        QFETCH(QString, locale);
        QFETCH(Script, expected);
        QCOMPARE(script::scriptFor(QLocale(locale)), expected);
    }

    void display_data()
    {
        QTest::addColumn<Script>("script");
        QTest::addColumn<TextKind>("kind");
        QTest::addColumn<QString>("simplified");
        QTest::addColumn<QString>("shown");
        const Script tw = Script::Taiwan;
        const Script hk = Script::HongKong;
        const TextKind reading = TextKind::Reading;
        const TextKind instructions = TextKind::Instructions;
        // Prose keeps its words; the instructions use the region's software words.
        QTest::newRow("software, Taiwan reading") << tw << reading << "软件与程序"
                                                  << "軟件與程序";
        QTest::newRow("software, Taiwan instructions") << tw << instructions << "软件与程序"
                                                       << "軟體與程式";
        QTest::newRow("software, Hong Kong instructions") << hk << instructions << "打印窗口，保存文件"
                                                          << "列印視窗，儲存檔案";
        // A lone 凶 is the 凶 of lots, except a fierce dog in Taiwan.
        QTest::newRow("verdict, Hong Kong") << hk << reading << "得凶卦者，断曰：凶。狗太凶"
                                            << "得凶卦者，斷曰：凶。狗太凶";
        QTest::newRow("fierce, Taiwan") << tw << reading << "凶卦。他家的狗太凶"
                                        << "凶卦。他家的狗太兇";
        QTest::newRow("quotation marks") << hk << reading << "最“和”，说‘同’"
                                         << "最「和」，説『同』";
        QTest::newRow("simplified session") << Script::Simplified << reading << "衍枰说明：软件“和”"
                                            << "衍枰说明：软件“和”";
    }

    void display()
    {
        QFETCH(Script, script);
        QFETCH(TextKind, kind);
        QFETCH(QString, simplified);
        QFETCH(QString, shown);
        const script::Override session(script, programData());
        QCOMPARE(script::current(), script);
        QCOMPARE(script::display(simplified, kind), shown);
    }

    // Converter files the program must not trust, in the working folder,
    // the program's folder or OpenCC's: the session is wholly Traditional
    // and right, or wholly Simplified, within the time limit.
    void untrustedFiles_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<Script>("shown");
        QTest::newRow("planted in the working folder") << "working folder" << Script::Taiwan;
        QTest::newRow("truncated table") << "truncated" << Script::Simplified;
        QTest::newRow("same size, other content") << "same size" << Script::Simplified;
        // Bytes changed where the trie library reading it crashes.
        QTest::newRow("mutated table") << "mutated" << Script::Simplified;
        QTest::newRow("FIFO for a table") << "fifo" << Script::Simplified;
        QTest::newRow("table past the size bound") << "oversized" << Script::Simplified;
        QTest::newRow("dictionary swapping 吉 and 凶") << "swapped" << Script::Simplified;
        QTest::newRow("a path instead of a name") << "path" << Script::Simplified;
        QTest::newRow("no program data") << "no program data" << Script::Simplified;
    }

    void untrustedFiles()
    {
        QFETCH(QString, damage);
        QFETCH(Script, shown);
        QTemporaryDir work, program, system;
        copyFiles(programData().program, program.path());
        copyFiles(programData().system, system.path());
        const QString table = system.filePath(QStringLiteral("TWVariants.ocd2"));
        QFile tableFile(table);
        QVERIFY(tableFile.open(QIODevice::ReadOnly));
        const QByteArray tableBytes = tableFile.readAll();
        tableFile.close();
        if (damage == QLatin1String("working folder")) {
            // What OpenCC on its own would read first: a FIFO, a truncated
            // table and the program's files with 吉 and 凶 swapped.
            QCOMPARE(::mkfifo(QFile::encodeName(work.filePath(QStringLiteral("STPhrases.ocd2"))), 0600), 0);
            writeFile(work.filePath(QStringLiteral("TWVariants.ocd2")), tableBytes.left(536));
            copyFiles(program.path(), work.path());
            writeFile(work.filePath(QStringLiteral("YanpingTWVariants.txt")), "吉\t凶\n凶\t吉\n");
        } else if (damage == QLatin1String("truncated")) {
            writeFile(table, tableBytes.left(2000));
        } else if (damage == QLatin1String("same size")) {
            writeFile(table, QByteArray(tableBytes.size(), '\x5a'));
        } else if (damage == QLatin1String("mutated")) {
            QByteArray bytes = tableBytes;
            const int at[] = {1140, 2129, 4098, 3908, 1759, 4036, 3233, 57};
            const char value[] = "\x20\x3c\xe6\xc2\x30\x0e\xdd\xe4";
            for (int i = 0; i < 8; ++i)
                bytes[std::min<qsizetype>(at[i], bytes.size() - 1)] = value[i];
            writeFile(table, bytes);
        } else if (damage == QLatin1String("fifo")) {
            QFile::remove(table);
            QCOMPARE(::mkfifo(QFile::encodeName(table), 0600), 0);
        } else if (damage == QLatin1String("oversized")) {
            QFile big(system.filePath(QStringLiteral("STCharacters.ocd2")));
            QVERIFY(big.open(QIODevice::ReadWrite) && big.resize(40 * 1024 * 1024));
        } else if (damage == QLatin1String("swapped")) {
            writeFile(program.filePath(QStringLiteral("YanpingTWVariants.txt")), "吉\t凶\n凶\t吉\n");
        } else if (damage == QLatin1String("path")) {
            QFile config(program.filePath(QStringLiteral("yanping-tw.json")));
            QVERIFY(config.open(QIODevice::ReadOnly));
            const QByteArray text = config.readAll().replace("\"TWVariants.ocd2\"", "\"../TWVariants.ocd2\"");
            config.close();
            writeFile(config.fileName(), text);
        } else if (damage == QLatin1String("no program data")) {
            QVERIFY(QDir(program.path()).removeRecursively());
        }

        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(work.path()));
        QElapsedTimer clock;
        clock.start();
        const script::Override session(Script::Taiwan, {program.path(), system.path()});
        Script settled = Script::HongKong;
        QObject context;
        script::whenSettled(&context, [&settled](Script s) { settled = s; });
        const Script reported = script::current();
        const QString reading = script::display(QStringLiteral("断曰：吉。大凶"));
        const QString page = script::display(QStringLiteral("保存文件"), TextKind::Instructions);
        QVERIFY(QDir::setCurrent(previous));
        QVERIFY2(clock.elapsed() < script::kLoadLimitMs + 500, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(reported, shown);
        const bool traditional = shown == Script::Taiwan;
        QCOMPARE(reading, traditional ? QStringLiteral("斷曰：吉。大凶") : QStringLiteral("断曰：吉。大凶"));
        QCOMPARE(page, traditional ? QStringLiteral("儲存檔案") : QStringLiteral("保存文件"));
        QTRY_COMPARE(settled, shown);
    }

    // Every reading, explanation and the instructions as converted, per
    // region: one row per kind of fault the converter's tables make.
    void corpus_data()
    {
        QTest::addColumn<Script>("script");
        QTest::addColumn<bool>("instructions");
        QTest::addColumn<bool>("present"); // every pattern must match, or none may
        QTest::addColumn<QStringList>("patterns");
        const QStringList divination {QStringLiteral("[凡再重照]佔|佔[卜法前後畢過卦訖禱]|佔得[吉凶大小一這卦]")};
        const QStringList quotes {QStringLiteral("[“”‘’]")};
        const QStringList wrong {
            QStringLiteral("別隻|隻只|當麵|當麪|婆母后|分明瞭|鬱郁|溢位|文字錢|全域性|曹衝|遊酢|慾入|出徵|萬神鹹"),
            QStringLiteral("水將幹|踏實幹淨|比干等|若干勁|歸[裡裏]|焰卷|風高卷|排程|社群|迴音|自制的")};
        for (const Script script : {Script::Taiwan, Script::HongKong}) {
            const char *region = script == Script::Taiwan ? "Taiwan" : "Hong Kong";
            for (const bool instructions : {false, true}) {
                const QByteArray part = QByteArray(region) + (instructions ? ", instructions" : ", readings");
                QTest::newRow(part + ": 占 of divination") << script << instructions << false << divination;
                QTest::newRow(part + ": quotation marks") << script << instructions << false << quotes;
                QTest::newRow(part + ": wrong words") << script << instructions << false << wrong;
            }
            QTest::newRow(QByteArray(region) + ": names survive")
                << script << false << true << QStringList {QStringLiteral("曹沖稱象"), QStringLiteral("游酢")};
        }
        QTest::newRow("Taiwan: software words")
            << Script::Taiwan << true << false << QStringList {QStringLiteral("窗口|打印|列表|計算機|回車")};
        QTest::newRow("Hong Kong: software words")
            << Script::HongKong << true << false
            << QStringList {QStringLiteral("程序|窗口|文件夾|保存|打印|菜單|鼠標|內存|設置|文檔|計算機|回車")};
    }

    void corpus()
    {
        QFETCH(Script, script);
        QFETCH(bool, instructions);
        QFETCH(bool, present);
        QFETCH(QStringList, patterns);
        const QString text = convertedCorpus(script, instructions);
        QVERIFY(text.size() > 10000);
        for (const QString &pattern : patterns) {
            const QRegularExpressionMatch m = QRegularExpression(pattern).match(text);
            const QString context
                = m.hasMatch() ? text.mid(std::max<qsizetype>(m.capturedStart() - 12, 0), 30) : pattern;
            QVERIFY2(m.hasMatch() == present, qPrintable(context));
        }
    }
};

QTEST_GUILESS_MAIN(TestScript)
#include "test_script.moc"
