#include "Fxwpt.h"

#include "FxwptLayout.h"
#include "ReadingModel.h"
#include "TextPane.h"
#include "Texts.h"
#include "Throw.h"
#include "app/LoadedWindows.h"
#include "app/Module1.h"
#include "platform/AppInfo.h"
#include "platform/Pictures.h"
#include "platform/Platform.h"
#include "platform/Twips.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

namespace {
const QString kWoodenCaption = QStringLiteral("《木制衍枰占卜》");
const QString kComputerCaption = QStringLiteral("《电脑衍枰占卜》");
const QString kPrayerStartCaption = QStringLiteral("《祈祷开始》");
const QString kPrayerEndCaption = QStringLiteral("《祈祷结束》");
const QString kDivinationOverCaption = QStringLiteral("《占卜结束》");

const QString kBlankPicture = QStringLiteral("\\picture\\wu.jpg");
const QString kUpperPicture = QStringLiteral("\\picture\\shang.jpg");
const QString kMiddlePicture = QStringLiteral("\\picture\\zhong.jpg");
const QString kLowerPicture = QStringLiteral("\\picture\\xia.jpg");
const QString kBlankWord = QStringLiteral("空白");

// Fixed control sizes, in twips.
const fxwptlayout::Sizes kSizes;
constexpr float kDetailButtonWidth = 6000;
constexpr float kComboHeight = 405;

QSize pixels(float width, float height) { return {twips::toPixels(width), twips::toPixels(height)}; }

void place(QWidget *w, const fxwptlayout::Point &p) { w->move(twips::toPixels(p.x), twips::toPixels(p.y)); }
} // namespace

QPointer<Fxwpt> Fxwpt::instance_;

Fxwpt *Fxwpt::Instance() { return instance_.data(); }

Fxwpt *Fxwpt::Open(QMdiArea *area)
{
    if (instance_)
        return instance_;
    auto *window = new Fxwpt;
    QMdiSubWindow *sub = area->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(window->windowIcon());
    sub->show();
    return window;
}

Fxwpt::Fxwpt(QWidget *parent) : QWidget(parent)
{
    instance_ = this;
    setObjectName(QStringLiteral("Fxwpt"));
    setWindowTitle(appinfo::title());
    setAccessibleName(appinfo::title());
    setWindowIcon(QIcon(QStringLiteral(":/yanping/icon.png")));

    const QFont buttonFont = platform::designFont(QStringLiteral("宋体"), 14.25);

    Command3 = new QPushButton(QStringLiteral("重 点 卦 象 详 细 解 说"), this);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command3->setAccessibleName(QStringLiteral("重点卦象详细解说"));
    Command3->setFixedSize(pixels(kDetailButtonWidth, kSizes.detailHeight));
    Command3->setEnabled(false);

    Command1 = new QPushButton(kWoodenCaption, this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setFixedSize(pixels(kSizes.buttonWidth, kSizes.buttonHeight));

    Command2 = new QPushButton(kComputerCaption, this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setFixedSize(pixels(kSizes.buttonWidth, kSizes.buttonHeight));

    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setEditable(false);
    Combo1->setAccessibleName(reading::promptEntry());
    Combo1->setFixedSize(pixels(kSizes.comboWidth, kComboHeight));
    Combo1->setMaxVisibleItems(20);
    Combo1->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }")); // a drop-down list below the box
    Combo1->hide();

    Text1 = new TextPane(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAccessibleName(QStringLiteral("占卜说明与卦象"));
    Text1->setFixedSize(pixels(kSizes.textWidth, kSizes.textHeight));
    Text1->setFont(platform::designFont(QStringLiteral("宋体"), 10.5));
    QPalette pal = Text1->palette();
    pal.setColor(QPalette::Base, QColor(255, 192, 255));
    pal.setColor(QPalette::Text, QColor(0, 0, 255));
    Text1->setPalette(pal);

    for (QWidget *w : {static_cast<QWidget *>(Command1), static_cast<QWidget *>(Command2),
                       static_cast<QWidget *>(Command3), static_cast<QWidget *>(Combo1)})
        w->setFont(buttonFont);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->setInterval(1);

    // The blank face every piece starts with is part of the program itself.
    const QPixmap blank(QStringLiteral(":/yanping/blank.jpg"));
    const QString marks[3] = {QStringLiteral("上"), QStringLiteral("中"), QStringLiteral("下")};
    PieceArray *groups[3] = {&Image1, &Image2, &Image3};
    const char *names[3] = {"Image1", "Image2", "Image3"};
    for (int g = 0; g < 3; ++g) {
        for (int i = 1; i <= 4; ++i) {
            auto *piece = new PieceImage(marks[g] + QStringLiteral("组第%1枚").arg(i), this);
            piece->setObjectName(QStringLiteral("%1(%2)").arg(QLatin1String(names[g])).arg(i));
            piece->setFixedSize(pixels(kSizes.pieceWidth, kSizes.pieceHeight));
            piece->setPicture(blank, kBlankWord);
            piece->hide();
            groups[g]->items[i - 1] = piece;
        }
    }

    // Keyboard order: the text pane first, so it holds the focus at opening.
    setTabOrder(Text1, Command1);
    setTabOrder(Command1, Command2);
    setTabOrder(Command2, Command3);
    setTabOrder(Command3, Combo1);

    connect(Command1, &QPushButton::clicked, this, &Fxwpt::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Fxwpt::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Fxwpt::Command3_Click);
    connect(Combo1, qOverload<int>(&QComboBox::activated), this, &Fxwpt::Combo1_Click);
    // Assistive technology picks an entry by selecting it in the list while
    // the list is closed; treat that as a choice too.
    connect(Combo1->view()->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection &selected) {
                if (Combo1->view()->isVisible() || selected.indexes().isEmpty())
                    return;
                const int row = selected.indexes().first().row();
                Combo1->setCurrentIndex(row);
                Combo1_Click();
            });
    connect(Timer1, &QTimer::timeout, this, &Fxwpt::Timer1_Timer);

    loaded::add(this);
    Form_Load();
    Text1->setFocus();
}

Fxwpt::~Fxwpt()
{
    if (instance_ == this)
        instance_ = nullptr;
}

QMdiSubWindow *Fxwpt::subWindow() const { return qobject_cast<QMdiSubWindow *>(parentWidget()); }

// ---- the two modes --------------------------------------------------------

void Fxwpt::Command1_Click()
{
    // Prayer start.
    if (Command1->text() == kPrayerStartCaption) {
        Timer1->start();
        Command1->setEnabled(false);
    }
    // Entry into the wooden mode.
    if (Command1->text() == kWoodenCaption) {
        ShowAllPieces();
        Combo1->show();
        Text1->setText(texts::woodenEtiquette());
        Combo1->addItem(reading::promptEntry());
        Combo1->addItem(reading::computerModeEntry());
        Combo1->setCurrentIndex(0);
        Combo1_Click();
        const QStringList entries = reading::selectorEntries();
        Combo1->addItems(entries.mid(2));
        Command1->hide();
        Command2->hide();
    }
}

void Fxwpt::Command2_Click()
{
    // Each check reads the caption as the previous one left it.
    if (Command2->text() == kPrayerEndCaption) {
        Timer1->stop();
        ShowReading();
        Command1->setEnabled(true);
        Command2->setText(kDivinationOverCaption);
    }
    if (Command2->text() == kComputerCaption) {
        ShowAllPieces();
        Text1->setText(texts::computerEtiquette());
        Command1->setText(kPrayerStartCaption);
        Command2->setText(kPrayerEndCaption);
    }
    if (Command2->text() == kDivinationOverCaption) {
        Command1->setText(kWoodenCaption);
        Command2->setText(kComputerCaption);
    }
}

void Fxwpt::Combo1_Click()
{
    const int position = Combo1->currentIndex();
    if (position <= 0)
        return;
    if (Combo1->itemText(position) == reading::computerModeEntry()) {
        Combo1->hide();
        Command1->show();
        Command2->show();
        Command2->setText(kComputerCaption);
        Command2_Click();
        return;
    }
    reading::Counts counts{upperCount, middleCount, lowerCount};
    reading::readEntry(Combo1->itemText(position), &counts);
    upperCount = counts.upper;
    middleCount = counts.middle;
    lowerCount = counts.lower;
    ShowReading();
}

void Fxwpt::Command3_Click()
{
    const QString key = reading::readingKey(upperCount, middleCount, lowerCount);
    Text1->setText(reading::LoadReadingText(reading::detailFilePath(key)));
}

// ---- loading and layout ---------------------------------------------------

void Fxwpt::Form_Load()
{
    QPixmap globe;
    if (pictures::load(programPath(QStringLiteral("\\picture\\globe.wmf")), &globe))
        background_ = globe;
    upperCount = 0;
    middleCount = 0;
    lowerCount = 0;
    Text1->setText(texts::welcomeText());
}

void Fxwpt::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void Fxwpt::Form_Resize()
{
    const float W = float(twips::fromPixels(width()));
    const float H = float(twips::fromPixels(height()));
    const fxwptlayout::Result r = fxwptlayout::compute(W, H, kSizes);
    place(Command3, r.command3);
    place(Command1, r.command1);
    place(Command2, r.command2);
    place(Text1, r.text1);
    place(Combo1, r.combo1);
    const PieceArray *groups[3] = {&Image1, &Image2, &Image3};
    for (int g = 0; g < 3; ++g)
        for (int i = 1; i <= 4; ++i)
            place((*groups[g])(i), r.pieces[size_t(g)][size_t(i - 1)]);
}

void Fxwpt::paintEvent(QPaintEvent *)
{
    if (background_.isNull())
        return;
    QPainter p(this);
    p.drawPixmap(0, 0, background_);
}

// ---- the throw and the reading --------------------------------------------

void Fxwpt::Timer1_Timer()
{
    upperCount = throwing::step(upperCount, throwing::nextRandom());
    middleCount = throwing::step(middleCount, throwing::nextRandom());
    lowerCount = throwing::step(lowerCount, throwing::nextRandom());
    ShowPieces();
}

void Fxwpt::ShowAllPieces()
{
    for (int i = 1; i <= 4; ++i) {
        Image1(i)->show();
        Image2(i)->show();
        Image3(i)->show();
    }
}

void Fxwpt::ShowReading()
{
    ShowPieces();
    const QString key = reading::readingKey(upperCount, middleCount, lowerCount);
    Text1->setText(reading::LoadReadingText(reading::readingFilePath(key)));
    Command3->setEnabled(platform::ordinaryFileExists(reading::detailFilePath(key)));
}

void Fxwpt::ShowPieces()
{
    for (int i = 1; i <= 4; ++i) {
        setPiece(Image1(i), kBlankPicture, kBlankWord);
        setPiece(Image2(i), kBlankPicture, kBlankWord);
        setPiece(Image3(i), kBlankPicture, kBlankWord);
    }
    for (int i = 1; i <= upperCount; ++i)
        setPiece(Image1(i), kUpperPicture, QStringLiteral("上"));
    for (int i = 1; i <= middleCount; ++i)
        setPiece(Image2(i), kMiddlePicture, QStringLiteral("中"));
    for (int i = 1; i <= lowerCount; ++i)
        setPiece(Image3(i), kLowerPicture, QStringLiteral("下"));
}

QPixmap Fxwpt::picture(const QString &literal)
{
    auto it = pictures_.constFind(literal);
    if (it != pictures_.constEnd())
        return *it;
    QPixmap pm;
    if (!pictures::load(programPath(literal), &pm))
        return QPixmap(); // not kept: the next call tries the file again
    pictures_.insert(literal, pm);
    return pm;
}

void Fxwpt::setPiece(PieceImage *piece, const QString &literal, const QString &shows)
{
    const QPixmap pm = picture(literal);
    if (!pm.isNull())
        piece->setPicture(pm, shows);
}
