#include "reports/members/AccountPaymentSql.h"

#include "db/SqlText.h"
#include "query/StatementFragments.h"

namespace {

bool typed(const QString& text)
{
    return !text.trimmed().isEmpty();
}

// The conditions in their fixed order; the balances take only those on the account.
QString condition(const AccountPaymentCriteria& c, bool movements)
{
    QString sql;
    if (!c.accountType.isEmpty())
        sql += EqualsFilter(QStringLiteral("T.AccountTypeName"), c.accountType);
    if (movements) {
        if (c.paymentType > 0)
            sql += QStringLiteral(" AND P.PaymentType=") + QString::number(c.paymentType - 1) +
                   QStringLiteral(" ");
        if (typed(c.billId))
            sql += EqualsFilter(QStringLiteral("P.BillID"), c.billId.trimmed());
        if (!c.createPerson.isEmpty())
            sql += EqualsFilter(QStringLiteral("P.CreatePerson"), c.createPerson);
    }
    if (typed(c.accountId))
        sql += EqualsFilter(QStringLiteral("A.AccountID"), c.accountId.trimmed());
    if (typed(c.accountName))
        sql += QStringLiteral(" AND A.AccountName like '%") + sqlQuote(c.accountName.trimmed()) +
               QStringLiteral("%' ");
    return sql;
}

} // namespace

Statement AccountPaymentStatement(int view, const AccountPaymentCriteria& criteria)
{
    const QString accounts = QStringLiteral("     A.AccountID,A.AccountName,T.AccountTypeID,"
                                            "T.AccountTypeName, ");
    const Statement movements =
        QStringLiteral(" FROM ") +
        QStringLiteral("     ac_Account AS A,ac_AccountType AS T,ac_Payment AS P") +
        QStringLiteral(" WHERE ") + QStringLiteral("     A.AccountTypeID=T.AccountTypeID AND ") +
        QStringLiteral("     A.AccountID=P.AccountID AND ") + QStringLiteral("     ") +
        criteria.range.bound(QStringLiteral("P.BillDate"), DateRange::Spaced) +
        QStringLiteral(" ") + condition(criteria, true);
    switch (view) {
    case 0:
        return Statement(QStringLiteral(" SELECT TOP 100 PERCENT ")) + accounts +
               QStringLiteral("     P.PaymentID,P.PaymentType,P.BillID,P.BillDate,P.Amount, ") +
               QStringLiteral("     P.CreatePerson,P.CreateTime,P.Remark ") + movements +
               QStringLiteral(" ORDER BY P.PaymentID ");
    case 1:
        return Statement(QStringLiteral(" SELECT TOP 100 PERCENT ")) + accounts +
               QStringLiteral("     SUM(P.Amount) AS theSum, COUNT(*) AS theCount ") + movements +
               QStringLiteral(" GROUP BY ") +
               QStringLiteral("     A.AccountID,A.AccountName,T.AccountTypeID,T.AccountTypeName") +
               QStringLiteral(" ORDER BY A.AccountID ");
    default:
        return Statement(QStringLiteral(" SELECT TOP 100 PERCENT ")) + accounts +
               QStringLiteral("     A.Balance, A.CreditLimit ") + QStringLiteral(" FROM ") +
               QStringLiteral("     ac_Account AS A,ac_AccountType AS T ") +
               QStringLiteral(" WHERE ") + QStringLiteral("     A.AccountTypeID=T.AccountTypeID ") +
               condition(criteria, false) + QStringLiteral(" ORDER BY A.AccountID ");
    }
}
