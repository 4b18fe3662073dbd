#pragma once
#include "ReadingSheet.h"
#include "platform/Errors.h"

#include <QObject>
#include <array>

class DivinationSession;
class PieceImage;
class QAction;
class QMenu;
class QPageLayout;
class QPoint;
class QWidget;
class TextPane;

// Keeps the reading a divination window shows: saves it as a PDF or a
// picture (Ctrl+S, 保存签文…) or prints it (Ctrl+P, 打印签文…). Both work
// only while the pane shows a reading or a detailed explanation; the
// reading pane's context menu offers them below its own entries.
class ReadingKeeper : public QObject
{
    Q_OBJECT
public:
    // The 上, 中 and 下 pieces, each group in the diamond's order.
    using PieceGroups = std::array<std::array<PieceImage *, 4>, 3>;

    // Keeps what the window shows: its session's reading, the text pane
    // and the pieces. The window owns the keeper and takes its shortcuts.
    ReadingKeeper(QWidget *window, DivinationSession *session, TextPane *pane, const PieceGroups &pieces);

    // The reading pane's context menu for a point of its viewport; the
    // caller owns it.
    QMenu *createContextMenu(const QPoint &position) const;

    // True while the pane shows a reading or a detailed explanation.
    bool readingShown() const;
    // The slip of what the window shows now.
    ReadingSheet sheet() const;

    // "衍枰占卜 203 2026-12-07.pdf"
    static QString proposedFileName(const QString &key, const QDate &date);

    enum class Format { Pdf, Png };
    // The format a file name asks for by its suffix; false for any other.
    static bool formatOf(const QString &path, Format *format);
    // A picture holds at most this many pages; a longer slip is kept as a
    // PDF.
    static constexpr int kMaxPicturePages = 10;
    // Writes the slip to the file, whole or not at all: a PDF on paper of
    // the locale's size, or a picture of its pages at 150 dpi.
    static bool writeSheet(const ReadingSheet &sheet, const QString &path, Format format, errors::Failure *failure);

    void save();
    void print();

private:
    void updateActions();
    static bool writePdf(const ReadingSheet &sheet, const QString &path, const QPageLayout &page,
                         errors::Failure *failure);

    QWidget *window_;
    DivinationSession *session_;
    TextPane *pane_;
    PieceGroups pieces_;
    QAction *saveAction_;
    QAction *printAction_;
};
