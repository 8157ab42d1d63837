#include "reports/bills/BillLogQuerySql.h"

#include "core/modBranch.h"

namespace {

// The branch of a logged operation's bill: the settled bill's, else its table's.
const QString LoggedBranch =
    QStringLiteral("isnull((SELECT BL.BranchID FROM bi_Bill AS BL WHERE BL.BillID=theView.BillID),"
                   "(SELECT TA.BranchID FROM tb_Table AS TB, tb_TableArea AS TA "
                   "WHERE TB.TableID=theView.TableID AND TA.TableAreaID=TB.TableAreaID))");

} // namespace

QString BillLogQuerySql(int logType, const std::optional<QStringList>& branches)
{
    QString condition;
    if (logType > 0)
        condition = QStringLiteral(" AND LogTypeID='%1' ").arg(logType);
    return QStringLiteral("   SELECT TOP 100 PERCENT * FROM ( ") +
           QStringLiteral("   SELECT * FROM bi_TempBillLog ") + QStringLiteral("    UNION ALL ") +
           QStringLiteral("   SELECT * FROM bi_BillLog ) AS theView ") +
           QStringLiteral("    WHERE CreateTime>=? AND CreateTime<=? ") + condition +
           BranchIdFilter(branches, LoggedBranch) + QStringLiteral(" ORDER BY CreateTime ");
}
