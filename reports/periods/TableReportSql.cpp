#include "reports/periods/TableReportSql.h"

#include "query/StatementFragments.h"

namespace {

Statement conditions(const TableReportCriteria& c)
{
    Statement sql = QStringLiteral(" AND CheckOutNull=0 ") + BranchMark(TableReportBranch);
    if (!c.billPeriod.isEmpty())
        sql += EqualsFilter(QStringLiteral("BillPeriod"), c.billPeriod);
    if (!c.useTrueData)
        sql += QStringLiteral(" AND IsDeleted=0 ");
    if (c.saving)
        sql += QStringLiteral(" AND TableName<>'会员卡充值'");
    return sql;
}

const char kMeasures[] = "     COUNT(*) AS theBillCount,      SUM(PeopleCount) AS thePeopleCount, "
                         "     SUM(SumOfConsume) AS theConsume,      SUM(SumOfService) AS "
                         "theService,      SUM(SumForDiscount) AS theDiscount, "
                         "     SUM(SumPaid) As thePaid ";
const char kBills[] = " FROM bi_Bill  WHERE ";
const char kZeros[] = "     0 AS theBillCount,      0 AS thePeopleCount,      0 AS theConsume, "
                      "     0 AS theService,      0 AS theDiscount,      0 AS thePaid ";

} // namespace

Statement TableReportStatement(int view, const TableReportCriteria& c)
{
    const bool tables = view == 0;
    Statement sql =
        QStringLiteral(" SELECT TOP 100 PERCENT * FROM (  SELECT ") +
        (tables ? QStringLiteral("     TableAreaID,TableAreaName,TableID,TableName, ")
                : QStringLiteral("     TableAreaID,TableAreaName, ")) +
        QLatin1String(kMeasures) + QString::fromLatin1(kBills) +
        c.range.bound(QStringLiteral("BillDate")) + QStringLiteral(" ") + conditions(c) +
        QStringLiteral(" GROUP BY ") +
        (tables ? QStringLiteral("     TableAreaID , TableAreaName, TableId, TableName ")
                : QStringLiteral("     TableAreaID,TableAreaName ")) +
        QStringLiteral(" UNION ALL  SELECT ") +
        (tables ? QStringLiteral("     TA.TableAreaID,TA.TableAreaName,TB.TableID,"
                                 "TB.TableName, ")
                : QStringLiteral("     TableAreaID, TableAreaName, ")) +
        QString::fromLatin1(kZeros) +
        (tables ? QStringLiteral(" FROM tb_Table AS TB,tb_TableArea AS TA "
                                 " WHERE TB.TableAreaID = TA.TableAreaID ")
                : QStringLiteral(" FROM tb_TableArea ")) +
        QStringLiteral(" ) AS theView  WHERE 1=1 ");
    if (c.notNull)
        sql += QStringLiteral(" AND theBillCount<>0 ");
    return sql + (tables ? QStringLiteral(" ORDER BY TableAreaID,TableID ")
                         : QStringLiteral(" ORDER BY TableAreaID "));
}

SummaryPlanner::Replacements TableReportSummaryText()
{
    return {{QLatin1String(kBills), QStringLiteral(" FROM {summary} AS BL  WHERE ")}};
}
