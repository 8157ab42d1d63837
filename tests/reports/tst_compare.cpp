// Comparing a report with the previous period and with the same dates last year: the compared
// ranges and days, and the period query, the hour report and the month report over
// tests/fixtures/period_reports.sql with the year-earlier bills of
// tests/fixtures/period_compare.sql. Every figure below is worked out by hand from the
// bills the two fixtures describe at their top.
#include "core/HostContext.h"
#include "core/modMessage.h"
#include "framework/HostUi.h"
#include "query/ComparedRange.h"
#include "reports/periods/frmHourReport.h"
#include "reports/periods/frmMonthReport.h"
#include "reports/periods/frmPeriodQuery.h"
#include "sheet/Sheet.h"
#include "sheet/SheetOutput.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/XlsxCells.h"
#include "ui/ctlQuery.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

// Row `row` of the grid as its cells' texts from `first` to `last`, joined by "|".
QString cells(const Sheet* grid, int row, int first, int last)
{
    QStringList texts;
    for (int col = first; col <= last; ++col)
        texts << grid->text(row, col);
    return texts.join('|');
}

} // namespace

class TestCompare : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        HostUi::setHeadless(true);
        hostContext().UserID = "admin";
        hostContext().TrueDataAllowed = false;
    }

    void comparedRanges()
    {
        const QDate d10(2026, 3, 10);
        QCOMPARE(ComparedRange({d10, d10}, CompareNone), DateRange({d10, d10}));
        // As many days, just before: a day, two days, March's 31 days.
        QCOMPARE(ComparedRange({d10, d10}, ComparePrevious),
                 DateRange({QDate(2026, 3, 9), QDate(2026, 3, 9)}));
        QCOMPARE(ComparedRange({d10, QDate(2026, 3, 11)}, ComparePrevious),
                 DateRange({QDate(2026, 3, 8), QDate(2026, 3, 9)}));
        QCOMPARE(ComparedRange({QDate(2026, 3, 1), QDate(2026, 3, 31)}, ComparePrevious),
                 DateRange({QDate(2026, 1, 29), QDate(2026, 2, 28)}));
        QCOMPARE(ComparedRange({d10, QDate(2026, 3, 11)}, CompareLastYear),
                 DateRange({QDate(2025, 3, 10), QDate(2025, 3, 11)}));
        // 29 February becomes the 28th of the year before; the 28th of a year after a leap year
        // stays the 28th.
        QCOMPARE(ComparedRange({QDate(2028, 2, 1), QDate(2028, 2, 29)}, CompareLastYear),
                 DateRange({QDate(2027, 2, 1), QDate(2027, 2, 28)}));
        QCOMPARE(ComparedRange({QDate(2028, 2, 29), QDate(2028, 3, 1)}, CompareLastYear),
                 DateRange({QDate(2027, 2, 28), QDate(2027, 3, 1)}));
        QCOMPARE(ComparedRange({QDate(2029, 2, 28), QDate(2029, 2, 28)}, CompareLastYear),
                 DateRange({QDate(2028, 2, 28), QDate(2028, 2, 28)}));
        // A day of the range beside its compared day: the same place in the previous period;
        // the same date a year earlier, a 29 February beside the 28th.
        const DateRange two{d10, QDate(2026, 3, 11)};
        QCOMPARE(ComparedDate(two, ComparePrevious, QDate(2026, 3, 11)), QDate(2026, 3, 9));
        QCOMPARE(ComparedDate(two, CompareLastYear, QDate(2026, 3, 11)), QDate(2025, 3, 11));
        QCOMPARE(ComparedDate(two, CompareNone, d10), d10);
        const DateRange feb{QDate(2028, 2, 1), QDate(2028, 3, 1)};
        QCOMPARE(ComparedDate(feb, CompareLastYear, QDate(2028, 2, 29)), QDate(2027, 2, 28));
        QCOMPARE(ComparedDate(feb, CompareLastYear, QDate(2028, 3, 1)), QDate(2027, 3, 1));
        QCOMPARE(ComparedDate(feb, ComparePrevious, QDate(2028, 3, 1)), QDate(2028, 1, 31));
    }

    // The hour report of 2026-03-10, hours from 10点. Its own figures: 10点 B4 114; 11点 B1 180
    // consumed, 18 service, 74 discount, 124 paid, 4 guests; 14点 the top-up B6 500; 18点 B2 92,
    // 2 guests; 00点 B3 38; the day 924, 18, 74, 868, 5 bills, 10 guests. Each of consumption,
    // service, discount, takings, bills and guests is followed by its compared figure, change
    // and change in percent; the share and the averages are not compared.
    void hourReport()
    {
        TestDatabase db("period_reports.sql");
        db.runFile("period_compare.sql");
        db.install();
        frmHourReport screen;
        screen.ShowMe();
        screen.applyCriterion("dtpBegin", "2026-03-10");
        screen.applyCriterion("dtpEnd", "2026-03-10");

        // The previous period, 2026-03-09: B7 opened at 19:00, 36 paid, 2 guests.
        QVERIFY(screen.applyCriterion("cboCompare", "#1"));
        QVERIFY2(screen.runRefresh(), qPrintable(screen.lastError()));
        const Sheet* grid = screen.grid();
        QCOMPARE(grid->maxRows(), 25);
        QCOMPARE(grid->maxCols(), 12 + 6 * 3);
        QStringList captions;
        for (int col = 16; col <= 21; ++col)
            captions << grid->headerText(1, col);
        QCOMPARE(captions.join('|'),
                 QString("营业额|上期营业额|营业额增减|营业额增减%|占比|客单数"));
        // 11点: nothing opened on the 9th at that hour.
        QCOMPARE(cells(grid, 2, 1, 7), QString("11点|11:00:00|11:59:59|180 | |180 |"));
        // 19点: only the 9th had a bill then.
        QCOMPARE(cells(grid, 10, 1, 7), QString("19点|19:00:00|19:59:59||36 |-36 |-100.0%"));
        QCOMPARE(cells(grid, 10, 21, 30), QString("|1 |-1 |-100.0%|||2 |-2 |-100.0%|"));
        // The day: 924 against 36 (+888, 2466.7%), 868 against 36, 5 bills against 1.
        QCOMPARE(screen.queryControl()->rowRole(25), QueryFill::RowRole::Total);
        QCOMPARE(cells(grid, 25, 1, 11),
                 QString("全天|00:00:00|23:59:59|924 |36 |888 |2466.7%|18 | |18 |"));
        QCOMPARE(cells(grid, 25, 16, 30), QString("868 |36 |832 |2311.1%|100 % |5 |1 |4 |400.0%|"
                                                  "174 |10 |2 |8 |400.0%|87 "));
        // A compared column leads to no bills of this range; a figure of the hour still does.
        QVERIFY(!screen.drillDown("25,17"));
        QCOMPARE(screen.lastError(), Msg("Msg_Drill_Compared"));
        QVERIFY2(screen.drillDown("2,16"), qPrintable(screen.lastError()));

        // Last year, 2025-03-10: B9 opened 11:30, 57 consumed, 5 discount, 52 paid, 2 guests;
        // B10 18:00, 4, 1 guest. B11 of 2025-03-09 is outside.
        QVERIFY(screen.applyCriterion("cboCompare", "#2"));
        QVERIFY2(screen.runRefresh(), qPrintable(screen.lastError()));
        grid = screen.grid();
        QCOMPARE(grid->headerText(1, 5), QString("去年消费合计"));
        QCOMPARE(cells(grid, 2, 4, 19), QString("180 |57 |123 |215.8%|18 | |18 ||74 |5 |69 |"
                                                "1380.0%|124 |52 |72 |138.5%"));
        QCOMPARE(cells(grid, 9, 4, 7), QString("92 |4 |88 |2200.0%"));
        QCOMPARE(cells(grid, 25, 4, 7), QString("924 |61 |863 |1414.8%"));
        QCOMPARE(cells(grid, 25, 16, 29), QString("868 |56 |812 |1450.0%|100 % |5 |2 |3 |150.0%|"
                                                  "174 |10 |3 |7 |233.3%"));

        // Back to none: the hours and their figures as before, without the compared columns.
        QVERIFY(screen.applyCriterion("cboCompare", "#0"));
        QVERIFY(screen.runRefresh());
        grid = screen.grid();
        QCOMPARE(grid->maxCols(), 12);
        QCOMPARE(cells(grid, 25, 1, 12),
                 QString("全天|00:00:00|23:59:59|924 |18 |74 |868 |100 % |5 |174 |10 |87 "));
    }

    // The month report: date, weekday, then bills, guests, 厨房, 酒水, consumption, service,
    // discount, 现金, 银行卡, 港币 and paid, each followed by its compared figure, change and
    // change in percent. A day is set beside its compared day.
    void monthReport()
    {
        TestDatabase db("period_reports.sql");
        db.runFile("period_compare.sql");
        db.install();
        frmMonthReport screen;
        screen.ShowMe();

        // 2026-03-10..11 against the previous 03-08..09: the 10th beside the 8th (closed), the
        // 11th (closed) beside the 9th, B7: 1 bill, 2 guests, 36 of 酒水 paid in cash.
        screen.applyCriterion("dtpBegin", "2026-03-10");
        screen.applyCriterion("dtpEnd", "2026-03-11");
        QVERIFY(screen.applyCriterion("cboCompare", "#1"));
        QVERIFY2(screen.runRefresh(), qPrintable(screen.lastError()));
        const Sheet* grid = screen.grid();
        QCOMPARE(grid->maxRows(), 3);
        QCOMPARE(grid->maxCols(), 2 + 11 * 4);
        QCOMPARE(grid->headerText(1, 11), QString("出品统计"));
        QCOMPARE(grid->headerText(2, 12), QString("上期厨房"));
        // 笔数, a column of its own over both header rows, keeps its caption to itself.
        QCOMPARE(grid->headerText(1, 4), QString("上期笔数"));
        for (const CellBlock& span : grid->headerSpans())
            QVERIFY(!span.contains(1, 3) || span.col2 == 3);
        QCOMPARE(cells(grid, 1, 1, 10), QString("2026-03-10|二|5|0|5||10|0|10|"));
        QCOMPARE(cells(grid, 2, 1, 10), QString("2026-03-11|三||1|-1|-100.0%||2|-2|-100.0%"));
        QCOMPARE(cells(grid, 2, 15, 22), QString("|36|-36|-100.0%||36|-36|-100.0%"));
        QCOMPARE(cells(grid, 2, 23, 30), QString("|||||||"));
        QCOMPARE(screen.queryControl()->rowRole(3), QueryFill::RowRole::Total);
        QCOMPARE(cells(grid, 3, 1, 22), QString("合计:||5|1|4|400.0%|10|2|8|400.0%|296|0|296||"
                                                "60|36|24|66.7%|924|36|888|2466.7%"));
        QCOMPARE(cells(grid, 3, 31, 46), QString("638|36|602|1672.2%|206|0|206||30|0|30||"
                                                 "868|36|832|2311.1%"));
        // A day's row still opens its bills from a figure, not from a compared column.
        QVERIFY(!screen.drillDown("1,4"));
        QCOMPARE(screen.lastError(), Msg("Msg_Drill_Compared"));
        QVERIFY2(screen.drillDown("1,3"), qPrintable(screen.lastError()));

        // 2026-03-09..10 against 2025-03-09..10, date by date: the 9th (B7) beside B11 (1 bill,
        // 1 guest, 40 厨房 in cash), the 10th beside B9 and B10 (2 bills, 3 guests, 厨房 39, 酒水
        // 22, consumption 61, discount 5, 现金 52, 银行卡 4, paid 56).
        screen.applyCriterion("dtpBegin", "2026-03-09");
        screen.applyCriterion("dtpEnd", "2026-03-10");
        QVERIFY(screen.applyCriterion("cboCompare", "#2"));
        QVERIFY2(screen.runRefresh(), qPrintable(screen.lastError()));
        grid = screen.grid();
        QCOMPARE(grid->headerText(2, 12), QString("去年厨房"));
        QCOMPARE(cells(grid, 1, 1, 22), QString("2026-03-09|一|1|1|0|0.0%|2|1|1|100.0%||40|-40|"
                                                "-100.0%|36|0|36||36|40|-4|-10.0%"));
        QCOMPARE(cells(grid, 1, 43, 46), QString("36|40|-4|-10.0%"));
        QCOMPARE(cells(grid, 2, 3, 22), QString("5|2|3|150.0%|10|3|7|233.3%|296|39|257|659.0%|"
                                                "60|22|38|172.7%|924|61|863|1414.8%"));
        QCOMPARE(cells(grid, 2, 23, 46), QString("18|0|18||74|5|69|1380.0%|638|52|586|1126.9%|"
                                                 "206|4|202|5050.0%|30|0|30||868|56|812|1450.0%"));
        QCOMPARE(cells(grid, 3, 3, 22), QString("6|3|3|100.0%|12|4|8|200.0%|296|79|217|274.7%|"
                                                "96|22|74|336.4%|960|101|859|850.5%"));
        QCOMPARE(cells(grid, 3, 43, 46), QString("904|96|808|841.7%"));

        // Back to none: the month report's own thirteen columns.
        QVERIFY(screen.applyCriterion("cboCompare", "#0"));
        QVERIFY(screen.runRefresh());
        QCOMPARE(cells(screen.grid(), 3, 1, 13),
                 QString("合计:||6|12|296|96|960|18|74|674|206|30|904"));
    }

    // The period query by item on 2026-03-10, gifts left out, only what sold: 宫保鸡丁 lunch
    // 2/76, late 1/38, the day 6/228 (222 after discount); 水煮鱼 dinner 1/68; 青岛啤酒 lunch
    // 3/36, dinner 2/24, the day 5/60. Columns: code, name, type, then per period (午餐, 晚餐,
    // 夜宵) quantity and amount, then the day's quantity, amount and amount after discount, each
    // figure followed by the compared figure, the change and the change in percent.
    void periodQuery()
    {
        TestDatabase db("period_reports.sql");
        db.runFile("period_compare.sql");
        db.install();
        frmPeriodQuery screen;
        screen.ShowMe();
        screen.applyCriterion("dtpBegin", "2026-03-10");
        screen.applyCriterion("dtpEnd", "2026-03-10");

        // The previous period is 2026-03-09: B7's 3 青岛啤酒 at dinner, 36.
        QVERIFY(screen.applyCriterion("cboCompare", "#1"));
        QVERIFY2(screen.runRefresh(), qPrintable(screen.lastError()));
        const Sheet* grid = screen.grid();
        QCOMPARE(grid->maxCols(), 3 + 9 * 4);
        QCOMPARE(grid->headerText(1, 4), QString("午餐"));
        QStringList captions;
        for (int col = 4; col <= 11; ++col)
            captions << grid->headerText(2, col);
        QCOMPARE(captions.join('|'),
                 QString("数量|上期数量|数量增减|数量增减%|金额|上期金额|金额增减|金额增减%"));
        QCOMPARE(grid->maxRows(), 4);
        // 宫保鸡丁 sold nothing on the 9th: 0 beside each of its figures, no percent.
        QCOMPARE(cells(grid, 1, 1, 11),
                 QString("1101|宫保鸡丁|热菜|2.00|0.00|2.00||76.00|0.00|76.00|"));
        QCOMPARE(cells(grid, 1, 12, 19), QString("|||||||"));
        QCOMPARE(cells(grid, 1, 28, 39),
                 QString("6.00|0.00|6.00||228.00|0.00|228.00||222.00|0.00|222.00|"));
        // 青岛啤酒 at dinner: 2 against 3, 24 against 36; over the day 5 against 3, 60 against 36.
        QCOMPARE(cells(grid, 3, 1, 3), QString("2101|青岛啤酒|啤酒"));
        QCOMPARE(cells(grid, 3, 12, 19),
                 QString("2.00|3.00|-1.00|-33.3%|24.00|36.00|-12.00|-33.3%"));
        QCOMPARE(cells(grid, 3, 28, 39), QString("5.00|3.00|2.00|66.7%|60.00|36.00|24.00|66.7%|"
                                                 "60.00|36.00|24.00|66.7%"));
        // The totals: the day 12 against 3, 356 against 36, 350 against 36.
        QCOMPARE(screen.queryControl()->rowRole(4), QueryFill::RowRole::Total);
        QCOMPARE(cells(grid, 4, 28, 39),
                 QString("12.00|3.00|9.00|300.0%|356.00|36.00|320.00|888.9%|"
                         "350.00|36.00|314.00|872.2%"));

        // Last year, 2025-03-10: B9 lunch 宫保鸡丁 1/35 (30 after discount) and 2 青岛啤酒 22; B10
        // dinner 2 米饭 4. B11 of 2025-03-09 is outside.
        QVERIFY(screen.applyCriterion("cboCompare", "#2"));
        QVERIFY2(screen.runRefresh(), qPrintable(screen.lastError()));
        grid = screen.grid();
        QCOMPARE(grid->headerText(2, 5), QString("去年数量"));
        QCOMPARE(grid->maxRows(), 5);
        QCOMPARE(cells(grid, 1, 4, 11), QString("2.00|1.00|1.00|100.0%|76.00|35.00|41.00|117.1%"));
        QCOMPARE(cells(grid, 1, 28, 39), QString("6.00|1.00|5.00|500.0%|228.00|35.00|193.00|551.4%|"
                                                 "222.00|30.00|192.00|640.0%"));
        QCOMPARE(cells(grid, 2, 1, 2), QString("1102|水煮鱼"));
        QCOMPARE(cells(grid, 2, 28, 31), QString("1.00|0.00|1.00|"));
        // 米饭 sold only last year: listed where it stood, before 青岛啤酒, with 0 this year.
        QCOMPARE(cells(grid, 3, 1, 3), QString("1301|米饭|热菜"));
        QCOMPARE(screen.queryControl()->rowRole(3), QueryFill::RowRole::Data);
        QCOMPARE(cells(grid, 3, 12, 19),
                 QString("0.00|2.00|-2.00|-100.0%|0.00|4.00|-4.00|-100.0%"));
        QCOMPARE(cells(grid, 3, 4, 11), QString("|||||||"));
        QCOMPARE(cells(grid, 4, 4, 11), QString("3.00|2.00|1.00|50.0%|36.00|22.00|14.00|63.6%"));
        QCOMPARE(cells(grid, 4, 32, 39),
                 QString("60.00|22.00|38.00|172.7%|60.00|22.00|38.00|172.7%"));
        QCOMPARE(cells(grid, 5, 1, 1), QString("合计"));
        QCOMPARE(cells(grid, 5, 4, 19), QString("5.00|3.00|2.00|66.7%|112.00|57.00|55.00|96.5%|"
                                                "3.00|2.00|1.00|50.0%|92.00|4.00|88.00|2200.0%"));
        QCOMPARE(cells(grid, 5, 28, 39),
                 QString("12.00|5.00|7.00|140.0%|356.00|61.00|295.00|483.6%|"
                         "350.00|56.00|294.00|525.0%"));

        // By department type, the day's amounts: 厨房 296 (宫保鸡丁 228, 水煮鱼 68) against 39
        // (宫保鸡丁 35, 米饭 4), 酒水 60 against 22; a workbook gets the compared figures as
        // numbers.
        QVERIFY(screen.applyCriterion("optQuery4", "1"));
        QVERIFY2(screen.runRefresh(), qPrintable(screen.lastError()));
        grid = screen.grid();
        QCOMPARE(cells(grid, 1, 1, 1), QString("厨房"));
        QCOMPARE(cells(grid, 1, 30, 33), QString("296.00|39.00|257.00|659.0%"));
        QCOMPARE(cells(grid, 2, 30, 33), QString("60.00|22.00|38.00|172.7%"));
        QTemporaryDir dir;
        const QString xlsx = dir.filePath("compare.xlsx");
        QVERIFY(screen.exportGrid(xlsx));
        QString error;
        const QHash<QString, XlsxCell> book = readXlsxCells(xlsx, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QStringList figures;
        for (const XlsxCell& cell : book)
            if (cell.type == "n" && (cell.value.startsWith("257") || cell.value.startsWith("6.58")))
                figures << cell.value + " " + cell.format;
        figures.sort();
        // 257 = 296 - 39, and 257 / 39 as a fraction shown in percent.
        QCOMPARE(figures.join(';'), QString("257 #,##0.00;6.589743589743589 0.0%"));

        // Back to none: the grid as before, without the compared columns.
        QVERIFY(screen.applyCriterion("cboCompare", "#0"));
        QVERIFY(screen.runRefresh());
        QCOMPARE(screen.grid()->maxCols(), 1 + 9);
    }
};

QTEST_MAIN(TestCompare)
#include "tst_compare.moc"
