#pragma once

#include "query/SummaryPlanner.h"
#include "reports/periods/BillCriteria.h"

#include <QDate>
#include <QString>

// What the period query's criteria bar asks for. List choices carry the chosen item's text, or
// an empty text for "(全部)".
struct PeriodQueryCriteria : BillCriteria
{
    QDate begin, end; // business dates, both included
    // Dates are written into the statement between quotes when the database answers
    // "select getdate()" (CheckConnection), else between "#" as date literals.
    bool quotedDates = true;
    int giftScope = 0; // GiftScope (screens/ItemCriteria.h): gifts left out, only, both
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

// The bill conditions: the date range, settled bills, branch, deleted, top-up and gift scope.
QString PeriodQueryCondition(const PeriodQueryCriteria& c);
// The item conditions, applied to the sales and to the catalogue alike.
QString PeriodQueryItemFilter(const PeriodQueryCriteria& c);
// The statement of a view: the sales per item and business period, and the catalogue (every
// item with zero figures and no period) so that items without sales are listed too. It has no
// parameters: the dates are in the text.
QString PeriodQuerySql(const PeriodQueryCriteria& c, PeriodView view);
// Where the statement's bill tables and their join stand, for the item summaries.
SummaryPlanner::Replacements PeriodQuerySummaryText();
