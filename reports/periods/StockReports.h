#pragma once

#include "core/modBranch.h"
#include "query/BranchScope.h"

#include <QString>

class CriteriaBar;

// What the stock reports (inventory snapshot, material consumption) filter on besides their
// views: the branch, a material category, a typed material and "only materials with figures".
struct StockCriteria
{
    BranchChoice branch;
    QString itemType; // the category chosen, empty for "(全部)"
    QString itemText; // typed: the start of a material number, or part of its name
    bool notNull = false;
};
// Reads them from cboBranch, cboItemType, cboItemID and chkNotNull; throws std::runtime_error,
// after telling the user, when the branch choice leaves nothing to query.
void ReadStockCriteria(const CriteriaBar& bar, StockCriteria* criteria);

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

// The inventory report over the stock the branches uploaded (rp_Inventory_Upload, no
// parameters): view 0 every item per branch, 1 per item, 2 per stock type and category, 3 the
// warning list of items in `range`.
QString InventoryReportSql(int view, const StockCriteria& criteria, int range);
// The categories listed for the branch choice.
QString InventoryItemTypesSql(const BranchChoice& branch);

// The material consumption report over st_BOM (standard against actual use; parameters the
// begin date and the day after the end date): view 0 per material, 1 per category, 2 per
// material and branch.
QString BomReportSql(int view, const StockCriteria& criteria);
// The branches that ever recorded consumption, one column pair each in view 2.
QString BomBranchesSql();
