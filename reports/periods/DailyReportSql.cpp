#include "reports/periods/DailyReportSql.h"

#include "db/SqlText.h"

namespace {

// Whether a bill item (BI) belongs to the statistic group: its department type, menu type or
// menu is one of the group's.
QString groupCondition(const QString& id)
{
    const QString group = sqlQuote(id);
    return QStringLiteral("   (BI.DepartTypeID IN (SELECT GroupItemID AS DepartTypeID FROM "
                          "mn_GroupItem WHERE GroupItemType='DepartType' AND GroupTypeID='") +
           group + QStringLiteral("'))") +
           QStringLiteral("OR (BI.MenuTypeID   IN (SELECT GroupItemID AS MenuTypeID   FROM "
                          "mn_GroupItem WHERE GroupItemType='MenuType'   AND GroupTypeID='") +
           group + QStringLiteral("'))") +
           QStringLiteral("OR (BI.MenuID       IN (SELECT GroupItemID AS MenuID       FROM "
                          "mn_GroupItem WHERE GroupItemType='Menu'       AND GroupTypeID='") +
           group + QStringLiteral("'))");
}

} // namespace

Statement DailyCommonFilter(const DailyReportCriteria& c, bool aliased)
{
    const QString bl = aliased ? QStringLiteral("BL.") : QString();
    Statement sql;
    if (!c.useTrueData)
        sql += QStringLiteral(" AND ") + bl + QStringLiteral("IsDeleted=0 ");
    if (c.saving)
        sql += QStringLiteral(" AND ") + bl + QStringLiteral("TableName<>'会员卡充值'");
    sql += BranchMark(DailyBillBranch);
    return sql;
}

Statement DailySummaryStatement(const DailyReportCriteria& c, const DateRange& r)
{
    return QStringLiteral(" SELECT SUM(SumPaid)        AS theSumPaid, ") +
           QStringLiteral("        SUM(SumOfConsume)   AS theSumOfConsume, ") +
           QStringLiteral("        SUM(SumForDiscount) AS theSumForDiscount, ") +
           QStringLiteral("        SUM(SumOfService)   AS theSumOfService , ") +
           QStringLiteral("        SUM(PeopleCount)    AS thePeopleCount ") +
           QStringLiteral("   From bi_Bill ") + QStringLiteral("  WHERE ") +
           r.bound(QStringLiteral("BillDate"), DateRange::Spaced) +
           QStringLiteral(" AND CheckOutNull=0 ") + DailyCommonFilter(c, false);
}

Statement DailySubjectStatement(const DailyReportCriteria& c, const DateRange& r,
                                const QString& key)
{
    Statement sql = QStringLiteral(" SELECT SUM(BP.SumPaid) AS theSum ");
    const bool subtotal = key == DailyIncomeSubtotalKey || key == DailyExpenseSubtotalKey;
    if (subtotal)
        sql += QStringLiteral("   FROM bi_Bill as BL,bi_BillPayment as BP,dd_Subject as SB ");
    else
        sql += QStringLiteral("   FROM bi_Bill as BL,bi_BillPayment as BP ");
    sql += QStringLiteral("  WHERE BL.BillID = BP.BillID AND BL.CheckOutNull=0 AND ");
    sql += QStringLiteral("        ") + r.bound(QStringLiteral("BL.BillDate"), DateRange::Spaced) +
           QStringLiteral(" AND");
    if (key == DailyIncomeSubtotalKey)
        sql += QStringLiteral(
            "        BP.SubjectID=SB.SubjectID and SB.BalanceType=0 and SB.IsVisible<>0 ");
    else if (key == DailyExpenseSubtotalKey)
        sql += QStringLiteral(
            "        BP.SubjectID=SB.SubjectID and SB.BalanceType<>0 and SB.IsVisible<>0 ");
    else
        sql += QStringLiteral("        BP.SubjectID='") + sqlQuote(key) + QStringLiteral("' ");
    return sql + DailyCommonFilter(c, true);
}

Statement DailyDepartTypeStatement(const DailyReportCriteria& c, const DateRange& r,
                                   const QString& name)
{
    return QStringLiteral(" SELECT SUM(BI.SumOfConsume) AS theSum ") +
           QStringLiteral("   FROM bi_Bill as BL,bi_BillItem as BI ") +
           QStringLiteral("  WHERE BL.BillID = BI.BillID AND") + QStringLiteral("        ") +
           r.bound(QStringLiteral("BL.BillDate"), DateRange::Spaced) + QStringLiteral(" AND ") +
           QStringLiteral("        BL.CheckOutNull=0 AND BI.IsSentMenu=0 AND ") +
           QStringLiteral("        BI.DepartTypeName='") + sqlQuote(name) + QStringLiteral("' ") +
           DailyCommonFilter(c, true);
}

Statement DailyGroupTypeStatement(const DailyReportCriteria& c, const DateRange& r,
                                  const QString& id)
{
    return QStringLiteral(" SELECT SUM(BI.SumOfConsume) AS theSum ") +
           QStringLiteral("   FROM bi_Bill AS BL, bi_BillItem AS BI ") +
           QStringLiteral("  WHERE BL.BillID = BI.BillID AND ") + QStringLiteral("        ") +
           r.bound(QStringLiteral("BL.BillDate"), DateRange::Spaced) + QStringLiteral(" AND ") +
           QStringLiteral("        BL.CheckOutNull=0 AND BI.IsSentMenu=0 ") +
           DailyCommonFilter(c, true) + QStringLiteral("      AND ( ") + groupCondition(id) +
           QStringLiteral(" ) ");
}

Statement DailyStockCostStatement(const DailyReportCriteria&, const DateRange& r)
{
    const Statement branch = BranchMark(DailyStockBranch);
    const Statement u =
        QStringLiteral(" SELECT [Into] AS theDepartment,TotalSum AS theTotal ") +
        QStringLiteral(" From st_Bill ") +
        QStringLiteral(" WHERE (BillTypeID=4 OR BillTypeID=7 OR BillTypeID=9) AND ") +
        QStringLiteral("        ") + r.bound(QStringLiteral("BillDate")) + QStringLiteral(" ") +
        branch + QStringLiteral(" Union All ") +
        QStringLiteral(" SELECT [FROM] AS theDepartment,0-TotalSum AS theTotal ") +
        QStringLiteral(" From st_Bill ") + QStringLiteral(" WHERE (BillTypeID=5) AND ") +
        QStringLiteral("        ") + r.bound(QStringLiteral("BillDate")) + QStringLiteral(" ") +
        branch;
    const Statement v = QStringLiteral(" SELECT theDepartment,SUM(theTotal) AS theSum ") +
                        QStringLiteral(" FROM( ") + u + QStringLiteral(" ) AS theView ") +
                        QStringLiteral(" WHERE 1=1 ") + QStringLiteral(" GROUP BY theDepartment ");
    return QStringLiteral(" SELECT ") +
           QStringLiteral("     DT.DepartTypeName,SUM(DM.theSum) AS theTotalSum ") +
           QStringLiteral(" FROM ") + QStringLiteral("     mn_DepartType AS DT, ") +
           QStringLiteral("     mn_Depart AS DP, ") + QStringLiteral("     (") + v +
           QStringLiteral(") As DM ") + QStringLiteral(" WHERE ") +
           QStringLiteral("     DT.DepartTypeID=DP.DepartTypeID AND ") +
           QStringLiteral("     DP.DepartName = DM.theDepartment ") +
           QStringLiteral(" GROUP BY DT.DepartTypeName ");
}

Statement DailyItemCostStatement(const DailyReportCriteria& c, const DateRange& r)
{
    Statement sql = QStringLiteral("   select BI.DepartTypeName, ") +
                    QStringLiteral("          sum(BI.CostPrice*(BI.AmountOrder-BI.AmountCancel)) "
                                   "as theTotalSum ") +
                    QStringLiteral("     from bi_Bill as BL, bi_BillItem as BI ") +
                    QStringLiteral("    where BL.BillID=BI.BillID and BL.CheckOutNull=0 and "
                                   "BI.IsSentMenu=0 and ") +
                    QStringLiteral("          ") +
                    r.bound(QStringLiteral("BL.BillDate"), DateRange::Lower) + QStringLiteral(" ") +
                    BranchMark(DailyItemCostBranch);
    if (!c.useTrueData)
        sql += QStringLiteral(" and BL.IsDeleted=0 ");
    if (c.saving)
        sql += QStringLiteral(" AND BL.TableName<>'会员卡充值'");
    return sql + QStringLiteral(" group by BI.DepartTypeName ");
}

Statement DailyExpenseStatement(const DateRange& r)
{
    return QStringLiteral(" SELECT SUM(Expense) AS theExpense FROM bi_Expense WHERE ") +
           r.bound(QStringLiteral("BillDate")) + QStringLiteral(" ") + NoBranchCondition();
}

QString DailyCostPriceProbeSql()
{
    return QStringLiteral("select CostPrice from bi_BillItem where 1<>1");
}

Statement DailySubjectSumsStatement(const DailyReportCriteria& c, const DateRange& r)
{
    return QStringLiteral(" SELECT BP.SubjectID, SUM(BP.SumPaid) AS theSum ") +
           QStringLiteral("   FROM bi_Bill as BL,bi_BillPayment as BP ") +
           QStringLiteral("  WHERE BL.BillID = BP.BillID AND BL.CheckOutNull=0 AND ") +
           QStringLiteral("        ") + r.bound(QStringLiteral("BL.BillDate"), DateRange::Spaced) +
           QStringLiteral(" ") + DailyCommonFilter(c, true) +
           QStringLiteral(" GROUP BY BP.SubjectID ");
}

QString DailyVisibleSubjectsSql()
{
    return QStringLiteral(
        " SELECT SubjectID, SUM(CASE WHEN BalanceType=0 THEN 1 ELSE 0 END) AS theIncome, "
        "        SUM(CASE WHEN BalanceType<>0 THEN 1 ELSE 0 END) AS theExpense "
        "   FROM dd_Subject WHERE IsVisible<>0 GROUP BY SubjectID ");
}

Statement DailyItemSumsStatement(const DailyReportCriteria& c, const DateRange& r, bool cost,
                                 const QStringList& groups)
{
    // SQL Server sums no expression that holds a subquery: the group conditions are worked out
    // per item in a derived table and summed over it.
    Statement items = QStringLiteral(" SELECT BI.DepartTypeName, BI.SumOfConsume ");
    if (cost)
        items += QStringLiteral(", BI.CostPrice*(BI.AmountOrder-BI.AmountCancel) AS theCost ");
    for (qsizetype i = 0; i < groups.size(); ++i)
        items += QStringLiteral(", CASE WHEN ") + groupCondition(groups.at(i)) +
                 QStringLiteral(" THEN BI.SumOfConsume ELSE 0 END AS theItemGroup%1 ").arg(i + 1);
    items += QStringLiteral("   FROM bi_Bill AS BL, bi_BillItem AS BI ") +
             QStringLiteral("  WHERE BL.BillID = BI.BillID AND ") + QStringLiteral("        ") +
             r.bound(QStringLiteral("BL.BillDate"), DateRange::Spaced) + QStringLiteral(" AND ") +
             QStringLiteral("        BL.CheckOutNull=0 AND BI.IsSentMenu=0 ") +
             DailyCommonFilter(c, true);
    Statement sql = QStringLiteral(" SELECT IT.DepartTypeName, SUM(IT.SumOfConsume) AS theSum ");
    if (cost)
        sql += QStringLiteral(", SUM(IT.theCost) AS theTotalSum ");
    for (qsizetype i = 0; i < groups.size(); ++i)
        sql += QStringLiteral(", SUM(IT.theItemGroup%1) AS theGroup%1 ").arg(i + 1);
    return sql + QStringLiteral(" FROM (") + items +
           QStringLiteral(") AS IT GROUP BY IT.DepartTypeName ");
}

std::vector<Statement> DailyReportStatements(int, const DailyReportCriteria& c)
{
    const DateRange& r = c.range;
    return {DailySummaryStatement(c, r),
            DailySubjectStatement(c, r, QStringLiteral("01")),
            DailySubjectStatement(c, r, DailyIncomeSubtotalKey),
            DailyDepartTypeStatement(c, r, QString()),
            DailyGroupTypeStatement(c, r, QString()),
            DailyStockCostStatement(c, r),
            DailyItemCostStatement(c, r),
            DailyExpenseStatement(r),
            DailySubjectSumsStatement(c, r),
            DailyItemSumsStatement(c, r, true, {QString()})};
}
