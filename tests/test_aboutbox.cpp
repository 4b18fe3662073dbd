#include "app/Startup.h"
#include "messagerecorder.h"
#include "platform/Launcher.h"
#include "platform/MessageBox.h"
#include "platform/Registry.h"
#include "platform/Twips.h"
#include "platform/Version.h"
#include "shell/AboutBox.h"
#include "shell/SystemInformation.h"
#include "testsupport.h"

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QHash>
#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <cstring>

#include "fakehost.h"

using namespace testsupport;

namespace {

const QString kToolKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString kFolderKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString kNoTool = QStringLiteral("此时系统信息无效");

} // namespace

class TestAboutBox : public QObject
{
    Q_OBJECT
private slots:
    // ---- what the box shows ---------------------------------------------------------

    void texts()
    {
        testsupport::ProgramFolderFixture folder(false);
        AboutBox box(nullptr);
        QCOMPARE(box.windowTitle(), QStringLiteral("关于 衍枰占卜"));
        QCOMPARE(box.findChild<QLabel *>("titleLabel")->text(), QStringLiteral("衍枰占卜"));
        QCOMPARE(box.findChild<QLabel *>("versionLabel")->text(), QStringLiteral("版本 " YANPING_VERSION));
        QCOMPARE(box.findChild<QPushButton *>("okButton")->text(), QStringLiteral("确定"));
        QCOMPARE(box.findChild<QPushButton *>("systemInfoButton")->text(), QStringLiteral("系统信息"));

        const QString description = box.findChild<QLabel *>("descriptionLabel")->text();
        QVERIFY(description.startsWith(QStringLiteral("    方术，是中国传统文化")));
        QVERIFY(!description.startsWith(QStringLiteral("     ")));
        QVERIFY(description.endsWith(QStringLiteral("就必须了解中国古代的方术。")));
        QCOMPARE(description.size(), 4 + 66);

        const QString verse = QStringLiteral("警告：") + QString(23, QLatin1Char(' '))
            + QStringLiteral("天地备兮难量！") + QString(10, QLatin1Char(' ')) + QStringLiteral("神机妙兮莫测！")
            + QString(10, QLatin1Char(' ')) + QStringLiteral("非贤人兮莫传！") + QString(10, QLatin1Char(' '))
            + QStringLiteral("不听劝兮有凶！");
        QCOMPARE(box.findChild<QLabel *>("disclaimerLabel")->text(), verse);
        // A screen reader hears title, version and description with the
        // button that has the focus when the box opens.
        QCOMPARE(QAccessible::queryAccessibleInterface(box.findChild<QPushButton *>("okButton"))
                     ->text(QAccessible::Description),
                 QStringLiteral("衍枰占卜 版本 " YANPING_VERSION " ") + description.trimmed());
    }

    void controls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("face");
        QTest::addColumn<double>("points");
        QTest::addColumn<QColor>("colour"); // invalid: standard button colours
        QTest::addColumn<int>("alignment");
        const int left = int(Qt::AlignLeft | Qt::AlignTop);
        const int centred = int(Qt::AlignHCenter | Qt::AlignTop);
        QTest::newRow("okButton") << "okButton" << twips::rect(5535, 4455, 1500, 465) << "宋体" << 10.5 << QColor()
                                  << 0;
        QTest::newRow("systemInfoButton")
            << "systemInfoButton" << twips::rect(5535, 5535, 1485, 465) << "宋体" << 10.5 << QColor() << 0;
        QTest::newRow("disclaimerLabel") << "disclaimerLabel" << twips::rect(1575, 4185, 3855, 2025) << "楷体_GB2312"
                                         << 15.75 << QColor(0, 0, 0) << left;
        QTest::newRow("titleLabel") << "titleLabel" << twips::rect(1800, 225, 4845, 600) << "楷体_GB2312" << 26.25
                                    << QColor(255, 0, 0) << centred;
        QTest::newRow("versionLabel") << "versionLabel" << twips::rect(1800, 855, 4845, 465) << "仿宋_GB2312" << 15.75
                                      << QColor(255, 0, 0) << centred;
        QTest::newRow("descriptionLabel")
            << "descriptionLabel" << twips::rect(480, 2160, 7725, 1890) << "隶书" << 21.75 << QColor(0, 0, 255) << left;
    }

    void controls()
    {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(QString, face);
        QFETCH(double, points);
        QFETCH(QColor, colour);
        QFETCH(int, alignment);
        AboutBox box(nullptr);
        auto *w = box.findChild<QWidget *>(name);
        QVERIFY(w);
        QCOMPARE(w->parentWidget(), &box);
        QCOMPARE(w->geometry(), geometry);
        QCOMPARE(w->font().family(), face);
        QCOMPARE(w->font().pointSizeF(), points);
        QVERIFY(!w->font().bold());
        QVERIFY(!w->font().italic());
        if (auto *label = qobject_cast<QLabel *>(w)) {
            QCOMPARE(label->palette().color(QPalette::WindowText), colour);
            QCOMPARE(int(label->alignment()), alignment);
            QVERIFY(label->wordWrap());
            QVERIFY(!label->autoFillBackground());
        }
    }

    void dialogFrame()
    {
        QMainWindow owner;
        AboutBox box(&owner);
        QCOMPARE(box.parentWidget(), &owner);
        QVERIFY(box.isModal());
        QCOMPARE(box.size(), QSize(578, 432)); // 8670 x 6480 twips
        QCOMPARE(box.minimumSize(), box.maximumSize());
        const Qt::WindowFlags flags = box.windowFlags();
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!box.windowIcon().isNull());
        auto *ok = box.findChild<QPushButton *>("okButton"), *info = box.findChild<QPushButton *>("systemInfoButton");
        QVERIFY(ok->isDefault());
        QVERIFY(!info->isDefault());
        QCOMPARE(ok->nextInFocusChain(), info);
    }

    void disclaimerShowsFiveLines()
    {
        // The runs of spaces put each verse on a line of its own.
        AboutBox box(nullptr);
        const QLabel *verse = box.findChild<QLabel *>("disclaimerLabel");
        const QFontMetrics fm(verse->font());
        const QRect used = fm.boundingRect(QRect(0, 0, verse->width(), 10000),
                                           Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, verse->text());
        QCOMPARE(qRound(double(used.height()) / fm.lineSpacing()), 5);
    }

    void labelsAreTransparent()
    {
        AboutBox box(nullptr);
        QPixmap magenta(box.size());
        magenta.fill(QColor(255, 0, 255));
        box.setBackground(magenta);
        const QImage image = box.grab().toImage();
        // Empty corners of the labels show the picture behind them.
        for (const char *name : {"titleLabel", "versionLabel", "descriptionLabel", "disclaimerLabel"}) {
            const QLabel *label = box.findChild<QLabel *>(QLatin1String(name));
            const QPoint corner = label->geometry().bottomRight() - QPoint(2, 2);
            QCOMPARE(image.pixelColor(corner), QColor(255, 0, 255));
        }
        // The picture is drawn from the top-left corner.
        QCOMPARE(image.pixelColor(1, 1), QColor(255, 0, 255));
    }

    void opensWithoutThePicture()
    {
        testsupport::ProgramFolderFixture folder(false);
        testsupport::MessageRecorder messages;
        AboutBox box(nullptr);
        box.show();
        QVERIFY(box.isVisible());
        QVERIFY(box.background().isNull());
        QVERIFY(messages.texts.isEmpty());
        QCOMPARE(box.findChild<QLabel *>("versionLabel")->text(), QStringLiteral("版本 " YANPING_VERSION));
    }

    // ---- closing -----------------------------------------------------------------------

    void closing_data()
    {
        QTest::addColumn<int>("key"); // 0: a click on the OK button
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
        QTest::newRow("Esc") << int(Qt::Key_Escape);
        QTest::newRow("click") << 0;
    }

    void closing()
    {
        QFETCH(int, key);
        QMainWindow owner;
        owner.show();
        QPointer<AboutBox> box = new AboutBox(&owner);
        QSignalSpy pressed(box->findChild<QPushButton *>("okButton"), &QPushButton::clicked);
        bool sent = false;
        QTimer::singleShot(0, box, [&] {
            QVERIFY(box->isVisible());
            QCOMPARE(QApplication::activeModalWidget(), box.data());
            if (key)
                QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : box.data(), Qt::Key(key));
            else
                QTest::mouseClick(box->findChild<QPushButton *>("okButton"), Qt::LeftButton);
            sent = true;
        });
        // Should the box not close, this ends the wait and the test fails.
        bool stuck = false;
        QTimer::singleShot(3000, box, [&] {
            stuck = true;
            box->done(-1);
        });
        box->exec();
        QVERIFY(sent);
        QVERIFY(!stuck);
        QVERIFY(!box->isVisible());
        QCOMPARE(pressed.count(), 1); // Esc and Enter press the OK button
        delete box;
    }

    // ---- starting the system-information tool ----------------------------------------------

    void startSysInfo_data()
    {
        QTest::addColumn<int>("firstType"); // 0: no first entry
        QTest::addColumn<QByteArray>("firstValue");
        QTest::addColumn<bool>("secondEntry");
        QTest::addColumn<bool>("toolInFolder");
        QTest::addColumn<bool>("launchWorks");
        QTest::addColumn<QString>("launched"); // "<folder>" stands for the temporary folder
        QTest::addColumn<bool>("message");
        QTest::newRow("full path, started unchecked") << int(registry::kTypeText) << withNul("/nowhere/msinfo32")
                                                      << true << true << true << "/nowhere/msinfo32" << false;
        QTest::newRow("full path that does not start") << int(registry::kTypeText) << withNul("/nowhere/msinfo32")
                                                       << false << false << false << "/nowhere/msinfo32" << true;
        QTest::newRow("full path of another type")
            << int(registry::kTypeBinary) << QByteArray("\x01", 1) << true << true << false << "" << true;
        QTest::newRow("folder holding the tool")
            << 0 << QByteArray() << true << true << true << "<folder>/MSINFO32.EXE" << false;
        QTest::newRow("folder without the tool") << 0 << QByteArray() << true << false << true << QString() << true;
        QTest::newRow("no entries") << 0 << QByteArray() << false << false << true << QString() << true;
    }

    void startSysInfo()
    {
        QFETCH(int, firstType);
        QFETCH(QByteArray, firstValue);
        QFETCH(bool, secondEntry);
        QFETCH(bool, toolInFolder);
        QFETCH(bool, launchWorks);
        QFETCH(QString, launched);
        QFETCH(bool, message);

        QTemporaryDir folder;
        if (toolInFolder)
            writeProgram(folder.path(), QStringLiteral("MSINFO32.EXE"));
        FakeRegistry fake;
        if (firstType)
            fake.set(registry::kLocalMachine, kToolKey, QStringLiteral("PATH"), quint32(firstType), firstValue);
        if (secondEntry)
            fake.set(registry::kLocalMachine, kFolderKey, QStringLiteral("MSINFO"), registry::kTypeText,
                     withNul(folder.path().toLocal8Bit()));
        const registry::Override use(&fake);
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(folder.path())); // none of the desktop's tools
        LaunchRecorder launches(launchWorks);
        testsupport::MessageRecorder messages;

        AboutBox box(nullptr);
        box.show();
        QTest::mouseClick(box.findChild<QPushButton *>("systemInfoButton"), Qt::LeftButton);
        qputenv("PATH", path);

        if (launched.isNull())
            QVERIFY(launches.started.isEmpty());
        else
            QCOMPARE(launches.started,
                     QStringList {QString(launched).replace(QStringLiteral("<folder>"), folder.path())});
        QCOMPARE(messages.texts, message ? QStringList {kNoTool} : QStringList());
        if (message)
            QCOMPARE(messages.titles, QStringList {QStringLiteral("衍枰占卜")});
        QVERIFY(box.isVisible()); // the box stays open either way
        QVERIFY(fake.openHandles.isEmpty());

        // The two lookups, in order, and the second only when the first failed.
        QStringList expected {kToolKey};
        if (!firstType)
            expected.append(kFolderKey);
        QCOMPARE(fake.openedPaths, expected);
    }

#ifndef Q_OS_WIN
    void toolFoundOnThePath_data()
    {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("found"); // empty: none
        QTest::newRow("hardinfo2 first") << QStringList {"gnome-system-monitor", "hardinfo", "hardinfo2"}
                                         << "hardinfo2";
        QTest::newRow("hardinfo before kinfocenter") << QStringList {"kinfocenter", "hardinfo"} << "hardinfo";
        QTest::newRow("kinfocenter before the monitor")
            << QStringList {"gnome-system-monitor", "kinfocenter"} << "kinfocenter";
        QTest::newRow("the monitor last") << QStringList {"gnome-system-monitor"} << "gnome-system-monitor";
        QTest::newRow("none") << QStringList {"top"} << QString();
    }

    void toolFoundOnThePath()
    {
        QFETCH(QStringList, installed);
        QFETCH(QString, found);
        QTemporaryDir bin;
        for (const QString &name : installed)
            writeProgram(bin.path(), name);
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()));
        const std::optional<QString> tool = systemInformationTool();
        qputenv("PATH", oldPath);
        QCOMPARE(tool.has_value(), !found.isEmpty());
        QCOMPARE(tool.value_or(QString()), found.isEmpty() ? QString() : bin.filePath(found));
    }

    void systemToolStartedFromTheAboutBox()
    {
        QTemporaryDir bin;
        const QString tool = writeProgram(bin.path(), QStringLiteral("kinfocenter"));
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()));
        LaunchRecorder launches;
        testsupport::MessageRecorder messages;
        AboutBox box(nullptr);
        box.startSystemInformation();
        qputenv("PATH", oldPath);
        QCOMPARE(launches.started, QStringList {tool});
        QVERIFY(messages.texts.isEmpty());
    }
#endif
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    prepareApplication(app);
    TestAboutBox test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_aboutbox.moc"
