#pragma once

#include "db/Statement.h"
#include "query/BranchScope.h"
#include "query/ReportCriteria.h"

#include <QString>

class CriteriaBar;

// What the stock reports (inventory snapshot, material consumption) filter on besides their
// views: the branch, a material category, a typed material and "only materials with figures";
// the inventory's warning list, the stock range (StockRange).
struct StockCriteria : ReportCriteria
{
    QString itemType; // the category chosen, empty for "(全部)"
    QString itemText; // typed: the start of a material number, or part of its name
    bool notNull = false;
    int stockRange = -1; // the range option chosen; none counts as WithinRange
};

// The uploaded stock and the recorded consumption carry their branch's id and name.
inline const BranchColumns StockBranch{QStringLiteral("BranchID"), QStringLiteral("BranchName")};

// "<caption> <choice>" of a combo criterion as shown on the bar (its label, its text).
QString LabelAndChoice(const CriteriaBar& bar, const char* name);
// The print header of the stock reports: the title on a line of its own, then a line with
// `left` at the left and `right` at the right.
QString StockPrintHeader(const QString& title, const QString& left, const QString& right);

// The stock warning ranges of the inventory report's warning view.
enum StockRange
{
    WithinRange = 0, // at or above the minimum and at or below the maximum (0: none)
    AboveMaximum = 1,
    BelowMinimum = 2
};

// The inventory report over the stock the branches uploaded (rp_Inventory_Upload, no dates):
// view 0 every item per branch, 1 per item, 2 per stock type and category, 3 the warning list of
// items in the stock range.
Statement InventoryReportStatement(int view, const StockCriteria& criteria);
// The categories listed for the branch choice.
Statement InventoryItemTypesStatement();

// The material consumption report over st_BOM (standard against actual use over the range):
// view 0 per material, 1 per category, 2 per material and branch.
Statement BomReportStatement(int view, const StockCriteria& criteria);
// The branches that ever recorded consumption, one column pair each in view 2.
QString BomBranchesSql();
