#include "reports/bills/BillLogQuerySql.h"

QString BillLogQuerySql(int logType)
{
    QString condition;
    if (logType > 0)
        condition = QStringLiteral(" AND LogTypeID='%1' ").arg(logType);
    return QStringLiteral("   SELECT TOP 100 PERCENT * FROM ( ") +
           QStringLiteral("   SELECT * FROM bi_TempBillLog ") + QStringLiteral("    UNION ALL ") +
           QStringLiteral("   SELECT * FROM bi_BillLog ) AS theView ") +
           QStringLiteral("    WHERE CreateTime>=? AND CreateTime<=? ") + condition +
           QStringLiteral(" ORDER BY CreateTime ");
}
