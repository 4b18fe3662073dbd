// Measures how long the program takes to show its main window, the way the
// program starts: the script chosen from the user's language, the
// application prepared, the main window created and shown. Prints the
// milliseconds from the start of main() to the main window's first paint
// and to the first reading shown, and the script, then ends. Run it under
// /usr/bin/time -v for the memory, with LANG set to the session's language:
//
//   LANG=zh_TW.UTF-8 build/benchmarks/startup_benchmark

#include "app/MainWindow.h"
#include "app/Startup.h"
#include "divination/DivinationSession.h"
#include "divination/DivinationWindow.h"
#include "platform/ProgramFolder.h"
#include "platform/Script.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <cstdio>

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
} // namespace

int main(int argc, char *argv[])
{
    QElapsedTimer clock;
    clock.start();
    // The converter's files lie in the program folder's opencc/.
    platform::setProgramFolder(QStringLiteral(PROGRAM_DIR));
    script::chooseForSession();
    QApplication app(argc, argv);
    const double appMade = clock.nsecsElapsed() / 1e6;
    prepareApplication(app);
    const double prepared = clock.nsecsElapsed() / 1e6;
    MainWindow window;
    FirstPaint watcher(&window);
    app.installEventFilter(&watcher);
    window.show();
    app.exec();
    const double shown = clock.nsecsElapsed() / 1e6;

    // One reading: the wooden mode and the entry for 2上0中3下.
    window.showDivinationWindow();
    DivinationSession *session = window.divinationWindow()->session();
    session->clickWoodenButton();
    QElapsedTimer readingClock;
    readingClock.start();
    session->chooseEntry(2 + 25 * 2 + 3);
    const double reading = readingClock.nsecsElapsed() / 1e6;
    const char *names[] = {"Simplified", "Taiwan", "HongKong"};
    std::printf("script=%s application_ms=%.1f prepared_ms=%.1f main_window_ms=%.1f reading_ms=%.2f\n",
                names[int(script::current())], appMade, prepared, shown, reading);
    return 0;
}
