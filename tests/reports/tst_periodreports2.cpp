// The cashier daily report, table report, department chart and item statistics, inventory
// report, material use report and menu query over the fixture period_reports2.sql, whose
// answers are worked out by hand in its comments and here (the 10th, or the 9th and 10th).
#include "core/HostContext.h"
#include "framework/HostUi.h"
#include "reports/periods/DepartQuerySql.h"
#include "reports/periods/MenuQuerySql.h"
#include "reports/periods/frmBomReport.h"
#include "reports/periods/frmDepartQuery.h"
#include "reports/periods/frmDepartQueryTable.h"
#include "reports/periods/frmInventoryReport.h"
#include "reports/periods/frmMenuQuery.h"
#include "reports/periods/frmPaymentReport.h"
#include "reports/periods/frmTableReport.h"
#include "sheet/Sheet.h"
#include "tests/support/ScreenRun.h"
#include "tests/support/TestDatabase.h"
#include "ui/CriteriaBar.h"
#include "ui/ctlQuery.h"

#include <QAction>
#include <QLineEdit>
#include <QTest>
#include <QToolBar>

namespace {

// List screens run on the 10th unless their criteria say otherwise (ScreenRun); the chart
// screen the same way.
template <class Screen> using Run = ScreenRun<Screen>;
const Criteria From9th{{"dtpBegin", "2026-03-09"}};

template <class Screen> QString totalText(const ScreenRun<Screen>& run, int col)
{
    return run.grid->text(run.grid->maxRows(), col);
}

struct ChartRun
{
    frmDepartQuery screen;
    bool ok = false;
    explicit ChartRun(const Criteria& criteria)
    {
        screen.ShowMe();
        screen.applyCriterion("dtpBegin", "2026-03-10");
        screen.applyCriterion("dtpEnd", "2026-03-10");
        for (const auto& [name, value] : criteria)
            screen.applyCriterion(name, value);
        ok = screen.runRefresh();
    }
};

QStringList labels(const std::vector<DepartSlice>& slices)
{
    QStringList texts;
    for (const DepartSlice& s : slices)
        texts << s.label;
    return texts;
}

} // namespace

class TestPeriodReports2 : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { HostUi::setHeadless(true); }

    void paymentReport()
    {
        TestDatabase db("period_reports2.sql");
        db.install();
        // By tender over the 9th and 10th: 现金 100 + 50 + 50 (the same row twice counts twice)
        // in 3 rows, 港币 100 worth 90; the 11th's 7 stays out.
        Run<frmPaymentReport> subjects(From9th);
        QCOMPARE(subjects.column(1), QStringList({"现金", "港币"}));
        QCOMPARE(subjects.column(2), QStringList({"3", "1"}));
        QCOMPARE(totalText(subjects, 3), QString("300.00"));
        QCOMPARE(totalText(subjects, 4), QString("290.00"));
        // By branch and tender, Shanghai alone: its one 港币 row.
        Run<frmPaymentReport> shanghai(From9th +
                                       Criteria{{"optQuery3", "1"}, {"cboBranch", "上海店"}});
        QCOMPARE(shanghai.column(1), QStringList({"上海店"}));
        QCOMPARE(shanghai.column(4), QStringList({"100.00"}));
        // A range without uploads is empty.
        Run<frmPaymentReport> empty(
            Criteria{{"dtpBegin", "2026-03-01"}, {"dtpEnd", "2026-03-02"}, {"optQuery2", "1"}});
        QVERIFY(empty.ok);
        QCOMPARE(empty.column(1), QStringList());
    }

    void tableReport()
    {
        TestDatabase db("period_reports2.sql");
        db.install();
        hostContext().TrueDataAllowed = false;
        enum
        {
            Area = 1,
            Table = 2,
            Bills = 3,
            Guests = 4,
            Paid = 8,
            PerBill = 9,
            PerGuest = 10
        };
        Run<frmTableReport> tables;
        // 大厅: A1 (T1 90 + T2 60 from 6 guests), A2 (T8 30 from 1; the deleted T5, the unsettled
        // T6 and T7 of the 11th stay out), A3 without bills; 包房 牡丹 (T3: consumption 500 but
        // 550 received from 10 guests); T4's table X9 of 露台, no longer on the plan.
        QCOMPARE(tables.column(Table).mid(0, 3), QStringList({"A1", "A2", "A3"}));
        QCOMPARE(tables.grid->text(1, PerBill), QString("75.00"));  // 150 / 2
        QCOMPARE(tables.grid->text(1, PerGuest), QString("25.00")); // 150 / 6
        QCOMPARE(tables.grid->text(2, PerBill), QString("30.00"));
        // A3 had no business: listed with empty figures and no averages.
        for (int col : {int(Bills), int(Guests), int(Paid), int(PerBill), int(PerGuest)})
            QCOMPARE(tables.grid->text(3, col), QString());
        // The hall's subtotal averages its own sums: 180 / 3 bills = 60.00 and 180 / 7 guests =
        // 25.71, not the mean of 75 and 30 (52.50) or of 25 and 30 (27.50).
        QList<int> subtotals;
        for (int row = 1; row <= tables.grid->maxRows(); ++row)
            if (tables.screen.queryControl()->rowRole(row) == QueryFill::RowRole::Subtotal)
                subtotals << row;
        QCOMPARE(subtotals.size(), 3);
        QCOMPARE(tables.grid->text(subtotals[0], Bills), QString("3"));
        QCOMPARE(tables.grid->text(subtotals[0], PerBill), QString("60.00"));
        QCOMPARE(tables.grid->text(subtotals[0], PerGuest), QString("25.71"));
        // Averages divide money received: 牡丹 550 / 10 guests = 55.00 (consumption gives 50).
        const int peony = int(tables.column(Table).indexOf("牡丹")) + 1;
        QCOMPARE(tables.grid->text(peony, PerGuest), QString("55.00"));
        QVERIFY(tables.column(Table).contains("X9"));
        // Totals: 5 bills, 20 guests, 760 received: 152.00 per bill, 38.00 per guest.
        QCOMPARE(totalText(tables, Bills), QString("5"));
        QCOMPARE(totalText(tables, PerBill), QString("152.00"));
        QCOMPARE(totalText(tables, PerGuest), QString("38.00"));

        // Only tables with business: A3 goes. Areas: 花园 has neither tables nor bills.
        Run<frmTableReport> busy(Criteria{{"chkNotNull", "1"}});
        QVERIFY(!busy.column(Table).contains("A3"));
        Run<frmTableReport> areas(Criteria{{"optQuery2", "1"}});
        QCOMPARE(areas.column(Area), QStringList({"大厅", "包房", "露台", "花园"}));
        QCOMPARE(areas.grid->text(4, 7), QString()); // 花园: no averages
        QCOMPARE(totalText(areas, 8), QString("152.00"));
        QCOMPARE(totalText(areas, 9), QString("38.00"));
    }

    void departments()
    {
        // The slices of 厨房 900, 酒水 80, 主食 20 (90%, 8%, 2% of 1000).
        const std::vector<DepartShareRow> rows = {{"厨房", Money::fromDouble(900)},
                                                  {"酒水", Money::fromDouble(80)},
                                                  {"主食", Money::fromDouble(20)}};
        QCOMPARE(labels(DepartSlices(rows, 0, "其他")),
                 QStringList({"厨房：900.00，90.00%", "酒水：80.00，8.00%", "主食：20.00，2.00%"}));
        // Only the last is below 5%, and nothing has gone to "others": it keeps its slice.
        QCOMPARE(DepartSlices(rows, 5, "其他").size(), size_t(3));
        // 酒水 below 10% opens "others", and 主食 joins it.
        QCOMPARE(labels(DepartSlices(rows, 10, "其他")),
                 QStringList({"厨房：900.00，90.00%", "其他：100.00，10.00%"}));
        // Everything below 95%: one slice, its amount with a thousands separator.
        QCOMPARE(labels(DepartSlices(rows, 95, "其他")), QStringList({"其他：1,000.00，100.00%"}));
        // The English screen's own punctuation.
        QCOMPARE(labels(DepartSlices(rows, 10, "Others", ": ", ", ")),
                 QStringList({"厨房: 900.00, 90.00%", "Others: 100.00, 10.00%"}));

        TestDatabase db("period_reports2.sql");
        db.install();
        hostContext().TrueDataAllowed = false;
        {
            // The same groups from the bills of the 10th: the gift, the deleted bill's beer and
            // the fully cancelled line add nothing.
            ChartRun chart(Criteria{{"txtMin", "10"}});
            QVERIFY(chart.ok);
            QCOMPARE(labels(chart.screen.slices()),
                     QStringList({"厨房：900.00，90.00%", "其他：100.00，10.00%"}));
            // The chart has no "Save" key; its smallest share takes numbers only, typed or set,
            // and reads "1.5" for "01.50".
            QVERIFY(!chart.screen.findChild<QAction*>("Save"));
            QVERIFY(chart.screen.findChild<QAction*>("Print"));
            QVERIFY(!chart.screen.applyCriterion("txtMin", "abc"));
            auto* minimum = chart.screen.findChild<QLineEdit*>("txtMin");
            QCOMPARE(minimum->text(), QString("10"));
            minimum->clear();
            QTest::keyClicks(minimum, "0a1-.5%0");
            QCOMPARE(minimum->text(), QString("01.50"));
            emit minimum->editingFinished();
            QCOMPARE(minimum->text(), QString("1.5"));
            // Lunch alone: T1's 厨房 400 and 酒水 80.
            ChartRun lunch(Criteria{{"txtMin", "0"}, {"chkPeriod_2", "0"}});
            QCOMPARE(labels(lunch.screen.slices()),
                     QStringList({"厨房：400.00，83.33%", "酒水：80.00，16.67%"}));
            // No period ticked: refused.
            ChartRun none(Criteria{{"chkPeriod_0", "0"}});
            QVERIFY(!none.ok);
            QCOMPARE(none.screen.lastError(),
                     QString("请选择要统计的餐段，至少必须选择一个餐段！"));
        }
        {
            // Item statistics: 宫保鸡丁 (10 + 12 - 2 = 20, 900 less 50 discount = 850, 42.50
            // each), 青岛啤酒 (8, 80, 10.00), 米饭 (10, 20, 2.00); 麻婆豆腐's line nets to 0.
            Run<frmDepartQueryTable> items;
            QCOMPARE(items.column(1), QStringList({"1101", "2101", "3101"}));
            QCOMPARE(items.column(10), QStringList({"42.50", "10.00", "2.00"}));
            QCOMPARE(totalText(items, 9), QString("950.00"));
            // A band of 5..50 on the average price, by amount descending.
            Run<frmDepartQueryTable> band(Criteria{{"txtPrice_0", "5"},
                                                   {"txtPrice_1", "50"},
                                                   {"cboOrderBy", "#6"},
                                                   {"chkOrderBy", "1"}});
            QCOMPARE(band.column(1), QStringList({"1101", "2101"}));
            // Gifts only: 凉拌黄瓜's 15.
            Run<frmDepartQueryTable> gifts(Criteria{{"cboIsSentMenu", "#1"}});
            QCOMPARE(gifts.column(2), QStringList({"凉拌黄瓜"}));
        }
    }

    void inventory()
    {
        TestDatabase db("period_reports2.sql");
        db.install();
        const Criteria warnings{{"optQuery4", "1"}};
        // Within range: 鸡胸肉 in 北京 exactly at its minimum 20, 猪里脊 without a maximum.
        Run<frmInventoryReport> within(warnings + Criteria{{"optRage_0", "1"}}, false);
        QCOMPARE(within.column(1), QStringList({"100101", "100102"}));
        QCOMPARE(within.column(11), QStringList({"北京店", "北京店"}));
        // Above: beer in 北京 (120 over 100); 猪里脊's 150 has no maximum to pass.
        Run<frmInventoryReport> above(warnings + Criteria{{"optRage_1", "1"}}, false);
        QCOMPARE(above.column(1), QStringList({"500101"}));
        // Below, with the category and a branch applied together: 上海's 鸡胸肉 (5 < 20) only.
        Run<frmInventoryReport> below(warnings + Criteria{{"optRage_2", "1"}}, false);
        QCOMPARE(below.column(1), QStringList({"100101", "500101"}));
        Run<frmInventoryReport> meat(warnings + Criteria{{"optRage_2", "1"},
                                                         {"cboBranch", "上海店"},
                                                         {"cboItemType", "肉类"}},
                                     false);
        QCOMPARE(meat.column(2), QStringList({"鸡胸肉"}));
        QCOMPARE(meat.column(7), QStringList({"5.00"}));
        // Per item: 鸡胸肉 25 worth 650, at 26.00 on average; out-of-stock rows left out.
        Run<frmInventoryReport> items(Criteria{{"optQuery2", "1"}, {"chkNotNull", "1"}}, false);
        QCOMPARE(items.column(1), QStringList({"100101", "100102", "500101"}));
        QCOMPARE(items.grid->text(1, 6), QString("26.00"));
        QCOMPARE(items.grid->text(1, 8), QString("650.00"));
        // A number matches item numbers by prefix; other text names or abbreviations anywhere.
        QCOMPARE(Run<frmInventoryReport>(Criteria{{"cboItemID", "5001"}}, false).column(2),
                 QStringList({"青岛啤酒", "青岛啤酒"}));
        QCOMPARE(Run<frmInventoryReport>(Criteria{{"cboItemID", "LJ"}}, false).column(2),
                 QStringList({"猪里脊"}));
        // Per category: 原材料/肉类 175 worth 5450.
        Run<frmInventoryReport> types(Criteria{{"optQuery3", "1"}}, false);
        QCOMPARE(types.grid->text(1, 2), QString("肉类"));
        QCOMPARE(types.grid->text(1, 4), QString("5,450.00"));
    }

    void materials()
    {
        TestDatabase db("period_reports2.sql");
        db.install();
        // 鸡胸肉 over the 9th and 10th: standard 10 + 5 + 4 = 19, actual 11 + 6 + 3 = 20,
        // difference 1, 5.26% of standard; beer used nothing.
        Run<frmBomReport> items(From9th);
        QCOMPARE(items.column(1), QStringList({"100101", "500101"}));
        QCOMPARE(items.grid->text(1, 6), QString("19.00"));
        QCOMPARE(items.grid->text(1, 8), QString("1.00"));
        QCOMPARE(items.grid->text(1, 9), QString("5.26%"));
        QCOMPARE(Run<frmBomReport>(From9th + Criteria{{"chkNotNull", "1"}}).column(1),
                 QStringList({"100101"}));
        // Per branch: a pair per branch that ever used materials, 广州 (February only) too,
        // empty. 北京 standard 15, actual 17; 上海 4 and 3.
        Run<frmBomReport> branches(From9th + Criteria{{"optQuery3", "1"}});
        QCOMPARE(branches.grid->maxCols(), 9);
        QCOMPARE(branches.grid->text(1, 4), QString("15.00"));
        QCOMPARE(branches.grid->text(1, 5), QString("17.00"));
        QCOMPARE(branches.grid->text(1, 6), QString("4.00"));
        QCOMPARE(branches.grid->text(1, 7), QString("3.00"));
        QCOMPARE(branches.grid->text(1, 8), QString());
        QCOMPARE(branches.grid->text(1, 9), QString());
    }

    // Half a cent rounds up, on screen and in the totals, where the grid holds the figure as a
    // double a hair below the half: 鸡胸肉's actual use of 106.335 in 北京 on 1 April (a
    // double 106.33499999...) shows 106.34, and with 猪里脊's 1,374.39 the column's total of
    // 1,480.725 shows 1,480.73; 水煮鱼 sold 12 for 2,415.60 less 100.98 of discount:
    // 2,314.62 / 12 = 192.885 each, shown 192.89.
    void halfCentsRoundUp()
    {
        TestDatabase db("period_reports2.sql");
        db.install();
        db.run("INSERT INTO st_BOM VALUES "
               "('2026-04-01 00:00:00', '01', '北京店', '100101', '鸡胸肉', '冻品', '公斤', "
               "'10', '肉类', 106.335, 100), "
               "('2026-04-01 00:00:00', '01', '北京店', '100102', '猪里脊', '鲜品', '公斤', "
               "'10', '肉类', 1374.39, 1300);"
               "INSERT INTO bi_Bill (BillID, BillDate, BillPeriod, TableID, TableName, "
               "PeopleCount, SumOfConsume, SumOfService, SumForDiscount, SumPaid, CheckOutNull, "
               "IsDeleted, BranchID, BranchName) VALUES ('H1', '2026-04-01 00:00:00', '晚餐', "
               "'101', 'A1', 6, 2415.60, 0, 100.98, 2314.62, 0, 0, '01', '北京店');"
               "INSERT INTO bi_BillItem (BillItemID, BillID, MenuID, MenuName, MenuUnitName, "
               "MenuTypeName, DepartTypeName, DepartName, AmountOrder, AmountCancel, IsSentMenu, "
               "SumOfConsume, SumForDiscount) VALUES ('H1-1', 'H1', '1102', '水煮鱼', '份', "
               "'热菜', '厨房', '热菜间', 12, 0, 0, 2415.60, 100.98);");
        const Criteria april{{"dtpBegin", "2026-04-01"}, {"dtpEnd", "2026-04-01"}};
        Run<frmBomReport> branches(april + Criteria{{"optQuery3", "1"}});
        QCOMPARE(branches.column(5), QStringList({"106.34", "1,374.39"})); // 北京 实耗
        QCOMPARE(totalText(branches, 5), QString("1,480.73"));
        QCOMPARE(totalText(branches, 4), QString("1,400.00"));
        Run<frmDepartQueryTable> items(april);
        QCOMPARE(items.column(9), QStringList({"2,314.62"}));
        QCOMPARE(items.column(10), QStringList({"192.89"}));
    }

    void menu()
    {
        TestDatabase db("period_reports2.sql");
        db.install();
        // 宫保鸡丁 with its three units (份 its main unit, 大盘, 小碟), 水煮鱼, 青岛啤酒.
        Run<frmMenuQuery> all({}, false);
        QCOMPARE(all.column(5), QStringList({"份", "大盘", "小碟", "份", "瓶"}));
        // Nothing is totalled, so the grid ends with its last unit, no totals row; the menu
        // has no dates to set, so no date periods are offered.
        QCOMPARE(all.grid->maxRows(), 5);
        QVERIFY(all.screen.findChild<QToolBar*>("tlbDate")->isHidden());
        QVERIFY(!Run<frmTableReport>().screen.findChild<QToolBar*>("tlbDate")->isHidden());
        QCOMPARE(all.column(6), QStringList({"38.00", "57.00", "20.00", "68.00", "12.00"}));
        QCOMPARE(all.grid->text(4, 14), QString("√")); // 水煮鱼 at market price
        QCOMPARE(all.grid->text(1, 14), QString());
        // A price band on the unit's own standard price: 份 38 and 大盘 57.
        QCOMPARE(Run<frmMenuQuery>(Criteria{{"txtPrice_0", "30"}, {"txtPrice_1", "60"}}, false)
                     .column(5),
                 QStringList({"份", "大盘"}));
        // Numbers match number or bar code prefixes, other text names or abbreviations.
        QCOMPARE(Run<frmMenuQuery>(Criteria{{"txtMenuName", "6901"}}, false).column(1),
                 QStringList({"2101"}));
        QCOMPARE(Run<frmMenuQuery>(Criteria{{"txtMenuName", "鱼"}}, false).column(1),
                 QStringList({"1102"}));
        // Flags: market price only; department type.
        QCOMPARE(Run<frmMenuQuery>(Criteria{{"chkBySeanson", "1"}}, false).column(1),
                 QStringList({"1102"}));
        QCOMPARE(Run<frmMenuQuery>(Criteria{{"cboDepartType", "酒水"}}, false).column(1),
                 QStringList({"2101"}));
        QCOMPARE(PlainNumber(" 12.50 "), QString("12.5"));
        QCOMPARE(PlainNumber("abc"), QString("0"));
    }

    void safe()
    {
        TestDatabase db("period_reports2.sql");
        db.install();
        // Typed quotes stay inside their literals.
        Run<frmMenuQuery> quoted(Criteria{{"txtMenuName", "x' OR '1'='1"}}, false);
        QVERIFY(quoted.ok);
        QCOMPARE(quoted.column(1), QStringList());
        Run<frmInventoryReport> stock(Criteria{{"cboItemID", "'; DROP TABLE st_BOM; --"}}, false);
        QVERIFY(stock.ok);
        QCOMPARE(stock.column(1), QStringList());
        // A reversed range is refused before anything runs.
        Run<frmTableReport> reversed(Criteria{{"dtpBegin", "2026-03-11"}});
        QVERIFY(!reversed.ok);
        QCOMPARE(reversed.screen.lastError(), QString("结束日期不能小于开始日期，请调整时间段！"));
        // Missing tables: the screen says why and is idle again.
        db.run("DROP TABLE st_BOM; DROP TABLE rp_Inventory_Upload; DROP TABLE tb_Table;");
        Run<frmBomReport> bom;
        QVERIFY(!bom.ok && !bom.screen.lastError().isEmpty() && bom.screen.isEnabled());
        Run<frmInventoryReport> inventory({}, false);
        QVERIFY(!inventory.ok && inventory.screen.isEnabled());
        Run<frmTableReport> tables;
        QVERIFY(!tables.ok && tables.screen.isEnabled() && !tables.screen.isRunning());
    }
};

QTEST_MAIN(TestPeriodReports2)
#include "tst_periodreports2.moc"
