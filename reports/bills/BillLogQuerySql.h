#pragma once

#include "db/Statement.h"
#include "query/BranchScope.h"
#include "query/ReportCriteria.h"

// What the bill operation log's criteria bar asks for: the kind of operation, 1..9 (LogTypeID),
// 0 every kind.
struct BillLogQueryCriteria : ReportCriteria
{
    int logType = 0;
};

// The branch of a logged operation's bill: the settled bill's, else, for a bill still open, its
// table's. The log has no branch criterion: it keeps to the user's branches.
inline const BranchColumns BillLogBranch{
    QStringLiteral("isnull((SELECT BL.BranchID FROM bi_Bill AS BL WHERE BL.BillID=theView.BillID),"
                   "(SELECT TA.BranchID FROM tb_Table AS TB, tb_TableArea AS TA "
                   "WHERE TB.TableID=theView.TableID AND TA.TableAreaID=TB.TableAreaID))"),
    QString()};

// The operations logged against bills, from the log of open bills and the log of settled
// bills together, by the time they were made, from the begin date through midnight after the
// end date (both bounds included), on bills of the user's branches (BillLogBranch).
Statement BillLogQueryStatement(int view, const BillLogQueryCriteria& criteria);
