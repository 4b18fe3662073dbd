#include "DivinationSession.h"

#include "Texts.h"
#include "Throw.h"
#include "platform/Clock.h"
#include "platform/Files.h"

DivinationSession::DivinationSession(QObject *parent) : QObject(parent)
{
    throwTimer_.setTimerType(Qt::PreciseTimer);
    throwTimer_.setInterval(1);
    connect(&throwTimer_, &QTimer::timeout, this, &DivinationSession::throwOnce);
    text_ = texts::welcomeText();
}

QString DivinationSession::captionText(Caption caption)
{
    switch (caption) {
    case Caption::WoodenMode: return tr("《木制衍枰占卜》");
    case Caption::ComputerMode: return tr("《电脑衍枰占卜》");
    case Caption::PrayerStart: return tr("《祈祷开始》");
    case Caption::PrayerEnd: return tr("《祈祷结束》");
    case Caption::DivinationOver: return tr("《占卜结束》");
    }
    return QString();
}

void DivinationSession::clickWoodenButton()
{
    if (woodenCaption_ == Caption::PrayerStart) {
        throwTimer_.start();
        woodenEnabled_ = false;
        emit controlsChanged();
    }
    if (woodenCaption_ == Caption::WoodenMode) {
        showAllPieces();
        selectorVisible_ = true;
        emit controlsChanged();
        setText(texts::woodenEtiquette(), Shown::Etiquette);
        // Every entry into the wooden mode adds the whole list again.
        const QStringList entries = reading::selectorEntries();
        appendEntries(entries.mid(0, 2));
        setSelectorIndex(0);
        chooseEntry(0);
        appendEntries(entries.mid(2));
        modeButtonsVisible_ = false;
        emit controlsChanged();
    }
}

void DivinationSession::clickComputerButton()
{
    // Each check reads the caption as the previous one left it, so ending a
    // prayer also passes through "divination over" back to the mode choice.
    if (computerCaption_ == Caption::PrayerEnd) {
        throwTimer_.stop();
        showReading();
        woodenEnabled_ = true;
        computerCaption_ = Caption::DivinationOver;
        emit controlsChanged();
    }
    if (computerCaption_ == Caption::ComputerMode) {
        showAllPieces();
        setText(texts::computerEtiquette(), Shown::Etiquette);
        woodenCaption_ = Caption::PrayerStart;
        computerCaption_ = Caption::PrayerEnd;
        emit controlsChanged();
    }
    if (computerCaption_ == Caption::DivinationOver) {
        woodenCaption_ = Caption::WoodenMode;
        computerCaption_ = Caption::ComputerMode;
        emit controlsChanged();
    }
}

void DivinationSession::clickComputerButtonAt(quint64 msecs, int doubleClickInterval)
{
    if (recaptionedByPointer_ && msecs >= recaptionedAt_
        && msecs - recaptionedAt_ < quint64(qMax(0, doubleClickInterval)))
        return;
    const Caption before = computerCaption_;
    clickComputerButton();
    recaptionedByPointer_ = computerCaption_ != before;
    recaptionedAt_ = msecs;
}

void DivinationSession::chooseEntry(int index)
{
    if (index >= entries_.size())
        return; // no such entry
    setSelectorIndex(index);
    if (index <= 0)
        return; // the prompt chooses nothing
    const QString entry = entries_.at(index);
    if (entry == reading::computerModeEntry()) {
        selectorVisible_ = false;
        modeButtonsVisible_ = true;
        computerCaption_ = Caption::ComputerMode;
        emit controlsChanged();
        clickComputerButton();
        return;
    }
    reading::readEntry(entry, &counts_);
    showReading();
}

void DivinationSession::clickDetailButton()
{
    // While the pieces tumble the counts are not a reading yet.
    if (isThrowing())
        return;
    const QString key = reading::readingKey(counts_.upper, counts_.middle, counts_.lower);
    setText(reading::loadReadingText(reading::detailFilePath(key)), Shown::Detail);
}

void DivinationSession::throwOnce()
{
    counts_.upper = throwing::step(counts_.upper, throwing::nextRandom());
    counts_.middle = throwing::step(counts_.middle, throwing::nextRandom());
    counts_.lower = throwing::step(counts_.lower, throwing::nextRandom());
    emit piecesChanged();
}

void DivinationSession::setText(const QString &text, Shown shown)
{
    text_ = text;
    shown_ = shown;
    emit textChanged(text_);
}

void DivinationSession::showAllPieces()
{
    piecesVisible_ = true;
    emit piecesShown();
}

void DivinationSession::showReading()
{
    emit piecesChanged();
    const QString key = reading::readingKey(counts_.upper, counts_.middle, counts_.lower);
    readingShownAt_ = hostclock::now();
    setText(reading::loadReadingText(reading::readingFilePath(key)), Shown::Reading);
    detailAvailable_ = platform::ordinaryFileExists(reading::detailFilePath(key));
    emit controlsChanged();
}

void DivinationSession::appendEntries(const QStringList &entries)
{
    entries_ += entries;
    emit entriesAppended(entries);
}

void DivinationSession::setSelectorIndex(int index)
{
    if (index == selectorIndex_)
        return;
    selectorIndex_ = index;
    emit selectorIndexChanged(index);
}
