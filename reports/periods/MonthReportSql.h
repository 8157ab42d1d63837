#pragma once

#include "query/SummaryPlanner.h"
#include "reports/periods/BillCriteria.h"

#include <QString>

// What the month report's criteria bar asks for: the bills it counts.
using MonthReportCriteria = BillCriteria;

// The range (two parameters: the begin date and the day after the end date), settled bills,
// deleted, top-up and branch conditions, in this order.
QString MonthReportCondition(const MonthReportCriteria& c);
// Per business day: bills, guests, service charge, discount, consumption and money paid.
QString MonthDaySql(const MonthReportCriteria& c);
// Per business day and department type: consumption of the items sold (gifts left out).
QString MonthDepartTypeSql(const MonthReportCriteria& c);
// Per business day and payment subject: the amounts tendered (PaySum, in the subject's unit).
QString MonthSubjectSql(const MonthReportCriteria& c);

// Where each statement's bill tables and their join stand, for the summaries.
SummaryPlanner::Replacements MonthDaySummaryText();
SummaryPlanner::Replacements MonthDepartTypeSummaryText();
SummaryPlanner::Replacements MonthSubjectSummaryText();
