#include "reports/members/MemberBillSql.h"

#include "db/SqlText.h"
#include "query/StatementFragments.h"

Statement MemberBillCondition(const MemberBillCriteria& c)
{
    Statement sql = QStringLiteral("     ") +
                    c.range.bound(QStringLiteral("BL.BillDate"), DateRange::Spaced) +
                    QStringLiteral(" ") + QStringLiteral(" AND BL.CheckOutNull=0 ");
    sql += BranchMark(MemberBillBranch);
    if (!c.memberType.isEmpty())
        sql += EqualsFilter(QStringLiteral("MB.MemberTypeName"), c.memberType);
    if (!c.cardNumber.trimmed().isEmpty())
        sql += EqualsFilter(QStringLiteral("MB.MemberCardID"), c.cardNumber.trimmed());
    if (!c.memberName.trimmed().isEmpty())
        sql += EqualsFilter(QStringLiteral("MB.MemberName"), c.memberName.trimmed());
    if (!c.useTrueData)
        sql += QStringLiteral(" AND BL.IsDeleted=0 ");
    if (c.saving)
        sql += QStringLiteral(" AND BL.TableName<>'会员卡充值'");
    return sql;
}

namespace {

const char kMemberBills[] = "     bi_Bill AS BL, mb_MemberInfo AS MB ";
const char kMemberItems[] = "     bi_BillItem AS BI, bi_Bill AS BL, mb_MemberInfo AS MB ";
const char kMemberItemsJoin[] = "     BI.BillID=BL.BillID AND BL.MemberID=MB.MemberID AND ";
const char kMemberPayments[] = "     bi_BillPayment AS BP, bi_Bill AS BL, mb_MemberInfo AS MB ";
const char kMemberPaymentsJoin[] = "     BP.BillID=BL.BillID AND ";

} // namespace

Statement MemberConsumeStatement(int view, const MemberBillCriteria& criteria)
{
    const Statement range = MemberBillCondition(criteria);
    const Statement bills = QStringLiteral(" FROM ") + QLatin1String(kMemberBills) +
                            QStringLiteral(" WHERE ") +
                            QStringLiteral("     BL.MemberID=MB.MemberID AND ") + range;
    switch (view) {
    case 0:
        return QStringLiteral(" SELECT TOP 100 PERCENT ") +
               QStringLiteral("     BL.BillID,BL.BillDate,BL.SumPaid, ") +
               QStringLiteral("     MB.MemberCardID,MB.MemberName,MB.MemberTypeName ") + bills +
               QStringLiteral(" ORDER BY BL.BillID ");
    case 1:
        return QStringLiteral(" SELECT TOP 100 PERCENT ") +
               QStringLiteral("     MB.MemberCardID,MB.MemberName,MB.MemberTypeName, ") +
               QStringLiteral("     SUM(BL.SumPaid) AS theSumPaid ") + bills +
               QStringLiteral(" GROUP BY MB.MemberCardID,MB.MemberName,MB.MemberTypeName ") +
               QStringLiteral(" ORDER BY SUM(BL.SumPaid) DESC ");
    default:
        return QStringLiteral(" SELECT TOP 100 PERCENT ") +
               QStringLiteral("     BI.MenuID,BI.MenuName,BI.MenuTypeName, ") +
               QStringLiteral("     COUNT(*) AS theCount, ") +
               QStringLiteral("     SUM(BI.AmountOrder-BI.AmountCancel) AS theQty ") +
               QStringLiteral(" FROM ") + QLatin1String(kMemberItems) + QStringLiteral(" WHERE ") +
               QLatin1String(kMemberItemsJoin) + range +
               QStringLiteral(" GROUP BY BI.MenuID,BI.MenuName,BI.MenuTypeName ") +
               QStringLiteral(" ORDER BY COUNT(*) DESC ");
    }
}

Statement PaymentMemberStatement(int view, const MemberBillCriteria& criteria)
{
    const Statement from =
        QStringLiteral(" FROM ") + QLatin1String(kMemberPayments) + QStringLiteral(" WHERE ") +
        QStringLiteral("     BP.SubjectName='") + sqlQuote(criteria.subject) +
        QStringLiteral("' AND ") + QLatin1String(kMemberPaymentsJoin) +
        QStringLiteral("BL.MemberID=MB.MemberID AND ") + MemberBillCondition(criteria);
    switch (view) {
    case 0:
        return QStringLiteral(" SELECT TOP 100 PERCENT ") +
               QStringLiteral("     BL.BillID,BL.BillDate, ") +
               QStringLiteral("     MB.MemberCardID,MB.MemberName,MB.MemberTypeName, ") +
               QStringLiteral("     BP.PaySum ") + from + QStringLiteral(" ORDER BY BL.BillID ");
    case 1:
        return QStringLiteral(" SELECT TOP 100 PERCENT ") +
               QStringLiteral("     MB.MemberCardID,MB.MemberName,MB.MemberTypeName, ") +
               QStringLiteral("     SUM(BP.PaySum) AS thePaySum ") + from +
               QStringLiteral(" GROUP BY MB.MemberCardID,MB.MemberName,MB.MemberTypeName ") +
               QStringLiteral(" ORDER BY MB.MemberCardID ");
    default:
        return QStringLiteral(" SELECT TOP 100 PERCENT ") +
               QStringLiteral("     MB.MemberTypeID, MB.MemberTypeName, ") +
               QStringLiteral("     SUM(BP.PaySum) AS thePaySum ") + from +
               QStringLiteral(" GROUP BY MB.MemberTypeID, MB.MemberTypeName ") +
               QStringLiteral(" ORDER BY MB.MemberTypeID ");
    }
}

bool MemberDishesFitSummaries(const MemberBillCriteria& c)
{
    return c.memberType.isEmpty() && c.cardNumber.trimmed().isEmpty() &&
           c.memberName.trimmed().isEmpty();
}

SummaryPlanner::Replacements MemberDishesSummaryText()
{
    return {{QLatin1String(kMemberItems), QStringLiteral(" {summary} AS BL ")},
            {QLatin1String(kMemberItemsJoin), QStringLiteral(" ")}};
}

SummaryPlanner::Replacements MemberTotalsSummaryText()
{
    return {
        {QLatin1String(kMemberBills), QStringLiteral(" {summary} AS BL, mb_MemberInfo AS MB ")}};
}

SummaryPlanner::Replacements MemberPaymentsSummaryText()
{
    return {
        {QLatin1String(kMemberPayments), QStringLiteral(" {summary} AS BL, mb_MemberInfo AS MB ")},
        {QLatin1String(kMemberPaymentsJoin), QStringLiteral(" ")}};
}
