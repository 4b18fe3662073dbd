#pragma once
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// Shared helpers for the tests.
namespace testsupport {

// Records every message box instead of showing it.
struct MessageRecorder {
    MessageRecorder();
    ~MessageRecorder();
    QStringList titles;
    QStringList texts;
};

// A program folder of its own for a test: the program folder points at it while
// the object lives. With withData the built program's god/ and picture/
// folders are copied in.
struct ProgramFolderFixture {
    explicit ProgramFolderFixture(bool withData = true);
    ~ProgramFolderFixture();
    QString path(const QString &relative) const;
    void writeFile(const QString &relative, const QByteArray &bytes) const;
    void remove(const QString &relative) const;
    QTemporaryDir dir;
    QString previous;
};

QByteArray readFile(const QString &path);

} // namespace testsupport
