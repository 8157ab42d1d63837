// The query control over a small restaurant database: four bills, the items of one bill and
// the payments of three. Every expected figure is worked out by hand from these rows.
#include "screens/QueryColumn.h"
#include "screens/ctlQuery.h"
#include "screens/sheet/Sheet.h"
#include "tests/support/TestDatabase.h"

#include <QApplication>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

namespace {

const char* Fixture = R"(
INSERT INTO bi_Bill (BillID,TableAreaID,TableAreaName,TableID,TableFullName,PeopleCount,
                     SumOfConsume,SumPaid,SumInCash,CheckOutNull,PrintCount) VALUES
 ('B001','A1','大厅','T01','大厅01',4,200,210,100,0,1),
 ('B002','A1','大厅','T02','大厅02',2,88.5,88.5,88.5,0,2),
 ('B003','A2','包房','T11','包房01',6,500,0,0,1,1),
 ('B004','A2','包房','T12','包房02',3,120.25,120.25,20.25,0,1);
INSERT INTO bi_BillItem (BillItemID,BillID,MenuName,AmountOrder,AmountCancel,IsSentMenu,
                         SumOfConsume,CreateTime) VALUES
 ('I1','B001','鱼',2,0,0,100,'2024-01-01 12:00:01'),
 ('I2','B001','汤',3,1,0,60,'2024-01-01 12:00:02'),
 ('I3','B001','果盘',1,0,1,30,'2024-01-01 12:00:03');
INSERT INTO bi_BillPayment (BillPaymentID,BillID,SubjectID,SubjectName,PaySum,SumPaid) VALUES
 ('P1','B001','01','现金',105,105),('P2','B001','02','银行卡',105,105),
 ('P3','B002','01','现金',88.5,88.5),
 ('P4','B004','02','银行卡',100,100),('P5','B004','01','现金',20.25,20.25);
)";

QStringList rowTexts(const Sheet* s, int row)
{
    QStringList out;
    for (int c = 1; c <= s->maxCols(); ++c)
        out << s->text(row, c);
    return out;
}

} // namespace

class TestCtlQuery : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> db;

private slots:
    void initTestCase()
    {
        db = std::make_unique<TestDatabase>();
        db->run(QString::fromUtf8(Fixture));
    }

    // Bill query shape: group header over three tender columns, a computed column, the
    // zero-settlement condition on every amount, the totals row and progress.
    void groupedColumnsConditionsAndTotals()
    {
        ctlQuery q;
        q.SetTitle(QStringLiteral("历史账单查询"));
        q.Columns().Add("BillID", "单号", "", "", false, 0, false, 1, 1500);
        q.Columns().Add("TableFullName", "房台", "", "", false, 0, false, 1, 1100);
        q.Columns().Add("PeopleCount", "人数", "", "", false, 0, true, 13, 550);
        QueryColumn* paid = q.Columns().Add("|SumPaid", "实收金额");
        paid->SubColumns().add("SumInCash", "现金", "CheckOutNull=0", "", false, 0, true, 13, 800,
                               12648447);
        paid->SubColumns().add("SumPaid-SumInCash|SumOfOther", "其他", "CheckOutNull=0", "", false,
                               0, true, 13, 750);
        QueryColumn* sumPaid = paid->SubColumns().add("SumPaid", "实收金额", "CheckOutNull=0", "",
                                                      false, 0, true, 13, 850);
        QVERIFY(q.ApplyQuery(true, false, false));

        Sheet* g = q.Grid();
        QCOMPARE(g->maxCols(), 6); // the group header has no column of its own
        QCOMPARE(q.gridColumnOf(sumPaid), 6);
        QCOMPARE(g->headerRows(), 2);
        QCOMPARE(g->headerText(1, 4), QStringLiteral("实收金额"));
        QCOMPARE(g->headerText(2, 5), QStringLiteral("其他"));
        QVERIFY(g->headerSpans().contains(CellBlock{1, 4, 1, 6}));
        QVERIFY(g->headerSpans().contains(CellBlock{1, 1, 2, 1}));
        QCOMPARE(g->columnWidth(1), 1500);
        QCOMPARE(*g->columnStyle(4).backColor, QColor(0xFF, 0xFF, 0xC0)); // &HC0FFFF is BGR

        q.SetConnection(db->connection());
        q.SetSQL(" SELECT BillID,TableFullName,PeopleCount,SumInCash,SumPaid,CheckOutNull "
                 "   FROM bi_Bill WHERE PeopleCount>=? ORDER BY BillID ");
        q.SetParameter(1, 0);
        QSignalSpy progress(&q, &ctlQuery::Progress);
        QVERIFY(q.ApplyQuery(false, true, false));
        QCOMPARE(g->maxRows(), 5);
        QCOMPARE(rowTexts(g, 1),
                 (QStringList{"B001", "大厅01", "4", "100.00", "110.00", "210.00"}));
        // A zero-settled bill keeps its count but shows no amounts.
        QCOMPARE(rowTexts(g, 3), (QStringList{"B003", "包房01", "6", "", "", ""}));
        QCOMPARE(rowTexts(g, 5), (QStringList{"合计", "", "15", "208.75", "210.00", "418.75"}));
        QVERIFY(g->effectiveStyle(5, 4).font->bold());
        QVERIFY(!progress.isEmpty());
        QCOMPARE(progress.last().at(0).toInt(), 100);
        QCOMPARE(progress.last().at(1).toInt(), 100);

        // The language file's view of the columns.
        QCOMPARE(q.queryItemCount(), 4);
        QCOMPARE(q.queryItem(3)->subItem(1)->fieldText(),
                 QStringLiteral("SumPaid-SumInCash|SumOfOther"));
        // Translated field text (the part after "|" gone) still means the computed column.
        q.queryItem(3)->subItem(1)->setFieldText("SumPaid-SumInCash");
        QVERIFY(q.ApplyQuery(false, true, false));
        QCOMPARE(g->text(1, 5), QStringLiteral("110.00"));
    }

    // Bill detail items: a gift line shows the mark, no amount, and adds nothing to the amount
    // total, while its quantities count.
    void giftLine()
    {
        ctlQuery q;
        q.Columns().Add("MenuName", "菜名");
        q.Columns().Add("'√'|IsSentMenu", "赠送", "IsSentMenu<>0");
        QueryColumn* amount = q.Columns().Add("|AmountOfConsume", "消费数量");
        amount->SubColumns().add("AmountOrder", "点菜", "AmountOrder<>0", "", false, 0, true, 13);
        amount->SubColumns().add("AmountCancel", "退菜", "AmountCancel<>0", "", false, 0, true, 13);
        amount->SubColumns().add("AmountOrder-AmountCancel|AmountOrder_AmountCancel", "消费",
                                 "(AmountOrder-AmountCancel)<>0", "", false, 0, true, 13);
        q.Columns().Add("SumOfConsume", "消费额", "SumOfConsume<>0 AND IsSentMenu=0", "", false, 0,
                        true, 13);
        q.SetConnection(db->connection());
        q.SetSQL(
            "SELECT MenuName,AmountOrder,AmountCancel,IsSentMenu,SumOfConsume FROM bi_BillItem "
            "WHERE BillID='B001' ORDER BY CreateTime");
        QVERIFY(q.ApplyQuery(false, true, false));
        Sheet* g = q.Grid();
        QCOMPARE(g->maxRows(), 4);
        QCOMPARE(rowTexts(g, 1), (QStringList{"鱼", "", "2.00", "", "2.00", "100.00"}));
        QCOMPARE(rowTexts(g, 2), (QStringList{"汤", "", "3.00", "1.00", "2.00", "60.00"}));
        QCOMPARE(rowTexts(g, 3), (QStringList{"果盘", "√", "1.00", "", "1.00", ""}));
        QCOMPARE(rowTexts(g, 4), (QStringList{"合计", "", "6.00", "1.00", "5.00", "160.00"}));
        QCOMPARE(g->value(4, 6).toDouble(), 160.0);
    }

    // Key fields fold one bill's payment lines into one row: each method in its own column,
    // the bill amount (repeated on every line) once.
    void keyFieldPivot()
    {
        ctlQuery q;
        q.Columns().Add("BillID", "单号");
        QueryColumn* pay = q.Columns().Add("|Payment", "支付明细");
        pay->SubColumns().add("PaySum|", "现金", "SubjectID='01'", "", false, 0, true, 13);
        pay->SubColumns().add("PaySum|", "银行卡", "SubjectID='02'", "", false, 0, true, 13);
        q.Columns().Add("SumPaid", "合计", "SumPaid<>0", "", false, 0, true, 13);
        q.SetConnection(db->connection());
        q.SetSQL("SELECT BL.BillID,BL.SumPaid,BP.SubjectID,BP.PaySum FROM bi_Bill AS BL, "
                 "bi_BillPayment AS BP WHERE BL.BillID=BP.BillID ORDER BY BL.BillID,BP.SubjectID");
        q.SetKeyFields("BillID");
        QVERIFY(q.ApplyQuery(false, true, false));
        Sheet* g = q.Grid();
        QCOMPARE(g->maxRows(), 4);
        QCOMPARE(rowTexts(g, 1), (QStringList{"B001", "105.00", "105.00", "210.00"}));
        QCOMPARE(rowTexts(g, 2), (QStringList{"B002", "88.50", "", "88.50"}));
        QCOMPARE(rowTexts(g, 3), (QStringList{"B004", "20.25", "100.00", "120.25"}));
        QCOMPARE(rowTexts(g, 4), (QStringList{"合计", "213.75", "205.00", "418.75"}));
    }

    // Table report shape: key level 1 closes each area with a subtotal row; groups do the same
    // by a field; the odd width definition ("1600" in the condition slot) gives the width.
    void subtotalsByKeyLevelAndGroup()
    {
        ctlQuery q;
        q.Columns().Add("TableAreaName", "台区", "1600", "", false, 1, false, 1, -1);
        q.Columns().Add("TableFullName", "房台", "", "", false, 1, false, 1, 1600);
        q.Columns().Add("theBillCount", "开台数", "theBillCount<>0", "", false, 1, true, 13, 1100);
        q.Columns().Add("thePaid", "实收合计", "thePaid<>0", "", false, 1, true, 13, 1100);
        q.SetConnection(db->connection());
        q.SetSQL("SELECT TableAreaID,TableAreaName,TableID,TableFullName,COUNT(*) AS theBillCount,"
                 "SUM(SumPaid) AS thePaid FROM bi_Bill GROUP BY TableAreaID,TableAreaName,TableID,"
                 "TableFullName ORDER BY TableAreaID,TableID");
        q.SetKeyFields("TableAreaID,TableID");
        q.SetKeyLevel(1);
        QVERIFY(q.ApplyQuery(true, true, false));
        Sheet* g = q.Grid();
        QCOMPARE(g->columnWidth(1), 1600);
        QCOMPARE(g->maxRows(), 7);
        QCOMPARE(rowTexts(g, 1), (QStringList{"大厅", "大厅01", "1", "210.00"}));
        QCOMPARE(rowTexts(g, 3), (QStringList{"大厅", "小计", "2", "298.50"}));
        QCOMPARE(rowTexts(g, 4), (QStringList{"包房", "包房01", "1", ""}));
        QCOMPARE(rowTexts(g, 6), (QStringList{"包房", "小计", "2", "120.25"}));
        QCOMPARE(rowTexts(g, 7), (QStringList{"合计", "", "4", "418.75"}));
        QVERIFY(g->effectiveStyle(3, 3).font->bold());
        QVERIFY(!g->effectiveStyle(2, 3).font->bold());

        q.SetKeyFields("");
        q.Groups().Add("TableAreaID", "台区");
        QVERIFY(q.ApplyQuery(false, true, false));
        QCOMPARE(g->maxRows(), 7);
        QCOMPARE(g->text(6, 2), QStringLiteral("台区小计"));
        QCOMPARE(g->text(6, 4), QStringLiteral("120.25"));
    }

    // A condition naming a column the result lacks: failure, an empty grid and the message.
    void unknownFieldInCondition()
    {
        ctlQuery q;
        q.Columns().Add("BillID", "单号");
        q.Columns().Add("SumPaid", "实收", "NoSuchField<>0 AND SumPaid>0", "", false, 0, true, 13);
        q.SetConnection(db->connection());
        q.SetSQL("SELECT BillID,SumPaid FROM bi_Bill");
        QVERIFY(!q.ApplyQuery(false, true, false));
        QVERIFY(q.lastError().contains("NoSuchField"));
        QCOMPARE(q.Grid()->maxRows(), 0);
        auto* status = q.findChild<QLabel*>("lblStatus");
        QVERIFY(status && !status->isHidden());
        QVERIFY(status->text().contains("NoSuchField"));

        q.SetSQL("SELECT BillID,SumPaid FROM no_such_table");
        QVERIFY(!q.ApplyQuery(false, true, false));
        QCOMPARE(q.Grid()->maxRows(), 0);
    }

    // VTX_SCREENSHOT=file.png: grabs the control with a group header, conditional cells,
    // area subtotals and the totals row (the picture in the README).
    void screenshot()
    {
        const QString file = qEnvironmentVariable("VTX_SCREENSHOT");
        if (file.isEmpty())
            QSKIP("VTX_SCREENSHOT not set");
        QApplication::setFont(QFont("Noto Sans CJK SC", 9));
        ctlQuery q;
        q.resize(720, 270);
        q.Columns().Add("TableAreaName", "台区", "", "", false, 0, false, 1, 800);
        q.Columns().Add("TableFullName", "房台", "", "", false, 0, false, 1, 900);
        q.Columns().Add("BillID", "单号", "", "", false, 0, false, 1, 900);
        q.Columns().Add("PeopleCount", "人数", "", "", false, 0, true, 13, 600);
        q.Columns().Add("SumOfConsume", "消费总额", "CheckOutNull=0", "", false, 0, true, 13, 1100,
                        14737632);
        QueryColumn* paid = q.Columns().Add("|SumPaid", "实收金额");
        paid->SubColumns().add("SumInCash", "现金", "CheckOutNull=0", "", false, 0, true, 13, 1000,
                               12648447);
        paid->SubColumns().add("SumPaid-SumInCash|SumOfOther", "其他", "CheckOutNull=0", "", false,
                               0, true, 13, 1000, 12648447);
        paid->SubColumns().add("SumPaid", "合计", "CheckOutNull=0", "", false, 0, true, 13, 1000,
                               12648447);
        q.SetConnection(db->connection());
        q.SetSQL("SELECT * FROM bi_Bill ORDER BY TableAreaID,BillID");
        q.SetKeyFields("TableAreaID,BillID");
        q.SetKeyLevel(1);
        QVERIFY(q.ApplyQuery(true, true, false));
        for (int r = 1; r <= q.Grid()->maxRows(); ++r)
            if (q.Grid()->value(r, 1).toString() != "合计" && q.Grid()->number(r, 4) > 1 &&
                q.Grid()->text(r, 3) == "B002") {
                CellStyle red;
                red.foreColor = QColor(255, 0, 0);
                q.Grid()->applyStyle({r, 1, r, q.Grid()->maxCols()}, red);
            }
        q.show();
        QVERIFY(QTest::qWaitForWindowExposed(&q));
        QVERIFY(q.grab().save(file));
    }
};

QTEST_MAIN(TestCtlQuery)
#include "tst_ctlquery.moc"
