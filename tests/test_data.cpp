// Checks the reading sources (data/god/xwk/*.txt) for the faults that editing
// brings in: a heading that no longer matches its file, a broken verse, 典故
// line or area list, a detail file out of step with its reading, names, verse
// runs or stories repeated between readings, office words in the advice,
// phrases worn out by use in too many readings, and characters the stored GBK
// form cannot hold; with the instructions page: stock phrasings used too often,
// wrong words, a four without a caution, and no word on the verses' rhyme book.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QStringConverter>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

#ifndef DATA_DIR
#define DATA_DIR SOURCE_DIR "/data/god/xwk"
#endif

namespace {

const QString Numerals = QStringLiteral("零一二三四");
const QString VersePunctuation = QStringLiteral("，。，。");
const QStringList Verdicts = QStringLiteral("大吉 吉 中平 凶 大凶").split(u' ');
const QStringList Areas = QStringLiteral("求财 事业 学业 婚姻 疾病 出行 官讼 失物").split(u' ');
// Words of offices and reports that have no place in a reading's advice.
const QStringList OfficeWords = QStringLiteral("资源 条件 环境 按劳分配 自力更生 集体出行 团体出行 物质 统筹 变现 "
                                               "申请 批复 审批 装修 胜诉 败诉 判决")
                                    .split(u' ');
// Words that were wrong where the texts used them, and offices that readers in
// Taiwan, Hong Kong and Macau do not have.
const QStringList WrongWords
    = QStringLiteral("柴油 一方案上 饮石 海市 回甘 悔不当初 居委会 村委会 人民调解员").split(u' ');
// The instructions promise a caution wherever a count is four; one of these
// words in the explanation paragraph gives it.
const QRegularExpression CautionWords(
    QStringLiteral("慎|留[意心神]|[当小]心|防|莫|勿|戒|忌|不[可宜要]|过头|收敛|节制|余地|溢|免得|以免|怕|危"));
// Stock phrasings a reader soon notices, and the most readings (with their
// details) and instructions that may use each.
const QList<QPair<QString, int>> StockPhrasings = {{QStringLiteral("此卦借它|此卦教人"), 8},
                                                   {QStringLiteral("满则易溢"), 4},
                                                   {QStringLiteral("时节平常"), 4},
                                                   {QStringLiteral("孔子"), 2}};
// A phrase this long may be shared by at most this many readings' 解曰.
constexpr int PhraseLength = 5;
constexpr int MaxReadingsPerPhrase = 8;
const QStringList Sections
    = QStringLiteral("一、卦象 二、天时 三、人事 四、地利 五、诸事详断 六、宜忌 七、结语").split(u' ');
const QString Indent = QStringLiteral("    ");
const QString BodyIndent = QStringLiteral("        ");

// Where things stand in a reading: blank, heading, verdict, blank, 诗曰 and
// four verse lines, blank, 典故, blank, 解曰, the explanation, the areas, and
// the final line break.
constexpr int StoryLine = 10;
constexpr int ExplanationLine = 12;
constexpr int FirstAreaLine = 14;
const qsizetype ReadingLines = FirstAreaLine + Areas.size() + 1;

struct Reading {
    QString file;
    QString heading; // the whole heading line
    QString name;
    QString verse; // the four lines without punctuation
    QString story; // the story's name at the head of the 典故 line
    QString text; // the reading and its detail
    QHash<QString, QString> areas;
    QStringList explanation; // what follows 解曰: the paragraph, then each area without its name
};

// The first character of `text` that GBK cannot hold, or an empty string.
QString firstNonGbk(const QString &text)
{
    auto roundTrips = [](const QString &s) {
        QStringEncoder encoder("GBK");
        QStringDecoder decoder("GBK");
        const QByteArray bytes = encoder.encode(s);
        const QString back = decoder.decode(bytes);
        return !encoder.hasError() && !decoder.hasError() && back == s;
    };
    if (roundTrips(text))
        return {};
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype n = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString c = text.mid(i, n);
        if (!roundTrips(c))
            return QStringLiteral("%1 (U+%2)").arg(c).arg(c.toUcs4().value(0), 4, 16, QLatin1Char('0')).toUpper();
        i += n - 1;
    }
    return QStringLiteral("?");
}

// Reads `file` from `dir` as UTF-8 text with LF line endings; problems go to `problems`.
bool readText(const QDir &dir, const QString &file, QString *text, QStringList *problems)
{
    QFile f(dir.filePath(file));
    if (!f.open(QIODevice::ReadOnly)) {
        problems->append(file + QStringLiteral(": missing"));
        return false;
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    *text = utf8.decode(f.readAll());
    bool ok = true;
    if (utf8.hasError()) {
        problems->append(file + QStringLiteral(": not valid UTF-8"));
        ok = false;
    }
    if (text->contains(QLatin1Char('\r'))) {
        problems->append(file + QStringLiteral(": has CR line endings (the sources use LF)"));
        ok = false;
    }
    if (ok && QStringEncoder("GBK").isValid()) {
        const QString bad = firstNonGbk(*text);
        if (!bad.isEmpty())
            problems->append(file + QStringLiteral(": %1 cannot be stored as GBK").arg(bad));
    }
    for (const QString &w : WrongWords)
        if (text->contains(w))
            problems->append(file + QStringLiteral(": 「%1」 is wrong here or unknown to some readers").arg(w));
    return ok;
}

bool parseReading(const QString &file, const QString &text, int u, int m, int l, Reading *r, QStringList *problems)
{
    auto problem = [&](const QString &what) { problems->append(file + QStringLiteral(": ") + what); };
    const QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.size() != ReadingLines || !lines.first().isEmpty() || !lines.last().isEmpty() || !lines.at(3).isEmpty()
        || !lines.at(9).isEmpty() || !lines.at(StoryLine + 1).isEmpty()) {
        problem(QStringLiteral("layout is not: blank, heading, verdict, blank, 诗曰 and four lines, blank, 典故, "
                               "blank, 解曰, explanation and eight areas"));
        return false;
    }
    static const QRegularExpression heading(
        QStringLiteral("^    【([零一二三四])上·([零一二三四])中·([零一二三四])下】　(\\S+)$"));
    const auto h = heading.match(lines.at(1));
    if (!h.hasMatch()) {
        problem(QStringLiteral("heading 「%1」 is malformed").arg(lines.at(1).trimmed()));
        return false;
    }
    if (Numerals.indexOf(h.captured(1)) != u || Numerals.indexOf(h.captured(2)) != m
        || Numerals.indexOf(h.captured(3)) != l)
        problem(QStringLiteral("heading counts 「%1」 do not match the file's key").arg(lines.at(1).trimmed()));
    r->file = file;
    r->heading = lines.at(1);
    r->text = text;
    r->name = h.captured(4);
    static const QRegularExpression fourHan(QStringLiteral("^\\p{Han}{4}$"));
    if (!fourHan.match(r->name).hasMatch())
        problem(QStringLiteral("name 「%1」 is not four characters").arg(r->name));
    const QString verdictPrefix = Indent + QStringLiteral("断曰：");
    if (!lines.at(2).startsWith(verdictPrefix) || !Verdicts.contains(lines.at(2).mid(verdictPrefix.size())))
        problem(QStringLiteral("verdict line 「%1」 is not one of the five").arg(lines.at(2).trimmed()));
    if (lines.at(4) != Indent + QStringLiteral("诗曰："))
        problem(QStringLiteral("诗曰： expected on line 5"));
    static const QRegularExpression verseLine(QStringLiteral("^        (\\p{Han}{7})([，。])$"));
    for (int i = 0; i < 4; ++i) {
        const auto v = verseLine.match(lines.at(5 + i));
        if (!v.hasMatch() || v.captured(2) != VersePunctuation.at(i))
            problem(QStringLiteral("verse line %1 「%2」 is not seven characters and %3")
                        .arg(i + 1)
                        .arg(lines.at(5 + i).trimmed(), VersePunctuation.at(i)));
        else
            r->verse += v.captured(1);
    }
    // 典故：the story's usual name, 。, then at least one sentence about it.
    static const QRegularExpression storyLine(QStringLiteral("^    典故：([^。]*)。(.*)$"));
    static const QRegularExpression storyName(QStringLiteral("^[\\p{Han}·]{2,12}$"));
    static const QRegularExpression sentence(QStringLiteral("^\\S.{6,}[。！？][”’」』]?$"));
    const auto s = storyLine.match(lines.at(StoryLine));
    if (!s.hasMatch())
        problem(QStringLiteral("典故： line with the story's name and 。 expected on line %1").arg(StoryLine + 1));
    else if (!storyName.match(s.captured(1)).hasMatch())
        problem(
            QStringLiteral("典故 name 「%1」 is not a story's name of two to twelve characters").arg(s.captured(1)));
    else if (!sentence.match(s.captured(2)).hasMatch())
        problem(QStringLiteral("典故 「%1」 is not followed by a sentence about the story").arg(s.captured(1)));
    else
        r->story = s.captured(1);
    if (lines.at(ExplanationLine) != Indent + QStringLiteral("解曰："))
        problem(QStringLiteral("解曰： expected on line %1").arg(ExplanationLine + 1));
    const QString &summary = lines.at(ExplanationLine + 1);
    if (!summary.startsWith(BodyIndent) || summary.size() < BodyIndent.size() + 20)
        problem(QStringLiteral("the explanation paragraph is missing"));
    r->explanation.append(summary.trimmed());
    if ((u == 4 || m == 4 || l == 4) && !summary.contains(CautionWords))
        problem(QStringLiteral("a count of four, but no caution (%1) in the explanation").arg(CautionWords.pattern()));
    for (int i = 0; i < Areas.size(); ++i) {
        const QString prefix = BodyIndent + Areas.at(i) + QStringLiteral("：");
        const QString &line = lines.at(FirstAreaLine + i);
        if (!line.startsWith(prefix) || line.size() <= prefix.size()) {
            problem(QStringLiteral("area %1 expected as line %2 (areas go %3)")
                        .arg(Areas.at(i))
                        .arg(FirstAreaLine + 1 + i)
                        .arg(Areas.join(u' ')));
        } else {
            r->areas.insert(Areas.at(i), line.mid(prefix.size()));
            r->explanation.append(line.mid(prefix.size()).trimmed());
        }
    }
    for (const QString &word : OfficeWords)
        for (const QString &part : std::as_const(r->explanation))
            if (part.contains(word)) {
                problem(QStringLiteral("解曰 uses the office word 「%1」").arg(word));
                break;
            }
    return true;
}

void checkDetail(const QString &file, const QString &text, const Reading &r, QStringList *problems)
{
    auto problem = [&](const QString &what) { problems->append(file + QStringLiteral(": ") + what); };
    const QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.size() < 3 || !lines.first().isEmpty() || !lines.last().isEmpty())
        return problem(QStringLiteral("layout is not: blank, heading, sections, final line break"));
    if (lines.at(1) != r.heading + QStringLiteral("　详解"))
        problem(QStringLiteral("heading 「%1」 is not the reading's heading plus 　详解").arg(lines.at(1).trimmed()));
    QStringList sections;
    QStringList areas; // as 诸事详断 takes them up
    QStringList eight; // the reading's areas among them; others such as 家宅 may come between
    bool inAreas = false;
    for (const QString &line : lines.mid(2)) {
        if (line.startsWith(Indent) && !line.startsWith(BodyIndent)) {
            sections.append(line.mid(Indent.size()));
            inAreas = sections.last() == Sections.at(4);
        } else if (inAreas) {
            const qsizetype colon = line.indexOf(QStringLiteral("："));
            const QString area = line.mid(BodyIndent.size(), colon - BodyIndent.size());
            if (colon > 0 && r.areas.value(area) == line.mid(colon + 1))
                problem(QStringLiteral("诸事详断 line for %1 only repeats the reading").arg(area));
            if (colon > BodyIndent.size() && colon - BodyIndent.size() <= 4)
                areas.append(area);
            if (colon > 0 && Areas.contains(area))
                eight.append(area);
        }
    }
    if (sections != Sections)
        problem(QStringLiteral("sections are 「%1」, expected 「%2」").arg(sections.join(u'/'), Sections.join(u'/')));
    else if (eight != Areas)
        problem(QStringLiteral("诸事详断 takes up 「%1」, expected 「%2」 in this order (others may come between)")
                    .arg(areas.join(u'/'), Areas.join(u'/')));
}

// The clauses of a reading's 解曰, split where its punctuation falls.
QStringList clauses(const Reading &r)
{
    static const QRegularExpression clauseBreak(QStringLiteral("[，。；：、！？\\n（）“”]"));
    QStringList out;
    for (const QString &part : r.explanation)
        out += part.split(clauseBreak, Qt::SkipEmptyParts);
    return out;
}

// Phrases of PhraseLength or more characters, within one clause, that more
// than MaxReadingsPerPhrase readings use in their 解曰. A longer phrase is in
// no more readings than its first PhraseLength characters, so the short runs
// find every case; each is then grown into the longest phrase so shared.
void checkWornPhrases(const QList<Reading> &readings, QStringList *problems)
{
    QHash<QString, QStringList> runs;
    for (const Reading &r : readings) {
        QSet<QString> seen;
        for (const QString &clause : clauses(r))
            for (qsizetype i = 0; i + PhraseLength <= clause.size(); ++i)
                seen.insert(clause.mid(i, PhraseLength));
        for (const QString &run : std::as_const(seen))
            runs[run].append(r.file);
    }
    QSet<QString> worn;
    for (auto it = runs.cbegin(); it != runs.cend(); ++it)
        if (it.value().size() > MaxReadingsPerPhrase)
            worn.insert(it.key());
    if (worn.isEmpty())
        return;

    QHash<QString, QStringList> phrases;
    for (const Reading &r : readings) {
        QSet<QString> seen;
        for (const QString &clause : clauses(r))
            for (qsizetype i = 0; i + PhraseLength <= clause.size(); ++i)
                if (worn.contains(clause.mid(i, PhraseLength)))
                    for (qsizetype n = PhraseLength; i + n <= clause.size(); ++n)
                        seen.insert(clause.mid(i, n));
        for (const QString &phrase : std::as_const(seen))
            phrases[phrase].append(r.file);
    }
    QStringList found;
    for (auto it = phrases.cbegin(); it != phrases.cend(); ++it)
        if (it.value().size() > MaxReadingsPerPhrase)
            found.append(it.key());
    std::sort(found.begin(), found.end(),
              [](const QString &a, const QString &b) { return a.size() != b.size() ? a.size() > b.size() : a < b; });
    QStringList reported;
    for (const QString &phrase : std::as_const(found)) {
        const QStringList &files = phrases.value(phrase);
        const bool inLonger = std::any_of(reported.cbegin(), reported.cend(), [&](const QString &longer) {
            return longer.contains(phrase) && phrases.value(longer) == files;
        });
        if (inLonger)
            continue;
        reported.append(phrase);
        problems->append(QStringLiteral("phrase 「%1」 is in the 解曰 of %2 readings (at most %3): %4")
                             .arg(phrase)
                             .arg(files.size())
                             .arg(MaxReadingsPerPhrase)
                             .arg(files.join(u' ')));
    }
}

} // namespace

// Every problem found in the folder of reading sources and in the instructions
// page, each naming its file.
QStringList checkReadings(const QString &folder, const QString &page)
{
    QStringList problems;
    QString pageText;
    if (readText(QFileInfo(page).dir(), QFileInfo(page).fileName(), &pageText, &problems)
        && !pageText.contains(QStringLiteral("中华通韵")))
        problems.append(page + QStringLiteral(": does not name the verses' rhyme book (中华通韵)"));
    const QDir dir(folder);
    QStringList expected;
    QList<Reading> readings;
    for (int u = 0; u <= 4; ++u)
        for (int m = 0; m <= 4; ++m)
            for (int l = 0; l <= 4; ++l) {
                const QString file = QStringLiteral("%1%2%3.txt").arg(u).arg(m).arg(l);
                const QString detail = file.left(3) + QStringLiteral("1.txt");
                expected.append(file);
                if (m == l)
                    expected.append(detail);
                QString text;
                Reading r;
                if (!readText(dir, file, &text, &problems) || !parseReading(file, text, u, m, l, &r, &problems))
                    continue;
                if (m == l && readText(dir, detail, &text, &problems)) {
                    checkDetail(detail, text, r, &problems);
                    r.text += text;
                }
                readings.append(r);
            }
    for (const QString &file : dir.entryList(QDir::Files))
        if (!expected.contains(file))
            problems.append(file + QStringLiteral(": unexpected file (details exist only where middle = lower)"));

    QHash<QString, QString> starts, runs3, runs5, stories;
    QSet<QString> reported;
    for (const Reading &r : std::as_const(readings)) {
        auto clash = [&](QHash<QString, QString> &seen, const QString &run, const QString &what) {
            const QString other = seen.value(run);
            if (other.isEmpty())
                seen.insert(run, r.file);
            else if (other != r.file && !reported.contains(what + other + r.file)) {
                reported.insert(what + other + r.file);
                problems.append(QStringLiteral("%1: %2 「%3」 also in %4").arg(r.file, what, run, other));
            }
        };
        clash(starts, r.name.left(2), QStringLiteral("name begins"));
        for (qsizetype i = 0; i + 3 <= r.name.size(); ++i)
            clash(runs3, r.name.mid(i, 3), QStringLiteral("name shares"));
        for (qsizetype i = 0; i + 5 <= r.verse.size(); ++i)
            clash(runs5, r.verse.mid(i, 5), QStringLiteral("verse shares"));
        if (!r.story.isEmpty())
            clash(stories, r.story, QStringLiteral("典故 tells the story"));
    }
    checkWornPhrases(readings, &problems);
    for (const auto &[phrase, most] : StockPhrasings) {
        const QRegularExpression re(phrase);
        QStringList where;
        for (const Reading &r : std::as_const(readings))
            if (r.text.contains(re))
                where.append(r.file);
        if (pageText.contains(re))
            where.append(page);
        if (where.size() > most)
            problems.append(QStringLiteral("「%1」 in %2 texts (at most %3): %4")
                                .arg(phrase, QString::number(where.size()), QString::number(most), where.join(u' ')));
    }
    return problems;
}

namespace {

enum Damage {
    SwapHeading,
    ShortVerseLine,
    BorrowedVerseLine,
    UnknownVerdict,
    AreasSwapped,
    NameLikeAnother,
    MissingDetail,
    DetailRepeatsReading,
    DetailWithoutArea,
    CrLineEndings,
    NotGbk,
    StoryWithoutSentence,
    StoryRetold,
    OfficeWord,
    WornPhrase,
    StockPhrase,
    WrongWord,
    FourWithoutCaution,
    NoRhymeBook
};

const QString PageCopy = QStringLiteral("page/衍枰说明.html");

QString load(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

bool save(const QString &path, const QString &text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text.toUtf8()) >= 0;
}

// The index of the line that gives `area` (after its indent), or -1.
qsizetype areaLine(const QStringList &lines, const QString &area)
{
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (lines.at(i).startsWith(BodyIndent + area + QStringLiteral("：")))
            return i;
    return -1;
}

bool mentions(const QStringList &problems, const QString &file)
{
    const QRegularExpression re(QStringLiteral("(^|[^0-9])") + QRegularExpression::escape(file));
    for (const QString &p : problems)
        if (re.match(p).hasMatch())
            return true;
    return false;
}

} // namespace

class TestData : public QObject
{
    Q_OBJECT
    QHash<QString, QByteArray> sources;
    const QString page = QStringLiteral(DATA_DIR "/../衍枰说明.html");

private slots:
    void initTestCase()
    {
        const QDir dir(QStringLiteral(DATA_DIR));
        for (const QString &f : dir.entryList({QStringLiteral("*.txt")}, QDir::Files)) {
            QFile file(dir.filePath(f));
            QVERIFY(file.open(QIODevice::ReadOnly));
            sources.insert(f, file.readAll());
        }
        QVERIFY2(sources.size() >= 150, DATA_DIR);
    }

    void sourcesHaveNoFaults()
    {
        const QStringList problems = checkReadings(QStringLiteral(DATA_DIR), page);
        for (const QString &p : problems)
            qWarning().noquote() << p;
        QVERIFY2(problems.isEmpty(),
                 qPrintable(QStringLiteral("%1 problem(s) in " DATA_DIR ", listed above").arg(problems.size())));
    }

    void damagedCopyIsCaught_data()
    {
        QTest::addColumn<int>("damage");
        QTest::addColumn<QString>("file");
        QTest::newRow("heading taken from another reading") << int(SwapHeading) << QStringLiteral("203.txt");
        QTest::newRow("six-character verse line") << int(ShortVerseLine) << QStringLiteral("112.txt");
        QTest::newRow("verse line borrowed from another reading")
            << int(BorrowedVerseLine) << QStringLiteral("444.txt");
        QTest::newRow("verdict outside the five") << int(UnknownVerdict) << QStringLiteral("321.txt");
        QTest::newRow("areas out of order") << int(AreasSwapped) << QStringLiteral("140.txt");
        QTest::newRow("name begins like another") << int(NameLikeAnother) << QStringLiteral("310.txt");
        QTest::newRow("detail file missing") << int(MissingDetail) << QStringLiteral("2221.txt");
        QTest::newRow("detail line repeats the reading") << int(DetailRepeatsReading) << QStringLiteral("3111.txt");
        QTest::newRow("detail without 学业") << int(DetailWithoutArea) << QStringLiteral("1221.txt");
        QTest::newRow("CR LF line endings") << int(CrLineEndings) << QStringLiteral("101.txt");
        QTest::newRow("character outside GBK") << int(NotGbk) << QStringLiteral("030.txt");
        QTest::newRow("典故 with no sentence after the name") << int(StoryWithoutSentence) << QStringLiteral("402.txt");
        QTest::newRow("story told in another reading") << int(StoryRetold) << QStringLiteral("133.txt");
        QTest::newRow("office word in the advice") << int(OfficeWord) << QStringLiteral("241.txt");
        QTest::newRow("phrase in nine readings") << int(WornPhrase) << QStringLiteral("324.txt");
        QTest::newRow("满则易溢 in a fifth reading") << int(StockPhrase) << QStringLiteral("420.txt");
        QTest::newRow("wrong word") << int(WrongWord) << QStringLiteral("2111.txt");
        QTest::newRow("four without a caution") << int(FourWithoutCaution) << QStringLiteral("404.txt");
        QTest::newRow("instructions without the rhyme book") << int(NoRhymeBook) << PageCopy;
    }

    void damagedCopyIsCaught()
    {
        QFETCH(int, damage);
        QFETCH(QString, file);
        if (damage == NotGbk && !QStringEncoder("GBK").isValid())
            QSKIP("Qt was built without a GBK codec (ICU), so GBK cannot be checked");
        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        for (auto it = sources.cbegin(); it != sources.cend(); ++it) {
            QFile copy(tmp.filePath(it.key()));
            QVERIFY(copy.open(QIODevice::WriteOnly) && copy.write(it.value()) == it.value().size());
        }
        QVERIFY(QDir(tmp.path()).mkdir(QStringLiteral("page")) && QFile::copy(page, tmp.filePath(PageCopy)));
        const QStringList before = checkReadings(tmp.path(), tmp.filePath(PageCopy));

        const QString path = tmp.filePath(file);
        QString text = load(path);
        QStringList lines = text.split(QLatin1Char('\n'));
        auto lineOf
            = [&](const QString &other, int index) { return load(tmp.filePath(other)).split(u'\n').value(index); };
        switch (Damage(damage)) {
        case SwapHeading: lines[1] = lineOf(QStringLiteral("230.txt"), 1); break;
        case ShortVerseLine: lines[5].remove(lines[5].size() - 2, 1); break;
        case BorrowedVerseLine: lines[7] = lineOf(QStringLiteral("000.txt"), 7); break;
        case UnknownVerdict: lines[2] = QStringLiteral("    断曰：小吉"); break;
        case AreasSwapped: {
            const qsizetype work = areaLine(lines, QStringLiteral("事业")),
                            study = areaLine(lines, QStringLiteral("学业"));
            QVERIFY(work > 0 && study > 0);
            lines.swapItemsAt(work, study);
            break;
        }
        case NameLikeAnother:
            lines[1] = lines[1].left(lines[1].size() - 4) + lineOf(QStringLiteral("000.txt"), 1).right(4).left(2)
                + QStringLiteral("回响");
            break;
        case MissingDetail: QVERIFY(QFile::remove(path)); break;
        case DetailRepeatsReading: {
            const QStringList reading = load(tmp.filePath(QStringLiteral("311.txt"))).split(u'\n');
            const qsizetype from = areaLine(reading, QStringLiteral("出行")),
                            to = areaLine(lines, QStringLiteral("出行"));
            QVERIFY(from > 0 && to > 0);
            lines[to] = reading.at(from);
            break;
        }
        case DetailWithoutArea: {
            const qsizetype study = areaLine(lines, QStringLiteral("学业"));
            QVERIFY(study > 0);
            lines.removeAt(study);
            break;
        }
        case CrLineEndings: break;
        case NotGbk:
            QVERIFY(lines.size() > ExplanationLine + 1);
            lines[ExplanationLine + 1].append(QString::fromUcs4(U"\U0001F319"));
            break;
        case StoryWithoutSentence:
            QVERIFY(lines.size() > StoryLine);
            lines[StoryLine] = lines[StoryLine].section(QStringLiteral("。"), 0, 0) + QStringLiteral("。");
            break;
        case StoryRetold: lines[StoryLine] = lineOf(QStringLiteral("000.txt"), StoryLine); break;
        case OfficeWord: {
            const qsizetype work = areaLine(lines, QStringLiteral("事业"));
            QVERIFY(work > 0);
            lines[work].append(QStringLiteral("先把手头资源理一理。"));
            break;
        }
        case WornPhrase:
        case StockPhrase: {
            // The same clause added to this reading and to eight others (four for a stock phrase).
            const QString clause
                = damage == StockPhrase ? QStringLiteral("满则易溢。") : QStringLiteral("此句只为试验而加。");
            const QStringList others = QStringLiteral("001 012 023 034 140 241 302 413").split(u' ');
            for (const QString &other : others.mid(0, damage == StockPhrase ? 4 : 8)) {
                const QString otherPath = tmp.filePath(other + QStringLiteral(".txt"));
                QStringList otherLines = load(otherPath).split(u'\n');
                QVERIFY(otherLines.size() > ExplanationLine + 1);
                otherLines[ExplanationLine + 1].append(clause);
                QVERIFY(save(otherPath, otherLines.join(u'\n')));
            }
            lines[ExplanationLine + 1].append(clause);
            break;
        }
        case WrongWord: lines[5].append(QStringLiteral("请居委会调解。")); break;
        case FourWithoutCaution:
            lines[ExplanationLine + 1]
                = BodyIndent + QStringLiteral("上数四，下数四，中数为零，东西都齐了，只差自己站出来说一句话。");
            break;
        case NoRhymeBook: lines.replaceInStrings(QStringLiteral("中华通韵"), QStringLiteral("新韵")); break;
        }
        if (damage == CrLineEndings)
            QVERIFY(save(path, text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"))));
        else if (damage != MissingDetail)
            QVERIFY(save(path, lines.join(QLatin1Char('\n'))));

        QStringList added = checkReadings(tmp.path(), tmp.filePath(PageCopy));
        for (const QString &p : before)
            added.removeAll(p);
        QVERIFY2(mentions(added, file),
                 qPrintable(
                     QStringLiteral("no new problem names %1; new: %2").arg(file, added.join(QStringLiteral(" | ")))));
    }
};

QTEST_GUILESS_MAIN(TestData)
#include "test_data.moc"
