#pragma once

#include "query/DateRange.h"

#include <QDate>
#include <QString>

// The date periods of a report's date toolbar. Weeks run from Sunday to Saturday.

// The range for a period key ("Today", "FromCurWeek", "FromCurMonth", "InCurWeek",
// "InCurMonth"), compared after trimming blanks and ignoring letter case; nullopt-like
// invalid dates for an unknown key.
DateRange DatePeriodRange(const QString& key, const QDate& today);

// Weekday numbered from Sunday = 1 to Saturday = 7.
int WeekdayFromSunday(const QDate& date);
