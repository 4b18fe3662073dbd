// Measures the computer throw against the platform's own 1 ms timer.
//
//   throw_benchmark [seconds]      (default 3 seconds for each run)
//
// Shows the main window with the divination window, starts a prayer and
// counts throws; then counts the ticks of a bare 1 ms precise timer for the
// same time. Prints both rates, their ratio and the CPU time per throw.

#include "app/MainWindow.h"
#include "app/Startup.h"
#include "divination/DivinationSession.h"
#include "divination/DivinationWindow.h"
#include "platform/ProgramFolder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <utility>

namespace {
double cpuSeconds()
{
    return double(std::clock()) / CLOCKS_PER_SEC;
}

struct Run {
    long ticks = 0;
    double seconds = 0;
    double cpu = 0;
};

template<typename Start, typename Stop>
Run measure(int ms, Start start, Stop stop, long *counter)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    *counter = 0;
    QElapsedTimer wall;
    const double cpu0 = cpuSeconds();
    wall.start();
    start();
    loop.exec();
    stop();
    Run r;
    r.ticks = *counter;
    r.seconds = wall.nsecsElapsed() / 1e9;
    r.cpu = cpuSeconds() - cpu0;
    return r;
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    prepareApplication(app);
    const double seconds = argc > 1 ? std::atof(argv[1]) : 3.0;
    const int ms = int(seconds * 1000);

    // The built program folder's pictures and readings, wherever this runs from.
    platform::setProgramFolder(QStringLiteral(PROGRAM_DIR));
    auto *mainWindow = new MainWindow;
    mainWindow->show();
    mainWindow->showDivinationWindow();
    DivinationWindow *w = mainWindow->divinationWindow();
    QApplication::processEvents();

    long throws = 0;
    QObject::connect(w->session()->findChild<QTimer *>("throwTimer"), &QTimer::timeout, [&throws] { ++throws; });
    long bare = 0;
    QTimer plain;
    plain.setTimerType(Qt::PreciseTimer);
    plain.setInterval(1);
    QObject::connect(&plain, &QTimer::timeout, [&bare] { ++bare; });

    // Alternate short runs of each, so that load from elsewhere on the
    // machine falls on both alike.
    constexpr int kRounds = 6;
    Run throwRun, bareRun;
    for (int round = 0; round < kRounds; ++round) {
        w->findChild<QPushButton *>("computerButton")->click(); // enter the computer mode
        QApplication::processEvents();
        const Run t = measure(
            ms / kRounds, [w] { w->findChild<QPushButton *>("woodenButton")->click(); },
            [w] { w->findChild<QPushButton *>("computerButton")->click(); }, &throws);
        const Run b = measure(
            ms / kRounds, [&plain] { plain.start(); }, [&plain] { plain.stop(); }, &bare);
        for (auto [total, part] : {std::pair<Run *, const Run *> {&throwRun, &t}, {&bareRun, &b}}) {
            total->ticks += part->ticks;
            total->seconds += part->seconds;
            total->cpu += part->cpu;
        }
    }

    const double throwRate = throwRun.ticks / throwRun.seconds;
    const double bareRate = bareRun.ticks / bareRun.seconds;
    std::printf("throws per second:        %.1f\n", throwRate);
    std::printf("bare 1 ms timer per second: %.1f\n", bareRate);
    std::printf("ratio:                    %.3f\n", bareRate > 0 ? throwRate / bareRate : 0.0);
    std::printf("CPU per throw:            %.4f ms\n", throwRun.ticks ? throwRun.cpu * 1000 / throwRun.ticks : 0.0);
    std::printf("CPU per bare tick:        %.4f ms\n", bareRun.ticks ? bareRun.cpu * 1000 / bareRun.ticks : 0.0);
    delete mainWindow;
    return 0;
}
