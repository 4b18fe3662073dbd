#include "divination/ReadingModel.h"
#include "divination/Throw.h"
#include "formats/StoredText.h"
#include "platform/ProgramFolder.h"
#include "testsupport.h"

#include <QDir>
#include <QRegularExpression>
#include <QtTest>

class TestReadingModel : public QObject
{
    Q_OBJECT
private slots:
    void keysAndPaths_data()
    {
        QTest::addColumn<int>("u");
        QTest::addColumn<int>("m");
        QTest::addColumn<int>("l");
        QTest::addColumn<QString>("key");
        QTest::newRow("000") << 0 << 0 << 0 << QStringLiteral("000");
        QTest::newRow("203") << 2 << 0 << 3 << QStringLiteral("203");
        QTest::newRow("444") << 4 << 4 << 4 << QStringLiteral("444");
    }

    void keysAndPaths()
    {
        QFETCH(int, u);
        QFETCH(int, m);
        QFETCH(int, l);
        QFETCH(QString, key);
        testsupport::ProgramFolderFixture folder(false);
        QCOMPARE(reading::readingKey(u, m, l), key);
        QCOMPARE(reading::readingFilePath(key),
                 folder.dir.path() + QStringLiteral("/god/xwk/") + key + QStringLiteral(".god"));
        QCOMPARE(reading::detailFilePath(key),
                 folder.dir.path() + QStringLiteral("/god/xwk/") + key + QStringLiteral("1.god"));
    }

    void selectorEntries()
    {
        using Meaning = reading::Entry::Meaning;
        const QList<reading::Entry> entries = reading::selectorEntries();
        QCOMPARE(entries.size(), 127);
        QCOMPARE(entries.at(0).text, QStringLiteral("选择衍枰个数"));
        QCOMPARE(entries.at(0).meaning, Meaning::Prompt);
        QCOMPARE(entries.at(1).text, QStringLiteral("《电脑衍枰占卜》"));
        QCOMPARE(entries.at(1).meaning, Meaning::ComputerMode);
        QCOMPARE(entries.at(2).text, QStringLiteral("0上0中0下"));
        QCOMPARE(entries.at(3).text, QStringLiteral("0上0中1下"));
        QCOMPARE(entries.at(7).text, QStringLiteral("0上1中0下"));
        QCOMPARE(entries.at(27).text, QStringLiteral("1上0中0下"));
        QCOMPARE(entries.at(126).text, QStringLiteral("4上4中4下"));
        for (int u = 0; u <= 4; ++u)
            for (int m = 0; m <= 4; ++m)
                for (int l = 0; l <= 4; ++l) {
                    const int pos = reading::entryPosition(u, m, l);
                    QCOMPARE(entries.at(pos).text, reading::combinationEntry(u, m, l));
                    QCOMPARE(entries.at(pos).meaning, Meaning::Counts);
                    QCOMPARE(entries.at(pos).counts, (reading::Counts {u, m, l}));
                }
    }

    void loadReadingText()
    {
        testsupport::ProgramFolderFixture folder(false);
        QCOMPARE(reading::loadReadingText(folder.path(QStringLiteral("god/xwk/000.god"))), QString());
        folder.writeFile(QStringLiteral("god/xwk/000.god"), QByteArray());
        QCOMPARE(reading::loadReadingText(folder.path(QStringLiteral("god/xwk/000.god"))), QString());
        folder.writeFile(QStringLiteral("god/xwk/000.god"),
                         QByteArray("abc\x0a\x07"
                                    "abc\r\nabc"));
        QCOMPARE(reading::loadReadingText(folder.path(QStringLiteral("god/xwk/000.god"))),
                 QStringLiteral("def\r\ndefdef"));
    }

    void throwStep_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<float>("x");
        QTest::addColumn<int>("expected");
        // r = whole part of x * 125; the count moves by r modulo 5.
        QTest::newRow("4 + 1") << 4 << 1.0f / 125 << 0;
        QTest::newRow("4 + 2") << 4 << 2.5f / 125 << 1;
        QTest::newRow("4 + 124") << 4 << 124.5f / 125 << 3;
        QTest::newRow("x = 0") << 3 << 0.0f << 3;
        QTest::newRow("largest x below 1") << 0 << (1.0f - 1.0f / 16777216.0f) << 4;
    }

    void throwStep()
    {
        QFETCH(int, count);
        QFETCH(float, x);
        QFETCH(int, expected);
        QCOMPARE(throwing::step(count, x), expected);
    }

    void randomSourceIsUniformAndRepeatable()
    {
        int histogram[5] = {0, 0, 0, 0, 0};
        float lowest = 1, highest = 0;
        for (int i = 0; i < 50000; ++i) {
            const float x = throwing::nextRandom();
            QVERIFY(x >= 0.0f && x < 1.0f);
            lowest = qMin(lowest, x);
            highest = qMax(highest, x);
            ++histogram[throwing::step(0, x)];
        }
        for (int v : histogram)
            QVERIFY2(v > 9000 && v < 11000, qPrintable(QString::number(v)));
        QVERIFY(lowest < 0.001f && highest > 0.999f);
    }

    // Every reading source in data/ exists, stores, and loads back unchanged
    // from the built program folder.
    void allReadingsLoadBack()
    {
        testsupport::ProgramFolderFixture folder(true);
        const QDir sources(QStringLiteral(SOURCE_DIR "/data/god/xwk"));
        int readings = 0;
        int details = 0;
        const QRegularExpression heading(
            QStringLiteral("^\r\n    【([零一二三四])上·([零一二三四])中·([零一二三四])下】　\\S{4}"));
        const QString numerals = QStringLiteral("零一二三四");
        for (int u = 0; u <= 4; ++u)
            for (int m = 0; m <= 4; ++m)
                for (int l = 0; l <= 4; ++l) {
                    const QString key = reading::readingKey(u, m, l);
                    for (const QString &name : {key, key + QLatin1Char('1')}) {
                        const QString source = sources.filePath(name + QStringLiteral(".txt"));
                        if (name != key && !QFile::exists(source))
                            continue;
                        QVERIFY2(QFile::exists(source), qPrintable(source));
                        QString text = QString::fromUtf8(testsupport::readFile(source));
                        text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
                        const QString loaded = reading::loadReadingText(reading::readingFilePath(name));
                        QCOMPARE(loaded, text);
                        const auto match = heading.match(loaded);
                        QVERIFY2(match.hasMatch(), qPrintable(name));
                        QCOMPARE(numerals.indexOf(match.captured(1)), u);
                        QCOMPARE(numerals.indexOf(match.captured(2)), m);
                        QCOMPARE(numerals.indexOf(match.captured(3)), l);
                        ++(name == key ? readings : details);
                    }
                }
        QCOMPARE(readings, 125);
        QVERIFY(details >= 25);
    }
};

QTEST_GUILESS_MAIN(TestReadingModel)
#include "test_readingmodel.moc"
