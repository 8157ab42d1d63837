// The bill summaries and the planner that answers reports from them: fixed-point sums, fresh
// after every kind of change to a bill, the verify command, and the same figures as the raw
// statements on the period query over tests/fixtures/period_reports.sql (figures
// worked out by hand from the bills described at its top) and over ranges of a demo chain.
#include "core/HostContext.h"
#include "db/Recordset.h"
#include "db/StatementLog.h"
#include "db/Summaries.h"
#include "framework/HostUi.h"
#include "query/SummaryPlanner.h"
#include "reports/bills/frmBillItemCost.h"
#include "reports/bills/frmBillItemQuery.h"
#include "reports/bills/frmSubBillQuery.h"
#include "reports/charts/frmMenuLine.h"
#include "reports/charts/frmTrendLine.h"
#include "reports/members/frmMemberConsume.h"
#include "reports/members/frmMemberDiscountQuery.h"
#include "reports/members/frmPaymentMember.h"
#include "reports/periods/frmDailyReport.h"
#include "reports/periods/frmDepartQuery.h"
#include "reports/periods/frmDepartQueryTable.h"
#include "reports/periods/frmHourReport.h"
#include "reports/periods/frmMenuEngineering.h"
#include "reports/periods/frmMonthReport.h"
#include "reports/periods/frmPaymentQuery.h"
#include "reports/periods/frmPeriodQuery.h"
#include "reports/periods/frmTableReport.h"
#include "sheet/Sheet.h"
#include "tests/support/TestDatabase.h"
#include "ui/ctlQuery.h"

#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <type_traits>

namespace {

using Criteria = QList<QPair<QString, QString>>;

// Every cell of the grid after a refresh over begin..end with the criteria set by name, one
// line a row.
template <class Screen>
QStringList cells(Screen& screen, const Criteria& criteria, const QString& begin,
                  const QString& end)
{
    screen.applyCriterion("dtpBegin", begin);
    screen.applyCriterion("dtpEnd", end);
    for (const auto& [name, value] : criteria)
        if (!screen.applyCriterion(name, value))
            return {"cannot set " + name};
    if (!screen.runRefresh())
        return {"refresh failed"};
    QStringList lines;
    const Sheet* grid = screen.grid();
    for (int row = 1; row <= grid->maxRows(); ++row) {
        QStringList line;
        for (int col = 1; col <= grid->maxCols(); ++col)
            line << grid->text(row, col);
        lines << line.join('|');
    }
    return lines;
}

// The period query's figures of 宫保鸡丁 over 2026-03-10 (or over the whole of March, from the
// month summaries), all periods together: quantity, amount, amount after discount.
QString kungPao(frmPeriodQuery& screen, bool march = false)
{
    for (const QString& line : cells(screen, {{"optQuery1", "1"}},
                                     QString::fromLatin1(march ? "2026-03-01" : "2026-03-10"),
                                     QString::fromLatin1(march ? "2026-03-31" : "2026-03-10")))
        if (line.startsWith(QLatin1String("1101|")))
            return line.section('|', -3);
    return QStringLiteral("none");
}

// The same over March, refreshed first after a change, then over 2026-03-10: "march / day".
QString marchAndDay(frmPeriodQuery& screen)
{
    const QString march = kungPao(screen, true);
    return march + QStringLiteral(" / ") + kungPao(screen);
}

QVariant scalar(const Connection& c, const char* sql)
{
    auto rs = c.execute(QString::fromUtf8(sql));
    return rs->atEnd() ? QVariant() : rs->value(0);
}

} // namespace

class TestSummaries : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        HostUi::setHeadless(true);
        hostContext().UserID = "admin";
        hostContext().TrueDataAllowed = false;
    }
    void cleanup() { SummaryPlanner::setEnabled(true); }

    // A bill written, changed, reverse-settled, marked deleted and deleted a moment before a
    // refresh is in it, exactly: over its day, and over its whole month (read from the month
    // summaries, refreshed first after each change). March holds B8 besides (9 for 999).
    void freshAfterEveryChange()
    {
        TestDatabase db("period_reports.sql");
        db.install();
        const Connection& c = *db.connection();
        QVERIFY(!Summaries::installed(c));
        Summaries::install(c);
        QVERIFY(Summaries::installed(c));
        QCOMPARE(scalar(c, "SELECT COUNT(*) FROM sm_StaleDay").toInt(), 0);

        frmPeriodQuery screen;
        screen.ShowMe();
        SummaryPlanner::resetAnswered();
        // B1 2 for 76 (6 off), B3 1 for 38, B4 3 for 114; B5 is deleted, B8 another day.
        QCOMPARE(kungPao(screen), "6.00|228.00|222.00");
        QCOMPARE(SummaryPlanner::answered().fromSummaries, 1);
        QCOMPARE(SummaryPlanner::answered().raw, 0);
        QCOMPARE(SummaryPlanner::answered().fromMonths, 0);
        QCOMPARE(kungPao(screen, true), "15.00|1,227.00|1,221.00");
        QCOMPARE(SummaryPlanner::answered().fromMonths, 1);

        db.run("INSERT INTO bi_Bill (BillID, BillDate, BillPeriod, TableName, CheckOutNull, "
               "IsDeleted, BranchID, BranchName, SumOfConsume) VALUES ('F1', '2026-03-10 "
               "00:00:00', '午餐', 'A9', 0, 0, '01', '北京店', 80.5);"
               "INSERT INTO bi_BillItem (BillItemID, BillID, MenuID, MenuName, MenuTypeID, "
               "MenuTypeName, DepartTypeID, DepartTypeName, DepartID, DepartName, AmountOrder, "
               "AmountCancel, IsSentMenu, SumOfConsume, SumForDiscount) VALUES ('F1-1', 'F1', "
               "'1101', '宫保鸡丁', 'T1', '热菜', 'D1', '厨房', 'P1', '热菜间', 2, 0, 0, 80.5, "
               "0.25);");
        QCOMPARE(scalar(c, "SELECT COUNT(*) FROM sm_StaleDay").toInt(), 1);
        QCOMPARE(marchAndDay(screen), "17.00|1,307.50|1,301.25 / 8.00|308.50|302.25");
        QCOMPARE(scalar(c, "SELECT COUNT(*) FROM sm_StaleDay").toInt(), 0);

        db.run("UPDATE bi_BillItem SET AmountOrder=3, SumOfConsume=120.75 WHERE "
               "BillItemID='F1-1'");
        QCOMPARE(marchAndDay(screen), "18.00|1,347.75|1,341.50 / 9.00|348.75|342.50");

        // Reverse settlement: the settled lines kept aside, the bill reopened and emptied.
        db.run("INSERT INTO bi_UnCheckBill (UnCheckBillID, BillID, SumPaid) VALUES ('U1', 'F1', "
               "120.75);"
               "INSERT INTO bi_UnCheckBillItem (UnCheckBillID, BillItemID, BillID, MenuID, "
               "AmountOrder, SumOfConsume) SELECT 'U1', BillItemID, BillID, MenuID, AmountOrder, "
               "SumOfConsume FROM bi_BillItem WHERE BillID='F1';"
               "DELETE FROM bi_BillItem WHERE BillID='F1';"
               "UPDATE bi_Bill SET CheckOutNull=1, SumOfConsume=0 WHERE BillID='F1';");
        QCOMPARE(marchAndDay(screen), "15.00|1,227.00|1,221.00 / 6.00|228.00|222.00");

        // Settled again with one portion, then moved to another business day: gone from this one.
        db.run("INSERT INTO bi_BillItem (BillItemID, BillID, MenuID, MenuName, DepartTypeName, "
               "MenuTypeName, AmountOrder, AmountCancel, IsSentMenu, SumOfConsume, "
               "SumForDiscount) VALUES ('F1-2', 'F1', '1101', '宫保鸡丁', '厨房', '热菜', 1, 0, "
               "0, 40, 0); UPDATE bi_Bill SET CheckOutNull=0 WHERE BillID='F1';");
        QCOMPARE(marchAndDay(screen), "16.00|1,267.00|1,261.00 / 7.00|268.00|262.00");
        // Still in March.
        db.run("UPDATE bi_Bill SET BillDate='2026-03-09 00:00:00' WHERE BillID='F1'");
        QCOMPARE(marchAndDay(screen), "16.00|1,267.00|1,261.00 / 6.00|228.00|222.00");
        db.run("UPDATE bi_Bill SET BillDate='2026-03-10 00:00:00' WHERE BillID='F1'");
        QCOMPARE(marchAndDay(screen), "16.00|1,267.00|1,261.00 / 7.00|268.00|262.00");
        // Moved to February: gone from March's month rows.
        db.run("UPDATE bi_Bill SET BillDate='2026-02-27 00:00:00' WHERE BillID='F1'");
        QCOMPARE(marchAndDay(screen), "15.00|1,227.00|1,221.00 / 6.00|228.00|222.00");
        db.run("UPDATE bi_Bill SET BillDate='2026-03-10 00:00:00' WHERE BillID='F1'");
        QCOMPARE(marchAndDay(screen), "16.00|1,267.00|1,261.00 / 7.00|268.00|262.00");

        // Deleted: marked, then removed with its lines; B1 marked deleted.
        db.run("UPDATE bi_Bill SET IsDeleted=1 WHERE BillID='F1'");
        QCOMPARE(marchAndDay(screen), "15.00|1,227.00|1,221.00 / 6.00|228.00|222.00");
        db.run("DELETE FROM bi_BillItem WHERE BillID='F1'; DELETE FROM bi_Bill WHERE BillID='F1';"
               "UPDATE bi_Bill SET IsDeleted=1 WHERE BillID='B1';");
        QCOMPARE(marchAndDay(screen), "13.00|1,151.00|1,151.00 / 4.00|152.00|152.00");
        QCOMPARE(SummaryPlanner::answered().raw, 0);

        // The same figures from the bills themselves.
        SummaryPlanner::setEnabled(false);
        QCOMPARE(marchAndDay(screen), "13.00|1,151.00|1,151.00 / 4.00|152.00|152.00");
        QCOMPARE(SummaryPlanner::answered().raw, 2);
        QVERIFY(Summaries::verify(c).isEmpty());
    }

    // The verify command finds a summary that no longer matches the bills; a rebuild mends it;
    // once dropped, the reports read the bills and the tills' writes mark nothing.
    void verifyRebuildDrop()
    {
        TestDatabase db("period_reports.sql");
        db.install();
        const Connection& c = *db.connection();
        Summaries::install(c);
        QVERIFY(Summaries::verify(c).isEmpty());
        // 1101 on 2026-03-10 午餐 and 夜宵 (B1, B3) and the deleted B5 (午餐): three rows of
        // sm_ItemDay, each compared both ways.
        db.run("UPDATE sm_ItemDay SET SumOfConsume=SumOfConsume+0.01 WHERE MenuID='1101' AND "
               "BillDate='2026-03-10 00:00:00' AND BillPeriod IN ('午餐', '夜宵') ;"
               "DELETE FROM sm_PayDay WHERE SubjectID='05';"
               "DELETE FROM sm_PayMonth WHERE SubjectID='05';"
               "UPDATE sm_BillMonth SET PeopleCount=PeopleCount+1 WHERE BranchID='02'");
        // The months are checked against the bills, not their days: B2 is 上海店's only bill.
        QCOMPARE(Summaries::verify(c),
                 QStringList({"sm_BillMonth: 2 rows differ", "sm_ItemDay: 6 rows differ",
                              "sm_PayDay: 1 rows differ", "sm_PayMonth: 1 rows differ"}));
        Summaries::rebuildAll(c);
        QVERIFY(Summaries::verify(c).isEmpty());

        // Item lines summed by department read the department summary, a statement naming the
        // dish anywhere (its cost price here) the items' summary.
        const QString byDepart =
            " SELECT BL.BillDate, BI.DepartTypeID, SUM(BI.SumOfConsume) FROM bi_Bill AS "
            "BL,bi_BillItem AS BI WHERE BL.BillID=BI.BillID AND BL.BillDate>=? AND "
            "BL.BillDate<? GROUP BY BL.BillDate, BI.DepartTypeID";
        const QVariantList march{QDate(2026, 3, 10), QDate(2026, 3, 11)};
        const auto from = [&](const QString& sql) {
            const QString text = SummaryPlanner::answerItems(c, true, Statement(sql, march)).text();
            return text.section(" FROM ", 1).section(' ', 0, 0);
        };
        QCOMPARE(from(byDepart), "sm_DepartDay");
        QCOMPARE(from(QString(byDepart).replace("SUM(BI.SumOfConsume)",
                                                "SUM(BI.AmountOrder*BI.CostPrice)")),
                 "sm_ItemDay");
        // Per waiter, without the dish and with it; the bill's opener (BL.CreatePerson) is no
        // line's waiter: the bills answer it.
        const QString byWaiter = QString(byDepart).replace("BI.DepartTypeID", "BI.CreatePerson");
        QCOMPARE(from(byWaiter), "sm_WaiterDay");
        QCOMPARE(from(QString(byWaiter).replace("BL.BillDate, BI.CreatePerson",
                                                "BI.MenuID, BI.CreatePerson")),
                 "sm_WaiterItemDay");
        QCOMPARE(from(QString(byWaiter).replace("BI.CreatePerson", "BL.CreatePerson")), "bi_Bill");
        // The kitchen's food on 2026-03-10 by both (figures of the fixture's B1, B3 and B5).
        const Statement fast = SummaryPlanner::answerItems(c, true, Statement(byDepart, march));
        auto rs = c.execute(fast.text(), fast.parameters());
        QStringList sums;
        for (; !rs->atEnd(); rs->moveNext())
            sums << rs->value(1).toString() + '=' + QString::number(rs->value(2).toDouble());
        sums.sort();
        QCOMPARE(sums, QStringList({"D1=554", "D2=60"}));

        Summaries::drop(c);
        QVERIFY(!Summaries::installed(c));
        QCOMPARE(scalar(c, "SELECT COUNT(*) FROM sqlite_master WHERE left(name, 3)='sm_'").toInt(),
                 0);
        db.run("UPDATE bi_Bill SET IsDeleted=0 WHERE BillID='B5'");
        frmPeriodQuery screen;
        screen.ShowMe();
        SummaryPlanner::resetAnswered();
        QCOMPARE(kungPao(screen), "11.00|418.00|412.00");
        QCOMPARE(SummaryPlanner::answered().fromSummaries, 0);
        QCOMPARE(SummaryPlanner::answered().raw, 1);
    }

    // The commission per waiter prices each waiter's lines by their cost price: the same from
    // the summaries as from the bills, and fresh after a line changes hands.
    void commissionByWaiter()
    {
        TestDatabase db("period_reports.sql");
        db.install();
        db.run("UPDATE bi_BillItem SET CreatePersonID='W1', CreatePerson='小王' WHERE "
               "BillItemID IN ('B1-1', 'B1-2', 'B3-1');"
               "UPDATE bi_BillItem SET CreatePersonID='W2', CreatePerson='小李' WHERE "
               "CreatePersonID IS NULL;"
               "UPDATE bi_BillItem SET MenuUnitID=MenuID, CostPrice=CASE MenuID WHEN '1101' THEN 5 "
               "WHEN '1102' "
               "THEN 8 ELSE 1.5 END");
        Summaries::install(*db.connection());
        frmBillItemCost screen;
        screen.ShowMe();
        const auto waiters = [&] {
            return cells(screen, {{"optQuery4", "1"}}, "2026-03-10", "2026-03-10");
        };
        // 小王: B1's 2 宫保鸡丁 (76, cost 10) and 3 net 青岛啤酒 (36, 4.5), B3's 宫保鸡丁 (38, 5).
        // 小李: B2's 水煮鱼 (68, 8) and 2 青岛啤酒 (24, 3), B4's 3 宫保鸡丁 (114, 15). B1's
        // 水煮鱼 is a gift (gifts are left out unless asked for), B5 is deleted.
        const QStringList expected{"小王|6.00|150.00|19.50", "小李|6.00|206.00|26.00",
                                   "合计|12.00|356.00|45.50"};
        SummaryPlanner::resetAnswered();
        QCOMPARE(waiters(), expected);
        QCOMPARE(SummaryPlanner::answered().fromSummaries, 1);
        SummaryPlanner::setEnabled(false);
        QCOMPARE(waiters(), expected);
        SummaryPlanner::setEnabled(true);
        // B3's 宫保鸡丁 was 小李's.
        db.run("UPDATE bi_BillItem SET CreatePersonID='W2', CreatePerson='小李' WHERE "
               "BillItemID='B3-1'");
        QCOMPARE(waiters(), QStringList({"小王|5.00|112.00|14.50", "小李|7.00|244.00|31.00",
                                         "合计|12.00|356.00|45.50"}));
    }

    // The returned items are read from the returns' summary: the same rows as from every bill of
    // the range, fresh after a return is written, its bill moved to another day, its line moved
    // to another bill, and the return deleted.
    void returnsFromTheirBills()
    {
        TestDatabase db("period_reports.sql");
        db.install();
        // 1 青岛啤酒 of B1 returned (and a line moved to another table, type 1: no return); B7's
        // on 2026-03-09.
        db.run("UPDATE bi_BillItem SET MenuPrice=12 WHERE MenuID='2101';"
               "INSERT INTO bi_SubBill (SubBillID, BillID, BillItemID, SubBillType, MenuAmount, "
               "CreatePerson, Remark) VALUES ('S1', 'B1', 'B1-2', 2, 1, '张三', '太冰'), "
               "('S2', 'B1', 'B1-2', 1, 2, '张三', '转台'), ('S3', 'B7', 'B7-1', 2, 1, '张三', "
               "'');");
        Summaries::install(*db.connection());
        frmSubBillQuery screen;
        screen.ShowMe();
        // Bill, dish, quantity and value of each return over 2026-03-10, both ways.
        const auto returns = [&] {
            QStringList rows;
            for (const QString& line : cells(screen, {}, "2026-03-10", "2026-03-10"))
                rows << QStringList({line.section('|', 0, 0), line.section('|', 3, 3),
                                     line.section('|', 7, 7), line.section('|', 9, 9)})
                            .join('|');
            SummaryPlanner::setEnabled(false);
            const QStringList raw = cells(screen, {}, "2026-03-10", "2026-03-10");
            SummaryPlanner::setEnabled(true);
            return raw == cells(screen, {}, "2026-03-10", "2026-03-10") ? rows
                                                                        : QStringList{"differ"};
        };
        SummaryPlanner::resetAnswered();
        QCOMPARE(returns(), QStringList({"B1|青岛啤酒|1.00|12.00", "合计||1.00|12.00"}));
        QCOMPARE(SummaryPlanner::answered().fromSummaries, 2);
        QCOMPARE(SummaryPlanner::answered().raw, 1);
        // 2 of B4's 3 宫保鸡丁 (38 each) returned.
        db.run("UPDATE bi_BillItem SET MenuPrice=38 WHERE MenuID='1101';"
               "INSERT INTO bi_SubBill (SubBillID, BillID, BillItemID, SubBillType, MenuAmount) "
               "VALUES ('S4', 'B4', 'B4-1', 2, 2)");
        QCOMPARE(returns(), QStringList({"B1|青岛啤酒|1.00|12.00", "B4|宫保鸡丁|2.00|76.00",
                                         "合计||3.00|88.00"}));
        db.run("UPDATE bi_Bill SET BillDate='2026-03-09 00:00:00' WHERE BillID='B4'");
        QCOMPARE(returns(), QStringList({"B1|青岛啤酒|1.00|12.00", "合计||1.00|12.00"}));
        // B7's line moved to B3 (2026-03-10).
        db.run("UPDATE bi_BillItem SET BillID='B3' WHERE BillItemID='B7-1'");
        QCOMPARE(returns(), QStringList({"B1|青岛啤酒|1.00|12.00", "B3|青岛啤酒|1.00|12.00",
                                         "合计||2.00|24.00"}));
        db.run("DELETE FROM bi_SubBill WHERE SubBillID='S1'");
        QCOMPARE(returns(), QStringList({"B3|青岛啤酒|1.00|12.00", "合计||1.00|12.00"}));
        QVERIFY(Summaries::verify(*db.connection()).isEmpty());
    }

    // The dishes of member bills: only members on file count, fresh after a member is added,
    // removed or renumbered; a member's own choice (a name) is answered by the bills.
    void memberDishes()
    {
        TestDatabase db("period_reports.sql");
        db.install();
        // B1 and the deleted B5 are 张会员's, B4 李会员's, B2 of a member not on file (M9).
        db.run("INSERT INTO mb_MemberInfo (MemberID, MemberCardID, MemberTypeName, MemberName) "
               "VALUES ('M1', '8001', '金卡', '张会员'), ('M2', '8002', '银卡', '李会员');"
               "UPDATE bi_Bill SET MemberID='M1' WHERE BillID IN ('B1', 'B5');"
               "UPDATE bi_Bill SET MemberID='M2' WHERE BillID='B4';"
               "UPDATE bi_Bill SET MemberID='M9' WHERE BillID='B2';");
        Summaries::install(*db.connection());
        frmMemberConsume screen;
        screen.ShowMe();
        // Dish, lines and net quantity over 2026-03-10, the same both ways.
        const auto dishes = [&](const QString& name = {}) {
            const Criteria criteria{{"optQuery3", "1"}, {"cboMemberName", name}};
            QStringList rows;
            for (const QString& line : cells(screen, criteria, "2026-03-10", "2026-03-10"))
                rows << QStringList({line.section('|', 1, 1), line.section('|', 3, 4)}).join('|');
            SummaryPlanner::setEnabled(false);
            const QStringList raw = cells(screen, criteria, "2026-03-10", "2026-03-10");
            SummaryPlanner::setEnabled(true);
            return raw == cells(screen, criteria, "2026-03-10", "2026-03-10")
                       ? rows
                       : QStringList{"differ"};
        };
        // B1: 2 宫保鸡丁, 4 青岛啤酒 less 1 cancelled, the 水煮鱼 gift; B4: 3 宫保鸡丁.
        SummaryPlanner::resetAnswered();
        const QStringList first = dishes();
        QCOMPARE(first.mid(0, 1), QStringList({"宫保鸡丁|2|5.00"}));
        QCOMPARE(QSet<QString>(first.begin() + 1, first.end() - 1),
                 QSet<QString>({"青岛啤酒|1|3.00", "水煮鱼|1|1.00"}));
        QCOMPARE(first.last(), "|4|9.00");
        QCOMPARE(SummaryPlanner::answered().fromSummaries, 2);
        QCOMPARE(SummaryPlanner::answered().raw, 1);
        // A name chosen: the bills.
        SummaryPlanner::resetAnswered();
        QCOMPARE(dishes("李会员"), QStringList({"宫保鸡丁|1|3.00", "|1|3.00"}));
        QCOMPARE(SummaryPlanner::answered().fromSummaries, 0);
        // M9 joins: B2's 水煮鱼 and 2 青岛啤酒.
        db.run("INSERT INTO mb_MemberInfo (MemberID, MemberCardID, MemberName) VALUES ('M9', "
               "'8009', '王会员')");
        const QStringList joined = dishes();
        QCOMPARE(
            QSet<QString>(joined.begin(), joined.end()),
            QSet<QString>({"宫保鸡丁|2|5.00", "青岛啤酒|2|5.00", "水煮鱼|2|2.00", "|6|12.00"}));
        // M1 renumbered (its bills keep M1), then M2 removed: only B2 is left.
        db.run("UPDATE mb_MemberInfo SET MemberID='M7' WHERE MemberID='M1'");
        const QStringList renumbered = dishes();
        QCOMPARE(QSet<QString>(renumbered.begin(), renumbered.end()),
                 QSet<QString>({"宫保鸡丁|1|3.00", "青岛啤酒|1|2.00", "水煮鱼|1|1.00", "|3|6.00"}));
        db.run("DELETE FROM mb_MemberInfo WHERE MemberID='M2'");
        const QStringList left = dishes();
        QCOMPARE(QSet<QString>(left.begin(), left.end()),
                 QSet<QString>({"青岛啤酒|1|2.00", "水煮鱼|1|1.00", "|2|3.00"}));
        // A member's balance changed marks no day.
        db.run("UPDATE mb_MemberInfo SET Balance=100, MemberName='王先生' WHERE MemberID='M9'");
        QCOMPARE(scalar(*db.connection(), "SELECT COUNT(*) FROM sm_StaleMemberDay").toInt(), 0);
        QVERIFY(Summaries::verify(*db.connection()).isEmpty());
    }

    // The totals per card of the member bills and of their member-card payments, and per card
    // type, read from the summaries per member whatever the member choices, and fresh.
    void memberTotals()
    {
        TestDatabase db("period_reports.sql");
        db.install();
        // B1, the top-up B6 and the deleted B5 are 张会员's (金卡), B4 李会员's (银卡), B2 of a
        // member not on file. B1 paid 100 of its 124, B4 all its 114, B5 its 190 by member card.
        db.run("INSERT INTO mb_MemberInfo (MemberID, MemberCardID, MemberTypeID, MemberTypeName, "
               "MemberName) VALUES ('M1', '8001', 'T1', '金卡', '张会员'), ('M2', '8002', 'T2', "
               "'银卡', '李会员');"
               "INSERT INTO mb_MemberType (MemberTypeID, MemberTypeName) VALUES ('T1', '金卡'), "
               "('T2', '银卡');"
               "UPDATE bi_Bill SET MemberID='M1' WHERE BillID IN ('B1', 'B5', 'B6');"
               "UPDATE bi_Bill SET MemberID='M2' WHERE BillID='B4';"
               "UPDATE bi_Bill SET MemberID='M9' WHERE BillID='B2';"
               "UPDATE bi_BillPayment SET SubjectName='会员卡' WHERE BillPaymentID IN ('B1-P1', "
               "'B4-P1', 'B5-P1');");
        Summaries::install(*db.connection());
        frmMemberConsume consumed;
        consumed.ShowMe();
        frmPaymentMember paid;
        paid.ShowMe();
        // Each view's rows over 2026-03-10, read the same both ways (else "differ").
        const auto rows = [&](auto& screen, int view, const Criteria& choice = {}) {
            Criteria criteria = choice;
            criteria << qMakePair(QStringLiteral("optQuery%1").arg(view), QStringLiteral("1"));
            SummaryPlanner::resetAnswered();
            const QStringList fast = cells(screen, criteria, "2026-03-10", "2026-03-10");
            if (SummaryPlanner::answered().fromSummaries == 0)
                return QStringList{"raw"};
            SummaryPlanner::setEnabled(false);
            const QStringList raw = cells(screen, criteria, "2026-03-10", "2026-03-10");
            SummaryPlanner::setEnabled(true);
            return raw == fast ? fast : QStringList{"differ"};
        };
        const Criteria all{{"cboMemberType", ""}, {"chkSaving", "0"}};
        QCOMPARE(rows(consumed, 2, all), QStringList({"8001|金卡|张会员|624.00",
                                                      "8002|银卡|李会员|114.00", "合计|||738.00"}));
        QCOMPARE(
            rows(consumed, 2, {{"chkSaving", "1"}}),
            QStringList({"8001|金卡|张会员|124.00", "8002|银卡|李会员|114.00", "合计|||238.00"}));
        QCOMPARE(rows(paid, 2, all), QStringList({"8001|金卡|张会员|100.00",
                                                  "8002|银卡|李会员|114.00", "合计|||214.00"}));
        QCOMPARE(rows(paid, 3, {{"cboMemberType", "银卡"}}),
                 QStringList({"银卡|114.00", "合计|114.00"}));
        // The lines are listed from the bills.
        QCOMPARE(rows(paid, 1, all), QStringList{"raw"});
        // B5 undeleted; 李会员's card now a 金卡.
        db.run("UPDATE bi_Bill SET IsDeleted=0 WHERE BillID='B5';"
               "UPDATE mb_MemberInfo SET MemberTypeID='T1', MemberTypeName='金卡' WHERE "
               "MemberID='M2'");
        QCOMPARE(rows(paid, 3, {{"cboMemberType", ""}}),
                 QStringList({"金卡|404.00", "合计|404.00"}));
        QCOMPARE(rows(consumed, 2, all).first(), "8001|金卡|张会员|814.00");
    }

    // A database with the summaries of version 4 (without the tables', the discounted lines' and
    // the departments') is answered by the bills until the install replaces them; then every
    // summary holds the bills, those written under version 4 too, and a change reaches the new
    // ones.
    void upgradeFromVersion4()
    {
        TestDatabase db("period_reports.sql");
        {
            ConnectionPtr old = Connection::openSqlite(db.path());
            Summaries::install(*old);
        }
        db.run("DROP TABLE sm_TableDay; DROP TABLE sm_TableMonth; DROP TABLE sm_DiscountDay; "
               "DROP TABLE sm_DiscountMonth; DROP TABLE sm_DepartDay; DROP TABLE sm_DepartMonth; "
               "UPDATE sm_Info SET Version=4;");
        // Written under version 4: B1's 宫保鸡丁 (6 off) and its gift 水煮鱼 (68 off) sold off
        // their list price; B3's 宫保鸡丁 too, without a discount.
        db.run("UPDATE bi_BillItem SET MenuPrice=41, MenuPrice2=38 WHERE BillItemID IN ('B1-1', "
               "'B3-1'); UPDATE bi_BillItem SET MenuPrice=68 WHERE BillItemID='B1-3'");
        ConnectionPtr c = Connection::openSqlite(db.path());
        QVERIFY(!Summaries::installed(*c));
        QCOMPARE(scalar(*c, "SELECT COUNT(*) FROM sm_StaleDay").toInt(), 1);
        Summaries::install(*c);
        QVERIFY(Summaries::installed(*c));
        QCOMPARE(scalar(*c, "SELECT Version FROM sm_Info").toInt(), Summaries::Version);
        QCOMPARE(scalar(*c, "SELECT COUNT(*) FROM sm_StaleDay").toInt(), 0);
        QVERIFY(Summaries::verify(*c).isEmpty());
        // Table A1 in March: B1 (4 guests, 180), B3 (1, 38), B7 (2, 36), B8 (9, 999).
        QCOMPARE(scalar(*c, "SELECT SUM(CountOfBills) || '|' || SUM(PeopleCount) || '|' || "
                            "SUM(SumOfConsume) FROM sm_TableMonth WHERE TableName='A1'")
                     .toString(),
                 "4|16|1253");
        // B1-1: 2 sold, 6 off of 76; B1-3: 1, 68 of 68.
        const char* discounts = "SELECT COUNT(*) || '|' || SUM(Amount) || '|' || "
                                "SUM(SumForDiscount) || '|' || SUM(SumOfConsume) FROM "
                                "sm_DiscountDay WHERE BillDate='2026-03-10 00:00:00'";
        QCOMPARE(scalar(*c, discounts).toString(), "2|3|74|144");
        db.run("UPDATE bi_BillItem SET AmountCancel=1 WHERE BillItemID='B1-1'");
        QVERIFY(Summaries::refresh(*c));
        QCOMPARE(scalar(*c, discounts).toString(), "2|2|74|144");
        QVERIFY(Summaries::verify(*c).isEmpty());
    }

    // A statement naming a column the summaries do not keep, or whose join is written otherwise,
    // is left to the bills.
    void rewriteOnlyWhatFits()
    {
        const SummaryPlanner::Replacements join{
            {" FROM bi_Bill AS BL, bi_BillItem AS BI ", " FROM {summary} AS BL "},
            {" WHERE BL.BillID=BI.BillID ", " WHERE 1=1 "}};
        const QString head =
            " SELECT BI.MenuID, SUM(BI.SumOfConsume), COUNT(*) FROM bi_Bill AS BL, "
            "bi_BillItem AS BI WHERE BL.BillID=BI.BillID AND BL.BillDate>=? ";
        QCOMPARE(SummaryPlanner::rewrite(SummaryPlanner::Source::Items, head + "GROUP BY BI.MenuID",
                                         join),
                 " SELECT BL.MenuID, SUM(BL.SumOfConsume), COALESCE(CAST(SUM(BL.ItemCount) AS "
                 "int),0) FROM sm_ItemDay AS "
                 "BL WHERE 1=1 AND BL.BillDate>=? GROUP BY BL.MenuID");
        QVERIFY(SummaryPlanner::rewrite(SummaryPlanner::Source::Items,
                                        head + "AND BL.ShiftID='2' GROUP BY BI.MenuID", join)
                    .isEmpty());
        QVERIFY(SummaryPlanner::rewrite(SummaryPlanner::Source::Items,
                                        QString(head).replace("BL, bi", "BL,bi"), join)
                    .isEmpty());
    }

    // The whole months of a range read from the month summary, each date where its marker was
    // (a marker before the summary moves its dates along); a range without a whole month, or a
    // statement that groups by the date, keeps the days.
    void wholeMonthsFromTheMonths()
    {
        using P = SummaryPlanner;
        const QString head = "SELECT BL.MenuID, ?, SUM(BL.SumOfConsume) FROM sm_ItemDay AS BL "
                             "WHERE BL.BranchID=? AND BL.BillDate >=? AND BL.BillDate <? ";
        const Statement mid(head + "GROUP BY BL.MenuID",
                            {"x", "01", QDate(2026, 1, 15), QDate(2026, 4, 1)});
        const Statement months = P::byMonths(P::Source::Items, mid);
        QCOMPARE(months.text(),
                 "SELECT BL.MenuID, ?, SUM(BL.SumOfConsume) FROM (SELECT BillMonth AS "
                 "BillDate,BranchID,MenuID,SumOfConsume FROM sm_ItemMonth WHERE BillMonth>=? AND "
                 "BillMonth<? UNION ALL SELECT BillDate,BranchID,MenuID,SumOfConsume FROM "
                 "sm_ItemDay WHERE BillDate>=? AND BillDate<?) AS BL WHERE BL.BranchID=? AND "
                 "BL.BillDate >=? AND BL.BillDate <? GROUP BY BL.MenuID");
        QCOMPARE(months.parameters(),
                 QVariantList({"x", QDate(2026, 2, 1), QDate(2026, 4, 1), QDate(2026, 1, 15),
                               QDate(2026, 2, 1), "01", QDate(2026, 1, 15), QDate(2026, 4, 1)}));
        // Both ends part months, the dates written into the text.
        const QString literal = "SELECT COALESCE(CAST(SUM(BL.CountOfBills) AS int),0) FROM "
                                "sm_BillDay AS BL WHERE BL.BillDate >= '2026-02-27' and "
                                "BL.BillDate < '2026-04-03'";
        QCOMPARE(P::byMonths(P::Source::Bills, Statement(literal)).text(),
                 "SELECT COALESCE(CAST(SUM(BL.CountOfBills) AS int),0) FROM (SELECT BillMonth AS "
                 "BillDate,CountOfBills FROM sm_BillMonth WHERE BillMonth>='2026-03-01' AND "
                 "BillMonth<'2026-04-01' UNION ALL SELECT BillDate,CountOfBills FROM sm_BillDay "
                 "WHERE BillDate>='2026-02-27' AND BillDate<'2026-03-01' UNION ALL SELECT "
                 "BillDate,CountOfBills FROM sm_BillDay WHERE BillDate>='2026-04-01' AND "
                 "BillDate<'2026-04-03') AS BL WHERE BL.BillDate >= '2026-02-27' and BL.BillDate "
                 "< '2026-04-03'");
        const Statement inMonth(head + "GROUP BY BL.MenuID",
                                {"x", "01", QDate(2026, 3, 2), QDate(2026, 4, 1)});
        QCOMPARE(P::byMonths(P::Source::Items, inMonth), inMonth);
        const Statement perDay(head + "GROUP BY BL.BillDate, BL.MenuID", mid.parameters());
        QCOMPARE(P::byMonths(P::Source::Items, perDay), perDay);
        // Through the end date: the days after the last whole month up to it, itself included.
        const Statement through("SELECT SUM(BL.Amount) FROM sm_DiscountDay AS BL WHERE "
                                "BL.BillDate>=? AND BL.BillDate<=?",
                                {QDate(2026, 2, 1), QDate(2026, 3, 5)});
        const Statement throughMonths = P::byMonths(P::Source::Discounts, through);
        QCOMPARE(throughMonths.text(),
                 "SELECT SUM(BL.Amount) FROM (SELECT BillMonth AS BillDate,Amount FROM "
                 "sm_DiscountMonth WHERE BillMonth>=? AND BillMonth<? UNION ALL SELECT "
                 "BillDate,Amount FROM sm_DiscountDay WHERE BillDate>=? AND BillDate<=?) AS "
                 "BL WHERE BL.BillDate>=? AND BL.BillDate<=?");
        QCOMPARE(throughMonths.parameters(),
                 QVariantList({QDate(2026, 2, 1), QDate(2026, 3, 1), QDate(2026, 3, 1),
                               QDate(2026, 3, 5), QDate(2026, 2, 1), QDate(2026, 3, 5)}));
        // February through its last day is the month alone.
        const Statement february(through.text(), {QDate(2026, 2, 1), QDate(2026, 2, 28)});
        QCOMPARE(P::byMonths(P::Source::Discounts, february).text().count("UNION ALL"), 0);
        QVERIFY(P::byMonths(P::Source::Discounts, february).text().contains("sm_DiscountMonth"));
    }

    // SQL Server's install and drop scripts: each statement whole (a trigger is a batch of its
    // own), every table and trigger dropped that is created. With VTX_TSQL_TRACE_DIR set they go
    // to the T-SQL check beside the statements the tests ran.
    void sqlServerScripts()
    {
        const QStringList install = Summaries::installScript(SqlDialect::MsSql);
        const QStringList drop = Summaries::dropScript(SqlDialect::MsSql);
        QCOMPARE(install.filter(QRegularExpression("^CREATE TRIGGER")).size(), 5);
        for (const QString& trigger : install.filter(QRegularExpression("^CREATE TRIGGER"))) {
            const QString name = trigger.section(' ', 2, 2);
            QVERIFY2(drop.contains("DROP TRIGGER IF EXISTS " + name), qPrintable(name));
        }
        for (const QString& table : install.filter(QRegularExpression("^CREATE TABLE")))
            QVERIFY(drop.contains("DROP TABLE IF EXISTS " + table.section(' ', 2, 2)));
        const QString traceDir = qEnvironmentVariable("VTX_TSQL_TRACE_DIR");
        if (traceDir.isEmpty())
            return;
        QString error;
        auto log = StatementLog::create(traceDir + "/tst_summaries-mssql.jsonl", &error);
        QVERIFY2(log, qPrintable(error));
        for (const QString& statement : install + drop)
            log->write({statement, {}, statement, {}});
    }

    // Every screen answered from the summaries (the period query, the commission report by item
    // and by item type, menu engineering, the department item table, the hour report, the bill
    // item query's waiters, the payment query's summed views, the daily report, the month report,
    // the table report's two views, member discounts)
    // shows what the raw statements show, cell for cell, over ranges of a demo chain: a day, a
    // range with part months at both ends, a whole month, three whole months, with branch, meal
    // period, department type, menu type, gift and deleted choices. A range's whole months are
    // read from the month summaries (but by the month report, which shows each day).
    void sameFiguresBothWays()
    {
        QTemporaryDir dir;
        const QString file = TestDatabase::writeDemo(
            dir.path(), {"--branches", "3", "--days", "45", "--bills-per-day", "12", "--seed", "11",
                         "--last-day", "2026-03-10"});
        QVERIFY2(!file.isEmpty(), "vtxdemodb is not built");
        auto connection = Connection::openSqlite(file);
        hostContext().Connection = connection;
        hostContext().TrueDataAllowed = true;
        hostContext().UserGroupID = "G01"; // the demo chain's administrators: every branch
        const auto restore = qScopeGuard([] {
            hostContext().Connection.reset();
            hostContext().TrueDataAllowed = false;
            hostContext().UserGroupID.clear();
        });
        QVERIFY(Summaries::installed(*connection));
        QVERIFY(Summaries::verify(*connection).isEmpty());

        // A day; January's end, February whole and March's beginning; February; three whole
        // months (the chain's bills from 2026-01-25).
        struct Range
        {
            const char* begin;
            const char* end;
            bool wholeMonths;
        };
        const Range ranges[] = {{"2026-03-10", "2026-03-10", false},
                                {"2026-01-28", "2026-03-05", true},
                                {"2026-02-01", "2026-02-28", true},
                                {"2026-01-01", "2026-03-31", true}};
        const QList<Criteria> choices = {
            {},
            {{"cboBranch", "#2"}, {"chkSaving", "1"}},
            {{"cboIsSentMenu", "#1"}, {"chkUseTrueData", "1"}},
            {{"cboIsSentMenu", "#2"}, {"cboDepartTypes", "厨房"}, {"cboMenuTypes", "热菜"}},
        };
        int compared = 0;
        const auto bothWays = [&](auto& screen, const Criteria& criteria, const Range& r,
                                  const QString& what, bool perDay = false) {
            SummaryPlanner::setEnabled(false);
            SummaryPlanner::resetAnswered();
            const QStringList raw = cells(screen, criteria, r.begin, r.end);
            SummaryPlanner::setEnabled(true);
            SummaryPlanner::resetAnswered();
            const QStringList fast = cells(screen, criteria, r.begin, r.end);
            // Every statement over the bills answered from the summaries.
            QVERIFY2(SummaryPlanner::answered().fromSummaries > 0, qPrintable(what));
            QVERIFY2(SummaryPlanner::answered().raw == 0, qPrintable(what));
            // Whole months from the month summaries, unless the report shows each day.
            QVERIFY2((SummaryPlanner::answered().fromMonths > 0) == (r.wholeMonths && !perDay),
                     qPrintable(what));
            QVERIFY2(raw.size() >= 2, qPrintable(what + ": no rows"));
            QCOMPARE(fast, raw);
            ++compared;
        };
        // Views first..last of a fresh screen of that kind, under each choice.
        const auto viewsBothWays = [&]<class Screen>(std::type_identity<Screen>,
                                                     const QList<Criteria>& choices, int first,
                                                     int last, const Range& r, const char* what) {
            for (const Criteria& choice : choices) {
                for (int view = first; view <= last; ++view) {
                    Screen screen;
                    screen.ShowMe();
                    Criteria criteria = choice;
                    criteria << qMakePair(QStringLiteral("optQuery%1").arg(view),
                                          QStringLiteral("1"));
                    bothWays(screen, criteria, r,
                             QStringLiteral("%1 view %2 from %3")
                                 .arg(QLatin1String(what))
                                 .arg(view)
                                 .arg(r.begin));
                }
            }
        };
        for (const Range& r : ranges) {
            viewsBothWays(std::type_identity<frmPeriodQuery>(), choices, 1, 4, r, "period query");
            viewsBothWays(std::type_identity<frmBillItemCost>(),
                          choices + QList<Criteria>{{{"cboCreatePerson", "#2"}}}, 2, 4, r,
                          "commission");
            for (const Criteria& choice : choices) {
                frmMenuEngineering menu;
                menu.ShowMe();
                bothWays(menu, choice, r, QStringLiteral("menu engineering from %1").arg(r.begin));
            }
            // The department item table: its own list names, a band of the average price and a
            // sort, and the lines whose quantity was all cancelled left out.
            const QList<Criteria> tableChoices = {
                {},
                {{"cboBranch", "#2"},
                 {"chkSaving", "1"},
                 {"cboOrderBy", "#9"},
                 {"chkOrderBy", "1"}},
                {{"cboIsSentMenu", "#2"},
                 {"chkUseTrueData", "1"},
                 {"txtPrice_0", "20"},
                 {"txtPrice_1", "45.5"},
                 {"cboOrderBy", "#5"}},
                {{"cboIsSentMenu", "#1"}},
                {{"cboIsSentMenu", "#2"}, {"cboDepartType", "厨房"}, {"cboMenuType", "热菜"}},
            };
            for (const Criteria& choice : tableChoices) {
                frmDepartQueryTable items;
                items.ShowMe();
                bothWays(items, choice, r,
                         QStringLiteral("department item table from %1").arg(r.begin));
            }
            // The hour report, the payment query's summed views (a cashier, a meal period and a
            // subject chosen) and the daily report's blocks (today the range's last day).
            const QList<Criteria> billChoices = {
                {}, {{"cboBranch", "#2"}, {"chkSaving", "1"}}, {{"chkUseTrueData", "1"}}};
            for (const Criteria& choice : billChoices) {
                frmHourReport hours;
                hours.ShowMe();
                bothWays(hours, choice, r, QStringLiteral("hour report from %1").arg(r.begin));
                frmDailyReport daily;
                daily.ShowMe();
                Criteria today = choice;
                today << qMakePair(QStringLiteral("dtpToday"), QString::fromLatin1(r.end))
                      << qMakePair(QStringLiteral("cboCosting"),
                                   QStringLiteral("#%1").arg(billChoices.indexOf(choice)));
                bothWays(daily, today, r, QStringLiteral("daily report from %1").arg(r.begin));
            }
            // The bill item query's waiters, from the waiter summary (a waiter, a department
            // chosen in two cases).
            for (Criteria choice : choices) {
                frmBillItemQuery waiters;
                waiters.ShowMe();
                if (choice.isEmpty())
                    choice = {{"cboCreatePerson", "#2"}};
                else if (choice.size() == 2)
                    choice << qMakePair(QStringLiteral("cboDeparts"), QStringLiteral("#1"))
                           << qMakePair(QStringLiteral("cboMenuID"), QStringLiteral("1"));
                choice << qMakePair(QStringLiteral("optQuery4"), QStringLiteral("1"));
                bothWays(waiters, choice, r, QStringLiteral("waiters from %1").arg(r.begin));
            }
            const QList<Criteria> paymentChoices = {
                {},
                {{"cboBranch", "#2"}, {"chkSaving", "1"}, {"cboCheckOutPerson", "#2"}},
                {{"chkUseTrueData", "1"}, {"cboBillPeriod", "#2"}, {"cboSubject", "#1"}},
            };
            viewsBothWays(std::type_identity<frmPaymentQuery>(), paymentChoices, 2, 3, r,
                          "payment query");
            // The table report (tables and areas; the tables without bills of the floor plan among
            // them unless only those with business are asked for).
            const QList<Criteria> tableReportChoices = {
                {},
                {{"cboBranch", "#2"}, {"chkSaving", "1"}},
                {{"chkUseTrueData", "1"}, {"cboBillPeriod", "#2"}, {"chkNotNull", "1"}},
            };
            viewsBothWays(std::type_identity<frmTableReport>(), tableReportChoices, 1, 2, r,
                          "table report");
            // Member discounts: the rate from the sums, in the screen's order or sorted by a
            // column either way.
            const QList<Criteria> discountChoices = {
                {},
                {{"cboBranch", "#2"},
                 {"chkSaving", "1"},
                 {"cboOrderBy", "#8"},
                 {"chkOrderBy", "1"}},
                {{"cboIsSentMenu", "#2"}, {"chkUseTrueData", "1"}, {"cboOrderBy", "#6"}},
                {{"cboIsSentMenu", "#0"}, {"cboDepartType", "厨房"}, {"cboMenuType", "热菜"}},
            };
            for (const Criteria& choice : discountChoices) {
                frmMemberDiscountQuery discounts;
                discounts.ShowMe();
                bothWays(discounts, choice, r,
                         QStringLiteral("member discounts from %1").arg(r.begin));
            }
            // The dishes of member bills.
            for (const Criteria& choice : billChoices) {
                frmMemberConsume members;
                members.ShowMe();
                bothWays(members, choice + Criteria{{"optQuery3", "1"}}, r,
                         QStringLiteral("member dishes from %1").arg(r.begin));
            }
            // The totals per card of the member bills and of their member-card payments, and
            // per card type, a card type chosen in one case.
            const QList<Criteria> memberChoices = {
                {},
                {{"cboBranch", "#2"}, {"chkSaving", "1"}},
                {{"chkUseTrueData", "1"}, {"cboMemberType", "#2"}},
            };
            viewsBothWays(std::type_identity<frmMemberConsume>(), memberChoices, 2, 2, r,
                          "member totals");
            // (a day's few member-card payments: no choice)
            viewsBothWays(std::type_identity<frmPaymentMember>(),
                          r.wholeMonths ? memberChoices : memberChoices.mid(0, 1), 2, 3, r,
                          "member-card payments");
            // The returned items, from the returns' summary (a list: read by the day).
            for (const Criteria& choice : billChoices) {
                frmSubBillQuery returns;
                returns.ShowMe();
                bothWays(returns, choice, r, QStringLiteral("returned items from %1").arg(r.begin),
                         true);
            }
            // The charts' lines of days (over more than a day): the menu sales line of a department
            // type, a menu type or a dish, and the three trend lines.
            const QList<Criteria> menuLineChoices = {
                {{"cboDepartType", "厨房"}},
                {{"cboBranch", "#2"},
                 {"chkSaving", "1"},
                 {"optGroupBy_1", "1"},
                 {"cboMenuType", "热菜"},
                 {"optSumBy_1", "1"}},
                {{"chkUseTrueData", "1"},
                 {"optGroupBy_2", "1"},
                 {"cboMenu", "#2"},
                 {"cboIsSentMenu", "#2"}},
            };
            for (const Criteria& choice : r.wholeMonths ? menuLineChoices : QList<Criteria>()) {
                frmMenuLine line;
                line.ShowMe();
                bothWays(line, choice, r, QStringLiteral("menu line from %1").arg(r.begin), true);
            }
            for (int kind = 0; kind < (r.wholeMonths ? 3 : 0); ++kind) {
                frmTrendLine trend;
                trend.ShowMe(kind);
                bothWays(trend, billChoices.at(kind), r,
                         QStringLiteral("trend line %1 from %2").arg(kind).arg(r.begin), true);
            }
            frmMonthReport month;
            month.ShowMe();
            bothWays(month, {}, r, QStringLiteral("month report"), true);
            frmMonthReport monthBranch;
            monthBranch.ShowMe();
            bothWays(monthBranch, {{"cboBranch", "#3"}, {"chkSaving", "1"}}, r,
                     QStringLiteral("month report of a branch"), true);
        }
        QCOMPARE(compared,
                 4 * (4 * 4 + 5 * 3 + 4 + 5 + 3 * 2 + 4 + 3 * 2 + 3 * 2 + 4 + 3 + 3 + 3 + 2) +
                     3 * (3 + 3 + 3 * 2) + 2);
    }
};

QTEST_MAIN(TestSummaries)
#include "tst_summaries.moc"
