// The item reports over tests/fixtures/bill_items.sql, signed in as "mgr" (北京店 and 上海店,
// not 广州店). The figures below are worked out by hand from the fixture's comments.
#include "core/HostContext.h"
#include "core/mod_ADO.h"
#include "framework/HostUi.h"
#include "query/ItemCriteria.h"
#include "reports/bills/BillItemCostSql.h"
#include "reports/bills/BillItemQuerySql.h"
#include "reports/bills/frmBillItemCost.h"
#include "reports/bills/frmBillItemQuery.h"
#include "reports/bills/frmBillItemReport.h"
#include "sheet/Sheet.h"
#include "tests/support/ComboItems.h"
#include "tests/support/TestDatabase.h"
#include "ui/CriteriaBar.h"
#include "ui/ctlQuery.h"

#include <QComboBox>
#include <QTest>

namespace {

using Criteria = QList<QPair<QString, QString>>;

// Refreshes `screen` for 2026-03-10 with the criteria set by name; the data rows of the grid
// shown, each as the texts of `columns` joined by "|".
template <class Screen>
QStringList rows(Screen& screen, const Criteria& criteria, const QList<int>& columns,
                 bool* ok = nullptr)
{
    screen.applyCriterion("dtpBegin", "2026-03-10");
    screen.applyCriterion("dtpEnd", "2026-03-10");
    for (const auto& [name, value] : criteria)
        if (!screen.applyCriterion(name, value))
            return {"cannot set " + name};
    const bool done = screen.runRefresh();
    if (ok)
        *ok = done;
    QStringList lines;
    const Sheet* grid = screen.grid();
    for (int row = 1; row <= grid->maxRows(); ++row) {
        if (screen.queryControl()->rowRole(row) != QueryFill::RowRole::Data)
            continue;
        QStringList cells;
        for (int col : columns)
            cells << grid->text(row, col);
        lines << cells.join('|');
    }
    return lines;
}

template <class Screen> double total(Screen& screen, int column)
{
    return screen.grid()->value(screen.grid()->maxRows(), column).toDouble();
}

} // namespace

class TestBillItems : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        HostUi::setHeadless(true);
        hostContext().UserID = "mgr";
        hostContext().TrueDataAllowed = false;
    }

    void statementFragments()
    {
        // Every criterion of the item query, in its fixed order; typed texts stay in their quotes.
        BillItemQueryCriteria c;
        c.branch.kind = BranchChoice::One;
        c.branch.name = "北京店";
        c.shiftId = " S'1 ";
        c.billPeriod = "午餐";
        c.tableArea = "大厅";
        c.departType = "厨房";
        c.menuType = "热菜";
        c.depart = "热菜间";
        c.menuText = " 12 ";
        c.giftScope = GiftsOnly;
        c.createPerson = "张三";
        c.saving = true;
        QCOMPARE(BranchScope({ItemLineBranch}, c.branch).fill(BillItemQueryWhereTail(c)).text(),
                 QString(" AND BL.CheckOutNull=0  and BL.BranchName='北京店'  AND "
                         "BL.ShiftID='S''1'  AND BL.BillPeriod='午餐'  AND BL.TableAreaName='大厅' "
                         " AND BI.DepartTypeName='厨房'  AND BI.MenuTypeName='热菜'  AND "
                         "BI.DepartName='热菜间'  AND BI.MenuID LIKE '12%'  AND BI.IsSentMenu<>0  "
                         "AND BI.CreatePerson='张三'  AND BL.IsDeleted=0  AND "
                         "BL.TableName<>'会员卡充值'"));
        // "12a" is part of a name, "1.5" a number; blanks alone add nothing.
        QCOMPARE(MenuTextFilter("12a", "ID", "Name"), QString(" AND Name LIKE '%12a%' "));
        QCOMPARE(MenuTextFilter("1.5", "ID", "Name"), QString(" AND ID LIKE '1.5%' "));
        QCOMPARE(MenuTextFilter("  ", "ID", "Name"), QString());
        QVERIFY(!IsNumericText("inf"));

        // Commission by item with the lines' own prices: no menu table, and every "MN." of the
        // statement reads "BI.".
        BillItemCostCriteria k;
        k.itemPrice = true;
        k.menuText = "鱼";
        const BranchScope all({ItemLineBranch}, k.branch);
        QCOMPARE(all.fill(BillItemCostStatement(CostByItem, k)).text(),
                 QString(" SELECT  BI.MenuID,BI.MenuName,BI.MenuUnitID,BI.MenuUnitName,"
                         "BI.MenuTypeName,  SUM(BI.AmountOrder-BI.AmountCancel) AS MenuAmount,  "
                         "SUM(BI.SumOfConsume) AS theSumOfConsume,  "
                         "SUM((BI.AmountOrder-BI.AmountCancel)*BI.CostPrice) AS SumOfCost  FROM "
                         "bi_BillItem AS BI,bi_Bill AS BL  WHERE  BI.BillID=BL.BillID AND "
                         "BL.BillDate>=? AND BL.BillDate<? AND  BI.MenuID=BI.MenuID AND "
                         "BI.MenuUnitID=BI.MenuUnitID AND  BI.CostPrice<>0  AND BL.CheckOutNull=0 "
                         " AND BI.MenuName LIKE '%鱼%'  AND BI.IsSentMenu=0   AND BL.IsDeleted=0  "
                         "GROUP BY BI.MenuID,BI.MenuName,BI.MenuUnitID,BI.MenuUnitName,"
                         "BI.MenuTypeName  ORDER BY BI.MenuID,BI.MenuUnitID "));
        // With the menu's prices the name is also looked for in the spelling.
        k.itemPrice = false;
        const QString menu = all.fill(BillItemCostStatement(CostLines, k)).text();
        QVERIFY(
            menu.contains(" FROM bi_BillItem AS BI,bi_Bill AS BL , (SELECT DISTINCT * FROM ( "));
        QVERIFY(menu.contains(" ) AS theUNIONALL)AS MN  WHERE "));
        QVERIFY(menu.contains(" AND  BI.AmountOrder-BI.AmountCancel<>0 AND "));
        QVERIFY(menu.contains(
            " AND (MN.MenuName LIKE '%鱼%' OR       MN.ToSpell  LIKE '%鱼%' )   AND BI."));
    }

    void itemQuery()
    {
        TestDatabase db("bill_items.sql");
        db.install();
        frmBillItemQuery screen;
        screen.ShowMe();
        // Lines of B1 and B2 by bill and item; the gift B1-3, the deleted B3 and the zero-settled
        // B4 left out. B1-5 was returned whole: nothing consumed, no amount.
        const QList<int> line{1, 4, 6, 7, 8, 9, 10, 11, 12, 13};
        QCOMPARE(rows(screen, {}, line),
                 QStringList({"1101|B1|张三|2.00||2.00|38.00|76.00||",
                              "1102|B1|李四|2.00|2.00||102.00|||",
                              "1201|B1|张三|1.00||1.00|12.00|12.00||",
                              "2101|B1|李四|3.00|1.00|2.00|30.00|60.00||",
                              "1102|B2|王五|1.00||1.00|68.00|68.00|6.80|6.80",
                              "1103|B2|李四|1.00||1.00|32.00|32.00|3.20|3.20",
                              "2101|B2|王五|5.00||5.00|12.00|60.00|6.00|6.00"}));
        QCOMPARE(total(screen, 7), 15.0);
        QCOMPARE(total(screen, 8), 3.0);
        QCOMPARE(total(screen, 9), 12.0);
        QCOMPARE(total(screen, 11), 308.0);
        QCOMPARE(total(screen, 12), 16.0);
        // Gifts only: the one gift line, counted but worth nothing.
        QCOMPARE(rows(screen, {{"cboIsSentMenu", "#1"}}, line),
                 QStringList({"1101|B1|张三|1.00||1.00|38.00|||"}));
        // By item: the bottle and the jug of 青岛啤酒 fold into one row; the surcharge of 拍黄瓜.
        QCOMPARE(
            rows(screen, {{"cboIsSentMenu", "#0"}, {"optQuery2", "1"}}, {1, 4, 5, 6, 7, 8, 9, 10}),
            QStringList({"1101|2.00||2.00|76.00|||", "1102|3.00|2.00|1.00|68.00|6.80|6.80|",
                         "1103|1.00||1.00|32.00|3.20|3.20|", "1201|1.00||1.00|12.00|||2.00",
                         "2101|8.00|1.00|7.00|120.00|6.00|6.00|"}));
        // By waiter, "笔数" counts item lines, not bills.
        QCOMPARE(rows(screen, {{"optQuery4", "1"}}, {1, 2, 3, 4, 5, 6}),
                 QStringList({"张三|2|3.00||3.00|88.00", "李四|3|6.00|3.00|3.00|92.00",
                              "王五|2|6.00||6.00|128.00"}));
        QCOMPARE(total(screen, 2), 7.0);
        // The typed item: a number is the start of a code, anything else a part of a name.
        QVERIFY(screen.applyCriterion("optQuery1", "1"));
        QCOMPARE(rows(screen, {{"cboMenuID", "11"}}, {1, 4}),
                 QStringList({"1101|B1", "1102|B1", "1102|B2", "1103|B2"}));
        QCOMPARE(rows(screen, {{"cboMenuID", "鱼"}}, {1, 4}),
                 QStringList({"1102|B1", "1102|B2", "1103|B2"}));
        QCOMPARE(rows(screen, {{"cboMenuID", "11a"}}, {1}), QStringList());
        QCOMPARE(rows(screen, {{"cboMenuID", ""}, {"cboDeparts", "凉菜间"}}, {1, 4}),
                 QStringList({"1201|B1"}));
    }

    void departTypeNarrowsItsLists()
    {
        TestDatabase db("bill_items.sql");
        db.install();
        frmBillItemQuery screen;
        screen.ShowMe();
        const CriteriaBar& bar = screen.criteria();
        QCOMPARE(DroppedDownItems(bar.combo("cboMenuTypes")),
                 QStringList({"(全部)", "热菜", "凉菜", "酒水"}));
        QVERIFY(screen.applyCriterion("cboMenuTypes", "热菜"));
        // Choosing 酒水 empties the menu types back to "(全部)"; they fill again with its own.
        QVERIFY(screen.applyCriterion("cboDepartTypes", "酒水"));
        QCOMPARE(bar.chosen("cboMenuTypes"), QString());
        QCOMPARE(DroppedDownItems(bar.combo("cboMenuTypes")), QStringList({"(全部)", "酒水"}));
        QCOMPARE(DroppedDownItems(bar.combo("cboDeparts")), QStringList({"(全部)", "吧台"}));
        QVERIFY(screen.applyCriterion("cboDepartTypes", "(全部)"));
        QCOMPARE(DroppedDownItems(bar.combo("cboDeparts")),
                 QStringList({"(全部)", "热菜间", "凉菜间", "吧台"}));
    }

    void uploadReport()
    {
        TestDatabase db("bill_items.sql");
        db.install();
        frmBillItemReport screen;
        screen.ShowMe();
        // 北京店 and 上海店 of 2026-03-10; 广州店's 88.00 is not the user's to see.
        const QList<int> item{1, 3, 5, 6, 7, 8, 9};
        QStringList byItem = rows(screen, {}, item);
        std::sort(byItem.begin() + 1, byItem.begin() + 3); // the two units of 2101: any order
        QCOMPARE(byItem,
                 QStringList({"1101|份|3.00|114.00|3.80|3.80|114.00", "2101|扎|2.00|60.00|||60.00",
                              "2101|瓶|5.00|60.00|6.00|6.00|60.00", "3101|笼|1.00|28.00|||28.00"}));
        QCOMPARE(total(screen, 9), 262.0);
        // The lists hold what the chosen branches uploaded.
        const CriteriaBar& bar = screen.criteria();
        QCOMPARE(DroppedDownItems(bar.combo("cboDepartType")),
                 QStringList({"(全部)", "厨房", "酒水", "点心"}));
        QVERIFY(screen.applyCriterion("cboDepartType", "点心"));
        QVERIFY(screen.applyCriterion("cboBranch", "上海店"));
        QCOMPARE(bar.chosen("cboDepartType"), QString());
        QCOMPARE(DroppedDownItems(bar.combo("cboDepartType")),
                 QStringList({"(全部)", "厨房", "酒水"}));
        QCOMPARE(DroppedDownItems(bar.combo("cboMenuType")),
                 QStringList({"(全部)", "热菜", "酒水"}));
        QVERIFY(screen.applyCriterion("cboDepartType", "酒水"));
        QCOMPARE(DroppedDownItems(bar.combo("cboMenuType")), QStringList({"(全部)", "酒水"}));
        // A department type 上海店 never uploaded has no menu types there.
        BillItemReportCriteria shanghai;
        shanghai.branch.kind = BranchChoice::One;
        shanghai.branch.name = "上海店";
        shanghai.departType = "点心";
        QVERIFY(ExecuteRows(BranchScope({BillItemReportBranch}, shanghai.branch)
                                .fill(BillItemReportMenuTypesStatement(shanghai)))
                    .isEmpty());
        // 上海店 by department type; the sales total is consumption + service - discount.
        QCOMPARE(
            rows(screen, {{"cboDepartType", "(全部)"}, {"optQuery3", "1"}}, {1, 2, 3, 4, 5, 6}),
            QStringList({"厨房|1.00|38.00|3.80|3.80|38.00", "酒水|5.00|60.00|6.00|6.00|60.00"}));
    }

    void commissionFromTheLines()
    {
        TestDatabase db("bill_items.sql");
        db.install();
        frmBillItemCost screen;
        screen.ShowMe();
        QVERIFY(screen.itemPrice());
        // Quantity x the line's price: B1-1 2 x 2, B1-2 a jug 2 x 4, B2-3 1 x 1.50, B2-2 5 x 1.
        // No price: 拍黄瓜 and 水煮鱼 in its default unit; B1-5 returned whole; the gift left out.
        QCOMPARE(
            rows(screen, {}, {1, 3, 6, 7, 8, 9, 10}),
            QStringList({"B1|1101|份|2.00|38.00|76.00|4.00", "B1|2101|扎|2.00|30.00|60.00|8.00",
                         "B2|1103|份|1.00|32.00|32.00|1.50", "B2|2101|瓶|5.00|12.00|60.00|5.00"}));
        QCOMPARE(total(screen, 10), 18.5);
        // By item and unit, the returned large 水煮鱼 still joins with nothing to show.
        QCOMPARE(rows(screen, {{"optQuery2", "1"}}, {1, 4, 5, 6, 7}),
                 QStringList({"1101|份|2.00|76.00|4.00", "1102|大盘|||", "1103|份|1.00|32.00|1.50",
                              "2101|瓶|5.00|60.00|5.00", "2101|扎|2.00|60.00|8.00"}));
        // Gifts counted: the gift 宫保鸡丁 earns its 2.00 though it was not paid for.
        QCOMPARE(rows(screen, {{"cboIsSentMenu", "#2"}}, {1, 4, 5, 6, 7}).first(),
                 QString("1101|份|3.00|76.00|6.00"));
        QCOMPARE(total(screen, 7), 20.5);
        QCOMPARE(
            rows(screen, {{"cboIsSentMenu", "#0"}, {"optQuery4", "1"}}, {1, 2, 3, 4}),
            QStringList({"张三|2.00|76.00|4.00", "李四|3.00|92.00|9.50", "王五|5.00|60.00|5.00"}));
        // The lines carry no spelling: only names are searched.
        QCOMPARE(rows(screen, {{"optQuery1", "1"}, {"cboMenuID", "YXRS"}}, {3}), QStringList());
    }

    void commissionFromTheMenu()
    {
        // Item lines without a price of their own: the menu's, by item and unit.
        TestDatabase db("bill_items.sql");
        db.run("DROP INDEX ix_bi_BillItem_Sales; ALTER TABLE bi_BillItem DROP COLUMN CostPrice");
        db.install();
        frmBillItemCost screen;
        screen.ShowMe();
        QVERIFY(!screen.itemPrice());
        // 鱼香肉丝 earns today's 2.00; the jug its unit's 4.00, the bottle the item's 1.00.
        QCOMPARE(rows(screen, {}, {1, 3, 6, 7, 10}),
                 QStringList({"B1|1101|份|2.00|4.00", "B1|2101|扎|2.00|8.00",
                              "B2|1103|份|1.00|2.00", "B2|2101|瓶|5.00|5.00"}));
        QCOMPARE(total(screen, 10), 19.0);
        // Department and menu types from the menu; the large 水煮鱼 has a price (its unit's 3.00).
        QCOMPARE(rows(screen, {{"optQuery3", "1"}}, {1, 2, 3, 4, 5}),
                 QStringList({"厨房|热菜|3.00|108.00|6.00", "酒水|酒水|7.00|120.00|13.00"}));
        QCOMPARE(rows(screen, {{"optQuery1", "1"}, {"cboMenuID", "YXRS"}}, {3}),
                 QStringList({"1103"}));
    }

    void safe()
    {
        TestDatabase db("bill_items.sql");
        db.install();
        const QString hostile = "x' OR '1'='1";
        frmBillItemQuery query;
        query.ShowMe();
        bool ok = false;
        QCOMPARE(rows(query, {{"cboMenuID", hostile}, {"cboShiftID", hostile}}, {1}, &ok),
                 QStringList());
        QVERIFY(ok);
        frmBillItemCost cost;
        cost.ShowMe();
        QCOMPARE(rows(cost, {{"cboMenuID", hostile}}, {1}, &ok), QStringList());
        QVERIFY(ok);
        // A reversed range is refused before anything runs.
        QVERIFY(cost.applyCriterion("dtpBegin", "2026-03-11"));
        QVERIFY(!cost.runRefresh());
        QVERIFY(cost.lastError().contains("结束日期不能小于开始日期"));
        // No upload table: empty lists, a failed refresh, the screen idle again.
        db.run("DROP TABLE rp_BillItem_Upload");
        frmBillItemReport report;
        report.ShowMe();
        QCOMPARE(DroppedDownItems(report.criteria().combo("cboDepartType")),
                 QStringList({"(全部)"}));
        QCOMPARE(rows(report, {}, {1}, &ok), QStringList());
        QVERIFY(!ok);
        QVERIFY(report.isEnabled() && !report.isRunning());
    }
};

QTEST_MAIN(TestBillItems)
#include "tst_billitems.moc"
