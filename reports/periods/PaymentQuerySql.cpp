#include "reports/periods/PaymentQuerySql.h"

#include "query/StatementFragments.h"

namespace {

QString equals(const char* column, const QString& text)
{
    return EqualsFilter(QLatin1String(column), text);
}

} // namespace

Statement PaymentQueryCondition(const PaymentQueryCriteria& c)
{
    Statement sql = QStringLiteral(" AND BL.CheckOutNull=0 ");
    sql += BranchMark(PaymentQueryBranch);
    if (!c.shiftId.trimmed().isEmpty())
        sql += equals("BL.ShiftID", c.shiftId.trimmed());
    if (!c.tableAreaName.isEmpty())
        sql += equals("BL.TableAreaName", c.tableAreaName);
    if (!c.billPeriod.isEmpty())
        sql += equals("BL.BillPeriod", c.billPeriod);
    if (!c.subjectName.isEmpty())
        sql += equals("BP.SubjectName", c.subjectName);
    if (!c.subjectId.isEmpty())
        sql += Statement(QStringLiteral(" AND BP.SubjectID=? "), {c.subjectId});
    if (c.balanceType == QLatin1String("0"))
        sql += QStringLiteral(" AND BP.SubjectID IN (SELECT SubjectID FROM dd_Subject WHERE "
                              "BalanceType=0 AND IsVisible<>0) ");
    else if (c.balanceType == QLatin1String("1"))
        sql += QStringLiteral(" AND BP.SubjectID IN (SELECT SubjectID FROM dd_Subject WHERE "
                              "BalanceType<>0 AND IsVisible<>0) ");
    if (!c.checkOutPerson.isEmpty())
        sql += equals("BL.CheckOutPerson", c.checkOutPerson);
    if (!c.createPerson.isEmpty())
        sql += equals("BL.CreatePerson", c.createPerson);
    if (!c.subjectKey.isEmpty())
        sql += Statement(QStringLiteral(" AND BP.SubjectName=? "), {c.subjectKey});
    if (!c.cashierKey.isEmpty())
        sql += Statement(QStringLiteral(" AND BL.CheckOutPerson=? "), {c.cashierKey});
    if (!c.useTrueData)
        sql += QStringLiteral(" AND BL.IsDeleted=0 ");
    if (c.saving)
        sql += QStringLiteral(" AND BL.TableName<>'会员卡充值'");
    return sql;
}

Statement PaymentQueryStatement(int view, const PaymentQueryCriteria& c)
{
    QString columns, tail;
    switch (PaymentView(view)) {
    case PaymentView::Detail:
        columns = QStringLiteral("     BL.BillID,BL.TableName,BL.SumToPay, ") +
                  QStringLiteral("     BP.SubjectName,BP.PaySum,BP.SumPaid, ") +
                  QStringLiteral("     BL.CreatePerson,BL.CheckOutPerson,BL.CheckOutTime ");
        tail = QStringLiteral(" ORDER BY BL.BillID ");
        break;
    case PaymentView::BySubject:
        columns = QStringLiteral("     BP.SubjectID,BP.SubjectName,COUNT(*) AS theCount, ") +
                  QStringLiteral("     SUM(BP.PaySum) AS thePaySum,SUM(BP.SumPaid) AS theSumPaid ");
        tail = QStringLiteral(" GROUP BY BP.SubjectID,BP.SubjectName ") +
               QStringLiteral(" ORDER BY BP.SubjectID ");
        break;
    case PaymentView::BySubjectAndCashier:
        columns = QStringLiteral(
                      "     BP.SubjectID,BP.SubjectName,BL.CheckOutPersonID,BL.CheckOutPerson, ") +
                  QStringLiteral("     COUNT(*) AS theCount,SUM(BP.PaySum) AS thePaySum,SUM(BP."
                                 "SumPaid) AS theSumPaid ");
        tail = QStringLiteral(" GROUP BY BP.SubjectID,BP.SubjectName,BL.CheckOutPersonID,BL."
                              "CheckOutPerson ") +
               QStringLiteral(" ORDER BY BP.SubjectID,BL.CheckOutPersonID ");
        break;
    }
    return QStringLiteral(" SELECT TOP 100 PERCENT ") + columns + QStringLiteral(" FROM ") +
           QStringLiteral("     bi_Bill AS BL, bi_BillPayment AS BP ") + QStringLiteral(" WHERE ") +
           QStringLiteral("     BL.BillID = BP.BillID  AND ") +
           c.range.bound(QStringLiteral("BL.BillDate"), DateRange::Spaced) + QStringLiteral(" ") +
           PaymentQueryCondition(c) + tail;
}

bool PaymentQueryFitsSummaries(int view, const PaymentQueryCriteria& c)
{
    return PaymentView(view) != PaymentView::Detail && c.shiftId.trimmed().isEmpty() &&
           c.tableAreaName.isEmpty() && c.createPerson.isEmpty() && c.subjectId.isEmpty() &&
           c.balanceType.isEmpty();
}

SummaryPlanner::Replacements PaymentQuerySummaryText()
{
    return {{QStringLiteral(" bi_Bill AS BL, bi_BillPayment AS BP "),
             QStringLiteral(" {summary} AS BL ")},
            {QStringLiteral(" BL.BillID = BP.BillID  AND "), QStringLiteral(" ")}};
}
