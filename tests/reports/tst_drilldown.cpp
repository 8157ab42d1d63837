// Drill-down from a summed row to the lines behind it, over the item fixture: every row of the
// bill item query's views summed by item, by item type and by waiter, the totals row included,
// opens the item lines whose totals are the row's figures, under the same criteria.
#include "core/HostContext.h"
#include "framework/HostUi.h"
#include "reports/bills/frmBillItemQuery.h"
#include "sheet/Sheet.h"
#include "tests/support/TestDatabase.h"
#include "ui/ctlQuery.h"

#include <QTest>

namespace {

// Leaf columns of the item-line view.
enum Line
{
    LineBill = 4,
    LineConsumed = 9,
    LineAmount = 11
};

double value(Sheet* grid, int row, int column)
{
    return grid->value(row, column).toDouble();
}

} // namespace

class TestDrillDown : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        HostUi::setHeadless(true);
        hostContext().TrueDataAllowed = false;
    }

    void itemRowsOpenTheirLines()
    {
        TestDatabase db("bill_items.sql");
        db.install();
        hostContext().UserID = "mgr"; // 北京店 and 上海店, not 广州店
        frmBillItemQuery screen;
        screen.ShowMe();
        QVERIFY(screen.applyCriterion("dtpBegin", "2026-03-10"));
        QVERIFY(screen.applyCriterion("dtpEnd", "2026-03-10"));

        // By item (view 2), by item type (3), by waiter (4): the consumed quantity and the
        // amount columns of each.
        struct View
        {
            const char* option;
            int consumed, amount;
        };
        int drilled = 0;
        for (const View& v :
             {View{"optQuery2", 6, 7}, View{"optQuery3", 5, 6}, View{"optQuery4", 5, 6}}) {
            QVERIFY(screen.applyCriterion(v.option, "1"));
            QVERIFY(screen.runRefresh());
            Sheet* grid = screen.queryControl()->Grid();
            for (int row = 1; row <= grid->maxRows(); ++row) {
                QVERIFY2(screen.drillDown(QString::number(row)), qPrintable(screen.lastError()));
                auto* lines = qobject_cast<frmBillItemQuery*>(screen.drilledScreen());
                QVERIFY(lines);
                QCOMPARE(lines->currentView(), 0);
                Sheet* list = lines->queryControl()->Grid();
                const QString where = QStringLiteral("%1 row %2").arg(v.option).arg(row);
                QVERIFY2(value(list, list->maxRows(), LineConsumed) == value(grid, row, v.consumed),
                         qPrintable(where));
                QVERIFY2(value(list, list->maxRows(), LineAmount) == value(grid, row, v.amount),
                         qPrintable(where));
                ++drilled;
            }
        }
        QCOMPARE(drilled, 6 + 4 + 4); // five items, three types, three waiters, each with 合计

        // By hand: 青岛啤酒 (2101), bottle and jug alike, is B1's jug (2 consumed, 60.00) and
        // B2's bottles (5, 60.00); the deleted B5 stays out as in the summed row.
        QVERIFY(screen.applyCriterion("optQuery2", "1"));
        QVERIFY(screen.runRefresh());
        QVERIFY(screen.drillDown("5,7"));
        Sheet* list =
            qobject_cast<frmBillItemQuery*>(screen.drilledScreen())->queryControl()->Grid();
        QCOMPARE(list->maxRows(), 3);
        QCOMPARE(list->text(1, LineBill), QString("B1"));
        QCOMPARE(list->text(2, LineBill), QString("B2"));
        QCOMPARE(value(list, 3, LineAmount), 120.0);
        // The gift scope goes along: 1101 without its gift line is B1's 2 portions, 76.00.
        QVERIFY(screen.drillDown("1"));
        QCOMPARE(list->maxRows(), 2);
        QCOMPARE(value(list, 2, LineAmount), 76.0);
        // Gifts only: the one gift line.
        QVERIFY(screen.applyCriterion("cboIsSentMenu", "#1"));
        QVERIFY(screen.runRefresh());
        QVERIFY(screen.drillDown("1"));
        QCOMPARE(list->maxRows(), 2);
        QCOMPARE(value(list, 2, LineConsumed), 1.0);
        // A control changed after the refresh does not change what the shown figures drill to.
        QVERIFY(screen.applyCriterion("cboIsSentMenu", "#0"));
        QVERIFY(screen.applyCriterion("dtpBegin", "2026-03-01"));
        QVERIFY(screen.drillDown("1"));
        QCOMPARE(list->maxRows(), 2);
        QCOMPARE(value(list, 2, LineConsumed), 1.0);

        // The item-line view itself leads to the bill detail, not to another list.
        QVERIFY(screen.applyCriterion("optQuery1", "1"));
        QVERIFY(screen.runRefresh());
        QVERIFY(!screen.drillDown("1"));
        QVERIFY(!screen.drillDown("x"));
    }
};

QTEST_MAIN(TestDrillDown)
#include "tst_drilldown.moc"
