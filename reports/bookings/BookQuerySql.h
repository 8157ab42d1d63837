#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What the booking query's criteria bar asks for.
struct BookQueryCriteria
{
    QStringList periods; // the meal periods ticked (at least one)
    int status = 3;      // 0 valid, 1 completed, 2 cancelled: that status alone; 3 every status
    QString bookType;    // empty for "(全部)"
    QString createPerson;
    bool byArrival = false; // ArriveTime within the first range
    bool byBooking = false; // BookTime within the second range
    QString orderBy;        // the column sorted by; empty: no sort
    bool descending = false;
    // The branches the user may see (LimitedBranchIds); nullopt: every branch.
    std::optional<QStringList> branches;
};

// The bookings asked for, of the user's branches. Its parameters, in order: the arrival range's
// begin and the day after its end when byArrival, then the booking range's the same way when
// byBooking.
QString BookQuerySql(const BookQueryCriteria& criteria);
