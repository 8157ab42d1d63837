#pragma once

#include "reports/periods/BillCriteria.h"

#include <QString>
#include <QVariant>

// What the hour report's criteria bar asks for: the bills it counts.
using HourReportCriteria = BillCriteria;

// The deleted, top-up and branch conditions, in this order.
QString HourReportFilter(const HourReportCriteria& c);
// Money paid, bills, guests, consumption, service charge and discount of the range's bills,
// all together, and per clock hour of the bills' creation (BillHour). Both bind the begin date
// and the day after the end date: bills count by business date, hours by creation time.
QString HourTotalsSql(const HourReportCriteria& c);
QString HourSalesSql(const HourReportCriteria& c);
// The statement that reads the opening time of the first business period.
QString HourStartSql();
// The hour the first business period opens, from its opening time as the database gives it
// ("06:00", "6", a date-time): 0 to 23; 0 when there is none or it cannot be read.
int HourOfDayOpening(const QVariant& beginTime);
