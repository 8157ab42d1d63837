// What only the query control does over its fill (QueryFill, tested on its own): laying out
// and widening its grid, running the SQL on its connection, the Progress signal, the row roles
// of its grid, the language file's view of its columns and failures shown under the grid.
// Fixture: fixtures/query_fill.sql.
#include "screens/QueryColumn.h"
#include "screens/ctlQuery.h"
#include "screens/sheet/Sheet.h"
#include "tests/support/TestDatabase.h"

#include <QApplication>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

class TestCtlQuery : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestDatabase> db;

private slots:
    void initTestCase() { db = std::make_unique<TestDatabase>("query_fill.sql"); }

    // Area subtotals by key level, run with a parameter: the grid's rows and their roles,
    // progress to 100, and widths widened (never narrowed) to fit the captions.
    void runsTheQueryIntoItsGrid()
    {
        ctlQuery q;
        q.Columns().Add("TableAreaName", "台区", "", "", false, 1, false, 1, 100);
        q.Columns().Add("TableFullName", "房台", "", "", false, 1, false, 1, 1600);
        QueryColumn* paid = q.Columns().Add("|Paid", "实收");
        paid->SubColumns().add("thePaid", "实收合计", "thePaid<>0", "", false, 1, true, 13, 1100);
        QVERIFY(q.ApplyQuery(true, false, false));
        Sheet* g = q.Grid();
        QCOMPARE(g->maxCols(), 3);
        QVERIFY(g->columnWidth(1) > 100);
        QCOMPARE(g->columnWidth(2), 1600);
        QCOMPARE(q.gridColumnOf(paid->SubColumns().at(0)), 3);

        q.SetConnection(db->connection());
        q.SetSQL("SELECT TableAreaID,TableAreaName,TableID,TableFullName,SUM(SumPaid) AS thePaid "
                 "FROM bi_Bill WHERE PeopleCount>=? GROUP BY TableAreaID,TableAreaName,TableID,"
                 "TableFullName ORDER BY TableAreaID,TableID");
        q.SetParameter(1, 3);
        q.SetKeyFields("TableAreaID,TableID");
        q.SetKeyLevel(1);
        QSignalSpy progress(&q, &ctlQuery::Progress);
        QVERIFY(q.ApplyQuery(false, true, false));
        QCOMPARE(g->maxRows(), 6);
        QCOMPARE(g->text(2, 2), QStringLiteral("小计"));
        QCOMPARE(g->text(6, 1), QStringLiteral("合计"));
        QCOMPARE(g->text(6, 3), QStringLiteral("330.25"));
        const QueryFill::RowRole roles[] = {
            QueryFill::RowRole::Data, QueryFill::RowRole::Subtotal, QueryFill::RowRole::Data,
            QueryFill::RowRole::Data, QueryFill::RowRole::Subtotal, QueryFill::RowRole::Total};
        for (int r = 1; r <= 6; ++r)
            QCOMPARE(q.rowRole(r), roles[r - 1]);
        QCOMPARE(progress.first(), (QVariantList{0, 100}));
        QCOMPARE(progress.last(), (QVariantList{100, 100}));

        // The language file's view of the columns.
        QCOMPARE(q.queryItemCount(), 3);
        QCOMPARE(q.queryItem(2)->subItem(0)->fieldText(), QStringLiteral("thePaid"));
    }

    // A condition naming a column the result lacks, a failing statement, no connection: false,
    // an empty grid and the message under it.
    void failureShowsUnderTheGrid()
    {
        ctlQuery q;
        q.Columns().Add("BillID", "单号");
        q.Columns().Add("SumPaid", "实收", "NoSuchField<>0 AND SumPaid>0", "", false, 0, true, 13);
        QVERIFY(!q.ApplyQuery(false, true, false));
        QCOMPARE(q.lastError(), QStringLiteral("查询失败：没有数据库连接"));

        q.SetConnection(db->connection());
        q.SetSQL("SELECT BillID,SumPaid FROM bi_Bill");
        QVERIFY(!q.ApplyQuery(false, true, false));
        QVERIFY(q.lastError().contains("NoSuchField"));
        QCOMPARE(q.Grid()->maxRows(), 0);
        auto* status = q.findChild<QLabel*>("lblStatus");
        QVERIFY(status && !status->isHidden());
        QCOMPARE(status->text(), q.lastError());

        q.Columns().at(1)->setCondition("");
        QVERIFY(q.ApplyQuery(false, true, false));
        QVERIFY(status->isHidden());
        QCOMPARE(q.rowRole(5), QueryFill::RowRole::Total);
        q.SetSQL("SELECT BillID,SumPaid FROM no_such_table");
        QVERIFY(!q.ApplyQuery(false, true, false));
        QVERIFY(q.lastError().startsWith("查询失败："));
        QCOMPARE(q.Grid()->maxRows(), 0);
        QCOMPARE(q.rowRole(5), QueryFill::RowRole::Data);
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
            if (q.rowRole(r) == QueryFill::RowRole::Data && q.Grid()->number(r, 4) > 1 &&
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
