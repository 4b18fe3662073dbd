#pragma once
#include <QObject>
#include <QString>
#include <QTimer>

// The page file "\tem.htm": a short-lived plain copy of a document that a
// page viewer loads. It is written when a document is opened, held while a
// viewer has been told to load it and has not finished, and deleted by the
// sweeper's next tick after that.
namespace pagefile {

// Whether a caller is about to write the page file (and needs its folder
// made) or only looks for it (the sweeper, the viewer): looking never
// creates a folder.
enum class Use { Find, Write };

// Where the page file goes: "\tem.htm" in the program folder when the user
// may write there; otherwise, as in a system-wide install, "tem.htm" in a
// folder of the user's own (see privateFolder()). For writing, empty when
// there is no folder to write it in.
QString path(Use use = Use::Find);

// The user's private folder for the page file: "yanping" under
// XDG_RUNTIME_DIR, or under the user's cache folder when that is unset;
// failing that, "yanping-<user id>" in the temporary folder. For writing it
// is created with mode 0700 when missing; a folder that is not the user's
// own plain folder (a link, someone else's) is passed over. Empty when
// there is none to be had.
QString privateFolder(Use use = Use::Write);

void loadStarted(); // a viewer was told to load the page file
void loadFinished(); // that viewer has loaded it (or was closed first)
bool loadPending();

// Deletes the file when it is an ordinary file that may be deleted; every
// failure is ignored. Returns true when a file was deleted.
bool deleteIfPresent(const QString &path);

} // namespace pagefile

// Deletes the page file every five seconds, unless a viewer still waits
// for it. Runs from its creation until it is stopped or destroyed.
class PageFileSweeper : public QObject
{
    Q_OBJECT
public:
    static constexpr int kIntervalMs = 5000;

    explicit PageFileSweeper(QObject *parent = nullptr);

    QTimer *timer() { return &timer_; }
    void stop() { timer_.stop(); }
    // One tick.
    void sweep();

private:
    QTimer timer_;
};
