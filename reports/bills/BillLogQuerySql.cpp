#include "reports/bills/BillLogQuerySql.h"

Statement BillLogQueryStatement(int, const BillLogQueryCriteria& c)
{
    QString condition;
    if (c.logType > 0)
        condition = QStringLiteral(" AND LogTypeID='%1' ").arg(c.logType);
    return QStringLiteral("   SELECT TOP 100 PERCENT * FROM ( ") +
           QStringLiteral("   SELECT * FROM bi_TempBillLog ") + QStringLiteral("    UNION ALL ") +
           QStringLiteral("   SELECT * FROM bi_BillLog ) AS theView ") +
           QStringLiteral("    WHERE ") +
           c.range.boundToMidnightAfter(QStringLiteral("CreateTime")) + QStringLiteral(" ") +
           condition + BranchMark(BillLogBranch) + QStringLiteral(" ORDER BY CreateTime ");
}
