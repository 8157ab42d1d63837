#include "reports/periods/MonthReportSql.h"

Statement MonthReportCondition(const MonthReportCriteria& c)
{
    Statement sql = QStringLiteral(" and ") +
                    c.range.bound(QStringLiteral("BL.BillDate"), DateRange::Lower) +
                    QStringLiteral("  and BL.CheckOutNull=0 ");
    if (!c.useTrueData)
        sql += QStringLiteral(" AND BL.IsDeleted=0 ");
    if (c.saving)
        sql += QStringLiteral(" AND BL.TableName<>'会员卡充值'");
    return sql + BranchMark(MonthReportBranch);
}

Statement MonthDayStatement(const MonthReportCriteria& c)
{
    return QStringLiteral(" select BL.BillDate,                                      ") +
           QStringLiteral("        count(*)                  as theBillCount,        ") +
           QStringLiteral("        sum(BL.PeopleCount)       as thePeopleCount,      ") +
           QStringLiteral("        sum(BL.SumOfService)      as theSumOfService,     ") +
           QStringLiteral("        sum(BL.SumForDiscount)    as theSumForDiscount,   ") +
           QStringLiteral("        sum(BL.SumOfConsume)      as theSumOfConsume,     ") +
           QStringLiteral("        sum(BL.SumPaid)           as theSumPaid           ") +
           QStringLiteral("   from bi_Bill                   as BL (nolock)          ") +
           QStringLiteral("  where 1=1 ") + MonthReportCondition(c) +
           QStringLiteral("  group by BL.BillDate ");
}

Statement MonthDepartTypeStatement(const MonthReportCriteria& c)
{
    return QStringLiteral(" select BL.BillDate,              BI.DepartTypeID,        ") +
           QStringLiteral("        sum(BI.SumOfConsume)      as theSumOfConsume      ") +
           QStringLiteral(
               "   from bi_BillItem as BI (nolock),        bi_Bill as BL (nolock)          ") +
           QStringLiteral("  where BI.BillID=BL.BillID and BI.IsSentMenu=0 ") +
           MonthReportCondition(c) +
           QStringLiteral("  group by BL.BillDate, BI.DepartTypeID                   ");
}

Statement MonthSubjectStatement(const MonthReportCriteria& c)
{
    return QStringLiteral(" select BL.BillDate,              BP.SubjectID,           ") +
           QStringLiteral("        sum(BP.PaySum)            as thePaySum            ") +
           QStringLiteral(
               "   from bi_BillPayment as BP (nolock),     bi_Bill as BL (nolock)          ") +
           QStringLiteral("  where BP.BillID=BL.BillID                    ") +
           MonthReportCondition(c) +
           QStringLiteral("  group by BL.BillDate, BP.SubjectID                      ");
}

std::vector<Statement> MonthReportStatements(int, const MonthReportCriteria& c)
{
    return {MonthDayStatement(c), MonthDepartTypeStatement(c), MonthSubjectStatement(c)};
}

SummaryPlanner::Replacements MonthDaySummaryText()
{
    return {{QStringLiteral("   from bi_Bill                   as BL (nolock)          "),
             QStringLiteral("   from {summary} as BL ")}};
}

SummaryPlanner::Replacements MonthDepartTypeSummaryText()
{
    return {{QStringLiteral(
                 "   from bi_BillItem as BI (nolock),        bi_Bill as BL (nolock)          "),
             QStringLiteral("   from {summary} as BL ")},
            {QStringLiteral("  where BI.BillID=BL.BillID and "), QStringLiteral("  where ")}};
}

SummaryPlanner::Replacements MonthSubjectSummaryText()
{
    return {{QStringLiteral(
                 "   from bi_BillPayment as BP (nolock),     bi_Bill as BL (nolock)          "),
             QStringLiteral("   from {summary} as BL ")},
            {QStringLiteral("  where BP.BillID=BL.BillID "), QStringLiteral("  where 1=1 ")}};
}
