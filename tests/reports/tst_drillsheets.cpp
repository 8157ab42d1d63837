// Drill-down from the screens that write their own figures: a day of the month report, a cell of
// the daily report and a point of a trend line open the bills, payment lines or item lines
// behind the figure, and the list's total is that figure. The expected figures are worked out
// by hand from the fixtures' bills (see the comments at the top of each fixture).
#include "core/HostContext.h"
#include "framework/HostUi.h"
#include "reports/bills/frmBillItemQuery.h"
#include "reports/bills/frmBillQuery.h"
#include "reports/charts/frmMenuLine.h"
#include "reports/charts/frmTrendLine.h"
#include "reports/periods/frmDailyReport.h"
#include "reports/periods/frmDepartQuery.h"
#include "reports/periods/frmMonthReport.h"
#include "reports/periods/frmPaymentQuery.h"
#include "sheet/Sheet.h"
#include "tests/support/TestDatabase.h"
#include "ui/chart/Chart2D.h"
#include "ui/ctlQuery.h"

#include <QChartView>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Criteria = QList<QPair<QString, QString>>;

// Leaf columns of the bill query's list.
enum BillColumn
{
    Guests = 4,
    Consume = 8,
    Service = 10,
    Discount = 13,
    ToPay = 14,
    Paid = 17
};
constexpr int PaymentPaid = 6;  // the payment query's lines: the amount taken
constexpr int ItemConsumed = 9; // the bill item query's lines: the quantity consumed
constexpr int ItemAmount = 11;  // and the amount

// The list a drill-down opened: its data rows and its totals.
struct Drilled
{
    QueryReportScreen* screen = nullptr;
    int rows = 0;
    double total(int column) const
    {
        Sheet* grid = screen->queryControl()->Grid();
        return grid->value(grid->maxRows(), column).toDouble();
    }
    QString text(int row, int column) const
    {
        return screen->queryControl()->Grid()->text(row, column);
    }
};

Drilled drilled(ReportScreen& from)
{
    Drilled d;
    d.screen = qobject_cast<QueryReportScreen*>(from.drilledScreen());
    if (!d.screen)
        return d;
    ctlQuery* control = d.screen->queryControl();
    for (int row = 1; row <= control->Grid()->maxRows(); ++row)
        d.rows += control->rowRole(row) == QueryFill::RowRole::Data;
    return d;
}

// vtxhost run headless on `db` with `arguments`, its export as text ("status N: ..." when it
// failed).
QString headless(const TestDatabase& db, const QStringList& arguments)
{
    QTemporaryDir dir;
    const QString out = dir.filePath("drilled.txt");
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(env);
    process.start(VTX_BIN_DIR "/vtxhost",
                  QStringList{"--db", db.path()} + arguments + QStringList{"--export", out});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QString("status %1: %2")
            .arg(process.exitCode())
            .arg(QString::fromUtf8(process.readAllStandardError()));
    QFile file(out);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : "no export";
}

} // namespace

class TestDrillSheets : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        HostUi::setHeadless(true);
        hostContext().TrueDataAllowed = false;
    }

    // Columns: date, weekday, bills, guests, 厨房, 酒水, consumption, service, discount, 现金,
    // 银行卡, 港币, paid.
    void monthReportDays()
    {
        TestDatabase db("period_reports.sql");
        // Settled for nothing on 2026-03-10: the month report does not count it, nor may its
        // list show it.
        db.run("INSERT INTO bi_Bill (BillID, BillDate, TableName, PeopleCount, SumOfConsume, "
               "SumPaid, CheckOutNull, IsDeleted, BranchID, BranchName) VALUES ('B9', "
               "'2026-03-10 00:00:00', 'A9', 6, 50, 0, 1, 0, '01', '北京店');");
        db.install();
        frmMonthReport month;
        month.ShowMe();
        QVERIFY(month.applyCriterion("dtpBegin", "2026-03-09"));
        QVERIFY(month.applyCriterion("dtpEnd", "2026-03-11"));
        QVERIFY(month.runRefresh());
        Sheet* grid = month.grid();
        QCOMPARE(grid->maxRows(), 4); // three days and 合计
        const std::pair<int, int> figures[] = {
            {Guests, 4}, {Consume, 7}, {Service, 8}, {Discount, 9}, {Paid, 13}};
        for (int row = 1; row <= grid->maxRows(); ++row) {
            QVERIFY2(month.drillDown(QString::number(row)), qPrintable(month.lastError()));
            const Drilled list = drilled(month);
            QVERIFY(qobject_cast<frmBillQuery*>(list.screen));
            const QString where = QStringLiteral("row %1").arg(row);
            QVERIFY2(list.rows == grid->value(row, 3).toInt(), qPrintable(where));
            for (const auto& [billColumn, monthColumn] : figures)
                QVERIFY2(list.total(billColumn) == grid->value(row, monthColumn).toDouble(),
                         qPrintable(where + QStringLiteral(" column %1").arg(monthColumn)));
        }
        // By hand: 2026-03-10 is B1, B2, B3 (after midnight, same business day), B4 and the
        // top-up B6; not the deleted B5 nor B9; 124 + 92 + 38 + 114 + 500 paid.
        QVERIFY(month.drillDown("2,13"));
        Drilled list = drilled(month);
        QCOMPARE(list.rows, 5);
        QStringList bills;
        for (int row = 1; row <= list.rows; ++row)
            bills << list.text(row, 1);
        QCOMPARE(bills, QStringList({"B1", "B2", "B3", "B4", "B6"}));
        QCOMPARE(list.total(Paid), 868.0);
        // 合计: B7 as well; 2026-03-11 lists nothing.
        QVERIFY(month.drillDown("4"));
        QCOMPARE(drilled(month).rows, 6);
        QCOMPARE(drilled(month).total(Paid), 904.0);
        QVERIFY(month.drillDown("3"));
        QCOMPARE(drilled(month).rows, 0);
        // The top-up left out on the month report is left out of the list too.
        QVERIFY(month.applyCriterion("chkSaving", "1"));
        QVERIFY(month.runRefresh());
        QVERIFY(month.drillDown("2"));
        QCOMPARE(drilled(month).rows, 4);
        QCOMPARE(drilled(month).total(Paid), 368.0);
        QVERIFY(!month.drillDown("5"));

        // Headless: the day's list exported.
        const QString text = headless(db, {"--action", "DoMonthReport", "--from", "2026-03-09",
                                           "--to", "2026-03-11", "--drill", "1"});
        QVERIFY2(text.contains("B7\t") && !text.contains("B1\t"), qPrintable(text));
    }

    // The daily report over 2026-03-01..2026-03-10, business day 2026-03-10. Rows: subjects
    // 现金 6, 银行卡 7, 收入小计 8, blank 9, 挂账 10, 费用小计 11; department types 热菜 6, 酒水
    // 7, the statistic group 主食组 9; 出品小计 13, 服务费/人数 14, 折扣额/人均 15, 合计 17.
    // Columns: subjects 3 (day) and 5 (period), departments 9 and 11, costs 13 and 14,
    // expenses 15 and 16, profit 17.
    void dailyReportCells()
    {
        TestDatabase db("daily_report.sql");
        db.install();
        frmDailyReport daily;
        daily.ShowMe();
        QVERIFY(daily.applyCriterion("dtpBegin", "2026-03-01"));
        QVERIFY(daily.applyCriterion("dtpEnd", "2026-03-10"));
        QVERIFY(daily.applyCriterion("dtpToday", "2026-03-10"));
        QVERIFY(!daily.drillDown("6,3")); // nothing drawn yet
        QVERIFY(daily.runRefresh());
        Sheet* sheet = daily.sheet();
        QCOMPARE(sheet->text(8, 2), QString("收入小计"));
        QCOMPARE(sheet->text(9, 8), QString("主食组"));

        // Each cell: the list it opens, the column of its total, the figure by hand.
        struct Cell
        {
            int row, col;
            const QMetaObject* list;
            int total;
            double figure;
        };
        const QMetaObject* bills = &frmBillQuery::staticMetaObject;
        const QMetaObject* payments = &frmPaymentQuery::staticMetaObject;
        const QMetaObject* items = &frmBillItemQuery::staticMetaObject;
        const Cell cells[] = {
            // 现金 on the day: B1 200, B2 50 (B3 deleted); over the period B6's 400 too.
            {6, 3, payments, PaymentPaid, 250},
            {6, 5, payments, PaymentPaid, 650},
            {6, 4, payments, PaymentPaid, 250}, // its share: the same lines
            {7, 3, payments, PaymentPaid, 600}, // B1 100, the top-up B4 500
            {8, 3, payments, PaymentPaid, 850}, // income subjects, not the hidden 08
            {10, 3, payments, PaymentPaid, 100},
            {11, 5, payments, PaymentPaid, 100},
            {14, 3, bills, Guests, 6},
            {17, 3, bills, Paid, 950},
            {17, 5, bills, Paid, 1350},
            // 热菜 without B1's gift: B1 200, B2 100; over the period B6's 300 too.
            {6, 9, items, ItemAmount, 300},
            {6, 11, items, ItemAmount, 600},
            {7, 11, items, ItemAmount, 180},
            // 主食组: menu type 主食 (B2's 米饭 100) and the menu 青岛啤酒 (B1's 80).
            {9, 9, items, ItemAmount, 180},
            {13, 9, bills, Consume, 950},
            {14, 11, bills, Service, 70},
            {15, 9, bills, Discount, 30}, // shown as -30
            {17, 11, bills, ToPay, 1350},
        };
        for (const Cell& c : cells) {
            const QString where = QStringLiteral("cell %1,%2").arg(c.row).arg(c.col);
            QVERIFY2(daily.drillDown(QStringLiteral("%1,%2").arg(c.row).arg(c.col)),
                     qPrintable(where + ": " + daily.lastError()));
            const Drilled list = drilled(daily);
            QVERIFY2(list.screen && list.screen->metaObject() == c.list, qPrintable(where));
            QVERIFY2(list.total(c.total) == c.figure,
                     qPrintable(where + QStringLiteral(": %1").arg(list.total(c.total))));
            const int amountCol = c.col % 2 == 0 ? c.col - 1 : c.col; // a share's amount
            QVERIFY2(std::abs(sheet->value(c.row, amountCol).toDouble()) == c.figure,
                     qPrintable(where));
        }

        // Captions, blanks, costs, expenses and profits have no lines: said, nothing opened.
        QWidget* last = daily.drilledScreen();
        for (const char* at : {"9,3", "6,2", "6,13", "17,14", "17,15", "17,16", "17,17", "4,3"}) {
            QVERIFY2(!daily.drillDown(at), at);
            QCOMPARE(daily.lastError(), QString("这个数字没有可以打开的账单或明细。"));
        }
        QCOMPARE(daily.drilledScreen(), last);

        const QString text =
            headless(db, {"--action", "DoDailyReport", "--from", "2026-03-01", "--to", "2026-03-10",
                          "--set", "dtpToday=2026-03-10", "--drill", "6,3"});
        QVERIFY2(text.contains("B1\t") && text.contains("B2\t") && !text.contains("B6\t"),
                 qPrintable(text));
    }

    // The trend lines over 2026-05-01..2026-05-03: S1 on 05-01 (dinner, 3 guests, 340), the 50
    // lunch bills of 05-02 (2 guests, 10 each) and Z1 settled for nothing, nothing on 05-03.
    void trendLinePoints()
    {
        TestDatabase db("chart_lines.sql");
        db.install();
        frmTrendLine received;
        received.ShowMe(0);
        QVERIFY(received.applyCriterion("dtpBegin", "2026-05-01"));
        QVERIFY(received.applyCriterion("dtpEnd", "2026-05-03"));
        QVERIFY(received.runRefresh());
        QVERIFY(received.drillDown("2"));
        QCOMPARE(drilled(received).rows, 50); // not Z1
        QCOMPARE(drilled(received).total(Paid), 500.0);
        QVERIFY(!received.drillDown("4,1"));
        QVERIFY(!received.drillDown("1,2"));
        // Lunch left off the line: its bills leave the list.
        QVERIFY(received.applyCriterion("chkPeriod_1", "0"));
        QVERIFY(received.runRefresh());
        QVERIFY(received.drillDown("2,1"));
        QCOMPARE(drilled(received).rows, 0);
        QVERIFY(received.drillDown("1,1"));
        QCOMPARE(drilled(received).total(Paid), 340.0);

        // Guests: 100 on 05-02.
        frmTrendLine guests;
        guests.ShowMe(1);
        QVERIFY(guests.applyCriterion("dtpBegin", "2026-05-01"));
        QVERIFY(guests.applyCriterion("dtpEnd", "2026-05-03"));
        QVERIFY(guests.runRefresh());
        QVERIFY(guests.drillDown("2,1"));
        QCOMPARE(drilled(guests).total(Guests), 100.0);

        // A double click near a point opens its day; far from every point, nothing.
        guests.resize(900, 700);
        guests.show();
        QVERIFY(QTest::qWaitForWindowExposed(&guests));
        guests.runRefresh();
        Chart2D* chart = guests.chart();
        QWidget* canvas = chart->chartView()->viewport();
        const QPoint first = canvas->mapFrom(chart, chart->positionOf(1, 1));
        QVERIFY(chart->pointAt(chart->positionOf(1, 1) + QPoint(5, -5)) == std::pair(1, 1));
        QVERIFY(chart->pointAt(chart->positionOf(1, 3) + QPoint(-3, 4)) == std::pair(1, 3));
        QVERIFY(!chart->pointAt(chart->positionOf(1, 1) + QPoint(0, 200)));
        QTest::mouseDClick(canvas, Qt::LeftButton, {}, first + QPoint(3, 3));
        QCOMPARE(drilled(guests).rows, 1);
        QCOMPARE(drilled(guests).text(1, 1), QString("S1"));

        const QString text = headless(db, {"--action", "DoTrendLine_SumToPay", "--from",
                                           "2026-05-01", "--to", "2026-05-03", "--drill", "1,1"});
        QVERIFY2(text.contains("S1\t") && !text.contains("T01\t"), qPrintable(text));
    }

    // The menu sales chart over the same days: 05-01's S1 has 热菜 300, 酒水 40 (3 consumed of
    // 4) and a gift of 燕京'啤酒 (2); Z1's 热菜 is settled for nothing, D1's deleted.
    void menuLinePoints()
    {
        TestDatabase db("chart_lines.sql");
        db.install();
        frmMenuLine chart;
        chart.ShowMe();
        auto show = [&](const Criteria& criteria) {
            for (const auto& [name, value] : criteria)
                if (!chart.applyCriterion(name, value))
                    return false;
            return chart.runRefresh();
        };
        QVERIFY(show(
            {{"dtpBegin", "2026-05-01"}, {"dtpEnd", "2026-05-03"}, {"cboDepartType", "热菜"}}));
        QVERIFY(chart.drillDown("1,1"));
        QCOMPARE(drilled(chart).rows, 1);
        QCOMPARE(drilled(chart).total(ItemAmount), 300.0);
        QVERIFY(chart.drillDown("2,1"));
        QCOMPARE(drilled(chart).rows, 0); // not Z1's
        // Quantities of 酒水: the gift stays out as on the line, or alone when asked for.
        QVERIFY(show({{"cboDepartType", "酒水"}, {"optSumBy_1", "1"}}));
        QVERIFY(chart.drillDown("1,1"));
        QCOMPARE(drilled(chart).total(ItemConsumed), 3.0);
        QVERIFY(show({{"cboIsSentMenu", "#1"}}));
        QVERIFY(chart.drillDown("1,1"));
        QCOMPARE(drilled(chart).total(ItemConsumed), chart.line().point(0).toDouble());
        QCOMPARE(drilled(chart).total(ItemConsumed), 2.0);
        // A menu whose name holds a quote, every line: its gift alone.
        QVERIFY(show({{"optGroupBy_2", "1"}, {"cboMenu", "燕京'啤酒"}, {"cboIsSentMenu", "#2"}}));
        QVERIFY(chart.drillDown("1"));
        QCOMPARE(drilled(chart).rows, 1);
        QCOMPARE(drilled(chart).text(1, 2), QString("燕京'啤酒"));
        // Dinner left off the line: S1 leaves the list.
        QVERIFY(show({{"chkPeriod_2", "0"}}));
        QVERIFY(chart.drillDown("1"));
        QCOMPARE(drilled(chart).rows, 0);
    }

    // The department share chart on 2026-03-10 of period_reports2.sql: 厨房 900 (T1's 400 at
    // lunch, T3's 500 and 麻婆豆腐's line of 0 at dinner, in 热菜间), 酒水 80 (T1, 吧台), 主食 20
    // (T3, 面点间); T3's gift 凉拌黄瓜 (厨房, 凉菜间) 15; the deleted T5's 酒水 999.
    void departSlices()
    {
        TestDatabase db("period_reports2.sql");
        db.install();
        hostContext().TrueDataAllowed = true; // the deleted-data box shown here and in the list
        frmDepartQuery chart;
        chart.ShowMe();
        auto show = [&](const Criteria& criteria) {
            for (const auto& [name, value] : criteria)
                if (!chart.applyCriterion(name, value))
                    return false;
            return chart.runRefresh();
        };
        auto slice = [&](int row) {
            return chart.drillDown(QString::number(row)) ? drilled(chart).total(ItemAmount) : -1.0;
        };
        QVERIFY(
            show({{"dtpBegin", "2026-03-10"}, {"dtpEnd", "2026-03-10"}, {"chkUseTrueData", "0"}}));
        QCOMPARE(chart.slices().size(), size_t(3));
        QCOMPARE(slice(1), 900.0);
        QCOMPARE(drilled(chart).rows, 3);
        QCOMPARE(slice(2), 80.0);
        QCOMPARE(slice(3), 20.0);
        QVERIFY(!chart.drillDown("4"));
        // Below 10 %: 酒水 and 主食 folded into "others", whose lines are both groups'.
        QVERIFY(show({{"txtMin", "10"}}));
        QVERIFY(chart.slices()[1].others);
        QCOMPARE(slice(2), 100.0);
        QCOMPARE(drilled(chart).rows, 2);
        // By department type and kitchen with the gifts: 热菜间-厨房 900, 吧台-酒水 80, and
        // 面点间-主食 20 (1.97 %) and 凉菜间-厨房 15 (1.48 %) folded below 2 %.
        QVERIFY(show({{"txtMin", "2"}, {"optType_3", "1"}, {"cboIsSentMenu", "#2"}}));
        QCOMPARE(chart.slices().size(), size_t(3));
        QCOMPARE(slice(1), 900.0);
        QCOMPARE(slice(3), 35.0);
        // By menu type at lunch: 热菜 is T1's 400 alone.
        QVERIFY(show({{"cboIsSentMenu", "#0"}, {"optType_2", "1"}, {"chkPeriod_2", "0"}}));
        QCOMPARE(slice(1), 400.0);
        QCOMPARE(drilled(chart).rows, 1);
        // By kitchen with the deleted bill: 吧台 80 + 999 comes first.
        QVERIFY(show({{"chkPeriod_2", "1"}, {"optType_1", "1"}, {"chkUseTrueData", "1"}}));
        QCOMPARE(slice(1), 1079.0);
        QCOMPARE(slice(2), 900.0);

        // A double click on a slice opens its lines; outside the pie, nothing is hit.
        QVERIFY(show({{"chkUseTrueData", "0"}, {"optType_0", "1"}}));
        chart.resize(900, 700);
        chart.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chart));
        chart.runRefresh();
        Chart2D* pie = chart.chart();
        for (int k = 1; k <= 3; ++k)
            QVERIFY(pie->pointAt(pie->positionOf(k, 1)) == std::pair(k, 1));
        QVERIFY(!pie->pointAt(QPoint(2, 2)));
        QWidget* canvas = pie->chartView()->viewport();
        QTest::mouseDClick(canvas, Qt::LeftButton, {}, canvas->mapFrom(pie, pie->positionOf(2, 1)));
        QCOMPARE(drilled(chart).total(ItemAmount), 80.0);

        const QString text =
            headless(db, {"--action", "DoDepartQuery", "--from", "2026-03-10", "--to", "2026-03-10",
                          "--set", "txtMin=10", "--drill", "2"});
        QVERIFY2(text.contains("青岛啤酒") && text.contains("米饭") && !text.contains("宫保鸡丁"),
                 qPrintable(text));
        hostContext().TrueDataAllowed = false;
    }
};

QTEST_MAIN(TestDrillSheets)
#include "tst_drillsheets.moc"
