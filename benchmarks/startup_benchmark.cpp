// Measures how long the program takes to show its main window, the way the
// program starts: its font configuration, the script chosen from the user's
// language, the application prepared, the main window created and shown.
// Prints the milliseconds from the start of main() to the main window's
// first paint and the largest resident memory by then; then the
// milliseconds to open a reading (chosen from the list and painted in the
// reading pane), first right after the main window and then another one;
// the largest resident memory of the whole run; and the script; then ends. Run it with LANG set to the session's
// language:
//
//   LANG=zh_TW.UTF-8 build/benchmarks/startup_benchmark
//
// benchmarks/startup_cost.sh runs it for Simplified, Taiwan and Hong Kong
// sessions in turn and compares their medians.

#include "app/MainWindow.h"
#include "app/Startup.h"
#include "divination/DivinationSession.h"
#include "divination/DivinationWindow.h"
#include "divination/TextPane.h"
#include "platform/FontConfiguration.h"
#include "platform/ProgramFolder.h"
#include "platform/Script.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <cstdio>
#if defined(Q_OS_UNIX)
#include <sys/resource.h>
#endif

namespace {
class FirstPaint : public QObject
{
public:
    explicit FirstPaint(QWidget *window) : window_(window) { }
    bool painted = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!painted && event->type() == QEvent::Paint && watched->isWidgetType()
            && static_cast<QWidget *>(watched)->window() == window_) {
            painted = true;
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }

private:
    QWidget *window_;
};

// The largest resident memory of the process so far, in kilobytes; 0 where
// the system does not tell.
long maxResidentKb()
{
#if defined(Q_OS_UNIX)
    rusage usage {};
    if (getrusage(RUSAGE_SELF, &usage) == 0)
        return usage.ru_maxrss;
#endif
    return 0;
}
} // namespace

int main(int argc, char *argv[])
{
    QElapsedTimer clock;
    clock.start();
    platform::useProgramFontConfiguration(QStringLiteral(PROGRAM_DIR));
    script::chooseForSession();
    QApplication app(argc, argv);
    const double appMade = clock.nsecsElapsed() / 1e6;
    prepareApplication(app);
    const double prepared = clock.nsecsElapsed() / 1e6;
    platform::setProgramFolder(QStringLiteral(PROGRAM_DIR));
    MainWindow window;
    FirstPaint watcher(&window);
    app.installEventFilter(&watcher);
    window.show();
    app.exec();
    const double shown = clock.nsecsElapsed() / 1e6;
    const long shownKb = maxResidentKb();

    // The wooden mode's entries for 2上0中3下, then 4上1中0下.
    window.showDivinationWindow();
    DivinationWindow *divination = window.divinationWindow();
    DivinationSession *session = divination->session();
    session->clickWoodenButton();
    const auto open = [&](int entry) {
        QElapsedTimer readingClock;
        readingClock.start();
        session->chooseEntry(entry);
        divination->readingPane()->viewport()->repaint();
        return readingClock.nsecsElapsed() / 1e6;
    };
    const double reading = open(2 + 25 * 2 + 3);
    const double nextReading = open(2 + 25 * 4 + 5);
    const char *names[] = {"Simplified", "Taiwan", "HongKong"};
    std::printf("script=%s application_ms=%.1f prepared_ms=%.1f main_window_ms=%.1f main_window_rss_kb=%ld "
                "reading_ms=%.2f next_reading_ms=%.2f rss_kb=%ld\n",
                names[int(script::current())], appMade, prepared, shown, shownKb, reading, nextReading,
                maxResidentKb());
    return 0;
}
