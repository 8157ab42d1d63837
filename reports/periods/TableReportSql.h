#pragma once

#include "core/modBranch.h"
#include "query/BranchScope.h"

#include <QString>

// What the table report filters its bills on.
struct TableReportCriteria
{
    BranchChoice branch;
    QString billPeriod;       // the meal period chosen, empty for "(全部)"
    bool useTrueData = false; // include deleted bills
    bool saving = false;      // leave out member-card top-ups
    bool notNull = false;     // only tables (areas) that had bills
};

// The business per table (view 0, grouped by area) or per area (view 1): bills, guests,
// consumption, service, discount and money received of the settled bills of the range, and
// every table (area) of the floor plan with zero figures so those without business are listed
// too. Its two parameters are the begin date and the day after the end date.
QString TableReportSql(int view, const TableReportCriteria& criteria);
