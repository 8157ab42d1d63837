#pragma once

#include "db/Statement.h"
#include "query/BranchScope.h"
#include "query/ReportCriteria.h"

#include <QString>
#include <QStringList>

// What the booking query's criteria bar asks for.
struct BookQueryCriteria : ReportCriteria
{
    QStringList periods; // the meal periods ticked (at least one)
    // 0 valid, 1 completed, 2 cancelled: that status alone; 3 (or none) every status
    int status = 3;
    QString bookType; // empty for "(全部)"
    QString createPerson;
    bool byArrival = false; // ArriveTime within `arrival`
    DateRange arrival;
    bool byBooking = false; // BookTime within `booking`
    DateRange booking;
    QString orderBy; // the column sorted by; empty: no sort
    bool descending = false;

    // The ranges ticked: arrival first, then booking.
    QList<DateRange> tickedRanges() const;
};

// The booking's branch. The query has no branch criterion: it keeps to the user's branches.
inline const BranchColumns BookQueryBranch{QStringLiteral("BranchID"), QString()};

// The bookings asked for, of the user's branches (BookQueryBranch), bound by the arrival range when
// byArrival, then the booking range when byBooking.
Statement BookQueryStatement(int view, const BookQueryCriteria& criteria);
