#pragma once

#include "db/Statement.h"
#include "query/ReportCriteria.h"

#include "query/BranchScope.h"

#include <QString>

// What the account transfer query's criteria bar asks for. List choices carry the chosen
// item's text (empty for "(全部)"); the typed texts are kept as entered: a blank one adds
// nothing, any other is searched with its blanks.
struct BillAccountQueryCriteria : ReportCriteria
{
    QString accountType;
    QString subjectName; // the tender
    QString billId;      // typed
    QString userName;    // the cashier
    QString accountId;   // typed
    QString accountName; // typed, a part of the name
};

// The branch of a transfer: its bill's. The query has no branch criterion: it keeps to the
// user's branches.
inline const BranchColumns BillAccountBranch{
    QStringLiteral("(SELECT BL.BranchID FROM bi_Bill AS BL WHERE BL.BillID=bi_BillAccount.BillID)"),
    QString()};

// The conditions after the bill date range, in their fixed order, then the user's branches.
Statement BillAccountQueryWhereTail(const BillAccountQueryCriteria& criteria);
// The transfers of the range, one row each, by bill number.
Statement BillAccountDetailStatement(const BillAccountQueryCriteria& criteria);
// The transfers summed by kind of transfer and tender: their count and amount.
Statement BillAccountSummaryStatement(const BillAccountQueryCriteria& criteria);
// The statement of a view: 0 the transfers, 1 their sums.
Statement BillAccountQueryStatement(int view, const BillAccountQueryCriteria& criteria);
