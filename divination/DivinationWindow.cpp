#include "DivinationWindow.h"

#include "DivinationLayout.h"
#include "DivinationSession.h"
#include "ReadingKeeper.h"
#include "ReadingModel.h"
#include "TextPane.h"
#include "formats/Pictures.h"
#include "platform/AppIcon.h"
#include "platform/AppInfo.h"
#include "platform/Fonts.h"
#include "platform/ProgramFiles.h"
#include "platform/ProgramFolder.h"
#include "platform/SpokenNotice.h"
#include "platform/Twips.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGuiApplication>
#include <QIcon>
#include <QItemSelectionModel>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QStyleHints>
#include <QTimer>

namespace {
// What a piece shows, for assistive technology: its group's mark face up,
// or the blank.
const char *const kMarks[3] = {QT_TRANSLATE_NOOP("DivinationWindow", "上"), QT_TRANSLATE_NOOP("DivinationWindow", "中"),
                               QT_TRANSLATE_NOOP("DivinationWindow", "下")};
const char *const kBlankWord = QT_TRANSLATE_NOOP("DivinationWindow", "空白");

// The reading pane: blue text on pink.
const QColor kPaneColour(255, 192, 255);
const QColor kPaneTextColour(0, 0, 255);

// Fixed control sizes, in twips.
const divinationlayout::Sizes kSizes;
constexpr float kDetailButtonWidth = 6000;
constexpr float kSelectorHeight = 405;

void place(QWidget *w, const divinationlayout::Point &p)
{
    w->move(twips::point(p.x, p.y));
}
} // namespace

DivinationWindow::DivinationWindow(QWidget *parent) : QWidget(parent), session_(new DivinationSession(this))
{
    setObjectName(QStringLiteral("divinationWindow"));
    setWindowTitle(appinfo::shownTitle());
    setAccessibleName(windowTitle());
    setWindowIcon(platform::appIcon());

    const QFont buttonFont = platform::designFont(QStringLiteral("宋体"), 14.25);

    detailButton_ = new QPushButton(tr("重 点 卦 象 详 细 解 说"), this);
    detailButton_->setObjectName(QStringLiteral("detailButton"));
    detailButton_->setAccessibleName(tr("重点卦象详细解说"));
    detailButton_->setFixedSize(twips::size(kDetailButtonWidth, kSizes.detailHeight));
    detailButton_->setEnabled(false);

    woodenButton_ = new QPushButton(this);
    woodenButton_->setObjectName(QStringLiteral("woodenButton"));
    woodenButton_->setFixedSize(twips::size(kSizes.buttonWidth, kSizes.buttonHeight));

    computerButton_ = new QPushButton(this);
    computerButton_->setObjectName(QStringLiteral("computerButton"));
    computerButton_->setFixedSize(twips::size(kSizes.buttonWidth, kSizes.buttonHeight));

    countSelector_ = new QComboBox(this);
    countSelector_->setObjectName(QStringLiteral("countSelector"));
    countSelector_->setEditable(false);
    countSelector_->setAccessibleName(reading::promptEntry());
    // Qt names a closed list by the entry it shows; the description keeps
    // the list's label for screen readers once an entry is chosen.
    countSelector_->setAccessibleDescription(reading::promptEntry());
    countSelector_->setFixedSize(twips::size(kSizes.comboWidth, kSelectorHeight));
    countSelector_->setMaxVisibleItems(20);
    countSelector_->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }")); // a drop-down list below the box
    // The wheel neither takes the focus nor, without it, picks a reading.
    countSelector_->setFocusPolicy(Qt::StrongFocus);
    countSelector_->installEventFilter(this);
    countSelector_->hide();

    readingPane_ = new TextPane(this);
    readingPane_->setObjectName(QStringLiteral("readingPane"));
    readingPane_->setAccessibleName(tr("占卜说明与卦象"));
    readingPane_->setFixedSize(twips::size(kSizes.textWidth, kSizes.textHeight));
    readingPane_->setFont(platform::designFont(QStringLiteral("宋体"), 10.5));
    QPalette pal = readingPane_->palette();
    pal.setColor(QPalette::Base, kPaneColour);
    pal.setColor(QPalette::Text, kPaneTextColour);
    readingPane_->setPalette(pal);

    for (QWidget *w : {static_cast<QWidget *>(woodenButton_), static_cast<QWidget *>(computerButton_),
                       static_cast<QWidget *>(detailButton_), static_cast<QWidget *>(countSelector_)})
        w->setFont(buttonFont);

    createPieces();
    notice_ = new SpokenNotice(this);
    notice_->setObjectName(QStringLiteral("readingNotice"));

    // Keyboard order: the reading pane first, so it holds the focus at opening.
    setTabOrder(readingPane_, woodenButton_);
    setTabOrder(woodenButton_, computerButton_);
    setTabOrder(computerButton_, detailButton_);
    setTabOrder(detailButton_, countSelector_);

    connect(woodenButton_, &QPushButton::clicked, session_, &DivinationSession::clickWoodenButton);
    computerButton_->installEventFilter(this);
    connect(computerButton_, &QPushButton::clicked, this, [this] {
        if (!computerPress_) {
            session_->clickComputerButton();
            return;
        }
        const quint64 pressedAt = *computerPress_;
        computerPress_.reset();
        session_->clickComputerButtonAt(pressedAt, QGuiApplication::styleHints()->mouseDoubleClickInterval());
    });
    connect(detailButton_, &QPushButton::clicked, session_, &DivinationSession::clickDetailButton);
    connect(countSelector_, qOverload<int>(&QComboBox::activated), this, &DivinationWindow::chooseFromSelector);
    // Assistive technology picks an entry by selecting it in the list while
    // the list is closed; treat that as a choice too.
    connect(countSelector_->view()->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection &selected) {
                if (countSelector_->view()->isVisible() || selected.indexes().isEmpty())
                    return;
                const int row = selected.indexes().first().row();
                countSelector_->setCurrentIndex(row);
                chooseFromSelector(row);
            });
    connectSession();
    new ReadingKeeper(this, session_, readingPane_, pieces_); // save and print the reading shown

    pictures::loadGlobe(&background_);
    readingPane_->setReadingText(session_->text());
    showControls();
    readingPane_->setFocus();
}

DivinationWindow::~DivinationWindow() = default;

QMdiSubWindow *DivinationWindow::subWindow() const
{
    return qobject_cast<QMdiSubWindow *>(parentWidget());
}

void DivinationWindow::createPieces()
{
    // The blank face every piece starts with is part of the program itself.
    const QPixmap blank(QStringLiteral(":/yanping/blank.jpg"));
    const char *names[3] = {"upperPiece", "middlePiece", "lowerPiece"};
    for (int g = 0; g < 3; ++g) {
        for (int i = 0; i < 4; ++i) {
            auto *piece = new PieceImage(tr("%1组第%2枚").arg(tr(kMarks[g]), QString::number(i + 1)), this);
            piece->setObjectName(QLatin1String(names[g]) + QString::number(i + 1));
            piece->setFixedSize(twips::size(kSizes.pieceWidth, kSizes.pieceHeight));
            piece->setPicture(blank, tr(kBlankWord));
            piece->hide();
            pieces_[size_t(g)][size_t(i)] = piece;
        }
    }
}

void DivinationWindow::connectSession()
{
    connect(session_, &DivinationSession::textChanged, this, &DivinationWindow::showText);
    connect(session_, &DivinationSession::piecesChanged, this, &DivinationWindow::showPieces);
    connect(session_, &DivinationSession::piecesShown, this, &DivinationWindow::showAllPieces);
    connect(session_, &DivinationSession::controlsChanged, this, &DivinationWindow::showControls);
    connect(session_, &DivinationSession::entriesAppended, this, [this](const QList<reading::Entry> &entries) {
        const QSignalBlocker quiet(countSelector_->view()->selectionModel());
        for (const reading::Entry &entry : entries)
            countSelector_->addItem(entry.text,
                                    entry.meaning == reading::Entry::Meaning::Counts ? QVariant::fromValue(entry.counts)
                                                                                     : QVariant());
    });
    connect(session_, &DivinationSession::selectorIndexChanged, this, [this](int index) {
        const QSignalBlocker quiet(countSelector_->view()->selectionModel());
        countSelector_->setCurrentIndex(index);
    });
}

void DivinationWindow::chooseFromSelector(int index)
{
    session_->chooseEntry(index);
}

void DivinationWindow::showText(const QString &text)
{
    readingPane_->setReadingText(text);
    const QString said = shownTextHeading();
    if (said.isEmpty())
        return;
    // Said once the click has done all it does, so that it comes after any
    // move of the focus and is not cut short by it.
    QPointer<SpokenNotice> notice = notice_;
    QTimer::singleShot(0, notice_, [notice, said] {
        if (notice)
            notice->say(said);
    });
}

QString DivinationWindow::shownTextHeading()
{
    // The lines of the text that say something, without their indents.
    QStringList lines;
    const QStringList all = readingPane_->text().split(QLatin1Char('\n'));
    for (const QString &line : all)
        if (!line.trimmed().isEmpty())
            lines << line.trimmed();
    switch (session_->shown()) {
    case DivinationSession::Shown::Welcome: break; // the pane has the focus at opening and reads it
    case DivinationSession::Shown::Etiquette: return lines.join(QLatin1Char(' '));
    case DivinationSession::Shown::Reading:
        // A reading opens with its name and its verdict.
        verdict_ = lines.value(1);
        return lines.mid(0, 2).join(QLatin1Char(' '));
    case DivinationSession::Shown::Detail: return (QStringList {lines.value(0), verdict_}).join(QLatin1Char(' '));
    }
    return QString();
}

void DivinationWindow::showControls()
{
    woodenButton_->setText(DivinationSession::captionText(session_->woodenButtonCaption()));
    woodenButton_->setEnabled(session_->woodenButtonEnabled());
    computerButton_->setText(DivinationSession::captionText(session_->computerButtonCaption()));
    detailButton_->setEnabled(session_->detailAvailable());
    // A control that hides with the focus hands it to the reading pane,
    // which shows what the mode change brought; Tab goes on from there to
    // the controls still shown.
    QWidget *focus = focusWidget();
    const bool focusHides = (focus == countSelector_ && !session_->selectorVisible())
        || ((focus == woodenButton_ || focus == computerButton_) && !session_->modeButtonsVisible());
    if (focusHides)
        readingPane_->setFocus(Qt::OtherFocusReason);
    // The selector first: leaving the wooden mode hides it before the mode
    // buttons come back.
    countSelector_->setVisible(session_->selectorVisible());
    woodenButton_->setVisible(session_->modeButtonsVisible());
    computerButton_->setVisible(session_->modeButtonsVisible());
}

bool DivinationWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == computerButton_) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: computerPress_ = static_cast<QMouseEvent *>(event)->timestamp(); break;
        case QEvent::KeyPress: computerPress_.reset(); break;
        default: break;
        }
    } else if (watched == countSelector_ && event->type() == QEvent::Wheel && !countSelector_->hasFocus()) {
        event->ignore();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// ---- layout and background ------------------------------------------------

QSize DivinationWindow::sizeHint() const
{
    const divinationlayout::Extent e = divinationlayout::minimumInnerSize(kSizes);
    return twips::size(e.width, e.height);
}

void DivinationWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutControls();
}

void DivinationWindow::layoutControls()
{
    const float widthTwips = float(twips::fromPixels(width()));
    const float heightTwips = float(twips::fromPixels(height()));
    const divinationlayout::Result r = divinationlayout::compute(widthTwips, heightTwips, kSizes);
    place(detailButton_, r.detailButton);
    place(woodenButton_, r.woodenButton);
    place(computerButton_, r.computerButton);
    place(readingPane_, r.readingPane);
    place(countSelector_, r.countSelector);
    for (size_t g = 0; g < 3; ++g)
        for (size_t i = 0; i < 4; ++i)
            place(pieces_[g][i], r.pieces[g][i]);
}

void DivinationWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    pictures::paintBackground(p, background_);
}

// ---- the pieces -------------------------------------------------------------

void DivinationWindow::showAllPieces()
{
    for (size_t i = 0; i < 4; ++i)
        for (const Pieces &group : pieces_)
            group[i]->show();
}

void DivinationWindow::showPieces()
{
    const reading::Counts counts = session_->counts();
    const int faceUp[3] = {counts.upper, counts.middle, counts.lower};
    // Each piece is set once, to its face or to the blank, row by row across
    // the three groups, so that assistive technology hears the pieces in the
    // order a reader scans them.
    for (size_t i = 0; i < 4; ++i) {
        for (size_t g = 0; g < 3; ++g) {
            const bool up = int(i) < faceUp[g];
            setPiece(pieces_[g][i], up ? platform::files::markedPiece(int(g)) : platform::files::blankPiece(),
                     tr(up ? kMarks[g] : kBlankWord));
        }
    }
}

QPixmap DivinationWindow::picture(const QString &literal)
{
    auto it = pictures_.constFind(literal);
    if (it != pictures_.constEnd())
        return *it;
    QPixmap pm;
    if (!pictures::load(platform::programPath(literal), &pm))
        return QPixmap(); // not kept: a later call tries the file again
    pictures_.insert(literal, pm);
    return pm;
}

void DivinationWindow::setPiece(PieceImage *piece, const QString &literal, const QString &shows)
{
    const QPixmap pm = picture(literal);
    if (!pm.isNull())
        piece->setPicture(pm, shows);
}
