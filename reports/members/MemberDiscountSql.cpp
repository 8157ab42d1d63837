#include "reports/members/MemberDiscountSql.h"

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
        QStringLiteral("     SUM(BI.AmountOrder-BI.AmountCancel) AS AmountOfSell, ") +
        QStringLiteral("     SUM(BI.SumForDiscount) AS SumOfDisCount, ") +
        QStringLiteral(
            "     (1-(SUM(BI.SumForDiscount)/SUM(BI.SumOfConsume))) AS RateOfDisCount ") +
        QStringLiteral(" FROM ") + QStringLiteral("     bi_Bill AS BL, bi_BillItem AS BI ") +
        QStringLiteral(" WHERE ") + QStringLiteral("     BL.BillID=BI.BillID AND ") +
        QStringLiteral("     ") + c.range.boundThroughEndDate(QStringLiteral("BL.BillDate")) +
        QStringLiteral(" AND ") + QStringLiteral("     BI.MenuPrice<>BI.MenuPrice2 AND ") +
        QStringLiteral("    BI.SumForDiscount<>0 AND BI.SumOfConsume<>0 ");
    QString order;
    if (!c.orderBy.isEmpty())
        order = QStringLiteral(" ORDER BY ") + c.orderBy +
                (c.descending ? QStringLiteral(" DESC ") : QStringLiteral(" ASC  "));
    return QStringLiteral(" SELECT TOP 100 PERCENT * FROM ( ") + inner + condition +
           QStringLiteral(" GROUP BY BI.MenuID,BI.MenuName,BI.MenutypeName,BI.DepartTypeName,"
                          "BI.MenuPrice,BI.MenuPrice2 ") +
           QStringLiteral(" ) AS theView ") + order;
}
