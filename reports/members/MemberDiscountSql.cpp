#include "reports/members/MemberDiscountSql.h"

namespace {

// The pieces of the statement that the discount summary answers otherwise: the join of the
// bills and their lines, the quantity sold, and the lines' own conditions (the summary holds
// those lines only).
const char kJoin[] =
    " FROM      bi_Bill AS BL, bi_BillItem AS BI  WHERE      BL.BillID=BI.BillID AND ";
const char kSold[] = "SUM(BI.AmountOrder-BI.AmountCancel)";
const char kDiscounted[] =
    " AND      BI.MenuPrice<>BI.MenuPrice2 AND     BI.SumForDiscount<>0 AND BI.SumOfConsume<>0 ";

} // namespace

Statement MemberDiscountStatement(int, const MemberDiscountCriteria& c)
{
    Statement condition;
    if (!c.departType.isEmpty())
        condition += EqualsFilter(QStringLiteral("BI.DepartTypeName"), c.departType);
    if (!c.menuType.isEmpty())
        condition += EqualsFilter(QStringLiteral("BI.MenuTypeName"), c.menuType);
    if (!c.useTrueData)
        condition += QStringLiteral(" AND BL.IsDeleted=0 ");
    if (c.saving)
        condition += QStringLiteral(" AND BL.TableName<>'会员卡充值'");
    condition += QStringLiteral(" AND BL.CheckOutNull=0 ");
    condition += BranchMark(ItemLineBranch);
    condition += GiftScopeFilter(c.giftScope);

    const Statement inner =
        QStringLiteral(" SELECT TOP 100 PERCENT ") +
        QStringLiteral("     BI.MenuID AS MenuID, BI.MenuName AS MenuName, ") +
        QStringLiteral(
            "     BI.MenutypeName AS MenutypeName, BI.DepartTypeName AS DepartTypeName, ") +
        QStringLiteral("     BI.MenuPrice AS MenuPrice, BI.MenuPrice2 AS MenuPrice2, ") +
        QStringLiteral("     ") + QLatin1String(kSold) + QStringLiteral(" AS AmountOfSell, ") +
        QStringLiteral("     SUM(BI.SumForDiscount) AS SumOfDisCount, ") +
        QStringLiteral(
            "     (1-(SUM(BI.SumForDiscount)/SUM(BI.SumOfConsume))) AS RateOfDisCount ") +
        QString::fromLatin1(kJoin) + QStringLiteral("     ") +
        c.range.boundThroughEndDate(QStringLiteral("BL.BillDate")) +
        QString::fromLatin1(kDiscounted);
    QString order;
    if (!c.orderBy.isEmpty())
        order = QStringLiteral(" ORDER BY ") + c.orderBy +
                (c.descending ? QStringLiteral(" DESC ") : QStringLiteral(" ASC  "));
    return QStringLiteral(" SELECT TOP 100 PERCENT * FROM ( ") + inner + condition +
           QStringLiteral(" GROUP BY BI.MenuID,BI.MenuName,BI.MenutypeName,BI.DepartTypeName,"
                          "BI.MenuPrice,BI.MenuPrice2 ") +
           QStringLiteral(" ) AS theView ") + order;
}

SummaryPlanner::Replacements MemberDiscountSummaryText()
{
    return {{QLatin1String(kJoin), QStringLiteral(" FROM {summary} AS BL WHERE ")},
            {QLatin1String(kSold), QStringLiteral("SUM(BL.Amount)")},
            {QLatin1String(kDiscounted), QStringLiteral(" ")}};
}
