#include "reports/bills/BillQuerySql.h"

#include "db/SqlText.h"
#include "query/StatementFragments.h"

const BillQuerySortChoice BillQuerySortChoices[17] = {
    {"BillID", "单号"},           {"TableID", "台号"},          {"BillPeriod", "餐段"},
    {"CreatePerson", "开台人"},   {"ChargePerson", "埋单人"},   {"CheckOutPerson", "收银员"},
    {"PeopleCount", "人数"},      {"SumOfConsume", "消费总额"}, {"SumOfService", "服务费"},
    {"DiscountName", "打折方式"}, {"DiscountRate", "折扣率"},   {"SumForDiscount", "折扣额"},
    {"SumToPay", "应收金额"},     {"SumPaid", "实收金额"},      {"SumInCash", "现金"},
    {"SumOfInvoice", "发票金额"}, {"PrintCount", "埋单次数"},
};

static QString equals(const char* column, const QString& text)
{
    return EqualsFilter(QLatin1String(column), text);
}

Statement BillQueryWhereTail(const BillQueryCriteria& c)
{
    Statement sql;
    if (!c.billPeriod.isEmpty())
        sql += equals("BillPeriod", c.billPeriod);
    if (!c.useTrueData)
        sql += QStringLiteral(" AND IsDeleted=0 ");
    if (c.saving)
        sql += QStringLiteral(" AND TableName<>'会员卡充值'");
    if (c.haveDiscount)
        sql += QStringLiteral(" AND DiscountRate<1 ");
    if (c.notOnlyInCash)
        sql += QStringLiteral(" AND SumInCash<>SumPaid ");
    if (c.checkOutNull)
        sql += QStringLiteral(" AND CheckOutNull<>0 ");
    if (c.settledOnly)
        sql += QStringLiteral(" AND CheckOutNull=0 ");
    if (!c.billPeriods.isEmpty()) {
        // Each name a parameter: " AND BillPeriod IN (?,?) ".
        const QStringList names = c.billPeriods.split(QLatin1Char('\n'));
        QStringList marks(names.size(), QStringLiteral("?"));
        sql += Statement(QStringLiteral(" AND BillPeriod IN (") + marks.join(QLatin1Char(',')) +
                             QStringLiteral(") "),
                         QVariantList(names.begin(), names.end()));
    }
    if (c.withMemberCheck)
        sql += equals("DiscountName", c.memberPriceName);
    if (c.sumOfInvoice)
        sql += QStringLiteral(" AND SumOfInvoice<>0 ");
    if (c.printCount)
        sql += QStringLiteral(" AND PrintCount>1 ");
    if (c.sumPaid)
        sql += QStringLiteral(" AND SumToPay<>SumPaid ");
    sql += BranchMark(BillQueryBranch);
    if (!c.shiftId.trimmed().isEmpty())
        sql += equals("ShiftID", c.shiftId.trimmed());
    if (!c.createPerson.isEmpty())
        sql += equals("CreatePerson", c.createPerson);
    if (!c.chargePerson.isEmpty())
        sql += equals("ChargePerson", c.chargePerson);
    if (!c.checkOutPerson.isEmpty())
        sql += equals("CheckOutPerson", c.checkOutPerson);
    if (!c.tableName.isEmpty())
        sql += equals("TableName", c.tableName.trimmed());
    if (!c.tableAreaName.isEmpty())
        sql += equals("TableAreaName", c.tableAreaName.trimmed());
    if (!c.discountName.isEmpty())
        sql += equals("DiscountName", c.discountName.trimmed());
    if (!c.createHour.isEmpty())
        sql += Statement(QStringLiteral(" AND datepart(hh,CreateTime)=? "), {c.createHour.toInt()});
    if (!c.tableAreaKey.isEmpty())
        sql += Statement(QStringLiteral(" AND TableAreaName=? "), {c.tableAreaKey});
    if (!c.tableKey.isEmpty())
        sql += Statement(QStringLiteral(" AND TableName=? "), {c.tableKey});
    return sql;
}

QString BillQueryOrderBy(int orderBy, bool descending)
{
    if (orderBy < 0 || orderBy > 16)
        return QString();
    QString sql =
        QStringLiteral(" ORDER BY %1 ").arg(QLatin1String(BillQuerySortChoices[orderBy].field));
    if (descending)
        sql += QStringLiteral(" DESC ");
    if (orderBy != 0)
        sql += QStringLiteral(" ,BillID ");
    return sql;
}

Statement BillQueryStatement(int, const BillQueryCriteria& criteria)
{
    return QStringLiteral(" SELECT TOP 100 PERCENT ") +
           QStringLiteral("        BillID,TableFullName,BillPeriod,PeopleCount, ") +
           QStringLiteral("        CreatePerson,ChargePerson,CheckOutPerson, ") +
           QStringLiteral("        SumOfConsume,ServiceRate,SumOfService, ") +
           QStringLiteral("        DiscountName,DiscountRate,SumForDiscount, ") +
           QStringLiteral("        SumInCash,SumToPay,SumPaid,SumOfInvoice, ") +
           QStringLiteral("        PrintCount,CheckOutNull ") + QStringLiteral("   FROM bi_Bill ") +
           QStringLiteral("  WHERE ") + criteria.range.bound(QStringLiteral("BillDate")) +
           QStringLiteral(" ") + BillQueryWhereTail(criteria) +
           BillQueryOrderBy(criteria.orderBy, criteria.descending);
}
