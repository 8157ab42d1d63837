// The query control's fill without the control, over a small restaurant database
// (fixtures/query_fill.sql: four bills, the items of one bill and the payments of three).
// Every expected figure is worked out by hand from these rows.
#include "db/Recordset.h"
#include "query/QueryColumn.h"
#include "query/QueryColumns.h"
#include "query/QueryGroups.h"
#include "sheet/Sheet.h"
#include "tests/support/TestDatabase.h"
#include "ui/QueryFill.h"

#include <QTest>

namespace {

// A grid and what it is filled from.
struct Grid
{
    QueryColumns columns;
    QueryGroups groups;
    QStringList keys;
    int keyLevel = 0;
    QueryFill::Texts texts{"小计",
                           "合计",
                           "failed: %1",
                           "column %1 (%2): %3",
                           "condition %1 %2: %3",
                           "key %1",
                           "group %1",
                           "overflow %1",
                           "部分合计"};
    Sheet sheet;
    std::unique_ptr<QueryFill> fill;
    QList<QPair<qint64, qint64>> progress; // records read, of how many (-1: not known)

    bool run(const TestDatabase& db, const QString& sql)
    {
        fill = std::make_unique<QueryFill>(QueryFill::layOut(sheet, columns), texts);
        fill->setKeyFields(keys);
        fill->setKeyLevel(keyLevel);
        fill->setGroups(&groups);
        fill->setProgress(
            [this](qint64 records, qint64 total) { progress << qMakePair(records, total); });
        auto rs = db.connection()->execute(sql);
        return fill->fill(*rs, sheet);
    }
    QStringList row(int r) const
    {
        QStringList out;
        for (int c = 1; c <= sheet.maxCols(); ++c)
            out << sheet.text(r, c);
        return out;
    }
    // One letter a row: d data, s subtotal, t totals.
    QString roles() const
    {
        QString out;
        for (int r = 1; r <= sheet.maxRows(); ++r)
            out += "dst"[int(fill->rowRole(r))];
        return out;
    }
};

} // namespace

class TestQueryFill : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> db;

private slots:
    void initTestCase() { db = std::make_unique<TestDatabase>("query_fill.sql"); }

    // Bill query shape: group header over three tender columns, a computed column, the
    // zero-settlement condition on every amount, the totals row and progress.
    void groupedColumnsConditionsAndTotals()
    {
        Grid g;
        g.columns.Add("BillID", "单号", "", "", false, 0, false, 1, 1500);
        g.columns.Add("TableFullName", "房台", "", "", false, 0, false, 1, 1100);
        g.columns.Add("PeopleCount", "人数", "", "", false, 0, true, 13, 550);
        QueryColumn* paid = g.columns.Add("|SumPaid", "实收金额");
        paid->SubColumns().add("SumInCash", "现金", "CheckOutNull=0", "", false, 0, true, 13, 800,
                               12648447);
        QueryColumn* other = paid->SubColumns().add("SumPaid-SumInCash|SumOfOther", "其他",
                                                    "CheckOutNull=0", "", false, 0, true, 13, 750);
        paid->SubColumns().add("SumPaid", "实收金额", "CheckOutNull=0", "", false, 0, true, 13,
                               850);
        const QString sql = "SELECT BillID,TableFullName,PeopleCount,SumInCash,SumPaid,"
                            "CheckOutNull FROM bi_Bill ORDER BY BillID";
        QVERIFY(g.run(*db, sql));

        const Sheet& s = g.sheet;
        QCOMPARE(s.maxCols(), 6); // the group header has no column of its own
        QCOMPARE(s.headerRows(), 2);
        QCOMPARE(s.headerText(1, 4), QStringLiteral("实收金额"));
        QCOMPARE(s.headerText(2, 5), QStringLiteral("其他"));
        QVERIFY(s.headerSpans().contains(CellBlock{1, 4, 1, 6}));
        QVERIFY(s.headerSpans().contains(CellBlock{1, 1, 2, 1}));
        QCOMPARE(s.columnWidth(1), 1500);
        QCOMPARE(*s.columnStyle(4).backColor, QColor(0xFF, 0xFF, 0xC0)); // &HC0FFFF is BGR

        QCOMPARE(s.maxRows(), 5);
        QCOMPARE(g.row(1), (QStringList{"B001", "大厅01", "4", "100.00", "110.00", "210.00"}));
        // A zero-settled bill keeps its count but shows no amounts.
        QCOMPARE(g.row(3), (QStringList{"B003", "包房01", "6", "", "", ""}));
        QCOMPARE(g.row(5), (QStringList{"合计", "", "15", "208.75", "210.00", "418.75"}));
        QCOMPARE(s.value(5, 6).toDouble(), 418.75);
        QCOMPARE(g.roles(), QStringLiteral("ddddt"));
        QCOMPARE(g.fill->totalRow(), 5);
        QVERIFY(s.effectiveStyle(5, 4).font->bold());
        // SQLite does not say how many records a result holds until all are read.
        QCOMPARE(g.progress.first(), qMakePair(qint64(0), qint64(-1)));
        QCOMPARE(g.progress.last(), qMakePair(qint64(4), qint64(4)));

        // Translated field text (the part after "|" gone) still means the computed column.
        other->setFieldText("SumPaid-SumInCash");
        QVERIFY(g.run(*db, sql));
        QCOMPARE(s.text(1, 5), QStringLiteral("110.00"));
    }

    // Bill detail items: a gift line shows the mark, no amount, and adds nothing to the amount
    // total, while its quantities count.
    void giftLine()
    {
        Grid g;
        g.columns.Add("MenuName", "菜名");
        g.columns.Add("'√'|IsSentMenu", "赠送", "IsSentMenu<>0");
        QueryColumn* amount = g.columns.Add("|AmountOfConsume", "消费数量");
        amount->SubColumns().add("AmountOrder", "点菜", "AmountOrder<>0", "", false, 0, true, 13);
        amount->SubColumns().add("AmountCancel", "退菜", "AmountCancel<>0", "", false, 0, true, 13);
        amount->SubColumns().add("AmountOrder-AmountCancel|AmountOrder_AmountCancel", "消费",
                                 "(AmountOrder-AmountCancel)<>0", "", false, 0, true, 13);
        g.columns.Add("SumOfConsume", "消费额", "SumOfConsume<>0 AND IsSentMenu=0", "", false, 0,
                      true, 13);
        QVERIFY(g.run(*db, "SELECT MenuName,AmountOrder,AmountCancel,IsSentMenu,SumOfConsume "
                           "FROM bi_BillItem WHERE BillID='B001' ORDER BY CreateTime"));
        QCOMPARE(g.sheet.maxRows(), 4);
        QCOMPARE(g.row(1), (QStringList{"鱼", "", "2.00", "", "2.00", "100.00"}));
        QCOMPARE(g.row(2), (QStringList{"汤", "", "3.00", "1.00", "2.00", "60.00"}));
        QCOMPARE(g.row(3), (QStringList{"果盘", "√", "1.00", "", "1.00", ""}));
        QCOMPARE(g.row(4), (QStringList{"合计", "", "6.00", "1.00", "5.00", "160.00"}));
    }

    // Key fields fold one bill's payment lines into one row: each method in its own column,
    // the bill amount (repeated on every line) once.
    void keyFieldPivot()
    {
        Grid g;
        g.columns.Add("BillID", "单号");
        QueryColumn* pay = g.columns.Add("|Payment", "支付明细");
        pay->SubColumns().add("PaySum|", "现金", "SubjectID='01'", "", false, 0, true, 13);
        pay->SubColumns().add("PaySum|", "银行卡", "SubjectID='02'", "", false, 0, true, 13);
        g.columns.Add("SumPaid", "合计", "SumPaid<>0", "", false, 0, true, 13);
        g.keys = QStringList{"BillID"};
        QVERIFY(g.run(*db, "SELECT BL.BillID,BL.SumPaid,BP.SubjectID,BP.PaySum FROM bi_Bill AS "
                           "BL, bi_BillPayment AS BP WHERE BL.BillID=BP.BillID "
                           "ORDER BY BL.BillID,BP.SubjectID"));
        QCOMPARE(g.sheet.maxRows(), 4);
        QCOMPARE(g.row(1), (QStringList{"B001", "105.00", "105.00", "210.00"}));
        QCOMPARE(g.row(2), (QStringList{"B002", "88.50", "", "88.50"}));
        QCOMPARE(g.row(3), (QStringList{"B004", "20.25", "100.00", "120.25"}));
        QCOMPARE(g.row(4), (QStringList{"合计", "213.75", "205.00", "418.75"}));
    }

    // Table report shape: key level 1 closes each area with a subtotal row; groups do the same
    // by a field; the odd width definition ("1600" in the condition slot) gives the width; the
    // labels are the caller's.
    void subtotalsByKeyLevelAndGroup()
    {
        Grid g;
        g.columns.Add("TableAreaName", "台区", "1600", "", false, 1, false, 1, -1);
        g.columns.Add("TableFullName", "房台", "", "", false, 1, false, 1, 1600);
        g.columns.Add("theBillCount", "开台数", "theBillCount<>0", "", false, 1, true, 13, 1100);
        g.columns.Add("thePaid", "实收合计", "thePaid<>0", "", false, 1, true, 13, 1100);
        g.keys = QStringList{"TableAreaID", "TableID"};
        g.keyLevel = 1;
        const QString sql = "SELECT TableAreaID,TableAreaName,TableID,TableFullName,"
                            "COUNT(*) AS theBillCount,SUM(SumPaid) AS thePaid FROM bi_Bill "
                            "GROUP BY TableAreaID,TableAreaName,TableID,TableFullName "
                            "ORDER BY TableAreaID,TableID";
        QVERIFY(g.run(*db, sql));
        QCOMPARE(g.sheet.columnWidth(1), 1600);
        QCOMPARE(g.roles(), QStringLiteral("ddsddst"));
        QCOMPARE(g.fill->subtotalRows(), (std::vector<int>{3, 6}));
        QCOMPARE(g.row(1), (QStringList{"大厅", "大厅01", "1", "210.00"}));
        QCOMPARE(g.row(3), (QStringList{"大厅", "小计", "2", "298.50"}));
        QCOMPARE(g.row(4), (QStringList{"包房", "包房01", "1", ""}));
        QCOMPARE(g.row(6), (QStringList{"包房", "小计", "2", "120.25"}));
        QCOMPARE(g.row(7), (QStringList{"合计", "", "4", "418.75"}));
        QVERIFY(g.sheet.effectiveStyle(3, 3).font->bold());
        QVERIFY(!g.sheet.effectiveStyle(2, 3).font->bold());

        g.keys.clear();
        g.groups.Add("TableAreaID", "Area ");
        g.texts.subtotal = "subtotal";
        g.texts.total = "Total";
        QVERIFY(g.run(*db, sql));
        QCOMPARE(g.roles(), QStringLiteral("ddsddst"));
        QCOMPARE(g.row(6), (QStringList{"包房", "Area subtotal", "2", "120.25"}));
        QCOMPARE(g.row(7), (QStringList{"Total", "", "4", "418.75"}));
    }

    // A field the result lacks, or a database error while rows are read (after some rows were
    // written): failure, the reason, and no rows.
    void failures()
    {
        Grid g;
        g.columns.Add("BillID", "单号");
        g.columns.Add("SumPaid", "实收", "NoSuchField<>0 AND SumPaid>0", "", false, 0, true, 13);
        auto fails = [&](const QString& sql, const QString& errorStart) {
            return !g.run(*db, sql) && g.fill->error().startsWith(errorStart) &&
                   g.sheet.maxRows() == 0 && g.fill->totalRow() == 0 &&
                   g.fill->rowRole(1) == QueryFill::RowRole::Data;
        };
        const QString sql = "SELECT BillID,SumPaid FROM bi_Bill ORDER BY BillID";
        QVERIFY(fails(sql, "condition 实收 NoSuchField<>0 AND SumPaid>0: "));
        QVERIFY(g.fill->error().contains("NoSuchField"));
        g.columns.at(1)->setCondition("");
        g.keys = QStringList{"BillNo"};
        QVERIFY(fails(sql, "key BillNo"));
        g.keys.clear();
        g.groups.Add("AreaID", "台区");
        QVERIFY(fails(sql, "group AreaID"));
        g.groups.clear();
        // The third bill's value overflows only when SQLite steps onto it.
        QVERIFY(fails("SELECT BillID,CASE WHEN BillID='B003' THEN abs(-9223372036854775808) "
                      "ELSE 1 END AS SumPaid FROM bi_Bill ORDER BY BillID",
                      "failed: "));
        // An amount beyond fixed-point money (±922,337,203,685,477.5807), or a total leaving
        // that range, fails naming the column, rather than a total wrapped round to a negative.
        QCOMPARE(g.run(*db, "SELECT BillID,CASE WHEN BillID='B002' THEN 1e15 ELSE 1 END AS "
                            "SumPaid FROM bi_Bill ORDER BY BillID"),
                 false);
        QCOMPARE(g.fill->error(), QString("overflow 实收"));
        QVERIFY(
            fails("SELECT BillID,5e14 AS SumPaid FROM bi_Bill ORDER BY BillID", "overflow 实收"));
        QVERIFY(g.run(*db, "SELECT BillID,1e14 AS SumPaid FROM bi_Bill ORDER BY BillID"));
        QCOMPARE(g.row(g.sheet.maxRows()).at(1), QString("400,000,000,000,000.00"));
    }

    // A column of dates shows a date-time at midnight as its date; a column of times shows
    // midnight as a time like any other.
    void datesShowAsDates()
    {
        Grid g;
        g.columns.Add("D", "日期")->setHoldsDates(true);
        g.columns.Add("T", "时间");
        QVERIFY(g.run(*db, "SELECT '2026-03-09 00:00:00' AS D, '2026-03-09 00:00:00' AS T UNION "
                           "ALL SELECT '2026-03-10 09:30:00', '2026-03-10 12:30:00'"));
        QCOMPARE(g.row(1), (QStringList{"2026-03-09", "2026-03-09 00:00:00"}));
        QCOMPARE(g.row(2), (QStringList{"2026-03-10 09:30:00", "2026-03-10 12:30:00"}));
    }
};

QTEST_MAIN(TestQueryFill)
#include "tst_queryfill.moc"
