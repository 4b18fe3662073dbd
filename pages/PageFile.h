#pragma once
#include <QObject>
#include <QString>
#include <QTimer>

// The page file "\tem.htm": a short-lived plain copy of a document that a
// page viewer loads. It is written when a document is opened, held while a
// viewer has been told to load it and has not finished, and deleted by the
// sweeper's next tick after that.
namespace pagefile {

QString path(); // the program folder + "\tem.htm"

void loadStarted();  // a viewer was told to load the page file
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
