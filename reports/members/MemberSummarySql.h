#pragma once

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

// What the member operation log asks for.
struct MemberSummaryCriteria
{
    int operation = AllOperations;
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
// The log rows of the operation time range; its two parameters are the begin date and the day
// after the end date.
QString MemberSummarySql(const MemberSummaryCriteria& criteria);
