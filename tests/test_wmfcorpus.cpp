// Replays the committed fuzz corpus of metafiles (the seeds and the pictures
// made to be slow) through the reader: every file within a time cap, and
// the whole run within a sane amount of memory.
#include "formats/wmf/Wmf.h"
#include "platform/Fonts.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFontMetricsF>
#include <QtTest>

#include <sys/resource.h>

namespace {

// The budget is about 500 ms and the largest picture takes 64 MB. Under the
// sanitizers everything is several times slower and larger: there the caps
// only catch what never ends or never stops growing.
#if defined(YANPING_SANITIZED) || defined(__SANITIZE_ADDRESS__)
constexpr qint64 kTimeCapMs = 15000;
constexpr long kMemoryCapKb = 2048 * 1024;
#else
constexpr qint64 kTimeCapMs = 1500;
constexpr long kMemoryCapKb = 400 * 1024;
#endif

long peakMemoryKb()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

class TestWmfCorpus : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void replay_data();
    void replay();
    void memoryStaysSane();
};

void TestWmfCorpus::initTestCase()
{
    // Fonts are set up once, before any file is timed, with the program's
    // own faces.
    platform::installFontSubstitutes();
    QFont font;
    QFontMetricsF(font).horizontalAdvance(QStringLiteral("衍枰 W"));
}

void TestWmfCorpus::replay_data()
{
    QTest::addColumn<QString>("path");
    const QDir corpus(QStringLiteral(SOURCE_DIR "/fuzz/corpus"));
    const QStringList folders = corpus.entryList({QStringLiteral("wmf*")}, QDir::Dirs);
    QVERIFY(folders.contains(QStringLiteral("wmf")));
    QVERIFY(folders.contains(QStringLiteral("wmf-slow")));
    int files = 0;
    for (const QString &folder : folders) {
        const QDir dir(corpus.filePath(folder));
        for (const QString &name : dir.entryList(QDir::Files, QDir::Name)) {
            QTest::newRow(qPrintable(folder + QLatin1Char('/') + name)) << dir.filePath(name);
            ++files;
        }
    }
    QVERIFY(files >= 10);
}

void TestWmfCorpus::replay()
{
    QFETCH(QString, path);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray data = f.readAll();
    QVERIFY(data.size() < 1024 * 1024);

    const wmf::Limits limits;
    wmf::Report report;
    QElapsedTimer timer;
    timer.start();
    const QImage img = wmf::render(data, limits, &report);
    const qint64 ms = timer.elapsed();
    QVERIFY2(ms < kTimeCapMs,
             qPrintable(QStringLiteral("%1 ms, work %2 of %3, %4 records")
                            .arg(ms)
                            .arg(report.work)
                            .arg(limits.paintBudget)
                            .arg(report.records)));
    QVERIFY(report.work <= limits.paintBudget);
    if (!img.isNull())
        QCOMPARE(img.size(), wmf::naturalSize(data));
    // The slow pictures are all drawable: they are slow, not broken.
    if (path.contains(QLatin1String("/wmf-slow/")))
        QVERIFY(!img.isNull());
}

void TestWmfCorpus::memoryStaysSane()
{
    const long peak = peakMemoryKb();
    QVERIFY2(peak < kMemoryCapKb, qPrintable(QStringLiteral("%1 MB").arg(peak / 1024)));
}

QTEST_MAIN(TestWmfCorpus)
#include "test_wmfcorpus.moc"
