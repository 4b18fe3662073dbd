#include "Startup.h"

#include "MDIForm1.h"
#include "Module1.h"
#include "platform/Accessibility.h"
#include "platform/AppInfo.h"
#include "platform/Platform.h"

#include <QApplication>
#include <QIcon>

// The program's built-in pictures live in the static core library; make
// sure the linker keeps them.
static void initResources() { Q_INIT_RESOURCE(yanping); }

void prepareApplication(QApplication &app)
{
    initResources();
    QApplication::setApplicationName(appinfo::title());
    QApplication::setApplicationVersion(appinfo::versionText());
    platform::installTranslations(app);
    platform::installFontSubstitutes();
    platform::installAccessibleRoles();
    QIcon icon;
    icon.addFile(QStringLiteral(":/yanping/icon.png"));
    icon.addFile(QStringLiteral(":/yanping/icon256.png"));
    QApplication::setWindowIcon(icon);
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
