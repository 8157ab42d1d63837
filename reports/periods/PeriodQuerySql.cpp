#include "reports/periods/PeriodQuerySql.h"

#include "query/StatementFragments.h"

namespace {

struct ViewText
{
    const char* itemColumns;
    const char* groupBy;
    const char* catalogueColumns;
    const char* catalogue; // FROM and WHERE
    const char* orderBy;
};

const char* const MenuCatalogue =
    " FROM mn_Menu AS MN,mn_MenuType AS MT,mn_DepartType AS DT "
    " WHERE MN.MenuTypeID=MT.MenuTypeID AND MT.DepartTypeID=DT.DepartTypeID ";

const ViewText& viewText(PeriodView view)
{
    static const ViewText views[] = {
        {"     BI.MenuID,BI.MenuName, "
         "     BI.MenuTypeID,BI.MenuTypeName, "
         "     BI.DepartTypeID,BI.DepartTypeName,BL.BillPeriod, ",
         " GROUP BY "
         "MenuID,MenuName,MenuTypeID,MenuTypeName,DepartTypeID,DepartTypeName,BillPeriod ",
         "     MN.MenuID,MN.MenuName,"
         "     MT.MenuTypeID,MT.MenuTypeName, "
         "     DT.DepartTypeID,DT.DepartTypeName, ",
         MenuCatalogue, " ORDER BY MenuTypeID,MenuID,BillPeriod "},
        {"     BI.MenuTypeID,BI.MenuTypeName, "
         "     BI.DepartTypeID,BI.DepartTypeName,BL.BillPeriod, ",
         " GROUP BY MenuTypeID,MenuTypeName,DepartTypeID,DepartTypeName,BillPeriod ",
         "     MT.MenuTypeID,MT.MenuTypeName, "
         "     DT.DepartTypeID,DT.DepartTypeName, ",
         MenuCatalogue, " ORDER BY DepartTypeID,MenuTypeID,BillPeriod "},
        {"     BI.DepartID,BI.DepartName, "
         "     BI.DepartTypeID,BI.DepartTypeName,BL.BillPeriod, ",
         " GROUP BY BI.DepartID,BI.DepartName,DepartTypeID,DepartTypeName,BillPeriod ",
         "     DP.DepartID,DP.DepartName, "
         "     DT.DepartTypeID,DT.DepartTypeName, ",
         " FROM mn_Menu AS MN,mn_MenuType AS MT,mn_DepartType AS DT,mn_Depart AS DP "
         " WHERE MN.MenuTypeID=MT.MenuTypeID AND MT.DepartTypeID=DT.DepartTypeID AND "
         "       DT.DepartTypeID=DP.DepartTypeID ",
         " ORDER BY DepartTypeID,DepartID,BillPeriod "},
        {"     BI.DepartTypeID,BI.DepartTypeName,BL.BillPeriod, ",
         " GROUP BY DepartTypeID,DepartTypeName,BillPeriod ",
         "     DT.DepartTypeID,DT.DepartTypeName, ", MenuCatalogue,
         " ORDER BY DepartTypeID,BillPeriod "},
    };
    return views[int(view)];
}

} // namespace

Statement PeriodQueryCondition(const PeriodQueryCriteria& c)
{
    Statement sql = QStringLiteral(" and ") +
                    c.range.boundAsLiterals(QStringLiteral("BL.BillDate"), c.quotedDates) +
                    QStringLiteral("  ");
    sql += QStringLiteral(" AND BL.CheckOutNull=0 ");
    sql += BranchMark(PeriodQueryBranch);
    if (!c.useTrueData)
        sql += QStringLiteral(" AND BL.IsDeleted=0 ");
    if (c.saving)
        sql += QStringLiteral(" AND BL.TableName<>'会员卡充值'");
    return sql + GiftScopeFilter(c.giftScope);
}

QString PeriodQueryItemFilter(const PeriodQueryCriteria& c)
{
    QString sql;
    if (!c.departTypeName.isEmpty())
        sql += EqualsFilter(QStringLiteral("DepartTypeName"), c.departTypeName);
    if (!c.menuTypeName.isEmpty())
        sql += EqualsFilter(QStringLiteral("MenuTypeName"), c.menuTypeName);
    return sql + MenuTextFilter(c.menuText, QStringLiteral("MenuID"), QStringLiteral("MenuName"));
}

Statement PeriodQueryStatement(int view, const PeriodQueryCriteria& c)
{
    const ViewText& v = viewText(PeriodView(view));
    const QString f = PeriodQueryItemFilter(c);
    const QString sales = QStringLiteral(" SELECT TOP 100 PERCENT ") +
                          QString::fromUtf8(v.itemColumns) +
                          QStringLiteral("     SUM(AmountOrder-AmountCancel) AS TotalAmount, ") +
                          QStringLiteral("     SUM(BI.SumOfConsume) AS TotalConsume, ") +
                          QStringLiteral("     SUM(BI.SumOfConsume-BI.SumForDiscount) AS "
                                         "TotalConsume2 ") +
                          QStringLiteral(" FROM bi_Bill AS BL,bi_BillItem AS BI ") +
                          QStringLiteral(" WHERE BL.BillID = BI.BillID ");
    const QString catalogue =
        QStringLiteral(" SELECT TOP 100 PERCENT ") + QString::fromUtf8(v.catalogueColumns) +
        QStringLiteral("     '' AS BillPeriod,0 AS TotalAmount,0 AS TotalConsume,0 AS "
                       "TotalConsume2 ") +
        QString::fromUtf8(v.catalogue);
    const QString outer = c.notNull ? QStringLiteral(" AND TotalAmount<>0 ") : QString();
    return QStringLiteral(" SELECT TOP 100 PERCENT * FROM ( ") + sales + PeriodQueryCondition(c) +
           f + QString::fromUtf8(v.groupBy) + QStringLiteral(" UNION ALL ") + catalogue + f +
           QStringLiteral(" ) AS theView ") + QStringLiteral(" WHERE 1=1 ") + outer +
           QString::fromUtf8(v.orderBy);
}

SummaryPlanner::Replacements PeriodQuerySummaryText()
{
    return {{QStringLiteral(" FROM bi_Bill AS BL,bi_BillItem AS BI "),
             QStringLiteral(" FROM {summary} AS BL ")},
            {QStringLiteral(" WHERE BL.BillID = BI.BillID "), QStringLiteral(" WHERE 1=1 ")}};
}
