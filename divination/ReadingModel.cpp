#include "ReadingModel.h"

#include "formats/StoredText.h"
#include "platform/ProgramFolder.h"
#include "platform/Script.h"

#include <QCoreApplication>

namespace reading {

QString readingKey(int upperCount, int middleCount, int lowerCount)
{
    return QString::number(upperCount) + QString::number(middleCount) + QString::number(lowerCount);
}

QString readingFilePath(const QString &key)
{
    return platform::programPath(QStringLiteral("\\god\\xwk\\") + key + QStringLiteral(".god"));
}

QString detailFilePath(const QString &key)
{
    return platform::programPath(QStringLiteral("\\god\\xwk\\") + key + QStringLiteral("1.god"));
}

QString combinationEntry(int u, int m, int l)
{
    return QCoreApplication::translate("reading", "%1上%2中%3下").arg(u).arg(m).arg(l);
}

int entryPosition(int u, int m, int l)
{
    return 2 + 25 * u + 5 * m + l;
}

QString promptEntry()
{
    return QCoreApplication::translate("reading", "选择衍枰个数");
}
QString computerModeEntry()
{
    return QCoreApplication::translate("reading", "《电脑衍枰占卜》");
}

QStringList selectorEntries()
{
    QStringList entries {promptEntry(), computerModeEntry()};
    for (int u = 0; u <= kPiecesPerKind; ++u)
        for (int m = 0; m <= kPiecesPerKind; ++m)
            for (int l = 0; l <= kPiecesPerKind; ++l)
                entries.append(combinationEntry(u, m, l));
    return entries;
}

void readEntry(const QString &entry, Counts *counts)
{
    auto take = [&entry](int position, int *count) {
        const int index = position - 1;
        if (index < entry.size()) {
            const QChar c = entry.at(index);
            if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
                *count = c.unicode() - '0';
        }
    };
    take(1, &counts->upper);
    take(3, &counts->middle);
    take(5, &counts->lower);
}

QString loadReadingText(const QString &path)
{
    storedtext::Codes codes;
    errors::Failure failure;
    if (!storedtext::readFile(path, &codes, &failure))
        return QString();
    return script::display(gbk::toText(storedtext::unshift(codes, storedtext::kReadingShift)));
}

} // namespace reading
