#pragma once

#include "db/Statement.h"
#include "query/BranchScope.h"
#include "query/ReportCriteria.h"
#include "query/SummaryPlanner.h"

#include <QString>

// What the table report filters its bills on besides the range, branch, deleted bills and
// top-ups.
struct TableReportCriteria : ReportCriteria
{
    QString billPeriod;   // the meal period chosen, empty for "(全部)"
    bool notNull = false; // only tables (areas) that had bills
};

// The bills carry their branch's id and name.
inline const BranchColumns TableReportBranch{QStringLiteral("BranchID"),
                                             QStringLiteral("BranchName")};

// The business per table (view 0, grouped by area) or per area (view 1): bills, guests,
// consumption, service, discount and money received of the settled bills of the range, and
// every table (area) of the floor plan with zero figures so those without business are listed
// too.
Statement TableReportStatement(int view, const TableReportCriteria& criteria);

// The bills of the statement (either view) read from the table summary (SummaryPlanner::Tables),
// which keeps every column and condition of it.
SummaryPlanner::Replacements TableReportSummaryText();
