#pragma once

#include "db/Statement.h"
#include "query/BranchScope.h"
#include "query/ReportCriteria.h"
#include "query/SummaryPlanner.h"

#include <QString>

// What the period query's criteria bar asks for. List choices carry the chosen item's text, or
// an empty text for "(全部)".
struct PeriodQueryCriteria : ReportCriteria
{
    // Dates are written into the statement between quotes when the database answers
    // "select getdate()" (CheckConnection), else between "#" as date literals.
    bool quotedDates = true;
    int giftScope = 0; // GiftScope (query/StatementFragments.h): gifts left out, only, both
    QString departTypeName;
    QString menuTypeName;
    QString menuText;     // typed: an item number's beginning or part of a name
    bool notNull = false; // only rows with a quantity sold
};

// The views: by menu item, menu type, department, department type.
enum class PeriodView
{
    Menu,
    MenuType,
    Depart,
    DepartType
};

// The bills carry their branch's id and name.
inline const BranchColumns PeriodQueryBranch{QStringLiteral("BL.BranchID"),
                                             QStringLiteral("BL.BranchName")};

// The bill conditions: the date range (its dates written into the text), settled bills,
// branch, deleted, top-up and gift scope.
Statement PeriodQueryCondition(const PeriodQueryCriteria& c);
// The item conditions, applied to the sales and to the catalogue alike.
QString PeriodQueryItemFilter(const PeriodQueryCriteria& c);
// The statement of a view: the sales per item and business period, and the catalogue (every
// item with zero figures and no period) so that items without sales are listed too. It has no
// parameters: the dates are in the text.
Statement PeriodQueryStatement(int view, const PeriodQueryCriteria& c);
// Where the statement's bill tables and their join stand, for the item summaries.
SummaryPlanner::Replacements PeriodQuerySummaryText();
