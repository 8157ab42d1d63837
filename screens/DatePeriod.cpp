#include "screens/DatePeriod.h"

int WeekdayFromSunday(const QDate& date)
{
    return date.dayOfWeek() % 7 + 1;
}

DateRange DatePeriodRange(const QString& key, const QDate& today)
{
    const QString k = key.trimmed().toLower();
    const QDate sunday = today.addDays(1 - WeekdayFromSunday(today));
    const QDate firstOfMonth(today.year(), today.month(), 1);
    if (k == QLatin1String("today"))
        return {today, today};
    if (k == QLatin1String("fromcurweek"))
        return {sunday, today};
    if (k == QLatin1String("fromcurmonth"))
        return {firstOfMonth, today};
    if (k == QLatin1String("incurweek"))
        return {sunday, today.addDays(7 - WeekdayFromSunday(today))};
    if (k == QLatin1String("incurmonth")) {
        const QDate nextMonth = today.month() == 12 ? QDate(today.year() + 1, 1, 1)
                                                    : QDate(today.year(), today.month() + 1, 1);
        return {firstOfMonth, nextMonth.addDays(-1)};
    }
    return {};
}
