#include "query/ItemLineCriteria.h"

Statement ItemLineHead(const ItemLineCriteria& c, const QString& item)
{
    Statement sql = QStringLiteral(" AND BL.CheckOutNull=0 ");
    sql += BranchMark(ItemLineBranch);
    if (!c.billPeriod.isEmpty())
        sql += EqualsFilter(QStringLiteral("BL.BillPeriod"), c.billPeriod);
    if (!c.departType.isEmpty())
        sql += EqualsFilter(item + QStringLiteral(".DepartTypeName"), c.departType);
    if (!c.menuType.isEmpty())
        sql += EqualsFilter(item + QStringLiteral(".MenuTypeName"), c.menuType);
    return sql;
}

QString ItemLineTail(const ItemLineCriteria& c)
{
    QString sql = GiftScopeFilter(c.giftScope);
    if (!c.createPerson.isEmpty())
        sql += EqualsFilter(QStringLiteral("BI.CreatePerson"), c.createPerson);
    if (!c.useTrueData)
        sql += QStringLiteral(" AND BL.IsDeleted=0 ");
    if (c.saving)
        sql += QStringLiteral(" AND BL.TableName<>'会员卡充值'");
    return sql;
}
