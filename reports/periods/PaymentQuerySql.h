#pragma once

#include "reports/periods/BillCriteria.h"

#include <QString>

// What the payment query's criteria bar asks for. List choices carry the chosen item's text, or
// an empty text for "(全部)".
struct PaymentQueryCriteria : BillCriteria
{
    QString shiftId; // typed; blanks around it are ignored
    QString tableAreaName;
    QString billPeriod;
    QString subjectName; // keeps only the payment lines of that subject
    QString checkOutPerson;
    QString createPerson;
};

// The views: every payment line, the lines summed per subject, per subject and cashier.
enum class PaymentView
{
    Detail,
    BySubject,
    BySubjectAndCashier
};

// The conditions after the date range, in their fixed order.
QString PaymentQueryCondition(const PaymentQueryCriteria& c);
// The statement of a view; its two parameters are the begin date and the day after the end date.
QString PaymentQuerySql(const PaymentQueryCriteria& c, PaymentView view);
