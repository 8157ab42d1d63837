// The booking query and the booking report over the fixture bill_trails.sql, whose answers are
// worked out by hand in its comments and here.
#include "core/HostContext.h"
#include "framework/HostUi.h"
#include "reports/bookings/BookQuerySql.h"
#include "reports/bookings/frmBookQuery.h"
#include "reports/bookings/frmBookReport.h"
#include "screens/ctlQuery.h"
#include "screens/sheet/Sheet.h"
#include "tests/support/TestDatabase.h"

#include <QTest>

namespace {

using Criteria = QList<QPair<QString, QString>>;

template <class Screen> struct Run
{
    Screen screen;
    Sheet* grid = nullptr;
    bool ok = false;
    explicit Run(const Criteria& criteria)
    {
        screen.ShowMe();
        for (const auto& [name, value] : criteria)
            QVERIFY2(screen.applyCriterion(name, value), qPrintable(name));
        ok = screen.runRefresh();
        grid = screen.queryControl()->Grid();
    }
    QStringList column(int col) const
    {
        QStringList texts;
        for (int row = 1; row < grid->maxRows(); ++row)
            texts << grid->text(row, col);
        return texts;
    }
    // The same in sorted order, for a statement that sorts nothing.
    QStringList sorted(int col) const
    {
        QStringList texts = column(col);
        texts.sort();
        return texts;
    }
    double total(int col) const { return grid->value(grid->maxRows(), col).toDouble(); }
};

// The booking report with its print header in view.
struct OpenBookReport : frmBookReport
{
    using frmBookReport::printHeader;
};

// Arrivals on 2026-03-10, every status and meal period, plus the criteria given. The arrival
// range is the one "dtpBegin" and "dtpEnd" (--from, --to) set.
Criteria arrivingOnThe10th(const Criteria& more = {})
{
    return Criteria{{"dtpBegin", "2026-03-10"}, {"dtpEnd", "2026-03-10"}} + more;
}

} // namespace

class TestBookings : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { HostUi::setHeadless(true); }

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
            Run<frmBookQuery> run(arrivingOnThe10th());
            QVERIFY(run.ok);
            QCOMPARE(run.sorted(BookID), QStringList({"B2", "B3", "B4", "B5"}));
            QCOMPARE(run.total(People), 30.0); // 6 + 8 + 4 + 12
            QCOMPARE(run.total(Prepay), 300.0);
            QCOMPARE(run.total(Paid), 450.0);
        }
        // Each status alone: 0 valid, 1 completed, 2 cancelled.
        QCOMPARE(Run<frmBookQuery>(arrivingOnThe10th({{"optBook_0", "1"}})).column(BookID),
                 QStringList({"B4"}));
        QCOMPARE(Run<frmBookQuery>(arrivingOnThe10th({{"optBook_1", "1"}})).sorted(BookID),
                 QStringList({"B2", "B5"}));
        QCOMPARE(Run<frmBookQuery>(arrivingOnThe10th({{"optBook_2", "1"}})).column(BookID),
                 QStringList({"B3"}));
        // Sorted by guests, descending.
        QCOMPARE(Run<frmBookQuery>(arrivingOnThe10th({{"cboOrderBy", "#8"}, {"optOrderBy_1", "1"}}))
                     .column(BookID),
                 QStringList({"B5", "B3", "B2", "B4"}));
        // The lunch alone; type and person in charge.
        QCOMPARE(Run<frmBookQuery>(arrivingOnThe10th({{"chkPeriod_2", "0"}})).column(BookID),
                 QStringList({"B2"}));
        QCOMPARE(Run<frmBookQuery>(arrivingOnThe10th({{"cboBookType", "家宴"}})).column(BookID),
                 QStringList({"B2"}));
        QCOMPARE(Run<frmBookQuery>(arrivingOnThe10th({{"cboCreatePerson", "张三"}})).sorted(BookID),
                 QStringList({"B3", "B5"}));
        // Neither range: every date. The booking range alone: booked on the 10th, B4. Both,
        // bound in that order: arriving on the 10th and booked from the 5th to the 9th.
        QCOMPARE(Run<frmBookQuery>(Criteria{{"chkByDate_0", "0"}}).column(BookID).size(), 5);
        const Criteria booked10th{{"chkByDate_0", "0"},
                                  {"chkByDate_1", "1"},
                                  {"dtpBegin_1", "2026-03-10"},
                                  {"dtpEnd_1", "2026-03-10"}};
        QCOMPARE(Run<frmBookQuery>(booked10th).column(BookID), QStringList({"B4"}));
        QCOMPARE(Run<frmBookQuery>(arrivingOnThe10th({{"chkByDate_1", "1"},
                                                      {"dtpBegin_1", "2026-03-05"},
                                                      {"dtpEnd_1", "2026-03-09"}}))
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
            Run<frmBookQuery> run(arrivingOnThe10th({{"chkPeriod_0", "0"}}));
            QVERIFY(!run.ok && run.screen.isEnabled());
            QCOMPARE(HostUi::lastHeadlessMessage(),
                     QString("请选择要统计的餐段，至少必须选择一个餐段！"));
        }
        BookQueryCriteria c;
        c.periods = {"晚'餐"};
        c.bookType = "x'--";
        QCOMPARE(BookQuerySql(c), QString(" SELECT *  FROM tb_Book  WHERE 1=1  AND ( 1<>1  OR "
                                          "Period = '晚''餐') AND BookType = 'x''--'"));
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

QTEST_MAIN(TestBookings)
#include "tst_bookings.moc"
