#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What the booking report's criteria bar asks for: empty texts for "(全部)".
struct BookReportCriteria
{
    QString bookPerson;   // the guest who booked
    QString createPerson; // the salesperson
    // The branches the user may see (LimitedBranchIds); nullopt: every branch.
    std::optional<QStringList> branches;
};

// The settled bills of the user's branches that came from a booking, one row per bill and payment,
// by bill number and payment method; its two parameters are the begin date and the day after the
// end date.
QString BookReportSql(const BookReportCriteria& criteria);
