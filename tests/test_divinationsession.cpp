// The divination session's state table, driven without any widget.
#include "divination/DivinationSession.h"
#include "divination/ReadingModel.h"
#include "divination/Texts.h"
#include "divination/Throw.h"
#include "testsupport.h"

#include <QSignalSpy>
#include <QtTest>
#include <optional>

using Caption = DivinationSession::Caption;

class TestDivinationSession : public QObject
{
    Q_OBJECT

    // Names the text a session shows: "welcome", "wooden", "computer",
    // "reading 203", "detail 0001", "empty" or "other".
    static QString textName(const QString &text)
    {
        if (text.isEmpty())
            return QStringLiteral("empty");
        if (text == texts::welcomeText())
            return QStringLiteral("welcome");
        if (text == texts::woodenEtiquette())
            return QStringLiteral("wooden");
        if (text == texts::computerEtiquette())
            return QStringLiteral("computer");
        static const QHash<QString, QString> stored = [] {
            QHash<QString, QString> names;
            for (int u = 0; u <= 4; ++u)
                for (int m = 0; m <= 4; ++m)
                    for (int l = 0; l <= 4; ++l) {
                        const QString key = reading::readingKey(u, m, l);
                        names.insert(reading::loadReadingText(reading::readingFilePath(key)),
                                     QStringLiteral("reading ") + key);
                        const QString detail = reading::loadReadingText(reading::detailFilePath(key));
                        if (!detail.isEmpty())
                            names.insert(detail, QStringLiteral("detail ") + key + QLatin1Char('1'));
                    }
            return names;
        }();
        return stored.value(text, QStringLiteral("other"));
    }

    // The whole visible state in one line.
    static QString describe(const DivinationSession &s)
    {
        auto caption = [](Caption c) { return DivinationSession::captionText(c); };
        const reading::Counts c = s.counts();
        return QStringLiteral("%1%2 %3 %4 | list %5/%6 %7 | detail %8 | pieces %9 | %10 | %11%12%13 | %14")
            .arg(caption(s.woodenButtonCaption()), s.woodenButtonEnabled() ? QString() : QStringLiteral("(off)"),
                 caption(s.computerButtonCaption()),
                 s.modeButtonsVisible() ? QStringLiteral("shown") : QStringLiteral("hidden"))
            .arg(s.selectorIndex())
            .arg(s.selectorEntries().size())
            .arg(s.selectorVisible() ? QStringLiteral("shown") : QStringLiteral("hidden"),
                 s.detailAvailable() ? QStringLiteral("on") : QStringLiteral("off"),
                 s.piecesVisible() ? QStringLiteral("shown") : QStringLiteral("hidden"),
                 s.isThrowing() ? QStringLiteral("throwing") : QStringLiteral("still"))
            .arg(c.upper)
            .arg(c.middle)
            .arg(c.lower)
            .arg(textName(s.text()));
    }

    // Runs a script of user actions: W and C click the mode buttons, D the
    // detail button, T is one throw, a number chooses that list entry,
    // "e203" chooses the entry of that combination and "c499" clicks the
    // computer button with the pointer pressed at 499 ms (a 500 ms double
    // click).
    static void run(DivinationSession &s, const QString &script)
    {
        for (const QString &step : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (step == QLatin1String("W"))
                s.clickWoodenButton();
            else if (step == QLatin1String("C"))
                s.clickComputerButton();
            else if (step == QLatin1String("D"))
                s.clickDetailButton();
            else if (step == QLatin1String("T"))
                s.throwOnce();
            else if (step.startsWith(QLatin1Char('c')))
                s.clickComputerButtonAt(step.mid(1).toULongLong(), 500);
            else if (step.startsWith(QLatin1Char('e')))
                s.chooseEntry(
                    reading::entryPosition(step.at(1).digitValue(), step.at(2).digitValue(), step.at(3).digitValue()));
            else
                s.chooseEntry(step.toInt());
        }
    }

    std::unique_ptr<testsupport::ProgramFolderFixture> folder;
    std::optional<throwing::Override> draws;

private slots:
    void init()
    {
        folder = std::make_unique<testsupport::ProgramFolderFixture>(true);
        // Each throw moves the counts by one, two and three.
        draws.emplace([k = 0]() mutable { return (float(k++ % 3 + 1) + 0.5f) / 125; });
    }
    void cleanup()
    {
        draws.reset();
        folder.reset();
    }

    void transitions_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("expected");
        const QString choice = QStringLiteral("《木制衍枰占卜》 《电脑衍枰占卜》 shown");
        const QString praying = QStringLiteral("《祈祷开始》 《祈祷结束》 shown");
        QTest::newRow("opened") << QString()
                                << choice
                + QStringLiteral(" | list -1/0 hidden | detail off | pieces hidden | still | 000 | welcome");
        QTest::newRow("computer mode") << QStringLiteral("C")
                                       << praying
                + QStringLiteral(" | list -1/0 hidden | detail off | pieces shown | still | 000 | computer");
        QTest::newRow("prayer started")
            << QStringLiteral("C W")
            << QStringLiteral(
                   "《祈祷开始》(off) 《祈祷结束》 shown | list -1/0 hidden | detail off | pieces shown | throwing | 000 | computer");
        QTest::newRow("prayer ended after two throws")
            << QStringLiteral("C W T T C")
            << choice + QStringLiteral(" | list -1/0 hidden | detail off | pieces shown | still | 241 | reading 241");
        QTest::newRow("prayer ended without a throw")
            << QStringLiteral("C C")
            << choice + QStringLiteral(" | list -1/0 hidden | detail on | pieces shown | still | 000 | reading 000");
        QTest::newRow("second half of a double click")
            << QStringLiteral("c0 c499")
            << praying + QStringLiteral(" | list -1/0 hidden | detail off | pieces shown | still | 000 | computer");
        QTest::newRow("a click one interval later")
            << QStringLiteral("c0 c500")
            << choice + QStringLiteral(" | list -1/0 hidden | detail on | pieces shown | still | 000 | reading 000");
        QTest::newRow("a detail after a reading goes with the next")
            << QStringLiteral("C C C W T C")
            << choice + QStringLiteral(" | list -1/0 hidden | detail off | pieces shown | still | 123 | reading 123");
        QTest::newRow("detail after a computer reading")
            << QStringLiteral("C C D")
            << choice + QStringLiteral(" | list -1/0 hidden | detail on | pieces shown | still | 000 | detail 0001");
        QTest::newRow("wooden mode")
            << QStringLiteral("W")
            << QStringLiteral(
                   "《木制衍枰占卜》 《电脑衍枰占卜》 hidden | list 0/127 shown | detail off | pieces shown | still | 000 | wooden");
        QTest::newRow("the prompt changes nothing")
            << QStringLiteral("W e203 0")
            << QStringLiteral(
                   "《木制衍枰占卜》 《电脑衍枰占卜》 hidden | list 0/127 shown | detail off | pieces shown | still | 203 | reading 203");
        QTest::newRow("wooden reading with a detail")
            << QStringLiteral("W e122")
            << QStringLiteral(
                   "《木制衍枰占卜》 《电脑衍枰占卜》 hidden | list 39/127 shown | detail on | pieces shown | still | 122 | reading 122");
        QTest::newRow("back from the detail by choosing again")
            << QStringLiteral("W e122 D e122")
            << QStringLiteral(
                   "《木制衍枰占卜》 《电脑衍枰占卜》 hidden | list 39/127 shown | detail on | pieces shown | still | 122 | reading 122");
        QTest::newRow("computer entry leaves the wooden mode")
            << QStringLiteral("W e341 1")
            << praying + QStringLiteral(" | list 1/127 hidden | detail off | pieces shown | still | 341 | computer");
        QTest::newRow("wooden again appends the list again")
            << QStringLiteral("W 1 C W")
            << QStringLiteral(
                   "《木制衍枰占卜》 《电脑衍枰占卜》 hidden | list 0/254 shown | detail on | pieces shown | still | 000 | wooden");
        QTest::newRow("an entry of the second copy")
            << QStringLiteral("W 1 C W 253")
            << QStringLiteral(
                   "《木制衍枰占卜》 《电脑衍枰占卜》 hidden | list 253/254 shown | detail on | pieces shown | still | 444 | reading 444");
        QTest::newRow("the second prompt shows nothing new")
            << QStringLiteral("W 1 C W e012 127")
            << QStringLiteral(
                   "《木制衍枰占卜》 《电脑衍枰占卜》 hidden | list 127/254 shown | detail off | pieces shown | still | 012 | reading 012");
        QTest::newRow("an entry past the end is ignored")
            << QStringLiteral("W 500")
            << QStringLiteral(
                   "《木制衍枰占卜》 《电脑衍枰占卜》 hidden | list 0/127 shown | detail off | pieces shown | still | 000 | wooden");
    }

    void transitions()
    {
        QFETCH(QString, script);
        QFETCH(QString, expected);
        DivinationSession session;
        run(session, script);
        QCOMPARE(describe(session), expected);
    }

    void secondButtonChecksRunInOrder()
    {
        // Ending a prayer passes through "divination over" and straight on
        // to the mode choice: that caption is never left standing, the
        // computer button's checks never run into the computer mode again,
        // and the window hears of the buttons once per action.
        DivinationSession session;
        QList<Caption> seen;
        connect(&session, &DivinationSession::controlsChanged, this, [&] { seen << session.computerButtonCaption(); });
        run(session, QStringLiteral("C W"));
        QCOMPARE(seen, (QList<Caption> {Caption::PrayerEnd, Caption::PrayerEnd}));
        seen.clear();
        session.clickComputerButton();
        QCOMPARE(seen, (QList<Caption> {Caption::ComputerMode}));
        QVERIFY(session.text() != texts::computerEtiquette());
        run(session, QStringLiteral("W e203 1"));
        QCOMPARE(seen.size(), 4);
    }

    void signalsFollowTheState()
    {
        DivinationSession session;
        QSignalSpy texts(&session, &DivinationSession::textChanged);
        QSignalSpy appended(&session, &DivinationSession::entriesAppended);
        QSignalSpy pieces(&session, &DivinationSession::piecesChanged);
        QSignalSpy shown(&session, &DivinationSession::piecesShown);
        session.clickWoodenButton();
        QCOMPARE(appended.size(), 2); // the prompt and the computer entry, then the 125
        QCOMPARE(appended.at(0).at(0).value<QList<reading::Entry>>().size(), 2);
        QCOMPARE(appended.at(1).at(0).value<QList<reading::Entry>>().size(), 125);
        QCOMPARE(shown.size(), 1);
        session.chooseEntry(reading::entryPosition(2, 0, 3));
        session.chooseEntry(reading::entryPosition(2, 0, 3));
        // Choosing the same entry again shows (and announces) the reading again.
        QCOMPARE(texts.size(), 3);
        QCOMPARE(pieces.size(), 2);
        session.throwOnce();
        QCOMPARE(pieces.size(), 3);
    }

    void throwTimerTicksThrows()
    {
        draws.reset(); // the real source
        DivinationSession session;
        QCOMPARE(session.findChild<QTimer *>("throwTimer")->interval(), 1);
        QCOMPARE(session.findChild<QTimer *>("throwTimer")->timerType(), Qt::PreciseTimer);
        run(session, QStringLiteral("C W"));
        QTRY_VERIFY(session.counts().upper != 0);
        session.clickComputerButton();
        QVERIFY(!session.isThrowing());
        const reading::Counts c = session.counts();
        QCOMPARE(session.text(),
                 reading::loadReadingText(reading::readingFilePath(reading::readingKey(c.upper, c.middle, c.lower))));
    }
};

QTEST_GUILESS_MAIN(TestDivinationSession)
#include "test_divinationsession.moc"
