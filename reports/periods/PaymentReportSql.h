#pragma once

#include "db/Statement.h"
#include "query/BranchScope.h"
#include "query/ReportCriteria.h"

// What the cashier daily report asks for: the range and the branch choice.
using PaymentReportCriteria = ReportCriteria;

// The uploaded payment totals carry their branch's id and name.
inline const BranchColumns PaymentReportBranch{QStringLiteral("BranchID"),
                                               QStringLiteral("BranchName")};

// The cashier daily report over the payment totals branches upload (rp_BillPayment_Upload):
// view 0 by tender, 1 by branch, 2 by branch and tender. Every uploaded row of the range counts
// once.
Statement PaymentReportStatement(int view, const PaymentReportCriteria& criteria);
