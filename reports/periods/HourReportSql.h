#pragma once

#include "db/Statement.h"
#include "query/BranchScope.h"
#include "query/ReportCriteria.h"
#include "query/SummaryPlanner.h"

#include <QString>
#include <QVariant>

#include <vector>

// What the hour report's criteria bar asks for: the bills it counts.
using HourReportCriteria = ReportCriteria;

// The bills carry their branch's id and name.
inline const BranchColumns HourReportBranch{QStringLiteral("BranchID"),
                                            QStringLiteral("BranchName")};

// The deleted, top-up and branch conditions, in this order.
Statement HourReportFilter(const HourReportCriteria& c);
// Money paid, bills, guests, consumption, service charge and discount of the range's bills,
// all together, and per clock hour of the bills' creation (BillHour): bills count by business
// date, hours by creation time.
Statement HourTotalsStatement(const HourReportCriteria& c);
Statement HourSalesStatement(const HourReportCriteria& c);
// Both, the totals first: the statements of the report's one view.
std::vector<Statement> HourReportStatements(int view, const HourReportCriteria& c);
// Where each statement's bill table, its count of bills and its hour stand, for the bill
// summaries (every criterion of the report is kept by them).
SummaryPlanner::Replacements HourTotalsSummaryText();
SummaryPlanner::Replacements HourSalesSummaryText();
// The statement that reads the opening time of the first business period.
QString HourStartSql();
// The hour the first business period opens, from its opening time as the database gives it
// ("06:00", "6", a date-time): 0 to 23; 0 when there is none or it cannot be read.
int HourOfDayOpening(const QVariant& beginTime);
