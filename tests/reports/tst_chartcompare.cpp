// The daily chart lines compared with the previous period and with the same dates a year earlier
// over tests/fixtures/chart_compare.sql (range 2026-03-01..2026-03-03), figures worked out by
// hand in the fixture's comments:
//   received  400 | 150 | 0   previous 200 | 0 | 50   a year earlier 400 | 100 | 80
//   guests      6 |   3 | 0   previous   5 | 0 |  2   a year earlier   2 |   6 |  1
//   bills       2 |   1 | 0   previous   1 | 0 |  1   a year earlier   1 |   1 |  1
#include "core/HostContext.h"
#include "framework/HostUi.h"
#include "query/ComparedRange.h"
#include "reports/bills/frmBillItemQuery.h"
#include "reports/bills/frmBillQuery.h"
#include "reports/charts/DailyLine.h"
#include "reports/charts/frmMenuLine.h"
#include "reports/charts/frmTrendLine.h"
#include "sheet/Sheet.h"
#include "tests/support/TestDatabase.h"
#include "ui/chart/Chart2D.h"
#include "ui/ctlQuery.h"

#include <QtTest>

namespace {

using Criteria = QList<QPair<QString, QString>>;

bool refresh(ReportScreen& screen, const Criteria& criteria)
{
    screen.applyCriterion("dtpBegin", "2026-03-01");
    screen.applyCriterion("dtpEnd", "2026-03-03");
    for (const auto& [name, value] : criteria)
        if (!screen.applyCriterion(name, value))
            return false;
    return screen.runRefresh();
}

// The points grid from column `from` on, a row per day: "compared date|figure|change|percent".
QStringList comparedRows(const DailyLineScreen& screen)
{
    QStringList rows;
    const Sheet* grid = screen.points();
    for (int row = 4; row < 4 + screen.line().days(); ++row) {
        QStringList cells;
        for (int col = 3; col <= 6; ++col)
            cells << grid->text(row, col);
        rows << cells.join('|');
    }
    return rows;
}

// The total of column `column` in the list the last drill-down of `from` opened, and its rows.
double drilledTotal(const ReportScreen& from, int column)
{
    auto* list = qobject_cast<QueryReportScreen*>(from.drilledScreen());
    Sheet* grid = list ? list->queryControl()->Grid() : nullptr;
    return grid ? grid->value(grid->maxRows(), column).toDouble() : -1;
}

} // namespace

class TestChartCompare : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        HostUi::setHeadless(true);
        hostContext().TrueDataAllowed = false;
    }

    // Day i beside day i, as shown: a compared range one day short (29 February a year later)
    // leaves the last day without a compared figure; changes are of the figures as shown.
    void comparedDays()
    {
        const DateRange range{QDate(2028, 2, 28), QDate(2028, 3, 1)};
        const DateRange year = ComparedRange(range, CompareLastYear);
        QCOMPARE(year.begin, QDate(2027, 2, 28));
        QCOMPARE(year.end, QDate(2027, 3, 1));
        DailyLine now(range.begin, range.end), then(year.begin, year.end);
        now.add(QDate(2028, 2, 28), Money::fromUnits(1000000));
        now.add(QDate(2028, 2, 29), Money::fromUnits(500000));
        then.add(QDate(2027, 2, 28), Money::fromUnits(800000));
        const std::vector<ComparedDay> days = CompareLines(now, then, 2);
        QCOMPARE(days.size(), size_t(3));
        QCOMPARE(days[0].change->toString(2), QString("20.00"));
        QCOMPARE(*days[0].percent, 25.0);
        QCOMPARE(days[1].comparedDay, QDate(2027, 3, 1));
        QCOMPARE(days[1].change->toString(2), QString("50.00"));
        QVERIFY(!days[1].percent); // compared with 0
        QVERIFY(!days[2].compared && !days[2].change && !days[2].comparedDay.isValid());
        // One bill against two over three tables: 0.33 against 0.67 as shown, a change of
        // -0.34 (not -0.3334) and -0.34 / 0.67 = -50.7 %.
        DailyLine tables(range.begin, range.begin), before(year.begin, year.begin);
        tables.add(range.begin, Money::fromUnits(10000));
        before.add(year.begin, Money::fromUnits(20000));
        tables.setDivisor(3);
        before.setDivisor(3);
        const ComparedDay turnover = CompareLines(tables, before, 2).front();
        QCOMPARE(turnover.change->toString(4), QString("-0.3400"));
        QCOMPARE(QString::number(*turnover.percent, 'f', 1), QString("-50.7"));
    }

    void trendLines()
    {
        TestDatabase db("chart_compare.sql");
        db.install();
        frmTrendLine received;
        received.ShowMe(0);
        QVERIFY(refresh(received, {{"cboCompare", "#1"}}));
        const Chart2DData& d = received.chart()->data();
        QCOMPARE(d.seriesLabels, QStringList({"营业额走势图", "上期"}));
        QCOMPARE(d.values.value(1), QList<double>({200, 0, 50}));
        QCOMPARE(received.points()->text(3, 3), QString("对比日期"));
        QCOMPARE(received.points()->text(3, 5), QString("增减"));
        QCOMPARE(received.points()->text(3, 6), QString("增减%"));
        // P0 the day before the previous period and P3 deleted stay out.
        QCOMPARE(comparedRows(received),
                 QStringList({"2026年02月26日|200.00|200.00|100.0%", "2026年02月27日|0.00|150.00|",
                              "2026年02月28日|50.00|-50.00|-100.0%"}));
        // A point of the compared line opens that compared day's bills.
        QVERIFY(received.drillDown("1,2"));
        QCOMPARE(drilledTotal(received, 17), 200.0);
        QVERIFY(received.drillDown("3,2"));
        QCOMPARE(drilledTotal(received, 17), 50.0);
        QVERIFY(received.drillDown("3,1"));
        QCOMPARE(drilledTotal(received, 17), 0.0);
        QVERIFY(!received.drillDown("4,2"));
        // Lunch alone, on both ranges: P1's dinner leaves the previous period.
        QVERIFY(refresh(received, {{"chkPeriod_2", "0"}}));
        QCOMPARE(comparedRows(received),
                 QStringList({"2026年02月26日|0.00|100.00|", "2026年02月27日|0.00|150.00|",
                              "2026年02月28日|50.00|-50.00|-100.0%"}));
        // Nothing compared: one line, two columns, and no compared line to open.
        QVERIFY(refresh(received, {{"chkPeriod_2", "1"}, {"cboCompare", "#0"}}));
        QCOMPARE(received.chart()->data().seriesCount(), 1);
        QCOMPARE(received.points()->maxCols(), 2);
        QVERIFY(!received.drillDown("1,2"));

        // Guests a year earlier; L3 settled for nothing and L5 after the range stay out.
        frmTrendLine guests;
        guests.ShowMe(1);
        QVERIFY(refresh(guests, {{"cboCompare", "#2"}}));
        QCOMPARE(guests.chart()->data().seriesLabels.value(1), QString("去年同期"));
        QCOMPARE(comparedRows(guests),
                 QStringList({"2025年03月01日|2|4|200.0%", "2025年03月02日|6|-3|-50.0%",
                              "2025年03月03日|1|-1|-100.0%"}));
        QVERIFY(guests.drillDown("2,2"));
        QCOMPARE(drilledTotal(guests, 4), 6.0);

        // Bills per table (4 tables) a year earlier: 0.50, 0.25, 0 against 0.25 each day.
        frmTrendLine tables;
        tables.ShowMe(2);
        QVERIFY(refresh(tables, {{"cboCompare", "#2"}}));
        QCOMPARE(comparedRows(tables),
                 QStringList({"2025年03月01日|0.25|0.25|100.0%", "2025年03月02日|0.25|0.00|0.0%",
                              "2025年03月03日|0.25|-0.25|-100.0%"}));
    }

    // The menu sales chart compares the same way: 热菜 is the turnover line of the fixture.
    void menuLine()
    {
        TestDatabase db("chart_compare.sql");
        db.install();
        frmMenuLine chart;
        chart.ShowMe();
        QVERIFY(refresh(chart, {{"cboDepartType", "热菜"}, {"cboCompare", "#1"}}));
        QCOMPARE(chart.chart()->data().values.value(1), QList<double>({200, 0, 50}));
        QCOMPARE(comparedRows(chart).value(0), QString("2026年02月26日|200.00|200.00|100.0%"));
        // The footer stays the range's own.
        QCOMPARE(chart.chart()->data().footer,
                 QString("合计:550.00  最大值:400.00  日平均值:183.33"));
        QVERIFY(chart.drillDown("1,2"));
        QCOMPARE(drilledTotal(chart, 11), 200.0);
    }
};

QTEST_MAIN(TestChartCompare)
#include "tst_chartcompare.moc"
