#include "FrmAbout1.h"

#include "app/Module1.h"
#include "platform/AppInfo.h"
#include "platform/Launcher.h"
#include "platform/MessageBox.h"
#include "platform/Pictures.h"
#include "platform/Platform.h"
#include "platform/Registry.h"
#include "platform/Twips.h"

#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <exception>

namespace {
// Where the system-information tool registers itself: first its full path,
// then, failing that, the folder that holds it.
const QString kToolPathKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString kToolPathValue = QStringLiteral("PATH");
const QString kToolFolderKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString kToolFolderValue = QStringLiteral("MSINFO");
const QString kToolFile = QStringLiteral("\\MSINFO32.EXE");

const QString kNoSystemInformation = QStringLiteral("此时系统信息无效");

constexpr int kValueBufferSize = 1024;

QRect twipsRect(int left, int top, int width, int height)
{
    return {twips::toPixels(left), twips::toPixels(top), twips::toPixels(width), twips::toPixels(height)};
}

QLabel *makeLabel(QWidget *parent, const char *name, const QRect &geometry, const QFont &font, const QColor &colour,
                  Qt::Alignment alignment)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setFont(font);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, colour);
    label->setPalette(pal);
    label->setAlignment(alignment | Qt::AlignTop);
    label->setWordWrap(true);
    label->setAutoFillBackground(false); // the picture shows through
    label->setTextFormat(Qt::PlainText);
    return label;
}
} // namespace

QString FrmAbout1::descriptionText()
{
    return QStringLiteral("    方术，是中国传统文化的一个组成部分，它对中国社会生活有着极其深刻的影响，"
                          "要了解中国的政治、经济、科学文化，就必须了解中国古代的方术。");
}

QString FrmAbout1::disclaimerText()
{
    const QString shortRun(10, QLatin1Char(' '));
    return QStringLiteral("警告：") + QString(23, QLatin1Char(' ')) + QStringLiteral("天地备兮难量！") + shortRun
           + QStringLiteral("神机妙兮莫测！") + shortRun + QStringLiteral("非贤人兮莫传！") + shortRun
           + QStringLiteral("不听劝兮有凶！");
}

FrmAbout1::FrmAbout1(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                         | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("FrmAbout1"));
    QIcon icon(QStringLiteral(":/yanping/icon.png"));
    icon.addFile(QStringLiteral(":/yanping/icon256.png"));
    setWindowIcon(icon);
    setModal(true);
    setFixedSize(twips::toPixels(8670), twips::toPixels(6480));
    setSizeGripEnabled(false);

    const QFont buttonFont = platform::designFont(QStringLiteral("宋体"), 10.5);
    cmdOK = new QPushButton(QStringLiteral("确定"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(twipsRect(5535, 4455, 1500, 465));
    cmdOK->setFont(buttonFont);
    cmdOK->setDefault(true);

    cmdSysInfo = new QPushButton(QStringLiteral("系统信息"), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setGeometry(twipsRect(5535, 5535, 1485, 465));
    cmdSysInfo->setFont(buttonFont);
    cmdSysInfo->setAccessibleDescription(QStringLiteral("启动系统信息程序"));

    const QString kai = QStringLiteral("楷体_GB2312");
    lblDisclaimer = makeLabel(this, "lblDisclaimer", twipsRect(1575, 4185, 3855, 2025),
                              platform::designFont(kai, 15.75), QColor(0, 0, 0), Qt::AlignLeft);
    lblDisclaimer->setText(disclaimerText());
    lblTitle = makeLabel(this, "lblTitle", twipsRect(1800, 225, 4845, 600), platform::designFont(kai, 26.25),
                         QColor(255, 0, 0), Qt::AlignHCenter);
    lblVersion = makeLabel(this, "lblVersion", twipsRect(1800, 855, 4845, 465),
                           platform::designFont(QStringLiteral("仿宋_GB2312"), 15.75), QColor(255, 0, 0),
                           Qt::AlignHCenter);
    lblDescription = makeLabel(this, "lblDescription", twipsRect(480, 2160, 7725, 1890),
                               platform::designFont(QStringLiteral("隶书"), 21.75), QColor(0, 0, 255), Qt::AlignLeft);
    lblDescription->setText(descriptionText());

    setTabOrder(cmdOK, cmdSysInfo);
    cmdOK->setFocus();

    connect(cmdOK, &QPushButton::clicked, this, &FrmAbout1::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &FrmAbout1::cmdSysInfo_Click);

    Form_Load();
}

void FrmAbout1::Form_Load()
{
    // Each step on its own; a picture that does not load leaves the plain
    // dialog colour, without a word.
    QPixmap picture;
    if (pictures::load(programPath(QStringLiteral("\\picture\\globe.wmf")), &picture)) {
        background_ = picture;
        update();
    }
    setWindowTitle(QStringLiteral("关于 ") + appinfo::title());
    lblVersion->setText(QStringLiteral("版本 ") + QString::number(appinfo::kVersionMajor) + QLatin1Char('.')
                        + QString::number(appinfo::kVersionMinor) + QLatin1Char('.')
                        + QString::number(appinfo::kVersionRevision));
    lblTitle->setText(appinfo::title());
}

void FrmAbout1::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    if (background_.isNull())
        return;
    QPainter p(this);
    p.drawPixmap(0, 0, background_);
}

void FrmAbout1::keyPressEvent(QKeyEvent *event)
{
    // Esc presses cmdOK, the box's cancel button.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        cmdOK->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void FrmAbout1::cmdOK_Click() { accept(); }

void FrmAbout1::cmdSysInfo_Click() { StartSysInfo(); }

void FrmAbout1::StartSysInfo()
{
    try {
        QString tool;
        bool found = GetKeyValue(registry::kLocalMachine, kToolPathKey, kToolPathValue, tool);
        if (!found) {
            // No full path: the folder it was installed in, and the tool there.
            QString folder;
            if (GetKeyValue(registry::kLocalMachine, kToolFolderKey, kToolFolderValue, folder)
                && platform::ordinaryFileExists(platform::joinPath(folder, kToolFile))) {
                tool = platform::joinPath(folder, kToolFile);
                found = true;
            }
        }
        // A full path is started as it is, unchecked; one that names nothing
        // fails to start.
        if (found && launcher::start(tool))
            return;
    } catch (const std::exception &) {
    }
    msgbox::showMessage(this, kNoSystemInformation);
}

bool FrmAbout1::GetKeyValue(quint32 root, const QString &keyPath, const QString &valueName, QString &received)
{
    registry::Backend &reg = registry::current();
    registry::Handle key = 0;
    if (reg.openKey(root, keyPath, registry::kAccessReadWrite, &key) != registry::kSuccess) {
        received.clear();
        return false;
    }

    QByteArray buffer(kValueBufferSize, '\0');
    quint32 type = registry::kTypeNone;
    quint32 length = kValueBufferSize;
    if (reg.queryValue(key, valueName, &type, buffer.data(), &length) != registry::kSuccess) {
        received.clear();
        reg.closeKey(key);
        return false;
    }

    QByteArray data(buffer.constData(), int(qMin<quint32>(length, kValueBufferSize)));
    if (data.endsWith('\0'))
        data.chop(1);

    switch (type) {
    case registry::kTypeText:
        received = QString::fromLocal8Bit(data);
        break;
    case registry::kTypeNumber: {
        // Little-endian, as the system stores it; the text is the decimal value.
        quint32 number = 0;
        const QByteArray raw(buffer.constData(), int(qMin<quint32>(length, 4)));
        for (int i = raw.size() - 1; i >= 0; --i)
            number = (number << 8) | quint8(raw.at(i));
        received = QString::number(number);
        break;
    }
    default:
        break; // any other kind of value leaves the text as it was
    }

    reg.closeKey(key);
    return true;
}
