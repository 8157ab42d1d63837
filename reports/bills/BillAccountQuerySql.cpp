#include "reports/bills/BillAccountQuerySql.h"

#include "core/modBranch.h"
#include "db/SqlText.h"
#include "screens/ItemCriteria.h"

QString BillAccountQueryWhereTail(const BillAccountQueryCriteria& c)
{
    auto typed = [](const QString& text) { return !text.trimmed().isEmpty(); };
    QString sql;
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
    sql += BranchIdFilter(c.branches, QStringLiteral("(SELECT BL.BranchID FROM bi_Bill AS BL "
                                                     "WHERE BL.BillID=bi_BillAccount.BillID)"));
    return sql;
}

QString BillAccountDetailSql(const BillAccountQueryCriteria& criteria)
{
    return QStringLiteral(" SELECT TOP 100 PERCENT ") + QStringLiteral("     * ") +
           QStringLiteral(" FROM ") + QStringLiteral("     bi_BillAccount ") +
           QStringLiteral(" WHERE ") + QStringLiteral("     BillDate >=? AND BillDate <? ") +
           BillAccountQueryWhereTail(criteria) + QStringLiteral(" ORDER BY BillID ");
}

QString BillAccountSummarySql(const BillAccountQueryCriteria& criteria)
{
    return QStringLiteral(" SELECT TOP 100 PERCENT ") +
           QStringLiteral("     AccountType,SubjectID,SubjectName, ") +
           QStringLiteral("     COUNT(*) AS theCount,SUM(Amount) AS theAmount ") +
           QStringLiteral(" FROM ") + QStringLiteral("     bi_BillAccount ") +
           QStringLiteral(" WHERE ") + QStringLiteral("     BillDate >=? AND BillDate <? ") +
           BillAccountQueryWhereTail(criteria) +
           QStringLiteral(" GROUP BY AccountType,SubjectID,SubjectName ") +
           QStringLiteral(" ORDER BY SubjectID ");
}
