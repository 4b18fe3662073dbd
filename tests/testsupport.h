#pragma once
#include "platform/ProgramFolder.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// Shared helpers for the tests.
namespace testsupport {

// A program folder of its own for a test: the program folder points at it while
// the object lives. With withData its god/ and picture/ hold links to one
// copy of the built program's data, shared by the whole test process;
// writeFile() and remove() replace a link, never what it points to.
struct ProgramFolderFixture {
    explicit ProgramFolderFixture(bool withData = true);
    QString path(const QString &relative) const;
    void writeFile(const QString &relative, const QByteArray &bytes) const;
    void remove(const QString &relative) const;
    QTemporaryDir dir;
    platform::ProgramFolderOverride folder {dir.path()};
};

QByteArray readFile(const QString &path);

} // namespace testsupport
