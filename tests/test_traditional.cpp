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
#include "platform/Script.h"
#include "testsupport.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
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

    void mainWindowInTraditional_data()
    {
        QTest::addColumn<Script>("script");
        QTest::addColumn<QString>("instructions"); // menu item, viewer caption
        QTest::addColumn<QString>("selectorPrompt");
        QTest::addColumn<QString>("readingLine"); // in the reading for 2上0中3下
        QTest::addColumn<QString>("pageText"); // in the instructions page
        QTest::newRow("Taiwan") << Script::Taiwan << "衍枰說明"
                                << "選擇衍枰個數"
                                << "斷曰：凶"
                                << "新使用者入門";
        QTest::newRow("Hong Kong") << Script::HongKong << "衍枰説明"
                                   << "選擇衍枰個數"
                                   << "斷曰：凶"
                                   << "新用户入門";
    }

    void mainWindowInTraditional()
    {
        QFETCH(Script, script);
        QFETCH(QString, instructions);
        QFETCH(QString, selectorPrompt);
        QFETCH(QString, readingLine);
        QFETCH(QString, pageText);
        const script::Override session(script);
        const testsupport::ProgramFolderFixture folder;
        const testsupport::MessageRecorder messages;
        MainWindow window;
        window.show();

        QCOMPARE(window.findChild<QAction *>("instructionsAction")->text(), instructions);
        QCOMPARE(window.findChild<QAction *>("aboutAction")->text(), QStringLiteral("關於(&I)"));
        QCOMPARE(window.findChild<HomePanel *>("homePanel")
                     ->findChild<QPushButton *>(QStringLiteral("instructionsButton"))
                     ->accessibleName(),
                 instructions);

        window.showDivinationWindow();
        DivinationWindow *w = window.divinationWindow();
        QVERIFY(w);
        QCOMPARE(w->findChild<QPushButton *>("woodenButton")->text(), QStringLiteral("《木製衍枰占卜》"));
        QCOMPARE(w->findChild<QPushButton *>("computerButton")->text(), QStringLiteral("《電腦衍枰占卜》"));
        QVERIFY(w->readingPane()->text().contains(QStringLiteral("歡迎來到衍枰占卜")));
        w->findChild<QPushButton *>("woodenButton")->click();
        QCOMPARE(w->findChild<QComboBox *>("countSelector")->itemText(0), selectorPrompt);
        QCOMPARE(w->findChild<QComboBox *>("countSelector")->itemText(1), QStringLiteral("《電腦衍枰占卜》"));
        const int position = 2 + 25 * 2 + 0 + 3;
        QCOMPARE(w->findChild<QComboBox *>("countSelector")->itemText(position), QStringLiteral("2上0中3下"));
        w->findChild<QComboBox *>("countSelector")->setCurrentIndex(position);
        emit w->findChild<QComboBox *>("countSelector")->activated(position);
        const QString reading = w->readingPane()->text();
        QVERIFY2(reading.contains(readingLine), qPrintable(reading.left(80)));
        QVERIFY(reading.contains(QStringLiteral("樵夫踏過但知山")));
        QVERIFY(!reading.contains(QStringLiteral("断曰")));

        window.showInstructions();
        PageViewer *viewer = nullptr;
        for (QMdiSubWindow *sub : window.findChild<QMdiArea *>("mdiArea")->subWindowList())
            if (auto *v = qobject_cast<PageViewer *>(sub->widget()))
                viewer = v;
        QVERIFY(viewer);
        const QString page = gbk::decode(testsupport::readFile(folder.path(QStringLiteral("tem.htm"))));
        QVERIFY(page.contains(QStringLiteral("<title>") + instructions + QStringLiteral("</title>")));
        QVERIFY(page.contains(QStringLiteral("\"宋体\""))); // the style sheet names the design face as written
        QTRY_VERIFY(viewer->findChild<PageView *>("pageView")->hasDocument());
        QCOMPARE(viewer->windowTitle(), instructions);
        QVERIFY(viewer->findChild<PageView *>("pageView")
                    ->findChild<QTextBrowser *>("pageBrowser")
                    ->toPlainText()
                    .contains(pageText));
        QVERIFY(!viewer->findChild<PageView *>("pageView")
                     ->findChild<QTextBrowser *>("pageBrowser")
                     ->loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("picture/kvnda.gif")))
                     .value<QImage>()
                     .isNull());
        QVERIFY(messages.texts.isEmpty());
        window.close();
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
