#include "AboutBox.h"

#include "formats/Pictures.h"
#include "platform/AppIcon.h"
#include "platform/AppInfo.h"
#include "platform/Files.h"
#include "platform/Fonts.h"
#include "platform/Launcher.h"
#include "platform/MessageBox.h"
#include "platform/ProgramFolder.h"
#include "platform/Registry.h"
#include "platform/Twips.h"

#include <QCoreApplication>
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

QString AboutBox::descriptionText()
{
    return tr("    方术，是中国传统文化的一个组成部分，它对中国社会生活有着极其深刻的影响，"
              "要了解中国的政治、经济、科学文化，就必须了解中国古代的方术。");
}

QString AboutBox::disclaimerText()
{
    const QString shortRun(10, QLatin1Char(' '));
    return tr("警告：") + QString(23, QLatin1Char(' ')) + tr("天地备兮难量！") + shortRun + tr("神机妙兮莫测！")
        + shortRun + tr("非贤人兮莫传！") + shortRun + tr("不听劝兮有凶！");
}

AboutBox::AboutBox(QWidget *owner)
    : QDialog(owner,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("aboutBox"));
    setWindowIcon(platform::appIcon());
    setModal(true);
    setFixedSize(twips::size(8670, 6480));
    setSizeGripEnabled(false);

    const QFont buttonFont = platform::designFont(QStringLiteral("宋体"), 10.5);
    okButton_ = new QPushButton(tr("确定"), this);
    okButton_->setObjectName(QStringLiteral("okButton"));
    okButton_->setGeometry(twips::rect(5535, 4455, 1500, 465));
    okButton_->setFont(buttonFont);
    okButton_->setDefault(true);

    systemInfoButton_ = new QPushButton(tr("系统信息"), this);
    systemInfoButton_->setObjectName(QStringLiteral("systemInfoButton"));
    systemInfoButton_->setGeometry(twips::rect(5535, 5535, 1485, 465));
    systemInfoButton_->setFont(buttonFont);
    systemInfoButton_->setAccessibleDescription(tr("启动系统信息程序"));

    const QString kai = QStringLiteral("楷体_GB2312");
    disclaimerLabel_ = makeLabel(this, "disclaimerLabel", twips::rect(1575, 4185, 3855, 2025),
                                 platform::designFont(kai, 15.75), QColor(0, 0, 0), Qt::AlignLeft);
    disclaimerLabel_->setText(disclaimerText());
    titleLabel_ = makeLabel(this, "titleLabel", twips::rect(1800, 225, 4845, 600), platform::designFont(kai, 26.25),
                            QColor(255, 0, 0), Qt::AlignHCenter);
    versionLabel_
        = makeLabel(this, "versionLabel", twips::rect(1800, 855, 4845, 465),
                    platform::designFont(QStringLiteral("仿宋_GB2312"), 15.75), QColor(255, 0, 0), Qt::AlignHCenter);
    descriptionLabel_
        = makeLabel(this, "descriptionLabel", twips::rect(480, 2160, 7725, 1890),
                    platform::designFont(QStringLiteral("隶书"), 21.75), QColor(0, 0, 255), Qt::AlignLeft);
    descriptionLabel_->setText(descriptionText());

    setTabOrder(okButton_, systemInfoButton_);
    okButton_->setFocus();

    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(systemInfoButton_, &QPushButton::clicked, this, &AboutBox::startSystemInformation);

    loadContents();
}

void AboutBox::loadContents()
{
    // Each step on its own; a picture that does not load leaves the plain
    // dialog colour, without a word.
    QPixmap picture;
    if (pictures::loadShared(platform::programPath(QStringLiteral("\\picture\\globe.wmf")), &picture))
        setBackground(picture);
    setWindowTitle(tr("关于 %1").arg(appinfo::shownTitle()));
    versionLabel_->setText(tr("版本 %1").arg(QCoreApplication::applicationVersion()));
    titleLabel_->setText(appinfo::shownTitle());
    // Screen readers read a dialog's loose labels only when they hold words
    // parted by spaces, which Chinese text has not; the button that has the
    // focus when the box opens carries the title, the version and the
    // description, so that they are heard with it.
    okButton_->setAccessibleDescription(
        QStringList {titleLabel_->text(), versionLabel_->text(), descriptionLabel_->text().trimmed()}.join(
            QLatin1Char(' ')));
}

void AboutBox::setBackground(const QPixmap &picture)
{
    background_ = picture;
    update();
}

void AboutBox::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    if (background_.isNull())
        return;
    QPainter p(this);
    p.drawPixmap(0, 0, background_);
}

void AboutBox::keyPressEvent(QKeyEvent *event)
{
    // Esc presses okButton_, the box's cancel button.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        okButton_->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void AboutBox::startSystemInformation()
{
    try {
        QString tool;
        bool found = registry::readValueText(registry::kLocalMachine, kToolPathKey, kToolPathValue, tool);
        if (!found) {
            // No full path: the folder it was installed in, and the tool there.
            QString folder;
            if (registry::readValueText(registry::kLocalMachine, kToolFolderKey, kToolFolderValue, folder)
                && platform::ordinaryFileExists(platform::joinPath(folder, kToolFile))) {
                tool = platform::joinPath(folder, kToolFile);
                found = true;
            }
        }
        // A full path is started as it is, unchecked; one that names nothing
        // fails to start.
        if (found && launcher::start(tool))
            return;
    } catch (const std::exception &) { }
    msgbox::showMessage(this, tr("此时系统信息无效"));
}
