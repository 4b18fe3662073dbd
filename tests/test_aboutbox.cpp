#include "platform/ProgramFolder.h"
#include "app/Startup.h"
#include "platform/Launcher.h"
#include "platform/MessageBox.h"
#include "platform/Registry.h"
#include "platform/Twips.h"
#include "shell/AboutBox.h"
#include "testsupport.h"

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

namespace {

const QString kToolKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString kFolderKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString kNoTool = QStringLiteral("此时系统信息无效");

// A registry of the test's own making, keeping the system's rules: keys
// open under a root, values come with a type and fit the caller's buffer or
// are refused, and every opened key should be closed again.
class FakeRegistry : public registry::Backend
{
public:
    struct Value {
        quint32 type = 0;
        QByteArray data;
    };

    void set(quint32 root, const QString &path, const QString &name, quint32 type, const QByteArray &data)
    {
        keys[keyId(root, path)][name.toLower()] = {type, data};
    }
    void addKey(quint32 root, const QString &path) { keys[keyId(root, path)]; }
    void deny(quint32 root, const QString &path) { denied.insert(keyId(root, path)); }

    long openKey(quint32 root, const QString &path, quint32 access, registry::Handle *key) override
    {
        const QString id = keyId(root, path);
        accessAsked.append(access);
        openedPaths.append(path);
        if (denied.contains(id))
            return registry::kAccessDenied;
        if (!keys.contains(id))
            return registry::kFileNotFound;
        const registry::Handle h = nextHandle++;
        openHandles.insert(h, id);
        *key = h;
        return registry::kSuccess;
    }

    long queryValue(registry::Handle key, const QString &name, quint32 *type, char *data, quint32 *length) override
    {
        if (!openHandles.contains(key))
            return registry::kInvalidHandle;
        queriedNames.append(name);
        const auto &values = keys[openHandles[key]];
        const auto it = values.find(name.toLower());
        if (it == values.end())
            return registry::kFileNotFound;
        const quint32 room = *length;
        *type = it->type;
        *length = quint32(it->data.size());
        if (quint32(it->data.size()) > room)
            return registry::kMoreData;
        if (data)
            std::memcpy(data, it->data.constData(), size_t(it->data.size()));
        return registry::kSuccess;
    }

    long closeKey(registry::Handle key) override
    {
        ++closes;
        return openHandles.remove(key) ? registry::kSuccess : registry::kInvalidHandle;
    }

    QHash<QString, QHash<QString, Value>> keys;
    QSet<QString> denied;
    QHash<registry::Handle, QString> openHandles;
    QList<quint32> accessAsked;
    QStringList openedPaths;
    QStringList queriedNames;
    registry::Handle nextHandle = 0x1000;
    int closes = 0;

private:
    static QString keyId(quint32 root, const QString &path)
    {
        return QString::number(root, 16) + QLatin1Char(':') + path.toLower();
    }
};

struct UseRegistry {
    explicit UseRegistry(registry::Backend *b) { registry::setReplacement(b); }
    ~UseRegistry() { registry::setReplacement(nullptr); }
};

// Records what would have been started; `works` says whether it starts.
struct LaunchRecorder {
    explicit LaunchRecorder(bool works = true)
    {
        launcher::setHook([this, works](const QString &path) {
            started.append(path);
            return works;
        });
    }
    ~LaunchRecorder() { launcher::setHook({}); }
    QStringList started;
};

QByteArray withNul(const QByteArray &b) { return b + QByteArray(1, '\0'); }

QByteArray number(quint32 v)
{
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = char((v >> (8 * i)) & 0xFF);
    return b;
}

QRect twipsRect(int left, int top, int width, int height)
{
    return {twips::toPixels(left), twips::toPixels(top), twips::toPixels(width), twips::toPixels(height)};
}

// Writes an executable script called `name` into `dir`.
QString writeProgram(const QString &dir, const QString &name)
{
    const QString path = dir + QLatin1Char('/') + name;
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write("#!/bin/sh\nexit 0\n");
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

} // namespace

class TestAbout : public QObject
{
    Q_OBJECT
private slots:
    void cleanup()
    {
        registry::setReplacement(nullptr);
        launcher::setHook({});
        msgbox::setHook({});
    }

    // ---- what the box shows ---------------------------------------------------------

    void texts()
    {
        testsupport::ProgramFolderFixture folder(false);
        AboutBox box(nullptr);
        QCOMPARE(box.windowTitle(), QStringLiteral("关于 衍枰占卜"));
        QCOMPARE(box.lblTitle->text(), QStringLiteral("衍枰占卜"));
        QCOMPARE(box.lblVersion->text(), QStringLiteral("版本 1.0.1"));
        QCOMPARE(box.cmdOK->text(), QStringLiteral("确定"));
        QCOMPARE(box.cmdSysInfo->text(), QStringLiteral("系统信息"));

        const QString description = box.lblDescription->text();
        QVERIFY(description.startsWith(QStringLiteral("    方术，是中国传统文化")));
        QVERIFY(!description.startsWith(QStringLiteral("     ")));
        QVERIFY(description.endsWith(QStringLiteral("就必须了解中国古代的方术。")));
        QCOMPARE(description.size(), 4 + 66);

        const QString verse = QStringLiteral("警告：") + QString(23, QLatin1Char(' ')) + QStringLiteral("天地备兮难量！")
                              + QString(10, QLatin1Char(' ')) + QStringLiteral("神机妙兮莫测！")
                              + QString(10, QLatin1Char(' ')) + QStringLiteral("非贤人兮莫传！")
                              + QString(10, QLatin1Char(' ')) + QStringLiteral("不听劝兮有凶！");
        QCOMPARE(box.lblDisclaimer->text(), verse);
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
        QTest::newRow("cmdOK") << "cmdOK" << twipsRect(5535, 4455, 1500, 465) << "宋体" << 10.5 << QColor() << 0;
        QTest::newRow("cmdSysInfo") << "cmdSysInfo" << twipsRect(5535, 5535, 1485, 465) << "宋体" << 10.5 << QColor()
                                    << 0;
        QTest::newRow("lblDisclaimer") << "lblDisclaimer" << twipsRect(1575, 4185, 3855, 2025) << "楷体_GB2312"
                                       << 15.75 << QColor(0, 0, 0) << left;
        QTest::newRow("lblTitle") << "lblTitle" << twipsRect(1800, 225, 4845, 600) << "楷体_GB2312" << 26.25
                                  << QColor(255, 0, 0) << centred;
        QTest::newRow("lblVersion") << "lblVersion" << twipsRect(1800, 855, 4845, 465) << "仿宋_GB2312" << 15.75
                                    << QColor(255, 0, 0) << centred;
        QTest::newRow("lblDescription") << "lblDescription" << twipsRect(480, 2160, 7725, 1890) << "隶书" << 21.75
                                        << QColor(0, 0, 255) << left;
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
        QVERIFY(box.cmdOK->isDefault());
        QVERIFY(!box.cmdSysInfo->isDefault());
        QCOMPARE(box.cmdOK->nextInFocusChain(), box.cmdSysInfo);
    }

    void disclaimerShowsFiveLines()
    {
        // The runs of spaces put each verse on a line of its own.
        AboutBox box(nullptr);
        const QFontMetrics fm(box.lblDisclaimer->font());
        const QRect room(0, 0, box.lblDisclaimer->width(), 10000);
        const QRect used = fm.boundingRect(room, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop,
                                           box.lblDisclaimer->text());
        QCOMPARE(qRound(double(used.height()) / fm.lineSpacing()), 5);
    }

    void labelsAreTransparent()
    {
        AboutBox box(nullptr);
        QPixmap magenta(box.size());
        magenta.fill(QColor(255, 0, 255));
        box.background_ = magenta;
        const QImage image = box.grab().toImage();
        // Empty corners of the labels show the picture behind them.
        for (QLabel *label : {box.lblTitle, box.lblVersion, box.lblDescription, box.lblDisclaimer}) {
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
        QCOMPARE(box.lblVersion->text(), QStringLiteral("版本 1.0.1"));
    }

    void screenshot()
    {
        testsupport::ProgramFolderFixture folder(true);
        AboutBox box(nullptr);
        box.show();
        const QString shot = QDir::temp().filePath(QStringLiteral("about-box.png"));
        box.grab().save(shot);
        qInfo("About box: %s", qPrintable(shot));
    }

    // ---- closing -----------------------------------------------------------------------

    void closing_data()
    {
        QTest::addColumn<int>("key"); // 0: a click on cmdOK
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
        QSignalSpy pressed(box->cmdOK, &QPushButton::clicked);
        bool sent = false;
        QTimer::singleShot(0, box, [&] {
            QVERIFY(box->isVisible());
            QCOMPARE(QApplication::activeModalWidget(), box.data());
            if (key)
                QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : box.data(),
                                Qt::Key(key));
            else
                QTest::mouseClick(box->cmdOK, Qt::LeftButton);
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
        QCOMPARE(pressed.count(), 1); // Esc and Enter press cmdOK
        delete box;
    }

    // ---- reading the registry ------------------------------------------------------------

    void getKeyValue_data()
    {
        QTest::addColumn<quint32>("type");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QString>("after");
        const QString before = QStringLiteral("held before");
        const QByteArray path("C:\\Program Files\\Tool\\tool.exe");
        QTest::newRow("text with its NUL") << registry::kTypeText << withNul(path) << before << true
                                           << QString::fromLatin1(path);
        QTest::newRow("text without a NUL") << registry::kTypeText << path << before << true
                                            << QString::fromLatin1(path);
        QTest::newRow("empty text") << registry::kTypeText << withNul(QByteArray()) << before << true << QString();
        QTest::newRow("number 12345") << registry::kTypeNumber << number(12345) << before << true
                                      << QStringLiteral("12345");
        QTest::newRow("number 256") << registry::kTypeNumber << number(256) << before << true << QStringLiteral("256");
        QTest::newRow("number 0") << registry::kTypeNumber << number(0) << before << true << QStringLiteral("0");
        QTest::newRow("number all ones") << registry::kTypeNumber << number(0xFFFFFFFFu) << before << true
                                         << QStringLiteral("4294967295");
        QTest::newRow("binary keeps the text") << registry::kTypeBinary << QByteArray("\x01\x02", 2) << before
                                               << true << before;
        QTest::newRow("expandable text keeps the text")
            << registry::kTypeExpandText << withNul("%SystemRoot%") << before << true << before;
        QTest::newRow("other type, empty before") << registry::kTypeMultiText << withNul("a") << QString() << true
                                                  << QString();
        QTest::newRow("1023 characters and NUL fit")
            << registry::kTypeText << withNul(QByteArray(1023, 'x')) << before << true
            << QString(1023, QLatin1Char('x'));
        QTest::newRow("1024 characters without NUL fit")
            << registry::kTypeText << QByteArray(1024, 'y') << before << true << QString(1024, QLatin1Char('y'));
        QTest::newRow("1024 characters and NUL do not fit")
            << registry::kTypeText << withNul(QByteArray(1024, 'z')) << before << false << QString();
        QTest::newRow("far too long") << registry::kTypeText << QByteArray(5000, 'z') << before << false << QString();
    }

    void getKeyValue()
    {
        QFETCH(quint32, type);
        QFETCH(QByteArray, data);
        QFETCH(QString, before);
        QFETCH(bool, result);
        QFETCH(QString, after);
        FakeRegistry fake;
        fake.set(registry::kLocalMachine, QStringLiteral("SOFTWARE\\Test"), QStringLiteral("Value"), type, data);
        UseRegistry use(&fake);
        QString received = before;
        QCOMPARE(AboutBox::GetKeyValue(registry::kLocalMachine, QStringLiteral("SOFTWARE\\Test"),
                                        QStringLiteral("Value"), received),
                 result);
        QCOMPARE(received, after);
        QCOMPARE(fake.accessAsked, QList<quint32>{0x2003Fu});
        QVERIFY(fake.openHandles.isEmpty()); // closed again, read or not
        QCOMPARE(fake.closes, 1);
    }

    void getKeyValueMissing_data()
    {
        QTest::addColumn<quint32>("root");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("closes"); // a key that was opened is closed
        QTest::newRow("no such key") << registry::kLocalMachine << "SOFTWARE\\Nothing" << "Value" << 0;
        QTest::newRow("other root") << registry::kCurrentUser << "SOFTWARE\\Test" << "Value" << 0;
        QTest::newRow("no access") << registry::kLocalMachine << "SOFTWARE\\Locked" << "Value" << 0;
        QTest::newRow("no such value") << registry::kLocalMachine << "SOFTWARE\\Test" << "Other" << 1;
    }

    void getKeyValueMissing()
    {
        QFETCH(quint32, root);
        QFETCH(QString, path);
        QFETCH(QString, name);
        QFETCH(int, closes);
        FakeRegistry fake;
        fake.set(registry::kLocalMachine, QStringLiteral("SOFTWARE\\Test"), QStringLiteral("Value"),
                 registry::kTypeText, withNul("here"));
        fake.set(registry::kLocalMachine, QStringLiteral("SOFTWARE\\Locked"), QStringLiteral("Value"),
                 registry::kTypeText, withNul("secret"));
        fake.deny(registry::kLocalMachine, QStringLiteral("SOFTWARE\\Locked"));
        UseRegistry use(&fake);
        QString received = QStringLiteral("held before");
        QVERIFY(!AboutBox::GetKeyValue(root, path, name, received));
        QVERIFY(received.isEmpty());
        QVERIFY(fake.openHandles.isEmpty());
        QCOMPARE(fake.closes, closes);
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
        QTest::newRow("full path, started unchecked")
            << int(registry::kTypeText) << withNul("/nowhere/msinfo32") << true << true << true
            << "/nowhere/msinfo32" << false;
        QTest::newRow("full path that does not start")
            << int(registry::kTypeText) << withNul("/nowhere/msinfo32") << false << false << false
            << "/nowhere/msinfo32" << true;
        QTest::newRow("full path of another type") << int(registry::kTypeBinary) << QByteArray("\x01", 1) << true
                                                   << true << false << "" << true;
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
        UseRegistry use(&fake);
        LaunchRecorder launches(launchWorks);
        testsupport::MessageRecorder messages;

        AboutBox box(nullptr);
        box.show();
        QTest::mouseClick(box.cmdSysInfo, Qt::LeftButton);

        if (launched.isNull())
            QVERIFY(launches.started.isEmpty());
        else
            QCOMPARE(launches.started,
                     QStringList{QString(launched).replace(QStringLiteral("<folder>"), folder.path())});
        QCOMPARE(messages.texts, message ? QStringList{kNoTool} : QStringList());
        if (message)
            QCOMPARE(messages.titles, QStringList{QStringLiteral("衍枰占卜")});
        QVERIFY(box.isVisible()); // the box stays open either way
        QVERIFY(fake.openHandles.isEmpty());

        // The two lookups, in order, and the second only when the first failed.
        QStringList expected{kToolKey};
        if (!firstType)
            expected.append(kFolderKey);
        QCOMPARE(fake.openedPaths, expected);
    }

    void launcherRefusesWhatIsNoProgram()
    {
        QTemporaryDir dir;
        const QString plain = dir.filePath(QStringLiteral("notes.txt"));
        QFile f(plain);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("not a program");
        f.close();
        QVERIFY(!launcher::start(QString()));
        QVERIFY(!launcher::start(dir.filePath(QStringLiteral("missing-tool"))));
        QVERIFY(!launcher::start(plain));
        QVERIFY(!launcher::start(dir.path()));
    }

#ifndef Q_OS_WIN
    void launcherStartsWithoutWaiting()
    {
        // A program that takes a few seconds: start() returns at once.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("slow"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\nsleep 3\n");
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(launcher::start(path));
        QVERIFY(clock.elapsed() < 2000);
        QTest::qWait(300); // let the shell open its script before the folder goes
    }

    void toolFoundOnThePath_data()
    {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("found"); // empty: none
        QTest::newRow("hardinfo2 first") << QStringList{"gnome-system-monitor", "hardinfo", "hardinfo2"}
                                         << "hardinfo2";
        QTest::newRow("hardinfo before kinfocenter") << QStringList{"kinfocenter", "hardinfo"} << "hardinfo";
        QTest::newRow("kinfocenter before the monitor") << QStringList{"gnome-system-monitor", "kinfocenter"}
                                                        << "kinfocenter";
        QTest::newRow("the monitor last") << QStringList{"gnome-system-monitor"} << "gnome-system-monitor";
        QTest::newRow("none") << QStringList{"top"} << QString();
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
        QString value = QStringLiteral("held before");
        const bool ok = AboutBox::GetKeyValue(registry::kLocalMachine, kToolKey, QStringLiteral("PATH"), value);
        // The second lookup is never answered here.
        QString folder = QStringLiteral("held before");
        const bool second =
            AboutBox::GetKeyValue(registry::kLocalMachine, kFolderKey, QStringLiteral("MSINFO"), folder);
        QString otherRoot;
        const bool third = AboutBox::GetKeyValue(registry::kCurrentUser, kToolKey, QStringLiteral("PATH"), otherRoot);
        qputenv("PATH", oldPath);
        QCOMPARE(ok, !found.isEmpty());
        QCOMPARE(value, found.isEmpty() ? QString() : bin.filePath(found));
        QVERIFY(!second);
        QVERIFY(folder.isEmpty());
        QVERIFY(!third);
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
        box.StartSysInfo();
        qputenv("PATH", oldPath);
        QCOMPARE(launches.started, QStringList{tool});
        QVERIFY(messages.texts.isEmpty());
    }
#endif
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    prepareApplication(app);
    TestAbout test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_about.moc"
