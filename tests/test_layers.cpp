// The program's layers, read from its #include lines: platform at the
// bottom, then formats, then the three features (divination, pages, shell),
// which never include each other, and app at the top. An include may point
// down a layer or stay in its own folder, never up or across.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QStringList kFolders = {QStringLiteral("platform"), QStringLiteral("formats"), QStringLiteral("divination"),
                              QStringLiteral("pages"),    QStringLiteral("shell"),   QStringLiteral("app")};

// The layer a top folder belongs to; -1 for anything that is not the program.
int layerOf(const QString &folder)
{
    if (folder == QLatin1String("platform"))
        return 0;
    if (folder == QLatin1String("formats"))
        return 1;
    if (folder == QLatin1String("divination") || folder == QLatin1String("pages") || folder == QLatin1String("shell"))
        return 2;
    if (folder == QLatin1String("app"))
        return 3;
    return -1;
}

// Every include that breaks the rule, as "file:line: includes target".
QStringList layerViolations(const QString &root)
{
    static const QRegularExpression include(QStringLiteral("^\\s*#\\s*include\\s*\"([^\"]+)\""));
    QStringList problems;
    const QDir top(root);
    for (const QString &folder : kFolders) {
        QDirIterator it(top.filePath(folder), {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
                problems << top.relativeFilePath(path) + QStringLiteral(": cannot be read");
                continue;
            }
            int lineNumber = 0;
            while (!file.atEnd()) {
                const QString line = QString::fromUtf8(file.readLine());
                ++lineNumber;
                const QRegularExpressionMatch m = include.match(line);
                if (!m.hasMatch())
                    continue;
                const QString name = m.captured(1);
                // Where it points: beside the file if it is there, else from the top.
                const QString beside = QDir::cleanPath(QFileInfo(path).absolutePath() + QLatin1Char('/') + name);
                const QString target = top.relativeFilePath(QFile::exists(beside) ? beside : top.filePath(name));
                const QString targetFolder = target.section(QLatin1Char('/'), 0, 0);
                const bool sameFolder = targetFolder == folder;
                const bool below = layerOf(targetFolder) >= 0 && layerOf(targetFolder) < layerOf(folder);
                if (!sameFolder && !below)
                    problems << QStringLiteral("%1:%2: includes %3")
                                    .arg(top.relativeFilePath(path))
                                    .arg(lineNumber)
                                    .arg(target);
            }
        }
    }
    return problems;
}

void write(const QString &path, const QByteArray &text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
}

} // namespace

class TestLayers : public QObject
{
    Q_OBJECT
private slots:
    void programKeepsItsLayers()
    {
        const QStringList problems = layerViolations(QStringLiteral(SOURCE_DIR));
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
    }

    void ruleCatchesBadIncludes_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("down from app") << "app/Main.cpp" << QByteArray("#include \"shell/Panel.h\"") << true;
        QTest::newRow("feature to formats") << "pages/Page.cpp" << QByteArray("#include \"formats/Text.h\"") << true;
        QTest::newRow("formats to platform")
            << "formats/wmf/Play.cpp" << QByteArray("#include \"platform/Files.h\"") << true;
        QTest::newRow("own folder, short name") << "shell/Panel.cpp" << QByteArray("#include \"Panel.h\"") << true;
        QTest::newRow("own subfolder") << "formats/Pictures.cpp" << QByteArray("#include \"wmf/Wmf.h\"") << true;
        QTest::newRow("system header") << "platform/Files.cpp" << QByteArray("#include <QFile>") << true;
        QTest::newRow("up from platform") << "platform/Files.cpp" << QByteArray("#include \"formats/Text.h\"") << false;
        QTest::newRow("feature to app") << "shell/Panel.cpp" << QByteArray("#include \"app/MainWindow.h\"") << false;
        QTest::newRow("across features") << "divination/Window.cpp" << QByteArray("  #  include \"pages/Page.h\"")
                                         << false;
        QTest::newRow("up by a relative path")
            << "formats/wmf/Play.cpp" << QByteArray("#include \"../../app/Main.h\"") << false;
        QTest::newRow("program to a tool") << "formats/Text.cpp" << QByteArray("#include \"tools/Writer.h\"") << false;
    }

    void ruleCatchesBadIncludes()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, line);
        QFETCH(bool, allowed);
        QTemporaryDir root;
        // A small tree where every include names a file that exists.
        for (const char *name : {"app/Main.h", "shell/Panel.h", "pages/Page.h", "formats/Text.h", "formats/wmf/Wmf.h",
                                 "platform/Files.h", "app/MainWindow.h", "tools/Writer.h"})
            write(root.filePath(QString::fromLatin1(name)), "#pragma once\n");
        write(root.filePath(file), "// a source\n" + line + "\n");
        const QStringList problems = layerViolations(root.path());
        if (allowed) {
            QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
        } else {
            QCOMPARE(problems.size(), 1);
            QVERIFY2(problems.first().startsWith(file + QStringLiteral(":2: includes ")), qPrintable(problems.first()));
        }
    }
};

QTEST_GUILESS_MAIN(TestLayers)
#include "test_layers.moc"
