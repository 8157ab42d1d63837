#pragma once

#include "query/DateRange.h"

// What a report's figures are compared with (the criterion "对比:", read as its index).
enum CompareWith
{
    CompareNone = 0,
    ComparePrevious = 1, // the days just before the range, as many as it has
    CompareLastYear = 2, // the same dates one year earlier
};

// The range the figures of `range` are compared with; `range` itself for CompareNone.
// The previous period ends the day before the begin date and has as many days as the range.
// A year earlier is the same calendar dates; 29 February, which the year before has not, becomes
// 28 February, so a range ending on it compares with the February before to its last day.
DateRange ComparedRange(const DateRange& range, int compareWith);

// The day of the compared range set beside `day` of `range` (a report's row of one day): the day
// as many days earlier as the range has (the previous period: the day at the same place in it),
// or the same date a year earlier (29 February: 28 February, as ComparedRange has it); `day`
// itself for CompareNone.
QDate ComparedDate(const DateRange& range, int compareWith, const QDate& day);
