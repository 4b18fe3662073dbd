#pragma once
#include "app/MainWindow.h"
#include "messagerecorder.h"
#include "testsupport.h"

#include <QApplication>
#include <QSize>
#include <memory>

namespace testsupport {

// A main window of the given size, shown (maximized, as the program opens
// it, or in its normal state), over a program folder with the built data,
// with every message box recorded. It goes first, with the deletions it
// leaves behind, then the recorder and the folder.
struct MainWindowFixture {
    enum class State { Maximized, Normal };
    explicit MainWindowFixture(const QSize &size = QSize(1200, 800), State state = State::Maximized)
        : folder(true), window(std::make_unique<MainWindow>())
    {
        if (state == State::Normal)
            window->setWindowState(Qt::WindowNoState);
        window->resize(size);
        window->show();
    }
    ~MainWindowFixture()
    {
        window.reset();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    ProgramFolderFixture folder;
    MessageRecorder messages;
    std::unique_ptr<MainWindow> window;
};

} // namespace testsupport
