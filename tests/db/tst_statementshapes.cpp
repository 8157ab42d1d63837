// Every kind of statement the screens write, in T-SQL, run through the SQLite dialect on the
// fixture database (db_bills.sql), on QSQLITE and on the SQLite ODBC driver. Row counts and
// figures are worked out by hand from the fixture.
#include "db/Connection.h"
#include "db/Recordset.h"
#include "tests/support/TestDatabase.h"

#include <QDate>
#include <QtTest>

Q_DECLARE_METATYPE(TestDatabase::Driver)

namespace {

const QDate D10(2026, 3, 10), D11(2026, 3, 11);

struct Shape
{
    const char* name;
    QString sql;
    QVariantList params;
    int rows;
};

QList<Shape> shapes()
{
    const QString c1 = " AND IsDeleted=0 ";
    return {
        {"bill query",
         " SELECT TOP 100 PERCENT         BillID,TableFullName,BillPeriod,PeopleCount,         "
         "CreatePerson,ChargePerson,CheckOutPerson,         SumOfConsume,ServiceRate,SumOfService, "
         " "
         "       DiscountName,DiscountRate,SumForDiscount,         "
         "SumInCash,SumToPay,SumPaid,SumOfInvoice,  "
         "       PrintCount,CheckOutNull    FROM bi_Bill   WHERE BillDate>=? AND BillDate<? " +
             c1 +
             " AND DiscountRate<1  and BranchID in ('01','02')  ORDER BY SumOfConsume  DESC  "
             ",BillID ",
         {D10, D11},
         1},
        {"combo list",
         "SELECT DISTINCT TableAreaID,TableAreaName FROM bi_Bill ORDER BY TableAreaID",
         {},
         2},
        {"bill items",
         "   SELECT TOP 100 PERCENT           MenuID,MenuName,MenuUnitName,CookWay,CreatePerson,  "
         "         AmountOrder,AmountCancel,IsSentMenu,           "
         "SumOfConsume,SumOfService,SumForDiscount,CreateTime,  "
         "        (SumOfConsume+SumOfService-SumForDiscount) AS theSum      FROM  bi_BillItem     "
         "WHERE  BillID='B1'  ORDER BY CreateTime ",
         {},
         3},
        {"uncheck snapshots",
         "   SELECT *      FROM bi_UnCheckBill     WHERE BillID='B1'  ORDER BY UnCheckTime ",
         {},
         0},
        {"item view 2",
         " SELECT TOP 100 PERCENT      BI.MenuID,BI.MenuName,BI.MenuTypeName,      "
         "SUM(BI.AmountOrder) AS theOrder,SUM(BI.AmountCancel) AS theCancel,"
         "     SUM(BI.SumOfConsume) AS theConsume,SUM(BI.SumOfService) AS theService,      "
         "SUM(BI.SumForDiscount) AS theDiscount,  "
         "    SUM(BI.SumOfCookway) AS theCookway  FROM bi_Bill AS BL, bi_BillItem AS BI  WHERE "
         "BL.BillID=BI.BillID AND BL.BillDate>=? AND BL.BillDate<? "
         " AND BL.CheckOutNull=0  AND BI.MenuName LIKE '%鸡%'  AND BI.IsSentMenu=0   AND "
         "BL.IsDeleted=0  AND BL.TableName<>'会员卡充值'"
         " GROUP BY BI.MenuID,BI.MenuName,BI.MenuTypeName  ORDER BY BI.MenuID ",
         {D10, D11},
         1},
        {"commission, menu derived table",
         " SELECT  BL.BillID,BL.BillDate,  BI.CreatePersonID,BI.CreatePerson,  "
         "MN.MenuID,MN.MenuName,MN.MenuUnitID,MN.MenuUnitName,MN.MenuTypeName, "
         " (BI.AmountOrder-BI.AmountCancel) AS MenuAmount,  "
         "BI.SumOfConsume/(BI.AmountOrder-BI.AmountCancel) AS MenuPrice,  BI.SumOfConsume, "
         " (BI.AmountOrder-BI.AmountCancel)*MN.CostPrice AS SumOfCost  FROM bi_BillItem AS "
         "BI,bi_Bill AS BL , (SELECT DISTINCT * FROM (  SELECT  "
         " MN.MenuID,MN.MenuName,MN.ToSpell,  MT.MenuTypeID,MT.MenuTypeName,  "
         "DT.DepartTypeID,DT.DepartTypeName,  MN.MenuID AS MenuUnitID,MN.MenuUnit AS "
         "MenuUnitName,MN.CostPrice "
         " FROM mn_Menu AS MN, mn_MenuType AS MT, mn_DepartType AS DT  WHERE "
         "MN.MenuTypeID=MT.MenuTypeID AND MT.DepartTypeID=DT.DepartTypeID  UNION ALL  SELECT "
         " MN.MenuID,MN.MenuName,MN.ToSpell,  MT.MenuTypeID,MT.MenuTypeName,  "
         "DT.DepartTypeID,DT.DepartTypeName,  MU.MenuUnitID,MU.MenuUnitName,MU.PriceForCost AS "
         "CostPrice "
         " FROM mn_Menu AS MN, mn_MenuType AS MT, mn_DepartType AS DT, mn_MenuUnit AS MU  WHERE "
         "MN.MenuTypeID=MT.MenuTypeID AND MT.DepartTypeID=DT.DepartTypeID AND MN.MenuID=MU.MenuID "
         " ) AS theUNIONALL)AS MN  WHERE  BI.BillID=BL.BillID AND BL.BillDate>=? AND BL.BillDate<? "
         "AND  BI.AmountOrder-BI.AmountCancel<>0 AND "
         " BI.MenuID=MN.MenuID AND BI.MenuUnitID=MN.MenuUnitID AND  MN.CostPrice<>0  AND "
         "BL.CheckOutNull=0  AND BI.IsSentMenu=0   ORDER BY BI.BillID,MN.MenuID ",
         {D10, D11},
         2}, // B1-1 and the deleted B3-1
        {"returned items",
         " SELECT TOP 100 PERCENT      "
         "BL.BillID,BL.TableName,BL.BillDate,BL.BillPeriod,BI.CreateTime as OrderTime,      "
         "BI.MenuID,BI.MenuName,BI.MenuUnitID,BI.MenuUnitName, "
         "     BI.MenuTypeID,BI.MenuTypeName,BI.DepartTypeID,BI.DepartTypeName,      "
         "BI.MenuPrice,SumPaid = BI.MenuPrice * SB.MenuAmount,      "
         "SB.MenuAmount,SB.CreateTime,SB.CreatePerson,SB.Remark "
         " FROM bi_Bill AS BL, bi_BillItem AS BI, bi_SubBill AS SB  WHERE BL.BillID=BI.BillID AND  "
         "      BI.BillItemID=SB.BillItemID AND        SB.SubBillType=2 AND "
         "       BL.BillDate>=? AND BL.BillDate<?  AND BL.CheckOutNull=0  AND SB.Remark like "
         "'%上错%'  ORDER BY BL.BillID,BI.MenuID ",
         {D10, D11},
         1},
        {"operation log",
         "   SELECT TOP 100 PERCENT * FROM (    SELECT * FROM bi_TempBillLog     UNION ALL    "
         "SELECT * FROM bi_BillLog ) AS theView "
         "    WHERE CreateTime>=? AND CreateTime<=?  ORDER BY CreateTime ",
         {D10, D11},
         2},
        {"operation log by kind",
         "   SELECT TOP 100 PERCENT * FROM (    SELECT * FROM bi_TempBillLog     UNION ALL    "
         "SELECT * FROM bi_BillLog ) AS theView "
         "    WHERE CreateTime>=? AND CreateTime<=?  AND LogTypeID='7'  ORDER BY CreateTime ",
         {D10, D11},
         1},
        {"account transfers",
         " SELECT TOP 100 PERCENT      AccountType,SubjectID,SubjectName,      COUNT(*) AS "
         "theCount,SUM(Amount) AS theAmount  FROM      bi_BillAccount "
         " WHERE      BillDate >=? AND BillDate <?  AND AccountName like '%公司%'  GROUP BY "
         "AccountType,SubjectID,SubjectName  ORDER BY SubjectID ",
         {D10, D11},
         0},
        {"daily stock cost",
         " SELECT      DT.DepartTypeName,SUM(DM.theSum) AS theTotalSum  FROM      mn_DepartType AS "
         "DT,      mn_Depart AS DP,      ( SELECT theDepartment,SUM(theTotal) AS theSum "
         " FROM(  SELECT [Into] AS theDepartment,TotalSum AS theTotal  From st_Bill  WHERE "
         "(BillTypeID=4 OR BillTypeID=7 OR BillTypeID=9) AND        BillDate>=? AND BillDate<? "
         " and (StockName='北京店' or StockName='本地')  Union All  SELECT [FROM] AS "
         "theDepartment,0-TotalSum AS theTotal  From st_Bill  WHERE (BillTypeID=5) AND "
         "        BillDate>=? AND BillDate<?  and (StockName='北京店' or StockName='本地')  ) AS "
         "theView  WHERE 1=1  GROUP BY theDepartment ) As DM "
         " WHERE      DT.DepartTypeID=DP.DepartTypeID AND      DP.DepartName = DM.theDepartment  "
         "GROUP BY DT.DepartTypeName ",
         {D10, D11, D10, D11},
         1},
        {"daily group sales",
         " SELECT SUM(BI.SumOfConsume) AS theSum    FROM bi_Bill AS BL, bi_BillItem AS BI   WHERE "
         "BL.BillID = BI.BillID AND         BL.BillDate >=? AND BL.BillDate <? AND "
         "        BL.CheckOutNull=0 AND BI.IsSentMenu=0  AND BL.IsDeleted=0       AND (    "
         "(BI.DepartTypeID IN (SELECT GroupItemID AS DepartTypeID FROM mn_GroupItem WHERE "
         "GroupItemType='DepartType' AND GroupTypeID='G1'))"
         "OR (BI.MenuTypeID   IN (SELECT GroupItemID AS MenuTypeID   FROM mn_GroupItem WHERE "
         "GroupItemType='MenuType'   AND GroupTypeID='G1'))"
         "OR (BI.MenuID       IN (SELECT GroupItemID AS MenuID       FROM mn_GroupItem WHERE "
         "GroupItemType='Menu'       AND GroupTypeID='G1')) ) ",
         {D10, D11},
         1},
        {"period query with # dates",
         " SELECT TOP 100 PERCENT * FROM (  SELECT TOP 100 PERCENT      BI.MenuID,BI.MenuName,     "
         " BI.MenuTypeID,BI.MenuTypeName,      BI.DepartTypeID,BI.DepartTypeName,BL.BillPeriod, "
         "     SUM(AmountOrder-AmountCancel) AS TotalAmount,      SUM(BI.SumOfConsume) AS "
         "TotalConsume,      SUM(BI.SumOfConsume-BI.SumForDiscount) AS TotalConsume2 "
         " FROM bi_Bill AS BL,bi_BillItem AS BI  WHERE BL.BillID = BI.BillID  and BL.BillDate >= "
         "#2026-03-10# and BL.BillDate < #2026-03-11#   AND BL.CheckOutNull=0 "
         " AND BL.IsDeleted=0  AND BI.IsSentMenu=0   AND DepartTypeName='厨房'  GROUP BY "
         "MenuID,MenuName,MenuTypeID,MenuTypeName,DepartTypeID,DepartTypeName,BillPeriod "
         " UNION ALL  SELECT TOP 100 PERCENT      MN.MenuID,MN.MenuName,     "
         "MT.MenuTypeID,MT.MenuTypeName,      DT.DepartTypeID,DT.DepartTypeName, "
         "     '' AS BillPeriod,0 AS TotalAmount,0 AS TotalConsume,0 AS TotalConsume2  FROM "
         "mn_Menu AS MN,mn_MenuType AS MT,mn_DepartType AS DT "
         " WHERE MN.MenuTypeID=MT.MenuTypeID AND MT.DepartTypeID=DT.DepartTypeID  AND "
         "DepartTypeName='厨房'  ) AS theView  WHERE 1=1  ORDER BY MenuTypeID,MenuID,BillPeriod ",
         {},
         2},
        {"hour query",
         " select BillHour    = datepart(hh,CreateTime),          BillTotal   = sum(SumPaid),      "
         "               BillCount   = count(BillID),  "
         "          PeopleCount = sum(PeopleCount),                 BillConsume = "
         "sum(SumOfConsume),                BillService = sum(SumOfService), "
         "               BillDiscount= sum(SumForDiscount)          from bi_Bill as BL (nolock)    "
         "                where BillDate>=? and BillDate<?  "
         "             and IsDeleted=0   group by datepart(hh,CreateTime)              ",
         {D10, D11},
         1},
        {"month query C",
         " select BL.BillDate,              BP.SubjectID,                   sum(BP.PaySum)         "
         "   as thePaySum               from bi_BillPayment as BP (nolock),     bi_Bill as BL "
         "(nolock)  "
         "          where BP.BillID=BL.BillID                     and BL.BillDate>=? and "
         "BL.BillDate<?  and BL.CheckOutNull=0  AND BL.IsDeleted=0 "
         "  group by BL.BillDate, BP.SubjectID                      ",
         {D10, D11},
         2},
        {"table report",
         " SELECT TOP 100 PERCENT * FROM (  SELECT      "
         "TableAreaID,TableAreaName,TableID,TableName,      COUNT(*) AS theBillCount,      "
         "SUM(PeopleCount) AS thePeopleCount, "
         "     SUM(SumOfConsume) AS theConsume,      SUM(SumOfService) AS theService,      "
         "SUM(SumForDiscount) AS theDiscount,      SUM(SumPaid) As thePaid  FROM bi_Bill "
         " WHERE BillDate>=? AND BillDate<?  AND CheckOutNull=0  AND IsDeleted=0  GROUP BY      "
         "TableAreaID , TableAreaName, TableId, TableName  UNION ALL  SELECT "
         "     TA.TableAreaID,TA.TableAreaName,TB.TableID,TB.TableName,      0 AS theBillCount,    "
         "  0 AS thePeopleCount,      0 AS theConsume,      0 AS theService, "
         "     0 AS theDiscount,      0 AS thePaid  FROM tb_Table AS TB,tb_TableArea AS TA  WHERE "
         "TB.TableAreaID = TA.TableAreaID  ) AS theView  WHERE 1=1  AND theBillCount<>0 "
         " ORDER BY TableAreaID,TableID ",
         {D10, D11},
         1},
        {"department chart",
         " SELECT  DepartTypeName,  SUM(BI.SumOfConsume)AS TotalSum  FROM bi_Bill AS "
         "BL,bi_BillItem AS BI  WHERE BL.BillID=BI.BillID AND BillDate>=? AND BillDate<? "
         " AND ( 1<>1  OR BillPeriod = '晚餐' ) AND IsDeleted=0  AND BL.CheckOutNull=0  AND "
         "BI.IsSentMenu=0   GROUP BY DepartTypeName  ORDER BY SUM(BI.SumOfConsume) Desc ",
         {D10, D11},
         2},
        {"menu query",
         " SELECT TOP 100 PERCENT * FROM ( SELECT      "
         "MN.MenuID,MN.MenuName,MN.ToSpell,MN.BarCode,MN.MenuID+'01' AS MenuUnitID,MN.MenuUnit,    "
         "  MN.MenuPrice1,MN.MenuPrice2,MN.MenuPrice3,MN.MenuPrice4,MN.CostPrice, "
         "     MT.MenuTypeName,DT.DepartTypeName,  "
         "MN.IsMenuSets,MN.BySeanson,MN.IsService,MN.IsNull,  "
         "MN.IsTableOrder,MN.IsPersonOrder,MN.NeedToPrint,MN.AutoSaleOut,MN.IsDiscount  FROM "
         "     MN_Menu AS MN,mn_MenuType AS MT,mn_DepartType AS DT  WHERE      "
         "MN.MenuTypeID=MT.MenuTypeID AND      MT.DepartTypeID=DT.DepartTypeID  UNION ALL  SELECT "
         "     MN.MenuID,MN.MenuName,MN.ToSpell,MN.BarCode,MU.MenuUnitID,MU.MenuUnitName AS "
         "MenuUnit,     MU.PriceForDefault AS MenuPrice1,MU.PriceForRoom AS MenuPrice2, "
         "     MU.PriceForMember AS MenuPrice3,MU.PriceForRoomMember AS MenuPrice4,      "
         "MU.PriceForCost AS CostPrice,      MT.MenuTypeName,DT.DepartTypeName, "
         " MN.IsMenuSets,MN.BySeanson,MN.IsService,MN.IsNull,  "
         "MN.IsTableOrder,MN.IsPersonOrder,MN.NeedToPrint,MN.AutoSaleOut,MN.IsDiscount  FROM "
         "     mn_Menu AS MN,mn_MenuUnit AS MU,mn_MenuType AS MT,mn_DepartType AS DT  WHERE      "
         "MN.MenuID=MU.MenuID AND      MN.MenuTypeID=MT.MenuTypeID AND "
         "     MT.DepartTypeID=DT.DepartTypeID ) AS theView  WHERE 1=1  AND IsNull<>0  AND ( "
         "MenuName like '%可%' OR        ToSpell  like '%kl%')  ORDER BY MenuID,MenuUnitID ",
         {},
         1},
        {"member query",
         " SELECT TOP 10 * FROM mb_MemberInfo  WHERE ( 1=1 ) AND CreateTime>=? AND CreateTime<?  "
         "ORDER BY MemberCardID DESC ,MemberID ",
         {QDate(2026, 1, 1), D11},
         1},
        {"member card payments",
         " SELECT TOP 100 PERCENT      MB.MemberTypeID, MB.MemberTypeName,      SUM(BP.PaySum) AS "
         "thePaySum  FROM      bi_BillPayment AS BP, bi_Bill AS BL, mb_MemberInfo AS MB "
         " WHERE      BP.SubjectName='现金' AND      BP.BillID=BL.BillID AND "
         "BL.MemberID=MB.MemberID AND      BL.BillDate >=? AND BL.BillDate <?  AND "
         "BL.CheckOutNull=0 "
         " GROUP BY MB.MemberTypeID, MB.MemberTypeName  ORDER BY MB.MemberTypeID ",
         {D10, D11},
         1},
        {"account balances",
         " SELECT TOP 100 PERCENT      "
         "A.AccountID,A.AccountName,T.AccountTypeID,T.AccountTypeName,      A.Balance, "
         "A.CreditLimit  FROM      ac_Account AS A,ac_AccountType AS T "
         " WHERE      A.AccountTypeID=T.AccountTypeID  AND A.AccountName like '%x%'  ORDER BY "
         "A.AccountID ",
         {},
         0},
        {"booking report",
         " select BL.BillID, BL.BillDate, BL.BillPeriod, BL.TableName,          BO.BookID, "
         "BO.BookPerson, BO.CreatePerson,                    BL.DiscountName, BL.DiscountRate, "
         "BL.SumForDiscount,  "
         "        BL.SumOfInvoice, BL.SumPaid,                                  BP.SubjectID, "
         "BP.SubjectName, BP.PaySum                  from bi_Bill as BL, tb_Book as BO, "
         "bi_BillPayment as BP  "
         "  where BL.OriginalID=BO.BookID and BL.BillID=BP.BillID           and BL.BillDate>=? and "
         "BL.BillDate<?              and BO.BookPerson   = 'x'  order by BL.BillID, BP.SubjectID ",
         {D10, D11},
         0},
        {"uploads",
         " SELECT      DepartTypeName,      SUM(theAmount) AS theAmount1,     SUM(theConsume) AS "
         "theConsume1,     SUM(theService) AS theService1,      SUM(theDiscount) AS theDiscount1 "
         " FROM rp_BillItem_Upload  WHERE BillDate>=? AND BillDate<?  GROUP BY DepartTypeName  "
         "ORDER BY DepartTypeName ",
         {D10, D11},
         0},
        {"bom",
         " SELECT TOP 100 PERCENT ItemID,ItemName,     SUM(QtyUse) AS theQtyUse,      SUM(QtyBom) "
         "AS theQtyBom   FROM st_BOM  WHERE      BillDate>=? AND BillDate<? "
         " AND (QtyUse<>0 OR QtyBom<>0)  GROUP BY ItemID,ItemName ORDER BY ItemID",
         {D10, D11},
         0},
        {"branch areas",
         " select distinct AreaID, AreaName from rpt_dd_Branch order by AreaID ",
         {},
         2},
        {"period start", "select top 1 BeginTime from dd_Period order by PeriodID", {}, 1},
        {"connection check", "select getdate()", {}, 1},
        {"probe", " SELECT * FROM [bi_Bill] WHERE 1<>1 ", {}, 0},
    };
}

} // namespace

class TstStatementShapes : public QObject
{
    Q_OBJECT

    static int count(Recordset& rs)
    {
        int n = 0;
        for (; !rs.atEnd(); rs.moveNext())
            ++n;
        return n;
    }

private slots:
    void shapes_data()
    {
        QTest::addColumn<TestDatabase::Driver>("driver");
        QTest::newRow("QSQLITE") << TestDatabase::Driver::Sqlite;
        QTest::newRow("QODBC") << TestDatabase::Driver::Odbc;
    }
    void shapes()
    {
        QFETCH(TestDatabase::Driver, driver);
        TestDatabase db("db_bills.sql", driver);
        for (const Shape& s : ::shapes()) {
            try {
                auto rs = db.connection()->execute(s.sql, s.params);
                QVERIFY2(count(*rs) == s.rows, s.name);
            } catch (const std::exception& e) {
                QFAIL(qPrintable(QString("%1: %2").arg(s.name, e.what())));
            }
        }
    }

    void figures()
    {
        TestDatabase db("db_bills.sql");
        const auto& c = *db.connection();
        auto first = [&](const char* name) {
            for (const Shape& s : ::shapes())
                if (QLatin1String(s.name) == QLatin1String(name))
                    return c.execute(s.sql, s.params);
            return std::unique_ptr<Recordset>();
        };
        {
            // Stock cost: 300 issued into 热菜间, 50 returned from it; 热菜间 belongs to 厨房.
            auto stock = first("daily stock cost");
            QCOMPARE(stock->value("DepartTypeName").toString(), QString("厨房"));
            QCOMPARE(stock->value("theTotalSum").toDouble(), 250.0);
            // Hours: B1 opened at 19:30, 120.50 received.
            auto hour = first("hour query");
            QCOMPARE(hour->value("BillHour").toInt(), 19);
            QCOMPARE(hour->value("BillTotal").toDouble(), 120.5);
            // Commission of B1-1: 3 portions at 2 each; unit price 114 / 3.
            auto cost = first("commission, menu derived table");
            QCOMPARE(cost->value("SumOfCost").toDouble(), 6.0);
            QCOMPARE(cost->value("MenuPrice").toDouble(), 38.0);
            // Returns: one cola at 8.
            QCOMPARE(first("returned items")->value("SumPaid").toDouble(), 8.0);
            // Department chart: 厨房 114 before 酒水 8 (the gift line left out).
            auto chart = first("department chart");
            QCOMPARE(chart->value("TotalSum").toDouble(), 114.0);
            // Period query: the catalogue line of the kitchen's one dish (empty period), then
            // 宫保鸡丁 sold 3 at dinner.
            auto period = first("period query with # dates");
            QCOMPARE(period->value("BillPeriod").toString(), QString(""));
            period->moveNext();
            QCOMPARE(period->value("TotalAmount").toInt(), 3);
            QCOMPARE(period->value("BillPeriod").toString(), QString("晚餐"));
            // Menu query: the main unit's id is the dish number followed by 01.
            QCOMPARE(first("menu query")->value("MenuUnitID").toString(), QString("200101"));
            // Member discount rate: 1 - 9.5 / 114 on B1-1, in decimals.
            auto rate = c.execute(
                " SELECT TOP 100 PERCENT * FROM (  SELECT TOP 100 PERCENT BI.MenuID AS MenuID, "
                " (1-(SUM(BI.SumForDiscount)/SUM(BI.SumOfConsume))) AS RateOfDisCount  FROM "
                "bi_Bill AS "
                "BL, bi_BillItem AS BI "
                " WHERE BL.BillID=BI.BillID AND BL.BillDate>=? AND BL.BillDate<=? AND "
                "BI.MenuPrice<>BI.MenuPrice2 AND "
                " BI.SumForDiscount<>0 AND BI.SumOfConsume<>0  GROUP BY BI.MenuID ) AS theView "
                "ORDER "
                "BY MenuID",
                {D10, D11});
            QCOMPARE(rate->value("RateOfDisCount").toDouble(), 1.0 - 9.5 / 114.0);
        } // open readers keep their tables locked
        // Expense tables are made by SELECT ... INTO when missing, then written.
        c.executeNonQuery("DROP TABLE bi_Expense");
        c.executeNonQuery(" select BillDate,                             SumToPay as Expense       "
                          "      into bi_Expense                       from bi_Bill     "
                          "                  where 1<>1 ");
        c.executeNonQuery(" insert into bi_Expense values(?,?) ", {D10, 88.5});
        auto expense = c.execute(
            " SELECT SUM(Expense) AS theExpense FROM bi_Expense WHERE BillDate>=? AND BillDate<? ",
            {D10, D11});
        QCOMPARE(expense->value(0).toDouble(), 88.5);
        QCOMPARE(c.execute(" select * from bi_Expense where BillDate=? ", {D10})->atEnd(), false);
    }
};

QTEST_MAIN(TstStatementShapes)
#include "tst_statementshapes.moc"
