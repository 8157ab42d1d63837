#include "reports/bills/SubBillQuerySql.h"

#include "db/SqlText.h"

Statement SubBillQueryWhereTail(const SubBillQueryCriteria& c)
{
    Statement sql = ItemLineHead(c, QStringLiteral("BI"));
    sql += MenuTextFilter(c.menuText, QStringLiteral("BI.MenuID"), QStringLiteral("BI.MenuName"));
    if (!c.reason.isEmpty())
        sql +=
            QStringLiteral(" AND SB.Remark like '%") + sqlQuote(c.reason) + QStringLiteral("%' ");
    if (!c.createPerson.isEmpty())
        sql += EqualsFilter(QStringLiteral("SB.CreatePerson"), c.createPerson);
    if (!c.useTrueData)
        sql += QStringLiteral(" AND BL.IsDeleted=0 ");
    if (c.saving)
        sql += QStringLiteral(" AND BL.TableName<>'会员卡充值'");
    return sql;
}

Statement SubBillQueryStatement(int, const SubBillQueryCriteria& criteria)
{
    return QStringLiteral(" SELECT TOP 100 PERCENT ") +
           QStringLiteral("     BL.BillID,BL.TableName,BL.BillDate,BL.BillPeriod,BI.CreateTime as "
                          "OrderTime, ") +
           QStringLiteral("     BI.MenuID,BI.MenuName,BI.MenuUnitID,BI.MenuUnitName, ") +
           QStringLiteral(
               "     BI.MenuTypeID,BI.MenuTypeName,BI.DepartTypeID,BI.DepartTypeName, ") +
           QStringLiteral("     BI.MenuPrice,SumPaid = BI.MenuPrice * SB.MenuAmount, ") +
           QStringLiteral("     SB.MenuAmount,SB.CreateTime,SB.CreatePerson,SB.Remark ") +
           QStringLiteral(" FROM bi_Bill AS BL, bi_BillItem AS BI, bi_SubBill AS SB ") +
           QStringLiteral(" WHERE BL.BillID=BI.BillID AND ") +
           QStringLiteral("       BI.BillItemID=SB.BillItemID AND ") +
           QStringLiteral("       SB.SubBillType=2 AND ") + QStringLiteral("       ") +
           criteria.range.bound(QStringLiteral("BL.BillDate")) + QStringLiteral(" ") +
           SubBillQueryWhereTail(criteria) + QStringLiteral(" ORDER BY BL.BillID,BI.MenuID ");
}
