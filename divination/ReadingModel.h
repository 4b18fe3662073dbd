#pragma once
#include <QString>
#include <QStringList>

// What a throw produces and how its reading is found: three counts of
// face-up pieces (上, 中, 下, each 0 to 4), the reading key they form, the
// reading and detail files it names, and the count selector's entries.
// Every text here is as the session shows it: the entries translated, the
// readings converted (platform/Script.h).
namespace reading {

constexpr int kPiecesPerKind = 4;

struct Counts {
    int upper = 0;
    int middle = 0;
    int lower = 0;
    bool operator==(const Counts &o) const { return upper == o.upper && middle == o.middle && lower == o.lower; }
};

// "203" for two 上, no 中 and three 下 face up.
QString readingKey(int upperCount, int middleCount, int lowerCount);

// The program folder + "\god\xwk\" + key + ".god", and the detail file with "1".
QString readingFilePath(const QString &key);
QString detailFilePath(const QString &key);

// "2上0中3下"
QString combinationEntry(int u, int m, int l);
// Position of a combination entry in the count selector: 2 + 25u + 5m + l.
int entryPosition(int u, int m, int l);
// The 127 entries: the prompt, the computer-mode entry, then the 125
// combinations with the upper count varying slowest.
QStringList selectorEntries();
QString promptEntry(); // "选择衍枰个数"
QString computerModeEntry(); // "《电脑衍枰占卜》"

// Reads the counts back from an entry: the digits at character positions 1,
// 3 and 5; a character that is not a digit leaves its count unchanged.
void readEntry(const QString &entry, Counts *counts);

// The display text of a reading or detail file, in the session's script;
// empty when the file cannot be read or is empty.
QString loadReadingText(const QString &path);

} // namespace reading
