#pragma once

#include <QString>

// What the account payments screen asks for. The list choices carry the chosen item's text, or
// an empty text for "(全部)"; typed texts count when they are not blank.
struct AccountPaymentCriteria
{
    QString accountType;
    int paymentType = -1; // 0 checkout to the account, 1 checkout reversed, 2 paid by the holder
    QString billId;
    QString createPerson;
    QString accountId;
    QString accountName; // any part of the name
};

// The movements of a date range (view 0), their totals per account (view 1), and every
// account's balance and credit limit (view 2, no date range: the movement criteria do not
// apply). Views 0 and 1 take the begin date and the day after the end date.
QString AccountPaymentSql(int view, const AccountPaymentCriteria& criteria);
