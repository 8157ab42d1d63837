#include "query/DatePeriod.h"

namespace {

std::function<QDate()>& todaySource()
{
    static std::function<QDate()> c;
    return c;
}

QDate firstOfMonth(const QDate& day)
{
    return QDate(day.year(), day.month(), 1);
}

} // namespace

int WeekdayFromSunday(const QDate& date)
{
    return date.dayOfWeek() % 7 + 1;
}

QDate Today()
{
    return todaySource() ? todaySource()() : QDate::currentDate();
}

void SetToday(std::function<QDate()> c)
{
    todaySource() = std::move(c);
}

QStringList RelativePeriodKeys()
{
    return {QStringLiteral("Today"),       QStringLiteral("Yesterday"),
            QStringLiteral("InCurWeek"),   QStringLiteral("LastWeek"),
            QStringLiteral("InCurMonth"),  QStringLiteral("LastMonth"),
            QStringLiteral("InCurYear"),   QStringLiteral("LastYear"),
            QStringLiteral("FromCurWeek"), QStringLiteral("FromCurMonth")};
}

DateRange DatePeriodRange(const QString& key, const QDate& today)
{
    const QString k = key.trimmed().toLower();
    const QDate sunday = today.addDays(1 - WeekdayFromSunday(today));
    const QDate month = firstOfMonth(today);
    if (k == QLatin1String("today"))
        return {today, today};
    if (k == QLatin1String("yesterday"))
        return {today.addDays(-1), today.addDays(-1)};
    if (k == QLatin1String("fromcurweek"))
        return {sunday, today};
    if (k == QLatin1String("fromcurmonth"))
        return {month, today};
    if (k == QLatin1String("incurweek"))
        return {sunday, sunday.addDays(6)};
    if (k == QLatin1String("lastweek"))
        return {sunday.addDays(-7), sunday.addDays(-1)};
    if (k == QLatin1String("incurmonth"))
        return {month, month.addMonths(1).addDays(-1)};
    if (k == QLatin1String("lastmonth"))
        return {month.addMonths(-1), month.addDays(-1)};
    if (k == QLatin1String("incuryear"))
        return {QDate(today.year(), 1, 1), QDate(today.year(), 12, 31)};
    if (k == QLatin1String("lastyear"))
        return {QDate(today.year() - 1, 1, 1), QDate(today.year() - 1, 12, 31)};
    return {};
}
