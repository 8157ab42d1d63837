// The returned items, the bill operation log, the account transfers, the booking query and the
// booking report over the fixture bill_trails.sql, whose answers are worked out by hand in its
// comments and here.
#include "core/HostContext.h"
#include "framework/HostUi.h"
#include "reports/bills/BillAccountQuerySql.h"
#include "reports/bills/frmBillAccountQuery.h"
#include "reports/bills/frmBillInfo.h"
#include "reports/bills/frmBillLogQuery.h"
#include "reports/bills/frmSubBillQuery.h"
#include "reports/bookings/BookQuerySql.h"
#include "reports/bookings/frmBookQuery.h"
#include "reports/bookings/frmBookReport.h"
#include "sheet/Sheet.h"
#include "tests/support/ScreenRun.h"
#include "tests/support/TestDatabase.h"
#include "ui/ctlQuery.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <QToolBar>

namespace {

// A screen refreshed with the given criteria, whose bill can be opened.
template <class Screen> struct Run : ScreenRun<Screen>
{
    using ScreenRun<Screen>::ScreenRun;
    using ScreenRun<Screen>::grid;
    using ScreenRun<Screen>::screen;
    // Opens the bill of a row as "Open" does; the bill detail window it showed, if any.
    frmBillInfo* open(int row)
    {
        grid->setActiveCell(row, 1);
        screen.template findChild<QToolBar*>("tlbMain")
            ->template findChild<QAction*>("Open")
            ->trigger();
        QCoreApplication::processEvents();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* info = qobject_cast<frmBillInfo*>(w); info && info->isVisible())
                return info;
        return nullptr;
    }
};

// The booking report with its print header in view.
struct OpenBookReport : frmBookReport
{
    using frmBookReport::printHeader;
};

} // namespace

class TestBillTrails : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { HostUi::setHeadless(true); }

    void returnedItems()
    {
        TestDatabase db("bill_trails.sql");
        db.install();
        hostContext().TrueDataAllowed = false;
        enum
        {
            BillID = 1,
            MenuID = 3,
            Person = 7,
            Amount = 8,
            Price = 9,
            Value = 10,
            Reason = 13
        };
        {
            // R1's two returns of one line: 1 + 2 of 宫保鸡丁 at 38. R1-2's change of another
            // kind, the zero-settled R2, the deleted R3 and R4 of the next day stay out.
            Run<frmSubBillQuery> run;
            QCOMPARE(run.column(BillID), QStringList({"R1", "R1"}));
            QCOMPARE(run.column(MenuID), QStringList({"1101", "1101"}));
            QCOMPARE(run.total(Amount), 3.0);
            QCOMPARE(run.total(Price), 76.0); // the unit price of each row, summed as listed
            QCOMPARE(run.total(Value), 114.0);
            QVERIFY(run.column(Person).contains("李四"));
            // Its bill opens on a double click.
            frmBillInfo* info = run.open(1);
            QVERIFY(info);
            QCOMPARE(info->billId(), QString("R1"));
            delete info;
        }
        {
            // A reason matches the remarks that contain it: 上错菜 both, 客人不要 the second.
            Run<frmSubBillQuery> run(Criteria{{"cboReason", "上错菜"}});
            QCOMPARE(run.total(Amount), 3.0);
            Run<frmSubBillQuery> other(Criteria{{"cboReason", "客人不要"}});
            QCOMPARE(other.column(Reason), QStringList({"客人不要，上错菜了"}));
            QCOMPARE(other.total(Value), 76.0);
        }
        {
            // Deleted bills when asked for: R3's 1 beer at 12 by 王'五.
            hostContext().TrueDataAllowed = true;
            Run<frmSubBillQuery> run(
                Criteria{{"cboReason", "客人不要"}, {"cboCreatePerson", "王'五"}});
            hostContext().TrueDataAllowed = false;
            QCOMPARE(run.column(BillID), QStringList({"R3"}));
            QCOMPARE(run.total(Value), 12.0);
        }
        {
            // The menu text: a number is a code prefix, other text a part of the name.
            QCOMPARE(Run<frmSubBillQuery>(Criteria{{"cboMenuID", " 11 "}}).total(Amount), 3.0);
            QCOMPARE(Run<frmSubBillQuery>(Criteria{{"cboMenuID", "21"}}).column(BillID),
                     QStringList());
            QCOMPARE(Run<frmSubBillQuery>(Criteria{{"cboMenuID", "鸡丁"}}).total(Amount), 3.0);
            QCOMPARE(Run<frmSubBillQuery>(Criteria{{"cboMenuID", "1101a"}}).column(BillID),
                     QStringList());
            // The department type restricts the menu types offered and the rows.
            Run<frmSubBillQuery> run(
                Criteria{{"cboDepartTypes", "酒水"}, {"cboMenuTypes", "酒水"}});
            QCOMPARE(run.screen.template findChild<QComboBox*>("cboMenuTypes")->count(), 2);
            QCOMPARE(run.column(BillID), QStringList());
        }
    }

    void operationLog()
    {
        TestDatabase db("bill_trails.sql");
        db.install();
        enum
        {
            BillID = 1,
            Time = 5,
            Kind = 6
        };
        Run<frmBillLogQuery> run;
        // Both logs by time; the end bound is the midnight after the day, included.
        QCOMPARE(run.column(BillID), QStringList({"R1", "OPEN1", "R1"}));
        QCOMPARE(run.column(Time), QStringList({"2026-03-10 12:30:00", "2026-03-10 19:00:00",
                                                "2026-03-11 00:00:00"}));
        // The still-open table opens nothing and says nothing; a settled bill opens.
        const QString before = HostUi::lastHeadlessMessage();
        QVERIFY(!run.open(2));
        QCOMPARE(HostUi::lastHeadlessMessage(), before);
        QVERIFY(run.screen.isEnabled());
        frmBillInfo* info = run.open(3);
        QVERIFY(info);
        QCOMPARE(info->billId(), QString("R1"));
        delete info;

        // One kind: the table transfers of the day (L4 was the evening before).
        Run<frmBillLogQuery> transfers(Criteria{{"cboLogType", "#2"}});
        QCOMPARE(transfers.column(BillID), QStringList({"OPEN1"}));
        QCOMPARE(transfers.column(Kind), QStringList({"转台"}));
        Run<frmBillLogQuery> reverse(Criteria{{"cboLogType", "#7"}});
        QCOMPARE(reverse.column(Time), QStringList({"2026-03-11 00:00:00"}));
    }

    void accountTransfers()
    {
        TestDatabase db("bill_trails.sql");
        db.install();
        {
            // By bill number: BK1 200 charged; R1 split over two tenders (100 charged, 50.50
            // to a card).
            Run<frmBillAccountQuery> run;
            QCOMPARE(run.column(1), QStringList({"BK1", "R1", "R1"}));
            QStringList tenders = run.column(3).mid(1);
            tenders.sort();
            QCOMPARE(tenders, QStringList({"会员卡", "挂账"}));
            QCOMPARE(run.total(6), 350.5);
        }
        {
            // By kind and tender, by tender code: the card 1 transfer of 50.50; the two
            // charges to 协议单位 count 2 transfers (of two bills) worth 300.
            Run<frmBillAccountQuery> run(Criteria{{"optQuery2", "1"}});
            QCOMPARE(run.column(1), QStringList({"会员卡", "协议单位"}));
            QCOMPARE(run.grid->value(2, 3).toDouble(), 2.0);
            QCOMPARE(run.grid->value(2, 4).toDouble(), 300.0);
            QCOMPARE(run.total(3), 3.0);
            QCOMPARE(run.total(4), 350.5);
        }
        // Typed texts: a bill number with blanks is searched with them; a name by any part.
        QCOMPARE(Run<frmBillAccountQuery>(Criteria{{"cboBillID", " R1 "}}).column(1),
                 QStringList());
        QCOMPARE(Run<frmBillAccountQuery>(Criteria{{"cboBillID", "R1"}}).total(6), 150.5);
        QCOMPARE(Run<frmBillAccountQuery>(Criteria{{"cboAccountName", "贸易"}}).column(1),
                 QStringList({"BK1"}));
        BillAccountQueryCriteria c;
        c.accountName = "x' OR '1'='1";
        QVERIFY(BillAccountQueryWhereTail(c).text().contains("like '%x'' OR ''1''=''1%'"));
        QCOMPARE(Run<frmBillAccountQuery>(Criteria{{"cboAccountName", c.accountName}}).column(1),
                 QStringList());
    }

    void safe()
    {
        TestDatabase db("bill_trails.sql");
        db.install();
        {
            // A reversed range is refused before anything runs.
            Run<frmSubBillQuery> run(Criteria{{"dtpBegin", "2026-03-11"}});
            QVERIFY(!run.ok);
            QCOMPARE(run.screen.lastError(), QString("结束日期不能小于开始日期，请调整时间段！"));
        }
        db.run("DROP TABLE bi_SubBill; DROP TABLE bi_TempBillLog;");
        // A missing table: the screen says why and is idle again, with no rows.
        Run<frmSubBillQuery> returns;
        QVERIFY(!returns.ok && !returns.screen.lastError().isEmpty());
        QVERIFY(returns.screen.isEnabled() && !returns.screen.isRunning());
        Run<frmBillLogQuery> log;
        QVERIFY(!log.ok && log.screen.isEnabled());
        QVERIFY(log.grid->maxRows() <= 1 || log.grid->text(1, 1).isEmpty());
    }

    void bookingQuery()
    {
        TestDatabase db("bill_trails.sql");
        db.install();
        enum
        {
            BookID = 1,
            People = 8,
            Prepay = 9,
            Paid = 10
        };
        {
            // Arriving on the 10th: B2 (午餐), B3, B4, B5 (晚餐); B1 comes on the 12th.
            Run<frmBookQuery> run;
            QVERIFY(run.ok);
            QCOMPARE(run.sorted(BookID), QStringList({"B2", "B3", "B4", "B5"}));
            QCOMPARE(run.total(People), 30.0); // 6 + 8 + 4 + 12
            QCOMPARE(run.total(Prepay), 300.0);
            QCOMPARE(run.total(Paid), 450.0);
        }
        // Each status alone: 0 valid, 1 completed, 2 cancelled.
        QCOMPARE(Run<frmBookQuery>(Criteria{{"optBook_0", "1"}}).column(BookID),
                 QStringList({"B4"}));
        QCOMPARE(Run<frmBookQuery>(Criteria{{"optBook_1", "1"}}).sorted(BookID),
                 QStringList({"B2", "B5"}));
        QCOMPARE(Run<frmBookQuery>(Criteria{{"optBook_2", "1"}}).column(BookID),
                 QStringList({"B3"}));
        // Sorted by guests, descending.
        QCOMPARE(
            Run<frmBookQuery>(Criteria{{"cboOrderBy", "#8"}, {"optOrderBy_1", "1"}}).column(BookID),
            QStringList({"B5", "B3", "B2", "B4"}));
        // The lunch alone; type and person in charge.
        QCOMPARE(Run<frmBookQuery>(Criteria{{"chkPeriod_2", "0"}}).column(BookID),
                 QStringList({"B2"}));
        QCOMPARE(Run<frmBookQuery>(Criteria{{"cboBookType", "家宴"}}).column(BookID),
                 QStringList({"B2"}));
        QCOMPARE(Run<frmBookQuery>(Criteria{{"cboCreatePerson", "张三"}}).sorted(BookID),
                 QStringList({"B3", "B5"}));
        // Neither range: every date. The booking range alone: booked on the 10th, B4. Both,
        // bound in that order: arriving on the 10th and booked from the 5th to the 9th.
        QCOMPARE(Run<frmBookQuery>(Criteria{{"chkByDate_0", "0"}}).column(BookID).size(), 5);
        const Criteria booked10th{{"chkByDate_0", "0"},
                                  {"chkByDate_1", "1"},
                                  {"dtpBegin_1", "2026-03-10"},
                                  {"dtpEnd_1", "2026-03-10"}};
        QCOMPARE(Run<frmBookQuery>(booked10th).column(BookID), QStringList({"B4"}));
        QCOMPARE(Run<frmBookQuery>(Criteria{{"chkByDate_1", "1"},
                                            {"dtpBegin_1", "2026-03-05"},
                                            {"dtpEnd_1", "2026-03-09"}})
                     .sorted(BookID),
                 QStringList({"B2", "B5"}));
        {
            // A reversed range counts only when it is ticked.
            Run<frmBookQuery> unticked(Criteria{
                {"chkByDate_0", "0"}, {"dtpBegin_0", "2026-03-11"}, {"dtpEnd_0", "2026-03-10"}});
            QVERIFY(unticked.ok);
            Run<frmBookQuery> ticked(
                Criteria{{"dtpBegin_0", "2026-03-11"}, {"dtpEnd_0", "2026-03-10"}});
            QVERIFY(!ticked.ok);
            QCOMPARE(ticked.screen.lastError(),
                     QString("结束日期不能小于开始日期，请调整时间段！"));
        }
        {
            // No meal period ticked: refused with its message, idle again.
            Run<frmBookQuery> run(Criteria{{"chkPeriod_0", "0"}});
            QVERIFY(!run.ok && run.screen.isEnabled());
            QCOMPARE(HostUi::lastHeadlessMessage(),
                     QString("请选择要统计的餐段，至少必须选择一个餐段！"));
        }
        BookQueryCriteria c;
        c.periods = {"晚'餐"};
        c.bookType = "x'--";
        QCOMPARE(BookQueryStatement(0, c).text(),
                 QString(" SELECT *  FROM tb_Book  WHERE 1=1  AND ( 1<>1  OR "
                         "Period = '晚''餐') AND BookType = 'x''--'"));
    }

    // A manager of branch 01 sees only the rows of his branch on the four screens that have
    // no branch criterion; a user of both branches sees them all.
    void limitedToTheUsersBranches()
    {
        TestDatabase db("bill_trails.sql");
        db.install();
        // Branch 02 (上海店): bill X2 of the 10th with a discount logged (L5), 80 charged (A5),
        // from booking B6 (5 guests, paid 80 cash); the open bill OPEN2 on its table 901
        // transferred (T2). The still-open OPEN1 of the fixture is on table 102 of branch 01;
        // OPEN3 (T3) on a table of no known branch.
        db.run(R"(
            UPDATE tb_Book SET BranchID = '01';
            INSERT INTO pv_User (UserID, UserName, UserGroupID) VALUES
              ('mgr', '北京店经理', 'G3'), ('boss', '总经理', 'G1');
            INSERT INTO rpt_pv_Branch (UserID, BranchID) VALUES
              ('G1', '01'), ('G1', '02'), ('mgr', '01');
            INSERT INTO tb_TableArea (TableAreaID, TableAreaName, BranchID) VALUES
              ('H1', '大厅', '01'), ('S1', '上海大厅', '02');
            INSERT INTO tb_Table (TableID, TableName, TableAreaID) VALUES
              ('102', 'A2', 'H1'), ('901', 'S1', 'S1');
            INSERT INTO bi_Bill (BillID, OriginalID, BillDate, BillPeriod, TableName, CheckOutNull,
              IsDeleted, DiscountName, DiscountRate, SumForDiscount, SumOfInvoice, SumPaid,
              BranchID, BranchName) VALUES
              ('X2', 'B6', '2026-03-10 00:00:00', '午餐', 'S1', 0, 0, '', 1, 0, 0, 80, '02', '上海店');
            INSERT INTO bi_BillPayment (BillPaymentID, BillID, SubjectID, SubjectName, PaySum,
              SumPaid) VALUES ('P5', 'X2', '01', '现金', 80, 80);
            INSERT INTO bi_BillLog (LogID, BillID, TableID, TableName, CreatePerson, CreateTime,
              LogTypeID, LogTypeName, Remark) VALUES
              ('L5', 'X2', '901', 'S1', '钱七', '2026-03-10 12:45:00', 1, '打折', '打折:八折');
            INSERT INTO bi_TempBillLog (LogID, BillID, TableID, TableName, CreatePerson,
              CreateTime, LogTypeID, LogTypeName, Remark) VALUES
              ('T2', 'OPEN2', '901', 'S1', '钱七', '2026-03-10 19:30:00', 2, '转台', 'S2 -> S1'),
              ('T3', 'OPEN3', '999', 'X9', '钱七', '2026-03-10 20:00:00', 3, '并台', 'X8 -> X9');
            INSERT INTO bi_BillAccount (BillAccountID, BillID, BillDate, AccountType, SubjectID,
              SubjectName, AccountID, AccountName, Amount, UserID, UserName, PeriodName,
              CreateTime) VALUES ('A5', 'X2', '2026-03-10 00:00:00', '协议单位', '04', '挂账',
              'AC003', '申江贸易', 80, 'E7', '钱七', '午餐', '2026-03-10 13:30:00');
            INSERT INTO tb_Book (BookID, TableID, CreatePerson, BookPerson, BookType, ArriveTime,
              BookTime, Period, PeopleCout, Prepay, Paid, Status, BranchID) VALUES
              ('B6', '901', '钱七', '周先生', '宴请', '2026-03-10 12:00:00',
               '2026-03-08 10:00:00', '午餐', 5, 0, 80, 1, '02');
        )");
        auto signIn = [](const char* user, const char* group) {
            hostContext().UserID = user;
            hostContext().UserGroupID = group;
        };
        const Criteria day{{"dtpBegin", "2026-03-10"}, {"dtpEnd", "2026-03-10"}};

        // Every branch: every row, those of no known branch included.
        signIn("boss", "G1");
        QCOMPARE(Run<frmBillLogQuery>().column(1),
                 QStringList({"R1", "X2", "OPEN1", "OPEN2", "OPEN3", "R1"}));
        Run<frmBillAccountQuery> transfers;
        QCOMPARE(transfers.column(1), QStringList({"BK1", "R1", "R1", "X2"}));
        QCOMPARE(transfers.total(6), 430.5);
        QCOMPARE(Run<frmBookQuery>().total(8), 35.0);
        QCOMPARE(Run<frmBookReport>(day).column(1), QStringList({"BK1", "BK2", "X2"}));

        signIn("mgr", "G3");
        // The settled bills by their branch, the open one by its table's.
        QCOMPARE(Run<frmBillLogQuery>().column(1), QStringList({"R1", "OPEN1", "R1"}));
        Run<frmBillAccountQuery> own;
        QCOMPARE(own.column(1), QStringList({"BK1", "R1", "R1"}));
        QCOMPARE(own.total(6), 350.5);
        Run<frmBillAccountQuery> summed(Criteria{{"optQuery2", "1"}});
        QCOMPARE(summed.column(1), QStringList({"会员卡", "协议单位"}));
        QCOMPARE(summed.value(2, 3), 2.0);
        QCOMPARE(summed.value(2, 4), 300.0);
        Run<frmBookQuery> bookings;
        QCOMPARE(bookings.sorted(1), QStringList({"B2", "B3", "B4", "B5"}));
        QCOMPARE(bookings.total(8), 30.0);
        Run<frmBookReport> booked(day);
        QCOMPARE(booked.column(1), QStringList({"BK1", "BK2"}));
        QCOMPARE(booked.total(15), 450.0);

        // A bill of a branch the user may no longer see, opened from a list shown before: he
        // is told so and no window opens.
        signIn("boss", "G1");
        Run<frmBillAccountQuery> shown;
        db.run("DELETE FROM rpt_pv_Branch WHERE UserID = 'G1' AND BranchID = '02'");
        QVERIFY(!shown.open(4));
        QCOMPARE(HostUi::lastHeadlessMessage(),
                 QString("账单 X2 属于您无权查看的分店，不能打开。"));
        QVERIFY(shown.screen.isEnabled());
        frmBillInfo* info = shown.open(1);
        QVERIFY(info);
        QCOMPARE(info->billId(), QString("BK1"));
        delete info;
        signIn("", "");
    }

    void bookingReport()
    {
        TestDatabase db("bill_trails.sql");
        db.install();
        // Leaf columns: 7..9 the discount, 10 invoice, 11..14 现金, 银行卡, 会员卡, 挂账, 15 合计.
        enum
        {
            BillID = 1,
            Date = 2,
            Rate = 8,
            Discount = 9,
            Invoice = 10,
            Cash = 11,
            Card = 12
        };
        enum
        {
            MemberCard = 13,
            Charge = 14,
            Total = 15
        };
        const Criteria day{{"dtpBegin", "2026-03-10"}, {"dtpEnd", "2026-03-10"}};
        Run<OpenBookReport> run(day);
        QVERIFY(run.ok);
        // The booked bills only (R1 has a payment but no booking), one row each.
        QCOMPARE(run.column(BillID), QStringList({"BK1", "BK2"}));
        QCOMPARE(run.column(Date), QStringList({"2026-03-10", "2026-03-10"}));
        // BK2 paid 200 in cash and 100 by card: both on its row, 300 in all.
        QCOMPARE(run.grid->value(2, Cash).toDouble(), 200.0);
        QCOMPARE(run.grid->value(2, Card).toDouble(), 100.0);
        QVERIFY(run.grid->isEmpty(2, Charge) && run.grid->isEmpty(2, MemberCard));
        QCOMPARE(run.grid->value(2, Total).toDouble(), 300.0);
        // BK1 at 九折: 150 charged, 16.67 off, 100 invoiced.
        QCOMPARE(run.grid->value(1, Charge).toDouble(), 150.0);
        QCOMPARE(run.grid->value(1, Rate).toDouble(), 90.0); // shown as a percentage
        QVERIFY(run.grid->isEmpty(2, Rate));                 // a rate of 1 is no discount
        QCOMPARE(run.total(Cash), 200.0);
        QCOMPARE(run.total(Card), 100.0);
        QCOMPARE(run.total(Charge), 150.0);
        QCOMPARE(run.total(Total), 450.0);
        QCOMPARE(run.total(Discount), 16.67);
        QCOMPARE(run.total(Invoice), 100.0);

        QCOMPARE(Run<frmBookReport>(day + Criteria{{"cboBookPerson", "赵女士"}}).column(BillID),
                 QStringList({"BK2"}));
        QCOMPARE(Run<frmBookReport>(day + Criteria{{"cboCreatePerson", "张三"}}).column(BillID),
                 QStringList({"BK1"}));
        // A name with a quote stays inside its literal: O'Neil's booking has no bill yet.
        Run<frmBookReport> quoted(day + Criteria{{"cboBookPerson", "O'Neil"}});
        QVERIFY(quoted.ok);
        QCOMPARE(quoted.column(BillID), QStringList());

        // Without the booking table both screens say why and are idle again.
        db.run("DROP TABLE tb_Book");
        Run<frmBookReport> missing(day);
        QVERIFY(!missing.ok && !missing.screen.lastError().isEmpty());
        QVERIFY(missing.screen.isEnabled());
        Run<frmBookQuery> missingQuery(Criteria{{"chkByDate_0", "0"}});
        QVERIFY(!missingQuery.ok && missingQuery.screen.isEnabled());

        // The title centred with blanks, the range in parentheses joined by the "to" label.
        QCOMPARE(run.screen.printHeader().section("/fs2", 1),
                 QString("/f1/c  预定明细报表  /n/n/f2/c (2026-03-10 到 2026-03-10) /n/n"));
    }
};

QTEST_MAIN(TestBillTrails)
#include "tst_billtrails.moc"
