#pragma once

#include "core/modBranch.h"
#include "query/BranchScope.h"

#include <QString>

// The cashier daily report over the payment totals branches upload (rp_BillPayment_Upload):
// view 0 by tender, 1 by branch, 2 by branch and tender. Every uploaded row of the range counts
// once; its two parameters are the begin date and the day after the end date.
QString PaymentReportSql(int view, const BranchChoice& branch);
