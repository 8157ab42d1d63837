#include "reports/bills/BillItemCostSql.h"

#include "db/SqlText.h"

const char* const ItemPriceProbe = "select CostPrice from bi_BillItem where 1<>1";

Statement BillItemCostWhereTail(const BillItemCostCriteria& c)
{
    Statement sql = ItemLineHead(c, QStringLiteral("MN"));
    const QString t = c.menuText.trimmed();
    if (IsNumericText(t) || c.itemPrice) {
        sql += MenuTextFilter(t, QStringLiteral("MN.MenuID"), QStringLiteral("MN.MenuName"));
    } else if (!t.isEmpty()) {
        // The menu also knows each item's spelling abbreviation.
        const QString quoted = sqlQuote(t);
        sql += QStringLiteral(" AND (MN.MenuName LIKE '%") + quoted + QStringLiteral("%' OR ") +
               QStringLiteral("      MN.ToSpell  LIKE '%") + quoted + QStringLiteral("%' )  ");
    }
    sql += ItemLineTail(c);
    return sql;
}

QString BillItemCostMenuTable()
{
    return QStringLiteral(", ") + MenuCostPriceTable();
}

QString MenuCostPriceTable()
{
    const QString item = QStringLiteral(" MN.MenuID,MN.MenuName,MN.ToSpell, ") +
                         QStringLiteral(" MT.MenuTypeID,MT.MenuTypeName, ") +
                         QStringLiteral(" DT.DepartTypeID,DT.DepartTypeName, ");
    return QStringLiteral("(SELECT DISTINCT * FROM ( ") + QStringLiteral(" SELECT ") + item +
           QStringLiteral(" MN.MenuID AS MenuUnitID,MN.MenuUnit AS MenuUnitName,MN.CostPrice ") +
           QStringLiteral(" FROM mn_Menu AS MN, mn_MenuType AS MT, mn_DepartType AS DT ") +
           QStringLiteral(
               " WHERE MN.MenuTypeID=MT.MenuTypeID AND MT.DepartTypeID=DT.DepartTypeID ") +
           QStringLiteral(" UNION ALL ") + QStringLiteral(" SELECT ") + item +
           QStringLiteral(" MU.MenuUnitID,MU.MenuUnitName,MU.PriceForCost AS CostPrice ") +
           QStringLiteral(" FROM mn_Menu AS MN, mn_MenuType AS MT, mn_DepartType AS DT, "
                          "mn_MenuUnit AS MU ") +
           QStringLiteral(" WHERE MN.MenuTypeID=MT.MenuTypeID AND MT.DepartTypeID=DT.DepartTypeID "
                          "AND MN.MenuID=MU.MenuID ") +
           QStringLiteral(" ) AS theUNIONALL)AS MN ");
}

Statement BillItemCostStatement(int view, const BillItemCostCriteria& criteria)
{
    const QString sums = QStringLiteral(" SUM(BI.AmountOrder-BI.AmountCancel) AS MenuAmount, ") +
                         QStringLiteral(" SUM(BI.SumOfConsume) AS theSumOfConsume, ") +
                         QStringLiteral(" SUM((BI.AmountOrder-BI.AmountCancel)*MN.CostPrice) AS "
                                        "SumOfCost ");
    QString select, grouping, sort;
    switch (view) {
    case CostLines:
        select =
            QStringLiteral(" BL.BillID,BL.BillDate, ") +
            QStringLiteral(" BI.CreatePersonID,BI.CreatePerson, ") +
            QStringLiteral(
                " MN.MenuID,MN.MenuName,MN.MenuUnitID,MN.MenuUnitName,MN.MenuTypeName, ") +
            QStringLiteral(" (BI.AmountOrder-BI.AmountCancel) AS MenuAmount, ") +
            QStringLiteral(" BI.SumOfConsume/(BI.AmountOrder-BI.AmountCancel) AS MenuPrice, ") +
            QStringLiteral(" BI.SumOfConsume, ") +
            QStringLiteral(" (BI.AmountOrder-BI.AmountCancel)*MN.CostPrice AS SumOfCost ");
        sort = QStringLiteral(" ORDER BY BI.BillID,MN.MenuID ");
        break;
    case CostByItem:
        select = QStringLiteral(
                     " MN.MenuID,MN.MenuName,MN.MenuUnitID,MN.MenuUnitName,MN.MenuTypeName, ") +
                 sums;
        grouping = QStringLiteral(" GROUP BY MN.MenuID,MN.MenuName,MN.MenuUnitID,MN.MenuUnitName,"
                                  "MN.MenuTypeName ");
        sort = QStringLiteral(" ORDER BY MN.MenuID,MN.MenuUnitID ");
        break;
    case CostByItemType:
        select =
            QStringLiteral(" MN.DepartTypeID,MN.DepartTypeName,MN.MenuTypeID,MN.MenuTypeName, ") +
            sums;
        grouping = QStringLiteral(" GROUP BY MN.DepartTypeID,MN.DepartTypeName,MN.MenuTypeID,"
                                  "MN.MenuTypeName ");
        sort = QStringLiteral(" ORDER BY MN.DepartTypeID,MN.MenuTypeID ");
        break;
    default:
        select = QStringLiteral(" BI.CreatePersonID,BI.CreatePerson, ") + sums;
        grouping = QStringLiteral(" GROUP BY BI.CreatePersonID,BI.CreatePerson ");
        sort = QStringLiteral(" ORDER BY BI.CreatePersonID ");
        break;
    }
    const Statement sql =
        QStringLiteral(" SELECT ") + select +
        QStringLiteral(" FROM bi_BillItem AS BI,bi_Bill AS BL ") +
        (criteria.itemPrice ? QString() : BillItemCostMenuTable()) + QStringLiteral(" WHERE ") +
        QStringLiteral(" BI.BillID=BL.BillID AND ") +
        criteria.range.bound(QStringLiteral("BL.BillDate")) + QStringLiteral(" AND ") +
        (view == CostLines ? QStringLiteral(" BI.AmountOrder-BI.AmountCancel<>0 AND ")
                           : QString()) +
        QStringLiteral(" BI.MenuID=MN.MenuID AND BI.MenuUnitID=MN.MenuUnitID AND ") +
        QStringLiteral(" MN.CostPrice<>0 ") + BillItemCostWhereTail(criteria) + grouping + sort;
    // The line's own columns stand in for the menu table's, everywhere in the statement.
    return criteria.itemPrice ? sql.replaced(QStringLiteral("MN."), QStringLiteral("BI.")) : sql;
}
