#include "reports/bills/BillAccountQuerySql.h"

#include "db/SqlText.h"

QString BillAccountQueryWhereTail(const BillAccountQueryCriteria& c)
{
    auto equals = [](const char* column, const QString& text) {
        return QStringLiteral(" AND %1='%2' ").arg(QLatin1String(column), sqlQuote(text));
    };
    auto typed = [](const QString& text) { return !text.trimmed().isEmpty(); };
    QString sql;
    if (!c.accountType.isEmpty())
        sql += equals("AccountType", c.accountType);
    if (!c.subjectName.isEmpty())
        sql += equals("SubjectName", c.subjectName);
    if (typed(c.billId))
        sql += equals("BillID", c.billId);
    if (!c.userName.isEmpty())
        sql += equals("UserName", c.userName);
    if (typed(c.accountId))
        sql += equals("AccountID", c.accountId);
    if (typed(c.accountName))
        sql += QStringLiteral(" AND AccountName like '%") + sqlQuote(c.accountName) +
               QStringLiteral("%' ");
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
