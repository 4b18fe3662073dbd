// The layout rules of the home panel and the divination window: pure
// arithmetic in twips, without widgets.
#include "divination/DivinationLayout.h"
#include "shell/HomePanelLayout.h"

#include <QtTest>

using homepanellayout::Box;
using homepanellayout::Layout;

Q_DECLARE_METATYPE(Box)

namespace {
bool closeTo(float a, float b)
{
    return qAbs(a - b) < 0.01f;
}
} // namespace

class TestLayouts : public QObject
{
    Q_OBJECT
private slots:
    // ---- the home panel ---------------------------------------------------------

    void homePanelRule_data()
    {
        QTest::addColumn<float>("W");
        QTest::addColumn<float>("H");
        QTest::addColumn<Box>("emblem");
        QTest::addColumn<Box>("instructions");
        QTest::addColumn<Box>("divination");
        // A window of 12000 x 8000 twips.
        QTest::newRow("12000 x 8000") << 12000.f << 8000.f << Box {4000, 1600, 4000, 3200}
                                      << Box {4000, 4850, 1818.18f, 606.06f} << Box {6181.82f, 4850, 1818.18f, 606.06f};
        QTest::newRow("6000 x 3000") << 6000.f << 3000.f << Box {2000, 600, 2000, 1200}
                                     << Box {2000, 1850, 909.09f, 303.03f} << Box {3090.91f, 1850, 909.09f, 303.03f};
        QTest::newRow("wide and low") << 33000.f << 1000.f << Box {11000, 200, 11000, 400}
                                      << Box {11000, 650, 5000, 1666.67f} << Box {17000, 650, 5000, 1666.67f};
    }

    void homePanelRule()
    {
        QFETCH(float, W);
        QFETCH(float, H);
        QFETCH(Box, emblem);
        QFETCH(Box, instructions);
        QFETCH(Box, divination);
        const Layout l = homepanellayout::compute(W, H, Layout());
        const std::pair<Box, Box> pairs[3]
            = {{l.emblem, emblem}, {l.instructionsButton, instructions}, {l.divinationButton, divination}};
        for (const auto &[got, want] : pairs) {
            QVERIFY2(closeTo(got.left, want.left), qPrintable(QString::number(got.left)));
            QVERIFY2(closeTo(got.top, want.top), qPrintable(QString::number(got.top)));
            QVERIFY2(closeTo(got.width, want.width), qPrintable(QString::number(got.width)));
            QVERIFY2(closeTo(got.height, want.height), qPrintable(QString::number(got.height)));
        }
    }

    void homePanelRefusedSizesKeepTheirValues()
    {
        // With no room, every size is refused and stays as it was; the
        // positions still move, and later steps read the kept sizes.
        Layout before;
        before.emblem = {1, 2, 1100, 900};
        before.instructionsButton = {3, 4, 77, 66};
        before.divinationButton = {5, 6, 88, 55};
        const Layout l = homepanellayout::compute(0, 0, before);
        QCOMPARE(l.emblem.width, 1100.f);
        QCOMPARE(l.emblem.height, 900.f);
        QCOMPARE(l.emblem.left, 0.f);
        QCOMPARE(l.emblem.top, 0.f);
        QVERIFY(closeTo(l.instructionsButton.width, 500));
        QVERIFY(closeTo(l.divinationButton.width, 500));
        QVERIFY(closeTo(l.instructionsButton.height, 166.67f));
        QVERIFY(closeTo(l.divinationButton.height, 166.67f));
        QCOMPARE(l.instructionsButton.left, 0.f);
        QVERIFY(closeTo(l.divinationButton.left, 600));
        QCOMPARE(l.instructionsButton.top, 950.f);
        QCOMPARE(l.divinationButton.top, 950.f);
    }

    void homePanelReadsWhatTheControlsReport()
    {
        // Each step sees the value the control kept, not the one computed:
        // here the controls keep whole hundreds, rounded down.
        auto hundreds = [](float v) { return float(int(v / 100) * 100); };
        const Layout l = homepanellayout::compute(12450, 8000, Layout(), hundreds);
        QCOMPARE(l.emblem.width, 4100.f); // 4150
        QCOMPARE(l.emblem.left, 4100.f); // 4150
        QCOMPARE(l.instructionsButton.width, 1800.f); // 4100 / 11 * 5 = 1863.6
        QCOMPARE(l.instructionsButton.height, 600.f); // 1800 / 3
        QCOMPARE(l.divinationButton.height, 600.f);
        QCOMPARE(l.instructionsButton.left, 4100.f);
        QCOMPARE(l.divinationButton.left, 6300.f); // 4100 / 11 * 6 + 4100 = 6336.4, not 6413.6
        QCOMPARE(l.instructionsButton.top, 4800.f); // 1600 + 3200 + 50
    }

    // ---- the divination window ------------------------------------------------

    void divinationWindowRule_data()
    {
        QTest::addColumn<float>("W");
        QTest::addColumn<float>("H");
        QTest::addColumn<QList<float>>("expected"); // column gap, row gap, piece gap, detail.x computer.x list.x left
                                                    // mid right detail.y wooden.y pane.y upper1.y lower4.y
        QTest::newRow("12000 x 9000") << 12000.f << 9000.f
                                      << QList<float> {100,  333.333f, 180,      3000,      6500, 9100, 350,
                                                       1200, 2050,     333.333f, 1266.667f, 2200, 1080, 7680};
        QTest::newRow("narrow") << 11600.f << 9000.f
                                << QList<float> {0,    333.333f, 180,      2800,      6300, 8800, 250,
                                                 1100, 1950,     333.333f, 1266.667f, 2200, 1080, 7680};
        QTest::newRow("low") << 12000.f << 7000.f
                             << QList<float> {100, 0, 80, 3000, 6500, 9100, 350, 1200, 2050, 0, 600, 1200, 480, 6080};
        QTest::newRow("very low") << 12000.f << 5000.f
                                  << QList<float> {100, 0, 0, 3000, 6500, 9100, 350, 1200, 2050, 0, 600, 1200, 0, 4800};
        QTest::newRow("minimized 0 x 0") << 0.f << 0.f << QList<float> {0,    0,    0, 2800, 6300, 8800, 250,
                                                                        1100, 1950, 0, 600,  1200, 0,    4800};
    }

    void divinationWindowRule()
    {
        QFETCH(float, W);
        QFETCH(float, H);
        QFETCH(QList<float>, expected);
        const divinationlayout::Result r = divinationlayout::compute(W, H);
        const QList<float> got {r.columnGap,        r.rowGap,          r.pieceGap,       r.detailButton.x,
                                r.computerButton.x, r.countSelector.x, r.pieces[0][1].x, r.pieces[0][0].x,
                                r.pieces[0][2].x,   r.detailButton.y,  r.woodenButton.y, r.readingPane.y,
                                r.pieces[0][0].y,   r.pieces[2][3].y};
        for (int i = 0; i < got.size(); ++i)
            QVERIFY2(qAbs(got[i] - expected[i]) < 0.01f,
                     qPrintable(QStringLiteral("value %1: %2 != %3").arg(i).arg(got[i]).arg(expected[i])));
        // The mode buttons and the reading pane share the detail button's column;
        // the list shares the pane's row.
        QCOMPARE(r.woodenButton.x, r.detailButton.x);
        QCOMPARE(r.readingPane.x, r.detailButton.x);
        QCOMPARE(r.computerButton.y, r.woodenButton.y);
        QCOMPARE(r.countSelector.y, r.readingPane.y);
        // Diamonds: index 1 top middle, 2 and 3 on one row, 4 bottom middle.
        for (int g = 0; g < 3; ++g) {
            const auto &p = r.pieces[size_t(g)];
            QCOMPARE(p[3].x, p[0].x);
            QCOMPARE(p[1].y, p[2].y);
            QVERIFY(p[0].y < p[1].y && p[1].y < p[3].y);
            QVERIFY(p[1].x < p[0].x && p[0].x < p[2].x);
        }
    }
};

QTEST_GUILESS_MAIN(TestLayouts)
#include "test_layouts.moc"
