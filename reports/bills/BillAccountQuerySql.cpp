#include "reports/bills/BillAccountQuerySql.h"

#include "db/SqlText.h"
#include "query/StatementFragments.h"

Statement BillAccountQueryWhereTail(const BillAccountQueryCriteria& c)
{
    auto typed = [](const QString& text) { return !text.trimmed().isEmpty(); };
    Statement sql;
    if (!c.accountType.isEmpty())
        sql += EqualsFilter(QStringLiteral("AccountType"), c.accountType);
    if (!c.subjectName.isEmpty())
        sql += EqualsFilter(QStringLiteral("SubjectName"), c.subjectName);
    if (typed(c.billId))
        sql += EqualsFilter(QStringLiteral("BillID"), c.billId);
    if (!c.userName.isEmpty())
        sql += EqualsFilter(QStringLiteral("UserName"), c.userName);
    if (typed(c.accountId))
        sql += EqualsFilter(QStringLiteral("AccountID"), c.accountId);
    if (typed(c.accountName))
        sql += QStringLiteral(" AND AccountName like '%") + sqlQuote(c.accountName) +
               QStringLiteral("%' ");
    sql += BranchMark(BillAccountBranch);
    return sql;
}

Statement BillAccountDetailStatement(const BillAccountQueryCriteria& criteria)
{
    return QStringLiteral(" SELECT TOP 100 PERCENT ") + QStringLiteral("     * ") +
           QStringLiteral(" FROM ") + QStringLiteral("     bi_BillAccount ") +
           QStringLiteral(" WHERE ") + QStringLiteral("     ") +
           criteria.range.bound(QStringLiteral("BillDate"), DateRange::Spaced) +
           QStringLiteral(" ") + BillAccountQueryWhereTail(criteria) +
           QStringLiteral(" ORDER BY BillID ");
}

Statement BillAccountSummaryStatement(const BillAccountQueryCriteria& criteria)
{
    return QStringLiteral(" SELECT TOP 100 PERCENT ") +
           QStringLiteral("     AccountType,SubjectID,SubjectName, ") +
           QStringLiteral("     COUNT(*) AS theCount,SUM(Amount) AS theAmount ") +
           QStringLiteral(" FROM ") + QStringLiteral("     bi_BillAccount ") +
           QStringLiteral(" WHERE ") + QStringLiteral("     ") +
           criteria.range.bound(QStringLiteral("BillDate"), DateRange::Spaced) +
           QStringLiteral(" ") + BillAccountQueryWhereTail(criteria) +
           QStringLiteral(" GROUP BY AccountType,SubjectID,SubjectName ") +
           QStringLiteral(" ORDER BY SubjectID ");
}

Statement BillAccountQueryStatement(int view, const BillAccountQueryCriteria& criteria)
{
    return view == 0 ? BillAccountDetailStatement(criteria) : BillAccountSummaryStatement(criteria);
}
