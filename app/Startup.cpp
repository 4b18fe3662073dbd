#include "Startup.h"

#include "MainWindow.h"
#include "platform/AppIcon.h"
#include "platform/AppInfo.h"
#include "platform/Clock.h"
#include "platform/FontConfiguration.h"
#include "platform/Fonts.h"
#include "platform/Keyboard.h"
#include "platform/MessageBox.h"
#include "platform/ProgramFolder.h"
#include "platform/Script.h"
#include "platform/Translations.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QSettings>
#include <memory>

namespace {
// Qt's own dialogs (the save dialog, the print dialog and its file chooser)
// remember folders and views in the user's settings. The program keeps
// nothing between runs, so from the start those settings go where nothing
// can be written or read.
void keepNoSettings()
{
#ifdef Q_OS_UNIX
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, QStringLiteral("/dev/null/unused"));
#endif
}
} // namespace

QString clockWarningText()
{
    return QCoreApplication::translate("Startup",
                                       "******** 警告 ********\r\n"
                                       "\r\n"
                                       "计算机系统时钟错误！！！\r\n"
                                       "请将计算机的日期恢复到当前日期后再重新启动本程序！！！");
}

void prepareApplication(QApplication &app)
{
    QApplication::setApplicationName(appinfo::title());
    QApplication::setApplicationVersion(appinfo::version());
    // The installed menu entry's name (YANPING_APP_ID in cmake/Install.cmake):
    // Wayland compositors take it as the windows' app ID and show the entry's
    // name and icon for them.
    QApplication::setDesktopFileName(QStringLiteral("org.yanping.Yanping"));
    keepNoSettings();
    platform::installTranslations(app);
    platform::installFontSubstitutes();
    // A Traditional session whose converter cannot be loaded shows
    // Simplified as a whole: its readings, and so also the menu, the
    // windows, Qt's dialogs and the faces, which were set up for Traditional
    // before the converter had loaded.
    script::whenSettled(&app, [](script::Script shown) {
        if (shown == script::Script::Simplified && script::requested() != script::Script::Simplified) {
            platform::removeTranslations();
            platform::useFacesFor(script::Script::Simplified);
        }
    });
    platform::installKeyboardConventions();
    QApplication::setWindowIcon(platform::appIcon());
}

MainWindow *startProgram()
{
    // A clock set before the program was made is wrong, and the program
    // says so rather than run with it.
    constexpr int kEarliestYear = 2004;
    if (hostclock::today().year() < kEarliestYear) {
        msgbox::showMessage(nullptr, clockWarningText());
        return nullptr;
    }
    platform::setProgramFolder(
        platform::programFolderFrom(QDir::toNativeSeparators(QCoreApplication::applicationDirPath())));
    auto *window = new MainWindow;
    window->show();
    return window;
}

int runProgram(int argc, char *argv[])
{
    // Before the first font is looked up.
    platform::useProgramFontConfiguration(platform::executableFolder());
    // The user's language decides the script of every text; a Traditional
    // session's converter loads once the first screen is painted.
    script::chooseForSession();
    QApplication app(argc, argv);
    prepareApplication(app);
    const std::unique_ptr<MainWindow> window(startProgram());
    if (!window)
        return 1; // the clock check ended the program
    return QApplication::exec();
}
