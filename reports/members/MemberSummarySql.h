#pragma once

#include "db/Statement.h"
#include "query/BranchScope.h"
#include "query/ReportCriteria.h"

#include <QString>

#include <optional>

// The member-card operation types of the log, in the order of the screen's views; All lists
// every operation.
enum MemberOperation
{
    AllOperations,
    NewCard,
    LockCard,
    UnLockCard,
    ReNewCard,
    ChangeCard,
    SavingCard,
    Consume,
    MemberCheckOut,
    SendGift,
    TransferCard,
    MemberOperationCount
};

// What the member operation log asks for besides the range of operation times; the view is the
// operation type (MemberOperation).
struct MemberSummaryCriteria : ReportCriteria
{
    // The place and the operator: none while their combos stand on "(全部)"; otherwise the
    // text shown, whether a list item or typed (an empty text asks for an empty name).
    std::optional<QString> createPlace;
    std::optional<QString> createPerson;
    // The card asked for: the member holding it when there is one (so that rows logged under
    // the member's earlier cards count too), else the card number as typed, trimmed.
    QString memberId;
    QString cardNumber;
};

// The condition of an operation type: the names the Simplified Chinese, Traditional Chinese
// and English front-ends log it under; empty for AllOperations.
QString MemberOperationCondition(int operation);
// The log rows of operation type `view` over the range of operation times. The log is not kept
// to the user's branches; the places offered are (MemberLogPlaces).
Statement MemberSummaryStatement(int view, const MemberSummaryCriteria& criteria);

// The places of the log are branch names.
inline const BranchColumns MemberLogPlaces{QString(), QStringLiteral("CreatePlace")};
// The places offered: " WHERE 1=1" and the branch mark after the table when `limited`.
Statement MemberLogPlacesStatement(bool limited);
