#pragma once

#include "core/modBranch.h"
#include "query/BranchScope.h"

#include <QString>

// The daily report's criteria as plain values. The branch choice becomes a condition
//   on the unprefixed "BranchID"/"BranchName" (bill, subject, department sums),
//   on "BL.BranchID"/"BL.BranchName" (cost from bill items),
//   on "StockName" (cost from stock movements; the kitchen's own stock "本地" always counts).
struct DailyReportCriteria
{
    bool useTrueData = false; // include bills flagged deleted
    bool saving = false;      // leave out member-card top-up bills
    int costing = 0;          // 0 both cost sources, 1 production (stock) cost, 2 sales (item) cost
    BranchChoice branch;
};

// The stock cost's branch condition on "StockName".
QString DailyStockBranchFilter(const BranchChoice& branch);

// Subject row keys besides the subject ids.
inline const QString DailyIncomeSubtotalKey = QStringLiteral("BalanceType:0");
inline const QString DailyExpenseSubtotalKey = QStringLiteral("BalanceType:1");

// The deleted, top-up and branch fragments every bill query appends; `aliased` prefixes the
// deleted and top-up columns with "BL.".
QString DailyCommonFilter(const DailyReportCriteria& c, bool aliased);

// Each statement binds a range as two date parameters (begin, end exclusive); the stock cost
// binds it twice.
QString DailySummarySql(const DailyReportCriteria& c);                         // Q1
QString DailySubjectSql(const DailyReportCriteria& c, const QString& key);     // Q2
QString DailyDepartTypeSql(const DailyReportCriteria& c, const QString& name); // Q3
QString DailyGroupTypeSql(const DailyReportCriteria& c, const QString& id);    // Q4
QString DailyStockCostSql(const DailyReportCriteria& c);                       // Q5
QString DailyItemCostSql(const DailyReportCriteria& c);                        // Q6
QString DailyExpenseSql();                                                     // Q7
QString DailyCostPriceProbeSql();

// The same figures for every row of a block at once, one scan of the range each:
// money taken per payment subject (SubjectID, theSum),
QString DailySubjectSumsSql(const DailyReportCriteria& c);
// the visible subjects and how many of them count as income and as expense per subject id
// (SubjectID, theIncome, theExpense),
QString DailyVisibleSubjectsSql();
// and sales (theSum), with `cost` the cost price of the items sold (theTotalSum), and the sales
// of each statistic group of `groups` (theGroup1, theGroup2, ... by the condition of
// DailyGroupTypeSql) per department type name (DepartTypeName).
QString DailyItemSumsSql(const DailyReportCriteria& c, bool cost, const QStringList& groups);
