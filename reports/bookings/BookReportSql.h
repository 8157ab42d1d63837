#pragma once

#include "db/Statement.h"
#include "query/BranchScope.h"
#include "query/ReportCriteria.h"

#include <QString>

// What the booking report's criteria bar asks for: empty texts for "(全部)".
struct BookReportCriteria : ReportCriteria
{
    QString bookPerson;   // the guest who booked
    QString createPerson; // the salesperson
};

// The bill's branch. The report has no branch criterion: it keeps to the user's branches.
inline const BranchColumns BookReportBranch{QStringLiteral("BL.BranchID"), QString()};

// The settled bills of the user's branches (BookReportBranch) that came from a booking, one row
// per bill and payment, by bill number and payment method.
Statement BookReportStatement(int view, const BookReportCriteria& criteria);
