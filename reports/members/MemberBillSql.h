#pragma once

#include "db/Statement.h"
#include "query/BranchScope.h"
#include "query/ReportCriteria.h"

#include <QString>

// What the member consumption and member-card payment screens ask for: the member bills of a
// date range, by branch, card type, card number and member name.
struct MemberBillCriteria : ReportCriteria
{
    QString memberType; // a card type name, empty for every type
    QString cardNumber; // as typed or read from the card; blank for every card
    QString memberName; // as typed; blank for every member
    // The payment subject of member cards as the language in use writes it (the screen's own
    // text "Msg_MemberCard").
    QString subject = QStringLiteral("会员卡");
};

// The member bills carry their branch's id and name.
inline const BranchColumns MemberBillBranch{QStringLiteral("BL.BranchID"),
                                            QStringLiteral("BL.BranchName")};

// The bill date range (bills BL, members MB) and the conditions after it, in their fixed order:
// settled bills, the branch, the card type, the trimmed card number and member name, deleted
// bills, member-card top-ups.
Statement MemberBillCondition(const MemberBillCriteria& criteria);

// Member consumption: the bills (view 0), the total per card (view 1), the dishes (view 2).
Statement MemberConsumeStatement(int view, const MemberBillCriteria& criteria);

// Member-card payments: the payment lines whose subject is `criteria.subject` (view 0), their
// total per card (view 1) and per card type (view 2).
Statement PaymentMemberStatement(int view, const MemberBillCriteria& criteria);
