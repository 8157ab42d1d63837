#include "core/HostContext.h"
#include "core/modBranch.h"
#include "core/mod_ADO.h"
#include "framework/HostUi.h"
#include "reports/bills/BillQuerySql.h"
#include "reports/bills/frmBillInfo.h"
#include "reports/bills/frmBillQuery.h"
#include "sheet/Sheet.h"
#include "sheet/SheetView.h"
#include "tests/support/TestDatabase.h"
#include "ui/ctlQuery.h"

#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QTest>

namespace {

using Criteria = QList<QPair<QString, QString>>;

// Leaf columns of the bill query grid.
enum Col
{
    BillID = 1,
    People = 4,
    Consume = 8,
    Cash = 15,
    Other = 16,
    Paid = 17,
    Count = 19
};

// Runs the bill query for 2026-03-10 with the given criteria set by control name.
struct Run
{
    frmBillQuery screen;
    Sheet* grid = nullptr;
    explicit Run(const Criteria& criteria = {})
    {
        screen.ShowMe();
        screen.applyCriterion("dtpBegin", "2026-03-10");
        screen.applyCriterion("dtpEnd", "2026-03-10");
        for (const auto& [name, value] : criteria)
            QVERIFY2(screen.applyCriterion(name, value), qPrintable(name));
        screen.runRefresh();
        grid = screen.queryControl()->Grid();
    }
    QStringList billIds() const
    {
        QStringList ids;
        for (int row = 1; row < grid->maxRows(); ++row)
            ids << grid->text(row, BillID);
        return ids;
    }
    double total(int col) const { return grid->value(grid->maxRows(), col).toDouble(); }
};

} // namespace

class TestBillQuery : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { HostUi::setHeadless(true); }

    void sortFragments()
    {
        QCOMPARE(BillQueryOrderBy(0, true), QString(" ORDER BY BillID  DESC "));
        QCOMPARE(BillQueryOrderBy(7, true), QString(" ORDER BY SumOfConsume  DESC  ,BillID "));
        QCOMPARE(BillQueryOrderBy(16, false), QString(" ORDER BY PrintCount  ,BillID "));
        QCOMPARE(BillQueryOrderBy(17, false), QString());
        // Typed texts stay inside their literal.
        BillQueryCriteria c;
        c.shiftId = "  x' OR 1=1 --  ";
        QVERIFY(BillQueryWhereTail(c).text().contains(" AND ShiftID='x'' OR 1=1 --' "));
    }

    void billsOfOneDay()
    {
        TestDatabase db("bill_query.sql");
        db.install();
        hostContext().TrueDataAllowed = false;
        Run run;
        // The whole day, deleted bills left out; one row per bill plus the totals row.
        QCOMPARE(run.billIds(), QStringList({"Q1", "Q2", "Q3", "Q7"}));
        // The zero-settled Q3 is listed with blank amounts that count in no total.
        QVERIFY(run.grid->isEmpty(3, Paid));
        QVERIFY(run.grid->isEmpty(3, People));
        QCOMPARE(run.total(Paid), 798.0);
        QCOMPARE(run.total(Cash), 600.0);
        QCOMPARE(run.total(Other), 198.0);
        QCOMPARE(run.total(People), 7.0);
        // Settled twice: red; the others and the totals row keep the default colour.
        QCOMPARE(run.grid->effectiveStyle(2, BillID).foreColor, QColor(255, 0, 0));
        QVERIFY(run.grid->effectiveStyle(1, BillID).foreColor != QColor(255, 0, 0));
        QVERIFY(run.grid->effectiveStyle(run.grid->maxRows(), Count).foreColor !=
                QColor(255, 0, 0));
    }

    void zeroSettledOnly()
    {
        TestDatabase db("bill_query.sql");
        db.install();
        Run run(Criteria{{"chkCheckOutNull", "1"}});
        QCOMPARE(run.billIds(), QStringList({"Q3"}));
        QCOMPARE(run.total(Consume), 80.0);
        QCOMPARE(run.grid->value(1, People).toDouble(), 1.0);
    }

    void typedTextsWithQuotes()
    {
        TestDatabase db("bill_query.sql");
        db.install();
        {
            Run run(Criteria{{"cboShiftID", "  S'1 "}});
            QCOMPARE(run.billIds(), QStringList({"Q2"}));
        }
        {
            Run run(Criteria{{"cboTableName", "B'2"}});
            QCOMPARE(run.billIds(), QStringList({"Q2"}));
        }
        {
            // Top-ups left out while that very table is chosen: nothing.
            Run run(Criteria{{"chkSaving", "1"}, {"cboTableName", "会员卡充值"}});
            QCOMPARE(run.billIds(), QStringList());
        }
    }

    void branchOutsideTheUsersBranches()
    {
        // The user may see 北京店 only; the branch combo lists it alone.
        TestDatabase db("bill_query.sql");
        db.run("INSERT INTO rpt_dd_Branch (BranchID, BranchName, AreaID, AreaName) VALUES "
               "('01','北京店','A','华北'),('02','上海店','B','华东');"
               "INSERT INTO rpt_pv_Branch (UserID, BranchID) VALUES ('mgr','01')");
        db.install();
        hostContext().UserID = "mgr";
        {
            Run run(Criteria{{"cboBranch", "北京店"}});
            QCOMPARE(run.billIds(), QStringList({"Q1", "Q2"}));
        }
        {
            // Another branch's name typed over the allowed choice: refused, nothing listed.
            Run run(Criteria{{"cboBranch", "北京店"}, {"cboBranch", "上海店"}});
            QCOMPARE(run.billIds().join(QString()), QString());
            QVERIFY(HostUi::lastHeadlessMessage().contains("上海店"));
        }
        {
            // Even a name that reaches the statement is held to the user's branches.
            BillQueryCriteria c;
            c.range = {QDate(2026, 3, 10), QDate(2026, 3, 10)};
            c.branch.kind = BranchChoice::One;
            c.branch.name = "上海店";
            c.branch.privileged = PrivilegedBranchIds();
            const Statement s =
                BranchScope({BillQueryBranch}, c.branch).fill(BillQueryStatement(0, c));
            QVERIFY(ExecuteRows(s.text(), s.parameters()).isEmpty());
        }
        hostContext().UserID.clear();
    }

    void doubleClickOnAnyCellOpensTheBill()
    {
        TestDatabase db("bill_query.sql");
        db.install();
        Run run;
        SheetView* view = run.screen.queryControl()->View();
        run.screen.show();
        for (int col = 0; col < run.grid->maxCols(); ++col) {
            view->scrollTo(view->model()->index(1, col));
            const QPoint at = view->visualRect(view->model()->index(1, col)).center();
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
            auto* info = run.screen.window()->findChild<frmBillInfo*>();
            for (QWidget* w : QApplication::topLevelWidgets())
                if (!info)
                    info = qobject_cast<frmBillInfo*>(w);
            QVERIFY2(info && info->isVisible(), qPrintable(QString::number(col + 1)));
            QCOMPARE(info->billId(), QString("Q2"));
            delete info;
        }
    }

    // A load stopped part way (Esc, here stopLoad from the rows-read report) keeps the rows read:
    // the status line says so once, caption and print header say the report is partial, the grid
    // ends in a partial totals row over the rows read, and bills settled twice among them are
    // red. While it loads the status line counts the records read and the bar shows only that
    // work goes on (the total is not known). The next whole load is a whole report again.
    void stoppedLoadIsMarkedPartial()
    {
        TestDatabase db("bill_query.sql");
        // 400,000 more bills that day, 1.00 paid each; every seventh settled twice.
        db.run("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 400000) "
               "INSERT INTO bi_Bill (BillID, BillDate, SumOfConsume, SumToPay, SumPaid, SumInCash, "
               "PrintCount, CheckOutNull, IsDeleted) SELECT printf('X%06d', i), "
               "'2026-03-10 10:00:00', 1, 1, 1, 1, CASE WHEN i % 7 = 0 THEN 2 ELSE 1 END, 0, 0 "
               "FROM n");
        db.install();
        frmBillQuery screen;
        screen.ShowMe();
        screen.applyCriterion("dtpBegin", "2026-03-10");
        screen.applyCriterion("dtpEnd", "2026-03-10");
        ctlQuery* control = screen.queryControl();
        control->setProgressInterval(0); // rows arrive before the end however fast the machine
        auto* status = screen.findChild<QLabel*>("StatusBar1_Panel1");
        auto* bar = screen.findChild<QProgressBar*>("ProgressBar1");
        QString whileLoading;
        bool busy = false;
        int shownWhileLoading = 0;
        bool stop = true;
        connect(control, &ctlQuery::RowsRead, control, [&](qint64 records, qint64 total) {
            if (records == 0 || !stop || !whileLoading.isEmpty())
                return;
            QCOMPARE(total, -1);
            whileLoading = status->text();
            busy = bar->maximum() == 0;
            shownWhileLoading = control->View()->model()->rowCount();
            control->stopLoad();
        });
        QVERIFY(!screen.runRefresh());
        QVERIFY(whileLoading.startsWith("正在生成报表... 已读取 "));
        QVERIFY(whileLoading.endsWith(" 笔记录"));
        QVERIFY(busy);
        QVERIFY(shownWhileLoading > 0); // rows show while they come

        Sheet* grid = control->Grid();
        const int total = grid->maxRows();
        const int rows = total - 1;
        QVERIFY2(rows >= 1024 && rows < 400004, qPrintable(QString::number(rows)));
        QCOMPARE(status->text(), QString("已停止：表格中是停止前读到的 %1 笔记录")
                                     .arg(QLocale(QLocale::English).toString(rows)));
        QVERIFY(control->findChild<QLabel*>("lblStatus")->isHidden()); // said once
        QCOMPARE(screen.windowTitle(), QString("历史账单查询（已停止，不完整）"));
        QCOMPARE(grid->text(total, BillID), QString("部分合计"));
        QVERIFY(grid->effectiveStyle(total, BillID).font->italic());
        QVERIFY(!grid->effectiveStyle(total, BillID).font->bold());
        // Q1, Q2, Q3, Q7 (798.00 paid), then the new bills in order, 1.00 each.
        QCOMPARE(grid->text(rows, BillID), QString("X%1").arg(rows - 4, 6, 10, QChar('0')));
        QCOMPARE(grid->value(total, Paid).toDouble(), 798.0 + (rows - 4));
        // Q2 and X000007 (row 11) were settled twice, X000008 once.
        QCOMPARE(grid->effectiveStyle(2, BillID).foreColor, QColor(255, 0, 0));
        QCOMPARE(grid->effectiveStyle(11, BillID).foreColor, QColor(255, 0, 0));
        QVERIFY(grid->effectiveStyle(12, BillID).foreColor != QColor(255, 0, 0));
        QVERIFY(screen.exportGrid(QDir::temp().filePath("partial-bills.txt")));
        QVERIFY(grid->printSettings().header.contains("/f1/c历史账单查询（已停止，不完整）/n"));

        stop = false;
        QVERIFY(screen.runRefresh());
        QCOMPARE(grid->maxRows(), 400005); // Q1, Q2, Q3, Q7, the new bills and the totals
        QCOMPARE(screen.windowTitle(), QString("历史账单查询"));
        QCOMPARE(grid->text(400005, BillID), QString("合计"));
        QVERIFY(grid->effectiveStyle(400005, BillID).font->bold());
        QCOMPARE(status->text(), QString("报表已经生成。"));
    }

    void sortedDescendingBySumPaid()
    {
        TestDatabase db("bill_query.sql");
        db.install();
        Run run(Criteria{{"cboOrderBy", "#13"}, {"optOrderBy_1", "1"}});
        QCOMPARE(run.billIds(), QStringList({"Q7", "Q1", "Q2", "Q3"}));
    }
};

QTEST_MAIN(TestBillQuery)
#include "tst_billquery.moc"
