#include "reports/periods/MenuEngineeringSql.h"

#include "reports/bills/BillItemCostSql.h"

Statement MenuEngineeringStatement(int, const MenuEngineeringCriteria& c)
{
    const QString price =
        c.itemPrice ? QStringLiteral("BI.CostPrice") : QStringLiteral("MN.CostPrice");
    Statement sql =
        QStringLiteral(
            " SELECT BI.MenuID,BI.MenuName,BI.MenuUnitID,BI.MenuUnitName,BI.MenuTypeName, ") +
        QStringLiteral(" SUM(BI.AmountOrder-BI.AmountCancel) AS MenuAmount, ") +
        QStringLiteral(" SUM(BI.SumOfConsume) AS theSumOfConsume, ") +
        QStringLiteral(" SUM((BI.AmountOrder-BI.AmountCancel)*") + price +
        QStringLiteral(") AS SumOfCost, ") + QStringLiteral(" SUM(CASE WHEN ") + price +
        QStringLiteral("<>0 THEN BI.AmountOrder-BI.AmountCancel ELSE 0 END) AS CostAmount ") +
        QStringLiteral(" FROM bi_Bill AS BL,bi_BillItem AS BI ");
    if (!c.itemPrice)
        sql += QStringLiteral(" LEFT OUTER JOIN ") + MenuCostPriceTable() +
               QStringLiteral(" ON BI.MenuID=MN.MenuID AND BI.MenuUnitID=MN.MenuUnitID ");
    sql += QStringLiteral(" WHERE BL.BillID=BI.BillID AND ") +
           c.range.bound(QStringLiteral("BL.BillDate")) + QStringLiteral(" ") +
           ItemLineHead(c, QStringLiteral("BI")) + ItemLineTail(c) +
           QStringLiteral(" GROUP BY BI.MenuID,BI.MenuName,BI.MenuUnitID,BI.MenuUnitName,"
                          "BI.MenuTypeName ") +
           QStringLiteral(" ORDER BY BI.MenuID,BI.MenuUnitID ");
    return sql;
}
