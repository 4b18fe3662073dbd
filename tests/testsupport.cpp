#include "testsupport.h"

#include "platform/ProgramFolder.h"
#include "platform/MessageBox.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace testsupport {

MessageRecorder::MessageRecorder()
{
    msgbox::setHook([this](const QString &title, const QString &text) {
        titles.append(title);
        texts.append(text);
    });
}

MessageRecorder::~MessageRecorder() { msgbox::setHook({}); }

static void copyTree(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString src = it.next();
        const QString dst = to + src.mid(from.size());
        QDir().mkpath(QFileInfo(dst).absolutePath());
        QFile::copy(src, dst);
    }
}

ProgramFolderFixture::ProgramFolderFixture(bool withData) : previous(platform::programFolder())
{
    platform::setProgramFolder(dir.path());
    if (withData) {
        copyTree(QStringLiteral(PROGRAM_DIR "/god"), dir.path() + QStringLiteral("/god"));
        copyTree(QStringLiteral(PROGRAM_DIR "/picture"), dir.path() + QStringLiteral("/picture"));
    }
}

ProgramFolderFixture::~ProgramFolderFixture() { platform::setProgramFolder(previous); }

QString ProgramFolderFixture::path(const QString &relative) const { return dir.path() + QLatin1Char('/') + relative; }

void ProgramFolderFixture::writeFile(const QString &relative, const QByteArray &bytes) const
{
    const QString p = path(relative);
    QDir().mkpath(QFileInfo(p).absolutePath());
    QFile f(p);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(bytes);
}

void ProgramFolderFixture::remove(const QString &relative) const { QFile::remove(path(relative)); }

QByteArray readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

} // namespace testsupport
