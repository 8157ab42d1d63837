#pragma once

#include "db/Statement.h"
#include "query/ItemLineCriteria.h"
#include "query/SummaryPlanner.h"

#include <QString>

// What the member discount query asks for: the item-line criteria it shares with the item
// reports (branch, department type, menu type, gift scope, deleted bills, top-ups) and a sort.
struct MemberDiscountCriteria : ItemLineCriteria
{
    QString orderBy; // a column of the result (the sort criterion's field), empty for no order
    bool descending = false;
};

// The discounts per dish and price pair on the lines sold below (or above) their list price:
// quantity, discount and discount rate (1 - discount / consumption). Bill dates carry no time of
// day: the range is bound through the end date itself. The branch's condition stands on
// ItemLineBranch.
Statement MemberDiscountStatement(int view, const MemberDiscountCriteria& criteria);

// The lines of the statement read from the discount summary (SummaryPlanner::Discounts), which
// keeps those lines only, with every column and condition of the statement.
SummaryPlanner::Replacements MemberDiscountSummaryText();
