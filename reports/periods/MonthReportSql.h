#pragma once

#include "db/Statement.h"
#include "query/BranchScope.h"
#include "query/ReportCriteria.h"
#include "query/SummaryPlanner.h"

#include <vector>

// What the month report's criteria bar asks for: the bills it counts, and whether amounts show
// their cents.
struct MonthReportCriteria : ReportCriteria
{
    bool showDecimals = false;
};

// The bills carry their branch's id and name.
inline const BranchColumns MonthReportBranch{QStringLiteral("BranchID"),
                                             QStringLiteral("BranchName")};

// The range, settled bills, deleted, top-up and branch conditions, in this order.
Statement MonthReportCondition(const MonthReportCriteria& c);
// Per business day: bills, guests, service charge, discount, consumption and money paid.
Statement MonthDayStatement(const MonthReportCriteria& c);
// Per business day and department type: consumption of the items sold (gifts left out).
Statement MonthDepartTypeStatement(const MonthReportCriteria& c);
// Per business day and payment subject: the amounts tendered (PaySum, in the subject's unit).
Statement MonthSubjectStatement(const MonthReportCriteria& c);
// The three, in this order: the statements of the report's one view.
std::vector<Statement> MonthReportStatements(int view, const MonthReportCriteria& c);

// Where each statement's bill tables and their join stand, for the summaries.
SummaryPlanner::Replacements MonthDaySummaryText();
SummaryPlanner::Replacements MonthDepartTypeSummaryText();
SummaryPlanner::Replacements MonthSubjectSummaryText();
