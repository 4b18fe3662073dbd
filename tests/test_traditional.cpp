// The whole program in Traditional characters, as a session in Taiwan or
// Hong Kong sees it: the menu, the divination window, a reading and the
// instructions page with its pictures.
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "divination/DivinationWindow.h"
#include "divination/TextPane.h"
#include "formats/Gbk.h"
#include "messagerecorder.h"
#include "pages/PageScript.h"
#include "pages/PageView.h"
#include "pages/PageViewer.h"
#include "platform/Fonts.h"
#include "platform/Script.h"
#include "platform/Translations.h"
#include "shell/EmblemImage.h"
#include "testsupport.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDirIterator>
#include <QFontInfo>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRawFont>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTextBrowser>
#include <QtTest>

using script::Script;

class TestTraditional : public QObject
{
    Q_OBJECT
private slots:
    // The page file of the instructions: the text a reader sees converted,
    // the markup as written, GBK with references for what GBK lacks.
    void pageFileInScript_data()
    {
        QTest::addColumn<Script>("script");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("written"); // the page file, decoded from GBK
        QTest::newRow("title and body") << Script::Taiwan << "<html><title>衍枰说明</title><p>软件</p></html>"
                                        << "<html><title>衍枰說明</title><p>軟體</p></html>";
        QTest::newRow("Hong Kong wording") << Script::HongKong << "<p class=\"说明\">软件<br>说明</p>"
                                           << "<p class=\"说明\">軟件<br>説明</p>";
        QTest::newRow("style sheet and comment")
            << Script::Taiwan << "<STYLE type=\"text/css\">p { font-family: \"宋体\"; }</STYLE><!-- 说明 <b> -->说明"
            << "<STYLE type=\"text/css\">p { font-family: \"宋体\"; }</STYLE><!-- 说明 <b> -->說明";
        // Two characters whose Traditional forms GBK has no code for.
        QTest::newRow("characters GBK lacks") << Script::Taiwan << "<p>说鲃暅</p>"
                                              << "<p>說&#19518;&#143926;</p>";
        QTest::newRow("simplified session") << Script::Simplified << "<title>衍枰说明</title>软件"
                                            << "<title>衍枰说明</title>软件";
    }

    void pageFileInScript()
    {
        QFETCH(Script, script);
        QFETCH(QString, page);
        QFETCH(QString, written);
        const script::Override session(script);
        const QByteArray bytes = pagescript::pageBytes(gbk::codes(pagescript::toGbkHtml(page)));
        QCOMPARE(gbk::decode(bytes), written);
    }

    // The program's own texts come from the region's translation, the
    // readings and the instructions from the converter; a Simplified
    // session shows the texts as written.
    void mainWindowInTraditional_data()
    {
        QTest::addColumn<Script>("script");
        QTest::addColumn<QString>("instructions"); // menu item, viewer caption
        QTest::addColumn<QStringList>("captions"); // 关于, the two mode buttons, the selector's first two entries
        QTest::addColumn<QStringList>("keeping"); // the reading pane's two menu entries
        QTest::addColumn<QStringList>("etiquette"); // in the welcome text and the wooden etiquette
        QTest::addColumn<QStringList>("readingLines"); // in the reading for 2上0中3下, then what is not
        QTest::addColumn<QString>("pageText"); // in the instructions page
        const QStringList traditionalCaptions {"關於(&I)", "《木製衍枰占卜》", "《電腦衍枰占卜》", "選擇衍枰個數",
                                               "《電腦衍枰占卜》"};
        const QStringList traditionalKeeping {"儲存籤文…", "列印籤文…"};
        const QStringList traditionalEtiquette {"按照占卜禮儀", "1、凡占，先須冠帶焚香，靜坐",
                                                "萬神咸聽。」", "地十二祇",
                                                "占訖送神",     "凡有占禱，一如故事。」"};
        QTest::newRow("Taiwan") << Script::Taiwan << "衍枰說明" << traditionalCaptions << traditionalKeeping
                                << traditionalEtiquette << QStringList {"斷曰：凶", "樵夫踏過但知山", "断曰"}
                                << "新使用者入門";
        QTest::newRow("Hong Kong") << Script::HongKong << "衍枰説明" << traditionalCaptions << traditionalKeeping
                                   << traditionalEtiquette << QStringList {"斷曰：凶", "樵夫踏過但知山", "断曰"}
                                   << "新用户入門";
        QTest::newRow("Simplified") << Script::Simplified << "衍枰说明"
                                    << QStringList {"关于(&I)", "《木制衍枰占卜》", "《电脑衍枰占卜》", "选择衍枰个数",
                                                    "《电脑衍枰占卜》"}
                                    << QStringList {"保存签文…", "打印签文…"}
                                    << QStringList {"按照占卜礼仪", "1、凡占，先须冠带焚香,静坐", "万神咸听。”",
                                                    "地十二祗", "凡有占祷，一如故事。 ”"}
                                    << QStringList {"断曰：凶", "樵夫踏过但知山", "斷曰"} << "新用户入门";
    }

    void mainWindowInTraditional()
    {
        QFETCH(Script, script);
        QFETCH(QString, instructions);
        QFETCH(QStringList, captions);
        QFETCH(QStringList, keeping);
        QFETCH(QStringList, etiquette);
        QFETCH(QStringList, readingLines);
        QFETCH(QString, pageText);
        const script::Override session(script);
        QVERIFY(platform::installTranslations(script, QStringLiteral(PROGRAM_DIR "/translations")));
        const auto simplifiedAgain = qScopeGuard([] { platform::removeTranslations(); });
        const testsupport::ProgramFolderFixture folder;
        const testsupport::MessageRecorder messages;
        MainWindow window;
        window.show();

        QCOMPARE(window.instructionsAction()->text(), instructions);
        QCOMPARE(window.aboutAction()->text(), captions.at(0));
        QCOMPARE(window.homePanel()->findChild<QPushButton *>(QStringLiteral("instructionsButton"))->accessibleName(),
                 instructions);

        window.showDivinationWindow();
        DivinationWindow *w = window.divinationWindow();
        QVERIFY(w);
        QCOMPARE(w->woodenButton()->text(), captions.at(1));
        QCOMPARE(w->computerButton()->text(), captions.at(2));
        QCOMPARE(w->findChild<QAction *>(QStringLiteral("saveReading"))->text(), keeping.at(0));
        QCOMPARE(w->findChild<QAction *>(QStringLiteral("printReading"))->text(), keeping.at(1));
        QString firstScreens = w->readingPane()->text();
        w->woodenButton()->click();
        firstScreens += w->readingPane()->text();
        for (const QString &part : etiquette)
            QVERIFY2(firstScreens.contains(part), qPrintable(part));
        // Either the session's quotation marks or the other's, never both.
        QVERIFY(firstScreens.contains(QChar(u'“')) != firstScreens.contains(QChar(u'「')));
        QCOMPARE(firstScreens.contains(QChar(u'佔')), false);
        QCOMPARE(w->countSelector()->itemText(0), captions.at(3));
        QCOMPARE(w->countSelector()->itemText(1), captions.at(4));
        const int position = 2 + 25 * 2 + 0 + 3;
        QCOMPARE(w->countSelector()->itemText(position), QStringLiteral("2上0中3下"));
        w->countSelector()->setCurrentIndex(position);
        emit w->countSelector()->activated(position);
        const QString reading = w->readingPane()->text();
        QVERIFY2(reading.contains(readingLines.at(0)), qPrintable(reading.left(80)));
        QVERIFY(reading.contains(readingLines.at(1)));
        QVERIFY(!reading.contains(readingLines.at(2)));

        window.showInstructions();
        PageViewer *viewer = nullptr;
        for (QMdiSubWindow *sub : window.mdiArea()->subWindowList())
            if (auto *v = qobject_cast<PageViewer *>(sub->widget()))
                viewer = v;
        QVERIFY(viewer);
        const QString page = gbk::decode(testsupport::readFile(folder.path(QStringLiteral("tem.htm"))));
        QVERIFY(page.contains(QStringLiteral("<title>") + instructions + QStringLiteral("</title>")));
        QVERIFY(page.contains(QStringLiteral("\"宋体\""))); // the style sheet names the design face as written
        QTRY_VERIFY(viewer->pageView()->hasDocument());
        QCOMPARE(viewer->windowTitle(), instructions);
        QVERIFY(viewer->pageView()->browser()->toPlainText().contains(pageText));
        QVERIFY(!viewer->pageView()
                     ->browser()
                     ->loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("picture/kvnda.gif")))
                     .value<QImage>()
                     .isNull());
        QVERIFY(messages.texts.isEmpty());

        // A program folder without the region's translation gives a
        // Simplified session; so does a converter that fails after the first
        // screen: the whole session turns Simplified.
        QCOMPARE(platform::installTranslations(script, folder.path(QStringLiteral("translations"))),
                 script == Script::Simplified);
        platform::removeTranslations();
        QTRY_COMPARE(window.instructionsAction()->text(), QStringLiteral("衍枰说明"));
        QCOMPARE(window.homePanel()->instructionsButton()->accessibleDescription(), QStringLiteral("打开衍枰说明"));
        QCOMPARE(window.homePanel()->emblem()->toolTip(), QStringLiteral("点击停止转动"));
        window.close();
    }

    // Every character of every reading, explanation and the instructions, as
    // the session converts them, and of the program's translated texts, is in
    // the region's face for the design face, so that no other face fills in
    // among them.
    void facesCoverConvertedTexts_data()
    {
        QTest::addColumn<Script>("script");
        QTest::addColumn<QString>("face");
        QTest::addColumn<QString>("drawnIn");
        QTest::newRow("Taiwan Ming") << Script::Taiwan << QStringLiteral("宋体") << "Noto Serif CJK TC";
        QTest::newRow("Taiwan Kai") << Script::Taiwan << QStringLiteral("楷体_GB2312") << "TW-Kai";
        QTest::newRow("Hong Kong Ming") << Script::HongKong << QStringLiteral("宋体") << "Noto Serif CJK HK";
        QTest::newRow("Hong Kong Kai") << Script::HongKong << QStringLiteral("楷体_GB2312") << "TW-Kai";
    }

    void facesCoverConvertedTexts()
    {
        QFETCH(Script, script);
        QFETCH(QString, face);
        QFETCH(QString, drawnIn);
        const script::Override session(script);
        platform::useFacesFor(script);
        const auto simplifiedAgain = qScopeGuard([] { platform::useFacesFor(Script::Simplified); });
        const QFont font = platform::designFont(face, 10.5);
        QCOMPARE(QFontInfo(font).family(), QFontInfo(QFont(drawnIn)).family());
        const QRawFont drawn = QRawFont::fromFont(font);
        QDirIterator files(QStringLiteral(SOURCE_DIR "/data/god"), {QStringLiteral("*.txt"), QStringLiteral("*.html")},
                           QDir::Files, QDirIterator::Subdirectories);
        int count = 0;
        QString texts;
        for (; files.hasNext(); ++count)
            texts += script::display(QString::fromUtf8(testsupport::readFile(files.next())));
        QVERIFY(count > 125);
        const QString translations
            = QString::fromUtf8(testsupport::readFile(QStringLiteral(SOURCE_DIR "/translations/yanping_%1.ts")
                                                          .arg(script == Script::Taiwan ? "zh_TW" : "zh_HK")));
        for (const QRegularExpressionMatch &entry :
             QRegularExpression(QStringLiteral("<translation>([^<]+)</translation>")).globalMatch(translations))
            texts += entry.captured(1);
        QVERIFY(texts.contains(QStringLiteral("儲存籤文")));
        QString missing;
        for (const char32_t c : texts.toUcs4())
            if (c >= 0x20 && !drawn.supportsCharacter(c) && !missing.toUcs4().contains(c))
                missing += QString::fromUcs4(&c, 1);
        QVERIFY2(missing.isEmpty(), qPrintable(missing));
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    prepareApplication(app);
    TestTraditional test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_traditional.moc"
