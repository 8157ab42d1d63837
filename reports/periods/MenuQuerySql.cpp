#include "reports/periods/MenuQuerySql.h"

#include "db/SqlText.h"
#include "query/StatementFragments.h"

QString PlainNumber(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok)
        return QStringLiteral("0");
    QString plain = QString::number(value, 'f', 6);
    while (plain.endsWith(QLatin1Char('0')))
        plain.chop(1);
    if (plain.endsWith(QLatin1Char('.')))
        plain.chop(1);
    return plain;
}

Statement MenuQueryStatement(int, const MenuQueryCriteria& c)
{
    const QString flags = QStringLiteral(" MN.IsMenuSets,MN.BySeanson,MN.IsService,MN.IsNull, "
                                         " MN.IsTableOrder,MN.IsPersonOrder,MN.NeedToPrint,"
                                         "MN.AutoSaleOut,MN.IsDiscount ");
    QString sql =
        QStringLiteral(" SELECT TOP 100 PERCENT * FROM (") +
        QStringLiteral(" SELECT      MN.MenuID,MN.MenuName,MN.ToSpell,MN.BarCode,MN.MenuID+'01' "
                       "AS MenuUnitID,MN.MenuUnit,      MN.MenuPrice1,MN.MenuPrice2,"
                       "MN.MenuPrice3,MN.MenuPrice4,MN.CostPrice,      MT.MenuTypeName,"
                       "DT.DepartTypeName, ") +
        flags +
        QStringLiteral(
            " FROM      MN_Menu AS MN,mn_MenuType AS MT,mn_DepartType AS DT  WHERE "
            "     MN.MenuTypeID=MT.MenuTypeID AND      MT.DepartTypeID=DT.DepartTypeID ") +
        QStringLiteral(" UNION ALL ") +
        QStringLiteral(" SELECT      MN.MenuID,MN.MenuName,MN.ToSpell,MN.BarCode,MU.MenuUnitID,"
                       "MU.MenuUnitName AS MenuUnit,     MU.PriceForDefault AS MenuPrice1,"
                       "MU.PriceForRoom AS MenuPrice2,      MU.PriceForMember AS MenuPrice3,"
                       "MU.PriceForRoomMember AS MenuPrice4,      MU.PriceForCost AS CostPrice, "
                       "     MT.MenuTypeName,DT.DepartTypeName, ") +
        flags +
        QStringLiteral(
            " FROM      mn_Menu AS MN,mn_MenuUnit AS MU,mn_MenuType AS MT,"
            "mn_DepartType AS DT  WHERE      MN.MenuID=MU.MenuID AND "
            "     MN.MenuTypeID=MT.MenuTypeID AND      MT.DepartTypeID=DT.DepartTypeID ") +
        QStringLiteral(") AS theView  WHERE 1=1 ");
    if (!c.departType.isEmpty())
        sql +=
            QStringLiteral(" AND DepartTypeName='") + sqlQuote(c.departType) + QStringLiteral("' ");
    if (!c.menuType.isEmpty())
        sql += QStringLiteral(" AND MenuTypeName='") + sqlQuote(c.menuType) + QStringLiteral("' ");
    const QString t = sqlQuote(c.menuText.trimmed());
    if (!t.isEmpty()) {
        if (IsNumericText(t))
            sql += QStringLiteral(" AND ( MenuID   like  '") + t +
                   QStringLiteral("%' OR        BarCode  like  '") + t + QStringLiteral("%') ");
        else
            sql += QStringLiteral(" AND ( MenuName like '%") + t +
                   QStringLiteral("%' OR        ToSpell  like '%") + t + QStringLiteral("%') ");
    }
    const std::pair<bool, const char*> flagConditions[] = {
        {c.menuSets, " AND IsMenuSets<>0 "}, {c.marketPrice, " AND BySeanson<>0 "},
        {c.noService, " AND IsService=0 "},  {c.soldOut, " AND IsNull<>0 "},
        {c.notSplit, " AND NeedToPrint=0 "}, {c.autoIssue, " AND AutoSaleOut<>0 "},
        {c.points, " AND IsDiscount<>0 "},   {c.commission, " AND CostPrice<>0 "},
    };
    for (const auto& [set, condition] : flagConditions)
        if (set)
            sql += QLatin1String(condition);
    if (!c.lowPrice.trimmed().isEmpty())
        sql += QStringLiteral(" AND MenuPrice1 >=") + PlainNumber(c.lowPrice);
    if (!c.highPrice.trimmed().isEmpty())
        sql += QStringLiteral(" AND MenuPrice1 <=") + PlainNumber(c.highPrice);
    return sql + QStringLiteral(" ORDER BY MenuID,MenuUnitID ");
}
