#pragma once
#include "ReadingModel.h"

#include <QDateTime>
#include <QObject>
#include <QTimer>

// One divination window's course, without any widget: which mode it is in,
// what its two mode buttons say, the three counts, the computer throw, the
// count selector's entries and choice, and which reading or detailed
// explanation is shown. The window shows this state and forwards the
// user's clicks; everything a click does is decided here.
class DivinationSession : public QObject
{
    Q_OBJECT
public:
    // What a mode button says. The wooden button starts as WoodenMode and
    // turns into PrayerStart; the computer button goes ComputerMode ->
    // PrayerEnd -> DivinationOver -> ComputerMode.
    enum class Caption { WoodenMode, ComputerMode, PrayerStart, PrayerEnd, DivinationOver };
    Q_ENUM(Caption)
    // What the text pane shows.
    enum class Shown { Welcome, Etiquette, Reading, Detail };
    Q_ENUM(Shown)

    explicit DivinationSession(QObject *parent = nullptr);

    static QString captionText(Caption caption);

    Caption woodenButtonCaption() const { return woodenCaption_; }
    Caption computerButtonCaption() const { return computerCaption_; }
    bool woodenButtonEnabled() const { return woodenEnabled_; }
    bool modeButtonsVisible() const { return modeButtonsVisible_; }
    bool selectorVisible() const { return selectorVisible_; }
    bool detailAvailable() const { return detailAvailable_; }
    bool piecesVisible() const { return piecesVisible_; }
    bool isThrowing() const { return throwTimer_.isActive(); }

    reading::Counts counts() const { return counts_; }
    QString text() const { return text_; }
    Shown shown() const { return shown_; }
    // When the last reading was shown (read from the program's clock).
    QDateTime readingShownAt() const { return readingShownAt_; }
    QList<reading::Entry> selectorEntries() const { return entries_; }
    int selectorIndex() const { return selectorIndex_; }

    // The user's actions.
    void clickWoodenButton();
    void clickComputerButton();
    // A click on the computer button whose pointer press came at `msecs`
    // (any monotonic clock). The click that re-captions the button is often
    // the first half of a double click; a second click within
    // `doubleClickInterval` of it lands on the new caption by accident and
    // is ignored.
    void clickComputerButtonAt(quint64 msecs, int doubleClickInterval);
    void chooseEntry(int index);
    void clickDetailButton();
    // One computer throw: every count moves by a random step.
    void throwOnce();

signals:
    // The text to show; emitted at every setting, even of the same text.
    void textChanged(const QString &text);
    // The counts changed (or a reading asks for the pieces to be shown again).
    void piecesChanged();
    // All twelve pieces are to be made visible.
    void piecesShown();
    // Entries were added to the end of the selector.
    void entriesAppended(const QList<reading::Entry> &entries);
    // The selector's current entry was set.
    void selectorIndexChanged(int index);
    // Captions, enabled states or visibilities changed.
    void controlsChanged();

private:
    void setText(const QString &text, Shown shown);
    void showAllPieces();
    void showReading();
    void appendEntries(const QList<reading::Entry> &entries);
    void setSelectorIndex(int index);

    Caption woodenCaption_ = Caption::WoodenMode;
    Caption computerCaption_ = Caption::ComputerMode;
    bool woodenEnabled_ = true;
    bool modeButtonsVisible_ = true;
    bool selectorVisible_ = false;
    bool detailAvailable_ = false;
    bool piecesVisible_ = false;
    reading::Counts counts_;
    QString text_;
    Shown shown_ = Shown::Welcome;
    QDateTime readingShownAt_;
    QList<reading::Entry> entries_;
    int selectorIndex_ = -1;
    QTimer throwTimer_ {this}; // "throwTimer": 1 ms, each tick is one throw
    bool recaptionedByPointer_ = false;
    quint64 recaptionedAt_ = 0;
};
