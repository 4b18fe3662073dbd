#include "Startup.h"

#include "MDIForm1.h"
#include "Module1.h"
#include "platform/AppInfo.h"
#include "platform/Platform.h"

#include <QApplication>

void prepareApplication(QApplication &app)
{
    QApplication::setApplicationName(appinfo::title());
    QApplication::setApplicationDisplayName(appinfo::title());
    QApplication::setApplicationVersion(appinfo::versionText());
    platform::installTranslations(app);
    platform::installFontSubstitutes();
}

int runProgram(int argc, char *argv[])
{
    QApplication app(argc, argv);
    prepareApplication(app);
    Main();
    if (!MainWindow)
        return 1; // the clock check ended the program
    const int code = QApplication::exec();
    delete MainWindow;
    return code;
}
