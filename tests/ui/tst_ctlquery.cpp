// What only the query control does over its fill (QueryFill, tested on its own): laying out
// and widening its grid, running the SQL on its connection, the Progress signal, the row roles
// of its grid, the language file's view of its columns and failures shown under the grid.
// Fixture: fixtures/query_fill.sql.
#include "db/Recordset.h"
#include "db/Statement.h"
#include "query/QueryColumn.h"
#include "sheet/Sheet.h"
#include "sheet/SheetView.h"
#include "tests/support/TestDatabase.h"
#include "ui/ctlQuery.h"

#include <QApplication>
#include <QLabel>
#include <QLocale>
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

    // A large result read on the reader thread fills the grid exactly as reading it here does:
    // every cell, row role and decimal count, through key folding and subtotals, with texts
    // that repeat (kept by id), texts that mostly differ (sent with each batch), NULLs and a
    // column whose texts turn from repeating to differing midway.
    void readerThreadFillsAsReadingHere()
    {
        TestDatabase big("query_fill.sql");
        big.run("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 30000) "
                "INSERT INTO bi_Bill (BillID, TableAreaID, TableAreaName, TableFullName, "
                "PeopleCount, SumOfConsume, SumPaid, SumInCash, CheckOutNull, CreatePerson) "
                "SELECT printf('X%05d', i), 'A' || (i / 1000), '区' || (i % 7), "
                "CASE WHEN i % 11 = 0 THEN NULL ELSE '台' || (i % 13) END, i % 9, i * 0.25, "
                "i * 0.5, i % 3, i % 17 = 0, CASE WHEN i < 12000 THEN '甲' ELSE 'p' || i END "
                "FROM n");
        auto define = [](QueryColumns& cols) {
            cols.Add("TableAreaID", "区号", "", "", false, 0, false, 1, 600);
            cols.Add("BillID", "单号", "", "", false, 0, false, 1, 900);
            cols.Add("TableAreaName", "区", "", "", false, 0, false, 1, 600);
            cols.Add("TableFullName", "台", "", "", false, 0, false, 1, 600);
            cols.Add("CreatePerson", "开台", "", "", false, 0, false, 1, 600);
            cols.Add("PeopleCount", "人数", "", "", false, 0, true, 13, 600);
            cols.Add("SumOfConsume", "消费", "CheckOutNull=0", "", false, 0, true, 13, 900);
            cols.Add("SumPaid-SumInCash|Other", "其他", "CheckOutNull=0", "", false, 0, true, 13);
        };
        const QString sql = "SELECT * FROM bi_Bill ORDER BY TableAreaID, BillID";
        ctlQuery q;
        define(q.Columns());
        q.SetConnection(big.connection());
        q.SetSQL(sql);
        q.SetKeyFields("TableAreaID,BillID");
        q.SetKeyLevel(1);
        QVERIFY(q.ApplyQuery(true, true, false));

        QueryColumns columns;
        define(columns);
        Sheet here;
        QueryFill fill(QueryFill::layOut(here, columns), ctlQuery::fillTexts());
        fill.setKeyFields({"TableAreaID", "BillID"});
        fill.setKeyLevel(1);
        QVERIFY(fill.fill(*big.connection()->execute(sql), here));
        const Sheet& g = *q.Grid();
        QCOMPARE(g.maxRows(), here.maxRows());
        QVERIFY(g.maxRows() > 30000);
        for (int r = 1; r <= g.maxRows(); ++r) {
            QCOMPARE(q.rowRole(r), fill.rowRole(r));
            for (int c = 1; c <= g.maxCols(); ++c)
                if (g.text(r, c) != here.text(r, c) || g.value(r, c) != here.value(r, c))
                    QFAIL(qPrintable(QString("row %1 col %2: %3 / %4")
                                         .arg(r)
                                         .arg(c)
                                         .arg(g.text(r, c), here.text(r, c))));
        }
        QCOMPARE(g.columnDecimals(6), 0);
        QCOMPARE(g.columnDecimals(7), 2);
    }

    // Esc while a long result loads stops it: records read were reported while it loaded (no
    // percentage: SQLite does not say how many there are) and the rows read showed meanwhile;
    // the grid keeps them under a partial totals row (italic, not the bold totals of a whole
    // result), and lastError says how many records it holds (for the screen's status line; no
    // second message under the grid). Closing the window stops a load the same way; the next
    // run is whole.
    void escStopsALongLoad()
    {
        TestDatabase big("query_fill.sql");
        big.run("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 400000) "
                "INSERT INTO bi_Bill (BillID, SumPaid) SELECT printf('X%06d', i), 1 FROM n");
        QWidget window;
        auto* q = new ctlQuery(&window);
        q->Columns().Add("BillID", "单号");
        q->Columns().Add("SumPaid", "实收", "", "", false, 0, true, 13);
        q->SetConnection(big.connection());
        q->SetSQL("SELECT BillID, SumPaid FROM bi_Bill ORDER BY BillID");
        q->setProgressInterval(0); // rows arrive before the end however fast the machine
        window.show();
        int shown = 0;
        enum
        {
            Esc,
            Close,
            None
        } how = Esc;
        connect(q, &ctlQuery::RowsRead, q, [&](qint64 records, qint64 total) {
            if (records > 0 && total == -1 && shown == 0 && how != None) {
                shown = q->View()->model()->rowCount();
                if (how == Esc)
                    QTest::keyClick(&window, Qt::Key_Escape);
                else
                    window.close();
            }
        });
        QSignalSpy progress(q, &ctlQuery::Progress);
        for (auto stopBy : {Esc, Close}) {
            how = stopBy;
            shown = 0;
            progress.clear();
            QVERIFY(!q->ApplyQuery(false, true, false));
            QVERIFY(q->wasStopped());
            QVERIFY(shown > 0);
            QCOMPARE(progress.size(), 1);
            QCOMPARE(progress.first(), (QVariantList{0, 100}));
            const Sheet& g = *q->Grid();
            const int rows = g.maxRows() - 1; // above the totals row
            QVERIFY2(rows >= shown && rows < 400000, qPrintable(QString::number(rows)));
            QCOMPARE(q->rowRole(rows + 1), QueryFill::RowRole::Total);
            // The fixture's four bills (418.75), then 1 a bill.
            QCOMPARE(g.number(rows + 1, 2), 418.75 + (rows - 4));
            QCOMPARE(g.text(rows + 1, 1), QStringLiteral("部分合计"));
            QVERIFY(g.effectiveStyle(rows + 1, 1).font->italic());
            QVERIFY(!g.effectiveStyle(rows + 1, 1).font->bold());
            QCOMPARE(g.text(rows, 1), QString("X%1").arg(rows - 4, 6, 10, QChar('0')));
            QCOMPARE(q->lastError(), QString("已停止：表格中是停止前读到的 %1 笔记录")
                                         .arg(QLocale(QLocale::English).toString(rows)));
            QVERIFY(q->findChild<QLabel*>("lblStatus")->isHidden());
            window.show();
        }
        how = None;
        QVERIFY(q->ApplyQuery(false, true, false));
        QVERIFY(!q->wasStopped());
        QCOMPARE(q->Grid()->maxRows(), 400005);
        QCOMPARE(q->Grid()->text(400005, 1), QStringLiteral("合计"));
        QCOMPARE(progress.last(), (QVariantList{100, 100}));

        // Esc while the compared range loads stops that load too: no compared columns, the
        // grid's own whole figures stay, and lastError says the comparison was stopped.
        q->SetSQL("SELECT BillID, SumPaid FROM bi_Bill WHERE BillID NOT LIKE 'X%' ORDER BY BillID");
        QVERIFY(q->ApplyQuery(false, true, false));
        QCOMPARE(q->Grid()->number(5, 2), 418.75);
        Sheet compared;
        std::vector<QueryFill::RowRole> roles;
        how = Esc;
        shown = 0;
        const Statement all("SELECT BillID, SumPaid FROM bi_Bill ORDER BY BillID");
        QVERIFY(!q->fillCompared(all, compared, roles));
        QVERIFY(q->wasStopped());
        QVERIFY(roles.empty());
        QCOMPARE(q->lastError(), QStringLiteral("已停止对比：表格中是本期的数字，没有对比栏"));
        QVERIFY(!q->isCompared());
        QCOMPARE(q->Grid()->maxRows(), 5);
        QCOMPARE(q->Grid()->number(5, 2), 418.75);
        how = None;
        QVERIFY(q->fillCompared(all, compared, roles));
        QCOMPARE(compared.maxRows(), 400005);
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
