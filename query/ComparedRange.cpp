#include "query/ComparedRange.h"

DateRange ComparedRange(const DateRange& range, int compareWith)
{
    switch (compareWith) {
    case ComparePrevious: {
        const qint64 days = range.begin.daysTo(range.end) + 1;
        return {range.begin.addDays(-days), range.begin.addDays(-1)};
    }
    case CompareLastYear:
        // QDate::addYears keeps the day, or takes the month's last day when the year has none.
        return {range.begin.addYears(-1), range.end.addYears(-1)};
    default:
        return range;
    }
}

QDate ComparedDate(const DateRange& range, int compareWith, const QDate& day)
{
    switch (compareWith) {
    case ComparePrevious:
        return day.addDays(-(range.begin.daysTo(range.end) + 1));
    case CompareLastYear:
        return day.addYears(-1);
    default:
        return day;
    }
}
