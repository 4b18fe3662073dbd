#include "testsupport.h"

#include "platform/ProgramFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace testsupport {

namespace {

void copyTree(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString src = it.next();
        const QString dst = to + src.mid(from.size());
        QDir().mkpath(QFileInfo(dst).absolutePath());
        QFile::copy(src, dst);
    }
}

// One copy of the built program's god/ and picture/ per test process, so
// that no test can touch the build's own files.
const QString &preparedData()
{
    static QTemporaryDir copy;
    static const bool copied = [] {
        copyTree(QStringLiteral(PROGRAM_DIR "/god"), copy.path() + QStringLiteral("/god"));
        copyTree(QStringLiteral(PROGRAM_DIR "/picture"), copy.path() + QStringLiteral("/picture"));
        return true;
    }();
    Q_UNUSED(copied);
    static const QString path = copy.path();
    return path;
}

// Fills `to` with links to every file of the prepared copy.
void linkData(const QString &to)
{
    const QString from = preparedData();
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString src = it.next();
        const QString dst = to + src.mid(from.size());
        QDir().mkpath(QFileInfo(dst).absolutePath());
        QFile::link(src, dst);
    }
}

} // namespace

ProgramFolderFixture::ProgramFolderFixture(bool withData)
{
    if (withData)
        linkData(dir.path());
}

QString ProgramFolderFixture::path(const QString &relative) const
{
    return dir.path() + QLatin1Char('/') + relative;
}

void ProgramFolderFixture::writeFile(const QString &relative, const QByteArray &bytes) const
{
    const QString p = path(relative);
    QDir().mkpath(QFileInfo(p).absolutePath());
    QFile::remove(p); // a link to the shared data is replaced, never written through
    QFile f(p);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(bytes);
}

void ProgramFolderFixture::remove(const QString &relative) const
{
    QFile::remove(path(relative));
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

} // namespace testsupport
