#include "reports/bills/BillItemReportSql.h"

#include "db/SqlText.h"
#include "query/StatementFragments.h"

Statement BillItemReportWhereTail(const BillItemReportCriteria& c)
{
    Statement sql = BranchMark(BillItemReportBranch);
    if (!c.departType.isEmpty())
        sql += EqualsFilter(QStringLiteral("DepartTypeName"), c.departType);
    if (!c.menuType.isEmpty())
        sql += EqualsFilter(QStringLiteral("MenuTypeName"), c.menuType);
    sql += MenuTextFilter(c.menuText, QStringLiteral("MenuID"), QStringLiteral("MenuName"));
    return sql;
}

Statement BillItemReportStatement(int view, const BillItemReportCriteria& criteria)
{
    QString keys, grouping, sort;
    switch (view) {
    case UploadByItem:
        keys = QStringLiteral("     MenuID,MenuName,MenuUnitName,MenuTypeName, ");
        grouping = QStringLiteral(" GROUP BY MenuID,MenuName,MenuUnitName,MenuTypeName ");
        sort = QStringLiteral(" ORDER BY MenuID ");
        break;
    case UploadByMenuType:
        keys = QStringLiteral("     DepartTypeName,MenuTypeName, ");
        grouping = QStringLiteral(" GROUP BY DepartTypeName,MenuTypeName ");
        sort = QStringLiteral(" ORDER BY DepartTypeName,MenuTypeName ");
        break;
    case UploadByDepartType:
        keys = QStringLiteral("     DepartTypeName, ");
        grouping = QStringLiteral(" GROUP BY DepartTypeName ");
        sort = QStringLiteral(" ORDER BY DepartTypeName ");
        break;
    default:
        keys = QStringLiteral("     DepartName, ");
        grouping = QStringLiteral(" GROUP BY DepartName ");
        sort = QStringLiteral(" ORDER BY DepartName ");
        break;
    }
    return QStringLiteral(" SELECT ") + keys +
           QStringLiteral("     SUM(theAmount) AS theAmount1,") +
           QStringLiteral("     SUM(theConsume) AS theConsume1,") +
           QStringLiteral("     SUM(theService) AS theService1, ") +
           QStringLiteral("     SUM(theDiscount) AS theDiscount1 ") +
           QStringLiteral(" FROM rp_BillItem_Upload ") + QStringLiteral(" WHERE ") +
           criteria.range.bound(QStringLiteral("BillDate")) + QStringLiteral(" ") +
           BillItemReportWhereTail(criteria) + grouping + sort;
}

Statement BillItemReportDepartTypesStatement(const BillItemReportCriteria&)
{
    return QStringLiteral(" SELECT DISTINCT DepartTypeID,DepartTypeName ") +
           QStringLiteral(" FROM rp_BillItem_Upload ") + QStringLiteral(" where 1=1 ") +
           BranchMark(BillItemReportBranch) + QStringLiteral(" ORDER BY DepartTypeID");
}

Statement BillItemReportMenuTypesStatement(const BillItemReportCriteria& c)
{
    Statement condition = BranchMark(BillItemReportBranch);
    if (!c.departType.isEmpty())
        condition += QStringLiteral(" AND DepartTypeName = '") + sqlQuote(c.departType) +
                     QStringLiteral("' ");
    return QStringLiteral(" SELECT DISTINCT MenuTypeID,MenuTypeName ") +
           QStringLiteral(" FROM rp_BillItem_Upload ") + QStringLiteral(" WHERE 1=1 ") + condition +
           QStringLiteral(" ORDER BY MenuTypeID");
}
