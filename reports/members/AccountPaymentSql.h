#pragma once

#include "db/Statement.h"
#include "query/ReportCriteria.h"

#include <QString>

// What the account payments screen asks for. The list choices carry the chosen item's text, or
// an empty text for "(全部)"; typed texts count when they are not blank.
struct AccountPaymentCriteria : ReportCriteria
{
    QString accountType;
    // The item chosen in the payment types: 0 every type, then 1 checkout to the account,
    // 2 checkout reversed, 3 paid by the holder (logged as PaymentType 0, 1 and 2).
    int paymentType = 0;
    QString billId;
    QString createPerson;
    QString accountId;
    QString accountName; // any part of the name
};

// The movements of a date range (view 0), their totals per account (view 1), and every
// account's balance and credit limit (view 2, no date range: the movement criteria do not
// apply).
Statement AccountPaymentStatement(int view, const AccountPaymentCriteria& criteria);

// The view of the balances, which has no date range.
constexpr int AccountBalancesView = 2;
