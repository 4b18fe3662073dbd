#include "Platform.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTemporaryFile>
#include <QTranslator>

#include <cstdio>
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace platform {

QString joinPath(const QString &folder, const QString &literal)
{
    QString tail = literal;
    tail.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return folder + tail;
}

bool ordinaryFileExists(const QString &path)
{
    const QFileInfo fi(path);
    return fi.exists() && fi.isFile() && !fi.isHidden();
}

void installTranslations(QApplication &app)
{
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char *name : {"qtbase_zh_CN", "qt_zh_CN"}) {
        auto *tr = new QTranslator(&app);
        if (tr->load(QString::fromLatin1(name), dir))
            app.installTranslator(tr);
        else
            delete tr;
    }
}

void installFontSubstitutes()
{
    const QStringList song = {QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL SungtiL GB"),
                              QStringLiteral("Noto Serif CJK SC"), QStringLiteral("WenQuanYi Zen Hei")};
    const QStringList kai = {QStringLiteral("AR PL UKai CN"), QStringLiteral("AR PL KaitiM GB"),
                             QStringLiteral("Noto Serif CJK SC"), QStringLiteral("AR PL UMing CN")};
    QFont::insertSubstitutions(QStringLiteral("宋体"), song);
    QFont::insertSubstitutions(QStringLiteral("SimSun"), song);
    QFont::insertSubstitutions(QStringLiteral("楷体_GB2312"), kai);
    // No free FangSong or Li face is packaged; the Kai face is the nearest
    // brush style for both.
    QFont::insertSubstitutions(QStringLiteral("仿宋_GB2312"), kai);
    QFont::insertSubstitutions(QStringLiteral("隶书"), kai);
}

QFont designFont(const QString &face, double points)
{
    QFont f(face);
    f.setPointSizeF(points);
    f.setWeight(QFont::Normal);
    f.setBold(false);
    f.setItalic(false);
    f.setUnderline(false);
    f.setStrikeOut(false);
    return f;
}

} // namespace platform

namespace platform {

bool writeFileReplacing(const QString &path, const QByteArray &data, errors::Failure *failure)
{
    const QFileInfo target(path);
    if (target.isDir()) {
        *failure = errors::Failure::of(errors::PathFileAccess);
        return false;
    }
    const auto writable = QFileDevice::WriteOwner | QFileDevice::WriteGroup
                          | QFileDevice::WriteOther;
    if (target.exists() && !target.isSymLink() && !(target.permissions() & writable)) {
        *failure = errors::Failure::of(errors::PermissionDenied);
        return false;
    }
    if (!target.absoluteDir().exists()) {
        *failure = errors::Failure::of(errors::PathNotFound);
        return false;
    }
    QTemporaryFile temp(target.absolutePath() + QStringLiteral("/.tem-XXXXXX"));
    if (!temp.open()) {
        *failure = errors::Failure::of(errors::PermissionDenied);
        return false;
    }
    if (temp.write(data) != data.size() || !temp.flush()) {
        *failure = errors::Failure::of(errors::PathFileAccess);
        return false;
    }
    temp.close();
    const QString tempPath = temp.fileName();
#ifdef Q_OS_WIN
    const bool moved = MoveFileExW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(tempPath).utf16()),
                                   reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(path).utf16()),
                                   MOVEFILE_REPLACE_EXISTING)
                       != 0;
#else
    // rename() replaces a link of that name itself; it never writes through it.
    const bool moved = std::rename(QFile::encodeName(tempPath).constData(), QFile::encodeName(path).constData()) == 0;
#endif
    if (!moved) {
        *failure = errors::Failure::of(errors::PathFileAccess);
        return false;
    }
    temp.setAutoRemove(false);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                    | QFileDevice::ReadOther);
    return true;
}

} // namespace platform
