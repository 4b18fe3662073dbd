// The script the texts are shown in: which one the user's language asks
// for, and what the converter makes of texts written in Simplified
// characters.
#include "platform/FirstScreenTexts.h"
#include "platform/Script.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>

using script::Script;

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
        QTest::addColumn<QString>("data"); // "": OpenCC's own; otherwise a broken installation
        QTest::addColumn<QString>("simplified");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<Script>("reported");
        const Script tw = Script::Taiwan;
        const Script hk = Script::HongKong;
        const Script cn = Script::Simplified;
        QTest::newRow("software, Taiwan") << tw << ""
                                          << "软件"
                                          << "軟體" << tw;
        QTest::newRow("software, Hong Kong") << hk << ""
                                             << "软件"
                                             << "軟件" << hk;
        QTest::newRow("instructions, Taiwan") << tw << ""
                                              << "衍枰说明"
                                              << "衍枰說明" << tw;
        QTest::newRow("instructions, Hong Kong") << hk << ""
                                                 << "衍枰说明"
                                                 << "衍枰説明" << hk;
        QTest::newRow("memory, Hong Kong") << hk << ""
                                           << "内存不足"
                                           << "內存不足" << hk;
        QTest::newRow("about, with its access key") << tw << ""
                                                    << "关于(&I)"
                                                    << "關於(&I)" << tw;
        QTest::newRow("reading heading") << tw << ""
                                         << "    【零上·零中·三下】　千顷荒畴\r\n    断曰：凶\r\n"
                                         << "    【零上·零中·三下】　千頃荒疇\r\n    斷曰：凶\r\n"
                                         << tw;
        // A lone 凶 stays the 凶 of 吉凶 (the converter's tables would give 兇).
        QTest::newRow("verdict, Hong Kong") << hk << ""
                                            << "得凶卦者，断曰：凶"
                                            << "得凶卦者，斷曰：凶" << hk;
        QTest::newRow("verse line") << hk << ""
                                    << "        荒山深处玉光寒，"
                                    << "        荒山深處玉光寒，" << hk;
        QTest::newRow("simplified session") << cn << ""
                                            << "衍枰说明：软件"
                                            << "衍枰说明：软件" << cn;
        QTest::newRow("no configuration") << tw << "missing configuration"
                                          << "衍枰说明"
                                          << "衍枰说明" << cn;
        QTest::newRow("no dictionary") << hk << "missing dictionary"
                                       << "衍枰说明"
                                       << "衍枰说明" << cn;
    }

    void display()
    {
        QFETCH(Script, script);
        QFETCH(QString, data);
        QFETCH(QString, simplified);
        QFETCH(QString, shown);
        QFETCH(Script, reported);
        QTemporaryDir dir;
        QString config;
        if (data == QLatin1String("missing configuration")) {
            config = dir.filePath(QStringLiteral("s2twp.json"));
        } else if (data == QLatin1String("missing dictionary")) {
            config = dir.filePath(QStringLiteral("s2hk.json"));
            QFile file(config);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(R"({"name": "s2hk", "segmentation": {"type": "mmseg", "dict": {"type": "ocd2",
                "file": "STPhrases.ocd2"}}, "conversion_chain": [{"dict": {"type": "ocd2",
                "file": "NoSuchDictionary.ocd2"}}]})");
        }
        const script::Override session(script, config);
        QCOMPARE(script::current(), reported);
        QCOMPARE(script::display(simplified), shown);
    }

    // The first screen is shown from the build's conversions while the
    // converter loads; they must be what the converter itself makes.
    void firstScreen_data()
    {
        QTest::addColumn<Script>("script");
        QTest::newRow("Taiwan") << Script::Taiwan;
        QTest::newRow("Hong Kong") << Script::HongKong;
    }

    void firstScreen()
    {
        QFETCH(Script, script);
        for (const char *text : script::kFirstScreenTexts) {
            const QString simplified = QString::fromUtf8(text);
            QString early;
            {
                const script::Override session(script);
                QCOMPARE(script::current(), script);
                early = script::display(simplified);
            }
            // Naming the configuration leaves the table out.
            const script::Override converted(script, script::converterConfig(script));
            QCOMPARE(early, script::display(simplified));
        }
    }
};

QTEST_GUILESS_MAIN(TestScript)
#include "test_script.moc"
