#include "reports/periods/DepartQuerySql.h"

#include "core/modPublic.h"

#include "db/SqlText.h"
#include "query/StatementFragments.h"
#include "reports/periods/MenuQuerySql.h"

const char* const DepartItemFields[10] = {
    "MenuID",      "MenuName", "DepartTypeName", "MenuTypeName", "MenuUnitName",
    "AmountOfOut", "SumOfOut", "SumOfDicount",   "SumOfPaid",    "AvgOfPaid",
};

Statement DepartItemStatement(int, const DepartItemCriteria& c)
{
    Statement sql =
        QStringLiteral(
            " SELECT TOP 100 PERCENT * FROM (  SELECT BI.MenuID, BI.MenuName, BI.MenuUnitName, "
            "        BI.DepartTypeName, BI.MenuTypeName, "
            "        SUM(BI.AmountOrder-BI.AmountCancel) AS AmountOfOut, "
            "        SUM(BI.SumOfConsume) AS SumOfOut, Sum(BI.SumForDiscount) AS SumOfDicount, "
            "       (SUM(BI.SumOfConsume)-SUM(BI.SumForDiscount)) AS SumOfPaid, "
            "       "
            "(SUM(BI.SumOfConsume)-SUM(BI.SumForDiscount))/SUM(BI.AmountOrder-BI.AmountCancel)"
            " AS AvgOfPaid    FROM bi_Bill AS BL, bi_BillItem AS BI "
            "  WHERE BL.BillID = BI.BillID AND (BI.AmountOrder-BI.AmountCancel)<>0 AND "
            "        ") +
        c.range.bound(QStringLiteral("BL.BillDate"), DateRange::Spaced) +
        QStringLiteral("  AND BL.CheckOutNull=0 ") + BranchMark(ItemLineBranch);
    if (!c.departType.trimmed().isEmpty())
        sql += QStringLiteral(" AND BI.DepartTypeName = '") + sqlQuote(c.departType.trimmed()) +
               QStringLiteral("' ");
    if (!c.menuType.trimmed().isEmpty())
        sql += QStringLiteral(" AND BI.MenuTypeName = '") + sqlQuote(c.menuType.trimmed()) +
               QStringLiteral("' ");
    if (!c.useTrueData)
        sql += QStringLiteral(" AND BL.IsDeleted=0 ");
    if (c.saving)
        sql += QStringLiteral(" AND BL.TableName<>'会员卡充值'");
    sql += GiftScopeFilter(c.giftScope);
    sql += QStringLiteral("  GROUP BY BI.MenuID,BI.MenuName,BI.MenuUnitName,BI.DepartTypeName,"
                          "BI.MenuTypeName ) AS theView   WHERE 1=1 ");
    if (!c.lowPrice.trimmed().isEmpty())
        sql += QStringLiteral(" AND AvgOfPaid >=") + PlainNumber(c.lowPrice);
    if (!c.highPrice.trimmed().isEmpty())
        sql += QStringLiteral(" AND AvgOfPaid <=") + PlainNumber(c.highPrice);
    if (c.orderBy >= 0 && c.orderBy < 10)
        sql += QStringLiteral(" ORDER BY ") + QLatin1String(DepartItemFields[c.orderBy]) +
               (c.descending ? QStringLiteral(" DESC ") : QStringLiteral(" ASC  "));
    return sql;
}

QStringList DepartGroupFields(int grouping)
{
    switch (grouping) {
    case ByDepart:
        return {QStringLiteral("DepartName")};
    case ByMenuType:
        return {QStringLiteral("MenuTypeName")};
    case ByDepartTypeAndDepart:
        return {QStringLiteral("DepartTypeName"), QStringLiteral("DepartName")};
    case ByDepartTypeAndMenuType:
        return {QStringLiteral("DepartTypeName"), QStringLiteral("MenuTypeName")};
    default:
        return {QStringLiteral("DepartTypeName")};
    }
}

QStringList DepartLabelFields(int grouping)
{
    QStringList fields = DepartGroupFields(grouping);
    std::reverse(fields.begin(), fields.end());
    return fields;
}

Statement DepartShareStatement(int, const DepartShareCriteria& c)
{
    const QString fields = DepartGroupFields(c.grouping).join(QLatin1Char(','));
    Statement conditions = MealPeriodCondition(QStringLiteral("BillPeriod"), c.periods);
    if (!c.useTrueData)
        conditions += QStringLiteral(" AND IsDeleted=0 ");
    conditions += QStringLiteral(" AND BL.CheckOutNull=0 ");
    if (c.saving)
        conditions += QStringLiteral(" AND BL.TableName<>'会员卡充值'");
    conditions += BranchMark(ItemLineBranch);
    conditions += GiftScopeFilter(c.giftScope);
    return QStringLiteral(" SELECT  ") + fields + QStringLiteral(", ") +
           QStringLiteral(" SUM(BI.SumOfConsume)AS TotalSum ") +
           QStringLiteral(" FROM bi_Bill AS BL,bi_BillItem AS BI ") +
           QStringLiteral(" WHERE BL.BillID=BI.BillID AND ") +
           c.range.bound(QStringLiteral("BillDate")) + QStringLiteral(" ") + conditions +
           QStringLiteral(" GROUP BY ") + fields +
           QStringLiteral(" ORDER BY SUM(BI.SumOfConsume) Desc ");
}

namespace {

// A share as "12.34%".
QString percent(const Money& part, const Money& total)
{
    const double share = double(part.units()) / double(total.units());
    return QString::number(share * 100.0, 'f', 2) + QLatin1Char('%');
}

QString sliceLabel(const QString& label, const Money& amount, const Money& total,
                   const QString& nameSeparator, const QString& shareSeparator)
{
    return label + nameSeparator + GroupThousands(amount.toString()) + shareSeparator +
           percent(amount, total);
}

} // namespace

std::vector<DepartSlice> DepartSlices(const std::vector<DepartShareRow>& rows, double minPercent,
                                      const QString& othersLabel, const QString& nameSeparator,
                                      const QString& shareSeparator)
{
    Money total;
    for (const DepartShareRow& row : rows)
        total += row.amount;
    std::vector<DepartSlice> slices;
    if (total.isZero())
        return slices;
    Money others;
    QList<QStringList> folded;
    for (size_t i = 0; i < rows.size(); ++i) {
        const DepartShareRow& row = rows[i];
        const double share = double(row.amount.units()) / double(total.units()) * 100.0;
        const bool last = i + 1 == rows.size();
        if (share < minPercent && !(last && others.isZero())) {
            others += row.amount;
            folded << row.keys;
        } else {
            slices.push_back(
                {sliceLabel(row.label, row.amount, total, nameSeparator, shareSeparator),
                 row.amount,
                 false,
                 {row.keys}});
        }
    }
    if (others > Money())
        slices.push_back({sliceLabel(othersLabel, others, total, nameSeparator, shareSeparator),
                          others, true, folded});
    return slices;
}

SummaryPlanner::Replacements DepartShareSummaryText()
{
    return {{QStringLiteral(" FROM bi_Bill AS BL,bi_BillItem AS BI "),
             QStringLiteral(" FROM {summary} AS BL ")},
            {QStringLiteral(" WHERE BL.BillID=BI.BillID AND "), QStringLiteral(" WHERE ")}};
}

SummaryPlanner::Replacements DepartItemSummaryText()
{
    return {{QStringLiteral(" FROM bi_Bill AS BL, bi_BillItem AS BI "),
             QStringLiteral(" FROM {summary} AS BL ")},
            {QStringLiteral(" WHERE BL.BillID = BI.BillID AND (BI.AmountOrder-BI.AmountCancel)<>0 "
                            "AND "),
             QStringLiteral(" WHERE BL.QtyNonZero=1 AND ")}};
}
