// godtool: the maintainers' tool for the program's stored text files.
//
//   godtool encode --shift N [--keep-newlines] INPUT.txt OUTPUT.god
//   godtool decode --shift N [--page] [--locale L [--program DIR]] INPUT.god [OUTPUT]
//   godtool check PROGRAM_FOLDER
//
// Documents use shift 2, readings shift 3.

#include "formats/StoredText.h"
#include "pages/PageScript.h"
#include "platform/Files.h"
#include "platform/Script.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>
#include <QTextStream>
#include <cerrno>
#include <cstdio>
#include <cstring>
#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

QTextStream &err()
{
    static QTextStream s(stderr);
    return s;
}

const char *const kUsage = "Usage:\n"
                           "  godtool encode --shift N [--keep-newlines] INPUT OUTPUT\n"
                           "      Stores a UTF-8 text file in the program's stored form, lowering every\n"
                           "      GBK character code by N. Line breaks (LF) become CR LF first unless\n"
                           "      --keep-newlines is given. Refuses, naming the line and column, any\n"
                           "      character that cannot be stored.\n"
                           "  godtool decode --shift N [--page] [--locale L [--program DIR]] INPUT [OUTPUT]\n"
                           "      Undoes the stored form. Without --page writes the text the program\n"
                           "      shows, as UTF-8 (to standard output when OUTPUT is missing); with\n"
                           "      --page writes the GBK page file the program writes (text + CR LF).\n"
                           "      --locale L (zh_TW, zh_HK, zh_MO, zh_CN …) shows the text as a session\n"
                           "      in that language does: a document (shift 2) converted as the\n"
                           "      instructions page, anything else as a reading. The converter's files\n"
                           "      come from DIR/opencc, by default from the nearest folder above INPUT\n"
                           "      that has opencc/ (the program folder), and from OpenCC's own folder.\n"
                           "  godtool check PROGRAM_FOLDER\n"
                           "      Checks the data beside a built program: all 125 reading files present\n"
                           "      and decodable, every detail file and the instructions document\n"
                           "      decodable. Lists every problem; exits 1 if there is any.\n"
                           "  godtool --help\n"
                           "Documents use shift 2, readings shift 3.\n";

int usageError(const QString &message)
{
    err() << "godtool: " << message << "\n" << kUsage;
    err().flush();
    return 2;
}

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Everything meant for standard output goes through here, so that a full
// disk or a closed stream is noticed instead of ending in silence.
bool writeStdout(const QByteArray &bytes)
{
    errno = 0;
    const bool ok = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size())
        && std::fflush(stdout) == 0 && !std::ferror(stdout);
    if (!ok) {
        err() << "godtool: cannot write to standard output: " << systemReason(errno ? errno : EIO) << "\n";
        err().flush();
    }
    return ok;
}

// Why the program's reader refused a file, in a few plain English words,
// e.g. "is a folder". The failure's kind says most; for the kind that covers
// folders, special files and read errors, the file itself is looked at.
QString readProblem(const QString &path, const errors::Failure &failure, qint64 cap)
{
    switch (failure.kind) {
    case errors::Kind::FileNotFound: return QStringLiteral("no such file");
    case errors::Kind::PermissionDenied: return QStringLiteral("permission denied");
    case errors::Kind::OutOfMemory:
        return QStringLiteral("file too large (the program reads at most %1 bytes)").arg(cap);
    default: break;
    }
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return QStringLiteral("is a folder");
        if (!S_ISREG(st.st_mode))
            return QStringLiteral("not a regular file");
    }
    return QStringLiteral("read error");
}

// Reads a regular file the way the program does: FIFOs, devices and folders
// are refused, never waited on, and nothing past the cap is read.
bool readInput(const QString &path, QByteArray *bytes)
{
    errors::Failure failure;
    if (!platform::readRegularFile(path, storedtext::kMaxFileBytes, bytes, &failure)) {
        err() << "godtool: cannot read " << path << ": " << readProblem(path, failure, storedtext::kMaxFileBytes)
              << "\n";
        return false;
    }
    return true;
}

#ifdef Q_OS_UNIX
// A FIFO or a character device named as the output is written to as a
// stream; putting a file in its place would break whatever it belongs to.
// Returns false after saying why when the output is some other special
// file; *handled tells whether the output was one of these at all.
bool writeSpecial(const QString &path, const QByteArray &bytes, bool *handled)
{
    *handled = false;
    const QByteArray name = QFile::encodeName(path);
    struct stat st;
    if (::stat(name.constData(), &st) != 0 || S_ISREG(st.st_mode))
        return true;
    *handled = true;
    if (S_ISDIR(st.st_mode)) {
        err() << "godtool: cannot write " << path << ": is a folder\n";
        return false;
    }
    if (!S_ISFIFO(st.st_mode) && !S_ISCHR(st.st_mode)) {
        err() << "godtool: will not write " << path << ": not a regular file, FIFO or character device\n";
        return false;
    }
    int fd;
    do {
        fd = ::open(name.constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        err() << "godtool: cannot write " << path << ": " << systemReason(errno) << "\n";
        return false;
    }
    int error = 0;
    if (::fstat(fd, &st) != 0 || !(S_ISFIFO(st.st_mode) || S_ISCHR(st.st_mode))) {
        error = EINVAL; // replaced by something else meanwhile
    }
    for (qsizetype done = 0; !error && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno != EINTR)
            error = errno;
        else if (n > 0)
            done += n;
    }
    if (::close(fd) != 0 && !error && errno != EINTR)
        error = errno;
    if (error) {
        err() << "godtool: cannot write " << path << ": " << systemReason(error) << "\n";
        return false;
    }
    return true;
}
#endif

bool writeWhole(const QString &path, const QByteArray &bytes)
{
#ifdef Q_OS_UNIX
    bool special = false;
    const bool written = writeSpecial(path, bytes, &special);
    if (special)
        return written;
#endif
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile f(path);
    // Unbuffered, so that a failing write reports its own reason (a full
    // disk, the file-size limit) rather than a later flush's.
    errno = 0;
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || f.write(bytes) != bytes.size() || !f.commit()) {
        const int error = errno;
        QString reason = f.errorString();
        if (error && (reason.isEmpty() || reason == QLatin1String("Unknown error")))
            reason = systemReason(error);
        err() << "godtool: cannot write " << path << ": " << reason << "\n";
        return false;
    }
    return true;
}

bool parseShift(const QString &value, int *shift)
{
    bool ok = false;
    const int v = value.toInt(&ok);
    if (!ok || v < 0 || v > 255)
        return false;
    *shift = v;
    return true;
}

// The arguments of encode and decode: --shift N, one flag of the
// command's own, and file names. Returns false after reporting a usage error.
struct Arguments {
    int shift = -1;
    bool flag = false;
    QString locale; // decode only
    QString program; // decode only
    QStringList files;
};

bool parseArguments(QStringList args, const QString &command, const QString &flagName, Arguments *out)
{
    while (!args.isEmpty()) {
        const QString a = args.takeFirst();
        if (a == QLatin1String("--shift")) {
            if (args.isEmpty() || !parseShift(args.takeFirst(), &out->shift)) {
                usageError(QStringLiteral("--shift needs a number from 0 to 255"));
                return false;
            }
        } else if (a == flagName) {
            out->flag = true;
        } else if (command == QLatin1String("decode")
                   && (a == QLatin1String("--locale") || a == QLatin1String("--program"))) {
            if (args.isEmpty() || args.first().isEmpty()) {
                usageError(a + QStringLiteral(" needs a value"));
                return false;
            }
            (a == QLatin1String("--locale") ? out->locale : out->program) = args.takeFirst();
        } else if (a.startsWith(QLatin1String("--"))) {
            usageError(QStringLiteral("unknown option ") + a);
            return false;
        } else {
            out->files.append(a);
        }
    }
    if (out->shift < 0) {
        usageError(command + QStringLiteral(" needs --shift"));
        return false;
    }
    return true;
}

// Why the program would not take this stored file whole; empty when it would.
QString storedFormProblem(const QByteArray &stored)
{
    if (stored.size() > storedtext::kMaxFileBytes)
        return QStringLiteral("%1 bytes, more than the %2 bytes the program reads")
            .arg(stored.size())
            .arg(storedtext::kMaxFileBytes);
    // The reader always keeps the line that crosses the limit; what lies past
    // one character more than the limit is not counted on.
    const qsizetype characters = storedtext::gather(stored).size();
    if (characters > storedtext::kCharacterLimit + 1)
        return QStringLiteral("longer than the %1 characters the program reads").arg(storedtext::kCharacterLimit);
    return QString();
}

int encodeCommand(const QStringList &args)
{
    Arguments a;
    if (!parseArguments(args, QStringLiteral("encode"), QStringLiteral("--keep-newlines"), &a))
        return 2;
    const bool keepNewlines = a.flag;
    const int shift = a.shift;
    const QStringList &files = a.files;
    if (files.size() != 2)
        return usageError(QStringLiteral("encode needs an input and an output file"));

    QByteArray input;
    if (!readInput(files[0], &input))
        return 1;
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(input);
    if (utf8.hasError()) {
        err() << "godtool: " << files[0] << " is not valid UTF-8\n";
        return 1;
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    const storedtext::EncodeResult r = storedtext::encode(text, shift, !keepNewlines);
    if (!r.ok) {
        err() << "godtool: " << files[0] << ":" << r.line << ":" << r.column << ": " << r.problem << "\n";
        return 1;
    }
    // Nothing is written that the program would not read back whole.
    const QString tooLong = storedFormProblem(r.bytes);
    if (!tooLong.isEmpty()) {
        err() << "godtool: " << files[0] << ": cannot be stored: " << tooLong << "\n";
        return 1;
    }
    return writeWhole(files[1], r.bytes) ? 0 : 1;
}

// The program folder a stored file lies in: the nearest folder above it
// that has the converter's opencc/; empty when there is none.
QString programFolderAbove(const QString &file)
{
    QDir dir = QFileInfo(file).absoluteDir();
    do {
        if (QFileInfo(dir.filePath(QStringLiteral("opencc"))).isDir())
            return dir.absolutePath();
    } while (dir.cdUp());
    return QString();
}

int decodeCommand(const QStringList &args)
{
    Arguments a;
    if (!parseArguments(args, QStringLiteral("decode"), QStringLiteral("--page"), &a))
        return 2;
    const bool page = a.flag;
    const int shift = a.shift;
    const QStringList files = a.files;
    if (files.isEmpty() || files.size() > 2)
        return usageError(QStringLiteral("decode needs an input file and at most one output file"));

    if (a.program.isEmpty() && !a.locale.isEmpty())
        a.program = programFolderAbove(files[0]);
    QByteArray stored;
    if (!readInput(files[0], &stored))
        return 1;
    const storedtext::Codes shown = storedtext::unshift(storedtext::gather(stored), shift);
    const script::Script wanted
        = a.locale.isEmpty() ? script::Script::Simplified : script::scriptFor(QLocale(a.locale));
    QByteArray out;
    if (wanted == script::Script::Simplified) {
        out = page ? storedtext::toGbk(shown) + QByteArray("\r\n") : gbk::toText(shown).toUtf8();
    } else {
        // The session that language makes, with the program's converter.
        script::Folders folders = script::Folders::forProgram();
        if (!a.program.isEmpty())
            folders.program = QDir(a.program).absoluteFilePath(QStringLiteral("opencc"));
        const script::Override session(wanted, folders);
        if (script::current() != wanted) {
            err() << "godtool: the converter for " << a.locale << " cannot be loaded from " << folders.program
                  << " and " << folders.system << "; a session would show Simplified characters\n";
            return 1;
        }
        if (shift == storedtext::kDocumentShift)
            out = page ? pagescript::pageBytes(shown) + QByteArray("\r\n")
                       : pagescript::displayPage(gbk::toText(shown)).toUtf8();
        else if (page)
            out = pagescript::toGbkHtml(script::display(gbk::toText(shown))) + QByteArray("\r\n");
        else
            out = script::display(gbk::toText(shown)).toUtf8();
    }
    if (files.size() == 2)
        return writeWhole(files[1], out) ? 0 : 1;
    return writeStdout(out) ? 0 : 1;
}

// Returns a problem description, or an empty string when the file is fine.
QString checkFile(const QString &path, int shift)
{
    QByteArray stored;
    errors::Failure failure;
    if (!platform::readRegularFile(path, storedtext::kMaxFileBytes, &stored, &failure)) {
        if (failure.kind == errors::Kind::FileNotFound)
            return QStringLiteral("missing");
        return QStringLiteral("cannot be read: ") + readProblem(path, failure, storedtext::kMaxFileBytes);
    }
    const storedtext::Codes codes = storedtext::gather(stored);
    if (codes.isEmpty())
        return QStringLiteral("empty");
    const QString text = gbk::toText(storedtext::unshift(codes, shift));
    const qsizetype bad = text.indexOf(QChar(QChar::ReplacementCharacter));
    if (bad >= 0)
        return QStringLiteral("character %1 names no GBK character after the shift").arg(bad + 1);
    return storedFormProblem(stored);
}

int checkCommand(const QStringList &args)
{
    if (args.size() != 1)
        return usageError(QStringLiteral("check needs the program folder"));
    const QDir folder(args[0]);
    if (!folder.exists()) {
        err() << "godtool: no such folder " << args[0] << "\n";
        return 1;
    }
    QStringList problems;
    auto check = [&](const QString &relative, int shift) {
        const QString why = checkFile(folder.filePath(relative), shift);
        if (!why.isEmpty())
            problems.append(relative + QStringLiteral(": ") + why);
    };
    for (int u = 0; u <= 4; ++u)
        for (int m = 0; m <= 4; ++m)
            for (int l = 0; l <= 4; ++l)
                check(QStringLiteral("god/xwk/%1%2%3.god").arg(u).arg(m).arg(l), storedtext::kReadingShift);
    int details = 0;
    const QRegularExpression detailName(QStringLiteral("^[0-4]{3}1\\.god$"));
    const QStringList names = QDir(folder.filePath(QStringLiteral("god/xwk"))).entryList(QDir::Files, QDir::Name);
    for (const QString &name : names) {
        if (detailName.match(name).hasMatch()) {
            ++details;
            check(QStringLiteral("god/xwk/") + name, storedtext::kReadingShift);
        }
    }
    check(QStringLiteral("god/衍枰说明.god"), storedtext::kDocumentShift);

    QString report;
    for (const QString &p : problems)
        report += p + QLatin1Char('\n');
    report += QStringLiteral("checked 125 readings, %1 detail files and the instructions document: %2\n")
                  .arg(details)
                  .arg(problems.isEmpty() ? QStringLiteral("no problems")
                                          : QStringLiteral("%1 problem(s)").arg(problems.size()));
    if (!writeStdout(report.toUtf8()))
        return 1;
    return problems.isEmpty() ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty())
        return usageError(QStringLiteral("no command given"));
    const QString command = args.takeFirst();
    if (command == QLatin1String("--help") || command == QLatin1String("-h") || command == QLatin1String("help")) {
        return writeStdout(QByteArray(kUsage)) ? 0 : 1;
    }
    if (!storedtext::gbkAvailable()) {
        err() << "godtool: this Qt has no GBK codec (Qt must be built with ICU)\n";
        return 1;
    }
    if (command == QLatin1String("encode"))
        return encodeCommand(args);
    if (command == QLatin1String("decode"))
        return decodeCommand(args);
    if (command == QLatin1String("check"))
        return checkCommand(args);
    return usageError(QStringLiteral("unknown command ") + command);
}
