#pragma once

#include "query/BranchChoice.h"
#include "query/DateRange.h"

// What most reports ask for: the range of business dates, the branch choice, whether bills
// flagged as deleted count and whether member-card top-ups are left out. A report's criteria
// type derives from it and adds its own: chosen list items, typed texts, flags, as values.
//
// A screen's declaration binds each of its criteria controls to a member (CriterionBinding), and
// the criteria bar reads them all into a value of the report's type in one pass; its statement
// function then sees only that value.
struct ReportCriteria
{
    DateRange range;
    BranchChoice branch;
    bool useTrueData = false; // include bills flagged as deleted
    bool saving = false;      // leave out member-card top-ups
    // What the figures are compared with (CompareWith, query/ComparedRange.h): the same
    // statements run again over the compared range, beside the report's own figures.
    int compare = 0;
};
