#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What the account transfer query's criteria bar asks for. List choices carry the chosen
// item's text (empty for "(全部)"); the typed texts are kept as entered: a blank one adds
// nothing, any other is searched with its blanks.
struct BillAccountQueryCriteria
{
    QString accountType;
    QString subjectName; // the tender
    QString billId;      // typed
    QString userName;    // the cashier
    QString accountId;   // typed
    QString accountName; // typed, a part of the name
    // The branches the user may see (LimitedBranchIds), by the branch of the transferred
    // bill; nullopt: every branch.
    std::optional<QStringList> branches;
};

// The conditions after the bill date range, in their fixed order, then the user's branches.
QString BillAccountQueryWhereTail(const BillAccountQueryCriteria& criteria);
// The transfers of the range, one row each, by bill number.
QString BillAccountDetailSql(const BillAccountQueryCriteria& criteria);
// The transfers summed by kind of transfer and tender: their count and amount.
QString BillAccountSummarySql(const BillAccountQueryCriteria& criteria);
