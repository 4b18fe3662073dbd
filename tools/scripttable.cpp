// scripttable: run by the build. Converts the texts the program shows before
// its converter has loaded (platform/FirstScreenTexts.h) with OpenCC, for
// Taiwan and for Hong Kong, and writes them as a C++ header, together with
// the size and modification time of every data file each conversion read.
// At run time the table answers only while those files are unchanged.
//
//   scripttable OPENCC_DATA_DIR OUTPUT_HEADER

#include "platform/FirstScreenTexts.h"

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStringList>
#include <cstdio>
#include <cstring>
#include <opencc.h>

namespace {

// Every dictionary file a configuration names, in order, each once.
void collectFiles(const QJsonValue &value, QStringList *files)
{
    if (value.isObject()) {
        const QJsonObject object = value.toObject();
        const QJsonValue file = object.value(QStringLiteral("file"));
        if (file.isString() && !files->contains(file.toString()))
            files->append(file.toString());
        for (auto it = object.begin(); it != object.end(); ++it)
            collectFiles(it.value(), files);
    } else if (value.isArray()) {
        for (const QJsonValue &element : value.toArray())
            collectFiles(element, files);
    }
}

// A C++ string literal of the text's UTF-8 bytes, every byte past ASCII as
// an octal escape (which, unlike a hex one, cannot swallow what follows).
QByteArray literal(const QByteArray &utf8)
{
    QByteArray out = "\"";
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7f || c == '"' || c == '\\' || c == '?')
            out += '\\' + QByteArray::number(byte, 8).rightJustified(3, '0');
        else
            out += c;
    }
    return out + '"';
}

bool writeRegion(const QDir &data, const char *name, const char *config, QByteArray *out)
{
    const QString configPath = data.absoluteFilePath(QString::fromLatin1(config));
    QFile configFile(configPath);
    if (!configFile.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "scripttable: cannot read %s\n", qPrintable(configPath));
        return false;
    }
    QStringList files {configPath};
    QStringList dictionaries;
    collectFiles(QJsonDocument::fromJson(configFile.readAll()).object(), &dictionaries);
    for (const QString &dictionary : dictionaries)
        files.append(data.absoluteFilePath(dictionary));

    const opencc_t converter = opencc_open(QFile::encodeName(configPath).constData());
    if (converter == reinterpret_cast<opencc_t>(-1)) {
        std::fprintf(stderr, "scripttable: OpenCC cannot load %s: %s\n", qPrintable(configPath), opencc_error());
        return false;
    }
    *out += "inline constexpr DataFile " + QByteArray(name) + "Files[] = {\n";
    for (const QString &file : files) {
        const QFileInfo info(file);
        if (!info.isReadable()) {
            std::fprintf(stderr, "scripttable: cannot read %s\n", qPrintable(file));
            opencc_close(converter);
            return false;
        }
        *out += "    {" + literal(QFile::encodeName(file)) + ", " + QByteArray::number(info.size()) + ", "
            + QByteArray::number(info.lastModified().toMSecsSinceEpoch()) + "},\n";
    }
    *out += "};\ninline constexpr const char *" + QByteArray(name) + "Texts[] = {\n";
    for (const char *text : script::kFirstScreenTexts) {
        char *converted = opencc_convert_utf8(converter, text, std::strlen(text));
        *out += "    " + literal(QByteArray(converted)) + ",\n";
        opencc_convert_utf8_free(converted);
    }
    *out += "};\n";
    opencc_close(converter);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: scripttable OPENCC_DATA_DIR OUTPUT_HEADER\n");
        return 2;
    }
    const QDir data(QFile::decodeName(argv[1]));
    QByteArray out = "// Made by tools/scripttable from platform/FirstScreenTexts.h and OpenCC's data.\n"
                     "#pragma once\n\nnamespace script {\nnamespace firstscreen {\n\n"
                     "struct DataFile {\n    const char *path;\n    long long size;\n"
                     "    long long modifiedMs;\n};\n\n";
    if (!writeRegion(data, "taiwan", "s2twp.json", &out) || !writeRegion(data, "hongKong", "s2hk.json", &out))
        return 1;
    out += "\n} // namespace firstscreen\n} // namespace script\n";
    QSaveFile file(QFile::decodeName(argv[2]));
    if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size() || !file.commit()) {
        std::fprintf(stderr, "scripttable: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
