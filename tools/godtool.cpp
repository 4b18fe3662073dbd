// godtool: the maintainers' tool for the program's stored text files.
//
//   godtool encode --shift N [--keep-newlines] INPUT.txt OUTPUT.god
//   godtool decode --shift N [--page] INPUT.god [OUTPUT]
//   godtool check PROGRAM_FOLDER
//
// Documents use shift 2, readings shift 3.

#include "formats/StoredText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>
#include <QTextStream>
#include <cstdio>

namespace {

QTextStream &err()
{
    static QTextStream s(stderr);
    return s;
}

const char *const kUsage =
    "Usage:\n"
    "  godtool encode --shift N [--keep-newlines] INPUT OUTPUT\n"
    "      Stores a UTF-8 text file in the program's stored form, lowering every\n"
    "      GBK character code by N. Line breaks (LF) become CR LF first unless\n"
    "      --keep-newlines is given. Refuses, naming the line and column, any\n"
    "      character that cannot be stored.\n"
    "  godtool decode --shift N [--page] INPUT [OUTPUT]\n"
    "      Undoes the stored form. Without --page writes the text the program\n"
    "      shows, as UTF-8 (to standard output when OUTPUT is missing); with\n"
    "      --page writes the GBK page file the program writes (text + CR LF).\n"
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

bool readWhole(const QString &path, QByteArray *bytes)
{
    QFile f(path);
    if (!QFileInfo(path).isFile()) {
        err() << "godtool: cannot read " << path << ": no such file\n";
        return false;
    }
    if (!f.open(QIODevice::ReadOnly)) {
        err() << "godtool: cannot read " << path << ": " << f.errorString() << "\n";
        return false;
    }
    *bytes = f.readAll();
    return true;
}

bool writeWhole(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
        err() << "godtool: cannot write " << path << ": " << f.errorString() << "\n";
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
    if (!readWhole(files[0], &input))
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
    return writeWhole(files[1], r.bytes) ? 0 : 1;
}

int decodeCommand(const QStringList &args)
{
    Arguments a;
    if (!parseArguments(args, QStringLiteral("decode"), QStringLiteral("--page"), &a))
        return 2;
    const bool page = a.flag;
    const int shift = a.shift;
    const QStringList &files = a.files;
    if (files.isEmpty() || files.size() > 2)
        return usageError(QStringLiteral("decode needs an input file and at most one output file"));

    storedtext::Codes codes;
    errors::Failure failure;
    if (!QFileInfo(files[0]).isFile()) {
        err() << "godtool: cannot read " << files[0] << ": no such file\n";
        return 1;
    }
    if (!storedtext::readFile(files[0], &codes, &failure)) {
        err() << "godtool: cannot read " << files[0] << ": " << failure.description << "\n";
        return 1;
    }
    const storedtext::Codes shown = storedtext::unshift(codes, shift);
    const QByteArray out = page ? storedtext::toGbk(shown) + QByteArray("\r\n")
                                : storedtext::toDisplay(shown).toUtf8();
    if (files.size() == 2)
        return writeWhole(files[1], out) ? 0 : 1;
    std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    std::fflush(stdout);
    return 0;
}

// Returns a problem description, or an empty string when the file is fine.
QString checkFile(const QString &path, int shift)
{
    storedtext::Codes codes;
    errors::Failure failure;
    if (!QFileInfo(path).isFile())
        return QStringLiteral("missing");
    if (!storedtext::readFile(path, &codes, &failure))
        return QStringLiteral("cannot be read: ") + failure.description;
    if (codes.isEmpty())
        return QStringLiteral("empty");
    const QString text = storedtext::toDisplay(storedtext::unshift(codes, shift));
    const qsizetype bad = text.indexOf(QChar(QChar::ReplacementCharacter));
    if (bad >= 0)
        return QStringLiteral("character %1 names no GBK character after the shift").arg(bad + 1);
    if (codes.size() > storedtext::kCharacterLimit + 1)
        return QStringLiteral("longer than the %1 characters the program reads").arg(storedtext::kCharacterLimit);
    return QString();
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

    QTextStream out(stdout);
    for (const QString &p : problems)
        out << p << "\n";
    out << "checked 125 readings, " << details << " detail files and the instructions document: "
        << (problems.isEmpty() ? QStringLiteral("no problems") : QStringLiteral("%1 problem(s)").arg(problems.size()))
        << "\n";
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
        QTextStream(stdout) << kUsage;
        return 0;
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
