#pragma once

#include "db/Statement.h"

#include <QDate>
#include <QString>

// A report's range of business dates, both days included.
//
// Statements bind it one way: the begin date and the day after the end date, as parameters, to
// "<column>>=? AND <column><?", so that every moment of the days from begin through end counts
// whatever time of day a column carries. bound() writes that condition and its two parameters;
// the few statements whose definitions differ use its named variants below, so that no
// statement writes a date bound or a date parameter itself.
struct DateRange
{
    QDate begin;
    QDate end;
    bool operator==(const DateRange&) const = default;

    // The first day after the range.
    QDate dayAfterEnd() const { return end.addDays(1); }

    // How a statement's definition spells the condition (the column appears twice):
    enum Spelling
    {
        Tight,  // "<column>>=? AND <column><?"
        Spaced, // "<column> >=? AND <column> <?"
        Lower,  // "<column>>=? and <column><?"
    };
    // The condition on `column` with the begin date and the day after the end date.
    Statement bound(const QString& column, Spelling spelling = Tight) const;

    // "<column><?" with the day after the end date alone: everything up to the end of the range
    // (an expiry limit passed by today: DateRange{today, today}.endBound(...)).
    Statement endBound(const QString& column) const;

    // "<column>>=? AND <column><=?" with the begin date and the day after the end date: a time
    // at midnight after the end date counts too (the bill log's operation times).
    Statement boundToMidnightAfter(const QString& column) const;
    // "<column>>=? AND <column><=?" with the begin date and the end date itself: the end date
    // counts for a column that carries no time of day (the member discounts' bill dates).
    Statement boundThroughEndDate(const QString& column) const;
    // The dates written into the text as literals: "<column> >= #B# and <column> < #E#", B the
    // begin date and E the day after the end date, as yyyy-MM-dd; with `quoted`, the literals
    // stand between single quotes instead of "#" (for databases that read "#" as no date).
    Statement boundAsLiterals(const QString& column, bool quoted) const;
};
