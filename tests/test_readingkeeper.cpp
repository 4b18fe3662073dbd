#include "app/MainWindow.h"
#include "app/Startup.h"
#include "divination/DivinationSession.h"
#include "divination/DivinationWindow.h"
#include "divination/ReadingKeeper.h"
#include "divination/ReadingModel.h"
#include "divination/TextPane.h"
#include "formats/StoredText.h"
#include "mainwindowfixture.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "testsupport.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QImageReader>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScopeGuard>
#include <QToolButton>
#include <QtTest>
#include <optional>

#include <sys/resource.h>

// Keeping a reading: the context menu's entries and the shortcuts in every
// state of the divination window, the file the save dialog proposes, and
// what gets written.
class TestReadingKeeper : public QObject
{
    Q_OBJECT

    std::unique_ptr<testsupport::MainWindowFixture> fixture;
    MainWindow *mainWindow = nullptr;
    DivinationWindow *w = nullptr;
    QTemporaryDir config; // where Qt's dialogs would keep their settings
    std::optional<hostclock::Override> pinnedClock;

    void choose(int u, int m, int l)
    {
        if (w->findChild<QComboBox *>("countSelector")->isHidden())
            w->findChild<QPushButton *>("woodenButton")->click();
        const int position = reading::entryPosition(u, m, l);
        w->findChild<QComboBox *>("countSelector")->setCurrentIndex(position);
        emit w->findChild<QComboBox *>("countSelector")->activated(position);
    }

    // Replaces a reading or detail file by a text of that many short lines.
    void storeLines(const QString &file, int lines)
    {
        QStringList text;
        for (int i = 1; i <= lines; ++i)
            text << QStringLiteral("    第%1行：试写的签文。").arg(i);
        const storedtext::EncodeResult stored
            = storedtext::encode(text.join(QStringLiteral("\r\n")), storedtext::kReadingShift, false);
        QVERIFY(stored.ok);
        fixture->folder.writeFile(QStringLiteral("god/xwk/") + file + QStringLiteral(".god"), stored.bytes);
    }

private slots:
    void initTestCase()
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        pinnedClock.emplace(QDateTime(QDate(2026, 12, 7), QTime(14, 35)));
    }
    void cleanupTestCase() { pinnedClock.reset(); }

    void init()
    {
        fixture = std::make_unique<testsupport::MainWindowFixture>();
        mainWindow = fixture->window.get();
        QVERIFY(QTest::qWaitForWindowActive(mainWindow));
        mainWindow->showDivinationWindow();
        w = mainWindow->divinationWindow();
        QVERIFY(w);
    }
    void cleanup()
    {
        QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
        fixture.reset();
        mainWindow = nullptr;
    }

    void keepReading_data()
    {
        QTest::addColumn<QString>("state"); // welcome, wooden, computer, reading, computer reading, detail
        QTest::addColumn<QString>("counts"); // the throw chosen, as a key
        QTest::addColumn<int>("lines"); // lines of the text shown, or 0 for the real one
        QTest::addColumn<bool>("enabled"); // both entries and shortcuts work
        QTest::addColumn<QString>("proposed"); // the save dialog's file name
        // The name chosen, in a folder of the test's own: "locked/" read-only,
        // "full/" with no room past 10 kB, "gone/" a dangling link; "print:"
        // as the print dialog's output file; "old": an earlier slip stands
        // under the name written.
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QSize>("picture"); // a PNG's size, or none for a PDF
        QTest::addColumn<int>("pages"); // 0 when nothing is to be written
        QTest::addColumn<QString>("message");

        const QSize pdf;
        const QString zh = QStringLiteral("zh_CN");
        QTest::newRow("welcome") << "welcome"
                                 << "000" << 0 << false << ""
                                 << "" << zh << pdf << 0 << "";
        QTest::newRow("wooden etiquette") << "wooden"
                                          << "000" << 0 << false << ""
                                          << "" << zh << pdf << 0 << "";
        QTest::newRow("computer etiquette") << "computer"
                                            << "000" << 0 << false << ""
                                            << "" << zh << pdf << 0 << "";
        QTest::newRow("reading 203 as PDF") << "reading"
                                            << "203" << 10 << true << "衍枰占卜 203 2026-12-07.pdf"
                                            << "203.pdf" << zh << pdf << 1 << "";
        QTest::newRow("computer reading 000 as A4 picture") << "computer reading"
                                                            << "000" << 10 << true << "衍枰占卜 000 2026-12-07.pdf"
                                                            << "000.png" << zh << QSize(1240, 1754) << 1 << "";
        QTest::newRow("reading 444 as Letter picture") << "reading"
                                                       << "444" << 10 << true << "衍枰占卜 444 2026-12-07.pdf"
                                                       << "444.PNG"
                                                       << "en_US" << QSize(1275, 1650) << 1 << "";
        QTest::newRow("detailed explanation, no suffix") << "detail"
                                                         << "122" << 10 << true << "衍枰占卜 122 2026-12-07.pdf"
                                                         << "详解" << zh << pdf << 1 << "";
        QTest::newRow("long reading as PDF") << "reading"
                                             << "203" << 50 << true << "衍枰占卜 203 2026-12-07.pdf"
                                             << "long.pdf" << zh << pdf << 2 << "";
        QTest::newRow("long detailed explanation as picture") << "detail"
                                                              << "122" << 50 << true << "衍枰占卜 122 2026-12-07.pdf"
                                                              << "long.png" << zh << QSize(1240, 2 * 1754) << 2 << "";
        QTest::newRow("real reading 312, read-only folder") << "reading"
                                                            << "312" << 0 << true << "衍枰占卜 312 2026-12-07.pdf"
                                                            << "locked/312.pdf" << zh << pdf << 0 << "没有权限";
        const QString full = QStringLiteral("磁盘已满");
        QTest::newRow("picture, disk full") << "reading"
                                            << "203" << 10 << true << "衍枰占卜 203 2026-12-07.pdf"
                                            << "full/203.png" << zh << QSize(1240, 1754) << 0 << full;
        QTest::newRow("PDF over an earlier slip, disk full") << "reading"
                                                             << "203" << 10 << true << "衍枰占卜 203 2026-12-07.pdf"
                                                             << "full/old.pdf" << zh << pdf << 0 << full;
        QTest::newRow("printed to a file over an earlier slip, disk full")
            << "reading"
            << "203" << 10 << true << "衍枰占卜 203 2026-12-07.pdf"
            << "print:full/old.pdf" << zh << pdf << 0 << full;
        QTest::newRow("printed to a file") << "reading"
                                           << "203" << 10 << true << "衍枰占卜 203 2026-12-07.pdf"
                                           << "print:printed.pdf" << zh << pdf << 1 << "";
        QTest::newRow("other suffix beside an earlier slip of the longer name")
            << "reading"
            << "203" << 10 << true << "衍枰占卜 203 2026-12-07.pdf"
            << "old.txt" << zh << pdf << 0 << "";
        QTest::newRow("dangling link") << "reading"
                                       << "203" << 10 << true << "衍枰占卜 203 2026-12-07.pdf"
                                       << "gone/203.pdf" << zh << pdf << 0 << "文件未找到";
        QTest::newRow("picture of more than ten pages")
            << "detail"
            << "122" << 600 << true << "衍枰占卜 122 2026-12-07.pdf"
            << "long.png" << zh << QSize(1240, 1754) << 0 << "签文超过 10 页，不能存为图片，请存为 PDF 文档。";
    }

    void keepReading()
    {
        QFETCH(QString, state);
        QFETCH(QString, counts);
        QFETCH(int, lines);
        QFETCH(bool, enabled);
        QFETCH(QString, proposed);
        QFETCH(QString, target);
        QFETCH(QString, locale);
        QFETCH(QSize, picture);
        QFETCH(int, pages);
        QFETCH(QString, message);
        QLocale::setDefault(QLocale(locale));
        const int u = counts.at(0).digitValue(), m = counts.at(1).digitValue(), l = counts.at(2).digitValue();

        if (lines > 0)
            storeLines(state == QLatin1String("detail") ? counts + QLatin1Char('1') : counts, lines);
        if (state == QLatin1String("wooden"))
            w->findChild<QPushButton *>("woodenButton")->click();
        if (state == QLatin1String("computer") || state == QLatin1String("computer reading"))
            w->findChild<QPushButton *>("computerButton")->click();
        if (state == QLatin1String("computer reading"))
            w->findChild<QPushButton *>("computerButton")->click(); // the prayer ends at once: 0/0/0
        if (state == QLatin1String("reading") || state == QLatin1String("detail"))
            choose(u, m, l);
        if (state == QLatin1String("detail")) {
            QVERIFY(w->findChild<QPushButton *>("detailButton")->isEnabled());
            w->findChild<QPushButton *>("detailButton")->click();
            QCOMPARE(w->session()->shown(), DivinationSession::Shown::Detail);
        }

        // The pane's own entries, a separator, then saving and printing.
        const std::unique_ptr<QMenu> menu(w->findChild<ReadingKeeper *>()->createContextMenu(QPoint(5, 5)));
        const QList<QAction *> entries = menu->actions();
        QVERIFY(entries.size() >= 5);
        QStringList own;
        for (QAction *a : entries.mid(0, entries.size() - 3))
            own << a->text();
        QVERIFY2(own.join(QLatin1Char('|')).contains(QStringLiteral("复制"))
                     && own.join(QLatin1Char('|')).contains(QStringLiteral("全选")),
                 qPrintable(own.join(QLatin1Char('|'))));
        QVERIFY(entries.at(entries.size() - 3)->isSeparator());
        QCOMPARE(entries.at(entries.size() - 2)->text(), QStringLiteral("保存签文…"));
        QCOMPARE(entries.at(entries.size() - 1)->text(), QStringLiteral("打印签文…"));
        QCOMPARE(entries.at(entries.size() - 2)->isEnabled(), enabled);
        QCOMPARE(entries.at(entries.size() - 1)->isEnabled(), enabled);

        QTemporaryDir out;
        const bool printing = target.startsWith(QLatin1String("print:"));
        const QString path = out.filePath(printing ? target.mid(6) : target);
        const QString folder = QFileInfo(path).absolutePath();
        QDir().mkpath(folder);
        const bool suffixed = QStringList {"pdf", "png"}.contains(QFileInfo(path).suffix().toLower());
        const QString written = suffixed ? path : path + QStringLiteral(".pdf");
        const QString before = target.contains(QLatin1String("old")) ? QFileInfo(written).fileName() : QString();
        if (!before.isEmpty()) {
            QFile earlier(written);
            QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write("an earlier slip") > 0);
        }
        if (target.startsWith(QLatin1String("gone/")))
            QVERIFY(QFile::link(out.filePath(QStringLiteral("nowhere")), path));
        rlimit room {};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &room), 0);
        const rlim_t unlimited = room.rlim_cur;
        const auto restore = qScopeGuard([&] { room.rlim_cur = unlimited, setrlimit(RLIMIT_FSIZE, &room); });
        room.rlim_cur = target.contains(QLatin1String("full/")) ? 10000 : unlimited;

        // Ctrl+P opens the print dialog only while a reading is shown.
        QStringList opened;
        {
            const msgbox::DialogOverride dialogs([&](QDialog &d) {
                opened << d.windowTitle() + (d.inherits("QPrintDialog") ? QString() : QStringLiteral("?"));
                auto *print = qobject_cast<QPrintDialog *>(&d);
                if (!print || !printing)
                    return int(QDialog::Rejected);
                // The dialog's own file chooser, accepted, keeps no settings.
                QTimer::singleShot(0, [] {
                    if (auto *chooser = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                        chooser->done(QDialog::Accepted);
                });
                if (auto *browse = d.findChild<QToolButton *>(QStringLiteral("fileBrowser")))
                    browse->click();
                print->printer()->setOutputFileName(path);
                return int(QDialog::Accepted);
            });
            w->readingPane()->setFocus();
            QCOMPARE(setrlimit(RLIMIT_FSIZE, &room), 0);
            QTest::keyClick(w->readingPane(), Qt::Key_P, Qt::ControlModifier);
        }
        QCOMPARE(opened, enabled ? QStringList {QStringLiteral("打印签文")} : QStringList());

        // Ctrl+S: the save dialog proposes a name; the test picks its own,
        // and declines any name the dialog comes back with.
        if (target.startsWith(QLatin1String("locked/")))
            QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        QString proposedName, title;
        QStringList again;
        bool nativeDialog = true;
        mainWindow->activateWindow(); // again, after the print dialog's file chooser
        QVERIFY(QTest::qWaitForWindowActive(mainWindow));
        {
            const msgbox::DialogOverride dialogs([&](QDialog &d) {
                auto *dialog = qobject_cast<QFileDialog *>(&d);
                if (!dialog)
                    return int(QDialog::Rejected);
                if (!title.isEmpty()) {
                    again << QFileInfo(dialog->selectedFiles().value(0)).fileName();
                    return int(QDialog::Rejected);
                }
                title = dialog->windowTitle();
                nativeDialog = !dialog->testOption(QFileDialog::DontUseNativeDialog);
                proposedName = QFileInfo(dialog->selectedFiles().value(0)).fileName();
                dialog->selectFile(path);
                return int(printing ? QDialog::Rejected : QDialog::Accepted);
            });
            QTest::keyClick(w->readingPane(), Qt::Key_S, Qt::ControlModifier);
        }
        QCOMPARE(proposedName, enabled ? proposed : QString());
        if (!enabled)
            return;
        QCOMPARE(title, QStringLiteral("保存签文"));
        QVERIFY(!nativeDialog);
        QCOMPARE(fixture->messages.texts, message.isEmpty() ? QStringList() : QStringList {message});
        fixture->messages.texts.clear();
        QVERIFY2(QDir(config.path()).isEmpty(), "the file dialog kept settings");

        QCOMPARE(again, !suffixed && !before.isEmpty() ? QStringList {before} : QStringList());
        const QStringList left = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        if (pages == 0) {
            QCOMPARE(left, before.isEmpty() ? QStringList() : QStringList {before});
            if (!before.isEmpty())
                QCOMPARE(testsupport::readFile(written), QByteArray("an earlier slip"));
            return;
        }
        QCOMPARE(left, QStringList {QFileInfo(written).fileName()}); // nothing else beside it
        const QByteArray bytes = testsupport::readFile(written);
        if (picture.isValid()) {
            QVERIFY(bytes.startsWith("\x89PNG\r\n\x1a\n"));
            QCOMPARE(QImageReader(written).size(), picture);
        } else {
            QVERIFY(bytes.startsWith("%PDF-"));
            QVERIFY(bytes.trimmed().endsWith("%%EOF"));
            static const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
            QCOMPARE(int(QString::fromLatin1(bytes).count(page)), pages);
        }
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    prepareApplication(app);
    TestReadingKeeper test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_readingkeeper.moc"
