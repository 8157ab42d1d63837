#include "reports/bills/BillInfoSql.h"

#include "db/SqlText.h"

QString BillInfoCondition(const QString& billId, const QString& unCheckBillId)
{
    if (!unCheckBillId.isEmpty())
        return QStringLiteral(" UnCheckBillID='") + sqlQuote(unCheckBillId) + QStringLiteral("' ");
    return QStringLiteral(" BillID='") + sqlQuote(billId) + QStringLiteral("' ");
}

QString BillInfoItemsSql(const QString& billId, const QString& unCheckBillId)
{
    return QStringLiteral("   SELECT TOP 100 PERCENT ") +
           QStringLiteral("          MenuID,MenuName,MenuUnitName,CookWay,CreatePerson, ") +
           QStringLiteral("          AmountOrder,AmountCancel,IsSentMenu, ") +
           QStringLiteral("          SumOfConsume,SumOfService,SumForDiscount,CreateTime, ") +
           QStringLiteral("         (SumOfConsume+SumOfService-SumForDiscount) AS theSum ") +
           QStringLiteral("     FROM ") +
           (unCheckBillId.isEmpty() ? QStringLiteral(" bi_BillItem ")
                                    : QStringLiteral(" bi_UnCheckBillItem ")) +
           QStringLiteral("    WHERE ") + BillInfoCondition(billId, unCheckBillId) +
           QStringLiteral(" ORDER BY CreateTime ");
}

QString BillInfoPaymentsSql(const QString& billId, const QString& unCheckBillId)
{
    return QStringLiteral("   SELECT TOP 100 PERCENT ") +
           QStringLiteral("          SubjectID,SubjectName,PaySum, ") +
           QStringLiteral("          ExchangeRate,SumPaid ") + QStringLiteral("     FROM ") +
           (unCheckBillId.isEmpty() ? QStringLiteral(" bi_BillPayment ")
                                    : QStringLiteral(" bi_UnCheckBillPayment ")) +
           QStringLiteral("    WHERE ") + BillInfoCondition(billId, unCheckBillId) +
           QStringLiteral(" ORDER BY SubjectID ");
}

QString UnCheckBillListSql(const QString& billId)
{
    return QStringLiteral("   SELECT * ") + QStringLiteral("     FROM bi_UnCheckBill ") +
           QStringLiteral("    WHERE BillID='") + sqlQuote(billId) + QStringLiteral("' ") +
           QStringLiteral(" ORDER BY UnCheckTime ");
}

QString BillCheckItemsSql(const QString& billId)
{
    return QStringLiteral(" SELECT TOP 100 PERCENT ") +
           QStringLiteral("     MenuID,MenuName,MenuUnitName,CookWay,CreatePerson, ") +
           QStringLiteral("     AmountOrder,AmountCancel,IsSentMenu, ") +
           QStringLiteral("     SumOfConsume,SumOfService,SumForDiscount, ") +
           QStringLiteral("    (SumOfConsume+SumOfService-SumForDiscount) AS theSum ") +
           QStringLiteral(" FROM bi_BillItem ") + QStringLiteral(" WHERE BillID='") +
           sqlQuote(billId) + QStringLiteral("'") + QStringLiteral(" ORDER BY BillItemID ");
}

QString BillCheckPaymentsSql(const QString& billId)
{
    return QStringLiteral(" SELECT TOP 100 PERCENT ") +
           QStringLiteral("     SubjectID,SubjectName,PaySum, ") +
           QStringLiteral("     ExchangeRate,SumPaid ") + QStringLiteral(" FROM bi_BillPayment ") +
           QStringLiteral(" WHERE BillID='") + sqlQuote(billId) + QStringLiteral("'") +
           QStringLiteral(" ORDER BY SubjectID ");
}
