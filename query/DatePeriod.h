#pragma once

#include "query/DateRange.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>

// The date periods of a report's date toolbar and of saved criteria. Weeks run from Sunday to
// Saturday.

// The range for a period key, compared after trimming blanks and ignoring letter case; invalid
// dates for an unknown key. The date toolbar offers "Today", "FromCurWeek", "FromCurMonth",
// "InCurWeek" and "InCurMonth"; saved criteria also "Yesterday", "LastWeek", "LastMonth",
// "InCurYear" and "LastYear" (whole weeks, months and years).
DateRange DatePeriodRange(const QString& key, const QDate& today);

// The keys a saved set may keep its dates as, in the order they are offered; each is captioned
// by the message "Msg_Date_" + key.
QStringList RelativePeriodKeys();

// Weekday numbered from Sunday = 1 to Saturday = 7.
int WeekdayFromSunday(const QDate& date);

// Today as the screens see it: the machine's clock, unless a run has fixed the day (SetToday)
// so that date periods can be worked out as on any other day.
QDate Today();
// Where Today() comes from; an empty function goes back to the machine's clock.
void SetToday(std::function<QDate()> clock);
