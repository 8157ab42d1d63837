#pragma once

#include "db/Statement.h"
#include "query/BranchScope.h"
#include "query/ReportCriteria.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <vector>

// The daily report's criteria as plain values: the period (`range`), the business day it shows
// beside the period, and which costs count.
struct DailyReportCriteria : ReportCriteria
{
    QDate today;     // the business day, inside the period
    int costing = 0; // 0 both cost sources, 1 production (stock) cost, 2 sales (item) cost

    // The business day as a range of its own.
    DateRange day() const { return {today, today}; }
};

// Where the statements' rows carry the branch:
//   the bills' own "BranchID"/"BranchName" (bill, subject, department sums),
inline const BranchColumns DailyBillBranch{QStringLiteral("BranchID"),
                                           QStringLiteral("BranchName")};
//   the bills' "BL.BranchID"/"BL.BranchName" (cost from bill items),
inline const BranchColumns DailyItemCostBranch{QStringLiteral("BL.BranchID"),
                                               QStringLiteral("BL.BranchName")};
//   "StockName" (cost from stock movements; the kitchen's own stock "本地" always counts).
inline const BranchColumns DailyStockBranch{QString(), QStringLiteral("StockName"),
                                            QStringLiteral("本地")};
// The expenses are the whole house's: their statement ignores the branch.

// Subject row keys besides the subject ids.
inline const QString DailyIncomeSubtotalKey = QStringLiteral("BalanceType:0");
inline const QString DailyExpenseSubtotalKey = QStringLiteral("BalanceType:1");

// The deleted, top-up and branch fragments every bill statement appends; `aliased` prefixes the
// deleted and top-up columns with "BL.".
Statement DailyCommonFilter(const DailyReportCriteria& c, bool aliased);

// Each statement covers the range `r` (the business day or the period); the stock cost covers it
// twice, issues and returns.
Statement DailySummaryStatement(const DailyReportCriteria& c, const DateRange& r);
Statement DailySubjectStatement(const DailyReportCriteria& c, const DateRange& r,
                                const QString& key);
Statement DailyDepartTypeStatement(const DailyReportCriteria& c, const DateRange& r,
                                   const QString& name);
Statement DailyGroupTypeStatement(const DailyReportCriteria& c, const DateRange& r,
                                  const QString& id);
Statement DailyStockCostStatement(const DailyReportCriteria& c, const DateRange& r);
Statement DailyItemCostStatement(const DailyReportCriteria& c, const DateRange& r);
Statement DailyExpenseStatement(const DateRange& r);
QString DailyCostPriceProbeSql();

// The same figures for every row of a block at once, one scan of the range each:
// money taken per payment subject (SubjectID, theSum),
Statement DailySubjectSumsStatement(const DailyReportCriteria& c, const DateRange& r);
// the visible subjects and how many of them count as income and as expense per subject id
// (SubjectID, theIncome, theExpense),
QString DailyVisibleSubjectsSql();
// and sales (theSum), with `cost` the cost price of the items sold (theTotalSum), and the sales
// of each statistic group of `groups` (theGroup1, theGroup2, ... by the condition of
// DailyGroupTypeStatement) per department type name (DepartTypeName).
Statement DailyItemSumsStatement(const DailyReportCriteria& c, const DateRange& r, bool cost,
                                 const QStringList& groups);

// Every kind of statement the report runs, over the period, one of each (a subject row, a
// subtotal row, a department type, a statistic group).
std::vector<Statement> DailyReportStatements(int view, const DailyReportCriteria& c);
