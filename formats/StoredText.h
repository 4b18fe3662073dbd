#pragma once
#include "Gbk.h"
#include "platform/Errors.h"

#include <QByteArray>
#include <QString>
#include <QVector>

// The stored text form shared by the instructions document and the readings:
// GBK text whose every character code is lowered by a fixed shift, read as
// lines ending at CR (or CR LF) that are joined with nothing between them.
namespace storedtext {

constexpr int kDocumentShift = 2;
constexpr int kReadingShift = 3;
// Reading stops after the line that takes the text past this many characters.
constexpr int kCharacterLimit = 32767;
// Far above any real data file: a larger file is treated as unreadable.
constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;

// A character code: the byte for a single-byte character, lead * 256 + trail
// for a double-byte one. Shifted codes may exceed 16 bits only in theory
// (0xFEFF + shift), so 32 bits are kept.
using Codes = gbk::Codes;

// Splits raw file bytes into lines and gathers their character codes,
// applying the line-end and length rules.
Codes gather(const QByteArray &fileBytes);

// Reads a stored file; false with a failure when it cannot be read.
bool readFile(const QString &path, Codes *codes, errors::Failure *failure);

// Raises every code by the shift.
Codes unshift(const Codes &stored, int shift);

// GBK bytes for a file: a code that names no GBK character is written as '?'.
QByteArray toGbk(const Codes &codes);

// Decodes stored file bytes straight to display text.
QString decodeToDisplay(const QByteArray &fileBytes, int shift);

struct EncodeResult {
    bool ok = false;
    QByteArray bytes;
    int line = 0; // 1-based position of the first character that cannot be stored
    int column = 0;
    QString problem;
};

// Turns text into the stored form. With convertNewlines a lone LF in the text
// becomes CR LF first (the program's texts break lines with CR LF). The
// stored file has no line ends of its own.
EncodeResult encode(const QString &text, int shift, bool convertNewlines);

// True when Qt's GBK codec is available on this system.
bool gbkAvailable();

} // namespace storedtext
