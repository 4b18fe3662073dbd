#include "Module1.h"

#include "MDIForm1.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/Platform.h"

#include <QCoreApplication>
#include <QDir>

QString ProgramFolder;
MDIForm1 *MainWindow = nullptr;

QString clockWarningText()
{
    return QStringLiteral("******** 警告 ********\r\n"
                          "\r\n"
                          "计算机系统时钟错误！！！\r\n"
                          "请将计算机的日期恢复到当前日期后再重新启动本程序！！！");
}

QString programPath(const QString &literal) { return platform::joinPath(ProgramFolder, literal); }

void Main()
{
    const QString year = clock_seam::today().toString(QStringLiteral("yyyy"));
    if (year.toInt() < 2004) {
        msgbox::showMessage(nullptr, clockWarningText());
        return;
    }
    QString folder = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    // Keep a root folder's own separator ("/" or "C:\"), drop any other.
    while (folder.size() > 1 && (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\')))
           && !folder.endsWith(QLatin1String(":\\")))
        folder.chop(1);
    ProgramFolder = folder;
    MainWindow = new MDIForm1;
    MainWindow->show();
}
