// The period query, hour report, payment query and month report over
// tests/fixtures/period_reports.sql; the figures below are worked out by hand from the bills
// described at the top of the fixture. Last, the month report against the daily report on the
// demo chain.
#include "core/HostContext.h"
#include "framework/HostUi.h"
#include "reports/periods/DailyReportFigures.h"
#include "reports/periods/HourReportFigures.h"
#include "reports/periods/MonthReportFigures.h"
#include "reports/periods/PeriodQuerySql.h"
#include "reports/periods/frmHourReport.h"
#include "reports/periods/frmMonthReport.h"
#include "reports/periods/frmPaymentQuery.h"
#include "reports/periods/frmPeriodQuery.h"
#include "sheet/Sheet.h"
#include "sheet/SheetOutput.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/XlsxCells.h"
#include "ui/ctlQuery.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

using Criteria = QList<QPair<QString, QString>>;

// Refreshes `screen` for `begin`..`end` with the criteria set by name; the rows of the grid
// (data rows only unless `allRows`), each as the texts of columns 1..`columns` joined by "|",
// whether the refresh succeeded or not (lastError says why not).
template <class Screen>
QStringList rows(Screen& screen, const Criteria& criteria, int columns,
                 const char* begin = "2026-03-10", const char* end = "2026-03-10",
                 bool allRows = false)
{
    screen.applyCriterion("dtpBegin", begin);
    screen.applyCriterion("dtpEnd", end);
    for (const auto& [name, value] : criteria)
        if (!screen.applyCriterion(name, value))
            return {"cannot set " + name};
    screen.runRefresh();
    QStringList lines;
    const Sheet* grid = screen.grid();
    for (int row = 1; row <= grid->maxRows(); ++row) {
        if (!allRows && screen.queryControl()->rowRole(row) != QueryFill::RowRole::Data)
            continue;
        QStringList cells;
        for (int col = 1; col <= columns; ++col)
            cells << grid->text(row, col);
        lines << cells.join('|');
    }
    return lines;
}

BranchScope monthScope(const MonthReportCriteria& c)
{
    return BranchScope({MonthReportBranch}, c.branch);
}

template <class Screen> QString totalRow(Screen& screen, int columns)
{
    const Sheet* grid = screen.grid();
    QStringList cells;
    for (int col = 1; col <= columns; ++col)
        cells << grid->text(grid->maxRows(), col);
    return cells.join('|');
}

Money money(const char* text)
{
    return Money::fromString(QString::fromUtf8(text));
}

} // namespace

class TestPeriodReports : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        HostUi::setHeadless(true);
        hostContext().UserID = "admin";
        hostContext().TrueDataAllowed = false;
    }

    // Columns: code, name, type, then quantity and amount of 午餐, 晚餐, 夜宵, then the day's
    // quantity, amount and amount after discount.
    void periodQuery()
    {
        TestDatabase db("period_reports.sql");
        db.install();
        frmPeriodQuery screen;
        screen.ShowMe();
        // 2026-03-10, gifts left out, only what sold. 宫保鸡丁: B1 lunch 2 (76, 6 off), B3 late
        // 1 (38, after midnight), B4 brunch 3 (114): the brunch is in the day's figures only.
        // 水煮鱼: B2 dinner (B1's is a gift). 青岛啤酒: B1 lunch 4-1, B2 dinner 2. The deleted
        // B5 and the other days are out.
        QCOMPARE(rows(screen, {}, 12),
                 QStringList({"1101|宫保鸡丁|热菜|2.00|76.00|||1.00|38.00|6.00|228.00|222.00",
                              "1102|水煮鱼|热菜|||1.00|68.00|||1.00|68.00|68.00",
                              "2101|青岛啤酒|啤酒|3.00|36.00|2.00|24.00|||5.00|60.00|60.00"}));
        QCOMPARE(totalRow(screen, 12),
                 QString("合计|||5.00|112.00|3.00|92.00|1.00|38.00|12.00|356.00|350.00"));
        // Gifts only: B1's 水煮鱼, all of it off, so nothing after discount.
        QCOMPARE(rows(screen, {{"cboIsSentMenu", "#1"}}, 12),
                 QStringList({"1102|水煮鱼|热菜|1.00|68.00|||||1.00|68.00|"}));
        // Everything on the menu: 米饭 never sold and shows empty; a number is the start of a
        // code, other text a part of a name, a hostile text matches nothing.
        QCOMPARE(
            rows(screen, {{"cboIsSentMenu", "#0"}, {"chkNotNull", "0"}, {"cboMenuID", "1"}}, 2),
            QStringList({"1101|宫保鸡丁", "1102|水煮鱼", "1301|米饭"}));
        QCOMPARE(rows(screen, {{"cboMenuID", "13"}}, 12), QStringList({"1301|米饭|热菜|||||||||"}));
        QCOMPARE(rows(screen, {{"cboMenuID", "鱼"}}, 2), QStringList({"1102|水煮鱼"}));
        QCOMPARE(rows(screen, {{"cboMenuID", "x' OR '1'='1"}}, 2), QStringList());
        QVERIFY(screen.runRefresh());
        // One branch, by department type: 北京店 is B1, B3 and B4.
        QCOMPARE(rows(screen,
                      {{"cboMenuID", ""},
                       {"chkNotNull", "1"},
                       {"cboBranch", "北京店"},
                       {"optQuery4", "1"}},
                      10),
                 QStringList({"厨房|2.00|76.00|||1.00|38.00|6.00|228.00|222.00",
                              "酒水|3.00|36.00|||||3.00|36.00|36.00"}));
        // Dates go in as quoted literals where the database answers getdate(), else as #...#.
        PeriodQueryCriteria c;
        c.range = {QDate(2026, 3, 1), QDate(2026, 3, 31)};
        c.quotedDates = false;
        QVERIFY(PeriodQueryCondition(c).text().startsWith(
            " and BL.BillDate >= #2026-03-01# and BL.BillDate < #2026-04-01#   AND "));
    }

    // Rows from 10点 (the opening of 午餐): row 1 is 10点, row 15 00点, row 25 the day.
    void hourReport()
    {
        TestDatabase db("period_reports.sql");
        db.install();
        frmHourReport screen;
        screen.ShowMe();
        QCOMPARE(screen.startHour(), 10);
        QCOMPARE(frmHourReport::rowOfHour(0, 10), 15);
        QCOMPARE(frmHourReport::rowOfHour(9, 10), 24);

        // The figures: by the hour each bill was opened; the top-up B6 counts, the deleted B5
        // does not, and B3, opened at 00:30 on the next calendar day, counts in 2026-03-10.
        HourReportCriteria c;
        c.range = {QDate(2026, 3, 10), QDate(2026, 3, 10)};
        HourReportFigures f =
            HourReportFigures::read(db.connection(), c, BranchScope({HourReportBranch}, c.branch));
        QVERIFY(f.failures.isEmpty());
        QVERIFY(f.allDay);
        QCOMPARE(f.allDay->paid, money("868"));    // 114 + 124 + 500 + 92 + 38
        QCOMPARE(f.allDay->consume, money("924")); // 114 + 180 + 500 + 92 + 38
        QCOMPARE(f.allDay->bills, 5);
        QCOMPARE(f.allDay->guests, 10);
        QCOMPARE(f.hours[11]->discount, money("74"));
        QVERIFY(!f.hours[12] && f.hours[0] && f.hours[0]->paid == money("38"));
        // 868 / 5 = 173.6 and 868 / 10 = 86.8, rounded; 500 / 868 = 57.6%; nobody came for the
        // top-up, so it has no spend per guest.
        QCOMPARE(f.allDay->perBill(), std::optional<qint64>(174));
        QCOMPARE(f.allDay->perGuest(), std::optional<qint64>(87));
        QCOMPARE(f.hours[14]->percentOf(f.allDay->paid), 58);
        QVERIFY(!f.hours[14]->perGuest());
        QCOMPARE(HourReportFigures::whole(money("-2.5")), -3);
        QCOMPARE(HourOfDayOpening(QVariant("1899-12-30 06:30:00")), 6);
        QCOMPARE(HourOfDayOpening(QVariant("25:00")), 0);

        // Rendered: whole units, blanks for zero; percentages of the day's takings.
        const QStringList all = rows(screen, {}, 12, "2026-03-10", "2026-03-10", true);
        QCOMPARE(all.at(0), QString("10点|10:00:00|10:59:59|114 | | |114 |13 % |1 |114 |3 |38 "));
        QCOMPARE(all.at(1),
                 QString("11点|11:00:00|11:59:59|180 |18 |74 |124 |14 % |1 |124 |4 |31 "));
        QCOMPARE(all.at(2), QString("12点|12:00:00|12:59:59|||||||||"));
        QCOMPARE(all.at(14), QString("00点|00:00:00|00:59:59|38 | | |38 |4 % |1 |38 |1 |38 "));
        QCOMPARE(all.at(24),
                 QString("全天|00:00:00|23:59:59|924 |18 |74 |868 |100 % |5 |174 |10 |87 "));
        // Without the top-up, and then an empty day: the hours stay, the figures go.
        QCOMPARE(rows(screen, {{"chkSaving", "1"}}, 12, "2026-03-10", "2026-03-10", true).at(24),
                 QString("全天|00:00:00|23:59:59|424 |18 |74 |368 |100 % |4 |92 |10 |37 "));
        QCOMPARE(rows(screen, {}, 12, "2026-03-11", "2026-03-11", true).at(24),
                 QString("全天|00:00:00|23:59:59|||||||||"));
    }

    // Columns: bill, table, due, subject, tendered, converted, cashier, opened by, settled at.
    void paymentQuery()
    {
        TestDatabase db("period_reports.sql");
        db.install();
        frmPaymentQuery screen;
        screen.ShowMe();
        // Every payment line; B1's amount due stands on both its lines and is not totalled; the
        // HKD line tenders 30 worth 24.
        QCOMPARE(rows(screen, {}, 7),
                 QStringList(
                     {"B1|A1|124.00|现金|100.00|100.00|张三", "B1|A1|124.00|港币|30.00|24.00|张三",
                      "B2|A2|92.00|银行卡|92.00|92.00|王五", "B3|A1|38.00|现金|38.00|38.00|张三",
                      "B4|K1|114.00|银行卡|114.00|114.00|王五",
                      "B6|会员卡充值|500.00|现金|500.00|500.00|张三"}));
        QCOMPARE(totalRow(screen, 6).section('|', 2), QString("||874.00|868.00"));
        // A subject keeps only its own lines, not whole bills.
        QCOMPARE(rows(screen, {{"cboSubject", "港币"}}, 6),
                 QStringList({"B1|A1|124.00|港币|30.00|24.00"}));
        // By subject, and by subject and cashier.
        QCOMPARE(
            rows(screen, {{"cboSubject", "(全部)"}, {"optQuery2", "1"}}, 4),
            QStringList({"现金|3|638.00|638.00", "银行卡|2|206.00|206.00", "港币|1|30.00|24.00"}));
        QCOMPARE(totalRow(screen, 4), QString("合计|6|874.00|868.00"));
        QCOMPARE(rows(screen, {{"optQuery3", "1"}, {"cboBillPeriod", "午餐"}}, 5),
                 QStringList({"现金|张三|2|600.00|600.00", "港币|张三|1|30.00|24.00"}));
        // A lost table: the query control's message, an empty grid, idle again.
        db.run("DROP TABLE bi_BillPayment");
        QCOMPARE(rows(screen, {}, 1), QStringList());
        QVERIFY(screen.lastError().contains("bi_BillPayment"));
    }

    // Columns: date, weekday, bills, guests, 厨房, 酒水, consumption, service, discount, 现金,
    // 银行卡, 港币, paid.
    void monthReport()
    {
        TestDatabase db("period_reports.sql");
        db.install();
        frmMonthReport screen;
        screen.ShowMe();
        // 2026-03-09: B7. 2026-03-10: B1, B2, B3, B4 and the top-up B6; department types from
        // the items without the gift (厨房 76 + 68 + 38 + 114, 酒水 36 + 24), consumption from the
        // bills (the gift and the top-up included); subjects as tendered (HKD 30, not 24).
        // 2026-03-11: closed. Zero figures stay blank.
        QCOMPARE(rows(screen, {}, 13, "2026-03-09", "2026-03-11", true),
                 QStringList({"2026-03-09|一|1|2||36|36|||36|||36",
                              "2026-03-10|二|5|10|296|60|924|18|74|638|206|30|868",
                              "2026-03-11|三|||||||||||",
                              "合计:||6|12|296|96|960|18|74|674|206|30|904"}));
        QCOMPARE(screen.columnMap().value("thePaySum : SubjectID = '05'"), 12);
        // Cents when asked for; the counts stay whole.
        QCOMPARE(rows(screen, {{"chkShowDec", "1"}}, 13, "2026-03-09", "2026-03-09", true).first(),
                 QString("2026-03-09|一|1|2||36.00|36.00|||36.00|||36.00"));
        // The figures as numbers: keyed as their columns.
        MonthReportCriteria c;
        c.saving = true;
        c.range = {QDate(2026, 3, 10), QDate(2026, 3, 10)};
        const MonthReportFigures f = MonthReportFigures::read(db.connection(), c, monthScope(c));
        QCOMPARE(f.total.value(MonthReportFigures::key("theSumPaid")), money("368"));
        QCOMPARE(f.total.value(MonthReportFigures::key("thePaySum", "SubjectID", "01")),
                 money("138"));
        // Each statement the figures run keeps to the range by itself (the figures skip other
        // days anyway): run again, it gives 2026-03-09 alone, not the five bills of the day
        // after.
        QList<Connection::TracedStatement> ran;
        db.connection()->setStatementTrace([&](const Connection::TracedStatement& s) { ran << s; });
        MonthReportCriteria ninth;
        ninth.range = {QDate(2026, 3, 9), QDate(2026, 3, 9)};
        MonthReportFigures::read(db.connection(), ninth, monthScope(ninth));
        db.connection()->setStatementTrace({});
        QCOMPARE(ran.size(), 3);
        for (const Connection::TracedStatement& s : ran) {
            QStringList days;
            for (auto rs = db.connection()->execute(s.tsql, s.params); !rs->atEnd(); rs->moveNext())
                days << rs->value("BillDate").toString().left(10);
            days.removeDuplicates();
            QCOMPARE(days, QStringList{"2026-03-09"});
        }
        // A reversed range is refused; a lost table leaves its columns blank and says so.
        rows(screen, {}, 1, "2026-03-10", "2026-03-09");
        QVERIFY(!screen.lastError().isEmpty());
        QVERIFY(!screen.runRefresh());
        db.run("DROP TABLE bi_BillItem");
        QCOMPARE(rows(screen, {{"chkShowDec", "0"}}, 13, "2026-03-10", "2026-03-10", true).first(),
                 QString("2026-03-10|二|5|10|||924|18|74|638|206|30|868"));
        QVERIFY(screen.lastError().contains("bi_BillItem"));
    }

    // The hour and month reports' workbooks hold their figures as number cells, read back by a
    // spreadsheet reader: the hour report's whole units followed by a blank (a zero shows the
    // blank alone) and its share as a percent; the month report's counts and amounts. A figure
    // beyond fixed-point money stops either report, naming its column.
    void numberCellsAndOverflow()
    {
        TestDatabase db("period_reports.sql");
        db.install();
        QTemporaryDir dir;
        QString error;
        frmHourReport hours;
        hours.ShowMe();
        rows(hours, {}, 12);
        QVERIFY(SheetOutput::save(*hours.grid(), dir.filePath("h.xlsx"), "h", &error));
        QHash<QString, XlsxCell> cells = readXlsxCells(dir.filePath("h.xlsx"), &error);
        QVERIFY2(!cells.isEmpty(), qPrintable(error));
        const QString whole = "#,##0\" \";-#,##0\" \";\" \"";
        // Row 2, 10点: consumption 114, no service, 13% of the day's 868 taken.
        QCOMPARE(QStringList({cells["A2"].type, cells["A2"].value}), QStringList({"s", "10点"}));
        QCOMPARE(QStringList({cells["D2"].type, cells["D2"].value, cells["D2"].format}),
                 QStringList({"n", "114", whole}));
        QCOMPARE(QStringList({cells["E2"].type, cells["E2"].value}), QStringList({"n", "0"}));
        QCOMPARE(QStringList({cells["H2"].type, cells["H2"].value, cells["H2"].format}),
                 QStringList({"n", "0.13", "0\" \"%\" \""}));
        QCOMPARE(cells["L26"].value, QString("87")); // the day's spend per guest

        frmMonthReport month;
        month.ShowMe();
        rows(month, {}, 13, "2026-03-09", "2026-03-11");
        QVERIFY(SheetOutput::save(*month.grid(), dir.filePath("m.xlsx"), "m", &error));
        cells = readXlsxCells(dir.filePath("m.xlsx"), &error);
        // Row 4, 2026-03-10: 5 bills, 厨房 296; the total row 6: 904 taken.
        QCOMPARE(QStringList({cells["C4"].type, cells["C4"].value, cells["C4"].format}),
                 QStringList({"n", "5", "#,##0"}));
        QCOMPARE(cells["E4"].value, QString("296"));
        QCOMPARE(QStringList({cells["M6"].type, cells["M6"].value}), QStringList({"n", "904"}));

        db.run("UPDATE bi_Bill SET SumPaid = 1e15 WHERE BillID = 'B4'");
        rows(month, {}, 13);
        QCOMPARE(month.lastError(),
                 QString("列“theSumPaid”的金额超出范围（最大 ±922,337,203,685,477.5807）"));
        rows(hours, {}, 12);
        QCOMPARE(hours.lastError(),
                 QString("列“BillTotal”的金额超出范围（最大 ±922,337,203,685,477.5807）"));
    }

    // On the demo chain (as the golden files build it), the month report's total row holds the
    // daily report's period column: the same consumption per department type, and the same
    // takings per subject, except foreign currency, which the month report shows as tendered.
    void monthReportAgreesWithTheDailyReport()
    {
        QTemporaryDir dir;
        const QString path = TestDatabase::writeDemo(dir.path(), {"--branches", "2", "--days", "10",
                                                                  "--bills-per-day", "15", "--seed",
                                                                  "5", "--last-day", "2026-03-10"});
        if (path.isEmpty())
            QSKIP("vtxdemodb is not built or failed");
        const ConnectionPtr db = Connection::openSqlite(path);
        const QDate begin(2026, 3, 1), end(2026, 3, 10);
        MonthReportCriteria m;
        m.range = {begin, end};
        const MonthReportFigures month = MonthReportFigures::read(db, m, monthScope(m));
        const DailyReportLists lists = DailyReportLists::load(db, "in", "out");
        DailyReportCriteria d;
        d.range = {begin, end};
        d.today = end;
        const DailyReportFigures daily = DailyReportFigures::read(
            db, d, lists,
            BranchScope({DailyBillBranch, DailyItemCostBranch, DailyStockBranch}, d.branch));
        QVERIFY(month.failures.isEmpty() && daily.failures.isEmpty());
        // The closed first Wednesday is empty.
        QVERIFY(month.days.at(3).isEmpty());

        auto ids = [&](const char* table, const char* id, const char* name) {
            QHash<QString, QString> byName;
            for (auto rs = db->execute(QString("SELECT %1, %2 FROM %3").arg(id, name, table));
                 !rs->atEnd(); rs->moveNext())
                byName.insert(rs->value(1).toString(), rs->value(0).toString());
            return byName;
        };
        const QHash<QString, QString> departTypes =
            ids("mn_DepartType", "DepartTypeID", "DepartTypeName");
        QCOMPARE(lists.departTypes.size(), daily.period.sales.departTypes.size());
        for (int i = 0; i < lists.departTypes.size(); ++i)
            QCOMPARE(
                month.total.value(MonthReportFigures::key("theSumOfConsume", "DepartTypeID",
                                                          departTypes.value(lists.departTypes[i]))),
                daily.period.sales.departTypes.at(i).value_or(Money()));
        QCOMPARE(month.total.value("theSumOfConsume"), *daily.period.sales.consume);
        QCOMPARE(month.total.value("theSumPaid"), *daily.period.payments.paid);

        // Per subject: what the month report shows as tendered, less what foreign tenders gained
        // or lost in conversion, is what the daily report shows as taken.
        QHash<QString, Money> conversion;
        for (auto rs = db->execute(
                 "SELECT BP.SubjectID, SUM(BP.PaySum-BP.SumPaid) FROM bi_BillPayment BP, bi_Bill "
                 "BL WHERE BP.BillID=BL.BillID AND BL.BillDate>='2026-03-01' AND "
                 "BL.BillDate<'2026-03-11' AND BL.CheckOutNull=0 AND BL.IsDeleted=0 "
                 "GROUP BY BP.SubjectID");
             !rs->atEnd(); rs->moveNext())
            conversion.insert(rs->value(0).toString(), Money::fromVariant(rs->value(1)));
        int foreign = 0, compared = 0;
        for (int i = 0; i < lists.subjects.size(); ++i) {
            const QString id = lists.subjects.at(i).key;
            if (id.isEmpty() || id.contains(':'))
                continue;
            const Money tendered =
                month.total.value(MonthReportFigures::key("thePaySum", "SubjectID", id));
            QCOMPARE(tendered - conversion.value(id),
                     daily.period.payments.subjects.at(i).value_or(Money()));
            foreign += conversion.value(id).isZero() ? 0 : 1;
            ++compared;
        }
        QVERIFY(compared >= 6);
        QCOMPARE(foreign, 1); // 港币
    }
};

QTEST_MAIN(TestPeriodReports)
#include "tst_periodreports.moc"
