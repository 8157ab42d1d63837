#pragma once

#include <QString>

// What the booking report's criteria bar asks for: empty texts for "(全部)".
struct BookReportCriteria
{
    QString bookPerson;   // the guest who booked
    QString createPerson; // the salesperson
};

// The settled bills that came from a booking, one row per bill and payment, by bill number and
// payment method; its two parameters are the begin date and the day after the end date.
QString BookReportSql(const BookReportCriteria& criteria);
